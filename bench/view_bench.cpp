// View model speed: window mapping of model points both ways, and the camera work of one drag
// step (shift, scale, rotate: camera change and window state rebuild, without drawing).
//
//   view_bench [POINTS] [STEPS]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "display/view.h"
#include "cmd/viewcmd.h"
#include "scene/scene.h"

namespace {
double Secs(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
}  // namespace

int main(int argc, char** argv) {
    long pts = argc > 1 ? std::atol(argv[1]) : 2000000;
    long steps = argc > 2 ? std::atol(argv[2]) : 200000;
    if (pts < 1 || steps < 1) {
        std::fprintf(stderr, "usage: view_bench [POINTS] [STEPS]\n");
        return 2;
    }
    static cam c{};
    IniView();
    SetCamDef(&c);
    c.view.CurCam = 1;
    c.view.AutoClp = 1;
    CurCamObj = &c;
    SceneBox = BBox{{0, 0, 0}, {1e7f, 8e6f, 5e5f}};
    WinSizW = 800;
    WinSizH = 600;
    ViewWin[0].W = 800;
    ViewWin[0].H = 600;
    c.view.RotAng[0] = 1.0;
    c.view.RotAng[2] = 0.4;
    c.view.EyeDst = 2e7;
    SetView(0);

    std::vector<double> in(3 * 4096);
    for (size_t i = 0; i < in.size(); i++) in[i] = std::fmod(i * 7919.0, 1e7);
    double sum = 0;
    for (int prj = 1; prj <= 2; prj++) {
        c.view.PrjFlg = static_cast<uint8_t>(prj);
        SetView(0);
        auto t0 = std::chrono::steady_clock::now();
        for (long i = 0; i < pts; i++) {
            const double* p = &in[3 * (i & 4095)];
            double w[3], q[3];
            MdlToWin(p, 0, w);
            WinToMdl(w, 0, q);
            sum += q[0];
        }
        double s = Secs(t0);
        std::printf("%s: %.1f M round trips/s\n", prj == 1 ? "parallel" : "perspective",
                    pts / s / 1e6);
    }

    auto t0 = std::chrono::steady_clock::now();
    for (long i = 0; i < steps; i++) {
        MovCam((i & 1) ? 10 : -10, 3, 0);
        SetView(0);
    }
    std::printf("shift step: %.0f steps/s\n", steps / Secs(t0));
    c.view.PrjFlg = PrjPar;
    t0 = std::chrono::steady_clock::now();
    for (long i = 0; i < steps; i++) {
        ZoomCam((i & 1) ? 50 : -48);
        SetView(0);
    }
    std::printf("scale step: %.0f steps/s\n", steps / Secs(t0));
    c.view.UpAxis = UpZ;
    t0 = std::chrono::steady_clock::now();
    for (long i = 0; i < steps; i++) {
        RotCam(0.01, (i & 1) ? 0.02 : -0.02, 0, true);
        SetView(0);
    }
    std::printf("rotate step: %.0f steps/s\n", steps / Secs(t0));
    std::printf("(checksum %g)\n", sum);
    CurCamObj = nullptr;
    return 0;
}
