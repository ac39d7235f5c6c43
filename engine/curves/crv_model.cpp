// Contour curve model: the curve part, curve parameters, height colour and the selection.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include "core/alc.h"
#include "core/state.h"
#include "curves/crv.h"
#include "curves/crv_int.h"

prt* CrvPart = nullptr;
crv* CrntCrv = nullptr;
int NumCrvSlct = 0;
crv** CrvSlct = nullptr;

float CrvHgt = 0.0f;
float CrvScl = 1.0f;
float CrvRot = 0.0f;
float HgtRng = 500.0f;
double StrkStp = 5.0;
uint8_t BoxUpdOn = 1;

namespace {
// One channel of the HLS model, 0..100.
double HlsVal(double m1, double m2, double t) {
    if (t < 0) t += 360;
    if (t < 60) return m1 + (m2 - m1) * t / 60;
    if (t < 180) return m2;
    if (t < 240) return m1 + (m2 - m1) * (240 - t) / 60;
    return m1;
}
}  // namespace

void SetCrvCol(crv* c, float h) {
    if (!c) return;
    const double rf = static_cast<double>(HgtRng) * 1000.0;
    long long ri = static_cast<long long>(rf);
    // Towards zero; heights beyond any map are kept off the integer conversion's limits.
    const double hd = static_cast<double>(h);
    const long long hi = std::fabs(hd) < 9e15 ? static_cast<long long>(hd) : 0;
    // A range below one millimetre would divide by zero: treat the colours as not repeating.
    const long long rem = ri > 0 ? hi % ri : hi;
    const double rfd = rf > 0 ? rf : 1.0;
    double hue, l, s = 100;
    if (static_cast<double>(h) > 0.001) {
        hue = 280 - static_cast<double>(rem * 220) / rfd;
        l = 60;
    } else if (static_cast<double>(h) < -0.001) {
        hue = 300 + static_cast<double>(rem * 60) / rfd;
        l = 60;
    } else {
        hue = 0;
        l = 100;
    }
    const double m2 = l < 50 ? l + l * s / 100 : l + s - l * s / 100;
    const double m1 = 2 * l - m2;
    const double r = HlsVal(m1, m2, hue) * 255 / 100;
    const double g = HlsVal(m1, m2, hue - 120) * 255 / 100;
    const double b = HlsVal(m1, m2, hue - 240) * 255 / 100;
    c->col[0] = static_cast<float>(r / 255);
    c->col[1] = static_cast<float>(g / 255);
    c->col[2] = static_cast<float>(b / 255);
}

// ---- selection ----

bool IsCrvSlct(const crv* c) {
    for (int i = 0; i < NumCrvSlct; ++i)
        if (CrvSlct[i] == c) return true;
    return false;
}

void AddCrvSlct(crv* c) {
    if (!c || IsCrvSlct(c)) return;
    CrvSlct = static_cast<crv**>(
        RealcMem(CrvSlct, static_cast<long long>(sizeof(crv*)) * (NumCrvSlct + 1), "CrvSlct"));
    CrvSlct[NumCrvSlct++] = c;
    c->col[0] = 1; c->col[1] = 0; c->col[2] = 0;
}

void ClrCrvSlct() {
    for (int i = 0; i < NumCrvSlct; ++i) {
        crv* c = CrvSlct[i];
        if (c && c->n > 0) SetCrvCol(c, c->p[2]);
    }
    FreeMem(CrvSlct);
    CrvSlct = nullptr;
    NumCrvSlct = 0;
}

void DropCrvSlct(crv* c) {
    int k = 0;
    for (int i = 0; i < NumCrvSlct; ++i)
        if (CrvSlct[i] != c) CrvSlct[k++] = CrvSlct[i];
    NumCrvSlct = k;
    if (k == 0) { FreeMem(CrvSlct); CrvSlct = nullptr; }
}

