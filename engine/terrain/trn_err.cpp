// Expected error of the terrain, learnt from the contours by leaving some of them out.
//
// Every other level is taken out and the surface made again from the rest (on every other post:
// twice the interval on twice the mesh is the same run at twice the scale); along each removed
// contour the new surface should lie at its level, and how far it misses, against the spacing of
// the two kept lines around it, says how the error grows with the spacing on this ground. The
// misses are grouped by spacing; the RMS miss of each group (each miss weighted by where between
// its lines it lies) against the group's spacing gives a power law alpha * h^pw. The same is done
// keeping every fourth level on every fourth post; how alpha changed from the fourth scale to the
// second is taken to change it once more from the second to the contours' own. That law, at the
// full set's own spacings, gives every post its error, shaped between its two lines like a bridge
// fixed at both (zero on a line, largest midway; within half a mesh interval of a line it rises in
// proportion to the distance, as smooth ground does) and never more than half its band; in a region one
// level bounds (summit, pit, beyond the outermost line) it grows with the distance from that line,
// scaled by what the removed top rings showed (summits and pits each by their own when enough were
// left out), up to the band's one interval of room. The other half of the levels is left out too,
// so that every line has its misses: where they run above or below the model, the posts of the
// band around (squares as wide as the band and twice as wide) are trusted less or more, the total
// kept as the law says. Where the surface bends away from a straight rise between its two lines
// (the spacings beyond shaped it) the ground need not follow: the first left-out run says by how
// much its misses grow with that bend, and the bend's square so weighted is added to the error's
// square. A post with no line in reach takes its neighbours' error, as it takes their height.
//
// Nothing is fixed for a particular ground: the interval, the spacings and the constants come from
// the contours of the run; the fallback, for too few levels to leave any out, is stated in trn_err.h.
#include "terrain/trn_err.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/alc.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"
#include "terrain/trn_path.h"

