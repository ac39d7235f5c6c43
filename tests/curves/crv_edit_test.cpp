// Joining, cutting and deleting, driven through the curve modes.
#include "curves/crv_env.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "core/mode.h"
#include "cmd/undo.h"

using CurveConnect = CrvTest;
using CurveCut = CrvTest;
using CurveDelete = CrvTest;

namespace {
// Two curves on the x axis: 等高線1 (0,0)-(100,0) and 等高線2 (200,0)-(300,0).
struct Pair { crv* a; crv* b; };
}  // namespace

TEST_F(CurveConnect, FourEndCases) {
    struct Case { double ax, bx; const char* name; const char* pts; };
    const Case cases[] = {
        {100, 300, "等高線2", "200.0,0.0;300.0,0.0;100.0,0.0;0.0,0.0"},   // B last, A last
        {0, 300, "等高線2", "200.0,0.0;300.0,0.0;0.0,0.0;100.0,0.0"},     // B last, A first
        {100, 200, "等高線1", "0.0,0.0;100.0,0.0;200.0,0.0;300.0,0.0"},   // B first, A last
        {0, 200, "等高線2", "300.0,0.0;200.0,0.0;0.0,0.0;100.0,0.0"},     // B first, A first
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.pts);
        ClrUndo();
        while (N() > 0) FreeCrv(C(0));
        Mk({0, 0, 100, 0});
        Mk({200, 0, 300, 0});
        IntrCmd(CatDrw2D, CmdCrvCnct);
        EXPECT_EQ(CrntMode, ModeCrvCnct);
        Click(k.ax, 0);
        EXPECT_EQ(N(), 2);
        Click(k.bx, 0);
        ASSERT_EQ(N(), 1);
        EXPECT_EQ(Name(C(0)), k.name);
        EXPECT_EQ(Pts(C(0)), k.pts);
        EXPECT_EQ(UndoKind, UndoPart);
        Undo();
        ASSERT_EQ(N(), 2);
        EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0");
        EXPECT_EQ(Pts(C(1)), "200.0,0.0;300.0,0.0");
        EXPECT_EQ(Name(C(0)), "等高線1");  // each curve comes back under its own name
        EXPECT_EQ(Name(C(1)), "等高線2");
        SetMode(ModeIdle);
    }
}

TEST_F(CurveConnect, BothEndsOfOneCurveCloseIt) {
    Mk({0, 0, 100, 0, 100, 100});
    IntrCmd(CatDrw2D, CmdCrvCnct);
    Click(0, 0);
    Click(0, 0);  // the same end again: still waiting
    EXPECT_EQ(C(0)->n, 3);
    Click(100, 100);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0;100.0,100.0;0.0,0.0");
}

TEST_F(CurveConnect, HeightsMustAgreeWithinATenth) {
    Mk({0, 0, 100, 0}, 100.0f);
    Mk({200, 0, 300, 0}, 100.05f);
    Mk({0, 100, 100, 100}, 100.2f);
    IntrCmd(CatDrw2D, CmdCrvCnct);
    Click(100, 100);  // 等高線3's last end
    Click(0, 0);      // 等高線1 differs by 0.2
    EXPECT_EQ(N(), 3);
    EXPECT_EQ(plat.beeps, 1);
    ASSERT_EQ(plat.boxes.size(), 1u);
    EXPECT_EQ(plat.boxes[0].text, "カーブの高さが異なります");
    EXPECT_EQ(plat.boxes[0].caption, "注意");
    EXPECT_EQ(UndoState, 0);
    SetMode(ModeIdle);
    IntrCmd(CatDrw2D, CmdCrvCnct);
    Click(100, 0);
    Click(200, 0);  // differs by 0.05
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(C(0)->n, 4);
    EXPECT_EQ(plat.beeps, 1);
}

TEST_F(CurveConnect, AutoConnectTakesTheFirstCandidateInListOrder) {
    Mk({0, 0, 100, 0});        // E = (100, 0)
    Mk({108, 0, 200, 0});      // first point 8 away, earlier in the list
    Mk({103, 2, 103, 40});     // first point 3.6 away, later in the list
    IntrCmd(CatDrw2D, CmdCrvAuto);
    EXPECT_EQ(CrntMode, ModeCrvAuto);
    Drag(50, -50, 150, 50);
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0;108.0,0.0;200.0,0.0");
    // The later candidate had its start inside: it is only reversed.
    EXPECT_EQ(Name(C(1)), "等高線3");
    EXPECT_EQ(Pts(C(1)), "103.0,40.0;103.0,2.0");
    EXPECT_EQ(UndoKind, UndoPart);
    Undo();
    EXPECT_EQ(N(), 3);
}

