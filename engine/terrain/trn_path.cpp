// Terrain along gradient paths.
//
// The posts fall into regions: posts joined by grid edges that no contour crosses. A region is
// bounded by the levels of the contours crossing its edges (on an edge crossed by several, each post
// by the nearest crossing), and a post never leaves that band.
//
// A post between two levels lies on the slope from the nearest point of the lower contour to the
// nearest point of the upper one; its height follows that path. The nearest points come from two
// distance transforms, one per bounding level, that spread only within a region (so never across a
// contour). Where a valley or ridge bends the contours into a V, the nearest points sit on the V's
// tips and the surface keeps the fold instead of rounding it.
//
// Along the path the height is a cubic (Hermite): its slope at each end comes from the slope
// between the two contours and the slope beyond that contour (one mesh interval past the nearest
// point, measured there the same way), so the profile bends as the contour spacing around it
// changes: where the two spacings are alike, the slope of the parabola through the three levels;
// where they differ much (a bank above a flat floor), leaning to the gentler side (see EndSlope).
// At a contour that both sides lie above (or below), the slope beyond counts as zero.
// Inside a closed contour with nothing within (summit or pit), and beyond the last contour, the
// height goes on at the slope just outside, bending as the slopes of the two bands outside bend
// (a cone stays a cone, a dome levels out), up to one contour interval; where that slope would
// pass the next level well within the region (a plateau above a scarp), it levels out on the way.
//
// A line the bands show digitised one interval off takes the level they show, and the regions are
// made again (see trn_band.h).
//
// Nothing is tuned to particular ground: levels and the interval come from the contours, slopes
// from their levels and the distances between them, the probe and the reach of the seeds from the
// mesh interval.
#include "terrain/trn_path.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "core/alc.h"
#include "core/msg.h"
#include "terrain/trn_band.h"
#include "terrain/trn_mc.h"
#include "terrain/trn_par.h"
#include "terrain/trn_vec.h"

namespace {
constexpr double LvlTol = 1e-3;   // height tolerance of equal levels (mm)
constexpr double SeedReach = 1.5; // posts within this many mesh intervals of a segment get it exactly

bool Same(double a, double b) { return std::fabs(a - b) <= LvlTol || (a == b); }

// The grid: origin, step, size, and the band of each post with its region.
struct Grid {
    int R = 0, C = 0;
    double x0 = 0, y0 = 0, d = 1000, inv = 1e-3;   // inv: 1 / d
    LatBands b;
    std::vector<cntr> fixed;   // the contours with the levels the bands found misread (empty: none)
    const cntr* Lines(const cntr* c) const { return fixed.empty() ? c : fixed.data(); }
    long long Idx(int r, int k) const { return static_cast<long long>(r) * C + k; }
    double Lo(long long i) const { return b.Lo(i); }
    double Hi(long long i) const { return b.Hi(i); }
    bool SameBand(long long i, long long j) const {
        return b.reg[static_cast<size_t>(i)] == b.reg[static_cast<size_t>(j)];
    }
};

// Regions of the grid and their bands, in coordinates relative to the grid's origin.
void Regions(Grid& g, const cntr* c, int nc, double itv, int nth, bool voids) {
    std::vector<double> X(static_cast<size_t>(g.C)), Y(static_cast<size_t>(g.R));
    for (int k = 0; k < g.C; k++) X[static_cast<size_t>(k)] = g.x0 + k * g.d;
    for (int r = 0; r < g.R; r++) Y[static_cast<size_t>(r)] = g.y0 + r * g.d;
    MkLatBands(c, nc, X, Y, itv, g.b, nth, voids);
}

// Nearest contour points of one bounding level (coordinates relative to the grid origin; NaN: none).
struct SitePt {
    float x, y;
};
struct Sites {
    SitePt* p = nullptr;   // x and y side by side: a post's site is one cache line away, not two
};

// Where post i lies (grid origin at 0, 0). A grid holds fewer than 2^31 posts: a 32-bit division.
struct At {
    int r, k;
    double x, y;
    At(const Grid& g, long long i)
        : r(static_cast<int>(static_cast<uint32_t>(i) / static_cast<uint32_t>(g.C))),
          k(static_cast<int>(i - static_cast<long long>(r) * g.C)),
          x(static_cast<double>(k) * g.d),
          y(static_cast<double>(r) * g.d) {}
    At(int row, int col, double px, double py) : r(row), k(col), x(px), y(py) {}
};

double Dist2(const At& p, float sx, float sy) {
    const double dx = sx - p.x, dy = sy - p.y;
    return dx * dx + dy * dy;
}

// std::lround without the library call or a branch (a probe lands anywhere between posts, so a
// branch on the fraction is a coin toss): halves away from zero. |q| < 2^31.
int RoundHalfOut(double q) {
    const int t = static_cast<int>(q);                      // towards zero
    const int f = t - static_cast<int>(q < static_cast<double>(t));   // floor
    const double d = q - f;
    return f + static_cast<int>((d > 0.5) | ((d == 0.5) & (q >= 0)));
}

// Sites for the n posts, none known; then posts near each contour segment take its nearest point
// when its level bounds them (which: 0 the lower bounding level, 1 the upper). Both levels' sites
// lie in one block, store: the size of the bands' working grid, whose pages it takes over (see
// MemReuse).
void Seed(const Grid& g, const cntr* c, int nc, long long n, AlcArr<SitePt>& store, Sites* s, int nth) {
    store.Alc(2 * n, "path_site");
    for (int w = 0; w < 2; w++) s[w].p = store.p + w * n;
    // Cleared by rows on every thread: the pages are first touched (and zeroed) there too.
    ForParts(g.R, nth, [&](int, int r0, int r1) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        for (Sites* w = s; w != s + 2; w++) std::fill(w->p + g.Idx(r0, 0), w->p + g.Idx(r1, 0), SitePt{nan, nan});
    });
    const double reach = SeedReach * g.d;
    // The contours' segments, then the joins across their gaps (where the lines most likely ran).
    // Rows shared among threads, each going through every segment in the same order: a post meets
    // its segments in that order whatever the thread count.
    const long long nj = static_cast<long long>(g.b.joins.size());
    ForParts(g.R, nth, [&](int, int R0, int R1) {
        for (long long ci = 0; ci < nc + nj; ci++) {
            const bool join = ci >= nc;
            double jp[4] = {0, 0, 0, 0};
            double h = 0;
            if (join) {
                const LatJoin& jn = g.b.joins[static_cast<size_t>(ci - nc)];
                jp[0] = jn.x0;
                jp[1] = jn.y0;
                jp[2] = jn.x1;
                jp[3] = jn.y1;
                h = jn.h;
            } else {
                h = c[ci].hgt;
            }
            const int nseg = join ? 1 : c[ci].n - 1;
            for (int m = 0; m < nseg; m++) {
                const double* pp = join ? jp : c[ci].pnt + 2 * m;
                const double px = pp[0] - g.x0, py = pp[1] - g.y0;
                const double qx = pp[2] - g.x0, qy = pp[3] - g.y0;
                const double ex = qx - px, ey = qy - py, len2 = ex * ex + ey * ey;
                // Pieces no longer than a mesh interval keep the boxes small.
                const int np = std::max(1, static_cast<int>(std::ceil(std::sqrt(len2) / g.d)));
                for (int pc = 0; pc < np; pc++) {
                    const double t0 = static_cast<double>(pc) / np, t1 = static_cast<double>(pc + 1) / np;
                    const double ax = px + t0 * ex, ay = py + t0 * ey, bx = px + t1 * ex, by = py + t1 * ey;
                    const int k0 = std::max(0, static_cast<int>(std::ceil((std::min(ax, bx) - reach) / g.d)));
                    const int k1 = std::min(g.C - 1, static_cast<int>(std::floor((std::max(ax, bx) + reach) / g.d)));
                    const int r0 = std::max(R0, static_cast<int>(std::ceil((std::min(ay, by) - reach) / g.d)));
                    const int r1 = std::min(R1 - 1, static_cast<int>(std::floor((std::max(ay, by) + reach) / g.d)));
                    for (int r = r0; r <= r1; r++)
                        for (int k = k0; k <= k1; k++) {
                            const long long i = g.Idx(r, k);
                            const int w = Same(h, g.Lo(i)) ? 0 : Same(h, g.Hi(i)) ? 1 : -1;
                            if (w < 0) continue;
                            const double x = k * g.d, y = r * g.d;
                            double t = len2 > 0 ? ((x - px) * ex + (y - py) * ey) / len2 : 0;
                            t = std::clamp(t, 0.0, 1.0);
                            const float sx = static_cast<float>(px + t * ex), sy = static_cast<float>(py + t * ey);
                            Sites& st = s[w];
                            const At pi{r, k, x, y};
                            if (std::isnan(st.p[i].x) || Dist2(pi, sx, sy) < Dist2(pi, st.p[i].x, st.p[i].y)) {
                                st.p[i].x = sx;
                                st.p[i].y = sy;
                            }
                        }
                }
            }
        }
    });
}

