// Contour checks: what in the curves would spoil a terrain. Segment pairs are found through a
// uniform grid of buckets; neighbouring curves are those whose nearest-curve areas meet on a
// raster of the region.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <unordered_map>
#include "core/msg.h"
#include "cmd/crv_chk.h"
#include "curves/crv_int.h"
#include "display/viewint.h"
#include "display/view.h"
#include "terrain/trn.h"
#include "cmd/crv_cmds.h"

std::vector<ChkFnd> CrvChkRes;

namespace {

constexpr double EndTol = 0.001;  // ends closer than this close a curve
constexpr double HgtTol = 0.001;  // heights closer than this are equal
constexpr int ChkCells = 1024;
// Neighbours share at least this many raster cell edges.
constexpr int NbrMinEdges = 3;

float Hgt(const crv* c) { return c->n > 0 ? c->p[2] : 0.0f; }
bool Closed(const crv* c) {
    return c->n >= 3 && std::hypot(c->p[0] - c->p[3 * (c->n - 1)], c->p[1] - c->p[3 * (c->n - 1) + 1]) < EndTol;
}

struct Seg {
    int c, j;  // curve, first point
};

// Buckets of segments over the curves' box.
class SegGrid {
public:
    SegGrid(const crv* const* c, int n, const double box[4]) : c_(c) {
        long long segs = 0;
        for (int i = 0; i < n; ++i) segs += c[i]->n > 1 ? c[i]->n - 1 : 0;
        const double w = std::max(box[2] - box[0], 1e-9), h = std::max(box[3] - box[1], 1e-9);
        // About one segment per bucket.
        const double side = std::sqrt(w * h / static_cast<double>(std::max(1LL, segs)));
        nx_ = std::clamp(static_cast<int>(w / side) + 1, 1, 2048);
        ny_ = std::clamp(static_cast<int>(h / side) + 1, 1, 2048);
        x0_ = box[0];
        y0_ = box[1];
        sx_ = w / nx_;
        sy_ = h / ny_;
        b_.resize(static_cast<size_t>(nx_) * ny_);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j + 1 < c[i]->n; ++j) {
                const float* p = c[i]->p + 3 * j;
                int ax, ay, bx, by;
                Cell(std::fmin(p[0], p[3]), std::fmin(p[1], p[4]), &ax, &ay);
                Cell(std::fmax(p[0], p[3]), std::fmax(p[1], p[4]), &bx, &by);
                for (int y = ay; y <= by; ++y)
                    for (int x = ax; x <= bx; ++x) b_[static_cast<size_t>(y) * nx_ + x].push_back({i, j});
            }
    }
    const std::vector<std::vector<Seg>>& Buckets() const { return b_; }

private:
    const crv* const* c_;
    int nx_, ny_;
    double x0_, y0_, sx_, sy_;
    std::vector<std::vector<Seg>> b_;
    void Cell(double x, double y, int* cx, int* cy) const {
        *cx = std::clamp(static_cast<int>((x - x0_) / sx_), 0, nx_ - 1);
        *cy = std::clamp(static_cast<int>((y - y0_) / sy_), 0, ny_ - 1);
    }
};

void SegPts(const crv* c, int j, double a[2], double b[2]) {
    a[0] = c->p[3 * j];
    a[1] = c->p[3 * j + 1];
    b[0] = c->p[3 * j + 3];
    b[1] = c->p[3 * j + 4];
}

// Crossings between curves of different heights and of a curve with itself.
void Crossings(const crv* const* c, int n, const double box[4], std::vector<ChkFnd>& out) {
    SegGrid g(c, n, box);
    std::map<std::pair<int, int>, std::pair<double, double>> pairs;  // first place of each pair
    for (const std::vector<Seg>& bk : g.Buckets())
        for (size_t u = 0; u < bk.size(); ++u)
            for (size_t v = u + 1; v < bk.size(); ++v) {
                Seg s = bk[u], t = bk[v];
                if (s.c > t.c || (s.c == t.c && s.j > t.j)) std::swap(s, t);
                const crv* ci = c[s.c];
                const crv* cj = c[t.c];
                if (s.c == t.c) {
                    if (t.j - s.j <= 1) continue;  // neighbours share a point
                    if (Closed(ci) && s.j == 0 && t.j == ci->n - 2) continue;
                } else if (std::fabs(Hgt(ci) - Hgt(cj)) < HgtTol) {
                    continue;
                }
                const auto key = std::make_pair(s.c == t.c ? s.c : s.c, s.c == t.c ? -1 : t.c);
                if (pairs.count(key)) continue;
                double a[2], b[2], p[2], q[2], x[2][2];
                SegPts(ci, s.j, a, b);
                SegPts(cj, t.j, p, q);
                if (IntscSeg(a, b, p, q, x) == 0) continue;
                pairs[key] = {x[0][0], x[0][1]};
            }
    for (const auto& [k, at] : pairs)
        out.push_back({k.second < 0 ? ChkSelf : ChkCross, k.first, k.second, at.first, at.second});
}

