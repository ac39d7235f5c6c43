// Scene objects: global state, constructors, attaching and freeing.
#include <cmath>
#include <cstring>
#include <new>
#include "core/alc.h"
#include "scene/scene.h"
#include "scene/scene_int.h"

ObjLst<stg> StgTbl;
ObjLst<prd> PrdTbl;
ObjLst<cam> CamTbl;
ObjLst<lgt_tbl> LgtTblTbl;
BBox SceneBox{{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
cam* CurCamObj = nullptr;
lgt* CurLgtObj = nullptr;
int CurObjKind = OK_GLB;
void* CurObj = nullptr;
uint8_t ModFlg = 0;

prd* TrnPrd = nullptr;
prt* TrnPrt = nullptr;
srf* TrnSrf = nullptr;
pgn* TrnGrd = nullptr;
cam* Cam2D = nullptr;
cam* Cam3D = nullptr;

int NumMtl = 0;
mtl** PrmMtl = nullptr;

namespace scn {

// Zeroed object of type T (its member initialisers applied), or null outside a command.
template <class T>
T* AlcZero(const char* tag) {
    void* p = AlcMem(static_cast<long long>(sizeof(T)), tag);
    if (!p) return nullptr;
    return new (p) T();
}

// Object with its own copy of the name; on any failure nothing is left allocated.
template <class T>
T* AlcNamed(const char* tag, const char* name, char* T::*field) {
    T* o = AlcZero<T>(tag);
    if (!o) return nullptr;
    char* n;
    Cleanup drop([&] { FreeMem(o); });
    n = DupNam(name);
    drop.Keep();
    if (!n) {
        FreeMem(o);
        return nullptr;
    }
    o->*field = n;
    return o;
}

static void IniNode(Node* n) {
    n->own = nullptr;
    n->ownKind = 0;
    for (int i = 0; i < 3; i++) {
        n->xfm.scl[i] = 1.0;
        n->xfm.rot[i] = n->xfm.trn[i] = n->xfm.pvt[i] = 0.0;
    }
    n->xfm.flg = 0;
    n->xfm.b2 = 4;
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) n->mtx[r][c] = r == c ? 1.0 : 0.0;
    SetBoxEmpty(n->box);
}

void SetBoxEmpty(BBox& b) {
    for (int i = 0; i < 3; i++) {
        b.min[i] = 1e30f;
        b.max[i] = -1e30f;
    }
}

// Engine pointers that must not outlive the object they point at.
static void Forget(void* o) {
    if (CurObj == o) {
        CurObjKind = OK_GLB;
        CurObj = nullptr;
    }
    if (CurCamObj == o) CurCamObj = nullptr;
    if (CurLgtObj == o) CurLgtObj = nullptr;
    if (TrnPrd == o) TrnPrd = nullptr;
    if (TrnPrt == o) TrnPrt = nullptr;
    if (TrnSrf == o) TrnSrf = nullptr;
    if (TrnGrd == o) TrnGrd = nullptr;
    if (Cam2D == o) Cam2D = nullptr;
    if (Cam3D == o) Cam3D = nullptr;
    if (o && ScnHook.forget) ScnHook.forget(o);
}

// Frees nest (a product frees its parts, and so on); the flat tables are rebuilt once, when the
// outermost free ends, so they never keep pointers to freed lights or materials.
int FreeDepth = 0;
bool LgtFreed = false;
bool MtlFreed = false;
bool QuietRbd = false;  // clearing the scene: rebuild without touching the display
// Before a subtree goes, references of the other parts into it are dropped; this runs while the
// model is still whole, so it never meets a freed object.
static void DropRefsInto(void* root, int rootKind) {
    if (FreeDepth > 0) return;
    struct Ctx { void* root; int kind; } ctx{root, rootKind};
    ForEachPrt(
        [](prt* p, void* c) {
            const Ctx& x = *static_cast<Ctx*>(c);
            void* o = p->ref;
            int k = OK_PRT;
            for (int guard = 0; o && guard < 1024; guard++) {
                if (o == x.root && k == x.kind) {
                    p->ref = nullptr;
                    return;
                }
                if (k != OK_PRT && k != OK_LNK) return;
                o = ObjOwner(o, k, &k);
            }
        },
        &ctx);
}

struct FreeScope {
    FreeScope() { ++FreeDepth; }
    ~FreeScope() noexcept(false) {
        if (--FreeDepth > 0) return;
        ModFlg = 1;
        if (MtlFreed) {
            MtlFreed = false;
            UdtPrmMtl();
            ReslvAllSrf();
        }
        if (LgtFreed) {
            LgtFreed = false;
            if (RbdPrmLgt() >= 0 && !QuietRbd && ScnHook.lgtChg) ScnHook.lgtChg();
        }
    }
};

template <class T>
void FreeLst(ObjLst<T>& l) {
    FreeMem(l.a);
    l.a = nullptr;
    l.n = 0;
}

// Appends a fresh unnamed object to its owner's list; on failure the object is freed again.
template <class T, class O>
T* AppendNew(T* o, ObjLst<T>& l, O* owner, int ownKind, const char* tag) {
    int r;
    Cleanup drop([&] { FreeMem(o); });
    r = Append(l, o, tag);
    drop.Keep();
    if (r < 0) {
        FreeMem(o);
        return nullptr;
    }
    o->own = owner;
    o->ownKind = ownKind;
    return o;
}

}  // namespace scn

using namespace scn;

char* DupNam(const char* name) {
    if (!name) name = "";
    size_t n = std::strlen(name) + 1;
    char* p = static_cast<char*>(AlcMem(static_cast<long long>(n), "name"));
    if (p) std::memcpy(p, name, n);
    return p;
}

prm_anm* NewAnm(int ownKind) {
    prm_anm* a = AlcNamed<prm_anm>("prm_anm", "アニメーション", &prm_anm::name);
    if (!a) return nullptr;
    a->ownKind = ownKind;
    return a;
}

void FreeAnm(prm_anm* a) {
    if (!a) return;
    FreeMem(a->name);
    for (int i = 0; i < a->nch && a->ch; i++) FreeMem(a->ch[i].k);
    FreeMem(a->ch);
    FreeMem(a);
}

// ---- constructors ----

stg* NewStg(const char* name) {
    stg* s = AlcNamed<stg>("stg", name, &stg::name);
    if (!s) return nullptr;
    IniNode(s);
    s->active = 1;
    s->lgtBase = -1;
    ModFlg = 1;
    return s;
}

prd* NewPrd(const char* name) {
    prd* d = AlcNamed<prd>("prd", name, &prd::name);
    if (!d) return nullptr;
    IniNode(d);
    d->active = 1;
    ModFlg = 1;
    return d;
}

prt* NewPrt(const char* name) {
    prt* p = AlcNamed<prt>("prt", name, &prt::name);
    if (!p) return nullptr;
    IniNode(p);
    p->id = -1;
    p->val = -1;
    p->b1 = 1;
    p->b2 = 0;
    ModFlg = 1;
    return p;
}

lnk* NewLnk(const char* name) {
    lnk* l = AlcNamed<lnk>("lnk", name, &lnk::name);
    if (!l) return nullptr;
    IniNode(l);
    const double full = 2.0 * M_PI;  // 360 degrees
    for (int i = 0; i < 3; i++) {
        l->sclMin[i] = 1e-6;
        l->sclMax[i] = 1e6;
        l->rotMin[i] = -full;
        l->rotMax[i] = full;
        l->trnMin[i] = -1e6;
        l->trnMax[i] = 1e6;
    }
    l->id = -1;
    l->val = -1;
    l->b[0] = l->b[1] = l->b[2] = 0;
    l->b[3] = 1;
    ModFlg = 1;
    return l;
}

srf* NewSrf(const char* name) {
    srf* s = AlcNamed<srf>("srf", name, &srf::name);
    if (!s) return nullptr;
    IniNode(s);
    s->mtlIdx = -1;
    s->b1 = 1;
    s->kind = 0;
    s->vis = 1;
    ModFlg = 1;
    return s;
}

crv* NewCrvObj(const char* name) {
    crv* c = AlcNamed<crv>("crv", name, &crv::name);
    if (!c) return nullptr;
    IniNode(c);
    // x and y are kept by point insertion; z is left to a full box update.
    c->box.min[0] = c->box.min[1] = 1e15f;
    c->box.max[0] = c->box.max[1] = -1e15f;
    c->box.min[2] = c->box.max[2] = 0.0f;
    c->col[0] = c->col[1] = c->col[2] = 1.0f;
    c->b1 = 1;
    c->vis = 1;
    c->b3 = 0;
    static uint32_t lastUid = 0;
    c->uid = ++lastUid;
    ModFlg = 1;
    return c;
}

cam* NewCam(const char* name) {
    cam* c = AlcNamed<cam>("cam", name, &cam::name);
    if (!c) return nullptr;
    // A usable perspective view looking down at the origin until the view module sets it up.
    CamView& v = c->view;
    v.EyeDst = 50.0;
    v.ScrDst = 50.0;
    v.ScrWid = 35.0;
    v.EyePos[2] = 50.0;
    v.ClpNear = 100.0;
    v.ClpFar = 15000.0;
    v.RndVal[1] = 5000.0;
    v.RndVal[2] = 1000.0;
    v.Lens = 4.0f;
    v.RndInt = 30;
    v.ViewAng = static_cast<float>(2.0 * std::atan(v.ScrWid * 0.5 / v.ScrDst));
    v.UpAxis = UpZ;
    v.AutoClp = 1;
    v.PrjFlg = PrjPrs;
    v.FovFix = 1;
    ModFlg = 1;
    return c;
}

lgt_tbl* NewLgtTbl(const char* name) {
    lgt_tbl* t = AlcNamed<lgt_tbl>("lgt_tbl", name, &lgt_tbl::name);
    if (!t) return nullptr;
    ModFlg = 1;
    return t;
}

lgt* NewLgt(const char* name) {
    lgt* l = AlcZero<lgt>("lgt");
    if (!l) return nullptr;
    char* n;
    Cleanup drop([&] { FreeMem(l); });
    n = DupNam(name);
    drop.Keep();
    if (!n) {
        FreeMem(l);
        return nullptr;
    }
    IniLgtRec(&l->r);
    l->r.name = n;
    ModFlg = 1;
    return l;
}

mtl_tbl* NewMtlTbl(const char* name) {
    mtl_tbl* t = AlcNamed<mtl_tbl>("mtl_tbl", name, &mtl_tbl::name);
    if (!t) return nullptr;
    ModFlg = 1;
    return t;
}

mtl* NewMtl(const char* name) {
    mtl* m = AlcNamed<mtl>("mtl", name, &mtl::name);
    if (!m) return nullptr;
    for (int i = 0; i < 3; i++) {
        m->amb[i] = 0.2f;
        m->dif[i] = m->spc[i] = m->col4[i] = 0.5f;
        m->emi[i] = 0.0f;
        m->flt[i] = 1.0f;
    }
    m->shin = 50.0f;
    m->val1 = 0.2f;
    m->opac = 1.0f;
    m->refr = 1.5f;
    static const uint8_t flg[9] = {0, 1, 1, 1, 1, 0, 0, 0, 0};
    std::memcpy(m->flg, flg, sizeof flg);
    ModFlg = 1;
    return m;
}

txt_map* NewMap(const char* name) {
    txt_map* t = AlcNamed<txt_map>("txt_map", name, &txt_map::name);
    if (!t) return nullptr;
    ModFlg = 1;
    return t;
}

pgn* NewPgn(srf* s) {
    pgn* g = AlcZero<pgn>("pgn");
    if (!g) return nullptr;
    if (s && !AppendNew(g, s->pgns, s, OK_SRF, "srf->pgn")) return nullptr;
    ModFlg = 1;
    return g;
}

prj* NewPrj(srf* s) {
    prj* j = AlcZero<prj>("prj");
    if (!j) return nullptr;
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) j->mtx[r][c] = r == c ? 1.0 : 0.0;
    j->lead = 100.0;
    j->type = 2;
    if (s && !AppendNew(j, s->prjs, s, OK_SRF, "srf->prj")) return nullptr;
    ModFlg = 1;
    return j;
}

