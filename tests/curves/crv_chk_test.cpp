// Contour checks: each kind of finding on small drawings, what must not be reported, the order of
// the list, and choosing a finding.
#include "curves/crv_env.h"
#include <cstdio>
#include "core/msg.h"
#include "cmd/crv_chk.h"
#include "curves/crv_cmd.h"

using CrvCheck = CrvTest;

namespace {
// The findings as the journal prints them, one string.
std::string Check() {
    IntrCmd(CatDrw2D, CmdCrvChk);
    std::string s;
    for (const ChkFnd& f : CrvChkRes) {
        if (!s.empty()) s += "; ";
        s += ChkWord(f.kind);
        s += ' ' + std::to_string(f.i);
        if (f.j >= 0) s += ' ' + std::to_string(f.j);
    }
    return s;
}
}  // namespace

// Curves of different heights that cross or touch are reported once per pair; curves of the same
// height may meet.
TEST_F(CrvCheck, CrossingAndTouchingCurvesOfDifferentHeights) {
    Mk({-300, -300, 300, -300}, 10);          // 0: frame, far from the rest
    Mk({-100, 0, 100, 0, 100, 10, -100, 10}, 20);  // 1 crosses 2 twice
    Mk({0, -50, 0, 50}, 40);                  // 2
    Mk({-100, 100, 0, 100}, 60);              // 3 touches 4 at its end
    Mk({0, 100, 100, 120}, 80);               // 4
    Mk({-100, -100, 100, -100}, 100);         // 5 crosses 6 of the same height
    Mk({0, -150, 0, -80}, 100);               // 6
    const std::string s = Check();
    EXPECT_NE(s.find("crossing 1 2"), std::string::npos) << s;
    EXPECT_NE(s.find("crossing 3 4"), std::string::npos) << s;
    EXPECT_EQ(s.find("crossing 5 6"), std::string::npos) << s;
    EXPECT_EQ(s.find("crossing 1 2; crossing 1 2"), std::string::npos) << s;
}

// A figure of eight crosses itself; a closed ring does not, nor does a curve's turn back on a
// neighbouring segment.
TEST_F(CrvCheck, SelfCrossingButNotAClosedRing) {
    Mk({0, 0, 100, 100, 100, 0, 0, 100}, 10);                 // 0: crosses itself
    Mk({200, 0, 300, 0, 300, 100, 200, 100, 200, 0}, 20);     // 1: closed ring
    EXPECT_EQ(Check(), "selfcrossing 0");
}

// The same curve twice, or once reversed, coincides; a shifted copy does not.
TEST_F(CrvCheck, CoincidingCurvesAreDuplicates) {
    Mk({0, 0, 100, 0, 200, 50}, 10);
    Mk({200, 50, 100, 0, 0, 0}, 10);
    Mk({0, 30, 100, 30, 200, 80}, 20);
    const std::string s = Check();
    EXPECT_NE(s.find("duplicate 0 1"), std::string::npos) << s;
    EXPECT_EQ(s.find("duplicate 0 2"), std::string::npos) << s;
    EXPECT_EQ(s.find("duplicate 1 2"), std::string::npos) << s;
}

// Height 0 is a finding only among curves with heights.
TEST_F(CrvCheck, ZeroHeightOnlyAmongCurvesWithHeights) {
    Mk({0, 0, 100, 0, 100, 100, 0, 0});
    Mk({0, 200, 100, 200, 100, 300, 0, 200});
    EXPECT_EQ(Check(), "");
    SetCrvHgt(C(1), 50);
    EXPECT_EQ(Check(), "zeroheight 0");
}

// An open curve ending inside the region is reported, curves ending on the region's edge or
// within the edge tolerance of it are not.
TEST_F(CrvCheck, OpenCurveEndingInsideTheRegion) {
    Mk({-1000, -1000, 1000, -1000}, 10);  // 0: on the edge
    Mk({-995, 0, 995, 0}, 20);            // 1: ends 5 mm from the edge (tolerance 20)
    Mk({-1000, 500, 0, 500}, 30);         // 2: ends in the middle
    Mk({-1000, 1000, 1000, 1000}, 40);    // 3
    IntrCmd(CatDrw2D, CmdCrvChk);
    std::string open;
    for (const ChkFnd& f : CrvChkRes)
        if (f.kind == ChkOpen) open += std::to_string(f.i) + " ";
    EXPECT_EQ(open, "2 ");
}

// Neighbours more than one interval apart, or equal where the slope runs through them, are jumps;
// the interval is the most frequent step between levels.
TEST_F(CrvCheck, HeightJumpsBetweenNeighbours) {
    const float h[] = {100, 120, 140, 160, 200, 220, 220, 240};
    for (int i = 0; i < 8; ++i) Mk({-300, -300.0 + 100 * i, 300, -300.0 + 100 * i}, h[i]);
    double itv = 0;
    std::vector<ChkFnd> f = ChkCrv(CrvPart->crvs.a, N(), CurChkPrm(), &itv);
    EXPECT_DOUBLE_EQ(itv, 20);
    EXPECT_EQ(Check(), "heightjump 3 4; heightjump 5 6");
}

// Equal neighbours with the ground rising away from both are a valley, not a mistake.
TEST_F(CrvCheck, ValleyBetweenEqualCurvesIsNoJump) {
    const float h[] = {140, 120, 100, 100, 120, 140};
    for (int i = 0; i < 6; ++i) Mk({-300, -300.0 + 100 * i, 300, -300.0 + 100 * i}, h[i]);
    EXPECT_EQ(Check(), "");
}

// The shared synthetic contours, as digitised, check clean (ALT_SHARED_DIR).
TEST_F(CrvCheck, SharedContoursCheckClean) {
    FILE* f = std::fopen(ALT_SHARED_DIR "/bench/synth-contours.txt", "r");
    ASSERT_NE(f, nullptr);
    char line[256];
    crv* c = nullptr;
    float h = 0;
    while (std::fgets(line, sizeof line, f)) {
        double a, b;
        int n;
        if (std::sscanf(line, "curve %d %lf", &n, &a) == 2) {
            if (c) SetCrvHgt(c, h);
            c = NewCrv();
            h = static_cast<float>(a);
        } else if (c && std::sscanf(line, "%lf %lf", &a, &b) == 2) {
            AddPnt(c, static_cast<float>(a), static_cast<float>(b), 0);
        }
    }
    std::fclose(f);
    if (c) SetCrvHgt(c, h);
    for (int i = 0; i < N(); ++i) CalCrvBox(C(i));
    ASSERT_EQ(N(), 46);
    EXPECT_EQ(Check(), "");
}

// Choosing a finding selects its curves and centres the view on its place; the message area gives
// the count.
TEST_F(CrvCheck, ChoosingAFindingSelectsAndCentres) {
    Mk({-100, 0, 100, 0}, 10);
    Mk({50, -100, 50, 100}, 30);
    Check();
    ASSERT_EQ(CrvChkRes.size(), 1u);
    EXPECT_STREQ(MsgLin[0], "等高線のチェック: 1 件");
    ASSERT_EQ(ShowChkFnd(0), 0);
    ASSERT_EQ(NumCrvSlct, 2);
    EXPECT_EQ(CrvSlct[0], C(0));
    EXPECT_EQ(CrvSlct[1], C(1));
    EXPECT_NEAR(CurCamObj->view.RotCnt[0], 50, 1e-3);
    EXPECT_NEAR(CurCamObj->view.RotCnt[1], 0, 1e-3);
    EXPECT_EQ(ShowChkFnd(1), -1);
}
