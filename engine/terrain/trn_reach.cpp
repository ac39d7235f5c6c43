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

// The nearest contour crossing a cell's rays meet, and the nearest of another level: the band the
// cell lies in and how far its rays must go to tell it.
struct Band {
    double da = HUGE_VAL, db = HUGE_VAL;   // distances; HUGE_VAL: none
    float la = 0, lb = 0;                  // their levels
    double far = 0;                        // the farthest first crossing of a ray
    double open = HUGE_VAL;                // the nearest exit of a ray past a side the contours go on beyond
    void Offer(double d, float l) {
        far = std::max(far, d);
        if (da == HUGE_VAL) {
            da = d;
            la = l;
        } else if (l == la) {
            da = std::min(da, d);
        } else if (d < da) {
            db = da;
            lb = la;
            da = d;
            la = l;
        } else if (d < db) {
            db = d;
            lb = l;
        }
    }
};

// A family of parallel lines through the cells' centres: rows, columns, diagonals (east-north) and
// antidiagonals (east-south). Line u holds the cells whose key is u; along it a cell sits at
// position k (its column; its row for columns), and a contour point's place is f (line) and g
// (position), in cells.
enum class Fam { Row, Col, Diag, Anti };

struct Lines {
    Fam fam;
    int nx, ny;
    int Count() const {
        switch (fam) {
        case Fam::Row: return ny;
        case Fam::Col: return nx;
        case Fam::Diag:
        case Fam::Anti: return nx + ny - 1;
        }
        return 0;
    }
    // Line and position of point (x, y) given in cells from the map's corner.
    double F(double x, double y) const {
        switch (fam) {
        case Fam::Row: return y - 0.5;
        case Fam::Col: return x - 0.5;
        case Fam::Diag: return x - y + (ny - 1);
        case Fam::Anti: return x + y - 1;
        }
        return 0;
    }
    double G(double x, double y) const { return fam == Fam::Col ? y - 0.5 : x - 0.5; }
    // Cells of line u: positions [k0, k1]; the cell at position k.
    void Span(int u, int* k0, int* k1) const {
        switch (fam) {
        case Fam::Row: *k0 = 0; *k1 = nx - 1; return;
        case Fam::Col: *k0 = 0; *k1 = ny - 1; return;
        case Fam::Diag: {
            const int d = u - (ny - 1);   // column - row
            *k0 = std::max(0, d);
            *k1 = std::min(nx - 1, ny - 1 + d);
            return;
        }
        case Fam::Anti:
            *k0 = std::max(0, u - (ny - 1));
            *k1 = std::min(nx - 1, u);
            return;
        }
    }
    long long Cell(int u, int k) const {
        switch (fam) {
        case Fam::Row: return static_cast<long long>(u) * nx + k;
        case Fam::Col: return static_cast<long long>(k) * nx + u;
        case Fam::Diag: return static_cast<long long>(k - (u - (ny - 1))) * nx + k;
        case Fam::Anti: return static_cast<long long>(u - k) * nx + k;
        }
        return 0;
    }
    double Step() const { return fam == Fam::Row || fam == Fam::Col ? 1.0 : std::sqrt(2.0); }
    // Whether a ray from the end cell at position k of line u leaves the map past an open side;
    // up: towards greater positions. open: west, east, south, north.
    bool Open(int u, int k, bool up, const bool open[4]) const {
        const long long i = Cell(u, k);
        const int c = static_cast<int>(i % nx), r = static_cast<int>(i / nx);
        switch (fam) {
        case Fam::Row: return open[up ? 1 : 0];
        case Fam::Col: return open[up ? 3 : 2];
        case Fam::Diag:
            return up ? (c == nx - 1 && open[1]) || (r == ny - 1 && open[3]) : (c == 0 && open[0]) || (r == 0 && open[2]);
        case Fam::Anti:
            return up ? (c == nx - 1 && open[1]) || (r == 0 && open[2]) : (c == 0 && open[0]) || (r == ny - 1 && open[3]);
        }
        return true;
    }
};

struct Cross {
    int u;
    float g;   // position along the line
    float h;   // level
};

