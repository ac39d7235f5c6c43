// Grid vertex editing: selection by rectangle, height drag, typed height; slope classes.
#include <algorithm>
#include <cmath>

#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "curves/crv.h"
#include "display/drw.h"
#include "display/view.h"
#include "terrain/trn.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"

int NumVtxSlct = 0;
int* VtxSlct = nullptr;
float VtxHgtVal = 0.0f;
float SlpThr[4] = {60, 45, 30, 15};
uint8_t SlpMode = 0;
uint8_t SlpDsp = 0;

static double VtxPrv[3];   // previous pointer position of the height drag
static int VtxSlctCap = 0;

void ClrVtxSlct() {
    if (VtxSlct) FreeMem(VtxSlct);
    VtxSlct = nullptr;
    NumVtxSlct = 0;
    VtxSlctCap = 0;
}

static void AddVtxSlct(int i) {
    if (NumVtxSlct >= VtxSlctCap) {
        int cap = VtxSlctCap < 16 ? 16 : VtxSlctCap * 2;
        VtxSlct = static_cast<int*>(RealcMem(VtxSlct, static_cast<long long>(cap) * sizeof(int),
                                             "SlctVtxID"));
        VtxSlctCap = cap;
    }
    VtxSlct[NumVtxSlct++] = i;
}

// Whether the terrain can be edited through index i.
static bool VtxOk(int i) { return TrnSrf && TrnSrf->v && i >= 0 && i < TrnSrf->nv; }

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

// Normal of one grid vertex, by grid position.
static void VtxNrm(int me) {
    const int C = TrnGrd->cols;
    if (me / C >= TrnGrd->rows) return;
    CalVtxNrm(me / C, me % C);
}

void UdtSlctNrm() {
    if (!TrnSrf || !TrnGrd || !TrnSrf->nrm || TrnGrd->cols == 0) return;
    for (int k = 0; k < NumVtxSlct; k++)
        if (VtxOk(VtxSlct[k]) && VtxSlct[k] < TrnGrd->n) VtxNrm(VtxSlct[k]);
}

void DrgVtxHgt(const double prev[3], const double cur[3]) {
    double dx = cur[0] - prev[0], dy = prev[1] - cur[1];
    double dl = std::fabs(dy) < std::fabs(dx) ? dx : dy;
    int w = ViewWin[0].W > 0 ? ViewWin[0].W : 1;
    double dz = dl * ViewWin[0].v.ScrWid / w;
    bool any = false;
    for (int k = 0; k < NumVtxSlct; k++) {
        int i = VtxSlct[k];
        if (!VtxOk(i)) continue;
        TrnSrf->v[3 * i + 2] = static_cast<float>(TrnSrf->v[3 * i + 2] + dz);
        any = true;
    }
    if (!any) return;
    UdtSlctNrm();
    UdtBox(TrnSrf, OK_SRF);
}

void SetVtxHgt() {
    bool any = false;
    for (int k = 0; k < NumVtxSlct; k++) {
        int i = VtxSlct[k];
        if (!VtxOk(i)) continue;
        TrnSrf->v[3 * i + 2] = VtxHgtVal;
        any = true;
    }
    if (!any) return;
    UdtSlctNrm();
    UdtBox(TrnSrf, OK_SRF);
}

// Commands and modes.

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
    bool any = false;
    for (int k = 0; TrnSrf && k < NumVtxSlct && !any; k++) any = VtxOk(VtxSlct[k]);
    if (any) RecUndo(UndoTrn, 0, nullptr);
    SetVtxHgt();
    IntrCmd(CatDsp, CmdRdrwAll);
    return 0;
}

static void LeaveMode() {
    SetMode(BaseMode);
    SetCrs(CrsArrow);
}

void VtxPickMode() {
    const MouseEvtRec& e = MouseEvt;
    if (e.kind == MsPress) {
        CurBtn = e.button;
        if (e.button == 3) { LeaveMode(); return; }
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
        if (e.button == 3) { LeaveMode(); return; }
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

// Slope classes.

double VtxSlp(int r, int c) {
    if (!TrnSrf || !TrnGrd || !TrnSrf->v) return 0;
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    if (r < 0 || c < 0 || r >= R || c >= C) return 0;
    const int32_t* id = TrnGrd->vtx_id;
    const float* v = TrnSrf->v;
    const float* p = v + 3 * id[r * C + c];
    const int nb[4][3] = {{r, c - 1, 0}, {r, c + 1, 0}, {r - 1, c, 1}, {r + 1, c, 1}};
    double big = 0, sum = 0;
    int cnt = 0;
    for (const auto& n : nb) {
        if (n[0] < 0 || n[1] < 0 || n[0] >= R || n[1] >= C) continue;
        const float* q = v + 3 * id[n[0] * C + n[1]];
        double run = static_cast<double>(q[n[2]]) - p[n[2]];
        if (run == 0) continue;
        double s = std::fabs((static_cast<double>(q[2]) - p[2]) / run);
        big = std::max(big, s);
        sum += s;
        cnt++;
    }
    if (SlpMode == 1) return cnt ? sum / cnt : 0;
    return big;
}

void SlpClsRgb(int k, uint8_t rgb[3]) {
    static const uint8_t col[5][3] = {
        {0, 0, 255}, {0, 255, 255}, {0, 255, 0}, {255, 255, 0}, {255, 0, 0}};
    if (k < 0) k = 0;
    if (k > 4) k = 4;
    rgb[0] = col[k][0]; rgb[1] = col[k][1]; rgb[2] = col[k][2];
}

void SlpClsCol(double s, uint8_t rgb[3]) {
    auto tn = [](float deg) { return std::tan(static_cast<double>(deg) * M_PI / 180.0); };
    int k = s < tn(SlpThr[3]) ? 0 : s < tn(SlpThr[2]) ? 1 : s < tn(SlpThr[1]) ? 2
          : s < tn(SlpThr[0]) ? 3 : 4;
    SlpClsRgb(k, rgb);
}

void SlpCol(int i, float rgb[3]) {
    rgb[0] = rgb[1] = rgb[2] = 1;
    if (!TrnGrd || TrnGrd->cols == 0 || i < 0 || i >= TrnGrd->n) return;
    uint8_t b[3];
    SlpClsCol(VtxSlp(i / TrnGrd->cols, i % TrnGrd->cols), b);
    rgb[0] = b[0] / 255.0f; rgb[1] = b[1] / 255.0f; rgb[2] = b[2] / 255.0f;
}

// Dialog values.

double GetVtxHgtDlg() { return Rnd2(VtxHgtVal / MmPer(HgtUnit)); }

void SetVtxHgtDlg(double v) {
    if (std::isfinite(v)) VtxHgtVal = static_cast<float>(v * MmPer(HgtUnit));
}

void GetSlpDlg(int thr[4], int* mode) {
    for (int k = 0; k < 4; k++) thr[k] = static_cast<int>(std::lround(SlpThr[k]));
    *mode = SlpMode;
}

bool SetSlpDlg(const int thr[4], int mode) {
    for (int k = 0; k < 4; k++)
        if (thr[k] < 0 || thr[k] > 90) return false;
    for (int k = 0; k < 4; k++) SlpThr[k] = static_cast<float>(thr[k]);
    SlpMode = mode ? 1 : 0;
    SlpDsp = 1;
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}

void RstSlpDlg() {
    SlpThr[0] = 60; SlpThr[1] = 45; SlpThr[2] = 30; SlpThr[3] = 15;
    SlpMode = 0;
}
