// 2D grid with its labels, and the coordinate axes with ticks. Spacing follows the zoom so that
// the number of lines stays within fixed bounds.
#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include "display/drw.h"
#include "display/glctx.h"
#include "display/view.h"

namespace {
constexpr uint32_t ColZero = 1, ColMinor = 14, ColMajor = 15;
// No more lines than this per direction, however odd the window's shape.
constexpr long long LinMax = 10000;
// Cell of the view's fixed-width label font, in pixels.
constexpr double TxtChW = 8, TxtChH = 12;

long long Trunc(double v) {
    if (!std::isfinite(v)) return 0;
    if (v > 9e18) return 9000000000000000000LL;
    if (v < -9e18) return -9000000000000000000LL;
    return static_cast<long long>(v);
}

long long Shrink(long long v) { return Trunc(static_cast<double>(v) / 10.0 + 0.5); }

// Loop bounds trunc(lo / s) .. trunc(hi / s), clipped to LinMax lines around the middle.
void Range(double lo, double hi, long long s, long long* i0, long long* i1) {
    *i0 = Trunc(lo / static_cast<double>(s));
    *i1 = Trunc(hi / static_cast<double>(s));
    if (*i1 - *i0 > LinMax) {
        long long mid = *i0 / 2 + *i1 / 2;
        *i0 = mid - LinMax / 2;
        *i1 = mid + LinMax / 2;
    }
}

// Rounded half away from zero.
long long RoundAway(double v) { return v <= 0 ? Trunc(v - 0.5) : Trunc(v + 0.5); }

void Lin(double x0, double y0, double z0, double x1, double y1, double z1) {
    double a[3] = {x0, y0, z0}, b[3] = {x1, y1, z1};
    DrwLin(a, b);
}
}  // namespace

void GrdStep(double e, long long* s, long long* m) {
    long long ss = GrdStp > 0 ? GrdStp : 1, mm = GrdMaj > 0 ? GrdMaj : 1;
    if (!std::isfinite(e) || e < 0) e = 0;
    while (e / static_cast<double>(ss) > 100 && ss < 1000000000000000LL) {
        ss *= 10;
        mm *= 10;
    }
    while (e / static_cast<double>(ss) < 10 && ss > 1) {
        ss = Shrink(ss);
        mm = Shrink(mm);
    }
    if (ss < 1) ss = 1;
    if (mm < 1) mm = 1;
    *s = ss;
    *m = mm;
}

void DrwGrd() {
    double xmin = Wnd2D[0], ymin = Wnd2D[1], xmax = Wnd2D[2], ymax = Wnd2D[3];
    long long s, m;
    GrdStep(xmax - xmin, &s, &m);
    for (int w = 0; w < DrwWinMax; ++w)
        if (WinAct[w] && WinOpn[w]) SetGLView(w);
    long long i0, i1;
    Range(xmin, xmax, s, &i0, &i1);
    for (long long i = i0; i <= i1; ++i) {
        long long x = i * s;
        SetCol(x == 0 ? ColZero : (x % m == 0 ? ColMajor : ColMinor));
        Lin(static_cast<double>(x), ymin, 0, static_cast<double>(x), ymax, 0);
    }
    Range(ymin, ymax, s, &i0, &i1);
    for (long long i = i0; i <= i1; ++i) {
        long long y = i * s;
        SetCol(y == 0 ? ColZero : (y % m == 0 ? ColMajor : ColMinor));
        Lin(xmin, static_cast<double>(y), 0, xmax, static_cast<double>(y), 0);
    }
}

void GrdInfo(GrdInfoRec* g) {
    double xmin = Wnd2D[0], ymin = Wnd2D[1], xmax = Wnd2D[2], ymax = Wnd2D[3];
    double e = xmax - xmin;
    GrdStep(e, &g->step, &g->major);
    long long i0, i1;
    Range(xmin, xmax, g->step, &i0, &i1);
    g->nx = i1 - i0 + 1;
    Range(ymin, ymax, g->step, &i0, &i1);
    g->ny = i1 - i0 + 1;
    long long m = g->major;
    if (e / static_cast<double>(g->step) > 50) m *= 2;
    g->lblStep = m;
    g->lblDiv = m >= 1000000 ? 1000000 : (m >= 1000 ? 1000 : 1);
    g->unit = m >= 1000000 ? "km" : (m >= 1000 ? "m" : "mm");
}

