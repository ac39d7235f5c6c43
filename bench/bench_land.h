// Landforms the shared data has no case of, each a true grid made here with its contours traced by
// GDAL at an interval a map of it would use: shapes with fractal roughness (kettle moraine, volcano,
// mesa, terraced slope, dunes, dolines, coastal plain, glacial trough, alluvial fan) and the shared
// real models changed (the Andean valley upside down and flattened, the lowland upside down at 2 m).
// Scored like the synthetic case: at the posts inside the convex hull of the contour vertices.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include <gdal.h>
#include <gdal_alg.h>
#include <ogr_api.h>

#include "bench_data.h"

namespace land {

// A terrain: R x C heights (m), row 0 south, posts step m apart; contours every ci m.
struct Land {
    int R = 0, C = 0;
    double step = 1, ci = 1;
    std::vector<double> z;
    double X(int c) const { return c * step; }
    double Y(int r) const { return r * step; }
    double& At(int r, int c) { return z[static_cast<size_t>(r) * C + c]; }
};

// Fractal roughness with unit deviation over the grid: waves in random directions, eight an octave
// from the grid's size down to two posts, each octave's amplitude 2^-h of the one before.
inline std::vector<double> Rough(int R, int C, double h, uint64_t seed) {
    Rng rng{seed};
    std::vector<double> f(static_cast<size_t>(R) * C, 0.0);
    const double size = std::max(R, C);
    double amp = 1;
    std::vector<double> cx(static_cast<size_t>(C)), sx(static_cast<size_t>(C));
    for (double lam = size; lam >= 2; lam /= 2, amp *= std::pow(2.0, -h))
        for (int w = 0; w < 8; w++) {
            const double th = rng.U(0, 2 * std::numbers::pi), ph = rng.U(0, 2 * std::numbers::pi);
            const double kx = 2 * std::numbers::pi * std::cos(th) / lam, ky = 2 * std::numbers::pi * std::sin(th) / lam;
            // cos(kx c + ky r + ph) by rows: the column terms once, a row's term once.
            for (int c = 0; c < C; c++) {
                cx[static_cast<size_t>(c)] = std::cos(kx * c);
                sx[static_cast<size_t>(c)] = std::sin(kx * c);
            }
            for (int r = 0; r < R; r++) {
                const double cr = std::cos(ky * r + ph), sr = std::sin(ky * r + ph);
                double* row = f.data() + static_cast<size_t>(r) * C;
                for (int c = 0; c < C; c++)
                    row[c] += amp * (cx[static_cast<size_t>(c)] * cr - sx[static_cast<size_t>(c)] * sr);
            }
        }
    double m = 0, v = 0;
    for (double x : f) m += x;
    m /= static_cast<double>(f.size());
    for (double x : f) v += (x - m) * (x - m);
    const double sd = std::sqrt(v / static_cast<double>(f.size()));
    for (double& x : f) x = (x - m) / (sd > 0 ? sd : 1);
    return f;
}

// A smooth bowl of unit depth and radius rad: (1 - q^2)^2 inside, 0 outside.
inline double Bowl(double dx, double dy, double rad) {
    const double q = (dx * dx + dy * dy) / (rad * rad);
    return q < 1 ? (1 - q) * (1 - q) : 0;
}

// n hollows spread over [lo, hi) in x and y, radius and depth drawn from the ranges given: per
// hollow x, y, radius, depth.
inline std::vector<double> Hollows(Rng& rng, int n, double lo, double hi, double r0, double r1, double d0,
                                   double d1) {
    std::vector<double> h;
    for (int k = 0; k < n; k++)
        for (double v : {rng.U(lo, hi), rng.U(lo, hi), rng.U(r0, r1), rng.U(d0, d1)}) h.push_back(v);
    return h;
}

// Every post's height, f(r, c, i) (i: the post's index, row by row).
template <class F>
void Each(Land& l, F&& f) {
    for (int r = 0; r < l.R; r++)
        for (int c = 0; c < l.C; c++) l.At(r, c) = f(r, c, static_cast<size_t>(r) * l.C + c);
}

inline Land Make(int R, int C, double step, double ci) {
    Land l;
    l.R = R;
    l.C = C;
    l.step = step;
    l.ci = ci;
    l.z.assign(static_cast<size_t>(R) * C, 0.0);
    return l;
}

// Rolling ground with 45 closed hollows 3-14 m deep (kettle holes), 5 m posts, 2 m contours.
inline Land Kettle() {
    Land l = Make(401, 401, 5, 2);
    const auto a = Rough(l.R, l.C, 1.3, 1), b = Rough(l.R, l.C, 0.6, 2);
    Rng rng{3};
    const std::vector<double> h = Hollows(rng, 45, 100, 1900, 25, 90, 3, 14);
    Each(l, [&](int r, int c, size_t i) {
        double z = 120 + 0.004 * l.X(c) + 8 * a[i] + 0.3 * b[i];
        for (size_t k = 0; k < h.size(); k += 4) z -= h[k + 3] * Bowl(l.X(c) - h[k], l.Y(r) - h[k + 1], h[k + 2]);
        return z;
    });
    return l;
}

// A volcano: an exponential cone 1900 m high with a crater 260 m deep, gullied flanks; 20 m posts,
// 50 m contours.
inline Land Volcano() {
    Land l = Make(451, 451, 20, 50);
    const auto a = Rough(l.R, l.C, 1.0, 4), b = Rough(l.R, l.C, 0.6, 5);
    Each(l, [&](int r, int c, size_t i) {
        const double dx = l.X(c) - 4500, dy = l.Y(r) - 4600, rad = std::hypot(dx, dy);
        return 600 + 1900 * std::exp(-rad / 1800) - 260 * Bowl(dx - 50, dy, 650) +
                     25 * a[i] * std::min(1.0, rad / 2000) + 3 * b[i];
    });
    return l;
}

// A mesa: a plain at about 450 m under an escarpment (a sigmoid 40 m wide, its edge winding) to a
// nearly flat top at about 710 m; 10 m posts, 20 m contours.
inline Land Mesa() {
    Land l = Make(401, 401, 10, 20);
    const auto e = Rough(l.R, l.C, 1.2, 6), lo = Rough(l.R, l.C, 1.1, 7), hi = Rough(l.R, l.C, 1.2, 8),
               fine = Rough(l.R, l.C, 0.6, 9);
    Each(l, [&](int r, int c, size_t i) {
        const double edge = 2000 + 500 * std::sin(l.Y(r) / 700) + 150 * e[i];
        const double s = 1 / (1 + std::exp(-(l.X(c) - edge) / 40));
        const double low = 420 + 0.02 * l.X(c) + 6 * lo[i], top = 700 + 0.004 * l.X(c) + 5 * hi[i];
        return low * (1 - s) + top * s + 0.5 * fine[i];
    });
    return l;
}

// A terraced hillside: 12 % slope in steps of 4 m, risers a quarter of each step, following the
// slope's bends; 2 m posts, 5 m contours.
inline Land Terrace() {
    Land l = Make(401, 401, 2, 5);
    const auto a = Rough(l.R, l.C, 1.2, 10), b = Rough(l.R, l.C, 0.6, 11);
    Each(l, [&](int r, int c, size_t i) {
        const double u = 0.12 * (l.X(c) + 30 * std::sin(l.Y(r) / 90)) + 4 * a[i];
        const double f = u / 4, k = std::floor(f), t = f - k;
        return 300 + 4 * (k + std::clamp((t - 0.75) / 0.25, 0.0, 1.0)) + 0.1 * b[i];
    });
    return l;
}

// Transverse dunes 90 m apart and up to 12 m high: a gentle windward slope, a steep lee face;
// 2 m posts, 2 m contours.
inline Land Dunes() {
    Land l = Make(401, 401, 2, 2);
    const auto a = Rough(l.R, l.C, 1.2, 12), b = Rough(l.R, l.C, 1.5, 13), fine = Rough(l.R, l.C, 0.6, 14);
    Each(l, [&](int r, int c, size_t i) {
        const double ph = (l.X(c) + 25 * std::sin(l.Y(r) / 120) + 15 * a[i]) / 90, t = ph - std::floor(ph);
        const double p = std::pow(t < 0.8 ? t / 0.8 : (1 - t) / 0.2, 1.3);
        return 50 + 12 * p * (0.7 + 0.3 * b[i]) + 0.002 * l.Y(r) + 0.1 * fine[i];
    });
    return l;
}

// A karst plateau with 70 dolines (funnels 20-70 m across, 5-25 m deep); 5 m posts, 5 m contours.
inline Land Dolines() {
    Land l = Make(401, 401, 5, 5);
    const auto a = Rough(l.R, l.C, 1.3, 15), b = Rough(l.R, l.C, 0.6, 17);
    Rng rng{16};
    const std::vector<double> h = Hollows(rng, 70, 50, 1950, 20, 70, 5, 25);
    Each(l, [&](int r, int c, size_t i) {
        double z = 600 + 6 * a[i] + 0.005 * l.Y(r) + 0.2 * b[i];
        for (size_t k = 0; k < h.size(); k += 4) {
            const double q = std::hypot(l.X(c) - h[k], l.Y(r) - h[k + 1]) / h[k + 2];
            if (q < 1) z -= h[k + 3] * std::pow(1 - q, 1.5);
        }
        return z;
    });
    return l;
}

// A coastal plain rising 0.6 % inland, a few metres of swells on it; 10 m posts, 5 m contours.
inline Land Coastal() {
    Land l = Make(401, 401, 10, 5);
    const auto a = Rough(l.R, l.C, 1.4, 18), b = Rough(l.R, l.C, 0.7, 19);
    Each(l, [&](int r, int, size_t i) {
        return std::max(0.3, 1.5 + 0.006 * l.Y(r) + 3 * a[i] + 0.3 * b[i]);
    });
    return l;
}

// A glacial trough: a flat floor 500 m wide falling 3 % along the valley, walls rising as a
// parabola to 900 m above it; 10 m posts, 20 m contours.
inline Land Trough() {
    Land l = Make(401, 401, 10, 20);
    const auto a = Rough(l.R, l.C, 1.1, 20), b = Rough(l.R, l.C, 0.7, 21);
    Each(l, [&](int r, int c, size_t i) {
        const double w = std::fabs(l.X(c) - 2000 - 250 * std::sin(l.Y(r) / 900)), base = 400 + 0.03 * l.Y(r);
        const double wall = w < 250 ? 0 : 0.0012 * (w - 250) * (w - 250);
        return base + std::min(wall, 900.0) + 20 * a[i] * std::clamp((w - 250) / 400, 0.0, 1.0) + b[i];
    });
    return l;
}

// An alluvial fan: a concave cone from an apex at the north edge, shallow radiating channels;
// 5 m posts, 5 m contours.
inline Land Fan() {
    Land l = Make(401, 401, 5, 5);
    const auto a = Rough(l.R, l.C, 1.2, 22), b = Rough(l.R, l.C, 1.1, 23);
    Each(l, [&](int r, int c, size_t i) {
        const double dx = l.X(c) - 1000, dy = l.Y(r) - 2100, rad = std::hypot(dx, dy);
        const double ch = std::pow(std::max(0.0, std::cos(14 * std::atan2(dy, dx) + 2 * a[i])), 6);
        return 180 - 0.05 * rad + 8e-6 * rad * rad - 0.002 * l.Y(r) - 1.5 * ch * std::min(1.0, rad / 300) +
                     0.8 * b[i];
    });
    return l;
}

// A shared real model (row 0 south), every k-th post from the south-west one; an even number of
// intervals each way (the grids the methods make have a post in the middle).
inline bool Real(const std::string& path, int k, Land& l) {
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!ds) return false;
    const int C = GDALGetRasterXSize(ds), R = GDALGetRasterYSize(ds);
    double gt[6];
    GDALGetGeoTransform(ds, gt);
    std::vector<double> raw(static_cast<size_t>(R) * C);
    const bool ok =
        GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, 0, 0, C, R, raw.data(), C, R, GDT_Float64, 0, 0) == CE_None;
    GDALClose(ds);
    if (!ok) return false;
    l = Make((R - 1) / k / 2 * 2 + 1, (C - 1) / k / 2 * 2 + 1, gt[1] * k, 1);
    for (int r = 0; r < l.R; r++)
        for (int c = 0; c < l.C; c++) l.At(r, c) = raw[static_cast<size_t>(R - 1 - r * k) * C + c * k];
    return true;
}

