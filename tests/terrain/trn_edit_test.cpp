// Filter, vertex selection, height drag, typed height and slope classes.
#include "terrain/trn_fixture.h"

#include "core/mode.h"
#include "display/view.h"
#include "core/cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"
#include "cmd/trn_cmds.h"

namespace {
// A flat 9 × 9 grid at interval 100.
void Flat() { TrnTest::Region(0, 0, 800, 800, 100); }
}  // namespace

TEST_F(TrnTest, FilterRemovesSpikesInsideAndOnBorderRows) {
    Flat();
    Z(4, 4) = 1000;    // interior spike
    Z(1, 4) = -800;    // pit on a border row
    Z(4, 0) = 700;     // on a border column
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_EQ(Z(4, 4), 0);
    EXPECT_EQ(Z(1, 4), 0);
    EXPECT_EQ(Z(4, 0), 0);
    // The normals were brought up to date.
    EXPECT_FLOAT_EQ(TrnSrf->nrm[3 * (4 * 9 + 4) + 2], 1);
}

TEST_F(TrnTest, FilterPeripheralOptionAndCornerBlocks) {
    Flat();
    // Row 1: spike at column 4 whose left side is steep two steps out as well.
    Z(1, 2) = 500;
    Z(1, 4) = 1000;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_EQ(Z(1, 4), 1000);   // both sides must be gentle without the option
    IntpPrph = 1;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_EQ(Z(1, 4), 0);      // z3 - d × g3 from the gentle right side
    // The corner blocks never change, whatever they hold.
    const int corner[][2] = {{0, 0}, {1, 1}, {0, 8}, {1, 7}, {8, 0}, {7, 1}, {8, 8}, {7, 7}};
    for (auto& p : corner) Z(p[0], p[1]) = 900;
    IntrCmd(CatMdl, CmdTrnFltr);
    for (auto& p : corner) EXPECT_EQ(Z(p[0], p[1]), 900) << p[0] << "," << p[1];
}

TEST_F(TrnTest, FilterLeavesSteepPlanesAndSmallGridsAlone) {
    Flat();
    const float g = std::tan(60 * M_PI / 180);
    for (int r = 0; r < 9; r++)
        for (int c = 0; c < 9; c++) Z(r, c) = 100 * g * c;
    std::vector<float> before = Heights();
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_EQ(Heights(), before);
    // FltrAng 90: nothing is steep enough.
    Z(4, 4) = 1e6f;
    before = Heights();
    FltrAng = 90;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_EQ(Heights(), before);
    // Fewer than five columns: the border rows stay.
    Region(0, 0, 200, 800, 100);
    ASSERT_EQ(Cols(), 3);
    Z(1, 2) = 1000;
    FltrAng = 45;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_EQ(Z(1, 2), 1000);
}

TEST_F(TrnTest, FilterWithoutTerrainAndDialogValues) {
    IntrCmd(CatMdl, CmdTrnFltr);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 199);
    EXPECT_EQ(Plt().boxes[0].text, "地形が作成されていません。");
    EXPECT_FALSE(SetFltrDlg(91, 1));
    EXPECT_EQ(FltrAng, 45);
    EXPECT_TRUE(SetFltrDlg(30, 1));
    EXPECT_EQ(FltrAng, 30);
    EXPECT_EQ(IntpPrph, 1);
}