siz* NewSiz(prt* p) {
    siz* z = AlcZero<siz>("siz");
    if (!z) return nullptr;
    for (float& v : z->v) v = 0.8f;
    if (p && !AppendNew(z, p->sizs, p, OK_PRT, "prt->siz")) return nullptr;
    ModFlg = 1;
    return z;
}

// ---- attaching ----

namespace {
template <class T>
int Atch(ObjLst<T>& l, T* c, void* owner, int ownKind, const char* tag) {
    if (!c) return -1;
    if (Append(l, c, tag) < 0) return -1;
    c->own = owner;
    c->ownKind = ownKind;
    ModFlg = 1;
    return 0;
}
}  // namespace

int AtchCamGlb(cam* c) { return Atch(CamTbl, c, nullptr, OK_GLB, "CamTbl"); }
int AtchLgtTblGlb(lgt_tbl* t) { return Atch(LgtTblTbl, t, nullptr, OK_GLB, "LgtTblTbl"); }
int AtchStgGlb(stg* s) { return Atch(StgTbl, s, nullptr, OK_GLB, "StgTbl"); }
int AtchPrdGlb(prd* p) { return Atch(PrdTbl, p, nullptr, OK_GLB, "PrdTbl"); }
int AtchCamStg(stg* s, cam* c) { return Atch(s->cams, c, s, OK_STG, "stg->cam"); }
int AtchLgtTblStg(stg* s, lgt_tbl* t) { return Atch(s->lgtTbls, t, s, OK_STG, "stg->lgt_tbl"); }
int AtchMtlTblStg(stg* s, mtl_tbl* t) { return Atch(s->mtlTbls, t, s, OK_STG, "stg->mtl_tbl"); }
int AtchPrtStg(stg* s, prt* p) { return Atch(s->prts, p, s, OK_STG, "stg->prt"); }
int AtchLnkStg(stg* s, lnk* l) { return Atch(s->lnks, l, s, OK_STG, "stg->lnk"); }
int AtchMtlTblPrd(prd* d, mtl_tbl* t) { return Atch(d->mtlTbls, t, d, OK_PRD, "prd->mtl_tbl"); }
int AtchPrtPrd(prd* d, prt* p) { return Atch(d->prts, p, d, OK_PRD, "prd->prt"); }
int AtchLnkPrd(prd* d, lnk* l) { return Atch(d->lnks, l, d, OK_PRD, "prd->lnk"); }
int AtchPrtPrt(prt* o, prt* p) { return Atch(o->prts, p, o, OK_PRT, "prt->prt"); }
int AtchLnkPrt(prt* o, lnk* l) { return Atch(o->lnks, l, o, OK_PRT, "prt->lnk"); }
int AtchSrfPrt(prt* o, srf* s) { return Atch(o->srfs, s, o, OK_PRT, "prt->srf"); }
int AtchCrvPrt(prt* o, crv* c) { return Atch(o->crvs, c, o, OK_PRT, "prt->crv"); }
int AtchPrtLnk(lnk* o, prt* p) { return Atch(o->prts, p, o, OK_LNK, "lnk->prt"); }
int AtchLgt(lgt_tbl* t, lgt* l) { return Atch(t->lgts, l, t, OK_LGT_TBL, "lgt_tbl->lgt"); }
int AtchMtl(mtl_tbl* t, mtl* m) { return Atch(t->mtls, m, t, OK_MTL_TBL, "mtl_tbl->mtl"); }

