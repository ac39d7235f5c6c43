// How right the expected error of the terrain is, against true heights.
//
//   trn_trust [CASES]
//
// CASES: any of "synth", "andes20", "andes50", "lowland1", "lowland2", comma-separated (default:
// all five). Each case is made by gradient paths, then its expected-error map; over the posts
// scored (inside the contours' hull for the synthetic case, the mask's for a real one) it prints the
// Spearman rank correlation between expected and actual absolute error, the share of posts whose
// actual error is within twice the expected one, and the RMS of the expected errors over the actual
// RMSE; then the constants the cross-validation gave, the time of the map against that of the
// terrain (best of ALT_REPS runs each, default 3), the terrain's peak memory and the map's beyond
// it, in bytes per post (the kernel's peak resident size of a child running each, the least of
// ALT_REPS; the map's output buffer is the caller's and not counted). Wanted: correlation >= 0.5, share 90-98 %, ratio
// 0.7-1.4, time <= 3, memory <= 8 (MISSED marks a case that falls short). ALT_DUMP=PREFIX writes
// PREFIX-CASE.txt: per scored post its index, the
// distances to its lower and upper line (mm), band width (mm), expected and signed actual error,
// height, lower level (m) and the cosine between the directions to its two lines. Checks that the
// figures hold: ALT_SHIFT=EAST,NORTH moves the whole case by that many metres, ALT_ROUND=1 scores
// against true heights rounded to whole metres.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include <gdal.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include "terrain/trn.h"
#include "terrain/trn_err.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_path.h"
#include "bench_cases.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {
// Ranks with ties averaged.
std::vector<double> Ranks(const std::vector<double>& x) {
    std::vector<size_t> o(x.size());
    std::iota(o.begin(), o.end(), 0);
    std::sort(o.begin(), o.end(), [&](size_t a, size_t b) { return x[a] < x[b]; });
    std::vector<double> r(x.size());
    for (size_t i = 0; i < o.size();) {
        size_t j = i;
        while (j + 1 < o.size() && x[o[j + 1]] == x[o[i]]) j++;
        for (size_t k = i; k <= j; k++) r[o[k]] = 0.5 * static_cast<double>(i + j);
        i = j + 1;
    }
    return r;
}

// A figure (kB) of this process's status: "VmHWM" (peak resident size since the last ResetPeak),
// "RssFile" (mapped files, code among them); 0 when the kernel does not say.
long StatusKb(const char* key) {
    long v = 0, out = 0;
    char line[256], fmt[64];
    std::snprintf(fmt, sizeof fmt, "%s: %%ld", key);
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, fmt, &v) == 1) out = v;
        std::fclose(f);
    }
    return out;
}

void ResetPeak() {
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// Memory (kB) that run() touches beyond what the process held: run in a child, whose heap starts as
// the parent's, so that two runs are measured from the same state; the code the child pages in
// again is not counted. -1 when it could not be measured.
template <class F>
long PeakOf(F run) {
    int fd[2];
    malloc_trim(0);
    if (pipe(fd) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fd[0]);
        ResetPeak();
        const long k0 = StatusKb("VmHWM"), f0 = StatusKb("RssFile");
        const long out = run() ? StatusKb("VmHWM") - k0 - (StatusKb("RssFile") - f0) : -1;
        if (write(fd[1], &out, sizeof out) != sizeof out) _exit(1);
        _exit(0);
    }
    close(fd[1]);
    long out = -1;
    if (pid < 0 || read(fd[0], &out, sizeof out) != sizeof out) out = -1;
    close(fd[0]);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return out;
}

double Pearson(const std::vector<double>& a, const std::vector<double>& b) {
    const double n = static_cast<double>(a.size());
    const double ma = std::accumulate(a.begin(), a.end(), 0.0) / n, mb = std::accumulate(b.begin(), b.end(), 0.0) / n;
    double sab = 0, saa = 0, sbb = 0;
    for (size_t i = 0; i < a.size(); i++) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return saa > 0 && sbb > 0 ? sab / std::sqrt(saa * sbb) : 0;
}
}  // namespace

