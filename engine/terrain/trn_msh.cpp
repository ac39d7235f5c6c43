// Terrain region and flat grid: layout, storage in the scene, normals, visibility, deletion.
#include <unistd.h>

#include <cmath>
#include <vector>
#include <cstring>

#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "curves/crv.h"
#include "scene/georef.h"
#include "terrain/trn.h"
#include "terrain/trn_err.h"
#include "terrain/trn_cmd.h"

float TrnRgn[6] = {-5000000, -5000000, 0, 5000000, 5000000, 0};
float MshItv = 50000.0f;
LenUnit RgnUnit = LenUnit::M, ItvUnit = LenUnit::M, HgtUnit = LenUnit::M;
int CrsAngNum = 8;
float CrsLenScl = 0.3f;
float SamHgtDst = 20000.0f;
float FltrAng = 45.0f;
int IntpPrph = 0;
int TrnMethod = TrnMethodCrs;
uint8_t TrnGenRef = 0;

static const char kTrnNam[] = "地形";
static const char kTooMany[] = "サーフェースの頂点が多すぎます";

double Rnd2(double v) {
    double r = std::floor(std::fabs(v) * 100.0 + 0.5) / 100.0;
    return v < 0 ? -r : r;
}

bool RgnFromExt(float x0, float y0, float x1, float y1, bool onlyDef) {
    static const float def[6] = {-5000000, -5000000, 0, 5000000, 5000000, 0};
    if (onlyDef && std::memcmp(TrnRgn, def, sizeof def) != 0) return false;
    if (!(x0 <= x1 && y0 <= y1)) return false;
    TrnRgn[0] = x0; TrnRgn[1] = y0; TrnRgn[2] = 0;
    TrnRgn[3] = x1; TrnRgn[4] = y1; TrnRgn[5] = 0;
    return true;
}

bool RgnFromCrv(bool onlyDef) {
    float lo[2] = {HUGE_VALF, HUGE_VALF}, hi[2] = {-HUGE_VALF, -HUGE_VALF};
    for (int i = 0; CrvPart && i < CrvPart->crvs.n; i++) {
        const crv* c = CrvPart->crvs.a[i];
        for (int k = 0; c->p && k < c->n; k++)
            for (int a = 0; a < 2; a++) {
                lo[a] = std::fmin(lo[a], c->p[3 * k + a]);
                hi[a] = std::fmax(hi[a], c->p[3 * k + a]);
            }
    }
    return RgnFromExt(lo[0], lo[1], hi[0], hi[1], onlyDef);
}

void RstTrnRgn() {
    TrnRgn[0] = -5000000; TrnRgn[1] = -5000000; TrnRgn[2] = 0;
    TrnRgn[3] = 5000000;  TrnRgn[4] = 5000000;  TrnRgn[5] = 0;
    ClrVtxSlct();
}

// The part that holds the terrain surface and the contours.
static prt* TrnPart() { return TrnPrt ? TrnPrt : CrvPart; }

// Number of whole intervals on each side of the centre (the leftover becomes an interval of its
// own when it is longer than 0.3 of the interval).
static long long HalfCnt(float h, float d) {
    float q = h / d;
    if (!(q < 4.0e9f)) return -1;   // also NaN and infinities
    long long n = static_cast<long long>(q);
    if (std::fabs(static_cast<float>(n) * d - h) > 0.3f * d) n = n + 1;
    return n;
}

// Memory that a new grid of nv vertices may take: what the machine has, leaving room for the
// undo copy and the rest of the program.
static bool GridFits(long long nv) {
    long long per = 3 * 4 + 3 * 4 + 4;  // vertex, normal, index
    long long pages = sysconf(_SC_PHYS_PAGES), psz = sysconf(_SC_PAGESIZE);
    long long avail = (pages > 0 && psz > 0) ? pages / 4 * psz : (1LL << 31);
    return nv <= avail / per;
}

bool TrnMshDim(const float rgn[6], float d, int* R, int* C) {
    float x0 = std::fmin(rgn[0], rgn[3]), x1 = std::fmax(rgn[0], rgn[3]);
    float y0 = std::fmin(rgn[1], rgn[4]), y1 = std::fmax(rgn[1], rgn[4]);
    float hx = (x1 - x0) * 0.5f, hy = (y1 - y0) * 0.5f;
    long long nx = d > 0 ? HalfCnt(hx, d) : -1, ny = d > 0 ? HalfCnt(hy, d) : -1;
    if (nx < 0 || ny < 0 || 2 * nx + 1 > 65535 || 2 * ny + 1 > 65535) return false;
    *C = static_cast<int>(2 * nx + 1);
    *R = static_cast<int>(2 * ny + 1);
    return true;
}

