// Curve editing: joining ends, cutting, deleting points and curves.
#include <cmath>
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv_int.h"
#include "display/view.h"
#include "platform/platform.h"
#include "curves/crv_cmd.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"

namespace {
// Connect state: the first end picked.
uint8_t FstEnd = 0;
crv* FstCrv = nullptr;
int FstIdx = 0;

double Dst3(const float* a, const float* b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}

bool Inside(const float* q, const double lo[2], const double hi[2]) {
    return lo[0] < q[0] && q[0] < hi[0] && lo[1] < q[1] && q[1] < hi[1];
}

int NumCrv() { return CrvPart ? CrvPart->crvs.n : 0; }
crv* CrvAt(int i) { return CrvPart->crvs.a[i]; }

// Start of a picking mode: deselect, drop the undo record, enter the mode.
void StrtPick(int mode) {
    ClrCrvSlct();
    Redraw();
    RecUndo(UndoDiscard, 0, nullptr);
    SetMode(mode);
    SetCrs(CrsPick);
}

// ---- connect ----

// B = (k, i) is the second end, A the first end. Returns the curve that holds the joined
// points, or null when the end heights differ.
crv* Join(crv* k, int i) {
    crv* a = FstCrv;
    const int ia = FstIdx;
    if (a == k) {
        AppCrvPnts(k, k, 0, 0, false);
        return k;
    }
    if (std::fabs(a->p[3 * ia + 2] - k->p[3 * i + 2]) > 0.1) return nullptr;
    const bool bLast = i != 0, aLast = ia != 0;
    if (bLast && aLast) {
        AppCrvPnts(k, a, 0, a->n - 1, true);
        FreeCrv(a);
        return k;
    }
    if (bLast) {
        AppCrvPnts(k, a, 0, a->n - 1, false);
        FreeCrv(a);
        return k;
    }
    if (aLast) {
        AppCrvPnts(a, k, 0, k->n - 1, false);
        FreeCrv(k);
        return a;
    }
    RevCrv(k);
    AppCrvPnts(k, a, 0, a->n - 1, false);
    FreeCrv(a);
    return k;
}

void CnctStep() {
    double lo[2], hi[2];
    PickWnd(lo, hi);
    int i = 0;
    crv* k = FindCrvEnd(lo, hi, &i);
    if (!k) return;
    const double r = PixToMdl(PickAp);
    const double e[2] = {k->p[3 * i], k->p[3 * i + 1]};
    DrwSqr(e, r, 1, 1, 0);
    if (!FstEnd || !FstCrv) {
        FstCrv = k; FstIdx = i; FstEnd = 1;
        return;
    }
    if (k == FstCrv && i == FstIdx) return;
    RecUndo(UndoPart, 0, nullptr);
    if (crv* kept = Join(k, i)) {
        CalCrvBox(kept);
        UdtCrvBox();
        ShowDrw();
        Redraw();
        RstCnct();
        return;
    }
    RecUndo(UndoDiscard, 0, nullptr);
    plt::Get()->Beep();
    plt::Get()->MsgBox("カーブの高さが異なります", "注意", plt::BtnOk, plt::IconWarning);
}

// ---- automatic connection ----

// Joins the first candidate after position i whose end lies inside and within l of k's last
// point. Candidates need not be in view.
bool JoinCand(int i, crv* k, float az, const double lo[2], const double hi[2], double l) {
    const float* e = k->p + 3 * (k->n - 1);
    for (int j = i; j < NumCrv(); ++j) {
        crv* n = CrvAt(j);
        if (n == k || !n->vis || n->n < 1 || !CrvBoxOvl(n, lo, hi)) continue;
        if (std::fabs(n->p[2] - az) > 0.1) continue;
        const float* nf = n->p;
        const float* nl = n->p + 3 * (n->n - 1);
        if (Inside(nf, lo, hi) && Dst3(nf, e) < l) {
            AppCrvPnts(k, n, 0, n->n - 1, false);
        } else if (Inside(nl, lo, hi) && Dst3(nl, e) < l) {
            AppCrvPnts(k, n, 0, n->n - 1, true);
        } else {
            continue;
        }
        FreeCrv(n);
        return true;
    }
    return false;
}

void AutoCnct() {
    double lo[2], hi[2];
    PickWnd(lo, hi);
    DrwWnd(lo, hi);
    const double l = PixToMdl(CnctDst);
    RecUndo(UndoPart, 0, nullptr);
    int i = 0;
    while (i < NumCrv()) {
        crv* k = CrvAt(i);
        if (!k->vis || k->n < 1 || !CrvInView(k) || !CrvBoxOvl(k, lo, hi)) { ++i; continue; }
        float a[3], e[3];
        for (int q = 0; q < 3; ++q) { a[q] = k->p[q]; e[q] = k->p[3 * (k->n - 1) + q]; }
        if (Dst3(a, e) < 0.1) { ++i; continue; }
        bool joined = false;
        const bool aIn = Inside(a, lo, hi);
        if (Inside(e, lo, hi)) {
            if (aIn && Dst3(a, e) < l) {
                AppCrvPnts(k, k, 0, 0, false);
                CalCrvBox(k);
                continue;
            }
            joined = JoinCand(i, k, a[2], lo, hi, l);
        }
        if (aIn) {
            RevCrv(k);
            if (JoinCand(i, k, a[2], lo, hi, l)) joined = true;
        }
        CalCrvBox(k);
        if (!joined) ++i;
    }
    UdtCrvBox();
    ShowDrw();
    Redraw();
}

// ---- cutting ----

void CutVtx() {
    double p[3];
    PtrToMdl(PtrPos[0], PtrPos[1], p);
    const double r = PixToMdl(PickAp);
    const double lo[2] = {p[0] - r, p[1] - r}, hi[2] = {p[0] + r, p[1] + r};
    RecUndo(UndoPart, 0, nullptr);
    for (int i = 0; i < NumCrv(); ++i) {
        crv* k = CrvAt(i);
        if (!k->vis || k->n < 3 || !CrvInView(k) || !CrvBoxOvl(k, lo, hi)) continue;
        for (int j = 1; j <= k->n - 2; ++j) {
            if (!Inside(k->p + 3 * j, lo, hi)) continue;
            crv* n = NewCrv();
            AppCrvPnts(n, k, j, k->n - 1, false);
            for (int q = 0; q < 3; ++q) n->col[q] = k->col[q];
            SetCrvPnts(k, j + 1);
            CalCrvBox(k);
            CalCrvBox(n);
            UdtCrvBox();
            const double v[2] = {k->p[3 * j], k->p[3 * j + 1]};
            DrwSqr(v, PixToMdl(2), 1, 0, 0);
            return;
        }
    }
    RecUndo(UndoDiscard, 0, nullptr);
}

// Point at distance g from x towards q, with height z.
void GapPnt(crv* c, const double x[2], const float* q, double g, float z) {
    const double dx = q[0] - x[0], dy = q[1] - x[1];
    const double d = std::hypot(dx, dy);
    AddPnt(c, static_cast<float>(x[0] + dx * g / d), static_cast<float>(x[1] + dy * g / d), z);
}

void CutLin() {
    double p0[3], p1[3];
    PtrToMdl(PrsPos[0], PrsPos[1], p0);
    PtrToMdl(PtrPos[0], PtrPos[1], p1);
    p0[2] = p1[2] = 0;
    DrwSeg(p0, p1, 1, 1, 0);
    if (UndoCutOn) RecUndo(UndoPart, 0, nullptr);
    // A gap below the crossing tolerance would find the same crossing again.
    const double g = std::fmax(PixToMdl(2), 0.002);
    const double lo[2] = {std::fmin(p0[0], p1[0]), std::fmin(p0[1], p1[1])};
    const double hi[2] = {std::fmax(p0[0], p1[0]), std::fmax(p0[1], p1[1])};
    bool cut = false;
    int i = 0;
    while (i < NumCrv()) {
        crv* k = CrvAt(i);
        if (!k->vis || !CrvInView(k) || !CrvBoxOvl(k, lo, hi)) { ++i; continue; }
        bool kFreed = false, kCut = false;
        crv* pc = k;
        int j = 0;
        while (pc->n >= 2 && j < pc->n - 1) {
            const double a[2] = {pc->p[3 * j], pc->p[3 * j + 1]};
            const double b[2] = {pc->p[3 * j + 3], pc->p[3 * j + 4]};
            double x[2][2];
            if (IntscSeg(a, b, p0, p1, x) <= 0) { ++j; continue; }
            cut = kCut = true;
            const float z = pc->p[3 * j + 2];
            crv* n = NewCrv();
            const float* pj1 = pc->p + 3 * (j + 1);
            if (std::hypot(pj1[0] - x[0][0], pj1[1] - x[0][1]) > g) GapPnt(n, x[0], pj1, g, z);
            AppCrvPnts(n, pc, j + 1, pc->n - 1, false);
            for (int q = 0; q < 3; ++q) n->col[q] = pc->col[q];
            SetCrvPnts(pc, j + 1);
            const float pj[3] = {pc->p[3 * j], pc->p[3 * j + 1], pc->p[3 * j + 2]};
            if (std::hypot(pj[0] - x[0][0], pj[1] - x[0][1]) > g) GapPnt(pc, x[0], pj, g, z);
            CalCrvBox(pc);
            CalCrvBox(n);
            if (pc->n < 2) {
                if (pc == k) kFreed = true;
                FreeCrv(pc);
            }
            pc = n;
            j = 0;
        }
        // Short pieces of a cut go; a short curve the line merely passed keeps (nothing to undo).
        if (kCut && pc->n < 2) {
            if (pc == k) kFreed = true;
            FreeCrv(pc);
        }
        // A freed curve shifts the list: the same position holds the next curve.
        if (!kFreed) ++i;
    }
    if (!cut) {
        RecUndo(UndoDiscard, 0, nullptr);
        return;
    }
    UdtCrvBox();
    ShowDrw();
    Redraw();
}

// ---- deleting ----

void DelPnts() {
    double lo[2], hi[2];
    PickWnd(lo, hi);
    DrwWnd(lo, hi);
    RecUndo(UndoPart, 0, nullptr);
    bool deleted = false;
    int i = 0;
    while (i < NumCrv()) {
        crv* k = CrvAt(i);
        if (!k->vis || !CrvInView(k) || !CrvBoxOvl(k, lo, hi)) { ++i; continue; }
        bool freed = false, pending = false, touched = false;
        crv* pc = k;
        int j = 0;
        while (j < pc->n) {
            if (Inside(pc->p + 3 * j, lo, hi)) {
                DelPnt(pc, j);
                pending = deleted = touched = true;
                continue;
            }
            if (pending) {
                crv* n = NewCrv();
                AppCrvPnts(n, pc, j, pc->n - 1, false);
                for (int q = 0; q < 3; ++q) n->col[q] = pc->col[q];
                if (j < 2) {
                    FreeCrv(pc);
                    freed = true;
                } else {
                    SetCrvPnts(pc, j);
                    CalCrvBox(pc);
                }
                pc = n;
                j = 1;
                pending = false;
                continue;
            }
            ++j;
        }
        // Only a curve that lost points goes: a one-point curve merely lying near the window
        // stays, since a step that deletes nothing keeps no undo record.
        if (touched && pc->n < 2) {
            FreeCrv(pc);
            freed = true;
        } else if (touched) {
            CalCrvBox(pc);
        }
        if (!freed) ++i;
    }
    if (!deleted) {
        RecUndo(UndoDiscard, 0, nullptr);
        return;
    }
    UdtCrvBox();
    ShowDrw();
    Redraw();
}

void DelOne() {
    double lo[2], hi[2];
    PickWnd(lo, hi);
    crv* k = PickCrv(lo, hi);
    if (!k) return;
    RecUndo(UndoDelOne, 1, &k);
    FreeCrv(k);
    UdtCrvBox();
    ShowDrw();
    Redraw();
}

void DelAll() {
    ClrCrvSlct();
    RecUndo(UndoDelAll, 0, nullptr);
    FreeAllCrv();
    UdtCrvBox();
    Redraw();
}

void DelProp(int which) {
    ClrCrvSlct();
    RecUndo(UndoDelProp, 0, nullptr);
    SetUndoDel(which);
    DelCrvProp(which);
    UdtCrvBox();
    Redraw();
}
}  // namespace

