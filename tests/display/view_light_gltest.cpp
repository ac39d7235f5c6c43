#include <GL/gl.h>
#include <cmath>
#include <cstring>
#include <vector>
#include "core/cmd.h"
#include "display/lgt.h"
#include "display/view.h"
#include "scene/scene.h"
#include "support/draw_fixture.h"

namespace {
constexpr double Deg = M_PI / 180;

void ExpectVec(const float* a, double x, double y, double z, double tol, const char* what) {
    EXPECT_NEAR(a[0], x, tol) << what;
    EXPECT_NEAR(a[1], y, tol) << what;
    EXPECT_NEAR(a[2], z, tol) << what;
}

LgtRec Lgt(int kind, float r, float g, float b) {
    LgtRec l{};
    l.kind = static_cast<uint8_t>(kind);
    l.col[0] = r; l.col[1] = g; l.col[2] = b;
    l.intens = 1;
    l.on = 1;
    l.dir[2] = 1;
    return l;
}
}  // namespace

// ---- Directions, angles, azimuth and elevation (no GL needed) ----

using LightAng = EngineTest;

TEST_F(LightAng, AngleOrders) {
    float ang[3] = {0, static_cast<float>(54.7 * Deg), static_cast<float>(-135 * Deg)}, d[3];
    LgtAngDir(ang, 0, d);
    ExpectVec(d, 0.4086, 0.4086, 0.8161, 1e-4, "start-up light");
    // A quarter turn about every axis: the order decides where the base vector ends.
    const double want[6][3] = {{0, 0, 1}, {0, -1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, -1}};
    float q[3] = {static_cast<float>(M_PI / 2), static_cast<float>(M_PI / 2),
                  static_cast<float>(M_PI / 2)};
    for (int o = 0; o < 6; o++) {
        LgtAngDir(q, o, d);
        ExpectVec(d, want[o][0], want[o][1], want[o][2], 1e-6, "order");
    }
}

TEST_F(LightAng, DirectionToAngles) {
    const float dirs[][3] = {{0.3f, -0.5f, 0.8f}, {0, -1, 0}, {1, 0, 0}, {-2, 2, -1}, {0, 0, 5}};
    for (auto& d0 : dirs) {
        float a[3];
        LgtDirAng(d0, a);
        EXPECT_EQ(a[2], 0);
        // (0, 0, 1) turned by the angles gives the direction back.
        double cx = std::cos(a[0]), sx = std::sin(a[0]), cy = std::cos(a[1]), sy = std::sin(a[1]);
        double v[3] = {cx * sy, -sx, cx * cy};
        double l = std::sqrt(d0[0] * d0[0] + d0[1] * d0[1] + d0[2] * d0[2]);
        for (int i = 0; i < 3; i++) EXPECT_NEAR(v[i], d0[i] / l, 1e-5);
    }
    float a[3];
    float down[3] = {0, -1, 0};
    LgtDirAng(down, a);
    EXPECT_NEAR(a[0], M_PI / 2, 1e-6);
    EXPECT_EQ(a[1], 0);
}

