// Seeing the terrain: the light reaching the shaded picture, the relief display with its legend,
// the vertical exaggeration, the first 3D view and the orientation marks, read from the picture.
#include <GL/gl.h>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>
#include <vector>
#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "curves/crv.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "display/lgt.h"
#include "display/view.h"
#include "cmd/viewcmd.h"
#include "display/viewint.h"
#include "scene/scene.h"
#include "support/draw_fixture.h"
#include "terrain/trn.h"
#include "terrain/trn_cmd.h"

namespace {

constexpr gltest::Rgb kBg{0, 74, 74};

bool Same(gltest::Rgb a, gltest::Rgb b, int tol = 2) {
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

class Relief : public DrawTestT<320, 240> {
protected:
    void SetUp() override {
        DrawTestT::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        AxisOn = 0;
        GridOn = 0;
        lgtDir = CurLgtObj ? CurLgtObj->r : LgtRec{};
    }
    void TearDown() override {
        if (gl_) {
            if (CurLgtObj) {
                std::memcpy(CurLgtObj->r.dir, lgtDir.dir, sizeof lgtDir.dir);
                std::memcpy(CurLgtObj->r.ang, lgtDir.ang, sizeof lgtDir.ang);
                UdtPrmLgt();
            }
        }
        if (TrnSrf) {
            FreeSrf(TrnSrf, true);
            TrnSrf = nullptr;
            TrnGrd = nullptr;
        }
        SwDim(0);
        VertExag = 1;
        RelDsp = 0;
        SlpDsp = 0;
        DrawTestT::TearDown();
    }

    // A terrain grid of R x C vertices with heights z(x, y), normals from the height differences,
    // attached as the generator leaves it.
    srf* Terrain(double x0, double y0, double x1, double y1, int R, int C,
                 const std::function<double(double, double)>& z) {
        srf* s = NewSrf("地形");
        EXPECT_GE(AtchSrfPrt(TrnPrt, s), 0);
        s->mtlIdx = 0;
        SrfMtl(s);
        s->dspFlg = SrfFlgTrn;
        s->vis = 1;
        int n = R * C;
        s->nv = n;
        s->v = static_cast<float*>(AlcMem(3LL * n * sizeof(float), "srf->v"));
        s->nrm = static_cast<float*>(AlcMem(3LL * n * sizeof(float), "srf->n"));
        pgn* g = NewPgn(s);
        g->type = PgnGrd;
        g->rows = static_cast<uint16_t>(R);
        g->cols = static_cast<uint16_t>(C);
        g->n = n;
        g->vtx_id = static_cast<int32_t*>(AlcMem(4LL * n, "vtx_id"));
        double dx = (x1 - x0) / (C - 1), dy = (y1 - y0) / (R - 1);
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < C; ++c) {
                int i = r * C + c;
                double x = x0 + c * dx, y = y0 + r * dy;
                s->v[3 * i] = static_cast<float>(x);
                s->v[3 * i + 1] = static_cast<float>(y);
                s->v[3 * i + 2] = static_cast<float>(z(x, y));
                double gx = (z(x + 1, y) - z(x - 1, y)) / 2, gy = (z(x, y + 1) - z(x, y - 1)) / 2;
                double l = std::sqrt(gx * gx + gy * gy + 1);
                s->nrm[3 * i] = static_cast<float>(-gx / l);
                s->nrm[3 * i + 1] = static_cast<float>(-gy / l);
                s->nrm[3 * i + 2] = static_cast<float>(1 / l);
                g->vtx_id[i] = i;
            }
        UdtBox(s, OK_SRF);
        TrnSrf = s;
        TrnGrd = g;
        return s;
    }
    // A round hill 1.5 km high in the middle of an 8 x 6 km plain.
    srf* Hill(int R = 61, int C = 81) {
        return Terrain(-4000000, -3000000, 4000000, 3000000, R, C, [](double x, double y) {
            return 1500000.0 * std::exp(-(x * x + y * y) / (2 * 1.2e6 * 1.2e6));
        });
    }
    // The picture, pixel by pixel.
    std::vector<gltest::Rgb> Pic() {
        std::vector<gltest::Rgb> p;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) p.push_back(Px(x, y));
        return p;
    }
    static int Differ(const std::vector<gltest::Rgb>& a, const std::vector<gltest::Rgb>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i) n += !Same(a[i], b[i], 3);
        return n;
    }
    int Covered() { return W * H - GL().Count(kBg, 2); }
    double Mean(int x0, int y0, int x1, int y1) {
        double s = 0;
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x, ++n) {
                gltest::Rgb c = Px(x, y);
                s += c.r + c.g + c.b;
            }
        return s / n;
    }
    // The light dialog's OK while the window system has another context current, as the dialog's
    // own painting leaves it: the engine still believes the view's context is current.
    void LightFromDialog(int az, int el) {
        GL().GLMakeCurrent(-1);
        SetLgtAzEl(CurLgtObj, az, el);
        GL().GLMakeCurrent(0);
        Redraw();
    }
    void Oblique() {
        SwDim(1);
        CamView& v = *CurView();
        AzElAng(0, 35, v.RotAng);
        UpdEyePos(CurCamObj);
        SetView(0);
    }
    LgtRec lgtDir;
};

