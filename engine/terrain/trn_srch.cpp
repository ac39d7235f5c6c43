// Candidate search of the parallel generator: for each cross-line direction the contour edges are
// kept in strips parallel to that direction, each strip sorted by the edges' extent along it. A
// step of a half-line lies in one strip (two near a border), so its candidates are the few edges
// of that strip whose extent along the direction overlaps the step: a binary search and a short
// scan instead of a walk over the cells of a square grid. The candidates are then tested in
// contour and edge order exactly as the reference tests every edge, so the crossings are the same.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
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

// Strips of one direction: along = ca x + sa y, across = -sa x + ca y. An entry and a strip's
// header are each one record, so that a search reads few cache lines.
struct StrDir {
    double ca = 1, sa = 0;
    double y0 = 0, w = 1;
    int ns = 0;
    int* start = nullptr;    // ns + 1 offsets
    StrEnt* ent = nullptr;   // by lower along bound within a strip
    StrHdr* hdr = nullptr;   // ns headers
    int* bk = nullptr;       // the strips' bucket tables
};


void FreeStrIdx(StrIdx* x) {
    if (!x) return;
    for (int i = 0; i < x->nd; i++) {
        StrDir& s = x->d[i];
        FreeMem(s.start); FreeMem(s.ent); FreeMem(s.hdr); FreeMem(s.bk);
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
    s.ent = static_cast<StrEnt*>(AlcMem(tot * static_cast<long long>(sizeof(StrEnt)), "edg_idx"));
    s.hdr = static_cast<StrHdr*>(AlcMem(std::max(s.ns, 1) * static_cast<long long>(sizeof(StrHdr)), "edg_idx"));
    std::vector<int> fill(s.start, s.start + s.ns);
    for (int e = 0; e < ne; e++) {
        const double* p = EdgP(ctx, x, e);
        int k0, k1;
        strips(p, &k0, &k1);
        double c0 = s.ca * p[0] + s.sa * p[1], c1 = s.ca * p[2] + s.sa * p[3];
        double d0 = -s.sa * p[0] + s.ca * p[1], d1 = -s.sa * p[2] + s.ca * p[3];
        float lo0 = Lo(std::min(c0, c1)), hi0 = Hi(std::max(c0, c1));
        float lo1 = Lo(std::min(d0, d1) - SrchSlack), hi1 = Hi(std::max(d0, d1) + SrchSlack);
        for (int k = k0; k <= k1; k++) s.ent[fill[k]++] = StrEnt{lo0, hi0, lo1, hi1, e};
    }
    // Sort each strip by the lower along bound, note its longest extent, and make its bucket
    // table: about one bucket for four entries.
    long long nbk = 0;
    for (int k = 0; k < s.ns; k++) {
        const int n = s.start[k + 1] - s.start[k];
        s.hdr[k].bk = static_cast<int>(nbk);
        s.hdr[k].nbk = n > 0 ? n / 4 + 1 : 1;
        nbk += s.hdr[k].nbk;
    }
    s.bk = static_cast<int*>(AlcMem(std::max(nbk, 1LL) * static_cast<long long>(sizeof(int)), "edg_idx"));
}

// The second half of MkStrDir, without allocating: directions can be sorted in parallel.
void SortStrDir(StrDir& s) {
    for (int k = 0; k < s.ns; k++) {
        StrHdr& hd = s.hdr[k];
        const int b = s.start[k], n = s.start[k + 1] - b;
        StrEnt* en = s.ent + b;
        hd.start = b;
        hd.n = n;
        double big = 0;
        for (int j = 0; j < n; j++) big = std::max(big, static_cast<double>(en[j].a1) - en[j].a0);
        hd.ext = Hi(big);
        std::sort(en, en + n, [](const StrEnt& i, const StrEnt& j) {
            return i.a0 < j.a0 || (i.a0 == j.a0 && i.id < j.id);
        });
        int* bk = s.bk + hd.bk;
        hd.bmin = n > 0 ? en[0].a0 : 0;
        const double len = n > 0 ? static_cast<double>(en[n - 1].a0) - en[0].a0 : 0;
        hd.bscl = len > 0 && std::isfinite(len) ? hd.nbk / len : 0;
        int j = 0;
        for (int i = 0; i < hd.nbk; i++) {
            const double at = hd.bscl > 0 ? hd.bmin + i / hd.bscl : hd.bmin;
            while (j < n && en[j].a0 < at) j++;
            bk[i] = j;
        }
    }
}
}  // namespace

StrIdx* MkStrIdx(const TrnGenCtx& ctx) {
    StrIdx* x = AlcObj<StrIdx>("edg_idx");
    Cleanup undo([x] { FreeStrIdx(x); });
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
    // Sorting is most of the work; the directions share it among the processors.
    std::atomic<int> next{0};
    auto sortAll = [&] {
        for (int a; (a = next.fetch_add(1)) < ctx.nAng;) SortStrDir(x->d[a]);
    };
    std::vector<std::thread> th;
    const unsigned hw = std::thread::hardware_concurrency();
    for (unsigned t = 1; t < std::min(hw, static_cast<unsigned>(ctx.nAng)); t++) {
        try {
            th.emplace_back(sortAll);
        } catch (...) {
            break;   // fewer helpers: this thread sorts the rest
        }
    }
    sortAll();
    for (std::thread& t : th) t.join();
    undo.Keep();
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
        const StrEnt* en = d.ent + d.start[k];
        const int n = d.start[k + 1] - d.start[k];
        // Entries that can reach lo start at or after lo - (longest extent).
        const float from = Lo(lo - d.hdr[k].ext);
        int j = static_cast<int>(
            std::lower_bound(en, en + n, from, [](const StrEnt& q, float v) { return q.a0 < v; }) - en);
        for (; j < n && en[j].a0 <= hi; j++)
            if (en[j].a1 >= lo && en[j].b0 <= bhi && en[j].b1 >= blo) out.push_back(en[j].id);
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
    const StrHdr& hd = d.hdr[static_cast<int>(q)];
    r.e = d.ent + hd.start;
    r.n = hd.n;
    r.ext = hd.ext;
    r.bk = d.bk + hd.bk;
    r.nbk = hd.nbk;
    r.bmin = hd.bmin;
    r.bscl = hd.bscl;
    return r.n > 0;
}

int StrFirst(const StrRun& r, float v, bool after) {
    // A start from the bucket table, then moved to the exact place: the table only saves reads.
    const double q = (static_cast<double>(v) - r.bmin) * r.bscl;
    int j = 0;
    if (r.nbk > 0 && q > 0) j = r.bk[q < r.nbk - 1 ? static_cast<int>(q) : r.nbk - 1];
    auto below = [&](int i) { return after ? !(v < r.e[i].a0) : r.e[i].a0 < v; };
    while (j > 0 && !below(j - 1)) j--;
    while (j < r.n && below(j)) j++;
    return j;
}
