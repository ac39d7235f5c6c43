// Segment intersection: crossings, overlaps, touching ends and the tolerances at the limits.
#include <gtest/gtest.h>
#include "curves/crv.h"

namespace {
struct Res { int n; double p[2][2]; };
Res Isc(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    double a[2] = {ax, ay}, b[2] = {bx, by}, c[2] = {cx, cy}, d[2] = {dx, dy};
    Res r{};
    r.n = IntscSeg(a, b, c, d, r.p);
    return r;
}
}  // namespace

TEST(CurveIntscSeg, ProperCrossingReportsThePoint) {
    Res r = Isc(0, 0, 10, 10, 0, 10, 10, 0);
    ASSERT_EQ(r.n, 1);
    EXPECT_NEAR(r.p[0][0], 5, 1e-9);
    EXPECT_NEAR(r.p[0][1], 5, 1e-9);
    r = Isc(-3, 2, 7, 2, 1, -5, 1, 9);
    ASSERT_EQ(r.n, 1);
    EXPECT_NEAR(r.p[0][0], 1, 1e-9);
    EXPECT_NEAR(r.p[0][1], 2, 1e-9);
}

TEST(CurveIntscSeg, DisjointAndNearMisses) {
    EXPECT_EQ(Isc(0, 0, 1, 0, 2, -1, 2, 1).n, 0);       // beyond the end of AB
    EXPECT_EQ(Isc(0, 0, 10, 0, 0, 1, 10, 1).n, 0);      // parallel, apart
    EXPECT_EQ(Isc(0, 0, 100, 0, 100.01, -5, 100.01, 5).n, 0);  // 0.01 past the end
    // The rectangles are widened by 0.0001 only: just inside that counts, just outside not.
    EXPECT_EQ(Isc(0, 0, 100, 0, 100.00005, -5, 100.00005, 5).n, 1);
    EXPECT_EQ(Isc(0, 0, 100, 0, 100.0005, -5, 100.0005, 5).n, 0);
    // A T-touch in the middle of a segment is a crossing.
    EXPECT_EQ(Isc(0, 0, 10, 0, 5, 0, 5, 10).n, 1);
}

TEST(CurveIntscSeg, ShortSegmentsAndTouchingEnds) {
    EXPECT_EQ(Isc(0, 0, 0.0005, 0, 0, -1, 0, 1).n, 0);  // AB too short
    EXPECT_EQ(Isc(-1, 0, 1, 0, 0, 0, 0, 0.0009).n, 0);  // CD too short
    EXPECT_EQ(Isc(0, 0, 1, 1, 1, 1, 2, 0).n, -1);       // B meets C
    EXPECT_EQ(Isc(0, 0, 1, 1, 2, 0, 0.0005, 0.0005).n, -1);  // A within 0.001 of D
}

TEST(CurveIntscSeg, CollinearOverlapGivesFirstOverlapPoint) {
    Res r = Isc(0, 0, 10, 0, 4, 0, 20, 0);
    ASSERT_EQ(r.n, 2);
    EXPECT_NEAR(r.p[0][0], 4, 1e-9);
    EXPECT_NEAR(r.p[1][0], 10, 1e-9);
    r = Isc(10, 0, 0, 0, 4, 0, 6, 0);  // AB runs backwards: first along AB is x = 6
    ASSERT_EQ(r.n, 2);
    EXPECT_NEAR(r.p[0][0], 6, 1e-9);
    EXPECT_EQ(Isc(0, 0, 10, 0, 12, 0, 20, 0).n, 0);     // same line, no overlap
}

TEST(CurveIntscSeg, NearlyParallelBelowTheDeterminantLimitDoesNotCross) {
    // det = 0.004 < 0.005: treated as parallel, and the lines are not the same.
    EXPECT_EQ(Isc(0, 0, 0.1, 0, 0.05, -0.02, 0.05, 0.02).n, 0);
    // Same shape scaled up crosses.
    EXPECT_EQ(Isc(0, 0, 1, 0, 0.5, -0.2, 0.5, 0.2).n, 1);
}
