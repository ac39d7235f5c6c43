#include <cmath>
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "display/view_fixture.h"
#include "cmd/viewcmd.h"
#include "display/viewint.h"
#include "display/dsp_cmd.h"
#include "app/modetbl.h"

namespace {
constexpr int KeyE = 69, KeyW = 87, KeyR = 82, KeyQ = 81, KeyShift = 16, KeyCtrl = 17;
constexpr int EvtTimer = 10;
}  // namespace

class ViewCmd : public ViewTest {
protected:
    // A product with one visible surface, so that the scene has something to look at.
    void AddSurface() {
        srfA.vis = 1;
        srfA.nv = 4;
        srfPtr = &srfA;
        prtA.srfs.n = 1;
        prtA.srfs.a = &srfPtr;
        prtPtr = &prtA;
        prdA.prts.n = 1;
        prdA.prts.a = &prtPtr;
        prdPtr = &prdA;
        prdA.box = BBox{{0, 0, 0}, {3000, 4000, 0}};
        PrdTbl.n = 1;
        PrdTbl.a = &prdPtr;
    }
    // The scene's extent, held by the terrain product as the scene box is made from it.
    static void ScnBox(const BBox& b) {
        ASSERT_NE(TrnPrd, nullptr);
        TrnPrd->box = b;
        SceneBox = b;
    }
    const char* LastText() { return Plt().LastBox() ? Plt().LastBox()->text.c_str() : ""; }
    srf srfA{}; srf* srfPtr = nullptr;
    prt prtA{}; prt* prtPtr = nullptr;
    prd prdA{}; prd* prdPtr = nullptr;
};

TEST_F(ViewCmd, ShiftDragFollowsThePointer) {
    Key(KeyE);
    EXPECT_EQ(CrntMode, ModeShf);
    ASSERT_FALSE(Plt().helps.empty());
    EXPECT_EQ(Plt().helps.back(), "Shift view rotation center.\n\n  left  : shift UV\n  middle: shift W\n  right : quit");
    Press(400, 300);
    Move(403, 300);  // below the threshold of 4.999 pixels
    EXPECT_DOUBLE_EQ(V().RotCnt[0], 0);
    EXPECT_EQ(CountCmd(CatDsp, CmdDrwPic, true), 0);
    Move(500, 300);
    EXPECT_DOUBLE_EQ(V().RotCnt[0], -1250000);
    EXPECT_DOUBLE_EQ(V().EyePos[0], -1250000);
    EXPECT_EQ(CountCmd(CatDsp, CmdDrwPic, true), 1);
    EXPECT_EQ(RptCode, CmdShfStep);
    // Re-anchored: a drag downwards now moves the picture down (the camera up).
    Move(500, 400);
    EXPECT_DOUBLE_EQ(V().RotCnt[0], -1250000);
    EXPECT_DOUBLE_EQ(V().RotCnt[1], 1250000);
    Release(500, 400);
    EXPECT_EQ(CountCmd(CatDsp, CmdRdrwAll), 1);
    EXPECT_GT(Notes(ID_UPDT_CAM_PROP, 0x1700), 0);
    RPress(500, 400);
    EXPECT_EQ(CrntMode, ModeIdle);
}

TEST_F(ViewCmd, ScaleDragZoomsIn) {
    Key(KeyW);
    EXPECT_EQ(CrntMode, ModeScl);
    Press(400, 300);
    Move(410, 300);
    EXPECT_DOUBLE_EQ(V().ScrWid, 9687500);
    // The view angle is kept: the screen distance follows the width.
    EXPECT_NEAR(2 * std::atan(V().ScrWid / 2 / V().ScrDst), V().ViewAng, 1e-6);
    // The 2D window keeps its centre and takes the new width.
    EXPECT_DOUBLE_EQ(Wnd2D[2] - Wnd2D[0], 9687500);
    EXPECT_DOUBLE_EQ(Wnd2D[0] + Wnd2D[2], 0);
    EXPECT_NEAR((Wnd2D[3] - Wnd2D[1]) / (Wnd2D[2] - Wnd2D[0]), 0.75, 1e-12);
    Move(410, 310);  // no horizontal change: nothing
    EXPECT_DOUBLE_EQ(V().ScrWid, 9687500);
    Move(411, 310);  // d = 5 passes the threshold of 4.999
    EXPECT_DOUBLE_EQ(V().ScrWid, 9687500 * (1 - 2.5 / 800));
    // Dragging far to the left never takes the width below 1.
    Move(-100000, 300);
    EXPECT_DOUBLE_EQ(V().ScrWid > 9687500, true);
    V().ScrWid = 2;
    PrsPos[0] = 0;
    PtrPos[0] = 1000;
    IntrCmd(CatDsp, CmdSclStep);
    EXPECT_DOUBLE_EQ(V().ScrWid, 1.0);
    Release(0, 0);
}