namespace {
constexpr double LvlTol = 1e-3;    // height tolerance of equal levels (mm)
constexpr int MinSamples = 30;     // cross-validation samples needed between two levels
constexpr int MinCrest = 20;       // and in one-level regions, for their own scale
constexpr double PriorN = 15;      // samples' worth of the law that a roughness estimate starts from
constexpr double RoughCell = 3;    // side of the roughness cells in mesh intervals (two sums each)
// Mean absolute value of a normal error of unit deviation, sqrt(2 / pi): what the roughness expects
// of a miss whose deviation the model gives.
constexpr double MeanAbs = 0.7978845608028654;
// Within this many mesh intervals of a line the error grows in proportion to the distance from it:
// the grid resolves nothing finer than its mesh, so there the ground is a plane whose slope the
// surface misses a little. The misses of the left-out lines cannot tell it, as those lie between
// their kept lines, never beside one.
constexpr double RiseMesh = 0.5;

struct Sample {
    long long j;     // nearest post of the leave-out grid
    double e;        // surface less the removed level (mm)
    float x, y;      // where, from the grid's first post (mm)
    float a = NAN, b = NAN, w = NAN, cos = -1;
    float dev = 0;   // the run's surface at the post against a straight rise between its lines (mm)
};

// How far the surface z at a post leaves the straight rise between its two lines: the bend the
// method gave it from the spacings beyond, which the ground need not have (0 with fewer lines).
double Dev(double z, const PathPost& q) {
    const double h = q.a + q.b;
    if (!(h > 0) || !std::isfinite(q.lo) || !std::isfinite(q.hi) || !std::isfinite(z)) return 0;
    return std::fabs(z - (q.lo + (q.hi - q.lo) * q.a / h));
}

double Bridge(double t) { return std::sqrt(std::max(0.0, 4 * t * (1 - t))); }
double Rise(double m, double L) { return L > 0 && m + L > 0 ? std::sqrt(m / (m + L)) : 1.0; }

// Where a post lies between lines a and b apart: the bridge, made to rise in proportion to the
// distance from the nearer line within about L of it (smooth ground at that scale misses by its
// slope's error times the distance, not by a random walk).
double Shape(double a, double b, double L) {
    const double h = a + b, m = std::min(a, b);
    if (!(h > 0)) return 0;
    return Bridge(a / h) * Rise(m, L);
}

// A leave-out run: the removed lines, the thinned grid with its heights, and the samples, made
// when the run hands over its first post (every height is written by then) and sorted by post so
// that each post's geometry goes to its own samples as the posts come.
struct GeomCtx {
    std::vector<Sample>* s;
    const std::vector<const cntr*>* gone;
    const std::vector<float>* w;
    int Rm, Cm;
    double dm, x0, y0;
    size_t at = 0;
    bool made = false;
};

void MakeSamples(GeomCtx& g) {
    std::vector<Sample>& smp = *g.s;
    const std::vector<float>& w = *g.w;
    const int Rm = g.Rm, Cm = g.Cm;
    const double dm = g.dm;
    size_t count = 0;
    for (const cntr* cc : *g.gone)
        for (int q = 0; q + 1 < cc->n; q++)
            count += static_cast<size_t>(std::max(1.0, std::ceil(std::hypot(cc->pnt[2 * q + 2] - cc->pnt[2 * q], cc->pnt[2 * q + 3] - cc->pnt[2 * q + 1]) / dm)));
    smp.reserve(count);
    for (const cntr* cc : *g.gone) {
        for (int q = 0; q + 1 < cc->n; q++) {
            const double px = cc->pnt[2 * q], py = cc->pnt[2 * q + 1];
            const double ex = cc->pnt[2 * q + 2] - px, ey = cc->pnt[2 * q + 3] - py;
            const int np = std::max(1, static_cast<int>(std::ceil(std::hypot(ex, ey) / dm)));
            for (int pc = 0; pc < np; pc++) {
                const double t = (pc + 0.5) / np;
                const double fx = (px + t * ex - g.x0) / dm, fy = (py + t * ey - g.y0) / dm;
                if (!(fx >= 0 && fy >= 0 && fx <= Cm - 1 && fy <= Rm - 1)) continue;
                const int k0 = std::min(Cm - 2, static_cast<int>(fx)), r0 = std::min(Rm - 2, static_cast<int>(fy));
                const double u = fx - k0, v = fy - r0;
                auto z = [&](int r, int k) { return static_cast<double>(w[static_cast<size_t>(3 * (static_cast<long long>(r) * Cm + k) + 2)]); };
                const double zz = (1 - v) * ((1 - u) * z(r0, k0) + u * z(r0, k0 + 1)) +
                                  v * ((1 - u) * z(r0 + 1, k0) + u * z(r0 + 1, k0 + 1));
                Sample sm;
                sm.j = std::lround(fy) * Cm + std::lround(fx);
                sm.e = zz - cc->hgt;
                sm.x = static_cast<float>(fx * dm);
                sm.y = static_cast<float>(fy * dm);
                smp.push_back(sm);
            }
        }
    }
    std::sort(smp.begin(), smp.end(), [](const Sample& p, const Sample& q) { return p.j < q.j; });
}

void TakeGeom(void* p, long long i, const PathPost& q) {
    const double a = q.a, b = q.b, lo = q.lo, hi = q.hi;
    auto* g = static_cast<GeomCtx*>(p);
    if (!g->made) {
        MakeSamples(*g);
        g->made = true;
    }
    std::vector<Sample>& s = *g->s;
    while (g->at < s.size() && s[g->at].j < i) g->at++;
    for (size_t k = g->at; k < s.size() && s[k].j == i; k++) {
        s[k].a = static_cast<float>(a);
        s[k].b = static_cast<float>(b);
        s[k].w = std::isfinite(lo) && std::isfinite(hi) ? static_cast<float>(hi - lo) : NAN;
        s[k].cos = static_cast<float>(q.cos);
        s[k].dev = static_cast<float>(Dev((*g->w)[static_cast<size_t>(3 * i + 2)], q));
    }
}

// How much more the surface misses where the contours bend (the directions to the two bounding
// lines turn from opposite towards one): the RMS miss over the law's in groups of equal count by
// that cosine, made not to fall as the cosine rises, read between the groups' middles.
struct Bend {
    int n = 0;
    double c[8], g[8];
    double At(double x) const {
        if (n == 0) return 1;
        if (x <= c[0]) return g[0];
        for (int k = 1; k < n; k++)
            if (x <= c[k]) return g[k - 1] + (g[k] - g[k - 1]) * (x - c[k - 1]) / std::max(1e-12, c[k] - c[k - 1]);
        return g[n - 1];
    }
};

// Where the ground is rougher than the model says (the law with its bend factors and the surface's
// bend from a straight rise): the mean absolute miss of the samples about the post over what the
// model expects of them, drawn towards 1 by PriorN samples' worth of the model; mean absolute
// rather than RMS, so that a few wild misses do not mark a whole square. Read over a square as
// wide as the post's two lines are apart (the ground of its own band and the lines bounding it)
// and over one twice as wide (its neighbours' too), the geometric mean of the two. Sums over cells
// of RoughCell mesh intervals, read from summed tables.
struct Rough {
    double size = 0;   // cell side (mm)
    int nx = 0, ny = 0;
    double prior = 0;  // PriorN times the mean squared law
    std::vector<double> se, sm;   // summed tables, (nx + 1) x (ny + 1)
    double Box(const std::vector<double>& t, int x0, int y0, int x1, int y1) const {
        const size_t w = static_cast<size_t>(nx) + 1;
        return t[(y1 + 1) * w + x1 + 1] - t[y0 * w + x1 + 1] - t[(y1 + 1) * w + x0] + t[y0 * w + x0];
    }
    double At(double x, double y, double h) const {
        if (se.empty()) return 1;
        return std::sqrt(Square(x, y, h / 2) * Square(x, y, h));
    }
    // The ratio over the square of half side s about (x, y).
    double Square(double x, double y, double s) const {
        const int bx = std::clamp(static_cast<int>(x / size), 0, nx - 1), by = std::clamp(static_cast<int>(y / size), 0, ny - 1);
        const int r = std::clamp(static_cast<int>(std::lround(s / size)), 1, std::max(nx, ny));
        const int x0 = std::max(0, bx - r), x1 = std::min(nx - 1, bx + r), y0 = std::max(0, by - r), y1 = std::min(ny - 1, by + r);
        return (Box(se, x0, y0, x1, y1) + prior) / (Box(sm, x0, y0, x1, y1) + prior);
    }
};

// The map in two passes over the posts: the first sums the squares of the two-level posts' values
// without and with the roughness, the second writes them scaled to the first sum.
struct MapCtx {
    const ErrFit* f;
    const Bend* bend;
    const Rough* rough;
    const float* v;
    int C;
    double d;
    float* err;
    long long n;
    long long seen = 0;
    double s0 = 0, s1 = 0;
    double scale = 1;
};

// Over a lake the height was spanned from lines some way off, and nothing the lines left out
// tells how far: the ground may leave the span by as much as half the slope across it carries it
// over the distance to the nearest line (the slope the surface has there, from its neighbours).
double LakeErr(const MapCtx& m, long long i, const PathPost& q) {
    const double x = std::fmin(q.a, q.b);   // the one there when the other is NaN
    if (!(x > 0) || m.C <= 0) return 0;
    const long long C = m.C, R = m.n / C, r = i / C, k = i % C;
    auto z = [&](long long rr, long long kk) { return static_cast<double>(m.v[3 * (rr * C + kk) + 2]); };
    const long long k0 = std::max(0LL, k - 1), k1 = std::min(C - 1, k + 1);
    const long long r0 = std::max(0LL, r - 1), r1 = std::min(R - 1, r + 1);
    const double gx = k1 > k0 ? (z(r, k1) - z(r, k0)) / (static_cast<double>(k1 - k0) * m.d) : 0;
    const double gy = r1 > r0 ? (z(r1, k) - z(r0, k)) / (static_cast<double>(r1 - r0) * m.d) : 0;
    const double e = x * std::hypot(gx, gy) / 2;
    return std::isfinite(e) ? e : 0;
}

void PutErr(void* p, long long i, const PathPost& q) {
    const double a = q.a, b = q.b, lo = q.lo, hi = q.hi;
    auto* m = static_cast<MapCtx*>(p);
    const ErrFit& f = *m->f;
    const bool first = m->seen++ < m->n;
    if (!first && m->seen == m->n + 1) m->scale = m->s1 > 0 ? std::sqrt(m->s0 / m->s1) : 1;
    double s;
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        s = f.ci;
    } else {
        const double w = hi - lo;
        const bool ha = !std::isnan(a), hb = !std::isnan(b);
        if (ha && hb) {
            const double h = a + b;
            const double kb = m->bend->At(q.cos);
            const double k = kb * m->rough->At(static_cast<double>(i % m->C) * m->d,
                                               static_cast<double>(i / m->C) * m->d, h);
            const double law = f.alpha * std::pow(h, f.pw), br = Shape(a, b, f.rise);
            s = std::max(k * law, 0.01 * w) * br;
            if (first) {
                const double s0 = std::min(std::max(kb * law, 0.01 * w), w / 2) * br, s1 = std::min(s, w / 2 * br);
                m->s0 += s0 * s0;
                m->s1 += s1 * s1;
                return;
            }
            s *= m->scale;
            const double dv = Dev(m->v[3 * i + 2], q);
            s = std::min(std::sqrt(s * s + f.dev * dv * dv), w / 2 * br);
        } else if (ha || hb) {
            const double x = ha ? a : b;
            s = std::min((ha ? f.crest : f.crestDn) * f.alpha * std::pow(2 * x, f.pw) * Rise(x, f.rise), w);
        } else {
            // No line in reach although the band is bounded: the height is its neighbours', and
            // so is the error (FillErr).
            s = NAN;
        }
    }
    if (!first && q.lake) {
        const double e = LakeErr(*m, i, q);
        if (e > 0 && !(s >= e)) s = e;
    }
    if (!first) m->err[i] = static_cast<float>(s);
}