TEST_F(LightAng, AzimuthAndElevation) {
    lgt* l = CurLgtObj;
    ASSERT_NE(l, nullptr);
    int az = -1, el = -1;
    GetLgtAzEl(l, &az, &el);
    EXPECT_EQ(el, 54);
    EXPECT_EQ(az, 45);  // the start-up light stands to the north-east
    // (1, 2, 2) / 3 opens at 26 / 41 (26.57 degrees east of north); OK stores the direction of
    // (26, 41).
    l->r.dir[0] = 1.0f / 3; l->r.dir[1] = 2.0f / 3; l->r.dir[2] = 2.0f / 3;
    GetLgtAzEl(l, &az, &el);
    EXPECT_EQ(az, 26);
    EXPECT_EQ(el, 41);
    SetLgtAzEl(l, az, el);
    ExpectVec(l->r.dir, 0.3308, 0.6783, 0.6561, 1e-4, "stored");
    // The flattened copy follows (the light table was rebuilt).
    ASSERT_GE(l->r.prmIdx, 0);
    ExpectVec(PrmLgt[l->r.prmIdx].dir, 0.3308, 0.6783, 0.6561, 1e-4, "PrmLgt");
    // Reopened and confirmed again, the dialog shows and keeps the same figures.
    for (int i = 0; i < 3; i++) {
        GetLgtAzEl(l, &az, &el);
        EXPECT_EQ(az, 26);
        EXPECT_EQ(el, 41);
        SetLgtAzEl(l, az, el);
    }
    for (int a = 0; a <= 360; a += 7)
        for (int e = 0; e <= 89; e += 11) {
            SetLgtAzEl(l, a, e);
            int a2, e2;
            GetLgtAzEl(l, &a2, &e2);
            EXPECT_EQ(a2 % 360, a % 360) << a << " " << e;
            EXPECT_EQ(e2, e) << a << " " << e;
        }
    // Compass bearings: 0 north (+y), 90 east, 180 south, 270 west.
    SetLgtAzEl(l, 0, 0);
    ExpectVec(l->r.dir, 0, 1, 0, 1e-6, "azimuth 0");
    ExpectVec(l->r.ang, -90 * Deg, 0, 0, 1e-6, "azimuth 0 angles");
    SetLgtAzEl(l, 90, 0);
    ExpectVec(l->r.dir, 1, 0, 0, 1e-6, "azimuth 90");
    ExpectVec(l->r.ang, 0, 90 * Deg, 0, 1e-6, "azimuth 90 angles");
    SetLgtAzEl(l, 180, 0);
    ExpectVec(l->r.dir, 0, -1, 0, 1e-6, "azimuth 180");
    SetLgtAzEl(l, 315, 0);
    ExpectVec(l->r.dir, -std::sqrt(0.5), std::sqrt(0.5), 0, 1e-6, "azimuth 315");
    for (int a : {0, 45, 200}) {
        SetLgtAzEl(l, a, 90);
        ExpectVec(l->r.dir, 0, 0, 1, 1e-7, "zenith");
        GetLgtAzEl(l, &az, &el);
        EXPECT_EQ(az, 0);
        EXPECT_EQ(el, 90);
    }
    // Below the horizon: -30.5 degrees shows as 330.
    l->r.dir[0] = 1; l->r.dir[1] = 0; l->r.dir[2] = static_cast<float>(std::tan(-30.5 * Deg));
    GetLgtAzEl(l, &az, &el);
    EXPECT_EQ(el, 330);
    EXPECT_EQ(az, 90);
    SetLgtAzEl(l, 0, 330);
    EXPECT_LT(l->r.dir[2], 0);
    SetLgtAzEl(l, 0, 270);  // straight down, not up
    ExpectVec(l->r.dir, 0, 0, -1, 1e-7, "nadir");
}

// ---- Display materials (no GL needed) ----

class MtlConv : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        savedN = NumMtl;
        savedP = PrmMtl;
    }
    void TearDown() override {
        NumMtl = savedN;
        PrmMtl = savedP;
        for (int m = 0; m < NumMtl; m++) MkMtlGL(m);
        EngineTest::TearDown();
    }
    void Use(std::vector<mtl*> v) {
        tbl = v;
        NumMtl = static_cast<int>(tbl.size());
        PrmMtl = tbl.data();
        for (int m = 0; m < NumMtl; m++) MkMtlGL(m);
    }
    static mtl Mat(float dr, float dg, float db, float t = 0, float s = 0) {
        mtl m{};
        for (int i = 0; i < 3; i++) { m.amb[i] = 0.2f; m.spc[i] = 0.3f; }
        m.dif[0] = dr; m.dif[1] = dg; m.dif[2] = db;
        m.shin = 50;
        m.val2 = t;
        m.val3 = s;
        return m;
    }
    int savedN;
    mtl** savedP;
    std::vector<mtl*> tbl;
};

TEST_F(MtlConv, TerrainMaterialAfterStartUp) {
    // The terrain scene's first material, converted when the material table was rebuilt.
    ASSERT_GE(NumMtl, 1);
    ASSERT_GE(RndrOGL_MtlCap, NumMtl);
    const float* e = RndrOGL_Mtl[0];
    ExpectVec(e, 0.2, 0.2, 0.2, 1e-6, "ambient");
    ExpectVec(e + 4, 0, 0.5, 0.25, 1e-6, "diffuse");
    ExpectVec(e + 8, 0.3, 0.3, 0.3, 1e-6, "specular");
    EXPECT_EQ(e[3], 1.0f);
    EXPECT_EQ(e[16], 50.0f);
}