TEST_F(ViewCmd, PerspectiveZoomStopsAtTheCentre) {
    V().PrjFlg = PrjPrs;
    V().EyeDst = 5;
    V().ScrDst = 50;
    SetView(0);
    Key(KeyW);
    Press(400, 300);
    Move(410, 300);  // dd = 50 * 0.5 * 50 / 800 = 1.5625
    EXPECT_DOUBLE_EQ(V().EyeDst, 5 - 1.5625);
    EXPECT_EQ(Plt().boxes.size(), 0u);
    Move(500, 300);  // would pass the centre
    EXPECT_DOUBLE_EQ(V().EyeDst, 0.01);
    EXPECT_EQ(Plt().beeps, 1);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].caption, "注意");
    EXPECT_STREQ(LastText(), "回転の中心がﾀｰｹﾞｯﾄに\nなっています。\nこれ以上視点をﾀｰｹﾞｯﾄに\n近づけることはできません。");
    EXPECT_EQ(CountCmd(CatDsp, CmdDrgEnd), 1);
    // The drag is over: further moves do not ask again.
    Move(600, 300);
    Release(600, 300);
    EXPECT_EQ(Plt().boxes.size(), 1u);
    // Eye consistent with the centre.
    EXPECT_NEAR(V().EyePos[2], V().RotCnt[2] + 0.01, 1e-9);
}

TEST_F(ViewCmd, PerspectiveZoomAboutTheEyeMovesBoth) {
    V().PrjFlg = PrjPrs;
    V().RotEye = 1;
    V().EyeDst = 100;
    V().ScrDst = 50;
    UpdEyePos(&c);
    double cz = V().RotCnt[2], ez = V().EyePos[2];
    Key(KeyW);
    Press(400, 300);
    Move(410, 300);
    // Forward along the view axis (down -z in the top view), both points alike.
    EXPECT_DOUBLE_EQ(V().RotCnt[2], cz - 1.5625);
    EXPECT_DOUBLE_EQ(V().EyePos[2], ez - 1.5625);
    EXPECT_DOUBLE_EQ(V().EyeDst, 100);
    Release(410, 300);
}

TEST_F(ViewCmd, RotateOnlyIn3DAndClamped) {
    Key(KeyR);
    EXPECT_EQ(CrntMode, ModeIdle);  // 2D view: nothing
    ASSERT_EQ(SwDim(1), 1);
    V().UpAxis = UpNone;
    Key(KeyR);
    EXPECT_EQ(CrntMode, ModeRot);
    Press(400, 300);
    Move(600, 300);  // -2 radians asked, one step gives -pi/5
    EXPECT_NEAR(V().RotAng[1], -M_PI / 5, 1e-12);
    EXPECT_NEAR(V().RotAng[0], 0, 1e-12);
    // The eye keeps its distance from the centre.
    double d[3] = {V().EyePos[0] - V().RotCnt[0], V().EyePos[1] - V().RotCnt[1],
                   V().EyePos[2] - V().RotCnt[2]};
    EXPECT_NEAR(std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]), V().EyeDst, 1e-3);
    Release(600, 300);
}

TEST_F(ViewCmd, RotateWithZUpKeepsTheHorizon) {
    ASSERT_EQ(SwDim(1), 1);
    V().RotAng[0] = M_PI / 2;  // horizontal view towards +y
    V().RotAng[1] = V().RotAng[2] = 0;
    V().UpAxis = UpZ;
    Key(KeyR);
    Press(400, 300);
    Move(450, 320);  // turn and tilt
    double sx = std::sin(V().RotAng[0]), cx = std::cos(V().RotAng[0]);
    double sy = std::sin(V().RotAng[1]), cy = std::cos(V().RotAng[1]);
    EXPECT_NEAR(-sy, 0, 1e-5);  // right vector stays horizontal
    EXPECT_GT(sx * cy, 0);      // up vector keeps pointing up
    (void)cx;
    Release(450, 320);
}