void TrnMshAxes(const float rgn[6], float d, int R, int C, float* xs, float* ys) {
    // The grid runs from the lower-left to the upper-right corner, whatever the order given.
    float x0 = std::fmin(rgn[0], rgn[3]), x1 = std::fmax(rgn[0], rgn[3]);
    float y0 = std::fmin(rgn[1], rgn[4]), y1 = std::fmax(rgn[1], rgn[4]);
    float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    const int nx = C / 2, ny = R / 2;
    for (int j = -ny; j <= ny; j++) ys[j + ny] = j == -ny ? y0 : j == ny ? y1 : cy + static_cast<float>(j) * d;
    for (int k = -nx; k <= nx; k++) xs[k + nx] = k == -nx ? x0 : k == nx ? x1 : cx + static_cast<float>(k) * d;
}

void TrnMshPts(const float rgn[6], float d, int R, int C, float* v) {
    std::vector<float> xs(static_cast<size_t>(C)), ys(static_cast<size_t>(R));
    TrnMshAxes(rgn, d, R, C, xs.data(), ys.data());
    long long i = 0;
    for (int j = 0; j < R; j++)
        for (int k = 0; k < C; k++, i++) {
            v[3 * i] = xs[static_cast<size_t>(k)];
            v[3 * i + 1] = ys[static_cast<size_t>(j)];
            v[3 * i + 2] = 0;
        }
}

bool CreTrnMsh() {
    prt* part = TrnPart();
    if (!part) return false;
    int R = 0, C = 0;
    // Rows and columns are stored in 16 bits: refuse the grid before anything changes.
    if (!TrnMshDim(TrnRgn, MshItv, &R, &C) || !GridFits(static_cast<long long>(R) * C)) {
        DspErrMsg(MsgNoMem, kTooMany);
        return false;
    }
    int N = R * C;

    // Allocate everything first so that a failure leaves the previous terrain in place.
    float* v = static_cast<float*>(AlcMem(3LL * N * sizeof(float), "srf->v"));
    float* nrm = nullptr;
    int32_t* ids = nullptr;
    srf* s = nullptr;
    pgn* g = nullptr;
    Cleanup drop([&] {
        if (s) FreeSrf(s, false);
        if (v) FreeMem(v);
        if (nrm) FreeMem(nrm);
        if (ids) FreeMem(ids);
    });
    nrm = static_cast<float*>(AlcMem(3LL * N * sizeof(float), "srf->n"));
    ids = static_cast<int32_t*>(AlcMem(static_cast<long long>(N) * sizeof(int32_t), "vtx_id"));
    s = NewSrf(kTrnNam);
    s->nv = N; s->v = v; s->nrm = nrm;
    v = nullptr; nrm = nullptr;
    g = NewPgn(s);
    g->n = N; g->vtx_id = ids;
    ids = nullptr;
    drop.Keep();
    v = s->v; nrm = s->nrm; ids = g->vtx_id;
    TrnMshPts(TrnRgn, MshItv, R, C, v);
    for (int i = 0; i < N; i++) {
        nrm[3 * i] = 0; nrm[3 * i + 1] = 0; nrm[3 * i + 2] = 1;
        ids[i] = i;
    }

    if (TrnSrf) FreeSrf(TrnSrf, true);
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    TrnGapClr();
    TrnErrClr();
    ClrVtxSlct();
    AtchSrfPrt(part, s);
    s->mtlIdx = 0;
    s->mtlPtr = nullptr;
    if (TrnPrd && TrnPrd->mtlTbls.n > 0 && TrnPrd->mtlTbls.a[0]->mtls.n > 0)
        s->mtlPtr = TrnPrd->mtlTbls.a[0]->mtls.a[0];
    s->dspFlg = SrfFlgTrn;
    s->vis = 1;
    g->type = PgnGrd;
    g->rows = static_cast<uint16_t>(R);
    g->cols = static_cast<uint16_t>(C);
    TrnSrf = s;
    TrnGrd = g;
    UdtBox(s, OK_SRF);
    return true;
}

// Normal of the grid vertex in row r, column c: the mean of the unit normals of the corners
// that its four neighbours make with it.
void CalVtxNrm(int r, int c) {
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    const int32_t* id = TrnGrd->vtx_id;
    const float* v = TrnSrf->v;
    const int me = id[r * C + c];
    int nb[4] = {r > 0 ? id[(r - 1) * C + c] : -1, c + 1 < C ? id[r * C + c + 1] : -1,
                 r + 1 < R ? id[(r + 1) * C + c] : -1, c > 0 ? id[r * C + c - 1] : -1};
    float sum[3] = {0, 0, 0};
    int cnt = 0;
    const float* p = v + 3 * me;
    for (int k = 0; k < 4; k++) {
        int j = (k + 3) % 4;
        if (nb[k] < 0 || nb[j] < 0) continue;
        const float* pk = v + 3 * nb[k];
        const float* pj = v + 3 * nb[j];
        float a[3] = {pk[0] - p[0], pk[1] - p[1], pk[2] - p[2]};
        float b[3] = {p[0] - pj[0], p[1] - pj[1], p[2] - pj[2]};
        float f[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                      a[0] * b[1] - a[1] * b[0]};
        float len = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
        if (len > 0.001f) { f[0] /= len; f[1] /= len; f[2] /= len; }
        sum[0] += f[0]; sum[1] += f[1]; sum[2] += f[2];
        cnt++;
    }
    float* o = TrnSrf->nrm + 3 * me;
    if (cnt) { o[0] = sum[0] / cnt; o[1] = sum[1] / cnt; o[2] = sum[2] / cnt; }
    else { o[0] = o[1] = o[2] = 0; }
}

