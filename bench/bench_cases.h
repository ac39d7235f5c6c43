// The scored cases of the shared benchmark data: contours with the true heights of the same posts
// and the posts to score. The synthetic set scores the posts inside the convex hull of its contour
// vertices; a real case (a GeoTIFF model with its contours and masks in ../shared/bench/real) the
// posts its mask marks 1 or 2.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gdal.h>
#include <ogr_api.h>

#include "bench_data.h"
#include "bench_land.h"
#include "terrain/trn_mth.h"

struct BenchCase {
    std::string name;
    BenchData d;
    std::vector<double> truth;   // R x C, metres, row 0 south; empty: time only
    std::vector<uint8_t> mask;   // posts scored
};

// Truth in metres, row 0 first; R x C values.
inline bool LoadTruth(const char* path, int R, int C, std::vector<double>& t) {
    FILE* f = std::fopen(path, "r");
    if (!f) return false;
    t.clear();
    char buf[64];
    int ch;
    while ((ch = std::fgetc(f)) == '#')
        while ((ch = std::fgetc(f)) != '\n' && ch != EOF) {}
    if (ch != EOF) std::ungetc(ch, f);
    while (std::fscanf(f, "%63s", buf) == 1) t.push_back(std::atof(buf));
    std::fclose(f);
    return static_cast<long long>(t.size()) == static_cast<long long>(R) * C;
}

inline double HullCross(const double* o, const double* a, const double* b) {
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

// Posts inside the convex hull of every contour vertex.
inline void HullMask(const BenchData& d, int R, int C, std::vector<uint8_t>& m) {
    std::vector<std::array<double, 2>> p;
    for (const auto& c : d.pts)
        for (size_t k = 0; k + 1 < c.size(); k += 2) p.push_back({c[k], c[k + 1]});
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end()), p.end());
    std::vector<std::array<double, 2>> h(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); i++) {
        while (k >= 2 && HullCross(h[k - 2].data(), h[k - 1].data(), p[i].data()) <= 0) k--;
        h[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && HullCross(h[k - 2].data(), h[k - 1].data(), p[i].data()) <= 0) k--;
        h[k++] = p[i];
    }
    h.resize(k > 0 ? k - 1 : 0);
    m.assign(static_cast<size_t>(R) * C, 0);
    const double x0 = std::fmin(d.rgn[0], d.rgn[3]), y0 = std::fmin(d.rgn[1], d.rgn[4]);
    for (int r = 0; r < R; r++)
        for (int c = 0; c < C; c++) {
            const double q[2] = {x0 + c * static_cast<double>(d.itv), y0 + r * static_cast<double>(d.itv)};
            bool in = h.size() >= 3;
            for (size_t i = 0; i < h.size() && in; i++)
                in = HullCross(h[i].data(), h[(i + 1) % h.size()].data(), q) >= 0;
            m[static_cast<size_t>(r) * C + c] = in;
        }
}

// The synthetic contours (synth-contours.txt) with their truth (synth-truth.txt).
inline bool LoadSynthCase(const std::string& shared, BenchCase& cs) {
    if (!LoadBench((shared + "/bench/synth-contours.txt").c_str(), cs.d)) return false;
    int R = 0, C = 0;
    if (!TrnMshDim(cs.d.rgn, cs.d.itv, &R, &C)) return false;
    if (!LoadTruth((shared + "/bench/synth-truth.txt").c_str(), R, C, cs.truth)) return false;
    HullMask(cs.d, R, C, cs.mask);
    return true;
}

// A band of a GeoTIFF as doubles, row 0 south; the post of the south-west corner in *x0, *y0.
inline bool ReadTif(const std::string& path, int* R, int* C, std::vector<double>& out, double* x0, double* y0,
                    double* step) {
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!ds) return false;
    *C = GDALGetRasterXSize(ds);
    *R = GDALGetRasterYSize(ds);
    double gt[6];
    GDALGetGeoTransform(ds, gt);
    std::vector<double> raw(static_cast<size_t>(*R) * *C);
    bool ok = GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, 0, 0, *C, *R, raw.data(), *C, *R, GDT_Float64,
                           0, 0) == CE_None;
    GDALClose(ds);
    out.assign(raw.size(), 0);
    for (int r = 0; r < *R; r++)
        std::copy_n(raw.begin() + static_cast<long>(*R - 1 - r) * *C, *C, out.begin() + static_cast<long>(r) * *C);
    *x0 = gt[0] + 0.5 * gt[1];
    *y0 = gt[3] + (*R - 0.5) * gt[5];
    *step = gt[1];
    return ok;
}

// One line string at level elev (m) as a contour, mm from the post (x0, y0).
inline void AddBenchLine(OGRGeometryH g, double elev, double x0, double y0, BenchData& d) {
    const int n = OGR_G_GetPointCount(g);
    if (n < 2) return;
    d.pts.emplace_back();
    d.hgt.push_back(elev * 1000.0);
    for (int i = 0; i < n; i++) {
        d.pts.back().push_back((OGR_G_GetX(g, i) - x0) * 1000.0);
        d.pts.back().push_back((OGR_G_GetY(g, i) - y0) * 1000.0);
    }
}