// Posts left NaN take the mean of their neighbours' values, nearest first, as their heights do;
// one interval where no neighbour has any.
void FillErr(float* err, int R, int C, double ci) {
    const long long n = static_cast<long long>(R) * C;
    std::vector<long long> q;
    auto nb = [&](long long i, auto&& fn) {
        const int r = static_cast<int>(i / C), k = static_cast<int>(i % C);
        if (k > 0) fn(i - 1);
        if (k + 1 < C) fn(i + 1);
        if (r > 0) fn(i - C);
        if (r + 1 < R) fn(i + C);
    };
    // Queued posts are marked -1 until they take their value.
    for (long long i = 0; i < n; i++)
        if (!std::isnan(err[i]) && err[i] >= 0) nb(i, [&](long long j) {
                if (std::isnan(err[j])) { err[j] = -1; q.push_back(j); }
            });
    for (size_t h = 0; h < q.size(); h++) {
        const long long i = q[h];
        double sum = 0;
        int cnt = 0;
        nb(i, [&](long long j) {
            if (err[j] >= 0) { sum += err[j]; cnt++; }
        });
        err[i] = cnt ? static_cast<float>(sum / cnt) : static_cast<float>(ci);
        nb(i, [&](long long j) {
            if (std::isnan(err[j])) { err[j] = -1; q.push_back(j); }
        });
    }
    for (long long i = 0; i < n; i++)
        if (std::isnan(err[i])) err[i] = static_cast<float>(ci);
}