// One post's site while the scans pass it: where it lies and its squared distance.
struct Cur {
    float x, y;
    double d2;
    double px, py;
};

// The post takes the site of its neighbour j when j lies in the same band and its site is nearer.
// Without a branch: which neighbour is nearer is a coin toss. A neighbour without a site (NaN)
// is never nearer.
inline void Take(const Grid& g, const Sites& s, long long i, long long j, Cur& c) {
    const float jx = s.p[j].x, jy = s.p[j].y;
    const double dx = jx - c.px, dy = jy - c.py, d2 = dx * dx + dy * dy;
    const bool take = (d2 < c.d2) & g.SameBand(i, j);
    c.x = take ? jx : c.x;
    c.y = take ? jy : c.y;
    c.d2 = take ? d2 : c.d2;
}

// Nearest sites spread over the grid: raster scans forward and back, twice (the second round
// reaches around the bends of a band).
//
// A site only ever comes nearer, and after a scan of a row each post's site is at least as near as
// its neighbours' along the row and on the row the scan came from. So in the second round a post
// can change only where the row it takes from has changed since, or its neighbour along the row
// has: the round visits just those stretches of TileW posts (and those beside a stretch that
// changed), which leaves the sites exactly as whole scans would.
constexpr int TileW = 64;

void Spread(const Grid& g, Sites& s) {
    const int R = g.R, C = g.C;
    const int nt = (C + TileW - 1) / TileW;
    // The stretches whose posts changed: in the first round's backward scan, in the second round's
    // forward scan, in its backward scan.
    std::vector<uint8_t> chg[3];
    for (auto& v : chg) v.assign(static_cast<size_t>(R) * static_cast<size_t>(nt), 0);
    auto post = [&](int r, int k, auto&& nbrs) {
        const long long i = g.Idx(r, k);
        const float ox = s.p[i].x, oy = s.p[i].y;
        Cur c{ox, oy, std::numeric_limits<double>::infinity(), k * g.d, r * g.d};
        if (!std::isnan(c.x)) {
            const double dx = c.x - c.px, dy = c.y - c.py;
            c.d2 = dx * dx + dy * dy;
        }
        nbrs(i, c);
        s.p[i].x = c.x;
        s.p[i].y = c.y;
        // Bit by bit: a post without a site (NaN) that still has none has not changed.
        return std::bit_cast<uint32_t>(c.x) != std::bit_cast<uint32_t>(ox) ||
               std::bit_cast<uint32_t>(c.y) != std::bit_cast<uint32_t>(oy);
    };
    // One row, scanned from the row before it (dr = -1, left to right first) or after it (dr = 1,
    // right to left first). todo: per stretch, whether the row it takes from changed there (null:
    // every stretch); out: the stretches that change.
    std::vector<uint8_t> first(static_cast<size_t>(nt));
    auto scan = [&](int r, int dr, const uint8_t* todo, uint8_t* out) {
        const int rr = r + dr;
        const bool nbr = rr >= 0 && rr < R;
        const long long dn = static_cast<long long>(dr) * C;
        // The first sweep along the row: the row beside and the post behind.
        bool behind = false;
        for (int u = 0; u < nt; u++) {
            const int t = dr < 0 ? u : nt - 1 - u;
            const bool go = !todo || todo[t] || behind;
            first[static_cast<size_t>(t)] = go;
            bool moved = false;
            if (go) {
                const int k0 = t * TileW, k1 = std::min(C, k0 + TileW);
                for (int q = 0; q < k1 - k0; q++) {
                    const int k = dr < 0 ? k0 + q : k1 - 1 - q;
                    const int back = dr < 0 ? -1 : 1;   // the post behind along the sweep
                    moved |= post(r, k, [&](long long i, Cur& c) {
                        if (k + back >= 0 && k + back < C) Take(g, s, i, i + back, c);
                        if (nbr) {
                            if (k + back >= 0 && k + back < C) Take(g, s, i, i + dn + back, c);
                            Take(g, s, i, i + dn, c);
                            if (k - back >= 0 && k - back < C) Take(g, s, i, i + dn - back, c);
                        }
                    });
                }
            }
            behind = moved;   // its last post is the one behind the next stretch
            out[t] |= moved;
        }
        // The sweep back along the row: the post ahead.
        bool ahead = false;
        for (int u = 0; u < nt; u++) {
            const int t = dr < 0 ? nt - 1 - u : u;
            const bool go = !todo || first[static_cast<size_t>(t)] || ahead;
            bool moved = false;
            if (go) {
                const int k0 = t * TileW, k1 = std::min(C, k0 + TileW);
                for (int q = 0; q < k1 - k0; q++) {
                    const int k = dr < 0 ? k1 - 1 - q : k0 + q;
                    const int fwd = dr < 0 ? 1 : -1;
                    if (k + fwd < 0 || k + fwd >= C) continue;
                    moved |= post(r, k, [&](long long i, Cur& c) { Take(g, s, i, i + fwd, c); });
                }
            }
            out[t] |= moved;
            ahead = out[t];   // its first post is the one ahead of the stretch after it
        }
    };
    auto at = [nt](std::vector<uint8_t>& v, int r) { return v.data() + static_cast<size_t>(r) * static_cast<size_t>(nt); };
    // First round: every post.
    std::vector<uint8_t> none(static_cast<size_t>(nt), 0);
    for (int r = 0; r < R; r++) scan(r, -1, nullptr, none.data());
    for (int r = R - 1; r >= 0; r--) scan(r, 1, nullptr, at(chg[0], r));
    // Second round: the stretches below (above) one that changed since the row last took from it.
    std::vector<uint8_t> todo(static_cast<size_t>(nt));
    auto near = [&](const uint8_t* a, const uint8_t* b) {
        for (int t = 0; t < nt; t++) {
            uint8_t v = 0;
            for (int u = std::max(0, t - 1); u <= std::min(nt - 1, t + 1); u++) v |= a[u] | b[u];
            todo[static_cast<size_t>(t)] = v;
        }
    };
    for (int r = 0; r < R; r++) {
        if (r > 0) near(at(chg[0], r - 1), at(chg[1], r - 1));
        else std::fill(todo.begin(), todo.end(), 0);
        scan(r, -1, todo.data(), at(chg[1], r));
    }
    for (int r = R - 1; r >= 0; r--) {
        if (r + 1 < R) near(at(chg[1], r + 1), at(chg[2], r + 1));
        else std::fill(todo.begin(), todo.end(), 0);
        scan(r, 1, todo.data(), at(chg[2], r));
    }
}

