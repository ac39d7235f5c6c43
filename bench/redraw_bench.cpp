// Redraw times of an 801 x 601 terrain in the headless view (Mesa): wireframe, shaded and slope
// display, with the grid sent as vertex arrays and, for comparison, vertex by vertex.
//
//   redraw_bench [REPEATS [WIDTH HEIGHT]]
// ALT_BENCH_ANALYTIC=1 uses an analytic height field instead of generating the terrain from the
// contours (generation takes a while on a loaded machine).
#include <GL/gl.h>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv.h"
#include "display/drw.h"
#include "display/glctx.h"
#include "display/view.h"
#include "display/viewint.h"
#include "scene/scene.h"
#include "support/gltest.h"
#include "terrain/trn.h"
#include "bench_data.h"
#include "cmd/trn_cmds.h"

namespace {

int WinW = 1024, WinH = 768;

// A height field with the character of the benchmark data (hills, a valley, a gentle plane,
// 220 m to 620 m) over the same region and interval.
double Hgt(double x, double y) {
    double u = x / 4000000.0, v = y / 3000000.0;
    auto hill = [](double hu, double hv, double cu, double cv, double r, double h) {
        double d2 = ((hu - cu) * (hu - cu) + (hv - cv) * (hv - cv)) / (r * r);
        return h * std::exp(-d2);
    };
    double z = 220000 + 60000 * u + 40000 * v;
    z += hill(u, v, 0.25, 0.7, 0.18, 300000) + hill(u, v, 0.7, 0.55, 0.15, 250000);
    z += hill(u, v, 0.55, 0.2, 0.1, 120000);
    z -= 80000 * std::exp(-std::pow((v - 0.45 - 0.1 * std::sin(6 * u)) / 0.06, 2));
    return z;
}

srf* Terrain(double x0, double y0, double x1, double y1, double d) {
    int C = static_cast<int>(std::lround((x1 - x0) / d)) + 1;
    int R = static_cast<int>(std::lround((y1 - y0) / d)) + 1;
    srf* s = NewSrf("地形");
    if (!s || AtchSrfPrt(TrnPrt, s) < 0) return nullptr;
    s->mtlIdx = 0;
    SrfMtl(s);
    s->dspFlg = SrfFlgTrn;
    s->vis = 1;
    int n = R * C;
    s->nv = n;
    s->v = static_cast<float*>(AlcMem(3LL * n * sizeof(float), "srf->v"));
    s->nrm = static_cast<float*>(AlcMem(3LL * n * sizeof(float), "srf->n"));
    pgn* g = NewPgn(s);
    g->type = PgnGrd;
    g->rows = static_cast<uint16_t>(R);
    g->cols = static_cast<uint16_t>(C);
    g->n = n;
    g->vtx_id = static_cast<int32_t*>(AlcMem(4LL * n, "vtx_id"));
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            int i = r * C + c;
            double x = c == C - 1 ? x1 : x0 + c * d, y = r == R - 1 ? y1 : y0 + r * d;
            s->v[3 * i] = static_cast<float>(x);
            s->v[3 * i + 1] = static_cast<float>(y);
            s->v[3 * i + 2] = static_cast<float>(Hgt(x, y));
            double gx = (Hgt(x + d, y) - Hgt(x - d, y)) / (2 * d);
            double gy = (Hgt(x, y + d) - Hgt(x, y - d)) / (2 * d);
            double l = std::sqrt(gx * gx + gy * gy + 1);
            s->nrm[3 * i] = static_cast<float>(-gx / l);
            s->nrm[3 * i + 1] = static_cast<float>(-gy / l);
            s->nrm[3 * i + 2] = static_cast<float>(1 / l);
            g->vtx_id[i] = i;
        }
    UdtBox(s, OK_SRF);
    TrnSrf = s;
    TrnGrd = g;
    return s;
}

