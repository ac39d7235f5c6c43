// Tracing through the command: which ink areas become curves, where their points lie, the filters,
// progress, cancellation, the undo drop and the selection.
#include "vectorize/vec_fixture.h"

#include <array>
#include <cmath>
#include <functional>
#include "display/view.h"
#include "support/rec_feedback.h"
#include "cmd/undo.h"

namespace {

// The plan view 800 mm wide: the second thinning pass then spans 800 mm.
void PlanView800() {
    CamView& v = CurCamObj->view;
    v.ScrWid = 800;
    WinSizW = 800;
    WinSizH = 600;
    IntrCmd(CatDsp, CmdDspResize);
    SetView(0);
}

bool Near(float a, float b, float tol = 1e-3f) { return std::fabs(a - b) <= tol; }

}  // namespace

class VecTrace : public VecTest {
protected:
    void SetUp() override {
        VecTest::SetUp();
        ASSERT_NE(CurCamObj, nullptr);
        PlanView800();
        Plt().Clear();
    }
};

// A white picture has no ink, so no curve; the progress bar still opens and closes.
TEST_F(VecTrace, WhitePictureGivesNoCurve) {
    LoadTrace(Pic(12, 9));
    EXPECT_EQ(NumCurves(), 0);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_CRE), 1);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DSP), 101);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DEL), 1);
    EXPECT_EQ(RunFlg, 0);
}

// Outlines of zero area go: a single pixel and a line one pixel thick, whatever the scale.
TEST_F(VecTrace, SinglePixelAndThinLineAreDropped) {
    LoadTrace(Pic({"..........",
                   "..#.......",
                   "..........",
                   ".########.",
                   "..........",
                   "........#.",
                   "........#.",
                   "........#."}), 1000);
    EXPECT_EQ(NumCurves(), 0);
}

// A line two pixels thick stays when its box reaches 400 mm² (p = 10: 20 x 1 pixels = 2000), and
// goes when it does not (2 x 1 pixels = 200).
TEST_F(VecTrace, TwoPixelLineStaysWhenItsBoxReachesTheMinimumArea) {
    Pic long_(30, 8), short_(30, 8);
    long_.Fill(3, 2, 23, 3, 0);
    short_.Fill(3, 2, 5, 3, 0);
    LoadTrace(long_);
    EXPECT_EQ(NumCurves(), 1);
    IntrCmd(CatDrw2D, CmdCrvDelAll);
    LoadTrace(short_);
    EXPECT_EQ(NumCurves(), 0);
    // The same short line at 30 mm per pixel covers 1800 mm².
    Trace(30);
    EXPECT_EQ(NumCurves(), 1);
}

// 300 dpi at 1:25000: one pixel is 2116.67 mm, and neighbouring outline points lie that far apart.
TEST_F(VecTrace, PixelSizeFollowsResolutionAndScale) {
    EXPECT_NEAR(VecPixSiz(300, 25000), 2116.6667, 0.001);
    Pic pic(8, 8);
    pic.Fill(2, 2, 3, 3, 0);
    ASSERT_EQ(Load(SaveBmp(pic, "b.bmp")), 0);
    VecDpi = 300;
    VecMapScl = 25000;
    IntrCmd(CatDrw2D, CmdVecTrace);
    auto c = Curves();
    ASSERT_EQ(c.size(), 1u);
    // The smoothed 2 x 2 block is a square a third of a pixel across.
    float side = std::fabs(c[0].xy[0] - c[0].xy[2]) + std::fabs(c[0].xy[1] - c[0].xy[3]);
    EXPECT_NEAR(side, 2116.6667f / 3, 0.05);
}

// The picture is centred on the origin with y up. A 2 x 2 block in the top-left corner is walked
// from its second row (the scan begins inside a run, so the corner pixel continues it), to the
// right first, and gives the closed square of its smoothed outline, named by the curve count.
TEST_F(VecTrace, CornerBlockGivesItsSmoothedSquare) {
    Pic pic(10, 8);
    pic.Fill(0, 0, 1, 1, 0);
    LoadTrace(pic, 30);
    auto c = Curves();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].name, "等高線1");
    const float want[] = {-140, 70, -130, 70, -130, 80, -140, 80, -140, 70};
    ASSERT_EQ(c[0].n(), 5);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(Near(c[0].xy[i], want[i])) << i << ": " << c[0].xy[i];
    const crv* k = CrvPart->crvs.a[0];
    for (int i = 0; i < k->n; ++i) EXPECT_EQ(k->p[3 * i + 2], 0.0f);
    EXPECT_EQ(k->vis, 1);
}