// Fault: after any azimuth and elevation of the light dialog the shaded view stayed the same to
// the pixel; the light went into whatever context the window system had current.
TEST_F(Relief, LightDialogChangesTheShadedPicture) {
    ASSERT_NE(CurLgtObj, nullptr);
    Hill();
    Oblique();
    FitView();
    DspFlg |= SrfDspShd;
    const int dirs[][2] = {{135, 54}, {272, 5}, {90, 30}, {0, 60}};
    std::vector<std::vector<gltest::Rgb>> pics;
    for (auto& d : dirs) {
        LightFromDialog(d[0], d[1]);
        pics.push_back(Pic());
    }
    int hill = Covered();
    ASSERT_GT(hill, W * H / 10);
    for (size_t i = 0; i < pics.size(); ++i)
        for (size_t j = i + 1; j < pics.size(); ++j)
            EXPECT_GT(Differ(pics[i], pics[j]), hill / 10) << dirs[i][0] << "/" << dirs[i][1] << " vs "
                                                            << dirs[j][0] << "/" << dirs[j][1];
    // The same light again gives the same picture.
    LightFromDialog(135, 54);
    EXPECT_EQ(Differ(Pic(), pics[0]), 0);
}

// Fault: azimuth 0, drawn as north at the compass's top, lit the hill from the south, and the usual
// north-west light (315) from the south-west. The slope that faces the azimuth is the bright one.
TEST_F(Relief, LightAzimuthIsTheCompassBearingItComesFrom) {
    ASSERT_NE(CurLgtObj, nullptr);
    Hill();
    FitView();
    DspFlg |= SrfDspShd;
    for (int az : {0, 90, 180, 270, 315}) {
        SCOPED_TRACE(az);
        LightFromDialog(az, 30);
        GL().Grab();
        const double a = az * M_PI / 180, r = 1.2e6;
        double lit[3], dark[3];
        Win(r * std::sin(a), r * std::cos(a), 0, lit);
        Win(-r * std::sin(a), -r * std::cos(a), 0, dark);
        const int lx = int(lit[0]), ly = int(lit[1]), dx = int(dark[0]), dy = int(dark[1]);
        EXPECT_GT(Mean(lx - 3, ly - 3, lx + 3, ly + 3), Mean(dx - 3, dy - 3, dx + 3, dy + 3) + 30);
        int az2 = -1, el2 = -1;
        GetLgtAzEl(CurLgtObj, &az2, &el2);
        EXPECT_EQ(az2, az);
        EXPECT_EQ(el2, 30);
    }
}

// Fault: after a visit to 3D the 2D terrain was drawn almost black (the lights kept their place
// relative to the 3D eye); after a view flipped under the terrain, shading and fit stayed black.
TEST_F(Relief, LightingFollowsTheCameraShown) {
    Hill();
    DspFlg |= SrfDspShd;
    Redraw();
    double lit2D = Mean(W / 2 - 30, H / 2 - 30, W / 2 + 30, H / 2 + 30);
    std::vector<gltest::Rgb> first = Pic();
    // 3D from below the horizon, the lights handed over there, then back to 2D.
    SwDim(1);
    CamView& v = *CurView();
    AzElAng(180, -30, v.RotAng);
    UpdEyePos(CurCamObj);
    SetView(0);
    SetGLView(0);
    SetLgtGL();
    GL().GLMakeCurrent(-1);  // the switch's own hand-over goes astray
    SwDim(0);
    GL().GLMakeCurrent(0);
    Redraw();
    EXPECT_NEAR(Mean(W / 2 - 30, H / 2 - 30, W / 2 + 30, H / 2 + 30), lit2D, 1.0);
    EXPECT_EQ(Differ(Pic(), first), 0);
    // The shaded item and fit after a camera change lit as a fresh picture is.
    SwDim(1);
    AzElAng(0, 35, CurView()->RotAng);
    UpdEyePos(CurCamObj);
    FitView();
    GL().Grab();
    std::vector<gltest::Rgb> fitted = Pic();
    SetShdDsp();
    GL().Grab();
    EXPECT_EQ(Differ(Pic(), fitted), 0);
    SetGLView(0);
    SetLgtGL();
    Redraw();
    EXPECT_EQ(Differ(Pic(), fitted), 0) << "the same as with the lights handed over anew";
}

