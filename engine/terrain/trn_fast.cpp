// The parallel terrain generator. Each half-line first searches the one strip of the index
// (trn_srch.cpp) that holds its line, nearest edges first, and computes only the crossings that
// ordering and thinning can bring to the front of its list (NearHalf); where that is not plain it
// walks as the reference does, each step looking only at the edges the strip index offers for it,
// taken in contour and edge order. Either way every crossing is tested exactly as the reference
// tests it (where a crossing or its absence is clear by a wide margin, without the full test, at
// the very point the full test reports), so the lists and the heights are the same bit for bit.
// Vertices are computed by worker threads, in pieces of neighbouring vertices along a Z curve so
// that the strips they read stay in the cache; the calling thread alone reports progress and asks
// whether to stop (the run's feedback), and hands the progress marks to that feedback.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <thread>
#include <vector>

#include "core/alc.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"

// A step (or half-line) with what Apart needs of it, computed once.
struct SegK {
    double sx, sy, ux, uy, len;
    double x0, x1, y0, y1;   // rectangle
    SegK(const double s[2], const double e[2]) {
        sx = s[0]; sy = s[1];
        ux = e[0] - s[0]; uy = e[1] - s[1];
        len = std::sqrt(ux * ux + uy * uy);
        x0 = std::min(s[0], e[0]); x1 = std::max(s[0], e[0]);
        y0 = std::min(s[1], e[1]); y1 = std::max(s[1], e[1]);
    }
};

// True when IntscSeg(s, e, p, q) cannot report a crossing: the rectangles of s-e and p-q are
// more than 0.001 apart, or p and q lie on one side of the line s-e with the nearer one more than
// a hundredth of the step's length off it and more than a fiftieth of the farther one's distance
// (the line through p and q then meets s-e outside the parameter range -0.01 .. 1.01 that
// IntscSeg accepts).
static bool Apart(const SegK& k, const double* p, const double* q) {
    const double t = 0.001;
    if (std::min(p[0], q[0]) - t > k.x1 || std::max(p[0], q[0]) + t < k.x0 ||
        std::min(p[1], q[1]) - t > k.y1 || std::max(p[1], q[1]) + t < k.y0)
        return true;
    if (!(k.len > 0)) return false;
    // Signed distances from the line times its length.
    double hp = k.ux * (p[1] - k.sy) - k.uy * (p[0] - k.sx);
    double hq = k.ux * (q[1] - k.sy) - k.uy * (q[0] - k.sx);
    if ((hp > 0) != (hq > 0)) return false;
    double a = std::fabs(hp), b = std::fabs(hq);
    double lo = std::min(a, b), hi = std::max(a, b);
    return lo > 0.01 * k.len && lo > hi / 50;
}

// IntscSeg(a, b, c, d) > 0 with its first point, without IntscSeg's square roots where the answer
// is clear. Both segments longer than 0.002 and no two ends within 0.002 settle IntscSeg's first
// tests; the rectangles, det, t, u and the point are then computed with IntscSeg's very operations,
// so they decide alike. Only its last test, the point within each segment's length plus 0.001 of
// each end, is taken on squares with a margin of 0.0001 either way; what falls within the margin,
// and every other case, goes to IntscSeg.
static int Isc(const double a[2], const double b[2], const double c[2], const double d[2],
               double out[2][2]) {
    const double ux = b[0] - a[0], uy = b[1] - a[1];
    const double vx = d[0] - c[0], vy = d[1] - c[1];
    const double lab2 = ux * ux + uy * uy, lcd2 = vx * vx + vy * vy;
    auto far = [](const double* p, const double* q) {
        double x = p[0] - q[0], y = p[1] - q[1];
        return x * x + y * y > 4e-6;
    };
    if (!(lab2 > 4e-6 && lcd2 > 4e-6 && far(a, c) && far(a, d) && far(b, c) && far(b, d)))
        return IntscSeg(a, b, c, d, out);
    // fmin and fmax of numbers are the smaller and the larger.
    auto lo = [](double p, double q) { return q < p ? q : p; };
    auto hi = [](double p, double q) { return p < q ? q : p; };
    const double e = 0.0001;
    if (lo(a[0], b[0]) - e > hi(c[0], d[0]) || hi(a[0], b[0]) + e < lo(c[0], d[0]) ||
        lo(a[1], b[1]) - e > hi(c[1], d[1]) || hi(a[1], b[1]) + e < lo(c[1], d[1]))
        return 0;
    const double det = (a[0] - b[0]) * (c[1] - d[1]) - (c[0] - d[0]) * (a[1] - b[1]);
    if (std::fabs(det) < 0.005) return IntscSeg(a, b, c, d, out);
    const double t = ((a[0] - c[0]) * (c[1] - d[1]) - (a[1] - c[1]) * (c[0] - d[0])) / det;
    const double u = -((a[0] - b[0]) * (a[1] - c[1]) - (a[1] - b[1]) * (a[0] - c[0])) / det;
    if (t < -0.01 || t > 1.01 || u < -0.01 || u > 1.01) return 0;
    const double x[2] = {a[0] + t * ux, a[1] + t * uy};
    // 1: within the segment's reach, 0: beyond it, -1: too close to tell.
    auto reach = [&x](const double* p, double len2) {
        const double dx = x[0] - p[0], dy = x[1] - p[1], d2 = dx * dx + dy * dy;
        if (d2 <= len2) return 1;
        const double len = std::sqrt(len2), in = len + 0.0009, beyond = len + 0.0011;
        return d2 < in * in ? 1 : d2 > beyond * beyond ? 0 : -1;
    };
    const int r[4] = {reach(a, lab2), reach(b, lab2), reach(c, lcd2), reach(d, lcd2)};
    for (int k = 0; k < 4; k++) {
        if (r[k] < 0) return IntscSeg(a, b, c, d, out);
        if (r[k] == 0) return 0;   // IntscSeg stops at its first failing test

    }
    out[0][0] = x[0];
    out[0][1] = x[1];
    return 1;
}

