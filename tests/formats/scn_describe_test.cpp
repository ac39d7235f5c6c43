// Helpers of the scene document tests: the field-by-field description of the scene and the
// checks of a usable scene.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include "core/state.h"
#include "display/view.h"
#include "doc/doc.h"
#include "formats/scn.h"
#include "formats/scn_fixture.h"
#include "scene/scene.h"

void ScnTest::SetUp() {
    EngineTest::SetUp();
    Doc = DocState{std::string(), std::string("無題")};
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& b) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

long Find(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle, size_t from) {
    if (needle.empty() || hay.size() < needle.size()) return -1;
    for (size_t i = from; i + needle.size() <= hay.size(); i++)
        if (std::memcmp(hay.data() + i, needle.data(), needle.size()) == 0) return long(i);
    return -1;
}

namespace {

class Desc {
public:
    std::ostringstream o;
    int lv = 0;
    void L(const std::string& k) { o << std::string(2 * size_t(lv), ' ') << k << "\n"; }
    void S(const char* k, const char* v) { L(std::string(k) + "=\"" + (v ? v : "(null)") + "\""); }
    void D(const char* k, const double* v, int n) {
        std::string s = k;
        char b[40];
        for (int i = 0; i < n; i++) {
            std::snprintf(b, sizeof b, " %a", v[i]);
            s += b;
        }
        L(s);
    }
    void F(const char* k, const float* v, int n) {
        std::string s = k;
        char b[40];
        for (int i = 0; i < n; i++) {
            std::snprintf(b, sizeof b, " %a", double(v[i]));
            s += b;
        }
        L(s);
    }
    template <class T>
    void I(const char* k, const T* v, int n) {
        std::string s = k;
        for (int i = 0; i < n; i++) s += " " + std::to_string(static_cast<long long>(v[i]));
        L(s);
    }
    template <class T>
    void I1(const char* k, T v) { I(k, &v, 1); }