double SegDst(const double p[2], const float* a, const float* b) {
    const double dx = b[0] - a[0], dy = b[1] - a[1];
    const double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / l2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p[0] - (a[0] + t * dx), p[1] - (a[1] + t * dy));
}

// Every point of a lies within tol of the polyline b.
bool Within(const crv* a, const crv* b, double tol) {
    for (int i = 0; i < a->n; ++i) {
        const double p[2] = {a->p[3 * i], a->p[3 * i + 1]};
        bool near = false;
        if (b->n == 1) near = std::hypot(p[0] - b->p[0], p[1] - b->p[1]) <= tol;
        for (int j = 0; j + 1 < b->n && !near; ++j) near = SegDst(p, b->p + 3 * j, b->p + 3 * j + 3) <= tol;
        if (!near) return false;
    }
    return true;
}

void Duplicates(const crv* const* c, int n, double tol, std::vector<ChkFnd>& out) {
    // Candidates have nearly the same box: sort by the box's low x.
    std::vector<int> ord;
    for (int i = 0; i < n; ++i)
        if (c[i]->n > 0) ord.push_back(i);
    std::sort(ord.begin(), ord.end(), [&](int u, int v) { return c[u]->box.min[0] < c[v]->box.min[0]; });
    for (size_t u = 0; u < ord.size(); ++u)
        for (size_t v = u + 1; v < ord.size(); ++v) {
            const crv* a = c[ord[u]];
            const crv* b = c[ord[v]];
            if (b->box.min[0] - a->box.min[0] > tol) break;
            bool boxEq = true;
            for (int q = 0; q < 2; ++q)
                boxEq = boxEq && std::fabs(a->box.min[q] - b->box.min[q]) <= tol &&
                        std::fabs(a->box.max[q] - b->box.max[q]) <= tol;
            if (!boxEq || !Within(a, b, tol) || !Within(b, a, tol)) continue;
            const int i = std::min(ord[u], ord[v]), j = std::max(ord[u], ord[v]);
            out.push_back({ChkDup, i, j, c[i]->p[0], c[i]->p[1]});
        }
}

// The most frequent difference between adjacent levels (mm); 0 with fewer than two levels.
double Interval(const crv* const* c, int n) {
    std::vector<double> lv;
    for (int i = 0; i < n; ++i)
        if (c[i]->n > 0 && std::fabs(Hgt(c[i])) >= HgtTol) lv.push_back(std::round(Hgt(c[i]) * 100.0) / 100.0);
    std::sort(lv.begin(), lv.end());
    lv.erase(std::unique(lv.begin(), lv.end()), lv.end());
    std::map<double, int> cnt;
    for (size_t i = 1; i < lv.size(); ++i) ++cnt[std::round((lv[i] - lv[i - 1]) * 100.0) / 100.0];
    double best = 0;
    int bestN = 0;
    for (const auto& [d, k] : cnt)
        if (k > bestN) best = d, bestN = k;  // ties: the smaller interval
    return best;
}

