#include <cmath>
#include <string>
#include "curves/crv.h"
#include "display/lgt.h"
#include "display/view.h"
#include "doc/doc.h"
#include "scene/scene.h"
#include "scene/scene_fixture.h"

using SceneStartUp = SceneTest;

TEST_F(SceneStartUp, StartUpSceneHoldsTheDefaultCameraAndLight) {
    IniScn();
    EXPECT_EQ(ModFlg, 0);
    EXPECT_EQ(StgTbl.n, 0);
    EXPECT_EQ(PrdTbl.n, 0);
    ASSERT_EQ(CamTbl.n, 1);
    cam* c = CamTbl.a[0];
    EXPECT_STREQ(c->name, "Default");
    EXPECT_EQ(c->ownKind, OK_GLB);
    EXPECT_EQ(CurCamObj, c);
    EXPECT_EQ(c->view.CurCam, 1);
    EXPECT_EQ(c->view.UpAxis, UpNone);
    EXPECT_EQ(c->view.FovFix, 1);

    ASSERT_EQ(LgtTblTbl.n, 1);
    lgt_tbl* t = LgtTblTbl.a[0];
    EXPECT_STREQ(t->name, "Default");
    EXPECT_EQ(t->active, 1);
    ASSERT_EQ(t->lgts.n, 1);
    const LgtRec& r = t->lgts.a[0]->r;
    EXPECT_STREQ(r.name, "parallel1");
    EXPECT_FLOAT_EQ(r.pos[1], 1500.0f);
    EXPECT_NEAR(r.ang[1], 54.7 * M_PI / 180, 1e-6);
    EXPECT_FLOAT_EQ(r.col[2], 1.0f);
    EXPECT_FLOAT_EQ(r.spotExp, 30.0f);
    EXPECT_NEAR(r.spotAng, M_PI / 2, 1e-6);
    EXPECT_FLOAT_EQ(r.rv7, 100.0f);
    EXPECT_FLOAT_EQ(r.rv8, 1.0f);
    EXPECT_EQ(r.rv9, 19);
    EXPECT_FLOAT_EQ(r.rv10, 0.25f);
    EXPECT_EQ(r.on, 1);

    EXPECT_EQ(AmbLgt.kind, LgtAmb);
    EXPECT_FLOAT_EQ(AmbLgt.col[0], 0.4f);
    EXPECT_FLOAT_EQ(AmbLgt.intens, 1.0f);
    EXPECT_EQ(AmbLgt.on, 1);
    EXPECT_EQ(AmbLgt.name, nullptr);
    EXPECT_EQ(CurObjKind, OK_GLB);
    EXPECT_EQ(CurObj, nullptr);
}

