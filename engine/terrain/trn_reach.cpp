// How far a post's height reaches, for runs that cut the grid into tiles: the contours' spacing on
// a coarse raster, and from it the distance within which each method takes what decides a post's
// height. A tile generated with that much ground around its own posts gives them the whole grid's
// heights.
#include <algorithm>
#include <cmath>
#include <vector>

#include "terrain/trn_gen.h"
#include "terrain/trn_mth.h"

namespace {

// A contour point as a cell keeps it: relative to the map's origin, with its level (NaN: none).
struct Site {
    float x = 0, y = 0, h = NAN;
    bool None() const { return std::isnan(h); }
};

// Per cell: the nearest contour point found, and the nearest found of another level. b is never
// nearer than a, so its distance bounds the radius of a circle that meets two levels.
struct Near {
    Site a, b;
};

struct Spc {
    const TrnSpcMap& m;
    std::vector<Near> n;
    double Cx(int k) const { return (k + 0.5) * m.cell; }
    double Cy(int r) const { return (r + 0.5) * m.cell; }
    long long Idx(int r, int k) const { return static_cast<long long>(r) * m.nx + k; }
};

double Dist2(double px, double py, const Site& s) {
    const double dx = s.x - px, dy = s.y - py;
    return dx * dx + dy * dy;
}

// Cell (px, py) is offered contour point s.
void Offer(Near& n, double px, double py, const Site& s) {
    if (s.None()) return;
    const double d = Dist2(px, py, s);
    if (n.a.None()) {
        n.a = s;
        return;
    }
    const double da = Dist2(px, py, n.a);
    if (s.h == n.a.h) {
        if (d < da) n.a = s;
        return;
    }
    if (d < da) {
        n.b = n.a;
        n.a = s;
    } else if (n.b.None() || d < Dist2(px, py, n.b)) {
        n.b = s;
    }
}

// Cells near each contour segment are offered its nearest point.
void Seed(Spc& s, const cntr* c, int nc) {
    const TrnSpcMap& m = s.m;
    const double cell = m.cell;
    for (int ci = 0; ci < nc; ci++) {
        const cntr& cc = c[ci];
        const float h = cc.hgt;
        for (int j = 0; j + 1 < cc.n; j++) {
            const double px = cc.pnt[2 * j] - m.x0, py = cc.pnt[2 * j + 1] - m.y0;
            const double qx = cc.pnt[2 * j + 2] - m.x0, qy = cc.pnt[2 * j + 3] - m.y0;
            const double ex = qx - px, ey = qy - py, len2 = ex * ex + ey * ey;
            // Out of the map by more than a cell: it seeds nothing (the map then bounds from above).
            if (std::max(px, qx) < -cell || std::min(px, qx) > (m.nx + 1) * cell ||
                std::max(py, qy) < -cell || std::min(py, qy) > (m.ny + 1) * cell)
                continue;
            const int np = std::max(1, static_cast<int>(std::ceil(std::sqrt(len2) / cell)));
            for (int pc = 0; pc < np; pc++) {
                const double t0 = static_cast<double>(pc) / np, t1 = static_cast<double>(pc + 1) / np;
                const double ax = px + t0 * ex, ay = py + t0 * ey, bx = px + t1 * ex, by = py + t1 * ey;
                const int k0 = std::max(0, static_cast<int>(std::floor(std::min(ax, bx) / cell)) - 1);
                const int k1 = std::min(m.nx - 1, static_cast<int>(std::floor(std::max(ax, bx) / cell)) + 1);
                const int r0 = std::max(0, static_cast<int>(std::floor(std::min(ay, by) / cell)) - 1);
                const int r1 = std::min(m.ny - 1, static_cast<int>(std::floor(std::max(ay, by) / cell)) + 1);
                for (int r = r0; r <= r1; r++)
                    for (int k = k0; k <= k1; k++) {
                        const double x = s.Cx(k), y = s.Cy(r);
                        double t = len2 > 0 ? ((x - px) * ex + (y - py) * ey) / len2 : 0;
                        t = std::clamp(t, 0.0, 1.0);
                        Offer(s.n[s.Idx(r, k)], x, y,
                              Site{static_cast<float>(px + t * ex), static_cast<float>(py + t * ey), h});
                    }
            }
        }
    }
}

void Take(Spc& s, int r, int k, long long j) {
    Near& n = s.n[s.Idx(r, k)];
    const double x = s.Cx(k), y = s.Cy(r);
    Offer(n, x, y, s.n[j].a);
    Offer(n, x, y, s.n[j].b);
}

// The points spread over the map: raster scans forward and back, twice.
void Spread(Spc& s) {
    const int R = s.m.ny, C = s.m.nx;
    for (int round = 0; round < 2; round++) {
        for (int r = 0; r < R; r++) {
            for (int k = 0; k < C; k++) {
                if (k > 0) Take(s, r, k, s.Idx(r, k - 1));
                if (r > 0) {
                    if (k > 0) Take(s, r, k, s.Idx(r - 1, k - 1));
                    Take(s, r, k, s.Idx(r - 1, k));
                    if (k + 1 < C) Take(s, r, k, s.Idx(r - 1, k + 1));
                }
            }
            for (int k = C - 2; k >= 0; k--) Take(s, r, k, s.Idx(r, k + 1));
        }
        for (int r = R - 1; r >= 0; r--) {
            for (int k = C - 1; k >= 0; k--) {
                if (k + 1 < C) Take(s, r, k, s.Idx(r, k + 1));
                if (r + 1 < R) {
                    if (k + 1 < C) Take(s, r, k, s.Idx(r + 1, k + 1));
                    Take(s, r, k, s.Idx(r + 1, k));
                    if (k > 0) Take(s, r, k, s.Idx(r + 1, k - 1));
                }
            }
            for (int k = 1; k < C; k++) Take(s, r, k, s.Idx(r, k - 1));
        }
    }
}

// Largest value of v (nx x ny) over square windows: level l holds the maxima over the windows of
// side 2^l from each cell up and to the right (clipped at the map's edge).
class SqMax {
public:
    SqMax(const std::vector<float>& v, int nx, int ny) : nx_(nx), ny_(ny) {
        lv_.push_back(v);
        for (int w = 1; 2 * w <= std::max(nx, ny); w *= 2) {
            const std::vector<float>& p = lv_.back();
            std::vector<float> q(p.size());
            for (int r = 0; r < ny; r++)
                for (int k = 0; k < nx; k++) {
                    float x = p[At(r, k)];
                    if (k + w < nx) x = std::max(x, p[At(r, k + w)]);
                    if (r + w < ny) {
                        x = std::max(x, p[At(r + w, k)]);
                        if (k + w < nx) x = std::max(x, p[At(r + w, k + w)]);
                    }
                    q[At(r, k)] = x;
                }
            lv_.push_back(std::move(q));
        }
    }
    // The largest value of the cells within h of (r, k) across and up (some more at the map's
    // edge: never less than the true largest).
    float Around(int r, int k, int h) const {
        const int k0 = std::max(0, k - h), k1 = std::min(nx_ - 1, k + h);
        const int r0 = std::max(0, r - h), r1 = std::min(ny_ - 1, r + h);
        const int side = std::max(k1 - k0, r1 - r0) + 1;
        int l = 0;
        while (l + 1 < static_cast<int>(lv_.size()) && (2 << l) <= side) l++;
        const int w = 1 << l;
        const std::vector<float>& p = lv_[l];
        const int ka = k0, kb = std::max(k0, k1 - w + 1), ra = r0, rb = std::max(r0, r1 - w + 1);
        return std::max(std::max(p[At(ra, ka)], p[At(ra, kb)]), std::max(p[At(rb, ka)], p[At(rb, kb)]));
    }

private:
    long long At(int r, int k) const { return static_cast<long long>(r) * nx_ + k; }
    int nx_, ny_;
    std::vector<std::vector<float>> lv_;
};

}  // namespace

