// How every generation method bears the defects of real contour data, beside the triangulation of
// the same contour vertices (GDAL's linear gridder, as `gdal_grid -a linear`).
//
//   trn_robust [METHODS] [CASES] [DEFECTS] [SEED]
//
// METHODS: command-line names of the methods, comma-separated (default: all of them). CASES: any of
// "synth" (the shared synthetic contours, 5 m grid, truth synth-truth.txt), "andes20", "andes50"
// (the real 10 m Andean model and its 20 m and 50 m contours), "lowland1", "lowland2" (the real
// 1 m lowland model and its 1 m and 2 m contours), "landforms" (those of bench_land.h, each also
// by its name); default all but the landforms. DEFECTS: any of those below, default all. SEED: a
// whole number (default 1). An empty argument or "all" takes the default, so
// `trn_robust gradient-paths andes20 gaps,wholem` reruns two cells.
//
// Each defect is a function of the clean input and a generator seeded from SEED, the case and the
// defect, so that any selection of cells gives the same inputs. CI is the contour interval (the
// smallest step between the clean levels), a mesh interval the grid's post spacing.
//   clean     the contours as the shared data gives them (always run: the reference of the ratios).
//   traced    contours traced by GDAL (GDALContourGenerateEx) from the true grid at every CI.
//   wholem    the same from the truth rounded to whole metres, so that many contours run exactly
//             through posts and along grid lines (GDAL takes a post on a level as just above it:
//             such contours follow the lower edge of each plateau of one height).
//   dm        the same from the truth rounded to decimetres.
//   onpost    every vertex moved onto the nearer grid line (x or y) and one vertex in ten onto
//             the nearest post.
//   gaps      gaps of 2-6 mesh intervals cut every 250-750 m of line (the first within the first
//             500 m), splitting lines into pieces.
//   openends  every closed contour opened (3-10 mesh intervals removed at one place, at most half
//             the ring); every end that reaches the region's edge trimmed short of it by 2-10 mesh
//             intervals (at most a quarter of the line), so that no line vanishes.
//   dupes     one line in ten repeated at the end of the list, half of those copies with every
//             vertex moved by less than 0.01 mm (in the engine's float coordinates most of them
//             then coincide with the original); every line, copies too, reversed with chance 1/2.
//   half      supplementary contours at every level + CI/2, traced from the truth and kept only
//             where the ground is flat (the truth's slope below its lower quartile over the scored
//             posts, pieces of at least 5 mesh intervals).
//   wrong     the longest line of an index level (every fifth level) set one CI too high.
//   hole      every piece of contour inside a disk of 5 % of the region's area removed (a lake);
//             the disk lies inside the region with its centre on a scored post.
// The ratios of wholem and dm are to traced (what rounding alone does), of the others to clean.
// Every input is scored against the unrounded truth (ALT_ROUNDED_TRUTH=1: wholem and dm against the
// rounded grid they were traced from); the line "rounding alone" gives the rounded grid's own error.
//
// Score: over the posts inside the contours' hull (the real cases' masks, the convex hull of the
// synthetic contours) that are also inside the convex hull of the defective input's vertices
// (beyond it every method extrapolates): RMSE / CI, largest error / CI, the number of posts more
// than 2 CI off; for wrong also the area (ha) of the posts more than 1 CI off; for openends also
// the score over the posts more than 10 mesh intervals from the region's edge (the trimmed ends
// leave an edge strip that every method extrapolates). Each method and the triangulation run in a
// child process under a time limit (ALT_LIMIT seconds, default 300), so that a crash or a hang
// costs one cell. Progress per run goes to stderr; per case a table (rows: defects; per method
// RMSE/CI, ratio, max/CI, posts > 2 CI) goes to stdout, and at the end the table of ratios.
// ALT_DUMP=PREFIX writes every input as PREFIX-CASE-DEFECT.txt (the format of synth-contours.txt)
// and every grid as PREFIX-CASE-DEFECT-METHOD.txt (metres, south row first).
#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include <gdal.h>
#include <gdal_alg.h>
#include <ogr_api.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "terrain/trn.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mth.h"
#include "bench_cases.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {

using Line = std::vector<double>;   // x y pairs, mm

const char* const kDefects[] = {"traced", "wholem", "dm", "onpost", "gaps", "openends", "dupes", "half", "wrong", "hole"};

uint64_t Hash(const std::string& s) {
    uint64_t h = 1469598103934665603ULL;
    for (unsigned char ch : s) h = (h ^ ch) * 1099511628211ULL;
    return h;
}

// The grid of a case: R x C posts `step` mm apart from the region's south-west corner.
struct Grid {
    int R = 0, C = 0;
    double x0 = 0, y0 = 0, step = 0;
    double W() const { return (C - 1) * step; }
    double H() const { return (R - 1) * step; }
};

