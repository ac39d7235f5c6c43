// Region, grid layout, storage in the scene, visibility, deletion and the region dialog values.
#include "terrain/trn_fixture.h"
#include "support/restore.h"

#include "core/mode.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "terrain/trn_cmd.h"

TEST_F(TrnTest, GridColumnsFollowTheIntervalAndResidualRule) {
    Region(0, 0, 1000, 600, 100);
    ASSERT_NE(TrnSrf, nullptr);
    EXPECT_EQ(Cols(), 11);
    EXPECT_EQ(Rows(), 7);
    for (int c = 0; c < 11; c++) EXPECT_FLOAT_EQ(X(c), 100.0f * c);
    for (int r = 0; r < 7; r++) EXPECT_FLOAT_EQ(Y(r), 100.0f * r);

    Region(0, 0, 1000, 600, 130);   // leftover 110 > 39 is an interval of its own
    const float x130[] = {0, 110, 240, 370, 500, 630, 760, 890, 1000};
    ASSERT_EQ(Cols(), 9);
    for (int c = 0; c < 9; c++) EXPECT_FLOAT_EQ(X(c), x130[c]);

    Region(0, 0, 1000, 600, 240);   // leftover 20 <= 72 joins the end intervals
    const float x240[] = {0, 260, 500, 740, 1000};
    ASSERT_EQ(Cols(), 5);
    for (int c = 0; c < 5; c++) EXPECT_FLOAT_EQ(X(c), x240[c]);
    EXPECT_EQ(Rows(), 3);
    EXPECT_FLOAT_EQ(Y(1), 300);
}

TEST_F(TrnTest, GridStorageIndexesNormalsAndFlags) {
    Region(0, 0, 1000, 600, 100);
    ASSERT_NE(TrnSrf, nullptr);
    EXPECT_EQ(TrnSrf->nv, 77);
    EXPECT_EQ(TrnGrd->n, 77);
    EXPECT_EQ(TrnGrd->type, 5);
    EXPECT_EQ(TrnSrf->dspFlg, SrfFlgTrn);
    EXPECT_EQ(TrnSrf->vis, 1);
    EXPECT_EQ(TrnSrf->mtlIdx, 0);
    EXPECT_EQ(TrnSrf->own, TrnPrt);
    ASSERT_EQ(TrnPrt->srfs.n, 1);
    for (int i = 0; i < 77; i++) {
        EXPECT_EQ(TrnGrd->vtx_id[i], i);
        EXPECT_EQ(TrnSrf->v[3 * i + 2], 0);
        EXPECT_EQ(TrnSrf->nrm[3 * i + 2], 1);
    }
    // The box of the surface covers the region.
    EXPECT_FLOAT_EQ(TrnSrf->box.max[0], 1000);
    EXPECT_FLOAT_EQ(TrnSrf->box.max[1], 600);
    // Setting the region again replaces the terrain (this one tilted along y first).
    for (int r = 0; r < Rows(); r++)
        for (int c = 0; c < Cols(); c++) Z(r, c) = 100.0f * r;
    CalTrnNrm();
    Region(0, 0, 500, 500, 100);
    EXPECT_EQ(TrnPrt->srfs.n, 1);
    EXPECT_EQ(Cols(), 7);   // hx 250: 2 intervals + leftover 50 > 30 -> 3 each side
    // Back to the first size (in memory the first terrain's coordinates held): a flat grid again,
    // every normal straight up.
    Region(0, 0, 1000, 600, 100);
    for (int i = 0; i < 77; i++)
        EXPECT_EQ(std::vector<float>(TrnSrf->nrm + 3 * i, TrnSrf->nrm + 3 * i + 3), std::vector<float>({0, 0, 1}));
}

TEST_F(TrnTest, NarrowRegionOneColumnAndCornersOrdered) {
    Region(10, 0, 70, 600, 100);   // not wider than 0.6 interval
    ASSERT_NE(TrnSrf, nullptr);
    EXPECT_EQ(Cols(), 1);
    EXPECT_FLOAT_EQ(X(0), 10);
    // Corners typed the wrong way round give the same grid as ordered ones.
    Region(1000, 600, 0, 0, 130);
    ASSERT_EQ(Cols(), 9);
    EXPECT_FLOAT_EQ(X(0), 0);
    EXPECT_FLOAT_EQ(X(8), 1000);
    EXPECT_FLOAT_EQ(Y(0), 0);
    double c[4] = {5, 6, 1, 2};
    ASSERT_TRUE(SetRgnDlg(c, 1));
    EXPECT_EQ(TrnRgn[0], 1000); EXPECT_EQ(TrnRgn[1], 2000);
    EXPECT_EQ(TrnRgn[3], 5000); EXPECT_EQ(TrnRgn[4], 6000);
}

