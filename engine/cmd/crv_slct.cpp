// Curve selection, transformation, heights and visibility.
#include <cmath>
#include <cstdio>
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "curves/crv_int.h"
#include "display/view.h"
#include "platform/platform.h"
#include "curves/crv_cmd.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"

double SclDstPnt[2][3] = {{0, 0, 0}, {0, 0, 0}};
double SclDstLen = 0;

namespace {
int NumCrv() { return CrvPart ? CrvPart->crvs.n : 0; }
crv* CrvAt(int i) { return CrvPart->crvs.a[i]; }

void Discard() { RecUndo(UndoDiscard, 0, nullptr); }

void StrtPick(int mode, bool deselect) {
    if (deselect) {
        ClrCrvSlct();
        Redraw();
    }
    Discard();
    SetMode(mode);
    SetCrs(CrsPick);
}

void Deselect() {
    Discard();
    ClrCrvSlct();
    Redraw();
}

void SlctAll() {
    Discard();
    ClrCrvSlct();
    for (int i = 0; i < NumCrv(); ++i) AddCrvSlct(CrvAt(i));
    Redraw();
}

void SlctWnd() {
    double lo[2], hi[2];
    PickWnd(lo, hi);
    DrwWnd(lo, hi);
    ClrCrvSlct();
    for (int i = 0; i < NumCrv(); ++i) {
        crv* c = CrvAt(i);
        if (!c->vis || c->n < 2 || !CrvBoxOvl(c, lo, hi) || !CrvInView(c)) continue;
        if (CrvCrsWnd(c, lo, hi)) AddCrvSlct(c);
    }
    ShowDrw();
    Redraw();
}

// Apply (x, y) -> f(x, y) to every selected curve, then bring the boxes up to date.
template <class F>
void XfmSlct(F f) {
    for (int i = 0; i < NumCrvSlct; ++i) {
        crv* c = CrvSlct[i];
        for (int j = 0; j < c->n; ++j) {
            double x = c->p[3 * j], y = c->p[3 * j + 1];
            f(x, y);
            c->p[3 * j] = static_cast<float>(x);
            c->p[3 * j + 1] = static_cast<float>(y);
        }
        CalCrvBox(c);
    }
    ModFlg = 1;
    UdtCrvBox();
}

void MoveBgn() {
    Discard();
    if (NumCrvSlct == 0) {
        DspWrnMsg(MsgOwnWrn, "カーブを選択してください。");
        return;
    }
    SetMode(ModeCrvMove);
    SetCrs(CrsMove);
    RecUndo(UndoXfm, 0, nullptr);
}

void MoveStep() {
    const double dx = PixToMdl(PtrPos[0] - PrsPos[0]);
    const double dy = -PixToMdl(PtrPos[1] - PrsPos[1]);
    XfmSlct([&](double& x, double& y) { x += dx; y += dy; });
    Redraw();
    for (int k = 0; k < 3; ++k) PrsPos[k] = PtrPos[k];
}

void Rotate() {
    if (NumCrvSlct == 0) return;
    RecUndo(UndoXfm, 0, nullptr);
    const double a = static_cast<double>(CrvRot) * M_PI / 180.0;
    const double ca = std::cos(a), sa = std::sin(a);
    XfmSlct([&](double& x, double& y) {
        const double nx = x * ca - y * sa, ny = x * sa + y * ca;
        x = nx; y = ny;
    });
    Redraw();
}

void SclDstPrs() {
    double p[3];
    PtrToMdl(PtrPos[0], PtrPos[1], p);  // at the press, PtrPos is the press point
    DrwSqr(p, PixToMdl(PickAp), 1, 1, 0);
}

void SclDstRls() {
    double p0[3], p1[3];
    PtrToMdl(PrsPos[0], PrsPos[1], p0);
    PtrToMdl(PtrPos[0], PtrPos[1], p1);
    DrwSqr(p1, PixToMdl(PickAp), 1, 1, 0);
    DrwSeg(p0, p1, 1, 1, 0);
    for (int k = 0; k < 3; ++k) { SclDstPnt[0][k] = p0[k]; SclDstPnt[1][k] = p1[k]; }
    SclDstLen = std::hypot(p1[0] - p0[0], p1[1] - p0[1]);
    if (NumCrvSlct > 0) RecUndo(UndoXfm, 0, nullptr);
    Notify(ID_DSP_SCL_DST_MEN, 0);
}

void HgtMode() {
    ClrCrvSlct();
    Redraw();
    Discard();
    SetMode(ModeCrvHgt);
    // A cursor of its own: the next clicks change heights, unlike the other picking modes.
    SetCrs(CrsCrvHgt);
}

void HgtPick() {
    double lo[2], hi[2];
    PickWnd(lo, hi);
    crv* k = PickCrv(lo, hi);
    if (!k) return;
    RecUndo(UndoHgt, 1, &k);
    SetCrvHgt(k, CrvHgt);
    Redraw();
}

void HgtShow() {
    double p[3];
    PtrToMdl(PtrPix[0], PtrPix[1], p);
    const double r = PixToMdl(PickAp);
    const double lo[2] = {p[0] - r, p[1] - r}, hi[2] = {p[0] + r, p[1] + r};
    crv* k = PickCrv(lo, hi);
    if (!k || k->n < 1) return;
    const double h = k->p[2];
    CrvHgt = k->p[2];
    char txt[512];
    if (std::fabs(h) > 1000)
        std::snprintf(txt, sizeof txt, "カーブ[%s] 高さ %.2lf m", k->name ? k->name : "", h / 1000);
    else
        std::snprintf(txt, sizeof txt, "カーブ[%s] 高さ %.2lf mm", k->name ? k->name : "", h);
    if (plt::Get()->MsgBox(txt, "情報", plt::BtnOk, plt::IconInfo) == plt::AnsOk) HgtMode();
}

void HidePick() {
    double lo[2], hi[2];
    PickWnd(lo, hi);
    crv* k = PickCrv(lo, hi);
    if (!k) return;
    RecUndo(UndoHideOne, 1, &k);
    k->vis = 0;
    ModFlg = 1;
    ShowDrw();
    Redraw();
}

void HideWnd() {
    double lo[2], hi[2];
    PickWnd(lo, hi);
    DrwWnd(lo, hi);
    RecUndo(UndoPart, 0, nullptr);
    bool any = false;
    for (int i = 0; i < NumCrv(); ++i) {
        crv* c = CrvAt(i);
        if (!c->vis || c->n < 1) continue;
        if (c->box.min[0] > lo[0] && c->box.min[1] > lo[1] && c->box.max[0] < hi[0] &&
            c->box.max[1] < hi[1]) {
            c->vis = 0;
            any = true;
        }
    }
    if (!any) {
        Discard();
        return;
    }
    ModFlg = 1;
    ShowDrw();
    Redraw();
}

void HideZero() {
    RecUndo(UndoPart, 0, nullptr);
    for (int i = 0; i < NumCrv(); ++i) {
        crv* c = CrvAt(i);
        if (c->n == 0 || std::fabs(c->p[2]) <= 0.001) c->vis = 0;
    }
    ModFlg = 1;
    Redraw();
}

void SetVis(int how) {
    if (how == 2) RecUndo(UndoPart, 0, nullptr);
    else Discard();
    for (int i = 0; i < NumCrv(); ++i) {
        crv* c = CrvAt(i);
        c->vis = how == 2 ? !c->vis : static_cast<uint8_t>(how);
    }
    ModFlg = 1;
    Redraw();
}
}  // namespace

