// The minimum-curvature method on small hand-checkable layouts, through the creation command, and
// its parts: the order bands and the thread count.
#include "terrain/trn_fixture.h"

#include "core/cmd.h"
#include "curves/crv.h"
#include "terrain/trn_cmd.h"

#include <cstring>
#include <vector>

#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"
#include "cmd/undo.h"

namespace {
class McTest : public TrnTest {
public:
    void SetUp() override {
        TrnTest::SetUp();
        TrnMethod = TrnMethodMinCrv;
    }
    void TearDown() override {
        TrnMethod = TrnMethodCrs;
        TrnTest::TearDown();
    }
};
}  // namespace

// Between two straight parallel contours the surface is the plane through them, also on the posts
// the contours pass through.
TEST_F(McTest, TwoParallelContoursGiveAPlaneBetweenThem) {
    Ctr(10000, {-20000, 0, 20000, 0});
    Ctr(20000, {-20000, 10000, 20000, 10000});
    Region(-5000, 0, 5000, 10000, 1000);
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_EQ(Rows(), 11);
    for (int r = 0; r < Rows(); r++)
        for (int c = 0; c < Cols(); c++)
            EXPECT_NEAR(Z(r, c), 10000 + Y(r), 50) << "row " << r << " column " << c;
}

// A hilltop inside its closed contour rises above it, by at most one interval; between the rings
// the heights stay between their levels, and outside the outer ring within one interval below it.
TEST_F(McTest, ClosedContoursGiveADomeWithinTheirLevels) {
    Ring(100000, 0, 0, 40000, 64);
    Ring(200000, 0, 0, 20000, 64);
    Region(-60000, -60000, 60000, 60000, 2000);
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_EQ(Cols(), 61);
    const int mid = Cols() / 2;
    EXPECT_GT(Z(mid, mid), 200000.0f + 1000);
    EXPECT_LE(Z(mid, mid), 300000.0f);
    for (int r = 0; r < Rows(); r++)
        for (int c = 0; c < Cols(); c++) {
            const double rad = std::hypot(X(c), Y(r));
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            if (rad < 19000) {
                EXPECT_GE(Z(r, c), 200000 - 1);
                EXPECT_LE(Z(r, c), 300000 + 1);
            } else if (rad > 21000 && rad < 39000) {
                EXPECT_GE(Z(r, c), 100000 - 1);
                EXPECT_LE(Z(r, c), 200000 + 1);
            } else if (rad > 41000) {
                EXPECT_GE(Z(r, c), 0 - 1);
                EXPECT_LE(Z(r, c), 100000 + 1);
            }
        }
}

// Concentric rings: from the top outwards the heights only fall.
TEST_F(McTest, ConcentricRingsFallOutwards) {
    Ring(100, 0, 0, 30000, 48);
    Ring(200, 0, 0, 20000, 48);
    Ring(300, 0, 0, 10000, 48);
    Region(0, 0, 40000, 1000, 1000);
    IntrCmd(CatMdl, CmdTrnCre);
    for (int c = 1; c < Cols(); c++) EXPECT_LE(Z(0, c), Z(0, c - 1) + 0.5f) << "column " << c;
    EXPECT_NEAR(Z(0, 10), 300, 5);
    EXPECT_NEAR(Z(0, 20), 200, 5);
    EXPECT_NEAR(Z(0, 30), 100, 5);
}

// Beyond the last contour the slope does not run on: the plain levels out within one interval.
TEST_F(McTest, APlainBeyondTheLastContourLevelsOut) {
    Ctr(100000, {-50000, 0, 50000, 0});
    Ctr(200000, {-50000, 10000, 50000, 10000});
    Ctr(300000, {-50000, 20000, 50000, 20000});
    Region(-10000, -60000, 10000, 20000, 1000);
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_EQ(Y(0), -60000);
    const int c = Cols() / 2;
    for (int r = 0; Y(r) < 0; r++) {
        EXPECT_GE(Z(r, c), 0 - 1) << "row " << r;
        EXPECT_LE(Z(r, c), 100000 + 1) << "row " << r;
    }
    // Far out, the last 10 km change far less than the slope between the contours (10 m per km).
    EXPECT_LT(std::fabs(Z(10, c) - Z(0, c)), 20000);
}

// Posts that break the contours' order are counted; the surface has none, the posts of a surface
// pushed across a level have.
TEST_F(McTest, OrderBandsCountPostsOutsideTheirLevels) {
    Ring(100000, 0, 0, 40000, 64);
    Ring(200000, 0, 0, 20000, 64);
    Region(-50000, -50000, 50000, 50000, 5000);
    IntrCmd(CatMdl, CmdTrnCre);
    int nc = 0;
    cntr* c = MkCntr(&nc);
    OrdBand b;
    TrnOrdBand(c, nc, TrnSrf->v, Rows(), Cols(), MshItv, &b);
    EXPECT_EQ(b.itv, 100000);
    EXPECT_EQ(CntOrdBrk(TrnSrf->v, TrnSrf->nv, b), 0);
    Z(Rows() / 2, Cols() / 2) = 150000;   // inside the top ring, below it
    Z(0, 0) = 120000;                     // outside the outer ring, above it
    EXPECT_EQ(CntOrdBrk(TrnSrf->v, TrnSrf->nv, b), 2);
    FreeOrdBand(&b);
    FreeCntr(c, nc);
}

// The heights do not depend on how many threads compute them.
TEST_F(McTest, HeightsDoNotDependOnTheThreadCount) {
    Ring(100000, 0, 0, 40000, 40);
    Ring(200000, 5000, 0, 20000, 40);
    Ctr(150000, {-50000, -45000, 50000, -30000});
    Region(-50000, -50000, 50000, 50000, 2500);
    int nc = 0;
    cntr* c = MkCntr(&nc);
    std::vector<float> v1(TrnSrf->v, TrnSrf->v + 3 * TrnSrf->nv);
    std::vector<float> v2 = v1, v3 = v1;
    McPrm p;
    p.itv = MshItv;
    p.threads = 1;
    ASSERT_TRUE(GenTrnMc(c, nc, v1.data(), Rows(), Cols(), p));
    p.threads = 2;
    ASSERT_TRUE(GenTrnMc(c, nc, v2.data(), Rows(), Cols(), p));
    p.threads = 5;
    ASSERT_TRUE(GenTrnMc(c, nc, v3.data(), Rows(), Cols(), p));
    EXPECT_EQ(std::memcmp(v1.data(), v2.data(), v1.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(v1.data(), v3.data(), v1.size() * sizeof(float)), 0);
    FreeCntr(c, nc);
}

// Undo, redo and the filter treat the new surface like any other.
TEST_F(McTest, UndoRedoAndFilterWorkOnTheSurface) {
    Ctr(10000, {-20000, 0, 20000, 0});
    Ctr(20000, {-20000, 10000, 20000, 10000});
    Region(-5000, 0, 5000, 10000, 1000);
    IntrCmd(CatMdl, CmdTrnCre);
    std::vector<float> made = Heights();
    Undo();
    for (float z : Heights()) EXPECT_EQ(z, 0);
    Redo();
    EXPECT_EQ(Heights(), made);
    Z(5, 5) = 90000;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_NEAR(Z(5, 5), made[5 * Cols() + 5], 1);
}
