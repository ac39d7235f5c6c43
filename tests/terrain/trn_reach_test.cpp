// How far a post's height reaches: the coarse map of the levels around each cell against rays cast
// one by one, and each method's reach from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "terrain/trn_gen.h"
#include "terrain/trn_mth.h"

namespace {

struct Line {
    float h;
    std::vector<double> xy;
};

std::vector<cntr> Cntrs(std::vector<Line>& ls) {
    std::vector<cntr> c;
    for (Line& l : ls) {
        cntr e{};
        e.n = static_cast<int>(l.xy.size() / 2);
        e.pnt = l.xy.data();
        e.hgt = l.h;
        c.push_back(e);
    }
    return c;
}

// Where the eight rays from (x, y) first cross a contour within the box [0, w] x [0, h]: the
// nearest level and the distance of the nearest other level (HUGE_VAL: none).
double OtherLevel(const std::vector<Line>& ls, double x, double y, double w, double h) {
    std::vector<std::pair<double, float>> hits;   // each ray's first crossing and its level
    for (int a = 0; a < 8; a++) {
        const double ux = std::cos(a * M_PI / 4), uy = std::sin(a * M_PI / 4);
        double first = HUGE_VAL;
        float lvl = 0;
        for (const Line& l : ls)
            for (size_t j = 0; j + 3 < l.xy.size(); j += 2) {
                // x + t u = p + s e, t >= 0, 0 <= s <= 1.
                const double px = l.xy[j], py = l.xy[j + 1], ex = l.xy[j + 2] - px, ey = l.xy[j + 3] - py;
                const double det = ux * (-ey) - uy * (-ex);
                if (std::fabs(det) < 1e-12) continue;
                const double rx = px - x, ry = py - y;
                const double t = (rx * (-ey) - ry * (-ex)) / det, s = (ux * ry - uy * rx) / det;
                const double cx = x + t * ux, cy = y + t * uy;
                if (t < 0 || s < 0 || s > 1 || cx < 0 || cy < 0 || cx > w || cy > h) continue;
                if (t < first) {
                    first = t;
                    lvl = l.h;
                }
            }
        if (first != HUGE_VAL) hits.push_back({first, lvl});
    }
    if (hits.empty()) return HUGE_VAL;
    std::sort(hits.begin(), hits.end());
    double db = HUGE_VAL;
    for (const auto& [d, l] : hits)
        if (l != hits[0].second) db = std::min(db, d);
    return db;
}

// Contours of three levels: two lines, a closed ring and a bent line, over 1000 x 600.
std::vector<Line> Sample() {
    std::vector<Line> ls = {{10, {0, 100, 1000, 140}}, {20, {0, 420, 300, 380, 700, 470, 1000, 430}}};
    Line ring{30, {}};
    for (int k = 0; k <= 24; k++)
        ring.xy.insert(ring.xy.end(), {700 + 120 * std::cos(k * M_PI / 12), 250 + 80 * std::sin(k * M_PI / 12)});
    ls.push_back(ring);
    ls.push_back({20, {150, 600, 200, 520, 260, 600}});
    return ls;
}

}  // namespace

// The rays of every cell, found by sweeping the rows, columns and diagonals at once, meet the
// levels a ray cast from the cell's centre meets; the map adds half a cell's diagonal.
TEST(TrnSpcMap, RaysFindTheTwoLevelsAroundEveryCell) {
    std::vector<Line> ls = Sample();
    std::vector<cntr> c = Cntrs(ls);
    TrnSpcMap m;
    m.cell = 20;
    m.nx = 50;
    m.ny = 30;
    for (bool& o : m.open) o = false;
    TrnSpcMk(c.data(), static_cast<int>(c.size()), &m);
    ASSERT_EQ(m.d2.size(), 1500u);
    int told = 0;
    for (int r = 0; r < m.ny; r++)
        for (int k = 0; k < m.nx; k++) {
            SCOPED_TRACE(testing::Message() << "cell " << k << ", " << r);
            const double want = OtherLevel(ls, (k + 0.5) * m.cell, (r + 0.5) * m.cell, 1000, 600);
            const double d2 = m.d2[static_cast<size_t>(r) * m.nx + k];
            if (want == HUGE_VAL) continue;  // one level: the farthest crossing
            ASSERT_NEAR(d2, want + m.cell * std::sqrt(0.5), 1e-3);
            told++;
        }
    EXPECT_GT(told, 600);
}

