// The redraw cycle and the picture: clearing, overlays, the scene tree, surfaces (wireframe,
// shaded, slope classes, bounding box), curves and the selected terrain vertices.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>
#include "core/alc.h"
#include "core/mode.h"
#include "display/drw.h"
#include "display/glctx.h"
#include "display/lgt.h"
#include "display/view.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "terrain/trn_err.h"

BgImgFn BgImgHook = nullptr;

namespace {

using Mtx = double[4][4];

// Background picture made by the hook, kept while the window size stays.
struct {
    uint8_t* bits = nullptr;
    int w = 0, h = 0;
} BgImg;

bool NeedClr[DrwWinMax];

bool IsZero(const Mtx m) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m[i][j] != 0.0) return false;
    return true;
}

// out = a · b (row vectors: a applies first). A node whose matrix was never set (all zero)
// counts as the identity.
void MulNode(const Mtx a, const Mtx b, Mtx out) {
    if (IsZero(a)) {
        std::memcpy(out, b, sizeof(Mtx));
        return;
    }
    Mtx t;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0;
            for (int k = 0; k < 4; ++k) s += a[i][k] * b[k][j];
            t[i][j] = s;
        }
    std::memcpy(out, t, sizeof(Mtx));
}

void Idt(Mtx m) {
    std::memset(m, 0, sizeof(Mtx));
    for (int i = 0; i < 4; ++i) m[i][i] = 1;
}

void PushMtx(const Mtx m) {
    float f[16];
    for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i / 4][i % 4]);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(f);
}

mtl* MtlOf(const srf* s) {
    if (s->mtlPtr) return s->mtlPtr;
    if (mtl* m = SrfMtl(const_cast<srf*>(s))) return m;
    if (s->mtlIdx >= 0 && s->mtlIdx < NumMtl && PrmMtl) return PrmMtl[s->mtlIdx];
    return nullptr;
}

// Display-material index of the surface: the place of its material in the flattened table.
int MtlIdxGL(const srf* s) {
    const mtl* m = MtlOf(s);
    if (m && PrmMtl)
        for (int i = 0; i < NumMtl; ++i)
            if (PrmMtl[i] == m) return i;
    return s->mtlIdx;
}

double Transp(const srf* s) {
    const mtl* m = MtlOf(s);
    return m ? m->val2 : 0.0;
}

void DifCol(const srf* s, float c[3]) {
    const mtl* m = MtlOf(s);
    if (m) {
        c[0] = m->dif[0];
        c[1] = m->dif[1];
        c[2] = m->dif[2];
    } else if (s->mtlIdx >= 0 && s->mtlIdx < RndrOGL_MtlCap && RndrOGL_Mtl) {
        c[0] = RndrOGL_Mtl[s->mtlIdx][4];
        c[1] = RndrOGL_Mtl[s->mtlIdx][5];
        c[2] = RndrOGL_Mtl[s->mtlIdx][6];
    } else {
        c[0] = c[1] = c[2] = 1.0f;
    }
}

// ---- clearing ----

void Clr(int w) {
    NeedClr[w] = false;
    const UpdRctRec& u = UpdRct[w];
    if (u.empty) return;
    int W = DrwWinW(w), H = DrwWinH(w);
    int x0 = u.x0 - 2, x1 = u.x1 + 2, y0 = u.y0 - 2, y1 = u.y1 + 2;
    if (x1 < 0 || y1 < 0 || x0 > W - 1 || y0 > H - 1) return;
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > W - 1) x1 = W - 1;
    if (y1 > H - 1) y1 = H - 1;
    glPushAttrib(GL_VIEWPORT_BIT | GL_SCISSOR_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT |
                 GL_DEPTH_BUFFER_BIT);
    glViewport(x0, H - y1 - 1, x1 - x0 + 1, y1 - y0 + 1);
    glScissor(x0, H - y1 - 1, x1 - x0 + 1, y1 - y0 + 1);
    glEnable(GL_SCISSOR_TEST);
    glColor3f(1, 1, 1);
    glClearColor(static_cast<float>(BgCol[0] / 255.0), static_cast<float>(BgCol[1] / 255.0),
                 static_cast<float>(BgCol[2] / 255.0), 1.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT);
    if (DepthOn) {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    glPopAttrib();
}

void DrwBgImg(int w) {
    if (!BgImgHook) return;
    int W = DrwWinW(w), H = DrwWinH(w);
    if (BgImg.bits && (BgImg.w != W || BgImg.h != H)) FreeBgImg();
    if (!BgImg.bits) {
        BgImg.bits = BgImgHook(W, H);
        BgImg.w = W;
        BgImg.h = H;
    }
    if (!BgImg.bits) return;
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_DITHER);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, W, 0, H);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2i(0, 0);
    glDrawPixels(W, H, GL_RGB, GL_UNSIGNED_BYTE, BgImg.bits);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glDisable(GL_DITHER);
    glPopAttrib();
}

// ---- surfaces ----

// True when the grid's vertex ids are 0..n-1 in order, so rows can be drawn as arrays.
bool PlainGrid(const srf* s, const pgn* g) {
    if (!DrwArrOn) return false;
    int n = static_cast<int>(g->rows) * g->cols;
    if (g->n < n || s->nv < n || !g->vtx_id) return false;
    for (int i = 0; i < n; ++i)
        if (g->vtx_id[i] != i) return false;
    return true;
}