size_t NPts(const Line& l) { return l.size() / 2; }

// Cumulative length along a line, per vertex.
std::vector<double> Cum(const Line& l) {
    std::vector<double> c(NPts(l), 0.0);
    for (size_t i = 1; i < c.size(); i++)
        c[i] = c[i - 1] + std::hypot(l[2 * i] - l[2 * i - 2], l[2 * i + 1] - l[2 * i - 1]);
    return c;
}

bool Closed(const Line& l) {
    const size_t n = NPts(l);
    return n > 3 && std::hypot(l[0] - l[2 * n - 2], l[1] - l[2 * n - 1]) < 1e-3;
}

// The part of l between arc lengths s0 < s1, ends interpolated.
Line SubLine(const Line& l, const std::vector<double>& cum, double s0, double s1) {
    Line out;
    const size_t n = cum.size();
    auto at = [&](double s) {
        size_t i = std::upper_bound(cum.begin(), cum.end(), s) - cum.begin();
        i = std::clamp<size_t>(i, 1, n - 1);
        const double len = cum[i] - cum[i - 1];
        const double t = len > 0 ? std::clamp((s - cum[i - 1]) / len, 0.0, 1.0) : 0.0;
        out.push_back(l[2 * i - 2] + t * (l[2 * i] - l[2 * i - 2]));
        out.push_back(l[2 * i - 1] + t * (l[2 * i + 1] - l[2 * i - 1]));
    };
    at(s0);
    for (size_t i = 0; i < n; i++)
        if (cum[i] > s0 && cum[i] < s1) {
            out.push_back(l[2 * i]);
            out.push_back(l[2 * i + 1]);
        }
    at(s1);
    return out;
}

void Push(BenchData& d, Line l, double h, double minLen) {
    if (NPts(l) < 2) return;
    const std::vector<double> c = Cum(l);
    if (c.back() < std::max(minLen, 1e-6)) return;
    d.pts.push_back(std::move(l));
    d.hgt.push_back(h);
}

BenchData Empty(const BenchData& in) {
    BenchData d;
    std::copy_n(in.rgn, 6, d.rgn);
    d.itv = in.itv;
    return d;
}

// The pieces of every line where keep(x, y) holds, cut where it stops holding (the boundary found
// by bisection along the segment); pieces shorter than minLen dropped.
void ClipLines(const BenchData& in, const std::function<bool(double, double)>& keep, double minLen, BenchData& out) {
    for (size_t k = 0; k < in.pts.size(); k++) {
        const Line& l = in.pts[k];
        Line cur;
        auto edge = [&](size_t a, size_t b) {   // a kept, b not: the last kept point
            double t0 = 0, t1 = 1;
            for (int it = 0; it < 30; it++) {
                const double t = 0.5 * (t0 + t1);
                (keep(l[2 * a] + t * (l[2 * b] - l[2 * a]), l[2 * a + 1] + t * (l[2 * b + 1] - l[2 * a + 1])) ? t0 : t1) = t;
            }
            return std::array<double, 2>{l[2 * a] + t0 * (l[2 * b] - l[2 * a]), l[2 * a + 1] + t0 * (l[2 * b + 1] - l[2 * a + 1])};
        };
        bool prev = false;
        for (size_t i = 0; i < NPts(l); i++) {
            const bool in_ = keep(l[2 * i], l[2 * i + 1]);
            if (in_ && !prev && i > 0) {
                const auto p = edge(i, i - 1);
                cur.push_back(p[0]);
                cur.push_back(p[1]);
            }
            if (in_) {
                cur.push_back(l[2 * i]);
                cur.push_back(l[2 * i + 1]);
            } else if (prev) {
                const auto p = edge(i - 1, i);
                cur.push_back(p[0]);
                cur.push_back(p[1]);
                Push(out, std::move(cur), in.hgt[k], minLen);
                cur.clear();
            }
            prev = in_;
        }
        Push(out, std::move(cur), in.hgt[k], minLen);
    }
}