// The two levels' sites spread independently: on two threads when there are two.
void SpreadBoth(const Grid& g, Sites* s, int nth) {
    ForParts(2, std::min(nth, 2), [&](int, int w0, int w1) {
        for (int w = w0; w < w1; w++) Spread(g, s[w]);
    });
}

constexpr double Unknown = -1;

// The post one mesh interval beyond contour point (sx, sy) on the path from post pi, at distance
// len from it; -1 when it lies off the grid or the path has no way. PrePosts finds the same for a
// stretch of posts, step for step: the two change together.
long long Probe(const Grid& g, const At& pi, float sx, float sy, double len) {
    if (!(len > 1e-9 * g.d)) return -1;
    // One division: this runs twice for every post.
    const double il = 1 / len;
    const double qk = sx * g.inv + (sx - pi.x) * il, qr = sy * g.inv + (sy - pi.y) * il;
    if (!(qk > -1 && qr > -1 && qk < g.C + 1.0 && qr < g.R + 1.0)) return -1;
    const int k = RoundHalfOut(qk);
    const int r = RoundHalfOut(qr);
    if (k < 0 || r < 0 || k >= g.C || r >= g.R) return -1;
    return g.Idx(r, k);
}

// Beyond (below) with the probe j found already (-1: none).
double BeyondAt(const Grid& g, const Sites* s, long long i, long long j, float sx, float sy, double L, bool down,
                double* spc = nullptr, long long* at = nullptr) {
    if (j < 0) return Unknown;
    const double lo = g.Lo(j), hi = g.Hi(j);
    if (!std::isfinite(lo) || !std::isfinite(hi) || g.SameBand(i, j)) return Unknown;
    const bool far = down ? Same(hi, L) && lo < L - LvlTol : Same(lo, L) && hi > L + LvlTol;
    const bool past = down ? hi < L - LvlTol : lo > L + LvlTol;
    const At pj(g, j);
    if (past) {
        // Contours crowd: one post on lies beyond the next level already. The slope from the contour
        // point through that post to the level beyond it.
        const Sites& st = s[down ? 0 : 1];
        if (std::isnan(st.p[j].x)) return Unknown;
        const double sp = std::sqrt(Dist2(pj, sx, sy)) + std::sqrt(Dist2(pj, st.p[j].x, st.p[j].y));
        if (spc) *spc = sp;
        return sp > 0 ? (down ? L - lo : hi - L) / sp : Unknown;
    }
    if (!far) {
        const bool fold = down ? Same(lo, L) : Same(hi, L);
        return fold ? 0 : Unknown;
    }
    if (std::isnan(s[0].p[j].x) || std::isnan(s[1].p[j].x)) return Unknown;
    const double sp = std::sqrt(Dist2(pj, s[0].p[j].x, s[0].p[j].y)) + std::sqrt(Dist2(pj, s[1].p[j].x, s[1].p[j].y));
    if (!(sp > 0)) return Unknown;
    if (spc) *spc = sp;
    if (at) *at = j;
    return (hi - lo) / sp;
}

// Slope of the ground beyond contour point (sx, sy) of level L, seen from post i: one mesh interval
// further along the path from i through the point, the spacing of the band found there. down: the
// side beyond lies lower; len: the distance from i to the point. Returns the slope (height per mm,
// >= 0), 0 when the ground beyond turns back (the contour is a fold), Unknown when nothing tells;
// spc gets the spacing it was measured over, at the post found beyond when it lies in the next band.
double Beyond(const Grid& g, const Sites* s, long long i, const At& pi, float sx, float sy, double len, double L,
              bool down, double* spc = nullptr, long long* at = nullptr) {
    return BeyondAt(g, s, i, Probe(g, pi, sx, sy, len), sx, sy, L, down, spc, at);
}

// A post's distances to its two sites (NaN: none) and the probes beyond them (see Probe), found
// for a stretch of posts at a time, before their heights: in one short loop the square roots,
// divisions and roundings of many posts overlap, where among the heights' branches and loads each
// post's waited on the one before (a tenth of the heights' time).
struct PostPre {
    double len[2];
    int probe[2];
};

// Posts k0 .. k0 + m - 1 of row r, m <= PreBlk.
constexpr int PreBlk = 64;
void PrePosts(const Grid& g, const Sites* s, int r, int k0, int m, PostPre* out) {
    const long long i0 = g.Idx(r, k0);
    const double d = g.d, inv = g.inv, near = 1e-9 * g.d, cx = g.C + 1.0, rx = g.R + 1.0;
    const int C = g.C, R = g.R;
    const double py = static_cast<double>(r) * d;
    for (int w = 0; w < 2; w++) {
        const SitePt* sp = s[w].p + i0;
        for (int u = 0; u < m; u++) {
            const double px = static_cast<double>(k0 + u) * d;
            const float sx = sp[u].x, sy = sp[u].y;
            const double dx = sx - px, dy = sy - py;
            const double l = std::sqrt(dx * dx + dy * dy);
            const double il = 1 / l;
            const double qk = sx * inv + (sx - px) * il, qr = sy * inv + (sy - py) * il;
            // Every post through the same steps, landing or not: no branch to mispredict.
            const bool in = (l > near) & (qk > -1) & (qr > -1) & (qk < cx) & (qr < rx);
            const int k = RoundHalfOut(in ? qk : 0), rr = RoundHalfOut(in ? qr : 0);
            const bool on = in & (k >= 0) & (rr >= 0) & (k < C) & (rr < R);
            out[u].len[w] = l;
            out[u].probe[w] = on ? rr * C + k : -1;
        }
    }
}

// End slope of the cubic at a contour from the slopes on its two sides, inner over spacing hin and
// outer over hout. Where the spacings are alike the ground is taken as smooth: the slope of the
// parabola through the three levels. Where they differ much the ground most likely breaks at the
// contour (a bank above a flat floor): the shape-keeping mean (weighted harmonic), which leans to
// the gentler side and does not carry the bank's slope out over the floor. Between the two by the
// square root of the shorter spacing over the longer. At a fold (zero beyond) the mean of the two;
// the inner slope alone when the far side tells nothing. A slope that would carry the cubic out of
// the band is cut back by the band afterwards.
double EndSlope(double inner, double outer, double hin, double hout) {
    if (outer == Unknown) return inner;
    const double o = std::max(outer, 0.0);
    if (!(hin > 0 && hout > 0 && inner > 0 && o > 0)) return (inner + o) / 2;
    const double smooth = (hout * inner + hin * o) / (hin + hout);
    // (w1 + w2) / (w1 / o + w2 / inner), with one division: this runs twice for every post.
    const double w1 = 2 * hin + hout, w2 = hin + 2 * hout;
    const double keep = (w1 + w2) * o * inner / (w1 * inner + w2 * o);
    const double w = std::sqrt(std::min(hin, hout) / std::max(hin, hout));
    return w * smooth + (1 - w) * keep;
}

