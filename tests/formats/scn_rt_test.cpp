// Scene documents: lossless round trip of every record kind, the stated byte layout, old and
// hand-written documents, names in code page 932.
#include <algorithm>
#include <cmath>
#include "core/alc.h"
#include "core/msg.h"
#include "core/state.h"
#include "display/view.h"
#include "formats/codepage.h"
#include "doc/doc.h"
#include "formats/scn.h"
#include "formats/scn_fixture.h"
#include "scene/scene.h"
#include "support/rec_feedback.h"

namespace {

// Distinct values, exact in single precision.
struct Gen {
    int k = 1;
    float F() { return static_cast<float>(k++) * 0.25f + 0.5f; }
    double D() { return static_cast<double>(k++) * 0.125 + 0.25; }
    int32_t I() { return 1000 + k++; }
    uint8_t B() { return static_cast<uint8_t>(2 + (k++ % 200)); }
    void Fs(float* v, int n) { for (int i = 0; i < n; i++) v[i] = F(); }
    void Ds(double* v, int n) { for (int i = 0; i < n; i++) v[i] = D(); }
};

void FillNode(Gen& g, Node& n) {
    g.Ds(n.xfm.scl, 3);
    g.Ds(n.xfm.rot, 3);
    g.Ds(n.xfm.trn, 3);
    g.Ds(n.xfm.pvt, 3);
    n.xfm.flg = g.B();
    for (auto& row : n.mtx) g.Ds(row, 4);
    g.Fs(n.box.min, 3);
    g.Fs(n.box.max, 3);
}

prm_anm* MkAnm(Gen& g, int ownKind, int nch) {
    prm_anm* a = NewAnm(ownKind);
    a->ch = static_cast<AnmCh*>(AlcMem(static_cast<long long>(sizeof(AnmCh)) * nch, "anm_ch"));
    a->nch = nch;
    for (int i = 0; i < nch; i++) {
        AnmCh& c = a->ch[i];
        c.nk = i + 1;
        c.k = static_cast<AnmKey*>(AlcMem(static_cast<long long>(sizeof(AnmKey)) * c.nk, "anm_key"));
        for (int k = 0; k < c.nk; k++) c.k[k] = AnmKey{g.B(), g.D()};
        c.v[0] = g.I();
        c.v[1] = g.I();
        for (uint8_t& b : c.b) b = g.B();
    }
    return a;
}

void FillView(Gen& g, CamView& v) {
    g.Ds(v.RotCnt, 3);
    g.Ds(v.RotAng, 3);
    g.Ds(v.EyePos, 3);
    g.Ds(v.ScrShf, 2);
    v.EyeDst = g.D() + 100;
    v.ScrDst = g.D();
    v.ScrWid = g.D() + 500;
    v.ClpNear = g.D();
    v.ClpFar = g.D() + 1e5;
    g.Ds(v.RndVal, 3);
    v.Lens = g.F();
    v.ViewAng = g.F();
    v.RndInt = g.I();
    v.UpAxis = UpY;
    v.Byte1 = g.B();
    v.RotEye = 1;
    v.AutoClp = 0;  // automatic clipping would move the planes on reading
    v.PrjFlg = PrjPrs;
    v.FovFix = 0;
}

void FillLgt(Gen& g, lgt* l) {
    LgtRec& r = l->r;
    g.Fs(r.pos, 3);
    g.Fs(r.tgt, 3);
    g.Fs(r.ang, 3);
    g.Fs(r.dir, 3);
    g.Fs(r.col, 3);
    r.spotExp = g.F();
    r.attKind = g.F();
    r.spotAng = g.F();
    r.attDst = g.F();
    r.intens = g.F();
    r.val6 = g.I();
    g.Fs(r.mtx, 16);
    r.rv7 = g.F();
    r.rv8 = g.F();
    r.rv9 = g.I();
    r.rv10 = g.F();
    r.kind = LgtPnt;
    r.angOrd = 3;
    r.rb3 = g.B();
    r.rb4 = g.B();
    r.on = 1;
}

// The stored words of each map kind (the rest stays at its default).
void FillMap(Gen& g, txt_map* t, int kind) {
    const int niv[5] = {13, 10, 10, 10, 1}, nwv[5] = {9, 0, 9, 9, 12}, nbv[5] = {12, 10, 12, 10, 7};
    for (int i = 0; i < niv[kind]; i++) t->iv[i] = g.I();
    if (kind != MAP_ENV)
        for (int32_t& p : t->par) p = g.I();
    for (int i = 0; i < nwv[kind]; i++) t->wv[i] = static_cast<uint32_t>(g.I()) * 2654435761u;
    for (int i = 0; i < nbv[kind]; i++) t->bv[i] = g.B();
    t->last = g.B();
}

void FillMtl(Gen& g, mtl* m) {
    g.Fs(m->amb, 3);
    g.Fs(m->dif, 3);
    g.Fs(m->spc, 3);
    g.Fs(m->col4, 3);
    m->shin = g.F();
    g.Fs(m->emi, 3);
    g.Fs(m->flt, 3);
    m->opac = g.F();
    m->refr = g.F();
    m->val1 = g.F();
    m->val2 = g.F();
    m->val3 = g.F();
    m->val4 = g.F();
    for (int kind = MAP_TXT; kind <= MAP_ENV; kind++) {
        for (int i = 0; i < 2; i++) {
            txt_map* t = NewMap(kind == MAP_TXT ? "木目.bmp" : "map.img");
            AtchMap(m, kind, t);
            FillMap(g, t, kind);
        }
    }
    m->txtCur = 1;
    m->bmpCur = 0;
    m->rflCur = 1;
    m->trsCur = 0;
    m->envCur = 1;
    for (uint8_t& f : m->flg) f = g.B();
    m->lastB = g.B();
}

mtl_tbl* MkMtlTbl(Gen& g, const char* name) {
    mtl_tbl* t = NewMtlTbl(name);
    for (int i = 0; i < 2; i++) {
        mtl* m = NewMtl(i == 0 ? "石" : "Stone");
        AtchMtl(t, m);
        FillMtl(g, m);
    }
    t->curIdx = 1;
    t->active = 1;
    return t;
}

lgt_tbl* MkLgtTbl(Gen& g, const char* name) {
    lgt_tbl* t = NewLgtTbl(name);
    for (int i = 0; i < 2; i++) {
        lgt* l = NewLgt(i == 0 ? "spot" : "点光源");
        AtchLgt(t, l);
        FillLgt(g, l);
    }
    t->curIdx = 1;
    t->active = 1;
    return t;
}

srf* MkSrf(Gen& g, prt* p, const char* name) {
    srf* s = NewSrf(name);
    AtchSrfPrt(p, s);
    FillNode(g, *s);
    const int nv = 6;
    s->nv = nv;
    s->v = static_cast<float*>(AlcMem(3 * nv * 4, "srf->v"));
    s->nrm = static_cast<float*>(AlcMem(3 * nv * 4, "srf->n"));
    s->v3 = static_cast<float*>(AlcMem(3 * nv * 4, "srf->v3"));
    g.Fs(s->v, 3 * nv);
    g.Fs(s->nrm, 3 * nv);
    g.Fs(s->v3, 3 * nv);
    s->nvc = 2;
    s->vc = static_cast<float*>(AlcMem(6 * 4, "srf->vc"));
    g.Fs(s->vc, 6);
    s->nce = 3;
    s->ce = static_cast<int32_t*>(AlcMem(3 * 4, "srf->ce"));
    for (int i = 0; i < 3; i++) s->ce[i] = g.I();
    pgn* grid = NewPgn(s);
    grid->n = 6;
    grid->vtx_id = static_cast<int32_t*>(AlcMem(6 * 4, "vtx_id"));
    for (int i = 0; i < 6; i++) grid->vtx_id[i] = i;
    grid->rows = 2;
    grid->cols = 3;
    grid->type = PgnGrd;
    pgn* tri = NewPgn(s);
    tri->n = 3;
    tri->vtx_id = static_cast<int32_t*>(AlcMem(3 * 4, "vtx_id"));
    tri->vtx_id[0] = 5;
    tri->vtx_id[1] = 0;
    tri->vtx_id[2] = 3;
    tri->type = PgnTri;
    prj* j = NewPrj(s);
    j->n = nv;
    j->uv = static_cast<float*>(AlcMem(2 * nv * 4, "prj:uv"));
    g.Fs(j->uv, 2 * nv);
    for (auto& row : j->mtx) g.Ds(row, 4);
    g.Ds(j->v1, 3);
    g.Ds(j->v2, 3);
    j->iv = g.I();
    for (uint32_t& w : j->raw) w = static_cast<uint32_t>(g.I());
    j->type = 4;
    j->b2 = g.B();
    s->mtlIdx = 1;
    s->mtlIdx2 = g.I();
    s->b1 = g.B();
    s->dspFlg = SrfFlgTrn;
    return s;
}

crv* MkCrv(Gen& g, prt* p, const char* name, int n) {
    crv* c = NewCrvObj(name);
    AtchCrvPrt(p, c);
    for (int i = 0; i < n; i++) AddCrvPnt(c, g.F(), g.F(), 1500.0f);
    FillNode(g, *c);
    g.Fs(c->col, 3);
    c->b1 = g.B();
    c->vis = 0;
    c->b3 = g.B();
    return c;
}

prt* MkPrt(Gen& g, const char* name) {
    prt* p = NewPrt(name);
    FillNode(g, *p);
    p->id = g.I();
    p->val = g.I();
    p->b1 = g.B();
    p->b2 = g.B();
    return p;
}

lnk* MkLnk(Gen& g, const char* name) {
    lnk* l = NewLnk(name);
    FillNode(g, *l);
    l->id = g.I();
    l->val = g.I();
    for (double* v : {l->sclMin, l->sclMax, l->rotMin, l->rotMax, l->trnMin, l->trnMax})
        for (int i = 0; i < 3; i++) v[i] = g.F();
    for (uint8_t& b : l->b) b = g.B();
    return l;
}

// A scene in which every record kind appears and every stored field differs from its default.
void BuildRichScene() {
    Gen g;
    // A stage with everything a stage holds.
    stg* st = NewStg("ステージ");
    AtchStgGlb(st);
    FillNode(g, *st);
    cam* sc = NewCam("stage cam");
    AtchCamStg(st, sc);
    FillView(g, sc->view);
    sc->anm = MkAnm(g, OK_CAM, 2);
    AtchLgtTblStg(st, MkLgtTbl(g, "stage lights"));
    st->curLgtTbl = 0;
    AtchMtlTblStg(st, MkMtlTbl(g, "stage mtls"));
    st->mtlIdx2 = g.I();
    prt* sp = MkPrt(g, "stage part");
    AtchPrtStg(st, sp);
    prt* sub = MkPrt(g, "sub");
    AtchPrtPrt(sp, sub);
    MkSrf(g, sub, "mesh");
    MkCrv(g, sub, "c", 4);
    lnk* sl = MkLnk(g, "stage link");
    AtchLnkStg(st, sl);
    prt* lp = MkPrt(g, "linked");
    AtchPrtLnk(sl, lp);
    lnk* pl = MkLnk(g, "part link");
    AtchLnkPrt(sp, pl);
    pl->anm = MkAnm(g, OK_LNK, 1);
    sub->ref = lp;  // a part reference, stored as a path
    sub->anm = MkAnm(g, OK_PRT, 3);
    st->active = 1;

    // The terrain product: its fields, a second material table, surfaces and curves.
    prd* d = TrnPrd;
    FillNode(g, *d);
    d->anm = MkAnm(g, OK_PRD, 9);
    d->anmFlg = 1;
    d->mtlIdx2 = g.I();
    AtchMtlTblPrd(d, MkMtlTbl(g, "予備"));
    FillMtl(g, d->mtlTbls.a[0]->mtls.a[2]);
    prt* tp = TrnPrt;
    FillNode(g, *tp);
    MkCrv(g, tp, "等高線1", 5);
    MkCrv(g, tp, "等高線2", 1);
    MkSrf(g, tp, "地形");
    lnk* dl = MkLnk(g, "product link");
    AtchLnkPrd(d, dl);

    // A second product, inactive.
    prd* d2 = NewPrd("other");
    AtchPrdGlb(d2);
    FillNode(g, *d2);
    d2->active = 0;

    // Cameras and lights of the global tables.
    FillView(g, CurCamObj->view);
    CurCamObj->view.CurCam = 1;
    CurCamObj->cur = 1;
    cam* c2 = NewCam("second");
    AtchCamGlb(c2);
    FillView(g, c2->view);
    c2->view.CurCam = 0;
    FillLgt(g, LgtTblTbl.a[0]->lgts.a[0]);
    AtchLgtTblGlb(MkLgtTbl(g, "more lights"));

    // Settings, animation output and the stored cameras.
    DocPrmRec& p = DocPrm;
    for (int32_t& v : p.rndPrm) v = g.I();
    for (uint8_t& v : p.rndSw) v = g.B();
    p.fogOn = 1;
    p.fogDns = g.F();
    p.fogBgn = g.F();
    p.fogEnd = g.F();
    g.Fs(p.fogCol, 3);
    g.Ds(p.dspFct, 2);
    for (uint8_t& v : p.rndSw2) v = g.B();
    for (int32_t& v : p.rndPrm2) v = g.I();
    for (uint8_t& v : p.rndSw3) v = g.B();
    p.bgImg = static_cast<BgImgRec*>(AlcMem(2 * sizeof(BgImgRec), "bgImg"));
    p.nBgImg = 2;
    for (int i = 0; i < 2; i++) {
        p.bgImg[i].name = DupNam(i ? "背景.jpg" : "/data/bg.tif");
        for (int32_t& v : p.bgImg[i].val) v = g.I();
        for (uint8_t& v : p.bgImg[i].byt) v = g.B();
    }
    p.grdOn = 1;
    for (int i = 0; i < 3; i++) {
        p.grdCol1[i] = g.I();
        p.grdCol2[i] = g.I();
    }
    g.Ds(p.viewPos, 3);
    g.Ds(p.viewVal, 2);
    AnmOut = AnmOutRec{120, 7, g.I(), g.I(), g.D(), g.I(), g.I()};
    FillView(g, Cam2D->view);
    FillView(g, Cam3D->view);
    FreeAnm(Cam3D->anm);  // the stored camera outlives a document: an earlier open may have set it
    Cam3D->anm = MkAnm(g, OK_CAM, 1);
    ViewDim = 1;
    SceneBox = BBox{{-1, -2, -3}, {4, 5, 6}};
    UdtPrmMtl();  // material base indexes follow the tables
    SrfMtl(sub->srfs.a[0]);
    SrfMtl(tp->srfs.a[0]);
}

}  // namespace

