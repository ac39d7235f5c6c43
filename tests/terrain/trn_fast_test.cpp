// The parallel generator against the per-vertex reference: the same height bits on every vertex
// over contour sets that exercise the walk's corner cases.
#include <gtest/gtest.h>

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

struct Params {
    int ang = 8;
    float sam = 20000;
    float scl = 0.3f;
};

// Runs both generators over the grid x0..x1 × y0..y1 at interval d (every vertex starting at
// height -7) and expects the same bits. Returns how many vertices got a height.
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
        r.minx = r.miny = 1e15;
        r.maxx = r.maxy = -1e15;
        for (int k = 0; k < r.n; k++) {
            r.minx = std::min(r.minx, r.pnt[2 * k]); r.maxx = std::max(r.maxx, r.pnt[2 * k]);
            r.miny = std::min(r.miny, r.pnt[2 * k + 1]); r.maxy = std::max(r.maxy, r.pnt[2 * k + 1]);
        }
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
    return set;
}
}  // namespace

TEST(TerrainFast, ParallelLinesAndGridAlignedContours) {
    Set s;
    for (int k = 0; k < 8; k++) s.Line(0, 100.0 * k, 1000, 100.0 * k, 4, 10.0f * k);
    // Contour vertices every 50 lie exactly on grid vertices and on the row lines.
    int n = Same(s, 0, 0, 1000, 700, 50);
    EXPECT_GT(n, 200);
    Params one;
    one.ang = 1;
    Same(s, 0, 0, 1000, 700, 50, one);
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
    Same(s, -100, -100, 1800, 1100, 60, p);
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