TEST_F(MtlConv, SelfIlluminationTransparencyAndDarkGrey) {
    mtl glow = Mat(1, 0, 0, 0, 0.5f), glass = Mat(0, 0.5f, 0, 0.9f), dark = Mat(0.1f, 0.1f, 0.1f),
        blue = Mat(0, 0, 0.1f);
    Use({&glow, &glass, &dark, &blue});
    float c[17];
    ASSERT_TRUE(MtlGLCol(0, c));
    ExpectVec(c, 0, 0, 0, 0, "glow ambient");
    ExpectVec(c + 4, 0, 0, 0, 0, "glow diffuse");
    ExpectVec(c + 12, 0.5, 0, 0, 1e-7, "glow emission");
    EXPECT_EQ(c[11], 1.0f);  // specular alpha
    ASSERT_TRUE(MtlGLCol(1, c));
    EXPECT_NEAR(RndrOGL_Mtl[1][7], 0.1, 1e-6);  // stored as 1 - t
    EXPECT_FLOAT_EQ(c[3], 0.2f);                // shown with at most 80 % transparency
    EXPECT_FLOAT_EQ(c[7], 0.2f);
    EXPECT_FLOAT_EQ(c[15], 0.2f);
    ASSERT_TRUE(MtlGLCol(2, c));
    ExpectVec(c + 4, 0.2, 0.2, 0.2, 1e-7, "dark grey lifted");
    ASSERT_TRUE(MtlGLCol(3, c));
    ExpectVec(c + 4, 0, 0, 0.1, 1e-7, "saturated dark kept");
    // Beyond the table: the last material; negative: none.
    ASSERT_TRUE(MtlGLCol(9, c));
    ExpectVec(c + 4, 0, 0, 0.1, 1e-7, "last");
    EXPECT_FALSE(MtlGLCol(-1, c));
    // A growing table grows the display materials.
    std::vector<mtl> more(12, Mat(0.5f, 0.5f, 0.5f));
    std::vector<mtl*> ptrs;
    for (auto& m : more) ptrs.push_back(&m);
    Use(ptrs);
    EXPECT_GE(RndrOGL_MtlCap, 12);
    ASSERT_TRUE(MtlGLCol(11, c));
    ExpectVec(c + 4, 0.5, 0.5, 0.5, 1e-7, "grown");
}

// ---- OpenGL state read back from a headless context ----

class ViewGL : public DrawTestT<200, 160> {
protected:
    void TearDown() override {
        PixAsp[0] = PixAsp[1] = 1;
        AttDst = 0;
        if (gl_) UdtPrmLgt();  // back to the scene's lights
        DrawTestT::TearDown();
    }
    void Cur() { ASSERT_TRUE(GL().GLMakeCurrent(0)); }
    // Window position of p through the GL matrices and viewport.
    static void GLWin(const double p[3], double out[2]) {
        float mv[16], pr[16];
        int vp[4];
        glGetFloatv(GL_MODELVIEW_MATRIX, mv);
        glGetFloatv(GL_PROJECTION_MATRIX, pr);
        glGetIntegerv(GL_VIEWPORT, vp);
        double e[4], c[4];
        for (int i = 0; i < 4; i++)
            e[i] = mv[i] * p[0] + mv[4 + i] * p[1] + mv[8 + i] * p[2] + mv[12 + i];
        for (int i = 0; i < 4; i++)
            c[i] = pr[i] * e[0] + pr[4 + i] * e[1] + pr[8 + i] * e[2] + pr[12 + i] * e[3];
        out[0] = vp[0] + (c[0] / c[3] + 1) / 2 * vp[2];
        out[1] = H - (vp[1] + (c[1] / c[3] + 1) / 2 * vp[3]);
    }
    void Lights(std::vector<LgtRec> ls) {
        lts = ls;
        for (int i = 0; i < static_cast<int>(lts.size()); i++) PrmLgt[i] = lts[i];
        NumLgt = static_cast<int>(lts.size());
        UdtLgtTbl();
        SetGLView(0);
        SetLgtGL();
        Cur();
    }
    std::vector<LgtRec> lts;
};