// Whether IntscSeg(s, e, p, q) > 0 without computing the point, where that is clear: 1 a crossing,
// 0 none, -1 too close to tell. A crossing is clear when p and q lie on either side of the step's
// line, each more than a hundredth of a millimetre off it, or when one of them lies on the line so
// nearly (within 0.05 micrometres) that the lines meet within half a micrometre of it while the other
// lies that far off; and
// both lie along the step more than a hundredth of a millimetre inside its ends. The point is then
// inside both segments or within half a micrometre of an end of p-q (longer than a millimetre),
// far from every end of s-e, and det is large. None is clear when p and q lie on one side, both
// that far off: the lines then meet beyond the nearer end by more than its distance.
// A step with what IscClear needs of it, computed once for all the edges tested against it.
struct StepK {
    double sx, sy, ux, uy, len2, len, off;
    StepK() = default;
    StepK(const double s[2], const double e[2]) {
        sx = s[0]; sy = s[1];
        ux = e[0] - s[0]; uy = e[1] - s[1];
        len2 = ux * ux + uy * uy;
        len = std::sqrt(len2);
        off = 0.01 * len;
    }
};

// IscClear from what it computes of p and q: the square of p-q's length, their distances from
// the step's line times its length (hp, hq) and their positions along it times its length (tp, tq).
[[gnu::always_inline]] static inline int ClearOf(const StepK& k, double lcd2, double hp, double hq,
                                                 double tp, double tq) {
    const double len2 = k.len2, len = k.len, off = k.off;
    if (!(len2 > 1)) return -1;
    if (!(lcd2 > 1e-4)) return -1;
    const double ap = std::fabs(hp), aq = std::fabs(hq);
    // Within 0.05 micrometres of the line, so that the rectangles meet within IntscSeg's 0.1.
    auto on = [lcd2, len](double n, double f) {
        return lcd2 > 1 && n <= 5e-5 * len && n * n * lcd2 <= 2.5e-7 * (f - n) * (f - n);
    };
    if (ap > off && aq > off) {
        if ((hp > 0) == (hq > 0)) return 0;
    } else if (!(ap > off && on(aq, ap)) && !(aq > off && on(ap, aq))) {
        return -1;
    }
    return tp > off && tq > off && tp < len2 - off && tq < len2 - off ? 1 : -1;
}

[[gnu::always_inline]] static inline int IscClear(const StepK& k, const double p[2],
                                                  const double q[2]) {
    const double dx = q[0] - p[0], dy = q[1] - p[1], lcd2 = dx * dx + dy * dy;
    const double px = p[0] - k.sx, py = p[1] - k.sy, qx = q[0] - k.sx, qy = q[1] - k.sy;
    return ClearOf(k, lcd2, k.ux * py - k.uy * px, k.ux * qy - k.uy * qx, k.ux * px + k.uy * py,
                   k.ux * qx + k.uy * qy);
}

// The point IntscSeg reports for a crossing IscClear finds clear, with IntscSeg's operations.
static void IscPt(const double a[2], const double b[2], const double c[2], const double d[2],
                  double out[2]) {
    const double det = (a[0] - b[0]) * (c[1] - d[1]) - (c[0] - d[0]) * (a[1] - b[1]);
    const double t = ((a[0] - c[0]) * (c[1] - d[1]) - (a[1] - c[1]) * (c[0] - d[0])) / det;
    out[0] = a[0] + t * (b[0] - a[0]);
    out[1] = a[1] + t * (b[1] - a[1]);
}

// CrsRect with the sides that clearly meet V-F or clearly do not (IscClear, each corner's
// distances computed once for its two sides) settled without the full test. The answer is whether
// any side is crossed, so the order of the sides does not count. k: StepK(v, f).
static bool CrsRectFast(const cntr& c, const double v[2], const double f[2], const StepK& k) {
    const double p[4][2] = {{c.minx, c.miny}, {c.maxx, c.miny}, {c.maxx, c.maxy}, {c.minx, c.maxy}};
    double h[4], t[4];
    for (int i = 0; i < 4; i++) {
        const double px = p[i][0] - k.sx, py = p[i][1] - k.sy;
        h[i] = k.ux * py - k.uy * px;
        t[i] = k.ux * px + k.uy * py;
    }
    const double w = c.maxx - c.minx, d = c.maxy - c.miny;
    const double l2[2] = {w * w, d * d};
    int open[4], no = 0;
    for (int i = 0; i < 4; i++) {
        const int j = (i + 1) % 4;
        const int cl = ClearOf(k, l2[i & 1], h[i], h[j], t[i], t[j]);
        if (cl > 0) return true;
        if (cl < 0) open[no++] = i;
    }
    if (no == 0) return false;
    double out[2][2];
    const SegK vf(v, f);
    for (int n = 0; n < no; n++) {
        const int i = open[n];
        if (!Apart(vf, p[i], p[(i + 1) % 4]) && Isc(v, f, p[i], p[(i + 1) % 4], out) > 0)
            return true;
    }
    return false;
}

