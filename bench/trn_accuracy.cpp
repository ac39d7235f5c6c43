// Accuracy of every generation method against true heights, with time and peak memory.
//
//   trn_accuracy [METHODS] [CASES]
//
// METHODS: command-line names of the methods separated by commas (default: all of them). CASES:
// any of "synth", "andes20", "andes50", "synth4" (the synthetic grid at half the interval, four
// times the posts: time only), comma-separated (default: the first three).
//
// Cases: the synthetic contours of the shared bench data with their true heights (scored at the
// posts inside the convex hull of the contour vertices), and the real Andean model rebuilt from its
// 20 m and 50 m contours (scored at the posts its masks mark). Each method runs in a child process,
// so that its peak memory is its own: the growth of the resident size over the child's start.
// Prints per case and method the root mean square error (metres and as a fraction of the contour
// interval), the largest error, the posts outside the band of the levels that bound them, wall
// and processor time and peak memory (MB and bytes per post); then the table of RMSE / interval.
// ALT_DUMP=PREFIX writes each grid to PREFIX-CASE-METHOD.txt (metres, south row first).
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
#include "bench_data.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {

struct Case {
    std::string name;
    BenchData d;
    std::vector<double> truth;   // R x C, metres, row 0 south; empty: time only
    std::vector<uint8_t> mask;   // posts scored
};

// Truth in metres, row 0 first; R x C values.
bool LoadTruth(const char* path, int R, int C, std::vector<double>& t) {
    FILE* f = std::fopen(path, "r");
    if (!f) return false;
    t.clear();
    char buf[64];
    int ch;
    while ((ch = std::fgetc(f)) == '#')
        while ((ch = std::fgetc(f)) != '\n' && ch != EOF) {}
    if (ch != EOF) std::ungetc(ch, f);
    while (std::fscanf(f, "%63s", buf) == 1) t.push_back(std::atof(buf));
    std::fclose(f);
    return static_cast<long long>(t.size()) == static_cast<long long>(R) * C;
}

double Cross(const double* o, const double* a, const double* b) {
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

// Posts inside the convex hull of every contour vertex.
void HullMask(const BenchData& d, int R, int C, std::vector<uint8_t>& m) {
    std::vector<std::array<double, 2>> p;
    for (const auto& c : d.pts)
        for (size_t k = 0; k + 1 < c.size(); k += 2) p.push_back({c[k], c[k + 1]});
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end()), p.end());
    std::vector<std::array<double, 2>> h(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); i++) {
        while (k >= 2 && Cross(h[k - 2].data(), h[k - 1].data(), p[i].data()) <= 0) k--;
        h[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && Cross(h[k - 2].data(), h[k - 1].data(), p[i].data()) <= 0) k--;
        h[k++] = p[i];
    }
    h.resize(k > 0 ? k - 1 : 0);
    m.assign(static_cast<size_t>(R) * C, 0);
    const double x0 = std::fmin(d.rgn[0], d.rgn[3]), y0 = std::fmin(d.rgn[1], d.rgn[4]);
    for (int r = 0; r < R; r++)
        for (int c = 0; c < C; c++) {
            const double q[2] = {x0 + c * static_cast<double>(d.itv), y0 + r * static_cast<double>(d.itv)};
            bool in = h.size() >= 3;
            for (size_t i = 0; i < h.size() && in; i++)
                in = Cross(h[i].data(), h[(i + 1) % h.size()].data(), q) >= 0;
            m[static_cast<size_t>(r) * C + c] = in;
        }
}

bool LoadSynth(const std::string& shared, Case& cs) {
    if (!LoadBench((shared + "/bench/synth-contours.txt").c_str(), cs.d)) return false;
    int R = 0, C = 0;
    if (!TrnMshDim(cs.d.rgn, cs.d.itv, &R, &C)) return false;
    if (!LoadTruth((shared + "/bench/synth-truth.txt").c_str(), R, C, cs.truth)) return false;
    HullMask(cs.d, R, C, cs.mask);
    return true;
}

// A band of a GeoTIFF as doubles, row 0 south; the post of the south-west corner in *x0, *y0.
bool ReadTif(const std::string& path, int* R, int* C, std::vector<double>& out, double* x0, double* y0,
             double* step) {
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!ds) return false;
    *C = GDALGetRasterXSize(ds);
    *R = GDALGetRasterYSize(ds);
    double gt[6];
    GDALGetGeoTransform(ds, gt);
    std::vector<double> raw(static_cast<size_t>(*R) * *C);
    bool ok = GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, 0, 0, *C, *R, raw.data(), *C, *R, GDT_Float64,
                           0, 0) == CE_None;
    GDALClose(ds);
    out.assign(raw.size(), 0);
    for (int r = 0; r < *R; r++)
        std::copy_n(raw.begin() + static_cast<long>(*R - 1 - r) * *C, *C, out.begin() + static_cast<long>(r) * *C);
    *x0 = gt[0] + 0.5 * gt[1];
    *y0 = gt[3] + (*R - 0.5) * gt[5];
    *step = gt[1];
    return ok;
}

