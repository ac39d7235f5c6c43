// Grid vertex editing: the selection, raised or set heights; slope classes.
#include <algorithm>
#include <cmath>

#include "core/alc.h"
#include "core/msg.h"
#include "core/state.h"
#include "terrain/trn.h"

int NumVtxSlct = 0;
int* VtxSlct = nullptr;
float VtxHgtVal = 0.0f;
float SlpThr[4] = {60, 45, 30, 15};
uint8_t SlpMode = 0;
uint8_t SlpDsp = 0;

static int VtxSlctCap = 0;

void ClrVtxSlct() {
    if (VtxSlct) FreeMem(VtxSlct);
    VtxSlct = nullptr;
    NumVtxSlct = 0;
    VtxSlctCap = 0;
}

void AddVtxSlct(int i) {
    if (NumVtxSlct >= VtxSlctCap) {
        int cap = VtxSlctCap < 16 ? 16 : VtxSlctCap * 2;
        VtxSlct = static_cast<int*>(RealcMem(VtxSlct, static_cast<long long>(cap) * sizeof(int),
                                             "SlctVtxID"));
        VtxSlctCap = cap;
    }
    VtxSlct[NumVtxSlct++] = i;
}

// Whether the terrain can be edited through index i.
static bool VtxOk(int i) { return TrnSrf && TrnSrf->v && i >= 0 && i < TrnSrf->nv; }

bool AnyVtxSlctOk() {
    for (int k = 0; k < NumVtxSlct; k++)
        if (VtxOk(VtxSlct[k])) return true;
    return false;
}

// Normal of one grid vertex, by grid position.
static void VtxNrm(int me) {
    const int C = TrnGrd->cols;
    if (me / C >= TrnGrd->rows) return;
    CalVtxNrm(me / C, me % C);
}

void UdtSlctNrm() {
    if (!TrnSrf || !TrnGrd || !TrnSrf->nrm || TrnGrd->cols == 0) return;
    for (int k = 0; k < NumVtxSlct; k++)
        if (VtxOk(VtxSlct[k]) && VtxSlct[k] < TrnGrd->n) VtxNrm(VtxSlct[k]);
}

void RaiseVtxSlct(double dz) {
    bool any = false;
    for (int k = 0; k < NumVtxSlct; k++) {
        int i = VtxSlct[k];
        if (!VtxOk(i)) continue;
        TrnSrf->v[3 * i + 2] = static_cast<float>(TrnSrf->v[3 * i + 2] + dz);
        any = true;
    }
    if (!any) return;
    UdtSlctNrm();
    UdtBox(TrnSrf, OK_SRF);
}

void SetVtxHgt() {
    bool any = false;
    for (int k = 0; k < NumVtxSlct; k++) {
        int i = VtxSlct[k];
        if (!VtxOk(i)) continue;
        TrnSrf->v[3 * i + 2] = VtxHgtVal;
        any = true;
    }
    if (!any) return;
    UdtSlctNrm();
    UdtBox(TrnSrf, OK_SRF);
}

// Slope classes.

double VtxSlp(int r, int c) {
    if (!TrnSrf || !TrnGrd || !TrnSrf->v) return 0;
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    if (r < 0 || c < 0 || r >= R || c >= C) return 0;
    const int32_t* id = TrnGrd->vtx_id;
    const float* v = TrnSrf->v;
    const float* p = v + 3 * id[r * C + c];
    const int nb[4][3] = {{r, c - 1, 0}, {r, c + 1, 0}, {r - 1, c, 1}, {r + 1, c, 1}};
    double big = 0, sum = 0;
    int cnt = 0;
    for (const auto& n : nb) {
        if (n[0] < 0 || n[1] < 0 || n[0] >= R || n[1] >= C) continue;
        const float* q = v + 3 * id[n[0] * C + n[1]];
        double run = static_cast<double>(q[n[2]]) - p[n[2]];
        if (run == 0) continue;
        double s = std::fabs((static_cast<double>(q[2]) - p[2]) / run);
        big = std::max(big, s);
        sum += s;
        cnt++;
    }
    if (SlpMode == 1) return cnt ? sum / cnt : 0;
    return big;
}

void SlpClsRgb(int k, uint8_t rgb[3]) {
    static const uint8_t col[5][3] = {
        {0, 0, 255}, {0, 255, 255}, {0, 255, 0}, {255, 255, 0}, {255, 0, 0}};
    if (k < 0) k = 0;
    if (k > 4) k = 4;
    rgb[0] = col[k][0]; rgb[1] = col[k][1]; rgb[2] = col[k][2];
}

void SlpClsCol(double s, uint8_t rgb[3]) {
    auto tn = [](float deg) { return std::tan(static_cast<double>(deg) * M_PI / 180.0); };
    int k = s < tn(SlpThr[3]) ? 0 : s < tn(SlpThr[2]) ? 1 : s < tn(SlpThr[1]) ? 2
          : s < tn(SlpThr[0]) ? 3 : 4;
    SlpClsRgb(k, rgb);
}

void SlpCol(int i, float rgb[3]) {
    rgb[0] = rgb[1] = rgb[2] = 1;
    if (!TrnGrd || TrnGrd->cols == 0 || i < 0 || i >= TrnGrd->n) return;
    uint8_t b[3];
    SlpClsCol(VtxSlp(i / TrnGrd->cols, i % TrnGrd->cols), b);
    rgb[0] = b[0] / 255.0f; rgb[1] = b[1] / 255.0f; rgb[2] = b[2] / 255.0f;
}

// Dialog values.

double GetVtxHgtDlg() { return Rnd2(VtxHgtVal / MmPer(HgtUnit)); }

void SetVtxHgtDlg(double v) {
    if (std::isfinite(v)) VtxHgtVal = static_cast<float>(v * MmPer(HgtUnit));
}

void GetSlpDlg(int thr[4], int* mode) {
    for (int k = 0; k < 4; k++) thr[k] = static_cast<int>(std::lround(SlpThr[k]));
    *mode = SlpMode;
}

void RstSlpDlg() {
    SlpThr[0] = 60; SlpThr[1] = 45; SlpThr[2] = 30; SlpThr[3] = 15;
    SlpMode = 0;
}
