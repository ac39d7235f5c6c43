// The parallel generator against the per-vertex reference: the same height bits on every vertex
// over contour sets that exercise the walk's corner cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "core/alc.h"
#include "core/mode.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"

namespace {
struct Set {
    std::vector<std::vector<double>> c;   // x, y pairs
    std::vector<float> h;
    void Add(std::vector<double> p, float hgt) { c.push_back(std::move(p)); h.push_back(hgt); }
    void Ring(double cx, double cy, double r, int n, float hgt, double wob = 0) {
        std::vector<double> p;
        for (int k = 0; k <= n; k++) {
            double a = 2 * M_PI * (k % n) / n;
            double rr = r * (1 + wob * std::sin(5 * a));
            p.push_back(cx + rr * std::cos(a));
            p.push_back(cy + rr * std::sin(a));
        }
        Add(p, hgt);
    }
    void Line(double x0, double y0, double x1, double y1, int n, float hgt) {
        std::vector<double> p;
        for (int k = 0; k <= n; k++) {
            p.push_back(x0 + (x1 - x0) * k / n);
            p.push_back(y0 + (y1 - y0) * k / n);
        }
        Add(p, hgt);
    }
};

// The contour's box from its points.
void SetBox(cntr& r) {
    r.minx = r.miny = 1e300;
    r.maxx = r.maxy = -1e300;
    for (int k = 0; k < r.n; k++) {
        r.minx = std::min(r.minx, r.pnt[2 * k]); r.maxx = std::max(r.maxx, r.pnt[2 * k]);
        r.miny = std::min(r.miny, r.pnt[2 * k + 1]); r.maxy = std::max(r.maxy, r.pnt[2 * k + 1]);
    }
}

struct Params {
    int ang = 8;
    float sam = 20000;
    float scl = 0.3f;
};

// Runs both generators over the grid x0..x1 × y0..y1 at interval d (every vertex starting at
// height -7) and expects the same bits, and with more than one cross line a height at every
// vertex. Returns how many vertices got a height.
int Same(const Set& s, float x0, float y0, float x1, float y1, float d, Params pr = {}) {
    int nc = static_cast<int>(s.c.size());
    cntr* c = static_cast<cntr*>(AlcMem(sizeof(cntr) * nc, "cntr"));
    double lo[2] = {x0, y0}, hi[2] = {x1, y1};
    for (int i = 0; i < nc; i++) {
        cntr& r = c[i];
        r.n = static_cast<int>(s.c[i].size() / 2);
        r.pnt = static_cast<double*>(AlcMem(sizeof(double) * s.c[i].size(), "pnt"));
        std::memcpy(r.pnt, s.c[i].data(), sizeof(double) * s.c[i].size());
        r.hgt = s.h[i];
        SetBox(r);
        lo[0] = std::min(lo[0], r.minx); lo[1] = std::min(lo[1], r.miny);
        hi[0] = std::max(hi[0], r.maxx); hi[1] = std::max(hi[1], r.maxy);
    }
    TrnGenPrm prm;
    prm.crsAngNum = pr.ang;
    prm.crsLenScl = pr.scl;
    prm.samDst = pr.sam;
    TrnGenCtx ctx;
    IniGenCtx(ctx, c, nc, std::max(hi[0] - lo[0], hi[1] - lo[1]), prm);
    std::vector<float> a, b;
    for (float y = y0; y <= y1; y += d)
        for (float x = x0; x <= x1; x += d) {
            float p[3] = {x, y, -7};
            a.insert(a.end(), p, p + 3);
        }
    b = a;
    int nv = static_cast<int>(a.size() / 3);
    EXPECT_TRUE(RunRef(ctx, a.data(), nv, false));
    BgnWork();
    EXPECT_TRUE(GenTrnFast(ctx, b.data(), nv, false));
    RunFlg = 0;
    int set = 0, diff = 0;
    for (int i = 0; i < nv; i++) {
        if (std::memcmp(&a[3 * i + 2], &b[3 * i + 2], sizeof(float)) != 0 && diff++ < 5)
            ADD_FAILURE() << "vertex " << i << " (" << a[3 * i] << ", " << a[3 * i + 1]
                          << "): reference " << a[3 * i + 2] << ", fast " << b[3 * i + 2];
        if (a[3 * i + 2] != -7) set++;
    }
    FreeGenCtx(ctx);
    FreeCntr(c, nc);
    // With cross lines in several directions every post of these layouts meets a contour: a post
    // left without a height would shrink what the comparison covers.
    if (pr.ang > 1) {
        EXPECT_EQ(set, nv) << "posts without a height";
    }
    return set;
}
}  // namespace

