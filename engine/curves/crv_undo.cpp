// One-step undo: a copy of what the next change is about to alter, and back again.
#include <cstring>
#include "core/alc.h"
#include "core/mode.h"
#include "curves/crv_int.h"
#include "platform/platform.h"
#include "terrain/trn.h"
#include "curves/crv_cmd.h"

uint8_t UndoOn = 1;
uint8_t UndoCutOn = 1;
uint8_t UndoState = 0;
int UndoKind = 0;

namespace {
// Saved curves (kinds 3, 4, 5, 8): detached copies in order.
struct CrvSet {
    int n = 0;
    crv** a = nullptr;
};

CrvSet SavSet;
srf* SavSrf = nullptr;   // kinds 9-11; null: no terrain existed
crv* SavCrv = nullptr;   // kinds 2, 6, 7, 12
int NumRef = 0;
crv** RefCrv = nullptr;  // live curves the record is about ("UdoBuf")
int UndoDel = DEL_ZERO;  // which deletion by property made a kind-5 record

void FreeSet(CrvSet& s) {
    for (int i = 0; i < s.n; ++i) FreeCrvObj(s.a[i], false);
    FreeMem(s.a);
    s.n = 0;
    s.a = nullptr;
}

// Copies of n curves; built completely before the caller replaces anything.
CrvSet CopySet(crv* const* src, int n) {
    CrvSet s;
    if (n <= 0) return s;
    s.a = static_cast<crv**>(AlcMem(static_cast<long long>(sizeof(crv*)) * n, "Undo"));
    Cleanup drop([&] { FreeSet(s); });
    for (int i = 0; i < n; ++i) {
        s.a[i] = src[i] ? CopyCrvNew(src[i]) : NewCrvObj("");
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

void SetRefs(int n, crv* const* curves) {
    crv** a = nullptr;
    if (n > 0) {
        a = static_cast<crv**>(AlcMem(static_cast<long long>(sizeof(crv*)) * n, "UdoBuf"));
        for (int i = 0; i < n; ++i) a[i] = curves[i];
    }
    FreeMem(RefCrv);
    RefCrv = a;
    NumRef = n;
}

crv* Ref0() { return NumRef > 0 ? RefCrv[0] : nullptr; }

int NumCrv() { return CrvPart ? CrvPart->crvs.n : 0; }

// Save the current state for kind k (the third step of recording).
void Save(int k, int n, crv* const* curves) {
    switch (k) {
    case UndoNewCrv: case UndoDelOne: case UndoHgt: case UndoHideOne:
        if (n > 0 && curves && curves[0]) {
            crv* c = CopyCrvNew(curves[0]);
            SetRefs(n, curves);
            FreeCrvObj(SavCrv, false);
            SavCrv = c;
        }
        break;
    case UndoPart: case UndoDelAll: case UndoDelProp: {
        CrvSet s = CrvPart ? CopySet(CrvPart->crvs.a, CrvPart->crvs.n) : CrvSet{};
        FreeSet(SavSet);
        SavSet = s;
        break;
    }
    case UndoXfm: {
        // The curves themselves are kept too: undo must reach them even after the
        // selection has changed.
        if (!curves) { curves = CrvSlct; n = NumCrvSlct; }
        CrvSet s = CopySet(curves, n);
        SetRefs(n, curves);
        FreeSet(SavSet);
        SavSet = s;
        break;
    }
    case UndoRgn: case UndoTrnDel: case UndoTrn: {
        srf* s = CopySrfNew(TrnSrf);
        if (SavSrf) FreeSrf(SavSrf, false);
        SavSrf = s;
        break;
    }
    default:
        break;
    }
}

void FreeRec() {
    FreeSet(SavSet);
    if (SavSrf) FreeSrf(SavSrf, false);
    SavSrf = nullptr;
    FreeCrvObj(SavCrv, false);
    SavCrv = nullptr;
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

// Make the curve part hold exactly the curves of s: curve i keeps its record and takes the
// content and name; missing ones are added at the end, surplus ones freed.
void RstPart(const CrvSet& s) {
    if (!CrvPart) return;
    for (int i = 0; i < s.n; ++i) {
        if (i < NumCrv()) {
            CopyCrv(CrvPart->crvs.a[i], s.a[i]);
            SetName(CrvPart->crvs.a[i], s.a[i]->name);
        } else {
            AddCrvCopy(s.a[i]);
        }
    }
    while (NumCrv() > s.n) FreeCrv(CrvPart->crvs.a[NumCrv() - 1]);
}

void AddSet(const CrvSet& s) {
    for (int i = 0; i < s.n; ++i) AddCrvCopy(s.a[i]);
}

// Kinds 3 and 8 in either direction: swap the saved copies with the present state.
void SwapPart() {
    CrvSet t = CopySet(SavSet.a, SavSet.n);
    Cleanup drop([&] { FreeSet(t); });
    Save(3, 0, nullptr);
    drop.Keep();
    RstPart(t);
    FreeSet(t);
}

void SwapSlct() {
    CrvSet t = CopySet(SavSet.a, SavSet.n);
    Cleanup drop([&] { FreeSet(t); });
    Save(8, NumRef, RefCrv);
    drop.Keep();
    for (int i = 0; i < t.n && i < NumRef; ++i)
        if (RefCrv[i]) CopyCrv(RefCrv[i], t.a[i]);
    FreeSet(t);
}

// Kind 7: heights and colour back from the copy; kind 12: the visible flag.
void SwapHgt(int k) {
    crv* live = Ref0();
    if (!live || !SavCrv) return;
    crv* t = CopyCrvNew(SavCrv);
    Save(k, 1, &live);
    if (k == UndoHideOne) {
        live->vis = t->vis;
    } else {
        for (int i = 0; i < live->n && i < t->n; ++i) live->p[3 * i + 2] = t->p[3 * i + 2];
        for (int q = 0; q < 3; ++q) live->col[q] = t->col[q];
        CalCrvBox(live);
    }
    FreeCrvObj(t, false);
}

void DropTrn() {
    if (TrnSrf) FreeSrf(TrnSrf, true);
    TrnSrf = nullptr;
    TrnGrd = nullptr;
}

// Terrain back from a copy (or none).
void SwapTrn(int k) {
    srf* t = CopySrfNew(SavSrf);
    const int oldNv = TrnSrf ? TrnSrf->nv : -1;
    Cleanup drop([&] { if (t) FreeSrf(t, false); });
    Save(k, 0, nullptr);
    drop.Keep();
    DropTrn();
    prt* own = CrvPart ? CrvPart : TrnPrt;
    if (t && own) {
        srf* s = NewSrf(t->name ? t->name : "");
        AtchSrfPrt(own, s);
        CopySrf(s, t);
        s->mtlPtr = SrfMtl(s);
        TrnSrf = s;
        TrnGrd = s->pgns.n > 0 ? s->pgns.a[0] : nullptr;
    }
    if (t) FreeSrf(t, false);
    if (k == UndoRgn) RgnFromTrn();
    // Selected vertex numbers only mean something on a grid of the same size.
    if ((TrnSrf ? TrnSrf->nv : -1) != oldNv) ClrVtxSlct();
}

void Finish(uint8_t state) {
    UdtCrvBox();
    Redraw();
    UndoState = state;
}
}  // namespace

static void UndoStep();
static void RedoStep();

void RecUndo(int kind, int n, crv** curves) {
    if (!UndoOn) return;
    UndoState = 1;
    FreeRec();
    UndoKind = kind;
    switch (kind) {
    case UndoNewCrv: case UndoPart: case UndoDelAll: case UndoDelProp: case UndoDelOne: case UndoHgt: case UndoXfm: case UndoRgn: case UndoTrnDel: case UndoTrn: case UndoHideOne:
        Save(kind, n, curves);
        break;
    default:
        UndoKind = 0;
        UndoState = 0;
        break;
    }
    if (kind == UndoDelProp) UndoDel = DEL_ZERO;
}

void SetUndoDel(int which) {
    if (UndoOn && UndoKind == UndoDelProp) UndoDel = which;
}

void ClrUndo() {
    FreeRec();
    SetRefs(0, nullptr);
    UndoKind = 0;
    UndoState = 0;
}

void UndoForget(crv* c) {
    for (int i = 0; i < NumRef; ++i)
        if (RefCrv[i] == c) RefCrv[i] = nullptr;
}

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
    if (UndoState != 1) {
        plt::Get()->Beep();
        return;
    }
    switch (UndoKind) {
    case UndoNewCrv:
        if (crv* c = Ref0()) FreeCrv(c);
        break;
    case UndoPart: SwapPart(); break;
    case UndoDelAll: AddSet(SavSet); break;
    case UndoDelProp:
        FreeAllCrv();
        AddSet(SavSet);
        break;
    case UndoDelOne:
        if (SavCrv && CrvPart) {
            crv* c = AddCrvCopy(SavCrv);
            Save(6, 1, &c);
        }
        break;
    case UndoHgt: case UndoHideOne: SwapHgt(UndoKind); break;
    case UndoXfm: SwapSlct(); break;
    case UndoRgn: case UndoTrnDel: case UndoTrn: SwapTrn(UndoKind); break;
    default: break;
    }
    Finish(2);
}

static void RedoStep() {
    if (!UndoOn) return;
    if (UndoState != 2) {
        plt::Get()->Beep();
        return;
    }
    switch (UndoKind) {
    case UndoNewCrv:
        if (SavCrv && CrvPart) {
            crv* c = AddCrvCopy(SavCrv);
            Save(2, 1, &c);
        }
        break;
    case UndoPart:
        if (SavSet.n > 0) {
            SwapPart();
        } else {
            RecUndo(UndoDelAll, 0, nullptr);
            FreeAllCrv();
        }
        break;
    case UndoDelAll: FreeAllCrv(); break;
    case UndoDelProp: DelCrvProp(UndoDel); break;
    case UndoDelOne:
        if (crv* c = Ref0()) FreeCrv(c);
        break;
    case UndoHgt: case UndoHideOne: SwapHgt(UndoKind); break;
    case UndoXfm: SwapSlct(); break;
    case UndoRgn:
        if (!SavSrf) {
            UndoState = 1;
            return;
        }
        SwapTrn(9);
        break;
    case UndoTrnDel:
        Save(10, 0, nullptr);
        DropTrn();
        break;
    case UndoTrn: SwapTrn(UndoTrn); break;
    default: break;
    }
    Finish(1);
}