// Forget the selection without touching the curves (they belong to a scene being replaced).
void ForgetCrvSlct() {
    FreeMem(CrvSlct);
    CrvSlct = nullptr;
    NumCrvSlct = 0;
}

CrvObs CrvHook{};

void RstCrvPrm() {
    ForgetCrvSlct();
    CrntCrv = nullptr;
    if (CrvHook.reset) CrvHook.reset(false);
}

void SetCrvPart(prt* p) {
    if (p != CrvPart) {
        ForgetCrvSlct();
        CrntCrv = nullptr;
        if (CrvHook.reset) CrvHook.reset(true);
    }
    CrvPart = p;
}

namespace {
// A freed part that held the curves takes the curve part with it.
const bool Hooked = [] {
    ScnHook.forget = [](void* o) {
        if (CrvPart == o) SetCrvPart(nullptr);
    };
    return true;
}();
}  // namespace

// ---- creation and change ----

crv* NewCrv() {
    if (!CrvPart) return nullptr;
    char name[64];
    std::snprintf(name, sizeof name, "等高線%d", CrvPart->crvs.n + 1);
    crv* c = NewCrvObj(name);
    if (!c) return nullptr;
    AtchCrvPrt(CrvPart, c);
    return c;
}

void AddPnt(crv* c, float x, float y, float z) {
    if (c) AddCrvPnt(c, x, y, z);
}

void DelPnt(crv* c, int index) {
    if (c && index >= 0 && index < c->n) DelCrvPnt(c, index);
}

void SetCrvHgt(crv* c, float h) {
    if (!c) return;
    for (int i = 0; i < c->n; ++i) c->p[3 * i + 2] = h;
    SetCrvCol(c, h);
    c->box.min[2] = h - 0.05f;
    c->box.max[2] = h + 0.05f;
    ModFlg = 1;
    if (BoxUpdOn && c->own) UdtBox(c->own, c->ownKind);
}

void FreeCrv(crv* c) {
    if (!c) return;
    DropCrvSlct(c);
    if (CrntCrv == c) CrntCrv = nullptr;
    if (CrvHook.freed) CrvHook.freed(c);
    FreeCrvObj(c, true);
}

void CopyCrv(crv* dst, const crv* src) {
    if (!dst || !src || dst == src) return;
    // Allocate first so that a failure leaves dst as it was.
    float* p = nullptr;
    if (src->n > 0) {
        p = static_cast<float*>(AlcMem(static_cast<long long>(sizeof(float)) * 3 * src->n, "p"));
        std::memcpy(p, src->p, sizeof(float) * 3 * src->n);
    }
    FreeMem(dst->p);
    dst->p = p;
    dst->n = src->n;
    std::memcpy(dst->col, src->col, sizeof dst->col);
    dst->xfm = src->xfm;
    std::memcpy(dst->mtx, src->mtx, sizeof dst->mtx);
    dst->box = src->box;
    dst->b1 = src->b1;
    dst->vis = src->vis;
    dst->b3 = src->b3;
    ModFlg = 1;
}

crv* CopyCrvNew(const crv* src) {
    crv* c = NewCrvObj(src->name ? src->name : "");
    CopyCrv(c, src);
    return c;
}

crv* AddCrvCopy(const crv* src) {
    if (!CrvPart) return nullptr;
    crv* c = NewCrvObj(src->name ? src->name : "");
    CopyCrv(c, src);
    AtchCrvPrt(CrvPart, c);
    return c;
}

void SetCrvPnts(crv* c, int n) {
    if (!c || n < 0 || n >= c->n) return;
    if (n == 0) {
        FreeMem(c->p);
        c->p = nullptr;
    } else {
        c->p = static_cast<float*>(RealcMem(c->p, static_cast<long long>(sizeof(float)) * 3 * n, "p"));
    }
    c->n = n;
    ModFlg = 1;
}