// Every field of every record kind survives a save and an open.
TEST_F(ScnTest, RoundTripKeepsEveryField) {
    BuildRichScene();
    ASSERT_EQ(DocSaveAs(Path("rich")), DocDone);
    // Taken after the save, which keeps each map list's current index below its count.
    const std::string before = DescribeScene();
    EXPECT_EQ(Doc.title, Path("rich.scn"));
    EXPECT_EQ(ModFlg, 0);
    DocNew();
    ASSERT_EQ(DocOpen(Path("rich.scn")), DocDone);
    EXPECT_EQ(ScnRdSt, ScnRdOk);
    const std::string after = DescribeScene();
    EXPECT_EQ(before, after);
    EXPECT_EQ(ModFlg, 0);
    EXPECT_TRUE(Plt().boxes.empty()) << Plt().boxes[0].text;
    // The part reference was resolved to the part of the stored path.
    ASSERT_EQ(StgTbl.n, 1);
    prt* sub = StgTbl.a[0]->prts.a[0]->prts.a[0];
    EXPECT_EQ(sub->ref, StgTbl.a[0]->lnks.a[0]->prts.a[0]);
    EXPECT_EQ(CurLgtObj, LgtTblTbl.a[0]->lgts.a[0]);
    // Saving the opened document again gives the same bytes.
    ASSERT_EQ(WrScn(Path("again.scn").c_str()), 0);
    EXPECT_EQ(ReadBytes(Path("rich.scn")), ReadBytes(Path("again.scn")));
}

