// Picking curves in the 2D view and the feedback the curve commands draw into it.
#include <cmath>
#include "cmd/crv_cmds.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv_int.h"
#include "display/drw.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "platform/platform.h"

crv* PickCrv(const double lo[2], const double hi[2]) {
    if (!CrvPart) return nullptr;
    for (int i = 0; i < CrvPart->crvs.n; ++i) {
        crv* c = CrvPart->crvs.a[i];
        if (!c->vis || c->n < 2 || !CrvBoxOvl(c, lo, hi) || !CrvInView(c)) continue;
        if (CrvCrsWnd(c, lo, hi)) return c;
    }
    return nullptr;
}

crv* FindCrvEnd(const double lo[2], const double hi[2], int* index) {
    if (!CrvPart) return nullptr;
    auto in = [&](const float* q) {
        return lo[0] < q[0] && q[0] < hi[0] && lo[1] < q[1] && q[1] < hi[1];
    };
    for (int i = 0; i < CrvPart->crvs.n; ++i) {
        crv* c = CrvPart->crvs.a[i];
        if (!c->vis || c->n < 1 || !CrvBoxOvl(c, lo, hi) || !CrvInView(c)) continue;
        if (in(c->p)) { if (index) *index = 0; return c; }
        if (in(c->p + 3 * (c->n - 1))) { if (index) *index = c->n - 1; return c; }
    }
    return nullptr;
}

void PickWnd(double lo[2], double hi[2]) {
    double p0[3], p1[3];
    PtrToMdl(PrsPos[0], PrsPos[1], p0);
    PtrToMdl(PtrPos[0], PtrPos[1], p1);
    const double r = PixToMdl(PickAp);
    if (std::hypot(p1[0] - p0[0], p1[1] - p0[1]) < 1.0) {
        lo[0] = p0[0] - r; lo[1] = p0[1] - r;
        hi[0] = p1[0] + r; hi[1] = p1[1] + r;
    } else {
        lo[0] = std::fmin(p0[0], p1[0]); lo[1] = std::fmin(p0[1], p1[1]);
        hi[0] = std::fmax(p0[0], p1[0]); hi[1] = std::fmax(p0[1], p1[1]);
    }
}

// ---- feedback ----

void ShowDrw() {
    if (DrwWinOpen()) plt::Get()->GLSwap(0);
}

void Redraw() { IntrCmd(CatDsp, CmdRdrwAll); }

void DrwWnd(const double lo[2], const double hi[2]) {
    if (!DrwWinOpen()) return;
    SetDrwBuf(DRW_FRONT);
    SetColRGB(1, 1, 0);
    const double a[3] = {lo[0], lo[1], 0}, b[3] = {hi[0], hi[1], 0};
    DrwBox(a, b);
    FlushDrw();
}

void DrwSqr(const double p[2], double r, float cr, float cg, float cb) {
    if (!DrwWinOpen()) return;
    SetDrwBuf(DRW_FRONT);
    SetColRGB(cr, cg, cb);
    const double a[3] = {p[0] - r, p[1] - r, 0}, b[3] = {p[0] + r, p[1] + r, 0};
    DrwBox(a, b);
    FlushDrw();
}

void DrwSeg(const double a[3], const double b[3], float cr, float cg, float cb) {
    if (!DrwWinOpen()) return;
    SetDrwBuf(DRW_FRONT);
    SetColRGB(cr, cg, cb);
    DrwLin(a, b);
    FlushDrw();
}

void DrwCross() {
    if (!DrwWinOpen()) return;
    double p[3];
    PtrToMdl(PtrPos[0], PtrPos[1], p);  // at the press, PtrPos is the press point
    const double r = PixToMdl(PickAp);
    const double a[3] = {p[0] - r, p[1], 0}, b[3] = {p[0] + r, p[1], 0};
    const double c[3] = {p[0], p[1] - r, 0}, d[3] = {p[0], p[1] + r, 0};
    DrwSeg(a, b, 1, 1, 0);
    DrwSeg(c, d, 1, 1, 0);
}
