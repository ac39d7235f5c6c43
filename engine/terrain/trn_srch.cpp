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
constexpr double SrchSlack = 1.0;
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
    float* ext = nullptr;   // per strip: the longest along extent
};

struct StrIdx {
    int nd = 0;
    StrDir* d = nullptr;
    int ne = 0;
    int* ecn = nullptr;     // contour of each edge
    int* cfirst = nullptr;  // first edge id of each contour
};

void FreeStrIdx(StrIdx* x) {
    if (!x) return;
    for (int i = 0; i < x->nd; i++) {
        StrDir& s = x->d[i];
        FreeMem(s.start); FreeMem(s.id); FreeMem(s.a0); FreeMem(s.a1); FreeMem(s.ext);
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
    s.ext = static_cast<float*>(AlcMem(s.ns * static_cast<long long>(sizeof(float)), "edg_idx"));
    std::vector<int> fill(s.start, s.start + s.ns);
    for (int e = 0; e < ne; e++) {
        const double* p = EdgP(ctx, x, e);
        int k0, k1;
        strips(p, &k0, &k1);
        double c0 = s.ca * p[0] + s.sa * p[1], c1 = s.ca * p[2] + s.sa * p[3];
        float lo0 = Lo(std::min(c0, c1)), hi0 = Hi(std::max(c0, c1));
        for (int k = k0; k <= k1; k++) {
            int j = fill[k]++;
            s.id[j] = e;
            s.a0[j] = lo0;
            s.a1[j] = hi0;
        }
    }
    // Sort each strip by the lower along bound and note its longest extent.
    std::vector<int> ord;
    std::vector<int> tid;
    std::vector<float> t0, t1;
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
        tid.resize(n); t0.resize(n); t1.resize(n);
        for (int j = 0; j < n; j++) {
            tid[j] = s.id[b + ord[j]];
            t0[j] = s.a0[b + ord[j]];
            t1[j] = s.a1[b + ord[j]];
        }
        std::copy(tid.begin(), tid.end(), s.id + b);
        std::copy(t0.begin(), t0.end(), s.a0 + b);
        std::copy(t1.begin(), t1.end(), s.a1 + b);
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

namespace {
// Candidate edges of the step s-e of a half-line of direction a: appended to out (unordered, an
// edge may come twice when the step touches two strips).
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
    for (int k = k0; k <= k1; k++) {
        const int b = d.start[k], n = d.start[k + 1];
        // Entries that can reach lo start at or after lo - (longest extent).
        const float from = Lo(lo - d.ext[k]);
        int j = static_cast<int>(std::lower_bound(d.a0 + b, d.a0 + n, from) - d.a0);
        for (; j < n && d.a0[j] <= hi; j++)
            if (d.a1[j] >= lo) out.push_back(d.id[j]);
    }
}
}  // namespace

// ---- temporary copies of the exact tests of trn_fast.cpp (merged there later) ----
namespace {
struct SegK2 {
    double sx, sy, ux, uy, len;
    double x0, x1, y0, y1;
    SegK2(const double s[2], const double e[2]) {
        sx = s[0]; sy = s[1];
        ux = e[0] - s[0]; uy = e[1] - s[1];
        len = std::sqrt(ux * ux + uy * uy);
        x0 = std::min(s[0], e[0]); x1 = std::max(s[0], e[0]);
        y0 = std::min(s[1], e[1]); y1 = std::max(s[1], e[1]);
    }
};

bool Apart2(const SegK2& k, const double* p, const double* q) {
    const double t = 0.001;
    if (std::min(p[0], q[0]) - t > k.x1 || std::max(p[0], q[0]) + t < k.x0 ||
        std::min(p[1], q[1]) - t > k.y1 || std::max(p[1], q[1]) + t < k.y0)
        return true;
    if (!(k.len > 0)) return false;
    double hp = k.ux * (p[1] - k.sy) - k.uy * (p[0] - k.sx);
    double hq = k.ux * (q[1] - k.sy) - k.uy * (q[0] - k.sx);
    if ((hp > 0) != (hq > 0)) return false;
    double a = std::fabs(hp), b = std::fabs(hq);
    double lo = std::min(a, b), hi = std::max(a, b);
    return lo > 0.01 * k.len && lo > hi / 50;
}

int Isc2(const double a[2], const double b[2], const double c[2], const double d[2],
         double out[2][2]) {
    const double ux = b[0] - a[0], uy = b[1] - a[1];
    const double vx = d[0] - c[0], vy = d[1] - c[1];
    const double lab2 = ux * ux + uy * uy, lcd2 = vx * vx + vy * vy;
    const double det = (a[0] - b[0]) * (c[1] - d[1]) - (c[0] - d[0]) * (a[1] - b[1]);
    auto far = [](const double* p, const double* q) {
        double x = p[0] - q[0], y = p[1] - q[1];
        return x * x + y * y > 4e-6;
    };
    if (lab2 > 1e-4 && lcd2 > 1e-4 && std::fabs(det) > 0.01 && det * det > 1e-6 * lab2 * lcd2 &&
        far(a, c) && far(a, d) && far(b, c) && far(b, d)) {
        const double t = ((a[0] - c[0]) * (c[1] - d[1]) - (a[1] - c[1]) * (c[0] - d[0])) / det;
        const double u = -((a[0] - b[0]) * (a[1] - c[1]) - (a[1] - b[1]) * (a[0] - c[0])) / det;
        const double ta = 0.01 / std::sqrt(lab2), tc = 0.01 / std::sqrt(lcd2);
        if (t > ta && t < 1 - ta && u > tc && u < 1 - tc) {
            out[0][0] = a[0] + t * ux;
            out[0][1] = a[1] + t * uy;
            return 1;
        }
        if (t < -0.02 || t > 1.02 || u < -0.02 || u > 1.02) return 0;
    }
    return IntscSeg(a, b, c, d, out);
}

bool CrsRect2(const cntr& c, const double v[2], const double f[2]) {
    const double p[4][2] = {{c.minx, c.miny}, {c.maxx, c.miny}, {c.maxx, c.maxy}, {c.minx, c.maxy}};
    double out[2][2];
    const SegK2 vf(v, f);
    for (int k = 0; k < 4; k++)
        if (!Apart2(vf, p[k], p[(k + 1) % 4]) && Isc2(v, f, p[k], p[(k + 1) % 4], out) > 0)
            return true;
    return false;
}

bool GrowHeap2(CrsLst& l) {
    int cap = l.cap + (l.grow > 0 ? l.grow : 1);
    void* p = std::realloc(l.e, static_cast<size_t>(cap) * sizeof(crs_ent));
    if (!p) return false;
    l.e = static_cast<crs_ent*>(p);
    l.cap = cap;
    return true;
}
}  // namespace

struct StrScr {
    std::vector<int> cand;
    std::vector<int> rectStamp;
    std::vector<uint8_t> rectHit;
    int half = 0;
    CrsLst l0, l1;
    std::vector<cntr_crv> lin;
};

StrScr* MkStrScr(const TrnGenCtx& ctx) {
    StrScr* f = new (std::nothrow) StrScr;
    if (!f) return nullptr;
    try {
        f->rectStamp.assign(ctx.nc + 1, 0);
        f->rectHit.assign(ctx.nc + 1, 0);
        f->lin.resize(ctx.nAng);
        f->cand.reserve(1024);
    } catch (...) {
        delete f;
        return nullptr;
    }
    int grow = ctx.nc > 0 ? ctx.nc : 1;
    f->l0.grow = f->l1.grow = grow;
    f->l0.more = f->l1.more = GrowHeap2;
    f->l0.e = static_cast<crs_ent*>(std::malloc(2 * static_cast<size_t>(grow) * sizeof(crs_ent)));
    f->l1.e = static_cast<crs_ent*>(std::malloc(2 * static_cast<size_t>(grow) * sizeof(crs_ent)));
    if (!f->l0.e || !f->l1.e) {
        FreeStrScr(f);
        return nullptr;
    }
    f->l0.cap = f->l1.cap = 2 * grow;
    return f;
}

void FreeStrScr(StrScr* f) {
    if (!f) return;
    std::free(f->l0.e);
    std::free(f->l1.e);
    delete f;
}

int IntpVtxStr(const TrnGenCtx& ctx, const StrIdx* x, StrScr* f, float v[3]) {
    const double vv[2] = {v[0], v[1]};
    double out[2][2];
    for (int a = 0; a < ctx.nAng; a++) {
        CrsLst* ls[2] = {&f->l0, &f->l1};
        for (int h = 0; h < 2; h++) {
            CrsLst& l = *ls[h];
            l.n = 0;
            const double* u = ctx.dir + 4 * a + 2 * h;
            if (++f->half == 0x7fffffff) {
                std::fill(f->rectStamp.begin(), f->rectStamp.end(), 0);
                f->half = 1;
            }
            bool ok = WalkHalf(ctx, vv, u, l, [&](const double s[2], const double e[2],
                                                  const double fp[2]) {
                std::vector<int>& cd = f->cand;
                cd.clear();
                try {
                    StrCand(*x, a, s, e, cd);
                } catch (...) {
                    return false;
                }
                // Contour and edge order, as the reference meets them.
                std::sort(cd.begin(), cd.end());
                cd.erase(std::unique(cd.begin(), cd.end()), cd.end());
                const SegK2 sk(s, e);
                int lastc = -1;
                bool use = false;
                for (int id : cd) {
                    const int ci = x->ecn[id];
                    const cntr& c = ctx.c[ci];
                    if (ci != lastc) {
                        lastc = ci;
                        use = !OutRect(c, s, e);
                        if (use) {
                            if (f->rectStamp[ci] != f->half) {
                                f->rectStamp[ci] = f->half;
                                f->rectHit[ci] = CrsRect2(c, vv, fp);
                            }
                            use = f->rectHit[ci];
                        }
                    }
                    if (!use) continue;
                    const double* p = c.pnt + 2 * (id - x->cfirst[ci]);
                    if (Apart2(sk, p, p + 2)) continue;
                    if (Isc2(s, e, p, p + 2, out) > 0 && !AddCrs(l, out[0], c.hgt, vv[0], vv[1]))
                        return false;
                }
                return true;
            });
            if (!ok) return -1;
        }
        MkCrsLin(ctx, v, f->l0, f->l1, f->lin[a]);
    }
    float z = v[2];
    int t = LinHgt(ctx, v, f->lin.data(), &z);
    if (t != 9) v[2] = z;
    return t;
}