TEST(TerrainFast, ParallelLinesAndGridAlignedContours) {
    Set s;
    for (int k = 0; k < 8; k++) s.Line(0, 100.0 * k, 1000, 100.0 * k, 4, 10.0f * k);
    // Contour vertices every 50 lie exactly on grid vertices and on the row lines.
    int n = Same(s, 0, 0, 1000, 700, 50);
    EXPECT_GT(n, 200);
    // One cross line (along x) meets the contours only from the posts between two of them.
    Params one;
    one.ang = 1;
    EXPECT_GT(Same(s, 0, 0, 1000, 700, 50, one), 100);
    // A diagonal contour through grid vertices, crossing the others.
    s.Line(0, 0, 700, 700, 14, 35);
    Same(s, 0, 0, 1000, 700, 50);
}

TEST(TerrainFast, ClosedRingsAndNestedHills) {
    Set s;
    for (int k = 1; k <= 6; k++) s.Ring(500, 500, 70.0 * k, 48, 100.0f - 10 * k, 0.08);
    for (int k = 1; k <= 3; k++) s.Ring(1400, 600, 60.0 * k, 36, 60.0f - 10 * k);
    s.Ring(1400, 600, 40, 12, 55);   // a ring inside the innermost ring
    EXPECT_GT(Same(s, -100, -100, 1800, 1100, 40), 500);
    Params p;
    p.sam = 1;
    Same(s, -100, -100, 1800, 1100, 60, p);
    p.sam = 1e6f;
    Same(s, -100, -100, 1800, 1100, 60, p);
    p.ang = 1;
    EXPECT_GT(Same(s, -100, -100, 1800, 1100, 60, p), 300);
}

TEST(TerrainFast, EqualHeightsAndVerticesOutsideEveryContour) {
    Set s;
    s.Line(100, 100, 900, 120, 3, 50);
    s.Line(100, 105, 900, 125, 7, 50);   // 5 apart, the same height
    s.Line(100, 400, 900, 380, 5, 50);
    s.Line(100, 600, 900, 600, 1, 70);   // two points only
    s.Ring(2000, 2000, 100, 20, 30);     // far from the region
    Params p;
    Same(s, -500, -500, 1500, 1200, 45, p);
    p.sam = 1;
    Same(s, -500, -500, 1500, 1200, 45, p);
    p.scl = 0.05f;   // many short steps
    Same(s, -500, -500, 1500, 1200, 90, p);
    p.scl = 0.9f;    // one long step
    Same(s, -500, -500, 1500, 1200, 90, p);
}

TEST(TerrainFast, RandomWigglyContours) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(-1, 1);
    Set s;
    for (int k = 0; k < 30; k++) {
        std::vector<double> p;
        double y = 40.0 * k, x = 0;
        for (int j = 0; j < 80; j++) {
            p.push_back(x);
            p.push_back(y + 15 * u(rng));
            x += 15 + 5 * u(rng);
        }
        s.Add(p, static_cast<float>(10 * (k % 7)));
    }
    EXPECT_GT(Same(s, 0, 0, 1200, 1160, 37), 500);
    Params p;
    p.ang = 3;
    p.sam = 30;
    Same(s, 0, 0, 1200, 1160, 53, p);
}

namespace {
// A ring of radius r around (cx, cy) through its crossings with the lines x = k d and y = k d,
// in angle order: the vertices lie on the grid's rows and columns, as a marching-squares tracer
// leaves them, so the axis cross lines of the posts pass exactly through contour vertices.
// jit: vertices moved off their line by up to twice that, by turns.
void GridRing(Set& s, double cx, double cy, double r, double d, float hgt, double jit = 0) {
    std::vector<std::pair<double, std::pair<double, double>>> p;
    for (double x = std::ceil((cx - r) / d) * d; x <= cx + r; x += d) {
        double h = std::sqrt(std::max(0.0, r * r - (x - cx) * (x - cx)));
        p.push_back({std::atan2(h, x - cx), {x, cy + h}});
        if (h > 0) p.push_back({std::atan2(-h, x - cx), {x, cy - h}});
    }
    for (double y = std::ceil((cy - r) / d) * d; y <= cy + r; y += d) {
        double w = std::sqrt(std::max(0.0, r * r - (y - cy) * (y - cy)));
        p.push_back({std::atan2(y - cy, w), {cx + w, y}});
        if (w > 0) p.push_back({std::atan2(y - cy, -w), {cx - w, y}});
    }
    std::sort(p.begin(), p.end());
    std::vector<double> xy;
    for (size_t k = 0; k < p.size(); k++) {
        const double j = jit * (static_cast<int>(k % 5) - 2);
        const bool row = std::fmod(p[k].second.second, d) == 0;
        xy.push_back(p[k].second.first + (row ? 0 : j));
        xy.push_back(p[k].second.second + (row ? j : 0));
    }
    xy.push_back(xy[0]);
    xy.push_back(xy[1]);
    s.Add(xy, hgt);
}
}  // namespace

