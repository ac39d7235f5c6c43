// The scene in the view: contour curves, the terrain grid in wireframe, shaded and slope display,
// the selected vertices, read back from the picture.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>
#include "core/alc.h"
#include "core/mode.h"
#include "curves/crv.h"
#include "display/lgt.h"
#include "display/view.h"
#include "display/viewint.h"
#include "scene/scene.h"
#include "support/draw_fixture.h"
#include "terrain/trn.h"
#include "core/cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"

namespace {

constexpr gltest::Rgb kBg{0, 74, 74};

class DrawScn : public DrawTestT<400, 300> {
protected:
    void SetUp() override {
        DrawTestT::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // The picture of the scene alone.
        AxisOn = 0;
        GridOn = 0;
    }
    void TearDown() override {
        if (TrnSrf) {
            FreeSrf(TrnSrf, true);
            TrnSrf = nullptr;
            TrnGrd = nullptr;
        }
        NumVtxSlct = 0;
        SlpDsp = 0;
        DrawTestT::TearDown();
    }

    // A terrain grid of R x C vertices over x0..x1, y0..y1 with heights z(x, y), attached to the
    // terrain part as the terrain generator leaves it; normals from the height differences.
    srf* Terrain(double x0, double y0, double x1, double y1, int R, int C,
                 const std::function<double(double, double)>& z) {
        srf* s = NewSrf("地形");
        EXPECT_NE(s, nullptr);
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

    crv* Curve(std::initializer_list<std::pair<double, double>> pts, float h) {
        crv* c = NewCrvObj("c");
        for (auto& p : pts) AddCrvPnt(c, static_cast<float>(p.first), static_cast<float>(p.second), h);
        SetCrvCol(c, h);
        EXPECT_GE(AtchCrvPrt(TrnPrt, c), 0);
        UdtBox(c, OK_CRV);
        return c;
    }

    gltest::Rgb At(double x, double y, double z = 0) {
        double p[3];
        Win(x, y, z, p);
        return Px(static_cast<int>(std::lround(p[0])), static_cast<int>(std::lround(p[1])));
    }
    // The colour of a curve or grid line near a model point: the first pixel within 1 pixel that
    // is not background.
    gltest::Rgb LineAt(double x, double y) {
        double p[3];
        Win(x, y, 0, p);
        int px = static_cast<int>(std::lround(p[0])), py = static_cast<int>(std::lround(p[1]));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                gltest::Rgb c = Px(px + dx, py + dy);
                if (!Same(c, kBg)) return c;
            }
        return kBg;
    }
    static bool Same(gltest::Rgb a, gltest::Rgb b, int tol = 2) {
        return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol &&
               std::abs(a.b - b.b) <= tol;
    }
    static gltest::Rgb Bytes(const float c[3]) {
        return {static_cast<int>(std::lround(c[0] * 255)), static_cast<int>(std::lround(c[1] * 255)),
                static_cast<int>(std::lround(c[2] * 255))};
    }
    void Pan(double x, double y) {
        CamView& v = *CurView();
        v.RotCnt[0] = x;
        v.RotCnt[1] = y;
    }
};

TEST_F(DrawScn, CurveInItsHeightColourCulledOutsideTheViewAndDrawnAfterAPan) {
    crv* c = Curve({{-1000000, -1000000}, {1000000, -1000000}, {1000000, 1500000}}, 1234);
    crv* far = Curve({{-8000000, 0}, {-6500000, 300000}}, 250000);
    Redraw();
    gltest::Rgb col = Bytes(c->col);
    EXPECT_TRUE(Same(LineAt(0, -1000000), col)) << "first segment in the height colour";
    EXPECT_TRUE(Same(LineAt(1000000, 0), col)) << "second segment";
    EXPECT_TRUE(Same(At(0, 0), kBg)) << "a line strip, not a closed loop";
    EXPECT_EQ(GL().Count(Bytes(far->col)), 0) << "the far curve lies left of the view";

    // A selected curve is red.
    c->col[0] = 1;
    c->col[1] = c->col[2] = 0;
    Redraw();
    EXPECT_TRUE(Same(LineAt(0, -1000000), {255, 0, 0}));

    // Pan so that the far curve comes into view.
    Pan(-7000000, 0);
    Redraw();
    EXPECT_TRUE(Same(LineAt(-7250000, 150000), Bytes(far->col)));

    // Culling goes by the curve's box: a box left of the view hides the curve even when its
    // points would show.
    Pan(0, 0);
    c->col[0] = 0;
    c->col[1] = 1;
    c->col[2] = 1;
    c->box.min[0] = -9000000;
    c->box.max[0] = -8000000;
    Redraw();
    EXPECT_EQ(GL().Count({0, 255, 255}), 0);
    UdtBox(c, OK_CRV);
    Redraw();
    EXPECT_GT(GL().Count({0, 255, 255}), 100);

    // Hidden curves and the curve switch.
    c->vis = 0;
    Redraw();
    EXPECT_EQ(GL().Count({0, 255, 255}), 0);
    c->vis = 1;
    CrvDsp[0] = 0;
    Redraw();
    EXPECT_EQ(GL().Count({0, 255, 255}), 0);
}

TEST_F(DrawScn, TerrainWireframeInItsMaterialColourDarkMaterialsLifted) {
    Terrain(-4000000, -3000000, 4000000, 3000000, 7, 9, [](double, double) { return 0.0; });
    ASSERT_EQ(DspFlg & SrfDspShd, 0u) << "the application starts in wireframe";
    Redraw();
    gltest::Rgb green{0, 128, 64};
    // Rows and columns every 1e6.
    for (int c = -4; c <= 4; c += 2) EXPECT_TRUE(Same(LineAt(c * 1e6, 500000), green)) << c;
    for (int r = -3; r <= 3; r += 2) EXPECT_TRUE(Same(LineAt(500000, r * 1e6), green)) << r;
    EXPECT_TRUE(Same(At(500000, 500000), kBg)) << "wireframe: the cells stay open";

    // A dark grey material is drawn in the lowest grey instead.
    mtl* m = TrnSrf->mtlPtr;
    ASSERT_NE(m, nullptr);
    float keep[3];
    std::memcpy(keep, m->dif, sizeof keep);
    m->dif[0] = m->dif[1] = m->dif[2] = 0.1f;
    Redraw();
    EXPECT_TRUE(Same(LineAt(0, 500000), {51, 51, 51}));
    std::memcpy(m->dif, keep, sizeof keep);

    // Hidden terrain, surfaces switched off, bounding box only.
    TrnSrf->vis = 0;
    Redraw();
    EXPECT_EQ(GL().Count(kBg), W * H);
    TrnSrf->vis = 1;
    SrfDsp[0] &= ~SrfDspOn;
    Redraw();
    EXPECT_EQ(GL().Count(kBg), W * H);
    SrfDsp[0] |= SrfDspOn;
    TrnSrf->dspFlg |= SrfFlgBox;
    Redraw();
    EXPECT_TRUE(Same(LineAt(-4000000, 0), green)) << "box edge";
    EXPECT_TRUE(Same(LineAt(0, 0), kBg)) << "no grid lines inside the box";
}

TEST_F(DrawScn, ShadedFaceTurnedAwayFromTheLightShowsOnlyTheAmbient) {
    // Two planes: the west half climbs towards +x and +y, so it faces away from the light
    // (which stands towards +x, +y, high up); the east half is level.
    Terrain(-2000000, -1500000, 2000000, 1500000, 31, 41, [](double x, double y) {
        return x < 0 ? 2.5 * (x + y) : 0.0;
    });
    IntrCmd(CatDsp, CmdRdrwAll);
    SetShdDsp();
    GL().Grab();
    EXPECT_TRUE(DspFlg & SrfDspShd);
    // Ambient 0.2 of the material times the model ambient 0.4: 0.08 of 255 = 20.4.
    gltest::Rgb away = At(-1000000, 200000);
    EXPECT_NEAR(away.r, 20, 1);
    EXPECT_NEAR(away.g, 20, 1);
    EXPECT_NEAR(away.b, 20, 1);
    // The level half is lit: green above the ambient.
    gltest::Rgb lit = At(1000000, 200000);
    EXPECT_GT(lit.g, 100);
    EXPECT_GT(lit.g, lit.r + 60);
    EXPECT_GT(lit.g, lit.b + 20);

    // Back to wireframe: the cells open again.
    SetWireDsp();
    GL().Grab();
    EXPECT_EQ(DspFlg & SrfDspShd, 0u);
    EXPECT_TRUE(Same(At(1000000 + 50000, 200000 + 50000), kBg));
}

TEST_F(DrawScn, TwoSidedShadingLightsTheUndersideFromReversedNormals) {
    Terrain(-4000000, -3000000, 4000000, 3000000, 7, 9, [](double, double) { return 0.0; });
    DspFlg |= SrfDspShd;
    // Look from below, with the lights placed for this camera as the view commands do.
    CamView& v = *CurView();
    v.RotAng[0] = M_PI;
    auto look = [&] {
        IntrCmd(CatDsp, CmdRdrwFront);
        IntrCmd(CatDsp, CmdRdrwAll);
        GL().Grab();
        return At(500000, 500000);
    };
    TwoSide = 0;
    gltest::Rgb one = look();
    EXPECT_GT(one.g, 100) << "one-sided: the top's normals light the underside";
    TwoSide = 1;
    gltest::Rgb two = look();
    EXPECT_NEAR(two.r, 20, 1);
    EXPECT_NEAR(two.g, 20, 1) << "two-sided: the underside faces away from the light";
    v.RotAng[0] = 0;
}

// Regression: a contour lies on the terrain made from it, and at equal depth the surface hid
// every other fragment of the curve (a dashed contour in the plan view and the 3D view).
TEST_F(DrawScn, ContourOnItsTerrainIsDrawnWholeOverTheSurface) {
    // A bowl and one of its contours, a circle. The grid's flat cells cut across the bowl a
    // little above the true surface, so the contour runs just under the drawn terrain.
    constexpr double k = 1e-7, r = 2000000;
    auto z = [](double x, double y) { return k * (x * x + y * y); };
    Terrain(-4000000, -3000000, 4000000, 3000000, 61, 81, z);
    const int n = 72;
    crv* c = NewCrvObj("c");
    for (int i = 0; i <= n; ++i)
        AddCrvPnt(c, static_cast<float>(r * std::cos(2 * M_PI * i / n)),
                  static_cast<float>(r * std::sin(2 * M_PI * i / n)), static_cast<float>(k * r * r));
    SetCrvCol(c, static_cast<float>(k * r * r));
    ASSERT_GE(AtchCrvPrt(TrnPrt, c), 0);
    UdtBox(c, OK_CRV);
    const gltest::Rgb col = Bytes(c->col);
    // Every sampled point of the circle shows the curve within a pixel.
    auto whole = [&] {
        int seen = 0;
        for (int i = 0; i < n; ++i) {
            double a = 2 * M_PI * (i + 0.5) / n, x = r * std::cos(a), y = r * std::sin(a), p[3];
            Win(x, y, z(x, y), p);
            int px = static_cast<int>(std::lround(p[0])), py = static_cast<int>(std::lround(p[1]));
            bool hit = false;
            for (int dy = -1; dy <= 1 && !hit; ++dy)
                for (int dx = -1; dx <= 1 && !hit; ++dx) hit = Same(Px(px + dx, py + dy), col);
            seen += hit;
        }
        return seen;
    };
    SetShdDsp();
    GL().Grab();
    EXPECT_EQ(whole(), n) << "plan view, shaded";
    // The 3D view, fitted and tilted towards the viewer.
    ASSERT_EQ(SwDim(1), 1);
    IntrCmd(CatDsp, CmdFitView);
    CurView()->RotAng[0] = 0.8;
    Redraw();
    EXPECT_EQ(whole(), n) << "3D view, tilted, shaded";
    SwDim(0);
    SetWireDsp();
}

TEST_F(DrawScn, SlopeDisplayColoursEveryVertexByItsClass) {
    srf* s = Terrain(-4000000, -3000000, 4000000, 3000000, 7, 9, [](double, double) { return 0.0; });
    SlpDsp = 1;
    Redraw();
    float c[3];
    SlpCol(0, c);
    gltest::Rgb cls = Bytes(c);
    // A level grid is one class: the cells are filled with its colour, unlit.
    EXPECT_TRUE(Same(At(500000, 500000), cls));
    EXPECT_TRUE(Same(At(-3500000, -2500000), cls));
    EXPECT_GT(GL().Count(cls), W * H / 2);
    // The slope display draws whatever the shading switch says.
    DspFlg |= SrfDspShd;
    Redraw();
    EXPECT_TRUE(Same(At(500000, 500000), cls));
    // The shading menu item leaves the slope display.
    SetShdDsp();
    GL().Grab();
    EXPECT_EQ(SlpDsp, 0);
    (void)s;
}

TEST_F(DrawScn, SelectedVerticesAreRedFivePixelPointsInEveryDisplay) {
    srf* s = Terrain(-4000000, -3000000, 4000000, 3000000, 7, 9, [](double, double) { return 0.0; });
    int* sel = static_cast<int*>(AlcMem(3 * sizeof(int), "VtxSlct"));
    sel[0] = 0 * 9 + 0;
    sel[1] = 3 * 9 + 4;  // the centre
    sel[2] = 5 * 9 + 6;
    VtxSlct = sel;
    NumVtxSlct = 3;
    auto check = [&](const char* what) {
        GL().Grab();
        for (int k = 0; k < 3; ++k) {
            const float* v = s->v + 3 * sel[k];
            double p[3];
            Win(v[0], v[1], v[2], p);
            int x = static_cast<int>(std::lround(p[0])), y = static_cast<int>(std::lround(p[1]));
            int red = GL().Count({255, 0, 0}, 40, x - 4, y - 4, x + 4, y + 4);
            if (x >= 3 && y >= 3 && x < W - 3 && y < H - 3) {
                EXPECT_GE(red, 9) << what << " point " << k;
                EXPECT_LE(red, 30) << what << " point " << k << " is about 5 pixels across";
            } else {
                EXPECT_GE(red, 2) << what << " corner point " << k;
            }
        }
        // Nothing red anywhere else (the slope legend's steepest class is red: not counted).
        int lgd[4];
        const int legendRed = LgdRect(0, lgd) ? GL().Count({255, 0, 0}, 40, lgd[0], lgd[1], lgd[2], lgd[3]) : 0;
        EXPECT_LE(GL().Count({255, 0, 0}, 40) - legendRed, 3 * 30) << what;
    };
    Redraw();
    check("wireframe");
    DspFlg |= SrfDspShd;
    Redraw();
    check("shaded");
    SlpDsp = 1;
    Redraw();
    check("slope");
    SlpDsp = 0;
    // A selection index beyond the grid is skipped, not read.
    sel[2] = 100000;
    Redraw();
    NumVtxSlct = 0;
    Redraw();
    EXPECT_EQ(GL().Count({255, 0, 0}, 40), 0);
    VtxSlct = nullptr;
    FreeMem(sel);
}

TEST_F(DrawScn, ArraysAndVertexByVertexGiveTheSamePicture) {
    Terrain(-3000000, -2000000, 3000000, 2000000, 41, 57, [](double x, double y) {
        return 400000 * std::sin(x / 900000.0) * std::cos(y / 700000.0);
    });
    auto picture = [&](uint8_t arrays) {
        DrwArrOn = arrays;
        Redraw();
        std::vector<gltest::Rgb> px;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) px.push_back(Px(x, y));
        return px;
    };
    auto same = [&](const char* what) {
        std::vector<gltest::Rgb> a = picture(1), b = picture(0);
        int diff = 0;
        for (size_t i = 0; i < a.size(); ++i)
            if (!Same(a[i], b[i], 1)) ++diff;
        EXPECT_EQ(diff, 0) << what;
        EXPECT_LT(GL().Count(kBg), W * H * 3 / 4) << what << ": the terrain is drawn";
    };
    DspFlg |= SrfDspShd;
    same("shaded");
    TwoSide = 1;
    CurView()->RotAng[0] = M_PI;  // from below
    IntrCmd(CatDsp, CmdRdrwFront);
    same("two-sided from below");
    CurView()->RotAng[0] = 0;
    TwoSide = 0;
    SlpDsp = 1;
    same("slope classes");
    DrwArrOn = 1;
}

