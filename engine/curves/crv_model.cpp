// Contour curve model: the curve part, curve parameters, height colour and the selection.
#include <cmath>
#include <cstring>
#include "core/alc.h"
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
    const long long hi = static_cast<long long>(h);  // towards zero
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

void RstCrvPrm() {
    ForgetCrvSlct();
    CrntCrv = nullptr;
    RstInpState();
}

void SetCrvPart(prt* p) {
    if (p != CrvPart) {
        ForgetCrvSlct();
        CrntCrv = nullptr;
        RstInpState();
        ClrUndo();  // its references point into the old part
    }
    CrvPart = p;
}