// Height of post i at distance a inside a region bounded by level L alone (a summit when up, a pit
// otherwise), site w: the slope of the band below (s1 wide) goes on, bending as it bends from the
// band below that (s2): a cone's rings give a cone, a dome's rings (slope falling towards the top)
// a rounded top that levels out. Never past cap.
// rho: the farthest any post of the region lies from L (negative: unknown, lines are missing
// around it, so nothing says the ground levels out). Where the slope so carried on would pass
// the next level within the region, the ground must level out on the way (a plateau above an
// escarpment, a flat floor below a bank): the rise stops short of it, the more the further the
// slope would carry, down to half the interval (the mean of a top known only to lie within it).
double Crest(const Grid& g, const Sites* s, long long i, long long probe, int w, double L, double a, bool up,
             double cap, double rho) {
    double s1 = 0, s2 = 0;
    long long j = -1;
    const double g1 = BeyondAt(g, s, i, probe, s[w].p[i].x, s[w].p[i].y, L, up, &s1, &j);
    if (!(g1 > 0)) return L;
    double g0 = g1, k = 0;
    if (j >= 0) {
        // The band below: its own lower (upper for a pit) level and the slope beyond that.
        const int w2 = up ? 0 : 1;
        const double L2 = up ? g.Lo(j) : g.Hi(j);
        const At pj(g, j);
        const SitePt q = s[w2].p[j];
        const double g2 =
            std::isnan(q.x) ? Unknown : Beyond(g, s, j, pj, q.x, q.y, std::sqrt(Dist2(pj, q.x, q.y)), L2, up, &s2);
        if (g2 > 0 && g2 > g1) {
            k = (g1 - g2) / ((s1 + s2) / 2);
            g0 = std::max(0.0, g1 + k * s1 / 2);
        }
    }
    auto riseAt = [&](double x) { return k < 0 && x >= -g0 / k ? g0 * g0 / (-2 * k) : g0 * x + k * x * x / 2; };
    double rise = riseAt(a);
    // The interval here: the band beyond's when wider (supplementary lines elsewhere make the
    // region's room narrower than the lines around it are apart).
    const double room = std::max(std::fabs(cap - L), j >= 0 ? g.Hi(j) - g.Lo(j) : 0.0);
    const double far = riseAt(std::max(rho, a));
    if (rho >= 0 && far > room) rise = std::min(rise, room / 2 * (1 + room / far));
    return up ? std::min(cap, L + rise) : std::max(cap, L - rise);
}

// A post between two contours: its cubic, once the slopes beyond both are known.
struct Cubic {
    double lo, hi, a, h, m, o0, o1, h0, h1;
};
double CubicHgt(const Cubic& c) {
    const double d0 = EndSlope(c.m, c.o0, c.h, c.h0);
    const double d1 = EndSlope(c.m, c.o1, c.h, c.h1);
    const double t = c.a / c.h, t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * c.lo + (t3 - 2 * t2 + t) * c.h * d0 + (-2 * t3 + 3 * t2) * c.hi +
           (t3 - t2) * c.h * d1;
}

// Height of post i, NaN when it has nothing to go by; spc: the spacing of its two contours (0 with
// fewer). rho: in a region that sees one level, the farthest its posts lie from it (see Crest).
// A post between two contours gets its cubic in cu instead (the return is true), for CubicHgt: the
// heights of a stretch's posts are finished together, their arithmetic overlapping.
bool PostHgt(const Grid& g, const Sites* s, long long i, const PostPre& pre, double* hgt, double* spc, Cubic* cu,
             double rho) {
    const double lo = g.Lo(i), hi = g.Hi(i);
    *hgt = std::numeric_limits<double>::quiet_NaN();
    if (!std::isfinite(lo) || !std::isfinite(hi)) return false;
    const bool hasA = !std::isnan(s[0].p[i].x), hasB = !std::isnan(s[1].p[i].x);
    const double a = hasA ? pre.len[0] : 0;
    const double b = hasB ? pre.len[1] : 0;
    if (hasA && hasB) {
        const double h = a + b;
        *spc = h;
        if (!(h > 0)) {
            *hgt = lo;
            return false;
        }
        double h0 = 0, h1 = 0;
        const double o0 = BeyondAt(g, s, i, pre.probe[0], s[0].p[i].x, s[0].p[i].y, lo, true, &h0);
        const double o1 = BeyondAt(g, s, i, pre.probe[1], s[1].p[i].x, s[1].p[i].y, hi, false, &h1);
        *cu = {lo, hi, a, h, (hi - lo) / h, o0, o1, h0, h1};
        return true;
    }
    if (hasA) *hgt = Crest(g, s, i, pre.probe[0], 0, lo, a, true, hi, rho);
    else if (hasB) *hgt = Crest(g, s, i, pre.probe[1], 1, hi, b, false, lo, rho);
    return false;
}

// Over-relaxed Gauss-Seidel sweeps of posts q (in that order) towards the mean of their
// neighbours that have a height: at most maxSweeps, until no post moves by tol.
template <class Q>
void Relax(int R, int C, float* z, long long st, const Q& q, double w, int maxSweeps, double tol) {
    // q is in index order: the row follows along without a division a post.
    for (int sweep = 0; sweep < maxSweeps; sweep++) {
        double big = 0;
        int r = 0;
        long long row = 0;   // the index of row r's first post
        for (const long long i : q) {
            while (i >= row + C) {
                row += C;
                r++;
            }
            const int k = static_cast<int>(i - row);
            double sum = 0;
            int cnt = 0;
            auto add = [&](long long j) {
                const float v = z[j * st];
                if (!std::isnan(v)) {
                    sum += v;
                    cnt++;
                }
            };
            if (k > 0) add(i - 1);
            if (k + 1 < C) add(i + 1);
            if (r > 0) add(i - C);
            if (r + 1 < R) add(i + C);
            if (!cnt) continue;
            const double old = z[i * st], nw = old + w * (sum / cnt - old);
            z[i * st] = static_cast<float>(nw);
            big = std::max(big, std::fabs(nw - old));
        }
        if (big < tol) break;
    }
}

