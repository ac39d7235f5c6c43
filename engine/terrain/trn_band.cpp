// The bands of a lattice's nodes from the contours crossed around each node (see trn_band.h).
#include "terrain/trn_band.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "terrain/trn_gen.h"

namespace {
constexpr double LvlTol = 1e-3;   // height tolerance of equal levels (mm)

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

// The first crossing met in one direction: level index (-1: none) and distance.
struct Hit {
    int l = -1;
    double d = 0;
};

// The two nearest distinct levels seen from a node.
struct Acc {
    int l1 = -1, l2 = -1;
    float d1 = 0, d2 = 0;
    void Put(int l, double dd) {
        if (l < 0) return;
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
            l2 = l1;
            d2 = d1;
            l1 = l;
            d1 = d;
        } else if (l2 < 0 || d < d2) {
            l2 = l;
            d2 = d;
        }
    }
};

struct Lat {
    const std::vector<double>& X;
    const std::vector<double>& Y;
    int nx, ny;
    long long nn;
    std::vector<int> gi;     // per edge (horizontal: j nx + i, vertical: nn + j nx + i): its group, -1
    std::vector<Grp> grp;
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
        const int g = gi[static_cast<size_t>(e)];
        if (g < 0) return false;
        const Grp& G = grp[static_cast<size_t>(g)];
        const long long a = fromA ? u : w, b = fromA ? w : u;
        const double t = fromA ? G.ra : G.rb;
        const double px = Nx(a) + t * (Nx(b) - Nx(a)), py = Ny(a) + t * (Ny(b) - Ny(a));
        h.l = fromA ? G.la : G.lb;
        h.d = std::hypot(px - sx, py - sy);
        return true;
    }
    bool IsCut(long long u, long long w) const {
        bool fromA = false;
        const long long e = Edge(u, w, &fromA);
        return e >= 0 && gi[static_cast<size_t>(e)] >= 0;
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

// Every crossing of a contour with a lattice edge, and the nodes a contour runs along on the
// lattice's first row or column (touch: node, level).
void Crossings(const cntr* c, int nc, const std::vector<double>& lev, Lat& L, std::vector<Cut>& cuts,
               std::vector<std::pair<long long, int>>& touch) {
    const std::vector<double>& X = L.X;
    const std::vector<double>& Y = L.Y;
    double h = HUGE_VAL;
    for (size_t k = 1; k < X.size(); k++) h = std::min(h, X[k] - X[k - 1]);
    for (size_t k = 1; k < Y.size(); k++) h = std::min(h, Y[k] - Y[k - 1]);
    if (!std::isfinite(h) || !(h > 0)) h = 1000;
    const double eps = 1e-7 * h;
    for (int ci = 0; ci < nc; ci++) {
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
                    const int j = static_cast<int>(std::upper_bound(b.begin(), b.end(), s) - b.begin()) - 1;
                    if (j < 0) {
                        // Along the first row or column: it bounds the node it runs through.
                        if (s >= b[0] - 4 * eps)
                            touch.emplace_back(ax == 0 ? k : static_cast<long long>(k) * L.nx, l);
                        continue;
                    }
                    if (j >= nb - 1) continue;
                    const double at = (s - b[static_cast<size_t>(j)]) /
                                      (b[static_cast<size_t>(j) + 1] - b[static_cast<size_t>(j)]);
                    // Line x = X[k] crosses the vertical edge (k, j)-(k, j+1); y = Y[k] the
                    // horizontal edge (j, k)-(j+1, k).
                    const long long e = ax == 0 ? L.nn + static_cast<long long>(j) * L.nx + k
                                                : static_cast<long long>(k) * L.nx + j;
                    cuts.push_back({e, at, l});
                }
            }
        }
    }
}

// The edges' groups of crossings.
void Group(std::vector<Cut>& cuts, Lat& L) {
    std::sort(cuts.begin(), cuts.end(), [](const Cut& x, const Cut& y) {
        return x.e != y.e ? x.e < y.e : x.at != y.at ? x.at < y.at : x.l < y.l;
    });
    L.gi.assign(static_cast<size_t>(2 * L.nn), -1);
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
        L.gi[static_cast<size_t>(cuts[u].e)] = static_cast<int>(L.grp.size());
        L.grp.push_back(G);
        u = w + 1;
    }
}

