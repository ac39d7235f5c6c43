#include <cmath>
#include <cstring>
#include "display/lgt.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "scene_fixture.h"

using SceneObjects = SceneTest;

TEST_F(SceneObjects, NewObjectsCarryTheirDefaults) {
    ModFlg = 0;
    prt* p = NewPrt("p");
    EXPECT_EQ(ModFlg, 1);
    EXPECT_STREQ(p->name, "p");
    EXPECT_EQ(p->ownKind, 0);
    EXPECT_EQ(p->id, -1);
    EXPECT_EQ(p->val, -1);
    EXPECT_EQ(p->b1, 1);
    EXPECT_EQ(p->b2, 0);
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(p->xfm.scl[i], 1.0);
        EXPECT_EQ(p->xfm.rot[i], 0.0);
        EXPECT_EQ(p->xfm.trn[i], 0.0);
    }
    EXPECT_EQ(p->xfm.flg, 0);
    EXPECT_EQ(p->xfm.b2, 4);
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) EXPECT_EQ(p->mtx[r][c], r == c ? 1.0 : 0.0);
    FreePrt(p, false);

    crv* c = NewCrvObj("c");
    EXPECT_EQ(c->n, 0);
    EXPECT_EQ(c->p, nullptr);
    EXPECT_FLOAT_EQ(c->box.min[0], 1e15f);
    EXPECT_FLOAT_EQ(c->box.max[1], -1e15f);
    EXPECT_EQ(c->col[0], 1.0f);
    EXPECT_EQ(c->vis, 1);
    EXPECT_EQ(c->b1, 1);
    EXPECT_EQ(c->b3, 0);
    FreeCrvObj(c, false);

    lnk* l = NewLnk("l");
    EXPECT_DOUBLE_EQ(l->sclMin[0], 1e-6);
    EXPECT_DOUBLE_EQ(l->sclMax[2], 1e6);
    EXPECT_NEAR(l->rotMin[1], -2 * M_PI, 1e-12);
    EXPECT_NEAR(l->rotMax[1], 2 * M_PI, 1e-12);
    EXPECT_DOUBLE_EQ(l->trnMin[0], -1e6);
    EXPECT_EQ(l->id, -1);
    EXPECT_EQ(l->b[3], 1);
    FreeLnk(l, false);

    mtl* m = NewMtl("m");
    EXPECT_FLOAT_EQ(m->amb[0], 0.2f);
    EXPECT_FLOAT_EQ(m->dif[1], 0.5f);
    EXPECT_FLOAT_EQ(m->spc[2], 0.5f);
    EXPECT_FLOAT_EQ(m->shin, 50.0f);
    EXPECT_FLOAT_EQ(m->opac, 1.0f);
    EXPECT_FLOAT_EQ(m->refr, 1.5f);
    EXPECT_FLOAT_EQ(m->flt[0], 1.0f);
    EXPECT_EQ(m->val2, 0.0f);
    EXPECT_EQ(m->txtMap.n, 0);
    const uint8_t flg[9] = {0, 1, 1, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(m->flg, flg, 9), 0);
    FreeMtl(m, false);

    srf* s = NewSrf("s");
    EXPECT_EQ(s->mtlIdx, -1);
    EXPECT_EQ(s->b1, 1);
    EXPECT_EQ(s->kind, 0);
    pgn* g = NewPgn(s);
    ASSERT_EQ(s->pgns.n, 1);
    EXPECT_EQ(g->own, s);
    EXPECT_EQ(g->ownKind, OK_SRF);
    prj* j = NewPrj(s);
    EXPECT_DOUBLE_EQ(j->lead, 100.0);
    EXPECT_EQ(j->type, 2);
    FreeSrf(s, false);

    lgt* lt = NewLgt("L");
    EXPECT_STREQ(lt->r.name, "L");
    EXPECT_FLOAT_EQ(lt->r.pos[0], 1500.0f);
    EXPECT_NEAR(lt->r.ang[1], 54.7 * M_PI / 180, 1e-6);
    EXPECT_NEAR(lt->r.ang[2], -135 * M_PI / 180, 1e-6);
    EXPECT_NEAR(lt->r.dir[0], 0.4086, 1e-4);
    EXPECT_NEAR(lt->r.dir[1], 0.4086, 1e-4);
    EXPECT_NEAR(lt->r.dir[2], 0.8161, 1e-4);
    EXPECT_NEAR(lt->r.tgt[2], 1500 - 0.8161 * 1500, 0.2);
    EXPECT_FLOAT_EQ(lt->r.spotExp, 30.0f);
    EXPECT_FLOAT_EQ(lt->r.spotAng, static_cast<float>(M_PI));
    EXPECT_EQ(lt->r.rv9, 13);
    EXPECT_EQ(lt->r.kind, LgtPar);
    EXPECT_EQ(lt->r.rb3, 1);
    EXPECT_EQ(lt->r.on, 1);
    EXPECT_EQ(lt->r.prmIdx, -1);
    // The light matrix is the rotation of the angles; its first row is minus the direction.
    for (int i = 0; i < 3; i++) EXPECT_NEAR(-lt->r.mtx[i], lt->r.dir[i], 1e-5);
    EXPECT_EQ(lt->r.mtx[15], 1.0f);
    FreeLgt(lt, false);
}