int main(int argc, char** argv) {
    const std::string shared = ALT_SHARED_DIR;
    std::vector<std::string> cases = SplitList(argc > 1 ? argv[1] : "synth,andes20,andes50,lowland1,lowland2");
    // Large blocks always mapped and given back when freed, so the peak resident size follows what
    // is allocated rather than what the allocator keeps after a run.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_ARENA_MAX, 1);
    BenchStart();
    GDALAllRegister();
    const int reps = std::max(1, std::getenv("ALT_REPS") ? std::atoi(std::getenv("ALT_REPS")) : 3);
    std::printf("%-10s %8s %8s %9s %8s %8s %8s %8s %6s %7s %7s %9s %6s %6s %6s %5s %5s %7s\n", "case", "rmse m", "itv m",
                "spearman", "in 2s %", "rms e/a", "gen s", "map s", "time", "gen B", "+B/post", "alpha", "pw", "step",
                "crestDn", "rise", "dev", "samples");
    bool all = true;
    for (const std::string& cn : cases) {
        BenchCase cs;
        if (!IsBenchCase(cn) || !LoadBenchCase(shared, cn, cs) || cs.truth.empty()) {
            std::fprintf(stderr, "cannot read the data of case %s\n", cn.c_str());
            return 1;
        }
        if (const char* sh = std::getenv("ALT_SHIFT")) {
            // The whole case moved, as data in a national grid come (metres east, north).
            double dx = 0, dy = 0;
            if (std::sscanf(sh, "%lf,%lf", &dx, &dy) != 2) return 1;
            for (std::vector<double>& p : cs.d.pts)
                for (size_t k = 0; k + 1 < p.size(); k += 2) {
                    p[k] += dx * 1000;
                    p[k + 1] += dy * 1000;
                }
            for (int k : {0, 3}) cs.d.rgn[k] = static_cast<float>(cs.d.rgn[k] + dx * 1000);
            for (int k : {1, 4}) cs.d.rgn[k] = static_cast<float>(cs.d.rgn[k] + dy * 1000);
        }
        if (std::getenv("ALT_ROUND"))
            for (double& t : cs.truth) t = std::round(t);
        int nc = 0;
        double L = 0;
        cntr* c = BenchCntr(cs.d, &nc, &L);
        int R = 0, C = 0;
        if (!TrnMshDim(cs.d.rgn, cs.d.itv, &R, &C)) return 1;
        const long long n = static_cast<long long>(R) * C;
        std::vector<float> v(3 * n);
        TrnMshPts(cs.d.rgn, cs.d.itv, R, C, v.data());
        PathPrm prm;
        prm.itv = cs.d.itv;
        std::vector<float> err(n);
        ErrFit fit;
        double tg = 1e30, te = 1e30;
        for (int rep = 0; rep < reps; rep++) {
            double t0 = Now();
            if (!GenTrnPath(c, nc, v.data(), R, C, prm)) return 1;
            tg = std::min(tg, Now() - t0);
            t0 = Now();
            if (!TrnErrMap(c, nc, v.data(), R, C, cs.d.itv, err.data(), &fit)) return 1;
            te = std::min(te, Now() - t0);
        }
        // Memory after the timed runs, the allocator trimmed: what either run needs, not the
        // threads' stacks and the like that the first run of a process sets up.
        // The least of ALT_REPS children each: what a run touches beyond its needs only adds.
        long kg = -1, ke = -1;
        for (int rep = 0; rep < reps; rep++) {
            const long g = PeakOf([&] { return GenTrnPath(c, nc, v.data(), R, C, prm); });
            const long e = PeakOf([&] { return TrnErrMap(c, nc, v.data(), R, C, cs.d.itv, err.data(), nullptr); });
            if (g < 0 || e < 0) {
                kg = ke = -1;
                break;
            }
            kg = rep == 0 ? g : std::min(kg, g);
            ke = rep == 0 ? e : std::min(ke, e);
        }
        const double bpp = kg < 0 || ke < 0 ? NAN : 1024.0 * static_cast<double>(ke - kg) / static_cast<double>(n);
        std::vector<double> ex, ac;
        double se = 0, sa = 0;
        long long in2 = 0;
        for (long long i = 0; i < n; i++) {
            if (!cs.mask[i]) continue;
            const double a = std::fabs(v[3 * i + 2] / 1000.0 - cs.truth[i]), e = err[i] / 1000.0;
            ex.push_back(e);
            ac.push_back(a);
            se += e * e;
            sa += a * a;
            if (a <= 2 * e) in2++;
        }
        if (const char* dump = std::getenv("ALT_DUMP")) {
            // Per scored post: distances to the lower and upper line (mm), band, expected and actual error (m).
            std::vector<PathPost> g(static_cast<size_t>(n));
            PathGeom(c, nc, v.data(), R, C, cs.d.itv, [](void* p, long long i, const PathPost& q) {
                (*static_cast<std::vector<PathPost>*>(p))[static_cast<size_t>(i)] = q;
            }, &g);
            if (FILE* f = std::fopen((std::string(dump) + "-" + cn + ".txt").c_str(), "w")) {
                for (long long i = 0; i < n; i++)
                    if (cs.mask[i])
                        std::fprintf(f, "%lld %g %g %g %g %g %g %g %g\n", i, g[i].a, g[i].b, g[i].hi - g[i].lo,
                                     err[i] / 1000.0, v[3 * i + 2] / 1000.0 - cs.truth[i], v[3 * i + 2] / 1000.0,
                                     g[i].lo / 1000.0, g[i].cos);
                std::fclose(f);
            }
        }
        const double k = static_cast<double>(ex.size());
        const double rho = Pearson(Ranks(ex), Ranks(ac));
        const double share = 100.0 * static_cast<double>(in2) / k, ratio = std::sqrt(se / sa);
        const bool ok = rho >= 0.5 && share >= 90 && share <= 98 && ratio >= 0.7 && ratio <= 1.4 && te <= 3 * tg && !(bpp > 8);
        all = all && ok;
        std::printf("%-10s %8.3f %8.2f %9.3f %8.1f %8.3f %8.2f %8.2f %6.2f %7.1f %7.1f %9.3g %6.3f %6.3f %6.2f %5.2f %5.2f %7d%s%s\n",
                    cn.c_str(), std::sqrt(sa / k), fit.ci / 1000, rho, share, ratio, tg, te, te / tg,
                    1024.0 * static_cast<double>(kg) / static_cast<double>(n), bpp, fit.alpha,
                    fit.pw, fit.step, fit.crestDn, fit.rise / cs.d.itv, fit.dev,
                    fit.samples, fit.cv ? "" : " fallback", ok ? "" : "  MISSED");
        std::fflush(stdout);
        FreeCntr(c, nc);
    }
    return all ? 0 : 2;
}