TEST_F(TrnTest, ImpossibleGridRefusedAndPreviousTerrainKept) {
    Region(0, 0, 1000, 600, 100);
    srf* old = TrnSrf;
    Z(3, 3) = 42;
    Plt().Clear();
    Restore keepLang(MsgLang);
    MsgLang = 1;   // the English text carries the detail
    Region(0, 0, 1e9f, 10, 1);   // 1e9 columns
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 100);
    EXPECT_NE(Plt().boxes[0].text.find("サーフェースの頂点が多すぎます"), std::string::npos);
    EXPECT_EQ(TrnSrf, old);
    EXPECT_EQ(Z(3, 3), 42);
    // Many rows and columns each within 16 bits, but more vertices than memory allows.
    Plt().Clear();
    Region(0, 0, 65000, 65000, 1);
    EXPECT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(TrnSrf, old);
    // A zero interval never fits.
    Plt().Clear();
    Region(0, 0, 100, 100, 0);
    EXPECT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(TrnSrf, old);
}

TEST_F(TrnTest, HideShowDeleteAndNormals) {
    Region(0, 0, 400, 400, 100);
    IntrCmd(CatMdl, CmdTrnHid);
    EXPECT_EQ(TrnSrf->vis, 0);
    IntrCmd(CatMdl, CmdTrnShw);
    EXPECT_EQ(TrnSrf->vis, 1);
    // A plane rising along x: every normal leans back against +x.
    for (int r = 0; r < Rows(); r++)
        for (int c = 0; c < Cols(); c++) Z(r, c) = 100.0f * c;
    CalTrnNrm();
    const float* n = TrnSrf->nrm + 3 * (2 * Cols() + 2);
    EXPECT_NEAR(n[0], -std::sqrt(0.5f), 1e-5);
    EXPECT_NEAR(n[1], 0, 1e-6);
    EXPECT_NEAR(n[2], std::sqrt(0.5f), 1e-5);
    IntrCmd(CatMdl, CmdTrnDel);
    EXPECT_EQ(TrnSrf, nullptr);
    EXPECT_EQ(TrnGrd, nullptr);
    EXPECT_EQ(TrnPrt->srfs.n, 0);
    IntrCmd(CatMdl, CmdTrnDel);   // nothing left: nothing happens
    EXPECT_TRUE(Plt().boxes.empty());
    // The region stays: setting it again rebuilds the grid.
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    EXPECT_EQ(Cols(), 5);
}

TEST_F(TrnTest, RegionDialogUnitsAndRounding) {
    TrnRgn[0] = -1234.567f; TrnRgn[1] = 0; TrnRgn[3] = 5000000; TrnRgn[4] = 2500;
    MshItv = 50000;
    double c[4], d;
    GetRgnDlg(c, &d);
    EXPECT_DOUBLE_EQ(c[0], -1.23);
    EXPECT_DOUBLE_EQ(c[2], 5000);
    EXPECT_DOUBLE_EQ(c[3], 2.5);
    EXPECT_DOUBLE_EQ(d, 50);
    ItvUnit = LenUnit::Mm;   // m -> mm shows 50000.00
    GetRgnDlg(c, &d);
    EXPECT_DOUBLE_EQ(d, 50000);
    RgnUnit = LenUnit::Km;
    GetRgnDlg(c, &d);
    EXPECT_DOUBLE_EQ(c[2], 5);
    EXPECT_FALSE(SetRgnItv(0.5));   // below 1 of the unit
    EXPECT_FALSE(SetRgnItv(2e11));
    EXPECT_EQ(MshItv, 50000);
    ItvUnit = LenUnit::Cm;
    EXPECT_TRUE(SetRgnItv(25));
    EXPECT_EQ(MshItv, 250);
}

TEST_F(TrnTest, RegionByMouseModeAndUndoRecord) {
    IntrCmd(CatDrw2D, CmdRgnMouse);
    EXPECT_EQ(CrntMode, ModeRgn);
    EXPECT_EQ(CrsIdx, CrsPick);
    Press(500, 100);
    Move(300, 300);
    Release(100, 400);   // dragged from upper right to lower left
    ASSERT_NE(TrnSrf, nullptr);
    EXPECT_LE(TrnRgn[0], TrnRgn[3]);
    EXPECT_LE(TrnRgn[1], TrnRgn[4]);
    EXPECT_GT(TrnRgn[3] - TrnRgn[0], 0);
    RPress(0, 0);
    EXPECT_EQ(CrntMode, BaseMode);
}