void FreeAllCrv() {
    while (NumCrv() > 0) FreeCrv(CrvAt(NumCrv() - 1));
}

void DelCrvProp(int which) {
    int i = 0;
    while (i < NumCrv()) {
        crv* c = CrvAt(i);
        const bool del = c->n == 0 || (which == DEL_HIDDEN ? !c->vis : std::fabs(c->p[2]) <= 0.001);
        if (del) FreeCrv(c);
        else ++i;
    }
}

void RstCnct() {
    FstEnd = 0;
    FstCrv = nullptr;
    FstIdx = 0;
}

void CnctForget(crv* c) {
    if (FstCrv == c) RstCnct();
}

namespace {
// The model tells the commands when the curves they hold on to go.
const bool Hooked = [] {
    CrvHook.reset = [](bool newPart) {
        RstInpState();
        RstCnct();
        if (newPart) ClrUndo();
    };
    CrvHook.freed = CnctForget;
    return true;
}();
}  // namespace

int CrvEdtCmd(int code) {
    switch (code) {
    case CmdCrvCnct: StrtPick(ModeCrvCnct); RstCnct(); return 0;
    case CmdCrvCnctStep: CnctStep(); return 0;
    case CmdCrvAuto: StrtPick(ModeCrvAuto); return 0;
    case CmdCrvCross: DrwCross(); return 0;
    case CmdCrvAutoRls: AutoCnct(); return 0;
    case CmdCrvCut: StrtPick(ModeCrvCut); return 0;
    case CmdCrvCutPrs: CutVtx(); return 0;
    case CmdCrvCutRls: return 0;
    case CmdCrvCutLin: StrtPick(ModeCrvCutLin); return 0;
    case CmdCrvCutLinRls: CutLin(); return 0;
    case CmdCrvDelPnt: StrtPick(ModeCrvDelPnt); return 0;
    case CmdCrvDelPntRls: DelPnts(); return 0;
    case CmdCrvDelOne: StrtPick(ModeCrvDelOne); return 0;
    case CmdCrvDelOneRls: DelOne(); return 0;
    case CmdCrvDelAll: DelAll(); return 0;
    case CmdCrvDelHid: DelProp(DEL_HIDDEN); return 0;
    case CmdCrvDelZero: DelProp(DEL_ZERO); return 0;
    default: return 1;
    }
}