// Growth with the spacing from the samples between two levels: their groups of equal count by
// spacing, the RMS miss per unit of bridge shape of each against its spacing on log scales.
double FitPw(std::vector<const Sample*>& two, double L) {
    std::sort(two.begin(), two.end(), [](const Sample* p, const Sample* q) { return p->a + p->b < q->a + q->b; });
    const int nb = std::clamp(static_cast<int>(two.size()) / 50, 1, 12);
    std::vector<double> lx, ly;
    for (int g = 0; g < nb; g++) {
        const size_t k0 = two.size() * g / nb, k1 = two.size() * (g + 1) / nb;
        double se = 0, ss = 0, lh = 0;
        for (size_t k = k0; k < k1; k++) {
            const Sample& s = *two[k];
            const double h = s.a + s.b, sh = Shape(s.a, s.b, L);
            se += s.e * s.e;
            ss += sh * sh;
            lh += std::log(h);
        }
        if (ss > 0 && se > 0 && k1 > k0) {
            lx.push_back(lh / static_cast<double>(k1 - k0));
            ly.push_back(0.5 * std::log(se / ss));
        }
    }
    if (lx.size() < 3) return 1;
    double mx = 0, my = 0;
    for (size_t k = 0; k < lx.size(); k++) {
        mx += lx[k];
        my += ly[k];
    }
    mx /= static_cast<double>(lx.size());
    my /= static_cast<double>(lx.size());
    double sxy = 0, sxx = 0;
    for (size_t k = 0; k < lx.size(); k++) {
        sxy += (lx[k] - mx) * (ly[k] - my);
        sxx += (lx[k] - mx) * (lx[k] - mx);
    }
    return sxx > 1e-2 ? std::clamp(sxy / sxx, 0.0, 1.5) : 1;
}