// A real case: model STEM-GRID.tif, contours STEM-contours-LEVEL.gpkg (layer 0, field elev) and
// mask STEM-mask-LEVEL.tif under shared/bench/real; coordinates in mm from the south-west post,
// the region from that post to the north-east one, the mesh interval the model's.
inline bool LoadRealCase(const std::string& shared, const std::string& stem, const std::string& grid, int level,
                         BenchCase& cs) {
    const std::string dir = shared + "/bench/real/" + stem + "-";
    int R = 0, C = 0, mr = 0, mc = 0;
    double x0, y0, step, a, b, s2;
    std::vector<double> m;
    if (!ReadTif(dir + grid + ".tif", &R, &C, cs.truth, &x0, &y0, &step)) return false;
    if (!ReadTif(dir + "mask-" + std::to_string(level) + ".tif", &mr, &mc, m, &a, &b, &s2) || mr != R || mc != C)
        return false;
    cs.mask.resize(m.size());
    for (size_t i = 0; i < m.size(); i++) cs.mask[i] = m[i] == 1 || m[i] == 2;
    GDALDatasetH ds = GDALOpenEx((dir + "contours-" + std::to_string(level) + ".gpkg").c_str(),
                                 GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (!ds) return false;
    OGRLayerH ly = GDALDatasetGetLayer(ds, 0);
    OGR_L_ResetReading(ly);
    const int fi = OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(ly), "elev");
    while (OGRFeatureH f = OGR_L_GetNextFeature(ly)) {
        OGRGeometryH g = OGR_F_GetGeometryRef(f);
        const double e = OGR_F_GetFieldAsDouble(f, fi);
        if (g && OGR_G_GetGeometryCount(g) > 0) {
            for (int k = 0; k < OGR_G_GetGeometryCount(g); k++)
                AddBenchLine(OGR_G_GetGeometryRef(g, k), e, x0, y0, cs.d);
        } else if (g) {
            AddBenchLine(g, e, x0, y0, cs.d);
        }
        OGR_F_Destroy(f);
    }
    GDALClose(ds);
    cs.d.rgn[3] = static_cast<float>((C - 1) * step * 1000.0);
    cs.d.rgn[4] = static_cast<float>((R - 1) * step * 1000.0);
    cs.d.itv = static_cast<float>(step * 1000.0);
    return !cs.d.pts.empty();
}

// The cases by name: "synth", "synth4" (the synthetic grid at half the interval: time only),
// "andes20", "andes50" (10 m Andean model, contours every 20 and 50 m), "lowland1", "lowland2"
// (1 m lowland model, contours every 1 and 2 m). False for an unknown name or unreadable data.
inline bool LoadBenchCase(const std::string& shared, const std::string& name, BenchCase& cs) {
    cs.name = name;
    if (name == "synth" || name == "synth4") {
        if (!LoadSynthCase(shared, cs)) return false;
        if (name == "synth4") {
            cs.d.itv /= 2;
            cs.truth.clear();
            cs.mask.clear();
        }
        return true;
    }
    if (name == "andes20" || name == "andes50")
        return LoadRealCase(shared, "ecuador", "10m", name == "andes20" ? 20 : 50, cs);
    if (name == "lowland1" || name == "lowland2")
        return LoadRealCase(shared, "lowland", "1m", name == "lowland1" ? 1 : 2, cs);
    if (!land::Load(shared, name, cs.d, cs.truth)) return false;
    int R = 0, C = 0;
    if (!TrnMshDim(cs.d.rgn, cs.d.itv, &R, &C) || static_cast<long long>(R) * C != static_cast<long long>(cs.truth.size()))
        return false;
    HullMask(cs.d, R, C, cs.mask);
    return true;
}

inline bool IsBenchCase(const std::string& name) {
    return name == "synth" || name == "synth4" || name == "andes20" || name == "andes50" || name == "lowland1" ||
           name == "lowland2" || std::find(land::Names().begin(), land::Names().end(), name) != land::Names().end();
}

// A list of cases with "landforms" standing for every landform case (bench_land.h).
inline std::vector<std::string> ExpandCases(const std::vector<std::string>& in) {
    std::vector<std::string> out;
    for (const std::string& c : in) {
        if (c == "landforms") out.insert(out.end(), land::Names().begin(), land::Names().end());
        else out.push_back(c);
    }
    return out;
}

inline std::vector<std::string> SplitList(const std::string& s) {
    std::vector<std::string> out;
    size_t p = 0;
    while (p <= s.size()) {
        size_t q = s.find(',', p);
        if (q == std::string::npos) q = s.size();
        if (q > p) out.push_back(s.substr(p, q - p));
        p = q + 1;
    }
    return out;
}

// The methods of a list of command-line names, every method when it is empty; false (the unknown
// name on standard error) when a name is not a method.
inline bool BenchMethods(const std::vector<std::string>& names, std::vector<const TrnMethodInfo*>& out) {
    for (const std::string& m : names) {
        const TrnMethodInfo* mi = TrnMethodByName(m.c_str());
        if (!mi) {
            std::fprintf(stderr, "unknown method %s\n", m.c_str());
            return false;
        }
        out.push_back(mi);
    }
    if (out.empty())
        for (int k = 0; k < TrnMethodNum; k++) out.push_back(&TrnMethods[k]);
    return true;
}
