// The undo record: switches, terrain snapshots, and alternation of undo and redo.
#include "core/alc.h"
#include "curves/crv_env.h"
#include "terrain/trn.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "core/mode.h"

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
