// Lights and materials on display: the binding of the flattened lights to OpenGL lights,
// light angles and directions, and the display materials.
#include "display/lgt.h"
#include <GL/gl.h>
#include <cmath>
#include <cstring>
#include "core/alc.h"
#include "core/state.h"
#include "display/glctx.h"
#include "display/view.h"
#include "display/viewint.h"
#include "core/viewmath.h"
#include "platform/platform.h"
#include "scene/scene.h"

float (*RndrOGL_Mtl)[17] = nullptr;
int RndrOGL_MtlCap = 0;

LgtBind* LgtTbl = nullptr;
int NumLgtTbl = 0;

constexpr float WireMinGrey = 0.2f;  // the wireframe's lowest grey, also the floor of dark materials

void UdtLgtTbl() {
    LgtBind* t = nullptr;
    if (NumLgt > 0) {
        t = static_cast<LgtBind*>(
            AlcMem(static_cast<long long>(NumLgt) * static_cast<long long>(sizeof(LgtBind)),
                   "UdtLgtTbl:LgtTbl"));
        for (int k = 0; k < NumLgt; k++) {
            t[k].idx = k;
            t[k].word = 0;
            MatIdt(t[k].posMtx);
            MatIdt(t[k].dirMtx);
        }
    }
    FreeMem(LgtTbl);
    LgtTbl = t;
    NumLgtTbl = NumLgt;
}

namespace {
const LgtRec* BindLgt(int i) {
    if (!LgtTbl || !PrmLgt || i >= NumLgtTbl) return nullptr;
    int k = LgtTbl[i].idx;
    if (k < 0 || k >= NumLgt) return nullptr;
    return &PrmLgt[k];
}

void Atten(GLenum id, float kind) {
    float c = 1, l = 0, q = 0;
    // Without a positive attenuation distance there is nothing to divide by: light as unattenuated.
    if (AttDst > 0 && kind >= 0.5f) {
        c = 0;
        if (kind < 1.5f) l = static_cast<float>(1 / AttDst);
        else q = static_cast<float>(1 / (AttDst * AttDst));
    }
    glLightf(id, GL_CONSTANT_ATTENUATION, c);
    glLightf(id, GL_LINEAR_ATTENUATION, l);
    glLightf(id, GL_QUADRATIC_ATTENUATION, q);
}

void LgtOne(int i, const LgtRec& L, const LgtBind& b) {
    GLenum id = GL_LIGHT0 + i;
    float c[4] = {L.col[0] * L.intens, L.col[1] * L.intens, L.col[2] * L.intens, 1.0f};
    static const float black[4] = {0, 0, 0, 1};
    glLightfv(id, GL_AMBIENT, black);
    if (L.kind == LgtAmb) {
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, c);
        glLightfv(id, GL_DIFFUSE, black);
        glLightfv(id, GL_SPECULAR, black);
        static const float org[4] = {0, 0, 0, 1};
        glLightfv(id, GL_POSITION, org);
        return;
    }
    glLightfv(id, GL_DIFFUSE, c);
    glLightfv(id, GL_SPECULAR, c);
    if (L.kind == LgtPar) {
        // The modelview stretches heights in an exaggerated view: hand over the direction
        // squeezed by as much, so that the light keeps its real elevation.
        double ex = ViewWin[CurGLWin >= 0 && CurGLWin < ViewWinMax ? CurGLWin : 0].exag;
        float pos[4] = {L.dir[0], L.dir[1], ex > 1 ? static_cast<float>(L.dir[2] / ex) : L.dir[2], 0};
        glLightfv(id, GL_POSITION, pos);
        glLightf(id, GL_SPOT_CUTOFF, 180);
        return;
    }
    double p[3] = {L.pos[0], L.pos[1], L.pos[2]}, q[3];
    PntMul(p, b.posMtx, q);
    float pos[4] = {static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2]), 1};
    glLightfv(id, GL_POSITION, pos);
    if (L.kind == LgtSpot) {
        double d[3] = {-L.dir[0], -L.dir[1], -L.dir[2]}, e[3];
        VecMul(d, b.dirMtx, e);
        float sd[3] = {static_cast<float>(e[0]), static_cast<float>(e[1]), static_cast<float>(e[2])};
        glLightfv(id, GL_SPOT_DIRECTION, sd);
        glLightf(id, GL_SPOT_EXPONENT, L.spotExp > 128 ? 128 : (L.spotExp < 0 ? 0 : L.spotExp));
        float cut = static_cast<float>(L.spotAng * 90 / M_PI);
        // Beyond a quarter turn the cone is no cone: light all round as a point light does.
        if (!(cut >= 0 && cut <= 90)) cut = 180;
        glLightf(id, GL_SPOT_CUTOFF, cut);
    } else {
        glLightf(id, GL_SPOT_CUTOFF, 180);
    }
    Atten(id, L.attKind);
}

