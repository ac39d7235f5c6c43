// GLD export: the block of one spacing, the default corners, angles and the fixed-width file.
#include <cmath>
#include <string>
#include "core/msg.h"
#include "formats/xchg_fixture.h"
#include "formats/gld.h"

namespace {

class GldTest : public XchgTest {
public:
    void SetUp() override {
        XchgTest::SetUp();
        GldCrnGiven = 0;
    }
};

TEST_F(GldTest, RegularGridIsTrimmedToASquare) {
    Grid(0, 0, 1000, 600, 100);
    ASSERT_EQ(TrnGrd->cols, 11);
    ASSERT_EQ(TrnGrd->rows, 7);
    GldBlk b;
    ASSERT_TRUE(GldBlock(&b));
    EXPECT_EQ(b.c0, 0);
    EXPECT_EQ(b.r0, 0);
    EXPECT_EQ(b.r1, 7);
    EXPECT_EQ(b.c1, 7);
    EXPECT_EQ(b.n, 7);
    EXPECT_DOUBLE_EQ(b.itv, 0.1);
}

TEST_F(GldTest, IrregularOuterIntervalsDropTheOuterColumns) {
    Grid(0, 0, 1000, 1000, 130);
    const int C = TrnGrd->cols;
    ASSERT_GE(C, 5);
    GldBlk b;
    ASSERT_TRUE(GldBlock(&b));
    EXPECT_EQ(b.c0, 1);
    EXPECT_EQ(b.r0, 1);
    EXPECT_EQ(b.n, C - 2);
    EXPECT_NEAR(b.itv, 0.13, 1e-6);
}

// Grids of fewer than three columns or rows keep them all; fewer than two cannot be exported.
TEST_F(GldTest, SmallGridsKeepAllTheirVerticesOrAreRefused) {
    RawGrid(2, 2, 0, 0, 100);
    GldBlk b;
    ASSERT_TRUE(GldBlock(&b));
    EXPECT_EQ(b.n, 2);
    EXPECT_EQ(ExpXchg(FmtGld, Path("two")), 0);
    RawGrid(2, 6, 0, 0, 100);  // a 2 x 2 block
    ASSERT_TRUE(GldBlock(&b));
    EXPECT_EQ(b.n, 2);
    EXPECT_EQ(b.c1, 2);
    RawGrid(1, 6, 0, 0, 100);
    EXPECT_FALSE(GldBlock(&b));
}

TEST_F(GldTest, AnglesConvertToDegreesMinutesSeconds) {
    int d, m;
    double s;
    GldDms(126032.142857, &d, &m, &s);
    EXPECT_EQ(d, 35);
    EXPECT_EQ(m, 0);
    EXPECT_NEAR(s, 32.142857, 1e-9);
    GldDms(504000 + 61.5, &d, &m, &s);
    EXPECT_EQ(d, 140);
    EXPECT_EQ(m, 1);
    EXPECT_NEAR(s, 1.5, 1e-9);
    EXPECT_DOUBLE_EQ(GldSec(140, 1, 1.5), 504061.5);
    EXPECT_NEAR(GldDLat(1000), 32.142857, 1e-6);
}

TEST_F(GldTest, FileHasTheFixedWidthHeaderHeightsAndNormals) {
    // 11 x 11 vertices 100 mm apart: E = 0.1 m x 10 = 1 m. Heights to clamp at two corners.
    Grid(0, 0, 1000, 1000, 100, [](float x, float y) {
        if (x == 0 && y == 1000) return 12345678.0f;
        if (x == 1000 && y == 0) return -2000000.0f;
        return 1500.0f;
    });
    GldBlk b;
    ASSERT_TRUE(GldBlock(&b));
    ASSERT_EQ(b.n, 11);
    ASSERT_EQ(ExpXchg(FmtGld, Path("dem.txt")), 0);
    ASSERT_TRUE(Exists("dem.txt.gld"));
    std::string f = Get("dem.txt.gld");
    std::string title = "Orvane Altimetra : \x92\x6e\x8c\x60";
    EXPECT_EQ(f.substr(0, 128), title + std::string(128 - title.size(), ' '));
    EXPECT_EQ(f.substr(128, 21), "        11     0.100C");
    // E = 1 m: the upper right is 1 m north and east of 35 N 140 E.
    EXPECT_EQ(f.substr(149, 13), " 35 0 0.00000");
    EXPECT_EQ(f.substr(162, 13), "140 0 0.00000");
    EXPECT_EQ(f.substr(175, 13), " 35 0 0.03214");
    EXPECT_EQ(f.substr(201, 4), "YY\r\n");
    // First height row is the north row, west to east.
    std::string row = f.substr(205, 8 * 11 + 2);
    EXPECT_EQ(row.substr(0, 8), "9999.999");
    EXPECT_EQ(row.substr(8, 8), "   1.500");
    EXPECT_EQ(row.substr(88), "\r\n");
    size_t south = 205 + 10 * 90;
    EXPECT_EQ(f.substr(south + 80, 8), "-999.999");
    // Then the normals, 24 columns per vertex.
    size_t nrm = 205 + 11 * 90;
    EXPECT_EQ(f.size(), nrm + 11 * (24 * 11 + 2));
    EXPECT_EQ(f.substr(nrm + 24 * 5, 24), " 0.00000 0.00000 1.00000");
}

TEST_F(GldTest, DefaultCornerOfAKilometreBlock) {
    // 11 x 11 vertices 100 m apart: E = 1000 m.
    Grid(0, 0, 1000000, 1000000, 100000);
    ASSERT_EQ(ExpXchg(FmtGld, Path("k.gld")), 0);
    std::string f = Get("k.gld");
    EXPECT_EQ(f.substr(175, 13), " 35 032.14286");
    EXPECT_NEAR(GldCrn.lat1, 126032.142857, 1e-5);
    EXPECT_EQ(GldFixDst, 1);
}

TEST_F(GldTest, GivenCornersAreUsedOnceByTheNextExport) {
    Grid(0, 0, 1000, 1000, 100);
    GldCrn = {GldSec(36, 30, 15.25), GldSec(139, 45, 0), GldSec(36, 31, 0), GldSec(139, 46, 0)};
    GldCrnGiven = 1;
    ASSERT_EQ(ExpXchg(FmtGld, Path("a.gld")), 0);
    EXPECT_EQ(Get("a.gld").substr(149, 13), " 363015.25000");
    EXPECT_EQ(GldCrnGiven, 0);
    ASSERT_EQ(ExpXchg(FmtGld, Path("b.gld")), 0);
    EXPECT_EQ(Get("b.gld").substr(149, 13), " 35 0 0.00000");
}

// Fault (mutation left alive): the normal rows could run south to north while the heights ran
// north to south. A surface tilting more steeply to the north tells the rows apart.
TEST_F(GldTest, NormalRowsFollowTheHeightRowsFromNorthToSouth) {
    Grid(0, 0, 400, 400, 100, [](float, float y) { return y * y / 400; });
    ASSERT_EQ(ExpXchg(FmtGld, Path("t.gld")), 0);
    std::string f = Get("t.gld");
    const size_t hgt = 205, rowLen = 8 * 5 + 2, nrm = hgt + 5 * rowLen, nrmLen = 24 * 5 + 2;
    ASSERT_EQ(f.size(), nrm + 5 * nrmLen);
    // Heights: north (0.4 m) first, south (0 m) last.
    EXPECT_EQ(f.substr(hgt, 8), "   0.400");
    EXPECT_EQ(f.substr(hgt + 4 * rowLen, 8), "   0.000");
    // The y component of each normal row follows its height row: steepest in the north.
    double prev = 2;
    for (int j = 0; j < 5; ++j) {
        SCOPED_TRACE(j);
        const double ny = std::fabs(std::stod(f.substr(nrm + j * nrmLen + 8, 8)));
        EXPECT_LT(ny, prev);
        prev = ny;
    }
    EXPECT_GT(std::fabs(std::stod(f.substr(nrm + 8, 8))), 0.5);
    EXPECT_LT(std::fabs(std::stod(f.substr(nrm + 4 * nrmLen + 8, 8))), 0.3);
}

// Fault: intervals were compared to 0.01 mm, finer than floats hold beyond about 130 m, so a
// regular grid far from the origin lost its outer rows and columns.
TEST_F(GldTest, RegularGridFarFromTheOriginKeepsItsOuterRowsAndColumns) {
    RawGrid(6, 6, 1000000.3f, 1000000.3f, 100.1f);
    const float* v = TrnSrf->v;
    // The float coordinates really are uneven here.
    ASSERT_NE((v[3 * 2] - v[3 * 1]) - (v[3 * 1] - v[0]), 0.0f);
    GldBlk b;
    ASSERT_TRUE(GldBlock(&b));
    EXPECT_EQ(b.c0, 0);
    EXPECT_EQ(b.c1, 6);
    EXPECT_EQ(b.r0, 0);
    EXPECT_EQ(b.r1, 6);
    // A truly irregular outer interval is still dropped.
    RawGrid(6, 6, 1000000.3f, 1000000.3f, 100.1f);
    TrnSrf->v[0] -= 1.0f;
    for (int r = 0; r < 6; ++r) TrnSrf->v[3 * (r * 6)] = TrnSrf->v[0];
    ASSERT_TRUE(GldBlock(&b));
    EXPECT_EQ(b.c0, 1);
}

// Fault: the square block silently left part of a rectangular terrain out of the file.
TEST_F(GldTest, BlockSmallerThanTheGridIsAnnouncedWithItsRowsAndColumns) {
    RawGrid(87, 61, 0, 0, 100);
    ASSERT_EQ(ExpXchg(FmtGld, Path("h.gld")), 0);
    ASSERT_EQ(Boxes(), 1);
    EXPECT_EQ(Plt().boxes[0].id, MsgOwnInf);
    EXPECT_EQ(BoxText(0),
              "GLDには格子 87 行 x 61 列のうち 行 1-61, 列 1-61 を書き出します。\n"
              "書き出さない部分: 南 0 行, 北 26 行, 西 0 列, 東 0 列");
    EXPECT_EQ(Get("h.gld").substr(128, 10), "        61");
    // A square grid writes everything without a word.
    Plt().boxes.clear();
    RawGrid(5, 5, 0, 0, 100);
    ASSERT_EQ(ExpXchg(FmtGld, Path("s.gld")), 0);
    EXPECT_EQ(Boxes(), 0);
}

}  // namespace
