// Object names: unique names among siblings, paths and lookup by path.
#include <cstdio>
#include <cstring>
#include <string>
#include "scene/scene.h"
#include "scene/scene_int.h"

using namespace scn;

const char* ObjName(const void* o, int kind) {
    if (!o) return nullptr;
    switch (kind) {
        case OK_STG: return static_cast<const stg*>(o)->name;
        case OK_PRD: return static_cast<const prd*>(o)->name;
        case OK_PRT: return static_cast<const prt*>(o)->name;
        case OK_LNK: return static_cast<const lnk*>(o)->name;
        case OK_SRF: return static_cast<const srf*>(o)->name;
        case OK_CRV: return static_cast<const crv*>(o)->name;
        case OK_CAM: return static_cast<const cam*>(o)->name;
        case OK_LGT_TBL: return static_cast<const lgt_tbl*>(o)->name;
        case OK_LGT: return static_cast<const lgt*>(o)->r.name;
        case OK_MTL_TBL: return static_cast<const mtl_tbl*>(o)->name;
        case OK_MTL: return static_cast<const mtl*>(o)->name;
        default: return nullptr;
    }
}

void* ObjOwner(const void* o, int kind, int* ownKind) {
    int k = 0;
    void* w = nullptr;
    if (o) {
        switch (kind) {
            case OK_STG: w = static_cast<const stg*>(o)->own; k = static_cast<const stg*>(o)->ownKind; break;
            case OK_PRD: w = static_cast<const prd*>(o)->own; k = static_cast<const prd*>(o)->ownKind; break;
            case OK_PRT: w = static_cast<const prt*>(o)->own; k = static_cast<const prt*>(o)->ownKind; break;
            case OK_LNK: w = static_cast<const lnk*>(o)->own; k = static_cast<const lnk*>(o)->ownKind; break;
            case OK_SRF: w = static_cast<const srf*>(o)->own; k = static_cast<const srf*>(o)->ownKind; break;
            case OK_CRV: w = static_cast<const crv*>(o)->own; k = static_cast<const crv*>(o)->ownKind; break;
            case OK_CAM: w = static_cast<const cam*>(o)->own; k = static_cast<const cam*>(o)->ownKind; break;
            case OK_LGT_TBL: w = static_cast<const lgt_tbl*>(o)->own; k = static_cast<const lgt_tbl*>(o)->ownKind; break;
            case OK_LGT: w = static_cast<const lgt*>(o)->own; k = static_cast<const lgt*>(o)->ownKind; break;
            case OK_MTL_TBL: w = static_cast<const mtl_tbl*>(o)->own; k = static_cast<const mtl_tbl*>(o)->ownKind; break;
            case OK_MTL: w = static_cast<const mtl*>(o)->own; k = static_cast<const mtl*>(o)->ownKind; break;
            default: break;
        }
    }
    if (ownKind) *ownKind = k;
    return w;
}

char* UniqNam(const char* base, void* owner, int ownerKind, int kind) {
    if (!base) base = "";
    if (!owner) ownerKind = OK_GLB;
    auto taken = [&](const char* name) {
        bool hit = false;
        ForKids(owner, ownerKind, [&](void* c, int k) {
            if (hit || k != kind) return;
            const char* n = ObjName(c, k);
            if (n && std::strcmp(n, name) == 0) hit = true;
        });
        return hit;
    };
    if (!taken(base)) return DupNam(base);
    std::string cand;
    for (int i = 1;; i++) {
        cand = base;
        cand += '-';
        cand += std::to_string(i);
        if (!taken(cand.c_str())) return DupNam(cand.c_str());
    }
}

namespace {
// Appends "/NAME" for each container from the top down; false when the chain is broken.
bool PathOf(const void* o, int kind, std::string& out, int depth) {
    if (depth > 256) return false;  // a cycle is a broken model, not a path
    const char* n = ObjName(o, kind);
    if (!n) return false;
    int ok = 0;
    void* w = ObjOwner(o, kind, &ok);
    if (ok == OK_GLB) {
        if (kind != OK_STG && kind != OK_PRD && kind != OK_CAM && kind != OK_LGT_TBL) return false;
    } else {
        if (!w || !PathOf(w, ok, out, depth + 1)) return false;
    }
    out += '/';
    out += n;
    return true;
}

// Matches the rest of a path below a container. Names may themselves hold "/", so each child
// whose name is a prefix ending at a "/" or at the end is tried in list order.
void* Match(void* o, int kind, const char* rest, int want, int* kindOut) {
    void* found = nullptr;
    ForKids(o, kind, [&](void* c, int k) {
        if (found) return;
        const char* n = ObjName(c, k);
        if (!n) return;
        size_t len = std::strlen(n);
        if (std::strncmp(rest, n, len) != 0) return;
        if (rest[len] == '\0') {
            if (want && k != want) return;
            found = c;
            *kindOut = k;
        } else if (rest[len] == '/') {
            int sub = 0;
            void* r = Match(c, k, rest + len + 1, want, &sub);
            if (r) {
                found = r;
                *kindOut = sub;
            }
        }
    });
    return found;
}
}  // namespace

int ObjPath(void* o, int kind, char* buf, int bufLen) {
    std::string p;
    if (!PathOf(o, kind, p, 0)) return -1;
    if (!buf || bufLen <= static_cast<int>(p.size())) return -1;
    std::memcpy(buf, p.c_str(), p.size() + 1);
    return static_cast<int>(p.size());
}

void* FindPath(const char* path, int* kindOut, int want) {
    int k = 0;
    void* r = nullptr;
    if (path && path[0] == '/') r = Match(nullptr, OK_GLB, path + 1, want, &k);
    if (kindOut) *kindOut = r ? k : 0;
    return r;
}

namespace {
void WalkPrt(prt* p, void (*f)(prt*, void*), void* ctx);
void WalkLnk(lnk* l, void (*f)(prt*, void*), void* ctx) {
    for (int i = 0; i < l->prts.n; i++) WalkPrt(l->prts.a[i], f, ctx);
}
void WalkPrt(prt* p, void (*f)(prt*, void*), void* ctx) {
    f(p, ctx);
    for (int i = 0; i < p->prts.n; i++) WalkPrt(p->prts.a[i], f, ctx);
    for (int i = 0; i < p->lnks.n; i++) WalkLnk(p->lnks.a[i], f, ctx);
}
}  // namespace

void ForEachPrt(void (*f)(prt*, void*), void* ctx) {
    for (int i = 0; i < StgTbl.n; i++) {
        stg* s = StgTbl.a[i];
        for (int j = 0; j < s->prts.n; j++) WalkPrt(s->prts.a[j], f, ctx);
        for (int j = 0; j < s->lnks.n; j++) WalkLnk(s->lnks.a[j], f, ctx);
    }
    for (int i = 0; i < PrdTbl.n; i++) {
        prd* d = PrdTbl.a[i];
        for (int j = 0; j < d->prts.n; j++) WalkPrt(d->prts.a[j], f, ctx);
        for (int j = 0; j < d->lnks.n; j++) WalkLnk(d->lnks.a[j], f, ctx);
    }
}

void RslvPrtRef() {
    ForEachPrt(
        [](prt* p, void*) {
            if (p->refPath) p->ref = static_cast<prt*>(FindPath(p->refPath, nullptr, OK_PRT));
        },
        nullptr);
}
