// Contour-constrained minimum-curvature terrain.
//
// The heights minimise the bending of the surface (thin plate: zxx^2 + 2 zxy^2 + zyy^2) blended with
// a tension term (|grad z|^2), plus a strong pull towards every contour: each contour segment is cut
// at the lattice lines and every piece pulls the bilinear surface of its cell towards the contour's
// height at the piece's midpoint, weighted by its length. The quadratic energy is minimised by
// Gauss-Seidel sweeps, coarse lattice first, each finer lattice starting from the coarser solution.
// Every update is kept within the post's order band (projected Gauss-Seidel), so the surface cannot
// cross a contour level it is not bounded by. Nodes are swept in five colours ((i + 2 j) mod 5):
// nodes of one colour do not share a term, so a colour is updated in parallel and the result does
// not depend on the number of threads.
//
// The lattice is the grid's posts plus a margin of two posts on each side (so that contours just
// outside the region count and grids of one row or column still have cells).
#include "terrain/trn_mc.h"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cmath>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

#include "core/alc.h"
#include "core/msg.h"
#include "terrain/trn.h"
#include "terrain/trn_band.h"

namespace {
constexpr int McMargin = 2;          // posts added beyond the region on each side
constexpr int McMinCoarse = 4;       // a lattice direction is not halved below this many nodes
constexpr double OrdTol = 1.0;       // mm a height may pass its band before it counts as broken
constexpr double LvlTol = 1e-3;      // height tolerance of equal contour levels (mm)
constexpr int McColours = 5;         // node classes (i + 2 j) mod 5 of the parallel sweeps

// Node coordinates of the lattice: the posts and the margin.
void Lattice(const float* v, int R, int C, double d, std::vector<double>& X, std::vector<double>& Y) {
    if (!(d > 0)) d = 1000;
    X.assign(C + 2 * McMargin, 0);
    Y.assign(R + 2 * McMargin, 0);
    for (int c = 0; c < C; c++) X[McMargin + c] = v[3 * c];
    for (int r = 0; r < R; r++) Y[McMargin + r] = v[3LL * r * C + 1];
    for (int k = 1; k <= McMargin; k++) {
        X[McMargin - k] = X[McMargin] - k * d;
        X[McMargin + C - 1 + k] = X[McMargin + C - 1] + k * d;
        Y[McMargin - k] = Y[McMargin] - k * d;
        Y[McMargin + R - 1 + k] = Y[McMargin + R - 1] + k * d;
    }
}

// Index i with a[i] <= x < a[i + 1], clamped to 0 .. n - 2; -1 when x lies outside a[0] .. a[n - 1].
int Cell(const std::vector<double>& a, double x) {
    const int n = static_cast<int>(a.size());
    if (n < 2 || x < a[0] || x > a[n - 1]) return -1;
    int i = static_cast<int>(std::upper_bound(a.begin(), a.end(), x) - a.begin()) - 1;
    return std::clamp(i, 0, n - 2);
}


// Calls f(t) for each parameter t in (0, 1) where segment p-q crosses a line x = a[k] (axis 0) or
// y = a[k] (axis 1).
template <class F>
void LineHits(const double* p, const double* q, const std::vector<double>& a, int ax, F&& f) {
    const double lo = std::min(p[ax], q[ax]), hi = std::max(p[ax], q[ax]);
    if (!(hi > lo)) return;
    auto k0 = std::lower_bound(a.begin(), a.end(), lo);
    for (auto k = k0; k != a.end() && *k <= hi; ++k) f((*k - p[ax]) / (q[ax] - p[ax]));
}

// Order bands of the lattice nodes X x Y: the bands every method shares.
void LatBand(const cntr* c, int nc, const std::vector<double>& X, const std::vector<double>& Y,
             double itv, AlcArr<double>& lo, AlcArr<double>& hi) {
    const long long nn = static_cast<long long>(X.size()) * static_cast<long long>(Y.size());
    LatBands b;
    MkLatBands(c, nc, X, Y, itv, b);
    lo.Alc(nn, "ord_band");
    hi.Alc(nn, "ord_band");
    for (long long n = 0; n < nn; n++) {
        lo[n] = b.Lo(n);
        hi[n] = b.Hi(n);
    }
}

// One level of the solver.
struct Lvl {
    int nx = 0, ny = 0;
    std::vector<double> X, Y;
    std::vector<int> xi, yi;       // indices into the next finer level
    AlcArr<double> z, lo, hi;
    // Second differences: coefficients for nodes k-1, k, k+1 and the node's width.
    std::vector<double> ax, bx, cx, wx, ay, by, cy, wy;
    std::vector<double> hx, hy;    // cell sizes
    std::vector<uint8_t> ux, uy;   // node with two equal cells on each side (the plain stencil holds)
    AlcArr<int> slot;                 // per cell: data slot or -1
    AlcArr<double> M;                 // per slot: 4 x 4 (row-major), then g[4]
    // Interpolation from the coarser level: index and weight per node.
    std::vector<int> fx, fy;
    std::vector<double> tx, ty;
};

void Diffs(const std::vector<double>& a, std::vector<double>& cm, std::vector<double>& c0,
           std::vector<double>& cp, std::vector<double>& w, std::vector<double>& h) {
    const int n = static_cast<int>(a.size());
    cm.assign(n, 0); c0.assign(n, 0); cp.assign(n, 0); w.assign(n, 0); h.assign(std::max(n - 1, 1), 0);
    for (int k = 0; k + 1 < n; k++) h[k] = a[k + 1] - a[k];
    for (int k = 0; k < n; k++) {
        double l = k > 0 ? a[k] - a[k - 1] : 0, r = k + 1 < n ? a[k + 1] - a[k] : 0;
        w[k] = (l + r) / 2;
        if (k == 0 || k == n - 1) continue;
        cm[k] = 2 / (l * (l + r));
        c0[k] = -2 / (l * r);
        cp[k] = 2 / (r * (l + r));
    }
    if (n == 1) w[0] = 1;
}

void Even(const std::vector<double>& a, std::vector<uint8_t>& u) {
    const int n = static_cast<int>(a.size());
    u.assign(n, 0);
    for (int k = 2; k + 2 < n; k++) {
        const double h = a[k + 1] - a[k];
        bool e = true;
        for (int m = k - 2; m < k + 2; m++) e = e && std::fabs(a[m + 1] - a[m] - h) <= 1e-6 * h;
        u[k] = e;
    }
}

// Pieces of the contours pull the cells of level L.
void Pull(const cntr* c, int nc, double pull, double unit, Lvl& L) {
    const int cxn = L.nx - 1, cyn = L.ny - 1;
    L.slot.Alc(static_cast<long long>(cxn) * cyn, "mc_slot");
    std::fill(L.slot.p, L.slot.p + L.slot.n, -1);
    std::vector<double> acc;   // 20 per slot: M (16), g (4)
    int ns = 0;
    std::vector<double> ts;
    const double w0 = pull / (unit * unit * unit);
    for (int ci = 0; ci < nc; ci++) {
        const cntr& cc = c[ci];
        if (cc.maxx < L.X.front() || cc.minx > L.X.back() || cc.maxy < L.Y.front() || cc.miny > L.Y.back())
            continue;
        const double h = cc.hgt;
        for (int k = 0; k + 1 < cc.n; k++) {
            const double* p = cc.pnt + 2 * k;
            const double* q = p + 2;
            ts.assign({0.0, 1.0});
            LineHits(p, q, L.X, 0, [&](double t) { ts.push_back(t); });
            LineHits(p, q, L.Y, 1, [&](double t) { ts.push_back(t); });
            std::sort(ts.begin(), ts.end());
            const double len = std::hypot(q[0] - p[0], q[1] - p[1]);
            for (size_t m = 0; m + 1 < ts.size(); m++) {
                const double t0 = std::clamp(ts[m], 0.0, 1.0), t1 = std::clamp(ts[m + 1], 0.0, 1.0);
                const double pl = (t1 - t0) * len;
                if (!(pl > 0)) continue;
                const double tm = (t0 + t1) / 2;
                const double x = p[0] + tm * (q[0] - p[0]), y = p[1] + tm * (q[1] - p[1]);
                const int i = Cell(L.X, x), j = Cell(L.Y, y);
                if (i < 0 || j < 0) continue;
                const double u = (x - L.X[i]) / L.hx[i], v = (y - L.Y[j]) / L.hy[j];
                const double b[4] = {(1 - u) * (1 - v), u * (1 - v), (1 - u) * v, u * v};
                int& s = L.slot[static_cast<long long>(j) * cxn + i];
                if (s < 0) {
                    s = ns++;
                    acc.resize(20LL * ns, 0.0);
                }
                double* a = acc.data() + 20LL * s;
                const double w = w0 * pl;
                for (int r = 0; r < 4; r++) {
                    for (int cc2 = 0; cc2 < 4; cc2++) a[4 * r + cc2] += w * b[r] * b[cc2];
                    a[16 + r] += w * h * b[r];
                }
            }
        }
    }
    L.M.Alc(std::max(20LL * ns, 1LL), "mc_pull");
    std::copy(acc.begin(), acc.end(), L.M.p);
}

struct Solver;
// After every phase of the barrier: whether the run is to stop (seen by all threads alike).
struct Fin {
    Solver* s;
    void operator()() noexcept;
};
using Bar = std::barrier<Fin>;

struct Solver {
    std::vector<Lvl*> lv;          // 0 finest
    double T = 0, unit = 1;
    int nth = 1;
    std::atomic<bool> stop{false};
    std::atomic<long long> done{0};
    long long total = 1;
    bool quit = false;
    double maxd[64] = {};
    std::atomic<int> running{0};
};

void Fin::operator()() noexcept { s->quit = s->stop.load(); }

// Contours pulling the four cells around node (i, j): their share of the node's equation.
inline void PullTerms(const Lvl& L, int i, int j, double& A, double& B) {
    const int nx = L.nx, cxn = nx - 1;
    for (int q = j - 1; q <= j; q++) {
        if (q < 0 || q + 1 >= L.ny) continue;
        for (int p = i - 1; p <= i; p++) {
            if (p < 0 || p + 1 >= nx) continue;
            const int s = L.slot[static_cast<long long>(q) * cxn + p];
            if (s < 0) continue;
            const double* c0 = L.z.p + static_cast<long long>(q) * nx + p;
            const double cz[4] = {c0[0], c0[1], c0[nx], c0[nx + 1]};
            const int li = (i - p) + 2 * (j - q);
            const double* M = L.M.p + 20LL * s;
            A += M[5 * li];
            double g = M[16 + li];
            for (int m = 0; m < 4; m++)
                if (m != li) g -= M[4 * li + m] * cz[m];
            B += g;
        }
    }
}

// New height of node (i, j): the minimum of the energy in it with every other node held.
double Upd(const Solver& S, const Lvl& L, int i, int j) {
    const int nx = L.nx, ny = L.ny;
    const double* z = L.z.p;
    const long long n = static_cast<long long>(j) * nx + i;
    const double bend = 1 - S.T, ten = S.T / (S.unit * S.unit);
    if (L.ux[i] && L.uy[j] && std::fabs(L.hx[i] - L.hy[j]) <= 1e-6 * L.hx[i]) {
        // Equal cells all round: the thin plate's 13-point stencil and the membrane's 5 points.
        const double* c = z + n;
        const double s1 = c[-1] + c[1] + c[-nx] + c[nx];
        const double s2 = c[-nx - 1] + c[-nx + 1] + c[nx - 1] + c[nx + 1];
        const double s3 = c[-2] + c[2] + c[-2 * nx] + c[2 * nx];
        const double ih2 = 1 / (L.hx[i] * L.hx[i]);
        double A = bend * 20 * ih2 + 4 * ten;
        double B = bend * (8 * s1 - 2 * s2 - s3) * ih2 + ten * s1;
        PullTerms(L, i, j, A, B);
        return B / A;
    }
    double A = 0, B = 0;
    auto term = [&](double w, double ci, double r) {
        A += w * ci * ci;
        B -= w * ci * r;
    };
    // Second differences along x, centred at i-1, i, i+1.
    const double* row = z + static_cast<long long>(j) * nx;
    if (i - 1 >= 1) {
        int k = i - 1;
        term(bend * L.wx[k] * L.wy[j], L.cx[k], L.ax[k] * row[k - 1] + L.bx[k] * row[k]);
    }
    if (i >= 1 && i + 1 < nx) {
        int k = i;
        term(bend * L.wx[k] * L.wy[j], L.bx[k], L.ax[k] * row[k - 1] + L.cx[k] * row[k + 1]);
    }
    if (i + 2 < nx) {
        int k = i + 1;
        term(bend * L.wx[k] * L.wy[j], L.ax[k], L.bx[k] * row[k] + L.cx[k] * row[k + 1]);
    }
    // Along y.
    auto zy = [&](int jj) { return z[static_cast<long long>(jj) * nx + i]; };
    if (j - 1 >= 1) {
        int k = j - 1;
        term(bend * L.wy[k] * L.wx[i], L.cy[k], L.ay[k] * zy(k - 1) + L.by[k] * zy(k));
    }
    if (j >= 1 && j + 1 < ny) {
        int k = j;
        term(bend * L.wy[k] * L.wx[i], L.by[k], L.ay[k] * zy(k - 1) + L.cy[k] * zy(k + 1));
    }
    if (j + 2 < ny) {
        int k = j + 1;
        term(bend * L.wy[k] * L.wx[i], L.ay[k], L.by[k] * zy(k) + L.cy[k] * zy(k + 1));
    }
    // Twist of the four cells around the node.
    for (int q = j - 1; q <= j; q++) {
        if (q < 0 || q + 1 >= ny) continue;
        for (int p = i - 1; p <= i; p++) {
            if (p < 0 || p + 1 >= nx) continue;
            const double* c0 = z + static_cast<long long>(q) * nx + p;
            const double cz[4] = {c0[0], c0[1], c0[nx], c0[nx + 1]};
            const int li = (i - p) + 2 * (j - q);
            const double sg[4] = {1, -1, -1, 1};
            double r = 0;
            for (int m = 0; m < 4; m++)
                if (m != li) r += sg[m] * cz[m];
            term(bend * 2 / (L.hx[p] * L.hy[q]), sg[li], r);
        }
    }
    PullTerms(L, i, j, A, B);
    // Tension along the four edges.
    if (S.T > 0) {
        if (i > 0) term(ten * L.wy[j] / L.hx[i - 1], 1, -row[i - 1]);
        if (i + 1 < nx) term(ten * L.wy[j] / L.hx[i], 1, -row[i + 1]);
        if (j > 0) term(ten * L.wx[i] / L.hy[j - 1], 1, -zy(j - 1));
        if (j + 1 < ny) term(ten * L.wx[i] / L.hy[j], 1, -zy(j + 1));
    }
    return A > 0 ? B / A : z[n];
}

// Sweeps of one level by thread t of S.nth.
void Sweeps(Solver& S, Lvl& L, int t, int maxSweeps, double tol, Bar& bar) {
    for (int sw = 0; sw < maxSweeps; sw++) {
        double big = 0;
        // Five colours, (i + 2 j) mod 5: no two nodes of a colour share a term, so each thread
        // takes a block of rows of the colour at once.
        const int j0 = static_cast<int>(static_cast<long long>(L.ny) * t / S.nth);
        const int j1 = static_cast<int>(static_cast<long long>(L.ny) * (t + 1) / S.nth);
        for (int col = 0; col < McColours; col++) {
            for (int j = j0; j < j1; j++) {
                double* row = L.z.p + static_cast<long long>(j) * L.nx;
                const double* lo = L.lo.p + static_cast<long long>(j) * L.nx;
                const double* hi = L.hi.p + static_cast<long long>(j) * L.nx;
                for (int i = ((col - 2 * j) % McColours + McColours) % McColours; i < L.nx; i += McColours) {
                    double nz = std::clamp(Upd(S, L, i, j), lo[i], hi[i]);
                    big = std::max(big, std::fabs(nz - row[i]));
                    row[i] = nz;
                }
            }
            bar.arrive_and_wait();
        }
        S.maxd[t] = big;
        S.done.fetch_add(static_cast<long long>(L.nx) * L.ny / S.nth, std::memory_order_relaxed);
        bar.arrive_and_wait();   // the completion step looks at every thread's change and at stop
        if (S.quit) return;
        double all = 0;
        for (int k2 = 0; k2 < S.nth; k2++) all = std::max(all, S.maxd[k2]);
        if (all < tol) return;
    }
}

// Start of a finer level from the coarser one (rows of thread t).
void Prolong(const Solver& S, const Lvl& Cs, Lvl& F, int t) {
    int k = 0;
    for (int j = 0; j < F.ny; j++, k++) {
        if (k % S.nth != t) continue;
        const int j0 = F.fy[j];
        const double ty = F.ty[j];
        const int j1 = std::min(j0 + 1, Cs.ny - 1);
        for (int i = 0; i < F.nx; i++) {
            const int i0 = F.fx[i], i1 = std::min(i0 + 1, Cs.nx - 1);
            const double tx = F.tx[i];
            const double* z0 = Cs.z.p + static_cast<long long>(j0) * Cs.nx;
            const double* z1 = Cs.z.p + static_cast<long long>(j1) * Cs.nx;
            double z = (1 - ty) * ((1 - tx) * z0[i0] + tx * z0[i1]) + ty * ((1 - tx) * z1[i0] + tx * z1[i1]);
            const long long n = static_cast<long long>(j) * F.nx + i;
            F.z[n] = std::clamp(z, F.lo[n], F.hi[n]);
        }
    }
}

// Sweep budget of a level: many on the small coarse lattices, few on the large fine ones.
int SweepCap(long long nodes) {
    if (nodes <= 4096) return 400;
    if (nodes <= 65536) return 120;
    if (nodes <= 300000) return 40;
    return 20;
}

void Work(Solver& S, int t, Bar& bar) {
    const int nl = static_cast<int>(S.lv.size());
    for (int l = nl - 1; l >= 0 && !S.quit; l--) {
        Lvl& L = *S.lv[l];
        if (l < nl - 1) {
            Prolong(S, *S.lv[l + 1], L, t);
            bar.arrive_and_wait();
        }
        const long long nodes = static_cast<long long>(L.nx) * L.ny;
        Sweeps(S, L, t, SweepCap(nodes), 1e-3, bar);
    }
}

void Split(const std::vector<double>& a, std::vector<double>& out, std::vector<int>& idx) {
    const int n = static_cast<int>(a.size());
    idx.clear();
    if (n < McMinCoarse) {
        for (int k = 0; k < n; k++) idx.push_back(k);
    } else {
        for (int k = 0; k < n; k += 2) idx.push_back(k);
        if (idx.back() != n - 1) idx.push_back(n - 1);
    }
    out.clear();
    for (int k : idx) out.push_back(a[k]);
}

// Where each node of fine lies on coarse (index of the coarse interval and the weight of its end).
void Locate(const std::vector<double>& fine, const std::vector<double>& coarse, std::vector<int>& f,
            std::vector<double>& t) {
    const int n = static_cast<int>(fine.size()), m = static_cast<int>(coarse.size());
    f.assign(n, 0);
    t.assign(n, 0);
    for (int k = 0; k < n; k++) {
        if (m < 2) continue;
        int i = static_cast<int>(std::upper_bound(coarse.begin(), coarse.end(), fine[k]) - coarse.begin()) - 1;
        i = std::clamp(i, 0, m - 2);
        f[k] = i;
        t[k] = std::clamp((fine[k] - coarse[i]) / (coarse[i + 1] - coarse[i]), 0.0, 1.0);
    }
}

void FreeLvls(std::vector<Lvl*>& lv) {
    for (Lvl* L : lv) FreeObj(L);
    lv.clear();
}
}  // namespace

