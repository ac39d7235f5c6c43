// Undo steps and recovery copies on the sample document (801 x 601 terrain, 46 contours): the time
// and memory of recording a terrain step, of undoing and redoing it, and of a recovery copy split
// into the part the window waits for (the snapshot) and the part a worker thread writes.
//
//   undo_bench [DOCUMENT.scn] [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench_data.h"
#include "doc/recover.h"
#include "formats/scn.h"
#include "cmd/undo.h"

#ifndef ALT_DATA_DIR
#error "ALT_DATA_DIR is defined by the build: the data folder of the source tree"
#endif

namespace {
struct Times {
    std::vector<double> ms;
    void Add(double s) { ms.push_back(s * 1000); }
    double Med() {
        std::sort(ms.begin(), ms.end());
        return ms.empty() ? 0 : ms[ms.size() / 2];
    }
    double Max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};
}  // namespace

int main(int argc, char** argv) {
    const std::string doc = argc > 1 ? argv[1] : std::string(ALT_DATA_DIR) + "/sample.scn";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    BenchStart();
    if (DocOpen(doc) != DocDone || !TrnSrf || !TrnGrd) {
        std::fprintf(stderr, "cannot open %s with its terrain\n", doc.c_str());
        return 1;
    }
    const long long posts = TrnSrf->nv;
    // What the terrain itself holds: positions, normals, the grid's indexes.
    const long long trnBytes = posts * (12LL * ((TrnSrf->v ? 1 : 0) + (TrnSrf->nrm ? 1 : 0) + (TrnSrf->v3 ? 1 : 0))) +
                               4LL * TrnGrd->n;
    std::printf("document %s: grid %d x %d (%lld posts, %.1f MB), %d curves\n", doc.c_str(), TrnGrd->cols,
                TrnGrd->rows, posts, trnBytes / 1e6, CrvPart ? CrvPart->crvs.n : 0);

    // Recording: each step a terrain change, as terrain creation and the filter record it.
    Times rec, und, red;
    ClrUndo();
    const double peak0 = PeakMb();
    for (int r = 0; r < runs; ++r) {
        const long long before = UndoBytes();
        const double t0 = Now();
        RecUndo(UndoTrn, 0, nullptr);
        rec.Add(Now() - t0);
        if (r == 0)
            std::printf("one terrain step holds %.1f MB: %.3f times the terrain\n", (UndoBytes() - before) / 1e6,
                        static_cast<double>(UndoBytes() - before) / static_cast<double>(trnBytes));
        TrnSrf->v[2] += 1000.0f;  // the change the step is about
    }
    std::printf("record a terrain step: median %.2f ms, max %.2f ms (%d runs)\n", rec.Med(), rec.Max(), runs);
    std::printf("history: %d steps, %.1f MB of copies, peak memory +%.0f MB\n", UndoSteps(), UndoBytes() / 1e6,
                PeakMb() - peak0);
    for (int r = 0; r < runs; ++r) {
        double t0 = Now();
        Undo();
        und.Add(Now() - t0);
    }
    for (int r = 0; r < runs; ++r) {
        double t0 = Now();
        Redo();
        red.Add(Now() - t0);
    }
    std::printf("undo a terrain step: median %.2f ms, max %.2f ms; redo: median %.2f ms, max %.2f ms\n", und.Med(),
                und.Max(), red.Med(), red.Max());
    // The budget: as many terrain steps as fit in 256 MB.
    for (int r = 0; r < 40; ++r) RecUndo(UndoTrn, 0, nullptr);
    std::printf("at the budget: %d terrain steps, %.1f MB of copies (budget %.0f MB)\n", UndoSteps(),
                UndoBytes() / 1e6, UndoMaxMem / 1048576.0);
    ClrUndo();

    // Recovery copies.
    char tmpl[] = "/tmp/undo_bench-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    const std::string scn = std::string(tmpl) + "/copy.scn", meta = std::string(tmpl) + "/copy.rcv";
    Times snap, write, total;
    RcvCopy c;
    int fails = 0;
    for (int r = 0; r < runs; ++r) {
        const double t0 = Now();
        RcvSnap(&c, 0);
        const double t1 = Now();
        std::string err;
        // On a worker, as the window writes it.
        std::thread w([&] {
            if (RcvWrite(c, scn, meta, &err) != 0) ++fails;
        });
        w.join();
        const double t2 = Now();
        snap.Add(t1 - t0);
        write.Add(t2 - t1);
        total.Add(t2 - t0);
    }
    std::printf("recovery copy of %.1f MB: snapshot (the window waits) median %.1f ms, max %.1f ms; "
                "writing on the worker median %.1f ms, max %.1f ms; whole median %.1f ms, max %.1f ms\n",
                c.scn.size() / 1e6, snap.Med(), snap.Max(), write.Med(), write.Max(), total.Med(), total.Max());
    unlink(scn.c_str());
    unlink(meta.c_str());
    rmdir(tmpl);
    DstrCmd(CatSys, CmdSysEnd);
    return fails == 0 ? 0 : 1;
}
