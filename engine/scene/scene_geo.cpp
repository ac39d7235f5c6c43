// Curve points, bounding boxes and material resolution.
#include <cstring>
#include "core/alc.h"
#include "scene/scene.h"
#include "scene/scene_int.h"

using namespace scn;

bool IsEmptyBox(const BBox& b) { return b.min[0] > b.max[0]; }

namespace {
void Extend(BBox& b, const float p[3]) {
    for (int i = 0; i < 3; i++) {
        if (p[i] < b.min[i]) b.min[i] = p[i];
        if (p[i] > b.max[i]) b.max[i] = p[i];
    }
}

// The x/y box of a curve from its points; z is left as it is.
void CrvBoxXY(crv* c) {
    c->box.min[0] = c->box.min[1] = 1e15f;
    c->box.max[0] = c->box.max[1] = -1e15f;
    for (int i = 0; i < c->n; i++) {
        const float* q = c->p + 3 * i;
        for (int k = 0; k < 2; k++) {
            if (q[k] < c->box.min[k]) c->box.min[k] = q[k];
            if (q[k] > c->box.max[k]) c->box.max[k] = q[k];
        }
    }
}

// Union of a child's box, taken through the child's matrix (row vectors, translation in row 4).
void UnionXfm(BBox& b, const Node* ch) {
    if (IsEmptyBox(ch->box)) return;
    for (int k = 0; k < 8; k++) {
        double p[3] = {(k & 1) ? ch->box.max[0] : ch->box.min[0],
                       (k & 2) ? ch->box.max[1] : ch->box.min[1],
                       (k & 4) ? ch->box.max[2] : ch->box.min[2]};
        float q[3];
        for (int c = 0; c < 3; c++)
            q[c] = static_cast<float>(p[0] * ch->mtx[0][c] + p[1] * ch->mtx[1][c] + p[2] * ch->mtx[2][c] +
                                      ch->mtx[3][c]);
        Extend(b, q);
    }
}

template <class T>
void UnionLst(BBox& b, const ObjLst<T>& l) {
    for (int i = 0; i < l.n; i++) UnionXfm(b, l.a[i]);
}

// Recomputes one object's own box from its content; false for kinds without a box.
bool OwnBox(void* o, int kind) {
    switch (kind) {
        case OK_CRV: {
            crv* c = static_cast<crv*>(o);
            if (c->n == 0) {
                CrvBoxXY(c);
                c->box.min[2] = c->box.max[2] = 0.0f;
                return true;
            }
            SetBoxEmpty(c->box);
            for (int i = 0; i < c->n; i++) Extend(c->box, c->p + 3 * i);
            return true;
        }
        case OK_SRF: {
            srf* s = static_cast<srf*>(o);
            SetBoxEmpty(s->box);
            if (s->v)
                for (int i = 0; i < s->nv; i++) Extend(s->box, s->v + 3 * i);
            return true;
        }
        case OK_PRT: {
            prt* p = static_cast<prt*>(o);
            SetBoxEmpty(p->box);
            UnionLst(p->box, p->prts);
            UnionLst(p->box, p->lnks);
            UnionLst(p->box, p->srfs);
            UnionLst(p->box, p->crvs);
            return true;
        }
        case OK_LNK: {
            lnk* l = static_cast<lnk*>(o);
            SetBoxEmpty(l->box);
            UnionLst(l->box, l->prts);
            return true;
        }
        case OK_PRD: {
            prd* d = static_cast<prd*>(o);
            SetBoxEmpty(d->box);
            UnionLst(d->box, d->prts);
            UnionLst(d->box, d->lnks);
            return true;
        }
        case OK_STG: {
            stg* s = static_cast<stg*>(o);
            SetBoxEmpty(s->box);
            UnionLst(s->box, s->prts);
            UnionLst(s->box, s->lnks);
            return true;
        }
        default: return false;
    }
}
}  // namespace

