// Curve editing on a large contour set: recording undo, cutting all curves along a line, undo and
// redo of the cut, selecting in a window, moving the selection, automatic connection.
#include <chrono>
#include <cmath>
#include <cstdio>
#include "core/cmd.h"
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "scene/scene.h"
#include "bench_data.h"
#include "cmd/undo.h"
#include "app/modetbl.h"

namespace {
void Ev(int x, int y, int type) {
    SetPtrPix(x, y);
    IntrEvt(type);
}

template <class F>
void Time(const char* what, F f) {
    double t0 = Now();
    f();
    std::printf("  %-34s %8.2f ms  (%d curves)\n", what, (Now() - t0) * 1000,
                CrvPart ? CrvPart->crvs.n : 0);
}
}  // namespace

int main() {
    BenchStart();
    // An 800 x 600 plan view 8000 mm wide: 10 mm per pixel.
    CamView& v = CurCamObj->view;
    v.ScrWid = 8000;
    WinSizW = 800;
    WinSizH = 600;
    IntrCmd(CatDsp, CmdDspResize);
    SetView(0);

    // 1000 closed rings of 400 points, in 10 rows, each with a small gap.
    const int rings = 1000, pts = 400;
    for (int r = 0; r < rings; ++r) {
        crv* c = NewCrv();
        const double cx = -3600 + (r % 100) * 72.0, cy = -2500 + (r / 100) * 500.0;
        for (int i = 0; i < pts; ++i) {
            const double a = 2 * M_PI * i / pts * 0.995;
            AddPnt(c, static_cast<float>(cx + 30 * std::cos(a)),
                   static_cast<float>(cy + 200 * std::sin(a)), 0);
        }
        SetCrvHgt(c, static_cast<float>(1000 * (r % 7)));
    }
    long total = static_cast<long>(rings) * pts;
    std::printf("curve editing, %d curves of %d points (%ld points)\n", rings, pts, total);

    Time("record undo of all curves", [] { RecUndo(3, 0, nullptr); });
    Time("cut along a line across all", [] {
        IntrCmd(CatDrw2D, CmdCrvCutLin);
        Ev(10, 300, EVT_LDOWN);
        Ev(790, 305, EVT_MOVE);
        Ev(790, 305, EVT_LUP);
        SetMode(0);
    });
    Time("undo the cut", [] { Undo(); });
    Time("redo the cut", [] { Redo(); });
    Time("select in a window", [] {
        IntrCmd(CatDrw2D, CmdCrvSlctWnd);
        Ev(100, 100, EVT_LDOWN);
        Ev(700, 500, EVT_MOVE);
        Ev(700, 500, EVT_LUP);
        SetMode(0);
    });
    std::printf("  selected %d\n", NumCrvSlct);
    Time("move the selection (20 steps)", [] {
        IntrCmd(CatDrw2D, CmdCrvMove);
        Ev(400, 300, EVT_LDOWN);
        for (int i = 1; i <= 20; ++i) Ev(400 + i, 300 + i, EVT_MOVE);
        Ev(420, 320, EVT_LUP);
        SetMode(0);
    });
    CnctDst = 10;
    Time("automatic connection, whole view", [] {
        IntrCmd(CatDrw2D, CmdCrvAuto);
        Ev(0, 0, EVT_LDOWN);
        Ev(799, 599, EVT_MOVE);
        Ev(799, 599, EVT_LUP);
        SetMode(0);
    });
    DstrCmd(CatSys, CmdSysEnd);
    return 0;
}