// The grid's first and last vertices lie on the region's corners, so an undone grid also gives
// back the region it was built over.
void RgnFromTrn() {
    if (!TrnSrf || !TrnGrd || !TrnSrf->v || TrnGrd->n < 1 || !TrnGrd->vtx_id) return;
    const float* a = TrnSrf->v + 3 * TrnGrd->vtx_id[0];
    const float* b = TrnSrf->v + 3 * TrnGrd->vtx_id[TrnGrd->n - 1];
    TrnRgn[0] = a[0]; TrnRgn[1] = a[1]; TrnRgn[2] = 0;
    TrnRgn[3] = b[0]; TrnRgn[4] = b[1]; TrnRgn[5] = 0;
}

void CalTrnNrm() {
    if (!TrnSrf || !TrnGrd || !TrnSrf->v || !TrnSrf->nrm) return;
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    for (int r = 0; r < R; r++)
        for (int c = 0; c < C; c++) CalVtxNrm(r, c);
}

void DelTrn() {
    if (!TrnSrf) return;
    FreeSrf(TrnSrf, true);
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    TrnErrClr();
    ClrVtxSlct();
}

void SetTrnVis(int vis) {
    prt* part = TrnPart();
    if (!part) return;
    for (int i = 0; i < part->srfs.n; i++) part->srfs.a[i]->vis = static_cast<uint8_t>(vis);
}

// Region dialog values.

void GetRgnDlg(double corner[4], double* itv) {
    double f = MmPer(RgnUnit);
    if (GisRef.known) {
        // Real-world corners, to the millimetre.
        const double o[4] = {OrgMmX(), OrgMmY(), OrgMmX(), OrgMmY()};
        const float* r[4] = {&TrnRgn[0], &TrnRgn[1], &TrnRgn[3], &TrnRgn[4]};
        for (int k = 0; k < 4; k++) corner[k] = std::round(*r[k] + o[k]) / f;
    } else {
        corner[0] = Rnd2(TrnRgn[0] / f); corner[1] = Rnd2(TrnRgn[1] / f);
        corner[2] = Rnd2(TrnRgn[3] / f); corner[3] = Rnd2(TrnRgn[4] / f);
    }
    *itv = Rnd2(MshItv / MmPer(ItvUnit));
}

void SetRgnWld(const double m[4]) {
    const double ox = GisRef.known ? GisRef.ox : 0, oy = GisRef.known ? GisRef.oy : 0;
    // As the batch command converts its --region, so that both lay the same posts.
    TrnRgn[0] = static_cast<float>((std::fmin(m[0], m[2]) - ox) * 1000.0);
    TrnRgn[1] = static_cast<float>((std::fmin(m[1], m[3]) - oy) * 1000.0);
    TrnRgn[3] = static_cast<float>((std::fmax(m[0], m[2]) - ox) * 1000.0);
    TrnRgn[4] = static_cast<float>((std::fmax(m[1], m[3]) - oy) * 1000.0);
    TrnRgn[2] = TrnRgn[5] = 0;
}

bool ChkItv(double itv) { return itv >= 1.0 && itv <= 1e11; }

bool SetRgnItv(double itv) {
    if (!ChkItv(itv)) return false;
    MshItv = static_cast<float>(itv * MmPer(ItvUnit));
    return true;
}

bool SetRgnDlg(const double corner[4], double itv) {
    if (!ChkItv(itv)) return false;
    for (int k = 0; k < 4; k++)
        if (!std::isfinite(corner[k])) return false;
    double f = MmPer(RgnUnit);
    if (GisRef.known) {
        // Real-world corners: to metres, then as the batch command takes its region.
        double m[4];
        for (int k = 0; k < 4; k++) m[k] = RgnUnit == LenUnit::M ? corner[k] : corner[k] * f * 0.001;
        SetRgnWld(m);
        MshItv = static_cast<float>(itv * MmPer(ItvUnit));
        return true;
    }
    double x0 = std::fmin(corner[0], corner[2]) * f, x1 = std::fmax(corner[0], corner[2]) * f;
    double y0 = std::fmin(corner[1], corner[3]) * f, y1 = std::fmax(corner[1], corner[3]) * f;
    TrnRgn[0] = static_cast<float>(x0); TrnRgn[1] = static_cast<float>(y0); TrnRgn[2] = 0;
    TrnRgn[3] = static_cast<float>(x1); TrnRgn[4] = static_cast<float>(y1); TrnRgn[5] = 0;
    MshItv = static_cast<float>(itv * MmPer(ItvUnit));
    return true;
}
