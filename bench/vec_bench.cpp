// Map tracing speed and memory: a synthetic scanned map of 10000 x 8000 pixels (the shared
// contour set drawn 3 pixels wide on noisy paper) written as JPEG and TIFF, then loaded and
// traced through the engine's entry points, each file in a fresh process.
//
//   vec_bench [CONTOURS] [DIR]
//
// Prints, per file: load and trace time (wall and CPU), the peak resident memory of the process
// that loaded and traced it, and the curves and points made. Goals: load < 2 s, trace < 3 s,
// peak < 1 GB.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/alc.h"
#include "core/cmd.h"
#include "core/state.h"
#include "curves/crv.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "image/img.h"
#include "image/vecimg.h"
#include "scene/scene.h"
#include "vectorize/vec.h"
#include "bench_data.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

namespace {

constexpr int MapW = 10000, MapH = 8000;

struct Lcg {
    uint64_t s = 88172645463325252ULL;
    uint32_t Next() {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(s >> 33);
    }
};

// Paper between 215 and 255, ink between 0 and 70 (grey, with a little colour cast), lines
// 3 pixels wide with ragged edges, and dirt: isolated dark specks.
void Draw(ImgRec& img, const BenchData& d) {
    const double rgn[4] = {d.rgn[0], d.rgn[1], d.rgn[3], d.rgn[4]};
    std::vector<uint8_t> ink(static_cast<size_t>(MapW) * MapH, 0);
    const double s = std::fmin((MapW - 40) / (rgn[2] - rgn[0]), (MapH - 40) / (rgn[3] - rgn[1]));
    const double ox = (MapW - (rgn[2] - rgn[0]) * s) / 2, oy = (MapH - (rgn[3] - rgn[1]) * s) / 2;
    Lcg r;
    auto stamp = [&](double px, double py, double rad) {
        for (int y = static_cast<int>(py - rad); y <= static_cast<int>(py + rad + 1); ++y)
            for (int x = static_cast<int>(px - rad); x <= static_cast<int>(px + rad + 1); ++x)
                if (x >= 0 && y >= 0 && x < MapW && y < MapH &&
                    (x + 0.5 - px) * (x + 0.5 - px) + (y + 0.5 - py) * (y + 0.5 - py) <= rad * rad)
                    ink[static_cast<size_t>(y) * MapW + x] = 1;
    };
    for (const auto& c : d.pts)
        for (size_t i = 0; i + 3 < c.size(); i += 2) {
            double x0 = ox + (c[i] - rgn[0]) * s, y0 = MapH - oy - (c[i + 1] - rgn[1]) * s;
            double x1 = ox + (c[i + 2] - rgn[0]) * s, y1 = MapH - oy - (c[i + 3] - rgn[1]) * s;
            int n = 1 + static_cast<int>(std::hypot(x1 - x0, y1 - y0) * 2);
            for (int k = 0; k <= n; ++k) {
                double t = static_cast<double>(k) / n;
                double rad = 1.5 + (r.Next() % 8 == 0 ? 0.5 : 0.0);
                stamp(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, rad);
            }
        }
    for (int i = 0; i < MapW * MapH / 20000; ++i) ink[r.Next() % (static_cast<size_t>(MapW) * MapH)] = 1;
    for (int y = 0; y < MapH; ++y) {
        uint8_t* q = img.pix + img.stride * y;
        for (int x = 0; x < MapW; ++x, q += 4) {
            uint32_t n = r.Next();
            int g = ink[static_cast<size_t>(y) * MapW + x] ? static_cast<int>(n % 71) : 215 + static_cast<int>(n % 41);
            q[0] = static_cast<uint8_t>(std::min(255, g + 4));
            q[1] = static_cast<uint8_t>(g);
            q[2] = static_cast<uint8_t>(std::max(0, g - 4));
            q[3] = 255;
        }
    }
}

void StartEngine() {
    BenchStart();
    CamView& v = CurCamObj->view;
    v.ScrWid = 4.0e6;  // the whole map in view
    WinSizW = 1000;
    WinSizH = 800;
    IntrCmd(CatDsp, CmdDspResize);
    SetView(0);
}

// Loads and traces one file; runs in a child process so that its peak memory is its own.
int Run(const std::string& file) {
    StartEngine();
    double t0 = Now(), c0 = Cpu();
    if (LdVecImg(file.c_str()) != 0) {
        std::printf("  %s: load failed\n", file.c_str());
        return 1;
    }
    double tLoad = Now() - t0, cLoad = Cpu() - c0;
    double mLoad = PeakMb();
    // 635 dpi at 1:10000: 400 mm per pixel, the map's 4000 m over 10000 pixels.
    VecDpi = 635;
    VecMapScl = 10000;
    t0 = Now();
    c0 = Cpu();
    IntrCmd(CatDrw2D, CmdVecTrace);
    double tTrc = Now() - t0, cTrc = Cpu() - c0;
    long long npt = 0;
    for (int i = 0; i < CrvPart->crvs.n; ++i) npt += CrvPart->crvs.a[i]->n;
    std::printf("  %-10s load %.2f s (cpu %.2f)  trace %.2f s (cpu %.2f)  peak %.0f MB (after load %.0f MB)"
                "  curves %d  points %lld\n",
                std::filesystem::path(file).filename().c_str(), tLoad, cLoad, tTrc, cTrc, PeakMb(), mLoad,
                CrvPart->crvs.n, npt);
    DstrCmd(CatSys, CmdSysEnd);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string cpath = argc > 1 ? argv[1] : std::string(ALT_SHARED_DIR) + "/bench/synth-contours.txt";
    std::filesystem::path dir = argc > 2 ? std::filesystem::path(argv[2])
                                         : std::filesystem::temp_directory_path() / "vec_bench";
    std::filesystem::create_directories(dir);
    const std::string files[] = {(dir / "map.jpg").string(), (dir / "map.tif").string(),
                                 (dir / "map-lzw.tif").string()};
    {
        BenchData d;
        if (!LoadBench(cpath.c_str(), d) || d.rgn[3] <= d.rgn[0] || d.rgn[4] <= d.rgn[1]) {
            std::fprintf(stderr, "cannot read contours from %s\n", cpath.c_str());
            return 1;
        }
        std::vector<uint8_t> buf(4ULL * MapW * MapH);
        ImgRec img{nullptr, MapW, MapH, 4LL * MapW, buf.data()};
        double t0 = Now();
        Draw(img, d);
        std::printf("map %d x %d from %zu contours drawn in %.1f s\n", MapW, MapH, d.pts.size(), Now() - t0);
        t0 = Now();
        if (WrJpg(files[0].c_str(), img, {.quality = 90}) != 0 ||
            WrTif(files[1].c_str(), img, {.rowsPerStrip = 64}) != 0 ||
            WrTif(files[2].c_str(), img, {.compression = 5, .rowsPerStrip = 64}) != 0) {
            std::fprintf(stderr, "cannot write the maps into %s\n", dir.c_str());
            return 1;
        }
        std::printf("written in %.1f s: JPEG quality 90 (%.0f MB), TIFF RGB (%.0f MB), TIFF RGB LZW (%.0f MB)\n",
                    Now() - t0, std::filesystem::file_size(files[0]) / 1e6,
                    std::filesystem::file_size(files[1]) / 1e6, std::filesystem::file_size(files[2]) / 1e6);
    }
    std::fflush(stdout);
    int bad = 0;
    for (const std::string& f : files) {
        pid_t pid = fork();
        if (pid == 0) {
            int r = Run(f);
            std::fflush(stdout);
            _exit(r);
        }
        int st = 0;
        waitpid(pid, &st, 0);
        if (!WIFEXITED(st) || WEXITSTATUS(st) != 0) ++bad;
    }
    for (const std::string& f : files) std::filesystem::remove(f);
    return bad ? 1 : 0;
}