ObjLst<txt_map>* MapLst(mtl* m, int kind) {
    switch (kind) {
        case MAP_TXT: return &m->txtMap;
        case MAP_BMP: return &m->bmpMap;
        case MAP_RFL: return &m->rflMap;
        case MAP_TRS: return &m->trsMap;
        case MAP_ENV: return &m->envMap;
        default: return nullptr;
    }
}

int AtchMap(mtl* m, int kind, txt_map* t) {
    ObjLst<txt_map>* l = MapLst(m, kind);
    if (!l || Atch(*l, t, m, OK_MTL, "mtl->map") < 0) return -1;
    t->kind = kind;
    return 0;
}

// ---- freeing ----

void FreeMap(txt_map* t, bool detach) {
    if (!t) return;
    FreeScope fs;
    if (detach && t->own) {
        ObjLst<txt_map>* l = MapLst(static_cast<mtl*>(t->own), t->kind);
        if (l) Detach(*l, t);
    }
    Forget(t);
    FreeMem(t->name);
    FreeMem(t->file);
    FreeMem(t);
}

void FreeMtl(mtl* m, bool detach) {
    if (!m) return;
    FreeScope fs;
    if (detach && m->ownKind == OK_MTL_TBL) Detach(static_cast<mtl_tbl*>(m->own)->mtls, m);
    for (int k = MAP_TXT; k <= MAP_ENV; k++) {
        ObjLst<txt_map>* l = MapLst(m, k);
        for (int i = 0; i < l->n; i++) FreeMap(l->a[i], false);
        FreeLst(*l);
    }
    FreeMem(m->txtSeq);
    FreeMem(m->bmpSeq);
    FreeMem(m->rflSeq);
    FreeMem(m->trsSeq);
    FreeMem(m->envSeq);
    Forget(m);
    MtlFreed = true;
    FreeMem(m->name);
    FreeMem(m);
}

