// From a scanned map to a terrain, as a user does it, through the engine's entry points: the
// shared synthetic contours drawn as a scanned sheet (lines of a given width, noise, a few gaps),
// written as a bitmap and loaded, traced with centre lines where the sheet lies, heights given
// with a few lines dragged across the contours, the checks' findings mended, a terrain
// generated and scored against the true heights. The end-to-end test and its benchmark share it.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "core/cmd.h"
#include "core/mode.h"
#include "curves/crv.h"
#include "cmd/crv_chk.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "image/img.h"
#include "image/vecimg.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "terrain/trn_cmd.h"
#include "vectorize/vec.h"
#include "app/modetbl.h"

namespace scen {

struct Cntr {
    std::vector<double> xy;  // x, y pairs (mm)
    double h;                // mm
};
struct Synth {
    double rgn[4] = {0, 0, 0, 0};
    double itv = 0;          // grid interval of the truth (mm)
    std::vector<Cntr> c;
};

// The shared contour file (region, interval, curves).
inline bool LoadSynth(const std::string& path, Synth& s) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    char line[256];
    int want = 0;
    while (std::fgets(line, sizeof line, f)) {
        if (line[0] == '#' || line[0] == '\n') continue;
        double a, b, c, d;
        int n;
        if (want > 0) {
            if (std::sscanf(line, "%lf %lf", &a, &b) != 2) break;
            s.c.back().xy.push_back(a);
            s.c.back().xy.push_back(b);
            --want;
        } else if (std::sscanf(line, "region %lf %lf %lf %lf", &a, &b, &c, &d) == 4) {
            s.rgn[0] = a, s.rgn[1] = b, s.rgn[2] = c, s.rgn[3] = d;
        } else if (std::sscanf(line, "interval %lf", &a) == 1) {
            s.itv = a;
        } else if (std::sscanf(line, "curve %d %lf", &n, &a) == 2) {
            s.c.push_back({{}, a});
            want = n;
        }
    }
    std::fclose(f);
    return want == 0 && !s.c.empty();
}

// True heights in metres, row 0 (south) first, rows x cols.
inline bool LoadTruth(const std::string& path, std::vector<double>& t, long long want) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    char buf[64];
    int ch;
    while ((ch = std::fgetc(f)) == '#')
        while ((ch = std::fgetc(f)) != '\n' && ch != EOF) {}
    if (ch != EOF) std::ungetc(ch, f);
    while (std::fscanf(f, "%63s", buf) == 1) t.push_back(std::atof(buf));
    std::fclose(f);
    return static_cast<long long>(t.size()) == want;
}

struct MapOpt {
    double dpi = 300, scl = 25000;
    double widthPx = 4;     // line width
    double noise = 0.002;   // share of pixels flipped
    int gaps = 4;           // gaps cut into the lines
    double gapPx = 3;       // radius of a gap
    uint32_t seed = 12345;
};

// A scanned sheet: RGBA rows top first; the sheet's lower-left corner lies at the region's.
struct Sheet {
    int w = 0, h = 0;
    double p = 0;  // mm per pixel
    std::vector<uint8_t> pix;
    ImgRec Img() { return ImgRec{nullptr, w, h, 4LL * w, pix.data()}; }
};

inline uint32_t Rnd(uint32_t& s) {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}

inline Sheet Render(const Synth& s, const MapOpt& o) {
    Sheet m;
    m.p = 25.4 / o.dpi * o.scl;
    m.w = static_cast<int>(std::ceil((s.rgn[2] - s.rgn[0]) / m.p));
    m.h = static_cast<int>(std::ceil((s.rgn[3] - s.rgn[1]) / m.p));
    m.pix.assign(4ULL * m.w * m.h, 255);
    std::vector<uint8_t> ink(static_cast<size_t>(m.w) * m.h, 0);
    const double r = o.widthPx / 2;
    // Pixel (x, y) has its centre at ((x + 0.5) p, (h - y - 0.5) p) from the corner.
    for (const Cntr& c : s.c)
        for (size_t j = 0; j + 3 < c.xy.size(); j += 2) {
            const double ax = (c.xy[j] - s.rgn[0]) / m.p, ay = m.h - (c.xy[j + 1] - s.rgn[1]) / m.p;
            const double bx = (c.xy[j + 2] - s.rgn[0]) / m.p, by = m.h - (c.xy[j + 3] - s.rgn[1]) / m.p;
            const int x0 = std::max(0, static_cast<int>(std::floor(std::min(ax, bx) - r - 1)));
            const int x1 = std::min(m.w - 1, static_cast<int>(std::ceil(std::max(ax, bx) + r + 1)));
            const int y0 = std::max(0, static_cast<int>(std::floor(std::min(ay, by) - r - 1)));
            const int y1 = std::min(m.h - 1, static_cast<int>(std::ceil(std::max(ay, by) + r + 1)));
            const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    const double px = x + 0.5, py = y + 0.5;
                    double t = l2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / l2 : 0;
                    t = std::clamp(t, 0.0, 1.0);
                    if (std::hypot(px - ax - t * dx, py - ay - t * dy) <= r) ink[static_cast<size_t>(y) * m.w + x] = 1;
                }
        }
    uint32_t rs = o.seed;
    // Gaps: paper cut into lines at points of the longer contours.
    for (int g = 0; g < o.gaps; ++g) {
        const Cntr& c = s.c[Rnd(rs) % s.c.size()];
        if (c.xy.size() < 40) continue;
        const size_t k = 2 * (10 + Rnd(rs) % (c.xy.size() / 2 - 20));
        const double cx = (c.xy[k] - s.rgn[0]) / m.p, cy = m.h - (c.xy[k + 1] - s.rgn[1]) / m.p;
        for (int y = static_cast<int>(cy - o.gapPx - 1); y <= cy + o.gapPx + 1; ++y)
            for (int x = static_cast<int>(cx - o.gapPx - 1); x <= cx + o.gapPx + 1; ++x)
                if (x >= 0 && y >= 0 && x < m.w && y < m.h && std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= o.gapPx)
                    ink[static_cast<size_t>(y) * m.w + x] = 0;
    }
    // Noise: single pixels flipped both ways.
    const long long flips = static_cast<long long>(o.noise * m.w * m.h);
    for (long long i = 0; i < flips; ++i) {
        const size_t q = (static_cast<size_t>(Rnd(rs)) * 4099u + Rnd(rs)) % ink.size();
        ink[q] ^= 1;
    }
    for (size_t i = 0; i < ink.size(); ++i)
        if (ink[i]) m.pix[4 * i] = m.pix[4 * i + 1] = m.pix[4 * i + 2] = 30;
    return m;
}