TEST_F(ViewGL, StartUpLights) {
    SetGLView(0);
    SetLgtGL();
    Cur();
    float v[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
    ExpectVec(v, 0.4, 0.4, 0.4, 1e-6, "model ambient");
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    ExpectVec(v, 0, 0, 0, 0, "light 0 diffuse");
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, v);
    ExpectVec(v, 1, 1, 1, 1e-6, "light 1 diffuse");
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, v);
    ExpectVec(v, 0, 0, 0, 0, "light 1 ambient");
    // The top view looks down -z with x right: the eye sees the direction unchanged.
    glGetLightfv(GL_LIGHT1, GL_POSITION, v);
    ExpectVec(v, 0.4086, 0.4086, 0.8161, 1e-4, "light 1 position");
    EXPECT_EQ(v[3], 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EnaLgtGL();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));  // the ambient entry is never lit as a light
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(ViewGL, TheLaterAmbientLightWins) {
    Lights({Lgt(0, 0.4f, 0.4f, 0.4f), Lgt(1, 1, 1, 1), Lgt(0, 0.1f, 0.2f, 0.3f)});
    float v[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
    ExpectVec(v, 0.1, 0.2, 0.3, 1e-6, "model ambient");
    EnaLgtGL();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
}

TEST_F(ViewGL, OnlyTheFirstEightLightsAreShown) {
    std::vector<LgtRec> ten;
    for (int i = 0; i < 10; i++) ten.push_back(Lgt(1, i / 10.0f, 0.5f, 1));
    ten[3].on = 0;
    Lights(ten);
    float v[4];
    for (int i = 0; i < 8; i++) {
        glGetLightfv(GL_LIGHT0 + i, GL_DIFFUSE, v);
        if (i != 3) {
            EXPECT_NEAR(v[0], i / 10.0, 1e-6) << i;
        }
    }
    EnaLgtGL();
    for (int i = 0; i < 8; i++) EXPECT_EQ(glIsEnabled(GL_LIGHT0 + i), i != 3) << i;
}

TEST_F(ViewGL, PointAndSpotLights) {
    LgtRec spot = Lgt(3, 1, 0.5f, 0.25f);
    spot.intens = 2;
    spot.pos[0] = 10; spot.pos[1] = 20; spot.pos[2] = 30;
    spot.spotExp = 300;
    spot.spotAng = static_cast<float>(M_PI / 3);
    spot.attKind = 1;
    LgtRec pnt = Lgt(2, 1, 1, 1);
    pnt.attKind = 2;
    Lights({spot, pnt});
    float v[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    ExpectVec(v, 2, 1, 0.5, 1e-6, "colour times intensity");
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, v);
    EXPECT_EQ(v[0], 128);
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, v);
    EXPECT_NEAR(v[0], 30, 1e-4);
    glGetLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, v);
    EXPECT_NEAR(v[2], -1, 1e-6);  // towards the scene, seen from above
    glGetLightfv(GL_LIGHT0, GL_POSITION, v);
    EXPECT_EQ(v[3], 1);
    EXPECT_NEAR(v[0], 10, 1e-3);
    // With no attenuation distance the lights are not attenuated.
    glGetLightfv(GL_LIGHT0, GL_CONSTANT_ATTENUATION, v);
    EXPECT_EQ(v[0], 1);
    glGetLightfv(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, v);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    AttDst = 100;
    Lights({spot, pnt});
    glGetLightfv(GL_LIGHT0, GL_LINEAR_ATTENUATION, v);
    EXPECT_NEAR(v[0], 0.01, 1e-7);
    glGetLightfv(GL_LIGHT0, GL_CONSTANT_ATTENUATION, v);
    EXPECT_EQ(v[0], 0);
    glGetLightfv(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, v);
    EXPECT_NEAR(v[0], 1e-4, 1e-10);
}

