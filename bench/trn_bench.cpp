// Terrain generation speed: the per-vertex reference against the parallel generator.
//
//   trn_bench [CONTOURS] [SAMPLE_ROWS]
//
// Reads the contour file (default: synth-contours.txt of the shared bench data), lays the grid over
// its region and interval, runs the reference on SAMPLE_ROWS rows spread over the grid (default 5)
// and the parallel generator on the whole grid, and prints vertices per second for each, their
// ratio and whether the heights on the sampled rows are bit-identical.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "core/alc.h"
#include "core/mode.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"
#include "bench_data.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif


int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : std::string(ALT_SHARED_DIR) + "/bench/synth-contours.txt";
    int sample = argc > 2 ? std::atoi(argv[2]) : 5;
    int fastRows = argc > 3 ? std::atoi(argv[3]) : 0;   // 0: the whole grid
    BenchData d;
    if (!LoadBench(path.c_str(), d)) {
        std::fprintf(stderr, "cannot read contours from %s\n", path.c_str());
        return 1;
    }
    int nc = 0, npt = 0;
    double L = 0;
    cntr* c = BenchCntr(d, &nc, &L);
    for (int i = 0; i < nc; i++) npt += c[i].n;
    // The scene holds the contours and the grid over the region.
    TrnGenCtx ctx;
    IniGenCtx(ctx, c, nc, L, GenPrmOfSettings());

    int R = 0, C = 0;
    if (!TrnMshDim(d.rgn, d.itv, &R, &C)) {
        std::fprintf(stderr, "grid too large\n");
        return 1;
    }
    std::vector<float> grid(3LL * R * C);
    TrnMshPts(d.rgn, d.itv, R, C, grid.data());
    std::printf("contours %d, points %d, grid %d x %d (%d vertices), %u hardware threads\n", nc, npt,
                C, R, R * C, std::thread::hardware_concurrency());

    // Reference on the sampled rows.
    if (sample < 0) sample = 0;   // 0: no reference run (profiling the fast one)
    if (sample > R) sample = R;
    std::vector<int> rows;
    for (int k = 0; k < sample; k++) rows.push_back(static_cast<int>((k + 0.5) * R / sample));
    std::vector<float> ref = grid;
    double t0 = Now(), c0 = Cpu();
    for (int r : rows) RunRef(ctx, ref.data() + 3LL * r * C, C, false);
    double tRef = Now() - t0, cRef = Cpu() - c0;
    double vRef = sample > 0 ? sample * C / tRef : 0;
    std::printf("reference: %d rows, %d vertices in %.2f s (cpu %.2f s): %.0f vertices/s\n",
                sample, sample * C, tRef, cRef, vRef);

    // Parallel generator on the whole grid (or its first rows).
    std::vector<float> fast = grid;
    int nFast = fastRows > 0 && fastRows < R ? fastRows * C : R * C;
    BgnWork();
    t0 = Now();
    c0 = Cpu();
    bool ok = GenTrnFast(ctx, fast.data(), nFast, false);
    double tFast = Now() - t0, cFast = Cpu() - c0;
    RunFlg = 0;
    double vFast = nFast / tFast;
    std::printf("fast: %d vertices in %.3f s (cpu %.2f s, all threads): %.0f vertices/s%s\n",
                nFast, tFast, cFast, vFast, ok ? "" : " (did not finish)");
    if (vRef > 0) std::printf("ratio: %.1f x\n", vFast / vRef);

    long long same = 0, diff = 0;
    for (int r : rows)
        for (int k = 0; k < C && 3LL * (static_cast<long long>(r) * C + k) < 3LL * nFast; k++) {
            long long i = 3LL * (static_cast<long long>(r) * C + k) + 2;
            if (std::memcmp(&ref[i], &fast[i], sizeof(float)) == 0) same++;
            else diff++;
        }
    std::printf("heights on the sampled rows: %s (%lld identical, %lld different)\n",
                diff == 0 ? "identical" : "DIFFERENT", same, diff);
    FreeGenCtx(ctx);
    FreeCntr(c, nc);
    return diff == 0 && ok ? 0 : 1;
}