// A map of part of the ground, open where the ground goes on, never tells a shorter distance than
// the map of the whole; where it cannot tell (one level seen, a ray leaving it) it says so.
TEST(TrnSpcMap, PartOfTheGroundNeverTellsLess) {
    std::vector<Line> ls = Sample();
    std::vector<cntr> c = Cntrs(ls);
    TrnSpcMap all, part;
    all.cell = part.cell = 20;
    all.nx = 50;
    all.ny = 30;
    for (bool& o : all.open) o = false;
    // Columns 20 .. 39, rows 5 .. 24 of the whole; open on every side.
    part.x0 = 400;
    part.y0 = 100;
    part.nx = part.ny = 20;
    TrnSpcMk(c.data(), static_cast<int>(c.size()), &all);
    TrnSpcMk(c.data(), static_cast<int>(c.size()), &part);
    int unknown = 0;
    for (int r = 0; r < 20; r++)
        for (int k = 0; k < 20; k++) {
            const float p = part.d2[static_cast<size_t>(r) * 20 + k];
            EXPECT_GE(p, all.d2[static_cast<size_t>(r + 5) * 50 + k + 20] - 1e-3f) << k << ", " << r;
            unknown += p == HUGE_VALF;
        }
    EXPECT_GT(unknown, 0);
    // The ring alone (centre 700, 250; radii 120 and 80) in a map that the grid's edge closes: a
    // cell inside and one outside see one level, the farthest first crossing; with the east side
    // open, the one outside cannot tell (its ray east leaves the map), the one inside still can.
    TrnSpcMap one = all;
    const size_t in = static_cast<size_t>(12) * 50 + 35, out = static_cast<size_t>(12) * 50 + 42;
    TrnSpcMk(c.data() + 2, 1, &one);
    EXPECT_NEAR(one.d2[in], 120 * std::sqrt(2.0) + 20 * std::sqrt(0.5), 40);
    EXPECT_LT(one.d2[out], HUGE_VALF);
    one.open[1] = true;
    TrnSpcMk(c.data() + 2, 1, &one);
    EXPECT_LT(one.d2[in], HUGE_VALF);
    EXPECT_EQ(one.d2[out], HUGE_VALF);
    // A line east of a cell ending beside its row: the one diagonal ray that misses it (south-east,
    // then north-east) leaves past the open east side, so the cell cannot tell; closed, it can.
    const size_t cell = static_cast<size_t>(12) * 50 + 40;
    for (double y0 : {230.0, -330.0}) {
        std::vector<Line> e = {{40, {900, y0, 900, y0 + 600}}};
        std::vector<cntr> ec = Cntrs(e);
        TrnSpcMk(ec.data(), 1, &one);
        EXPECT_EQ(one.d2[cell], HUGE_VALF) << y0;
        one.open[1] = false;
        TrnSpcMk(ec.data(), 1, &one);
        EXPECT_LT(one.d2[cell], HUGE_VALF) << y0;
        one.open[1] = true;
    }
}

// Gradient paths reach past their two levels and one band beyond: at least twice as far as the
// rays go, and the wide band next door reaches into the narrow one. The
// methods that depend on the whole region have no reach.
TEST(TrnSpcMap, GradientPathsReachOneBandBeyond) {
    // Levels every 10 along y = 0, 50, 100 and 500: narrow bands, then a wide one.
    std::vector<Line> ls = {{10, {-100, 0, 2100, 0}}, {20, {-100, 50, 2100, 50}}, {30, {-100, 100, 2100, 100}},
                            {40, {-100, 500, 2100, 500}}};
    std::vector<cntr> c = Cntrs(ls);
    TrnSpcMap m;
    m.cell = 10;
    m.nx = 200;
    m.ny = 50;
    TrnSpcMk(c.data(), 4, &m);
    std::vector<float> reach;
    for (TrnMethodKind k : {TrnMethodCrs, TrnMethodMinCrv}) {
        EXPECT_FALSE(TrnMethodReach(k, m, 5, &reach));
        EXPECT_TRUE(reach.empty());
        EXPECT_EQ(TrnMethodRim(k), HUGE_VAL);
    }
    ASSERT_TRUE(TrnMethodReach(TrnMethodPath, m, 5, &reach));
    ASSERT_EQ(reach.size(), m.d2.size());
    for (size_t i = 0; i < reach.size(); i++) ASSERT_GE(reach[i], 2 * m.d2[i]) << i;
    // Between y = 50 and 100, x = 1000: the band above is 400 wide.
    const size_t mid = static_cast<size_t>(7) * m.nx + 100;
    EXPECT_LT(m.d2[mid], 60);
    EXPECT_GT(reach[mid], 400);
    EXPECT_GT(TrnMethodRim(TrnMethodPath), 1.5);
}

// A reach takes the largest distance of the cells around its own, read from square windows: never
// less than that of every cell within probe (d2 + itv) and a cell, and where that window lies
// inside the map exactly that (one cell wider takes the larger distance beyond: every tile would
// overlap more).
TEST(TrnSpcMap, ReachTakesTheLargestDistanceWithinItsWindow) {
    // One level along x = 300 across a closed map: the distance grows either way from it.
    std::vector<Line> ls = {{10, {300, -10, 300, 610}}};
    std::vector<cntr> c = Cntrs(ls);
    TrnSpcMap m;
    m.cell = 10;
    m.nx = m.ny = 60;
    for (bool& o : m.open) o = false;
    const double itv = 10;
    TrnSpcMk(c.data(), 1, &m);
    std::vector<float> reach;
    ASSERT_TRUE(TrnMethodReach(TrnMethodPath, m, itv, &reach));
    int exact = 0;
    for (int r = 0; r < m.ny; r++)
        for (int k = 0; k < m.nx; k++) {
            const size_t i = static_cast<size_t>(r) * m.nx + k;
            if (!std::isfinite(m.d2[i])) continue;
            const int h = static_cast<int>(std::ceil((m.d2[i] + itv) / m.cell)) + 1;
            float far = 0;
            for (int y = std::max(0, r - h); y <= std::min(m.ny - 1, r + h); y++)
                for (int x = std::max(0, k - h); x <= std::min(m.nx - 1, k + h); x++)
                    far = std::max(far, m.d2[static_cast<size_t>(y) * m.nx + x]);
            const float want = static_cast<float>(m.d2[i] + itv + far + 2 * itv);
            if (r >= h && k >= h && r + h < m.ny && k + h < m.nx) {
                ASSERT_FLOAT_EQ(reach[i], want) << k << ", " << r;
                exact++;
            } else {
                ASSERT_GE(reach[i], want) << k << ", " << r;
            }
        }
    EXPECT_GT(exact, 100);
}