TEST_F(ViewCmd, ModifierDragsWorkInAnyMode) {
    KeyDown(KeyCtrl);
    Press(100, 100);
    Move(110, 100);  // first move: the drag begins
    EXPECT_EQ(CountCmd(CatDsp, CmdModBgn), 1);
    Move(120, 100);
    EXPECT_DOUBLE_EQ(V().ScrWid, 9687500);
    Release(120, 100);
    KeyUp(KeyCtrl);
    EXPECT_EQ(CountCmd(CatDsp, CmdModEnd), 1);
    EXPECT_EQ(CountCmd(CatDsp, CmdRdrwAll), 1);
    // Shift drag shifts.
    KeyDown(KeyShift);
    Press(100, 100);
    Move(100, 100);
    Move(0, 100);
    EXPECT_NEAR(V().RotCnt[0], 100 * 9687500.0 / 800, 1.0);
    Release(0, 100);
    KeyUp(KeyShift);
}

TEST_F(ViewCmd, RimDragRollsTheView) {
    ASSERT_EQ(SwDim(1), 1);
    V().UpAxis = UpNone;
    KeyDown(KeyCtrl);
    KeyDown(KeyShift);
    Press(50, 300);
    Move(50, 300);
    Move(50, 350);  // along the left rim: roll by 0.5 rad
    EXPECT_NEAR(V().RotAng[2], -0.5, 1e-9);
    EXPECT_NEAR(V().RotAng[0], 0, 1e-9);
    Release(50, 350);
    KeyUp(KeyShift);
    KeyUp(KeyCtrl);
}

TEST_F(ViewCmd, FitToView) {
    ScnBox(BBox{{0, 0, 0}, {1e7f, 8e6f, 5e5f}});
    Key(KeyQ);
    EXPECT_DOUBLE_EQ(V().ScrWid, 1e7 * 1.2 * (800.0 / 600.0));
    EXPECT_DOUBLE_EQ(V().RotCnt[0], 5e6);
    EXPECT_DOUBLE_EQ(V().RotCnt[1], 4e6);
    EXPECT_DOUBLE_EQ(V().RotCnt[2], 2.5e5);
    EXPECT_DOUBLE_EQ(WlkHgt, 2.5e5);
    EXPECT_DOUBLE_EQ(V().ScrShf[0], 0);
    EXPECT_DOUBLE_EQ(V().EyeDst, V().ScrDst);
    EXPECT_NEAR(V().ScrDst, V().ScrWid * 0.5 / std::tan(double(V().ViewAng) / 2), 1e-3);
    EXPECT_DOUBLE_EQ(V().ClpFar, 1e7 * 0.7 + V().ScrDst);
    EXPECT_DOUBLE_EQ(V().ClpNear, 100.0);
    EXPECT_EQ(CountCmd(CatDsp, CmdRdrwAll), 1);
    // A box whose width exceeds twice the eye distance: near plane from the eye distance.
    ScnBox(BBox{{0, 0, 0}, {1000, 10, 10}});
    WinSizW = 600;
    IntrCmd(CatDsp, CmdDspResize);
    V().ViewAng = static_cast<float>(2 * std::atan(10.0));  // wide angle: short eye distance
    Key(KeyQ);
    double n = V().EyeDst - 500;
    EXPECT_DOUBLE_EQ(V().ClpNear, n < 0 ? 1.0 : n);
}

TEST_F(ViewCmd, FitToViewOfAnEmptySceneStaysFinite) {
    double before = V().ScrWid;
    IntrCmd(CatDsp, CmdFitView);
    EXPECT_TRUE(std::isfinite(V().ScrWid));
    EXPECT_TRUE(std::isfinite(V().RotCnt[0]) && std::isfinite(V().EyePos[2]));
    EXPECT_GE(V().ScrWid, 1.0);
    EXPECT_TRUE(std::isfinite(ViewWin[0].PixK));
    (void)before;
    // A scene of one point still gets a usable width.
    ScnBox(BBox{{5, 5, 5}, {5, 5, 5}});
    IntrCmd(CatDsp, CmdFitView);
    EXPECT_DOUBLE_EQ(V().ScrWid, 1.0);
    EXPECT_TRUE(std::isfinite(ViewWin[0].DepthScl));
}

