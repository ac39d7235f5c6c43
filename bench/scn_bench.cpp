// Scene document speed: save and open the 801 x 601 terrain of the shared contour set (about
// 11 MB with its contours), several times each, in MB/s of wall and CPU time.
//
//   scn_bench [CONTOURS] [RUNS]
//
// The heights are a smooth function of the position (generation is measured by trn_bench).
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cmd.h"
#include "core/state.h"
#include "curves/crv.h"
#include "doc/doc.h"
#include "formats/scn.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "bench_data.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : std::string(ALT_SHARED_DIR) + "/bench/synth-contours.txt";
    int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    BenchStart();
    BenchData d;
    if (!LoadBench(path.c_str(), d) || BenchCurves(d) < 0) {
        std::fprintf(stderr, "cannot read contours from %s\n", path.c_str());
        return 1;
    }
    if (!CreTrnMsh()) {
        std::fprintf(stderr, "cannot make the grid\n");
        return 1;
    }
    for (int i = 0; i < TrnSrf->nv; i++) {
        float* v = TrnSrf->v + 3 * i;
        v[2] = 300000.0f + 100000.0f * std::sin(v[0] / 400000.0f) * std::cos(v[1] / 300000.0f);
    }
    std::printf("grid %d x %d, %d curves\n", TrnGrd->cols, TrnGrd->rows, TrnPrt->crvs.n);

    char tmpl[] = "/tmp/scn_bench-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    const std::string file = std::string(tmpl) + "/bench.scn";
    double bestW = 1e9, bestR = 1e9, cpuW = 0, cpuR = 0;
    long long size = 0;
    int fails = 0;
    for (int r = 0; r < runs; r++) {
        double t0 = Now(), c0 = Cpu();
        if (WrScn(file.c_str()) != 0) fails++;
        double t = Now() - t0, c = Cpu() - c0;
        if (t < bestW) { bestW = t; cpuW = c; }
        struct stat st;
        if (stat(file.c_str(), &st) == 0) size = st.st_size;
    }
    // Opening replaces the scene each time, as the document flow does.
    for (int r = 0; r < runs; r++) {
        DocRstScn();
        double t0 = Now(), c0 = Cpu();
        RdScn(file.c_str());
        double t = Now() - t0, c = Cpu() - c0;
        if (ScnRdSt != ScnRdOk) fails++;
        if (t < bestR) { bestR = t; cpuR = c; }
    }
    DocBindTrn();
    const double mb = static_cast<double>(size) / 1e6;
    std::printf("document %.2f MB\n", mb);
    std::printf("save: %.3f s (cpu %.3f s, including fsync): %.0f MB/s\n", bestW, cpuW, mb / bestW);
    std::printf("open: %.3f s (cpu %.3f s): %.0f MB/s\n", bestR, cpuR, mb / bestR);
    std::printf("terrain after open: %s\n", TrnGrd && TrnGrd->rows == 601 && TrnGrd->cols == 801 ? "801 x 601" : "MISSING");
    unlink(file.c_str());
    rmdir(tmpl);
    DstrCmd(CatSys, CmdSysEnd);
    return fails == 0 ? 0 : 1;
}