// The smoothest surface over the posts free (one patch, connected) that meets the ground around it
// in height and slope: the least sum of squared Laplacians, those of the posts beside the patch
// included, so that a bank running into a lake keeps its slope and bend across it. Solved (conjugate
// gradients) on every s-th post, coarse to fine, each spacing starting from the one before: fully
// while the patch is at most BendFull spacings wide, then BendFine steps on each finer spacing. The
// heights next to a patch are the least sure of all: read over a few posts rather than one, their
// slope carries further.
constexpr int BendFull = 64, BendFine = 64;
void Bend(int R, int C, float* z, long long st, const std::vector<long long>& free) {
    if (free.empty()) return;
    int r0 = R, r1 = -1, k0 = C, k1 = -1;
    for (const long long i : free) {
        const int r = static_cast<int>(i / C), k = static_cast<int>(i % C);
        r0 = std::min(r0, r);
        r1 = std::max(r1, r);
        k0 = std::min(k0, k);
        k1 = std::max(k1, k);
    }
    const int w = std::max(r1 - r0, k1 - k0) + 1;
    int s0 = 1;
    while (s0 * 32 <= w) s0 *= 2;
    // The patch's box and three coarsest spacings around it: U the heights (NaN: none), fr the free.
    const int br0 = std::max(0, r0 - 3 * s0), br1 = std::min(R - 1, r1 + 3 * s0);
    const int bk0 = std::max(0, k0 - 3 * s0), bk1 = std::min(C - 1, k1 + 3 * s0);
    const int bh = br1 - br0 + 1, bw = bk1 - bk0 + 1;
    const size_t bn = static_cast<size_t>(bh) * bw;
    auto ix = [bw](int r, int k) { return static_cast<size_t>(r) * bw + static_cast<size_t>(k); };
    std::vector<double> U(bn), W(bn), Lw(bn);
    std::vector<uint8_t> fr(bn, 0);
    for (int r = br0; r <= br1; r++)
        for (int k = bk0; k <= bk1; k++) U[ix(r - br0, k - bk0)] = z[(static_cast<long long>(r) * C + k) * st];
    for (const long long i : free) fr[ix(static_cast<int>(i / C) - br0, static_cast<int>(i % C) - bk0)] = 1;
    // Posts that nothing gave a height, enclosed by the patch along their row and column, join it
    // (from the patch's mean): holes would bend the surface beside them as an edge does.
    std::vector<long long> more;
    {
        std::vector<int> kl(static_cast<size_t>(bh), bw), kh(static_cast<size_t>(bh), -1);
        std::vector<int> rl(static_cast<size_t>(bw), bh), rh(static_cast<size_t>(bw), -1);
        double mean = 0;
        for (const long long i : free) {
            const int r = static_cast<int>(i / C) - br0, k = static_cast<int>(i % C) - bk0;
            kl[static_cast<size_t>(r)] = std::min(kl[static_cast<size_t>(r)], k);
            kh[static_cast<size_t>(r)] = std::max(kh[static_cast<size_t>(r)], k);
            rl[static_cast<size_t>(k)] = std::min(rl[static_cast<size_t>(k)], r);
            rh[static_cast<size_t>(k)] = std::max(rh[static_cast<size_t>(k)], r);
            mean += z[i * st];
        }
        mean /= static_cast<double>(free.size());
        for (int r = 0; r < bh; r++)
            for (int k = kl[static_cast<size_t>(r)] + 1; k < kh[static_cast<size_t>(r)]; k++) {
                const size_t u = ix(r, k);
                if (!std::isnan(U[u]) || r <= rl[static_cast<size_t>(k)] || r >= rh[static_cast<size_t>(k)]) continue;
                U[u] = mean;
                fr[u] = 1;
                more.push_back(static_cast<long long>(r + br0) * C + (k + bk0));
            }
    }
    std::vector<int> at;   // the free posts of one spacing: box row, column
    std::vector<double> x, res, dir, adir;
    for (int s = s0; s >= 1; s /= 2) {
        const int rs = (s - br0 % s) % s, ks = (s - bk0 % s) % s;   // the box's first row, column on the lattice
        at.clear();
        for (int r = rs; r < bh; r += s)
            for (int k = ks; k < bw; k += s)
                if (fr[ix(r, k)]) {
                    at.push_back(r);
                    at.push_back(k);
                }
        const size_t n = at.size() / 2;
        if (!n) continue;
        auto has = [&](int r, int k) { return r >= 0 && r < bh && k >= 0 && k < bw && !std::isnan(U[ix(r, k)]); };
        // Posts new at this spacing start from the mean of those around them at twice it.
        if (s < s0)
            for (size_t q = 0; q < n; q++) {
                const int r = at[2 * q], k = at[2 * q + 1];
                const bool er = (r + br0) % (2 * s) == 0, ek = (k + bk0) % (2 * s) == 0;
                if (er && ek) continue;
                double sum = 0;
                int c = 0;
                for (int dr = er ? 0 : -s; dr <= (er ? 0 : s); dr += 2 * s)
                    for (int dk = ek ? 0 : -s; dk <= (ek ? 0 : s); dk += 2 * s)
                        if (has(r + dr, k + dk)) {
                            sum += U[ix(r + dr, k + dk)];
                            c++;
                        }
                if (c) U[ix(r, k)] = sum / c;
            }
        // The Laplacians of F at every post of the lattice with a height (over its neighbours with one).
        auto lap = [&](const std::vector<double>& F) {
            for (int r = rs; r < bh; r += s)
                for (int k = ks; k < bw; k += s) {
                    if (!has(r, k)) continue;
                    const double c = F[ix(r, k)];
                    double sum = 0;
                    if (has(r, k - s)) sum += F[ix(r, k - s)] - c;
                    if (has(r, k + s)) sum += F[ix(r, k + s)] - c;
                    if (has(r - s, k)) sum += F[ix(r - s, k)] - c;
                    if (has(r + s, k)) sum += F[ix(r + s, k)] - c;
                    Lw[ix(r, k)] = sum;
                }
        };
        // Half the gradient of the sum of squared Laplacians (Lw) by the free heights.
        auto grad = [&](std::vector<double>& out) {
            for (size_t q = 0; q < n; q++) {
                const int r = at[2 * q], k = at[2 * q + 1];
                double sum = 0;
                int c = 0;
                const int nb[4][2] = {{r, k - s}, {r, k + s}, {r - s, k}, {r + s, k}};
                for (const auto& b : nb)
                    if (has(b[0], b[1])) {
                        sum += Lw[ix(b[0], b[1])];
                        c++;
                    }
                out[q] = sum - c * Lw[ix(r, k)];
            }
        };
        x.resize(n);
        res.resize(n);
        adir.resize(n);
        for (size_t q = 0; q < n; q++) x[q] = U[ix(at[2 * q], at[2 * q + 1])];
        lap(U);
        grad(res);
        for (double& v : res) v = -v;
        dir = res;
        double rho = 0;
        for (const double v : res) rho += v * v;
        const double rho0 = rho;
        const int ws = w / s + 1;
        const int steps = ws <= BendFull ? 32 * ws : BendFine;
        for (int it = 0; it < steps && rho > 1e-20 * rho0; it++) {
            // The quadratic's matrix times dir: the same with every fixed height at 0.
            for (int r = rs; r < bh; r += s)
                for (int k = ks; k < bw; k += s) W[ix(r, k)] = std::isnan(U[ix(r, k)]) ? U[ix(r, k)] : 0;
            for (size_t q = 0; q < n; q++) W[ix(at[2 * q], at[2 * q + 1])] = dir[q];
            lap(W);
            grad(adir);
            double dad = 0;
            for (size_t q = 0; q < n; q++) dad += dir[q] * adir[q];
            if (!(dad > 0)) break;
            const double al = rho / dad;
            double rn = 0;
            for (size_t q = 0; q < n; q++) {
                x[q] += al * dir[q];
                res[q] -= al * adir[q];
                rn += res[q] * res[q];
            }
            const double be = rn / rho;
            rho = rn;
            for (size_t q = 0; q < n; q++) dir[q] = res[q] + be * dir[q];
        }
        for (size_t q = 0; q < n; q++) U[ix(at[2 * q], at[2 * q + 1])] = x[q];
    }
    for (const long long i : free)
        z[i * st] = static_cast<float>(U[ix(static_cast<int>(i / C) - br0, static_cast<int>(i % C) - bk0)]);
    for (const long long i : more)
        z[i * st] = static_cast<float>(U[ix(static_cast<int>(i / C) - br0, static_cast<int>(i % C) - bk0)]);
}

// Posts where the lines contradict one another (lines missing, as over a lake) take the height
// the bands found for them from the triangles of the contour vertices around (LatBands::voids),
// whether or not their paths gave them one. The triangles follow the lines the
// bands carried across the patch but bend only at their edges; the smoothest surface meeting the
// ground around carries the slope of the banks across but knows nothing of those lines. Neither
// is right everywhere, and where one errs the other mostly does not: the posts not beside a line
// take the mean of the two. Their bands mean nothing there, so the later softening within bands
// leaves them be (wide: cleared for them).
void VoidFill(const Grid& g, const Sites* s, float* z, long long st, std::vector<uint8_t, RawAlloc<uint8_t>>& wide) {
    const auto& vs = g.b.voids;
    if (vs.empty()) return;
    const int R = g.R, C = g.C;
    std::vector<long long> m;   // in index order, as vs
    for (const auto& [i, h] : vs) {
        z[st * i] = h;
        wide[static_cast<size_t>(i)] = 0;
        const At pi(g, i);
        auto beside = [&](const Sites& w) { return !std::isnan(w.p[i].x) && Dist2(pi, w.p[i].x, w.p[i].y) <= g.d * g.d; };
        if (!beside(s[0]) && !beside(s[1])) m.push_back(i);
    }
    // The triangles' creases smooth out over an eighth as many sweeps as the patches are wide (their
    // area's square root): the lines carried across do not fade into the mean of the rim. The work
    // is bounded by a few sweeps of the whole grid.
    const double mm = static_cast<double>(std::max<size_t>(m.size(), 1));
    const int sweeps = static_cast<int>(std::min(std::ceil(0.125 * std::sqrt(mm)), 16.0 * R * C / mm));
    // Over-relaxed (1.8): the sweeps reach across the patch.
    Relax(R, C, z, st, m, 1.8, sweeps, 0);
    std::vector<float> tri(m.size());
    for (size_t q = 0; q < m.size(); q++) tri[q] = z[st * m[q]];
    // Each patch of free posts (joined by grid edges) bends on its own.
    std::vector<uint8_t> done(m.size(), 0);
    std::vector<long long> comp;
    auto find = [&](long long j) {
        const auto it = std::lower_bound(m.begin(), m.end(), j);
        return it != m.end() && *it == j ? static_cast<long long>(it - m.begin()) : -1LL;
    };
    for (size_t a = 0; a < m.size(); a++) {
        if (done[a]) continue;
        done[a] = 1;
        comp.assign(1, m[a]);
        for (size_t h = 0; h < comp.size(); h++) {
            const long long i = comp[h];
            const int r = static_cast<int>(i / C), k = static_cast<int>(i % C);
            const long long nb[4] = {k > 0 ? i - 1 : -1, k + 1 < C ? i + 1 : -1, r > 0 ? i - C : -1, r + 1 < R ? i + C : -1};
            for (const long long j : nb) {
                const long long f = j < 0 ? -1 : find(j);
                if (f < 0 || done[static_cast<size_t>(f)]) continue;
                done[static_cast<size_t>(f)] = 1;
                comp.push_back(j);
            }
        }
        Bend(R, C, z, st, comp);
    }
    for (size_t q = 0; q < m.size(); q++)
        z[st * m[q]] = static_cast<float>(0.5 * (static_cast<double>(z[st * m[q]]) + tri[q]));
}

