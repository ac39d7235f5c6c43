// The undo record: switches, terrain snapshots, and alternation of undo and redo.
#include "core/alc.h"
#include "curves/crv_env.h"
#include "terrain/trn.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "core/mode.h"
#include "support/restore.h"
#include "cmd/undo.h"

using CurveUndo = CrvTest;

namespace {
// A 2 x 3 terrain grid in the curve part with heights base + i.
srf* MkTrn(float base) {
    srf* s = NewSrf("地形");
    AtchSrfPrt(CrvPart, s);
    s->nv = 6;
    s->v = static_cast<float*>(AlcMem(sizeof(float) * 18, "v"));
    s->nrm = static_cast<float*>(AlcMem(sizeof(float) * 18, "n"));
    for (int i = 0; i < 6; ++i) {
        s->v[3 * i] = static_cast<float>(i % 3) * 10;
        s->v[3 * i + 1] = static_cast<float>(i / 3) * 10;
        s->v[3 * i + 2] = base + i;
        s->nrm[3 * i] = s->nrm[3 * i + 1] = 0;
        s->nrm[3 * i + 2] = 1;
    }
    pgn* g = NewPgn(s);
    FreeMem(g->vtx_id);
    g->n = 6;
    g->vtx_id = static_cast<int32_t*>(AlcMem(sizeof(int32_t) * 6, "vtx_id"));
    for (int i = 0; i < 6; ++i) g->vtx_id[i] = i;
    g->rows = 2;
    g->cols = 3;
    g->type = PgnGrd;
    TrnSrf = s;
    TrnGrd = g;
    return s;
}

void DropTrnSrf() {
    FreeSrf(TrnSrf, true);
    TrnSrf = nullptr;
    TrnGrd = nullptr;
}

float Hgt(int i) { return TrnSrf->v[3 * i + 2]; }
}  // namespace

TEST_F(CurveUndo, NothingToUndoOrRedoBeeps) {
    Undo();
    Redo();
    EXPECT_EQ(plat.beeps, 2);
    UndoOn = 0;
    Undo();
    EXPECT_EQ(plat.beeps, 2);  // switched off: silent
}

TEST_F(CurveUndo, SwitchOffKeepsTheLastRecord) {
    Mk({0, 0, 100, 0});
    Mk({0, 50, 100, 50});
    IntrCmd(CatDrw2D, CmdCrvDelOne);
    Click(50, 0);  // kind 6
    ASSERT_EQ(N(), 1);
    UndoOn = 0;
    IntrCmd(CatDrw2D, CmdCrvDelOne);  // would discard
    Click(50, 50);
    EXPECT_EQ(N(), 0);
    EXPECT_EQ(UndoKind, UndoDelOne);
    UndoOn = 1;
    Undo();
    ASSERT_EQ(N(), 1);
    EXPECT_EQ(Name(C(0)), "等高線1");
}

TEST_F(CurveUndo, TerrainRegionRecordWithoutTerrain) {
    RecUndo(UndoRgn, 0, nullptr);  // no terrain yet
    MkTrn(100);
    Undo();
    EXPECT_EQ(TrnSrf, nullptr);
    EXPECT_EQ(TrnGrd, nullptr);
    EXPECT_EQ(CrvPart->srfs.n, 0);
    Redo();
    ASSERT_NE(TrnSrf, nullptr);
    ASSERT_NE(TrnGrd, nullptr);
    EXPECT_EQ(TrnGrd->rows, 2);
    EXPECT_EQ(TrnGrd->cols, 3);
    EXPECT_EQ(TrnGrd->vtx_id[5], 5);
    EXPECT_FLOAT_EQ(Hgt(5), 105);
    Undo();
    EXPECT_EQ(TrnSrf, nullptr);
}

