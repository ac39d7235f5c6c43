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

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {
struct Data {
    float rgn[6] = {0, 0, 0, 0, 0, 0};
    float itv = 0;
    std::vector<std::vector<double>> pts;
    std::vector<float> hgt;
};

bool Load(const char* path, Data& d) {
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

double Cpu() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : std::string(ALT_SHARED_DIR) + "/bench/synth-contours.txt";
    int sample = argc > 2 ? std::atoi(argv[2]) : 5;
    int fastRows = argc > 3 ? std::atoi(argv[3]) : 0;   // 0: the whole grid
    Data d;
    if (!Load(path.c_str(), d)) {
        std::fprintf(stderr, "cannot read contours from %s\n", path.c_str());
        return 1;
    }
    // Contour records as generation builds them from the curves (points as stored: floats).
    int nc = static_cast<int>(d.pts.size()), npt = 0;
    cntr* c = static_cast<cntr*>(AlcMem(sizeof(cntr) * nc, "cntr"));
    double lo[2] = {std::fmin(d.rgn[0], d.rgn[3]), std::fmin(d.rgn[1], d.rgn[4])};
    double hi[2] = {std::fmax(d.rgn[0], d.rgn[3]), std::fmax(d.rgn[1], d.rgn[4])};
    for (int i = 0; i < nc; i++) {
        cntr& r = c[i];
        r.n = static_cast<int>(d.pts[i].size() / 2);
        npt += r.n;
        r.pnt = static_cast<double*>(AlcMem(sizeof(double) * 2 * r.n, "pnt"));
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
    // The scene holds the contours and the grid over the region.
    TrnGenCtx ctx;
    IniGenCtx(ctx, c, nc, std::fmax(hi[0] - lo[0], hi[1] - lo[1]), GenPrmOfSettings());

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