TEST_F(Relief, ReliefShowsHeightColoursAndShadingWithALegend) {
    Hill(121, 161);
    std::vector<gltest::Rgb> wire = Pic();
    Redraw();
    wire = Pic();
    IntrCmd(CatDsp, CmdRelDsp);
    EXPECT_EQ(CurDspMode(), DspRelief);
    GL().Grab();
    std::set<int> cols;
    for (auto& c : Pic()) cols.insert(c.r << 16 | c.g << 8 | c.b);
    EXPECT_GT(static_cast<int>(cols.size()), 50);
    // Low ground green, the summit near white, the legend's white frame in the lower right.
    double p[3];
    Win(-3500000, -2500000, 0, p);
    gltest::Rgb low = Px(static_cast<int>(p[0]), static_cast<int>(p[1]));
    EXPECT_GT(low.g, low.r);
    EXPECT_GT(low.g, low.b);
    Win(0, 0, 1500000, p);
    gltest::Rgb top = Px(static_cast<int>(p[0]), static_cast<int>(p[1]));
    EXPECT_GT(top.r + top.g + top.b, 3 * 200);
    EXPECT_TRUE(GL().Has({255, 255, 255}, W - 30, H - 90, W - 10, H - 25));
    // The light's side of the hill is brighter than the far side.
    Win(800000, 800000, 0, p);
    gltest::Rgb nearSide = Px(static_cast<int>(p[0]), static_cast<int>(p[1]));
    Win(-800000, -800000, 0, p);
    gltest::Rgb farSide = Px(static_cast<int>(p[0]), static_cast<int>(p[1]));
    EXPECT_GT(nearSide.r + nearSide.g + nearSide.b, farSide.r + farSide.g + farSide.b + 60);
    // Chosen again, the display goes back to the wireframe as it was, legend gone.
    IntrCmd(CatDsp, CmdRelDsp);
    EXPECT_EQ(CurDspMode(), DspWire);
    GL().Grab();
    EXPECT_EQ(Differ(Pic(), wire), 0);
    // Slope classes win over relief; shading or wireframe leave it.
    SetRelDsp(1);
    SlpDsp = 1;
    EXPECT_EQ(CurDspMode(), DspSlope);
    SetShdDsp();
    EXPECT_EQ(CurDspMode(), DspShade);
    EXPECT_EQ(RelDsp, 0);
}

// Grid lines and their "1000m" labels ran through the relief legend: it lies on a panel of its
// own, and the slope classes have a legend too, one swatch per class in the class's colour.
TEST_F(Relief, LegendsLieOnAPanelThatGridLinesDoNotCross) {
    Hill();
    GridOn = 1;
    AxisOn = 1;
    SetRelDsp(1);
    // The picture's centre on the terrain's south-east corner: the lower right shows the grid.
    CamView& v = *CurView();
    v.ScrWid = 6000000;
    v.RotCnt[0] = v.EyePos[0] = 4000000;
    v.RotCnt[1] = v.EyePos[1] = -3000000;
    SetView(0);
    DstrCmd(CatDsp, CmdFitWnd2D);
    Redraw();
    int r[4];
    ASSERT_TRUE(LgdRect(0, r));
    EXPECT_LE(r[2], W);
    EXPECT_LE(r[3], H);
    const gltest::Rgb minor{105, 105, 105}, major{174, 174, 174};
    auto gridPx = [&](int x0, int y0, int x1, int y1) {
        return GL().Count(minor, 1, x0, y0, x1, y1) + GL().Count(major, 1, x0, y0, x1, y1);
    };
    const int w = r[2] - r[0];
    EXPECT_GT(gridPx(r[0] - w - 10, r[1] + 1, r[0] - 10, r[3] - 1), 10) << "grid lines beside the legend";
    EXPECT_EQ(gridPx(r[0] + 1, r[1] + 1, r[2] - 1, r[3] - 1), 0) << "none on its panel";
    EXPECT_TRUE(GL().Has({140, 140, 140}, r[0], r[1], r[2], r[3])) << "the panel's frame";

    SetRelDsp(0);
    SlpDsp = 1;
    Redraw();
    ASSERT_TRUE(LgdRect(0, r));
    const int bh = std::min(H / 3, 160), x = W - 12 - 14 + 7, y1 = H - 30;
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        uint8_t c[3];
        SlpClsRgb(k, c);
        EXPECT_TRUE(Same(Px(x, y1 - bh * k / 5 - bh / 10), {c[0], c[1], c[2]}));
    }
    EXPECT_EQ(gridPx(r[0] + 1, r[1] + 1, r[2] - 1, r[3] - 1), 0);
    SlpDsp = 0;
    Redraw();
    EXPECT_FALSE(LgdRect(0, r)) << "wireframe: no legend";
}

