// Candidate search of the parallel generator: for each cross-line direction the contour edges are
// kept in strips parallel to that direction, each strip sorted by the edges' extent along it. A
// step of a half-line lies in one strip (two near a border), so its candidates are the few edges
// of that strip whose extent along the direction overlaps the step: a binary search and a short
// scan instead of a walk over the cells of a square grid. The candidates are then tested in
// contour and edge order exactly as the reference tests every edge, so the crossings are the same.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/alc.h"
#include "curves/crv.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"

namespace {
// Slack of the search, in millimetres. The crossing test reports nothing for an edge farther than
// a thousandth of a millimetre from the step; the rotation into a strip's frame and the walk's
// accumulated steps are off by far less than a micrometre at any coordinate of a map.
constexpr double SrchSlack = StrSlack;
// Strips per direction and entries over all directions are bounded; wider strips hold more.
constexpr long long MaxStrips = 1 << 20;
constexpr long long MaxEntries = 1LL << 26;

// Float bounds rounded outwards, so that the stored extent always holds the true one.
float Lo(double v) {
    float f = static_cast<float>(v);
    return static_cast<double>(f) > v ? std::nextafter(f, -HUGE_VALF) : f;
}
float Hi(double v) {
    float f = static_cast<float>(v);
    return static_cast<double>(f) < v ? std::nextafter(f, HUGE_VALF) : f;
}
}  // namespace

// Strips of one direction: along = ca x + sa y, across = -sa x + ca y.
struct StrDir {
    double ca = 1, sa = 0;
    double y0 = 0, w = 1;
    int ns = 0;
    int* start = nullptr;   // ns + 1 offsets
    int* id = nullptr;      // edge ids, by lower along bound within a strip
    float* a0 = nullptr;    // along extent of each entry
    float* a1 = nullptr;
    float* b0 = nullptr;    // across extent of each entry
    float* b1 = nullptr;
    float* ext = nullptr;   // per strip: the longest along extent
};


void FreeStrIdx(StrIdx* x) {
    if (!x) return;
    for (int i = 0; i < x->nd; i++) {
        StrDir& s = x->d[i];
        FreeMem(s.start); FreeMem(s.id); FreeMem(s.a0); FreeMem(s.a1); FreeMem(s.b0); FreeMem(s.b1);
        FreeMem(s.ext);
    }
    FreeMem(x->d);
    FreeMem(x->ecn);
    FreeMem(x->cfirst);
    FreeObj(x);
}

