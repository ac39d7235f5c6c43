// Undo history: before each change a step records copies of what it is about to alter; undo and
// redo swap those copies with the present state, so that every step can go back and forth.
#include <cstring>
#include <vector>
#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "curves/crv_int.h"
#include "platform/platform.h"
#include "terrain/trn.h"
#include "curves/crv_cmd.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"

uint8_t UndoOn = 1;
uint8_t UndoCutOn = 1;
uint8_t UndoState = 0;
int UndoKind = 0;
int UndoMaxStep = 100;
long long UndoMaxMem = 256LL * 1024 * 1024;

namespace {
// Saved curves (kinds 3, 4, 5, 8): detached copies in order, each with its curve's identity.
struct CrvSet {
    int n = 0;
    crv** a = nullptr;
};

// One step. Live curves are referred to by identity (crv::uid), not by address: a step may be
// undone after later steps freed a curve and their undo made it again.
struct Step {
    int kind = UndoNone;
    int cmd = 0;             // command that made it (names the step)
    int del = DEL_ZERO;      // kind 5: which deletion by property
    unsigned entry = 0;      // the user action it was recorded in
    CrvSet set;              // kinds 3, 4, 5, 8
    srf* trn = nullptr;      // kinds 9-11; null: no terrain existed
    crv* one = nullptr;      // kinds 2, 6, 7, 12
    std::vector<uint32_t> refs;  // live curves the step is about (kinds 2, 6, 7, 8, 12)
    long long bytes = 0;
};

// Oldest first; the first Pos steps are done (undoable), the rest undone (redoable).
std::vector<Step*> Hist;
int Pos = 0;
bool LastUndo = false;  // the last move was an undo: the state line names the step just undone
long long HistBytes = 0;

long long CrvBytes(const crv* c) {
    if (!c) return 0;
    return static_cast<long long>(sizeof(crv)) + (c->name ? std::strlen(c->name) + 1 : 0) +
           12LL * c->n;
}

long long SrfBytes(const srf* s) {
    if (!s) return 0;
    long long b = static_cast<long long>(sizeof(srf)) + 4LL * s->nce + 12LL * s->nvc;
    b += 12LL * s->nv * ((s->v ? 1 : 0) + (s->nrm ? 1 : 0) + (s->v3 ? 1 : 0));
    for (int i = 0; i < s->pgns.n; ++i) b += static_cast<long long>(sizeof(pgn)) + 4LL * s->pgns.a[i]->n;
    for (int i = 0; i < s->prjs.n; ++i) b += static_cast<long long>(sizeof(prj)) + 8LL * s->prjs.a[i]->n;
    return b;
}

long long StepBytes(const Step& s) {
    long long b = static_cast<long long>(sizeof(Step)) + 4LL * static_cast<long long>(s.refs.size());
    for (int i = 0; i < s.set.n; ++i) b += CrvBytes(s.set.a[i]) + 8;
    return b + SrfBytes(s.trn) + CrvBytes(s.one);
}

void FreeSet(CrvSet& s) {
    for (int i = 0; i < s.n; ++i) FreeCrvObj(s.a[i], false);
    FreeMem(s.a);
    s.n = 0;
    s.a = nullptr;
}

// A copy with the curve's identity. Red only marks the selection, which undo leaves alone: a
// selected curve is kept in the colour its height gives it.
crv* CopyKeep(const crv* src) {
    crv* c = CopyCrvNew(src);
    c->uid = src->uid;
    if (c->n > 0 && IsCrvSlct(src)) SetCrvCol(c, c->p[2]);
    return c;
}

// Copies of n curves; built completely before the caller replaces anything.
CrvSet CopySet(crv* const* src, int n) {
    CrvSet s;
    if (n <= 0) return s;
    s.a = static_cast<crv**>(AlcMem(static_cast<long long>(sizeof(crv*)) * n, "Undo"));
    Cleanup drop([&] { FreeSet(s); });
    for (int i = 0; i < n; ++i) {
        s.a[i] = src[i] ? CopyKeep(src[i]) : NewCrvObj("");
        ++s.n;
    }
    drop.Keep();
    return s;
}

void CopyArr(float** dst, const float* src, long long cnt, const char* tag) {
    FreeMem(*dst);
    *dst = nullptr;
    if (!src || cnt <= 0) return;
    *dst = static_cast<float*>(AlcMem(static_cast<long long>(sizeof(float)) * cnt, tag));
    std::memcpy(*dst, src, sizeof(float) * cnt);
}

// Content of a surface: vertices, normals, colours, polygon groups and projections.
void CopySrf(srf* d, const srf* s) {
    d->xfm = s->xfm;
    std::memcpy(d->mtx, s->mtx, sizeof d->mtx);
    d->box = s->box;
    d->mtlIdx = s->mtlIdx;
    d->mtlIdx2 = s->mtlIdx2;
    d->mtlPtr = s->mtlPtr;
    d->nv = s->nv;
    CopyArr(&d->v, s->v, 3LL * s->nv, "v");
    CopyArr(&d->nrm, s->nrm, 3LL * s->nv, "n");
    CopyArr(&d->v3, s->v3, 3LL * s->nv, "v3");
    d->nvc = s->nvc;
    CopyArr(&d->vc, s->vc, 3LL * s->nvc, "vc");
    d->nce = s->nce;
    FreeMem(d->ce);
    d->ce = nullptr;
    if (s->ce && s->nce > 0) {
        d->ce = static_cast<int32_t*>(AlcMem(static_cast<long long>(sizeof(int32_t)) * s->nce, "ce"));
        std::memcpy(d->ce, s->ce, sizeof(int32_t) * s->nce);
    }
    d->b1 = s->b1;
    d->kind = s->kind;
    d->dspFlg = s->dspFlg;
    d->vis = s->vis;
    for (int i = 0; i < s->pgns.n; ++i) {
        const pgn* sp = s->pgns.a[i];
        pgn* dp = NewPgn(d);
        FreeMem(dp->vtx_id);
        dp->vtx_id = nullptr;
        dp->n = sp->n;
        if (sp->vtx_id && sp->n > 0) {
            dp->vtx_id = static_cast<int32_t*>(
                AlcMem(static_cast<long long>(sizeof(int32_t)) * sp->n, "vtx_id"));
            std::memcpy(dp->vtx_id, sp->vtx_id, sizeof(int32_t) * sp->n);
        }
        dp->rows = sp->rows;
        dp->cols = sp->cols;
        dp->type = sp->type;
    }
    for (int i = 0; i < s->prjs.n; ++i) {
        const prj* sp = s->prjs.a[i];
        prj* dp = NewPrj(d);
        dp->n = sp->n;
        CopyArr(&dp->uv, sp->uv, 2LL * sp->n, "uv");
        std::memcpy(dp->mtx, sp->mtx, sizeof dp->mtx);
        dp->lead = sp->lead;
        std::memcpy(dp->prm, sp->prm, sizeof dp->prm);
        dp->type = sp->type;
    }
}

srf* CopySrfNew(const srf* s) {
    if (!s) return nullptr;
    srf* d = NewSrf(s->name ? s->name : "");
    Cleanup drop([&] { FreeSrf(d, false); });
    CopySrf(d, s);
    drop.Keep();
    return d;
}

void SetRefs(Step& st, int n, crv* const* curves) {
    std::vector<uint32_t> r;
    for (int i = 0; i < n; ++i) r.push_back(curves[i] ? curves[i]->uid : 0);
    st.refs.swap(r);
}

int NumCrv() { return CrvPart ? CrvPart->crvs.n : 0; }

// The live curve of an identity, or null when it is gone.
crv* Live(uint32_t uid) {
    for (int i = 0; uid && i < NumCrv(); ++i)
        if (CrvPart->crvs.a[i]->uid == uid) return CrvPart->crvs.a[i];
    return nullptr;
}

crv* Ref0(const Step& st) { return st.refs.empty() ? nullptr : Live(st.refs[0]); }

void FreeContent(Step& st) {
    FreeSet(st.set);
    if (st.trn) FreeSrf(st.trn, false);
    st.trn = nullptr;
    FreeCrvObj(st.one, false);
    st.one = nullptr;
}

// Save the current state for kind k into the step (the third step of recording).
void Save(Step& st, int k, int n, crv* const* curves) {
    switch (k) {
    case UndoNewCrv: case UndoDelOne: case UndoHgt: case UndoHideOne:
        if (n > 0 && curves && curves[0]) {
            crv* c = CopyKeep(curves[0]);
            SetRefs(st, n, curves);
            FreeCrvObj(st.one, false);
            st.one = c;
        }
        break;
    case UndoPart: case UndoDelAll: case UndoDelProp: {
        CrvSet s = CrvPart ? CopySet(CrvPart->crvs.a, CrvPart->crvs.n) : CrvSet{};
        FreeSet(st.set);
        st.set = s;
        break;
    }
    case UndoXfm: {
        // The curves themselves are kept too: undo must reach them even after the
        // selection has changed.
        if (!curves) { curves = CrvSlct; n = NumCrvSlct; }
        CrvSet s = CopySet(curves, n);
        SetRefs(st, n, curves);
        FreeSet(st.set);
        st.set = s;
        break;
    }
    case UndoRgn: case UndoTrnDel: case UndoTrn: {
        srf* s = CopySrfNew(TrnSrf);
        if (st.trn) FreeSrf(st.trn, false);
        st.trn = s;
        break;
    }
    default:
        break;
    }
}

// The saved name too: after a join or a deletion the record at a position may have held
// another curve, and a curve must not come back under its neighbour's name.
void SetName(crv* c, const char* name) {
    if (!name || (c->name && std::strcmp(c->name, name) == 0)) return;
    const size_t len = std::strlen(name) + 1;
    char* t = static_cast<char*>(AlcMem(static_cast<long long>(len), "name"));
    std::memcpy(t, name, len);
    FreeMem(c->name);
    c->name = t;
}

crv* AddKeep(const crv* s) {
    crv* c = AddCrvCopy(s);
    if (c) c->uid = s->uid;
    return c;
}

// Make the curve part hold exactly the curves of s: curve i keeps its record and takes the
// content, name and identity; missing ones are added at the end, surplus ones freed.
void RstPart(const CrvSet& s) {
    if (!CrvPart) return;
    for (int i = 0; i < s.n; ++i) {
        if (i < NumCrv()) {
            crv* c = CrvPart->crvs.a[i];
            CopyCrv(c, s.a[i]);
            SetName(c, s.a[i]->name);
            c->uid = s.a[i]->uid;
        } else {
            AddKeep(s.a[i]);
        }
    }
    while (NumCrv() > s.n) FreeCrv(CrvPart->crvs.a[NumCrv() - 1]);
}

void AddSet(const CrvSet& s) {
    for (int i = 0; i < s.n; ++i) AddKeep(s.a[i]);
}

// Kinds 3 and 8 in either direction: swap the saved copies with the present state.
void SwapPart(Step& st) {
    CrvSet t = st.set;
    st.set = CrvSet{};
    Cleanup drop([&] { st.set = t; });
    Save(st, UndoPart, 0, nullptr);
    drop.Keep();
    RstPart(t);
    FreeSet(t);
}

void SwapSlct(Step& st) {
    CrvSet t = st.set;
    st.set = CrvSet{};
    std::vector<crv*> live;
    for (uint32_t u : st.refs) live.push_back(Live(u));
    Cleanup drop([&] { st.set = t; });
    Save(st, UndoXfm, static_cast<int>(live.size()), live.data());
    drop.Keep();
    for (int i = 0; i < t.n && i < static_cast<int>(live.size()); ++i)
        if (live[i]) CopyCrv(live[i], t.a[i]);
    FreeSet(t);
}

// Kind 7: heights and colour back from the copy; kind 12: the visible flag.
void SwapHgt(Step& st) {
    crv* live = Ref0(st);
    if (!live || !st.one) return;
    crv* t = st.one;
    st.one = nullptr;
    Cleanup drop([&] { st.one = t; });
    Save(st, st.kind, 1, &live);
    drop.Keep();
    if (st.kind == UndoHideOne) {
        live->vis = t->vis;
    } else {
        for (int i = 0; i < live->n && i < t->n; ++i) live->p[3 * i + 2] = t->p[3 * i + 2];
        for (int q = 0; q < 3; ++q) live->col[q] = t->col[q];
        CalCrvBox(live);
    }
    FreeCrvObj(t, false);
}

// Terrain back from the step, the present one into it: the surfaces change places, nothing
// is copied.
void SwapTrn(Step& st) {
    srf* t = st.trn;
    const int oldNv = TrnSrf ? TrnSrf->nv : -1;
    srf* cur = TrnSrf;
    if (cur) DtchSrf(cur);  // forgets TrnSrf and TrnGrd
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    st.trn = cur;
    prt* own = CrvPart ? CrvPart : TrnPrt;
    if (t && own) {
        AtchSrfPrt(own, t);
        t->mtlPtr = SrfMtl(t);
        TrnSrf = t;
        TrnGrd = t->pgns.n > 0 ? t->pgns.a[0] : nullptr;
    } else if (t) {
        FreeSrf(t, false);
    }
    if (st.kind == UndoRgn) RgnFromTrn();
    // Selected vertex numbers only mean something on a grid of the same size.
    if ((TrnSrf ? TrnSrf->nv : -1) != oldNv) ClrVtxSlct();
}

void DropTrn(Step& st) {
    srf* cur = TrnSrf;
    if (cur) DtchSrf(cur);
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    if (st.trn) FreeSrf(st.trn, false);
    st.trn = cur;
}

void Account(Step& st) {
    HistBytes -= st.bytes;
    st.bytes = StepBytes(st);
    HistBytes += st.bytes;
}

void FreeStep(Step* st) {
    HistBytes -= st->bytes;
    FreeContent(*st);
    delete st;
}

// The redo side goes when a new step is made.
void DropRedo() {
    while (static_cast<int>(Hist.size()) > Pos) {
        FreeStep(Hist.back());
        Hist.pop_back();
    }
}

// Oldest steps go beyond the step count or the memory budget; the newest always stays.
void Trim() {
    while (Hist.size() > 1 &&
           (static_cast<int>(Hist.size()) > UndoMaxStep || HistBytes > UndoMaxMem)) {
        FreeStep(Hist.front());
        Hist.erase(Hist.begin());
        if (Pos > 0) --Pos;
    }
}

// The state line: after an undo the step just undone (redo available), otherwise the newest
// done step; with one step this is the single record's state.
void Sync() {
    const int n = static_cast<int>(Hist.size());
    if (LastUndo && Pos < n) {
        UndoState = 2;
        UndoKind = Hist[Pos]->kind;
    } else if (Pos > 0) {
        UndoState = 1;
        UndoKind = Hist[Pos - 1]->kind;
    } else if (Pos < n) {
        UndoState = 2;
        UndoKind = Hist[Pos]->kind;
    } else {
        UndoState = 0;
        UndoKind = 0;
    }
}

void Finish(bool undo) {
    // What is selected stays selected, and red.
    for (int i = 0; i < NumCrvSlct; ++i)
        if (crv* c = CrvSlct[i]) c->col[0] = 1, c->col[1] = 0, c->col[2] = 0;
    UdtCrvBox();
    Redraw();
    LastUndo = undo;
    Sync();
}

int StepCmd() { return TopCmdEntry == EngEntry() ? TopCmd : ModeCmd; }

// The curve being input stays out of the swap: it is not part of any step, and its mode
// goes on appending to it.
struct InputAside {
    crv* c = nullptr;
    InputAside() {
        if (CrntCrv && CrvPart && (CrntMode == ModeCrvClk || CrntMode == ModeCrvStk)) {
            c = CrntCrv;
            DtchCrv(c);
        }
        RstCnct();
    }
    ~InputAside() {
        if (c && CrvPart) AtchCrvPrt(CrvPart, c);
        else if (c) FreeCrvObj(c, false);
    }
    InputAside(const InputAside&) = delete;
    InputAside& operator=(const InputAside&) = delete;
};
}  // namespace