TEST_F(CurveUndo, TerrainDeletionComesBackAndGoesAgain) {
    MkTrn(100);
    RecUndo(UndoTrnDel, 0, nullptr);
    DropTrnSrf();
    for (int round = 0; round < 2; ++round) {
        Undo();
        ASSERT_NE(TrnSrf, nullptr);
        EXPECT_EQ(TrnSrf->own, CrvPart);
        EXPECT_EQ(TrnSrf->nv, 6);
        EXPECT_FLOAT_EQ(Hgt(3), 103);
        EXPECT_FLOAT_EQ(TrnSrf->nrm[2], 1);
        EXPECT_EQ(std::string(TrnSrf->name), "地形");
        Redo();
        EXPECT_EQ(TrnSrf, nullptr);
        EXPECT_EQ(CrvPart->srfs.n, 0);
    }
}

TEST_F(CurveUndo, TerrainChangeAlternates) {
    MkTrn(100);
    RecUndo(UndoTrn, 0, nullptr);
    for (int i = 0; i < 6; ++i) TrnSrf->v[3 * i + 2] = 500;
    for (int round = 0; round < 2; ++round) {
        Undo();
        EXPECT_FLOAT_EQ(Hgt(4), 104);
        EXPECT_EQ(CrvPart->srfs.n, 1);
        EXPECT_EQ(UndoState, 2);
        Redo();
        EXPECT_FLOAT_EQ(Hgt(4), 500);
        EXPECT_EQ(UndoState, 1);
    }
}

TEST_F(CurveUndo, CurveKindsAlternate) {
    // Kind 3 (cut), 4 (delete all), 8 (move), 12 (hide) each toggled twice.
    Mk({0, 0, 100, 0, 200, 0});
    IntrCmd(CatDrw2D, CmdCrvCut);
    Click(100, 0);
    ASSERT_EQ(N(), 2);
    for (int r = 0; r < 2; ++r) {
        Undo();
        EXPECT_EQ(N(), 1);
        EXPECT_EQ(C(0)->n, 3);
        Redo();
        EXPECT_EQ(N(), 2);
        EXPECT_EQ(C(0)->n, 2);
    }
    SetMode(ModeIdle);
    IntrCmd(CatDrw2D, CmdCrvDelAll);
    for (int r = 0; r < 2; ++r) {
        Undo();
        EXPECT_EQ(N(), 2);
        Redo();
        EXPECT_EQ(N(), 0);
    }
    Undo();
    IntrCmd(CatDrw2D, CmdCrvSlctAll);
    IntrCmd(CatDrw2D, CmdCrvMove);
    Press(0, 0);
    Move(0, 20);
    Release(0, 20);
    RClick(0, 0);
    for (int r = 0; r < 2; ++r) {
        Undo();
        EXPECT_FLOAT_EQ(C(1)->p[1], 0);
        Redo();
        EXPECT_FLOAT_EQ(C(1)->p[1], 20);
    }
}

TEST_F(CurveUndo, NewDocumentDropsTheRecord) {
    Mk({0, 0, 100, 0});
    IntrCmd(CatDrw2D, CmdCrvDelAll);
    ASSERT_EQ(UndoState, 1);
    ClrUndo();
    EXPECT_EQ(UndoState, 0);
    EXPECT_EQ(UndoKind, UndoNone);
    Undo();
    EXPECT_EQ(N(), 0);
}

// ---- the history ----

using UndoHistory = CrvTest;

TEST_F(UndoHistory, StepsBeyondTheHundredthDropTheOldest) {
    Mk({0, 0, 100, 0});
    for (int i = 0; i < 110; ++i) IntrCmd(CatDrw2D, CmdCrvVisInv);
    ASSERT_EQ(UndoSteps(), 100);
    EXPECT_EQ(C(0)->vis, 1);  // 110 inversions
    for (int i = 0; i < 100; ++i) Undo();
    EXPECT_EQ(C(0)->vis, 1);  // back 100: as after the first ten
    EXPECT_EQ(plat.beeps, 0);
    Undo();
    EXPECT_EQ(plat.beeps, 1);
    for (int i = 0; i < 99; ++i) Redo();
    EXPECT_EQ(C(0)->vis, 0);
    IntrCmd(CatDrw2D, CmdCrvVisInv);  // a new step drops the one left to redo
    EXPECT_EQ(UndoSteps(), 100);
    EXPECT_FALSE(CanRedo());
}