TEST_F(CurveConnect, AutoConnectSkipsOtherHeightsAndFarEnds) {
    Mk({0, 0, 100, 0}, 10);
    Mk({102, 0, 200, 0}, 10.2f);   // height differs by 0.2
    Mk({100, 20, 100, 60}, 10);    // 20 away: beyond the distance
    IntrCmd(CatDrw2D, CmdCrvAuto);
    Drag(50, -50, 150, 50);
    EXPECT_EQ(N(), 3);
    EXPECT_EQ(C(0)->n, 2);
}

TEST_F(CurveConnect, AutoConnectClosesACurveWithBothEndsNear) {
    Mk({60, 0, 100, -40, 140, 0, 100, 40, 63, 2});
    IntrCmd(CatDrw2D, CmdCrvAuto);
    Drag(50, -10, 80, 10);
    ASSERT_EQ(N(), 1);
    EXPECT_EQ(C(0)->n, 6);
    EXPECT_EQ(Pts(C(0)).substr(Pts(C(0)).rfind(';') + 1), "60.0,0.0");
}

TEST_F(CurveCut, CutAtAnInnerVertexOnlyOncePerClick) {
    crv* k = Mk({0, 0, 100, 0, 200, 0, 300, 0}, 50);
    IntrCmd(CatDrw2D, CmdCrvCut);
    EXPECT_EQ(CrntMode, ModeCrvCut);
    Click(100, 0);
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0");
    EXPECT_EQ(Pts(C(1)), "100.0,0.0;200.0,0.0;300.0,0.0");
    EXPECT_EQ(Name(C(1)), "等高線2");
    EXPECT_EQ(C(1)->col[1], k->col[1]);
    EXPECT_FLOAT_EQ(C(0)->box.max[0], 100);
    EXPECT_EQ(UndoKind, UndoPart);
    Undo();
    ASSERT_EQ(N(), 1);
    EXPECT_EQ(C(0)->n, 4);
}

TEST_F(CurveCut, CuttingAtEndVerticesDoesNothing) {
    Mk({0, 0, 100, 0, 200, 0});
    IntrCmd(CatDrw2D, CmdCrvCut);
    Click(0, 0);
    Click(200, 0);
    EXPECT_EQ(N(), 1);
    EXPECT_EQ(C(0)->n, 3);
    EXPECT_EQ(UndoState, 0);
}

TEST_F(CurveCut, LineCrossingThreeTimesGivesFourCurvesWithGaps) {
    Mk({0, 0, 100, 0, 100, 50, 0, 50, 0, 100, 100, 100}, 20);
    IntrCmd(CatDrw2D, CmdCrvCutLin);
    EXPECT_EQ(CrntMode, ModeCrvCutLin);
    Drag(50, -20, 50, 120);
    ASSERT_EQ(N(), 4);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;48.0,0.0");
    EXPECT_EQ(Pts(C(1)), "52.0,0.0;100.0,0.0;100.0,50.0;52.0,50.0");
    EXPECT_EQ(Pts(C(2)), "48.0,50.0;0.0,50.0;0.0,100.0;48.0,100.0");
    EXPECT_EQ(Pts(C(3)), "52.0,100.0;100.0,100.0");
    EXPECT_EQ(Name(C(3)), "等高線4");
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(C(i)->p[5], 20);
    Undo();
    EXPECT_EQ(N(), 1);
    Redo();
    EXPECT_EQ(N(), 4);
}

TEST_F(CurveCut, LineCutUndoSwitch) {
    Mk({0, 0, 100, 0});
    IntrCmd(CatDrw2D, CmdCrvSlctAll);
    IntrCmd(CatDrw2D, CmdCrvRot);  // rotate by 0 records kind 8
    ASSERT_EQ(UndoKind, UndoXfm);
    UndoCutOn = 0;
    IntrCmd(CatDrw2D, CmdCrvCutLin);
    ASSERT_EQ(UndoSteps(), 1);  // starting a mode keeps the history
    IntrCmd(CatDrw2D, CmdCrvSlctNone);
    CrvRot = 0;
    IntrCmd(CatDrw2D, CmdCrvSlctAll);
    IntrCmd(CatDrw2D, CmdCrvRot);
    SetMode(ModeCrvCutLin);
    Drag(50, -20, 50, 20);
    EXPECT_EQ(N(), 2);
    EXPECT_EQ(UndoKind, UndoXfm);  // the cut left the earlier steps in place
    EXPECT_EQ(UndoSteps(), 2);
    Drag(500, -20, 500, 20);  // a cut that finds nothing records nothing and drops nothing
    EXPECT_EQ(UndoSteps(), 2);
    UndoCutOn = 1;
    Drag(500, -20, 500, 20);  // recorded, then dropped again: it changed nothing
    EXPECT_EQ(UndoSteps(), 2);
    EXPECT_EQ(UndoKind, UndoXfm);
}