// The first 32 bytes: magic, release numbers, extension, version and the start-up date.
TEST_F(ScnTest, HeaderBytes) {
    ASSERT_EQ(WrScn(Path("h.scn").c_str()), 0);
    std::vector<uint8_t> b = ReadBytes(Path("h.scn"));
    ASSERT_GE(b.size(), 32u);
    const char magic[20] = "Orvane|Altimetra";
    EXPECT_EQ(std::memcmp(b.data(), magic, 20), 0);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 20, b.begin() + 32),
              (std::vector<uint8_t>{1, 1, 1, 's', 'c', 'n', 0, 0, 110, DateByt[0], DateByt[1], DateByt[2]}));
    // The origin stamp follows, substituted, not in plain text.
    EXPECT_EQ(Find(b, {'O', 'R', 'V', 'A', 'N', 'E'}), -1);
    std::string st = ScrStamp("ORVANEALTIMETRA111");
    EXPECT_EQ(Find(b, std::vector<uint8_t>(st.begin(), st.end())), 36);
    EXPECT_EQ(UnscrStamp(st), "ORVANEALTIMETRA111");
}

// The substitution table is a permutation of the 26 letters and 10 digits.
TEST_F(ScnTest, StampTableIsAPermutation) {
    std::string all;
    for (char c = '0'; c <= '9'; c++) all += c;
    for (char c = 'A'; c <= 'Z'; c++) all += c;
    std::string s = ScrStamp(all);
    std::string sorted = s;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, "0123456789abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(UnscrStamp(s), all);
    EXPECT_EQ(ScrStamp("a-b_"), "a-b_");
}