// The samples of one run split by kind: between two levels, and in a one-level region.
void Split(const std::vector<Sample>& all, std::vector<const Sample*>& two, std::vector<const Sample*>& one) {
    size_t n2 = 0, n1 = 0;
    for (const Sample& s : all) {
        if (!std::isfinite(s.w)) continue;
        const bool ha = !std::isnan(s.a), hb = !std::isnan(s.b);
        if (ha && hb && s.a + s.b > 0) n2++;
        else if (ha != hb) n1++;
    }
    two.reserve(n2);
    one.reserve(n1);
    for (const Sample& s : all) {
        if (!std::isfinite(s.w)) continue;
        const bool ha = !std::isnan(s.a), hb = !std::isnan(s.b);
        if (ha && hb && s.a + s.b > 0) two.push_back(&s);
        else if (ha != hb) one.push_back(&s);
    }
}

// alpha of the law with growth pw that gives the samples their RMS miss (0: nothing to go by).
double FitAlpha(const std::vector<const Sample*>& two, double pw, double L) {
    double se = 0, sm = 0;
    for (const Sample* p : two) {
        const double h = p->a + p->b, m = Shape(p->a, p->b, L) * std::pow(h, pw);
        se += p->e * p->e;
        sm += m * m;
    }
    return sm > 0 ? std::sqrt(se / sm) : 0;
}

// One leave-out run: the levels that are not a multiple of s intervals above the lowest leave, the
// rest make a surface on the grid v thinned to every m-th post each way (twice the interval on
// twice the mesh is the full run at twice the scale, for a quarter of its time); the samples along
// the removed lines, with what the run saw at their nearest posts.
bool LeaveOut(const cntr* c, int nc, const float* v, int R, int C, double d, double ci, int s, int m,
              std::vector<Sample>& smp, int ph = 0) {
    smp.clear();
    double lmin = std::numeric_limits<double>::infinity();
    for (int k = 0; k < nc; k++) lmin = std::min(lmin, static_cast<double>(c[k].hgt));
    std::vector<cntr> kept;
    std::vector<const cntr*> gone;
    kept.reserve(static_cast<size_t>(nc));
    gone.reserve(static_cast<size_t>(nc));
    double lkmin = std::numeric_limits<double>::infinity(), lkmax = -lkmin;
    for (int k = 0; k < nc; k++) {
        const long long step = std::llround((c[k].hgt - lmin) / ci);
        if (((step - ph) % s + s) % s != 0) {
            gone.push_back(&c[k]);
        } else {
            kept.push_back(c[k]);
            lkmin = std::min(lkmin, static_cast<double>(c[k].hgt));
            lkmax = std::max(lkmax, static_cast<double>(c[k].hgt));
        }
    }
    if (gone.empty() || !(lkmax - lkmin > LvlTol)) return true;
    while (m > 1 && ((R - 1) / m < 2 || (C - 1) / m < 2)) m--;
    const int Rm = (R - 1) / m + 1, Cm = (C - 1) / m + 1;
    if (Rm < 2 || Cm < 2) return true;
    const double dm = d * m, x0 = v[0], y0 = v[1];
    const long long nm = static_cast<long long>(Rm) * Cm;
    std::vector<float> w(static_cast<size_t>(3 * nm));
    for (int r = 0; r < Rm; r++)
        for (int k = 0; k < Cm; k++) {
            const long long i = static_cast<long long>(r) * Cm + k, j = static_cast<long long>(r) * m * C + k * m;
            w[static_cast<size_t>(3 * i)] = v[3 * j];
            w[static_cast<size_t>(3 * i + 1)] = v[3 * j + 1];
        }
    // The surface and, from the same nearest points, what it saw at each post.
    GeomCtx gc{&smp, &gone, &w, Rm, Cm, dm, x0, y0};
    PathPrm prm;
    prm.itv = dm;
    prm.geom = TakeGeom;
    prm.geomCtx = &gc;
    return GenTrnPath(kept.data(), static_cast<int>(kept.size()), w.data(), Rm, Cm, prm);
}
// One-level regions: summits (their lower level alone) and pits or ground below the lowest line
// (their upper level alone) each by its own samples when there are enough, else both by all of
// them. a2, pw: the law at the second scale.
void FitCrest(const std::vector<const Sample*>& one, double a2, double pw, double L, ErrFit& f) {
    double ce[3] = {0, 0, 0}, cm[3] = {0, 0, 0};
    int cn[3] = {0, 0, 0};
    for (const Sample* p : one) {
        const bool up = !std::isnan(p->a);
        const double x = up ? p->a : p->b, m = a2 * std::pow(2 * x, pw) * Rise(x, L);
        for (const int k : {up ? 0 : 1, 2}) {
            ce[k] += p->e * p->e;
            cm[k] += m * m;
            cn[k]++;
        }
    }
    auto factor = [&](int k) { return std::clamp(std::sqrt(ce[k] / cm[k]), 0.25, 16.0); };
    if (cn[2] >= MinCrest && cm[2] > 0) f.crest = f.crestDn = factor(2);
    if (cn[0] >= MinCrest && cm[0] > 0) f.crest = factor(0);
    if (cn[1] >= MinCrest && cm[1] > 0) f.crestDn = factor(1);
}