// A crossing found on a step, before the contour tests.
struct FastHit {
    int id;
    double x, y;
};

// A crossing found by the nearest-first search: its step (from 1) and edge, and the entry the
// walk would have appended.
struct NearHit {
    int step;
    int id;
    crs_ent e;
};

// Scratch of one worker (plain heap memory: workers never reach the engine allocator).
struct FastScr {
    std::vector<int> cand;       // candidate edges of the step
    std::vector<FastHit> hit;
    std::vector<NearHit> near;   // crossings of the nearest-first search
    std::vector<NearHit> all;    // the front of the list where its order counts
    std::vector<uint64_t> cd;    // candidates of the steps in the walk's order
    double bnd[65];              // distance from the vertex to the end of each step
    double walk[130];            // the walk's points, x y pairs
    StepK stk[64];               // the walk's steps (at most 64)
    std::vector<int> rectStamp;  // per contour: half-line stamp of the cached rectangle test
    std::vector<uint8_t> rectHit;
    int half = 0;
    int farStamp = 0;            // half-line stamp of farK, the half-line's record
    StepK farK;
    CrsLst l0, l1;
    std::vector<cntr_crv> lin;
};

static bool GrowHeap(CrsLst& l) {
    int cap = l.cap + (l.grow > 0 ? l.grow : 1);
    void* p = std::realloc(l.e, static_cast<size_t>(cap) * sizeof(crs_ent));
    if (!p) return false;
    l.e = static_cast<crs_ent*>(p);
    l.cap = cap;
    return true;
}

FastScr* MkFastScr(const TrnGenCtx& ctx) {
    FastScr* f = new (std::nothrow) FastScr;
    if (!f) return nullptr;
    try {
        f->rectStamp.assign(ctx.nc + 1, 0);
        f->rectHit.assign(ctx.nc + 1, 0);
        f->lin.resize(ctx.nAng);
        f->cand.reserve(1024);
        f->hit.reserve(256);
    } catch (...) {
        delete f;
        return nullptr;
    }
    int grow = ctx.nc > 0 ? ctx.nc : 1;
    f->l0.grow = f->l1.grow = grow;
    f->l0.more = f->l1.more = GrowHeap;
    f->l0.e = static_cast<crs_ent*>(std::malloc(2 * static_cast<size_t>(grow) * sizeof(crs_ent)));
    f->l1.e = static_cast<crs_ent*>(std::malloc(2 * static_cast<size_t>(grow) * sizeof(crs_ent)));
    if (!f->l0.e || !f->l1.e) {
        FreeFastScr(f);
        return nullptr;
    }
    f->l0.cap = f->l1.cap = 2 * grow;
    return f;
}

void FreeFastScr(FastScr* f) {
    if (!f) return;
    std::free(f->l0.e);
    std::free(f->l1.e);
    delete f;
}

namespace {
// Whether the contour of edge id takes part in step s-e of the half-line from v to fp: the
// rectangle tests of the walk, the half-line's one cached.
bool CntrUse(const TrnGenCtx& ctx, FastScr* f, int ci, const double v[2], const double fp[2],
             const double s[2], const double e[2]) {
    const cntr& c = ctx.c[ci];
    // OutRect, here where it is called for every crossing.
    if ((s[0] < c.minx && e[0] < c.minx) || (s[0] > c.maxx && e[0] > c.maxx) ||
        (s[1] < c.miny && e[1] < c.miny) || (s[1] > c.maxy && e[1] > c.maxy))
        return false;
    if (f->rectStamp[ci] != f->half) {
        f->rectStamp[ci] = f->half;
        if (f->farStamp != f->half) {
            f->farStamp = f->half;
            f->farK = StepK(v, fp);
        }
        f->rectHit[ci] = CrsRectFast(c, v, fp, f->farK);
    }
    return f->rectHit[ci];
}

// The crossing list of one half-line as ordering and thinning (OrdCrs) leave it, found nearest
// first. The walk appends every crossing of each step, in contour and edge order, and stops after
// the step that brings the list to four; ordering then brings the four nearest to the front. So
// the crossings up to a little beyond the fourth nearest are computed, each with the very test of
// its step, and the farther ones of the last step only counted, their points computed when the
// thinning needs them. Edges come from the one strip that holds the line, in order of distance
// from the vertex; an edge near a step's end is tested in both steps, as the walk would.
// NearHalf returns 1 with l filled (ordered, at most four entries kept), 0 when the walk must
// decide (the caller walks), -1 out of memory. NearSrch holds one search; each of its steps
// returns one of those results, or GoOn for the next step.
constexpr int GoOn = 2;

bool WalkOrder(const NearHit& p, const NearHit& q) {
    return p.step < q.step || (p.step == q.step && p.id < q.id);
}

struct NearSrch {
    const TrnGenCtx& ctx;
    const StrIdx& x;
    FastScr* f;
    const double* v;
    CrsLst& l;
    std::vector<NearHit>& hs;   // the crossings nearer than bound, as found
    double* wk = nullptr;       // the walk's points, as WalkHalf makes them
    double* bnd = nullptr;      // distance of each of them from the vertex
    int K = 0;                  // steps
    double fp[2] = {0, 0};
    const StrRun* r = nullptr;
    double pos = 0, bl = 0;     // the vertex along and across the strip
    double mr = 0, m = 0, sl = 0;
    bool back = false;
    double bound = 0;
    int cnt[66] = {};           // crossings found per step