// Vertices on the grid lines: the axis cross lines meet two edges at each such vertex, whose equal
// crossings are ordered and thinned by their place in the list, not by distance alone.
TEST(TerrainFast, ContourVerticesOnTheGridLines) {
    Set s;
    for (int k = 1; k <= 7; k++) GridRing(s, 1000, 800, 90.0 * k, 50, 300.0f - 20 * k);
    for (int k = 1; k <= 3; k++) GridRing(s, 1900, 600, 120.0 * k, 50, 200.0f + 20 * k);
    EXPECT_GT(Same(s, 0, 0, 2500, 1600, 50), 1000);
    Params p;
    p.scl = 0.07f;   // steps ending near crossings
    Same(s, 0, 0, 2500, 1600, 50, p);
    p.sam = 200;     // thinning only of near neighbours
    Same(s, 0, 0, 2500, 1600, 50, p);
    p.ang = 4;
    Same(s, 0, 0, 2500, 1600, 100, p);
    // Vertices a little off the lines: micrometres to a tenth of a millimetre, where the
    // crossing of an edge that ends near a line is a matter of its length and angle.
    Set t;
    const double jit[] = {2e-6, 1e-4, 3e-4, 1e-3, 0.03};
    for (int k = 0; k < 5; k++) GridRing(t, 600, 500, 70.0 * (k + 1), 25, 300.0f - 20 * k, jit[k]);
    for (int k = 0; k < 3; k++) GridRing(t, 500, 520, 20.0 + 130.0 * k, 25, 310.0f - 25 * k, jit[4 - k]);
    EXPECT_GT(Same(t, 0, 0, 1200, 1000, 25), 1000);
}

// Contours a few micrometres to millimetres apart, of one height and of two, some of them the same
// line twice; and posts that lie on a contour, on its vertices and between them.
TEST(TerrainFast, CloseContoursAndPostsOnContours) {
    Set s;
    s.Line(0, 400, 2000, 400, 40, 50);           // through every post of a row
    s.Line(0, 400.002, 2000, 400.002, 7, 50);    // two micrometres above, the same height
    s.Line(0, 401, 2000, 401, 9, 60);            // a millimetre above, another height
    s.Line(0, 800, 2000, 800, 40, 70);
    s.Line(0, 800, 2000, 800, 40, 70);           // the same line again
    s.Line(600, 0, 600, 1200, 24, 40);           // through a column of posts
    s.Line(600.0005, 0, 600.0005, 1200, 5, 45);  // half a micrometre beside it
    s.Line(0, 1000, 2000, 1000.5, 13, 80);
    s.Line(0, 1000.3, 2000, 1000.8, 17, 80);
    for (int k = 0; k < 6; k++) s.Line(1200 + 3.0 * k, 0, 1200 + 3.0 * k, 1200, 11, 90.0f + (k % 2));
    EXPECT_GT(Same(s, 0, 0, 2000, 1200, 50), 700);
    Params p;
    p.sam = 1;
    Same(s, 0, 0, 2000, 1200, 50, p);
    p.scl = 0.11f;
    Same(s, 0, 0, 2000, 1200, 50, p);
}

// Edges at tiny angles to the cross lines (almost along the axes and the diagonals) and long edges
// that reach over several steps of a walk.
TEST(TerrainFast, NearlyParallelAndLongEdges) {
    Set s;
    for (int k = 0; k < 8; k++) {
        double e = 1e-7 * (k + 1) * (k % 2 ? 1 : -1);
        s.Line(0, 100.0 + 150 * k, 3000, 100.0 + 150 * k + 3000 * e, 1, 10.0f * k);
        s.Line(200.0 * k, 0, 200.0 * k + 1500 * e, 1500, 3, 15.0f * k + 5);
    }
    for (int k = 0; k < 5; k++) {
        double o = 250.0 * k, e = 1e-6 * k;
        s.Line(o, 0, o + 1500, 1500 * (1 + e), 2, 100.0f + 10 * k);   // along a diagonal
    }
    EXPECT_GT(Same(s, 0, 0, 3000, 1500, 50), 1000);
    Params p;
    p.scl = 0.05f;   // many steps, each shorter than the edges
    Same(s, 0, 0, 3000, 1500, 100, p);
    p.ang = 6;
    Same(s, 0, 0, 3000, 1500, 100, p);
}