// Contours of the grid z (R x C, metres, row 0 south) at base + k * ci, traced by GDAL.
BenchData Trace(const BenchData& like, const Grid& g, const std::vector<double>& z, double ci, double base) {
    BenchData d = Empty(like);
    GDALDatasetH src = GDALCreate(GDALGetDriverByName("MEM"), "", g.C, g.R, 1, GDT_Float64, nullptr);
    const double s = g.step / 1000.0;
    // Posts at pixel centres: column c at x0 + c * step, row 0 of the raster the northern one.
    double gt[6] = {g.x0 / 1000.0 - s / 2, s, 0, g.y0 / 1000.0 + (g.R - 0.5) * s, 0, -s};
    GDALSetGeoTransform(src, gt);
    std::vector<double> raw(z.size());
    for (int r = 0; r < g.R; r++)
        std::copy_n(z.begin() + static_cast<long>(g.R - 1 - r) * g.C, g.C, raw.begin() + static_cast<long>(r) * g.C);
    GDALRasterBandH band = GDALGetRasterBand(src, 1);
    if (GDALRasterIO(band, GF_Write, 0, 0, g.C, g.R, raw.data(), g.C, g.R, GDT_Float64, 0, 0) != CE_None) {
        GDALClose(src);
        return d;
    }
    GDALDatasetH dst = GDALCreate(GDALGetDriverByName("Memory"), "contours", 0, 0, 0, GDT_Unknown, nullptr);
    OGRLayerH ly = GDALDatasetCreateLayer(dst, "contours", nullptr, wkbLineString, nullptr);
    OGRFieldDefnH fid = OGR_Fld_Create("id", OFTInteger), fel = OGR_Fld_Create("elev", OFTReal);
    OGR_L_CreateField(ly, fid, TRUE);
    OGR_L_CreateField(ly, fel, TRUE);
    OGR_Fld_Destroy(fid);
    OGR_Fld_Destroy(fel);
    char a[64], b[64];
    std::snprintf(a, sizeof a, "LEVEL_INTERVAL=%.17g", ci / 1000.0);
    std::snprintf(b, sizeof b, "LEVEL_BASE=%.17g", base / 1000.0);
    const char* opt[] = {a, b, "ID_FIELD=0", "ELEV_FIELD=1", nullptr};
    if (GDALContourGenerateEx(band, ly, opt, nullptr, nullptr) == CE_None) {
        OGR_L_ResetReading(ly);
        while (OGRFeatureH f = OGR_L_GetNextFeature(ly)) {
            if (OGRGeometryH geo = OGR_F_GetGeometryRef(f))
                AddBenchLine(geo, OGR_F_GetFieldAsDouble(f, 1), 0, 0, d);
            OGR_F_Destroy(f);
        }
    }
    GDALClose(dst);
    GDALClose(src);
    return d;
}

BenchData OnPost(const BenchData& in, const Grid& g, Rng& rng) {
    BenchData d = Empty(in);
    for (size_t k = 0; k < in.pts.size(); k++) {
        Line l;
        for (size_t i = 0; i < NPts(in.pts[k]); i++) {
            double x = in.pts[k][2 * i], y = in.pts[k][2 * i + 1];
            const double sx = g.x0 + std::round((x - g.x0) / g.step) * g.step;
            const double sy = g.y0 + std::round((y - g.y0) / g.step) * g.step;
            if (rng.U() < 0.1) {
                x = sx;
                y = sy;
            } else if (std::fabs(sx - x) < std::fabs(sy - y)) {
                x = sx;
            } else {
                y = sy;
            }
            // Snapping can make neighbours coincide: keep one of them.
            if (!l.empty() && l[l.size() - 2] == x && l.back() == y) continue;
            l.push_back(x);
            l.push_back(y);
        }
        Push(d, std::move(l), in.hgt[k], 0);
    }
    return d;
}

BenchData Gaps(const BenchData& in, const Grid& g, Rng& rng) {
    BenchData d = Empty(in);
    for (size_t k = 0; k < in.pts.size(); k++) {
        const Line& l = in.pts[k];
        const std::vector<double> cum = Cum(l);
        const double len = cum.back();
        double from = 0, at = rng.U(0, 500e3);
        while (at < len) {
            Push(d, SubLine(l, cum, from, at), in.hgt[k], 0);
            from = at + rng.U(2, 6) * g.step;
            at = from + rng.U(250e3, 750e3);
        }
        if (from < len) Push(d, SubLine(l, cum, from, len), in.hgt[k], 0);
    }
    return d;
}