// Index arrays of a whole R x C grid, kept while the grid's shape stays: the triangles of the row
// strips ((r + 1, j), (r, j), (r + 1, j + 1)) and ((r + 1, j + 1), (r, j), (r, j + 1)), and the
// same triangles turned over for the back faces. One draw call per pass and every vertex handed
// over once: the picture of the strips with far fewer calls.
struct GrdIdx {
    GLuint* tri = nullptr;
    GLuint* back = nullptr;
    long long nTri = 0;
    int rows = 0, cols = 0, step = 0;
};
GrdIdx Idx;

// Rows (or columns) drawn with step k: every k-th, and always the last one.
int StepTo(int n, int k, int i) { return i * k < n - 1 ? i * k : n - 1; }
int StepNum(int n, int k) { return n <= 1 ? n : (n - 2) / k + 2; }

void FreeGrdIdx() {
    FreeMem(Idx.tri);
    FreeMem(Idx.back);
    Idx = GrdIdx{};
}

void MkGrdIdx(int R, int C, int step) {
    if (Idx.rows == R && Idx.cols == C && Idx.step == step && Idx.tri) return;
    int nr = StepNum(R, step), nc = StepNum(C, step);
    long long nTri = 6LL * (nr - 1) * (nc - 1);
    // Allocate everything before dropping the old arrays.
    auto* tri = static_cast<GLuint*>(AlcMem(nTri * 4, "DrwSrf:idx"));
    auto* back = static_cast<GLuint*>(AlcMem(nTri * 4, "DrwSrf:idx"));
    long long k = 0;
    for (int i = 0; i + 1 < nr; ++i) {
        int r0 = StepTo(R, step, i), r1 = StepTo(R, step, i + 1);
        for (int j = 0; j + 1 < nc; ++j) {
            int c0 = StepTo(C, step, j), c1 = StepTo(C, step, j + 1);
            GLuint a = static_cast<GLuint>(r1 * C + c0), b = static_cast<GLuint>(r0 * C + c0);
            GLuint c = static_cast<GLuint>(r1 * C + c1), d = static_cast<GLuint>(r0 * C + c1);
            GLuint t[6] = {a, b, c, c, b, d};
            for (int m = 0; m < 6; ++m) tri[k + m] = t[m];
            // The second strip, (r, j), (r + 1, j), ...: the same triangles turned over.
            GLuint u[6] = {b, a, d, d, a, c};
            for (int m = 0; m < 6; ++m) back[k + m] = u[m];
            k += 6;
        }
    }
    FreeGrdIdx();
    Idx.tri = tri;
    Idx.back = back;
    Idx.nTri = nTri;
    Idx.rows = R;
    Idx.cols = C;
    Idx.step = step;
}

// Level of detail of the grid in this picture. While a mouse button is held (a view drag, a
// height drag) a grid whose cells come out smaller than two pixels is drawn with every k-th row
// and column only, so the picture follows the mouse; the full grid is drawn again on release.
int LodK = 1;

int LodStep(int w, const srf* s, const pgn* g) {
    int R = g->rows, C = g->cols;
    if (!DrwLodOn || !BtnHeld || static_cast<long long>(R) * C < 100000 || C < 2 || !s->v) return 1;
    double dx = s->v[3LL * (C - 1)] - s->v[0], dy = s->v[3LL * (C - 1) + 1] - s->v[1];
    double cell = std::sqrt(dx * dx + dy * dy) / (C - 1) * ViewWin[w].PixK;
    if (!(cell > 0)) return 1;
    int k = static_cast<int>(std::ceil(2.0 / cell));
    return k < 1 ? 1 : (k > 64 ? 64 : k);
}

// Spacing of the grid's columns in model units (0 when unknown).
double GrdCell(const srf* s, const pgn* g) {
    int C = g->cols;
    if (C < 2 || !s->v || s->nv < C) return 0;
    double dx = s->v[3LL * (C - 1)] - s->v[0], dy = s->v[3LL * (C - 1) + 1] - s->v[1];
    return std::sqrt(dx * dx + dy * dy) / (C - 1);
}

const float* VtxAt(const srf* s, int id) { return s->v + 3 * static_cast<long long>(id); }
bool IdOk(const srf* s, int id) { return id >= 0 && id < s->nv; }

void WireGrid(const srf* s, const pgn* g) {
    int R = g->rows, C = g->cols;
    if (R < 1 || C < 1 || !s->v) return;
    // Line strips vertex by vertex: on Mesa this beats every array form of the same lines (a
    // column read through a stride makes the driver copy the whole vertex array per column).
    if (PlainGrid(s, g)) {
        int k = LodK, nr = StepNum(R, k), nc = StepNum(C, k);
        for (int i = 0; i < nr; ++i) {
            const float* p = s->v + 3LL * StepTo(R, k, i) * C;
            glBegin(GL_LINE_STRIP);
            for (int j = 0; j < nc; ++j) glVertex3fv(p + 3LL * StepTo(C, k, j));
            glEnd();
        }
        for (int j = 0; j < nc; ++j) {
            const float* p = s->v + 3LL * StepTo(C, k, j);
            glBegin(GL_LINE_STRIP);
            for (int i = 0; i < nr; ++i) glVertex3fv(p + 3LL * StepTo(R, k, i) * C);
            glEnd();
        }
        return;
    }
    if (g->n < R * C || !g->vtx_id) return;
    for (int r = 0; r < R; ++r) {
        glBegin(GL_LINE_STRIP);
        for (int c = 0; c < C; ++c) {
            int id = g->vtx_id[r * C + c];
            if (IdOk(s, id)) glVertex3fv(VtxAt(s, id));
        }
        glEnd();
    }
    for (int c = 0; c < C; ++c) {
        glBegin(GL_LINE_STRIP);
        for (int r = 0; r < R; ++r) {
            int id = g->vtx_id[r * C + c];
            if (IdOk(s, id)) glVertex3fv(VtxAt(s, id));
        }
        glEnd();
    }
}

