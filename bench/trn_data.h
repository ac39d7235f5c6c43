// The shared benchmark contours (synth-contours.txt format) as generation's contour records.
#pragma once
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/alc.h"
#include "terrain/trn_gen.h"

struct BenchData {
    float rgn[6] = {0, 0, 0, 0, 0, 0};
    float itv = 0;
    std::vector<std::vector<double>> pts;
    std::vector<float> hgt;
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
            d.hgt.push_back(static_cast<float>(a));
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
        r.hgt = d.hgt[i];
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
