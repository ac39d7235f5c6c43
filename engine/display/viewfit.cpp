// Fitting the 3D view to what there is to look at, and the helpers the view commands share with it.
#include <cmath>
#include "display/drw.h"
#include "display/viewint.h"
#include "scene/scene.h"
#include "terrain/trn.h"

double Win0W() { return ViewWin[0].W < 2 ? 2 : ViewWin[0].W; }
double Win0H() { return ViewWin[0].H < 2 ? 2 : ViewWin[0].H; }

void KeepViewAng(CamView& v) {
    if (v.ViewAng > 0 && v.ViewAng < M_PI) v.ScrDst = v.ScrWid * 0.5 / std::tan(v.ViewAng / 2.0);
}

// The terrain region as a box (false when the region is degenerate in the plan).
bool TrnRgnBox(BBox& b) {
    for (int i = 0; i < 3; i++) {
        b.min[i] = std::fmin(TrnRgn[i], TrnRgn[3 + i]);
        b.max[i] = std::fmax(TrnRgn[i], TrnRgn[3 + i]);
    }
    return b.max[0] > b.min[0] && b.max[1] > b.min[1];
}

bool BoxOk(const BBox& b) {
    return b.min[0] <= b.max[0] && b.min[1] <= b.max[1] && b.min[2] <= b.max[2];
}

bool Fit3DView() {
    if (!CurCamObj) return false;
    CamView& v = *CurView();
    UdtScnBox();
    BBox b = SceneBox;
    if (!BoxOk(b) && !(TrnRgnBox(b) && BoxOk(b))) return false;
    AzElAng(0, FitElev, v.RotAng);
    NtfCam(0x2700);
    for (int i = 0; i < 3; i++) v.RotCnt[i] = (b.min[i] + b.max[i]) / 2.0;
    NtfCam(0x1700);
    // Extents of the box (heights stretched as the view shows them) across and up the screen.
    double r[3][3];
    CamAxes(v, r);
    double e = VertExag > 1 ? VertExag : 1.0;
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300}, diag = 0;
    for (int k = 0; k < 8; k++) {
        double p[3] = {((k & 1) ? b.max[0] : b.min[0]) - v.RotCnt[0],
                       ((k & 2) ? b.max[1] : b.min[1]) - v.RotCnt[1],
                       (((k & 4) ? b.max[2] : b.min[2]) - v.RotCnt[2]) * e};
        diag = std::fmax(diag, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
        for (int j = 0; j < 2; j++) {
            double q = p[0] * r[j][0] + p[1] * r[j][1] + p[2] * r[j][2];
            lo[j] = std::fmin(lo[j], q);
            hi[j] = std::fmax(hi[j], q);
        }
    }
    double w = std::fmax(hi[0] - lo[0], (hi[1] - lo[1]) * Win0W() / Win0H()) * 1.1;
    v.ScrWid = w < 1.0 ? 1.0 : w;
    v.ScrShf[0] = (lo[0] + hi[0]) / 2;
    v.ScrShf[1] = (lo[1] + hi[1]) / 2;
    KeepViewAng(v);
    // A parallel view only needs the eye outside the box; a perspective one sees the width
    // at the screen distance.
    v.EyeDst = v.PrjFlg == PrjPrs ? std::fmax(v.ScrDst, diag * 1.05) : std::fmax(v.ScrDst, diag * 2);
    NtfCam(0x70000);
    UpdEyePos(CurCamObj);
    NtfCam(0x700);
    SetView(0);
    return true;
}