    // The walk's points and the strip's frame.
    int Start(int a, int h, const StrRun* run) {
        if (!(ctx.s > 0)) return 0;
        while (l.cap < 4)
            if (!(l.more && l.more(l))) return -1;
        const double* u = ctx.dir + 4 * a + 2 * h;
        wk = f->walk;
        bnd = f->bnd;
        hs.clear();
        l.n = 0;
        wk[0] = v[0];
        wk[1] = v[1];
        bnd[0] = 0;
        int nw = 1;
        {
            double s[2] = {v[0], v[1]}, e[2];
            for (double walked = ctx.s; walked <= ctx.L - 0.5; walked += ctx.s) {
                if (nw > 64) return 0;
                NextPt(ctx, s, u, e);
                wk[2 * nw] = e[0];
                wk[2 * nw + 1] = e[1];
                f->stk[nw - 1] = StepK(s, e);
                const double dx = e[0] - v[0], dy = e[1] - v[1];
                bnd[nw++] = std::sqrt(dx * dx + dy * dy);
                s[0] = e[0];
                s[1] = e[1];
            }
        }
        K = nw - 1;
        if (K == 0) return 1;
        FarPt(ctx, v, u, fp);
        if (!run) return 1;
        r = run;
        pos = r->ca * v[0] + r->sa * v[1];
        bl = -r->sa * v[0] + r->ca * v[1];
        // Rounding of the along coordinates, of the floats kept in the strips and of the distances.
        mr = 1e-6 * (ctx.L + std::fabs(pos) + std::fabs(bl) + 1);
        m = 0.01 + mr;
        sl = StrSlack + mr;
        back = h == 1;
        return GoOn;
    }

    // Distances lo .. hi from the vertex at which entry j's edge may be crossed (false: behind).
    bool Reach(int j, double* lo, double* hi) const {
        if (!back) {
            *lo = r->e[j].a0 - pos - sl;
            *hi = r->e[j].a1 - pos + sl;
        } else {
            *lo = pos - r->e[j].a1 - sl;
            *hi = pos - r->e[j].a0 + sl;
        }
        return *hi >= -m && r->e[j].b0 <= bl && r->e[j].b1 >= bl;
    }

    // Scan the strip nearest first while entries may lie within bound(): forward in a0 order from
    // the vertex, or backward from it (the backward distance is at least pos - a0 - ext).
    template <class Bound, class Visit>
    bool Scan(Bound&& bnd_, Visit&& visit) const {
        if (!back) {
            const float from = static_cast<float>(pos - sl - r->ext);
            int j = StrFirst(*r, from, false);
            for (; j < r->n && r->e[j].a0 - pos - sl <= bnd_(); j++)
                if (!visit(j)) return false;
        } else {
            const float upto = static_cast<float>(pos + sl);
            int j = StrFirst(*r, upto, true) - 1;
            for (; j >= 0 && pos - r->e[j].a0 - r->ext - sl <= bnd_(); j--)
                if (!visit(j)) return false;
        }
        return true;
    }

    const double* Edge(int id) const {
        const int ci = x.ecn[id];
        return ctx.c[ci].pnt + 2 * (id - x.cfirst[ci]);
    }

    // The step whose crossings bring the count to four (0: fewer than four).
    int LastStep() const {
        int sum = 0;
        for (int k = 1; k <= K; k++)
            if ((sum += cnt[k]) >= 4) return k;
        return 0;
    }

    // bound shrinks to a little beyond the fourth nearest of the steps that end the walk.
    void Tighten() {
        if (hs.size() < 4) return;
        const int k4 = LastStep();
        if (!k4) return;
        float d[4];
        int nd = 0;
        for (const NearHit& ht : hs) {
            if (ht.step > k4) continue;
            const float q = ht.e.dst;
            if (nd < 4) d[nd++] = q;
            else if (q < d[3]) d[3] = q;
            else continue;
            for (int i = nd - 1; i > 0 && d[i] < d[i - 1]; i--) std::swap(d[i], d[i - 1]);
        }
        bound = std::min(bound, std::max(static_cast<double>(d[3]) + mr, bnd[k4 - 1] + m));
    }