// Weight of the surface's bend away from a straight rise: the misses' squares fitted by least
// squares to the law's square and the bend's square together; the bend's coefficient, never below
// 0, is added to the law, which keeps the scale it was fitted to alone.
template <class Law>
double FitDev(const std::vector<const Sample*>& two, Law&& law) {
    double a11 = 0, a12 = 0, a22 = 0, b1 = 0, b2 = 0;
    for (const Sample* p : two) {
        const double m2 = law(p) * law(p), d2 = static_cast<double>(p->dev) * p->dev, e2 = p->e * p->e;
        a11 += m2 * m2;
        a12 += m2 * d2;
        a22 += d2 * d2;
        b1 += e2 * m2;
        b2 += e2 * d2;
    }
    const double det = a11 * a22 - a12 * a12;
    return det > 1e-12 * a11 * a22 ? std::max(0.0, (a11 * b2 - a12 * b1) / det) : 0;
}

// The misses over the law grouped by the cosine between the directions to the two lines, never
// falling as the contours bend more.
template <class Law>
void FitBend(const std::vector<const Sample*>& two, Law&& law, Bend& bend) {
    std::vector<const Sample*> byCos = two;
    std::sort(byCos.begin(), byCos.end(), [](const Sample* p, const Sample* q) { return p->cos < q->cos; });
    const int nb = std::clamp(static_cast<int>(byCos.size()) / 200, 1, 8);
    for (int g = 0; g < nb; g++) {
        const size_t k0 = byCos.size() * g / nb, k1 = byCos.size() * (g + 1) / nb;
        double se = 0, sm = 0, sc = 0;
        for (size_t k = k0; k < k1; k++) {
            const double m = law(byCos[k]);
            se += byCos[k]->e * byCos[k]->e;
            sm += m * m;
            sc += byCos[k]->cos;
        }
        bend.c[g] = sc / static_cast<double>(k1 - k0);
        bend.g[g] = sm > 0 ? std::sqrt(se / sm) : 1;
    }
    bend.n = nb;
    // Adjacent groups that would fall are pooled.
    bool again = true;
    for (int it = 0; again && it < 64; it++) {
        again = false;
        for (int k = 1; k < bend.n; k++)
            if (bend.g[k] < bend.g[k - 1]) {
                const double pool = std::sqrt((bend.g[k] * bend.g[k] + bend.g[k - 1] * bend.g[k - 1]) / 2);
                bend.g[k] = bend.g[k - 1] = pool;
                again = true;
            }
    }
}

}  // namespace