void FreeMtlTbl(mtl_tbl* t, bool detach) {
    if (!t) return;
    FreeScope fs;
    if (detach) {
        if (t->ownKind == OK_STG) Detach(static_cast<stg*>(t->own)->mtlTbls, t);
        else if (t->ownKind == OK_PRD) Detach(static_cast<prd*>(t->own)->mtlTbls, t);
    }
    for (int i = 0; i < t->mtls.n; i++) FreeMtl(t->mtls.a[i], false);
    FreeLst(t->mtls);
    Forget(t);
    MtlFreed = true;
    FreeMem(t->name);
    FreeMem(t);
}

void FreeLgt(lgt* l, bool detach) {
    if (!l) return;
    FreeScope fs;
    if (detach && l->ownKind == OK_LGT_TBL) Detach(static_cast<lgt_tbl*>(l->own)->lgts, l);
    Forget(l);
    LgtFreed = true;
    FreeMem(l->r.name);
    FreeMem(l);
}

void FreeLgtTbl(lgt_tbl* t, bool detach) {
    if (!t) return;
    FreeScope fs;
    if (detach) {
        if (t->ownKind == OK_GLB) Detach(LgtTblTbl, t);
        else if (t->ownKind == OK_STG) Detach(static_cast<stg*>(t->own)->lgtTbls, t);
    }
    for (int i = 0; i < t->lgts.n; i++) FreeLgt(t->lgts.a[i], false);
    FreeLst(t->lgts);
    Forget(t);
    LgtFreed = true;
    FreeMem(t->name);
    FreeMem(t);
}

