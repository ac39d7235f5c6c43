// Where the pointer is: the plan point under a window pixel and, over the terrain, its height.
// The status bar shows them; nothing here draws.
#include <cmath>
#include "display/view.h"
#include "scene/scene.h"
#include "terrain/trn.h"

namespace {
// The grid cell under plan point (x, y): its lower-left post (r, c) and the fractions (fu, fv)
// across it; false off the grid or without one.
bool GrdCellAt(double x, double y, int* r, int* c, double* fu, double* fv) {
    const srf* s = TrnSrf;
    const pgn* g = TrnGrd;
    if (!s || !g || !s->v || !s->vis || !g->vtx_id) return false;
    int R = g->rows, C = g->cols;
    if (R < 2 || C < 2 || g->n < R * C) return false;
    auto at = [&](int i, int j) -> const float* {
        int id = g->vtx_id[i * C + j];
        return id >= 0 && id < s->nv ? s->v + 3LL * id : nullptr;
    };
    const float *a = at(0, 0), *bx = at(0, C - 1), *by = at(R - 1, 0);
    if (!a || !bx || !by) return false;
    double dx = (bx[0] - a[0]) / (C - 1), dy = (by[1] - a[1]) / (R - 1);
    if (!(std::fabs(dx) > 0) || !(std::fabs(dy) > 0)) return false;
    double u = (x - a[0]) / dx, v = (y - a[1]) / dy;
    if (!(u >= 0 && v >= 0 && u <= C - 1 && v <= R - 1)) return false;
    *c = u >= C - 1 ? C - 2 : static_cast<int>(u);
    *r = v >= R - 1 ? R - 2 : static_cast<int>(v);
    *fu = u - *c;
    *fv = v - *r;
    return true;
}
}  // namespace

bool TrnHgtAt(double x, double y, double* z) {
    int r, c;
    double fu, fv;
    if (!GrdCellAt(x, y, &r, &c, &fu, &fv)) return false;
    const srf* s = TrnSrf;
    const pgn* g = TrnGrd;
    auto at = [&](int i, int j) -> const float* {
        int id = g->vtx_id[i * g->cols + j];
        return id >= 0 && id < s->nv ? s->v + 3LL * id : nullptr;
    };
    const float *p00 = at(r, c), *p01 = at(r, c + 1), *p10 = at(r + 1, c), *p11 = at(r + 1, c + 1);
    if (!p00 || !p01 || !p10 || !p11) return false;
    *z = (p00[2] * (1 - fu) + p01[2] * fu) * (1 - fv) + (p10[2] * (1 - fu) + p11[2] * fu) * fv;
    return true;
}

bool TrnNoHgtAt(double x, double y) {
    const uint8_t* gap = TrnGapOf();
    int r, c;
    double fu, fv;
    if (!gap || !GrdCellAt(x, y, &r, &c, &fu, &fv)) return false;
    const int C = TrnGrd->cols;
    for (int i = r; i <= r + 1; ++i)
        for (int j = c; j <= c + 1; ++j) {
            const int id = TrnGrd->vtx_id[i * C + j];
            if (id >= 0 && id < TrnSrf->nv && gap[id]) return true;
        }
    return false;
}

int PtrMdlPnt(double x, double y, double p[3]) {
    if (ViewDim == 0) {
        double w[3] = {x, y, 0};
        WinToMdl(w, 0, p);
        double z;
        if (!TrnHgtAt(p[0], p[1], &z)) return 1;
        p[2] = z;
        return 2;
    }
    // 3D: walk the pointer's ray from the near plane to the far one and take its first
    // crossing of the terrain, refined by halving.
    double n[3], f[3];
    double wn[3] = {x, y, ZRes - 1}, wf[3] = {x, y, 0};
    WinToMdl(wn, 0, n);
    WinToMdl(wf, 0, f);
    if (!std::isfinite(n[0] + n[1] + n[2] + f[0] + f[1] + f[2])) return 0;
    auto above = [&](double t, int* known) {
        double q[3] = {n[0] + (f[0] - n[0]) * t, n[1] + (f[1] - n[1]) * t, n[2] + (f[2] - n[2]) * t};
        double z;
        *known = TrnHgtAt(q[0], q[1], &z);
        return !*known || q[2] > z;
    };
    int cells = TrnGrd ? (TrnGrd->rows > TrnGrd->cols ? TrnGrd->rows : TrnGrd->cols) : 0;
    if (cells < 2) return 0;
    int N = cells * 2 > 4000 ? 4000 : cells * 2;
    double t0 = 0;
    for (int i = 1; i <= N; ++i) {
        double t1 = static_cast<double>(i) / N;
        int k;
        if (above(t1, &k)) {
            t0 = t1;
            continue;
        }
        for (int j = 0; j < 40; ++j) {
            double tm = (t0 + t1) / 2;
            if (above(tm, &k)) t0 = tm;
            else t1 = tm;
        }
        double q[3] = {n[0] + (f[0] - n[0]) * t1, n[1] + (f[1] - n[1]) * t1, 0};
        double z;
        if (!TrnHgtAt(q[0], q[1], &z)) return 0;
        p[0] = q[0];
        p[1] = q[1];
        p[2] = z;
        return 2;
    }
    return 0;
}