    // Every crossing nearer than bound, each with its step's own test. False: out of memory.
    bool FindNear() {
        bound = bnd[K] + m;
        std::fill(cnt, cnt + K + 1, 0);
        return Scan([&] { return bound; }, [&](int j) {
            double lo, hi;
            if (!Reach(j, &lo, &hi) || lo > bound) return true;
            const int id = r->e[j].id;
            const int ci = x.ecn[id];
            const double* p = Edge(id);
            double out[2][2];
            for (int k = 1; k <= K; k++) {
                if (bnd[k] + m < lo) continue;
                if (bnd[k - 1] - m > hi) break;
                const double* s = &wk[2 * (k - 1)];
                const double* e = &wk[2 * k];
                const int cl = IscClear(f->stk[k - 1], p, p + 2);
                if (cl == 0 || !CntrUse(ctx, f, ci, v, fp, s, e)) continue;
                if (cl > 0) IscPt(s, e, p, p + 2, out[0]);
                else if (Isc(s, e, p, p + 2, out) <= 0) continue;
                try {
                    hs.push_back({k, id, CrsEnt(out[0], ctx.c[ci].hgt, v[0], v[1], 0)});
                } catch (...) {
                    return false;
                }
                cnt[k]++;
                Tighten();
            }
            return true;
        });
    }

    // Fewer than four: all of them, in the walk's order.
    int Few() {
        if (bound < bnd[K] + m) return 0;
        std::sort(hs.begin(), hs.end(), WalkOrder);
        for (const NearHit& ht : hs) l.e[l.n++] = ht.e;
        OrdCrs(ctx, l);
        return 1;
    }

    // Four distinct nearest of the steps up to k4 and none thinned: they are the list's front, in
    // order (1). Otherwise GoOn with d3, the fourth nearest distance.
    int Nearest4(int k4, float* d3) {
        // Every crossing of the steps before the last was found.
        if (bnd[k4 - 1] + m > bound) return 0;
        // The five nearest of the steps up to the last, nearest first (at least four are there).
        const NearHit* bs[5] = {};
        size_t nb = 0;
        for (const NearHit& ht : hs) {
            if (ht.step > k4) continue;
            size_t i = nb < 5 ? nb++ : 5;
            if (i == 5 && !(ht.e.dst < bs[4]->e.dst)) continue;
            if (i == 5) i = 4;
            for (; i > 0 && ht.e.dst < bs[i - 1]->e.dst; i--) bs[i] = bs[i - 1];
            bs[i] = &ht;
        }
        *d3 = bs[3]->e.dst;
        if (!(static_cast<double>(*d3) < bound)) return 0;
        bool plain = true;
        for (size_t i = 1; i < nb; i++) plain = plain && bs[i - 1]->e.dst < bs[i]->e.dst;
        for (int i = 0; i < 4; i++) l.e[i] = bs[i]->e;
        l.n = 4;
        for (int i = 1; plain && i < 4; i++) {
            const crs_ent& p = l.e[i - 1];
            const crs_ent& q = l.e[i];
            const double dx = p.x - q.x, dy = p.y - q.y;
            plain = !(std::fabs(static_cast<double>(p.hgt) - q.hgt) < 0.001 &&
                      std::sqrt(dx * dx + dy * dy) < ctx.samDst);
        }
        return plain ? 1 : GoOn;
    }

    // Equal distances or thinning: the order of the list counts. Ordering moves the four nearest
    // to the front, each swapped with the entry there, and thinning drops at most three of the
    // first four; so after the four nearest only the first eight entries of the list can reach its
    // front. The candidates of the steps up to the last, in the walk's order, are counted into
    // f->all (where clear, their points wait until needed) until eight are found.
    int Counted(int k4, float d3) {
        std::vector<NearHit>& all = f->all;
        std::vector<uint64_t>& cd = f->cd;   // step, edge and whether tested above, in that order
        all.clear();
        cd.clear();
        try {
            const double end = bnd[k4] + m;
            bool ok = Scan([&] { return end; }, [&](int j) {
                double lo, hi;
                if (!Reach(j, &lo, &hi)) return true;
                for (int k = 1; k <= k4; k++) {
                    if (bnd[k] + m < lo) continue;
                    if (bnd[k - 1] - m > hi) break;
                    // Nearer than bound: tested above, a crossing when it is among the hits.
                    cd.push_back(static_cast<uint64_t>(k) << 33 | static_cast<uint64_t>(r->e[j].id) << 1 |
                                 (lo <= bound ? 1 : 0));
                }
                return true;
            });
            if (!ok) return -1;
            std::sort(cd.begin(), cd.end());
            std::sort(hs.begin(), hs.end(), WalkOrder);
            size_t hi = 0;
            int front = 0;
            double out[2][2];
            for (const uint64_t c : cd) {
                const int step = static_cast<int>(c >> 33), id = static_cast<int>((c >> 1) & 0xffffffffu);
                if (c & 1) {
                    // Tested: a hit, or no crossing.
                    while (hi < hs.size() && (hs[hi].step < step || (hs[hi].step == step && hs[hi].id < id)))
                        hi++;
                    if (hi < hs.size() && hs[hi].step == step && hs[hi].id == id &&
                        (front < 8 || hs[hi].e.dst <= d3)) {
                        all.push_back(hs[hi]);
                        front++;
                    }
                    continue;
                }
                if (front >= 8) continue;
                const int ci = x.ecn[id];
                const double* p = Edge(id);
                const double* s = &wk[2 * (step - 1)];
                const double* e = &wk[2 * step];
                if (!CntrUse(ctx, f, ci, v, fp, s, e)) continue;
                const int cl = IscClear(f->stk[step - 1], p, p + 2);
                if (cl == 0) continue;
                NearHit ht{step, id, crs_ent{}};
                ht.e.hgt = ctx.c[ci].hgt;
                ht.e.ord = -1;   // point not computed yet
                if (cl < 0) {
                    if (Isc(s, e, p, p + 2, out) <= 0) continue;
                    ht.e = CrsEnt(out[0], ctx.c[ci].hgt, v[0], v[1], 0);
                }
                all.push_back(ht);
                front++;
            }
        } catch (...) {
            return -1;
        }
        return GoOn;
    }

