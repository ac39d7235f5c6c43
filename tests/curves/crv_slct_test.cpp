// Selection, moving, scaling, rotating, heights and visibility.
#include <cmath>
#include "core/msg.h"
#include "curves/crv_env.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "curves/crv_cmd.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"

using CurveSelect = CrvTest;
using CurveXfm = CrvTest;
using CurveHeight = CrvTest;
using CurveVisibility = CrvTest;

TEST_F(CurveSelect, AllIncludesHiddenWindowOnlyCrossingVisibleOnes) {
    Mk({0, 0, 100, 0}, 100);
    Mk({0, 50, 100, 50})->vis = 0;
    Mk({20, 20, 30, 20, 30, 30});      // lies inside the window below, crosses nothing
    Mk({-50, 10, 50, 10, 50, 80, -50, 80});  // crosses the window edge twice
    IntrCmd(CatDrw2D, CmdCrvSlctAll);
    ASSERT_EQ(NumCrvSlct, 4);
    EXPECT_EQ(CrvSlct[1], C(1));
    EXPECT_EQ(C(0)->col[0], 1.0f);
    EXPECT_EQ(C(0)->col[1], 0.0f);
    IntrCmd(CatDrw2D, CmdCrvSlctWnd);
    EXPECT_EQ(CrntMode, ModeCrvSlctWnd);
    EXPECT_EQ(CrsIdx, CrsPick);
    Drag(10, -10, 40, 60);
    ASSERT_EQ(NumCrvSlct, 2);
    EXPECT_EQ(CrvSlct[0], C(0));
    EXPECT_EQ(CrvSlct[1], C(3));
    // Deselected curves take their height colour back.
    EXPECT_NEAR(C(2)->col[1], 1.0, 1e-6);
    IntrCmd(CatDrw2D, CmdCrvSlctNone);
    EXPECT_EQ(NumCrvSlct, 0);
    crv* h = C(0);
    EXPECT_NEAR(h->col[0], 0.2, 1e-4);  // not red any more
}

TEST_F(CurveSelect, DeselectingAnEmptyCurveLeavesItRed) {
    crv* e = NewCrv();
    IntrCmd(CatDrw2D, CmdCrvSlctAll);
    IntrCmd(CatDrw2D, CmdCrvSlctNone);
    EXPECT_EQ(e->col[0], 1.0f);
    EXPECT_EQ(e->col[1], 0.0f);
}

TEST_F(CurveXfm, MoveFollowsThePointerAndUndoPutsItBack) {
    Mk({0, 0, 100, 0});
    Mk({0, 50, 100, 50});
    IntrCmd(CatDrw2D, CmdCrvMove);  // nothing selected
    ASSERT_EQ(plat.boxes.size(), 1u);
    EXPECT_EQ(plat.boxes[0].text, "カーブを選択してください。");
    EXPECT_EQ(CrntMode, ModeIdle);
    SetMode(ModeCrvSlctWnd);
    Click(50, 0);
    ASSERT_EQ(NumCrvSlct, 1);
    IntrCmd(CatDrw2D, CmdCrvMove);
    EXPECT_EQ(CrntMode, ModeCrvMove);
    EXPECT_EQ(CrsIdx, CrsMove);
    EXPECT_EQ(UndoKind, UndoXfm);
    Press(0, 0);
    Move(5, -5);
    Move(10, -10);  // 10 pixels right and 10 down
    Release(10, -10);
    EXPECT_EQ(Pts(C(0)), "10.0,-10.0;110.0,-10.0");
    EXPECT_EQ(Pts(C(1)), "0.0,50.0;100.0,50.0");
    EXPECT_FLOAT_EQ(C(0)->box.min[1], -10);
    RClick(0, 0);
    EXPECT_EQ(CrntMode, ModeIdle);
    SetMode(ModeCrvSlctWnd);
    Click(50, 50);  // another selection; undo still reaches the moved curve
    ASSERT_EQ(CrvSlct[0], C(1));
    Undo();
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0");
    Redo();
    EXPECT_EQ(Pts(C(0)), "10.0,-10.0;110.0,-10.0");
}