TEST_F(Relief, ExaggerationStretchesTheThreeDViewOnly) {
    Hill();
    Oblique();
    FitView();
    SetRelDsp(1);
    GL().Grab();
    int flat = Covered();
    double top[3] = {0, 0, 1500000}, w1[3], w5[3], back[3];
    MdlToWin(top, 0, w1);
    EXPECT_FALSE(SetVertExag(0.5));
    EXPECT_FALSE(SetVertExag(21));
    EXPECT_EQ(VertExag, 1);
    ASSERT_TRUE(SetVertExag(5));
    GL().Grab();
    MdlToWin(top, 0, w5);
    EXPECT_LT(w5[1], w1[1] - 10) << "the summit rises on the screen";
    EXPECT_GT(Covered(), flat);
    // The window mapping still answers real model points.
    WinToMdl(w5, 0, back);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], top[i], 1.0);
    // The 2D view is a plan: the exaggeration changes nothing there.
    SwDim(0);
    Redraw();
    std::vector<gltest::Rgb> x5 = Pic();
    SetVertExag(1);
    GL().Grab();
    int d = Differ(Pic(), x5);
    EXPECT_GT(d, 0) << "the relief's shading follows the exaggeration";
    double c[3] = {100000, 200000, 0}, w[3];
    MdlToWin(c, 0, w);
    SetVertExag(7);
    double w7[3];
    MdlToWin(c, 0, w7);
    EXPECT_EQ(w[0], w7[0]);
    EXPECT_EQ(w[1], w7[1]);
}

TEST_F(Relief, FirstThreeDViewAfterNewTerrainLooksFromTheSouth) {
    // Contours as a drawing brings them, then the terrain made from them, then 3D.
    const double r[] = {600000, 1200000, 1800000};
    for (int k = 0; k < 3; ++k) {
        crv* c = NewCrvObj("c");
        for (int i = 0; i <= 36; ++i) {
            double a = i * M_PI / 18;
            AddCrvPnt(c, static_cast<float>(5e6 + r[k] * std::cos(a)),
                      static_cast<float>(3e6 + r[k] * 0.8 * std::sin(a)), static_cast<float>(300000 - k * 100000));
        }
        SetCrvCol(c, c->p[2]);
        ASSERT_GE(AtchCrvPrt(TrnPrt, c), 0);
        UdtBox(c, OK_CRV);
    }
    TrnRgn[0] = 3e6; TrnRgn[1] = 1.4e6; TrnRgn[3] = 7e6; TrnRgn[4] = 4.6e6;
    MshItv = 50000;
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_NE(TrnSrf, nullptr);
    DspFlg |= SrfDspShd;
    SwDim(1);
    Redraw();
    double az, el;
    CamAzEl(*CurView(), &az, &el);
    EXPECT_GE(el, 20);
    EXPECT_LE(el, 60);
    EXPECT_NEAR(az, 0, 1e-6) << "from the south, looking north";
    EXPECT_GE(Covered(), W * H / 3) << "the terrain fills the view";
    // A camera the user set stays while nothing changes; a new region is looked at afresh.
    AzElAng(90, 50, CurView()->RotAng);
    UpdEyePos(CurCamObj);
    SwDim(0);
    SwDim(1);
    CamAzEl(*CurView(), &az, &el);
    EXPECT_NEAR(az, 90, 1e-6);
    SwDim(0);
    TrnRgn[0] = 2e6; TrnRgn[3] = 8e6;
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    IntrCmd(CatMdl, CmdTrnCre);
    SwDim(1);
    CamAzEl(*CurView(), &az, &el);
    EXPECT_NEAR(az, 0, 1e-6);
    EXPECT_NEAR(el, FitElev, 1e-6);
}