TEST_F(SceneStartUp, TerrainSceneContents) {
    ASSERT_EQ(PrdTbl.n, 1);
    prd* d = PrdTbl.a[0];
    EXPECT_EQ(TrnPrd, d);
    EXPECT_STREQ(d->name, "地形");
    EXPECT_EQ(d->active, 1);
    ASSERT_EQ(d->mtlTbls.n, 1);
    mtl_tbl* t = d->mtlTbls.a[0];
    EXPECT_STREQ(t->name, "地形");
    EXPECT_EQ(t->active, 1);
    struct { const char* name; float r, g, b; } want[] = {
        {"地形", 0, 0.5f, 0.25f}, {"赤", 1, 0, 0}, {"緑", 0, 1, 0}, {"青", 0, 0, 1},
        {"シアン", 1, 1, 0}, {"マジェンタ", 1, 0, 1}, {"黄色", 0, 1, 1},
    };
    ASSERT_EQ(t->mtls.n, 7);
    for (int i = 0; i < 7; i++) {
        mtl* m = t->mtls.a[i];
        EXPECT_STREQ(m->name, want[i].name);
        EXPECT_EQ(m->dif[0], want[i].r) << i;
        EXPECT_EQ(m->dif[1], want[i].g) << i;
        EXPECT_EQ(m->dif[2], want[i].b) << i;
        EXPECT_FLOAT_EQ(m->amb[0], 0.2f);
        EXPECT_FLOAT_EQ(m->spc[0], i == 0 ? 0.3f : 0.5f) << i;
        EXPECT_EQ(m->own, t);
        EXPECT_EQ(PrmMtl[i], m);
    }
    EXPECT_EQ(NumMtl, 7);
    EXPECT_EQ(d->mtlBase, 0);

    ASSERT_EQ(d->prts.n, 1);
    prt* p = d->prts.a[0];
    EXPECT_EQ(TrnPrt, p);
    EXPECT_EQ(CrvPart, p);
    EXPECT_STREQ(p->name, "地形");
    EXPECT_EQ(p->ownKind, OK_PRD);
    EXPECT_EQ(p->srfs.n, 0);
    EXPECT_EQ(p->crvs.n, 0);
    EXPECT_EQ(TrnSrf, nullptr);
    EXPECT_EQ(TrnGrd, nullptr);

    ASSERT_NE(Cam2D, nullptr);
    ASSERT_NE(Cam3D, nullptr);
    EXPECT_STREQ(Cam2D->name, "2Dカメラ");
    EXPECT_STREQ(Cam3D->name, "3Dカメラ");
    EXPECT_EQ(Cam2D->ownKind, 0);  // outside every table
    EXPECT_EQ(CamTbl.n, 1);
    // Both start as the plan view that the current camera shows; the 3D one keeps z up and clips
    // to the scene.
    const CamView& cur = CamTbl.a[0]->view;
    EXPECT_EQ(cur.PrjFlg, PrjPar);
    EXPECT_EQ(cur.ScrWid, 1e7);
    EXPECT_EQ(Cam2D->view.ScrWid, cur.ScrWid);
    EXPECT_EQ(Cam2D->view.PrjFlg, PrjPar);
    EXPECT_EQ(Cam2D->view.AutoClp, 0);
    EXPECT_EQ(Cam3D->view.ScrWid, cur.ScrWid);
    EXPECT_EQ(Cam3D->view.PrjFlg, PrjPar);
    EXPECT_EQ(Cam3D->view.UpAxis, UpZ);
    EXPECT_EQ(Cam3D->view.AutoClp, 1);
    EXPECT_EQ(ViewDim, 0);

    ASSERT_EQ(LgtTblTbl.n, 1);
    EXPECT_EQ(CurLgtObj, LgtTblTbl.a[0]->lgts.a[0]);
    EXPECT_EQ(ModFlg, 0);

    // The flat light table: the engine's ambient light, then parallel1.
    ASSERT_EQ(NumLgt, 2);
    EXPECT_EQ(PrmLgt[0].kind, LgtAmb);
    EXPECT_EQ(PrmLgt[0].name, nullptr);
    EXPECT_FLOAT_EQ(PrmLgt[0].col[1], 0.4f);
    EXPECT_EQ(PrmLgt[0].prmIdx, 0);
    EXPECT_STREQ(PrmLgt[1].name, "parallel1");
    EXPECT_EQ(PrmLgt[1].kind, LgtPar);
    EXPECT_EQ(PrmLgt[1].prmIdx, 1);
    EXPECT_NEAR(PrmLgt[1].dir[0], 0.4086, 1e-4);
    EXPECT_NEAR(PrmLgt[1].dir[1], 0.4086, 1e-4);
    EXPECT_NEAR(PrmLgt[1].dir[2], 0.8161, 1e-4);
    EXPECT_EQ(AmbLgt.prmIdx, 0);
    EXPECT_EQ(CurLgtObj->r.prmIdx, 1);
}

TEST_F(SceneStartUp, NewDocumentAfterWorkStartsAfresh) {
    crv* c = NewCrvObj("c");
    AtchCrvPrt(TrnPrt, c);
    AddCrvPnt(c, 1, 2, 3);
    EXPECT_EQ(ModFlg, 1);
    ClrScn();
    IniScn();
    IniTrnScn();
    EXPECT_EQ(PrdTbl.n, 1);
    EXPECT_EQ(TrnPrt->crvs.n, 0);
    EXPECT_EQ(CamTbl.n, 1);
    EXPECT_EQ(LgtTblTbl.n, 1);
    EXPECT_EQ(NumLgt, 2);
    EXPECT_EQ(NumMtl, 7);
    EXPECT_EQ(ModFlg, 0);
}