    // The point of an entry only counted: a clear crossing, so IntscSeg finds it there.
    bool Point(NearHit& ht) const {
        if (ht.e.ord >= 0) return true;
        const int ci = x.ecn[ht.id];
        const double* p = Edge(ht.id);
        double out[2];
        IscPt(&wk[2 * (ht.step - 1)], &wk[2 * ht.step], p, p + 2, out);
        ht.e = CrsEnt(out, ctx.c[ci].hgt, v[0], v[1], 0);
        return true;
    }

    // OrdCrs on the counted list; entries not computed are farther than the four nearest.
    int OrdCounted() {
        std::vector<NearHit>& all = f->all;
        const int n = static_cast<int>(all.size());
        auto key = [&](int i) { return all[i].e.ord >= 0 ? all[i].e.dst : HUGE_VALF; };
        for (int i = 0; i < std::min(n, 4); i++) {
            int best = i;
            for (int j = i + 1; j < n; j++)
                if (key(j) < key(best)) best = j;
            if (best != i) std::swap(all[i], all[best]);
        }
        int nn = n;
        for (int i = 1; i < nn && i < 4;) {
            NearHit& p = all[i - 1];
            NearHit& q = all[i];
            if (std::fabs(static_cast<double>(p.e.hgt) - q.e.hgt) < 0.001) {
                if (!Point(p) || !Point(q)) return 0;
                const double dx = p.e.x - q.e.x, dy = p.e.y - q.e.y;
                if (std::sqrt(dx * dx + dy * dy) < ctx.samDst) {
                    all.erase(all.begin() + i);
                    nn--;
                }
            }
            i++;
        }
        l.n = std::min(nn, 4);
        for (int i = 0; i < l.n; i++) {
            if (!Point(all[i])) return 0;
            l.e[i] = all[i].e;
        }
        return 1;
    }
};

int NearHalf(const TrnGenCtx& ctx, const StrIdx& x, FastScr* f, int a, int h, const double v[2],
             const StrRun* run, CrsLst& l) {
    NearSrch s{ctx, x, f, v, l, f->near};
    int st = s.Start(a, h, run);
    if (st != GoOn) return st;
    if (!s.FindNear()) return -1;
    const int k4 = s.LastStep();
    if (!k4) return s.Few();
    float d3 = 0;
    if ((st = s.Nearest4(k4, &d3)) != GoOn) return st;
    if ((st = s.Counted(k4, d3)) != GoOn) return st;
    return s.OrdCounted();
}
}  // namespace

int IntpVtxFast(const TrnGenCtx& ctx, const StrIdx* x, FastScr* f, float v[3]) {
    const double vv[2] = {v[0], v[1]};
    double out[2][2];
    for (int a = 0; a < ctx.nAng; a++) {
        CrsLst* ls[2] = {&f->l0, &f->l1};
        // Both halves lie on one line, so in one strip.
        StrRun run;
        const bool inStrip = StrLine(*x, a, vv, run);
        for (int h = 0; h < 2; h++) {
            CrsLst& l = *ls[h];
            l.n = 0;
            const double* u = ctx.dir + 4 * a + 2 * h;
            if (++f->half == 0x7fffffff) {
                std::fill(f->rectStamp.begin(), f->rectStamp.end(), 0);
                f->farStamp = 0;
                f->half = 1;
            }
            const int nr = NearHalf(ctx, *x, f, a, h, vv, inStrip ? &run : nullptr, l);
            if (nr < 0) return -1;
            if (nr > 0) continue;
            l.n = 0;
            bool ok = WalkHalf(ctx, vv, u, l, [&](const double s[2], const double e[2],
                                                  const double fp[2]) {
                std::vector<int>& cd = f->cand;
                cd.clear();
                try {
                    StrCand(*x, a, s, e, cd);
                } catch (...) {
                    return false;
                }
                // The crossings first, then in contour and edge order as the reference meets
                // them (an edge offered twice counts once).
                std::vector<FastHit>& hs = f->hit;
                hs.clear();
                try {
                    for (int id : cd) {
                        const double* p = ctx.c[x->ecn[id]].pnt + 2 * (id - x->cfirst[x->ecn[id]]);
                        if (Isc(s, e, p, p + 2, out) > 0) hs.push_back({id, out[0][0], out[0][1]});
                    }
                } catch (...) {
                    return false;
                }
                for (size_t i = 1; i < hs.size(); i++)
                    for (size_t j = i; j > 0 && hs[j].id < hs[j - 1].id; j--) std::swap(hs[j], hs[j - 1]);
                int lastc = -1, lastId = -1;
                bool use = false;
                for (const FastHit& ht : hs) {
                    if (ht.id == lastId) continue;
                    lastId = ht.id;
                    const int ci = x->ecn[ht.id];
                    const cntr& c = ctx.c[ci];
                    if (ci != lastc) {
                        lastc = ci;
                        use = !OutRect(c, s, e);
                        if (use) {
                            if (f->rectStamp[ci] != f->half) {
                                f->rectStamp[ci] = f->half;
                                f->rectHit[ci] = CrsRectFast(c, vv, fp, StepK(vv, fp));
                            }
                            use = f->rectHit[ci];
                        }
                    }
                    const double q[2] = {ht.x, ht.y};
                    if (use && !AddCrs(l, q, c.hgt, vv[0], vv[1])) return false;
                }
                return true;
            });
            if (!ok) return -1;
            OrdCrs(ctx, l);
        }
        MkCrsLinOrd(v, f->l0, f->l1, f->lin[a]);
    }
    float z = v[2];
    int t = LinHgt(ctx, v, f->lin.data(), &z);
    if (t != LinNone) v[2] = z;
    return t;
}

