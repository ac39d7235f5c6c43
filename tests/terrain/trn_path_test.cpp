// The gradient-path method on small hand-checkable layouts, through the creation command, and its
// parts: the bands it keeps, the method table and the thread count.
#include "terrain/trn_fixture.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "terrain/trn_band.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"
#include "terrain/trn_mth.h"
#include "terrain/trn_path.h"

namespace {
class PathTest : public TrnTest {
public:
    void SetUp() override {
        TrnTest::SetUp();
        TrnMethod = TrnMethodPath;
    }
    void TearDown() override {
        TrnMethod = TrnMethodCrs;
        TrnTest::TearDown();
    }
    // Rings of a cone z = top - slope * r (levels every itv below top), n sides each; sign -1: a pit.
    static void Cone(double top, double slope, double itv, int rings, double sign) {
        const double first = std::floor(top / itv) * itv;
        for (int k = 0; k < rings; k++) {
            const double lvl = first - k * itv;
            Ring(static_cast<float>(sign * lvl), 0, 0, static_cast<float>((top - lvl) / slope), 96);
        }
    }
};
}  // namespace

// Two straight contours far apart (40 posts): the plane through them, and beyond each the same
// plane, down to one interval below the lower one and up to one above the upper one.
TEST_F(PathTest, TwoFarApartParallelContoursGiveAPlane) {
    Ctr(10000, {-20000, 0, 20000, 0});
    Ctr(20000, {-20000, 40000, 20000, 40000});
    Region(-5000, -20000, 5000, 60000, 1000);
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_EQ(Rows(), 81);
    for (int r = 0; r < Rows(); r++)
        for (int c = 0; c < Cols(); c++) {
            const double want = std::clamp(10000 + Y(r) / 4.0, 0.0, 30000.0);
            EXPECT_NEAR(Z(r, c), want, 2) << "row " << r << " column " << c;
        }
}

// A cone of nested rings: the summit inside the top ring rises above it at the slope of the flanks
// (the cone's own apex, 6 m above the top ring), not flat and not to the next level.
TEST_F(PathTest, ConeSummitRisesAboveTheTopRingByTheFlankSlope) {
    Cone(36000, 1.0, 10000, 3, 1);   // rings 30, 20, 10 m at radii 6, 16, 26 m
    Region(-30000, -30000, 30000, 30000, 500);
    IntrCmd(CatMdl, CmdTrnCre);
    const int mid = Cols() / 2;
    EXPECT_NEAR(Z(mid, mid), 36000, 600);
    // The flanks follow the cone within a fraction of the interval.
    for (int c = 0; c < Cols(); c++) {
        const double r = std::fabs(X(c));
        if (r > 26000) continue;
        EXPECT_NEAR(Z(mid, c), 36000 - r, 700) << "column " << c;
    }
}

// A pit of nested rings is the same cone upside down: its floor lies below the lowest ring by the
// slope of its sides.
TEST_F(PathTest, PitSinksBelowTheLowestRingByTheSideSlope) {
    Cone(36000, 1.0, 10000, 3, -1);
    Region(-30000, -30000, 30000, 30000, 500);
    IntrCmd(CatMdl, CmdTrnCre);
    const int mid = Cols() / 2;
    EXPECT_NEAR(Z(mid, mid), -36000, 600);
}

// A wide plateau above a steep escarpment (rings 2 m apart, 10 m a ring) and, beside it, a wide
// basin below steep banks; a small hill and a small pit elsewhere reach a level further. The slope
// of the scarp cannot go on over the top (it would pass the next level within 2 m), so the top
// levels out about halfway up the interval instead of at the next level, and the basin's floor
// halfway down.
TEST_F(PathTest, WidePlateauAndBasinLevelOutHalfwayThroughTheInterval) {
    for (int k = 0; k < 4; k++) {
        const float lvl = static_cast<float>(10000 * (k + 1));
        if (k < 3) {
            Ring(lvl, -50000, 0, static_cast<float>(40000 - 2000 * k), 96);
            Ring(-lvl, 50000, 0, static_cast<float>(40000 - 2000 * k), 96);
        }
        Ring(lvl, 0, 60000, static_cast<float>(12000 - 3000 * k), 48);
        Ring(-lvl, 0, -60000, static_cast<float>(12000 - 3000 * k), 48);
    }
    Region(-100000, -75000, 100000, 75000, 1000);
    IntrCmd(CatMdl, CmdTrnCre);
    const int mid = Rows() / 2;
    int seen = 0;
    for (int c = 0; c < Cols(); c++) {
        const double x = X(c), y = Y(mid);
        const double top = std::hypot(x + 50000, y), floor = std::hypot(x - 50000, y);
        if (top < 30000) {
            EXPECT_NEAR(Z(mid, c), 35000, 1000) << "column " << c;
            seen++;
        }
        if (floor < 30000) {
            EXPECT_NEAR(Z(mid, c), -35000, 1000) << "column " << c;
        }
    }
    EXPECT_GT(seen, 50);
}