void DrwGrdLbl() {
    double xmin = Wnd2D[0], ymin = Wnd2D[1], xmax = Wnd2D[2], ymax = Wnd2D[3];
    GrdInfoRec gi;
    GrdInfo(&gi);
    long long m = gi.lblStep;
    double div = gi.lblDiv;
    const char* fmt = div == 1000000 ? "%lldkm" : (div == 1000 ? "%lldm" : "%lldmm");
    SetCol(ColMajor);
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !WinOpn[w]) continue;
        PushActWin(w);
        const UpdRctRec& u = UpdRct[w];
        int lgd[4];
        const bool hasLgd = LgdRect(w, lgd);
        auto label = [&](double px, double py, long long v, bool plain) {
            double p[3] = {px, py, 0}, q[3];
            MdlToWin(p, w, q);
            if (!std::isfinite(q[0]) || !std::isfinite(q[1])) return;
            double x = q[0], y = q[1];
            char txt[48];
            std::snprintf(txt, sizeof txt, plain ? "%lld" : fmt,
                          RoundAway(static_cast<double>(v) / div));
            // A label whose line runs off the window edge, or whose text would be cut by it,
            // moves inside (the label of a line off the picture is not drawn at all).
            double tw = TxtChW * static_cast<double>(std::strlen(txt));
            double W = DrwWinW(w), H = DrwWinH(w);
            if (x < -0.5 || y < -0.5 || x > W - 0.5 || y > H - 0.5) {
                if (px != 0 && (x < -0.5 || x > W - 0.5)) return;
                if (py != 0 && (y < -0.5 || y > H - 0.5)) return;
            }
            x = std::fmax(2.0, std::fmin(x, W - 2 - tw));
            y = std::fmax(TxtChH + 1.0, std::fmin(y, H - 3.0));
            // No label under the legend's panel.
            if (hasLgd && x + tw > lgd[0] && x < lgd[2] && y > lgd[1] && y - TxtChH < lgd[3]) return;
            // The 10 x 10 square right of and above the anchor must meet the update rectangle.
            if (u.empty || x + 10 < u.x0 || x > u.x1 || y < u.y0 || y - 10 > u.y1) return;
            DrwTxt(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)), txt);
        };
        long long i0, i1;
        Range(xmin, xmax, m, &i0, &i1);
        for (long long i = i0; i <= i1; ++i) {
            long long v = i * m;
            label(static_cast<double>(v), 0, v, i == 0);
        }
        Range(ymin, ymax, m, &i0, &i1);
        for (long long i = i0; i <= i1; ++i) {
            if (i == 0) continue;
            long long v = i * m;
            label(0, static_cast<double>(v), v, false);
        }
        PopActWin();
    }
}

void DrwAxis(int w) {
    if (w < 0 || w >= DrwWinMax || !WinOpn[w] || !SetCurWin(w)) return;
    glDisable(GL_LIGHTING);
    for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);
    // The axes may be drawn before anything else has loaded this view's matrices.
    SetGLView(w);
    SetCurWin(w);
    double W = ViewWin[w].v.ScrWid;
    if (!std::isfinite(W) || W <= 0) return;
    long long s = GrdStp > 0 ? GrdStp : 1, m = GrdMaj > 0 ? GrdMaj : 1;
    while (W / static_cast<double>(s) > 50 && s < 1000000000000000LL) {
        s *= 10;
        m *= 10;
    }
    while (W / static_cast<double>(s) < 5 && s > 1) {
        s = Shrink(s);
        m = Shrink(m);
    }
    if (m < 1) m = 1;
    PushActWin(w);
    SetCol(ColMajor);
    Lin(-W, 0, 0, W, 0, 0);
    Lin(0, -W, 0, 0, W, 0);
    Lin(0, 0, -W, 0, 0, W);
    double t = 0.01 * W;
    long long i0, i1;
    Range(-W, W, m, &i0, &i1);
    for (long long i = i0; i <= i1; ++i) {
        double v = static_cast<double>(i * m);
        Lin(v, -t, 0, v, t, 0);
        Lin(v, 0, -t, v, 0, t);
        Lin(0, v, -t, 0, v, t);
        Lin(-t, v, 0, t, v, 0);
        Lin(-t, 0, v, t, 0, v);
        Lin(0, -t, v, 0, t, v);
    }
    PopActWin();
}