    void Node(const ::Node& n) {
        S("name", n.name);
        I1("ownKind", n.ownKind);
        D("scl", n.xfm.scl, 3);
        D("rot", n.xfm.rot, 3);
        D("trn", n.xfm.trn, 3);
        D("pvt", n.xfm.pvt, 3);
        I1("xflg", n.xfm.flg);
        for (const auto& row : n.mtx) D("mtx", row, 4);
        F("box", n.box.min, 3);
        F("boxmax", n.box.max, 3);
    }
    void Anm(const prm_anm* a) {
        if (!a) {
            L("anm none");
            return;
        }
        L("anm");
        ++lv;
        S("name", a->name);
        I1("ownKind", a->ownKind);
        I1("nch", a->nch);
        for (int i = 0; i < a->nch; i++) {
            const AnmCh& c = a->ch[i];
            I1("nk", c.nk);
            for (int k = 0; k < c.nk; k++) {
                I1("kf", c.k[k].flg);
                D("kv", &c.k[k].val, 1);
            }
            I("v", c.v, 2);
            I("b", c.b, 3);
        }
        --lv;
    }
    void View(const CamView& v) {
        D("RotCnt", v.RotCnt, 3);
        D("RotAng", v.RotAng, 3);
        D("EyePos", v.EyePos, 3);
        D("ScrShf", v.ScrShf, 2);
        D("EyeDst", &v.EyeDst, 1);
        D("ScrDst", &v.ScrDst, 1);
        D("ScrWid", &v.ScrWid, 1);
        D("Clp", &v.ClpNear, 1);
        D("ClpFar", &v.ClpFar, 1);
        D("RndVal", v.RndVal, 3);
        F("Lens", &v.Lens, 1);
        F("ViewAng", &v.ViewAng, 1);
        I1("RndInt", v.RndInt);
        const uint8_t b[7] = {v.UpAxis, v.Byte1, v.CurCam, v.RotEye, v.AutoClp, v.PrjFlg, v.FovFix};
        I("bytes", b, 7);
    }
    void Cam(const cam* c) {
        L("cam");
        ++lv;
        S("name", c->name);
        I1("ownKind", c->ownKind);
        View(c->view);
        Anm(c->anm);
        --lv;
    }
    void Lgt(const lgt* l) {
        const LgtRec& r = l->r;
        L("lgt");
        ++lv;
        S("name", r.name);
        F("pos", r.pos, 3);
        F("tgt", r.tgt, 3);
        F("ang", r.ang, 3);
        F("dir", r.dir, 3);
        F("col", r.col, 3);
        F("v1", &r.spotExp, 5);
        I1("v6", r.val6);
        F("mtx", r.mtx, 16);
        F("v7", &r.rv7, 2);
        I1("v9", r.rv9);
        F("v10", &r.rv10, 1);
        const uint8_t b[5] = {r.kind, r.angOrd, r.rb3, r.rb4, r.on};
        I("bytes", b, 5);
        --lv;
    }
    void LgtTbl(const lgt_tbl* t) {
        L("lgt_tbl");
        ++lv;
        S("name", t->name);
        I1("cur", t->curIdx);
        I1("active", t->active);
        for (int i = 0; i < t->lgts.n; i++) Lgt(t->lgts.a[i]);
        --lv;
    }
    void Map(const txt_map* t) {
        L("map");
        ++lv;
        S("name", t->name);
        I1("kind", t->kind);
        I("iv", t->iv, 16);
        I("par", t->par, 200);
        I("wv", t->wv, 12);
        I("bv", t->bv, 12);
        I1("last", t->last);
        --lv;
    }
    void Mtl(const mtl* m) {
        L("mtl");
        ++lv;
        S("name", m->name);
        F("amb", m->amb, 3);
        F("dif", m->dif, 3);
        F("spc", m->spc, 3);
        F("col4", m->col4, 3);
        F("shin", &m->shin, 1);
        F("emi", m->emi, 3);
        F("flt", m->flt, 3);
        F("opac", &m->opac, 1);
        F("refr", &m->refr, 1);
        F("val2", &m->val2, 1);
        F("val3", &m->val3, 1);
        F("val1", &m->val1, 1);
        F("val4", &m->val4, 1);
        const int cur[5] = {m->txtCur, m->bmpCur, m->rflCur, m->trsCur, m->envCur};
        I("cur", cur, 5);
        for (const ObjLst<txt_map>* l : {&m->txtMap, &m->bmpMap, &m->rflMap, &m->trsMap, &m->envMap})
            for (int i = 0; i < l->n; i++) Map(l->a[i]);
        I("flg", m->flg, 9);
        I1("lastB", m->lastB);
        --lv;
    }
    void MtlTbl(const mtl_tbl* t) {
        L("mtl_tbl");
        ++lv;
        S("name", t->name);
        I1("cur", t->curIdx);
        I1("active", t->active);
        for (int i = 0; i < t->mtls.n; i++) Mtl(t->mtls.a[i]);
        --lv;
    }
    void Srf(const srf* s) {
        L("srf");
        ++lv;
        Node(*s);
        I1("mtlIdx", s->mtlIdx);
        I1("mtlIdx2", s->mtlIdx2);
        S("mtl", s->mtlPtr ? s->mtlPtr->name : nullptr);
        for (int i = 0; i < s->pgns.n; i++) {
            const pgn* g = s->pgns.a[i];
            I("pgn", g->vtx_id, g->n);
            const int rc[3] = {g->rows, g->cols, g->type};
            I("rct", rc, 3);
        }
        F("v", s->v, 3 * s->nv);
        F("n", s->nrm, 3 * s->nv);
        if (s->v3) F("v3", s->v3, 3 * s->nv);
        F("vc", s->vc, 3 * s->nvc);
        I("ce", s->ce, s->nce);
        for (int i = 0; i < s->prjs.n; i++) {
            const prj* j = s->prjs.a[i];
            F("uv", j->uv, 2 * j->n);
            for (const auto& row : j->mtx) D("pmtx", row, 4);
            D("pv1", j->v1, 3);
            D("pv2", j->v2, 3);
            I1("piv", j->iv);
            I("praw", j->raw, 20);
            const int b[2] = {j->type, j->b2};
            I("pb", b, 2);
        }
        const int b[2] = {s->b1, s->dspFlg};
        I("bytes", b, 2);
        --lv;
    }
    void Crv(const crv* c) {
        L("crv");
        ++lv;
        Node(*c);
        F("p", c->p, 3 * c->n);
        F("col", c->col, 3);
        const int b[3] = {c->b1, c->vis, c->b3};
        I("bytes", b, 3);
        --lv;
    }
    void Lnk(const lnk* l);
    void Prt(const prt* p) {
        L("prt");
        ++lv;
        Node(*p);
        I1("id", p->id);
        I1("val", p->val);
        for (int i = 0; i < p->prts.n; i++) Prt(p->prts.a[i]);
        for (int i = 0; i < p->lnks.n; i++) Lnk(p->lnks.a[i]);
        for (int i = 0; i < p->srfs.n; i++) Srf(p->srfs.a[i]);
        for (int i = 0; i < p->crvs.n; i++) Crv(p->crvs.a[i]);
        S("ref", p->ref ? p->ref->name : nullptr);
        Anm(p->anm);
        const int b[2] = {p->b1, p->b2};
        I("bytes", b, 2);
        --lv;
    }
    void Stg(const stg* s) {
        L("stg");
        ++lv;
        Node(*s);
        for (int i = 0; i < s->cams.n; i++) Cam(s->cams.a[i]);
        I1("curLgtTbl", s->curLgtTbl);
        for (int i = 0; i < s->lgtTbls.n; i++) LgtTbl(s->lgtTbls.a[i]);
        I1("mtlBase", s->mtlBase);
        I1("mtlIdx2", s->mtlIdx2);
        for (int i = 0; i < s->mtlTbls.n; i++) MtlTbl(s->mtlTbls.a[i]);
        for (int i = 0; i < s->prts.n; i++) Prt(s->prts.a[i]);
        for (int i = 0; i < s->lnks.n; i++) Lnk(s->lnks.a[i]);
        I1("active", s->active);
        --lv;
    }
    void Prd(const prd* d) {
        L("prd");
        ++lv;
        Node(*d);
        I1("mtlBase", d->mtlBase);
        I1("mtlIdx2", d->mtlIdx2);
        for (int i = 0; i < d->mtlTbls.n; i++) MtlTbl(d->mtlTbls.a[i]);
        for (int i = 0; i < d->prts.n; i++) Prt(d->prts.a[i]);
        for (int i = 0; i < d->lnks.n; i++) Lnk(d->lnks.a[i]);
        Anm(d->anm);
        I1("active", d->active);
        --lv;
    }
};

void Desc::Lnk(const lnk* l) {
    L("lnk");
    ++lv;
    Node(*l);
    I1("id", l->id);
    I1("val", l->val);
    for (int i = 0; i < l->prts.n; i++) Prt(l->prts.a[i]);
    D("sclMin", l->sclMin, 3);
    D("sclMax", l->sclMax, 3);
    D("rotMin", l->rotMin, 3);
    D("rotMax", l->rotMax, 3);
    D("trnMin", l->trnMin, 3);
    D("trnMax", l->trnMax, 3);
    Anm(l->anm);
    I("bytes", l->b, 4);
    --lv;
}

}  // namespace