// Neighbours: each raster cell takes the curve nearest to it (breadth first from the cells the
// curves pass through); two curves are neighbours where their cells meet.
void Jumps(const crv* const* c, int n, const double box[4], int cells, double itv, std::vector<ChkFnd>& out) {
    const double w = box[2] - box[0], h = box[3] - box[1];
    if (!(w > 0) && !(h > 0)) return;
    const double s = std::max(w, h) / std::max(cells, 8);
    const int nx = std::max(1, static_cast<int>(w / s) + 1), ny = std::max(1, static_cast<int>(h / s) + 1);
    std::vector<int32_t> lab(static_cast<size_t>(nx) * ny, 0);
    std::vector<int> q;
    auto put = [&](double x, double y, int k) {
        const int cx = std::clamp(static_cast<int>((x - box[0]) / s), 0, nx - 1);
        const int cy = std::clamp(static_cast<int>((y - box[1]) / s), 0, ny - 1);
        const int i = cy * nx + cx;
        if (lab[i] == k + 1) return;
        if (!lab[i]) q.push_back(i);
        lab[i] = k + 1;
    };
    for (int k = 0; k < n; ++k) {
        const crv* ck = c[k];
        for (int j = 0; j < ck->n; ++j) {
            const float* a = ck->p + 3 * j;
            put(a[0], a[1], k);
            if (j + 1 == ck->n) break;
            const float* b = a + 3;
            const int steps = static_cast<int>(std::hypot(b[0] - a[0], b[1] - a[1]) / (s / 2));
            for (int t = 1; t <= steps; ++t) {
                const double f = static_cast<double>(t) / (steps + 1);
                put(a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1]), k);
            }
        }
    }
    for (size_t h0 = 0; h0 < q.size(); ++h0) {
        const int i = q[h0];
        const int x = i % nx, y = i / nx;
        const int nbs[4] = {x > 0 ? i - 1 : -1, x + 1 < nx ? i + 1 : -1, y > 0 ? i - nx : -1, y + 1 < ny ? i + nx : -1};
        for (int j : nbs)
            if (j >= 0 && !lab[j]) {
                lab[j] = lab[i];
                q.push_back(j);
            }
    }
    struct Meet {
        int edges = 0;
        double x = 0, y = 0;
    };
    std::unordered_map<long long, Meet> meet;
    auto touch = [&](int i, int j) {
        int a = lab[i] - 1, b = lab[j] - 1;
        if (a == b || a < 0 || b < 0) return;
        if (a > b) std::swap(a, b);
        Meet& m = meet[static_cast<long long>(a) * n + b];
        if (m.edges++ == 0) {
            m.x = box[0] + (i % nx + 0.5) * s;
            m.y = box[1] + (i / nx + 0.5) * s;
        }
    };
    for (int y = 0; y < ny; ++y)
        for (int x = 0; x < nx; ++x) {
            const int i = y * nx + x;
            if (x + 1 < nx) touch(i, i + 1);
            if (y + 1 < ny) touch(i, i + nx);
        }
    // Neighbours of each curve with a height (by the cells where they meet).
    std::vector<std::vector<int>> nbr(static_cast<size_t>(n));
    for (const auto& [key, m] : meet) {
        const int a = static_cast<int>(key / n), b = static_cast<int>(key % n);
        if (m.edges < NbrMinEdges || std::fabs(Hgt(c[a])) < HgtTol || std::fabs(Hgt(c[b])) < HgtTol) continue;
        nbr[a].push_back(b);
        nbr[b].push_back(a);
    }
    // Which way the ground goes from curve a, leaving out curve skip and the curves of a's own
    // height: +1 only up, -1 only down, 0 both ways or nowhere.
    auto slope = [&](int a, int skip) {
        bool up = false, down = false;
        for (int k : nbr[a]) {
            if (k == skip) continue;
            const double d = Hgt(c[k]) - Hgt(c[a]);
            up = up || d >= HgtTol;
            down = down || d <= -HgtTol;
        }
        return up == down ? 0 : up ? 1 : -1;
    };
    for (const auto& [key, m] : meet) {
        const int a = static_cast<int>(key / n), b = static_cast<int>(key % n);
        const double ha = Hgt(c[a]), hb = Hgt(c[b]);
        if (m.edges < NbrMinEdges || std::fabs(ha) < HgtTol || std::fabs(hb) < HgtTol) continue;
        const double dh = std::fabs(ha - hb);
        const bool jump = itv > 0 && dh > itv * 1.001 + HgtTol;
        // Equal neighbours are a valley or a ridge when the ground rises (or falls) away from both;
        // when it rises beyond one and falls beyond the other, the slope runs through them and
        // one of the two heights is wrong.
        bool equal = false;
        if (dh < HgtTol) {
            const int sa = slope(a, b), sb = slope(b, a);
            equal = sa != 0 && sb != 0 && sa != sb;
        }
        if (jump || equal) out.push_back({ChkJump, a, b, m.x, m.y});
    }
}

bool FndLess(const ChkFnd& u, const ChkFnd& v) {
    if (u.kind != v.kind) return u.kind < v.kind;
    if (u.i != v.i) return u.i < v.i;
    return u.j < v.j;
}

}  // namespace

const char* ChkWord(ChkKind k) {
    switch (k) {
    case ChkCross: return "crossing";
    case ChkSelf: return "selfcrossing";
    case ChkDup: return "duplicate";
    case ChkZero: return "zeroheight";
    case ChkOpen: return "openend";
    case ChkJump: return "heightjump";
    }
    return "?";
}

