// Centre-line tracing through the trace command: one curve along the middle of each inked line,
// split at junctions, rings closed, filled areas still outlined; the map's placement; the report
// in the message area.
#include "vectorize/vec_fixture.h"

#include <cmath>
#include <cstdio>
#include "display/view.h"

namespace {

// Ink where the pixel centre lies within w / 2 of the segment (pixel coordinates, rows down).
void Line(Pic& pic, double ax, double ay, double bx, double by, double w) {
    const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
    for (int y = 0; y < pic.img.h; ++y)
        for (int x = 0; x < pic.img.w; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / l2, 0.0, 1.0);
            if (std::hypot(px - ax - t * dx, py - ay - t * dy) <= w / 2) pic.Set(x, y, 0);
        }
}
void Ring(Pic& pic, double cx, double cy, double r, double w) {
    for (int y = 0; y < pic.img.h; ++y)
        for (int x = 0; x < pic.img.w; ++x)
            if (std::fabs(std::hypot(x + 0.5 - cx, y + 0.5 - cy) - r) <= w / 2) pic.Set(x, y, 0);
}

// Model point (p = 10 mm per pixel, map corner at the origin) back to pixel coordinates.
constexpr double P = 10;

}  // namespace

class CentreLine : public VecTest {
protected:
    void SetUp() override {
        VecTest::SetUp();
        CurCamObj->view.ScrWid = 2000;
        SetView(0);
        VecCentre = 1;
        VecOrgOn = 1;
        VecOrg[0] = VecOrg[1] = 0;
    }
    // Pixel position of a curve point of a picture h pixels high.
    static void Pix(const crv* c, int j, int h, double* x, double* y) {
        *x = c->p[3 * j] / P;
        *y = h - c->p[3 * j + 1] / P;
    }
};

// Lines 3 to 8 pixels wide give one curve each, every point within half a pixel of the middle.
TEST_F(CentreLine, LinesThreeToEightPixelsWideGiveOneCurveOnTheirMiddle) {
    const double ax = 20, ay = 30, bx = 180, by = 85;
    for (int w = 3; w <= 8; ++w) {
        SCOPED_TRACE("width " + std::to_string(w));
        IntrCmd(CatDrw2D, CmdCrvDelAll);
        Pic pic(200, 120);
        Line(pic, ax, ay, bx, by, w);
        LoadTrace(pic, P);
        ASSERT_EQ(NumCurves(), 1);
        const crv* c = CrvPart->crvs.a[0];
        ASSERT_GE(c->n, 2);
        const double dx = bx - ax, dy = by - ay, l = std::hypot(dx, dy);
        double worst = 0;
        for (int j = 0; j < c->n; ++j) {
            double x, y;
            Pix(c, j, 120, &x, &y);
            worst = std::max(worst, std::fabs((x - ax) * dy - (y - ay) * dx) / l);
        }
        EXPECT_LE(worst, 0.5);
        // The curve runs the line's length, less at most a width at each end.
        double x0, y0, x1, y1;
        Pix(c, 0, 120, &x0, &y0);
        Pix(c, c->n - 1, 120, &x1, &y1);
        EXPECT_GE(std::hypot(x1 - x0, y1 - y0), l - 2 * w - 2);
    }
}

// A ring is one closed curve on its middle circle.
TEST_F(CentreLine, RingGivesOneClosedCurve) {
    Pic pic(120, 100);
    Ring(pic, 60, 50, 30, 5);
    LoadTrace(pic, P);
    ASSERT_EQ(NumCurves(), 1);
    const crv* c = CrvPart->crvs.a[0];
    ASSERT_GE(c->n, 8);
    EXPECT_FLOAT_EQ(c->p[0], c->p[3 * (c->n - 1)]);
    EXPECT_FLOAT_EQ(c->p[1], c->p[3 * (c->n - 1) + 1]);
    for (int j = 0; j < c->n; ++j) {
        double x, y;
        Pix(c, j, 100, &x, &y);
        EXPECT_NEAR(std::hypot(x - 60, y - 50), 30, 0.5) << "point " << j;
    }
}

// Filled ink is no line: its outline is traced as before, around the block.
TEST_F(CentreLine, FilledAreaKeepsItsOutline) {
    Pic pic(80, 60);
    pic.Fill(10, 10, 59, 44, 0);
    LoadTrace(pic, P);
    ASSERT_EQ(NumCurves(), 1);
    const crv* c = CrvPart->crvs.a[0];
    float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
    for (int j = 0; j < c->n; ++j) {
        x0 = std::min(x0, c->p[3 * j]);
        x1 = std::max(x1, c->p[3 * j]);
        y0 = std::min(y0, c->p[3 * j + 1]);
        y1 = std::max(y1, c->p[3 * j + 1]);
    }
    EXPECT_NEAR(x1 - x0, 49 * P, 2 * P);
    EXPECT_NEAR(y1 - y0, 34 * P, 2 * P);
}