TEST_F(ViewCmd, LoupeChecksItsCamera) {
    V().PrjFlg = PrjPrs;
    IntrCmd(CatView, CmdLpeMode);
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_EQ(Plt().beeps, 1);
    EXPECT_STREQ(LastText(), "平行投影にしてください。");
    V().PrjFlg = PrjPar;
    V().CurCam = 0;
    for (int code : {CmdLpeMode, CmdWlkMode, CmdBrdMode, CmdGazMode}) {
        IntrCmd(CatView, code);
        EXPECT_EQ(CrntMode, ModeIdle) << code;
        EXPECT_STREQ(LastText(), "このカメラでは使用できません。") << code;
    }
    EXPECT_EQ(Plt().beeps, 5);
}

TEST_F(ViewCmd, LoupeZoomsAtAPointOrToABox) {
    IntrCmd(CatView, CmdLpeMode);
    EXPECT_EQ(CrntMode, ModeLpe);
    EXPECT_EQ(CrsIdx, CrsLpe);
    Click(600, 200);  // left click: half the width, centred on the point
    EXPECT_DOUBLE_EQ(V().ScrWid, 5e6);
    EXPECT_DOUBLE_EQ(V().RotCnt[0], 2.5e6);
    EXPECT_DOUBLE_EQ(V().RotCnt[1], 1.25e6);
    EXPECT_DOUBLE_EQ(V().EyePos[0], 2.5e6);
    EXPECT_EQ(ModFlg, 1);
    EXPECT_EQ(CountCmd(CatDsp, CmdRdrwAll), 1);
    // Box 200 pixels wide dragged to the lower right: the box fills the window.
    Press(100, 100);
    Move(300, 250);
    EXPECT_EQ(CrsIdx, CrsLpePP);
    Release(300, 250);
    EXPECT_DOUBLE_EQ(V().ScrWid, 5e6 * 201 / 800);
    EXPECT_NEAR(V().RotCnt[0], 2.5e6 + (200 - 400) * 5e6 / 800, 1e-6);
    EXPECT_EQ(CrsIdx, CrsLpe);
    // Upper-left drag shows cursor 3.
    Press(400, 300);
    Move(390, 290);
    EXPECT_EQ(CrsIdx, CrsLpeNN);
    Move(402, 302);  // back within 5 pixels: a click after all
    double w = V().ScrWid;
    Release(402, 302);
    EXPECT_DOUBLE_EQ(V().ScrWid, w / 2);
    // Shift with the left button (the middle button) zooms out.
    KeyDown(KeyShift);
    Press(400, 300);
    Release(400, 300);
    KeyUp(KeyShift);
    EXPECT_DOUBLE_EQ(V().ScrWid, w);
    RPress(0, 0);
    EXPECT_EQ(CrntMode, ModeIdle);
}

TEST_F(ViewCmd, WalkThroughMovesForwardEveryTick) {
    SwDim(1);
    V().RotAng[0] = M_PI / 3;  // a view from the south, tilted
    V().EyeDst = 1000;
    UpdEyePos(&c);
    WlkHgt = 1600;
    IntrCmd(CatView, CmdWlkMode);
    EXPECT_EQ(CrntMode, ModeWlk);
    EXPECT_NEAR(V().RotAng[0], M_PI / 2, 1e-12);
    EXPECT_NEAR(V().RotAng[1], 0, 1e-12);
    EXPECT_DOUBLE_EQ(V().EyePos[2], 1600);
    EXPECT_EQ(V().RotEye, 1);
    EXPECT_EQ(V().UpAxis, UpZ);
    // Still looking north (+y): the backward vector points south.
    double eye[3] = {V().EyePos[0], V().EyePos[1], V().EyePos[2]};
    Press(400, 300);
    EXPECT_EQ(TmrAct, TmrRpt);
    Move(400, 260);  // 40 pixels above the press point
    EXPECT_NEAR(V().EyePos[1] - eye[1], 10, 1e-3);
    EXPECT_NEAR(V().EyePos[0] - eye[0], 0, 1e-3);
    IntrEvt(EvtTimer);
    EXPECT_NEAR(V().EyePos[1] - eye[1], 20, 1e-3);
    IntrEvt(EvtTimer);
    EXPECT_NEAR(V().EyePos[1] - eye[1], 30, 1e-3);
    EXPECT_DOUBLE_EQ(V().EyePos[2], 1600);
    Release(400, 260);
    EXPECT_EQ(TmrAct, TmrNone);
    IntrEvt(EvtTimer);
    EXPECT_NEAR(V().EyePos[1] - eye[1], 30, 1e-3);
    EXPECT_EQ(ModFlg, 1);
}

