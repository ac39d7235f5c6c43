// Text picture of the object tree, for journals and diagnostics.
#include <cstdio>
#include <string>
#include "scene/scene.h"
#include "scene/scene_int.h"

using namespace scn;

namespace {
const char* KindTag(int kind) {
    switch (kind) {
        case OK_STG: return "stg";
        case OK_PRD: return "prd";
        case OK_CAM: return "cam";
        case OK_LGT_TBL: return "lgt_tbl";
        case OK_LGT: return "lgt";
        case OK_MTL_TBL: return "mtl_tbl";
        case OK_MTL: return "mtl";
        case OK_PRT: return "prt";
        case OK_LNK: return "lnk";
        case OK_SRF: return "srf";
        case OK_CRV: return "crv";
        default: return "?";
    }
}

void Counts(std::string& out, void* o, int kind) {
    char b[160];
    b[0] = '\0';
    switch (kind) {
        case OK_STG: {
            stg* s = static_cast<stg*>(o);
            std::snprintf(b, sizeof b, " cameras=%d lighttables=%d materialtables=%d parts=%d links=%d active=%d",
                          s->cams.n, s->lgtTbls.n, s->mtlTbls.n, s->prts.n, s->lnks.n, s->active);
            break;
        }
        case OK_PRD: {
            prd* d = static_cast<prd*>(o);
            std::snprintf(b, sizeof b, " materialtables=%d parts=%d links=%d", d->mtlTbls.n, d->prts.n, d->lnks.n);
            break;
        }
        case OK_PRT: {
            prt* p = static_cast<prt*>(o);
            std::snprintf(b, sizeof b, " parts=%d links=%d surfaces=%d curves=%d", p->prts.n, p->lnks.n,
                          p->srfs.n, p->crvs.n);
            break;
        }
        case OK_LNK: std::snprintf(b, sizeof b, " parts=%d", static_cast<lnk*>(o)->prts.n); break;
        case OK_SRF: {
            srf* s = static_cast<srf*>(o);
            std::snprintf(b, sizeof b, " groups=%d vertices=%d material=%d", s->pgns.n, s->nv, s->mtlIdx);
            break;
        }
        case OK_CRV: std::snprintf(b, sizeof b, " points=%d", static_cast<crv*>(o)->n); break;
        case OK_LGT_TBL: {
            lgt_tbl* t = static_cast<lgt_tbl*>(o);
            std::snprintf(b, sizeof b, " lights=%d active=%d", t->lgts.n, t->active);
            break;
        }
        case OK_MTL_TBL: {
            mtl_tbl* t = static_cast<mtl_tbl*>(o);
            std::snprintf(b, sizeof b, " materials=%d active=%d", t->mtls.n, t->active);
            break;
        }
        case OK_LGT: std::snprintf(b, sizeof b, " kind=%d on=%d", static_cast<lgt*>(o)->r.kind, static_cast<lgt*>(o)->r.on); break;
        default: break;
    }
    out += b;
}

void Node1(std::string& out, void* o, int kind, int depth) {
    out.append(static_cast<size_t>(2 * depth), ' ');
    out += KindTag(kind);
    out += " \"";
    const char* n = ObjName(o, kind);
    out += n ? n : "";
    out += '"';
    Counts(out, o, kind);
    out += '\n';
    ForKids(o, kind, [&](void* c, int k) { Node1(out, c, k, depth + 1); });
}
}  // namespace

void DumpScn(std::string& out) {
    char b[128];
    std::snprintf(b, sizeof b, "scene stages=%d products=%d cameras=%d lighttables=%d\n", StgTbl.n, PrdTbl.n,
                  CamTbl.n, LgtTblTbl.n);
    out += b;
    ForKids(nullptr, OK_GLB, [&](void* c, int k) { Node1(out, c, k, 1); });
}