void FreeOrdBand(OrdBand* b) {
    if (!b) return;
    FreeMem(b->lo);
    FreeMem(b->hi);
    b->lo = b->hi = nullptr;
}

// Contour interval: the most frequent step between adjacent distinct levels (the smaller on a tie).
double FindItv(const cntr* c, int nc) {
    std::vector<double> h;
    for (int i = 0; i < nc; i++) h.push_back(c[i].hgt);
    std::sort(h.begin(), h.end());
    std::vector<double> d;
    for (size_t i = 1; i < h.size(); i++)
        if (h[i] - h[i - 1] > LvlTol) d.push_back(std::round((h[i] - h[i - 1]) / LvlTol) * LvlTol);
    if (d.empty()) return 0;
    std::sort(d.begin(), d.end());
    double best = d[0];
    size_t bestN = 0;
    for (size_t i = 0; i < d.size();) {
        size_t j = i;
        while (j < d.size() && d[j] == d[i]) j++;
        if (j - i > bestN) { bestN = j - i; best = d[i]; }
        i = j;
    }
    return best;
}

void TrnOrdBand(const cntr* c, int nc, const float* v, int R, int C, double itv, OrdBand* b) {
    FreeOrdBand(b);
    std::vector<double> X, Y;
    Lattice(v, R, C, itv, X, Y);
    AlcArr<double> lo, hi;
    b->itv = FindItv(c, nc);
    LatBand(c, nc, X, Y, b->itv, lo, hi);
    const long long n = static_cast<long long>(R) * C;
    b->lo = static_cast<double*>(AlcMem(n * static_cast<long long>(sizeof(double)), "ord_band"));
    b->hi = static_cast<double*>(AlcMem(n * static_cast<long long>(sizeof(double)), "ord_band"));
    const int nx = static_cast<int>(X.size());
    for (int r = 0; r < R; r++)
        for (int k = 0; k < C; k++) {
            long long m = static_cast<long long>(r + McMargin) * nx + k + McMargin;
            b->lo[static_cast<long long>(r) * C + k] = lo[m];
            b->hi[static_cast<long long>(r) * C + k] = hi[m];
        }
}