TEST_F(ViewCmd, WalkFromTheTopViewLooksUpThePicture) {
    IntrCmd(CatView, CmdWlkMode);
    // Level, looking towards +y (the top of the plan) and with a finite eye distance.
    EXPECT_NEAR(V().RotAng[2], 0, 1e-9);
    EXPECT_TRUE(std::isfinite(V().RotCnt[1]));
    EXPECT_GT(V().EyeDst, 0);
    EXPECT_NEAR(V().RotCnt[1] - V().EyePos[1], V().EyeDst, 1e-3);
}

TEST_F(ViewCmd, GazeTurnsAboutTheEye) {
    SwDim(1);
    V().RotAng[0] = M_PI / 3;
    V().EyeDst = 1000;
    UpdEyePos(&c);
    IntrCmd(CatView, CmdGazMode);
    EXPECT_EQ(CrntMode, ModeGaz);
    double eye[3] = {V().EyePos[0], V().EyePos[1], V().EyePos[2]};
    double az = V().RotAng[2];
    Press(400, 300);
    Move(480, 300);  // 80 of 800 pixels to the right: turn right by 0.1 * pi * 0.05 per tick
    IntrEvt(EvtTimer);
    for (int i = 0; i < 3; i++) EXPECT_NEAR(V().EyePos[i], eye[i], 1e-6);
    EXPECT_NEAR(V().RotAng[2] - az, -2 * 0.1 * M_PI * 0.05, 1e-9);
    Release(480, 300);
}

TEST_F(ViewCmd, BirdsEyeNeedsASurface) {
    IntrCmd(CatView, CmdBrdMode);
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_STREQ(LastText(), "三次元形状が存在しません。");
    EXPECT_EQ(Plt().beeps, 1);
    AddSurface();
    IntrCmd(CatView, CmdBrdMode);
    EXPECT_EQ(CrntMode, ModeBrd);
    EXPECT_EQ(V().PrjFlg, PrjPrs);
    EXPECT_DOUBLE_EQ(V().EyeDst, 6000);
    EXPECT_EQ(V().AutoClp, 1);
    EXPECT_EQ(V().UpAxis, UpZ);
    EXPECT_NEAR(V().RotAng[0], M_PI / 3, 1e-12);
    EXPECT_DOUBLE_EQ(V().RotCnt[0], 1500);
    // The eye is 30 degrees above the horizon from the centre.
    EXPECT_NEAR(V().EyePos[2] - V().RotCnt[2], 6000 * 0.5, 1e-6);
    // Orbiting: the timer repeats the step while the button is held.
    Press(400, 300);
    Move(480, 300);
    double az1 = V().RotAng[2];
    EXPECT_EQ(RptCat, CatView);
    EXPECT_EQ(RptCode, CmdBrdStep);
    IntrEvt(EvtTimer);
    EXPECT_NE(V().RotAng[2], az1);
    // Orbiting keeps the centre and the distance.
    EXPECT_DOUBLE_EQ(V().RotCnt[0], 1500);
    double d[3] = {V().EyePos[0] - V().RotCnt[0], V().EyePos[1] - V().RotCnt[1],
                   V().EyePos[2] - V().RotCnt[2]};
    EXPECT_NEAR(std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]), 6000, 1e-6);
    Release(480, 300);
    EXPECT_EQ(TmrAct, TmrNone);
}

