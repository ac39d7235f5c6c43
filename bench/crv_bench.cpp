// Curve editing on a large contour set: recording undo, cutting all curves along a line, undo and
// redo of the cut, selecting in a window, moving the selection, automatic connection.
#include <chrono>
#include <cmath>
#include <cstdio>
#include "core/cmd.h"
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv.h"
#include "display/view.h"
#include "scene/scene.h"

namespace {
double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

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
    MkTmpNam();
    SetPrmDef();
    StoPrm();
    AplPrm();
    DstrCmd(99, 200000);
    IniScn();
    IniTrnScn();
    // An 800 x 600 plan view 8000 mm wide: 10 mm per pixel.
    CamView& v = CurCamObj->view;
    v.ScrWid = 8000;
    WinSizW = 800;
    WinSizH = 600;
    IntrCmd(13, 115000);
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
        IntrCmd(1, 101053);
        Ev(10, 300, 1);
        Ev(790, 305, 7);
        Ev(790, 305, 2);
        SetMode(0);
    });
    Time("undo the cut", [] { Undo(); });
    Time("redo the cut", [] { Redo(); });
    Time("select in a window", [] {
        IntrCmd(1, 101028);
        Ev(100, 100, 1);
        Ev(700, 500, 7);
        Ev(700, 500, 2);
        SetMode(0);
    });
    std::printf("  selected %d\n", NumCrvSlct);
    Time("move the selection (20 steps)", [] {
        IntrCmd(1, 101032);
        Ev(400, 300, 1);
        for (int i = 1; i <= 20; ++i) Ev(400 + i, 300 + i, 7);
        Ev(420, 320, 2);
        SetMode(0);
    });
    CnctDst = 10;
    Time("automatic connection, whole view", [] {
        IntrCmd(1, 101009);
        Ev(0, 0, 1);
        Ev(799, 599, 7);
        Ev(799, 599, 2);
        SetMode(0);
    });
    DstrCmd(99, 200005);
    return 0;
}