void WirePoly(const srf* s, const pgn* g) {
    if (g->n < 2 || !g->vtx_id || !s->v) return;
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i <= g->n; ++i) {
        int id = g->vtx_id[i % g->n];
        if (IdOk(s, id)) glVertex3fv(VtxAt(s, id));
    }
    glEnd();
}

const float kUp[3] = {0, 0, 1};

void NrmV(const srf* s, int id, bool neg) {
    const float* n = s->nrm ? s->nrm + 3 * static_cast<long long>(id) : kUp;
    if (neg)
        glNormal3f(-n[0], -n[1], -n[2]);
    else
        glNormal3fv(n);
}

void ShdGrid(const srf* s, const pgn* g) {
    int R = g->rows, C = g->cols;
    if (R < 2 || C < 1 || !s->v) return;
    if (PlainGrid(s, g) && C > 1) {
        MkGrdIdx(R, C, LodK);
        float* neg = nullptr;
        if (TwoSide && s->nrm) {
            long long n = 3LL * R * C;
            neg = static_cast<float*>(AlcMem(n * static_cast<long long>(sizeof(float)), "DrwSrf:nrm"));
            for (long long i = 0; i < n; ++i) neg[i] = -s->nrm[i];
        }
        auto n = static_cast<GLsizei>(Idx.nTri);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, s->v);
        if (s->nrm) {
            glEnableClientState(GL_NORMAL_ARRAY);
            glNormalPointer(GL_FLOAT, 0, s->nrm);
        } else {
            glNormal3fv(kUp);
        }
        glDrawElements(GL_TRIANGLES, n, GL_UNSIGNED_INT, Idx.tri);
        if (TwoSide) {
            if (neg) glNormalPointer(GL_FLOAT, 0, neg);
            else glNormal3f(0, 0, -1);
            glDrawElements(GL_TRIANGLES, n, GL_UNSIGNED_INT, Idx.back);
        }
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        FreeMem(neg);
        return;
    }
    if (g->n < R * C || !g->vtx_id) return;
    for (int side = 0; side < (TwoSide ? 2 : 1); ++side) {
        for (int r = 0; r + 1 < R; ++r) {
            glBegin(GL_TRIANGLE_STRIP);
            for (int j = 0; j < C; ++j) {
                int a = g->vtx_id[(r + 1) * C + j], b = g->vtx_id[r * C + j];
                if (side) std::swap(a, b);
                if (!IdOk(s, a) || !IdOk(s, b)) continue;
                NrmV(s, a, side);
                glVertex3fv(VtxAt(s, a));
                NrmV(s, b, side);
                glVertex3fv(VtxAt(s, b));
            }
            glEnd();
        }
    }
}

void ShdPoly(const srf* s, const pgn* g) {
    if ((g->n != 3 && g->n != 4) || !g->vtx_id || !s->v) return;
    for (int i = 0; i < g->n; ++i)
        if (!IdOk(s, g->vtx_id[i])) return;
    GLenum mode = g->n == 3 ? GL_TRIANGLES : GL_QUADS;
    glBegin(mode);
    for (int i = 0; i < g->n; ++i) {
        NrmV(s, g->vtx_id[i], false);
        glVertex3fv(VtxAt(s, g->vtx_id[i]));
    }
    glEnd();
    if (TwoSide) {
        glBegin(mode);
        for (int i = g->n - 1; i >= 0; --i) {
            NrmV(s, g->vtx_id[i], true);
            glVertex3fv(VtxAt(s, g->vtx_id[i]));
        }
        glEnd();
    }
}

// A grid with one colour per vertex (col[3 * nv]), unlit.
void ColGrid(const srf* s, const pgn* g, const uint8_t* col) {
    int R = g->rows, C = g->cols;
    if (PlainGrid(s, g) && C > 1) {
        MkGrdIdx(R, C, LodK);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, s->v);
        glColorPointer(3, GL_UNSIGNED_BYTE, 0, col);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(Idx.nTri), GL_UNSIGNED_INT, Idx.tri);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    } else {
        for (int r = 0; r + 1 < R; ++r) {
            glBegin(GL_TRIANGLE_STRIP);
            for (int j = 0; j < C; ++j) {
                int a = g->vtx_id[(r + 1) * C + j], b = g->vtx_id[r * C + j];
                if (!IdOk(s, a) || !IdOk(s, b)) continue;
                glColor3ubv(col + 3LL * a);
                glVertex3fv(VtxAt(s, a));
                glColor3ubv(col + 3LL * b);
                glVertex3fv(VtxAt(s, b));
            }
            glEnd();
        }
    }
}

uint8_t Byte(float v) { return static_cast<uint8_t>((v < 0 ? 0 : (v > 1 ? 1 : v)) * 255.0f + 0.5f); }

bool GridOk(const srf* s, const pgn* g) {
    return g->rows >= 2 && g->cols >= 1 && s->v && g->n >= g->rows * g->cols && g->vtx_id;
}

// Whether the slope classes were drawn in the picture being made (for their legend).
bool SlpDrawn = false;

void SlpGrid(const srf* s, const pgn* g) {
    if (!GridOk(s, g)) return;
    SlpDrawn = true;
    // One class colour per vertex, computed once for this picture.
    uint8_t* col = static_cast<uint8_t*>(AlcMem(3LL * s->nv, "DrwSlp:col"));
    for (int i = 0; i < s->nv; ++i) {
        float c[3];
        SlpCol(i, c);
        for (int k = 0; k < 3; ++k) col[3 * i + k] = Byte(c[k]);
    }
    ColGrid(s, g, col);
    FreeMem(col);
}

