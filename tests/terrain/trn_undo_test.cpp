// Undo and redo of the terrain commands: each records a snapshot of the terrain before changing it.
#include "terrain/trn_fixture.h"

#include "curves/crv.h"
#include "display/view.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"
#include "cmd/undo.h"

TEST_F(TrnTest, UndoRedoRegionCreationDeletion) {
    Ctr(10, {-1000, 0, 1000, 0});
    Ctr(20, {-1000, 1000, 1000, 1000});
    Region(0, 0, 800, 800, 100);
    EXPECT_EQ(UndoKind, UndoRgn);
    Region(0, 0, 400, 400, 100);
    Undo();
    ASSERT_NE(TrnSrf, nullptr);
    EXPECT_EQ(Cols(), 9);
    // The region comes back with its grid.
    EXPECT_EQ(TrnRgn[3], 800.0f);
    EXPECT_EQ(TrnRgn[4], 800.0f);
    Redo();
    EXPECT_EQ(Cols(), 5);
    EXPECT_EQ(TrnRgn[4], 400.0f);
    Undo();
    EXPECT_EQ(TrnRgn[0], 0.0f);
    EXPECT_EQ(TrnRgn[4], 800.0f);
    // Creation.
    IntrCmd(CatMdl, CmdTrnCre);
    EXPECT_EQ(UndoKind, UndoTrn);
    std::vector<float> made = Heights();
    EXPECT_FLOAT_EQ(Z(4, 4), 14);
    Undo();
    for (float z : Heights()) EXPECT_EQ(z, 0);
    Redo();
    EXPECT_EQ(Heights(), made);
    // Deletion; a deletion without terrain records nothing.
    IntrCmd(CatMdl, CmdTrnDel);
    EXPECT_EQ(TrnSrf, nullptr);
    EXPECT_EQ(UndoKind, UndoTrnDel);
    Undo();
    ASSERT_NE(TrnSrf, nullptr);
    EXPECT_EQ(Heights(), made);
    Redo();
    EXPECT_EQ(TrnSrf, nullptr);
    uint8_t st = UndoState;
    IntrCmd(CatMdl, CmdTrnDel);
    EXPECT_EQ(UndoState, st);
    EXPECT_EQ(UndoKind, UndoTrnDel);
}

TEST_F(TrnTest, UndoRedoFilterAndDrag) {
    Region(0, 0, 800, 800, 100);
    Z(4, 4) = 1000;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_EQ(Z(4, 4), 0);
    Undo();
    EXPECT_EQ(Z(4, 4), 1000);
    Redo();
    EXPECT_EQ(Z(4, 4), 0);
    // Drag: the snapshot is taken on entering the mode.
    WinSizW = 500;
    WinSizH = 400;
    IntrCmd(CatDsp, CmdDspResize);
    CurCamObj->view.ScrWid = 1000;
    SetView(0);
    double p[3] = {X(4), Y(4), 0}, w[3];
    MdlToWin(p, 0, w);
    IntrCmd(CatMdl, CmdVtxPick);
    Press(static_cast<int>(w[0]) - 1, static_cast<int>(w[1]) - 1);
    Move(static_cast<int>(w[0]) + 1, static_cast<int>(w[1]) + 1);
    Release(static_cast<int>(w[0]) + 1, static_cast<int>(w[1]) + 1);
    ASSERT_EQ(NumVtxSlct, 1);
    IntrCmd(CatMdl, CmdVtxDrg);
    EXPECT_EQ(UndoKind, UndoTrn);
    Press(100, 100);
    Move(100, 90);
    Move(100, 80);
    Release(100, 80);
    EXPECT_FLOAT_EQ(Z(4, 4), 40);
    Undo();
    EXPECT_EQ(Z(4, 4), 0);
    Redo();
    EXPECT_FLOAT_EQ(Z(4, 4), 40);
}
