// View commands seen in the picture: each drag step is drawn and shown before the release.
#include <cmath>
#include <cstdlib>
#include "support/draw_fixture.h"
#include "core/cmd.h"
#include "display/dsp_cmd.h"

namespace {

using ViewDraw = DrawTestT<500, 400>;

bool White(gltest::Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; }

// Column of the white zero line of the grid on row y, -1 when there is none.
int ZeroLine(const gltest::GLPlatform& g, int y) {
    for (int x = 0; x < 500; ++x)
        if (White(g.Px(x, y))) return x;
    return -1;
}

TEST_F(ViewDraw, ShiftDragShowsEveryStep) {
    AxisOn = 0;
    Redraw();
    int x0 = ZeroLine(GL(), 32);
    ASSERT_NEAR(x0, 250, 1);
    IntrCmd(CatDsp, CmdShfMode);
    Press(250, 200);
    Move(290, 200);
    GL().Grab();  // no release yet: the step has drawn into the back buffer and swapped
    EXPECT_NEAR(ZeroLine(GL(), 32), x0 + 40, 1);
    Move(330, 200);
    GL().Grab();
    EXPECT_NEAR(ZeroLine(GL(), 32), x0 + 80, 1);
    Release(330, 200);
    GL().Grab();
    EXPECT_NEAR(ZeroLine(GL(), 32), x0 + 80, 1);
}

TEST_F(ViewDraw, LoupeClickZoomsThePicture) {
    AxisOn = 0;
    Redraw();
    IntrCmd(CatView, CmdLpeMode);
    // Click 100 pixels right of the centre: that point comes to the centre at twice the scale.
    Click(350, 200);
    GL().Grab();
    EXPECT_NEAR(ZeroLine(GL(), 32), 250 - 200, 1);
}

}  // namespace