// Range of the relief or expected error drawn last (for its legend).
struct {
    bool on = false;
    bool err = false;   // the expected error, not heights
    float lo = 0, hi = 0;
} RelRng;

void HgtRange(const srf* s, float* lo, float* hi) {
    float a = 1e30f, b = -1e30f;
    for (long long i = 0; i < s->nv; ++i) {
        float z = s->v[3 * i + 2];
        if (z < a) a = z;
        if (z > b) b = z;
    }
    *lo = a;
    *hi = b;
}

// The relief's colours over the grid; with err (one value a vertex) the expected error's instead.
void RelGrid(const srf* s, const pgn* g, const float* err = nullptr) {
    if (!GridOk(s, g) || s->nv < 1) return;
    float lo = 0, hi = 0;
    if (err) hi = std::fmax(TrnErrMax(), 1.0f);
    else HgtRange(s, &lo, &hi);
    RelRng.on = true;
    RelRng.err = err != nullptr;
    RelRng.lo = lo;
    RelRng.hi = hi;
    double span = hi > lo ? hi - lo : 1.0;
    float d[3];
    RelLgtDir(d);
    // Ramp colours tabulated once: a height picks its entry, the shade scales it.
    constexpr int RampN = 256;
    float ramp[RampN][3];
    for (int k = 0; k < RampN; ++k) (err ? ErrRampCol : RelRampCol)(k / double(RampN - 1), ramp[k]);
    uint8_t* col = static_cast<uint8_t*>(AlcMem(3LL * s->nv, "DrwRel:col"));
    for (long long i = 0; i < s->nv; ++i) {
        const float* n = s->nrm ? s->nrm + 3 * i : kUp;
        float f = RelShade(n, d, VertExag);
        const float val = err ? err[i] : s->v[3 * i + 2];
        int k = static_cast<int>((val - lo) / span * (RampN - 1) + 0.5);
        k = k < 0 ? 0 : (k >= RampN ? RampN - 1 : k);
        for (int c = 0; c < 3; ++c) col[3 * i + c] = Byte(ramp[k][c] * f);
    }
    ColGrid(s, g, col);
    FreeMem(col);
}

void BoxSrf(const srf* s) {
    const float* lo = s->box.min;
    const float* hi = s->box.max;
    glBegin(GL_LINE_LOOP);
    glVertex3f(lo[0], lo[1], lo[2]); glVertex3f(hi[0], lo[1], lo[2]);
    glVertex3f(hi[0], hi[1], lo[2]); glVertex3f(lo[0], hi[1], lo[2]);
    glEnd();
    glBegin(GL_LINE_LOOP);
    glVertex3f(lo[0], lo[1], hi[2]); glVertex3f(hi[0], lo[1], hi[2]);
    glVertex3f(hi[0], hi[1], hi[2]); glVertex3f(lo[0], hi[1], hi[2]);
    glEnd();
    glBegin(GL_LINES);
    glVertex3f(lo[0], lo[1], lo[2]); glVertex3f(lo[0], lo[1], hi[2]);
    glVertex3f(hi[0], lo[1], lo[2]); glVertex3f(hi[0], lo[1], hi[2]);
    glVertex3f(hi[0], hi[1], lo[2]); glVertex3f(hi[0], hi[1], hi[2]);
    glVertex3f(lo[0], hi[1], lo[2]); glVertex3f(lo[0], hi[1], hi[2]);
    glEnd();
}

void DrwSrf(int w, srf* s, const Mtx m) {
    if (!(SrfDsp[w] & SrfDspOn) || !s->vis) return;
    EnaLgtGL();
    glEnable(GL_DEPTH_TEST);
    PushMtx(m);
    glEnable(GL_NORMALIZE);
    float dif[3];
    DifCol(s, dif);
    // The slope classes belong to the terrain grid; other surfaces keep their own display.
    bool slope = SlpDsp && s == TrnSrf;
    // The expected error when it can be had; the plain shading otherwise.
    const float* err = !slope && ErrDsp && s == TrnSrf ? TrnErrOf() : nullptr;
    bool relief = !slope && (RelDsp || err) && s == TrnSrf;
    LodK = 1;
    for (int i = 0; i < s->pgns.n; ++i)
        if (s->pgns.a[i]->type == PgnGrd) LodK = LodStep(w, s, s->pgns.a[i]);
    bool shaded = (s->dspFlg & SrfFlgShd) && (SrfDsp[w] & SrfDspShd);
    // Filled faces step back by their depth slope, so that curves on steep or grazing faces
    // still come out in front of them.
    glPolygonOffset(1.0f, 1.0f);
    glEnable(GL_POLYGON_OFFSET_FILL);
    if (slope) {
        glDisable(GL_LIGHTING);
        for (int i = 0; i < s->pgns.n; ++i) {
            const pgn* g = s->pgns.a[i];
            if (g->type == PgnGrd) SlpGrid(s, g);
        }
        glEnable(GL_LIGHTING);
        SetMtlGL(MtlIdxGL(s));
        for (int i = 0; i < s->pgns.n; ++i) {
            const pgn* g = s->pgns.a[i];
            if (g->type != PgnGrd) ShdPoly(s, g);
        }
    } else if (relief) {
        glDisable(GL_LIGHTING);
        for (int i = 0; i < s->pgns.n; ++i) {
            const pgn* g = s->pgns.a[i];
            if (g->type == PgnGrd) RelGrid(s, g, err);
        }
        glEnable(GL_LIGHTING);
        SetMtlGL(MtlIdxGL(s));
        for (int i = 0; i < s->pgns.n; ++i) {
            const pgn* g = s->pgns.a[i];
            if (g->type != PgnGrd) ShdPoly(s, g);
        }
    } else if (s->dspFlg & SrfFlgBox) {
        glDisable(GL_LIGHTING);
        glColor3fv(dif);
        BoxSrf(s);
    } else if (!shaded) {
        glDisable(GL_LIGHTING);
        if ((dif[0] + dif[1] + dif[2]) / 3.0 < WireMin) {
            float g = static_cast<float>(WireMin);
            dif[0] = dif[1] = dif[2] = g;
        }
        glColor3fv(dif);
        for (int i = 0; i < s->pgns.n; ++i) {
            const pgn* g = s->pgns.a[i];
            if (g->type == PgnGrd) {
                // Lines closer than a few pixels fill in to a slab: thin them to every k-th.
                int lod = LodK;
                int k = WireStep(w, GrdCell(s, g));
                if (k > LodK) LodK = k;
                WireGrid(s, g);
                LodK = lod;
            } else {
                WirePoly(s, g);
            }
        }
    } else {
        glEnable(GL_LIGHTING);
        SetMtlGL(MtlIdxGL(s));
        for (int i = 0; i < s->pgns.n; ++i) {
            const pgn* g = s->pgns.a[i];
            if (g->type == PgnGrd)
                ShdGrid(s, g);
            else
                ShdPoly(s, g);
        }
        glDepthFunc(GL_LEQUAL);
        glDisable(GL_TEXTURE_2D);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_NORMALIZE);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_DEPTH_TEST);
}