void AddCrvPnt(crv* c, float x, float y, float z) {
    if (!c) return;
    void* a = RealcMem(c->p, static_cast<long long>(c->n + 1) * 3 * static_cast<long long>(sizeof(float)), "crv:p");
    if (!a) return;
    c->p = static_cast<float*>(a);
    float* q = c->p + 3 * c->n;
    q[0] = x;
    q[1] = y;
    q[2] = z;
    c->n++;
    if (x < c->box.min[0]) c->box.min[0] = x;
    if (x > c->box.max[0]) c->box.max[0] = x;
    if (y < c->box.min[1]) c->box.min[1] = y;
    if (y > c->box.max[1]) c->box.max[1] = y;
    ModFlg = 1;
}

void DelCrvPnt(crv* c, int index) {
    if (!c || index < 0 || index >= c->n) return;
    std::memmove(c->p + 3 * index, c->p + 3 * (index + 1),
                 static_cast<size_t>(c->n - index - 1) * 3 * sizeof(float));
    if (--c->n == 0) {
        FreeMem(c->p);
        c->p = nullptr;
    }
    // The x/y box is kept tight, so picking never looks at a point that is gone.
    CrvBoxXY(c);
    ModFlg = 1;
}

void UdtScnBox() {
    SetBoxEmpty(SceneBox);
    auto join = [](const BBox& b) {
        if (IsEmptyBox(b)) return;
        Extend(SceneBox, b.min);
        Extend(SceneBox, b.max);
    };
    for (int i = 0; i < StgTbl.n; i++) join(StgTbl.a[i]->box);
    for (int i = 0; i < PrdTbl.n; i++) join(PrdTbl.a[i]->box);
}

void UdtBox(void* o, int kind) {
    int guard = 0;
    while (o && guard++ < 1024) {
        if (!OwnBox(o, kind)) break;
        int k = 0;
        void* w = ObjOwner(o, kind, &k);
        if (k == OK_GLB) {
            UdtScnBox();
            return;
        }
        o = w;
        kind = k;
    }
}

mtl_tbl* ActMtlTbl(void* o, int kind) {
    if (!o) return nullptr;
    ObjLst<mtl_tbl>* l = nullptr;
    if (kind == OK_STG) l = &static_cast<stg*>(o)->mtlTbls;
    else if (kind == OK_PRD) l = &static_cast<prd*>(o)->mtlTbls;
    if (!l) return nullptr;
    for (int i = 0; i < l->n; i++)
        if (l->a[i]->active) return l->a[i];
    return nullptr;
}

mtl* SrfMtl(srf* s) {
    if (!s) return nullptr;
    void* o = s->own;
    int k = s->ownKind;
    int guard = 0;
    while (o && (k == OK_PRT || k == OK_LNK) && guard++ < 1024) o = ObjOwner(o, k, &k);
    mtl* m = nullptr;
    mtl_tbl* t = (k == OK_STG || k == OK_PRD) ? ActMtlTbl(o, k) : nullptr;
    if (t && t->mtls.n > 0 && s->mtlIdx >= 0)
        m = t->mtls.a[s->mtlIdx < t->mtls.n ? s->mtlIdx : t->mtls.n - 1];
    s->mtlPtr = m;
    return m;
}

namespace scn {
void ReslvAllSrf() {
    struct Walk {
        static void Prt(prt* p) {
            for (int i = 0; i < p->srfs.n; i++) SrfMtl(p->srfs.a[i]);
            for (int i = 0; i < p->prts.n; i++) Prt(p->prts.a[i]);
            for (int i = 0; i < p->lnks.n; i++) Lnk(p->lnks.a[i]);
        }
        static void Lnk(lnk* l) {
            for (int i = 0; i < l->prts.n; i++) Prt(l->prts.a[i]);
        }
    };
    for (int i = 0; i < StgTbl.n; i++) {
        stg* s = StgTbl.a[i];
        for (int j = 0; j < s->prts.n; j++) Walk::Prt(s->prts.a[j]);
        for (int j = 0; j < s->lnks.n; j++) Walk::Lnk(s->lnks.a[j]);
    }
    for (int i = 0; i < PrdTbl.n; i++) {
        prd* d = PrdTbl.a[i];
        for (int j = 0; j < d->prts.n; j++) Walk::Prt(d->prts.a[j]);
        for (int j = 0; j < d->lnks.n; j++) Walk::Lnk(d->lnks.a[j]);
    }
}
}  // namespace scn