// The height a user reads on the sheet for a traced curve: that of the printed contour nearest
// to the curve's middle point.
inline double LabelOf(const Synth& s, const crv* k) {
    const float* q = k->p + 3 * (k->n / 2);
    double best = 1e300, h = 0;
    for (const Cntr& c : s.c)
        for (size_t j = 0; j + 1 < c.xy.size(); j += 2) {
            const double d = std::hypot(c.xy[j] - q[0], c.xy[j + 1] - q[1]);
            if (d < best) best = d, h = c.h;
        }
    return h;
}

// Curves a line from a to b meets, by their first crossing from a.
inline std::vector<int> Crossed(const double a[2], const double b[2]) {
    std::vector<std::pair<double, int>> hit;
    for (int k = 0; k < CrvPart->crvs.n; ++k) {
        const crv* c = CrvPart->crvs.a[k];
        double best = -1;
        for (int j = 0; j + 1 < c->n; ++j) {
            const double s0[2] = {c->p[3 * j], c->p[3 * j + 1]}, s1[2] = {c->p[3 * j + 3], c->p[3 * j + 4]};
            double x[2][2];
            if (IntscSeg(s0, s1, a, b, x) == 0) continue;
            const double t = std::hypot(x[0][0] - a[0], x[0][1] - a[1]);
            if (best < 0 || t < best) best = t;
        }
        if (best >= 0) hit.push_back({best, k});
    }
    std::stable_sort(hit.begin(), hit.end(), [](const auto& u, const auto& v) { return u.first < v.first; });
    std::vector<int> out;
    for (const auto& h : hit) out.push_back(h.second);
    return out;
}

struct Actions {
    int lines = 0;     // height lines drawn
    int mended = 0;    // curves mended after the check
    int deleted = 0;   // of those, specks deleted
    int findings = 0;  // findings of the first check
};

// Height lines as a user draws them: straight across contours whose printed heights rise (or
// fall) by one interval at each crossing, each line giving heights to as many curves still
// without one as possible; at most maxLines. label[k] is the printed height of curve k.
inline int GiveHeights(const Synth& s, const std::vector<double>& label, double step, int maxLines, uint32_t seed) {
    uint32_t rs = seed;
    std::vector<char> done(label.size(), 0);
    int lines = 0;
    const double W = s.rgn[2] - s.rgn[0], H = s.rgn[3] - s.rgn[1];
    for (; lines < maxLines; ++lines) {
        double bestA[2] = {0, 0}, bestB[2] = {0, 0};
        int bestGain = 0;
        double bestH = 0, bestD = 0;
        for (int cand = 0; cand < 400; ++cand) {
            const double a[2] = {s.rgn[0] + W * (Rnd(rs) % 10000) / 10000.0, s.rgn[1] + H * (Rnd(rs) % 10000) / 10000.0};
            const double b[2] = {s.rgn[0] + W * (Rnd(rs) % 10000) / 10000.0, s.rgn[1] + H * (Rnd(rs) % 10000) / 10000.0};
            std::vector<int> x = Crossed(a, b);
            if (x.size() < 2) continue;
            const double d = label[x[1]] - label[x[0]];
            if (std::fabs(std::fabs(d) - step) > 1) continue;
            bool ok = true;
            int gain = 0;
            for (size_t i = 0; i < x.size() && ok; ++i) {
                ok = std::fabs(label[x[i]] - (label[x[0]] + d * static_cast<double>(i))) < 1;
                gain += !done[x[i]];
            }
            if (ok && gain > bestGain) {
                bestGain = gain;
                bestA[0] = a[0], bestA[1] = a[1], bestB[0] = b[0], bestB[1] = b[1];
                bestH = label[x[0]];
                bestD = d;
            }
        }
        if (bestGain == 0) break;
        HgtLinStart = static_cast<float>(bestH);
        HgtLinStep = static_cast<float>(bestD);
        HgtLin(bestA, bestB);
        for (int k : Crossed(bestA, bestB)) done[k] = 1;
        bool all = true;
        for (char c : done) all = all && c;
        if (all) {
            ++lines;
            break;
        }
    }
    return lines;
}