// ---- curves ----

// Contours lie on the terrain made from them, so at equal depth a wireframe would hide every
// other fragment of a curve (filled faces step back by polygon offset instead). Curves are drawn
// with their depth pulled slightly towards the eye.
constexpr double CrvDepthFar = 1.0 - 1.0 / 4096;

void DrwCrv(int w, const crv* c, const Mtx m) {
    if (!(CrvDsp[w] & 1) || !c->vis || c->n < 1 || !c->p) return;
    if (ViewDim == 0) {
        const ViewWinRec& v = ViewWin[w];
        double cx = v.EyeF[0], cy = v.EyeF[1];
        double hw = v.v.ScrWid / 2, hh = hw * DrwWinH(w) / DrwWinW(w);
        if (c->box.max[0] < cx - hw || c->box.min[0] > cx + hw || c->box.max[1] < cy - hh ||
            c->box.min[1] > cy + hh)
            return;
    }
    glEnable(GL_DEPTH_TEST);
    PushMtx(m);
    glDisable(GL_LIGHTING);
    glColor3fv(c->col);
    glDepthRange(0.0, CrvDepthFar);
    if (c->n == 1) {
        glBegin(GL_POINTS);
        glVertex3fv(c->p);
        glEnd();
    } else {
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, c->p);
        glDrawArrays(GL_LINE_STRIP, 0, c->n);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    glDepthRange(0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_DEPTH_TEST);
}

// ---- the scene tree ----

void WalkPrt(int w, prt* p, const Mtx par, bool transp);

void WalkLnk(int w, lnk* l, const Mtx par, bool transp) {
    Mtx m;
    MulNode(l->mtx, par, m);
    for (int i = 0; i < l->prts.n; ++i) WalkPrt(w, l->prts.a[i], m, transp);
}

void WalkPrt(int w, prt* p, const Mtx par, bool transp) {
    Mtx m;
    MulNode(p->mtx, par, m);
    if (!transp)
        for (int i = 0; i < p->crvs.n; ++i) {
            crv* c = p->crvs.a[i];
            Mtx cm;
            MulNode(c->mtx, m, cm);
            DrwCrv(w, c, cm);
        }
    for (int i = 0; i < p->srfs.n; ++i) {
        srf* s = p->srfs.a[i];
        bool t = Transp(s) >= 0.001;
        if (t != transp) continue;
        Mtx sm;
        MulNode(s->mtx, m, sm);
        DrwSrf(w, s, sm);
    }
    for (int i = 0; i < p->prts.n; ++i) WalkPrt(w, p->prts.a[i], m, transp);
    for (int i = 0; i < p->lnks.n; ++i) WalkLnk(w, p->lnks.a[i], m, transp);
}

void WalkScn(int w, bool transp) {
    Mtx id;
    Idt(id);
    for (int i = 0; i < StgTbl.n; ++i) {
        stg* s = StgTbl.a[i];
        Mtx m;
        MulNode(s->mtx, id, m);
        for (int k = 0; k < s->prts.n; ++k) WalkPrt(w, s->prts.a[k], m, transp);
        for (int k = 0; k < s->lnks.n; ++k) WalkLnk(w, s->lnks.a[k], m, transp);
    }
    for (int i = 0; i < PrdTbl.n; ++i) {
        prd* d = PrdTbl.a[i];
        Mtx m;
        MulNode(d->mtx, id, m);
        for (int k = 0; k < d->prts.n; ++k) WalkPrt(w, d->prts.a[k], m, transp);
        for (int k = 0; k < d->lnks.n; ++k) WalkLnk(w, d->lnks.a[k], m, transp);
    }
}