static void UndoStep();
static void RedoStep();

void RecUndo(int kind, int n, crv** curves) {
    if (!UndoOn) return;
    switch (kind) {
    case UndoNewCrv: case UndoPart: case UndoDelAll: case UndoDelProp: case UndoDelOne: case UndoHgt: case UndoXfm: case UndoRgn: case UndoTrnDel: case UndoTrn: case UndoHideOne: {
        auto* st = new Step;
        Cleanup drop([&] { FreeContent(*st); delete st; });
        st->kind = kind;
        st->cmd = StepCmd();
        st->entry = EngEntry();
        Save(*st, kind, n, curves);
        st->bytes = StepBytes(*st);
        drop.Keep();
        DropRedo();
        Hist.push_back(st);
        HistBytes += st->bytes;
        Pos = static_cast<int>(Hist.size());
        Trim();
        break;
    }
    default:
        // A step recorded in this same action that turned out to change nothing goes; the start
        // of a mode leaves the history as it is.
        if (Pos > 0 && Pos == static_cast<int>(Hist.size()) && Hist.back()->entry == EngEntry()) {
            FreeStep(Hist.back());
            Hist.pop_back();
            Pos = static_cast<int>(Hist.size());
        }
        break;
    }
    LastUndo = false;
    Sync();
}

