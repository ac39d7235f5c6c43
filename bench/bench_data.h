// What every benchmark shares: the clocks, and the shared benchmark contours (synth-contours.txt
// format) read once and turned into curves or generation's contour records.
#pragma once
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <vector>

#include <sys/resource.h>

#include "app/sys.h"
#include "core/alc.h"
#include "core/cmd.h"
#include "core/state.h"
#include "curves/crv.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"

// splitmix64: the same numbers on every platform, unlike the standard distributions.
struct Rng {
    uint64_t s;
    uint64_t Next() {
        uint64_t z = (s += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    double U() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double U(double a, double b) { return a + (b - a) * U(); }
};

inline double Cpu() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }
inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Peak resident memory of this process so far, MB.
inline double PeakMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// The application's start-up order with default settings: the engine, the start-up scene and the
// terrain scene.
inline void BenchStart() {
    StartEng();
}

// Region in the engine's six-float layout (x0 y0 . x1 y1 .), interval, and per curve its points
// (x y pairs, mm) and height.
struct BenchData {
    float rgn[6] = {0, 0, 0, 0, 0, 0};
    float itv = 0;
    std::vector<std::vector<double>> pts;
    std::vector<double> hgt;
};

inline bool LoadBench(const char* path, BenchData& d) {
    FILE* f = std::fopen(path, "r");
    if (!f) return false;
    char line[512];
    int want = 0;
    while (std::fgets(line, sizeof line, f)) {
        if (line[0] == '#' || line[0] == '\n') continue;
        double a, b, c, e;
        int n;
        if (want > 0) {
            if (std::sscanf(line, "%lf %lf", &a, &b) != 2) break;
            d.pts.back().push_back(a);
            d.pts.back().push_back(b);
            want--;
        } else if (std::sscanf(line, "region %lf %lf %lf %lf", &a, &b, &c, &e) == 4) {
            d.rgn[0] = static_cast<float>(a); d.rgn[1] = static_cast<float>(b);
            d.rgn[3] = static_cast<float>(c); d.rgn[4] = static_cast<float>(e);
        } else if (std::sscanf(line, "interval %lf", &a) == 1) {
            d.itv = static_cast<float>(a);
        } else if (std::sscanf(line, "curve %d %lf", &n, &a) == 2) {
            d.pts.emplace_back();
            d.hgt.push_back(a);
            want = n;
        }
    }
    std::fclose(f);
    return want == 0 && !d.pts.empty() && d.itv > 0;
}

// Contour records as generation builds them from the curves (points stored as floats); the scene
// extent (larger side of the box of contours and region) in *L.
inline cntr* BenchCntr(const BenchData& d, int* nc, double* L) {
    *nc = static_cast<int>(d.pts.size());
    cntr* c = static_cast<cntr*>(AlcMem(static_cast<long long>(sizeof(cntr)) * *nc, "cntr"));
    double lo[2] = {std::fmin(d.rgn[0], d.rgn[3]), std::fmin(d.rgn[1], d.rgn[4])};
    double hi[2] = {std::fmax(d.rgn[0], d.rgn[3]), std::fmax(d.rgn[1], d.rgn[4])};
    for (int i = 0; i < *nc; i++) {
        cntr& r = c[i];
        r.n = static_cast<int>(d.pts[i].size() / 2);
        r.pnt = static_cast<double*>(AlcMem(static_cast<long long>(sizeof(double)) * 2 * r.n, "pnt"));
        r.hgt = static_cast<float>(d.hgt[i]);
        r.minx = r.miny = 1e15;
        r.maxx = r.maxy = -1e15;
        for (int k = 0; k < 2 * r.n; k++) r.pnt[k] = static_cast<float>(d.pts[i][k]);
        for (int k = 0; k < r.n; k++) {
            r.minx = std::fmin(r.minx, r.pnt[2 * k]); r.maxx = std::fmax(r.maxx, r.pnt[2 * k]);
            r.miny = std::fmin(r.miny, r.pnt[2 * k + 1]); r.maxy = std::fmax(r.maxy, r.pnt[2 * k + 1]);
        }
        lo[0] = std::fmin(lo[0], r.minx); lo[1] = std::fmin(lo[1], r.miny);
        hi[0] = std::fmax(hi[0], r.maxx); hi[1] = std::fmax(hi[1], r.maxy);
    }
    *L = std::fmax(hi[0] - lo[0], hi[1] - lo[1]);
    return c;
}

// The contours as curves of the scene's contour part, and the region and interval as the engine's
// settings, as a user who digitised them would leave them. Returns the number of points.
inline long BenchCurves(const BenchData& d) {
    long n = 0;
    for (size_t i = 0; i < d.pts.size(); ++i) {
        crv* c = NewCrv();
        if (!c) return -1;
        const float h = static_cast<float>(d.hgt[i]);
        for (size_t k = 0; k + 1 < d.pts[i].size(); k += 2, ++n)
            AddPnt(c, static_cast<float>(d.pts[i][k]), static_cast<float>(d.pts[i][k + 1]), h);
        SetCrvCol(c, h);
        UdtBox(c, OK_CRV);
    }
    for (int k = 0; k < 6; ++k) TrnRgn[k] = d.rgn[k];
    MshItv = d.itv;
    return n;
}
