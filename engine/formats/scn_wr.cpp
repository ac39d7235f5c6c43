// Writing the scene document: records depth-first in table order, through a temporary file that
// replaces the target only when everything reached the disk.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include "core/msg.h"
#include "formats/outfile.h"
#include "formats/scn.h"
#include "formats/scn_fld.h"

namespace {

using scnio::Out;

void WrMtx(Out& o, Node& n) {
    o.U8(1);
    scnio::Mtx16(o, n.mtx);
}

void WrNodeTail(Out& o, Node& n) {
    scnio::XfmFld(o, n.xfm);
    WrMtx(o, n);
    scnio::BoxFld(o, n.box);
}

// Parameter animation, little-endian throughout.
void WrAnm(Out& o, prm_anm* a) {
    o.leRaw = true;
    o.Name(a->name);
    int32_t nch = a->ch ? a->nch : 0;
    o.I32(nch);
    for (int i = 0; i < nch; i++) {
        AnmCh& c = a->ch[i];
        int32_t nk = c.k ? c.nk : 0;
        o.I32(nk);
        for (int k = 0; k < nk; k++) {
            o.U8(c.k[k].flg);
            o.F64(c.k[k].val);
        }
        o.I32(c.v[0]);
        o.I32(c.v[1]);
        scnio::U8n(o, c.b, 3);
    }
    uint8_t ok = static_cast<uint8_t>(a->ownKind);
    o.U8(ok);
    o.leRaw = false;
}

void WrAnmOpt(Out& o, prm_anm* a) {
    o.U8(a ? 1 : 0);
    if (a) WrAnm(o, a);
}

void WrCam(Out& o, cam* c) {
    o.Name(c->name);
    scnio::CamFld1(o, c->view);
    WrAnmOpt(o, c->anm);
    scnio::CamFld2(o, c->view);
    o.Prog();
}

void WrLgtTbl(Out& o, lgt_tbl* t) {
    o.Name(t->name);
    o.I32(t->lgts.n);
    o.I32(t->curIdx);
    for (int i = 0; i < t->lgts.n; i++) {
        lgt* l = t->lgts.a[i];
        o.Name(l->r.name);
        scnio::LgtFld(o, l->r);
        o.Prog();
    }
    o.U8(t->active);
    o.Prog();
}

// Map lists: only the maps in use, the current index kept below their count.
void WrMaps(Out& o, mtl* m, int kind, int& cur) {
    ObjLst<txt_map>* l = MapLst(m, kind);
    int32_t used = 0;
    for (int i = 0; i < l->n; i++)
        if (l->a[i]->last != 0xFF) used++;
    if (cur >= used) cur = used - 1;
    o.I32(used);
    o.I32(cur);
    for (int i = 0; i < l->n; i++) {
        txt_map* t = l->a[i];
        if (t->last == 0xFF) continue;
        o.Name(t->name);
        scnio::MapFld(o, *t, kind);
    }
}

void WrMtl(Out& o, mtl* m) {
    o.Name(m->name);
    scnio::MtlFld1(o, *m);
    WrMaps(o, m, MAP_TXT, m->txtCur);
    WrMaps(o, m, MAP_BMP, m->bmpCur);
    WrMaps(o, m, MAP_RFL, m->rflCur);
    WrMaps(o, m, MAP_TRS, m->trsCur);
    WrMaps(o, m, MAP_ENV, m->envCur);
    scnio::U8n(o, m->flg, 9);
    o.U8(m->lastB);
    o.Prog();
}

void WrMtlTbl(Out& o, mtl_tbl* t) {
    o.Name(t->name);
    o.I32(t->mtls.n);
    o.I32(t->curIdx);
    for (int i = 0; i < t->mtls.n; i++) WrMtl(o, t->mtls.a[i]);
    o.U8(t->active);
    o.Prog();
}

void WrPgn(Out& o, pgn* g) {
    int32_t n = g->vtx_id ? g->n : 0;
    o.I32(n);
    o.I32s(g->vtx_id, size_t(n));
    o.I16(g->rows);
    o.I16(g->cols);
    o.U8(g->type);
}

void WrPrj(Out& o, prj* j, int nv) {
    // Exactly one pair per vertex of the surface, as the reader takes it.
    for (int i = 0; i < nv; i++) {
        float uv[2] = {0, 0};
        if (j->uv && i < j->n) {
            uv[0] = j->uv[2 * i];
            uv[1] = j->uv[2 * i + 1];
        }
        o.F32(uv[0]);
        o.F32(uv[1]);
    }
    scnio::Mtx16(o, j->mtx);
    scnio::F64n(o, j->v1, 3);
    scnio::F64n(o, j->v2, 3);
    o.I32(j->iv);
    scnio::W32n(o, j->raw, 20);
    o.U8(j->type);
    o.U8(j->b2);
}

void WrSrf(Out& o, srf* s) {
    o.Name(s->name);
    o.I32(s->mtlIdx);
    o.I32(s->mtlIdx2);
    o.I32(s->pgns.n);
    for (int i = 0; i < s->pgns.n; i++) WrPgn(o, s->pgns.a[i]);
    int32_t nv = s->v ? s->nv : 0;
    o.I32(nv);
    o.F32s(s->v, 3 * size_t(nv));
    for (int i = 0; i < nv; i++) {
        // A surface without normals stores upward ones.
        if (s->nrm) break;
        float up[3] = {0, 0, 1};
        scnio::F32n(o, up, 3);
    }
    if (s->nrm) o.F32s(s->nrm, 3 * size_t(nv));
    o.U8(s->v3 ? 1 : 0);
    if (s->v3) o.F32s(s->v3, 3 * size_t(nv));
    int32_t nce = s->ce ? s->nce : 0, nvc = s->vc ? s->nvc : 0;
    o.I32(nce);
    o.I32(nvc);
    o.F32s(s->vc, 3 * size_t(nvc));
    o.I32s(s->ce, size_t(nce));
    uint8_t np = static_cast<uint8_t>(s->prjs.n > 255 ? 255 : s->prjs.n);
    o.U8(np);
    for (int i = 0; i < np; i++) WrPrj(o, s->prjs.a[i], nv);
    WrNodeTail(o, *s);
    o.U8(s->b1);
    o.U8(s->dspFlg);
    o.Prog();
}

void WrCrv(Out& o, crv* c) {
    o.Name(c->name);
    int32_t n = c->p ? c->n : 0;
    o.I32(n);
    o.F32s(c->p, 3 * size_t(n));
    scnio::F32n(o, c->col, 3);
    WrNodeTail(o, *c);
    o.U8(c->b1);
    o.U8(c->vis);
    o.U8(c->b3);
    o.Prog();
}

void WrPrt(Out& o, prt* p);

void WrLnk(Out& o, lnk* l) {
    o.Name(l->name);
    o.I32(l->id);
    o.I32(l->val);
    o.I32(l->prts.n);
    for (int i = 0; i < l->prts.n; i++) WrPrt(o, l->prts.a[i]);
    for (double* v : {l->sclMin, l->sclMax, l->rotMin, l->rotMax, l->trnMin, l->trnMax})
        for (int i = 0; i < 3; i++) o.F32(static_cast<float>(v[i]));
    WrNodeTail(o, *l);
    WrAnmOpt(o, l->anm);
    scnio::U8n(o, l->b, 4);
    o.Prog();
}

void WrPrt(Out& o, prt* p) {
    o.Name(p->name);
    o.I32(p->id);
    o.I32(p->val);
    o.I32(p->prts.n);
    for (int i = 0; i < p->prts.n; i++) WrPrt(o, p->prts.a[i]);
    o.I32(p->lnks.n);
    for (int i = 0; i < p->lnks.n; i++) WrLnk(o, p->lnks.a[i]);
    o.I32(p->srfs.n);
    for (int i = 0; i < p->srfs.n; i++) WrSrf(o, p->srfs.a[i]);
    o.I32(p->crvs.n);
    for (int i = 0; i < p->crvs.n; i++) WrCrv(o, p->crvs.a[i]);
    WrNodeTail(o, *p);
    char path[1024];
    const char* ref = nullptr;
    if (p->ref && ObjPath(p->ref, OK_PRT, path, sizeof path) >= 0) ref = path;
    else if (p->refPath) ref = p->refPath;
    o.U8(ref ? 1 : 0);
    if (ref) o.Name(ref);
    WrAnmOpt(o, p->anm);
    o.U8(p->b1);
    o.U8(p->b2);
    o.Prog();
}

void WrStg(Out& o, stg* s) {
    o.Name(s->name);
    o.I32(s->cams.n);
    for (int i = 0; i < s->cams.n; i++) WrCam(o, s->cams.a[i]);
    o.I32(s->lgtTbls.n);
    o.I32(s->curLgtTbl);
    for (int i = 0; i < s->lgtTbls.n; i++) WrLgtTbl(o, s->lgtTbls.a[i]);
    o.I32(s->mtlBase);
    o.I32(s->mtlTbls.n);
    o.I32(s->mtlIdx2);
    for (int i = 0; i < s->mtlTbls.n; i++) WrMtlTbl(o, s->mtlTbls.a[i]);
    o.I32(s->prts.n);
    for (int i = 0; i < s->prts.n; i++) WrPrt(o, s->prts.a[i]);
    o.I32(s->lnks.n);
    for (int i = 0; i < s->lnks.n; i++) WrLnk(o, s->lnks.a[i]);
    WrNodeTail(o, *s);
    o.U8(s->active);
    o.Prog();
}

void WrPrd(Out& o, prd* d) {
    o.Name(d->name);
    o.I32(d->mtlBase);
    o.I32(d->mtlTbls.n);
    o.I32(d->mtlIdx2);
    for (int i = 0; i < d->mtlTbls.n; i++) WrMtlTbl(o, d->mtlTbls.a[i]);
    o.I32(d->prts.n);
    for (int i = 0; i < d->prts.n; i++) WrPrt(o, d->prts.a[i]);
    o.I32(d->lnks.n);
    for (int i = 0; i < d->lnks.n; i++) WrLnk(o, d->lnks.a[i]);
    WrNodeTail(o, *d);
    WrAnmOpt(o, d->anm);
    o.U8(d->active);
    o.Prog();
}

// The 32 header bytes.
void WrHdr(Out& o) {
    uint8_t h[ScnHdrLen] = {};
    std::memcpy(h, SceneMagic, 20);
    std::memcpy(h + 20, RelNum, 3);
    std::memcpy(h + 23, "scn", 3);
    h[28] = static_cast<uint8_t>(ScnVersion);
    std::memcpy(h + 29, DateByt, 3);
    o.Raw(h, sizeof h);
}

void WrAll(Out& o) {
    WrHdr(o);
    OriginStamp[StampLen - 1] = '\0';
    o.Name(ScrStamp(OriginStamp).c_str());
    o.I32(StgTbl.n);
    for (int i = 0; i < StgTbl.n; i++) WrStg(o, StgTbl.a[i]);
    o.I32(PrdTbl.n);
    for (int i = 0; i < PrdTbl.n; i++) WrPrd(o, PrdTbl.a[i]);
    o.I32(CamTbl.n);
    for (int i = 0; i < CamTbl.n; i++) WrCam(o, CamTbl.a[i]);
    o.I32(LgtTblTbl.n);
    o.I32(0);
    for (int i = 0; i < LgtTblTbl.n; i++) WrLgtTbl(o, LgtTblTbl.a[i]);
    scnio::BoxFld(o, SceneBox);

    DocPrmRec& d = DocPrm;
    scnio::SetFld1(o, d);
    int32_t nb = d.bgImg ? d.nBgImg : 0;
    o.I32(nb);
    for (int i = 0; i < nb; i++) {
        o.Name(d.bgImg[i].name);
        scnio::BgImgFld(o, d.bgImg[i]);
    }
    scnio::SetFld2(o, d);
    o.Prog();
    scnio::AnmOutFld(o, AnmOut);
    o.Prog();
    if (AppKind == AppKindTrn) {
        for (cam* c : {Cam2D, Cam3D}) {
            if (c) {
                WrCam(o, c);
            } else {
                // No stored camera (cannot happen after start-up): a default one keeps the layout.
                cam tmp{};
                tmp.name = const_cast<char*>(c == Cam2D ? "2Dカメラ" : "3Dカメラ");
                WrCam(o, &tmp);
            }
        }
        o.U8(o.viewDim);
        o.Prog();
    }
}

// The file a save replaces: a symbolic link is followed, so that the link stays.
std::string Target(const char* path) {
    struct stat st;
    if (lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
        char buf[PATH_MAX];
        if (realpath(path, buf)) return buf;
    }
    return path;
}

}  // namespace