TEST_F(DrawScn, SlopeClassesFromTheTerrainCommands) {
    // A region built by the region command (flat grid, then redraw), then shaped into three
    // strips: level in the west, a ramp of slope 0.7 in the middle, a cliff of slope 2 in the east.
    TrnRgn[0] = -4000000; TrnRgn[1] = -3000000;
    TrnRgn[3] = 4000000;  TrnRgn[4] = 3000000;
    MshItv = 200000;
    IntrCmd(CatMdl, CmdTrnMsh);
    ASSERT_NE(TrnSrf, nullptr);
    ASSERT_NE(TrnGrd, nullptr);
    GL().Grab();
    EXPECT_TRUE(Same(LineAt(0, 100000), {0, 128, 64})) << "a new terrain: wireframe in its colour";
    auto z = [](double x) {
        if (x < -1000000) return 0.0;
        if (x < 1000000) return 0.7 * (x + 1000000);
        return 1400000 + 2.0 * (x - 1000000);
    };
    for (int i = 0; i < TrnSrf->nv; ++i) TrnSrf->v[3 * i + 2] = static_cast<float>(z(TrnSrf->v[3 * i]));
    CalTrnNrm();
    SlpDsp = 1;
    Redraw();
    EXPECT_TRUE(Same(At(-2500000, 100000), {0, 0, 255})) << "level: blue";
    EXPECT_TRUE(Same(At(0, 100000), {0, 255, 0})) << "0.7 lies between tan 30 and tan 45: green";
    EXPECT_TRUE(Same(At(2500000, 100000), {255, 0, 0})) << "2 is above tan 60: red " << At(2500000, 100000).r << " " << At(2500000, 100000).g << " " << At(2500000, 100000).b;
    // The mean slope counts the level directions along y too: the cliff's mean (2 + 2 + 0 + 0) / 4
    // = 1 is yellow, the ramp's 0.35 cyan.
    SlpMode = 1;
    Redraw();
    EXPECT_TRUE(Same(At(2500000, 100000), {255, 255, 0}));
    EXPECT_TRUE(Same(At(0, 100000), {0, 255, 255}));
    SlpMode = 0;
    // The wireframe menu item leaves the slope display.
    SetWireDsp();
    GL().Grab();
    EXPECT_EQ(SlpDsp, 0);
    EXPECT_TRUE(Same(At(-2500000, 100000), kBg));
}