// Selected terrain vertices: red 5-pixel points over whatever is drawn.
void DrwVtxSlct(int w) {
    if (NumVtxSlct <= 0 || !VtxSlct || !TrnSrf || !TrnSrf->v) return;
    int W = DrwWinW(w), H = DrwWinH(w);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, W - 1, 0, H - 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1, 0, 0);
    GLfloat range[2] = {1, 1};
    glGetFloatv(GL_POINT_SIZE_RANGE, range);
    bool big = range[1] >= 5.0f;
    if (big) {
        glPointSize(5.0f);
        glEnable(GL_POINT_SMOOTH);
    }
    for (int k = 0; k < NumVtxSlct; ++k) {
        int id = VtxSlct[k];
        if (id < 0 || id >= TrnSrf->nv) continue;
        const float* v = TrnSrf->v + 3LL * id;
        double p[3] = {v[0], v[1], v[2]}, q[3];
        MdlToWin(p, w, q);
        // A hair nearer than the surface itself, so the mark is never hidden by it.
        double z = 2.0 * q[2] / ZRes - 1.0 + 1e-4;  // larger is nearer here
        double x = q[0], y = H - q[1];
        if (big) {
            glBegin(GL_POINTS);
            glVertex3d(x, y, z);
            glEnd();
        } else {
            glBegin(GL_LINE_LOOP);
            glVertex3d(x - 1, y - 1, z);
            glVertex3d(x + 1, y - 1, z);
            glVertex3d(x + 1, y + 1, z);
            glVertex3d(x - 1, y + 1, z);
            glEnd();
        }
    }
    if (big) {
        glDisable(GL_POINT_SMOOTH);
        glPointSize(1.0f);
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_DEPTH_TEST);
}

void DrwScn(int w) {
    SetGLView(w);
    SetCurWin(w);
    PlcLgtGL(w);
    glMatrixMode(GL_MODELVIEW);
    if (!CullOn && !TwoSide) {
        glCullFace(GL_FRONT);
        glDisable(GL_CULL_FACE);
    } else {
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    }
    WalkScn(w, false);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    WalkScn(w, true);
    DrwVtxSlct(w);
}

// Full redraw of one window into its back buffer (the caller swaps).
void RdrwOne(int w) {
    if (!WinOpn[w]) return;
    // Making the window current may have found its context lost and made it anew.
    SetDrwBuf(w, 1);
    if (GLWin[w].needSetup) {
        SetupGLWin(w);
        SetDrwBuf(w, 1);
    }
    SetUpdRctFull(w);
    PushActWin(w);
    SetView(w);
    DrwPic();
    PopActWin();
}

void SelFront() {
    for (int w = 0; w < DrwWinMax; ++w)
        if (WinOpn[w]) SetDrwBuf(w, 0);
}

}  // namespace

void FreeDrwBuf() {
    FreeGrdIdx();
    FreeBgImg();
}

void FreeBgImg() {
    FreeMem(BgImg.bits);
    BgImg.bits = nullptr;
    BgImg.w = BgImg.h = 0;
}

int DrwPic() {
    for (int w = 0; w < DrwWinMax; ++w) NeedClr[w] = WinAct[w] != 0;
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !WinOpn[w] || !SetCurWin(w)) continue;
        if (w == 0) {
            Clr(w);
            if (SrfDsp[w] & SrfDspShd) DrwBgImg(w);
        }
        if (NeedClr[w]) Clr(w);
        PushActWin(w);
        // The overlay lies in the plan under everything: no depth test, whatever a fresh
        // context's set-up left on.
        glDisable(GL_DEPTH_TEST);
        bool grid = ViewDim == 0 && GridOn && (WinDsp[w] & 16);
        if (grid) DrwGrd();
        if (AxisOn) {
            SetCurWin(w);
            if (DepthOn) {
                glEnable(GL_DEPTH_TEST);
                glEnable(GL_DITHER);
            }
            if (WinDsp[w] & 8) DrwAxis(w);
            glDisable(GL_DEPTH_TEST);
            glDisable(GL_DITHER);
        }
        PopActWin();
        RelRng.on = false;
        SlpDrawn = false;
        DrwScn(w);
        // Labels and orientation marks over the scene, so that the terrain never hides them.
        PushActWin(w);
        glDisable(GL_DEPTH_TEST);
        if (grid) {
            DrwGrdLbl();
            DrwSclBar(w);
        }
        if (ViewDim == 1 && AxisOn && (WinDsp[w] & 8)) DrwNorth(w);
        DrwLgd(w);
        if (w == 0) DrwRubBand(w);
        PopActWin();
    }
    FlushDrw();
    return 0;
}

int DrwPicView() {
    SetView(0);
    return DrwPic();
}

int RdrwAll() {
    for (int w = 0; w < DrwWinMax; ++w) RdrwOne(w);
    SwpBuf();
    SelFront();
    return 0;
}

int RdrwWin(int w) {
    if (w < 0 || w >= DrwWinMax || !WinOpn[w]) return 0;
    RdrwOne(w);
    if (SetCurWin(w)) plt::Get()->GLSwap(w);
    SetDrwBuf(w, 0);
    return 0;
}

int RdrwShd() {
    bool any = false;
    for (int w = 0; w < DrwWinMax; ++w)
        if (WinOpn[w] && (SrfDsp[w] & SrfDspShd)) {
            RdrwOne(w);
            any = true;
        }
    if (!any) return 0;
    for (int w = 0; w < DrwWinMax; ++w)
        if (WinOpn[w] && (SrfDsp[w] & SrfDspShd) && SetCurWin(w)) plt::Get()->GLSwap(w);
    SelFront();
    return 0;
}