// One automatic connection over the whole sheet, dragged in the view fitted to it: ends of the
// same height within the connection distance join (gaps, pieces split where lines touched).
// Returns the curves joined away.
inline int ConnectAll() {
    const int before = CrvPart->crvs.n;
    WinSizW = 800;
    WinSizH = 600;
    IntrCmd(CatDsp, CmdDspResize);
    IntrCmd(CatDsp, CmdFitView);
    IntrCmd(CatDrw2D, CmdCrvAuto);
    SetPtrPix(1, 1);
    IntrEvt(EVT_LDOWN);
    SetPtrPix(798, 598);
    IntrEvt(EVT_LUP);
    IntrEvt(EVT_RDOWN);
    IntrEvt(EVT_RUP);
    return before - CrvPart->crvs.n;
}

// What a user does with the findings: a curve without a height gets the height printed beside
// it, a speck too short to be a contour is deleted, and open ends are joined by one automatic
// connection over the sheet. Returns the curves mended (heights given, specks deleted, curves
// joined away).
inline int Mend(const Synth& s, const std::vector<ChkFnd>& f, double minLen, int* deleted, int* joined) {
    std::vector<crv*> del;
    int mended = 0;
    bool open = false;
    for (const ChkFnd& k : f) {
        open = open || k.kind == ChkOpen;
        if (k.kind != ChkZero) continue;
        crv* c = CrvPart->crvs.a[k.i];
        double len = 0;
        for (int j = 0; j + 1 < c->n; ++j)
            len += std::hypot(c->p[3 * j + 3] - c->p[3 * j], c->p[3 * j + 4] - c->p[3 * j + 1]);
        if (len < minLen) {
            del.push_back(c);
        } else {
            SetCrvHgt(c, static_cast<float>(LabelOf(s, c)));
        }
        ++mended;
    }
    for (crv* c : del) FreeCrv(c);
    if (deleted) *deleted = static_cast<int>(del.size());
    UdtCrvBox();
    const int j = open ? ConnectAll() : 0;
    if (joined) *joined = j;
    return mended + j;
}

// The terrain over the region at interval itv; heights in metres row by row (south first).
inline std::vector<double> Generate(const Synth& s, double itv, int* rows, int* cols) {
    TrnRgn[0] = static_cast<float>(s.rgn[0]);
    TrnRgn[1] = static_cast<float>(s.rgn[1]);
    TrnRgn[3] = static_cast<float>(s.rgn[2]);
    TrnRgn[4] = static_cast<float>(s.rgn[3]);
    MshItv = static_cast<float>(itv);
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    IntrCmd(CatMdl, CmdTrnCre);
    std::vector<double> g;
    *rows = *cols = 0;
    if (!TrnSrf || !TrnGrd) return g;
    *rows = TrnGrd->rows;
    *cols = TrnGrd->cols;
    for (int i = 0; i < TrnSrf->nv; ++i) g.push_back(TrnSrf->v[3 * i + 2] / 1000.0);
    return g;
}

// Root mean square error (m) of a grid at interval itv against the 5 m truth.
inline double Rmse(const std::vector<double>& g, int rows, int cols, const std::vector<double>& truth,
                   int tRows, int tCols, double itv, double truthItv) {
    const int k = static_cast<int>(std::lround(itv / truthItv));
    double s = 0;
    long long n = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int tr = r * k, tc = c * k;
            if (tr >= tRows || tc >= tCols) continue;
            const double d = g[static_cast<size_t>(r) * cols + c] - truth[static_cast<size_t>(tr) * tCols + tc];
            s += d * d;
            ++n;
        }
    return n ? std::sqrt(s / static_cast<double>(n)) : 1e300;
}

// The printed contours themselves as curves (what a careful digitiser would make).
inline void PutOriginal(const Synth& s) {
    for (const Cntr& c : s.c) {
        crv* k = NewCrv();
        for (size_t j = 0; j + 1 < c.xy.size(); j += 2)
            AddPnt(k, static_cast<float>(c.xy[j]), static_cast<float>(c.xy[j + 1]), static_cast<float>(c.h));
        SetCrvHgt(k, static_cast<float>(c.h));
        CalCrvBox(k);
    }
    UdtCrvBox();
}

}  // namespace scen