void SetUndoDel(int which) {
    if (UndoOn && Pos > 0 && Hist[Pos - 1]->kind == UndoDelProp) Hist[Pos - 1]->del = which;
}

void ClrUndo() {
    for (Step* s : Hist) FreeStep(s);
    Hist.clear();
    Pos = 0;
    HistBytes = 0;
    LastUndo = false;
    Sync();
}

bool CanUndo() { return Pos > 0; }
bool CanRedo() { return Pos < static_cast<int>(Hist.size()); }
int UndoSteps() { return static_cast<int>(Hist.size()); }
long long UndoBytes() { return HistBytes; }

UndoStepInfo UndoStepAt(int i) {
    const int n = static_cast<int>(Hist.size());
    if (i < 0 || i >= n) return {};
    const Step& s = *Hist[n - 1 - i];
    return {s.kind, s.cmd, s.bytes, n - 1 - i >= Pos};
}

UndoStepInfo NextUndo() { return Pos > 0 ? UndoStepAt(static_cast<int>(Hist.size()) - Pos) : UndoStepInfo{}; }
UndoStepInfo NextRedo() { return CanRedo() ? UndoStepAt(static_cast<int>(Hist.size()) - Pos - 1) : UndoStepInfo{}; }

// The shell calls these straight from its menu, outside any command: guard them like one.
void Undo() {
    EngGuard([] {
        UndoStep();
        return 0;
    });
}