namespace {
// A 2D view 1000 mm wide in a window 500 × 400 pixels.
void View1000() {
    WinSizW = 500;
    WinSizH = 400;
    IntrCmd(CatDsp, CmdDspResize);
    CurCamObj->view.ScrWid = 1000;
    SetView(0);
}

// Picks every vertex of the grid: a drag between the corners' window positions.
void PickAll() {
    double a[3] = {TrnTest::X(0), TrnTest::Y(0), 0};
    double b[3] = {TrnTest::X(TrnTest::Cols() - 1), TrnTest::Y(TrnTest::Rows() - 1), 0};
    double wa[3], wb[3];
    MdlToWin(a, 0, wa);
    MdlToWin(b, 0, wb);
    IntrCmd(CatMdl, CmdVtxPick);
    TrnTest::Press(static_cast<int>(std::floor(std::min(wa[0], wb[0]))) - 1,
                   static_cast<int>(std::floor(std::min(wa[1], wb[1]))) - 1);
    int x1 = static_cast<int>(std::ceil(std::max(wa[0], wb[0]))) + 1;
    int y1 = static_cast<int>(std::ceil(std::max(wa[1], wb[1]))) + 1;
    TrnTest::Move(x1, y1);
    TrnTest::Release(x1, y1);
}
}  // namespace

TEST_F(TrnTest, PickSelectsTheSameVerticesFromEitherCorner) {
    Flat();
    View1000();
    ASSERT_EQ(ViewWin[0].W, 500);
    IntrCmd(CatMdl, CmdVtxPick);
    EXPECT_EQ(CrntMode, ModeVtxPick);
    EXPECT_EQ(CrsIdx, CrsCross);
    // A rectangle around the window positions of the vertices (2, 3) and (3, 5).
    double a[3] = {X(3), Y(2), 0}, b[3] = {X(5), Y(3), 0}, wa[3], wb[3];
    MdlToWin(a, 0, wa);
    MdlToWin(b, 0, wb);
    int x0 = static_cast<int>(std::min(wa[0], wb[0])) - 2, x1 = static_cast<int>(std::max(wa[0], wb[0])) + 2;
    int y0 = static_cast<int>(std::min(wa[1], wb[1])) - 2, y1 = static_cast<int>(std::max(wa[1], wb[1])) + 2;
    Press(x0, y0);
    Move(x1, y1);
    Release(x1, y1);
    std::vector<int> one(VtxSlct, VtxSlct + NumVtxSlct);
    const std::vector<int> want = {2 * 9 + 3, 2 * 9 + 4, 2 * 9 + 5, 3 * 9 + 3, 3 * 9 + 4, 3 * 9 + 5};
    EXPECT_EQ(one, want);
    Press(x1, y1);   // lower right to upper left
    Move(x0, y0);
    Release(x0, y0);
    EXPECT_EQ(std::vector<int>(VtxSlct, VtxSlct + NumVtxSlct), want);
    // A pick that encloses no vertex empties the selection; a typed height then changes nothing.
    Press(x0 + 1, 390);
    Release(x0 + 1, 390);
    EXPECT_EQ(NumVtxSlct, 0);
    std::vector<float> before = Heights();
    VtxHgtVal = 5000;
    IntrCmd(CatMdl, CmdVtxHgt);
    EXPECT_EQ(Heights(), before);
    RPress(0, 0);
    EXPECT_EQ(CrntMode, BaseMode);
}

TEST_F(TrnTest, PickWithoutTerrainWarnsAndStays) {
    IntrCmd(CatMdl, CmdVtxPick);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 297);
    EXPECT_EQ(CrntMode, BaseMode);
    // The drag and the typed height have nothing to touch either.
    IntrCmd(CatMdl, CmdVtxDrg);
    EXPECT_EQ(CrntMode, BaseMode);
    IntrCmd(CatMdl, CmdVtxHgt);
}

TEST_F(TrnTest, DragRaisesByTheLargerMotionInModelLengths) {
    Flat();
    View1000();
    ASSERT_DOUBLE_EQ(ViewWin[0].v.ScrWid, 1000);
    PickAll();
    ASSERT_EQ(NumVtxSlct, 81);
    IntrCmd(CatMdl, CmdVtxDrg);
    EXPECT_EQ(CrntMode, ModeVtxDrg);
    EXPECT_EQ(CrsIdx, CrsVtxDrg);
    Press(200, 200);
    Move(200, 190);   // 10 pixels up: 20 mm
    EXPECT_FLOAT_EQ(Z(4, 4), 20);
    Move(210, 194);   // 10 right, 4 down: up by 10 pixels
    EXPECT_FLOAT_EQ(Z(4, 4), 40);
    Move(214, 204);   // 4 right, 10 down: down by 10 pixels
    EXPECT_FLOAT_EQ(Z(0, 0), 20);
    Release(214, 204);
    Move(300, 0);     // not held: nothing
    EXPECT_FLOAT_EQ(Z(8, 8), 20);
    RPress(0, 0);
    EXPECT_EQ(CrntMode, BaseMode);
}

