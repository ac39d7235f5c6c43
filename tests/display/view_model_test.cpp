#include <cmath>
#include "core/cmd.h"
#include "core/msg.h"
#include "display/view_fixture.h"
#include "display/dsp_cmd.h"

void ViewTest::Size(int w, int h) {
    WinSizW = w;
    WinSizH = h;
    IntrCmd(CatDsp, CmdDspResize);
}

namespace {
void Win(const double p[3], double out[3]) { MdlToWin(p, 0, out); }
}  // namespace

using ViewModel = ViewTest;

TEST_F(ViewModel, TerrainStartViewIsParallelTopView) {
    EXPECT_EQ(V().PrjFlg, PrjPar);
    EXPECT_DOUBLE_EQ(V().ScrWid, 1e7);
    EXPECT_DOUBLE_EQ(V().EyePos[2], -1e7);
    EXPECT_EQ(V().AutoClp, 0);
    EXPECT_EQ(ViewDim, 0);
    // 2D window: 1e7 wide with the window's aspect.
    EXPECT_DOUBLE_EQ(Wnd2D[0], -5e6);
    EXPECT_DOUBLE_EQ(Wnd2D[2], 5e6);
    EXPECT_DOUBLE_EQ(Wnd2D[1], -3.75e6);
    EXPECT_DOUBLE_EQ(Wnd2D[3], 3.75e6);
    // Stored cameras: 2D is the same view, 3D parallel with z up and automatic clipping.
    EXPECT_EQ(0, std::memcmp(&c2.view, &c.view, sizeof(CamView)));
    EXPECT_EQ(c3.view.PrjFlg, PrjPar);
    EXPECT_EQ(c3.view.UpAxis, UpZ);
    EXPECT_EQ(c3.view.AutoClp, 1);
    // 12500 model units per pixel on an 800-pixel window.
    EXPECT_DOUBLE_EQ(PixToMdl(1), 12500);
    EXPECT_DOUBLE_EQ(ViewWin[0].PixK, 800 / 1e7);
}

TEST_F(ViewModel, TwoToOneWindowShowsItsExtent) {
    Size(400, 200);
    V().ScrWid = 1000;
    SetView(0);
    double p[3] = {0, 0, 0}, w[3];
    Win(p, w);
    EXPECT_NEAR(w[0], 200, 1e-9);
    EXPECT_NEAR(w[1], 100, 1e-9);
    double lo[3] = {-500, -250, 0}, hi[3] = {500, 250, 0};
    Win(lo, w);
    EXPECT_NEAR(w[0], 0, 1e-9);
    EXPECT_NEAR(w[1], 200, 1e-9);  // y grows downwards
    Win(hi, w);
    EXPECT_NEAR(w[0], 400, 1e-9);
    EXPECT_NEAR(w[1], 0, 1e-9);
    // The shift moves the picture without moving the camera: the shifted point is at the centre.
    V().ScrShf[0] = 100;
    V().ScrShf[1] = -50;
    SetView(0);
    double s[3] = {100, -50, 0};
    Win(s, w);
    EXPECT_NEAR(w[0], 200, 1e-9);
    EXPECT_NEAR(w[1], 100, 1e-9);
    // Pointer conversions of the curve commands land on the same model point.
    double m[3];
    PtrToMdl(200, 100, m);
    EXPECT_NEAR(m[0], 100, 1e-9);
    EXPECT_NEAR(m[1], -50, 1e-9);
    EXPECT_EQ(m[2], 0);
}