// Posts without a height take the mean of their neighbours that have one, nearest first; the posts
// filled, in that order.
// A grid holds fewer than 2^31 posts: their indices in 32 bits halve the list.
std::vector<int> FillNearest(float* z, long long st, int R, int C) {
    const long long n = static_cast<long long>(R) * C;
    std::vector<int> q;
    std::vector<uint8_t, HugeAlloc<uint8_t>> in(static_cast<size_t>(n), 0);
    for (long long i = 0; i < n; i++)
        if (!std::isnan(z[i * st])) in[static_cast<size_t>(i)] = 1;
    auto nb = [&](long long i, auto&& f) {
        // A grid holds fewer than 2^31 posts: a 32-bit division.
        const int r = static_cast<int>(static_cast<uint32_t>(i) / static_cast<uint32_t>(C));
        const int k = static_cast<int>(i - static_cast<long long>(r) * C);
        if (k > 0) f(i - 1);
        if (k + 1 < C) f(i + 1);
        if (r > 0) f(i - C);
        if (r + 1 < R) f(i + C);
    };
    auto queue = [&](long long j) {
        if (!in[static_cast<size_t>(j)]) {
            in[static_cast<size_t>(j)] = 2;
            q.push_back(static_cast<int>(j));
        }
    };
    for (int r = 0; r < R; r++)
        for (int k = 0; k < C; k++) {
            const long long i = static_cast<long long>(r) * C + k;
            if (!in[static_cast<size_t>(i)]) continue;
            // Only a post beside one without a height starts the fill.
            if ((k > 0 && !in[static_cast<size_t>(i - 1)]) || (k + 1 < C && !in[static_cast<size_t>(i + 1)]) ||
                (r > 0 && !in[static_cast<size_t>(i - C)]) || (r + 1 < R && !in[static_cast<size_t>(i + C)]))
                nb(i, queue);
        }
    for (size_t h = 0; h < q.size(); h++) {
        const long long i = q[h];
        double sum = 0;
        int cnt = 0;
        nb(i, [&](long long j) {
            if (!std::isnan(z[j * st])) {
                sum += z[j * st];
                cnt++;
            }
        });
        z[i * st] = cnt ? static_cast<float>(sum / cnt) : 0.0f;
        nb(i, queue);
    }
    return q;
}

// Posts left without a height take the mean of their neighbours that have one, nearest first.
// z: the heights, st floats apart.
void Fill(const Grid& g, float* z, int st, double tol) {
    std::vector<int> q = FillNearest(z, st, g.R, g.C);
    // A grid that no contour reaches at all stays without heights (NaN): nodata, not a plain at 0.
    // Then the filled posts relax towards the mean of their neighbours (over-relaxed sweeps), so that
    // a wide hole in the contours (a lake, a glacier) gets a surface spanning its rim rather than the
    // height of the part of the rim reached first.
    // The sweeps stay within the work of a few sweeps of the whole grid: a region reaching far
    // beyond the contours leaves most posts to fill, and a plain there needs no more.
    if (q.empty()) return;
    std::sort(q.begin(), q.end());
    const double share = static_cast<double>(g.R) * g.C / static_cast<double>(q.size());
    Relax(g.R, g.C, z, st, q, 1.9, static_cast<int>(std::clamp(4 * share, 1.0, 2000.0)), tol);
}
}  // namespace

namespace {
// The grid of the posts whose first column and row lie at x0, y0 and last at xl, yl, and its regions.
// voids: also the heights where lines are missing (only generation uses them).
void MkGridAt(Grid& g, const cntr* c, int nc, float x0, float y0, float xl, float yl, int R, int C, double itv,
              int nth = 0, bool voids = false) {
    g.R = R;
    g.C = C;
    g.x0 = x0;
    g.y0 = y0;
    if (C > 1) g.d = (static_cast<double>(xl) - g.x0) / (C - 1);
    else if (R > 1) g.d = (static_cast<double>(yl) - g.y0) / (R - 1);
    else g.d = itv > 0 ? itv : 1000;
    if (!(g.d > 0)) g.d = itv > 0 ? itv : 1000;
    g.inv = 1 / g.d;
    Regions(g, c, nc, FindItv(c, nc), nth, voids);
    // A line the regions beside it show one interval off takes that level, and the regions are
    // made again from the lines so read.
    if (g.b.level.empty()) return;
    g.fixed.assign(c, c + nc);
    for (int ci = 0; ci < nc; ci++)
        if (!std::isnan(g.b.level[static_cast<size_t>(ci)]))
            g.fixed[static_cast<size_t>(ci)].hgt = static_cast<float>(g.b.level[static_cast<size_t>(ci)]);
    Regions(g, g.fixed.data(), nc, FindItv(c, nc), nth, voids);
}

// The lines the grid reads at another level, to the caller that asked.
void TellRelevel(const Grid& g, const cntr* c, int nc, const PathPrm& prm) {
    if (!prm.relevel) return;
    prm.relevel->clear();
    if (g.fixed.empty()) return;
    for (int ci = 0; ci < nc; ci++)
        if (g.fixed[static_cast<size_t>(ci)].hgt != c[ci].hgt && c[ci].n > 0)
            prm.relevel->push_back({c[ci].hgt, g.fixed[static_cast<size_t>(ci)].hgt, c[ci].pnt[0], c[ci].pnt[1]});
}

// The grid of the posts v and its regions.
void MkGrid(Grid& g, const cntr* c, int nc, const float* v, int R, int C, double itv, int nth = 0,
            bool voids = false) {
    MkGridAt(g, c, nc, v[0], v[1], v[3LL * (C - 1)], v[3LL * (R - 1) * C + 1], R, C, itv, nth, voids);
}
}  // namespace

void PathBand(const cntr* c, int nc, const float* v, int R, int C, double itv, OrdBand* b) {
    FreeOrdBand(b);
    if (R <= 0 || C <= 0) return;
    MemReuse keep;
    Grid g;
    MkGrid(g, c, nc, v, R, C, itv);
    const long long n = static_cast<long long>(R) * C;
    b->lo = static_cast<double*>(AlcMem(n * static_cast<long long>(sizeof(double)), "ord_band"));
    b->hi = static_cast<double*>(AlcMem(n * static_cast<long long>(sizeof(double)), "ord_band"));
    b->itv = FindItv(c, nc);
    for (long long i = 0; i < n; i++) {
        b->lo[i] = g.Lo(i);
        b->hi[i] = g.Hi(i);
    }
}