double CpuMs() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Milliseconds per redraw (115002, finished on the GL side): wall clock (best and mean of n) and
// processor time of the whole process, rasteriser threads included (mean). On a loaded machine
// the processor time is the steadier figure.
double Time(const char* what, int n) {
    IntrCmd(CatDsp, CmdRdrwAll);  // warm up
    glFinish();
    double best = 1e30, sum = 0, cpu = 0;
    for (int i = 0; i < n; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        double c0 = CpuMs();
        IntrCmd(CatDsp, CmdRdrwAll);
        glFinish();
        cpu += CpuMs() - c0;
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                        .count();
        best = ms < best ? ms : best;
        sum += ms;
    }
    std::printf("  %-34s wall best %7.1f ms  mean %7.1f ms   cpu %7.1f ms   (%d redraws)\n", what,
                best, sum / n, cpu / n, n);
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    int reps = argc > 1 ? std::atoi(argv[1]) : 5;
    if (reps < 1) reps = 1;
    if (argc > 3) {
        WinW = std::atoi(argv[2]);
        WinH = std::atoi(argv[3]);
        if (WinW < 16 || WinH < 16) WinW = 1024, WinH = 768;
    }
    if (!gltest::Available()) {
        std::printf("redraw_bench: no headless OpenGL (%s)\n", gltest::Why().c_str());
        return 1;
    }
    gltest::GLPlatform gl(nullptr, WinW, WinH);
    plt::Set(&gl);
    BenchStart();
    WinSizW = WinW;
    WinSizH = WinH;
    if (!OpnGLWin(0)) {
        std::printf("redraw_bench: the view window cannot be opened\n");
        return 1;
    }
    IntrCmd(CatDsp, CmdDspResize);
    PaintWin(0, nullptr);
    std::printf("renderer: %s, %s\n", glGetString(GL_RENDERER), glGetString(GL_VERSION));

    double rgn[4] = {0, 0, 4000000, 3000000}, itv = 5000;
    std::string path = std::string(ALT_SHARED_DIR) + "/bench/synth-contours.txt";
    BenchData d;
    long pts = LoadBench(path.c_str(), d) ? BenchCurves(d) : -1;
    if (pts >= 0) {
        rgn[0] = d.rgn[0], rgn[1] = d.rgn[1], rgn[2] = d.rgn[3], rgn[3] = d.rgn[4];
        itv = d.itv;
    }
    if (pts < 0)
        std::printf("contours: %s not readable, terrain only\n", path.c_str());
    else
        std::printf("contours: %ld points from %s\n", pts, path.c_str());
    if (const char* e = std::getenv("ALT_BENCH_ITV")) itv = std::atof(e);
    // The terrain as the user gets it: the region, the flat grid, generation from the contours.
    srf* s = nullptr;
    if (pts > 0 && !std::getenv("ALT_BENCH_ANALYTIC")) {
        MshItv = static_cast<float>(itv);
        auto t0 = std::chrono::steady_clock::now();
        if (CreTrnMsh() && CreTrn(FbWndMrk)) {
            s = TrnSrf;
            std::printf("terrain: generated from the contours, interval %.0f: %d x %d vertices "
                        "(%.1f s)\n",
                        itv, TrnGrd->cols, TrnGrd->rows,
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        } else if (TrnSrf) {
            FreeSrf(TrnSrf, true);
            TrnSrf = nullptr;
            TrnGrd = nullptr;
        }
    }
    if (!s) {
        s = Terrain(rgn[0], rgn[1], rgn[2], rgn[3], itv);
        if (!s) return 1;
        std::printf("terrain: analytic height field over the region of the contours, interval "
                    "%.0f: %d x %d vertices\n",
                    itv, TrnGrd->cols, TrnGrd->rows);
    }
    std::printf("window %d x %d\n", WinW, WinH);

    // 2D top view of the whole region.
    CamView& v = *CurView();
    v.RotCnt[0] = (rgn[0] + rgn[2]) / 2;
    v.RotCnt[1] = (rgn[1] + rgn[3]) / 2;
    v.ScrWid = (rgn[2] - rgn[0]) * 1.05;
    SetWnd2D(v.ScrWid);
    Wnd2D[0] += v.RotCnt[0];
    Wnd2D[2] += v.RotCnt[0];
    Wnd2D[1] += v.RotCnt[1];
    Wnd2D[3] += v.RotCnt[1];

    s->vis = 0;
    std::printf("without the terrain:\n");
    Time("grid, labels, axes and contours", reps);
    s->vis = 1;
    for (int arr = 1; arr >= 0; --arr) {
        DrwArrOn = static_cast<uint8_t>(arr);
        std::printf("%s:\n", arr ? "vertex arrays" : "vertex by vertex");
        SlpDsp = 0;
        DspFlg &= ~SrfDspShd;
        Time("wireframe, 2D view with grid", reps);
        DspFlg |= SrfDspShd;
        Time("shaded, 2D view with grid", reps);
        TwoSide = 1;
        Time("shaded two-sided", reps);
        TwoSide = 0;
        SlpDsp = 1;
        Time("slope classes", reps);
        SlpDsp = 0;
    }
    DrwArrOn = 1;
    // Relief (height colours times hillshading, with its legend) against the shaded display,
    // in 2D and in the 3D view from the south.
    for (int dim = 0; dim <= 1; ++dim) {
        if (dim == 1) {
            SwDim(1);
            Fit3DView();
        }
        std::printf("%s:\n", dim ? "3D view from the south at 35 degrees" : "2D view");
        RelDsp = 0;
        DspFlg |= SrfDspShd;
        double shd = Time("shaded", reps);
        RelDsp = 1;
        double rel = Time("relief", reps);
        VertExag = 3;
        SetView(0);
        Time("relief, exaggeration 3", reps);
        VertExag = 1;
        SetView(0);
        RelDsp = 0;
        std::printf("  relief / shaded (wall best): %.2f\n", rel / shd);
        DspFlg &= ~SrfDspShd;
        Time("wireframe (thinned to 4 px)", reps);
    }
    SwDim(0);
    // While a mouse button is held (view and height drags) large grids are drawn coarser.
    std::printf("while dragging (button held):\n");
    BtnHeld = 1;
    DspFlg &= ~SrfDspShd;
    Time("wireframe", reps);
    DspFlg |= SrfDspShd;
    Time("shaded", reps);
    SlpDsp = 1;
    Time("slope classes", reps);
    SlpDsp = 0;
    BtnHeld = 0;
    ClsGLWin(0);
    DstrCmd(CatSys, CmdSysEnd);
    plt::Set(nullptr);
    return 0;
}