ChkPrm CurChkPrm() {
    ChkPrm p{};
    bool any = false;
    double b[4] = {0, 0, 0, 0};
    if (CrvPart)
        for (int i = 0; i < CrvPart->crvs.n; ++i) {
            const crv* c = CrvPart->crvs.a[i];
            for (int j = 0; j < c->n; ++j) {
                const double x = c->p[3 * j], y = c->p[3 * j + 1];
                if (!any) {
                    b[0] = b[2] = x;
                    b[1] = b[3] = y;
                    any = true;
                }
                b[0] = std::min(b[0], x);
                b[1] = std::min(b[1], y);
                b[2] = std::max(b[2], x);
                b[3] = std::max(b[3], y);
            }
        }
    // Within the terrain region, when the two overlap.
    const double r[4] = {std::min(TrnRgn[0], TrnRgn[3]), std::min(TrnRgn[1], TrnRgn[4]),
                         std::max(TrnRgn[0], TrnRgn[3]), std::max(TrnRgn[1], TrnRgn[4])};
    if (any && r[0] < b[2] && r[2] > b[0] && r[1] < b[3] && r[3] > b[1]) {
        b[0] = std::max(b[0], r[0]);
        b[1] = std::max(b[1], r[1]);
        b[2] = std::min(b[2], r[2]);
        b[3] = std::min(b[3], r[3]);
    }
    for (int q = 0; q < 4; ++q) p.rgn[q] = b[q];
    const double side = std::min(b[2] - b[0], b[3] - b[1]);
    const double diag = std::hypot(b[2] - b[0], b[3] - b[1]);
    p.edgeTol = std::max(0.01 * side, 1e-3);
    p.dupTol = std::max(1e-5 * diag, 1e-3);
    p.cells = ChkCells;
    return p;
}

std::vector<ChkFnd> ChkCrv(const crv* const* c, int n, const ChkPrm& prm, double* itvOut) {
    std::vector<ChkFnd> out;
    double box[4] = {0, 0, 0, 0};
    bool any = false, heights = false;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < c[i]->n; ++j) {
            const double x = c[i]->p[3 * j], y = c[i]->p[3 * j + 1];
            if (!any) {
                box[0] = box[2] = x;
                box[1] = box[3] = y;
                any = true;
            }
            box[0] = std::min(box[0], x);
            box[1] = std::min(box[1], y);
            box[2] = std::max(box[2], x);
            box[3] = std::max(box[3], y);
            heights = heights || std::fabs(c[i]->p[3 * j + 2]) >= HgtTol;
        }
    const double itv = Interval(c, n);
    if (itvOut) *itvOut = itv;
    if (!any) return out;
    Crossings(c, n, box, out);
    Duplicates(c, n, prm.dupTol, out);
    for (int i = 0; i < n; ++i) {
        const crv* k = c[i];
        if (k->n == 0) continue;
        if (heights && std::fabs(Hgt(k)) < HgtTol) out.push_back({ChkZero, i, -1, k->p[0], k->p[1]});
        if (k->n < 2 || Closed(k)) continue;
        for (int e = 0; e < 2; ++e) {
            const float* p = k->p + (e ? 3 * (k->n - 1) : 0);
            const double d = std::min(std::min(p[0] - prm.rgn[0], prm.rgn[2] - p[0]),
                                      std::min(p[1] - prm.rgn[1], prm.rgn[3] - p[1]));
            if (d > prm.edgeTol) {
                out.push_back({ChkOpen, i, -1, p[0], p[1]});
                break;
            }
        }
    }
    Jumps(c, n, box, prm.cells, itv, out);
    std::sort(out.begin(), out.end(), FndLess);
    return out;
}

int CrvChkCmd() {
    CrvChkRes.clear();
    if (CrvPart) CrvChkRes = ChkCrv(CrvPart->crvs.a, CrvPart->crvs.n, CurChkPrm());
    char t[MsgLinLen];
    std::snprintf(t, sizeof t, MsgTx("等高線のチェック: %d 件", "Contour check: %d findings."),
                  static_cast<int>(CrvChkRes.size()));
    PutMsg(t);
    return 0;
}

int ShowChkFnd(int k) {
    if (k < 0 || k >= static_cast<int>(CrvChkRes.size()) || !CrvPart) return -1;
    const ChkFnd& f = CrvChkRes[k];
    ClrCrvSlct();
    for (int i : {f.i, f.j})
        if (i >= 0 && i < CrvPart->crvs.n) AddCrvSlct(CrvPart->crvs.a[i]);
    if (CurCamObj) {
        CamView& v = CurCamObj->view;
        v.RotCnt[0] = f.x;
        v.RotCnt[1] = f.y;
        v.ScrShf[0] = v.ScrShf[1] = 0;
        UpdEyePos(CurCamObj);
        NtfCam(0x1700);
        SetView(0);
    }
    Redraw();
    return 0;
}
