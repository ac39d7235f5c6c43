// The terrain's step commands and mode handlers: each records its undo step, works on the terrain
// below it, and draws feedback into the view or asks for a redraw.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cmd/trn_cmds.h"
#include "cmd/undo.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "curves/crv_cmd.h"
#include "display/drw.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "terrain/trn.h"
#include "terrain/trn_cmd.h"
#include "terrain/trn_mth.h"

static double VtxPrv[3];   // previous pointer position of the height drag

// Mesh, visibility, deletion and the region (category 1).

static void TrnRedraw() { IntrCmd(CatDsp, CmdRdrwAll); }

int TrnMshCmd() {
    CreTrnMsh();
    TrnRedraw();
    return 0;
}

int TrnHidCmd() {
    RecUndo(UndoDiscard, 0, nullptr);
    SetTrnVis(0);
    TrnRedraw();
    return 0;
}

int TrnShwCmd() {
    RecUndo(UndoDiscard, 0, nullptr);
    SetTrnVis(1);
    TrnRedraw();
    return 0;
}

int TrnDelCmd() {
    if (!TrnSrf) return 0;
    RecUndo(UndoTrnDel, 0, nullptr);
    DelTrn();
    TrnRedraw();
    return 0;
}

// Region commands (category 1).

int TrnRgnDlgOk() {
    RecUndo(UndoRgn, 0, nullptr);
    IntrCmd(CatMdl, CmdTrnMsh);
    return 0;
}

int TrnRgnMouse() {
    RecUndo(UndoDiscard, 0, nullptr);
    SetMode(ModeRgn);
    SetCrs(CrsPick);
    return 0;
}

// The pick aperture in model units.
static double ApMdl() {
    const ViewWinRec& w = ViewWin[0];
    int wp = w.W > 0 ? w.W : 1;
    return PickAp * w.v.ScrWid / wp;
}

int TrnRgnPrs() {
    double p[3];
    PtrToMdl(PtrPos[0], PtrPos[1], p);
    double r = ApMdl();
    double a[3] = {p[0] - r, p[1], 0}, b[3] = {p[0] + r, p[1], 0};
    double c[3] = {p[0], p[1] - r, 0}, e[3] = {p[0], p[1] + r, 0};
    SetDrwBuf(DRW_FRONT);
    DrwLin(a, b);
    DrwLin(c, e);
    FlushDrw();
    return 0;
}

int TrnRgnRls() {
    double p[3], q[3];
    PtrToMdl(PrsPos[0], PrsPos[1], p);
    PtrToMdl(PtrPos[0], PtrPos[1], q);
    double r = ApMdl();
    double lo[3], hi[3];
    if (std::hypot(q[0] - p[0], q[1] - p[1]) < 1.0) {
        lo[0] = p[0] - r; lo[1] = p[1] - r;
        hi[0] = q[0] + r; hi[1] = q[1] + r;
    } else {
        lo[0] = std::fmin(p[0], q[0]); hi[0] = std::fmax(p[0], q[0]);
        lo[1] = std::fmin(p[1], q[1]); hi[1] = std::fmax(p[1], q[1]);
    }
    lo[2] = hi[2] = 0;
    TrnRgn[0] = static_cast<float>(lo[0]); TrnRgn[1] = static_cast<float>(lo[1]); TrnRgn[2] = 0;
    TrnRgn[3] = static_cast<float>(hi[0]); TrnRgn[4] = static_cast<float>(hi[1]); TrnRgn[5] = 0;
    SetDrwBuf(DRW_FRONT);
    DrwBox(lo, hi);
    RecUndo(UndoRgn, 0, nullptr);
    FlushDrw();
    IntrCmd(CatMdl, CmdTrnMsh);
    return 0;
}

// Creation and the filter.