BenchData OpenEnds(const BenchData& in, const Grid& g, Rng& rng) {
    BenchData d = Empty(in);
    const double tol = 0.5 * g.step;
    auto onEdge = [&](double x, double y) {
        return x - g.x0 < tol || y - g.y0 < tol || g.x0 + g.W() - x < tol || g.y0 + g.H() - y < tol;
    };
    for (size_t k = 0; k < in.pts.size(); k++) {
        const Line& l = in.pts[k];
        std::vector<double> cum = Cum(l);
        const double len = cum.back();
        const size_t n = NPts(l);
        if (Closed(l)) {
            // Small rings lose at most half their length: opened, not deleted.
            const double gap = std::min(rng.U(3, 10) * g.step, len / 2);
            const double at = rng.U(0, len - gap);
            Line a = SubLine(l, cum, at + gap, len), b = SubLine(l, cum, 0, at);
            a.insert(a.end(), b.begin() + 2, b.end());   // b starts where a ends: the ring's start
            Push(d, std::move(a), in.hgt[k], 0);
            continue;
        }
        double s0 = 0, s1 = len;
        if (onEdge(l[0], l[1])) s0 = std::min(rng.U(2, 10) * g.step, len / 4);
        if (onEdge(l[2 * n - 2], l[2 * n - 1])) s1 = len - std::min(rng.U(2, 10) * g.step, len / 4);
        if (s1 > s0) Push(d, SubLine(l, cum, s0, s1), in.hgt[k], 0);
    }
    return d;
}

BenchData Dupes(const BenchData& in, Rng& rng) {
    BenchData d = in;
    for (size_t k = 0; k < in.pts.size(); k++) {
        if (rng.U() >= 0.1) continue;
        Line l = in.pts[k];
        if (rng.U() < 0.5)
            for (double& x : l) x += rng.U(-0.007, 0.007);
        d.pts.push_back(std::move(l));
        d.hgt.push_back(in.hgt[k]);
    }
    for (Line& l : d.pts) {
        if (rng.U() >= 0.5) continue;
        for (size_t i = 0, j = NPts(l) - 1; i < j; i++, j--) {
            std::swap(l[2 * i], l[2 * j]);
            std::swap(l[2 * i + 1], l[2 * j + 1]);
        }
    }
    return d;
}

BenchData Half(const BenchData& in, const Grid& g, const std::vector<double>& truth, const std::vector<uint8_t>& mask,
               double ci) {
    // Slope (m per m) of the truth by central differences, one-sided at the edges.
    const double s = g.step / 1000.0;
    std::vector<double> slope(truth.size());
    auto at = [&](int r, int c) { return truth[static_cast<size_t>(r) * g.C + c]; };
    for (int r = 0; r < g.R; r++)
        for (int c = 0; c < g.C; c++) {
            const int c0 = std::max(c - 1, 0), c1 = std::min(c + 1, g.C - 1);
            const int r0 = std::max(r - 1, 0), r1 = std::min(r + 1, g.R - 1);
            const double gx = (at(r, c1) - at(r, c0)) / ((c1 - c0) * s), gy = (at(r1, c) - at(r0, c)) / ((r1 - r0) * s);
            slope[static_cast<size_t>(r) * g.C + c] = std::hypot(gx, gy);
        }
    std::vector<double> scored;
    for (size_t i = 0; i < slope.size(); i++)
        if (mask[i]) scored.push_back(slope[i]);
    if (scored.empty()) return in;
    std::nth_element(scored.begin(), scored.begin() + scored.size() / 4, scored.end());
    const double flat = scored[scored.size() / 4];
    const BenchData half = Trace(in, g, truth, ci, ci / 2);
    BenchData d = in;
    ClipLines(
        half,
        [&](double x, double y) {
            const int c = std::clamp(static_cast<int>(std::lround((x - g.x0) / g.step)), 0, g.C - 1);
            const int r = std::clamp(static_cast<int>(std::lround((y - g.y0) / g.step)), 0, g.R - 1);
            return slope[static_cast<size_t>(r) * g.C + c] < flat;
        },
        5 * g.step, d);
    return d;
}

BenchData Wrong(const BenchData& in, double ci, size_t* which) {
    BenchData d = in;
    double best = -1;
    size_t pick = 0;
    for (int pass = 0; pass < 2 && best < 0; pass++)   // no index level: any line
        for (size_t k = 0; k < in.pts.size(); k++) {
            const double q = in.hgt[k] / ci;
            const long lv = std::lround(q);
            if (pass == 0 && (std::fabs(q - lv) > 1e-6 || lv % 5 != 0)) continue;
            const double len = Cum(in.pts[k]).back();
            if (len > best) {
                best = len;
                pick = k;
            }
        }
    d.hgt[pick] += ci;
    *which = pick;
    return d;
}

BenchData Hole(const BenchData& in, const Grid& g, const std::vector<uint8_t>& mask, Rng& rng, double* cx, double* cy,
               double* rad) {
    const double r = std::sqrt(0.05 * g.W() * g.H() / std::numbers::pi);
    std::vector<size_t> cand, any;
    for (int i = 0; i < g.R; i++)
        for (int j = 0; j < g.C; j++) {
            const size_t p = static_cast<size_t>(i) * g.C + j;
            if (!mask[p]) continue;
            any.push_back(p);
            const double x = j * g.step, y = i * g.step;
            if (x >= r && y >= r && g.W() - x >= r && g.H() - y >= r) cand.push_back(p);
        }
    const std::vector<size_t>& from = cand.empty() ? any : cand;
    const size_t p = from.empty() ? 0 : from[static_cast<size_t>(rng.U() * from.size()) % from.size()];
    *cx = g.x0 + (p % g.C) * g.step;
    *cy = g.y0 + static_cast<double>(p / g.C) * g.step;
    *rad = r;
    BenchData d = Empty(in);
    ClipLines(in, [&](double x, double y) { return std::hypot(x - *cx, y - *cy) > r; }, 0, d);
    return d;
}