void RevCrv(crv* c) {
    if (!c) return;
    for (int i = 0, j = c->n - 1; i < j; ++i, --j)
        for (int k = 0; k < 3; ++k) std::swap(c->p[3 * i + k], c->p[3 * j + k]);
    ModFlg = 1;
}

void AppCrvPnts(crv* dst, const crv* src, int from, int to, bool rev) {
    if (!dst || !src || from > to || from < 0 || to >= src->n) return;
    const int m = to - from + 1;
    // src may be dst itself: copy the run before the array moves.
    float* tmp = static_cast<float*>(AlcMem(static_cast<long long>(sizeof(float)) * 3 * m, "p"));
    for (int k = 0; k < m; ++k) {
        const int s = rev ? to - k : from + k;
        std::memcpy(tmp + 3 * k, src->p + 3 * s, sizeof(float) * 3);
    }
    float* p = static_cast<float*>(
        RealcMem(dst->p, static_cast<long long>(sizeof(float)) * 3 * (dst->n + m), "p"));
    std::memcpy(p + 3 * dst->n, tmp, sizeof(float) * 3 * m);
    FreeMem(tmp);
    dst->p = p;
    for (int k = 0; k < m; ++k) {
        const float* q = p + 3 * (dst->n + k);
        for (int a = 0; a < 2; ++a) {
            if (q[a] < dst->box.min[a]) dst->box.min[a] = q[a];
            if (q[a] > dst->box.max[a]) dst->box.max[a] = q[a];
        }
    }
    dst->n += m;
    ModFlg = 1;
}

void CalCrvBox(crv* c) {
    if (!c) return;
    if (c->n == 0) {
        c->box.min[0] = c->box.min[1] = 1e15f;
        c->box.max[0] = c->box.max[1] = -1e15f;
        return;
    }
    for (int a = 0; a < 3; ++a) c->box.min[a] = c->box.max[a] = c->p[a];
    for (int i = 1; i < c->n; ++i)
        for (int a = 0; a < 3; ++a) {
            const float v = c->p[3 * i + a];
            if (v < c->box.min[a]) c->box.min[a] = v;
            if (v > c->box.max[a]) c->box.max[a] = v;
        }
}

void UdtCrvBox() {
    if (CrvPart) UdtBox(CrvPart, OK_PRT);
}

// ---- searches ----

bool CrvBoxOvl(const crv* c, const double lo[2], const double hi[2]) {
    return c->box.min[0] <= hi[0] && c->box.min[1] <= hi[1] && c->box.max[0] >= lo[0] &&
           c->box.max[1] >= lo[1];
}

bool CrvCrsWnd(const crv* c, const double lo[2], const double hi[2]) {
    const double cn[5][2] = {{lo[0], lo[1]}, {hi[0], lo[1]}, {hi[0], hi[1]}, {lo[0], hi[1]},
                             {lo[0], lo[1]}};
    double out[2][2];
    // A crossing needs the rectangles to meet within 0.0001: segments apart from the window's
    // rectangle, or wholly inside it, cannot cross an edge.
    const double m = 0.0002;
    for (int i = 0; i + 1 < c->n; ++i) {
        const double a[2] = {c->p[3 * i], c->p[3 * i + 1]};
        const double b[2] = {c->p[3 * i + 3], c->p[3 * i + 4]};
        const double x0 = std::fmin(a[0], b[0]), x1 = std::fmax(a[0], b[0]);
        const double y0 = std::fmin(a[1], b[1]), y1 = std::fmax(a[1], b[1]);
        if (x1 < lo[0] - m || x0 > hi[0] + m || y1 < lo[1] - m || y0 > hi[1] + m) continue;
        if (x0 > lo[0] + m && x1 < hi[0] - m && y0 > lo[1] + m && y1 < hi[1] - m) continue;
        for (int e = 0; e < 4; ++e)
            if (IntscSeg(a, b, cn[e], cn[e + 1], out) > 0) return true;
    }
    return false;
}