void AddLine(OGRGeometryH g, double elev, double x0, double y0, BenchData& d) {
    const int n = OGR_G_GetPointCount(g);
    if (n < 2) return;
    d.pts.emplace_back();
    d.hgt.push_back(elev * 1000.0);
    for (int i = 0; i < n; i++) {
        d.pts.back().push_back((OGR_G_GetX(g, i) - x0) * 1000.0);
        d.pts.back().push_back((OGR_G_GetY(g, i) - y0) * 1000.0);
    }
}

bool LoadAndes(const std::string& shared, int level, Case& cs) {
    const std::string dir = shared + "/bench/real/";
    int R = 0, C = 0, mr = 0, mc = 0;
    double x0, y0, step, a, b, s2;
    std::vector<double> m;
    if (!ReadTif(dir + "ecuador-10m.tif", &R, &C, cs.truth, &x0, &y0, &step)) return false;
    if (!ReadTif(dir + "ecuador-mask-" + std::to_string(level) + ".tif", &mr, &mc, m, &a, &b, &s2) || mr != R ||
        mc != C)
        return false;
    cs.mask.resize(m.size());
    for (size_t i = 0; i < m.size(); i++) cs.mask[i] = m[i] == 1 || m[i] == 2;
    GDALDatasetH ds = GDALOpenEx((dir + "ecuador-contours-" + std::to_string(level) + ".gpkg").c_str(),
                                 GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (!ds) return false;
    OGRLayerH ly = GDALDatasetGetLayer(ds, 0);
    OGR_L_ResetReading(ly);
    const int fi = OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(ly), "elev");
    while (OGRFeatureH f = OGR_L_GetNextFeature(ly)) {
        OGRGeometryH g = OGR_F_GetGeometryRef(f);
        const double e = OGR_F_GetFieldAsDouble(f, fi);
        if (g && OGR_G_GetGeometryCount(g) > 0) {
            for (int k = 0; k < OGR_G_GetGeometryCount(g); k++) AddLine(OGR_G_GetGeometryRef(g, k), e, x0, y0, cs.d);
        } else if (g) {
            AddLine(g, e, x0, y0, cs.d);
        }
        OGR_F_Destroy(f);
    }
    GDALClose(ds);
    cs.d.rgn[3] = static_cast<float>((C - 1) * step * 1000.0);
    cs.d.rgn[4] = static_cast<float>((R - 1) * step * 1000.0);
    cs.d.itv = static_cast<float>(step * 1000.0);
    return !cs.d.pts.empty();
}

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

std::vector<std::string> SplitList(const std::string& s) {
    std::vector<std::string> out;
    size_t p = 0;
    while (p <= s.size()) {
        size_t q = s.find(',', p);
        if (q == std::string::npos) q = s.size();
        if (q > p) out.push_back(s.substr(p, q - p));
        p = q + 1;
    }
    return out;
}

struct Row {
    std::string cs;
    std::vector<double> score;   // per method, RMSE / interval (NaN: not run)
};
}  // namespace

int main(int argc, char** argv) {
    const std::string shared = ALT_SHARED_DIR;
    std::vector<const TrnMethodInfo*> meth;
    for (const std::string& m : SplitList(argc > 1 ? argv[1] : "")) {
        const TrnMethodInfo* mi = TrnMethodByName(m.c_str());
        if (!mi) {
            std::fprintf(stderr, "unknown method %s\n", m.c_str());
            return 1;
        }
        meth.push_back(mi);
    }
    if (meth.empty())
        for (int k = 0; k < TrnMethodNum; k++) meth.push_back(&TrnMethods[k]);
    std::vector<std::string> cases = SplitList(argc > 2 ? argv[2] : "synth,andes20,andes50");
    BenchStart();
    GDALAllRegister();
    std::vector<Row> table;
    for (const std::string& cn : cases) {
        Case cs;
        cs.name = cn;
        bool ok = false;
        if (cn == "synth" || cn == "synth4") {
            ok = LoadSynth(shared, cs);
            if (ok && cn == "synth4") {
                cs.d.itv /= 2;
                cs.truth.clear();
                cs.mask.clear();
            }
        } else if (cn == "andes20" || cn == "andes50") {
            ok = LoadAndes(shared, cn == "andes20" ? 20 : 50, cs);
        } else {
            std::fprintf(stderr, "unknown case %s\n", cn.c_str());
            return 1;
        }
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
                run->ok = TrnGenMethod(mi->kind, c, nc, L, w.data(), R, C, cs.d.itv) ? 1 : 0;
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