int ScnToMem(uint8_t viewDim, std::vector<uint8_t>* out) {
    Out count(-1);
    count.viewDim = viewDim;
    const bool loss = ScnNamLoss;
    WrAll(count);
    out->clear();
    out->reserve(count.pos);
    Out o(out);
    o.viewDim = viewDim;
    WrAll(o);
    o.Flush();
    ScnNamLoss = loss;
    return 0;
}

int ScnWrite(const char* path, uint8_t viewDim, const Feedback& fb, std::string* err) {
    auto fail = [&](int e) {
        if (err) *err = std::strerror(e);
        return -1;
    };
    if (!path || !*path) return fail(ENOENT);
    const std::string target = Target(path);
    OutSet set;
    int fd = set.Stage(target);
    if (fd < 0) return fail(set.Errno());

    // Expected size for the progress bar, from a pass that only counts.
    Out count(-1);
    count.viewDim = viewDim;
    bool loss = ScnNamLoss;
    WrAll(count);
    ScnNamLoss = loss;

    PutMsg("シーンデータ出力中");
    fb.Begin();
    Out o(fd);
    o.fb = &fb;
    o.viewDim = viewDim;
    o.total = count.pos;
    WrAll(o);
    o.Flush();
    int e = o.err;
    if (close(fd) != 0 && !e) e = errno;
    if (!e && !set.Commit()) e = set.Errno();
    if (e) {
        set.Abort();
        fb.End();
        return fail(e);
    }
    PutMsg("シーンデータ出力終了");
    fb.End();
    return 0;
}