bool TrnErrMap(const cntr* c, int nc, const float* v, int R, int C, double itv, float* err, ErrFit* fitOut) {
    const long long n = static_cast<long long>(R) * C;
    if (n <= 0) return true;
    double d = itv;
    if (C > 1) d = (static_cast<double>(v[3LL * (C - 1)]) - v[0]) / (C - 1);
    else if (R > 1) d = (static_cast<double>(v[3LL * (R - 1) * C + 1]) - v[1]) / (R - 1);
    if (!(d > 0)) d = itv > 0 ? itv : 1000;
    ErrFit f;
    f.ci = FindItv(c, nc);
    if (!(f.ci > 0)) f.ci = d;
    // Fallback: a quarter interval at a spacing of ten mesh intervals, growing with it.
    f.pw = 1;
    f.alpha = 0.25 * f.ci / (10 * d);
    f.rise = RiseMesh * d;

    // Twice the interval on twice the mesh, and four times on four: the law at the second scale
    // and how it changed from the fourth, carried one step further down to the contours' own.
    // The roughness tables first, below the blocks that the left-out runs take and give back.
    Rough rough;
    rough.size = RoughCell * d;
    rough.nx = static_cast<int>(std::min(8192.0, std::floor((C - 1) * d / rough.size) + 1));
    rough.ny = static_cast<int>(std::min(8192.0, std::floor((R - 1) * d / rough.size) + 1));
    rough.se.assign((static_cast<size_t>(rough.nx) + 1) * (static_cast<size_t>(rough.ny) + 1), 0);
    rough.sm.assign(rough.se.size(), 0);
    std::vector<Sample> s2;
    if (!LeaveOut(c, nc, v, R, C, d, f.ci, 2, 2, s2)) return false;
    std::vector<const Sample*> two, one;
    Split(s2, two, one);
    f.samples = static_cast<int>(two.size());
    f.crestN = static_cast<int>(one.size());
    if (f.samples >= MinSamples) {
        const double lam = RiseMesh;
        const double pw = FitPw(two, lam * 2 * d);
        const double a2 = FitAlpha(two, pw, lam * 2 * d);
        if (a2 > 0) {
            f.pw = pw;
            f.alpha = a2;
            f.cv = true;
            std::vector<Sample> s4;
            if (!LeaveOut(c, nc, v, R, C, d, f.ci, 4, 4, s4)) return false;
            std::vector<const Sample*> two4, one4;
            Split(s4, two4, one4);
            const double a4 = two4.size() >= static_cast<size_t>(MinSamples) ? FitAlpha(two4, pw, lam * 4 * d) : 0;
            if (a4 > 0) f.step = std::clamp(a2 / a4, 0.25, 1.0);
            f.alpha = a2 * f.step;
            FitCrest(one, a2, pw, lam * 2 * d, f);
        }
    }
    Bend bend;
    if (!f.cv) {
        std::vector<double>().swap(rough.se);
        std::vector<double>().swap(rough.sm);
    } else {
        // Misses over the law at the second scale, with the law's own alpha there.
        const double a2 = f.alpha / f.step;
        const double L2 = 2 * f.rise;
        auto law = [&](const Sample* p) { return a2 * Shape(p->a, p->b, L2) * std::pow(p->a + p->b, f.pw); };
        FitBend(two, law, bend);
        f.bendLo = bend.g[0];
        f.bendHi = bend.g[bend.n - 1];
        f.dev = FitDev(two, [&](const Sample* p) { return law(p) * bend.At(p->cos); });
        const size_t w = static_cast<size_t>(rough.nx) + 1;
        double mean = 0;
        size_t cnt = 0;
        auto add = [&](const std::vector<const Sample*>& set) {
            for (const Sample* p : set) {
                const double lb = law(p) * bend.At(p->cos), m = std::sqrt(lb * lb + f.dev * p->dev * p->dev);
                const int bx = std::clamp(static_cast<int>(p->x / rough.size), 0, rough.nx - 1);
                const int by = std::clamp(static_cast<int>(p->y / rough.size), 0, rough.ny - 1);
                rough.se[(by + 1) * w + bx + 1] += std::fabs(p->e);
                rough.sm[(by + 1) * w + bx + 1] += MeanAbs * m;
                mean += MeanAbs * m;
                cnt++;
            }
        };
        add(two);
        // Done with the first run's samples before the second makes its own.
        std::vector<const Sample*>().swap(two);
        std::vector<const Sample*>().swap(one);
        std::vector<Sample>().swap(s2);
        // Every line left out once: the other half of the levels out too, for the roughness only.
        {
            std::vector<Sample> s2b;
            if (!LeaveOut(c, nc, v, R, C, d, f.ci, 2, 2, s2b, 1)) return false;
            std::vector<const Sample*> twoB, oneB;
            Split(s2b, twoB, oneB);
            add(twoB);
        }
        rough.prior = PriorN * mean / static_cast<double>(cnt);
        for (std::vector<double>* t : {&rough.se, &rough.sm})
            for (int y = 1; y <= rough.ny; y++)
                for (int x = 1; x <= rough.nx; x++) (*t)[y * w + x] += (*t)[(y - 1) * w + x] + (*t)[y * w + x - 1] - (*t)[(y - 1) * w + x - 1];
    }
    // The roughness moves the error about between places; the law sets how much there is.
    MapCtx mc{&f, &bend, &rough, v, C, d, err, n};
    PathGeom(c, nc, v, R, C, d, PutErr, &mc, 2);
    FillErr(err, R, C, f.ci);
    if (fitOut) *fitOut = f;
    return true;
}