TEST_F(DrawScn, LargeGridsAreCoarserOnlyWhileAButtonIsHeld) {
    // 401 x 301 vertices, cells of 0.8 pixels, ridges one cell wide: shaded at full detail the
    // ridges blur into one another; every third row and column while a button is held.
    Terrain(-4000000, -3000000, 4000000, 3000000, 301, 401, [](double x, double) {
        return (static_cast<long long>(std::floor(x / 20000.0)) & 1) ? 20000.0 : 0.0;
    });
    DspFlg |= SrfDspShd;
    Redraw();
    std::vector<int> full;
    for (int x = 0; x < W; ++x) full.push_back(Px(x, H / 2).g);
    BtnHeld = 1;
    Redraw();
    int differ = 0;
    for (int x = 0; x < W; ++x) differ += Px(x, H / 2).g != full[x];
    BtnHeld = 0;
    EXPECT_GT(differ, W / 8) << "a coarser grid while the button is held";
    Redraw();
    differ = 0;
    for (int x = 0; x < W; ++x) differ += Px(x, H / 2).g != full[x];
    EXPECT_EQ(differ, 0) << "full detail again on release";
    DspFlg &= ~SrfDspShd;
    FreeSrf(TrnSrf, true);
    int full0;
    // Small grids keep every line.
    FreeSrf(TrnSrf, true);
    Terrain(-4000000, -3000000, 4000000, 3000000, 7, 9, [](double, double) { return 0.0; });
    Redraw();
    full0 = GL().Count(kBg);
    BtnHeld = 1;
    Redraw();
    BtnHeld = 0;
    EXPECT_EQ(GL().Count(kBg), full0);
}

