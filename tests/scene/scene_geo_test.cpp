#include <cstring>
#include "core/alc.h"
#include "display/lgt.h"
#include "scene/scene.h"
#include "scene_fixture.h"

using SceneGeometry = SceneTest;

TEST_F(SceneGeometry, PointsExtendTheBoxAndTheLastDeletionDropsTheArray) {
    crv* c = NewCrvObj("c");
    AtchCrvPrt(TrnPrt, c);
    AddCrvPnt(c, 10, -5, 7);
    AddCrvPnt(c, -3, 20, 9);
    AddCrvPnt(c, 4, 4, 8);
    ASSERT_EQ(c->n, 3);
    EXPECT_EQ(c->box.min[0], -3);
    EXPECT_EQ(c->box.max[0], 10);
    EXPECT_EQ(c->box.min[1], -5);
    EXPECT_EQ(c->box.max[1], 20);
    EXPECT_EQ(c->box.min[2], 0);  // z is only taken by a full update
    EXPECT_EQ(c->box.max[2], 0);

    DelCrvPnt(c, 0);
    ASSERT_EQ(c->n, 2);
    EXPECT_EQ(c->p[0], -3);
    EXPECT_EQ(c->p[3], 4);
    EXPECT_EQ(c->box.max[0], 4);  // the box follows the points that are left
    EXPECT_EQ(c->box.min[1], 4);
    DelCrvPnt(c, 5);             // out of range: nothing
    DelCrvPnt(c, -1);
    EXPECT_EQ(c->n, 2);
    DelCrvPnt(c, 1);
    DelCrvPnt(c, 0);
    EXPECT_EQ(c->n, 0);
    EXPECT_EQ(c->p, nullptr);
    EXPECT_TRUE(IsEmptyBox(c->box));
    AddCrvPnt(c, 1, 2, 3);  // and it grows again from nothing
    EXPECT_EQ(c->n, 1);
    EXPECT_EQ(c->box.min[0], 1);
}

TEST_F(SceneGeometry, BoxUpdateTakesEachChildThroughItsTransform) {
    crv* c = NewCrvObj("c");
    AtchCrvPrt(TrnPrt, c);
    AddCrvPnt(c, 0, 0, 1);
    AddCrvPnt(c, 10, 20, 2);
    // The part sits in the product shifted by (100, 0, 0) and doubled in size.
    for (int i = 0; i < 3; i++) TrnPrt->mtx[i][i] = 2.0;
    TrnPrt->mtx[3][0] = 100.0;
    UdtBox(c, OK_CRV);
    EXPECT_EQ(c->box.min[2], 1);
    EXPECT_EQ(c->box.max[2], 2);
    EXPECT_EQ(TrnPrt->box.min[0], 0);  // the part's own box: its children as they stand in it
    EXPECT_EQ(TrnPrt->box.max[1], 20);
    EXPECT_EQ(TrnPrd->box.min[0], 100);
    EXPECT_EQ(TrnPrd->box.max[0], 120);
    EXPECT_EQ(TrnPrd->box.max[1], 40);
    EXPECT_EQ(TrnPrd->box.max[2], 4);
    EXPECT_EQ(SceneBox.min[0], 100);
    EXPECT_EQ(SceneBox.max[1], 40);

    // A second product adds to the scene box; an empty part adds nothing.
    prd* d = NewPrd("other");
    AtchPrdGlb(d);
    prt* q = NewPrt("q");
    AtchPrtPrd(d, q);
    srf* s = NewSrf("s");
    AtchSrfPrt(q, s);
    static float v[6] = {-50, -60, -70, -40, -30, -20};
    s->v = static_cast<float*>(AlcMem(sizeof v, "srf->v"));
    std::memcpy(s->v, v, sizeof v);
    s->nv = 2;
    AtchPrtPrd(d, NewPrt("empty"));
    UdtBox(s, OK_SRF);
    EXPECT_EQ(SceneBox.min[0], -50);
    EXPECT_EQ(SceneBox.min[2], -70);
    EXPECT_EQ(SceneBox.max[0], 120);
    EXPECT_EQ(d->box.max[0], -40);
}

TEST_F(SceneGeometry, SurfaceMaterialIndexBeyondTheTableTakesTheLast) {
    srf* s = NewSrf("s");
    AtchSrfPrt(TrnPrt, s);
    mtl_tbl* t = TrnPrd->mtlTbls.a[0];
    ASSERT_EQ(t->mtls.n, 7);
    s->mtlIdx = 9;
    EXPECT_EQ(SrfMtl(s), t->mtls.a[6]);
    EXPECT_EQ(s->mtlPtr, t->mtls.a[6]);
    s->mtlIdx = 7;
    EXPECT_EQ(SrfMtl(s), t->mtls.a[6]);
    s->mtlIdx = 1;
    EXPECT_STREQ(SrfMtl(s)->name, "赤");
    s->mtlIdx = -1;  // new surfaces have none
    EXPECT_EQ(SrfMtl(s), nullptr);

    // Through a link and a sub-part, the first active table decides.
    lnk* l = NewLnk("l");
    AtchLnkPrt(TrnPrt, l);
    prt* q = NewPrt("q");
    AtchPrtLnk(l, q);
    srf* s2 = NewSrf("s2");
    AtchSrfPrt(q, s2);
    s2->mtlIdx = 0;
    mtl_tbl* t2 = NewMtlTbl("second");
    AtchMtlTblPrd(TrnPrd, t2);
    AtchMtl(t2, NewMtl("only"));
    t2->active = 1;
    EXPECT_STREQ(SrfMtl(s2)->name, "地形");
    t->active = 0;
    EXPECT_STREQ(SrfMtl(s2)->name, "only");
    t2->active = 0;
    EXPECT_EQ(SrfMtl(s2), nullptr);
    // A loose surface has no material.
    srf* loose = NewSrf("loose");
    loose->mtlIdx = 0;
    EXPECT_EQ(SrfMtl(loose), nullptr);
    FreeSrf(loose, false);
}