void LgtWin() {
    static const float zero[4] = {0, 0, 0, 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
    glDisable(GL_LIGHTING);
    for (int i = 0; i < 8; i++) glDisable(GL_LIGHT0 + i);
    glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, 1.0f);
    int n = NumLgtTbl < 8 ? NumLgtTbl : 8;
    for (int i = 0; i < n; i++) {
        const LgtRec* L = BindLgt(i);
        if (L && L->on) LgtOne(i, *L, LgtTbl[i]);
    }
    glDisable(GL_FOG);
}
}  // namespace

namespace {
// Lights sit where the modelview put them when they were handed over. The window system may have
// had another context current at that time (a dialog's own painting), so each drawing pass hands
// them over again into its own context whenever the lights or the camera changed since.
unsigned LgtGen = 1;
struct {
    unsigned gen = 0;
    double mtx[4][4];
    double exag;
} Placed[ViewWinMax];
}  // namespace

void PlcLgtGL(int w) {
    if (w < 0 || w >= ViewWinMax || !GLCtxCur()) return;
    const ViewWinRec& vw = ViewWin[w];
    auto& p = Placed[w];
    if (p.gen == LgtGen && p.exag == vw.exag &&
        std::memcmp(p.mtx, vw.MdlToDev, sizeof p.mtx) == 0)
        return;
    LgtWin();
    p.gen = LgtGen;
    p.exag = vw.exag;
    std::memcpy(p.mtx, vw.MdlToDev, sizeof p.mtx);
}

void SetLgtGL() {
    ++LgtGen;
    int prev = CurGLWin;
    bool moved = false;
    for (int w = 0; w < ViewWinMax; w++) {
        if (!WinOpn[w] || SetCurWin(w) != 1 || !GLCtxCur()) continue;
        LgtWin();
        moved = moved || w != prev;
    }
    if (moved && prev >= 0) SetCurWin(prev);
}

void EnaLgtGL() {
    if (!PrmLgt || !GLCtxCur()) return;
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    for (int i = 0; i < 8; i++) glDisable(GL_LIGHT0 + i);
    int n = NumLgtTbl < 8 ? NumLgtTbl : 8;
    for (int i = 0; i < n; i++) {
        const LgtRec* L = BindLgt(i);
        if (L && L->on && L->kind != LgtAmb) glEnable(GL_LIGHT0 + i);
    }
}

namespace {
// The lights were rebuilt: bind them again and hand them over to every open window.
void HandLgtGL() {
    UdtLgtTbl();
    SetGLView(0);
    SetLgtGL();
}

// The scene calls these when its flattened tables change.
const bool Hooked = [] {
    ScnHook.lgtChg = HandLgtGL;
    ScnHook.mtlChg = MkMtlGL;
    return true;
}();
}  // namespace

int UdtPrmLgt() {
    if (RbdPrmLgt() < 0) return -1;
    HandLgtGL();
    return 0;
}

void SetLgtAzEl(lgt* l, int az, int el) {
    if (!l) return;
    double d[3];
    int e = ((el % 360) + 360) % 360;
    if (e == 90) {
        d[0] = 0; d[1] = 0; d[2] = 1;
    } else if (e == 270) {
        // Straight down: the tangent's pole would give the wrong sign.
        d[0] = 0; d[1] = 0; d[2] = -1;
    } else {
        // A compass bearing, clockwise from north (+y): the side the light comes from.
        double a = az * M_PI / 180;
        d[0] = std::sin(a);
        d[1] = std::cos(a);
        d[2] = std::tan(el * M_PI / 180);
        Norm(d);
    }
    for (int i = 0; i < 3; i++) l->r.dir[i] = static_cast<float>(d[i]);
    LgtDirAng(l->r.dir, l->r.ang);
    UdtPrmLgt();
}