namespace {
const double* EdgP(const TrnGenCtx& ctx, const StrIdx& x, int id) {
    const int ci = x.ecn[id];
    return ctx.c[ci].pnt + 2 * (id - x.cfirst[ci]);
}

void MkStrDir(const TrnGenCtx& ctx, const StrIdx& x, double th, StrDir& s) {
    s.ca = std::cos(th);
    s.sa = std::sin(th);
    const int ne = x.ne;
    // Across extents: the strip width follows the edges' mean extent, halved so that a step meets
    // few edges that merely share its strip.
    double lo = HUGE_VAL, hi = -HUGE_VAL, sum = 0;
    for (int e = 0; e < ne; e++) {
        const double* p = EdgP(ctx, x, e);
        double b0 = -s.sa * p[0] + s.ca * p[1], b1 = -s.sa * p[2] + s.ca * p[3];
        lo = std::min(lo, std::min(b0, b1));
        hi = std::max(hi, std::max(b0, b1));
        sum += std::fabs(b1 - b0);
    }
    if (ne == 0) { lo = hi = 0; }
    const double span = hi - lo + 4 * SrchSlack;
    double w = ne > 0 ? 0.5 * sum / ne : span;
    w = std::max(w, span / static_cast<double>(MaxStrips));
    w = std::max(w, SrchSlack);
    // Entries: one per strip an edge touches; widen the strips until they fit the budget.
    const long long budget = MaxEntries / (ctx.nAng > 0 ? ctx.nAng : 1);
    for (;;) {
        long long cnt = 0;
        for (int e = 0; e < ne && cnt <= budget; e++) {
            const double* p = EdgP(ctx, x, e);
            double b0 = -s.sa * p[0] + s.ca * p[1], b1 = -s.sa * p[2] + s.ca * p[3];
            cnt += static_cast<long long>((std::fabs(b1 - b0) + 2 * SrchSlack) / w) + 2;
        }
        if (cnt <= budget) break;
        w *= 2;
    }
    s.w = w;
    s.y0 = lo - 2 * SrchSlack;
    s.ns = static_cast<int>(std::min(span / w + 2.0, static_cast<double>(MaxStrips) + 2));
    s.start = static_cast<int*>(AlcMem((s.ns + 1LL) * static_cast<long long>(sizeof(int)), "edg_idx"));
    std::memset(s.start, 0, (s.ns + 1) * sizeof(int));
    auto strips = [&](const double* p, int* k0, int* k1) {
        double b0 = -s.sa * p[0] + s.ca * p[1], b1 = -s.sa * p[2] + s.ca * p[3];
        double q0 = (std::min(b0, b1) - SrchSlack - s.y0) / s.w;
        double q1 = (std::max(b0, b1) + SrchSlack - s.y0) / s.w;
        *k0 = std::clamp(static_cast<int>(std::floor(q0)), 0, s.ns - 1);
        *k1 = std::clamp(static_cast<int>(std::floor(q1)), 0, s.ns - 1);
    };
    for (int e = 0; e < ne; e++) {
        int k0, k1;
        strips(EdgP(ctx, x, e), &k0, &k1);
        for (int k = k0; k <= k1; k++) s.start[k + 1]++;
    }
    for (int k = 0; k < s.ns; k++) s.start[k + 1] += s.start[k];
    const long long tot = std::max(s.start[s.ns], 1);
    s.id = static_cast<int*>(AlcMem(tot * static_cast<long long>(sizeof(int)), "edg_idx"));
    s.a0 = static_cast<float*>(AlcMem(tot * static_cast<long long>(sizeof(float)), "edg_idx"));
    s.a1 = static_cast<float*>(AlcMem(tot * static_cast<long long>(sizeof(float)), "edg_idx"));
    s.b0 = static_cast<float*>(AlcMem(tot * static_cast<long long>(sizeof(float)), "edg_idx"));
    s.b1 = static_cast<float*>(AlcMem(tot * static_cast<long long>(sizeof(float)), "edg_idx"));
    s.ext = static_cast<float*>(AlcMem(s.ns * static_cast<long long>(sizeof(float)), "edg_idx"));
    std::vector<int> fill(s.start, s.start + s.ns);
    for (int e = 0; e < ne; e++) {
        const double* p = EdgP(ctx, x, e);
        int k0, k1;
        strips(p, &k0, &k1);
        double c0 = s.ca * p[0] + s.sa * p[1], c1 = s.ca * p[2] + s.sa * p[3];
        double d0 = -s.sa * p[0] + s.ca * p[1], d1 = -s.sa * p[2] + s.ca * p[3];
        float lo0 = Lo(std::min(c0, c1)), hi0 = Hi(std::max(c0, c1));
        float lo1 = Lo(std::min(d0, d1) - SrchSlack), hi1 = Hi(std::max(d0, d1) + SrchSlack);
        for (int k = k0; k <= k1; k++) {
            int j = fill[k]++;
            s.id[j] = e;
            s.a0[j] = lo0;
            s.a1[j] = hi0;
            s.b0[j] = lo1;
            s.b1[j] = hi1;
        }
    }
    // Sort each strip by the lower along bound and note its longest extent.
    std::vector<int> ord;
    std::vector<int> tid;
    std::vector<float> t0, t1, u0, u1;
    for (int k = 0; k < s.ns; k++) {
        const int b = s.start[k], n = s.start[k + 1] - b;
        double big = 0;
        for (int j = 0; j < n; j++)
            big = std::max(big, static_cast<double>(s.a1[b + j]) - s.a0[b + j]);
        s.ext[k] = Hi(big);
        if (n < 2) continue;
        ord.resize(n);
        for (int j = 0; j < n; j++) ord[j] = j;
        std::sort(ord.begin(), ord.end(), [&](int i, int j) {
            return s.a0[b + i] < s.a0[b + j] || (s.a0[b + i] == s.a0[b + j] && s.id[b + i] < s.id[b + j]);
        });
        tid.resize(n); t0.resize(n); t1.resize(n); u0.resize(n); u1.resize(n);
        for (int j = 0; j < n; j++) {
            tid[j] = s.id[b + ord[j]];
            t0[j] = s.a0[b + ord[j]];
            t1[j] = s.a1[b + ord[j]];
            u0[j] = s.b0[b + ord[j]];
            u1[j] = s.b1[b + ord[j]];
        }
        std::copy(tid.begin(), tid.end(), s.id + b);
        std::copy(t0.begin(), t0.end(), s.a0 + b);
        std::copy(t1.begin(), t1.end(), s.a1 + b);
        std::copy(u0.begin(), u0.end(), s.b0 + b);
        std::copy(u1.begin(), u1.end(), s.b1 + b);
    }
}
}  // namespace