void SclCrvSlct(double f) {
    if (NumCrvSlct == 0) return;
    XfmSlct([&](double& x, double& y) { x *= f; y *= f; });
}

int CrvSelCmd(int code) {
    switch (code) {
    case CmdCrvSlctAll: SlctAll(); return 0;
    case CmdCrvSlctWnd: StrtPick(ModeCrvSlctWnd, false); return 0;
    case CmdCrvSlctCross: DrwCross(); return 0;
    case CmdCrvSlctWndRls: SlctWnd(); return 0;
    case CmdCrvSlctNone: Deselect(); return 0;
    case CmdCrvMove: MoveBgn(); return 0;
    case CmdCrvMoveStep: MoveStep(); return 0;
    case CmdCrvMoveRight: return 0;
    case CmdCrvScl:
        if (NumCrvSlct > 0) RecUndo(UndoXfm, 0, nullptr);
        SclCrvSlct(CrvScl);
        Redraw();
        return 0;
    case CmdCrvRot: Rotate(); return 0;
    case CmdCrvSclDst: StrtPick(ModeCrvSclDst, false); SetCrs(CrsCross); return 0;
    case CmdCrvSclDstPrs: SclDstPrs(); return 0;
    case CmdCrvSclDstRls: SclDstRls(); return 0;
    case CmdCrvHgt: HgtMode(); return 0;
    case CmdCrvHgtRls: HgtPick(); return 0;
    case CmdCrvHgtShow: HgtShow(); return 0;
    case CmdCrvHide: StrtPick(ModeCrvHide, true); return 0;
    case CmdCrvHideRls: HidePick(); return 0;
    case CmdCrvHideWnd: StrtPick(ModeCrvHideWnd, true); return 0;
    case CmdCrvHideWndRls: HideWnd(); return 0;
    case CmdCrvHideZero: HideZero(); return 0;
    case CmdCrvHideAll: SetVis(0); return 0;
    case CmdCrvShowAll: SetVis(1); return 0;
    case CmdCrvVisInv: SetVis(2); return 0;
    default: return 1;
    }
}