TEST_F(ViewModel, WindowToModelInvertsModelToWindow) {
    const double pts[][3] = {{0, 0, 0}, {120, -40, 30}, {-300, 220, -80}, {5, 5, 5}};
    for (int prj = 1; prj <= 2; prj++) {
        for (int asp = 0; asp < 2; asp++) {
            V().PrjFlg = static_cast<uint8_t>(prj);
            V().ScrWid = 800;
            V().ScrDst = 1500;
            V().EyeDst = 2000;
            V().ClpNear = 100;
            V().ClpFar = 5000;
            V().RotAng[0] = 0.7; V().RotAng[1] = -0.3; V().RotAng[2] = 2.1;
            V().RotCnt[0] = 10; V().RotCnt[1] = 20; V().RotCnt[2] = -5;
            V().ScrShf[0] = 33; V().ScrShf[1] = -21;
            PixAsp[0] = asp ? 2 : 1;
            SetView(0);
            for (auto& p : pts) {
                double w[3], q[3];
                Win(p, w);
                EXPECT_GT(w[2], 0);
                EXPECT_LT(w[2], ZRes);
                WinToMdl(w, 0, q);
                for (int i = 0; i < 3; i++)
                    EXPECT_NEAR(q[i], p[i], 1e-6) << "projection " << prj << " aspect " << asp;
                float pf[3] = {float(p[0]), float(p[1]), float(p[2])}, wf[3], qf[3];
                MdlToWinF(pf, 0, wf);
                EXPECT_NEAR(wf[0], w[0], 1e-2);
                EXPECT_NEAR(wf[1], w[1], 1e-2);
                WinToMdlF(wf, 0, qf);
                EXPECT_NEAR(qf[0], p[0], 0.05);
                EXPECT_NEAR(qf[1], p[1], 0.05);
            }
        }
    }
}

TEST_F(ViewModel, DepthRunsFromFarToNear) {
    V().PrjFlg = PrjPrs;
    V().ScrWid = 35; V().ScrDst = 50; V().EyeDst = 1000;
    V().ClpNear = 100; V().ClpFar = 1900;
    SetView(0);
    // The eye looks down -z from z = 1000: near plane at z = 900, far plane at z = -900.
    double nearP[3] = {0, 0, 900}, farP[3] = {0, 0, -900}, w[3];
    Win(nearP, w);
    EXPECT_NEAR(w[2], ZRes - 1, 1.0);
    Win(farP, w);
    EXPECT_NEAR(w[2], 0, 1.0);
    // Behind the eye the depth is clamped instead of dividing by zero or flipping.
    double behind[3] = {1, 1, 2000};
    Win(behind, w);
    EXPECT_TRUE(std::isfinite(w[0]) && std::isfinite(w[1]) && std::isfinite(w[2]));
    V().PrjFlg = PrjPar;
    SetView(0);
    Win(nearP, w);
    EXPECT_NEAR(w[2], ZRes - 1, 1.0);
    Win(farP, w);
    EXPECT_NEAR(w[2], 0, 1.0);
}

TEST_F(ViewModel, PixelAspectDoublesHorizontalDistances) {
    V().ScrWid = 800;
    SetView(0);
    double a[3] = {0, 0, 0}, b[3] = {100, 100, 0}, wa[3], wb[3];
    Win(a, wa);
    Win(b, wb);
    double dx1 = wb[0] - wa[0], dy1 = wb[1] - wa[1];
    PixAsp[0] = 2;
    PixAsp[1] = 1;
    SetView(0);
    Win(a, wa);
    Win(b, wb);
    EXPECT_NEAR(wb[0] - wa[0], 2 * dx1, 1e-9);
    EXPECT_NEAR(wb[1] - wa[1], dy1, 1e-9);
    // A product below 0.001 counts as 1:1.
    PixAsp[0] = 0.0001;
    PixAsp[1] = 1;
    SetView(0);
    Win(b, wb);
    Win(a, wa);
    EXPECT_NEAR(wb[0] - wa[0], dx1, 1e-9);
}