TEST_F(ViewGL, FaceTurnedAwayFromTheLightShowsTheAmbientOnly) {
    SetGLView(0);
    SetLgtGL();
    Cur();
    GL().GLDrawBuffer(0, plt::BufBack);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    SetGLView(0);
    EnaLgtGL();
    SetMtlGL(0);  // the terrain material
    const float a = 3e6f;
    for (int pass = 0; pass < 2; pass++) {
        float nz = pass == 0 ? -1.0f : 1.0f;
        float x0 = pass == 0 ? -a : 0, x1 = pass == 0 ? 0 : a;
        glBegin(GL_QUADS);
        glNormal3f(0, 0, nz);
        glVertex3f(x0, -a, 0);
        glVertex3f(x1, -a, 0);
        glVertex3f(x1, a, 0);
        glVertex3f(x0, a, 0);
        glEnd();
    }
    glDisable(GL_LIGHTING);
    GL().GLSwap(0);
    GL().Grab();
    // 0.2 ambient material times 0.4 model ambient.
    gltest::Rgb away = GL().Px(W / 2 - 20, H / 2);
    EXPECT_NEAR(away.r, 20, 2);
    EXPECT_NEAR(away.g, 20, 2);
    EXPECT_NEAR(away.b, 20, 2);
    // Lit: green from the diffuse colour dominates.
    gltest::Rgb lit = GL().Px(W / 2 + 20, H / 2);
    EXPECT_GT(lit.g, 100);
    EXPECT_GT(lit.g, lit.r);
}

TEST_F(ViewGL, MatricesMatchTheWindowMapping) {
    CamView& v = CurCamObj->view;
    const double pts[][3] = {{0, 0, 0}, {1e6, -2e6, 3e5}, {-3e6, 1e6, -1e5}};
    for (int prj = 1; prj <= 2; prj++) {
        v.PrjFlg = static_cast<uint8_t>(prj);
        v.RotAng[0] = 0.9; v.RotAng[1] = 0.1; v.RotAng[2] = -0.4;
        v.ScrShf[0] = 2e5; v.ScrShf[1] = -1e5;
        v.ScrDst = 1.5e7;
        v.EyeDst = 1.5e7;
        v.ClpNear = 1e5; v.ClpFar = 4e7;
        v.AutoClp = 0;
        SetView(0);
        SetGLView(0);
        Cur();
        for (auto& p : pts) {
            double g[2], w[3];
            GLWin(p, g);
            MdlToWin(p, 0, w);
            double tol = prj == 1 ? 1e-2 : 1.0;  // the perspective viewport is a pixel smaller
            EXPECT_NEAR(g[0], w[0], tol) << prj;
            EXPECT_NEAR(g[1], w[1], tol) << prj;
        }
    }
    // Pixel aspect (2, 1) halves the visible model width of the parallel projection.
    v.PrjFlg = PrjPar;
    v.ScrShf[0] = v.ScrShf[1] = 0;
    SetView(0);
    SetGLView(0);
    Cur();
    float pr[16];
    glGetFloatv(GL_PROJECTION_MATRIX, pr);
    float sx = pr[0];
    PixAsp[0] = 2;
    SetGLView(0);
    Cur();
    glGetFloatv(GL_PROJECTION_MATRIX, pr);
    EXPECT_NEAR(pr[0], 2 * sx, std::fabs(sx) * 1e-5);
    int vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], W);
    EXPECT_EQ(vp[3], H);
}

TEST_F(ViewGL, DimensionSwitchPlacesTheLightsForTheNewCamera) {
    ASSERT_NE(Cam3D, nullptr);
    Cam3D->view.RotAng[2] = M_PI / 2;  // the 3D camera is turned a quarter about z
    SwDim(1);
    Cur();
    float v[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, v);
    // Eye x is the world direction along the camera's right vector (0, 1, 0), eye y along -x.
    ExpectVec(v, 0.4086, -0.4086, 0.8161, 1e-4, "after the switch");
    SwDim(0);
    Cur();
    glGetLightfv(GL_LIGHT1, GL_POSITION, v);
    ExpectVec(v, 0.4086, 0.4086, 0.8161, 1e-4, "back in 2D");
}