namespace {
constexpr int kChunk = 128;  // vertices per piece of work

struct Run {
    const TrnGenCtx* ctx;
    const StrIdx* idx;
    float* v;
    int nv;
    int nChunk;
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> fail{false};
    std::atomic<int> active{0};
    std::atomic<uint8_t>* done;  // 0 open, 1 computed, 2 marked
    const uint32_t* ord = nullptr;  // the vertices in the order of work (null: as they come)
    int marked = 0;              // vertices of the pieces marked (calling thread only)
    std::vector<float> mrk;      // the vertices one MarkDone hands to the feedback (calling thread)
};

void Work(Run* r, FastScr* f) {
    for (;;) {
        if (r->stop.load(std::memory_order_relaxed)) break;
        int ch = r->next.fetch_add(1);
        if (ch >= r->nChunk) break;
        int i1 = std::min(r->nv, (ch + 1) * kChunk);
        bool whole = true;
        for (int k = ch * kChunk; k < i1; k++) {
            if (r->stop.load(std::memory_order_relaxed)) { whole = false; break; }
            const int i = r->ord ? static_cast<int>(r->ord[k]) : k;
            // Work on a copy so that a vertex is either done or untouched.
            float p[3] = {r->v[3 * i], r->v[3 * i + 1], r->v[3 * i + 2]};
            if (IntpVtxFast(*r->ctx, r->idx, f, p) < 0) {
                r->fail = true;
                r->stop = true;
                whole = false;
                break;
            }
            r->v[3 * i + 2] = p[2];
        }
        if (!whole) break;
        r->done[ch].store(1, std::memory_order_release);
    }
    r->active.fetch_sub(1);
}

// Marks of the pieces finished since the last call; returns the vertices finished so far.
int MarkDone(Run& r, bool marks, int* lowOpen) {
    r.mrk.clear();
    for (int ch = *lowOpen; ch < r.nChunk; ch++) {
        uint8_t st = r.done[ch].load(std::memory_order_acquire);
        if (st == 1) {
            if (marks) {
                int i1 = std::min(r.nv, (ch + 1) * kChunk);
                for (int k = ch * kChunk; k < i1; k++) {
                    const int i = r.ord ? static_cast<int>(r.ord[k]) : k;
                    r.mrk.insert(r.mrk.end(), r.v + 3 * i, r.v + 3 * i + 3);
                }
            }
            r.done[ch].store(2, std::memory_order_relaxed);
            r.marked += std::min(r.nv, (ch + 1) * kChunk) - ch * kChunk;
            st = 2;
        }
        if (st == 2 && ch == *lowOpen) (*lowOpen)++;
        if (ch >= r.next.load() + 1) break;
    }
    r.ctx->fb.Mark(r.mrk.data(), static_cast<int>(r.mrk.size() / 3), r.ctx->ox, r.ctx->oy);
    return r.marked;
}
}  // namespace

