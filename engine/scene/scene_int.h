// Helpers shared by the scene module's own files.
#pragma once
#include <cstring>
#include "core/alc.h"
#include "scene/scene.h"

namespace scn {

// Appends one pointer; the array grows first, so a failed growth leaves the list as it was.
template <class T>
int Append(ObjLst<T>& l, T* o, const char* tag) {
    void* a = RealcMem(l.a, static_cast<long long>(l.n + 1) * static_cast<long long>(sizeof(T*)), tag);
    if (!a) return -1;
    l.a = static_cast<T**>(a);
    l.a[l.n++] = o;
    return 0;
}

// Removes one pointer keeping the order of the others; an emptied list has no array.
template <class T>
bool Detach(ObjLst<T>& l, T* o) {
    for (int i = 0; i < l.n; i++) {
        if (l.a[i] != o) continue;
        std::memmove(l.a + i, l.a + i + 1, static_cast<size_t>(l.n - i - 1) * sizeof(T*));
        if (--l.n == 0) {
            FreeMem(l.a);
            l.a = nullptr;
        }
        return true;
    }
    return false;
}

void SetBoxEmpty(BBox& b);
void ReslvAllSrf();  // re-resolve the material of every surface

// Calls f(child, kind) for every named child of a container, lists in their stored order.
// The global tables are the container null with kind OK_GLB.
template <class F>
void ForKids(void* o, int kind, F&& f) {
    auto each = [&](auto& l, int k) {
        for (int i = 0; i < l.n; i++) f(static_cast<void*>(l.a[i]), k);
    };
    switch (kind) {
        case OK_GLB:
            each(StgTbl, OK_STG);
            each(PrdTbl, OK_PRD);
            each(CamTbl, OK_CAM);
            each(LgtTblTbl, OK_LGT_TBL);
            break;
        case OK_STG: {
            stg* s = static_cast<stg*>(o);
            each(s->cams, OK_CAM);
            each(s->lgtTbls, OK_LGT_TBL);
            each(s->mtlTbls, OK_MTL_TBL);
            each(s->prts, OK_PRT);
            each(s->lnks, OK_LNK);
            break;
        }
        case OK_PRD: {
            prd* d = static_cast<prd*>(o);
            each(d->mtlTbls, OK_MTL_TBL);
            each(d->prts, OK_PRT);
            each(d->lnks, OK_LNK);
            break;
        }
        case OK_PRT: {
            prt* p = static_cast<prt*>(o);
            each(p->prts, OK_PRT);
            each(p->lnks, OK_LNK);
            each(p->srfs, OK_SRF);
            each(p->crvs, OK_CRV);
            break;
        }
        case OK_LNK: each(static_cast<lnk*>(o)->prts, OK_PRT); break;
        case OK_LGT_TBL: each(static_cast<lgt_tbl*>(o)->lgts, OK_LGT); break;
        case OK_MTL_TBL: each(static_cast<mtl_tbl*>(o)->mtls, OK_MTL); break;
        default: break;
    }
}

}  // namespace scn
