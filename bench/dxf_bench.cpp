// Interchange speed: DXF import of a large drawing and the exports of the 801 x 601 terrain.
//
//   dxf_bench [CONTOURS] [COPIES] [gen|synthetic]
//
// Writes a DXF drawing of the contour file (default: synth-contours.txt of the shared bench data)
// densified to 1 m point spacing, COPIES times side by side (default: enough for 60 MB), as 3D
// POLYLINEs and LWPOLYLINEs in turn; imports it through the import action and reports MB/s and
// memory. Then generates the terrain of the contours on their region and interval through the
// engine's commands ("gen", the default; "synthetic" lays the same grid and gives it smooth hills
// without the generator, for a quick run) and exports it as DXF, STL and VRML, reporting MB/s of
// each.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/cmd.h"
#include "core/state.h"
#include "curves/crv.h"
#include "curves/crv_cmd.h"
#include "doc/xchg_flow.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "terrain/trn_cmd.h"
#include "bench_data.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {

constexpr double Step = 1000.0;        // densified point spacing, mm
constexpr double TargetMB = 60.0;
constexpr double MB = 1024.0 * 1024.0;

// Resident and peak resident memory in MB, from the kernel's status of this process.
void Mem(double* rss, double* hwm) {
    *rss = *hwm = 0;
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return;
    char line[256];
    long v;
    while (std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "VmRSS: %ld", &v) == 1) *rss = v / 1024.0;
        if (std::sscanf(line, "VmHWM: %ld", &v) == 1) *hwm = v / 1024.0;
    }
    std::fclose(f);
}

// The contours densified to Step, as (x, y) lists.
std::vector<std::vector<double>> Densify(const BenchData& d) {
    std::vector<std::vector<double>> out;
    for (const auto& p : d.pts) {
        std::vector<double> q;
        for (size_t k = 0; k + 2 < p.size(); k += 2) {
            double dx = p[k + 2] - p[k], dy = p[k + 3] - p[k + 1];
            int n = std::max(1, static_cast<int>(std::hypot(dx, dy) / Step));
            for (int j = 0; j < n; ++j) {
                q.push_back(p[k] + dx * j / n);
                q.push_back(p[k + 1] + dy * j / n);
            }
        }
        q.push_back(p[p.size() - 2]);
        q.push_back(p.back());
        out.push_back(std::move(q));
    }
    return out;
}

// Writes copies of the drawing side by side; returns the curves and points written.
void WriteDxf(const std::string& path, const BenchData& d, const std::vector<std::vector<double>>& dense,
              int copies, long long* curves, long long* points) {
    FILE* f = std::fopen(path.c_str(), "w");
    std::fputs("999\nbenchmark drawing\n0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
               "0\nSECTION\n2\nENTITIES\n", f);
    const double w = d.rgn[3] - d.rgn[0];
    *curves = *points = 0;
    for (int c = 0; c < copies; ++c) {
        double ox = (c + 1) * w * 1.1;
        for (size_t i = 0; i < dense.size(); ++i) {
            const auto& q = dense[i];
            int n = static_cast<int>(q.size() / 2);
            if ((i + c) % 2) {
                std::fprintf(f, "0\nPOLYLINE\n8\nC\n66\n1\n10\n0.0\n20\n0.0\n30\n0.0\n70\n8\n");
                for (int k = 0; k < n; ++k)
                    std::fprintf(f, "0\nVERTEX\n8\nC\n10\n%.3f\n20\n%.3f\n30\n%.3f\n70\n32\n",
                                 q[2 * k] + ox, q[2 * k + 1], d.hgt[i]);
                std::fputs("0\nSEQEND\n", f);
            } else {
                std::fprintf(f, "0\nLWPOLYLINE\n8\nC\n90\n%d\n70\n0\n38\n%.3f\n", n, d.hgt[i]);
                for (int k = 0; k < n; ++k)
                    std::fprintf(f, "10\n%.3f\n20\n%.3f\n", q[2 * k] + ox, q[2 * k + 1]);
            }
            ++*curves;
            *points += n;
        }
    }
    std::fputs("0\nENDSEC\n0\nEOF\n", f);
    std::fclose(f);
}

