// Heights along a line, through the drag mode and the engine entry the journals use.
#include "curves/crv_env.h"
#include "cmd/crv_chk.h"
#include "curves/crv_cmd.h"
#include "cmd/undo.h"

using HgtLine = CrvTest;

namespace {
float H(const crv* c) { return c->p[2]; }
}  // namespace

// Dragging across five curves gives them H, H + D, ... from the press side; the other way round
// reverses the order; the line is one undo step that brings every height back.
TEST_F(HgtLine, DragGivesHeightsInOrderFromItsStartAsOneUndoStep) {
    for (int i = 0; i < 5; ++i) Mk({-100.0 + 50 * i, -100, -100.0 + 50 * i, 100});
    HgtLinStart = 100000;
    HgtLinStep = 20000;
    IntrCmd(CatDrw2D, CmdCrvHgtLin);
    EXPECT_EQ(CrntMode, ModeCrvHgtLin);
    Drag(-150, 0, 150, 10);
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(H(C(i)), 100000 + 20000 * i) << i;
    for (int j = 0; j < C(4)->n; ++j) EXPECT_FLOAT_EQ(C(4)->p[3 * j + 2], 180000);
    EXPECT_EQ(UndoKind, UndoPart);
    Drag(150, 0, -150, 0);
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(H(C(i)), 180000 - 20000 * i) << i;
    Undo();
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(H(C(i)), 100000 + 20000 * i) << i;
}

// A curve the line crosses twice keeps the height of its first crossing and takes one step only;
// hidden curves and curves the line misses are left alone.
TEST_F(HgtLine, CurveCrossedTwiceKeepsItsFirstHeight) {
    Mk({-50, -100, -50, 100});                  // 0
    Mk({0, 100, 0, -50, 100, -50, 100, 100});   // 1: a U crossed at x 0 and x 100
    Mk({50, -100, 50, 100});                    // 2: inside the U
    crv* hid = Mk({150, -100, 150, 100});       // 3: hidden
    hid->vis = 0;
    Mk({200, 50, 250, 50});                     // 4: missed
    const double a[2] = {-100, 0}, b[2] = {180, 0};
    HgtLinStart = 10;
    HgtLinStep = -1;
    EXPECT_EQ(HgtLin(a, b), 3);
    EXPECT_FLOAT_EQ(H(C(0)), 10);
    EXPECT_FLOAT_EQ(H(C(1)), 9);
    EXPECT_FLOAT_EQ(H(C(2)), 8);
    EXPECT_FLOAT_EQ(H(C(3)), 0);
    EXPECT_FLOAT_EQ(H(C(4)), 0);
}

// A line that crosses nothing changes nothing and leaves no undo record behind.
TEST_F(HgtLine, LineAcrossNothingChangesNothing) {
    Mk({0, 0, 10, 0}, 5);
    const double a[2] = {100, 100}, b[2] = {200, 200};
    EXPECT_EQ(HgtLin(a, b), 0);
    EXPECT_FLOAT_EQ(H(C(0)), 5);
    EXPECT_NE(UndoKind, UndoPart);
}