// Fault: a vertical drag in the rotate mode turned the 3D view under the terrain.
TEST_F(ViewCmd, RotateDragKeepsTheTiltBetweenStraightDownAndTheHorizon) {
    ASSERT_EQ(SwDim(1), 1);
    V().UpAxis = UpZ;
    AzElAng(30, 35, V().RotAng);
    UpdEyePos(CurCamObj);
    IntrCmd(CatDsp, CmdRotMode);
    double az, el;
    // Upwards far past the horizon, one step at a time.
    Press(400, 300);
    for (int y = 290; y >= 0; y -= 10) Move(400, y);
    Release(400, 0);
    CamAzEl(V(), &az, &el);
    EXPECT_NEAR(el, 0, 1e-6);
    EXPECT_NEAR(az, 30, 1e-6) << "the heading stays";
    // Downwards far past the zenith.
    Press(400, 0);
    for (int y = 10; y <= 600; y += 10) Move(400, y);
    Release(400, 600);
    CamAzEl(V(), &az, &el);
    EXPECT_GT(el, 80);
    EXPECT_LE(el, 90 + 1e-9);
    double r[3][3];
    CamAxes(V(), r);
    EXPECT_GE(r[1][2], 0) << "not upside down";
    // A tilt inside the range is left alone.
    AzElAng(200, 40, V().RotAng);
    ClampTilt(V());
    CamAzEl(V(), &az, &el);
    EXPECT_NEAR(az, 200, 1e-9);
    EXPECT_NEAR(el, 40, 1e-9);
}

TEST_F(ViewCmd, WheelZoomsAtThePointerInBothViews) {
    for (int dim = 0; dim <= 1; ++dim) {
        SCOPED_TRACE(dim);
        SwDim(dim);
        if (dim == 1) {
            AzElAng(0, 50, V().RotAng);
            UpdEyePos(CurCamObj);
            SetView(0);
        }
        double px[3] = {620, 130, 0}, before[3], after[3], back[3];
        if (dim == 1) px[2] = ZRes / 2;
        WinToMdl(px, 0, before);
        double w0 = V().ScrWid;
        // The wheel reads the pixel the shell reported; PtrPos still holds an old press (the
        // wheel once zoomed about it).
        SetPtrPix(620, 130);
        PtrPos[0] = 0;
        PtrPos[1] = 0;
        IntrCmd(CatDsp, CmdWhlIn);
        EXPECT_NEAR(V().ScrWid, w0 * WhlZoom, w0 * 1e-9);
        // The model point that was under the pointer is still there.
        MdlToWin(before, 0, back);
        EXPECT_NEAR(back[0], 620, 1e-3);
        EXPECT_NEAR(back[1], 130, 1e-3);
        IntrCmd(CatDsp, CmdWhlOut);
        EXPECT_NEAR(V().ScrWid, w0, w0 * 1e-9);
        WinToMdl(px, 0, after);
        EXPECT_NEAR(after[0], before[0], 1e-6 * w0);
        EXPECT_NEAR(after[1], before[1], 1e-6 * w0);
    }
}

TEST_F(ViewCmd, EyeDirectionInDegrees) {
    double az, el, a[3];
    CamAzEl(V(), &az, &el);
    EXPECT_NEAR(az, 0, 1e-9) << "the start-up top view has north up";
    EXPECT_NEAR(el, 90, 1e-9);
    for (double h : {0.0, 45.0, 135.0, 270.0, 359.0})
        for (double e : {0.0, 20.0, 35.0, 89.0}) {
            AzElAng(h, e, a);
            for (int i = 0; i < 3; ++i) V().RotAng[i] = a[i];
            CamAzEl(V(), &az, &el);
            EXPECT_NEAR(az, h, 1e-9) << h << " " << e;
            EXPECT_NEAR(el, e, 1e-9) << h << " " << e;
            // The eye stands on the far side of the heading: north-looking means south of it.
            double r[3][3];
            CamAxes(V(), r);
            EXPECT_NEAR(r[2][0], -std::sin(h * M_PI / 180) * std::cos(e * M_PI / 180), 1e-9);
            EXPECT_NEAR(r[2][1], -std::cos(h * M_PI / 180) * std::cos(e * M_PI / 180), 1e-9);
        }
}