namespace {
// Whole degrees toward zero; an angle that is a whole degree but for float rounding (a direction
// stored by SetLgtAzEl) keeps that degree, so that OK without changes does not drift.
int TruncDeg(double x) {
    double r = std::round(x);
    if (std::fabs(x - r) < 1e-3) return static_cast<int>(r);
    return static_cast<int>(std::trunc(x));
}
}  // namespace

void GetLgtAzEl(const lgt* l, int* az, int* el) {
    if (!l) return;
    double dx = l->r.dir[0], dy = l->r.dir[1], dz = l->r.dir[2];
    double th = (dx == 0 && dy == 0) ? 0 : std::atan2(dx, dy) * 180 / M_PI;
    int a = TruncDeg(th);
    int e = TruncDeg(std::atan2(dz, std::sqrt(dx * dx + dy * dy)) * 180 / M_PI);
    while (a < 0) a += 360;
    while (a > 360) a -= 360;
    while (e < 0) e += 360;
    while (e > 360) e -= 360;
    if (az) *az = a;
    if (el) *el = e;
}

void MkMtlGL(int m) {
    if (m < 0 || m >= NumMtl || !PrmMtl) return;
    if (NumMtl > RndrOGL_MtlCap) {
        auto* t = static_cast<float(*)[17]>(RealcMem(
            RndrOGL_Mtl, static_cast<long long>(NumMtl) * 17 * static_cast<long long>(sizeof(float)),
            "RndrOGL_Mtl"));
        if (!t) return;
        RndrOGL_Mtl = t;
        RndrOGL_MtlCap = NumMtl;
    }
    const mtl* M = PrmMtl[m];
    float* e = RndrOGL_Mtl[m];
    if (!M) { std::memset(e, 0, 17 * sizeof(float)); return; }
    float al = 1 - M->val2, s = M->val3;
    for (int i = 0; i < 3; i++) {
        if (s <= 0.001f) {
            e[i] = M->amb[i];
            e[4 + i] = M->dif[i];
            e[12 + i] = 0;
        } else {
            e[i] = 0;
            e[4 + i] = 0;
            e[12 + i] = s * M->dif[i];
        }
        e[8 + i] = M->spc[i];
    }
    e[3] = e[7] = e[15] = al;
    e[11] = 1.0f;
    e[16] = M->shin;
}

bool MtlGLCol(int m, float out[17]) {
    if (m >= NumMtl) m = NumMtl - 1;
    if (m < 0 || m >= RndrOGL_MtlCap || !RndrOGL_Mtl) return false;
    std::memcpy(out, RndrOGL_Mtl[m], 17 * sizeof(float));
    for (int c = 0; c < 4; c++)
        if (out[c * 4 + 3] < 0.2f) out[c * 4 + 3] = 0.2f;
    float* d = out + 4;
    float mx = std::fmax(d[0], std::fmax(d[1], d[2])), mn = std::fmin(d[0], std::fmin(d[1], d[2]));
    float L = (mx + mn) / 2, S;
    if (mx - mn < 0.001f) S = 0;
    else if (L <= 0.5f) S = (mx - mn) / (mx + mn);
    else S = (mx - mn) / (2 - mx - mn);
    // Dark greys are lifted so a shaded surface never vanishes into the background; a
    // self-illuminated material has its diffuse black on purpose and keeps it.
    bool glows = out[12] > 0 || out[13] > 0 || out[14] > 0;
    if (!glows && S < 0.005f && L < WireMinGrey) d[0] = d[1] = d[2] = WireMinGrey;
    return true;
}

void SetMtlGL(int m) {
    if (!GLCtxCur()) return;
    glDisable(GL_ALPHA_TEST);
    glDepthFunc(GL_LEQUAL);
    float c[17];
    if (!MtlGLCol(m, c)) return;
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, c + 4);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, c + 12);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, c + 8);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, c[16] > 128 ? 128 : (c[16] < 0 ? 0 : c[16]));
}