// A new terrain document: 0 stages, the terrain product, one camera and one light table, then the
// settings, the stored cameras and the view dimension as the last byte.
TEST_F(ScnTest, EmptyTerrainDocumentStructure) {
    ASSERT_EQ(WrScn(Path("e.scn").c_str()), 0);
    std::vector<uint8_t> b = ReadBytes(Path("e.scn"));
    const size_t stampEnd = 32 + 4 + 19;
    ASSERT_GT(b.size(), stampEnd + 20);
    // Stage count 0, product count 1, then the product named 地形 (4 bytes in code page 932).
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + long(stampEnd), b.begin() + long(stampEnd) + 17),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 5, 0x92, 0x6E, 0x8C, 0x60, 0}));
    EXPECT_EQ(b.back(), 0);  // ViewDim: 2D
    // "2Dカメラ" and "3Dカメラ" in code page 932 near the end.
    std::vector<uint8_t> cam2 = {0, 0, 0, 9, '2', 'D', 0x83, 0x4A, 0x83, 0x81, 0x83, 0x89, 0};
    long at2 = Find(b, cam2);
    ASSERT_GT(at2, 0);
    cam2[4] = '3';
    EXPECT_GT(Find(b, cam2), at2);
    DocNew();
    ASSERT_EQ(DocOpen(Path("e.scn")), DocDone);
    EXPECT_EQ(StgTbl.n, 0);
    ASSERT_EQ(PrdTbl.n, 1);
    EXPECT_STREQ(PrdTbl.a[0]->name, "地形");
    ASSERT_EQ(PrdTbl.a[0]->mtlTbls.n, 1);
    EXPECT_EQ(PrdTbl.a[0]->mtlTbls.a[0]->mtls.n, 7);
    ASSERT_EQ(PrdTbl.a[0]->prts.n, 1);
    const prt* p = PrdTbl.a[0]->prts.a[0];
    EXPECT_EQ(p->prts.n + p->lnks.n + p->srfs.n + p->crvs.n, 0);
    ASSERT_EQ(CamTbl.n, 1);
    EXPECT_STREQ(CamTbl.a[0]->name, "Default");
    ASSERT_EQ(LgtTblTbl.n, 1);
    EXPECT_STREQ(LgtTblTbl.a[0]->name, "Default");
    EXPECT_STREQ(Cam2D->name, "2Dカメラ");
    EXPECT_STREQ(Cam3D->name, "3Dカメラ");
}

