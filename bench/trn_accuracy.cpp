// Accuracy of every generation method against true heights, with time and peak memory.
//
//   trn_accuracy [METHODS] [CASES]
//
// METHODS: command-line names of the methods separated by commas (default: all of them). CASES:
// any of "synth", "andes20", "andes50", "lowland1", "lowland2", "synth4" (the synthetic grid at
// half the interval, four times the posts: time only), comma-separated (default: all but synth4;
// about 40 s on two cores, half of it the lowland cases); "landforms": the landforms of
// bench_land.h (each also by its name), made and traced at the start of their case.
//
// Cases: the synthetic contours of the shared bench data with their true heights (scored at the
// posts inside the convex hull of the contour vertices), the real Andean model rebuilt from its
// 20 m and 50 m contours and the real lowland model from its 1 m and 2 m contours (scored at the
// posts their masks mark). Each method runs in a child process, so that its peak memory is its
// own: the growth of the resident size over the child's start.
// Prints per case and method the root mean square error (metres and as a fraction of the contour
// interval), the largest error, the posts outside the band of the levels that bound them, wall
// and processor time and peak memory (MB and bytes per post); then the table of RMSE / interval.
// ALT_DUMP=PREFIX writes each grid to PREFIX-CASE-METHOD.txt (metres, south row first), and the
// true heights of the posts scored to PREFIX-CASE-truth.txt (nan: not scored).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gdal.h>
#include <ogr_api.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/mode.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"
#include "terrain/trn_mth.h"
#include "terrain/trn_path.h"
#include "bench_cases.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {

// Resident size of this process now (kB).
long RssKb() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    long pages = 0, res = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &res) != 2) res = 0;
        std::fclose(f);
    }
    return res * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Run {
    double wall = 0, cpu = 0, peakKb = 0;
    int ok = 0;
};

struct Row {
    std::string cs;
    std::vector<double> score;   // per method, RMSE / interval (NaN: not run)
};
}  // namespace