TEST_F(UndoHistory, TerrainCopiesBeyondTheBudgetDropTheOldest) {
    Restore<long long> keep(UndoMaxMem);
    MkTrn(100);
    const auto change = [](float base) {
        RecUndo(UndoTrn, 0, nullptr);
        for (int i = 0; i < 6; ++i) TrnSrf->v[3 * i + 2] = base + i;
    };
    change(200);
    const long long one = UndoBytes();
    ASSERT_GT(one, 6 * 3 * 4 * 2);  // vertices and normals at least
    UndoMaxMem = one * 5 / 2;       // room for two copies
    change(300);
    change(400);
    change(500);
    EXPECT_EQ(UndoSteps(), 2);
    EXPECT_LE(UndoBytes(), UndoMaxMem);
    Undo();
    EXPECT_FLOAT_EQ(Hgt(0), 400);
    Undo();
    EXPECT_FLOAT_EQ(Hgt(0), 300);
    Undo();  // the oldest steps are gone
    EXPECT_EQ(plat.beeps, 1);
    EXPECT_FLOAT_EQ(Hgt(0), 300);
    Redo();
    Redo();
    EXPECT_FLOAT_EQ(Hgt(0), 500);
    // A step larger than the whole budget is still kept, alone.
    UndoMaxMem = 1;
    change(600);
    EXPECT_EQ(UndoSteps(), 1);
    Undo();
    EXPECT_FLOAT_EQ(Hgt(0), 500);
}

TEST_F(UndoHistory, ACurveDeletedAndMadeAgainKeepsItsEarlierSteps) {
    IntrCmd(CatDrw2D, CmdCrvClk);
    Click(0, 0);
    Click(100, 0);
    RClick(0, 0);  // kind 2
    ASSERT_EQ(N(), 1);
    Restore<float> keepHgt(CrvHgt);
    CrvHgt = 1500;
    IntrCmd(CatDrw2D, CmdCrvHgt);
    Click(50, 0);  // kind 7
    RClick(0, 0);
    ASSERT_FLOAT_EQ(C(0)->p[2], 1500);
    IntrCmd(CatDrw2D, CmdCrvDelOne);
    Click(50, 0);  // kind 6
    RClick(0, 0);
    ASSERT_EQ(N(), 0);
    Undo();  // the deletion: a new record of the curve
    ASSERT_EQ(N(), 1);
    Undo();  // its height, on the record made again
    EXPECT_FLOAT_EQ(C(0)->p[2], 0);
    Undo();  // its input
    EXPECT_EQ(N(), 0);
    Redo();
    Redo();
    ASSERT_EQ(N(), 1);
    EXPECT_FLOAT_EQ(C(0)->p[2], 1500);
    EXPECT_EQ(Name(C(0)), "等高線1");
    Redo();
    EXPECT_EQ(N(), 0);
}

TEST_F(UndoHistory, UndoWhileDrawingKeepsTheCurveBeingDrawn) {
    Mk({0, 200, 100, 200});
    IntrCmd(CatDrw2D, CmdCrvVisInv);  // a step before the input
    IntrCmd(CatDrw2D, CmdCrvVisInv);
    IntrCmd(CatDrw2D, CmdCrvClk);  // starting the mode keeps them
    ASSERT_EQ(UndoSteps(), 2);
    Click(0, 50);
    Click(100, 50);
    Undo();  // the second inversion: the half-drawn curve stays out of it
    EXPECT_EQ(C(0)->vis, 0);
    Click(100, 100);
    RClick(0, 0);
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Pts(C(1)), "0.0,50.0;100.0,50.0;100.0,100.0");
    Undo();  // the curve just ended
    EXPECT_EQ(N(), 1);
    Undo();  // the first inversion
    EXPECT_EQ(C(0)->vis, 1);
}