TEST_F(ViewModel, AutomaticClipping) {
    // Flat box seen from above: far is zmin + 10, near follows the 10.0 floor.
    V().AutoClp = 1;
    V().EyeDst = 5;
    SceneBox = BBox{{-100, -100, 0}, {100, 100, 0}};
    Plt().notes.clear();
    SetView(0);
    EXPECT_DOUBLE_EQ(ViewWin[0].v.ClpNear, 10.0);
    EXPECT_DOUBLE_EQ(ViewWin[0].v.ClpFar, 15.0);
    EXPECT_DOUBLE_EQ(V().ClpNear, 10.0);
    EXPECT_DOUBLE_EQ(V().ClpFar, 15.0);
    EXPECT_EQ(Notes(ID_UPDT_CAM_PROP, 0x270000), 2);
    // A deep box far away: 20 % margins on both sides.
    V().EyeDst = 10000;
    SceneBox = BBox{{-100, -100, -500}, {100, 100, 500}};
    SetView(0);
    EXPECT_NEAR(V().ClpNear, 9500 - 200, 1e-6);
    EXPECT_NEAR(V().ClpFar, 10500 + 200, 1e-6);
    // A flat scene far away stays strictly between the planes.
    SceneBox = BBox{{-100, -100, 0}, {100, 100, 0}};
    SetView(0);
    EXPECT_DOUBLE_EQ(V().ClpNear, 10000 - 10);
    EXPECT_DOUBLE_EQ(ViewWin[0].v.ClpFar, 10000 + 10);
    // An empty scene keeps the planes the camera has: nothing becomes infinite.
    V().ClpNear = 100;
    V().ClpFar = 20000;
    SceneBox = BBox{{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
    SetView(0);
    EXPECT_DOUBLE_EQ(V().ClpNear, 100);
    EXPECT_DOUBLE_EQ(V().ClpFar, 20000);
    EXPECT_TRUE(std::isfinite(ViewWin[0].DepthScl));
}

TEST_F(ViewModel, DimensionSwitchRestoresBothCameras) {
    V().ScrShf[0] = 123;
    V().ScrWid = 4567;
    V().RotCnt[0] = 89;
    SetView(0);
    CamView before2 = V();
    EXPECT_EQ(SwDim(1), 1);
    EXPECT_EQ(ViewDim, 1);
    EXPECT_EQ(V().AutoClp, 1);
    EXPECT_EQ(V().UpAxis, UpZ);
    EXPECT_DOUBLE_EQ(V().ScrWid, 1e7);
    EXPECT_EQ(SwDim(1), 0);  // already there: nothing changes
    EXPECT_EQ(ViewDim, 1);
    V().RotAng[0] = 1.0;  // turn the 3D camera
    CamView before3 = V();
    EXPECT_EQ(SwDim(0), 1);
    EXPECT_EQ(ViewDim, 0);
    before2.AutoClp = 0;
    EXPECT_EQ(0, std::memcmp(&V(), &before2, sizeof(CamView)));
    EXPECT_EQ(SwDim(0), 0);
    EXPECT_EQ(0, std::memcmp(&V(), &before2, sizeof(CamView)));
    EXPECT_EQ(SwDim(1), 1);
    before3.AutoClp = 1;
    EXPECT_EQ(0, std::memcmp(&V(), &before3, sizeof(CamView)));
}

TEST_F(ViewModel, ResizeKeepsTheWindowAspectOfThe2DWindow) {
    Size(400, 400);
    EXPECT_EQ(ViewWin[0].W, 400);
    EXPECT_DOUBLE_EQ(ViewWin[0].cx, 200);
    EXPECT_DOUBLE_EQ(Wnd2D[3] - Wnd2D[1], Wnd2D[2] - Wnd2D[0]);
    EXPECT_DOUBLE_EQ(PixToMdl(400), 1e7);
    // Sizes below 2 pixels are raised to 2.
    Size(0, -3);
    EXPECT_EQ(ViewWin[0].W, 2);
    EXPECT_EQ(ViewWin[0].H, 2);
    EXPECT_TRUE(std::isfinite(Wnd2D[1]) && std::isfinite(Wnd2D[3]));
    // A 2D window off the origin keeps its centre.
    Size(800, 600);
    Wnd2D[0] = 0; Wnd2D[1] = 1000; Wnd2D[2] = 800; Wnd2D[3] = 1100;
    DstrCmd(CatDsp, CmdFitWnd2D);
    EXPECT_DOUBLE_EQ(Wnd2D[1], 750);
    EXPECT_DOUBLE_EQ(Wnd2D[3], 1350);
}

TEST_F(ViewModel, The2DWindowIsThePlanOnShow) {
    V().ScrWid = 8000;
    V().RotCnt[0] = 1e6;
    V().RotCnt[1] = -2e6;
    V().ScrShf[0] = 100;
    SetView(0);
    EXPECT_DOUBLE_EQ(Wnd2D[0], 1e6 + 100 - 4000);
    EXPECT_DOUBLE_EQ(Wnd2D[2], 1e6 + 100 + 4000);
    EXPECT_DOUBLE_EQ(Wnd2D[1], -2e6 - 3000);
    EXPECT_DOUBLE_EQ(Wnd2D[3], -2e6 + 3000);
    // The 3D view leaves it alone; back in 2D it shows the 2D camera's plan again.
    SwDim(1);
    V().ScrWid = 50;
    SetView(0);
    EXPECT_DOUBLE_EQ(Wnd2D[2] - Wnd2D[0], 8000);
    SwDim(0);
    EXPECT_DOUBLE_EQ(Wnd2D[2] - Wnd2D[0], 8000);
    EXPECT_DOUBLE_EQ(Wnd2D[0], 1e6 + 100 - 4000);
}

TEST_F(ViewModel, ProjectionCommands) {
    Plt().notes.clear();
    IntrCmd(CatDsp, CmdPrjPrs);
    EXPECT_EQ(V().PrjFlg, PrjPrs);
    EXPECT_EQ(ViewWin[0].v.PrjFlg, PrjPrs);
    IntrCmd(CatDsp, CmdPrjPar);
    EXPECT_EQ(V().PrjFlg, PrjPar);
    EXPECT_EQ(ViewWin[0].v.PrjFlg, PrjPar);
    EXPECT_EQ(Notes(ID_UPDT_CAM_PROP, 0x170000), 2);
}

TEST_F(ViewModel, CurvesInView) {
    Size(800, 400);
    V().ScrWid = 1000;
    V().RotCnt[0] = 100;
    SetView(0);
    crv k{};
    auto box = [&](float x0, float y0, float x1, float y1) {
        k.box = BBox{{x0, y0, 0}, {x1, y1, 0}};
        return CrvInView(&k);
    };
    EXPECT_TRUE(box(-400, -250, -390, -240));   // touches the lower-left corner
    EXPECT_FALSE(box(-420, 0, -401, 10));       // left of x = -400
    EXPECT_FALSE(box(0, 251, 10, 300));         // above y = 250
    EXPECT_TRUE(box(-1e6, -1e6, 1e6, 1e6));     // encloses the view
    EXPECT_FALSE(CrvInView(nullptr));
}

TEST_F(ViewModel, EyeAndUpAxis) {
    V().RotEye = 0;
    V().EyeDst = 100;
    V().RotAng[0] = M_PI / 2;  // looking horizontally along +y
    UpdEyePos(&c);
    EXPECT_NEAR(V().EyePos[1], -100, 1e-9);
    EXPECT_NEAR(V().EyePos[2], 0, 1e-9);
    V().RotEye = 1;
    V().EyePos[0] = 7;
    UpdEyePos(&c);
    EXPECT_NEAR(V().RotCnt[0], 7, 1e-9);
    EXPECT_NEAR(V().RotCnt[1], 0, 1e-9);
    // With z up a rolled camera is straightened: its right vector becomes horizontal.
    V().UpAxis = UpZ;
    V().RotAng[0] = M_PI / 2; V().RotAng[1] = 0.3; V().RotAng[2] = 0;
    double oldR[3] = {1, 0, 0}, oldU[3] = {0, 0, 1};
    EXPECT_EQ(ChkUpAxis(&c, oldR, oldU), 1);
    double ca = std::cos(V().RotAng[1]), sa = std::sin(V().RotAng[1]);
    EXPECT_NEAR(-sa, 0, 1e-5);  // right vector's z
    EXPECT_GT(ca, 0);
    // An upside-down camera comes out with its up vector above the horizon.
    V().RotAng[0] = -M_PI / 2; V().RotAng[1] = 0.2; V().RotAng[2] = 0;
    EXPECT_EQ(ChkUpAxis(&c, oldR, oldU), 1);
    double sx = std::sin(V().RotAng[0]), cy = std::cos(V().RotAng[1]);
    EXPECT_GT(sx * cy, 0.5);  // z of the up vector
    EXPECT_NEAR(std::sin(V().RotAng[1]), 0, 1e-5);
}

TEST_F(ViewModel, DefaultCamera) {
    cam d{};
    SetCamDef(&d);
    EXPECT_DOUBLE_EQ(d.view.EyePos[2], 50.0);
    EXPECT_NEAR(d.view.ViewAng, 2 * std::atan(17.5 / 50), 1e-6);
    EXPECT_EQ(d.view.PrjFlg, PrjPrs);
    EXPECT_EQ(d.view.UpAxis, UpZ);
    EXPECT_EQ(d.view.FovFix, 1);
    EXPECT_DOUBLE_EQ(d.view.RndVal[1], 5000.0);
    EXPECT_EQ(d.view.RndInt, 30);
    EXPECT_EQ(0, std::memcmp(&ViewWin[0].v, &d.view, sizeof(CamView)));
}