TEST_F(SceneObjects, AttachSetsOwnerAndGlobalTablesHaveNone) {
    prt* p = TrnPrt;
    crv* c = NewCrvObj("c");
    ModFlg = 0;
    ASSERT_EQ(AtchCrvPrt(p, c), 0);
    EXPECT_EQ(ModFlg, 1);
    EXPECT_EQ(c->own, p);
    EXPECT_EQ(c->ownKind, OK_PRT);
    ASSERT_EQ(p->crvs.n, 1);
    EXPECT_EQ(p->crvs.a[0], c);

    stg* s = NewStg("s");
    cam* sc = NewCam("sc");
    AtchCamStg(s, sc);
    EXPECT_EQ(sc->own, s);
    EXPECT_EQ(sc->ownKind, OK_STG);
    // Moving a camera to the global table: no owner, kind 1.
    cam* g = NewCam("g");
    g->own = s;
    AtchCamGlb(g);
    EXPECT_EQ(g->own, nullptr);
    EXPECT_EQ(g->ownKind, OK_GLB);
    AtchStgGlb(s);

    mtl* m = NewMtl("m");
    txt_map* t = NewMap("wood.bmp");
    ASSERT_EQ(AtchMap(m, MAP_RFL, t), 0);
    EXPECT_EQ(m->rflMap.n, 1);
    EXPECT_EQ(t->own, m);
    EXPECT_EQ(t->kind, MAP_RFL);
    FreeMap(t, true);
    EXPECT_EQ(m->rflMap.n, 0);
    EXPECT_EQ(m->rflMap.a, nullptr);
    FreeMtl(m, false);
}

TEST_F(SceneObjects, FreeWithDetachKeepsTheOrderOfTheOthers) {
    prt* p = TrnPrt;
    crv* c[4];
    for (int i = 0; i < 4; i++) {
        char n[8];
        std::snprintf(n, sizeof n, "c%d", i);
        c[i] = NewCrvObj(n);
        AtchCrvPrt(p, c[i]);
    }
    ModFlg = 0;
    FreeCrvObj(c[1], true);
    EXPECT_EQ(ModFlg, 1);
    ASSERT_EQ(p->crvs.n, 3);
    EXPECT_EQ(p->crvs.a[0], c[0]);
    EXPECT_EQ(p->crvs.a[1], c[2]);
    EXPECT_EQ(p->crvs.a[2], c[3]);
    FreeCrvObj(c[3], true);
    FreeCrvObj(c[0], true);
    ASSERT_EQ(p->crvs.n, 1);
    EXPECT_EQ(p->crvs.a[0], c[2]);
    FreeCrvObj(c[2], true);
    EXPECT_EQ(p->crvs.n, 0);
    EXPECT_EQ(p->crvs.a, nullptr);
}