// Every node's two nearest distinct levels over the eight directions. Each direction is one pass
// that carries the first crossing ahead of a node back from the node beyond it.
void Look(const Lat& L, std::vector<Acc>& acc) {
    const int nx = L.nx, ny = L.ny;
    auto id = [nx](int i, int j) { return static_cast<long long>(j) * nx + i; };
    std::vector<Hit> prev(static_cast<size_t>(nx)), cur(static_cast<size_t>(nx));
    // (di, dj): the step; rows are taken against dj so that the node ahead is done first.
    const int dirs[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (const auto& dir : dirs) {
        const int di = dir[0], dj = dir[1];
        std::fill(prev.begin(), prev.end(), Hit{});
        for (int jj = 0; jj < ny; jj++) {
            const int j = dj > 0 ? ny - 1 - jj : jj;
            const int tj = j + dj;
            for (int ii = 0; ii < nx; ii++) {
                const int i = di > 0 ? nx - 1 - ii : ii;
                const int ti = i + di;
                Hit h;
                if (ti >= 0 && ti < nx && tj >= 0 && tj < ny) {
                    const long long s = id(i, j), t = id(ti, tj);
                    const bool diag = di != 0 && dj != 0;
                    if (!L.Step(s, t, diag ? id(ti, j) : -1, diag ? id(i, tj) : -1, h)) {
                        h = dj == 0 ? cur[static_cast<size_t>(ti)] : prev[static_cast<size_t>(ti)];
                        if (h.l >= 0) h.d += std::hypot(L.X[static_cast<size_t>(ti)] - L.X[static_cast<size_t>(i)],
                                                        L.Y[static_cast<size_t>(tj)] - L.Y[static_cast<size_t>(j)]);
                    }
                }
                cur[static_cast<size_t>(i)] = h;
                acc[static_cast<size_t>(id(i, j))].Put(h.l, h.d);
            }
            std::swap(prev, cur);
        }
    }
}
}  // namespace