// 258 is 00 00 01 02 in the big-endian records and 02 01 00 00 in an animation block; 1.0f is
// 3F 80 00 00.
TEST_F(ScnTest, ByteOrders) {
    crv* c = NewCrvObj("C258");
    AtchCrvPrt(TrnPrt, c);
    for (int i = 0; i < 258; i++) AddCrvPnt(c, float(i), 0, 0);
    prm_anm* a = NewAnm(OK_PRT);
    FreeMem(a->name);
    a->name = DupNam("A");
    a->ch = static_cast<AnmCh*>(AlcMem(258 * static_cast<long long>(sizeof(AnmCh)), "anm_ch"));
    for (int i = 0; i < 258; i++) a->ch[i] = AnmCh{};
    a->nch = 258;
    TrnPrt->anm = a;
    ASSERT_EQ(WrScn(Path("o.scn").c_str()), 0);
    std::vector<uint8_t> b = ReadBytes(Path("o.scn"));
    long at = Find(b, {0, 0, 0, 5, 'C', '2', '5', '8', 0});
    ASSERT_GT(at, 0);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + at + 9, b.begin() + at + 13), (std::vector<uint8_t>{0, 0, 1, 2}));
    // Points, then the three curve values of 1.0.
    long vals = at + 13 + 258 * 12;
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + vals, b.begin() + vals + 4), (std::vector<uint8_t>{0x3F, 0x80, 0, 0}));
    EXPECT_GT(Find(b, {2, 0, 0, 0, 'A', 0, 2, 1, 0, 0}), 0);
    DocNew();
    ASSERT_EQ(DocOpen(Path("o.scn")), DocDone);
    ASSERT_EQ(TrnPrt->crvs.n, 1);
    EXPECT_EQ(TrnPrt->crvs.a[0]->n, 258);
    ASSERT_NE(TrnPrt->anm, nullptr);
    EXPECT_EQ(TrnPrt->anm->nch, 258);
}

// Maps not in use are not written; the current index is clamped to the maps written.
TEST_F(ScnTest, MapCountsAndClampedIndex) {
    mtl* m = TrnPrd->mtlTbls.a[0]->mtls.a[0];
    for (int i = 0; i < 3; i++) {
        txt_map* t = NewMap(i == 1 ? "unused" : "used");
        AtchMap(m, MAP_TXT, t);
        t->last = i == 1 ? 0xFF : 0;
    }
    m->txtCur = 2;
    ASSERT_EQ(WrScn(Path("m.scn").c_str()), 0);
    EXPECT_EQ(m->txtCur, 1);
    std::vector<uint8_t> b = ReadBytes(Path("m.scn"));
    // Count 2, current 1, then the first map's name.
    EXPECT_GT(Find(b, {0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 5, 'u', 's', 'e', 'd', 0}), 0);
    EXPECT_EQ(Find(b, {'u', 'n', 'u', 's', 'e', 'd'}), -1);
    DocNew();
    ASSERT_EQ(DocOpen(Path("m.scn")), DocDone);
    mtl* r = TrnPrd->mtlTbls.a[0]->mtls.a[0];
    EXPECT_EQ(r->txtMap.n, 2);
    EXPECT_EQ(r->txtCur, 1);
}