long long CntOrdBrk(const float* v, int n, const OrdBand& b) {
    long long k = 0;
    for (int i = 0; i < n; i++) {
        double z = v[3LL * i + 2];
        if (z < b.lo[i] - OrdTol || z > b.hi[i] + OrdTol) k++;
    }
    return k;
}

namespace {

// Coarser levels below the last one of S.lv: every other node, the last one always kept, with the
// bands of the nodes they keep. Throws std::bad_alloc.
void CoarseLvls(Solver& S) {
    for (;;) {
        Lvl& F = *S.lv.back();
        if (F.nx < McMinCoarse && F.ny < McMinCoarse) break;
        S.lv.reserve(S.lv.size() + 1);
        Lvl* Cs = AlcObj<Lvl>("mc_lvl");
        S.lv.push_back(Cs);
        Split(F.X, Cs->X, Cs->xi);
        Split(F.Y, Cs->Y, Cs->yi);
        Cs->nx = static_cast<int>(Cs->X.size());
        Cs->ny = static_cast<int>(Cs->Y.size());
        const long long cn = static_cast<long long>(Cs->nx) * Cs->ny;
        Cs->lo.Alc(cn, "mc_band");
        Cs->hi.Alc(cn, "mc_band");
        for (int j = 0; j < Cs->ny; j++)
            for (int i = 0; i < Cs->nx; i++) {
                long long f = static_cast<long long>(Cs->yi[j]) * F.nx + Cs->xi[i];
                Cs->lo[static_cast<long long>(j) * Cs->nx + i] = F.lo[f];
                Cs->hi[static_cast<long long>(j) * Cs->nx + i] = F.hi[f];
            }
        Locate(F.X, Cs->X, F.fx, F.tx);
        Locate(F.Y, Cs->Y, F.fy, F.ty);
        if (Cs->nx == F.nx && Cs->ny == F.ny) break;
    }
}

// The levels of the solver: the finest over the lattice X x Y with the contours' bands, every
// coarser one taking every other node (the last always kept) down to McMinCoarse, each with its
// operators and pulls; the coarsest starts at the contours' mean height, within its bands.
// Throws std::bad_alloc when they do not fit (the levels made stay in S.lv).
void MkLvls(Solver& S, const cntr* c, int nc, const std::vector<double>& X, const std::vector<double>& Y,
            const McPrm& prm) {
    // Finest level and its bands.
    // Room first, so that the push cannot throw while a level is held outside the list.
    S.lv.reserve(1);
    Lvl* L0 = AlcObj<Lvl>("mc_lvl");
    S.lv.push_back(L0);
    L0->X = X;
    L0->Y = Y;
    L0->nx = static_cast<int>(X.size());
    L0->ny = static_cast<int>(Y.size());
    const double ci = FindItv(c, nc);
    LatBand(c, nc, X, Y, ci, L0->lo, L0->hi);
    CoarseLvls(S);
    // Operators, pulls and the start of the coarsest level.
    double mean = 0;
    for (int i = 0; i < nc; i++) mean += c[i].hgt;
    mean = nc > 0 ? mean / nc : 0;
    for (Lvl* L : S.lv) {
        Diffs(L->X, L->ax, L->bx, L->cx, L->wx, L->hx);
        Diffs(L->Y, L->ay, L->by, L->cy, L->wy, L->hy);
        Even(L->X, L->ux);
        Even(L->Y, L->uy);
        if (L->nx < 2 || L->ny < 2) continue;
        Pull(c, nc, prm.pull, S.unit, *L);
        const long long n = static_cast<long long>(L->nx) * L->ny;
        L->z.Alc(n, "mc_z");
    }
    Lvl& Lc = *S.lv.back();
    for (long long n = 0; n < Lc.z.n; n++) Lc.z[n] = std::clamp(mean, Lc.lo[n], Lc.hi[n]);
    S.total = 0;
    for (Lvl* L : S.lv) S.total += static_cast<long long>(L->nx) * L->ny * SweepCap(static_cast<long long>(L->nx) * L->ny);
}

// The sweeps over every level by prm.threads workers (0: one per core), this thread hearing
// prm.fb: its progress, and a cancel that stops the workers (S.quit). A worker that cannot start
// makes this thread run them all alone, from the same start.
void RunSweeps(Solver& S, const McPrm& prm) {
    unsigned hw = std::thread::hardware_concurrency();
    int nth = prm.threads > 0 ? prm.threads : static_cast<int>(hw == 0 ? 2u : hw);
    nth = std::clamp(nth, 1, 64);
    S.nth = nth;
    const std::vector<double> start(S.lv.back()->z.p, S.lv.back()->z.p + S.lv.back()->z.n);
    bool threaded = true;
    {
        Bar bar(nth, Fin{&S});
        std::vector<std::thread> th;
        try {
            for (int t = 0; t < nth; t++) {
                S.running.fetch_add(1);
                th.emplace_back([&S, t, &bar]() {
                    Work(S, t, bar);
                    S.running.fetch_sub(1);
                });
            }
        } catch (...) {
            // A thread that could not start: the others are let through and stop at once.
            S.running.fetch_sub(1);
            S.stop = true;
            threaded = false;
            for (size_t k = th.size(); k < static_cast<size_t>(nth); k++) bar.arrive_and_drop();
        }
        int pct = 0;
        const bool heard = prm.fb.progress || prm.fb.cancelled;
        while (S.running.load() > 0) {
            if (prm.fb.Cancelled()) S.stop = true;
            int p = static_cast<int>(std::min(99LL, 100 * S.done.load() / std::max(S.total, 1LL)));
            if (p > pct) prm.fb.Progress(pct = p);
            // Someone listening is asked at the window's pace; otherwise only the workers are awaited.
            std::this_thread::sleep_for(std::chrono::milliseconds(heard ? 15 : 2));
        }
        for (std::thread& x : th) x.join();
    }
    if (!threaded) {
        // Again on this thread alone, from the same start.
        std::copy(start.begin(), start.end(), S.lv.back()->z.p);
        S.stop = false;
        S.quit = false;
        S.nth = 1;
        Bar one(1, Fin{&S});
        Work(S, 0, one);
    }
}

}  // namespace

bool GenTrnMc(const cntr* c, int nc, float* v, int R, int C, const McPrm& prm) {
    if (R <= 0 || C <= 0) return true;
    Solver S;
    S.T = std::clamp(prm.tension, 0.0, 0.999);
    S.unit = prm.itv > 0 ? prm.itv : 1000;
    std::vector<double> X, Y;
    Lattice(v, R, C, S.unit, X, Y);
    Cleanup release([&] { FreeLvls(S.lv); });
    try {
        MkLvls(S, c, nc, X, Y, prm);
    } catch (const std::bad_alloc&) {
        // The working lists of the lattice did not fit: the terrain stays as it was.
        FreeLvls(S.lv);
        DspErrMsg(MsgNoMem, "mc_lvl");
        return false;
    }
    RunSweeps(S, prm);
    const bool ok = !S.quit;
    if (ok) {
        const Lvl& L0 = *S.lv[0];
        for (int r = 0; r < R; r++)
            for (int k = 0; k < C; k++) {
                long long m = static_cast<long long>(r + McMargin) * L0.nx + k + McMargin;
                v[3 * (static_cast<long long>(r) * C + k) + 2] = static_cast<float>(L0.z[m]);
            }
    }
    return ok;
}
