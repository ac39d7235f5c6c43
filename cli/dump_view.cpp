// Dumps of the view model: the current camera and the flattened lights.
#include <cstdio>
#include "display/drw.h"
#include "display/lgt.h"
#include "display/view.h"
#include "registry.h"
#include "scene/scene.h"

namespace jrn {

namespace {
void Field(const char* name, const double* v, int n) {
    std::string s = name;
    for (int i = 0; i < n; ++i) s += " " + G6(v[i]);
    Line(s);
}
void Field(const char* name, double v) { Field(name, &v, 1); }
}  // namespace

void DumpCamera() {
    const cam* c = CurCamObj;
    if (!c) {
        Line("camera none");
        return;
    }
    const CamView& v = c->view;
    Line("camera " + Quote(c->name) + " dim=" + std::to_string(ViewDim) +
         " prj=" + std::to_string(v.PrjFlg));
    Field("RotCnt", v.RotCnt, 3);
    Field("RotAng", v.RotAng, 3);
    Field("EyePos", v.EyePos, 3);
    Field("ScrShf", v.ScrShf, 2);
    Field("EyeDst", v.EyeDst);
    Field("ScrDst", v.ScrDst);
    Field("ScrWid", v.ScrWid);
    Field("ClpNear", v.ClpNear);
    Field("ClpFar", v.ClpFar);
    Field("ViewAng", v.ViewAng);
    Field("UpAxis", v.UpAxis);
    Field("RotEye", v.RotEye);
    Field("AutoClp", v.AutoClp);
    Field("PrjFlg", v.PrjFlg);
}

void DumpLights() {
    int n = PrmLgt ? NumLgt : 0;
    Line("lights " + std::to_string(n));
    for (int i = 0; i < n; ++i) {
        const LgtRec& l = PrmLgt[i];
        Line("light " + std::to_string(i) + " " + Quote(l.name) + " kind=" +
             std::to_string(l.kind) + " on=" + std::to_string(l.on) + " dir=" + F4(l.dir[0]) +
             " " + F4(l.dir[1]) + " " + F4(l.dir[2]));
    }
}

// The window state derived from the current camera, and the 2D window of the grid.
void DumpView() {
    const ViewWinRec& w = ViewWin[0];
    Line("view W=" + std::to_string(w.W) + " H=" + std::to_string(w.H) + " PixK=" + G6(w.PixK) +
         " near=" + G6(w.v.ClpNear) + " far=" + G6(w.v.ClpFar));
    Field("Wnd2D", Wnd2D, 4);
    Field("PixAsp", PixAsp, 2);
    Field("WlkHgt", WlkHgt);
    char buf[96];
    std::snprintf(buf, sizeof buf, "view mode=%s exag=%.3f", DspModeName(CurDspMode()), VertExag);
    Line(buf);
    double az = 0, el = 90;
    if (CurCamObj) CamAzEl(CurCamObj->view, &az, &el);
    std::snprintf(buf, sizeof buf, "eye azimuth=%.1f elevation=%.1f", az, el);
    Line(buf);
}

// What the light dialog shows for the current light.
void DumpLgtDlg() {
    if (!CurLgtObj) {
        Line("lightdlg none");
        return;
    }
    int az = 0, el = 0;
    GetLgtAzEl(CurLgtObj, &az, &el);
    Line("lightdlg az=" + std::to_string(az) + " el=" + std::to_string(el));
}

}  // namespace jrn