namespace {
// A cross of twice the mesh interval at each post just computed, shown at once.
void MarkPosts(void*, const float* v, int n, double ox, double oy) {
    if (!DrwWinOpen()) return;
    for (int i = 0; i < n; i++) {
        const float* p = v + 3 * i;
        double d2 = 2.0 * MshItv;
        const double x = p[0] + ox, y = p[1] + oy;
        double a[3] = {x - d2, y, p[2]}, b[3] = {x + d2, y, p[2]};
        double c[3] = {x, y - d2, p[2]}, e[3] = {x, y + d2, p[2]};
        SetCol(6);
        DrwLin(a, b);
        DrwLin(c, e);
    }
    FlushDrw();
}

// The marks go straight into the visible picture while the run lasts.
void MrkBgn(void*) {
    FbWnd.Begin();
    SetDrwBuf(DRW_FRONT);
}

void MrkEnd(void*) {
    SetDrwBuf(DRW_BACK);
    FbWnd.End();
}

Feedback MkFbWndMrk() {
    Feedback f = FbWnd;
    f.begin = MrkBgn;
    f.end = MrkEnd;
    f.mark = MarkPosts;
    return f;
}
}  // namespace

const Feedback FbWndMrk = MkFbWndMrk();

int TrnCreCmd() {
    RecUndo(UndoTrn, 0, nullptr);
    SetCrs(CrsWait);
    if (CreTrn(FbWndMrk)) TrnCreNote();
    RstBaseMode();
    SetCrs(CrsArrow);
    IntrCmd(CatDsp, CmdRdrwAll);
    return 0;
}

int TrnFltrCmd() {
    RecUndo(UndoTrn, 0, nullptr);
    SetCrs(CrsWait);
    RstBaseMode();
    SetCrs(CrsArrow);
    const int n = FltrTrn();
    IntrCmd(CatDsp, CmdRdrwAll);
    if (n >= 0 && TrnGrd) {
        // What the filter did: it changes the picture too little to be seen at a glance.
        char t[MsgLinLen];
        std::snprintf(t, sizeof t, MsgTx("フィルター (%g°): %d / %d 点を修正しました。", "Filter (%g°): %d of %d posts changed."),
                      static_cast<double>(FltrAng), n, TrnGrd->rows * TrnGrd->cols);
        PutMsg(t);
    }
    return 0;
}

// Vertex picking and heights.

void SlctVtx(srf* s) {
    float x0 = static_cast<float>(std::min(PrsPos[0], PtrPos[0]));
    float x1 = static_cast<float>(std::max(PrsPos[0], PtrPos[0]));
    float y0 = static_cast<float>(std::min(PrsPos[1], PtrPos[1]));
    float y1 = static_cast<float>(std::max(PrsPos[1], PtrPos[1]));
    ClrVtxSlct();
    if (!s || !s->v) return;
    for (int i = 0; i < s->nv; i++) {
        float w[3];
        MdlToWinF(s->v + 3 * i, 0, w);
        if (x0 <= w[0] && w[0] <= x1 && y0 <= w[1] && w[1] <= y1) AddVtxSlct(i);
    }
}

void DrgVtxHgt(const double prev[3], const double cur[3]) {
    double dx = cur[0] - prev[0], dy = prev[1] - cur[1];
    double dl = std::fabs(dy) < std::fabs(dx) ? dx : dy;
    int w = ViewWin[0].W > 0 ? ViewWin[0].W : 1;
    RaiseVtxSlct(dl * ViewWin[0].v.ScrWid / w);
}

// Feedback outline given in window pixels of view window 0.
static void DrwWinPly(const double* pts, int n) {
    double m[5 * 3];
    for (int k = 0; k < n && k < 5; k++) {
        double w[3] = {pts[3 * k], pts[3 * k + 1], ZRes * 0.5};
        WinToMdl(w, 0, m + 3 * k);
    }
    DrwPlyLin(m, n);
}

static const char kNoTrn[] = "地形が作成されていません。";

int VtxPickCmd() {
    if (!TrnSrf) {
        DspWrnMsg(MsgOwnWrn, kNoTrn);
        return 0;
    }
    RecUndo(UndoDiscard, 0, nullptr);
    SetMode(ModeVtxPick);
    SetCrs(CrsCross);
    return 0;
}

int VtxPrsCmd() {
    double r = PickAp;
    double lo[3] = {PtrPos[0] - r, PtrPos[1] - r, 0}, hi[3] = {PtrPos[0] + r, PtrPos[1] + r, 0};
    double sq[15] = {lo[0], lo[1], 0, hi[0], lo[1], 0, hi[0], hi[1], 0, lo[0], hi[1], 0,
                     lo[0], lo[1], 0};
    SetDrwBuf(DRW_FRONT);
    SetColRGB(1, 1, 0);
    DrwWinPly(sq, 5);
    FlushDrw();
    return 0;
}