int RdrwFront() {
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinOpn[w]) continue;
        CurGLWin = -1;
        if (!SetCurWin(w)) continue;
        if (GLWin[w].needSetup) SetupGLWin(w);
        SetDrwBuf(w, DrwBufSel[w] == DRW_BACK);
        SetUpdRctFull(w);
        PushActWin(w);
        SetView(w);
        SetGLView(w);
        SetLgtGL();
        DrwPic();
        PopActWin();
        if (DrwBufSel[w] == DRW_FRONT) plt::Get()->GLFlushFront(w);
    }
    return 0;
}

namespace {
void PaintWinIn(int w, const int* rect) {
    PushActWin(w);
    CurGLWin = -1;
    if (!SetCurWin(w)) {
        PopActWin();
        return;
    }
    if (GLWin[w].needSetup) SetupGLWin(w);
    bool front = DrwBufSel[w] == DRW_FRONT;
    if (front)
        for (int k = 0; k < DrwWinMax; ++k)
            if (WinOpn[k]) SetDrwBuf(k, 1);
    SetCurWin(w);
    if (rect && plt::Get()->GLPartialPaint(w)) {
        SetUpdRct(w, rect[0], rect[2], rect[1], rect[3]);
        DrwPic();
        SetUpdRctFull(w);
    } else {
        SetUpdRctFull(w);
        DrwPic();
    }
    if (SetCurWin(w)) plt::Get()->GLSwap(w);
    if (front) SelFront();
    PopActWin();
}
}  // namespace

// The shell calls this straight from its paint handler: an allocation failure ends the paint, not
// the program.
void PaintWin(int w, const int* rect) {
    if (w < 0 || w >= DrwWinMax || !WinOpn[w]) return;
    EngGuard([&] {
        PaintWinIn(w, rect);
        return 0;
    });
}

// ---- relief display ----

void RelRampCol(double t, float c[3]) {
    // Lowland green through yellow-tan and brown to snow white.
    static const float stop[6][3] = {{0.16f, 0.40f, 0.22f}, {0.36f, 0.58f, 0.28f},
                                     {0.74f, 0.77f, 0.43f}, {0.84f, 0.66f, 0.40f},
                                     {0.62f, 0.44f, 0.30f}, {0.96f, 0.95f, 0.93f}};
    if (!(t > 0)) t = 0;
    if (t > 1) t = 1;
    double x = t * 5;
    int i = static_cast<int>(x);
    if (i > 4) i = 4;
    float f = static_cast<float>(x - i);
    for (int k = 0; k < 3; ++k) c[k] = stop[i][k] + (stop[i + 1][k] - stop[i][k]) * f;
}

float RelShade(const float n[3], const float d[3], double exag) {
    // Normals of heights stretched by e: z shrinks by e before normalising.
    double e = exag > 1 ? exag : 1.0;
    double nx = n[0], ny = n[1], nz = n[2] / e;
    double l = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(l > 0)) return 1.0f;
    double lam = (nx * d[0] + ny * d[1] + nz * d[2]) / l;
    if (lam < 0) lam = 0;
    // Flat ground keeps the ramp's colour; slopes towards the light brighten, away darken.
    double f = 0.25 + 0.75 * lam / std::fmax(d[2], 0.2);
    return static_cast<float>(std::fmin(f, 1.3));
}

void ErrRampCol(double t, float c[3]) {
    // Trusted blue through green and yellow to doubtful red.
    static const float stop[4][3] = {{0.17f, 0.35f, 0.75f}, {0.30f, 0.66f, 0.36f}, {0.93f, 0.83f, 0.30f},
                                     {0.82f, 0.18f, 0.15f}};
    if (!(t > 0)) t = 0;
    if (t > 1) t = 1;
    double x = t * 3;
    int i = static_cast<int>(x);
    if (i > 2) i = 2;
    float f = static_cast<float>(x - i);
    for (int k = 0; k < 3; ++k) c[k] = stop[i][k] + (stop[i + 1][k] - stop[i][k]) * f;
}

void RelLgtDir(float d[3]) {
    static const float def[3] = {0.4086f, 0.4086f, 0.8161f};
    const float* s = def;
    if (CurLgtObj && CurLgtObj->r.on && CurLgtObj->r.kind == LgtPar) s = CurLgtObj->r.dir;
    double l = std::sqrt(double(s[0]) * s[0] + double(s[1]) * s[1] + double(s[2]) * s[2]);
    if (!(l > 1e-6)) s = def, l = 1;
    for (int k = 0; k < 3; ++k) d[k] = static_cast<float>(s[k] / l);
}

int WireStep(int w, double cell) {
    if (w < 0 || w >= DrwWinMax || !(cell > 0)) return 1;
    const ViewWinRec& vw = ViewWin[w];
    double px = cell * vw.PixK;
    if (vw.v.PrjFlg == PrjPrs && vw.v.EyeDst > 0) px *= vw.v.ScrDst / vw.v.EyeDst;
    // Seen obliquely, the rows crowd together by the sine of the tilt.
    if (ViewDim == 1) px *= std::fmax(std::fabs(static_cast<double>(vw.EyeDir[2])), 0.3);
    if (!(px > 0) || !std::isfinite(px)) return 1;
    if (px >= ReadPix) return 1;
    double k = std::ceil(ReadPix / px);
    return k > 4096 ? 4096 : static_cast<int>(k);
}