// An input in the format of synth-contours.txt.
void DumpInput(const std::string& path, const BenchData& d) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return;
    std::fprintf(f, "region %.3f %.3f %.3f %.3f\ninterval %.3f\n", d.rgn[0], d.rgn[1], d.rgn[3], d.rgn[4], d.itv);
    for (size_t k = 0; k < d.pts.size(); k++) {
        std::fprintf(f, "curve %zu %.3f\n", NPts(d.pts[k]), d.hgt[k]);
        for (size_t i = 0; i < NPts(d.pts[k]); i++) std::fprintf(f, "%.4f %.4f\n", d.pts[k][2 * i], d.pts[k][2 * i + 1]);
    }
    std::fclose(f);
}

void DumpGrid(const std::string& path, const std::vector<double>& z, int R, int C) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return;
    for (int r = 0; r < R; r++) {
        for (int k = 0; k < C; k++) std::fprintf(f, "%.3f ", z[static_cast<size_t>(r) * C + k]);
        std::fprintf(f, "\n");
    }
    std::fclose(f);
}

struct Score {
    double rmse = NAN, mx = NAN, mean = NAN, ha1 = NAN, secs = 0;
    long long over2 = 0;
    double inRmse = NAN, inMx = NAN;   // over the posts away from the region's edge
    long long inOver2 = 0;
    std::string fail;   // empty: finished
};

// Runs fn in a child process under the time limit; fn writes heights (m) per post into z.
Score RunChild(long long n, int limit, const std::function<bool(double*)>& fn, std::vector<double>& z) {
    Score s;
    const size_t bytes = sizeof(double) * (static_cast<size_t>(n) + 1);
    void* shm = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shm == MAP_FAILED) {
        s.fail = "no memory";
        return s;
    }
    double* out = static_cast<double*>(shm);
    std::fflush(stdout);
    std::fflush(stderr);
    const double t0 = Now();
    pid_t pid = fork();
    if (pid == 0) {
        alarm(static_cast<unsigned>(limit));
        out[n] = fn(out) ? 1 : 0;
        _exit(0);
    }
    int st = 0;
    if (pid < 0 || waitpid(pid, &st, 0) != pid) {
        s.fail = "no child";
    } else if (WIFSIGNALED(st)) {
        s.fail = WTERMSIG(st) == SIGALRM ? "timeout" : "crash";
    } else if (!WIFEXITED(st) || WEXITSTATUS(st) != 0 || out[n] != 1) {
        s.fail = "failed";
    }
    s.secs = Now() - t0;
    if (s.fail.empty()) z.assign(out, out + n);
    munmap(shm, bytes);
    return s;
}

// Posts nearer the region's edge than this many mesh intervals are left out of the inner score.
constexpr int kEdge = 10;

void Rate(Score& s, const std::vector<double>& z, const std::vector<double>& truth, const std::vector<uint8_t>& mask,
          const Grid& g, double ci, double postArea) {
    double se = 0, sum = 0, mx = 0, ise = 0, imx = 0;
    long long k = 0, over1 = 0, ik = 0;
    for (size_t i = 0; i < z.size(); i++) {
        if (!mask[i]) continue;
        const double e = z[i] - truth[i];
        const int r = static_cast<int>(i / g.C), c = static_cast<int>(i % g.C);
        if (r >= kEdge && c >= kEdge && g.R - 1 - r >= kEdge && g.C - 1 - c >= kEdge) {
            ise += e * e;
            imx = std::max(imx, std::fabs(e));
            s.inOver2 += std::fabs(e) > 2 * ci;
            ik++;
        }
        se += e * e;
        sum += e;
        mx = std::max(mx, std::fabs(e));
        s.over2 += std::fabs(e) > 2 * ci;
        over1 += std::fabs(e) > ci;
        k++;
    }
    s.rmse = std::sqrt(se / std::max(k, 1LL)) / ci;
    s.mx = mx / ci;
    s.mean = sum / std::max(k, 1LL);
    s.ha1 = static_cast<double>(over1) * postArea / 1e4;
    s.inRmse = std::sqrt(ise / std::max(ik, 1LL)) / ci;
    s.inMx = imx / ci;
}