TEST_F(SceneGeometry, FreeingAMaterialReresolvesSurfaces) {
    srf* s = NewSrf("s");
    AtchSrfPrt(TrnPrt, s);
    s->mtlIdx = 6;
    mtl_tbl* t = TrnPrd->mtlTbls.a[0];
    ASSERT_EQ(SrfMtl(s), t->mtls.a[6]);
    FreeMtl(t->mtls.a[6], true);
    EXPECT_EQ(NumMtl, 6);
    EXPECT_EQ(s->mtlPtr, t->mtls.a[5]);
}

TEST_F(SceneGeometry, InactiveStagesGiveNoMaterialsAndNoLights) {
    // Stages come before products in the flat tables.
    stg* on = NewStg("on");
    AtchStgGlb(on);
    stg* off = NewStg("off");
    AtchStgGlb(off);
    for (stg* s : {on, off}) {
        mtl_tbl* mt = NewMtlTbl("m");
        AtchMtlTblStg(s, mt);
        AtchMtl(mt, NewMtl("a"));
        AtchMtl(mt, NewMtl("b"));
        mt->active = 1;
        mtl_tbl* idle = NewMtlTbl("idle");  // inactive table: no materials either
        AtchMtlTblStg(s, idle);
        AtchMtl(idle, NewMtl("x"));
        lgt_tbl* lt = NewLgtTbl("l");
        AtchLgtTblStg(s, lt);
        AtchLgt(lt, NewLgt("s1"));
        lgt* dark = NewLgt("dark");
        dark->r.on = 0;
        AtchLgt(lt, dark);
        lt->active = 1;
    }
    off->active = 0;

    UdtPrmMtl();
    ASSERT_EQ(NumMtl, 2 + 7);
    EXPECT_EQ(PrmMtl[0], on->mtlTbls.a[0]->mtls.a[0]);
    EXPECT_EQ(PrmMtl[1], on->mtlTbls.a[0]->mtls.a[1]);
    EXPECT_STREQ(PrmMtl[2]->name, "地形");
    EXPECT_EQ(on->mtlBase, 0);
    EXPECT_EQ(TrnPrd->mtlBase, 2);

    ASSERT_EQ(UdtPrmLgt(), 0);
    ASSERT_EQ(NumLgt, 3);  // ambient, parallel1, the lit light of the active stage
    EXPECT_EQ(PrmLgt[0].kind, LgtAmb);
    EXPECT_STREQ(PrmLgt[1].name, "parallel1");
    EXPECT_STREQ(PrmLgt[2].name, "s1");
    EXPECT_EQ(on->lgtBase, 2);
    EXPECT_EQ(on->lgtTbls.a[0]->lgts.a[0]->r.prmIdx, 2);
    EXPECT_EQ(on->lgtTbls.a[0]->lgts.a[1]->r.prmIdx, -1);
    EXPECT_EQ(off->lgtTbls.a[0]->lgts.a[0]->r.prmIdx, -1);

    // Switched on, the second stage's light follows; switching the global table off drops parallel1.
    off->active = 1;
    LgtTblTbl.a[0]->active = 0;
    ASSERT_EQ(UdtPrmLgt(), 0);
    ASSERT_EQ(NumLgt, 3);
    EXPECT_STREQ(PrmLgt[1].name, "s1");
    EXPECT_EQ(PrmLgt[2].prmIdx, 2);
    EXPECT_EQ(off->lgtBase, 2);
    EXPECT_EQ(LgtTblTbl.a[0]->lgts.a[0]->r.prmIdx, -1);
}

TEST_F(SceneGeometry, LightTableGrowsBeyondItsCapacity) {
    int cap = PrmLgtCap;
    lgt_tbl* t = LgtTblTbl.a[0];
    int want = cap + 5;
    while (t->lgts.n + 1 < want) AtchLgt(t, NewLgt("more"));
    ASSERT_EQ(UdtPrmLgt(), 0);
    EXPECT_EQ(NumLgt, want);
    EXPECT_GE(PrmLgtCap, want);
    EXPECT_STREQ(PrmLgt[want - 1].name, "more");
    EXPECT_EQ(t->lgts.a[t->lgts.n - 1]->r.prmIdx, want - 1);
}