// Two lines crossing split into four curves that end at the crossing.
TEST_F(CentreLine, CrossingLinesSplitAtTheJunction) {
    Pic pic(120, 120);
    Line(pic, 10, 10, 110, 110, 4);
    Line(pic, 10, 110, 110, 10, 4);
    LoadTrace(pic, P);
    ASSERT_EQ(NumCurves(), 4);
    for (int i = 0; i < 4; ++i) {
        const crv* c = CrvPart->crvs.a[i];
        double xa, ya, xb, yb;
        Pix(c, 0, 120, &xa, &ya);
        Pix(c, c->n - 1, 120, &xb, &yb);
        const double near = std::min(std::hypot(xa - 60, ya - 60), std::hypot(xb - 60, yb - 60));
        EXPECT_LE(near, 4) << "curve " << i;
    }
}

// A speck on the side of a line and a hole of noise inside it change nothing: one curve.
TEST_F(CentreLine, SpurAndHoleOfNoiseLeaveOneCurve) {
    Pic pic(120, 40);
    Line(pic, 10, 20, 110, 20, 5);
    pic.Fill(50, 16, 51, 16, 0);  // bump above the line
    pic.Set(40, 17, 0);
    pic.Set(70, 20, 255);         // hole inside it
    pic.Set(71, 19, 255);
    LoadTrace(pic, P);
    EXPECT_EQ(NumCurves(), 1);
}

// Specks of noise away from lines make no curves.
TEST_F(CentreLine, IsolatedSpecksMakeNoCurve) {
    Pic pic(60, 40);
    pic.Set(10, 10, 0);
    pic.Fill(30, 20, 31, 21, 0);
    pic.Fill(45, 5, 47, 5, 0);
    LoadTrace(pic, P);
    EXPECT_EQ(NumCurves(), 0);
}

// The map's corner puts the curves where the sheet lies, in both tracings: the same picture moves
// by the corner plus half the map.
TEST_F(CentreLine, CornerPlacesTheCurvesInBothTracings) {
    Pic pic(80, 60);
    Line(pic, 10, 30, 70, 30, 4);
    pic.Fill(5, 45, 40, 55, 0);
    for (int centre = 0; centre <= 1; ++centre) {
        SCOPED_TRACE(centre ? "centre lines" : "outlines");
        VecCentre = static_cast<uint8_t>(centre);
        IntrCmd(CatDrw2D, CmdCrvDelAll);
        VecOrgOn = 0;
        LoadTrace(pic, P);
        std::vector<CrvPts> mid = Curves();
        IntrCmd(CatDrw2D, CmdCrvDelAll);
        VecOrgOn = 1;
        VecOrg[0] = 100000;
        VecOrg[1] = -5000;
        Trace(P);
        std::vector<CrvPts> at = Curves();
        ASSERT_EQ(mid.size(), at.size());
        ASSERT_FALSE(at.empty());
        for (size_t i = 0; i < at.size(); ++i) {
            ASSERT_EQ(mid[i].n(), at[i].n());
            for (int j = 0; j < at[i].n(); ++j) {
                EXPECT_NEAR(at[i].xy[2 * j] - mid[i].xy[2 * j], 100000 + 40 * P, 0.05);
                EXPECT_NEAR(at[i].xy[2 * j + 1] - mid[i].xy[2 * j + 1], -5000 + 30 * P, 0.05);
            }
        }
    }
}

// After a trace the message area says how many curves and points were made.
TEST_F(CentreLine, MessageAreaCountsCurvesAndPoints) {
    Pic pic(120, 100);
    Ring(pic, 40, 50, 25, 4);
    Line(pic, 80, 10, 110, 90, 4);
    LoadTrace(pic, P);
    ASSERT_EQ(NumCurves(), 2);
    const int pts = CrvPart->crvs.a[0]->n + CrvPart->crvs.a[1]->n;
    char want[100];
    std::snprintf(want, sizeof want, "2 本のカーブ (%d 点) を作成しました。", pts);
    ASSERT_EQ(MsgLinNum, 1);
    EXPECT_STREQ(MsgLin[0], want);
}