std::string DescribeScene() {
    Desc d;
    for (int i = 0; i < StgTbl.n; i++) d.Stg(StgTbl.a[i]);
    for (int i = 0; i < PrdTbl.n; i++) d.Prd(PrdTbl.a[i]);
    for (int i = 0; i < CamTbl.n; i++) d.Cam(CamTbl.a[i]);
    for (int i = 0; i < LgtTblTbl.n; i++) d.LgtTbl(LgtTblTbl.a[i]);
    d.F("scenebox", SceneBox.min, 3);
    d.F("scenebox", SceneBox.max, 3);
    const DocPrmRec& p = DocPrm;
    d.I("rndPrm", p.rndPrm, 4);
    d.I("rndSw", p.rndSw, 7);
    d.I1("fogOn", p.fogOn);
    d.F("fog", &p.fogDns, 3);
    d.F("fogCol", p.fogCol, 3);
    d.D("dspFct", p.dspFct, 2);
    d.I("rndSw2", p.rndSw2, 2);
    d.I("rndPrm2", p.rndPrm2, 6);
    d.I("rndSw3", p.rndSw3, 2);
    for (int i = 0; i < p.nBgImg; i++) {
        d.S("bg", p.bgImg[i].name);
        d.I("bgv", p.bgImg[i].val, 5);
        d.I("bgb", p.bgImg[i].byt, 3);
    }
    d.I1("grdOn", p.grdOn);
    d.I("grd1", p.grdCol1, 3);
    d.I("grd2", p.grdCol2, 3);
    d.D("viewPos", p.viewPos, 3);
    d.D("viewVal", p.viewVal, 2);
    const int ao[6] = {AnmOut.frmCnt, AnmOut.curFrm, AnmOut.v3, AnmOut.v4, AnmOut.v6, AnmOut.v7};
    d.I("anmOut", ao, 6);
    d.D("anmRate", &AnmOut.rate, 1);
    if (Cam2D) d.Cam(Cam2D);
    if (Cam3D) d.Cam(Cam3D);
    d.I1("ViewDim", ViewDim);
    return d.o.str();
}

void ExpectUsableScene() {
    ASSERT_NE(TrnPrd, nullptr);
    ASSERT_NE(CurCamObj, nullptr);
    bool camFound = false;
    for (int i = 0; i < CamTbl.n; i++) camFound = camFound || CamTbl.a[i] == CurCamObj;
    for (int s = 0; s < StgTbl.n; s++)
        for (int i = 0; i < StgTbl.a[s]->cams.n; i++) camFound = camFound || StgTbl.a[s]->cams.a[i] == CurCamObj;
    EXPECT_TRUE(camFound) << "the current camera is not in the scene";
    if (CurLgtObj) {
        bool lgtFound = false;
        for (int i = 0; i < LgtTblTbl.n; i++)
            for (int k = 0; k < LgtTblTbl.a[i]->lgts.n; k++)
                lgtFound = lgtFound || LgtTblTbl.a[i]->lgts.a[k] == CurLgtObj;
        EXPECT_TRUE(lgtFound) << "the current light is not in the scene";
    }
    if (TrnGrd) {
        ASSERT_NE(TrnSrf, nullptr);
        EXPECT_EQ(TrnGrd->n, int(TrnGrd->rows) * int(TrnGrd->cols));
        for (int i = 0; i < TrnGrd->n; i++) ASSERT_LT(TrnGrd->vtx_id[i], TrnSrf->nv);
    }
}