namespace {
// Whether (x, y) lies inside the closed contour c (even-odd rule).
bool Inside(const cntr& c, double x, double y) {
    bool in = false;
    for (int k = 0, j = c.n - 1; k < c.n; j = k++) {
        const double* a = c.pnt + 2 * k;
        const double* b = c.pnt + 2 * j;
        if ((a[1] > y) != (b[1] > y) && x < a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1])) in = !in;
    }
    return in;
}
}  // namespace

// No post leaves the levels that bound it, also where contours crowd between two posts and inside
// rings of one level: each post's band is worked out here from which rings hold it and which side
// of the line it lies on, not taken from the method's own band (which it clamps to).
TEST_F(PathTest, PostsStayWithinTheirLevels) {
    Ring(100000, 0, 0, 40000, 40);
    Ring(200000, 5000, 0, 20000, 40);
    Ring(300000, 5500, 0, 19000, 40);   // within half a post of the 200 m ring on its east side
    Ring(100000, -40000, 40000, 5000, 24);
    Ctr(50000, {-50000, -48000, 50000, -46000});
    Region(-50000, -50000, 50000, 50000, 2500);
    IntrCmd(CatMdl, CmdTrnCre);
    int nc = 0;
    cntr* c = MkCntr(&nc);
    ASSERT_EQ(nc, 5);
    int checked = 0;
    for (int r = 0; r < Rows(); r++)
        for (int k = 0; k < Cols(); k++) {
            const double x = X(k), y = Y(r);
            double top = 0;   // the highest ring that holds the post
            for (int i = 0; i < nc; i++) {
                const double* e = c[i].pnt + 2 * (c[i].n - 1);
                const bool closed = c[i].pnt[0] == e[0] && c[i].pnt[1] == e[1];
                if (closed && Inside(c[i], x, y)) top = std::max(top, static_cast<double>(c[i].hgt));
            }
            // Hilltops get one interval (100 m) above their ring; below the 50 m line one below it.
            double lo = top, hi = top + 100000;
            if (top == 0) {
                const bool above = y > -47000 + 0.02 * x;
                lo = above ? 50000 : -50000;
                hi = above ? 100000 : 50000;
            }
            SCOPED_TRACE(testing::Message() << "post " << x << ", " << y);
            EXPECT_GE(Z(r, k), lo - 1);
            EXPECT_LE(Z(r, k), hi + 1);
            checked++;
        }
    EXPECT_EQ(checked, 41 * 41);
    OrdBand b;
    PathBand(c, nc, TrnSrf->v, Rows(), Cols(), MshItv, &b);
    EXPECT_EQ(b.itv, 100000);
    // Every band is at most one interval wide; the top of the hill lies above its top ring.
    for (int i = 0; i < TrnSrf->nv; i++) {
        EXPECT_GE(b.hi[i], b.lo[i]);
        EXPECT_LE(b.hi[i] - b.lo[i], 100000.0 + 1);
    }
    EXPECT_GT(Z(Rows() / 2, Cols() / 2 + 2), 300000);
    FreeOrdBand(&b);
    FreeCntr(c, nc);
}

// The heights do not depend on how many threads compute them (a fine mesh: the rings lie far
// enough apart in mesh intervals for the posts between them to be smoothed).
TEST_F(PathTest, HeightsDoNotDependOnTheThreadCount) {
    Ring(100000, 0, 0, 40000, 40);
    Ring(200000, 5000, 0, 20000, 40);
    Ctr(150000, {-50000, -45000, 50000, -30000});
    Region(-50000, -50000, 50000, 50000, 500);
    int nc = 0;
    cntr* c = MkCntr(&nc);
    std::vector<float> v1(TrnSrf->v, TrnSrf->v + 3 * TrnSrf->nv);
    std::vector<float> v2 = v1, v3 = v1;
    PathPrm p;
    p.itv = MshItv;
    p.threads = 1;
    ASSERT_TRUE(GenTrnPath(c, nc, v1.data(), Rows(), Cols(), p));
    p.threads = 2;
    ASSERT_TRUE(GenTrnPath(c, nc, v2.data(), Rows(), Cols(), p));
    p.threads = 5;
    ASSERT_TRUE(GenTrnPath(c, nc, v3.data(), Rows(), Cols(), p));
    EXPECT_EQ(std::memcmp(v1.data(), v2.data(), v1.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(v1.data(), v3.data(), v1.size() * sizeof(float)), 0);
    FreeCntr(c, nc);
}

// The bands of a tangle (short lines of random levels, crossing each other and open at both ends,
// where many nodes see their levels first along a diagonal) are the same on one thread or several:
// the threads share the columns, and a node by a strip's edge takes what lies across it.
TEST_F(PathTest, BandsDoNotDependOnTheThreadCount) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> at(-60000, 60000), step(-9000, 9000);
    for (int k = 0; k < 160; k++) {
        crv* line = NewCrvObj("c");
        AtchCrvPrt(TrnPrt, line);
        const float h = static_cast<float>(10000 * (rng() % 12));
        float x = at(rng), y = at(rng);
        for (int m = 0; m < 5; m++, x += step(rng), y += step(rng)) AddCrvPnt(line, x, y, h);
    }
    int nc = 0;
    cntr* c = MkCntr(&nc);
    std::vector<double> X(301), Y(203);
    for (size_t k = 0; k < X.size(); k++) X[k] = -60000 + 400.0 * static_cast<double>(k);
    for (size_t k = 0; k < Y.size(); k++) Y[k] = -40000 + 400.0 * static_cast<double>(k);
    LatBands one;
    MkLatBands(c, nc, X, Y, 10000, one, 1, true);
    ASSERT_GT(one.voids.size(), 0u);   // the tangle contradicts itself: the third levels count too
    for (int nth : {2, 3}) {
        LatBands b;
        MkLatBands(c, nc, X, Y, 10000, b, nth, true);
        EXPECT_TRUE(b.reg == one.reg) << nth;
        EXPECT_EQ(b.rlo, one.rlo) << nth;
        EXPECT_EQ(b.rhi, one.rhi) << nth;
        EXPECT_EQ(b.voids, one.voids) << nth;
    }
    FreeCntr(c, nc);
}