TEST_F(SceneObjects, FreeingForgetsEveryPointerToTheObject) {
    crv* c = NewCrvObj("c");
    AtchCrvPrt(TrnPrt, c);
    CurObjKind = OK_CRV;
    CurObj = c;
    FreeCrvObj(c, true);
    EXPECT_EQ(CurObjKind, OK_GLB);
    EXPECT_EQ(CurObj, nullptr);

    // The current object below a freed product goes with it, as do the terrain handles.
    srf* s = NewSrf("地形");
    AtchSrfPrt(TrnPrt, s);
    TrnSrf = s;
    TrnGrd = NewPgn(s);
    CurObjKind = OK_SRF;
    CurObj = s;
    prd* d = TrnPrd;
    FreePrd(d, true);
    EXPECT_EQ(PrdTbl.n, 0);
    EXPECT_EQ(CurObj, nullptr);
    EXPECT_EQ(TrnPrd, nullptr);
    EXPECT_EQ(TrnPrt, nullptr);
    EXPECT_EQ(TrnSrf, nullptr);
    EXPECT_EQ(TrnGrd, nullptr);
    // Its materials left the flat table.
    EXPECT_EQ(NumMtl, 0);
    EXPECT_EQ(PrmMtl, nullptr);
}

TEST_F(SceneObjects, FreeingLightsRebuildsTheFlatTable) {
    lgt_tbl* t = LgtTblTbl.a[0];
    lgt* extra = NewLgt("point");
    AtchLgt(t, extra);
    ASSERT_EQ(UdtPrmLgt(), 0);
    ASSERT_EQ(NumLgt, 3);
    EXPECT_EQ(extra->r.prmIdx, 2);

    lgt* first = t->lgts.a[0];
    EXPECT_EQ(CurLgtObj, first);
    FreeLgt(first, true);
    EXPECT_EQ(CurLgtObj, nullptr);
    ASSERT_EQ(NumLgt, 2);
    EXPECT_STREQ(PrmLgt[1].name, "point");
    EXPECT_EQ(extra->r.prmIdx, 1);

    FreeLgtTbl(t, true);
    EXPECT_EQ(LgtTblTbl.n, 0);
    EXPECT_EQ(NumLgt, 1);  // the engine's ambient light stays
    EXPECT_EQ(PrmLgt[0].kind, LgtAmb);
}

TEST_F(SceneObjects, ClearingEmptiesTheTablesButKeepsTheStoredCameras) {
    cam* c2 = Cam2D;
    cam* c3 = Cam3D;
    ASSERT_NE(c2, nullptr);
    ASSERT_NE(c3, nullptr);
    stg* s = NewStg("s");
    AtchStgGlb(s);
    ClrScn();
    EXPECT_EQ(StgTbl.n, 0);
    EXPECT_EQ(PrdTbl.n, 0);
    EXPECT_EQ(CamTbl.n, 0);
    EXPECT_EQ(LgtTblTbl.n, 0);
    EXPECT_EQ(StgTbl.a, nullptr);
    EXPECT_EQ(CurCamObj, nullptr);
    EXPECT_EQ(CurLgtObj, nullptr);
    EXPECT_EQ(NumMtl, 0);
    EXPECT_EQ(NumLgt, 1);
    EXPECT_TRUE(IsEmptyBox(SceneBox));
    EXPECT_EQ(Cam2D, c2);
    EXPECT_EQ(Cam3D, c3);
    EXPECT_STREQ(Cam2D->name, "2Dカメラ");
    // A new terrain scene reuses them.
    IniScn();
    IniTrnScn();
    EXPECT_EQ(Cam2D, c2);
    EXPECT_EQ(Cam3D, c3);
}
