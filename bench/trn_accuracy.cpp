// Accuracy of both generation methods against the true heights of the synthetic terrain.
//
//   trn_accuracy [CONTOURS] [TRUTH] [METHODS]
//
// Generates the grid of the contour file (default: synth-contours.txt of the shared bench data) with
// the cross-line method and the minimum-curvature method (METHODS: "01" both, "0" or "1" one), and
// prints for each the root mean square, mean absolute, 99th percentile and largest error against the
// truth file (metres, and as a fraction of the contour interval), the posts that break the contours'
// order, and the time taken (wall and processor).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/mode.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"
#include "bench_data.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {

// Truth in metres, row 0 first; R x C values.
bool LoadTruth(const char* path, int R, int C, std::vector<double>& t) {
    FILE* f = std::fopen(path, "r");
    if (!f) return false;
    t.clear();
    char buf[64];
    int ch;
    // Skip comment lines, then read numbers.
    while ((ch = std::fgetc(f)) == '#')
        while ((ch = std::fgetc(f)) != '\n' && ch != EOF) {}
    if (ch != EOF) std::ungetc(ch, f);
    while (std::fscanf(f, "%63s", buf) == 1) t.push_back(std::atof(buf));
    std::fclose(f);
    return static_cast<long long>(t.size()) == static_cast<long long>(R) * C;
}
}  // namespace

int main(int argc, char** argv) {
    std::string shared = ALT_SHARED_DIR;
    std::string cpath = argc > 1 ? argv[1] : shared + "/bench/synth-contours.txt";
    std::string tpath = argc > 2 ? argv[2] : shared + "/bench/synth-truth.txt";
    std::string meth = argc > 3 ? argv[3] : "01";
    BenchData d;
    if (!LoadBench(cpath.c_str(), d)) {
        std::fprintf(stderr, "cannot read contours from %s\n", cpath.c_str());
        return 1;
    }
    int nc = 0;
    double L = 0;
    cntr* c = BenchCntr(d, &nc, &L);
    int R = 0, C = 0;
    if (!TrnMshDim(d.rgn, d.itv, &R, &C)) {
        std::fprintf(stderr, "grid too large\n");
        return 1;
    }
    std::vector<double> truth;
    if (!LoadTruth(tpath.c_str(), R, C, truth)) {
        std::fprintf(stderr, "cannot read %d x %d heights from %s\n", C, R, tpath.c_str());
        return 1;
    }
    std::vector<float> grid(3LL * R * C);
    TrnMshPts(d.rgn, d.itv, R, C, grid.data());
    OrdBand band;
    TrnOrdBand(c, nc, grid.data(), R, C, d.itv, &band);
    const double itv = band.itv > 0 ? band.itv / 1000.0 : 1.0;   // metres
    std::printf("grid %d x %d, %d contours, interval %.2f m\n", C, R, nc, itv);
    std::printf("%-16s %8s %8s %8s %8s %8s %8s %8s %8s %9s %8s %8s\n", "method", "rmse m", "/itv",
                "mae m", "p99 m", "/itv", "max m", "/itv", "median m", "disorder", "wall s", "cpu s");
    for (char m : meth) {
        std::vector<float> v = grid;
        double t0 = Now(), c0 = Cpu();
        bool ok;
        const char* name;
        if (m == '1') {
            name = "min curvature";
            McPrm prm;
            prm.itv = d.itv;
            if (const char* e = std::getenv("ALT_MC_TENSION")) prm.tension = std::atof(e);
            if (const char* e = std::getenv("ALT_MC_PULL")) prm.pull = std::atof(e);
            if (const char* e = std::getenv("ALT_MC_THREADS")) prm.threads = std::atoi(e);
            ok = GenTrnMc(c, nc, v.data(), R, C, prm, false);
        } else {
            name = "cross lines";
            // As terrain creation runs it: local coordinates, heights kept in their bands.
            BgnWork();
            ok = GenTrnCrs(c, nc, v.data(), R * C, nullptr, R, C, d.itv, GenPrmOfSettings(), false, false);
            RunFlg = 0;
        }
        double wall = Now() - t0, cpu = Cpu() - c0;
        std::vector<double> err(static_cast<size_t>(R) * C);
        double se = 0, ae = 0;
        for (long long i = 0; i < static_cast<long long>(R) * C; i++) {
            double e = v[3 * i + 2] / 1000.0 - truth[i];
            err[i] = std::fabs(e);
            se += e * e;
            ae += std::fabs(e);
        }
        const double n = static_cast<double>(err.size());
        std::sort(err.begin(), err.end());
        double rmse = std::sqrt(se / n), mae = ae / n;
        double p99 = err[static_cast<size_t>(0.99 * (n - 1))], mx = err.back();
        double med = err[err.size() / 2];
        long long brk = CntOrdBrk(v.data(), R * C, band);
        std::printf("%-16s %8.3f %8.4f %8.3f %8.3f %8.4f %8.3f %8.4f %8.3f %9lld %8.3f %8.3f%s\n", name,
                    rmse, rmse / itv, mae, p99, p99 / itv, mx, mx / itv, med, brk, wall, cpu,
                    ok ? "" : " (did not finish)");
        if (const char* dump = std::getenv("ALT_DUMP")) {
            std::string p = std::string(dump) + "-" + m + ".txt";
            if (FILE* f = std::fopen(p.c_str(), "w")) {
                for (int r = 0; r < R; r++) {
                    for (int k = 0; k < C; k++) std::fprintf(f, "%.3f ", v[3 * (r * C + k) + 2] / 1000.0);
                    std::fprintf(f, "\n");
                }
                std::fclose(f);
            }
        }
    }
    FreeOrdBand(&band);
    FreeCntr(c, nc);
    return 0;
}