namespace {
const std::string SjTrn = "\x92\x6E\x8C\x60";  // 地形

void Xfm(Be& w) {
    for (int i = 0; i < 12; i++) w.F64(i < 3 ? 1.0 : 0.0);
    w.U8(0);
}
void NodeTail(Be& w) {
    Xfm(w);
    w.U8(0);  // no matrix
    for (int i = 0; i < 6; i++) w.F32(99.0f);
}
void Mtl105(Be& w, const std::string& name, float fltR) {
    w.Name(name);
    for (int i = 0; i < 12; i++) w.F32(0.5f);
    w.F32(50);
    w.F32(0.2f);
    w.F32(0);
    for (int i = 0; i < 3; i++) w.F32(0);
    w.F32(fltR);
    w.F32(1);
    w.F32(1);
    w.F32(1.5f);  // refraction (no opacity before version 107)
    w.F32(0);
    w.F32(0);
    for (int i = 0; i < 5; i++) {
        w.I32(0);
        w.I32(0);
    }
    for (int i = 0; i < 9; i++) w.U8(0);
    w.U8(0);
}
void Cam105(Be& w, const std::string& name) {
    w.Name(name);
    for (int i = 0; i < 19; i++) w.F64(i == 12 || i == 13 ? 1000.0 : i == 14 ? 20000.0 : 0.0);
    w.I32(0);
    w.F32(0.5f);
    w.I32(0);
    w.U8(0);  // no animation
    for (int i = 0; i < 7; i++) w.U8(i == 2 ? 1 : i == 5 ? 1 : 0);
}
void Settings(Be& w, int ver) {
    for (int i = 0; i < 4; i++) w.I32(0);
    w.Zeros(8);
    for (int i = 0; i < 6; i++) w.F32(1);
    w.F64(1);
    w.F64(1);
    w.Zeros(2);
    for (int i = 0; i < 6; i++) w.I32(0);
    w.Zeros(2);
    w.I32(0);  // no background images
    w.U8(0);
    for (int i = 0; i < 6; i++) w.I32(0);
    if (ver >= 104)
        for (int i = 0; i < 5; i++) w.F64(0);
}
}  // namespace

// A version-105 document: no colour arrays, opacity from the filter colour, the light target from
// its direction, the surface box from its vertices, the current frame clamped.
TEST_F(ScnTest, ReadsVersion105Document) {
    Be w;
    const char magic[20] = "Orvane|Altimetra";
    w.Raw(magic, 20);
    w.Raw("\x01\x01\x01scn\0\0", 8);
    w.U8(105);
    w.Raw("\x67\x05\x01", 3);
    w.I32(0);  // stages
    w.I32(1);  // products
    w.Name(SjTrn);
    w.I32(0);
    w.I32(1);
    w.I32(0);
    w.Name(SjTrn);
    w.I32(2);
    w.I32(0);
    Mtl105(w, "white", 1.0f);
    Mtl105(w, "tinted", 0.5f);
    w.U8(1);
    w.I32(1);  // parts
    w.Name(SjTrn);
    w.I32(-1);
    w.I32(-1);
    w.I32(0);
    w.I32(0);
    w.I32(1);  // the terrain surface
    w.Name(SjTrn);
    w.I32(0);
    w.I32(0);
    w.I32(1);
    w.I32(4);
    for (int i = 0; i < 4; i++) w.I32(i);
    w.I16(2);
    w.I16(2);
    w.U8(5);
    w.I32(4);
    const float xs[4] = {0, 5000, 0, 5000}, ys[4] = {0, 0, 5000, 5000}, zs[4] = {10, 20, 30, 40};
    for (int i = 0; i < 4; i++) {
        w.F32(xs[i]);
        w.F32(ys[i]);
        w.F32(zs[i]);
    }
    for (int i = 0; i < 4; i++) {
        w.F32(0);
        w.F32(0);
        w.F32(1);
    }
    w.U8(0);  // no third array; no colour arrays before version 106
    w.U8(0);  // no projections
    NodeTail(w);
    w.U8(1);
    w.U8(3);
    w.I32(0);  // curves
    NodeTail(w);
    w.U8(0);   // no reference
    w.U8(0);   // no animation
    w.U8(1);
    w.U8(0);
    w.I32(0);  // product links
    NodeTail(w);
    w.U8(0);
    w.U8(1);
    w.I32(1);  // cameras
    Cam105(w, "Default");
    w.I32(1);  // light tables
    w.I32(0);
    w.Name("Default");
    w.I32(1);
    w.I32(0);
    w.Name("L");
    const float pos[3] = {100, 200, 300}, dir[3] = {0, 0.6f, 0.8f};
    for (float v : pos) w.F32(v);
    for (int i = 0; i < 3; i++) w.F32(0);
    for (float v : dir) w.F32(v);
    for (int i = 0; i < 3; i++) w.F32(1);
    for (int i = 0; i < 6; i++) w.F32(1);
    for (int i = 0; i < 16; i++) w.F32(0);
    for (int i = 0; i < 4; i++) w.F32(1);
    w.Raw("\x01\x00\x01\x00\x01", 5);
    w.U8(1);
    for (int i = 0; i < 6; i++) w.F32(0);  // scene box
    Settings(w, 105);
    w.I32(10);
    w.I32(50);  // current frame beyond the count
    w.I32(0);
    w.I32(0);
    w.F64(0);
    w.I32(0);
    w.I32(0);
    WriteBytes(Path("v105.scn"), w.b);

    ASSERT_EQ(DocOpen(Path("v105.scn")), DocDone);
    EXPECT_EQ(ScnRdSt, ScnRdOk);
    ASSERT_NE(TrnSrf, nullptr);
    EXPECT_EQ(TrnSrf->nvc, 0);
    EXPECT_EQ(TrnSrf->nce, 0);
    EXPECT_EQ(TrnSrf->vc, nullptr);
    ASSERT_NE(TrnGrd, nullptr);
    EXPECT_EQ(TrnGrd->rows, 2);
    EXPECT_FLOAT_EQ(TrnSrf->box.min[2], 10);
    EXPECT_FLOAT_EQ(TrnSrf->box.max[0], 5000);
    EXPECT_FLOAT_EQ(TrnSrf->box.max[2], 40);
    const mtl_tbl* t = TrnPrd->mtlTbls.a[0];
    EXPECT_FLOAT_EQ(t->mtls.a[0]->opac, 1.0f);
    EXPECT_FLOAT_EQ(t->mtls.a[1]->opac, 0.001f);
    const LgtRec& r = LgtTblTbl.a[0]->lgts.a[0]->r;
    EXPECT_FLOAT_EQ(r.tgt[0], 100);
    EXPECT_FLOAT_EQ(r.tgt[1], 200 - 0.6f * 1500);
    EXPECT_FLOAT_EQ(r.tgt[2], 300 - 0.8f * 1500);
    EXPECT_EQ(AnmOut.frmCnt, 10);
    EXPECT_EQ(AnmOut.curFrm, 9);
    EXPECT_EQ(CurCamObj, CamTbl.a[0]);
    EXPECT_EQ(Doc.title, Path("v105.scn"));
}