// z -> top + bottom - z: summits become pits, valleys ridges.
inline void Invert(Land& l) {
    const auto [lo, hi] = std::minmax_element(l.z.begin(), l.z.end());
    const double s = *lo + *hi;
    for (double& z : l.z) z = s - z;
}

// The contours of l every ci (m), traced by GDAL, into d (mm from the south-west post).
inline bool TraceLand(const Land& l, BenchData& d) {
    GDALDatasetH src = GDALCreate(GDALGetDriverByName("MEM"), "", l.C, l.R, 1, GDT_Float64, nullptr);
    if (!src) return false;
    // Posts at pixel centres, row 0 of the raster the northern one.
    double gt[6] = {-l.step / 2, l.step, 0, (l.R - 0.5) * l.step, 0, -l.step};
    GDALSetGeoTransform(src, gt);
    std::vector<double> raw(l.z.size());
    for (int r = 0; r < l.R; r++)
        std::copy_n(l.z.begin() + static_cast<long>(l.R - 1 - r) * l.C, l.C, raw.begin() + static_cast<long>(r) * l.C);
    GDALRasterBandH band = GDALGetRasterBand(src, 1);
    bool ok = GDALRasterIO(band, GF_Write, 0, 0, l.C, l.R, raw.data(), l.C, l.R, GDT_Float64, 0, 0) == CE_None;
    GDALDatasetH dst = GDALCreate(GDALGetDriverByName("Memory"), "contours", 0, 0, 0, GDT_Unknown, nullptr);
    OGRLayerH ly = dst ? GDALDatasetCreateLayer(dst, "contours", nullptr, wkbLineString, nullptr) : nullptr;
    if (ok && ly) {
        OGRFieldDefnH fid = OGR_Fld_Create("id", OFTInteger), fel = OGR_Fld_Create("elev", OFTReal);
        OGR_L_CreateField(ly, fid, TRUE);
        OGR_L_CreateField(ly, fel, TRUE);
        OGR_Fld_Destroy(fid);
        OGR_Fld_Destroy(fel);
        char a[64];
        std::snprintf(a, sizeof a, "LEVEL_INTERVAL=%.17g", l.ci);
        const char* opt[] = {a, "ID_FIELD=0", "ELEV_FIELD=1", nullptr};
        ok = GDALContourGenerateEx(band, ly, opt, nullptr, nullptr) == CE_None;
        OGR_L_ResetReading(ly);
        while (OGRFeatureH f = OGR_L_GetNextFeature(ly)) {
            OGRGeometryH g = OGR_F_GetGeometryRef(f);
            const int n = g ? OGR_G_GetPointCount(g) : 0;
            if (n >= 2) {
                d.pts.emplace_back();
                d.hgt.push_back(OGR_F_GetFieldAsDouble(f, 1) * 1000.0);
                for (int i = 0; i < n; i++) {
                    d.pts.back().push_back(OGR_G_GetX(g, i) * 1000.0);
                    d.pts.back().push_back(OGR_G_GetY(g, i) * 1000.0);
                }
            }
            OGR_F_Destroy(f);
        }
    }
    if (dst) GDALClose(dst);
    GDALClose(src);
    d.rgn[0] = d.rgn[1] = d.rgn[2] = d.rgn[5] = 0;
    d.rgn[3] = static_cast<float>((l.C - 1) * l.step * 1000.0);
    d.rgn[4] = static_cast<float>((l.R - 1) * l.step * 1000.0);
    d.itv = static_cast<float>(l.step * 1000.0);
    return ok && !d.pts.empty();
}