// A filled rectangle gives one closed curve; the straight sides are thinned down to the corners
// and their neighbours.
TEST_F(VecTrace, FilledRectangleThinsToItsCorners) {
    Pic pic(30, 24);
    pic.Fill(4, 3, 25, 18, 0);
    LoadTrace(pic);
    auto c = Curves();
    ASSERT_EQ(c.size(), 1u);
    const CrvPts& k = c[0];
    ASSERT_GE(k.n(), 5);
    EXPECT_LE(k.n(), 13);
    EXPECT_EQ(k.xy[0], k.xy[2 * k.n() - 2]);
    EXPECT_EQ(k.xy[1], k.xy[2 * k.n() - 1]);
    // Pixel centres: x = 10 col - 150, y = 10 (23 - row) - 120.
    const float x0 = 40 - 150, x1 = 250 - 150, y0 = 10 * (23 - 18) - 120, y1 = 10 * (23 - 3) - 120;
    const float corner[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    for (auto& cn : corner) {
        float best = 1e9f;
        for (int i = 0; i < k.n(); ++i)
            best = std::fmin(best, std::hypot(k.xy[2 * i] - cn[0], k.xy[2 * i + 1] - cn[1]));
        EXPECT_LE(best, 10.0f) << cn[0] << " " << cn[1];
    }
    // Every point lies within a pixel of the border.
    for (int i = 0; i < k.n(); ++i) {
        float x = k.xy[2 * i], y = k.xy[2 * i + 1];
        float d = std::fmin(std::fmin(std::fabs(x - x0), std::fabs(x - x1)),
                            std::fmin(std::fabs(y - y0), std::fabs(y - y1)));
        EXPECT_LE(d, 10.0f) << x << " " << y;
    }
}

// A ring gives its outer and its inner border, the outer first.
TEST_F(VecTrace, RingGivesOuterAndInnerOutline) {
    Pic pic(30, 30);
    pic.Fill(5, 5, 24, 24, 0);
    pic.Fill(10, 10, 19, 19, 255);
    LoadTrace(pic);
    auto c = Curves();
    ASSERT_EQ(c.size(), 2u);
    auto box = [](const CrvPts& k) {
        std::array<float, 4> b = {1e9f, 1e9f, -1e9f, -1e9f};
        for (int i = 0; i < k.n(); ++i) {
            b[0] = std::fmin(b[0], k.xy[2 * i]);
            b[1] = std::fmin(b[1], k.xy[2 * i + 1]);
            b[2] = std::fmax(b[2], k.xy[2 * i]);
            b[3] = std::fmax(b[3], k.xy[2 * i + 1]);
        }
        return b;
    };
    auto o = box(c[0]), in = box(c[1]);
    EXPECT_NEAR(o[2] - o[0], 190, 10);
    EXPECT_NEAR(in[2] - in[0], 110, 10);
    EXPECT_LT(o[0], in[0]);
    EXPECT_GT(o[2], in[2]);
    EXPECT_LT(o[1], in[1]);
    EXPECT_GT(o[3], in[3]);
}

// An ink run that reaches the last column carries on into column 0 of the next row: a block
// whose rows all begin there is never walked. With paper at the end of the row above, it is.
TEST_F(VecTrace, RunAtLastColumnContinuesIntoColumnZero) {
    LoadTrace(Pic({"....##",
                   "##..##",
                   "##....",
                   "......"}), 30);
    EXPECT_EQ(NumCurves(), 1);
    IntrCmd(CatDrw2D, CmdCrvDelAll);
    LoadTrace(Pic({"...##.",
                   "##.##.",
                   "##....",
                   "......"}), 30);
    EXPECT_EQ(NumCurves(), 2);
}

// Threshold 0 takes only pure black as ink; 255 takes every pixel, so the whole picture is one
// ink run that began before the scan and starts no walk.
TEST_F(VecTrace, ThresholdBoundsDecideWhatIsInk) {
    Pic pic(20, 12);
    pic.Fill(2, 2, 6, 6, 0);
    pic.Fill(10, 2, 14, 6, 1);
    VecThr = 0;
    LoadTrace(pic);
    EXPECT_EQ(NumCurves(), 1);
    IntrCmd(CatDrw2D, CmdCrvDelAll);
    VecThr = 1;
    Trace();
    EXPECT_EQ(NumCurves(), 2);
    IntrCmd(CatDrw2D, CmdCrvDelAll);
    VecThr = 255;
    LoadTrace(Pic(20, 12));
    EXPECT_EQ(NumCurves(), 0);
    VecMono = VecDspMono;
    ASSERT_EQ(SetVecZoom(1), 0);
    for (long long i = 0; i < VecDsp.rowBytes * VecDsp.hdr.height; i += 3) ASSERT_EQ(VecDsp.bits[i], 0) << i;
}

// Fault: the progress of a one-row picture divided by zero rows. It reports 100 % at once.
TEST_F(VecTrace, OneRowPictureReportsFullProgress) {
    LoadTrace(Pic({"..####...."}));
    EXPECT_EQ(NumCurves(), 0);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DSP), 101);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DEL), 1);
}