int main(int argc, char** argv) {
    const std::string shared = ALT_SHARED_DIR;
    std::vector<const TrnMethodInfo*> meth;
    if (!BenchMethods(SplitList(argc > 1 ? argv[1] : ""), meth)) return 1;
    std::vector<std::string> cases = ExpandCases(SplitList(argc > 2 ? argv[2] : "synth,andes20,andes50,lowland1,lowland2"));
    BenchStart();
    GDALAllRegister();
    std::vector<Row> table;
    for (const std::string& cn : cases) {
        BenchCase cs;
        if (!IsBenchCase(cn)) {
            std::fprintf(stderr, "unknown case %s\n", cn.c_str());
            return 1;
        }
        const bool ok = LoadBenchCase(shared, cn, cs);
        if (!ok) {
            std::fprintf(stderr, "cannot read the data of case %s\n", cn.c_str());
            return 1;
        }
        int nc = 0;
        double L = 0;
        cntr* c = BenchCntr(cs.d, &nc, &L);
        int R = 0, C = 0;
        if (!TrnMshDim(cs.d.rgn, cs.d.itv, &R, &C)) {
            std::fprintf(stderr, "grid too large\n");
            return 1;
        }
        const long long n = static_cast<long long>(R) * C;
        std::vector<float> grid(3 * n);
        TrnMshPts(cs.d.rgn, cs.d.itv, R, C, grid.data());
        OrdBand band;
        PathBand(c, nc, grid.data(), R, C, cs.d.itv, &band);
        const double itv = band.itv > 0 ? band.itv / 1000.0 : 1.0;
        long long scored = 0;
        for (uint8_t m : cs.mask) scored += m;
        std::printf("\n%s: grid %d x %d, %d contours, interval %.2f m, %lld posts scored\n", cn.c_str(), C, R, nc,
                    itv, scored);
        std::printf("%-16s %8s %8s %8s %8s %9s %8s %8s %8s %8s\n", "method", "rmse m", "/itv", "max m", "/itv",
                    "disorder", "wall s", "cpu s", "peak MB", "B/post");
        Row row;
        row.cs = cn;
        if (const char* dump = std::getenv("ALT_DUMP"); dump && !cs.truth.empty()) {
            if (FILE* f = std::fopen((std::string(dump) + "-" + cn + "-truth.txt").c_str(), "w")) {
                for (int r = 0; r < R; r++) {
                    for (int k = 0; k < C; k++) std::fprintf(f, "%.3f ", cs.mask[static_cast<size_t>(r) * C + k] ? cs.truth[static_cast<size_t>(r) * C + k] : NAN);
                    std::fprintf(f, "\n");
                }
                std::fclose(f);
            }
        }
        for (const TrnMethodInfo* mi : meth) {
            // Heights and the run's figures come back through shared memory from a child process.
            const size_t bytes = sizeof(Run) + sizeof(float) * 3 * static_cast<size_t>(n);
            void* shm = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
            if (shm == MAP_FAILED) return 1;
            Run* run = static_cast<Run*>(shm);
            float* v = reinterpret_cast<float*>(run + 1);
            std::fflush(stdout);
            pid_t pid = fork();
            if (pid == 0) {
                std::vector<float> w = grid;
                const long base = RssKb();
                double t0 = Now(), c0 = Cpu();
                run->ok = TrnGenMethod(mi->kind, c, nc, w.data(), R, C, cs.d.itv) ? 1 : 0;
                run->wall = Now() - t0;
                run->cpu = Cpu() - c0;
                run->peakKb = std::max(0.0, PeakMb() * 1024.0 - static_cast<double>(base));
                std::copy(w.begin(), w.end(), v);
                _exit(0);
            }
            int st = 0;
            waitpid(pid, &st, 0);
            double rmse = NAN, mx = 0;
            if (!cs.truth.empty()) {
                double se = 0;
                long long k = 0;
                for (long long i = 0; i < n; i++) {
                    if (!cs.mask[i]) continue;
                    const double e = v[3 * i + 2] / 1000.0 - cs.truth[i];
                    se += e * e;
                    mx = std::max(mx, std::fabs(e));
                    k++;
                }
                rmse = std::sqrt(se / std::max(k, 1LL));
            }
            const long long brk = CntOrdBrk(v, static_cast<int>(n), band);
            std::printf("%-16s %8.3f %8.4f %8.3f %8.4f %9lld %8.3f %8.3f %8.1f %8.1f%s\n", mi->name, rmse,
                        rmse / itv, mx, mx / itv, brk, run->wall, run->cpu, run->peakKb / 1024.0,
                        run->peakKb * 1024.0 / static_cast<double>(n),
                        run->ok && WIFEXITED(st) ? "" : " (did not finish)");
            row.score.push_back(rmse / itv);
            if (const char* dump = std::getenv("ALT_DUMP")) {
                std::string p = std::string(dump) + "-" + cn + "-" + mi->name + ".txt";
                if (FILE* f = std::fopen(p.c_str(), "w")) {
                    for (int r = 0; r < R; r++) {
                        for (int k = 0; k < C; k++) std::fprintf(f, "%.3f ", v[3 * (r * C + k) + 2] / 1000.0);
                        std::fprintf(f, "\n");
                    }
                    std::fclose(f);
                }
            }
            munmap(shm, bytes);
        }
        table.push_back(row);
        FreeOrdBand(&band);
        FreeCntr(c, nc);
    }
    std::printf("\nRMSE / contour interval\n%-10s", "case");
    for (const TrnMethodInfo* mi : meth) std::printf(" %16s", mi->name);
    std::printf("\n");
    for (const Row& r : table) {
        std::printf("%-10s", r.cs.c_str());
        for (double s : r.score) std::printf(" %16.4f", s);
        std::printf("\n");
    }
    return 0;
}