// GDAL's triangulation of the contour vertices (as the methods get them: float mm) at every post.
bool Triangulate(const cntr* c, int nc, const Grid& g, double* z) {
    std::vector<double> x, y, h;
    for (int i = 0; i < nc; i++)
        for (int k = 0; k < c[i].n; k++) {
            x.push_back(c[i].pnt[2 * k] / 1000.0);
            y.push_back(c[i].pnt[2 * k + 1] / 1000.0);
            h.push_back(c[i].hgt / 1000.0);
        }
    GDALGridLinearOptions o{};
    o.nSizeOfStructure = sizeof o;
    o.dfRadius = -1;   // outside every triangle: the nearest vertex
    o.dfNoDataValue = 0;
    const double s = g.step / 1000.0, x0 = g.x0 / 1000.0, y0 = g.y0 / 1000.0;
    // Cell centres are the posts; row 0 of the output is the southern one.
    return GDALGridCreate(GGA_Linear, &o, static_cast<GUInt32>(x.size()), x.data(), y.data(), h.data(), x0 - s / 2,
                          x0 + (g.C - 0.5) * s, y0 - s / 2, y0 + (g.R - 0.5) * s, static_cast<GUInt32>(g.C),
                          static_cast<GUInt32>(g.R), GDT_Float64, z, nullptr, nullptr) == CE_None;
}

struct Cell {
    std::string defect;
    int lines = 0;
    long long posts = 0;    // scored
    std::vector<Score> s;   // per method, then the triangulation
    int ref = -1;           // row of the ratio's reference
};

double Ratio(const std::vector<Cell>& rows, size_t r, size_t m) {
    const Cell& c = rows[r];
    if (c.ref < 0) return NAN;
    return c.s[m].rmse / rows[static_cast<size_t>(c.ref)].s[m].rmse;
}

void PrintCell(const Score& s, double ratio) {
    if (!s.fail.empty())
        std::printf("  %26s", s.fail.c_str());
    else
        std::printf("  %6.3f %5.2f %6.2f %6lld", s.rmse, ratio, s.mx, s.over2);
}

bool Is(const std::vector<std::string>& l, const char* s) { return std::find(l.begin(), l.end(), s) != l.end(); }