void FreeCam(cam* c, bool detach) {
    if (!c) return;
    FreeScope fs;
    if (detach) {
        if (c->ownKind == OK_GLB) Detach(CamTbl, c);
        else if (c->ownKind == OK_STG) Detach(static_cast<stg*>(c->own)->cams, c);
    }
    Forget(c);
    FreeAnm(c->anm);
    FreeMem(c->name);
    FreeMem(c);
}

void FreePgn(pgn* g, bool detach) {
    if (!g) return;
    FreeScope fs;
    if (detach && g->ownKind == OK_SRF) Detach(static_cast<srf*>(g->own)->pgns, g);
    Forget(g);
    FreeMem(g->vtx_id);
    FreeMem(g);
}

void FreePrj(prj* j, bool detach) {
    if (!j) return;
    FreeScope fs;
    if (detach && j->ownKind == OK_SRF) Detach(static_cast<srf*>(j->own)->prjs, j);
    Forget(j);
    FreeMem(j->uv);
    FreeMem(j);
}

void FreeSiz(siz* z, bool detach) {
    if (!z) return;
    FreeScope fs;
    if (detach && z->ownKind == OK_PRT) Detach(static_cast<prt*>(z->own)->sizs, z);
    Forget(z);
    FreeMem(z->pts);
    FreeMem(z->txt);
    FreeMem(z);
}

void FreeSrf(srf* s, bool detach) {
    if (!s) return;
    FreeScope fs;
    if (detach && s->ownKind == OK_PRT) Detach(static_cast<prt*>(s->own)->srfs, s);
    for (int i = 0; i < s->pgns.n; i++) FreePgn(s->pgns.a[i], false);
    FreeLst(s->pgns);
    for (int i = 0; i < s->prjs.n; i++) FreePrj(s->prjs.a[i], false);
    FreeLst(s->prjs);
    Forget(s);
    FreeMem(s->v);
    FreeMem(s->nrm);
    FreeMem(s->v3);
    FreeMem(s->vc);
    FreeMem(s->ce);
    FreeMem(s->name);
    FreeMem(s);
}

void DtchSrf(srf* s) {
    if (!s) return;
    if (s->ownKind == OK_PRT) Detach(static_cast<prt*>(s->own)->srfs, s);
    s->own = nullptr;
    s->ownKind = 0;
    Forget(s);
    ModFlg = 1;
}

void DtchCrv(crv* c) {
    if (!c) return;
    if (c->ownKind == OK_PRT) Detach(static_cast<prt*>(c->own)->crvs, c);
    c->own = nullptr;
    c->ownKind = 0;
    ModFlg = 1;
}

void FreeCrvObj(crv* c, bool detach) {
    if (!c) return;
    FreeScope fs;
    if (detach && c->ownKind == OK_PRT) Detach(static_cast<prt*>(c->own)->crvs, c);
    Forget(c);
    FreeMem(c->p);
    FreeMem(c->name);
    FreeMem(c);
}