TEST_F(CurveDelete, PointsInARectangle) {
    Mk({0, 0, 10, 0, 20, 0, 30, 0, 40, 0, 50, 0});
    Mk({0, 100, 10, 100, 20, 100});
    Mk({0, 200, 10, 200, 20, 200, 30, 200});
    IntrCmd(CatDrw2D, CmdCrvDelPnt);
    EXPECT_EQ(CrntMode, ModeCrvDelPnt);
    Drag(15, -10, 35, 10);  // the middle of the first curve
    ASSERT_EQ(N(), 4);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;10.0,0.0");
    EXPECT_EQ(Pts(C(3)), "40.0,0.0;50.0,0.0");
    EXPECT_EQ(Name(C(3)), "等高線4");
    Drag(5, 90, 25, 110);  // all but one point: the curve goes
    ASSERT_EQ(N(), 3);
    EXPECT_EQ(Pts(C(1)), "0.0,200.0;10.0,200.0;20.0,200.0;30.0,200.0");
    Drag(-5, 190, 15, 210);  // leading points: a new curve at the end replaces it
    ASSERT_EQ(N(), 3);
    EXPECT_EQ(Pts(C(2)), "20.0,200.0;30.0,200.0");
    EXPECT_EQ(Name(C(2)), "等高線4");
    EXPECT_EQ(UndoKind, UndoPart);
    ASSERT_EQ(UndoSteps(), 3);
    Drag(500, 500, 600, 600);  // nothing inside: its step is dropped, the three before stay
    EXPECT_EQ(UndoSteps(), 3);
    EXPECT_EQ(UndoState, 1);
    for (int i = 0; i < 3; ++i) Undo();
    ASSERT_EQ(N(), 3);
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;10.0,0.0;20.0,0.0;30.0,0.0;40.0,0.0;50.0,0.0");
    EXPECT_EQ(Pts(C(1)), "0.0,100.0;10.0,100.0;20.0,100.0");
}

TEST_F(CurveDelete, OnePickedCurve) {
    Mk({0, 0, 100, 0});
    Mk({0, 50, 100, 50});
    IntrCmd(CatDrw2D, CmdCrvDelOne);
    EXPECT_EQ(CrntMode, ModeCrvDelOne);
    Click(50, 50);
    ASSERT_EQ(N(), 1);
    EXPECT_EQ(Name(C(0)), "等高線1");
    EXPECT_EQ(UndoKind, UndoDelOne);
    Click(50, 200);  // nothing there
    EXPECT_EQ(N(), 1);
    Undo();
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Name(C(1)), "等高線2");
    Redo();
    EXPECT_EQ(N(), 1);
    Undo();
    EXPECT_EQ(N(), 2);
}

TEST_F(CurveDelete, AllHiddenAndZeroHeight) {
    Mk({0, 0, 100, 0}, 100);
    Mk({0, 10, 100, 10});          // height 0
    NewCrv();                       // empty
    Mk({0, 30, 100, 30}, 50)->vis = 0;
    IntrCmd(CatDrw2D, CmdCrvSlctAll);
    IntrCmd(CatDrw2D, CmdCrvDelZero);
    EXPECT_EQ(NumCrvSlct, 0);
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Name(C(0)), "等高線1");
    EXPECT_EQ(Name(C(1)), "等高線4");
    EXPECT_EQ(UndoKind, UndoDelProp);
    Undo();
    ASSERT_EQ(N(), 4);
    EXPECT_EQ(Name(C(2)), "等高線3");
    Redo();
    EXPECT_EQ(N(), 2);
    Undo();
    ASSERT_EQ(N(), 4);

    IntrCmd(CatDrw2D, CmdCrvDelHid);  // hidden and empty
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Name(C(1)), "等高線2");
    Undo();
    EXPECT_EQ(N(), 4);
    Redo();  // repeats the deletion of the hidden curves
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(Name(C(1)), "等高線2");

    IntrCmd(CatDrw2D, CmdCrvDelAll);
    EXPECT_EQ(N(), 0);
    EXPECT_EQ(UndoKind, UndoDelAll);
    Undo();
    EXPECT_EQ(N(), 2);
    Redo();
    EXPECT_EQ(N(), 0);
}

TEST_F(CurveDelete, StepsThatDeleteNothingKeepShortCurves) {
    Mk({30, 0});               // one point on the line and on the window's edge
    Mk({0, -50, 100, -50});
    IntrCmd(CatDrw2D, CmdCrvDelPnt);
    Drag(30, -10, 60, 10);     // the point lies on the border, not inside
    EXPECT_EQ(N(), 2);
    SetMode(ModeIdle);
    IntrCmd(CatDrw2D, CmdCrvCutLin);
    Drag(30, -20, 30, 20);     // passes the one-point curve, crosses nothing
    ASSERT_EQ(N(), 2);
    EXPECT_EQ(C(0)->n, 1);
    EXPECT_EQ(UndoState, 0);
}
