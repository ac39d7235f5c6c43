// Grid, labels and axes of the view, read back from the picture.
#include <cmath>
#include <cstdlib>
#include <string>
#include "display/viewint.h"
#include "support/draw_fixture.h"
#include "core/cmd.h"
#include "display/dsp_cmd.h"

namespace {

using DrawGrid = DrawTestT<500, 400>;

constexpr gltest::Rgb kBg{0, 74, 74};
constexpr gltest::Rgb kWhite{255, 255, 255};
constexpr gltest::Rgb kMajor{174, 174, 174};
constexpr gltest::Rgb kMinor{105, 105, 105};

bool Near(gltest::Rgb a, gltest::Rgb b, int tol = 2) {
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

// Colour of a vertical line near column x (within one pixel), looked for on row y.
gltest::Rgb ColNear(const gltest::GLPlatform& g, int x, int y) {
    for (int dx : {0, -1, 1}) {
        gltest::Rgb c = g.Px(x + dx, y);
        if (!Near(c, kBg)) return c;
    }
    return kBg;
}

// Number of pixels of colour c in the 8 x 10 cell of the character at column x, baseline y.
int Glyph(const gltest::GLPlatform& g, int x, int y, gltest::Rgb c) {
    return g.Count(c, 2, x + 1, y - 9, x + 5, y - 2);
}

TEST_F(DrawGrid, StartUpViewLinesEveryHundredThousandMajorEveryFifth) {
    AxisOn = 0;  // the axes would cover the zero lines
    Redraw();
    // 1e7 model units over 500 pixels: a line every 100000 (5 pixels), a major one every 500000.
    int y = 32;  // a row between horizontal lines, away from every label
    int minors = 0, majors = 0;
    for (int i = -49; i <= 49; ++i) {
        double p[3];
        Win(i * 100000.0, 0, 0, p);
        gltest::Rgb c = ColNear(GL(), static_cast<int>(std::lround(p[0])), y);
        if (i == 0) {
            EXPECT_TRUE(Near(c, kWhite)) << "zero line";
        } else if (i % 5 == 0) {
            EXPECT_TRUE(Near(c, kMajor)) << "major line " << i;
            ++majors;
        } else {
            EXPECT_TRUE(Near(c, kMinor)) << "minor line " << i << " " << c.r;
            ++minors;
        }
    }
    if (const char* d = std::getenv("ALT_DRAW_DUMP")) GL().SavePpm((std::string(d) + "/grid.ppm").c_str());
    EXPECT_EQ(majors, 18);
    EXPECT_EQ(minors, 80);
    // Between two lines the background shows.
    double p[3];
    Win(250000.0 - 50000.0, 0, 0, p);
    EXPECT_TRUE(Near(GL().Px(static_cast<int>(std::lround(p[0])) , y), kBg));
    // Horizontal lines too: the zero line is white across the window.
    Win(0, 0, 0, p);
    int zy = static_cast<int>(std::lround(p[1]));
    bool white = false;
    for (int dy : {0, -1, 1}) white = white || Near(GL().Px(77, zy + dy), kWhite);
    EXPECT_TRUE(white);
}

TEST_F(DrawGrid, StartUpLabelsEveryMillionInKilometres) {
    AxisOn = 0;
    Redraw();
    double o[3];
    Win(0, 0, 0, o);
    int y = static_cast<int>(std::lround(o[1]));
    for (int i = -4; i <= 4; ++i) {
        double p[3];
        Win(i * 1000000.0, 0, 0, p);
        int x = static_cast<int>(std::lround(p[0]));
        // "0" at the origin, "%dkm" elsewhere: 1, 3 or 4 characters.
        int len = i == 0 ? 1 : (i < 0 ? 4 : 3);
        for (int k = 0; k < len; ++k)
            EXPECT_GE(Glyph(GL(), x + 8 * k, y, kMajor), 12) << "label " << i << " char " << k;
        EXPECT_LT(Glyph(GL(), x + 8 * len, y, kMajor), 8) << "label " << i << " too long";
    }
    // No label half-way between two (major lines every 500000 carry none).
    double h[3];
    Win(500000.0, 0, 0, h);
    EXPECT_LT(Glyph(GL(), static_cast<int>(std::lround(h[0])) + 8, y, kMajor), 8);
    // Labels of the y axis: "1km" one million up.
    double q[3];
    Win(0, 1000000.0, 0, q);
    int qx = static_cast<int>(std::lround(q[0])), qy = static_cast<int>(std::lround(q[1]));
    for (int k = 0; k < 3; ++k) EXPECT_GE(Glyph(GL(), qx + 8 * k, qy, kMajor), 12);
}

TEST_F(DrawGrid, ZoomedInStepsAndMillimetreLabels) {
    AxisOn = 0;
    CamView& v = *CurView();
    v.ScrWid = 3000;
    SetWnd2D(3000);
    Redraw();
    // s = 100 (16.7 px), m = 500; labels every 500 as "%dmm": "500mm" has five characters.
    double p[3];
    Win(500, 0, 0, p);
    int x = static_cast<int>(std::lround(p[0])), y = static_cast<int>(std::lround(p[1]));
    for (int k = 0; k < 5; ++k) EXPECT_GE(Glyph(GL(), x + 8 * k, y, kMajor), 12) << k;
    double q[3];
    Win(100, 0, 0, q);
    double r[3];
    Win(0, -1050, 0, r);  // a row half-way between two horizontal lines
    int ry = static_cast<int>(std::lround(r[1]));
    EXPECT_TRUE(Near(ColNear(GL(), static_cast<int>(std::lround(q[0])), ry), kMinor));
    EXPECT_TRUE(Near(ColNear(GL(), x, ry), kMajor));
    // Step adaptation as the grid uses it, for the widths a user zooms through.
    long long s, m;
    GrdStep(1e7, &s, &m);
    EXPECT_EQ(s, 100000);
    EXPECT_EQ(m, 500000);
    GrdStep(3000, &s, &m);
    EXPECT_EQ(s, 100);
    EXPECT_EQ(m, 500);
    GrdStep(50, &s, &m);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(m, 5);
    GrdStep(INFINITY, &s, &m);  // a broken view must not hang the grid
    EXPECT_GE(s, 1);
}

TEST_F(DrawGrid, GridOffAndMasterSwitch) {
    AxisOn = 0;
    GridOn = 0;
    Redraw();
    EXPECT_EQ(GL().Count(kBg), W * H) << "nothing but the background";
    GridOn = 1;
    WinDsp[0] &= ~16;
    Redraw();
    EXPECT_EQ(GL().Count(kBg), W * H);
    WinDsp[0] |= 16;
    GridOn = 1;
}

TEST_F(DrawGrid, AxisTicksForTenMillionWide) {
    GridOn = 0;
    // Look at x from 0 to 1e7 so that the ticks at 0, 5e6 and 1e7 are not on the window's edge.
    CamView& v = *CurView();
    v.RotCnt[0] = 5000000;
    Redraw();
    double o[3];
    Win(0, 0, 0, o);
    int ay = static_cast<int>(std::lround(o[1]));
    // Tick half-length 0.01 * 1e7 = 1e5 model units, 5 pixels.
    auto tickAt = [&](double xm) {
        double p[3];
        Win(xm, 0, 0, p);
        int x = static_cast<int>(std::lround(p[0]));
        return GL().Count(kMajor, 2, x - 1, ay - 4, x + 1, ay - 2) > 0 &&
               GL().Count(kMajor, 2, x - 1, ay + 2, x + 1, ay + 4) > 0;
    };
    if (const char* d = std::getenv("ALT_DRAW_DUMP")) GL().SavePpm((std::string(d) + "/axis.ppm").c_str());
    EXPECT_TRUE(tickAt(5000000));
    EXPECT_FALSE(tickAt(2500000)) << "ticks only every 5e6";
    EXPECT_FALSE(tickAt(500000));
    EXPECT_FALSE(tickAt(7500000));
    // The x axis runs across the window in the axis grey.
    EXPECT_TRUE(Near(GL().Px(100, ay), kMajor) || Near(GL().Px(100, ay - 1), kMajor) ||
                Near(GL().Px(100, ay + 1), kMajor));
    // Axes off: nothing but the background.
    IntrCmd(CatDsp, CmdRdrwAll);
    SetAxisDsp(0);
    GL().Grab();
    EXPECT_EQ(GL().Count(kBg), W * H);
    SetAxisDsp(1);
    GridOn = 1;
}

}  // namespace