namespace {
// The map of the terrain grid and what it was computed for: the surface, its vertex array and a
// digest of every coordinate (a new grid, the filter or an edit changes it).
struct ErrRec {
    const srf* s = nullptr;
    const float* v = nullptr;
    int nv = 0;
    uint64_t xyz = 0;
    float max = 0;
    std::vector<float> err;
} Kept;

uint64_t XyzDigest(const float* v, int nv) {
    uint64_t h = 1469598103934665603ull;
    for (long long i = 0; i < 3LL * nv; i++) {
        uint32_t b;
        std::memcpy(&b, v + i, sizeof b);
        h = (h ^ b) * 1099511628211ull;
    }
    return h;
}

bool KeptFits() {
    return TrnSrf && Kept.s == TrnSrf && Kept.v == TrnSrf->v && Kept.nv == TrnSrf->nv && !Kept.err.empty() &&
           XyzDigest(TrnSrf->v, TrnSrf->nv) == Kept.xyz;
}
}  // namespace

void TrnErrClr() {
    Kept.s = nullptr;
    Kept.v = nullptr;
    Kept.nv = 0;
    Kept.max = 0;
    Kept.err.clear();
    Kept.err.shrink_to_fit();
}

const float* TrnErrOf() {
    if (KeptFits()) return Kept.err.data();
    TrnErrClr();
    if (!TrnSrf || !TrnGrd || !TrnSrf->v || !TrnGrd->vtx_id) return nullptr;
    const int R = TrnGrd->rows, C = TrnGrd->cols, nv = TrnSrf->nv;
    if (static_cast<long long>(R) * C != nv) return nullptr;
    for (int k = 0; k < nv; k++)
        if (TrnGrd->vtx_id[k] != k) return nullptr;
    int nc = 0;
    cntr* c = MkCntr(&nc);
    Cleanup freeC([&] { FreeCntr(c, nc); });
    if (nc == 0) return nullptr;
    std::vector<float> e(static_cast<size_t>(nv));
    if (!TrnErrMap(c, nc, TrnSrf->v, R, C, MshItv, e.data())) return nullptr;
    Kept.s = TrnSrf;
    Kept.v = TrnSrf->v;
    Kept.nv = nv;
    Kept.xyz = XyzDigest(TrnSrf->v, nv);
    Kept.max = e.empty() ? 0 : *std::max_element(e.begin(), e.end());
    Kept.err = std::move(e);
    return Kept.err.data();
}

float TrnErrMax() { return KeptFits() ? Kept.max : 0; }