int VtxRlsCmd() {
    double sq[15] = {PrsPos[0], PrsPos[1], 0, PtrPos[0], PrsPos[1], 0, PtrPos[0], PtrPos[1], 0,
                     PrsPos[0], PtrPos[1], 0, PrsPos[0], PrsPos[1], 0};
    SetDrwBuf(DRW_FRONT);
    SetColRGB(1, 1, 0);
    DrwWinPly(sq, 5);
    SlctVtx(TrnSrf);
    FlushDrw();
    IntrCmd(CatDsp, CmdRdrwAll);
    return 0;
}

int VtxDrgCmd() {
    if (!TrnSrf) {
        DspWrnMsg(MsgOwnWrn, kNoTrn);
        return 0;
    }
    RecUndo(UndoDiscard, 0, nullptr);
    RecUndo(UndoTrn, 0, nullptr);
    SetMode(ModeVtxDrg);
    SetCrs(CrsVtxDrg);
    return 0;
}

int VtxDrgStep() {
    DrgVtxHgt(VtxPrv, PtrPos);
    VtxPrv[0] = PtrPos[0]; VtxPrv[1] = PtrPos[1]; VtxPrv[2] = PtrPos[2];
    IntrCmd(CatDsp, CmdRdrwAll);
    return 0;
}

int VtxHgtCmd() {
    RecUndo(UndoDiscard, 0, nullptr);
    // A terrain snapshot first, as the drag mode takes one: a wrong number typed can be undone.
    // Nothing to change (no terrain, no vertex selected) leaves nothing to undo.
    if (TrnSrf && AnyVtxSlctOk()) RecUndo(UndoTrn, 0, nullptr);
    SetVtxHgt();
    IntrCmd(CatDsp, CmdRdrwAll);
    return 0;
}

static void LeaveVtxMode() {
    SetMode(BaseMode);
    SetCrs(CrsArrow);
}

void VtxPickMode() {
    const MouseEvtRec& e = MouseEvt;
    if (e.kind == MsPress) {
        CurBtn = e.button;
        if (e.button == 3) { LeaveVtxMode(); return; }
        if (e.button != 1) return;
        PtrPos[0] = e.x; PtrPos[1] = e.y; PtrPos[2] = 0;
        IntrCmd(CatMdl, CmdVtxPrs);
        PrsPos[0] = PtrPos[0]; PrsPos[1] = PtrPos[1]; PrsPos[2] = 0;
        BtnHeld = 1;
    } else if (e.kind == MsMove) {
        if (BtnHeld && CurBtn == 1) { PtrPos[0] = e.x; PtrPos[1] = e.y; PtrPos[2] = 0; }
    } else if (e.kind == MsRelease) {
        if (!BtnHeld) return;
        BtnHeld = 0;
        IntrCmd(CatMdl, CmdVtxRls);
    }
}

void VtxDrgMode() {
    const MouseEvtRec& e = MouseEvt;
    if (e.kind == MsPress) {
        CurBtn = e.button;
        if (e.button == 3) { LeaveVtxMode(); return; }
        if (e.button != 1) return;
        PtrPos[0] = e.x; PtrPos[1] = e.y; PtrPos[2] = 0;
        VtxPrv[0] = PtrPos[0]; VtxPrv[1] = PtrPos[1]; VtxPrv[2] = 0;
        BtnHeld = 1;
    } else if (e.kind == MsMove) {
        if (BtnHeld && CurBtn == 1) {
            PtrPos[0] = e.x; PtrPos[1] = e.y; PtrPos[2] = 0;
            IntrCmd(CatMdl, CmdVtxDrgStep);
        }
    } else if (e.kind == MsRelease) {
        if (!BtnHeld) return;
        BtnHeld = 0;
        IntrCmd(CatMdl, CmdVtxDrgRls);
    }
}

// Slope dialog: OK turns the slope display on and redraws.

bool SetSlpDlg(const int thr[4], int mode) {
    for (int k = 0; k < 4; k++)
        if (thr[k] < 0 || thr[k] > 90) return false;
    for (int k = 0; k < 4; k++) SlpThr[k] = static_cast<float>(thr[k]);
    SlpMode = mode ? 1 : 0;
    SlpDsp = 1;
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}
