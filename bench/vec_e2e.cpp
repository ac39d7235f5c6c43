// From a scanned map to a terrain, end to end: the shared synthetic contours drawn as a 300 dpi
// sheet at 1:25,000 (black lines 4 pixels wide, noise, a few gaps), traced with centre lines,
// heights given with height lines, the check's findings mended, the terrain generated on the 5 m
// grid and scored against synth-truth.txt, beside the terrain of the original contours. Also times
// the contour check of the 46 shared contours.
//
//   vec_e2e [DPI [WIDTH_PX [METHOD]]]     (METHOD: set TrnMethod, 0 cross lines, 1 minimum curvature)
//
// Prints the curves and points traced, the user actions (height lines drawn, curves mended), the
// findings of the first check, the two RMSEs and their ratio (goal: within 1.2 with at most ten
// lines), and the times of each stage.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "display/view.h"
#include "bench_data.h"
#include "vectorize/map_scenario.h"

#ifndef ALT_SHARED_DIR
#error "ALT_SHARED_DIR is defined by the build: the shared folder beside the source tree"
#endif

int main(int argc, char** argv) {
    const std::string shared = ALT_SHARED_DIR;
    scen::MapOpt o;
    if (argc > 1) o.dpi = std::atof(argv[1]);
    if (argc > 2) o.widthPx = std::atof(argv[2]);
    const int method = argc > 3 ? std::atoi(argv[3]) : TrnMethodCrs;
    scen::Synth s;
    std::vector<double> truth;
    if (!scen::LoadSynth(shared + "/bench/synth-contours.txt", s) ||
        !scen::LoadTruth(shared + "/bench/synth-truth.txt", truth, 601LL * 801)) {
        std::fprintf(stderr, "cannot read the shared contours or truth\n");
        return 1;
    }
    BenchStart();
    if (!CrvPart) SetCrvPart(TrnPrt);
    TrnMethod = method;
    const double itv = 5000;

    // The check of the shared contours as digitised.
    scen::PutOriginal(s);
    double t0 = Now(), c0 = Cpu();
    const int reps = 10;
    size_t nf = 0;
    for (int i = 0; i < reps; ++i) nf = ChkCrv(CrvPart->crvs.a, CrvPart->crvs.n, CurChkPrm()).size();
    const double tChk = (Now() - t0) / reps, cChk = (Cpu() - c0) / reps;
    int rows, cols;
    t0 = Now();
    std::vector<double> g = scen::Generate(s, itv, &rows, &cols);
    const double tRef = Now() - t0;
    const double ref = scen::Rmse(g, rows, cols, truth, 601, 801, itv, 5000);
    IntrCmd(CatDrw2D, CmdCrvDelAll);

    t0 = Now();
    scen::Sheet m = scen::Render(s, o);
    const std::string f = (std::filesystem::temp_directory_path() / "vec_e2e_sheet.bmp").string();
    if (WrBmp(f.c_str(), m.Img(), BmpWrOpt{}) != 0 || LdVecImg(f.c_str()) != 0) {
        std::fprintf(stderr, "cannot write or read %s\n", f.c_str());
        return 1;
    }
    std::filesystem::remove(f);
    const double tSheet = Now() - t0;
    VecDpi = o.dpi;
    VecMapScl = o.scl;
    VecCentre = 1;
    VecOrgOn = 1;
    VecOrg[0] = s.rgn[0];
    VecOrg[1] = s.rgn[1];
    t0 = Now();
    c0 = Cpu();
    IntrCmd(CatDrw2D, CmdVecTrace);
    const double tTrace = Now() - t0, cTrace = Cpu() - c0;
    const int traced = CrvPart->crvs.n;

    std::vector<double> label;
    for (int k = 0; k < CrvPart->crvs.n; ++k) label.push_back(scen::LabelOf(s, CrvPart->crvs.a[k]));
    const int lines = scen::GiveHeights(s, label, 20000, 10, 7);
    IntrCmd(CatDrw2D, CmdCrvChk);
    const std::vector<ChkFnd> first = CrvChkRes;
    int kinds[ChkKindNum] = {};
    for (const ChkFnd& k : first) ++kinds[k.kind];
    int deleted = 0, joined = 0;
    const int mended = scen::Mend(s, first, 3 * m.p * o.widthPx, &deleted, &joined);
    IntrCmd(CatDrw2D, CmdCrvChk);
    t0 = Now();
    g = scen::Generate(s, itv, &rows, &cols);
    const double tGen = Now() - t0;
    const double got = scen::Rmse(g, rows, cols, truth, 601, 801, itv, 5000);

    std::printf("sheet %d x %d pixels at %.0f dpi, 1:%.0f, lines %.1f px (%.2f m per pixel)\n", m.w, m.h, o.dpi,
                o.scl, o.widthPx, m.p / 1000);
    std::printf("check of the 46 shared contours: %zu findings, %.4f s wall, %.4f s cpu\n", nf, tChk, cChk);
    std::printf("traced %d curves, %lld points; trace %.2f s wall, %.2f s cpu (sheet %.2f s)\n", traced,
                VecMadePnt, tTrace, cTrace, tSheet);
    std::printf("height lines %d; first check %zu findings:", lines, first.size());
    for (int k = 0; k < ChkKindNum; ++k) std::printf(" %s %d", ChkWord(static_cast<ChkKind>(k)), kinds[k]);
    int left[ChkKindNum] = {};
    for (const ChkFnd& k : CrvChkRes) ++left[k.kind];
    std::printf("\nmended %d curves (%d specks deleted, %d joined by one automatic connection); second check:",
                mended, deleted, joined);
    for (int k = 0; k < ChkKindNum; ++k) std::printf(" %s %d", ChkWord(static_cast<ChkKind>(k)), left[k]);
    std::printf("\n");
    std::printf("method %d, terrain %d x %d: rmse %.3f m traced, %.3f m from the contours, ratio %.3f "
                "(generation %.1f s / %.1f s)\n",
                method, cols, rows, got, ref, ref > 0 ? got / ref : 0.0, tGen, tRef);
    DstrCmd(CatSys, CmdSysEnd);
    return 0;
}