void Redo() {
    EngGuard([] {
        RedoStep();
        return 0;
    });
}

static void UndoStep() {
    if (!UndoOn) return;
    if (Pos <= 0) {
        plt::Get()->Beep();
        return;
    }
    Step& st = *Hist[Pos - 1];
    {
        InputAside aside;
        switch (st.kind) {
        case UndoNewCrv:
            if (crv* c = Ref0(st)) FreeCrv(c);
            break;
        case UndoPart: SwapPart(st); break;
        case UndoDelAll: AddSet(st.set); break;
        case UndoDelProp:
            FreeAllCrv();
            AddSet(st.set);
            break;
        case UndoDelOne:
            if (st.one && CrvPart) {
                crv* c = AddKeep(st.one);
                Save(st, UndoDelOne, 1, &c);
            }
            break;
        case UndoHgt: case UndoHideOne: SwapHgt(st); break;
        case UndoXfm: SwapSlct(st); break;
        case UndoRgn: case UndoTrnDel: case UndoTrn: SwapTrn(st); break;
        default: break;
        }
        Account(st);
    }
    --Pos;
    Finish(true);
}

static void RedoStep() {
    if (!UndoOn) return;
    if (Pos >= static_cast<int>(Hist.size())) {
        plt::Get()->Beep();
        return;
    }
    Step& st = *Hist[Pos];
    {
        InputAside aside;
        switch (st.kind) {
        case UndoNewCrv:
            if (st.one && CrvPart) {
                crv* c = AddKeep(st.one);
                Save(st, UndoNewCrv, 1, &c);
            }
            break;
        case UndoPart:
            if (st.set.n > 0) {
                SwapPart(st);
            } else {
                // Nothing was saved: the step becomes a deletion of every curve.
                st.kind = UndoDelAll;
                Save(st, UndoDelAll, 0, nullptr);
                FreeAllCrv();
            }
            break;
        case UndoDelAll: FreeAllCrv(); break;
        case UndoDelProp: DelCrvProp(st.del); break;
        case UndoDelOne:
            if (crv* c = Ref0(st)) FreeCrv(c);
            break;
        case UndoHgt: case UndoHideOne: SwapHgt(st); break;
        case UndoXfm: SwapSlct(st); break;
        case UndoRgn:
            if (!st.trn) {
                ++Pos;
                LastUndo = false;
                Sync();
                return;
            }
            SwapTrn(st);
            break;
        case UndoTrnDel: DropTrn(st); break;
        case UndoTrn: SwapTrn(st); break;
        default: break;
        }
        Account(st);
    }
    ++Pos;
    Finish(false);
}
