// The view window's projection and modelview matrices handed to OpenGL.
#include <GL/gl.h>
#include <cmath>
#include "core/state.h"
#include "core/msg.h"
#include "display/glctx.h"
#include "display/view.h"
#include "display/viewint.h"
#include "platform/platform.h"

namespace {
// The view window whose context is current (window 0 when none is).
const ViewWinRec& GLWinV() { return ViewWin[CurGLWin >= 0 && CurGLWin < ViewWinMax ? CurGLWin : 0]; }
}  // namespace

bool GLCtxCur() { return glGetString(GL_VERSION) != nullptr; }

void GetOrthGL() {
    if (!GLCtxCur()) return;
    const ViewWinRec& vw = GLWinV();
    const CamView& v = vw.v;
    double h = PixAsp[0], vv = PixAsp[1];
    float a = h * vv >= 0.001 ? static_cast<float>(vv / h) : 1.0f;
    double half = v.ScrWid / 2;
    double l = -half * a + v.ScrShf[0], r = half * a + v.ScrShf[0];
    double hh = half * vw.H / vw.W;
    double b = -hh + v.ScrShf[1], t = hh + v.ScrShf[1];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(l, r, b, t, v.ClpNear, v.ClpFar);
    glViewport(0, 0, vw.W, vw.H);
    if (DbgLvl > 1)
        ConPrintf("GetOrthGL : l=%f r=%f b=%f t=%f n=%f f=%f\n", l, r, b, t, v.ClpNear, v.ClpFar);
}

void GetPrspGL() {
    if (!GLCtxCur()) return;
    const ViewWinRec& vw = GLWinV();
    const CamView& v = vw.v;
    double W = vw.W, H = vw.H;
    double fovy = 2 * std::atan((H * v.ScrWid / W * 0.5) / v.ScrDst) * 180 / M_PI;
    double h = PixAsp[0], vv = PixAsp[1];
    if (h * vv < 0.001) h = vv = 1;
    double aspect = (W / h) / H * vv;
    double t = v.ClpNear * std::tan(fovy / 2 * M_PI / 180), b = -t;
    double r = t * aspect, l = -r;
    double dx = (v.ScrShf[0] * vw.PixK) * (r - l) / W;
    double dy = (v.ScrShf[1] * vw.PixK) * (t - b) / H;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(l + dx, r + dx, b + dy, t + dy, v.ClpNear, v.ClpFar);
    glViewport(0, 0, vw.W - 1, vw.H - 1);
}

void SetGLMdlView() {
    if (!GLCtxCur()) return;
    const ViewWinRec& vw = GLWinV();
    double k = vw.PixK;
    float m[16];
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) {
            double e = vw.MdlToDev[i][j] / (j < 3 ? k : 1.0);
            m[i * 4 + j] = static_cast<float>(j == 2 ? -e : e);
        }
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
}

void SetGLView(int w) {
    if (w < 0 || w >= ViewWinMax) return;
    if (SetCurWin(w) != 1 || !GLCtxCur()) return;
    ViewWinRec& vw = ViewWin[w];
    if (vw.v.PrjFlg == PrjPar) {
        GetOrthGL();
        vw.glPrj = 1;
    } else {
        GetPrspGL();
        vw.glPrj = 2;
    }
    SetGLMdlView();
}