inline const std::vector<std::string>& Names() {
    static const std::vector<std::string> n = {"kettle", "volcano", "mesa", "terrace", "dunes", "dolines",
                                               "coastal", "trough", "fan", "andesinv", "andesflat", "lowlandinv"};
    return n;
}

// The landform of that name with its contours; truth in metres, row 0 south. False: unknown name or
// the shared data unreadable.
inline bool Load(const std::string& shared, const std::string& name, BenchData& d, std::vector<double>& truth) {
    Land l;
    if (name == "kettle") l = Kettle();
    else if (name == "volcano") l = Volcano();
    else if (name == "mesa") l = Mesa();
    else if (name == "terrace") l = Terrace();
    else if (name == "dunes") l = Dunes();
    else if (name == "dolines") l = Dolines();
    else if (name == "coastal") l = Coastal();
    else if (name == "trough") l = Trough();
    else if (name == "fan") l = Fan();
    else if (name == "andesinv" || name == "andesflat") {
        if (!Real(shared + "/bench/real/ecuador-10m.tif", 1, l)) return false;
        if (name == "andesinv") {
            Invert(l);
            l.ci = 20;
        } else {
            // A hilly lowland of the valley's shapes: 3 % of its relief, 2 m contours.
            const double lo = *std::min_element(l.z.begin(), l.z.end());
            for (double& z : l.z) z = 100 + 0.03 * (z - lo);
            l.ci = 2;
        }
    } else if (name == "lowlandinv") {
        if (!Real(shared + "/bench/real/lowland-1m.tif", 2, l)) return false;
        Invert(l);
        l.ci = 1;
    } else {
        return false;
    }
    truth = l.z;
    return TraceLand(l, d);
}

}  // namespace land
