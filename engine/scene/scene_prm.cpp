// Flattened materials and lights, light directions, and the defaults of a light record.
#include <cmath>
#include <cstring>
#include "core/alc.h"
#include "core/viewmath.h"
#include "scene/scene.h"
#include "scene/scene_int.h"

LgtRec AmbLgt = [] {
    LgtRec r{};
    r.kind = LgtAmb;
    r.col[0] = r.col[1] = r.col[2] = 0.4f;
    r.intens = 1.0f;
    r.on = 1;
    return r;
}();
LgtRec* PrmLgt = nullptr;
int PrmLgtCap = 0;
int NumLgt = 0;
double AttDst = 0;
ScnHooks ScnHook{};

namespace {
constexpr double Deg = M_PI / 180.0;

// Counts (and with out, lists) the materials of the active tables of active stages, then of
// active products; each stage's and product's first number becomes its base index.
int MtlPass(mtl** out) {
    int n = 0;
    auto tables = [&](ObjLst<mtl_tbl>& l) {
        for (int j = 0; j < l.n; j++) {
            mtl_tbl* t = l.a[j];
            if (!t->active) continue;
            for (int k = 0; k < t->mtls.n; k++) {
                if (out) out[n] = t->mtls.a[k];
                n++;
            }
        }
    };
    for (int i = 0; i < StgTbl.n; i++) {
        stg* s = StgTbl.a[i];
        if (out) s->mtlBase = n;
        if (s->active) tables(s->mtlTbls);
    }
    for (int i = 0; i < PrdTbl.n; i++) {
        prd* d = PrdTbl.a[i];
        if (out) d->mtlBase = n;
        if (d->active) tables(d->mtlTbls);
    }
    return n;
}

// Visits the lights that enter PrmLgt, in their order (AmbLgt is handled by the caller), and
// each active stage before its lights.
template <class F, class G>
void LgtPass(F&& light, G&& stage) {
    auto table = [&](lgt_tbl* t) {
        if (!t->active) return;
        for (int k = 0; k < t->lgts.n; k++)
            if (t->lgts.a[k]->r.on) light(t->lgts.a[k]);
    };
    for (int i = 0; i < LgtTblTbl.n; i++) table(LgtTblTbl.a[i]);
    for (int i = 0; i < StgTbl.n; i++) {
        stg* s = StgTbl.a[i];
        if (!s->active) continue;
        stage(s);
        for (int j = 0; j < s->lgtTbls.n; j++) table(s->lgtTbls.a[j]);
    }
}

void MulRot(double m[3][3], int axis, double a) {
    double c = std::cos(a), s = std::sin(a);
    double r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    // Rx, Ry, Rz of the row-vector convention.
    if (axis == 0) { r[1][1] = c; r[1][2] = s; r[2][1] = -s; r[2][2] = c; }
    if (axis == 1) { r[0][0] = c; r[0][2] = -s; r[2][0] = s; r[2][2] = c; }
    if (axis == 2) { r[0][0] = c; r[0][1] = s; r[1][0] = -s; r[1][1] = c; }
    double t[3][3];
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) t[i][j] = m[i][0] * r[0][j] + m[i][1] * r[1][j] + m[i][2] * r[2][j];
    std::memcpy(m, t, sizeof t);
}
}  // namespace

void UdtPrmMtl() {
    int n = MtlPass(nullptr);
    if (n == 0) {
        FreeMem(PrmMtl);
        PrmMtl = nullptr;
    } else if (n > NumMtl || !PrmMtl) {
        void* a = AlcMem(static_cast<long long>(n) * static_cast<long long>(sizeof(mtl*)), "PrmMtl");
        if (!a) return;  // the old table stays
        FreeMem(PrmMtl);
        PrmMtl = static_cast<mtl**>(a);
    }
    // A shrinking table is refilled in place: freeing objects never needs memory.
    MtlPass(PrmMtl);
    NumMtl = n;
    if (ScnHook.mtlChg)
        for (int m = 0; m < NumMtl; m++) ScnHook.mtlChg(m);
}