// Fault: 0 dpi put every point at infinity. The user is told and nothing is made.
TEST_F(VecTrace, ZeroResolutionIsRefusedWithAMessage) {
    Pic pic(10, 10);
    pic.Fill(2, 2, 6, 6, 0);
    ASSERT_EQ(Load(SaveBmp(pic, "p.bmp")), 0);
    VecDpi = 0;
    IntrCmd(CatDrw2D, CmdVecTrace);
    EXPECT_EQ(NumCurves(), 0);
    ASSERT_NE(Plt().LastBox(), nullptr);
    EXPECT_EQ(Plt().LastBox()->id, 199);
    EXPECT_NE(Plt().LastBox()->text.find("dpi"), std::string::npos);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_CRE), 0);
}

// Tracing without an image says so.
TEST_F(VecTrace, NoImageIsReported) {
    IntrCmd(CatDrw2D, CmdVecTrace);
    EXPECT_EQ(NumCurves(), 0);
    ASSERT_NE(Plt().LastBox(), nullptr);
    EXPECT_EQ(Plt().LastBox()->id, 199);
}

// The close button clears the running flag: the trace stops at its next check, keeping the
// curves made so far, and closes the progress bar.
TEST_F(VecTrace, CancelKeepsTheCurvesMadeSoFar) {
    Pic pic(12, 30);
    pic.Fill(2, 0, 5, 3, 0);
    pic.Fill(2, 10, 5, 13, 0);
    pic.Fill(2, 20, 5, 23, 0);
    int pumps = 0;
    Plt().onPump = [&] {
        if (++pumps == 12) RunFlg = 0;  // at the check of row 11
    };
    VecPrm prm = CurVecPrm();
    prm.dpi = 25.4;
    prm.scl = 10;
    prm.pumpMs = 0;
    VecSrc src{pic.img.pix, pic.img.w, pic.img.h, pic.img.stride};
    EXPECT_EQ(TrcVec(src, prm), -1);
    EXPECT_EQ(NumCurves(), 2);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DEL), 1);
    EXPECT_EQ(RunFlg, 0);
    // The scene box covers the curves made.
    const crv* k = CrvPart->crvs.a[1];
    EXPECT_LE(CrvPart->box.min[1], k->box.min[1]);
}

// Nothing can be undone across a trace; the new curves are selected when the option is on.
TEST_F(VecTrace, TraceDropsUndoAndSelectsWhenAsked) {
    Pic pic(20, 12);
    pic.Fill(2, 2, 6, 6, 0);
    pic.Fill(10, 2, 14, 6, 0);
    LoadTrace(pic);
    IntrCmd(CatDrw2D, CmdCrvDelAll);
    EXPECT_EQ(UndoState, 1);
    Trace();
    EXPECT_EQ(UndoState, 0);
    EXPECT_EQ(NumCrvSlct, 0);
    VecSlctCrv = 1;
    Trace();
    EXPECT_EQ(NumCurves(), 4);
    EXPECT_EQ(NumCrvSlct, 4);
    EXPECT_EQ(Curves()[3].name, "等高線4");
}

// The filters on their own: smoothing wraps round a closed outline and clamps an open one;
// thinning keeps both ends and drops points on a straight run.
TEST(VecFltr, SmoothingWrapsClosedAndClampsOpen) {
    float sq[] = {0, 0, 0, 0, 3, 0, 3, 3, 0, 3, 0, 0, 0, 0, 0};
    AveFltr(5, sq, 1);
    EXPECT_FLOAT_EQ(sq[0], 1);   // x of (0, 3), (0, 0), (3, 0): the last distinct point wraps in
    EXPECT_FLOAT_EQ(sq[1], 1);
    EXPECT_FLOAT_EQ(sq[12], sq[0]);
    EXPECT_FLOAT_EQ(sq[13], sq[1]);
    float op[] = {0, 0, 0, 3, 0, 0, 6, 3, 0};
    AveFltr(3, op, 1);
    EXPECT_FLOAT_EQ(op[0], 1);   // (0 + 0 + 3) / 3
    EXPECT_FLOAT_EQ(op[1], 0);
    EXPECT_FLOAT_EQ(op[6], 5);   // (3 + 6 + 6) / 3
    EXPECT_FLOAT_EQ(op[7], 2);
}