StrIdx* MkStrIdx(const TrnGenCtx& ctx) {
    StrIdx* x = AlcObj<StrIdx>("edg_idx");
    try {
        long long ne = 0;
        for (int i = 0; i < ctx.nc; i++) ne += ctx.c[i].n - 1;
        if (ne > 0x3fffffff) ne = 0x3fffffff;
        x->ne = static_cast<int>(ne);
        x->ecn = static_cast<int*>(AlcMem((ne + 1) * static_cast<long long>(sizeof(int)), "edg_idx"));
        x->cfirst = static_cast<int*>(
            AlcMem((ctx.nc + 1LL) * static_cast<long long>(sizeof(int)), "edg_idx"));
        int id = 0;
        for (int i = 0; i < ctx.nc; i++) {
            x->cfirst[i] = id;
            for (int k = 0; k + 1 < ctx.c[i].n && id < x->ne; k++) x->ecn[id++] = i;
        }
        x->d = static_cast<StrDir*>(AlcMem(ctx.nAng * static_cast<long long>(sizeof(StrDir)), "edg_idx"));
        for (int a = 0; a < ctx.nAng; a++) new (&x->d[a]) StrDir;
        x->nd = ctx.nAng;
        for (int a = 0; a < ctx.nAng; a++) MkStrDir(ctx, *x, a * M_PI / ctx.nAng, x->d[a]);
    } catch (const AlcAbort&) {
        FreeStrIdx(x);
        throw;
    }
    return x;
}

void StrCand(const StrIdx& x, int a, const double s[2], const double e[2], std::vector<int>& out) {
    const StrDir& d = x.d[a];
    if (d.ns <= 0) return;
    const double bs = -d.sa * s[0] + d.ca * s[1], be = -d.sa * e[0] + d.ca * e[1];
    const double as = d.ca * s[0] + d.sa * s[1], ae = d.ca * e[0] + d.sa * e[1];
    const double q0 = (std::min(bs, be) - SrchSlack - d.y0) / d.w;
    const double q1 = (std::max(bs, be) + SrchSlack - d.y0) / d.w;
    if (q1 < 0 || q0 >= d.ns) return;
    const int k0 = std::max(0, static_cast<int>(std::floor(q0)));
    const int k1 = std::min(d.ns - 1, static_cast<int>(std::floor(q1)));
    const double lo = std::min(as, ae) - SrchSlack, hi = std::max(as, ae) + SrchSlack;
    // The step lies on one line across: only edges that reach it (within the slack, already in
    // b0 .. b1) can cross it.
    const double blo = std::min(bs, be), bhi = std::max(bs, be);
    for (int k = k0; k <= k1; k++) {
        const int b = d.start[k], n = d.start[k + 1];
        // Entries that can reach lo start at or after lo - (longest extent).
        const float from = Lo(lo - d.ext[k]);
        int j = static_cast<int>(std::lower_bound(d.a0 + b, d.a0 + n, from) - d.a0);
        for (; j < n && d.a0[j] <= hi; j++)
            if (d.a1[j] >= lo && d.b0[j] <= bhi && d.b1[j] >= blo) out.push_back(d.id[j]);
    }
}

bool StrLine(const StrIdx& x, int a, const double p[2], StrRun& r) {
    const StrDir& d = x.d[a];
    r.ca = d.ca;
    r.sa = d.sa;
    if (d.ns <= 0) return false;
    // An edge near the line reaches its across coordinate within the slack, so the strip holding
    // that coordinate holds the edge.
    const double q = (-d.sa * p[0] + d.ca * p[1] - d.y0) / d.w;
    if (!(q >= 0 && q < d.ns)) return false;
    const int k = static_cast<int>(q);
    const int b = d.start[k];
    r.id = d.id + b;
    r.a0 = d.a0 + b;
    r.a1 = d.a1 + b;
    r.b0 = d.b0 + b;
    r.b1 = d.b1 + b;
    r.n = d.start[k + 1] - b;
    r.ext = d.ext[k];
    return r.n > 0;
}