int RbdPrmLgt() {
    int n = AmbLgt.on ? 1 : 0;
    LgtPass([&](lgt*) { n++; }, [](stg*) {});
    if (n > PrmLgtCap) {
        void* a = RealcMem(PrmLgt, static_cast<long long>(n) * static_cast<long long>(sizeof(LgtRec)), "PrmLgt");
        if (!a) return -1;
        PrmLgt = static_cast<LgtRec*>(a);
        std::memset(PrmLgt + PrmLgtCap, 0, static_cast<size_t>(n - PrmLgtCap) * sizeof(LgtRec));
        PrmLgtCap = n;
    }
    // Lights left out carry no index.
    auto unindex = [](lgt_tbl* t) {
        for (int k = 0; k < t->lgts.n; k++) t->lgts.a[k]->r.prmIdx = -1;
    };
    for (int i = 0; i < LgtTblTbl.n; i++) unindex(LgtTblTbl.a[i]);
    for (int i = 0; i < StgTbl.n; i++)
        for (int j = 0; j < StgTbl.a[i]->lgtTbls.n; j++) unindex(StgTbl.a[i]->lgtTbls.a[j]);

    int k = 0;
    if (AmbLgt.on) {
        AmbLgt.prmIdx = k;
        PrmLgt[k++] = AmbLgt;
    } else {
        AmbLgt.prmIdx = -1;
    }
    LgtPass(
        [&](lgt* l) {
            l->r.prmIdx = k;
            PrmLgt[k++] = l->r;
        },
        [&](stg* st) { st->lgtBase = k; });
    NumLgt = k;
    return 0;
}

int IniPrmLgt() {
    LgtRec* t = static_cast<LgtRec*>(AlcMem(100LL * static_cast<long long>(sizeof(LgtRec)),
                                            "IniSys:PrmLgt"));
    if (!t) return -1;
    std::memset(t, 0, 100 * sizeof(LgtRec));
    FreeMem(PrmLgt);
    PrmLgt = t;
    PrmLgtCap = 100;
    NumLgt = 0;
    return 0;
}

void LgtAngDir(const float ang[3], int order, float dir[3]) {
    static const char ord[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}};
    if (order < 0 || order > 5) order = 0;
    double r[4][4], m[4][4];
    MatIdt(r);
    for (int k = 0; k < 3; k++) {
        int ax = ord[order][k];
        double a = ang[ax];
        if (ax == 0) MatRx(a, m);
        else if (ax == 1) MatRy(a, m);
        else MatRz(a, m);
        MatMul(r, m, r);
    }
    for (int j = 0; j < 3; j++) dir[j] = static_cast<float>(-r[0][j]);
}

void LgtDirAng(const float dir[3], float ang[3]) {
    double d[3] = {dir[0], dir[1], dir[2]};
    double l = std::sqrt(Dot(d, d));
    if (l > 0.001) { d[0] /= l; d[1] /= l; d[2] /= l; }
    double h = std::sqrt(d[0] * d[0] + d[2] * d[2]);
    ang[0] = static_cast<float>(std::atan2(-d[1], h));
    ang[1] = h > 0.001 ? static_cast<float>(std::atan2(d[0] / h, d[2] / h)) : 0.0f;
    ang[2] = 0;
}

void SetLgtMtx(LgtRec* r) {
    static const int order[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}};
    const int* o = order[r->angOrd < 6 ? r->angOrd : 0];
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; i++) MulRot(m, o[i], r->ang[o[i]]);
    for (int i = 0; i < 16; i++) r->mtx[i] = (i / 4 == i % 4) ? 1.0f : 0.0f;
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) r->mtx[i * 4 + j] = static_cast<float>(m[i][j]);
}

void IniLgtRec(LgtRec* r) {
    char* name = r->name;
    std::memset(r, 0, sizeof *r);
    r->name = name;
    for (int i = 0; i < 3; i++) {
        r->pos[i] = 1500.0f;
        r->col[i] = 1.0f;
    }
    r->ang[0] = 0.0f;
    r->ang[1] = static_cast<float>(54.7 * Deg);
    r->ang[2] = static_cast<float>(-135.0 * Deg);
    LgtAngDir(r->ang, 0, r->dir);
    for (int i = 0; i < 3; i++) r->tgt[i] = r->pos[i] - r->dir[i] * 1500.0f;
    r->spotExp = 30.0f;
    r->attKind = 0.0f;
    r->spotAng = static_cast<float>(M_PI);
    r->attDst = static_cast<float>(AttDst);
    r->intens = 1.0f;
    r->val6 = 0;
    r->angOrd = 0;
    SetLgtMtx(r);
    r->rv7 = 100.0f;
    r->rv8 = 1.0f;
    r->rv9 = 13;
    r->rv10 = 0.25f;
    r->kind = LgtPar;
    r->rb3 = 1;
    r->rb4 = 0;
    r->on = 1;
    r->prmIdx = -1;
}

lgt* CurLgt() {
    if (LgtTblTbl.n > 0 && LgtTblTbl.a[0]->lgts.n > 0) return LgtTblTbl.a[0]->lgts.a[0];
    return nullptr;
}
