// Selection, moving, scaling, rotating, heights and visibility.
#include <cmath>
#include "core/msg.h"
#include "curves/crv_env.h"

using CurveSelect = CrvTest;
using CurveXfm = CrvTest;
using CurveHeight = CrvTest;
using CurveVisibility = CrvTest;

TEST_F(CurveSelect, AllIncludesHiddenWindowOnlyCrossingVisibleOnes) {
    Mk({0, 0, 100, 0}, 100);
    Mk({0, 50, 100, 50})->vis = 0;
    Mk({20, 20, 30, 20, 30, 30});      // lies inside the window below, crosses nothing
    Mk({-50, 10, 50, 10, 50, 80, -50, 80});  // crosses the window edge twice
    IntrCmd(1, 101027);
    ASSERT_EQ(NumCrvSlct, 4);
    EXPECT_EQ(CrvSlct[1], C(1));
    EXPECT_EQ(C(0)->col[0], 1.0f);
    EXPECT_EQ(C(0)->col[1], 0.0f);
    IntrCmd(1, 101028);
    EXPECT_EQ(CrntMode, 62);
    EXPECT_EQ(CrsIdx, 5);
    Drag(10, -10, 40, 60);
    ASSERT_EQ(NumCrvSlct, 2);
    EXPECT_EQ(CrvSlct[0], C(0));
    EXPECT_EQ(CrvSlct[1], C(3));
    // Deselected curves take their height colour back.
    EXPECT_NEAR(C(2)->col[1], 1.0, 1e-6);
    IntrCmd(1, 101031);
    EXPECT_EQ(NumCrvSlct, 0);
    crv* h = C(0);
    EXPECT_NEAR(h->col[0], 0.2, 1e-4);  // not red any more
}

TEST_F(CurveSelect, DeselectingAnEmptyCurveLeavesItRed) {
    crv* e = NewCrv();
    IntrCmd(1, 101027);
    IntrCmd(1, 101031);
    EXPECT_EQ(e->col[0], 1.0f);
    EXPECT_EQ(e->col[1], 0.0f);
}

TEST_F(CurveXfm, MoveFollowsThePointerAndUndoPutsItBack) {
    Mk({0, 0, 100, 0});
    Mk({0, 50, 100, 50});
    IntrCmd(1, 101032);  // nothing selected
    ASSERT_EQ(plat.boxes.size(), 1u);
    EXPECT_EQ(plat.boxes[0].text, "カーブを選択してください。");
    EXPECT_EQ(CrntMode, 0);
    SetMode(62);
    Click(50, 0);
    ASSERT_EQ(NumCrvSlct, 1);
    IntrCmd(1, 101032);
    EXPECT_EQ(CrntMode, 63);
    EXPECT_EQ(CrsIdx, 9);
    EXPECT_EQ(UndoKind, 8);
    Press(0, 0);
    Move(5, -5);
    Move(10, -10);  // 10 pixels right and 10 down
    Release(10, -10);
    EXPECT_EQ(Pts(C(0)), "10.0,-10.0;110.0,-10.0");
    EXPECT_EQ(Pts(C(1)), "0.0,50.0;100.0,50.0");
    EXPECT_FLOAT_EQ(C(0)->box.min[1], -10);
    RClick(0, 0);
    EXPECT_EQ(CrntMode, 0);
    SetMode(62);
    Click(50, 50);  // another selection; undo still reaches the moved curve
    ASSERT_EQ(CrvSlct[0], C(1));
    Undo();
    EXPECT_EQ(Pts(C(0)), "0.0,0.0;100.0,0.0");
    Redo();
    EXPECT_EQ(Pts(C(0)), "10.0,-10.0;110.0,-10.0");
}

TEST_F(CurveXfm, RotateAndScaleAboutTheOrigin) {
    Mk({1, 0, 0, 2}, 7);
    IntrCmd(1, 101043);  // empty selection: nothing changes
    EXPECT_EQ(UndoState, 0);
    IntrCmd(1, 101027);
    CrvRot = 90;
    IntrCmd(1, 101044);
    EXPECT_NEAR(C(0)->p[0], 0, 1e-6);
    EXPECT_NEAR(C(0)->p[1], 1, 1e-6);
    EXPECT_NEAR(C(0)->p[3], -2, 1e-6);
    EXPECT_NEAR(C(0)->p[4], 0, 1e-6);
    EXPECT_FLOAT_EQ(C(0)->p[2], 7);
    CrvScl = 2.5f;
    IntrCmd(1, 101043);
    EXPECT_NEAR(C(0)->p[1], 2.5, 1e-6);
    EXPECT_NEAR(C(0)->box.min[0], -5, 1e-5);
    Undo();
    EXPECT_NEAR(C(0)->p[1], 1, 1e-6);
}

