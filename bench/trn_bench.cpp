// Terrain generation speed: the cross-line method against gdal_grid's triangulation on the same
// contours, and the per-vertex reference against the parallel generator.
//
//   trn_bench [CONTOURS] [SAMPLE_ROWS] [FAST_ROWS] [RUNS]
//
// Reads the contour file (default: synth-contours.txt of the shared bench data) and lays the grid
// over its region and interval. RUNS times (default 3), one after the other: `gdal_grid -a linear`
// on the contour vertices over the same posts, then the cross-line method as terrain creation runs
// it (parallel generator, local coordinates, order bands); each with wall and processor time and
// the load average, then the best of each and their ratio. The machine may be shared: compare the
// figures of one run. Then the reference on SAMPLE_ROWS rows spread over the grid (default 2; 0
// skips it) and whether the parallel generator's heights on those rows are bit-identical.
// FAST_ROWS limits the generator to the first rows (0: the whole grid; profiling).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "core/alc.h"
#include "core/mode.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"
#include "bench_data.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {
double ChildCpu() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           1e-6 * static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

double Load1() {
    double l[1] = {0};
    return getloadavg(l, 1) == 1 ? l[0] : -1;
}

// The contour vertices as points for gdal_grid (CSV and its VRT) in dir; false when not written.
bool WritePoints(const BenchData& d, const std::string& dir) {
    FILE* f = std::fopen((dir + "/pts.csv").c_str(), "w");
    if (!f) return false;
    std::fprintf(f, "x,y,z\n");
    for (size_t i = 0; i < d.pts.size(); i++)
        for (size_t k = 0; k + 1 < d.pts[i].size(); k += 2)
            std::fprintf(f, "%.3f,%.3f,%.3f\n", d.pts[i][k], d.pts[i][k + 1], d.hgt[i]);
    bool ok = std::fclose(f) == 0;
    FILE* v = std::fopen((dir + "/pts.vrt").c_str(), "w");
    if (!v) return false;
    std::fprintf(v, "<OGRVRTDataSource><OGRVRTLayer name=\"pts\"><SrcDataSource>%s/pts.csv</SrcDataSource>"
                    "<GeometryType>wkbPoint25D</GeometryType><GeometryField encoding=\"PointFromColumns\" "
                    "x=\"x\" y=\"y\" z=\"z\"/></OGRVRTLayer></OGRVRTDataSource>\n",
                 dir.c_str());
    return std::fclose(v) == 0 && ok;
}