namespace {
// Removes a part or link from whichever list of its owner holds it.
void DetachPrt(prt* p) {
    switch (p->ownKind) {
        case OK_STG: Detach(static_cast<stg*>(p->own)->prts, p); break;
        case OK_PRD: Detach(static_cast<prd*>(p->own)->prts, p); break;
        case OK_PRT: Detach(static_cast<prt*>(p->own)->prts, p); break;
        case OK_LNK: Detach(static_cast<lnk*>(p->own)->prts, p); break;
        default: break;
    }
}
void DetachLnk(lnk* l) {
    switch (l->ownKind) {
        case OK_STG: Detach(static_cast<stg*>(l->own)->lnks, l); break;
        case OK_PRD: Detach(static_cast<prd*>(l->own)->lnks, l); break;
        case OK_PRT: Detach(static_cast<prt*>(l->own)->lnks, l); break;
        default: break;
    }
}
void FreePrts(ObjLst<prt>& l) {
    for (int i = 0; i < l.n; i++) FreePrt(l.a[i], false);
    FreeLst(l);
}
void FreeLnks(ObjLst<lnk>& l) {
    for (int i = 0; i < l.n; i++) FreeLnk(l.a[i], false);
    FreeLst(l);
}
}  // namespace

void FreePrt(prt* p, bool detach) {
    if (!p) return;
    DropRefsInto(p, OK_PRT);
    FreeScope fs;
    if (detach) DetachPrt(p);
    FreePrts(p->prts);
    FreeLnks(p->lnks);
    for (int i = 0; i < p->srfs.n; i++) FreeSrf(p->srfs.a[i], false);
    FreeLst(p->srfs);
    for (int i = 0; i < p->crvs.n; i++) FreeCrvObj(p->crvs.a[i], false);
    FreeLst(p->crvs);
    for (int i = 0; i < p->sizs.n; i++) FreeSiz(p->sizs.a[i], false);
    FreeLst(p->sizs);
    Forget(p);
    FreeAnm(p->anm);
    FreeMem(p->refPath);
    FreeMem(p->name);
    FreeMem(p);
}

void FreeLnk(lnk* l, bool detach) {
    if (!l) return;
    DropRefsInto(l, OK_LNK);
    FreeScope fs;
    if (detach) DetachLnk(l);
    FreePrts(l->prts);
    Forget(l);
    FreeAnm(l->anm);
    FreeMem(l->name);
    FreeMem(l);
}

void FreePrd(prd* d, bool detach) {
    if (!d) return;
    DropRefsInto(d, OK_PRD);
    FreeScope fs;
    if (detach && d->ownKind == OK_GLB) Detach(PrdTbl, d);
    for (int i = 0; i < d->mtlTbls.n; i++) FreeMtlTbl(d->mtlTbls.a[i], false);
    FreeLst(d->mtlTbls);
    FreePrts(d->prts);
    FreeLnks(d->lnks);
    Forget(d);
    FreeAnm(d->anm);
    FreeMem(d->name);
    FreeMem(d);
}

void FreeStg(stg* s, bool detach) {
    if (!s) return;
    DropRefsInto(s, OK_STG);
    FreeScope fs;
    if (detach && s->ownKind == OK_GLB) Detach(StgTbl, s);
    for (int i = 0; i < s->cams.n; i++) FreeCam(s->cams.a[i], false);
    FreeLst(s->cams);
    for (int i = 0; i < s->lgtTbls.n; i++) FreeLgtTbl(s->lgtTbls.a[i], false);
    FreeLst(s->lgtTbls);
    for (int i = 0; i < s->mtlTbls.n; i++) FreeMtlTbl(s->mtlTbls.a[i], false);
    FreeLst(s->mtlTbls);
    FreePrts(s->prts);
    FreeLnks(s->lnks);
    Forget(s);
    FreeMem(s->name);
    FreeMem(s);
}

void ClrScn() {
    QuietRbd = true;
    {
        FreeScope fs;
        for (int i = 0; i < StgTbl.n; i++) FreeStg(StgTbl.a[i], false);
        FreeLst(StgTbl);
        for (int i = 0; i < PrdTbl.n; i++) FreePrd(PrdTbl.a[i], false);
        FreeLst(PrdTbl);
        for (int i = 0; i < CamTbl.n; i++) FreeCam(CamTbl.a[i], false);
        FreeLst(CamTbl);
        for (int i = 0; i < LgtTblTbl.n; i++) FreeLgtTbl(LgtTblTbl.a[i], false);
        FreeLst(LgtTblTbl);
        // Empty tables still leave the flat tables to rebuild.
        LgtFreed = MtlFreed = true;
    }
    QuietRbd = false;
    SetBoxEmpty(SceneBox);
}