// A contour clipped at the edge of the region still parts the posts of that edge: the posts beyond
// it do not take the heights of the other side (regression: the regions joined around its end).
TEST_F(PathTest, ContourEndingOnTheRegionEdgeStillPartsItsPosts) {
    // Ends a fraction of a millimetre short of the left and right edge columns, as clipping leaves
    // them after rounding.
    Ctr(10000, {-9999.7f, 0, 9999.7f, 0});
    Ctr(20000, {-9999.7f, 10000, 9999.7f, 10000});
    Region(-10000, -10000, 10000, 20000, 1000);
    IntrCmd(CatMdl, CmdTrnCre);
    for (int r = 0; r < Rows(); r++)
        for (int c : {0, Cols() - 1}) {
            const double y = Y(r);
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            const double lo = y < -1 ? -1e9 : y > 1 && y < 9999 ? 10000 - 1 : y > 10001 ? 20000 - 1 : -1e9;
            const double hi = y < -1 ? 10000 + 1 : y > 1 && y < 9999 ? 20000 + 1 : 1e9;
            EXPECT_GE(Z(r, c), lo);
            EXPECT_LE(Z(r, c), hi);
        }
}

// Steep ground: two levels cross the edge between the same two posts. Each post is bounded by the
// crossing nearer to it, not by the farther one (regression: both levels bounded both posts, and
// the band spanned three intervals).
TEST_F(PathTest, SeveralContoursBetweenTwoPostsBoundEachByTheNearer) {
    Ctr(10000, {-10000, 0, 10000, 0});
    Ctr(20000, {-10000, 4000, 10000, 4000});
    Ctr(30000, {-10000, 6000, 10000, 6000});
    Ctr(40000, {-10000, 20000, 10000, 20000});
    Region(-10000, -10000, 10000, 30000, 10000);   // posts at y = -10, 0, 10, 20, 30 m
    int nc = 0;
    cntr* c = MkCntr(&nc);
    OrdBand b;
    PathBand(c, nc, TrnSrf->v, Rows(), Cols(), MshItv, &b);
    // The post at y = 10 m lies between the 30 m and the 40 m contour.
    const int r10 = 2;
    EXPECT_EQ(b.lo[r10 * Cols()], 30000);
    EXPECT_EQ(b.hi[r10 * Cols()], 40000);
    FreeOrdBand(&b);
    FreeCntr(c, nc);
}

// The table: every method has a number, a name and descriptions; names and numbers find them.
TEST(TrnMethodTable, NamesAndNumbersFindEveryMethod) {
    for (int k = 0; k < TrnMethodNum; k++) {
        const TrnMethodInfo& m = TrnMethods[k];
        EXPECT_EQ(m.kind, k);
        EXPECT_EQ(TrnMethodByName(m.name), &m);
        EXPECT_EQ(&TrnMethodOf(k), &m);
        EXPECT_GT(std::strlen(m.desc), 20u);
        EXPECT_GT(std::strlen(m.label), 10u);
    }
    EXPECT_EQ(TrnMethodByName("cross-lines")->kind, TrnMethodCrs);
    EXPECT_EQ(TrnMethodByName("nope"), nullptr);
    EXPECT_EQ(TrnMethodOf(7).kind, TrnMethodCrs);
}

// Two levels crossing at a post, as at a cliff drawn with touching lines: the post lies on both
// and takes the foot's level, not one between them.
TEST_F(PathTest, PostWhereTwoLevelsMeetTakesTheLowerOne) {
    Ctr(10000, {-5000, -5000, 5000, 5000});
    Ctr(20000, {-5000, 5000, 5000, -5000});
    Region(-3000, -3000, 3000, 3000, 1000);
    IntrCmd(CatMdl, CmdTrnCre);
    EXPECT_EQ(Z(3, 3), 10000);
}