void MkLatBands(const cntr* c, int nc, const std::vector<double>& X, const std::vector<double>& Y, double itv,
                LatBands& out) {
    Lat L{X, Y, static_cast<int>(X.size()), static_cast<int>(Y.size()), 0, {}, {}};
    L.nn = static_cast<long long>(L.nx) * L.ny;
    const size_t nn = static_cast<size_t>(L.nn);
    const std::vector<double> lev = Levels(c, nc);
    std::vector<Cut> cuts;
    std::vector<std::pair<long long, int>> touch;
    if (!lev.empty()) Crossings(c, nc, lev, L, cuts, touch);
    Group(cuts, L);
    cuts.clear();
    cuts.shrink_to_fit();
    std::vector<Acc> acc(nn);
    Look(L, acc);
    for (const auto& [u, l] : touch) acc[static_cast<size_t>(u)].Put(l, 0);
    // Band of each node as level indices (lo, hi); -1, -1 when it sees no contour.
    std::vector<int> blo(nn), bhi(nn);
    for (size_t u = 0; u < nn; u++) {
        const Acc& a = acc[u];
        blo[u] = a.l2 < 0 ? a.l1 : std::min(a.l1, a.l2);
        bhi[u] = a.l2 < 0 ? a.l1 : std::max(a.l1, a.l2);
    }
    acc.clear();
    acc.shrink_to_fit();
    // Regions: nodes joined by uncut edges whose bands agree. A node that sees one level joins a
    // region between that level and another (beyond the last contour it may see the next level
    // only far off), but two regions of different bands never join, so no band spreads further
    // than the nodes that see it.
    std::vector<int> par(nn);
    for (size_t u = 0; u < nn; u++) par[u] = static_cast<int>(u);
    auto find = [&](int a) {
        while (par[static_cast<size_t>(a)] != a) {
            par[static_cast<size_t>(a)] = par[static_cast<size_t>(par[static_cast<size_t>(a)])];
            a = par[static_cast<size_t>(a)];
        }
        return a;
    };
    auto unite = [&](size_t a, size_t b) {
        const int ra = find(static_cast<int>(a)), rb = find(static_cast<int>(b));
        if (ra == rb) return;
        const size_t sa = static_cast<size_t>(ra), sb = static_cast<size_t>(rb);
        int lo, hi;
        if (blo[sa] == blo[sb] && bhi[sa] == bhi[sb]) {
            lo = blo[sa];
            hi = bhi[sa];
        } else if (blo[sa] == bhi[sa] && blo[sa] >= 0 && (blo[sa] == blo[sb] || blo[sa] == bhi[sb])) {
            lo = blo[sb];
            hi = bhi[sb];
        } else if (blo[sb] == bhi[sb] && blo[sb] >= 0 && (blo[sb] == blo[sa] || blo[sb] == bhi[sa])) {
            lo = blo[sa];
            hi = bhi[sa];
        } else {
            return;
        }
        const size_t r = static_cast<size_t>(std::min(ra, rb));
        par[static_cast<size_t>(std::max(ra, rb))] = static_cast<int>(r);
        blo[r] = lo;
        bhi[r] = hi;
    };
    for (int j = 0; j < L.ny; j++)
        for (int i = 0; i < L.nx; i++) {
            const size_t u = static_cast<size_t>(j) * static_cast<size_t>(L.nx) + static_cast<size_t>(i);
            if (i + 1 < L.nx && L.gi[u] < 0) unite(u, u + 1);
            if (j + 1 < L.ny && L.gi[nn + u] < 0) unite(u, u + static_cast<size_t>(L.nx));
        }
    // Labels 0 .. nr - 1 in index order (roots are the least index of their region).
    for (size_t u = 0; u < nn; u++) par[u] = find(static_cast<int>(u));
    int nr = 0;
    for (size_t u = 0; u < nn; u++) {
        if (par[u] == static_cast<int>(u)) {
            blo[static_cast<size_t>(nr)] = blo[u];
            bhi[static_cast<size_t>(nr)] = bhi[u];
            par[u] = nr++;
        } else {
            par[u] = par[static_cast<size_t>(par[u])];
        }
    }
    blo.resize(static_cast<size_t>(nr));
    bhi.resize(static_cast<size_t>(nr));
    // Regions that see one level: look across their cut edges for the side the ground lies on.
    std::vector<uint8_t> side(static_cast<size_t>(nr), 0);   // bit 1: lower across, bit 2: higher
    for (size_t e = 0; e < 2 * nn; e++) {
        const int g = L.gi[e];
        if (g < 0) continue;
        const Grp& G = L.grp[static_cast<size_t>(g)];
        const size_t a = e < nn ? e : e - nn, b = e < nn ? a + 1 : a + static_cast<size_t>(L.nx);
        for (int k = 0; k < 2; k++) {
            const int r = par[k ? b : a], o = par[k ? a : b];
            const int l = k ? G.lb : G.la, next = k ? G.nb : G.na;
            const size_t rs = static_cast<size_t>(r), os = static_cast<size_t>(o);
            if (blo[rs] < 0 || blo[rs] != bhi[rs]) continue;
            if (next >= 0) {
                side[rs] |= next < l ? 1 : next > l ? 2 : 0;
                continue;
            }
            if (blo[os] < 0) continue;
            if (blo[os] < l) side[rs] |= 1;
            if (bhi[os] > l) side[rs] |= 2;
        }
    }
    LatBands b;
    b.rlo.resize(static_cast<size_t>(nr));
    b.rhi.resize(static_cast<size_t>(nr));
    const double room = itv > 0 ? itv : 0;
    for (size_t r = 0; r < static_cast<size_t>(nr); r++) {
        if (blo[r] < 0) {
            b.rlo[r] = -HUGE_VAL;
            b.rhi[r] = HUGE_VAL;
        } else if (blo[r] != bhi[r]) {
            b.rlo[r] = lev[static_cast<size_t>(blo[r])];
            b.rhi[r] = lev[static_cast<size_t>(bhi[r])];
        } else {
            const double h = lev[static_cast<size_t>(blo[r])];
            b.rlo[r] = side[r] == 1 ? h : h - room;
            b.rhi[r] = side[r] == 2 ? h : h + room;
        }
    }
    b.reg = std::move(par);
    out = std::move(b);
}