// Fault: a wireframe of 801 x 601 vertices filled in to a flat green slab at the first 3D view.
TEST_F(DrawScn, DenseWireframeThinsToLinesFourPixelsApartAndFillsInWhenZoomedIn) {
    // 401 x 301 vertices, cells of 0.8 pixels: every fifth line, the edges kept.
    Terrain(-4000000, -3000000, 4000000, 3000000, 301, 401, [](double, double) { return 0.0; });
    Redraw();
    int open = GL().Count(kBg, 2, W / 4, H / 4, 3 * W / 4, 3 * H / 4);
    int area = (W / 2 + 1) * (H / 2 + 1);
    EXPECT_GT(open, area / 2) << "open cells show between the lines";
    EXPECT_LT(open, area) << "yet the lines are there";
    EXPECT_TRUE(Same(LineAt(-4000000, 0), {0, 128, 64})) << "the edges stay";
    EXPECT_TRUE(Same(LineAt(4000000, 0), {0, 128, 64}));
    // Lines at most a little more than 4 pixels apart along a row of the window.
    int gap = 0, most = 0;
    for (int x = W / 4; x < 3 * W / 4; ++x) {
        gap = Same(Px(x, H / 2 + 3), kBg) ? gap + 1 : 0;
        most = std::max(most, gap);
    }
    EXPECT_LE(most, 6);
    EXPECT_GE(most, 3);
    // Zoomed in to cells of 8 pixels: every line.
    CurView()->ScrWid /= 10;
    SetView(0);
    EXPECT_EQ(WireStep(0, 20000), 1);
    Redraw();
    gap = most = 0;
    for (int x = W / 4; x < 3 * W / 4; ++x) {
        gap = Same(Px(x, H / 2 + 3), kBg) ? gap + 1 : 0;
        most = std::max(most, gap);
    }
    EXPECT_LE(most, 11) << "cells of 10 pixels";
}

TEST_F(DrawScn, TransparentMaterialBlendsWithWhatIsBehind) {
    srf* s = Terrain(-4000000, -3000000, 4000000, 3000000, 7, 9, [](double, double) { return 0.0; });
    DspFlg |= SrfDspShd;
    Redraw();
    gltest::Rgb opaque = At(500000, 500000);
    ASSERT_FALSE(Same(opaque, kBg));
    mtl* m = s->mtlPtr;
    ASSERT_NE(m, nullptr);
    m->val2 = 0.5f;  // half transparent
    UdtPrmMtl();
    Redraw();
    gltest::Rgb half = At(500000, 500000);
    EXPECT_NEAR(half.r, (opaque.r + kBg.r) / 2, 3);
    EXPECT_NEAR(half.g, (opaque.g + kBg.g) / 2, 3);
    EXPECT_NEAR(half.b, (opaque.b + kBg.b) / 2, 3);
    // At most 80 % transparency is shown.
    m->val2 = 0.95f;
    UdtPrmMtl();
    Redraw();
    gltest::Rgb most = At(500000, 500000);
    EXPECT_NEAR(most.g, opaque.g * 0.2 + kBg.g * 0.8, 3);
    m->val2 = 0;
    UdtPrmMtl();
}

}  // namespace