// Every cell's rays along one family: the first crossing each way.
void Rays(const TrnSpcMap& m, const cntr* c, int nc, Fam fam, std::vector<Band>& band) {
    const Lines L{fam, m.nx, m.ny};
    std::vector<Cross> cs;
    for (int ci = 0; ci < nc; ci++) {
        const cntr& cc = c[ci];
        for (int j = 0; j + 1 < cc.n; j++) {
            const double px = (cc.pnt[2 * j] - m.x0) / m.cell, py = (cc.pnt[2 * j + 1] - m.y0) / m.cell;
            const double qx = (cc.pnt[2 * j + 2] - m.x0) / m.cell, qy = (cc.pnt[2 * j + 3] - m.y0) / m.cell;
            const double fp = L.F(px, py), fq = L.F(qx, qy);
            if (fp == fq) continue;
            const int u0 = std::max(0, static_cast<int>(std::ceil(std::min(fp, fq))));
            const int u1 = std::min(L.Count() - 1, static_cast<int>(std::floor(std::max(fp, fq))));
            for (int u = u0; u <= u1; u++) {
                const double t = (u - fp) / (fq - fp);
                const double g = L.G(px + t * (qx - px), py + t * (qy - py));
                int k0 = 0, k1 = -1;
                L.Span(u, &k0, &k1);
                // Past the map's side along the line: the contours beyond it are not all known (an
                // open side) or not seen (the grid's edge).
                if (g < k0 - 0.5 || g > k1 + 0.5) continue;
                cs.push_back({u, static_cast<float>(g), cc.hgt});
            }
        }
    }
    std::sort(cs.begin(), cs.end(), [](const Cross& a, const Cross& b) { return a.u != b.u ? a.u < b.u : a.g < b.g; });
    const double step = L.Step() * m.cell;
    size_t at = 0;
    for (int u = 0; u < L.Count(); u++) {
        size_t end = at;
        while (end < cs.size() && cs[end].u == u) end++;
        int k0 = 0, k1 = -1;
        L.Span(u, &k0, &k1);
        // ge: the first crossing at or after k; gt: the first after it. A ray that meets none
        // leaves the map.
        size_t ge = at, gt = at;
        for (int k = k0; k <= k1; k++) {
            Band& b = band[static_cast<size_t>(L.Cell(u, k))];
            while (ge < end && cs[ge].g < k) ge++;
            while (gt < end && cs[gt].g <= k) gt++;
            if (ge < end) b.Offer((cs[ge].g - k) * step, cs[ge].h);
            else if (L.Open(u, k1, true, m.open)) b.open = std::min(b.open, (k1 - k + 0.5) * step);
            if (gt > at) b.Offer((k - cs[gt - 1].g) * step, cs[gt - 1].h);
            else if (L.Open(u, k0, false, m.open)) b.open = std::min(b.open, (k - k0 + 0.5) * step);
        }
        at = end;
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
    std::vector<Band> band(m->d2.size());
    for (Fam f : {Fam::Row, Fam::Col, Fam::Diag, Fam::Anti}) Rays(*m, c, nc, f, band);
    // From the cell's centre, plus half its diagonal for the other posts of the cell.
    const double half = m->cell * std::sqrt(0.5);
    for (size_t i = 0; i < band.size(); i++) {
        const Band& b = band[i];
        double v = HUGE_VAL;
        // Crossings past an open side can only bring both levels nearer: db bounds the distance.
        if (b.db < HUGE_VAL) v = b.db;
        else if (b.da < HUGE_VAL && b.open == HUGE_VAL) v = b.far;   // one level on every side
        if (v < HUGE_VAL) m->d2[i] = static_cast<float>(v + half);
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
    // Gradient paths. A post takes its band from the first contours crossed around it along eight
    // directions and its height from the nearest points of its two levels: all within d2. The
    // slopes beyond come from probes one mesh interval past those nearest points, which read the
    // band there and its nearest points: d2 again around every place within d2 + itv (a summit's
    // second band beyond lies within that circle too; the circle's own cells make it at least
    // twice d2, room for a ray that a post sees pass a contour's bend or end where the cell's centre
    // does not). Two mesh intervals more for the grid's own cuts and seeds.
    const size_t n = m.d2.size();
    const SqMax around(m.d2, m.nx, m.ny);
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
