// Journal parameters of the view: the 2D/3D buttons, the pixel aspect and the light dialog.
#include "core/cmd.h"
#include "display/lgt.h"
#include "display/view.h"
#include "registry.h"
#include "scene/scene.h"
#include "display/dsp_cmd.h"

namespace jrn {

// The toolbar's 2D (0) and 3D (1) buttons: switch, then redraw.
bool SetViewDim(const Words& v, std::string* err) {
    int d;
    if (!GetInts(v, 1, 0, 1, &d, err)) return false;
    SwDim(d);
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}

// Horizontal and vertical pixel aspect, as documents carry it.
bool SetPixAsp(const Words& v, std::string* err) {
    double a[2];
    if (!GetReals(v, 2, 0, 1000, a, err)) return false;
    PixAsp[0] = a[0];
    PixAsp[1] = a[1];
    SetView(0);
    return true;
}

// The light dialog's OK on the current light: azimuth and elevation in whole degrees, then redraw.
bool SetLgtAzElJ(const Words& v, std::string* err) {
    int a[2];
    if (!GetInts(v, 2, 0, 360, a, err)) return false;
    if (!CurLgtObj) {
        *err = "no current light";
        return false;
    }
    SetLgtAzEl(CurLgtObj, a[0], a[1]);
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}

}  // namespace jrn