namespace {
// fn(r, k, m) for the posts of rows [r0, r1) of C columns, in blocks, a stretch of m <= PreBlk posts
// of row r from column k at a time: the sites of a block's posts and the posts just beyond them
// stay in the cache, where a whole row would not.
template <class Fn>
void ForBlocks(int r0, int r1, int C, Fn&& fn) {
    constexpr int Blk = PreBlk;
    for (int rb = r0; rb < r1; rb += Blk)
        for (int kb = 0; kb < C; kb += Blk)
            for (int r = rb; r < std::min(rb + Blk, r1); r++) fn(r, kb, std::min(Blk, C - kb));
}

// Where two contours lie far apart, the switch of a post's nearest point from one part of a
// contour to another leaves a crease the ground does not have. Posts whose contours lie at least
// WideSpc mesh intervals apart are relaxed towards their four neighbours (SoftSweeps sweeps, a
// blur of about two posts: under a tenth of their spacing), within their band and never across
// a contour.
constexpr double WideSpc = 30;
constexpr int SoftSweeps = 12;

void Soften(const Grid& g, float* z, long long st, std::vector<uint8_t, RawAlloc<uint8_t>>& wide, int nth) {
    const int R = g.R, C = g.C;
    if (R < 3 || C < 3) return;
    // wide becomes the posts the sweeps move (wide ones whose four neighbours share their band),
    // any: the rows with one.
    // span[r]: the columns from the first to the last post of row r the sweeps move (empty: none).
    std::vector<std::pair<int, int>> span(static_cast<size_t>(R), {C, 0});
    ForParts(R, nth, [&](int, int r0, int r1) {
        for (int r = r0; r < r1; r++)
            for (int k = 0; k < C; k++) {
                const long long i = g.Idx(r, k);
                uint8_t& w = wide[static_cast<size_t>(i)];
                w = w && r > 0 && r + 1 < R && k > 0 && k + 1 < C && g.SameBand(i, i - 1) && g.SameBand(i, i + 1) &&
                    g.SameBand(i, i - C) && g.SameBand(i, i + C);
                if (w) {
                    auto& sp = span[static_cast<size_t>(r)];
                    sp.first = std::min(sp.first, k);
                    sp.second = k + 1;
                }
            }
    });
    // The sweeps run as a cascade down the rows: sweep k makes a row as soon as sweep k - 1 has
    // made the row below it, so each sweep keeps only three rows, and the grid is read and written
    // once instead of once a sweep. Each thread takes a range of rows and makes the SoftSweeps rows
    // beyond each end again from copies taken before any thread writes.
    constexpr int S = SoftSweeps;
    const size_t cu = static_cast<size_t>(C);
    std::vector<std::vector<float>> halo(static_cast<size_t>(std::max(nth, 1)));
    auto bounds = [&](int r0, int r1, int* h0, int* h1) {
        *h0 = std::max(0, r0 - S);
        *h1 = std::min(R, r1 + S);
    };
    ForParts(R, nth, [&](int t, int r0, int r1) {
        int h0 = 0, h1 = 0;
        bounds(r0, r1, &h0, &h1);
        std::vector<float>& hv = halo[static_cast<size_t>(t)];
        hv.assign(static_cast<size_t>((r0 - h0) + (h1 - r1)) * cu, 0.0f);
        size_t o = 0;
        for (int r = h0; r < h1; r++) {
            if (r >= r0 && r < r1) continue;
            for (int k = 0; k < C; k++) hv[o++] = z[st * g.Idx(r, k)];
        }
    });
    ForParts(R, nth, [&](int t, int r0, int r1) {
        if (r0 >= r1) return;
        int h0 = 0, h1 = 0;
        bounds(r0, r1, &h0, &h1);
        const std::vector<float>& hv = halo[static_cast<size_t>(t)];
        // ring[k]: the last three rows of sweep k (0: the heights before the sweeps).
        std::vector<float> ring(static_cast<size_t>(S) * 3 * cu);
        auto row = [&](int k, int r) { return ring.data() + (static_cast<size_t>(k) * 3 + static_cast<size_t>(r % 3)) * cu; };
        // Per row in the sweeps, its span cut where the band changes: within a run the bounds are
        // the same, and the posts go through the sweep without a branch or a look-up each.
        struct Run {
            int c0, c1;
            double lo, hi;
        };
        std::vector<std::vector<Run>> runs(static_cast<size_t>(S) + 1);
        auto mkRuns = [&](int r) {
            std::vector<Run>& v = runs[static_cast<size_t>(r % (S + 1))];
            v.clear();
            const auto [c0, c1] = span[static_cast<size_t>(r)];
            for (int c = c0; c < c1;) {
                const long long i = g.Idx(r, c);
                int e = c + 1;
                while (e < c1 && g.SameBand(i, g.Idx(r, e))) e++;
                v.push_back({c, e, g.Lo(i), g.Hi(i)});
                c = e;
            }
        };
        for (int m = h0; m < h1 + S; m++)
            for (int k = 0; k <= S; k++) {
                const int r = m - k;
                // Sweep k is needed on rows within S - k of the range.
                if (r < std::max(h0, r0 - (S - k)) || r >= std::min(h1, r1 + (S - k))) continue;
                if (k == 0) {
                    mkRuns(r);
                    float* d = row(0, r);
                    if (r >= r0 && r < r1) {
                        for (int c = 0; c < C; c++) d[c] = z[st * g.Idx(r, c)];
                    } else {
                        const size_t at = r < r0 ? static_cast<size_t>(r - h0) : static_cast<size_t>((r0 - h0) + (r - r1));
                        std::copy(hv.begin() + static_cast<std::ptrdiff_t>(at * cu),
                                  hv.begin() + static_cast<std::ptrdiff_t>((at + 1) * cu), d);
                    }
                    continue;
                }
                const float* src = row(k - 1, r);
                const bool out = k == S;   // the last sweep writes the heights
                float* d = out ? nullptr : row(k, r);
                // Posts outside the span stand: copied on, and in the heights already.
                if (!out) std::copy(src, src + C, d);
                const float* up = row(k - 1, r + 1);
                const float* dn = row(k - 1, r - 1);
                const uint8_t* wr = wide.data() + g.Idx(r, 0);
                float* to = out ? z + st * g.Idx(r, 0) : d;
                const long long ts = out ? st : 1;
                for (const Run& u : runs[static_cast<size_t>(r % (S + 1))])
                    SoftRun(src, dn, up, wr, to, ts, u.c0, u.c1, u.lo, u.hi);
            }
    });
}

// Every post's PathPost to fn, passes times over the grid.
void Visit(const Grid& g, const Sites* s, PathGeomFn fn, void* ctx, int passes) {
    const long long n = static_cast<long long>(g.R) * g.C;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto& lake = g.b.voids;   // in index order
    size_t at = 0;
    for (long long k = 0; k < passes * n; k++) {
        const long long i = k < n ? k : k % n;
        if (i == 0) at = 0;
        while (at < lake.size() && lake[at].first < i) at++;
        const At pi(g, i);
        PathPost p{nan, nan, g.Lo(i), g.Hi(i), -1, at < lake.size() && lake[at].first == i};
        if (!std::isnan(s[0].p[i].x)) p.a = std::sqrt(Dist2(pi, s[0].p[i].x, s[0].p[i].y));
        if (!std::isnan(s[1].p[i].x)) p.b = std::sqrt(Dist2(pi, s[1].p[i].x, s[1].p[i].y));
        if (p.a > 0 && p.b > 0)
            p.cos = ((s[0].p[i].x - pi.x) * (s[1].p[i].x - pi.x) + (s[0].p[i].y - pi.y) * (s[1].p[i].y - pi.y)) / (p.a * p.b);
        fn(ctx, i, p);
    }
}

bool RunPath(const cntr* c, int nc, Grid& g, float* v, const PathPrm& prm) {
    const int R = g.R, C = g.C;
    const long long n = static_cast<long long>(R) * C;
    if (prm.fb.Cancelled()) return false;
    const int nth = prm.threads > 0 ? std::min(prm.threads, 64) : DefaultThreads();
    Sites s[2];
    AlcArr<SitePt> store;
    TrimHeap();   // the bands' lists are gone: their pages go back before the grids to come
    Seed(g, c, nc, n, store, s, nth);
    prm.fb.Progress(20);
    if (prm.fb.Cancelled()) return false;
    SpreadBoth(g, s, nth);
    prm.fb.Progress(60);
    if (prm.fb.Cancelled()) return false;
    // Heights, rows split among threads: each post depends only on the sites, so the result does
    // not depend on how the rows are shared.
    float* z = prm.z ? prm.z : v + 2;
    const long long st = prm.z ? 1 : 3;
    std::vector<uint8_t, RawAlloc<uint8_t>> wide(static_cast<size_t>(n));
    std::vector<long long> none(static_cast<size_t>(nth), 0);   // posts left without a height, by part
    // Posts of regions that see one level wait (wide 2) until the farthest of each region from its
    // level is known: per region, the bits of that distance as a float (>= 0: they order as the
    // distances do), raised by every thread, the largest whatever the order.
    std::vector<uint32_t> reach(g.b.rlo.size(), 0);
    std::vector<uint8_t> wait(static_cast<size_t>(R), 0);   // the rows with such posts
    // The lowest and highest levels: beyond them the map may just stop (the sea, a lake's level).
    double lvMin = std::numeric_limits<double>::infinity(), lvMax = -lvMin;
    for (int ci = 0; ci < nc; ci++) {
        lvMin = std::min(lvMin, static_cast<double>(c[ci].hgt));
        lvMax = std::max(lvMax, static_cast<double>(c[ci].hgt));
    }
    const double itv = FindItv(c, nc);
    auto put = [&](long long i, double h, double spc, int t, double lo, double hi) {
        if (std::isnan(h)) {
            z[st * i] = std::numeric_limits<float>::quiet_NaN();
            wide[static_cast<size_t>(i)] = 0;
            none[static_cast<size_t>(t)]++;
            return;
        }
        wide[static_cast<size_t>(i)] = spc >= WideSpc * g.d;
        z[st * i] = static_cast<float>(std::clamp(h, lo, hi));
    };
    ForParts(R, nth, [&](int t, int r0, int r1) {
        PostPre pre[PreBlk];
        Cubic cub[PreBlk];
        int at[PreBlk];
        ForBlocks(r0, r1, C, [&](int r, int k0, int m) {
            PrePosts(g, s, r, k0, m, pre);
            int pend = 0;
            for (int u = 0; u < m; u++) {
                const long long i = g.Idx(r, k0 + u);
                const bool hasA = !std::isnan(s[0].p[i].x), hasB = !std::isnan(s[1].p[i].x);
                if (hasA != hasB && std::isfinite(g.Lo(i)) && std::isfinite(g.Hi(i))) {
                    std::atomic_ref<uint32_t> far(reach[static_cast<size_t>(g.b.reg[static_cast<size_t>(i)])]);
                    const uint32_t d = std::bit_cast<uint32_t>(static_cast<float>(pre[u].len[hasA ? 0 : 1]));
                    uint32_t was = far.load(std::memory_order_relaxed);
                    while (was < d && !far.compare_exchange_weak(was, d, std::memory_order_relaxed)) {}
                    wide[static_cast<size_t>(i)] = 2;
                    wait[static_cast<size_t>(r)] = 1;
                    continue;
                }
                double h = 0, spc = 0;
                if (PostHgt(g, s, i, pre[u], &h, &spc, &cub[pend], 0)) at[pend++] = u;
                else put(i, h, spc, t, g.Lo(i), g.Hi(i));
            }
            for (int q = 0; q < pend; q++) {
                const Cubic& cu = cub[q];
                put(g.Idx(r, k0 + at[q]), CubicHgt(cu), cu.h, t, cu.lo, cu.hi);
            }
        });
    });
    ForParts(R, nth, [&](int t, int r0, int r1) {
        for (int r = r0; r < r1; r++) {
            if (!wait[static_cast<size_t>(r)]) continue;
            for (int k = 0; k < C; k++) {
                const long long i = g.Idx(r, k);
                if (wide[static_cast<size_t>(i)] != 2) continue;
                const size_t rg = static_cast<size_t>(g.b.reg[static_cast<size_t>(i)]);
                // Nothing says the ground levels out in a band wider than the interval (lines are
                // missing about it) or beyond the map's lowest or highest level.
                const bool gap = g.Hi(i) - g.Lo(i) > itv + LvlTol;
                const bool outside = g.Lo(i) < lvMin - LvlTol || g.Hi(i) > lvMax + LvlTol;
                PostPre pre;
                PrePosts(g, s, r, k, 1, &pre);
                double h = 0, spc = 0;
                Cubic none1;   // a post of one level has no cubic
                PostHgt(g, s, i, pre, &h, &spc, &none1, gap || outside ? -1.0 : std::bit_cast<float>(reach[rg]));
                put(i, h, spc, t, g.Lo(i), g.Hi(i));
            }
        }
    });
    // Without a geometry caller the sites go before the fill, which needs room of its own.
    auto freeSites = [&] {
        store.Alc(0, nullptr);
        for (Sites& site : s) site.p = nullptr;
    };
    VoidFill(g, s, z, st, wide);
    if (!prm.geom) freeSites();
    if (std::any_of(none.begin(), none.end(), [](long long k) { return k > 0; }))
        Fill(g, z, static_cast<int>(st), 1e-3 * (itv > 0 ? itv : g.d));
    Soften(g, z, st, wide, nth);
    if (prm.geom) {
        Visit(g, s, prm.geom, prm.geomCtx, 1);
        freeSites();
    }
    // The heights are in v now: a cancel that comes this late lets the run finish.
    prm.fb.Progress(95);
    (void)prm.fb.Cancelled();
    return true;
}
}  // namespace