// The old 12-byte "Pixalune" magic (version 100): no stamp, no animation flags, no stored cameras;
// a document without a marked camera still gets a current camera.
TEST_F(ScnTest, ReadsOldPixaluneDocument) {
    Be w;
    w.Raw("Pixalune\0\0\0\0", 12);
    w.Raw("\x01\x01\x01scn\0\0", 8);
    w.U8(100);
    w.Raw("\x60\x01\x01", 3);
    w.I32(0);
    w.I32(1);
    w.Name("P");
    w.I32(0);
    w.I32(0);
    w.I32(0);
    w.I32(1);
    w.Name("Q");
    w.I32(-1);
    w.I32(-1);
    for (int i = 0; i < 4; i++) w.I32(0);
    NodeTail(w);
    w.U8(0);  // no reference; no animation flag before version 103
    w.U8(1);
    w.U8(0);
    w.I32(0);
    NodeTail(w);
    w.U8(1);
    w.I32(0);  // cameras
    w.I32(0);  // light tables
    w.I32(0);
    for (int i = 0; i < 6; i++) w.F32(0);
    Settings(w, 100);
    WriteBytes(Path("old.scn"), w.b);
    ASSERT_EQ(DocOpen(Path("old.scn")), DocDone);
    EXPECT_EQ(ScnRdSt, ScnRdOk);
    EXPECT_STREQ(TrnPrd->name, "P");
    EXPECT_STREQ(TrnPrt->name, "Q");
    ASSERT_NE(CurCamObj, nullptr);
    EXPECT_EQ(CamTbl.n, 1);
    EXPECT_TRUE(Plt().boxes.empty());
}

// Opening a .scn file that begins with other text shows error 199 and leaves the new-document
// scene (not an empty one without camera).
TEST_F(ScnTest, WrongMagic) {
    crv* c = NewCrvObj("keep?");
    AtchCrvPrt(TrnPrt, c);
    WriteBytes(Path("text.scn"), std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n',
                                                     'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k'});
    EXPECT_EQ(DocOpen(Path("text.scn")), DocFailed);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 199);
    EXPECT_EQ(Plt().boxes[0].text, "ファイル形式がPixaluneのシーンフォーマットではありません。");
    ExpectUsableScene();
    EXPECT_EQ(TrnPrt->crvs.n, 0);
    EXPECT_EQ(Doc.title, "無題");
    // A file shorter than a magic is judged on what it has.
    WriteBytes(Path("short.scn"), std::vector<uint8_t>{'x', 'y'});
    Plt().Clear();
    DocOpen(Path("short.scn"));
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].text, "ファイル形式がPixaluneのシーンフォーマットではありません。");
}