double FileMB(const std::string& p) {
    std::error_code ec;
    auto n = std::filesystem::file_size(p, ec);
    return ec ? 0 : n / MB;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : std::string(ALT_SHARED_DIR) + "/bench/synth-contours.txt";
    BenchData d;
    if (!LoadBench(path.c_str(), d)) {
        std::fprintf(stderr, "cannot read contours from %s\n", path.c_str());
        return 1;
    }
    std::string dir = (std::filesystem::temp_directory_path() / "dxf_bench").string();
    std::filesystem::create_directories(dir);
    BenchStart();

    auto dense = Densify(d);
    long long dpts = 0;
    for (const auto& q : dense) dpts += static_cast<long long>(q.size() / 2);
    // About 45 bytes a point.
    int copies = argc > 2 ? std::atoi(argv[2]) : std::max(1, static_cast<int>(TargetMB * MB / 45 / dpts) + 1);
    std::string in = dir + "/input.dxf";
    long long nc, np;
    WriteDxf(in, d, dense, copies, &nc, &np);
    double inMB = FileMB(in);
    std::printf("input: %d copies, %lld curves, %lld points, %.1f MB\n", copies, nc, np, inMB);

    double rss0, hwm0, rss1, hwm1;
    Mem(&rss0, &hwm0);
    InUnit = LenUnit::Mm;
    double t0 = Now(), c0 = Cpu();
    int r = ImpDxf(in);
    double t = Now() - t0, c = Cpu() - c0;
    Mem(&rss1, &hwm1);
    long long kept = 0;
    for (int i = 0; CrvPart && i < CrvPart->crvs.n; ++i) kept += CrvPart->crvs.a[i]->n;
    std::printf("import: %s, %d curves, %lld points in %.3f s (cpu %.3f s): %.0f MB/s\n",
                r == 0 ? "ok" : "FAILED", CrvPart ? CrvPart->crvs.n : 0, kept, t, c, inMB / t);
    std::printf("memory: resident +%.1f MB (peak %.1f MB) for %.1f MB of points kept\n", rss1 - rss0,
                hwm1, kept * 12.0 / MB);

    // The terrain of the contours, through the engine's commands.
    BenchStart();
    BenchCurves(d);
    bool synth = argc > 3 && std::string(argv[3]) == "synthetic";
    t0 = Now();
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    if (synth && TrnSrf) {
        for (int i = 0; i < TrnSrf->nv; ++i) {
            float* v = TrnSrf->v + 3 * i;
            v[2] = static_cast<float>(200000 + 150000 * std::sin(v[0] * 2e-6) * std::cos(v[1] * 3e-6));
        }
        CalTrnNrm();
    } else {
        IntrCmd(CatMdl, CmdTrnCre);
    }
    if (!TrnGrd) {
        std::fprintf(stderr, "no terrain\n");
        return 1;
    }
    std::printf("terrain: %d x %d %s in %.2f s\n", TrnGrd->cols, TrnGrd->rows,
                synth ? "laid out (synthetic heights)" : "generated", Now() - t0);

    OutUnit = LenUnit::M;
    const struct { int fmt; const char* name; } outs[] = {
        {FmtDxf, "out.dxf"}, {FmtStl, "out.stl"}, {FmtVrml, "out.wrl"}};
    for (const auto& o : outs) {
        std::string p = dir + "/" + o.name;
        t0 = Now();
        c0 = Cpu();
        r = ExpXchg(o.fmt, p);
        t = Now() - t0;
        c = Cpu() - c0;
        double mb = FileMB(p);
        std::printf("export %s: %s, %.1f MB in %.3f s (cpu %.3f s): %.0f MB/s\n", FmtExt(o.fmt),
                    r == 0 ? "ok" : "FAILED", mb, t, c, mb / t);
    }
    std::filesystem::remove_all(dir);
    DstrCmd(CatSys, CmdSysEnd);
    return 0;
}