namespace {
// The vertices along a Z curve over their box: a piece of work then covers a compact patch of the
// map, whose cross lines read few strips of the index, so that the strips stay in the cache. Null
// when memory is short (the vertices are then taken as they come).
uint32_t* WorkOrder(const float* v, int nv) {
    uint32_t* code = new (std::nothrow) uint32_t[nv];
    uint32_t* ord = new (std::nothrow) uint32_t[nv];
    uint32_t* tmp = new (std::nothrow) uint32_t[nv];
    std::vector<int> cnt;
    try {
        cnt.assign(1 << 16, 0);
    } catch (...) {
        delete[] code; delete[] ord; delete[] tmp;
        return nullptr;
    }
    if (!code || !ord || !tmp) {
        delete[] code; delete[] ord; delete[] tmp;
        return nullptr;
    }
    float x0 = HUGE_VALF, x1 = -HUGE_VALF, y0 = HUGE_VALF, y1 = -HUGE_VALF;
    for (int i = 0; i < nv; i++) {
        x0 = std::min(x0, v[3 * i]); x1 = std::max(x1, v[3 * i]);
        y0 = std::min(y0, v[3 * i + 1]); y1 = std::max(y1, v[3 * i + 1]);
    }
    const double sx = x1 > x0 ? 65535.0 / (static_cast<double>(x1) - x0) : 0;
    const double sy = y1 > y0 ? 65535.0 / (static_cast<double>(y1) - y0) : 0;
    auto spread = [](uint32_t q) {   // the 16 bits of q to the even bits
        uint32_t b = q & 0xffff;
        b = (b | b << 8) & 0x00ff00ff;
        b = (b | b << 4) & 0x0f0f0f0f;
        b = (b | b << 2) & 0x33333333;
        b = (b | b << 1) & 0x55555555;
        return b;
    };
    for (int i = 0; i < nv; i++) {
        const double fx = (static_cast<double>(v[3 * i]) - x0) * sx;
        const double fy = (static_cast<double>(v[3 * i + 1]) - y0) * sy;
        const uint32_t qx = fx >= 0 && fx <= 65535 ? static_cast<uint32_t>(fx) : 0;
        const uint32_t qy = fy >= 0 && fy <= 65535 ? static_cast<uint32_t>(fy) : 0;
        code[i] = spread(qx) | spread(qy) << 1;
        ord[i] = static_cast<uint32_t>(i);
    }
    // Two stable counting passes, low half of the code first.
    for (int sh = 0; sh < 32; sh += 16) {
        std::fill(cnt.begin(), cnt.end(), 0);
        for (int i = 0; i < nv; i++) cnt[(code[ord[i]] >> sh) & 0xffff]++;
        int sum = 0;
        for (int& c : cnt) {
            const int n = c;
            c = sum;
            sum += n;
        }
        for (int i = 0; i < nv; i++) tmp[cnt[(code[ord[i]] >> sh) & 0xffff]++] = ord[i];
        std::swap(ord, tmp);
    }
    delete[] code;
    delete[] tmp;
    return ord;
}
}  // namespace

bool GenTrnFast(const TrnGenCtx& ctx, float* v, int nv, bool marks) {
    if (nv <= 0) return true;
    marks = marks && ctx.fb.mark;
    StrIdx* idx = MkStrIdx(ctx);
    Run r;
    r.ctx = &ctx;
    r.idx = idx;
    r.v = v;
    r.nv = nv;
    r.nChunk = (nv + kChunk - 1) / kChunk;
    r.done = new (std::nothrow) std::atomic<uint8_t>[r.nChunk];
    r.ord = WorkOrder(v, nv);
    unsigned hw = std::thread::hardware_concurrency();
    int nth = static_cast<int>(std::clamp(hw == 0 ? 2u : hw, 1u, 64u));
    nth = std::min(nth, r.nChunk);
    std::vector<FastScr*> scr;
    std::vector<std::thread> th;
    bool memOk = r.done != nullptr;
    if (memOk) {
        for (int c = 0; c < r.nChunk; c++) r.done[c].store(0);
        for (int t = 0; t < nth; t++) {
            FastScr* f = MkFastScr(ctx);
            if (!f) break;
            scr.push_back(f);
        }
        memOk = !scr.empty();
    }
    if (!memOk) {
        for (FastScr* f : scr) FreeFastScr(f);
        delete[] r.done;
        delete[] r.ord;
        FreeStrIdx(idx);
        DspErrMsg(MsgNoMem, "crs0");
        return false;
    }
    try {
        th.reserve(scr.size());
        for (FastScr* f : scr) {
            r.active.fetch_add(1);
            try {
                th.emplace_back(Work, &r, f);
            } catch (...) {
                r.active.fetch_sub(1);
                break;
            }
        }
    } catch (...) {
    }
    bool cancelled = false;
    int lowOpen = 0, pct = 0;
    if (th.empty()) {
        // No thread to be had: compute here, piece by piece, between the checks.
        r.active = 1;
        while (r.next.load() < r.nChunk) {
            if (ctx.fb.Cancelled()) { cancelled = true; break; }
            int ch = r.next.fetch_add(1);
            int i1 = std::min(nv, (ch + 1) * kChunk);
            for (int k = ch * kChunk; k < i1; k++) {
                const int i = r.ord ? static_cast<int>(r.ord[k]) : k;
                if (IntpVtxFast(ctx, idx, scr[0], v + 3 * i) < 0) { r.fail = true; break; }
            }
            if (r.fail) break;
            r.done[ch].store(1);
            int p = static_cast<int>(100LL * MarkDone(r, marks, &lowOpen) / nv);
            if (p > pct) ctx.fb.Progress(pct = p);
        }
    } else {
        for (;;) {
            bool finished = r.active.load() == 0;
            if (!cancelled && ctx.fb.Cancelled()) {
                cancelled = true;
                r.stop = true;
            }
            int p = static_cast<int>(100LL * MarkDone(r, marks, &lowOpen) / nv);
            if (p > pct) ctx.fb.Progress(pct = p);
            if (finished) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        for (std::thread& t : th) t.join();
    }
    bool fail = r.fail.load();
    for (FastScr* f : scr) FreeFastScr(f);
    delete[] r.done;
    delete[] r.ord;
    FreeStrIdx(idx);
    if (fail) {
        DspErrMsg(MsgNoMem, "crs0");
        return false;
    }
    return !cancelled;
}