// A document saved in 3D opens in 3D; one saved in 2D recomputes the 2D window from the current
// camera and the present window size.
TEST_F(ScnTest, ReopensIn3DAnd2D) {
    ASSERT_EQ(SwDim(1), 1);
    ASSERT_EQ(DocSaveAs(Path("three")), DocDone);
    DocNew();
    EXPECT_EQ(ViewDim, 0);
    ASSERT_EQ(DocOpen(Path("three.scn")), DocDone);
    EXPECT_EQ(ViewDim, 1);
    EXPECT_EQ(CurCamObj->view.UpAxis, UpZ);

    DocNew();
    CurCamObj->view.EyePos[0] = 1000;
    CurCamObj->view.EyePos[1] = -500;
    CurCamObj->view.ScrWid = 4000;
    ASSERT_EQ(DocSaveAs(Path("two.scn")), DocDone);
    DocNew();
    ViewWin[0].W = 400;
    ViewWin[0].H = 300;
    ASSERT_EQ(DocOpen(Path("two.scn")), DocDone);
    EXPECT_EQ(ViewDim, 0);
    EXPECT_DOUBLE_EQ(Wnd2D[0], -1000);
    EXPECT_DOUBLE_EQ(Wnd2D[2], 3000);
    EXPECT_DOUBLE_EQ(Wnd2D[1], -500 - 1500);
    EXPECT_DOUBLE_EQ(Wnd2D[3], -500 + 1500);
}

// Names outside code page 932 are saved with a stand-in and the user is told once per file; bytes
// that are not code page 932 are read as a stand-in, told once.
TEST_F(ScnTest, UnconvertibleNames) {
    for (const char* n : {"a😀", "b😀"}) {
        crv* c = NewCrvObj(n);
        AtchCrvPrt(TrnPrt, c);
        AddCrvPnt(c, 1, 2, 3);
    }
    ASSERT_EQ(DocSaveAs(Path("names.scn")), DocDone);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 297);
    Plt().Clear();
    DocNew();
    ASSERT_EQ(DocOpen(Path("names.scn")), DocDone);
    EXPECT_TRUE(Plt().boxes.empty());
    ASSERT_EQ(TrnPrt->crvs.n, 2);
    EXPECT_STREQ(TrnPrt->crvs.a[0]->name, "a?");

    std::vector<uint8_t> b = ReadBytes(Path("names.scn"));
    for (const char* n : {"a?", "b?"}) {
        long at = Find(b, {uint8_t(n[0]), '?', 0});
        ASSERT_GT(at, 0);
        b[size_t(at) + 1] = 0x85;  // a lead byte with nothing valid after it
        b[size_t(at) + 2] = 0;
    }
    // The zero byte moved one place: keep the stored length by ending the text early.
    WriteBytes(Path("bad-names.scn"), b);
    Plt().Clear();
    DocNew();
    DocOpen(Path("bad-names.scn"));
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 297);
    EXPECT_TRUE(IsUtf8(TrnPrt->crvs.a[0]->name));
}

// The codec reports to the feedback it is given, and not to the window: one begin and one end
// around the writing pass and around the read, rising progress to the whole, never a question.
// A read that stops at a foreign file still ends; a write that cannot start never begins.
TEST_F(ScnTest, GivenFeedbackHearsWriteAndReadProgress) {
    BuildRichScene();
    Plt().Clear();
    RecFb wr;
    ASSERT_EQ(ScnWrite(Path("fb.scn").c_str(), 1, wr.Fb()), 0);
    EXPECT_EQ(wr.begins, 1);
    EXPECT_EQ(wr.ends, 1);
    EXPECT_EQ(wr.asks, 0);
    EXPECT_GT(wr.pct.size(), 1u);
    EXPECT_TRUE(wr.Rising());
    EXPECT_EQ(wr.Last(), 100);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_CRE), 0);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DSP), 0);

    DocNew();
    Plt().Clear();
    RecFb rd;
    uint8_t dim = 0;
    ASSERT_EQ(ScnRead(Path("fb.scn").c_str(), &dim, rd.Fb()), 0);
    EXPECT_EQ(ScnRdSt, ScnRdOk);
    EXPECT_EQ(dim, 1);
    EXPECT_EQ(rd.begins, 1);
    EXPECT_EQ(rd.ends, 1);
    EXPECT_EQ(rd.asks, 0);
    EXPECT_GT(rd.pct.size(), 1u);
    EXPECT_TRUE(rd.Rising());
    EXPECT_GE(rd.Last(), 99);  // the last record's end
    EXPECT_EQ(Plt().CountNotify(ID_PRG_CRE), 0);
    DocNew();

    WriteBytes(Path("foreign.scn"), std::vector<uint8_t>(64, 'x'));
    RecFb bad;
    EXPECT_EQ(ScnRead(Path("foreign.scn").c_str(), &dim, bad.Fb()), 0);
    EXPECT_EQ(ScnRdSt, ScnRdBadMagic);
    EXPECT_EQ(bad.begins, 1);
    EXPECT_EQ(bad.ends, 1);
    DocNew();

    RecFb none;
    EXPECT_EQ(ScnWrite(Path("no-such-folder/x.scn").c_str(), 1, none.Fb()), -1);
    EXPECT_EQ(none.begins, 0);
    EXPECT_EQ(none.ends, 0);
}