// A map hundreds of kilometres wide: the search's margins grow with the extent, where a float
// step is tens of millimetres.
TEST(TerrainFast, MapsHundredsOfKilometresWide) {
    Set s;
    std::mt19937 rng(777);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int k = 0; k < 20; k++) {
        std::vector<double> p;
        double y = 1.0e7 * k, x = 0;
        for (int j = 0; j < 60; j++) {
            p.push_back(x);
            p.push_back(y + 4e6 * u(rng));
            x += 5e6 + 1e6 * u(rng);
        }
        s.Add(p, static_cast<float>(5 * (k % 9)));
    }
    GridRing(s, 1.5e8, 1.0e8, 4e7, 5e6, 100);
    EXPECT_GT(Same(s, 0, 0, 3.0e8f, 2.0e8f, 5e6f), 1000);
}

// The strip search starts from a coarse table and must land exactly where a binary search over the
// strip lands, for values at, just beside, between and beyond the entries, in strips whose entries
// share their along bounds (contours along the direction) and in strips of a single entry.
TEST(TerrainFast, StripSearchLandsWhereTheBinarySearchDoes) {
    std::mt19937 rng(4242);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<cntr> c;
    std::vector<std::vector<double>> pts;
    auto add = [&](std::vector<double> p) {
        pts.push_back(std::move(p));
    };
    for (int k = 0; k < 12; k++) {   // wiggly lines across
        std::vector<double> p;
        for (int j = 0; j < 50; j++) {
            p.push_back(20.0 * j + 5 * u(rng));
            p.push_back(80.0 * k + 30 * u(rng));
        }
        add(p);
    }
    for (int k = 0; k < 6; k++) add({100.0 * k, 0, 100.0 * k, 500, 100.0 * k, 1000});   // upright
    add({5000, 5000, 5000.5, 5000.5});                                                  // alone
    for (auto& p : pts) {
        cntr r{};
        r.n = static_cast<int>(p.size() / 2);
        r.pnt = p.data();
        SetBox(r);
        c.push_back(r);
    }
    TrnGenCtx ctx;
    IniGenCtx(ctx, c.data(), static_cast<int>(c.size()), 5000, TrnGenPrm{});
    StrIdx* x = MkStrIdx(ctx);
    int strips = 0, probes = 0;
    for (int a = 0; a < ctx.nAng; a++)
        for (int t = 0; t < 300; t++) {
            const double p[2] = {5100 * u(rng) - 50, 5100 * u(rng) - 50};
            StrRun r;
            if (!StrLine(*x, a, p, r)) continue;
            strips++;
            std::vector<float> vals = {-1e30f, 1e30f, static_cast<float>(-1e4 + 2e4 * u(rng))};
            for (int j = 0; j < r.n; j++) {
                const float v = r.e[j].a0;
                vals.insert(vals.end(), {v, std::nextafter(v, -HUGE_VALF), std::nextafter(v, HUGE_VALF)});
                if (j + 1 < r.n) vals.push_back(0.5f * (v + r.e[j + 1].a0));
            }
            for (float v : vals) {
                const StrEnt* b = r.e;
                const StrEnt* e = r.e + r.n;
                const int lo = static_cast<int>(
                    std::lower_bound(b, e, v, [](const StrEnt& q, float w) { return q.a0 < w; }) - b);
                const int hi = static_cast<int>(
                    std::upper_bound(b, e, v, [](float w, const StrEnt& q) { return w < q.a0; }) - b);
                ASSERT_EQ(StrFirst(r, v, false), lo) << "direction " << a << ", value " << v;
                ASSERT_EQ(StrFirst(r, v, true), hi) << "direction " << a << ", value " << v;
                probes++;
            }
        }
    EXPECT_GT(strips, 300);
    EXPECT_GT(probes, 20000);
    FreeStrIdx(x);
    FreeGenCtx(ctx);
}