// ---- orientation overlays ----

namespace {
// Window-pixel drawing with y growing downwards, as the engine counts pixels.
void PixBgn(int w) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_LINE_STIPPLE);
    glDisable(GL_CULL_FACE);  // the flipped y turns the windings over
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, DrwWinW(w), DrwWinH(w), 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void PixEnd() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void PixLin(double x0, double y0, double x1, double y1) {
    glBegin(GL_LINES);
    glVertex2d(x0 + 0.5, y0 + 0.5);
    glVertex2d(x1 + 0.5, y1 + 0.5);
    glEnd();
}

// A length as the labels write it: "%gkm", "%gm" or "%gmm".
void LenTxt(double len, char* out, size_t n) {
    if (len >= 1000000) std::snprintf(out, n, "%gkm", len / 1000000);
    else if (len >= 1000) std::snprintf(out, n, "%gm", len / 1000);
    else std::snprintf(out, n, "%gmm", len);
}
}  // namespace

double SclBarLen(double k, int w) {
    if (!(k > 0) || !std::isfinite(k) || w < 8) return 0;
    double most = w / 4.0 / k;  // model units in a quarter of the window
    double p = std::pow(10.0, std::floor(std::log10(most)));
    for (double f : {5.0, 2.0, 1.0})
        if (f * p <= most) return f * p;
    return p / 2;
}

void DrwSclBar(int w) {
    if (w < 0 || w >= DrwWinMax || !WinOpn[w] || !SetCurWin(w)) return;
    double k = ViewWin[w].PixK;
    double len = SclBarLen(k, DrwWinW(w));
    if (!(len > 0)) return;
    double px = std::round(len * k), x0 = 12, y = DrwWinH(w) - 12.0;
    PixBgn(w);
    uint8_t c[3];
    ColRgb(ColZero, c);
    glColor3ub(c[0], c[1], c[2]);
    glLineWidth(1);
    PixLin(x0, y, x0 + px, y);
    PixLin(x0, y - 5, x0, y + 2);
    PixLin(x0 + px, y - 5, x0 + px, y + 2);
    PixLin(x0 + px / 2, y - 3, x0 + px / 2, y);
    PixEnd();
    char txt[32];
    LenTxt(len, txt, sizeof txt);
    SetCol(ColZero);
    PushActWin(w);
    DrwTxt(static_cast<int>(x0 + px / 2 - TxtChW * std::strlen(txt) / 2), static_cast<int>(y - 7), txt);
    PopActWin();
}

void DrwNorth(int w) {
    if (w < 0 || w >= DrwWinMax || !WinOpn[w] || !SetCurWin(w)) return;
    const ViewWinRec& vw = ViewWin[w];
    // The plan's +y seen from the camera: the screen direction of north.
    double dx = vw.RotV[0][1], dy = -vw.RotV[1][1];  // rightwards and downwards
    double l = std::sqrt(dx * dx + dy * dy);
    if (l < 1e-6) {
        dx = 0;
        dy = -1;
    } else {
        dx /= l;
        dy /= l;
    }
    const double R = 16, cx = DrwWinW(w) - 30.0, cy = 44;
    double tx = cx + dx * R, ty = cy + dy * R, bx = cx - dx * R, by = cy - dy * R;
    PixBgn(w);
    glColor3ub(255, 255, 255);
    PixLin(bx, by, tx, ty);
    glBegin(GL_TRIANGLES);
    glVertex2d(tx + 0.5, ty + 0.5);
    glVertex2d(cx - dy * 5 + 0.5, cy + dx * 5 + 0.5);
    glVertex2d(cx + dy * 5 + 0.5, cy - dx * 5 + 0.5);
    glEnd();
    PixEnd();
    SetCol(ColZero);
    PushActWin(w);
    DrwTxt(static_cast<int>(tx + dx * 10 - TxtChW / 2), static_cast<int>(ty + dy * 10 + TxtChH / 2 - 2), "N");
    PopActWin();
}