void TrnSpcMk(const cntr* c, int nc, TrnSpcMap* m) {
    m->d2.assign(static_cast<size_t>(std::max(0, m->nx)) * std::max(0, m->ny), HUGE_VALF);
    if (m->nx <= 0 || m->ny <= 0 || !(m->cell > 0)) return;
    Spc s{*m, std::vector<Near>(m->d2.size())};
    Seed(s, c, nc);
    Spread(s);
    // From the cell's centre, plus half its diagonal: a bound for every point of the cell.
    const double half = m->cell * std::sqrt(0.5);
    for (int r = 0; r < m->ny; r++)
        for (int k = 0; k < m->nx; k++) {
            const Near& n = s.n[s.Idx(r, k)];
            if (!n.b.None()) m->d2[s.Idx(r, k)] = static_cast<float>(std::sqrt(Dist2(s.Cx(k), s.Cy(r), n.b)) + half);
        }
}

double TrnMethodRim(TrnMethodKind k) {
    switch (k) {
    case TrnMethodCrs:
    case TrnMethodMinCrv:
        // Every contour of the scene: nothing short of the whole region.
        return HUGE_VAL;
    case TrnMethodPath:
        break;
    }
    // Gradient paths: posts within one and a half mesh intervals of a contour take its nearest point;
    // open contours reach on by half an interval. Two intervals hold both.
    return 2;
}

bool TrnMethodReach(TrnMethodKind k, const TrnSpcMap& m, double itv, std::vector<float>* reach) {
    switch (k) {
    case TrnMethodCrs:
    case TrnMethodMinCrv:
        return false;
    case TrnMethodPath:
        break;
    }
    // Gradient paths. A post takes its band from the first contours around it and its height from
    // the nearest points of its two bounding levels; with contours that do not cross, those lie
    // within D2, the distance to the second-nearest level. The band's search meets contours
    // obliquely too: twice D2 (r1). The slopes beyond come from probes one mesh interval past those
    // nearest points, which read the band there and its nearest points: r1 again around every
    // place within D2 + itv (a summit's or a pit's second band beyond lies within that circle as
    // well, its D2 reaching past the first). Two mesh intervals more for the grid's own cuts and
    // seeds, which look at contours that near a post.
    const size_t n = m.d2.size();
    std::vector<float> r1(n);
    for (size_t i = 0; i < n; i++) r1[i] = 2 * m.d2[i];
    const SqMax around(r1, m.nx, m.ny);
    reach->assign(n, HUGE_VALF);
    for (int r = 0; r < m.ny; r++)
        for (int c = 0; c < m.nx; c++) {
            const size_t i = static_cast<size_t>(r) * m.nx + c;
            const double d2 = m.d2[i];
            if (!std::isfinite(d2)) continue;
            const double probe = d2 + itv;
            // Cells holding a point within probe of a point of this cell.
            const double h = std::ceil(probe / m.cell) + 1;
            const int hc = h > 1e6 ? 1000000 : static_cast<int>(h);
            const double far = around.Around(r, c, hc);
            if (!std::isfinite(far)) continue;
            (*reach)[i] = static_cast<float>(probe + far + 2 * itv);
        }
    return true;
}
