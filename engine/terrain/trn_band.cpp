// The bands of a lattice's nodes from the contours crossed around each node (see trn_band.h).
#include "terrain/trn_band.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "terrain/trn_gen.h"

extern "C" {
#include <libqhull_r/qhull_ra.h>
}
#include "terrain/trn_par.h"

namespace {
constexpr double LvlTol = 1e-3;   // height tolerance of equal levels (mm)
constexpr double Proof = 8;       // spacings of the lines a misread line shows itself over

// A crossing of a lattice edge; at: where along it, 0 at its first node .. 1 at its second.
struct Cut {
    long long e;
    double at;
    int l;
};

// The crossings of one edge: the level next to each node, where it lies, and the level met next
// beyond it from that node (-1: none).
struct Grp {
    int la, lb, na, nb;
    double ra, rb;
};

// A segment of a contour level that the bands take as a contour: a bridge over a gap or an open
// end carried on to the edge.
struct Seg {
    double x0, y0, x1, y1, h;
    bool edge = false;   // an end carried on to the lattice's edge (else a gap closed)
};

// The first crossing met in one direction: level index (-1: none) and distance.
struct Hit {
    int l = -1;
    double d = 0;
};

// The two nearest distinct levels seen from a node. Left unset when made: the first pass of Look
// sets every node (on its threads, which also take the page faults of the grid).
struct Acc {
    int l1, l2;
    float d1, d2;
    void Clear() {
        l1 = l2 = -1;
        d1 = d2 = 0;
    }
    // Returns whether a third level was seen: one of three distinct levels is dropped.
    bool Put(int l, double dd) {
        if (l < 0) return false;
        const float d = static_cast<float>(dd);
        if (l == l1) {
            d1 = std::min(d1, d);
        } else if (l == l2) {
            if (d < d2) d2 = d;
            if (d2 < d1) {
                std::swap(l1, l2);
                std::swap(d1, d2);
            }
        } else if (l1 < 0 || d < d1) {
            const bool drop = l2 >= 0;
            l2 = l1;
            d2 = d1;
            l1 = l;
            d1 = d;
            return drop;
        } else if (l2 < 0 || d < d2) {
            const bool drop = l2 >= 0;
            l2 = l;
            d2 = d;
            return drop;
        } else {
            return true;
        }
        return false;
    }
};
using AccVec = std::vector<Acc, RawAlloc<Acc>>;
using RegVec = std::vector<int, RawAlloc<int>>;

struct Lat {
    const std::vector<double>& X;
    const std::vector<double>& Y;
    int nx, ny;
    long long nn;
    // Edges (horizontal: j nx + i, vertical: nn + j nx + i) that a contour cuts, a bit each, and
    // the count of cut edges before each word: the groups are made in edge order, so an edge's group
    // is its rank among the cut ones. Two bits a node instead of two ints.
    std::vector<uint64_t> cut;
    std::vector<int> rank;
    std::vector<Grp> grp;
    bool Cut(size_t e) const { return (cut[e >> 6] >> (e & 63)) & 1; }
    // The group of edge e, -1 when no contour cuts it.
    int Gi(size_t e) const {
        const uint64_t w = cut[e >> 6];
        if (!((w >> (e & 63)) & 1)) return -1;
        return rank[e >> 6] + std::popcount(w & ((uint64_t{1} << (e & 63)) - 1));
    }
    // The edge joining adjacent nodes u and w and whether u is its first node; -1 when none.
    long long Edge(long long u, long long w, bool* fromA) const {
        *fromA = u < w;
        const long long a = std::min(u, w), b = std::max(u, w);
        if (b == a + 1 && a % nx != nx - 1) return a;
        if (b == a + nx) return nn + a;
        return -1;
    }
    double Nx(long long u) const { return X[static_cast<size_t>(u % nx)]; }
    double Ny(long long u) const { return Y[static_cast<size_t>(u / nx)]; }
    // The crossing of edge u-w nearest to u, seen from point (sx, sy); false when the edge is not cut.
    bool EdgeHit(long long u, long long w, double sx, double sy, Hit& h) const {
        bool fromA = false;
        const long long e = Edge(u, w, &fromA);
        if (e < 0) return false;
        const int g = Gi(static_cast<size_t>(e));
        if (g < 0) return false;
        const Grp& G = grp[static_cast<size_t>(g)];
        const long long a = fromA ? u : w, b = fromA ? w : u;
        const double t = fromA ? G.ra : G.rb;
        const double px = Nx(a) + t * (Nx(b) - Nx(a)), py = Ny(a) + t * (Ny(b) - Ny(a));
        h.l = fromA ? G.la : G.lb;
        h.d = std::sqrt((px - sx) * (px - sx) + (py - sy) * (py - sy));
        return true;
    }
    bool IsCut(long long u, long long w) const {
        bool fromA = false;
        const long long e = Edge(u, w, &fromA);
        return e >= 0 && Cut(static_cast<size_t>(e));
    }
    // The first crossing on the step from node s to node t: along an edge, or across a cell's
    // diagonal (through corners m1 and m2), which a contour crosses when it cuts both ways round.
    bool Step(long long s, long long t, long long m1, long long m2, Hit& h) const {
        const double sx = Nx(s), sy = Ny(s);
        if (m1 < 0) return EdgeHit(s, t, sx, sy, h);
        if (!(IsCut(s, m1) || IsCut(m1, t)) || !(IsCut(s, m2) || IsCut(m2, t))) return false;
        Hit a, b;
        const bool ha = EdgeHit(s, m1, sx, sy, a), hb = EdgeHit(s, m2, sx, sy, b);
        if (!ha && !hb) {
            const bool ha2 = EdgeHit(m1, t, sx, sy, a), hb2 = EdgeHit(m2, t, sx, sy, b);
            if (!ha2) a = b;
            else if (hb2 && b.d < a.d) a = b;
            h = a;
            return true;
        }
        if (!ha) a = b;
        else if (hb && b.d < a.d) a = b;
        h = a;
        return true;
    }
};

// Contour segments in a bucket grid, for the segment tests of the bridges.
struct SegIdx {
    const cntr* c;
    double x0 = 0, y0 = 0, cs = 1;
    int nx = 1, ny = 1;
    std::vector<int> start;                     // per cell: first entry in ent
    std::vector<std::pair<int, int>> ent;       // contour, segment
    SegIdx(const cntr* cc, int nc, double minx, double miny, double maxx, double maxy, double cell) : c(cc) {
        x0 = minx;
        y0 = miny;
        cs = cell;
        nx = std::max(1, std::min(4096, static_cast<int>((maxx - minx) / cs) + 1));
        ny = std::max(1, std::min(4096, static_cast<int>((maxy - miny) / cs) + 1));
        cs = std::max({cs, (maxx - minx) / nx * 1.0000001, (maxy - miny) / ny * 1.0000001});
        std::vector<int> cnt(static_cast<size_t>(nx) * static_cast<size_t>(ny) + 1, 0);
        for (int pass = 0; pass < 2; pass++) {
            if (pass == 1) {
                start.assign(cnt.size(), 0);
                for (size_t k = 1; k < cnt.size(); k++) start[k] = start[k - 1] + cnt[k - 1];
                ent.resize(static_cast<size_t>(start.back()));
                std::fill(cnt.begin(), cnt.end(), 0);
            }
            for (int ci = 0; ci < nc; ci++)
                for (int m = 0; m + 1 < c[ci].n; m++) {
                    const double* p = c[ci].pnt + 2 * m;
                    Cells(std::min(p[0], p[2]), std::min(p[1], p[3]), std::max(p[0], p[2]), std::max(p[1], p[3]),
                          [&](size_t k) {
                              if (pass == 1) ent[static_cast<size_t>(start[k] + cnt[k])] = {ci, m};
                              cnt[k]++;
                          });
                }
        }
    }
    template <class F>
    void Cells(double ax, double ay, double bx, double by, F&& f) const {
        const int i0 = std::clamp(static_cast<int>(std::floor((ax - x0) / cs)), 0, nx - 1);
        const int i1 = std::clamp(static_cast<int>(std::floor((bx - x0) / cs)), 0, nx - 1);
        const int j0 = std::clamp(static_cast<int>(std::floor((ay - y0) / cs)), 0, ny - 1);
        const int j1 = std::clamp(static_cast<int>(std::floor((by - y0) / cs)), 0, ny - 1);
        for (int j = j0; j <= j1; j++)
            for (int i = i0; i <= i1; i++) f(static_cast<size_t>(j) * static_cast<size_t>(nx) + static_cast<size_t>(i));
    }
    // Whether segment p-q crosses a contour segment, leaving out those that meet it at p or q.
    bool Crosses(const double* p, const double* q) const {
        bool hit = false;
        Cells(std::min(p[0], q[0]), std::min(p[1], q[1]), std::max(p[0], q[0]), std::max(p[1], q[1]), [&](size_t k) {
            for (int u = start[k]; u < start[k + 1] && !hit; u++) {
                const auto [ci, m] = ent[static_cast<size_t>(u)];
                const double* a = c[ci].pnt + 2 * m;
                const double* b = a + 2;
                auto same = [](const double* x, const double* y) { return x[0] == y[0] && x[1] == y[1]; };
                if (same(a, p) || same(a, q) || same(b, p) || same(b, q)) continue;
                auto orient = [](const double* o, const double* s, const double* t) {
                    const double v = (s[0] - o[0]) * (t[1] - o[1]) - (s[1] - o[1]) * (t[0] - o[0]);
                    return (v > 0) - (v < 0);
                };
                const int o1 = orient(p, q, a), o2 = orient(p, q, b), o3 = orient(a, b, p), o4 = orient(a, b, q);
                if (o1 != o2 && o3 != o4) hit = true;
                else if (o1 == 0 && o2 == 0 && o3 == 0 && o4 == 0) {
                    // Collinear: overlapping spans cross.
                    const int ax = std::fabs(q[0] - p[0]) >= std::fabs(q[1] - p[1]) ? 0 : 1;
                    const double lo = std::min(p[ax], q[ax]), hi = std::max(p[ax], q[ax]);
                    if (std::max(a[ax], b[ax]) > lo && std::min(a[ax], b[ax]) < hi) hit = true;
                }
            }
        });
        return hit;
    }
    // Distance from point p to the nearest segment of a level other than h, looked for up to r.
    double Other(const double* p, double h, double r) const {
        double best = r;
        Cells(p[0] - r, p[1] - r, p[0] + r, p[1] + r, [&](size_t k) {
            for (int u = start[k]; u < start[k + 1]; u++) {
                const auto [ci, m] = ent[static_cast<size_t>(u)];
                if (std::fabs(c[ci].hgt - h) <= LvlTol) continue;
                const double* a = c[ci].pnt + 2 * m;
                const double ex = a[2] - a[0], ey = a[3] - a[1], l2 = ex * ex + ey * ey;
                double t = l2 > 0 ? ((p[0] - a[0]) * ex + (p[1] - a[1]) * ey) / l2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                best = std::min(best, std::hypot(a[0] + t * ex - p[0], a[1] + t * ey - p[1]));
            }
        });
        return best;
    }
};

// Whether segments p-q and a-b cross or touch.
bool SegsCross(const double* p, const double* q, const double* a, const double* b) {
    auto orient = [](const double* o, const double* s, const double* t) {
        const double v = (s[0] - o[0]) * (t[1] - o[1]) - (s[1] - o[1]) * (t[0] - o[0]);
        return (v > 0) - (v < 0);
    };
    const int o1 = orient(p, q, a), o2 = orient(p, q, b), o3 = orient(a, b, p), o4 = orient(a, b, q);
    if (o1 != o2 && o3 != o4) return true;
    if (o1 != 0 || o2 != 0 || o3 != 0 || o4 != 0) return false;
    const int ax = std::fabs(q[0] - p[0]) >= std::fabs(q[1] - p[1]) ? 0 : 1;
    return std::max(a[ax], b[ax]) >= std::min(p[ax], q[ax]) && std::min(a[ax], b[ax]) <= std::max(p[ax], q[ax]);
}

double Length(const cntr& cc) {
    double len = 0;
    for (int m = 0; m + 1 < cc.n; m++)
        len += std::hypot(cc.pnt[2 * m + 2] - cc.pnt[2 * m], cc.pnt[2 * m + 3] - cc.pnt[2 * m + 1]);
    return len;
}

// An open end of a line: where, its heading, its level, how far the nearest other level lies.
struct End {
    double p[2], dir[2];
    double h, other;
    int ci;
    double len = 0;       // the length of its line
    bool met = false;     // another line of its level ends at the same point: joined already
};

// Ends left open (not used by a bridge) carried on to the lattice's edge, into out.
void CarryOn(const std::vector<End>& ends, const std::vector<uint8_t>& used, const SegIdx& idx,
             const std::vector<double>& X, const std::vector<double>& Y, std::vector<Seg>& out) {
    // Ends left open: on to the lattice's edge. A line cut short of the map's edge runs on; where
    // other levels lie nearer than the edge, only while the way on is short beside the line and
    // beside the way to them, or while the end lies within a few mesh intervals of the edge (an
    // end left open there lets the bands leak round it, worse than any way on). The way on: its
    // heading, turned halfway to the edge and to the way the other lines run between it and the
    // edge (a heading over the last mesh interval alone misses where the line turns; its
    // neighbours, cut at other places, show more of the turn); else the shortest way. Never across
    // a contour.
    struct Ext {
        double p[2], q[2], h, t;
    };
    const double mesh = X.size() > 1 ? X[1] - X[0] : Y.size() > 1 ? Y[1] - Y[0] : 0;
    const double reach = 8 * mesh;   // an end this near the edge is carried on, whatever its neighbours
    // The way the other lines run between end A and the edge at normal n (depth dep ahead of it),
    // near it along the edge, nearer ones weighing more; zero where there are none.
    auto flow = [&idx](const End& A, const double* n, double dep, double* f) {
        f[0] = f[1] = 0;
        const double R = std::max(3 * A.other, dep);
        const double tv[2] = {-n[1], n[0]};
        // From just behind the end to the edge, R either side along it.
        const double bx[2] = {A.p[0] - n[0] * A.other, A.p[0] + n[0] * dep};
        const double by[2] = {A.p[1] - n[1] * A.other, A.p[1] + n[1] * dep};
        const double rx = R * std::fabs(tv[0]), ry = R * std::fabs(tv[1]);
        idx.Cells(std::min(bx[0], bx[1]) - rx, std::min(by[0], by[1]) - ry, std::max(bx[0], bx[1]) + rx,
                  std::max(by[0], by[1]) + ry, [&](size_t k) {
            for (int u = idx.start[k]; u < idx.start[k + 1]; u++) {
                const auto [ci, m] = idx.ent[static_cast<size_t>(u)];
                if (ci == A.ci) continue;
                const double* g = idx.c[ci].pnt + 2 * m;
                const double mx = (g[0] + g[2]) / 2, my = (g[1] + g[3]) / 2;
                // Each segment once: in the cell of its midpoint.
                const int i = std::clamp(static_cast<int>(std::floor((mx - idx.x0) / idx.cs)), 0, idx.nx - 1);
                const int j = std::clamp(static_cast<int>(std::floor((my - idx.y0) / idx.cs)), 0, idx.ny - 1);
                if (static_cast<size_t>(j) * static_cast<size_t>(idx.nx) + static_cast<size_t>(i) != k) continue;
                const double dm = dep - ((mx - A.p[0]) * n[0] + (my - A.p[1]) * n[1]);
                const double tm = (mx - A.p[0]) * tv[0] + (my - A.p[1]) * tv[1];
                if (dm < 0 || dm >= dep + A.other || std::fabs(tm) >= R) continue;
                const double sg = (g[2] - g[0]) * n[0] + (g[3] - g[1]) * n[1] < 0 ? -1 : 1;
                const double wgt = sg / (std::fabs(tm) + A.other);
                f[0] += (g[2] - g[0]) * wgt;
                f[1] += (g[3] - g[1]) * wgt;
            }
        });
    };
    std::vector<Ext> way[2];   // per end carried: its own way, straight to the nearest edge
    std::vector<int> pick;     // per end carried: the way it takes (0, 1; 2: none)
    for (size_t a = 0; a < ends.size(); a++) {
        if (used[a] || ends[a].met) continue;
        const End& A = ends[a];
        auto shortWay = [&A](double t) { return t < A.other || t < std::min(A.len / 4, 4 * A.other); };
        Ext w[2]{};
        bool ok[2] = {false, false};
        const double side[4] = {A.p[0] - X.front(), X.back() - A.p[0], A.p[1] - Y.front(), Y.back() - A.p[1]};
        const int s = static_cast<int>(std::min_element(side, side + 4) - side);
        if (side[s] > 0) {
            double q[2] = {A.p[0], A.p[1]};
            q[s / 2] = s == 0 ? X.front() : s == 1 ? X.back() : s == 2 ? Y.front() : Y.back();
            w[1] = {{A.p[0], A.p[1]}, {q[0], q[1]}, A.h, side[s]};
            ok[1] = (shortWay(side[s]) || side[s] < reach) && !idx.Crosses(A.p, q);
        }
        double dir[2] = {A.dir[0], A.dir[1]};
        // The edge the heading meets first.
        int se = s;
        double te = HUGE_VAL;
        for (int k = 0; k < 4; k++) {
            const double v = k < 2 ? dir[0] : dir[1];
            if ((k % 2 ? v > 0 : v < 0) && side[k] / std::fabs(v) < te) {
                te = side[k] / std::fabs(v);
                se = k;
            }
        }
        if (side[se] > 0 && (dir[0] != 0 || dir[1] != 0)) {
            const double n[2] = {se == 0 ? -1.0 : se == 1 ? 1.0 : 0.0, se == 2 ? -1.0 : se == 3 ? 1.0 : 0.0};
            auto unit = [](double* v) {
                const double l = std::hypot(v[0], v[1]);
                if (l > 1e-9) {
                    v[0] /= l;
                    v[1] /= l;
                } else {
                    v[0] = v[1] = 0;
                }
            };
            dir[0] += n[0] / 2;
            dir[1] += n[1] / 2;
            unit(dir);
            double f[2];
            flow(A, n, side[se], f);
            unit(f);
            dir[0] += f[0];
            dir[1] += f[1];
            unit(dir);
        }
        if (dir[0] != 0 || dir[1] != 0) {
            double t = HUGE_VAL;
            if (dir[0] > 0) t = std::min(t, (X.back() - A.p[0]) / dir[0]);
            if (dir[0] < 0) t = std::min(t, (X.front() - A.p[0]) / dir[0]);
            if (dir[1] > 0) t = std::min(t, (Y.back() - A.p[1]) / dir[1]);
            if (dir[1] < 0) t = std::min(t, (Y.front() - A.p[1]) / dir[1]);
            if (t > 0 && std::isfinite(t)) {
                w[0] = {{A.p[0], A.p[1]}, {A.p[0] + t * dir[0], A.p[1] + t * dir[1]}, A.h, t};
                // Beside the shortest way, its own way while not much longer (within 60 degrees
                // of it) where the end lies farther from the edge than from its neighbours.
                const double slant = side[s] > A.other ? 2 * side[s] : 0;
                ok[0] = (shortWay(t) || t < reach || (ok[1] && t < std::max(A.len / 4, slant))) &&
                        !idx.Crosses(A.p, w[0].q);
            }
        }
        if (ok[0] && ok[1] && w[0].q[0] == w[1].q[0] && w[0].q[1] == w[1].q[1]) ok[1] = false;
        if (!ok[0] && !ok[1]) continue;
        if (!ok[1]) w[1].t = -1;   // nothing to fall back on
        for (int k = 0; k < 2; k++) way[k].push_back(w[k]);
        pick.push_back(ok[0] ? 0 : 1);
    }
    // Two ways on of different levels that cross: the longer gives way (a line carried past where
    // its neighbours stop would cut them off from the edge), to its shortest way if it has one;
    // again until none cross. Swept in x.
    auto x0 = [](const Ext& e) { return std::min(e.p[0], e.q[0]); };
    for (int round = 0; round < 3; round++) {
        std::vector<std::pair<double, size_t>> ord;
        for (size_t k = 0; k < pick.size(); k++)
            if (pick[k] < 2) ord.emplace_back(x0(way[pick[k]][k]), k);
        std::sort(ord.begin(), ord.end());
        std::vector<uint8_t> yield(pick.size(), 0);
        bool any = false;
        for (size_t a = 0; a < ord.size(); a++) {
            const Ext& e = way[pick[ord[a].second]][ord[a].second];
            const double ex1 = std::max(e.p[0], e.q[0]);
            for (size_t b = a + 1; b < ord.size() && ord[b].first <= ex1; b++) {
                const Ext& o = way[pick[ord[b].second]][ord[b].second];
                if (std::fabs(o.h - e.h) <= LvlTol || !SegsCross(e.p, e.q, o.p, o.q)) continue;
                if (e.t >= o.t) yield[ord[a].second] = 1;
                if (o.t >= e.t) yield[ord[b].second] = 1;
                any = true;
            }
        }
        if (!any) break;
        // The last round only drops: what is left crosses nothing.
        for (size_t k = 0; k < pick.size(); k++)
            if (yield[k]) pick[k] = pick[k] == 0 && way[1][k].t > 0 && round < 2 ? 1 : 2;
    }
    std::vector<Ext> fin;
    for (size_t k = 0; k < pick.size(); k++)
        if (pick[k] < 2) fin.push_back(way[pick[k]][k]);
    std::sort(fin.begin(), fin.end(), [&](const Ext& a, const Ext& b) { return x0(a) < x0(b); });
    // Each reaches on past the edge by half a mesh interval, as the lines clipped there do, so that
    // it parts the nodes of the edge too.
    for (const Ext& e : fin) {
        const double dx = e.q[0] - e.p[0], dy = e.q[1] - e.p[1], dl = std::hypot(dx, dy);
        const double f = dl > 0 ? 0.5 * mesh / dl : 0;
        out.push_back({e.p[0], e.p[1], e.q[0] + f * dx, e.q[1] + f * dy, e.h, true});
    }
}

// Segments that close what the digitiser left open: two open ends of one level, each the other's
// nearest, joined where the join crosses no contour and is shorter than the way to any other
// level from either end (a gap where a label was, a ring left open); an end left short of the
// lattice's edge carried on to it where that crosses nothing (see CarryOn).
std::vector<Seg> Bridges(const cntr* c, int nc, const std::vector<double>& X, const std::vector<double>& Y) {
    std::vector<Seg> out;
    if (X.empty() || Y.empty()) return out;
    std::vector<End> ends;
    double minx = X.front(), maxx = X.back(), miny = Y.front(), maxy = Y.back();
    double segs = 0, len = 0;
    const double mesh = X.size() > 1 ? X[1] - X[0] : Y.size() > 1 ? Y[1] - Y[0] : 0;
    for (int ci = 0; ci < nc; ci++) {
        const cntr& cc = c[ci];
        if (cc.n < 2) continue;
        minx = std::min(minx, cc.minx);
        miny = std::min(miny, cc.miny);
        maxx = std::max(maxx, cc.maxx);
        maxy = std::max(maxy, cc.maxy);
        for (int m = 0; m + 1 < cc.n; m++, segs++)
            len += std::hypot(cc.pnt[2 * m + 2] - cc.pnt[2 * m], cc.pnt[2 * m + 3] - cc.pnt[2 * m + 1]);
        const int n = cc.n;
        if (cc.pnt[0] == cc.pnt[2 * n - 2] && cc.pnt[1] == cc.pnt[2 * n - 1]) continue;
        for (int e = 0; e < 2; e++) {
            const double* a = e == 0 ? cc.pnt : cc.pnt + 2 * (n - 1);
            // The line's heading at its end over a mesh interval at least: a last short segment
            // alone turns with the digitiser's hand.
            const double* b = e == 0 ? cc.pnt + 2 : cc.pnt + 2 * (n - 2);
            for (int k = 2; k < n && std::hypot(b[0] - a[0], b[1] - a[1]) < mesh; k++)
                b = e == 0 ? cc.pnt + 2 * k : cc.pnt + 2 * (n - 1 - k);
            const double dx = a[0] - b[0], dy = a[1] - b[1], dl = std::hypot(dx, dy);
            End E{{a[0], a[1]}, {dl > 0 ? dx / dl : 0, dl > 0 ? dy / dl : 0}, cc.hgt, 0, ci, Length(cc), false};
            ends.push_back(E);
        }
    }
    if (ends.empty() || segs == 0) return out;
    // Buckets a few mean segment lengths wide.
    const double cell = std::max(4 * len / segs, 1e-6 * std::max(maxx - minx, maxy - miny));
    SegIdx idx(c, nc, minx, miny, maxx, maxy, cell);
    const double far = std::hypot(maxx - minx, maxy - miny);
    for (End& e : ends) e.other = idx.Other(e.p, e.h, std::min(far, 64 * cell));
    // Nearest same-level open end of every end.
    std::vector<int> near(ends.size(), -1);
    std::vector<size_t> ord(ends.size());
    for (size_t k = 0; k < ord.size(); k++) ord[k] = k;
    std::sort(ord.begin(), ord.end(), [&](size_t a, size_t b) { return ends[a].h < ends[b].h; });
    for (size_t u = 0; u < ord.size();) {
        size_t w = u;
        while (w + 1 < ord.size() && ends[ord[w + 1]].h - ends[ord[u]].h <= LvlTol) w++;
        for (size_t a = u; a <= w; a++)
            for (size_t b = u; b <= w; b++) {
                End& A = ends[ord[a]];
                const End& B = ends[ord[b]];
                if (a != b && A.p[0] == B.p[0] && A.p[1] == B.p[1]) A.met = true;
            }
        // Ends that could never be joined do not stand in the way: one that meets another already,
        // and a line's own far end (its two ends close it only when the gap is small beside the
        // line, a ring left open; a straight line would fold onto itself).
        for (size_t a = u; a <= w; a++) {
            double best = HUGE_VAL;
            if (ends[ord[a]].met) continue;
            for (size_t b = u; b <= w; b++) {
                if (a == b) continue;
                const End& A = ends[ord[a]];
                const End& B = ends[ord[b]];
                if (B.met) continue;
                const double d = std::hypot(A.p[0] - B.p[0], A.p[1] - B.p[1]);
                if (A.ci == B.ci && d >= A.len / 4) continue;
                if (d < best) {
                    best = d;
                    near[ord[a]] = static_cast<int>(ord[b]);
                }
            }
        }
        u = w + 1;
    }
    std::vector<uint8_t> used(ends.size(), 0);
    for (size_t a = 0; a < ends.size(); a++) {
        const int b = near[a];
        if (b < 0 || static_cast<size_t>(b) < a || near[static_cast<size_t>(b)] != static_cast<int>(a)) continue;
        const End& A = ends[a];
        const End& B = ends[static_cast<size_t>(b)];
        const double d = std::hypot(A.p[0] - B.p[0], A.p[1] - B.p[1]);
        if (!(d > 0) || d >= 4 * std::min(A.other, B.other)) continue;
        if (idx.Crosses(A.p, B.p)) continue;
        out.push_back({A.p[0], A.p[1], B.p[0], B.p[1], A.h});
        used[a] = used[static_cast<size_t>(b)] = 1;
    }
    CarryOn(ends, used, idx, X, Y, out);
    return out;
}

// Levels as indices: sorted distinct heights (within LvlTol).
std::vector<double> Levels(const cntr* c, int nc) {
    std::vector<double> lev;
    lev.reserve(static_cast<size_t>(nc));
    for (int i = 0; i < nc; i++) lev.push_back(c[i].hgt);
    std::sort(lev.begin(), lev.end());
    lev.erase(std::unique(lev.begin(), lev.end(), [](double a, double b) { return b - a <= LvlTol; }), lev.end());
    return lev;
}

int LevOf(const std::vector<double>& lev, double h) {
    const int k = static_cast<int>(std::lower_bound(lev.begin(), lev.end(), h - LvlTol) - lev.begin());
    return std::min(k, static_cast<int>(lev.size()) - 1);
}

// Which side of segment p-q point (x, y) lies on: 1 left, -1 right. A point on the line counts
// as left when the segment runs east (right when west): as if the segment lay a trifle further
// south, which decides a line at 45 degrees through a node that the step south-west leaves on it.
int Side(const double* p, const double* q, double x, double y) {
    const long double o = static_cast<long double>(q[0] - p[0]) * (y - p[1]) -
                          static_cast<long double>(q[1] - p[1]) * (x - p[0]);
    if (o != 0) return o > 0 ? 1 : -1;
    return q[0] - p[0] >= 0 ? 1 : -1;
}

// Every crossing of a contour with a lattice edge, and the nodes a contour runs along on the
// lattice's first row or column (touch: node, level).
void Crossings(const cntr* c, int nc, const std::vector<Seg>& extra, const std::vector<double>& lev, Lat& L,
               std::vector<Cut>& cuts, std::vector<std::pair<long long, int>>& touch, int nth) {
    const std::vector<double>& X = L.X;
    const std::vector<double>& Y = L.Y;
    double h = HUGE_VAL;
    for (size_t k = 1; k < X.size(); k++) h = std::min(h, X[k] - X[k - 1]);
    for (size_t k = 1; k < Y.size(); k++) h = std::min(h, Y[k] - Y[k - 1]);
    if (!std::isfinite(h) || !(h > 0)) h = 1000;
    const double eps = 1e-7 * h;
    // The crossings of segment p-q (already moved south-west by eps) with the lattice lines.
    using Touch = std::vector<std::pair<long long, int>>;
    auto seg = [&](const double* p, const double* q, int l, std::vector<Cut>& cu, Touch& to) {
        for (int ax = 0; ax < 2; ax++) {
            const std::vector<double>& a = ax == 0 ? X : Y;   // the lines crossed
            const std::vector<double>& b = ax == 0 ? Y : X;   // positions along them
            const double a0 = std::min(p[ax], q[ax]), a1 = std::max(p[ax], q[ax]);
            if (!(a1 > a0)) continue;
            // Lines in [a0, a1): a vertex on a line counts once for a contour passing through.
            for (auto it = std::lower_bound(a.begin(), a.end(), a0); it != a.end() && *it < a1; ++it) {
                const int k = static_cast<int>(it - a.begin());
                const double t = (*it - p[ax]) / (q[ax] - p[ax]);
                const double s = p[1 - ax] + t * (q[1 - ax] - p[1 - ax]);
                const int nb = static_cast<int>(b.size());
                int j = static_cast<int>(std::upper_bound(b.begin(), b.end(), s) - b.begin()) - 1;
                // The crossing near a node is placed by which side of the segment the nodes lie on,
                // not by the rounded point: a contour through a node then parts the nodes on every
                // line the same way (or two lines meeting there would each leave a way through).
                auto sd = [&](int jj) {
                    return ax == 0 ? Side(p, q, X[static_cast<size_t>(k)], Y[static_cast<size_t>(jj)])
                                   : Side(p, q, X[static_cast<size_t>(jj)], Y[static_cast<size_t>(k)]);
                };
                if (j >= 0 && j + 1 < nb && sd(j) == sd(j + 1)) {
                    if (j > 0 && sd(j - 1) != sd(j)) j--;
                    else if (j + 2 < nb && sd(j + 1) != sd(j + 2)) j++;
                } else if (j < 0 && nb > 1 && sd(0) != sd(1)) {
                    j = 0;
                } else if (j >= nb - 1 && nb > 1 && sd(nb - 2) != sd(nb - 1)) {
                    j = nb - 2;
                }
                if (j < 0) {
                    // Along the first row or column: it bounds the node it runs through.
                    if (s >= b[0] - 4 * eps)
                        to.emplace_back(ax == 0 ? k : static_cast<long long>(k) * L.nx, l);
                    continue;
                }
                if (j >= nb - 1) continue;
                const double at = std::clamp((s - b[static_cast<size_t>(j)]) /
                                                 (b[static_cast<size_t>(j) + 1] - b[static_cast<size_t>(j)]),
                                             0.0, 1.0);
                // Line x = X[k] crosses the vertical edge (k, j)-(k, j+1); y = Y[k] the
                // horizontal edge (j, k)-(j+1, k).
                const long long e = ax == 0 ? L.nn + static_cast<long long>(j) * L.nx + k
                                            : static_cast<long long>(k) * L.nx + j;
                cu.push_back({e, at, l});
            }
        }
    };
    // The contours shared among threads, each part's crossings in their own lists, joined in the
    // contours' order: the same lists as on one thread.
    // Parts of about as many vertices each (a few long lines share out as well as many short ones),
    // worth a thread each.
    long long all = 0, run = 0;
    for (int ci = 0; ci < nc; ci++) all += c[ci].n;
    const int np = static_cast<int>(std::max<long long>(1, std::min<long long>({nth, nc, all / 4096})));
    std::vector<std::vector<Cut>> pc(static_cast<size_t>(np));
    std::vector<Touch> pt(static_cast<size_t>(np));
    std::vector<int> from(static_cast<size_t>(np) + 1, nc);
    from[0] = 0;
    for (int ci = 0, t = 1; ci < nc && t < np; ci++) {
        run += c[ci].n;
        if (run * np >= all * t) from[static_cast<size_t>(t++)] = ci + 1;
    }
    // The lists grow on the worker threads: one that runs out of memory tells, and the exhaustion is
    // thrown here, where the caller can take it.
    std::atomic<bool> short_of_memory{false};
    ForParts(np, np, [&](int t, int, int) {
        try {
            for (int ci = from[static_cast<size_t>(t)]; ci < from[static_cast<size_t>(t) + 1]; ci++) {
                const cntr& cc = c[ci];
                if (cc.n < 2) continue;
                const int l = LevOf(lev, cc.hgt);
                const bool open = cc.pnt[0] != cc.pnt[2 * cc.n - 2] || cc.pnt[1] != cc.pnt[2 * cc.n - 1];
                for (int m = 0; m + 1 < cc.n; m++) {
                    double p[2] = {cc.pnt[2 * m] - eps, cc.pnt[2 * m + 1] - eps};
                    double q[2] = {cc.pnt[2 * m + 2] - eps, cc.pnt[2 * m + 3] - eps};
                    // The ends of an open contour reach on by half a mesh interval: one clipped at the
                    // region's edge then still parts the nodes of the edge.
                    if (open && (m == 0 || m + 2 == cc.n)) {
                        const double ex = q[0] - p[0], ey = q[1] - p[1], len = std::hypot(ex, ey);
                        if (len > 0) {
                            const double f = 0.5 * h / len;
                            if (m == 0) { p[0] -= f * ex; p[1] -= f * ey; }
                            if (m + 2 == cc.n) { q[0] += f * ex; q[1] += f * ey; }
                        }
                    }
                    seg(p, q, l, pc[static_cast<size_t>(t)], pt[static_cast<size_t>(t)]);
                }
            }
        } catch (const std::bad_alloc&) {
            short_of_memory = true;
        }
    });
    if (short_of_memory) throw std::bad_alloc();
    size_t total = cuts.size() + 8 * extra.size();
    for (const auto& v : pc) total += v.size();
    cuts.reserve(total);
    for (int t = 0; t < np; t++) {
        cuts.insert(cuts.end(), pc[static_cast<size_t>(t)].begin(), pc[static_cast<size_t>(t)].end());
        touch.insert(touch.end(), pt[static_cast<size_t>(t)].begin(), pt[static_cast<size_t>(t)].end());
        std::vector<Cut>().swap(pc[static_cast<size_t>(t)]);
    }
    for (const Seg& sg : extra) {
        const double p[2] = {sg.x0 - eps, sg.y0 - eps}, q[2] = {sg.x1 - eps, sg.y1 - eps};
        seg(p, q, LevOf(lev, sg.h), cuts, touch);
    }
}

// The edges' groups of crossings.
void Group(std::vector<Cut>& cuts, Lat& L, int nth) {
    // A total order (equal keys are equal crossings): sorting parts on threads and merging them
    // gives the same list.
    auto less = [](const Cut& x, const Cut& y) {
        return x.e != y.e ? x.e < y.e : x.at != y.at ? x.at < y.at : x.l < y.l;
    };
    if (nth > 1 && cuts.size() > 4096) {
        const auto mid = cuts.begin() + static_cast<std::ptrdiff_t>(cuts.size() / 2);
        ForParts(2, 2, [&](int t, int, int) { t == 0 ? std::sort(cuts.begin(), mid, less) : std::sort(mid, cuts.end(), less); });
        std::inplace_merge(cuts.begin(), mid, cuts.end(), less);
    } else {
        std::sort(cuts.begin(), cuts.end(), less);
    }
    const size_t nw = (static_cast<size_t>(2 * L.nn) + 63) / 64;
    L.cut.assign(nw, 0);
    for (size_t u = 0; u < cuts.size();) {
        size_t w = u;
        while (w + 1 < cuts.size() && cuts[w + 1].e == cuts[u].e) w++;
        Grp G;
        G.la = cuts[u].l;
        G.ra = cuts[u].at;
        G.lb = cuts[w].l;
        G.rb = cuts[w].at;
        G.na = w > u ? cuts[u + 1].l : -1;
        G.nb = w > u ? cuts[w - 1].l : -1;
        const size_t e = static_cast<size_t>(cuts[u].e);
        L.cut[e >> 6] |= uint64_t{1} << (e & 63);
        L.grp.push_back(G);
        u = w + 1;
    }
    L.rank.resize(nw);
    int before = 0;
    for (size_t k = 0; k < nw; k++) {
        L.rank[k] = before;
        before += std::popcount(L.cut[k]);
    }
}

// The first crossing on the step (di, dj) from node (i, j), which must lead to a node; false when
// none.
[[gnu::always_inline]] inline bool StepHit(const Lat& L, int i, int j, int di, int dj, Hit& h) {
    const int nx = L.nx, ti = i + di, tj = j + dj;
    const size_t nn = static_cast<size_t>(L.nn);
    auto id = [nx](int a, int b) { return static_cast<long long>(b) * nx + a; };
    // Most steps cross nothing: the edges' bits tell that without the geometry.
    const size_t hs = static_cast<size_t>(id(std::min(i, ti), j));    // row j, i to ti
    const size_t ht = static_cast<size_t>(id(std::min(i, ti), tj));   // row tj
    const size_t vs = nn + static_cast<size_t>(id(i, std::min(j, tj)));    // column i
    const size_t vt = nn + static_cast<size_t>(id(ti, std::min(j, tj)));   // column ti
    const bool diag = di != 0 && dj != 0;
    const bool maybe = dj == 0   ? L.Cut(hs)
                       : di == 0 ? L.Cut(vs)
                                 : (L.Cut(hs) || L.Cut(vt)) && (L.Cut(vs) || L.Cut(ht));
    return maybe && L.Step(id(i, j), id(ti, tj), diag ? id(ti, j) : -1, diag ? id(i, tj) : -1, h);
}

// The length of the step (di, dj) from node (i, j), added to a hit carried back over it.
[[gnu::always_inline]] inline double StepLen(const Lat& L, int i, int j, int di, int dj) {
    const double dx = L.X[static_cast<size_t>(i + di)] - L.X[static_cast<size_t>(i)];
    const double dy = L.Y[static_cast<size_t>(j + dj)] - L.Y[static_cast<size_t>(j)];
    return dj == 0 ? std::fabs(dx) : di == 0 ? std::fabs(dy) : std::sqrt(dx * dx + dy * dy);
}

// One row j of one direction's pass, (di, dj) the step, over columns [i0, i1): each node takes the
// first crossing ahead of it, or carries it back from the node beyond (in this row when dj is 0,
// else in prev, the hits of row j + dj, by column). cur gets the row's hits.
using Hits = std::vector<Hit>;
void LookRow(const Lat& L, AccVec& acc, uint8_t* odd, int di, int dj, int j, int i0, int i1, const Hits& prev, Hits& cur,
             bool first) {
    const int nx = L.nx, ny = L.ny;
    const int tj = j + dj;
    const size_t row = static_cast<size_t>(j) * static_cast<size_t>(nx);
    // Columns against di, so that along a row the node ahead is done first.
    for (int ii = i0; ii < i1; ii++) {
        const int i = di > 0 ? i1 - 1 - (ii - i0) : ii;
        const int ti = i + di;
        // Level and distance apart: a Hit written in halves and read whole stalls the store buffer.
        int l = -1;
        double d = 0;
        if (ti >= 0 && ti < nx && tj >= 0 && tj < ny) {
            Hit t;
            if (StepHit(L, i, j, di, dj, t)) {
                l = t.l;
                d = t.d;
            } else {
                const Hit& c = dj == 0 ? cur[static_cast<size_t>(ti)] : prev[static_cast<size_t>(ti)];
                l = c.l;
                d = c.d;
                if (l >= 0) d += StepLen(L, i, j, di, dj);
            }
        }
        Hit& out = cur[static_cast<size_t>(i)];
        out.l = l;
        out.d = d;
        Acc& a = acc[row + static_cast<size_t>(i)];
        if (first) a.Clear();
        const bool o = a.Put(l, d);
        uint8_t& od = odd[row + static_cast<size_t>(i)];
        od = static_cast<uint8_t>((first ? 0 : od) + o);
    }
}

// The hit a pass in direction (di, dj) gives node (i, j), found by walking the ray rather than
// carried over the grid: the same steps, the distance summed in the same order, so the same bits.
Hit RayHit(const Lat& L, int i, int j, int di, int dj) {
    Hit h;
    int n = 0;
    for (int ci = i, cj = j;; ci += di, cj += dj, n++) {
        const int ti = ci + di, tj = cj + dj;
        if (ti < 0 || ti >= L.nx || tj < 0 || tj >= L.ny) return Hit{};   // off the grid: nothing ahead
        if (StepHit(L, ci, cj, di, dj, h)) break;
    }
    for (int k = n - 1; k >= 0; k--) h.d += StepLen(L, i + k * di, j + k * dj, di, dj);
    return h;
}

// The three directions whose step goes to the row beyond (dj): straight, right, left, in that order
// at every node, in one sweep over the rows against dj, the grid read and written once. The columns
// are shared among threads; a strip's steps out of it take the hits at its neighbours' edge columns
// from walks along the rays, so the strips need nothing of each other.
void LookSweep(const Lat& L, AccVec& acc, uint8_t* odd, int dj, int nth) {
    const int nx = L.nx, ny = L.ny;
    const int np = std::max(1, std::min(nth, nx / 64));
    // prev, cur of each direction, by part, the full width (the neighbours' edge columns are filled
    // in): made here, so that nothing on a worker thread allocates.
    std::vector<Hits> bufs(6 * static_cast<size_t>(np), Hits(static_cast<size_t>(nx)));
    ForParts(nx, np, [&](int t, int i0, int i1) {
        if (i0 >= i1) return;
        Hits* buf = bufs.data() + 6 * static_cast<size_t>(t);
        const int dis[3] = {0, 1, -1};
        for (int jj = 0; jj < ny; jj++) {
            const int j = dj > 0 ? ny - 1 - jj : jj;
            if (jj > 0) {
                // The step right from column i1 - 1 lands on i1, the step left from i0 on i0 - 1.
                if (i1 < nx) buf[2][static_cast<size_t>(i1)] = RayHit(L, i1, j + dj, 1, dj);
                if (i0 > 0) buf[4][static_cast<size_t>(i0 - 1)] = RayHit(L, i0 - 1, j + dj, -1, dj);
            }
            for (int d = 0; d < 3; d++) {
                LookRow(L, acc, odd, dis[d], dj, j, i0, i1, buf[2 * d], buf[2 * d + 1], false);
                std::swap(buf[2 * d], buf[2 * d + 1]);
            }
        }
    });
}

// Every node's two nearest distinct levels over the eight directions, in this order at every node
// (a tie goes to the direction first): along the row both ways (rows shared among threads), then
// the three steps down the rows, then the three up (columns shared, see LookSweep).
void Look(const Lat& L, AccVec& acc, uint8_t* odd, int nth) {
    const int nx = L.nx;
    std::vector<Hits> rows(static_cast<size_t>(std::max(nth, 1)), Hits(static_cast<size_t>(nx)));
    const Hits none;
    ForParts(L.ny, nth, [&](int t, int j0, int j1) {
        const Hits& prev = none;   // a step along the row takes nothing from another row
        Hits& cur = rows[static_cast<size_t>(t)];
        for (int j = j0; j < j1; j++) {
            LookRow(L, acc, odd, 1, 0, j, 0, nx, prev, cur, true);
            LookRow(L, acc, odd, -1, 0, j, 0, nx, prev, cur, false);
        }
    });
    LookSweep(L, acc, odd, 1, nth);
    LookSweep(L, acc, odd, -1, nth);
}

// Band of each node as level indices (lo, hi) in acc's l1, l2; -1, -1 when it sees no contour.
// They take the place of the levels seen in acc, which saves a grid of them at the peak.
void NodeBands(const Lat& L, AccVec& acc, int nth) {
    ForParts(L.ny, nth, [&](int, int j0, int j1) {
        const size_t nx = static_cast<size_t>(L.nx);
        for (size_t u = static_cast<size_t>(j0) * nx; u < static_cast<size_t>(j1) * nx; u++) {
            Acc& a = acc[u];
            const int lo = a.l2 < 0 ? a.l1 : std::min(a.l1, a.l2);
            const int hi = a.l2 < 0 ? a.l1 : std::max(a.l1, a.l2);
            a.l1 = lo;
            a.l2 = hi;
        }
    });
}

// The regions of the lattice: par gets each node's region 0 .. nr - 1 (numbered in index order)
// and acc's first nr entries the regions' bands (l1 lowest, l2 highest level index). Returns nr.
int JoinRegions(const Lat& L, AccVec& acc, RegVec& par, int nth) {
    const size_t nn = static_cast<size_t>(L.nn);
    auto blo = [&acc](size_t u) -> int& { return acc[u].l1; };
    auto bhi = [&acc](size_t u) -> int& { return acc[u].l2; };
    // Regions: nodes joined by uncut edges whose bands agree. A node that sees one level joins a
    // region between that level and another (beyond the last contour it may see the next level
    // only far off), but two regions of different bands never join, so no band spreads further
    // than the nodes that see it.
    par.resize(nn);
    ForParts(L.ny, nth, [&](int, int j0, int j1) {
        const size_t a = static_cast<size_t>(j0) * static_cast<size_t>(L.nx), b = static_cast<size_t>(j1) * static_cast<size_t>(L.nx);
        for (size_t u = a; u < b; u++) par[u] = static_cast<int>(u);
    });
    auto find = [&](int a) {
        while (par[static_cast<size_t>(a)] != a) {
            par[static_cast<size_t>(a)] = par[static_cast<size_t>(par[static_cast<size_t>(a)])];
            a = par[static_cast<size_t>(a)];
        }
        return a;
    };
    // The regions of roots ra and rb joined when their bands allow; returns the root of ra's region.
    auto unite = [&](int ra, int rb) {
        if (ra == rb) return ra;
        const size_t sa = static_cast<size_t>(ra), sb = static_cast<size_t>(rb);
        int lo, hi;
        if (blo(sa) == blo(sb) && bhi(sa) == bhi(sb)) {
            lo = blo(sa);
            hi = bhi(sa);
        } else if (blo(sa) == bhi(sa) && blo(sa) >= 0 && (blo(sa) == blo(sb) || blo(sa) == bhi(sb))) {
            lo = blo(sb);
            hi = bhi(sb);
        } else if (blo(sb) == bhi(sb) && blo(sb) >= 0 && (blo(sb) == blo(sa) || blo(sb) == bhi(sa))) {
            lo = blo(sa);
            hi = bhi(sa);
        } else {
            return ra;
        }
        const size_t r = static_cast<size_t>(std::min(ra, rb));
        par[static_cast<size_t>(std::max(ra, rb))] = static_cast<int>(r);
        blo(r) = lo;
        bhi(r) = hi;
        return static_cast<int>(r);
    };
    // The node below has no edge joined yet when its node above is reached: it is its own root.
    for (int j = 0; j < L.ny; j++)
        for (int i = 0; i < L.nx; i++) {
            const size_t u = static_cast<size_t>(j) * static_cast<size_t>(L.nx) + static_cast<size_t>(i);
            int ru = find(static_cast<int>(u));
            if (i + 1 < L.nx && !L.Cut(u)) ru = unite(ru, find(static_cast<int>(u + 1)));
            if (j + 1 < L.ny && !L.Cut(nn + u)) unite(ru, static_cast<int>(u) + L.nx);
        }
    // Labels 0 .. nr - 1 in index order (roots are the least index of their region).
    for (size_t u = 0; u < nn; u++) par[u] = find(static_cast<int>(u));
    int nr = 0;
    for (size_t u = 0; u < nn; u++) {
        if (par[u] == static_cast<int>(u)) {
            blo(static_cast<size_t>(nr)) = blo(u);
            bhi(static_cast<size_t>(nr)) = bhi(u);
            par[u] = nr++;
        } else {
            par[u] = par[static_cast<size_t>(par[u])];
        }
    }
    return nr;
}

// Sides of the regions that see one level (rlo == rhi): bit 1 lower ground across one of their
// cut edges, bit 2 higher.
std::vector<uint8_t> RegionSides(const Lat& L, const RegVec& par, const std::vector<int>& rlo,
                                 const std::vector<int>& rhi, int nth) {
    const size_t nn = static_cast<size_t>(L.nn);
    // The edges shared among threads, each with sides of its own, joined at the end.
    const int np = std::max(1, std::min(nth, static_cast<int>(nn >> 12)));
    std::vector<std::vector<uint8_t>> part(static_cast<size_t>(np), std::vector<uint8_t>(rlo.size(), 0));
    ForParts(np, np, [&](int t, int, int) {
        std::vector<uint8_t>& side = part[static_cast<size_t>(t)];
        const size_t e0 = 2 * nn * static_cast<size_t>(t) / static_cast<size_t>(np);
        const size_t e1 = 2 * nn * static_cast<size_t>(t + 1) / static_cast<size_t>(np);
        for (size_t e = e0; e < e1; e++) {
            const int g = L.Gi(e);
            if (g < 0) continue;
            const Grp& G = L.grp[static_cast<size_t>(g)];
            const size_t a = e < nn ? e : e - nn, b = e < nn ? a + 1 : a + static_cast<size_t>(L.nx);
            for (int k = 0; k < 2; k++) {
                const int r = par[k ? b : a], o = par[k ? a : b];
                const int l = k ? G.lb : G.la, next = k ? G.nb : G.na;
                const size_t rs = static_cast<size_t>(r), os = static_cast<size_t>(o);
                if (rlo[rs] < 0 || rlo[rs] != rhi[rs]) continue;
                // The next crossing on the edge tells, unless it is the same level again (a line
                // given twice): then the region across does.
                if (next >= 0 && next != l) {
                    side[rs] |= next < l ? 1 : 2;
                    continue;
                }
                if (rlo[os] < 0) continue;
                if (rlo[os] < l) side[rs] |= 1;
                if (rhi[os] > l) side[rs] |= 2;
            }
        }
    });
    std::vector<uint8_t> side = std::move(part[0]);
    for (size_t t = 1; t < part.size(); t++)
        for (size_t r = 0; r < side.size(); r++) side[r] |= part[t][r];
    return side;
}

// The heights of each region's band from its level indices and sides (itv: the contour interval).
void RegionBands(const std::vector<double>& lev, const std::vector<int>& rlo, const std::vector<int>& rhi,
                 const std::vector<uint8_t>& side, double itv, LatBands& b) {
    const size_t nr = rlo.size();
    b.rlo.resize(nr);
    b.rhi.resize(nr);
    const double room = itv > 0 ? itv : 0;
    for (size_t r = 0; r < nr; r++) {
        if (rlo[r] < 0) {
            b.rlo[r] = -HUGE_VAL;
            b.rhi[r] = HUGE_VAL;
        } else if (rlo[r] != rhi[r]) {
            b.rlo[r] = lev[static_cast<size_t>(rlo[r])];
            b.rhi[r] = lev[static_cast<size_t>(rhi[r])];
        } else {
            // Lower ground across one of its lines and higher across another cannot be: between
            // lines of one level the ground would cross that level again. A line is wrong or one
            // is missing; the level itself is the guess that errs least.
            const double h = lev[static_cast<size_t>(rlo[r])];
            const bool flat = side[r] == 3;
            b.rlo[r] = side[r] == 1 || flat ? h : h - room;
            b.rhi[r] = side[r] == 2 || flat ? h : h + room;
        }
    }
}

// What the regions on the two sides of a lattice edge that one line of level index l crosses
// (and no other) say of that line's level h: bit 1 it lies one interval lower, bit 2 higher; bit 4
// against lower, bit 8 against higher. Lower: on one side a band reaching two intervals or more
// below h, and on the other no higher ground (a band below h, or ground that sees h alone with
// lower ground across one line and higher across another, which cannot be). Against it: a band
// one interval below on one side and higher ground on the other, as a true line has.
int EdgeReading(const Lat& L, size_t e, int l, double h, const std::vector<double>& lev, const RegVec& par,
                const std::vector<int>& rlo, const std::vector<int>& rhi, const std::vector<uint8_t>& side,
                double itv) {
    const int g = L.Gi(e);
    if (g < 0) return 0;
    const Grp& G = L.grp[static_cast<size_t>(g)];
    if (G.na >= 0 || G.la != l) return 0;   // crossed by other lines too: its nodes tell less
    const size_t nn = static_cast<size_t>(L.nn);
    const size_t a = e < nn ? e : e - nn, b = e < nn ? a + 1 : a + static_cast<size_t>(L.nx);
    bool contra[2] = {false, false};
    double other[2] = {NAN, NAN};   // per side: the other level of the band it bounds
    for (int k = 0; k < 2; k++) {
        const size_t r = static_cast<size_t>(par[k ? b : a]);
        if (rlo[r] < 0) continue;
        if (rlo[r] == l && rhi[r] == l) contra[k] = side[r] == 3;
        else if (rhi[r] == l) other[k] = lev[static_cast<size_t>(rlo[r])];
        else if (rlo[r] == l) other[k] = lev[static_cast<size_t>(rhi[r])];
    }
    int out = 0;
    for (int k = 0; k < 2; k++) {
        const double o = other[k], p = other[1 - k];
        if (std::isnan(o)) continue;
        const bool below = o < h, pBelow = p < h, pAbove = p > h;   // false for NaN
        if (below && o <= h - 2 * itv + LvlTol && (contra[1 - k] || pBelow)) out |= 1;
        if (!below && o >= h + 2 * itv - LvlTol && (contra[1 - k] || pAbove)) out |= 2;
        if (below && std::fabs(o - (h - itv)) <= LvlTol && pAbove) out |= 4;
        if (!below && std::fabs(o - (h + itv)) <= LvlTol && pBelow) out |= 8;
    }
    return out;
}

// Lines digitised one interval off, by what the regions beside them say (EdgeReading): per
// contour the level it lies at (NaN: as given); empty when none. A line is read so only where
// most of its crossings read so, next to none the other way or against it, and over many
// spacings of the lines (near an end or the lattice's edge the bands may read so for a spacing
// or two).
std::vector<double> Misread(const cntr* c, int nc, const std::vector<double>& lev, Lat& L, const RegVec& par,
                            const std::vector<int>& rlo, const std::vector<int>& rhi,
                            const std::vector<uint8_t>& side, double itv) {
    std::vector<double> out;
    if (!(itv > 0) || L.nx < 2 || L.ny < 2) return out;
    // The mean spacing of the lines: the lattice's area over their length.
    double len = 0;
    for (int ci = 0; ci < nc; ci++) len += c[ci].n >= 2 ? Length(c[ci]) : 0;
    const double w = L.X.back() - L.X.front(), ht = L.Y.back() - L.Y.front();
    const double mesh = std::min(w / (L.nx - 1), ht / (L.ny - 1));
    if (!(len > 0) || !(mesh > 0)) return out;
    const double need = Proof * (w * ht / len) / mesh;   // crossings
    // Most ground has none: one pass over the cut edges tells whether any line could be read so.
    double any = 0;
    for (size_t wd = 0; wd < L.cut.size() && any < need; wd++)
        for (uint64_t bits = L.cut[wd]; bits; bits &= bits - 1) {
            const size_t e = 64 * wd + static_cast<size_t>(std::countr_zero(bits));
            const int l = L.grp[static_cast<size_t>(L.Gi(e))].la;
            if (EdgeReading(L, e, l, lev[static_cast<size_t>(l)], lev, par, rlo, rhi, side, itv) & 3) any++;
        }
    if (any < need) return out;
    std::vector<Cut> cuts;
    std::vector<std::pair<long long, int>> touch;
    for (int ci = 0; ci < nc; ci++) {
        if (c[ci].n < 2) continue;
        cuts.clear();
        Crossings(c + ci, 1, {}, lev, L, cuts, touch, 1);
        const int l = LevOf(lev, c[ci].hgt);
        const double h = lev[static_cast<size_t>(l)];
        int n = 0, read[4] = {0, 0, 0, 0};   // lower, higher, against lower, against higher
        for (const Cut& ct : cuts) {
            const int r = EdgeReading(L, static_cast<size_t>(ct.e), l, h, lev, par, rlo, rhi, side, itv);
            for (int k = 0; k < 4; k++) read[k] += (r >> k) & 1;
            n++;
        }
        for (int up = 0; up < 2; up++) {
            const int v = read[up];
            if (!(2 * v > n && v >= need && 16 * read[2 + up] <= v && read[1 - up] == 0)) continue;
            if (out.empty()) out.assign(static_cast<size_t>(nc), NAN);
            out[static_cast<size_t>(ci)] = h + (up ? itv : -itv);
        }
    }
    return out;
}

// Delaunay triangles of points xy (pairs), as index triples; empty when they span no area.
std::vector<int> Delaunay(std::vector<double>& xy) {
    std::vector<int> tri;
    const int n = static_cast<int>(xy.size() / 2);
    if (n < 3) return tri;
    char* msg = nullptr;
    size_t msgLen = 0;
    FILE* err = open_memstream(&msg, &msgLen);   // qhull explains failures at length: not for the user
    if (!err) return tri;
    qhT qhData;
    qhT* qh = &qhData;
    qh_zero(qh, err);
    char opts[] = "qhull d Qt Qbb Qc Qz Q12";
    if (qh_new_qhull(qh, 2, n, xy.data(), False, opts, nullptr, err) == 0) {
        facetT* facet;
        FORALLfacets {
            if (facet->upperdelaunay) continue;
            int v3[3], k = 0;
            vertexT *vertex, **vertexp;
            FOREACHvertex_(facet->vertices) {
                if (k < 3) v3[k] = qh_pointid(qh, vertex->point);
                k++;
            }
            if (k == 3 && v3[0] >= 0 && v3[0] < n && v3[1] >= 0 && v3[1] < n && v3[2] >= 0 && v3[2] < n)
                tri.insert(tri.end(), v3, v3 + 3);
        }
    }
    qh_freeqhull(qh, !qh_ALL);
    int curlong = 0, totlong = 0;
    qh_memfreeshort(qh, &curlong, &totlong);
    std::fclose(err);
    std::free(msg);
    return tri;
}

// Whether segments a-b and c-d cross at a point inside both.
bool SegsCross(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    auto orient = [](double px, double py, double qx, double qy, double rx, double ry) {
        const double v = (qx - px) * (ry - py) - (qy - py) * (rx - px);
        return (v > 0) - (v < 0);
    };
    return orient(ax, ay, bx, by, cx, cy) * orient(ax, ay, bx, by, dx, dy) < 0 &&
           orient(cx, cy, dx, dy, ax, ay) * orient(cx, cy, dx, dy, bx, by) < 0;
}

struct LineEnd {
    double x, y, h, ux, uy;   // the end, its level, the line's direction leaving it
    int i, j;                 // the node at or beyond it
};

// Lines missing over a patch (i0..i1 x j0..j1, nodes comp) leave ends of their levels around it: a
// level that ends there just twice most likely ran across from one end to the other. Those joins
// (none crossing another) go into the vertices xy (less ox, oy) and heights hz, a vertex every mesh
// interval, so that the surface follows the slope the lines show rather than a fan across the rim.
// ends: by cell of B x B nodes (start: each cell's first, ncx cells a row).
template <int B>
void JoinAcross(const std::vector<LineEnd>& ends, const std::vector<int>& start, int ncx, const Lat& L,
                const std::vector<long long>& comp, int i0, int i1, int j0, int j1, int mg, double ox, double oy,
                std::vector<double>& xy, std::vector<double>& hz) {
    const int nx = L.nx, pw = i1 - i0 + 1;
    std::vector<uint8_t> in(static_cast<size_t>(pw) * (j1 - j0 + 1), 0);
    for (long long u : comp) in[static_cast<size_t>(u / nx - j0) * pw + static_cast<size_t>(u % nx - i0)] = 1;
    // An end belongs to the patch when one of its nodes lies within a quarter of its size.
    const int w = std::max(2, mg / 2);
    auto near = [&](const LineEnd& e) {
        for (int j = std::max(j0, e.j - w); j <= std::min(j1, e.j + w); j++)
            for (int i = std::max(i0, e.i - w); i <= std::min(i1, e.i + w); i++)
                if (in[static_cast<size_t>(j - j0) * pw + static_cast<size_t>(i - i0)]) return true;
        return false;
    };
    std::vector<const LineEnd*> mine;
    const int ci0 = std::max(0, i0 - w) / B, ci1 = std::min(nx - 1, i1 + w) / B;
    const int cj0 = std::max(0, j0 - w) / B, cj1 = std::min(L.ny - 1, j1 + w) / B;
    for (int cj = cj0; cj <= cj1; cj++)
        for (int ci = ci0; ci <= ci1; ci++) {
            const size_t cell = static_cast<size_t>(cj) * ncx + ci;
            for (int q = start[cell]; q < start[cell + 1]; q++) {
                const LineEnd& e = ends[static_cast<size_t>(q)];
                if (e.i >= i0 - w && e.i <= i1 + w && e.j >= j0 - w && e.j <= j1 + w && near(e)) mine.push_back(&e);
            }
        }
    std::sort(mine.begin(), mine.end(), [](const LineEnd* a, const LineEnd* b) {
        return a->h != b->h ? a->h < b->h : a->x != b->x ? a->x < b->x : a->y < b->y;
    });
    struct J {
        const LineEnd *a, *b;
        bool ok;
    };
    std::vector<J> js;
    for (size_t q = 0; q < mine.size();) {
        size_t r = q;
        while (r < mine.size() && mine[r]->h == mine[q]->h) r++;
        if (r - q == 2) js.push_back({mine[q], mine[q + 1], true});
        q = r;
    }
    auto cross = [](const J& s, const J& t) {
        return SegsCross(s.a->x, s.a->y, s.b->x, s.b->y, t.a->x, t.a->y, t.b->x, t.b->y);
    };
    for (size_t q = 0; q < js.size(); q++)
        for (size_t r = q + 1; r < js.size(); r++)
            if (cross(js[q], js[r])) js[q].ok = js[r].ok = false;
    const double mesh = nx > 1 ? L.X[1] - L.X[0] : 1;
    // Each join's path, its ends included: a cubic leaving each end the way its line heads.
    const size_t nj = js.size();
    std::vector<std::vector<double>> path(nj);
    std::vector<double> bulge(nj, 0);   // how far the path strays from its chord, by the chord's length
    for (size_t q = 0; q < nj; q++) {
        const J& jn = js[q];
        const double len = std::hypot(jn.b->x - jn.a->x, jn.b->y - jn.a->y);
        if (!jn.ok || !(len > 0)) continue;
        const int n = static_cast<int>(std::ceil(len / mesh));
        const double tax = len * jn.a->ux, tay = len * jn.a->uy, tbx = -len * jn.b->ux, tby = -len * jn.b->uy;
        std::vector<double>& pt = path[q];
        for (int t = 0; t <= n; t++) {
            const double f = static_cast<double>(t) / n, f2 = f * f, f3 = f2 * f;
            const double h00 = 2 * f3 - 3 * f2 + 1, h10 = f3 - 2 * f2 + f, h01 = -2 * f3 + 3 * f2, h11 = f3 - f2;
            const double x = t == n ? jn.b->x : h00 * jn.a->x + h10 * tax + h01 * jn.b->x + h11 * tbx;
            const double y = t == n ? jn.b->y : h00 * jn.a->y + h10 * tay + h01 * jn.b->y + h11 * tby;
            pt.push_back(x);
            pt.push_back(y);
            const double off = (jn.b->x - jn.a->x) * (y - jn.a->y) - (jn.b->y - jn.a->y) * (x - jn.a->x);
            bulge[q] = std::max(bulge[q], std::fabs(off) / (len * len));
        }
    }
    // Two levels cannot cross: where two cubics do (their chords do not), the one straying further
    // from its chord goes, until none cross. Segments meet by cells of a few mesh intervals.
    const double cs = 4 * mesh;
    struct CellSeg {
        long long cell;
        int q, k;
    };
    std::vector<CellSeg> segs;
    std::vector<uint8_t> drop(nj);
    for (;;) {
        segs.clear();
        for (size_t q = 0; q < nj; q++) {
            const std::vector<double>& pt = path[q];
            for (size_t k = 0; k + 3 < pt.size(); k += 2) {
                const auto cell = [cs](double v) { return static_cast<long long>(std::floor(v / cs)); };
                const long long gx0 = cell(std::min(pt[k], pt[k + 2])), gx1 = cell(std::max(pt[k], pt[k + 2]));
                const long long gy0 = cell(std::min(pt[k + 1], pt[k + 3])), gy1 = cell(std::max(pt[k + 1], pt[k + 3]));
                for (long long gy = gy0; gy <= gy1; gy++)
                    for (long long gx = gx0; gx <= gx1; gx++)
                        segs.push_back({gy * (1LL << 31) + gx, static_cast<int>(q), static_cast<int>(k)});
            }
        }
        std::sort(segs.begin(), segs.end(), [](const CellSeg& a, const CellSeg& b) {
            return a.cell != b.cell ? a.cell < b.cell : a.q != b.q ? a.q < b.q : a.k < b.k;
        });
        std::fill(drop.begin(), drop.end(), 0);
        bool any = false;
        for (size_t u = 0; u < segs.size();) {
            size_t e = u;
            while (e < segs.size() && segs[e].cell == segs[u].cell) e++;
            for (size_t p1 = u; p1 < e; p1++)
                for (size_t p2 = p1 + 1; p2 < e; p2++) {
                    const size_t q1 = static_cast<size_t>(segs[p1].q), q2 = static_cast<size_t>(segs[p2].q);
                    if (q1 == q2 || drop[q1] || drop[q2]) continue;
                    const double* a = path[q1].data() + segs[p1].k;
                    const double* b = path[q2].data() + segs[p2].k;
                    if (!SegsCross(a[0], a[1], a[2], a[3], b[0], b[1], b[2], b[3])) continue;
                    drop[bulge[q1] > bulge[q2] || (bulge[q1] == bulge[q2] && q1 < q2) ? q1 : q2] = 1;
                    any = true;
                }
            u = e;
        }
        if (!any) break;
        for (size_t q = 0; q < nj; q++)
            if (drop[q]) path[q].clear();
    }
    for (size_t q = 0; q < nj; q++) {
        const std::vector<double>& pt = path[q];
        for (size_t k = 2; k + 2 < pt.size(); k += 2) {
            xy.push_back(pt[k] - ox);
            xy.push_back(pt[k + 1] - oy);
            hz.push_back(js[q].a->h);
        }
    }
}

// Heights of the nodes where the lines contradict one another (a third level seen in at least two
// directions: lines are missing, as over a lake): the triangulation of the contour vertices around
// each such patch and of the levels joined across it, which spans it with the fewest assumptions.
// Nodes outside every triangle keep nothing.
std::vector<std::pair<long long, float>> VoidHgts(const cntr* c, int nc, const Lat& L,
                                                  const std::vector<uint8_t, RawAlloc<uint8_t>>& odd) {
    std::vector<std::pair<long long, float>> out;
    const int nx = L.nx, ny = L.ny;
    const size_t nn = static_cast<size_t>(L.nn);
    auto isVoid = [&](size_t u) { return odd[u] >= 2; };
    size_t first = 0;
    while (first < nn && !isVoid(first)) first++;
    if (first == nn || nx < 2 || ny < 2) return out;
    // Vertices by cell of B x B nodes.
    constexpr int B = 16;
    const int cx = (nx + B - 1) / B, cy = (ny + B - 1) / B;
    auto cellOf = [&](double x, double y, int& ci, int& cj) {
        ci = static_cast<int>(std::upper_bound(L.X.begin(), L.X.end(), x) - L.X.begin()) - 1;
        cj = static_cast<int>(std::upper_bound(L.Y.begin(), L.Y.end(), y) - L.Y.begin()) - 1;
        ci = std::clamp(ci, 0, nx - 1) / B;
        cj = std::clamp(cj, 0, ny - 1) / B;
    };
    std::vector<int> start(static_cast<size_t>(cx) * cy + 1, 0);
    for (int k = 0; k < nc; k++)
        for (int m = 0; m < c[k].n; m++) {
            int ci, cj;
            cellOf(c[k].pnt[2 * m], c[k].pnt[2 * m + 1], ci, cj);
            start[static_cast<size_t>(cj) * cx + ci + 1]++;
        }
    for (size_t q = 1; q < start.size(); q++) start[q] += start[q - 1];
    std::vector<int> fill(start.begin(), start.end() - 1);
    std::vector<std::pair<int, int>> vtx(static_cast<size_t>(start.back()));   // contour, vertex
    for (int k = 0; k < nc; k++)
        for (int m = 0; m < c[k].n; m++) {
            int ci, cj;
            cellOf(c[k].pnt[2 * m], c[k].pnt[2 * m + 1], ci, cj);
            vtx[static_cast<size_t>(fill[static_cast<size_t>(cj) * cx + ci]++)] = {k, m};
        }
    // The open ends of the lines, with the node at or beyond each.
    const double mesh = nx > 1 ? L.X[1] - L.X[0] : 1;
    std::vector<LineEnd> ends;
    for (int k = 0; k < nc; k++) {
        const int n = c[k].n;
        if (n < 2) continue;
        const double* p = c[k].pnt;
        if (p[0] == p[2 * (n - 1)] && p[1] == p[2 * (n - 1) + 1]) continue;
        for (int e = 0; e < 2; e++) {
            const int m = e ? n - 1 : 0;
            // The line's heading over a few mesh intervals back from the end, not its last step.
            int b = e ? n - 2 : 1;
            const double back = 5 * mesh;
            while ((e ? b > 0 : b < n - 1) && std::hypot(p[2 * b] - p[2 * m], p[2 * b + 1] - p[2 * m + 1]) < back)
                b += e ? -1 : 1;
            LineEnd le;
            le.x = p[2 * m];
            le.y = p[2 * m + 1];
            le.h = c[k].hgt;
            if (!std::isfinite(le.x) || !std::isfinite(le.y) || !std::isfinite(le.h)) continue;
            le.i = static_cast<int>(std::lower_bound(L.X.begin(), L.X.end(), le.x) - L.X.begin());
            le.j = static_cast<int>(std::lower_bound(L.Y.begin(), L.Y.end(), le.y) - L.Y.begin());
            const double dx = le.x - p[2 * b], dy = le.y - p[2 * b + 1], dl = std::hypot(dx, dy);
            le.ux = dl > 0 ? dx / dl : 0;
            le.uy = dl > 0 ? dy / dl : 0;
            ends.push_back(le);
        }
    }
    // By cell, as the vertices.
    std::vector<int> endAt(static_cast<size_t>(cx) * cy + 1, 0);
    auto endCell = [&](const LineEnd& e) {
        return static_cast<size_t>(std::clamp(e.j, 0, ny - 1) / B) * cx + static_cast<size_t>(std::clamp(e.i, 0, nx - 1) / B);
    };
    for (const LineEnd& e : ends) endAt[endCell(e) + 1]++;
    for (size_t q = 1; q < endAt.size(); q++) endAt[q] += endAt[q - 1];
    {
        std::vector<int> put(endAt.begin(), endAt.end() - 1);
        std::vector<LineEnd> byCell(ends.size());
        for (const LineEnd& e : ends) byCell[static_cast<size_t>(put[endCell(e)]++)] = e;
        ends = std::move(byCell);
    }
    std::vector<uint8_t> seen(nn, 0);
    std::vector<long long> comp;
    for (size_t u0 = first; u0 < nn; u0++) {
        if (!isVoid(u0) || seen[u0]) continue;
        // The patch: void nodes joined by lattice edges.
        comp.assign(1, static_cast<long long>(u0));
        seen[u0] = 1;
        int i0 = nx, i1 = -1, j0 = ny, j1 = -1;
        for (size_t h = 0; h < comp.size(); h++) {
            const long long u = comp[h];
            const int i = static_cast<int>(u % nx), j = static_cast<int>(u / nx);
            i0 = std::min(i0, i);
            i1 = std::max(i1, i);
            j0 = std::min(j0, j);
            j1 = std::max(j1, j);
            const long long nb[4] = {i > 0 ? u - 1 : -1, i + 1 < nx ? u + 1 : -1, j > 0 ? u - nx : -1,
                                     j + 1 < ny ? u + nx : -1};
            for (long long w : nb)
                if (w >= 0 && isVoid(static_cast<size_t>(w)) && !seen[static_cast<size_t>(w)]) {
                    seen[static_cast<size_t>(w)] = 1;
                    comp.push_back(w);
                }
        }
        // The vertices around it: a margin of half its size, at least a few nodes.
        const int mg = std::max(4, std::max(i1 - i0, j1 - j0) / 2);
        const int bi0 = std::max(0, i0 - mg), bi1 = std::min(nx - 1, i1 + mg);
        const int bj0 = std::max(0, j0 - mg), bj1 = std::min(ny - 1, j1 + mg);
        const double ox = L.X[static_cast<size_t>(i0)], oy = L.Y[static_cast<size_t>(j0)];
        const double x0 = L.X[static_cast<size_t>(bi0)], x1 = L.X[static_cast<size_t>(bi1)];
        const double y0 = L.Y[static_cast<size_t>(bj0)], y1 = L.Y[static_cast<size_t>(bj1)];
        std::vector<double> xy;
        std::vector<double> hz;
        for (int cj = bj0 / B; cj <= bj1 / B; cj++)
            for (int ci = bi0 / B; ci <= bi1 / B; ci++) {
                const size_t cell = static_cast<size_t>(cj) * cx + ci;
                for (int q = start[cell]; q < start[cell + 1]; q++) {
                    const auto [k, m] = vtx[static_cast<size_t>(q)];
                    const double x = c[k].pnt[2 * m], y = c[k].pnt[2 * m + 1];
                    if (x < x0 || x > x1 || y < y0 || y > y1) continue;
                    xy.push_back(x - ox);   // near the origin: the in-circle tests keep their digits
                    xy.push_back(y - oy);
                    hz.push_back(c[k].hgt);
                }
            }
        JoinAcross<B>(ends, endAt, cx, L, comp, i0, i1, j0, j1, mg, ox, oy, xy, hz);
        const std::vector<double> pts = xy;
        const std::vector<int> tri = Delaunay(xy);
        // Each triangle gives its plane to the patch's nodes inside it.
        std::vector<uint8_t> todo(static_cast<size_t>(i1 - i0 + 1) * (j1 - j0 + 1), 0);
        for (long long u : comp)
            todo[static_cast<size_t>(u / nx - j0) * (i1 - i0 + 1) + static_cast<size_t>(u % nx - i0)] = 1;
        for (size_t t = 0; t + 2 < tri.size(); t += 3) {
            const size_t a = static_cast<size_t>(tri[t]), b = static_cast<size_t>(tri[t + 1]),
                         e = static_cast<size_t>(tri[t + 2]);
            const double ax = pts[2 * a], ay = pts[2 * a + 1], bx = pts[2 * b], by = pts[2 * b + 1];
            const double ex = pts[2 * e], ey = pts[2 * e + 1];
            const double det = (bx - ax) * (ey - ay) - (ex - ax) * (by - ay);
            if (!(std::fabs(det) > 0)) continue;
            const double lx = std::min({ax, bx, ex}) + ox, hx = std::max({ax, bx, ex}) + ox;
            const double ly = std::min({ay, by, ey}) + oy, hy = std::max({ay, by, ey}) + oy;
            const int ti0 = std::max(i0, static_cast<int>(std::lower_bound(L.X.begin(), L.X.end(), lx) - L.X.begin()));
            const int ti1 = std::min(i1, static_cast<int>(std::upper_bound(L.X.begin(), L.X.end(), hx) - L.X.begin()) - 1);
            const int tj0 = std::max(j0, static_cast<int>(std::lower_bound(L.Y.begin(), L.Y.end(), ly) - L.Y.begin()));
            const int tj1 = std::min(j1, static_cast<int>(std::upper_bound(L.Y.begin(), L.Y.end(), hy) - L.Y.begin()) - 1);
            for (int j = tj0; j <= tj1; j++)
                for (int i = ti0; i <= ti1; i++) {
                    uint8_t& td = todo[static_cast<size_t>(j - j0) * (i1 - i0 + 1) + static_cast<size_t>(i - i0)];
                    if (td != 1) continue;
                    const double px = L.X[static_cast<size_t>(i)] - ox, py = L.Y[static_cast<size_t>(j)] - oy;
                    const double wb = ((px - ax) * (ey - ay) - (ex - ax) * (py - ay)) / det;
                    const double we = ((bx - ax) * (py - ay) - (px - ax) * (by - ay)) / det;
                    const double wa = 1 - wb - we;
                    constexpr double eps = -1e-9;
                    if (wa < eps || wb < eps || we < eps) continue;
                    td = 2;
                    out.emplace_back(static_cast<long long>(j) * nx + i,
                                     static_cast<float>(wa * hz[a] + wb * hz[b] + we * hz[e]));
                }
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

void MkLatBands(const cntr* c, int nc, const std::vector<double>& X, const std::vector<double>& Y, double itv,
                LatBands& out, int nth, bool voids) {
    Lat L{X, Y, static_cast<int>(X.size()), static_cast<int>(Y.size()), 0, {}, {}, {}};
    L.nn = static_cast<long long>(L.nx) * L.ny;
    const size_t nn = static_cast<size_t>(L.nn);
    const std::vector<double> lev = Levels(c, nc);
    std::vector<Cut> cuts;
    std::vector<std::pair<long long, int>> touch;
    std::vector<Seg> joins;
    if (!lev.empty()) joins = Bridges(c, nc, X, Y);
    const int threads = nth > 0 ? std::min(nth, 64) : DefaultThreads();
    if (!lev.empty()) Crossings(c, nc, joins, lev, L, cuts, touch, threads);
    Group(cuts, L, threads);
    cuts.clear();
    cuts.shrink_to_fit();
    AccVec acc(nn);
    std::vector<uint8_t, RawAlloc<uint8_t>> odd(nn);   // set by Look's first pass
    Look(L, acc, odd.data(), threads);
    for (const auto& [u, l] : touch) acc[static_cast<size_t>(u)].Put(l, 0);
    std::vector<std::pair<long long, float>> vh;
    if (voids && !lev.empty()) vh = VoidHgts(c, nc, L, odd);
    odd.clear();
    odd.shrink_to_fit();
    NodeBands(L, acc, threads);
    RegVec par;
    const int nr = JoinRegions(L, acc, par, threads);
    std::vector<int> rlo(static_cast<size_t>(nr)), rhi(static_cast<size_t>(nr));
    for (size_t r = 0; r < static_cast<size_t>(nr); r++) {
        rlo[r] = acc[r].l1;
        rhi[r] = acc[r].l2;
    }
    acc.clear();
    acc.shrink_to_fit();
    const std::vector<uint8_t> side = RegionSides(L, par, rlo, rhi, threads);
    LatBands b;
    RegionBands(lev, rlo, rhi, side, itv, b);
    b.level = Misread(c, nc, lev, L, par, rlo, rhi, side, itv);
    b.reg = std::move(par);
    b.voids = std::move(vh);
    b.joins.reserve(joins.size());
    for (const Seg& sg : joins)
        b.joins.push_back({sg.x0, sg.y0, sg.x1, sg.y1, sg.h});
    out = std::move(b);
}