TEST_F(TrnTest, TypedHeightInUnitsAndSelectionEmptiedWithTheGrid) {
    Flat();
    View1000();
    PickAll();
    ASSERT_EQ(NumVtxSlct, 81);
    HgtUnit = LenUnit::M;
    SetVtxHgtDlg(1.5);
    EXPECT_EQ(VtxHgtVal, 1500);
    EXPECT_DOUBLE_EQ(GetVtxHgtDlg(), 1.5);
    HgtUnit = LenUnit::Cm;
    EXPECT_DOUBLE_EQ(GetVtxHgtDlg(), 150);
    IntrCmd(CatMdl, CmdVtxHgt);
    for (float z : Heights()) EXPECT_EQ(z, 1500);
    // Rebuilding the grid drops the selection: a smaller grid cannot be reached through it.
    Region(0, 0, 100, 100, 100);
    EXPECT_EQ(NumVtxSlct, 0);
    IntrCmd(CatMdl, CmdVtxHgt);
    for (float z : Heights()) EXPECT_EQ(z, 0);
    IntrCmd(CatMdl, CmdTrnDel);
    EXPECT_EQ(NumVtxSlct, 0);
}

TEST_F(TrnTest, SlopeClassesInBothModes) {
    Flat();
    // Vertex (4, 4) with neighbour slopes 0.1, 0.2 along the row and 0.5, 0.9 along the column.
    Z(4, 3) = -10;
    Z(4, 5) = 20;
    Z(3, 4) = 50;
    Z(5, 4) = -90;
    uint8_t rgb[3];
    SlpClsCol(VtxSlp(4, 4), rgb);
    EXPECT_EQ(rgb[0], 0); EXPECT_EQ(rgb[1], 255); EXPECT_EQ(rgb[2], 0);   // green: 0.9 < tan 45
    float f[3];
    SlpCol(4 * 9 + 4, f);
    EXPECT_FLOAT_EQ(f[1], 1);
    EXPECT_FLOAT_EQ(f[0], 0);
    SlpMode = 1;   // mean 0.425: cyan
    EXPECT_NEAR(VtxSlp(4, 4), 0.425, 1e-6);
    SlpClsCol(VtxSlp(4, 4), rgb);
    EXPECT_EQ(rgb[0], 0); EXPECT_EQ(rgb[1], 255); EXPECT_EQ(rgb[2], 255);
    // Exactly tan t1 is red; below t4 blue.
    SlpClsCol(std::tan(60 * M_PI / 180), rgb);
    EXPECT_EQ(rgb[0], 255); EXPECT_EQ(rgb[1], 0);
    SlpClsCol(0.1, rgb);
    EXPECT_EQ(rgb[2], 255); EXPECT_EQ(rgb[1], 0);
    // The dialog: whole degrees, OK turns the display on, reset restores the defaults.
    const int t[4] = {70, 50, 20, 10};
    EXPECT_TRUE(SetSlpDlg(t, 0));
    EXPECT_EQ(SlpDsp, 1);
    EXPECT_EQ(SlpThr[0], 70);
    const int bad[4] = {70, 50, 20, 91};
    EXPECT_FALSE(SetSlpDlg(bad, 1));
    EXPECT_EQ(SlpThr[3], 10);
    RstSlpDlg();
    int shown[4], mode;
    GetSlpDlg(shown, &mode);
    EXPECT_EQ(shown[0], 60); EXPECT_EQ(shown[3], 15); EXPECT_EQ(mode, 0);
}