TEST_F(Relief, NorthArrowInThreeDAndScaleBarInTwoD) {
    Hill();
    AxisOn = 1;
    GridOn = 1;
    Redraw();
    // 2D: the scale bar's white line near the lower left; no north arrow.
    EXPECT_TRUE(GL().Has({255, 255, 255}, 10, H - 14, 40, H - 10));
    EXPECT_FALSE(GL().Has({255, 255, 255}, W - 48, 26, W - 12, 62));
    double len = SclBarLen(ViewWin[0].PixK, W);
    EXPECT_LE(len * ViewWin[0].PixK, W / 4.0);
    EXPECT_GT(len * ViewWin[0].PixK, W / 10.0);
    Oblique();
    FitView();
    GL().Grab();
    EXPECT_TRUE(GL().Has({255, 255, 255}, W - 48, 26, W - 12, 62)) << "north arrow";
    EXPECT_GT(GL().Count({255, 255, 255}, 2, W - 38, 26, W - 22, 43),
              GL().Count({255, 255, 255}, 2, W - 38, 45, W - 22, 62) + 6)
        << "looking north, the head points up";
    // Looking east, north points to the left: the arrow's head lies left of its middle.
    AzElAng(90, 89.9, CurView()->RotAng);
    UpdEyePos(CurCamObj);
    Redraw();
    EXPECT_GT(GL().Count({255, 255, 255}, 2, W - 47, 36, W - 31, 52),
              GL().Count({255, 255, 255}, 2, W - 29, 36, W - 13, 52) + 6);
}

// The status bar's pointer position: the plan point, and over the terrain its height.
TEST_F(Relief, PointerFindsThePlanPointAndTheTerrainHeight) {
    Terrain(-4000000, -3000000, 4000000, 3000000, 31, 41,
            [](double x, double y) { return 100000 + 0.05 * x + 0.02 * y; });
    Redraw();
    double w[3], p[3];
    Win(1000000, -500000, 0, w);
    ASSERT_EQ(PtrMdlPnt(w[0], w[1], p), 2);
    EXPECT_NEAR(p[0], 1000000, 30000);
    EXPECT_NEAR(p[2], 100000 + 0.05 * p[0] + 0.02 * p[1], 1.0) << "bilinear on a plane is exact";
    double z;
    EXPECT_TRUE(TrnHgtAt(4000000, 3000000, &z)) << "the far corner belongs to the grid";
    EXPECT_NEAR(z, 100000 + 200000 + 60000, 1.0);
    EXPECT_FALSE(TrnHgtAt(4000001, 0, &z));
    // Off the terrain in 2D: the plan point alone.
    EXPECT_EQ(PtrMdlPnt(2, 2, p), 1);
    // In 3D the pointer's ray meets the terrain where the picture shows it.
    Oblique();
    FitView();
    double q[3] = {-2000000, 1000000, 100000 + 0.05 * -2000000 + 0.02 * 1000000}, s[3];
    MdlToWin(q, 0, s);
    ASSERT_EQ(PtrMdlPnt(s[0], s[1], p), 2);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], q[i], 40000) << i;
    EXPECT_EQ(PtrMdlPnt(5, 5, p), 0) << "the sky";
}

// In perspective the wheel moves the eye towards the terrain point under the pointer, which
// stays under it within a pixel; zooming in on a slope nearer than the rotation centre no longer
// carries the eye past it (it moved towards the centre's depth and went through the ground).
TEST_F(Relief, WheelInPerspectiveKeepsTheTerrainPointUnderThePointer) {
    Hill();
    Oblique();
    FitView();
    CurView()->PrjFlg = PrjPrs;
    SetView(0);
    // Pixels over the hill's east flank and over the near plain to the south.
    for (auto [mx, my] : {std::pair{1.5e6, 0.5e6}, std::pair{0.0, -2.5e6}}) {
        SCOPED_TRACE(my);
        double p[3], w[3];
        Win(mx, my, 0, w);
        const int x = int(w[0]), y = int(w[1]);
        ASSERT_EQ(PtrMdlPnt(x, y, p), 2);
        SetPtrPix(x, y);
        std::vector<int> clicks(20, CmdWhlIn);
        clicks.insert(clicks.end(), 22, CmdWhlOut);
        for (int cmd : clicks) {
            IntrCmd(CatDsp, cmd);
            Win(p[0], p[1], p[2], w);
            ASSERT_NEAR(w[0], x, 1.0);
            ASSERT_NEAR(w[1], y, 1.0);
            const CamView& v = *CurView();
            double r[3][3];
            CamAxes(v, r);
            double depth = 0;  // along the viewing direction, -R2
            for (int i = 0; i < 3; ++i) depth -= (p[i] - v.EyePos[i]) * r[2][i];
            ASSERT_GT(depth, 0) << "the point stays in front of the eye";
        }
    }
}

}  // namespace