TEST_F(CurveXfm, ScaleByDistanceMeasuresAndAsksTheShell) {
    Mk({10, 10, 20, 10});
    IntrCmd(1, 101027);
    IntrCmd(1, 101045);
    EXPECT_EQ(CrntMode, 65);
    EXPECT_EQ(CrsIdx, 6);
    Drag(0, 0, 30, 40);
    ASSERT_EQ(plat.notes.size(), 1u);
    EXPECT_EQ(plat.notes[0].first, ID_DSP_SCL_DST_MEN);
    EXPECT_NEAR(SclDstLen, 50, 1e-9);
    EXPECT_EQ(UndoKind, 8);
    SclCrvDst(2);
    EXPECT_EQ(Pts(C(0)), "20.0,20.0;40.0,20.0");
    Undo();
    EXPECT_EQ(Pts(C(0)), "10.0,10.0;20.0,10.0");
}

TEST_F(CurveHeight, SetByPickingAndUndo) {
    Mk({0, 0, 100, 0});
    CrvHgt = 250000;
    IntrCmd(1, 101022);
    EXPECT_EQ(CrntMode, 60);
    Click(50, 0);
    EXPECT_FLOAT_EQ(C(0)->p[2], 250000);
    EXPECT_FLOAT_EQ(C(0)->p[5], 250000);
    EXPECT_FLOAT_EQ(C(0)->box.min[2], 250000 - 0.05f);
    EXPECT_NEAR(C(0)->col[0], 1.0, 1e-4);     // hue 170
    EXPECT_NEAR(C(0)->col[1], 0.8667, 1e-4);
    EXPECT_NEAR(C(0)->col[2], 0.2, 1e-4);
    EXPECT_EQ(UndoKind, 7);
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
    IntrCmd(1, 101035);
    ASSERT_EQ(plat.boxes.size(), 1u);
    EXPECT_EQ(plat.boxes[0].text, "カーブ[等高線3] 高さ 1.50 m");
    EXPECT_EQ(plat.boxes[0].caption, "情報");
    EXPECT_FLOAT_EQ(CrvHgt, 1500);
    EXPECT_EQ(CrntMode, 60);
    Click(50, 50);
    EXPECT_FLOAT_EQ(C(1)->p[2], 1500);
    SetMode(0);
    SetPtrPix(Px(50), Py(0));
    IntrCmd(1, 101035);
    ASSERT_EQ(plat.boxes.size(), 2u);
    EXPECT_EQ(plat.boxes[1].text, "カーブ[等高線1] 高さ -200.00 mm");
    SetMode(0);
    SetPtrPix(Px(50), Py(200));  // nothing there
    IntrCmd(1, 101035);
    EXPECT_EQ(plat.boxes.size(), 2u);
    EXPECT_EQ(CrntMode, 0);
}

TEST_F(CurveVisibility, HidePickedInWindowZeroAllShowInvert) {
    Mk({0, 0, 100, 0}, 10);
    Mk({20, 20, 40, 30}, 10);     // inside the window below
    Mk({20, 40, 300, 40}, 10);    // sticks out of it
    NewCrv();                      // empty
    Mk({0, -50, 100, -50});       // height 0
    IntrCmd(1, 101050);
    EXPECT_EQ(CrntMode, 57);
    Click(50, 0);
    EXPECT_EQ(C(0)->vis, 0);
    EXPECT_EQ(UndoKind, 12);
    Click(50, 0);  // hidden curves are not picked again
    EXPECT_EQ(UndoKind, 12);
    Undo();
    EXPECT_EQ(C(0)->vis, 1);
    Redo();
    EXPECT_EQ(C(0)->vis, 0);
    Undo();

    IntrCmd(1, 101057);
    EXPECT_EQ(CrntMode, 49);
    Drag(10, 10, 60, 60);
    EXPECT_EQ(C(1)->vis, 0);
    EXPECT_EQ(C(2)->vis, 1);
    EXPECT_EQ(UndoKind, 3);
    Undo();
    EXPECT_EQ(C(1)->vis, 1);
    Drag(500, 500, 600, 600);  // nothing hidden: record dropped
    EXPECT_EQ(UndoState, 0);
    SetMode(0);

    IntrCmd(1, 101039);
    EXPECT_EQ(C(3)->vis, 0);
    EXPECT_EQ(C(4)->vis, 0);
    EXPECT_EQ(C(0)->vis, 1);
    Undo();
    EXPECT_EQ(C(3)->vis, 1);

    IntrCmd(1, 101040);
    for (int i = 0; i < N(); ++i) EXPECT_EQ(C(i)->vis, 0);
    IntrCmd(1, 101041);
    for (int i = 0; i < N(); ++i) EXPECT_EQ(C(i)->vis, 1);
    C(2)->vis = 0;
    IntrCmd(1, 101052);
    EXPECT_EQ(C(2)->vis, 1);
    EXPECT_EQ(C(0)->vis, 0);
    Undo();
    EXPECT_EQ(C(2)->vis, 0);
    EXPECT_EQ(C(0)->vis, 1);
}