void PathGeom(const cntr* c, int nc, const float* v, int R, int C, double itv, PathGeomFn fn, void* ctx,
              int passes) {
    if (R <= 0 || C <= 0) return;
    MemReuse keep;
    Grid g;
    // With the lakes, as the heights were made: the same joins across them, and the posts in them.
    MkGrid(g, c, nc, v, R, C, itv, 0, true);
    Sites s[2];
    AlcArr<SitePt> store;
    Seed(g, g.Lines(c), nc, static_cast<long long>(R) * C, store, s, 2);
    SpreadBoth(g, s, 2);
    Visit(g, s, fn, ctx, passes);
}

bool GenTrnPath(const cntr* c, int nc, float* v, int R, int C, const PathPrm& prm) {
    if (R <= 0 || C <= 0) return true;
    try {
        MemReuse keep;   // the bands' working grid becomes the sites
        Grid g;
        MkGrid(g, c, nc, v, R, C, prm.itv, prm.threads, true);
        TellRelevel(g, c, nc, prm);
        return RunPath(g.Lines(c), nc, g, v, prm);
    } catch (const std::bad_alloc&) {
        // The working lists did not fit: the terrain stays as it was.
        DspErrMsg(MsgNoMem, "path_cut");
        return false;
    }
}

bool GenTrnPathAxes(const cntr* c, int nc, const float* xs, const float* ys, int R, int C, const PathPrm& prm) {
    if (R <= 0 || C <= 0 || !prm.z) return R <= 0 || C <= 0;
    try {
        MemReuse keep;   // the bands' working grid becomes the sites
        Grid g;
        MkGridAt(g, c, nc, xs[0], ys[0], xs[C - 1], ys[R - 1], R, C, prm.itv, prm.threads, true);
        TellRelevel(g, c, nc, prm);
        return RunPath(g.Lines(c), nc, g, nullptr, prm);
    } catch (const std::bad_alloc&) {
        DspErrMsg(MsgNoMem, "path_cut");
        return false;
    }
}