TEST_F(CurveXfm, RotateAndScaleAboutTheOrigin) {
    Mk({1, 0, 0, 2}, 7);
    IntrCmd(CatDrw2D, CmdCrvScl);  // empty selection: nothing changes
    EXPECT_EQ(UndoState, 0);
    IntrCmd(CatDrw2D, CmdCrvSlctAll);
    CrvRot = 90;
    IntrCmd(CatDrw2D, CmdCrvRot);
    EXPECT_NEAR(C(0)->p[0], 0, 1e-6);
    EXPECT_NEAR(C(0)->p[1], 1, 1e-6);
    EXPECT_NEAR(C(0)->p[3], -2, 1e-6);
    EXPECT_NEAR(C(0)->p[4], 0, 1e-6);
    EXPECT_FLOAT_EQ(C(0)->p[2], 7);
    CrvScl = 2.5f;
    IntrCmd(CatDrw2D, CmdCrvScl);
    EXPECT_NEAR(C(0)->p[1], 2.5, 1e-6);
    EXPECT_NEAR(C(0)->box.min[0], -5, 1e-5);
    Undo();
    EXPECT_NEAR(C(0)->p[1], 1, 1e-6);
}

TEST_F(CurveXfm, ScaleByDistanceMeasuresAndAsksTheShell) {
    Mk({10, 10, 20, 10});
    IntrCmd(CatDrw2D, CmdCrvSlctAll);
    IntrCmd(CatDrw2D, CmdCrvSclDst);
    EXPECT_EQ(CrntMode, ModeCrvSclDst);
    EXPECT_EQ(CrsIdx, CrsCross);
    Drag(0, 0, 30, 40);
    ASSERT_EQ(plat.notes.size(), 1u);
    EXPECT_EQ(plat.notes[0].first, ID_DSP_SCL_DST_MEN);
    EXPECT_NEAR(SclDstLen, 50, 1e-9);
    EXPECT_EQ(UndoKind, UndoXfm);
    SclCrvSlct(2);
    EXPECT_EQ(Pts(C(0)), "20.0,20.0;40.0,20.0");
    Undo();
    EXPECT_EQ(Pts(C(0)), "10.0,10.0;20.0,10.0");
}

TEST_F(CurveHeight, SetByPickingAndUndo) {
    Mk({0, 0, 100, 0});
    CrvHgt = 250000;
    IntrCmd(CatDrw2D, CmdCrvHgt);
    EXPECT_EQ(CrntMode, ModeCrvHgt);
    Click(50, 0);
    EXPECT_FLOAT_EQ(C(0)->p[2], 250000);
    EXPECT_FLOAT_EQ(C(0)->p[5], 250000);
    EXPECT_FLOAT_EQ(C(0)->box.min[2], 250000 - 0.05f);
    EXPECT_NEAR(C(0)->col[0], 1.0, 1e-4);     // hue 170
    EXPECT_NEAR(C(0)->col[1], 0.8667, 1e-4);
    EXPECT_NEAR(C(0)->col[2], 0.2, 1e-4);
    EXPECT_EQ(UndoKind, UndoHgt);
    Undo();
    EXPECT_FLOAT_EQ(C(0)->p[2], 0);
    EXPECT_EQ(C(0)->col[1], 1.0f);
    Redo();
    EXPECT_FLOAT_EQ(C(0)->p[5], 250000);
}

TEST_F(CurveHeight, ColoursFollowTheHeight) {
    crv* c = Mk({0, 0, 1, 0});
    const struct { float h; double r, g, b; } t[] = {
        {0, 1, 1, 1}, {0.0005f, 1, 1, 1}, {500000, 0.2, 1, 0.7333}, {250000, 1, 0.8667, 0.2},
        {-100000, 0.2, 1, 0.84},
    };
    for (const auto& k : t) {
        SetCrvHgt(c, k.h);
        EXPECT_NEAR(c->col[0], k.r, 1e-4) << k.h;
        EXPECT_NEAR(c->col[1], k.g, 1e-4) << k.h;
        EXPECT_NEAR(c->col[2], k.b, 1e-4) << k.h;
    }
    HgtRng = 0;  // a zero range must not fault
    SetCrvHgt(c, 1234);
    EXPECT_TRUE(std::isfinite(c->col[0]));
}

