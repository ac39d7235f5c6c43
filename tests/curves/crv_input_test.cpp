// Point and stroke input driven by mouse events in the plan view.
#include "curves/crv_env.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "curves/crv_cmd.h"
#include "cmd/undo.h"

using CurveInput = CrvTest;

TEST_F(CurveInput, PointInputClosesOnTheFirstPointAndBeginsTheNextCurve) {
    IntrCmd(CatDrw2D, CmdCrvClk);
    EXPECT_EQ(CrntMode, ModeCrvClk);
    EXPECT_EQ(CrsIdx, CrsCross);
    ASSERT_EQ(N(), 1);
    EXPECT_EQ(Name(C(0)), "等高線1");
    Click(0, 0);
    Click(100, 0);
    Click(100, 100);
    Click(2, 1);  // within the aperture of the first point
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0;100.0,100.0;0.0,0.0");
    EXPECT_EQ(C(0)->p[11], 0.0f);
    EXPECT_EQ(C(0)->col[0], 1.0f);
    EXPECT_EQ(C(0)->col[2], 1.0f);  // white until a height is set
    EXPECT_EQ(C(1)->n, 0);
    EXPECT_EQ(Name(C(1)), "等高線2");
    EXPECT_EQ(CrntCrv, C(1));
    EXPECT_EQ(UndoState, 1);
    EXPECT_EQ(UndoKind, UndoNewCrv);
    // The next clicks go to the new curve; the right button ends it and leaves the mode.
    Click(-100, -100);
    Click(-200, -100);
    RClick(0, 0);
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_EQ(CrsIdx, CrsArrow);
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Pts(C(1)), "-100.0,-100.0;-200.0,-100.0");
    EXPECT_FLOAT_EQ(C(1)->box.min[0], -200);
    EXPECT_FLOAT_EQ(C(1)->box.max[0], -100);
}

TEST_F(CurveInput, PointsThatNeverLeaveTheApertureDoNotClose) {
    IntrCmd(CatDrw2D, CmdCrvClk);
    Click(0, 0);
    Click(1, 0);
    Click(0, 1);
    Click(2, 2);
    RClick(50, 50);
    ASSERT_EQ(N(), 1);
    EXPECT_EQ(C(0)->n, 4);
}

TEST_F(CurveInput, RightClickBeforeAnyPointLeavesAnEmptyCurve) {
    IntrCmd(CatDrw2D, CmdCrvClk);
    RClick(10, 10);
    ASSERT_EQ(N(), 1);
    EXPECT_EQ(C(0)->n, 0);
    EXPECT_EQ(Name(C(0)), "等高線1");
    EXPECT_EQ(CrntMode, ModeIdle);
}

TEST_F(CurveInput, StrokeAddsAPointPerStepAndClosesWhenItReturns) {
    IntrCmd(CatDrw2D, CmdCrvStk);
    EXPECT_EQ(CrntMode, ModeCrvStk);
    Press(0, 0);
    Move(3, 0);    // below the stroke step from the press
    Move(10, 0);
    Move(20, 0);
    Move(20, 20);
    Move(0, 20);
    Move(1, 2);    // back within the aperture of the start: closes
    Move(50, 50);  // the rest of the drag adds nothing
    Release(60, 60);
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;10.0,0.0;20.0,0.0;20.0,20.0;0.0,20.0;0.0,0.0");
    EXPECT_EQ(C(1)->n, 0);
    // The next stroke is a new curve, ended by its release.
    Press(100, 100);
    Move(108, 100);
    Release(108, 100);
    ASSERT_EQ(N(), 3);
    EXPECT_EQ(Pts(C(1)), "100.0,100.0;108.0,100.0");
    EXPECT_EQ(C(2)->n, 0);
    EXPECT_EQ(UndoKind, UndoNewCrv);
    RClick(0, 0);
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_EQ(N(), 3);
}

TEST_F(CurveInput, EachEndedCurveIsOneUndoStep) {
    IntrCmd(CatDrw2D, CmdCrvClk);
    Click(0, 0);
    Click(100, 0);
    RClick(0, 0);
    ASSERT_EQ(N(), 1);
    IntrCmd(CatDrw2D, CmdCrvClk);  // a start command keeps the history
    EXPECT_EQ(UndoState, 1);
    Click(0, 50);
    Click(100, 50);
    RClick(0, 0);
    ASSERT_EQ(N(), 2);
    Undo();
    ASSERT_EQ(N(), 1);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0");
    Redo();
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Name(C(1)), "等高線2");
    EXPECT_EQ(Pts(C(1)), "0.0,50.0;100.0,50.0");
    Undo();
    EXPECT_EQ(N(), 1);
    Undo();  // the first curve, entered before the mode started again
    EXPECT_EQ(N(), 0);
    Undo();  // nothing more to undo
    EXPECT_EQ(plat.beeps, 1);
    Redo();
    Redo();
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0");
    EXPECT_EQ(Pts(C(1)), "0.0,50.0;100.0,50.0");
}