std::vector<std::string> Arg(int argc, char** argv, int i) {
    if (argc <= i || std::string(argv[i]) == "all") return {};
    return SplitList(argv[i]);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string shared = ALT_SHARED_DIR;
    std::vector<const TrnMethodInfo*> meth;
    if (!BenchMethods(Arg(argc, argv, 1), meth)) return 1;
    std::vector<std::string> cases = ExpandCases(Arg(argc, argv, 2));
    if (cases.empty()) cases = {"synth", "andes20", "andes50", "lowland1", "lowland2"};
    for (const std::string& c : cases)
        if (!IsBenchCase(c) || c == "synth4") {
            std::fprintf(stderr, "unknown case %s\n", c.c_str());
            return 1;
        }
    std::vector<std::string> want = Arg(argc, argv, 3);
    for (const std::string& w : want)
        if (!Is(std::vector<std::string>(std::begin(kDefects), std::end(kDefects)), w.c_str())) {
            std::fprintf(stderr, "unknown defect %s\n", w.c_str());
            return 1;
        }
    if (want.empty()) want.assign(std::begin(kDefects), std::end(kDefects));
    // Rounded inputs are measured against the traced one.
    if ((Is(want, "wholem") || Is(want, "dm")) && !Is(want, "traced")) want.insert(want.begin(), "traced");
    std::vector<std::string> defects = {"clean"};
    for (const char* k : kDefects)
        if (Is(want, k)) defects.push_back(k);
    const uint64_t seed = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 1;
    const int limit = std::getenv("ALT_LIMIT") ? std::max(1, std::atoi(std::getenv("ALT_LIMIT"))) : 300;
    const bool roundedTruth = std::getenv("ALT_ROUNDED_TRUTH") && std::atoi(std::getenv("ALT_ROUNDED_TRUTH")) != 0;
    BenchStart();
    GDALAllRegister();

    struct Summary {
        std::string cs;
        std::vector<Cell> rows;
    };
    std::vector<Summary> all;
    const size_t M = meth.size();
    for (const std::string& cn : cases) {
        BenchCase cs;
        if (!LoadBenchCase(shared, cn, cs)) {
            std::fprintf(stderr, "cannot read the data of case %s\n", cn.c_str());
            return 1;
        }
        Grid g;
        if (!TrnMshDim(cs.d.rgn, cs.d.itv, &g.R, &g.C)) {
            std::fprintf(stderr, "grid too large\n");
            return 1;
        }
        g.x0 = std::fmin(cs.d.rgn[0], cs.d.rgn[3]);
        g.y0 = std::fmin(cs.d.rgn[1], cs.d.rgn[4]);
        g.step = cs.d.itv;
        const long long n = static_cast<long long>(g.R) * g.C;
        std::vector<double> lv(cs.d.hgt);
        std::sort(lv.begin(), lv.end());
        double ciMm = 0;
        for (size_t i = 1; i < lv.size(); i++)
            if (lv[i] - lv[i - 1] > 0.5 && (ciMm == 0 || lv[i] - lv[i - 1] < ciMm)) ciMm = lv[i] - lv[i - 1];
        ciMm = std::round(ciMm);
        const double ci = ciMm / 1000.0, postArea = (g.step / 1000.0) * (g.step / 1000.0);
        long long scored = 0;
        for (uint8_t m : cs.mask) scored += m;
        std::vector<float> mesh(3 * static_cast<size_t>(n));
        TrnMshPts(cs.d.rgn, cs.d.itv, g.R, g.C, mesh.data());

        std::printf("\n%s: grid %d x %d, %.0f m mesh, CI %g m, %zu lines, %lld posts scored, seed %llu\n", cn.c_str(),
                    g.C, g.R, g.step / 1000.0, ci, cs.d.pts.size(), scored, static_cast<unsigned long long>(seed));
        std::vector<std::string> notes;
        std::vector<Cell> rows;
        for (const std::string& df : defects) {
            Rng rng{seed * 0x9e3779b97f4a7c15ULL ^ Hash(cn) ^ (Hash(df) << 1)};
            BenchData in;
            const std::vector<double>* truth = &cs.truth;
            std::vector<double> rounded;
            char note[256] = "";
            if (df == "clean") {
                in = cs.d;
            } else if (df == "traced" || df == "wholem" || df == "dm") {
                rounded = cs.truth;
                const double q = df == "wholem" ? 1.0 : df == "dm" ? 10.0 : 0.0;
                if (q > 0) {
                    double se = 0;
                    long long k = 0;
                    for (size_t i = 0; i < rounded.size(); i++) {
                        rounded[i] = std::round(rounded[i] * q) / q;
                        if (cs.mask[i]) se += (rounded[i] - cs.truth[i]) * (rounded[i] - cs.truth[i]), k++;
                    }
                    std::snprintf(note, sizeof note, "%s: rounding alone %.4f CI (RMSE of the rounded grid)",
                                  df.c_str(), std::sqrt(se / std::max(k, 1LL)) / ci);
                    if (roundedTruth) truth = &rounded;
                }
                in = Trace(cs.d, g, rounded, ciMm, 0);
            } else if (df == "onpost") {
                in = OnPost(cs.d, g, rng);
            } else if (df == "gaps") {
                in = Gaps(cs.d, g, rng);
            } else if (df == "openends") {
                in = OpenEnds(cs.d, g, rng);
            } else if (df == "dupes") {
                in = Dupes(cs.d, rng);
            } else if (df == "half") {
                in = Half(cs.d, g, cs.truth, cs.mask, ciMm);
                std::snprintf(note, sizeof note, "half: %zu half-level pieces added", in.pts.size() - cs.d.pts.size());
            } else if (df == "wrong") {
                size_t k = 0;
                in = Wrong(cs.d, ciMm, &k);
                std::snprintf(note, sizeof note, "wrong: line %zu, level %g m set to %g m, %.0f m long", k,
                              cs.d.hgt[k] / 1000.0, in.hgt[k] / 1000.0, Cum(cs.d.pts[k]).back() / 1000.0);
            } else if (df == "hole") {
                double cx, cy, r;
                in = Hole(cs.d, g, cs.mask, rng, &cx, &cy, &r);
                std::snprintf(note, sizeof note, "hole: centre %.0f, %.0f m from the south-west post, radius %.0f m",
                              cx / 1000.0, cy / 1000.0, r / 1000.0);
            }
            if (note[0]) notes.emplace_back(note);
            Cell cell;
            cell.defect = df;
            cell.lines = static_cast<int>(in.pts.size());
            if (df != "clean") cell.ref = (df == "wholem" || df == "dm") ? 1 : 0;   // traced is row 1 then
            // Beyond the hull of what is left every method extrapolates: not scored.
            std::vector<uint8_t> mask;
            HullMask(in, g.R, g.C, mask);
            for (size_t i = 0; i < mask.size(); i++) {
                mask[i] = mask[i] && cs.mask[i];
                cell.posts += mask[i];
            }
            const char* dump = std::getenv("ALT_DUMP");
            if (dump) DumpInput(std::string(dump) + "-" + cn + "-" + df + ".txt", in);
            int nc = 0;
            double L = 0;
            cntr* c = BenchCntr(in, &nc, &L);
            std::vector<double> z;
            for (size_t m = 0; m <= M; m++) {
                const bool tri = m == M;
                Score s = RunChild(n, limit, [&](double* out) {
                    if (tri) return Triangulate(c, nc, g, out);
                    std::vector<float> w = mesh;
                    const bool ok = TrnGenMethod(meth[m]->kind, c, nc, w.data(), g.R, g.C, cs.d.itv);
                    for (long long i = 0; i < n; i++) out[i] = w[3 * i + 2] / 1000.0;
                    return ok;
                }, z);
                if (s.fail.empty()) Rate(s, z, *truth, mask, g, ci, postArea);
                if (s.fail.empty() && dump)
                    DumpGrid(std::string(dump) + "-" + cn + "-" + df + "-" + (tri ? "triangulation" : meth[m]->name) +
                                 ".txt",
                             z, g.R, g.C);
                std::fprintf(stderr, "%s %s %s: ", cn.c_str(), df.c_str(), tri ? "triangulation" : meth[m]->name);
                if (s.fail.empty())
                    std::fprintf(stderr, "rmse %.4f CI, max %.3f CI, %lld > 2 CI, mean %+.3f m, %.1f s\n", s.rmse, s.mx,
                                 s.over2, s.mean, s.secs);
                else
                    std::fprintf(stderr, "%s after %.1f s\n", s.fail.c_str(), s.secs);
                cell.s.push_back(s);
            }
            FreeCntr(c, nc);
            rows.push_back(std::move(cell));
        }

        // The case's table.
        std::printf("%-9s %6s %7s", "", "", "");
        for (size_t m = 0; m <= M; m++) std::printf("  %-26s", m < M ? meth[m]->name : "triangulation");
        std::printf("\n%-9s %6s %7s", "defect", "lines", "posts");
        for (size_t m = 0; m <= M; m++) std::printf("  %6s %5s %6s %6s", "rmse", "ratio", "max", ">2CI");
        std::printf("\n");
        for (size_t r = 0; r < rows.size(); r++) {
            std::printf("%-9s %6d %7lld", rows[r].defect.c_str(), rows[r].lines, rows[r].posts);
            for (size_t m = 0; m <= M; m++) PrintCell(rows[r].s[m], r == 0 ? 1.0 : Ratio(rows, r, m));
            std::printf("\n");
        }
        for (const Cell& cl : rows) {
            if (cl.defect == "wrong") {
                std::printf("wrong: area more than 1 CI off (ha):");
                for (size_t m = 0; m <= M; m++)
                    std::printf(" %s %.2f%s", m < M ? meth[m]->name : "triangulation", cl.s[m].ha1, m < M ? "," : "\n");
            }
            if (cl.defect == "openends") {
                std::printf("openends over %d mesh intervals from the edge (rmse, max, >2CI):", kEdge);
                for (size_t m = 0; m <= M; m++)
                    std::printf(" %s %.3f %.2f %lld%s", m < M ? meth[m]->name : "triangulation", cl.s[m].inRmse,
                                cl.s[m].inMx, cl.s[m].inOver2, m < M ? "," : "\n");
            }
        }
        for (const std::string& s : notes) std::printf("%s\n", s.c_str());
        all.push_back({cn, std::move(rows)});
    }

    // Ratios to clean (to traced for wholem and dm): * worse than the triangulation on the same
    // input, ! a post more than 2 CI off.
    std::printf("\nRMSE ratio to the clean input (wholem, dm: to traced); * worse than the triangulation, "
                "! a post over 2 CI off\n%-9s %-9s", "case", "defect");
    for (size_t m = 0; m <= M; m++) std::printf(" %15s", m < M ? meth[m]->name : "triangulation");
    std::printf("\n");
    for (const Summary& sm : all)
        for (size_t r = 1; r < sm.rows.size(); r++) {
            const Cell& cl = sm.rows[r];
            std::printf("%-9s %-9s", sm.cs.c_str(), cl.defect.c_str());
            for (size_t m = 0; m <= M; m++) {
                const Score& s = cl.s[m];
                if (!s.fail.empty()) {
                    std::printf(" %15s", s.fail.c_str());
                    continue;
                }
                const bool worse = m < M && cl.s[M].fail.empty() && s.rmse > cl.s[M].rmse;
                std::printf(" %12.2f%c%c ", Ratio(sm.rows, r, m), worse ? '*' : ' ', s.over2 > 0 ? '!' : ' ');
            }
            std::printf("\n");
        }
    return 0;
}