// Fault: smoothing a closed outline of fewer points than its window read outside the outline.
TEST(VecFltr, SmoothingShortOutlinesStaysInside) {
    float one[] = {5, 6, 7};
    AveFltr(1, one, 3);
    EXPECT_FLOAT_EQ(one[0], 5);
    EXPECT_FLOAT_EQ(one[2], 0);
    float tri[] = {0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, 0};
    AveFltr(4, tri, 5);   // 11 points wrapped over 3
    EXPECT_FLOAT_EQ(tri[9], tri[0]);
    EXPECT_FLOAT_EQ(tri[10], tri[1]);
    for (float v : tri) EXPECT_TRUE(std::isfinite(v));
}

TEST(VecFltr, ThinningKeepsEndsAndTurns) {
    // A straight run of 11 points one apart, then a right-angle turn.
    std::vector<float> p;
    for (int i = 0; i <= 10; ++i) p.insert(p.end(), {static_cast<float>(i), 0, 0});
    for (int i = 1; i <= 10; ++i) p.insert(p.end(), {10, static_cast<float>(i), 0});
    int n = static_cast<int>(p.size() / 3);
    DstFltr(&n, p.data(), std::cos(174 * M_PI / 180), 100);
    ASSERT_EQ(n, 3);
    EXPECT_FLOAT_EQ(p[3], 10);
    EXPECT_FLOAT_EQ(p[4], 0);
    EXPECT_FLOAT_EQ(p[6], 10);
    EXPECT_FLOAT_EQ(p[7], 10);
    // Points closer than 0.1 to the last one kept always go, even at a turn.
    float q[] = {0, 0, 0, 0.05f, 0.05f, 0, 5, 5, 0};
    n = 3;
    DstFltr(&n, q, -1, 0);
    EXPECT_EQ(n, 2);
    // Two points stay as they are.
    float r[] = {0, 0, 0, 0, 0, 0};
    n = 2;
    DstFltr(&n, r, 1, 1e9);
    EXPECT_EQ(n, 2);
}

TEST(VecFltr, AreaTestUsesTheBoundingRectangle) {
    float line[] = {0, 0, 0, 100, 0, 0};
    EXPECT_FALSE(AreaFltr(2, line, 400));
    EXPECT_TRUE(AreaFltr(2, line, 0));
    float sq[] = {0, 0, 0, 20, 20, 0};
    EXPECT_TRUE(AreaFltr(2, sq, 400));
    EXPECT_FALSE(AreaFltr(2, sq, 401));
}

// The trace tells the feedback it is given, and not the window: it begins and ends once, reports
// rising progress to the whole and asks between rows; a "cancelled" answer stops it with the
// curves made so far, and it still ends. Both tracers alike.
TEST_F(VecTrace, GivenFeedbackHearsProgressAndCancels) {
    Pic pic(12, 30);
    pic.Fill(2, 0, 5, 3, 0);
    pic.Fill(2, 10, 5, 13, 0);
    pic.Fill(2, 20, 5, 23, 0);
    VecSrc src{pic.img.pix, pic.img.w, pic.img.h, pic.img.stride};
    for (int centre = 0; centre <= 1; ++centre) {
        SCOPED_TRACE(centre ? "centre lines" : "outlines");
        VecPrm prm = CurVecPrm();
        prm.dpi = 25.4;
        prm.scl = 10;
        prm.pumpMs = 0;
        prm.centre = centre != 0;
        prm.fb = FbNone;
        ASSERT_EQ(TrcVec(src, prm), 0);
        const int made = VecMadeCrv;
        if (!centre) {
            EXPECT_EQ(made, 3);
        }
        RecFb rec;
        prm.fb = rec.Fb();
        Plt().Clear();
        EXPECT_EQ(TrcVec(src, prm), 0);
        EXPECT_EQ(VecMadeCrv, made);
        EXPECT_EQ(rec.begins, 1);
        EXPECT_EQ(rec.ends, 1);
        EXPECT_GT(rec.asks, 0);
        EXPECT_TRUE(rec.Rising());
        EXPECT_EQ(rec.Last(), 100);
        EXPECT_EQ(Plt().CountNotify(ID_PRG_CRE), 0);
        EXPECT_EQ(Plt().pumps, 0);

        RecFb stop;
        stop.cancelAt = centre ? 1 : 12;  // the outline scan asks at every row: row 11
        prm.fb = stop.Fb();
        EXPECT_EQ(TrcVec(src, prm), -1);
        EXPECT_EQ(VecMadeCrv, centre ? 0 : 2);
        EXPECT_EQ(stop.asks, stop.cancelAt);
        EXPECT_EQ(stop.begins, 1);
        EXPECT_EQ(stop.ends, 1);
        EXPECT_TRUE(stop.Rising());
        EXPECT_LT(stop.Last(), 100);
    }
}