TEST_F(CurveHeight, RightButtonShowsTheHeightThenEntersTheHeightMode) {
    Mk({0, 0, 100, 0}, -200);
    Mk({0, 50, 100, 50});
    Mk({0, 100, 100, 100}, 1500);
    SetPtrPix(Px(50), Py(100));
    IntrCmd(CatDrw2D, CmdCrvHgtShow);
    ASSERT_EQ(plat.boxes.size(), 1u);
    EXPECT_EQ(plat.boxes[0].text, "カーブ[等高線3] 高さ 1.50 m");
    EXPECT_EQ(plat.boxes[0].caption, "情報");
    EXPECT_FLOAT_EQ(CrvHgt, 1500);
    EXPECT_EQ(CrntMode, ModeCrvHgt);
    Click(50, 50);
    EXPECT_FLOAT_EQ(C(1)->p[2], 1500);
    SetMode(ModeIdle);
    SetPtrPix(Px(50), Py(0));
    IntrCmd(CatDrw2D, CmdCrvHgtShow);
    ASSERT_EQ(plat.boxes.size(), 2u);
    EXPECT_EQ(plat.boxes[1].text, "カーブ[等高線1] 高さ -200.00 mm");
    SetMode(ModeIdle);
    SetPtrPix(Px(50), Py(200));  // nothing there
    IntrCmd(CatDrw2D, CmdCrvHgtShow);
    EXPECT_EQ(plat.boxes.size(), 2u);
    EXPECT_EQ(CrntMode, ModeIdle);
}

TEST_F(CurveVisibility, HidePickedInWindowZeroAllShowInvert) {
    Mk({0, 0, 100, 0}, 10);
    Mk({20, 20, 40, 30}, 10);     // inside the window below
    Mk({20, 40, 300, 40}, 10);    // sticks out of it
    NewCrv();                      // empty
    Mk({0, -50, 100, -50});       // height 0
    IntrCmd(CatDrw2D, CmdCrvHide);
    EXPECT_EQ(CrntMode, ModeCrvHide);
    Click(50, 0);
    EXPECT_EQ(C(0)->vis, 0);
    EXPECT_EQ(UndoKind, UndoHideOne);
    Click(50, 0);  // hidden curves are not picked again
    EXPECT_EQ(UndoKind, UndoHideOne);
    Undo();
    EXPECT_EQ(C(0)->vis, 1);
    Redo();
    EXPECT_EQ(C(0)->vis, 0);
    Undo();

    IntrCmd(CatDrw2D, CmdCrvHideWnd);
    EXPECT_EQ(CrntMode, ModeCrvHideWnd);
    Drag(10, 10, 60, 60);
    EXPECT_EQ(C(1)->vis, 0);
    EXPECT_EQ(C(2)->vis, 1);
    EXPECT_EQ(UndoKind, UndoPart);
    Undo();
    EXPECT_EQ(C(1)->vis, 1);
    Drag(500, 500, 600, 600);  // nothing hidden: record dropped
    EXPECT_EQ(UndoState, 0);
    SetMode(ModeIdle);

    IntrCmd(CatDrw2D, CmdCrvHideZero);
    EXPECT_EQ(C(3)->vis, 0);
    EXPECT_EQ(C(4)->vis, 0);
    EXPECT_EQ(C(0)->vis, 1);
    Undo();
    EXPECT_EQ(C(3)->vis, 1);

    IntrCmd(CatDrw2D, CmdCrvHideAll);
    for (int i = 0; i < N(); ++i) EXPECT_EQ(C(i)->vis, 0);
    IntrCmd(CatDrw2D, CmdCrvShowAll);
    for (int i = 0; i < N(); ++i) EXPECT_EQ(C(i)->vis, 1);
    C(2)->vis = 0;
    IntrCmd(CatDrw2D, CmdCrvVisInv);
    EXPECT_EQ(C(2)->vis, 1);
    EXPECT_EQ(C(0)->vis, 0);
    Undo();
    EXPECT_EQ(C(2)->vis, 0);
    EXPECT_EQ(C(0)->vis, 1);
}