struct Time {
    double wall = 0, cpu = 0;
};
}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 && argv[1][0] ? argv[1] : std::string(ALT_SHARED_DIR) + "/bench/synth-contours.txt";
    int sample = argc > 2 ? std::atoi(argv[2]) : 2;
    int fastRows = argc > 3 ? std::atoi(argv[3]) : 0;   // 0: the whole grid
    int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
    BenchData d;
    if (!LoadBench(path.c_str(), d)) {
        std::fprintf(stderr, "cannot read contours from %s\n", path.c_str());
        return 1;
    }
    int nc = 0, npt = 0;
    double L = 0;
    cntr* c = BenchCntr(d, &nc, &L);
    for (int i = 0; i < nc; i++) npt += c[i].n;
    int R = 0, C = 0;
    if (!TrnMshDim(d.rgn, d.itv, &R, &C)) {
        std::fprintf(stderr, "grid too large\n");
        return 1;
    }
    std::vector<float> grid(3LL * R * C);
    TrnMshPts(d.rgn, d.itv, R, C, grid.data());
    const int nFast = fastRows > 0 && fastRows < R ? fastRows * C : R * C;
    std::printf("contours %d, points %d, grid %d x %d (%d vertices), %u hardware threads\n", nc, npt,
                C, R, R * C, std::thread::hardware_concurrency());

    // gdal_grid over the same posts: pixel centres on the vertices.
    char tmpl[] = "/tmp/trn_bench.XXXXXX";
    const char* tmp = mkdtemp(tmpl);
    std::string cmd;
    if (tmp && WritePoints(d, tmp)) {
        const double h = d.itv / 2.0;
        char buf[1024];
        std::snprintf(buf, sizeof buf,
                      "gdal_grid -q -a linear -txe %.3f %.3f -tye %.3f %.3f -outsize %d %d -ot Float32 "
                      "-of GTiff -l pts %s/pts.vrt %s/tin.tif",
                      grid[0] - h, grid[3 * (C - 1)] + h, grid[1] - h, grid[3LL * (R - 1) * C + 1] + h, C,
                      R, tmp, tmp);
        cmd = buf;
    }
    const TrnGenPrm prm = GenPrmOfSettings();
    Time bestG{1e30, 1e30}, bestM{1e30, 1e30};
    bool gdalOk = !cmd.empty();
    bool ok = true;
    std::vector<float> fast;
    for (int k = 0; k < runs; k++) {
        if (gdalOk) {
            double l = Load1(), t0 = Now(), c0 = ChildCpu();
            gdalOk = std::system(cmd.c_str()) == 0;
            Time t{Now() - t0, ChildCpu() - c0};
            if (gdalOk) {
                std::printf("run %d: gdal_grid -a linear   %7.3f s wall, %7.3f s cpu (load %.2f)\n", k + 1,
                            t.wall, t.cpu, l);
                bestG.wall = std::min(bestG.wall, t.wall);
                bestG.cpu = std::min(bestG.cpu, t.cpu);
            } else {
                std::printf("gdal_grid failed or is not installed (gdal-bin): no comparison\n");
            }
        }
        fast = grid;
        double l = Load1(), t0 = Now(), c0 = Cpu();
        BgnWork();
        ok = GenTrnCrs(c, nc, fast.data(), nFast, nullptr, nFast == R * C ? R : 0, C, d.itv, prm, false,
                       false) && ok;
        RunFlg = 0;
        Time t{Now() - t0, Cpu() - c0};
        std::printf("run %d: cross-line method    %7.3f s wall, %7.3f s cpu, all threads (load %.2f)%s\n",
                    k + 1, t.wall, t.cpu, l, ok ? "" : " (did not finish)");
        bestM.wall = std::min(bestM.wall, t.wall);
        bestM.cpu = std::min(bestM.cpu, t.cpu);
    }
    std::printf("best: cross-line %.3f s wall, %.3f s cpu", bestM.wall, bestM.cpu);
    if (bestG.wall < 1e30)
        std::printf("; gdal_grid %.3f s wall, %.3f s cpu; ratio %.2f (wall), %.2f (cpu)", bestG.wall,
                    bestG.cpu, bestM.wall / bestG.wall, bestM.cpu / std::max(bestG.cpu, 1e-9));
    std::printf("\n");
    if (tmp) {
        std::remove((std::string(tmp) + "/pts.csv").c_str());
        std::remove((std::string(tmp) + "/pts.vrt").c_str());
        std::remove((std::string(tmp) + "/tin.tif").c_str());
        rmdir(tmp);
    }

    // The reference against the parallel generator on sampled rows, both on the same records.
    if (sample < 0) sample = 0;
    if (sample > R) sample = R;
    long long same = 0, diff = 0;
    if (sample > 0) {
        TrnGenCtx ctx;
        IniGenCtx(ctx, c, nc, L, prm);
        std::vector<int> rows;
        for (int k = 0; k < sample; k++) rows.push_back(static_cast<int>((k + 0.5) * R / sample));
        std::vector<float> ref = grid, par = grid;
        double t0 = Now(), c0 = Cpu();
        for (int r : rows) RunRef(ctx, ref.data() + 3LL * r * C, C, false);
        double tRef = Now() - t0, cRef = Cpu() - c0;
        BgnWork();
        t0 = Now();
        c0 = Cpu();
        ok = GenTrnFast(ctx, par.data(), R * C, false) && ok;
        double tPar = Now() - t0, cPar = Cpu() - c0;
        RunFlg = 0;
        std::printf("reference: %d rows, %d vertices in %.2f s (cpu %.2f s): %.0f vertices/s\n", sample,
                    sample * C, tRef, cRef, sample * C / tRef);
        std::printf("parallel: %d vertices in %.3f s (cpu %.2f s): %.0f vertices/s, %.1f x\n", R * C, tPar,
                    cPar, R * C / tPar, (R * C / tPar) / (sample * C / tRef));
        for (int r : rows)
            for (int k = 0; k < C; k++) {
                long long i = 3LL * (static_cast<long long>(r) * C + k) + 2;
                if (std::memcmp(&ref[i], &par[i], sizeof(float)) == 0) same++;
                else diff++;
            }
        std::printf("heights on the sampled rows: %s (%lld identical, %lld different)\n",
                    diff == 0 ? "identical" : "DIFFERENT", same, diff);
        FreeGenCtx(ctx);
    }
    FreeCntr(c, nc);
    return diff == 0 && ok ? 0 : 1;
}