namespace {
// The legend of the picture just drawn: its bar (x0..x0 + bw, y0..y1), its labels (text at a
// baseline y, right-aligned against the bar), its title and the panel under them all.
struct Lgd {
    int x0 = 0, y0 = 0, y1 = 0, bw = 14;
    bool slope = false;
    std::vector<std::pair<int, std::string>> lbl;
    std::string title;
    int rect[4] = {0, 0, 0, 0};   // the panel: x0 y0 x1 y1, window pixels, y downwards
};

constexpr int LgdChW = 8;    // the view font's cell width
constexpr GLubyte LgdFrame = 140;  // grey of the panel's frame, apart from the grid's greys
constexpr int LgdTtlH = 14;  // a title line

bool MkLgd(int w, Lgd* g) {
    const bool slope = !RelRng.on && SlpDrawn;
    if ((!RelRng.on && !slope) || w < 0 || w >= DrwWinMax || !WinOpn[w]) return false;
    int W = DrwWinW(w), H = DrwWinH(w);
    int bh = H / 3 < 160 ? H / 3 : 160;
    if (bh < 30 || W < 120) return false;
    g->slope = slope;
    g->x0 = W - 12 - g->bw;
    g->y1 = H - 30;
    g->y0 = g->y1 - bh;
    char txt[32];
    if (slope) {
        // Class k (0 gentlest .. 4 steepest) between the thresholds below and above it, degrees.
        g->title = "slope deg";
        double lim[6] = {0, SlpThr[3], SlpThr[2], SlpThr[1], SlpThr[0], 90};
        for (int k = 0; k < 5; ++k) {
            std::snprintf(txt, sizeof txt, "%g-%g", lim[k], lim[k + 1]);
            g->lbl.push_back({g->y1 - bh * k / 5 - bh / 10 + 5, txt});
        }
    } else {
        // Heights (errors) in metres at the ends and the middle.
        double lo = RelRng.lo / 1000.0, hi = RelRng.hi / 1000.0;
        bool fine = hi - lo < 20;
        const int dec = RelRng.err ? (hi < 2 ? 2 : 1) : fine ? 1 : 0;
        for (int i = 0; i <= 2; ++i) {
            std::snprintf(txt, sizeof txt, "%.*fm", dec, lo + (hi - lo) * i / 2.0);
            g->lbl.push_back({g->y1 - bh * i / 2 + 5, txt});
        }
        if (RelRng.err) g->title = "error";
    }
    size_t most = g->title.size() > 2 ? g->title.size() - 2 : 0;
    for (const auto& l : g->lbl) most = std::max(most, l.second.size());
    g->rect[0] = g->x0 - 6 - LgdChW * static_cast<int>(most) - 6;
    g->rect[1] = g->y0 - 12 - (g->title.empty() ? 0 : LgdTtlH);
    g->rect[2] = W - 4;
    g->rect[3] = g->y1 + 10;
    return true;
}
}  // namespace

bool LgdRect(int w, int r[4]) {
    Lgd g;
    if (!MkLgd(w, &g)) return false;
    for (int k = 0; k < 4; ++k) r[k] = g.rect[k];
    return true;
}

void DrwLgd(int w) {
    Lgd g;
    if (!MkLgd(w, &g) || !SetCurWin(w)) return;
    int W = DrwWinW(w), H = DrwWinH(w);
    const int x0 = g.x0, y0 = g.y0, y1 = g.y1, bw = g.bw, bh = y1 - y0;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, W, H, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // An opaque panel in the background's colour: grid lines, axes and their labels do not run
    // through the legend.
    glColor3ub(static_cast<GLubyte>(BgCol[0]), static_cast<GLubyte>(BgCol[1]), static_cast<GLubyte>(BgCol[2]));
    glRecti(g.rect[0], g.rect[1], g.rect[2], g.rect[3]);
    glColor3ub(LgdFrame, LgdFrame, LgdFrame);
    glBegin(GL_LINE_LOOP);
    glVertex2d(g.rect[0] + 0.5, g.rect[1] + 0.5);
    glVertex2d(g.rect[2] - 0.5, g.rect[1] + 0.5);
    glVertex2d(g.rect[2] - 0.5, g.rect[3] - 0.5);
    glVertex2d(g.rect[0] + 0.5, g.rect[3] - 0.5);
    glEnd();
    if (g.slope) {
        // The five classes, gentlest at the bottom.
        for (int k = 0; k < 5; ++k) {
            uint8_t c[3];
            SlpClsRgb(k, c);
            glColor3ubv(c);
            glRecti(x0, y1 - bh * (k + 1) / 5, x0 + bw, y1 - bh * k / 5);
        }
    } else {
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= 32; ++i) {
            float c[3];
            (RelRng.err ? ErrRampCol : RelRampCol)(i / 32.0, c);
            glColor3fv(c);
            double y = y1 - bh * i / 32.0;
            glVertex2d(x0, y);
            glVertex2d(x0 + bw, y);
        }
        glEnd();
    }
    glColor3ub(255, 255, 255);
    glBegin(GL_LINE_LOOP);
    glVertex2d(x0 - 0.5, y0 - 0.5);
    glVertex2d(x0 + bw + 0.5, y0 - 0.5);
    glVertex2d(x0 + bw + 0.5, y1 + 0.5);
    glVertex2d(x0 - 0.5, y1 + 0.5);
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    SetCol(1);
    PushActWin(w);
    for (const auto& l : g.lbl)
        DrwTxt(x0 - 6 - LgdChW * static_cast<int>(l.second.size()), l.first, l.second.c_str());
    if (!g.title.empty())
        DrwTxt(x0 + bw - LgdChW * static_cast<int>(g.title.size()), y0 - 7, g.title.c_str());
    PopActWin();
}
