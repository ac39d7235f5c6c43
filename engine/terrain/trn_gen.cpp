// Terrain generation: contour records, the per-vertex cross-line method, the spline and the
// creation driver.
#include <algorithm>
#include <cmath>
#include <cfloat>
#include <cstring>
#include <vector>

#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "terrain/trn.h"
#include "terrain/trn_err.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"
#include "terrain/trn_mth.h"
#include "terrain/trn_path.h"

// Contour records and context.

cntr* MkCntr(int* n) {
    *n = 0;
    prt* part = TrnPrt ? TrnPrt : CrvPart;
    if (!part || part->crvs.n == 0) return nullptr;
    int cnt = 0;
    for (int i = 0; i < part->crvs.n; i++)
        if (part->crvs.a[i]->n >= 2) cnt++;
    if (cnt == 0) return nullptr;
    cntr* c = static_cast<cntr*>(AlcMem(static_cast<long long>(cnt) * sizeof(cntr), "cntr"));
    std::memset(c, 0, sizeof(cntr) * cnt);
    int k = 0;
    Cleanup drop([&] { FreeCntr(c, k); });
    for (int i = 0; i < part->crvs.n; i++) {
        const crv* cv = part->crvs.a[i];
        if (cv->n < 2) continue;
        cntr& r = c[k];
        r.pnt = static_cast<double*>(AlcMem(2LL * cv->n * sizeof(double), "pnt"));
        r.n = cv->n;
        r.hgt = cv->p[2];
        r.minx = r.miny = 1e15;
        r.maxx = r.maxy = -1e15;
        for (int j = 0; j < cv->n; j++) {
            double x = cv->p[3 * j], y = cv->p[3 * j + 1];
            r.pnt[2 * j] = x;
            r.pnt[2 * j + 1] = y;
            r.minx = std::min(r.minx, x); r.maxx = std::max(r.maxx, x);
            r.miny = std::min(r.miny, y); r.maxy = std::max(r.maxy, y);
        }
        k++;
    }
    drop.Keep();
    *n = cnt;
    return c;
}

void FreeCntr(cntr* c, int n) {
    if (!c) return;
    for (int i = 0; i < n; i++)
        if (c[i].pnt) FreeMem(c[i].pnt);
    FreeMem(c);
}

TrnGenPrm GenPrmOfSettings() {
    TrnGenPrm p;
    p.crsAngNum = CrsAngNum;
    p.crsLenScl = CrsLenScl;
    p.samDst = SamHgtDst;
    return p;
}

void IniGenCtx(TrnGenCtx& ctx, const cntr* c, int nc, double L, const TrnGenPrm& prm) {
    ctx.c = c;
    ctx.nc = nc;
    ctx.L = L;
    ctx.s = L * static_cast<double>(prm.crsLenScl);
    // A step too short to advance the walk would never end it.
    if (ctx.s < L * 1e-6) ctx.s = L * 1e-6;
    ctx.nAng = prm.crsAngNum > 0 ? prm.crsAngNum : 1;
    ctx.samDst = prm.samDst;
    ctx.fb = prm.fb;
    ctx.dir = static_cast<double*>(AlcMem(4LL * ctx.nAng * sizeof(double), "cntr_crv"));
    for (int a = 0; a < ctx.nAng; a++) {
        double th = a * M_PI / ctx.nAng;
        double c0 = std::cos(th), s0 = std::sin(th), c1 = std::cos(th + M_PI), s1 = std::sin(th + M_PI);
        // Along the axes the components that are zero are zero, not rounding noise: a walk down an
        // edge of the map must stay on it, or the rectangle tests lose the contours clipped there.
        if (a == 0) s0 = s1 = 0;
        if (2 * a == ctx.nAng) c0 = c1 = 0;
        ctx.dir[4 * a] = c0;
        ctx.dir[4 * a + 1] = s0;
        ctx.dir[4 * a + 2] = c1;
        ctx.dir[4 * a + 3] = s1;
    }
}

void FreeGenCtx(TrnGenCtx& ctx) {
    if (ctx.dir) FreeMem(ctx.dir);
    ctx.dir = nullptr;
}

double GenExt(const cntr* c, int nc, const float* v, int nv) {
    double lo[2] = {HUGE_VAL, HUGE_VAL}, hi[2] = {-HUGE_VAL, -HUGE_VAL};
    for (int i = 0; i < nc; i++) {
        lo[0] = std::min(lo[0], c[i].minx); hi[0] = std::max(hi[0], c[i].maxx);
        lo[1] = std::min(lo[1], c[i].miny); hi[1] = std::max(hi[1], c[i].maxy);
    }
    for (int i = 0; i < nv; i++)
        for (int k = 0; k < 2; k++) {
            lo[k] = std::min(lo[k], static_cast<double>(v[3 * i + k]));
            hi[k] = std::max(hi[k], static_cast<double>(v[3 * i + k]));
        }
    if (!(hi[0] >= lo[0]) || !(hi[1] >= lo[1])) return 0;
    return std::max(hi[0] - lo[0], hi[1] - lo[1]);
}

cntr* LocCntr(const cntr* c, int nc, double ox, double oy) {
    if (nc <= 0) return nullptr;
    cntr* l = static_cast<cntr*>(AlcMem(static_cast<long long>(nc) * sizeof(cntr), "cntr"));
    std::memset(l, 0, sizeof(cntr) * nc);
    Cleanup drop([&] { FreeCntr(l, nc); });
    for (int i = 0; i < nc; i++) {
        l[i] = c[i];
        l[i].pnt = nullptr;
        l[i].pnt = static_cast<double*>(AlcMem(2LL * c[i].n * sizeof(double), "pnt"));
        for (int k = 0; k < c[i].n; k++) {
            l[i].pnt[2 * k] = c[i].pnt[2 * k] - ox;
            l[i].pnt[2 * k + 1] = c[i].pnt[2 * k + 1] - oy;
        }
        l[i].minx = c[i].minx - ox; l[i].maxx = c[i].maxx - ox;
        l[i].miny = c[i].miny - oy; l[i].maxy = c[i].maxy - oy;
    }
    drop.Keep();
    return l;
}

// Walk pieces.

void FarPt(const TrnGenCtx& ctx, const double v[2], const double u[2], double f[2]) {
    f[0] = v[0] + ctx.L * u[0];
    f[1] = v[1] + ctx.L * u[1];
}

void NextPt(const TrnGenCtx& ctx, const double s[2], const double u[2], double e[2]) {
    e[0] = s[0] + ctx.s * u[0];
    e[1] = s[1] + ctx.s * u[1];
}

bool AddCrs(CrsLst& l, const double p[2], float hgt, double vx, double vy) {
    if (l.n >= l.cap && !(l.more && l.more(l))) return false;
    l.e[l.n] = CrsEnt(p, hgt, vx, vy, l.n);
    l.n++;
    return true;
}

bool OutRect(const cntr& c, const double s[2], const double e[2]) {
    return (s[0] < c.minx && e[0] < c.minx) || (s[0] > c.maxx && e[0] > c.maxx) ||
           (s[1] < c.miny && e[1] < c.miny) || (s[1] > c.maxy && e[1] > c.maxy);
}

bool CrsRect(const cntr& c, const double v[2], const double f[2]) {
    const double p[4][2] = {{c.minx, c.miny}, {c.maxx, c.miny}, {c.maxx, c.maxy}, {c.minx, c.maxy}};
    double out[2][2];
    for (int k = 0; k < 4; k++)
        if (IntscSeg(v, f, p[k], p[(k + 1) % 4], out) > 0) return true;
    return false;
}

// One cross line from its two lists.

static double Dist(const crs_ent& a, const crs_ent& b) {
    double dx = a.x - b.x, dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

// The four nearest entries to the front, then same-height neighbours closer than samDst out.
void OrdCrs(const TrnGenCtx& ctx, CrsLst& l) {
    int n = l.n;
    for (int i = 0; i < std::min(n, 4); i++) {
        int best = i;
        for (int j = i + 1; j < n; j++)
            if (l.e[j].dst < l.e[best].dst) best = j;
        if (best != i) std::swap(l.e[i], l.e[best]);
    }
    for (int i = 1; i < l.n;) {
        const crs_ent& a = l.e[i - 1];
        const crs_ent& b = l.e[i];
        if (std::fabs(static_cast<double>(a.hgt) - b.hgt) < 0.001 && Dist(a, b) < ctx.samDst) {
            std::memmove(&l.e[i], &l.e[i + 1], sizeof(crs_ent) * (l.n - i - 1));
            l.n--;
        }
        // the next pair is examined either way
        i++;
    }
}

static bool Eq(float a, float b) { return std::fabs(static_cast<double>(a) - b) < 0.001; }

static int Typ4(const float h[4]) {
    bool e01 = Eq(h[0], h[1]), e12 = Eq(h[1], h[2]), e23 = Eq(h[2], h[3]);
    bool e02 = Eq(h[0], h[2]), e03 = Eq(h[0], h[3]), e13 = Eq(h[1], h[3]);
    if (e01 && e12) return e23 ? LinFlat : LinFour4;
    if (e01) return e13 ? LinFour4 : LinFour2;
    if (e12) return e23 ? LinFour4 : e03 ? LinFour3 : LinFour4;
    if (e23) return e02 ? LinFour4 : LinFour2;
    if (e02) return LinFour2;
    if (e03) return LinFour4;
    if (e13) return LinFour2;
    return LinFour1;
}

static void SetPt(float p[3], const crs_ent& e) {
    p[0] = static_cast<float>(e.x);
    p[1] = static_cast<float>(e.y);
    p[2] = e.hgt;
}

static float PDist(const float a[2], const float b[2]) {
    double dx = static_cast<double>(a[0]) - b[0], dy = static_cast<double>(a[1]) - b[1];
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

void MkCrsLin(const TrnGenCtx& ctx, const float v[2], CrsLst& l0, CrsLst& l1, cntr_crv& out) {
    OrdCrs(ctx, l0);
    OrdCrs(ctx, l1);
    MkCrsLinOrd(v, l0, l1, out);
}

void MkCrsLinOrd(const float v[2], const CrsLst& l0, const CrsLst& l1, cntr_crv& out) {
    const int n1 = l0.n, n2 = l1.n;
    const crs_ent* h1 = l0.e;
    const crs_ent* h2 = l1.e;
    const crs_ent* pt[4];
    int m = 4;
    bool four = true;
    if (n1 >= 2 && n2 >= 2) {
        pt[0] = &h1[1]; pt[1] = &h1[0]; pt[2] = &h2[0]; pt[3] = &h2[1];
    } else if (n1 == 1 && n2 >= 3) {
        pt[0] = &h1[0]; pt[1] = &h2[0]; pt[2] = &h2[1]; pt[3] = &h2[2];
    } else if (n1 >= 3 && n2 == 1) {
        pt[0] = &h1[2]; pt[1] = &h1[1]; pt[2] = &h1[0]; pt[3] = &h2[0];
    } else if (n1 == 0 && n2 >= 4) {
        pt[0] = &h2[0]; pt[1] = &h2[1]; pt[2] = &h2[2]; pt[3] = &h2[3];
    } else if (n1 >= 4 && n2 == 0) {
        pt[0] = &h1[0]; pt[1] = &h1[1]; pt[2] = &h1[2]; pt[3] = &h1[3];
    } else {
        four = false;
        m = 0;
        for (int k = n1 - 1; k >= 0; k--) pt[m++] = &h1[k];
        for (int k = 0; k < n2; k++) pt[m++] = &h2[k];
    }
    std::memset(&out, 0, sizeof out);
    for (int k = 0; k < m; k++) SetPt(out.p[k], *pt[k]);
    out.span = m >= 2 ? static_cast<float>(Dist(*pt[0], *pt[m - 1])) : 0.0f;
    if (four) {
        const float h[4] = {out.p[0][2], out.p[1][2], out.p[2][2], out.p[3][2]};
        out.type = Typ4(h);
    } else {
        out.type = LinNone - m;
    }
    if (m == 0) {
        out.in = 0;
        out.dst = 1e15f;
        return;
    }
    const float* a = out.p[0];
    const float* b = out.p[m - 1];
    out.in = std::min(a[0], b[0]) <= v[0] && v[0] <= std::max(a[0], b[0]) &&
             std::min(a[1], b[1]) <= v[1] && v[1] <= std::max(a[1], b[1]);
    out.dst = out.in ? 0.0f : std::min(PDist(v, a), PDist(v, b));
}

// Height from a line.

// Interpolation along the axis in which base b and the other point o differ more, in the 32-bit
// floats the points are kept in.
static float LinRule(const float b[3], const float o[3], const float v[2]) {
    double dx = static_cast<double>(o[0]) - b[0], dy = static_cast<double>(o[1]) - b[1];
    if (std::fabs(dy) >= std::fabs(dx)) {
        if (std::fabs(dy) <= 0.001) return b[2];
        return b[2] + (v[1] - b[1]) * (o[2] - b[2]) / (o[1] - b[1]);
    }
    if (std::fabs(dx) <= 0.001) return b[2];
    return b[2] + (v[0] - b[0]) * (o[2] - b[2]) / (o[0] - b[0]);
}

bool SplCrv(int n, const float* p, int sub, int* outN, float* out) {
    *outN = 0;
    if (n < 2 || sub < 1) return false;
    double w[64], d[64];
    if (n > 64) return false;
    for (int ax = 0; ax < 3; ax++) {
        for (int i = 0; i < n; i++) w[i] = d[i] = p[3 * i + ax];
        // Relaxation towards the control values whose spline passes through the data; capped so
        // that values that cannot settle (not finite) end the loop.
        for (int sweep = 0; sweep < 10000; sweep++) {
            double big = 0;
            for (int i = 0; i < n; i++) {
                double prev = i == 0 ? 2 * w[0] - w[1] : w[i - 1];
                double next = i == n - 1 ? 2 * w[n - 1] - w[n - 2] : w[i + 1];
                double m = (d[i] - w[i]) + 0.5 * (d[i] - (prev + next) / 2);
                w[i] = w[i] + m;
                big = std::max(big, std::fabs(m));
            }
            if (big < 0.001) break;
        }
        int o = 0;
        for (int j = 0; j < n - 1; j++) {
            double wm = j == 0 ? 2 * w[0] - w[1] : w[j - 1];
            double w0 = w[j], w1 = w[j + 1];
            double w2 = j + 2 <= n - 1 ? w[j + 2] : 2 * w[n - 1] - w[n - 2];
            int kmax = j == n - 2 ? sub : sub - 1;
            for (int k = 0; k <= kmax; k++) {
                double t = static_cast<double>(k) / sub;
                double t2 = t * t, t3 = t2 * t;
                double b0 = (1 - t) * (1 - t) * (1 - t) / 6;
                double b1 = t3 / 2 - t2 + 2.0 / 3;
                double b2 = -t3 / 2 + t2 / 2 + t / 2 + 1.0 / 6;
                double b3 = t3 / 6;
                out[3 * o + ax] = static_cast<float>(b0 * wm + b1 * w0 + b2 * w1 + b3 * w2);
                o++;
            }
        }
        *outN = o;
    }
    return true;
}

// Whether V lies in the rectangle of a spline piece. A line along an axis carries rounding noise
// (sin π is not 0) in its other coordinate, which would put V just outside every piece and send it
// to the end-chord extrapolation; a thousandth of a millimetre absorbs it.
static bool InBox(const float a[3], const float b[3], const float v[2]) {
    const float t = 0.001f;
    return std::min(a[0], b[0]) - t <= v[0] && v[0] <= std::max(a[0], b[0]) + t &&
           std::min(a[1], b[1]) - t <= v[1] && v[1] <= std::max(a[1], b[1]) + t;
}

int LinHgt(const TrnGenCtx& ctx, const float v[2], const cntr_crv* lin, float* z) {
    const int na = ctx.nAng;
    int ch = -1;
    // Type-1 lines around the vertex: the shortest.
    for (int a = 0; a < na; a++)
        if (lin[a].type == LinFour1 && lin[a].in && (ch < 0 || lin[a].span < lin[ch].span)) ch = a;
    // Type-1 lines beside it: nearer (within half as far again) and shorter.
    if (ch < 0) {
        double cd = 1e15f, cs = 1e15f;
        for (int a = 0; a < na; a++) {
            if (lin[a].type != LinFour1) continue;
            if (lin[a].dst < 1.5 * cd && lin[a].span < cs) {
                ch = a;
                cd = lin[a].dst;
                cs = lin[a].span;
            }
        }
    }
    for (int t = LinFour1; ch < 0 && t <= LinNone; t++)
        for (int a = 0; a < na; a++)
            if (lin[a].type == t && (ch < 0 || lin[a].span < lin[ch].span)) ch = a;
    const cntr_crv& l = lin[ch];
    if (l.type == LinNone) return LinNone;
    if (l.type == LinOne) {
        *z = l.p[0][2];
        return LinOne;
    }
    if (l.type == LinTwo) {
        *z = LinRule(l.p[0], l.p[1], v);
        return LinTwo;
    }
    float cp[12];
    if (l.type == LinThree) {
        std::memcpy(cp, l.p[0], 3 * sizeof(float));
        std::memcpy(cp + 3, l.p[0], 9 * sizeof(float));
    } else {
        std::memcpy(cp, l.p[0], 12 * sizeof(float));
    }
    float q[31 * 3];
    int nq = 0;
    SplCrv(4, cp, 10, &nq, q);
    for (int k = 0; k + 1 < nq; k++) {
        if (InBox(q + 3 * k, q + 3 * (k + 1), v)) {
            *z = LinRule(q + 3 * k, q + 3 * (k + 1), v);
            return l.type;
        }
    }
    if (PDist(q, v) < PDist(q + 3 * 30, v))
        *z = LinRule(q, q + 3 * 10, v);
    else
        *z = LinRule(q + 3 * 30, q + 3 * 20, v);
    return l.type;
}

// The reference walk: every contour, every edge.

int IntpVtxRef(const TrnGenCtx& ctx, float v[3], CrsLst& l0, CrsLst& l1, cntr_crv* lin) {
    const double vv[2] = {v[0], v[1]};
    double out[2][2];
    for (int a = 0; a < ctx.nAng; a++) {
        CrsLst* ls[2] = {&l0, &l1};
        for (int h = 0; h < 2; h++) {
            CrsLst& l = *ls[h];
            l.n = 0;
            const double* u = ctx.dir + 4 * a + 2 * h;
            bool ok = WalkHalf(ctx, vv, u, l, [&](const double s[2], const double e[2],
                                                  const double f[2]) {
                for (int ci = 0; ci < ctx.nc; ci++) {
                    const cntr& c = ctx.c[ci];
                    if (OutRect(c, s, e)) continue;
                    if (!CrsRect(c, vv, f)) continue;
                    for (int k = 0; k + 1 < c.n; k++)
                        if (IntscSeg(s, e, c.pnt + 2 * k, c.pnt + 2 * k + 2, out) > 0 &&
                            !AddCrs(l, out[0], c.hgt, vv[0], vv[1]))
                            return false;
                }
                return true;
            });
            if (!ok) return -1;
        }
        MkCrsLin(ctx, v, l0, l1, lin[a]);
    }
    float z = v[2];
    int t = LinHgt(ctx, v, lin, &z);
    if (t != LinNone) v[2] = z;
    return t;
}

// Lists of the reference grow through the allocator.
static bool GrowAlc(CrsLst& l) {
    int cap = l.cap + (l.grow > 0 ? l.grow : 1);
    l.e = static_cast<crs_ent*>(RealcMem(l.e, static_cast<long long>(cap) * sizeof(crs_ent),
                                         l.tag));
    l.cap = cap;
    return true;
}

namespace {
// The reference's two crossing lists and its cross lines, freed with it.
struct RefScr {
    CrsLst l0, l1;
    cntr_crv* lin = nullptr;
    explicit RefScr(const TrnGenCtx& ctx) {
        const int grow = ctx.nc > 0 ? ctx.nc : 1;
        l0.grow = l1.grow = grow;
        l0.more = l1.more = GrowAlc;
        l1.tag = "crs1";
        Cleanup undo([this] { Free(); });   // a throwing constructor runs no destructor
        l0.e = static_cast<crs_ent*>(AlcMem(2LL * grow * sizeof(crs_ent), "crs0"));
        l0.cap = 2 * grow;
        l1.e = static_cast<crs_ent*>(AlcMem(2LL * grow * sizeof(crs_ent), "crs1"));
        l1.cap = 2 * grow;
        lin = static_cast<cntr_crv*>(AlcMem(ctx.nAng * static_cast<long long>(sizeof(cntr_crv)),
                                            "cntr_crv"));
        undo.Keep();
    }
    ~RefScr() { Free(); }
    RefScr(const RefScr&) = delete;
    RefScr& operator=(const RefScr&) = delete;
    void Free() {
        FreeMem(l0.e);
        FreeMem(l1.e);
        FreeMem(lin);
        l0.e = l1.e = nullptr;
        lin = nullptr;
    }
};
}  // namespace

bool IntpVtxHgt(float v[3], const cntr* c, int nc, const Feedback& fb) {
    // The contours, the terrain grid and the vertex: what a run over the grid would take.
    double L = GenExt(c, nc, v, 1);
    if (TrnSrf && TrnSrf->v && TrnSrf->nv > 0) {
        std::vector<float> p(TrnSrf->v, TrnSrf->v + 3LL * TrnSrf->nv);
        p.insert(p.end(), v, v + 3);
        L = GenExt(c, nc, p.data(), TrnSrf->nv + 1);
    }
    TrnGenCtx ctx;
    IniGenCtx(ctx, c, nc, L, GenPrmOfSettings());
    int t = 9;
    {
        Cleanup release([&] { FreeGenCtx(ctx); });
        RefScr w(ctx);
        t = IntpVtxRef(ctx, v, w.l0, w.l1, w.lin);
    }
    fb.Mark(v, 1, 0, 0);
    return t >= 1 && t <= 8;
}

// Driver.

// Height put into the working copy before a run; what still holds it was not reached.
constexpr float kUnreached = -FLT_MAX;

bool RunRef(const TrnGenCtx& ctx, float* v, int nv, bool live) {
    RefScr w(ctx);
    int pct = 0;
    for (int i = 0; i < nv; i++) {
        if (ctx.fb.Cancelled() || (live && !TrnSrf)) return false;
        IntpVtxRef(ctx, v + 3 * i, w.l0, w.l1, w.lin);
        if (live) ctx.fb.Mark(v + 3 * i, 1, ctx.ox, ctx.oy);
        int p = static_cast<int>(100LL * (i + 1) / nv);
        if (p > pct) ctx.fb.Progress(pct = p);
    }
    return true;
}

long long ClampOrdBand(const cntr* c, int nc, const float* g, int R, int C, double itv, float* z,
                       const int32_t* id, float unreach) {
    if (R <= 0 || C <= 0 || nc <= 0) return 0;
    OrdBand b;
    Cleanup release([&] { FreeOrdBand(&b); });
    long long moved = 0;
    TrnOrdBand(c, nc, g, R, C, itv, &b);
    const long long n = static_cast<long long>(R) * C;
    for (long long k = 0; k < n; k++) {
        float& h = z[3 * (id ? static_cast<long long>(id[k]) : k)];
        if (h == unreach) continue;
        if (h < b.lo[k]) {
            h = static_cast<float>(b.lo[k]);
            moved++;
        } else if (h > b.hi[k]) {
            h = static_cast<float>(b.hi[k]);
            moved++;
        }
    }
    return moved;
}

long long SnapOnCntr(const cntr* c, int nc, const float* g, int R, int C, double itv, float* z, const int32_t* id) {
    if (R <= 0 || C <= 0 || nc <= 0 || !(itv > 0)) return 0;
    const double tol = 1e-3 * itv;
    std::vector<double> X(static_cast<size_t>(C)), Y(static_cast<size_t>(R));
    for (int k = 0; k < C; k++) X[static_cast<size_t>(k)] = g[3 * k];
    for (int r = 0; r < R; r++) Y[static_cast<size_t>(r)] = g[3LL * r * C + 1];
    long long set = 0;
    for (int ci = 0; ci < nc; ci++) {
        const cntr& cc = c[ci];
        for (int m = 0; m + 1 < cc.n; m++) {
            const double* p = cc.pnt + 2 * m;
            const double dx = p[2] - p[0], dy = p[3] - p[1], l2 = dx * dx + dy * dy;
            const double y0 = std::min(p[1], p[3]) - tol, y1 = std::max(p[1], p[3]) + tol;
            for (auto ry = std::lower_bound(Y.begin(), Y.end(), y0); ry != Y.end() && *ry <= y1; ++ry) {
                // The posts of this row within tol of the segment lie in a short run of x.
                double xa = std::min(p[0], p[2]) - tol, xb = std::max(p[0], p[2]) + tol;
                if (std::fabs(dy) > 1e-12 * (std::fabs(dx) + 1)) {
                    const double xc = p[0] + (*ry - p[1]) * dx / dy, w = tol * std::sqrt(l2) / std::fabs(dy);
                    xa = std::max(xa, xc - w);
                    xb = std::min(xb, xc + w);
                }
                for (auto kx = std::lower_bound(X.begin(), X.end(), xa); kx != X.end() && *kx <= xb; ++kx) {
                    double t = l2 > 0 ? ((*kx - p[0]) * dx + (*ry - p[1]) * dy) / l2 : 0;
                    t = std::clamp(t, 0.0, 1.0);
                    if (std::hypot(p[0] + t * dx - *kx, p[1] + t * dy - *ry) > tol) continue;
                    const long long k = static_cast<long long>(ry - Y.begin()) * C + (kx - X.begin());
                    z[3 * (id ? static_cast<long long>(id[k]) : k)] = cc.hgt;
                    set++;
                }
            }
        }
    }
    return set;
}

bool GenTrnCrs(const cntr* c, int nc, float* v, int nv, const int32_t* id, int R, int C, double itv,
               const TrnGenPrm& prm, bool ref, bool live) {
    if (nv <= 0) return true;
    // The lower-left post is the origin of the run: moving the contours and the grid together
    // moves it with them, and the floats the method keeps stay small.
    double ox = HUGE_VAL, oy = HUGE_VAL;
    for (int i = 0; i < nv; i++) {
        ox = std::min(ox, static_cast<double>(v[3 * i]));
        oy = std::min(oy, static_cast<double>(v[3 * i + 1]));
    }
    if (!std::isfinite(ox) || !std::isfinite(oy)) ox = oy = 0;
    cntr* lc = nullptr;
    float* lv = nullptr;
    float* g = nullptr;
    TrnGenCtx ctx;
    bool done = false;
    const bool grid = R > 0 && C > 0 && static_cast<long long>(R) * C == nv;
    // The window stays live during the run and may replace the grid: keep its layout now.
    std::vector<int32_t> ids;
    if (grid && id) ids.assign(id, id + nv);
    id = ids.empty() ? nullptr : ids.data();
    Cleanup release([&] {
        FreeGenCtx(ctx);
        FreeCntr(lc, nc);
        FreeMem(lv);
        FreeMem(g);
    });
    lc = LocCntr(c, nc, ox, oy);
    lv = static_cast<float*>(AlcMem(3LL * nv * sizeof(float), "GenTrnCrs:v"));
    for (int i = 0; i < nv; i++) {
        lv[3 * i] = static_cast<float>(v[3 * i] - ox);
        lv[3 * i + 1] = static_cast<float>(v[3 * i + 1] - oy);
        lv[3 * i + 2] = v[3 * i + 2];
    }
    IniGenCtx(ctx, lc, nc, GenExt(lc, nc, lv, nv), prm);
    ctx.ox = ox;
    ctx.oy = oy;
    done = ref ? RunRef(ctx, lv, nv, live) : GenTrnFast(ctx, lv, nv, live);
    if (grid) {
        // The band is laid out over the grid in row order.
        const float* gp = lv;
        bool plain = true;
        for (int k = 0; id && k < nv; k++) {
            if (id[k] < 0 || id[k] >= nv) { gp = nullptr; break; }
            plain = plain && id[k] == k;
        }
        if (plain) id = nullptr;
        if (gp && id) {
            g = static_cast<float*>(AlcMem(3LL * nv * sizeof(float), "GenTrnCrs:g"));
            for (int k = 0; k < nv; k++) std::memcpy(g + 3 * k, lv + 3LL * id[k], 3 * sizeof(float));
            gp = g;
        }
        if (gp) {
            ClampOrdBand(lc, nc, gp, R, C, itv, lv + 2, id, kUnreached);
            // A cancelled run keeps the posts it did not reach as they were.
            if (done) SnapOnCntr(lc, nc, gp, R, C, itv, lv + 2, id);
        }
    }
    for (int i = 0; i < nv; i++) v[3 * i + 2] = lv[3 * i + 2];
    return done;
}

namespace {
std::vector<LineRelevel> Relevel;   // of the last CreTrn
}  // namespace

int TrnRelevelCount() { return static_cast<int>(Relevel.size()); }

void TrnRelevelAt(int k, float* given, float* read, double* x, double* y) {
    const LineRelevel& l = Relevel[static_cast<size_t>(k)];
    *given = l.given;
    *read = l.read;
    if (x) *x = l.x;
    if (y) *y = l.y;
}

bool CreTrn(const Feedback& fb) { return CreTrn(fb, TrnMethodOf(TrnMethod).kind); }

bool CreTrn(const Feedback& fb, TrnMethodKind m) {
    if (!TrnSrf || !TrnGrd) {
        DspErrMsg(MsgOwnErr, "地形の領域が設定されていません。");
        return false;
    }
    Relevel.clear();
    prt* part = TrnPrt ? TrnPrt : CrvPart;
    if (!part || part->crvs.n == 0) {
        DspErrMsg(MsgOwnErr, "等高線がありません。");
        return false;
    }
    int nc = 0;
    cntr* c = MkCntr(&nc);
    // The window stays live while the grid is computed, so a command may replace or free the
    // terrain meanwhile: work on a copy of the vertices and write the heights back only into the
    // surface the run began with.
    srf* s = TrnSrf;
    const int nv = s->nv;
    const float* v0 = s->v;
    float* work = nullptr;
    long long ws = 3;   // floats a post in work
    Cleanup freeWork([&] { FreeMem(work); });
    bool done = false;
    fb.Begin();
    {
        // The feedback and the contours end with the run, however it ends.
        Cleanup endRun([&] {
            fb.End();
            FreeCntr(c, nc);
        });
        // Gradient paths read the posts only before they first report and write heights alone:
        // a float a post instead of a copy of every vertex.
        const bool plain = static_cast<long long>(TrnGrd->rows) * TrnGrd->cols == nv;
        ws = plain && m == TrnMethodPath ? 1 : 3;
        work = static_cast<float*>(AlcMem(ws * nv * static_cast<long long>(sizeof(float)), "srf->v"));
        if (ws == 3) std::memcpy(work, v0, 3LL * nv * sizeof(float));
        // A vertex that no cross line reaches keeps its height: mark them to tell them apart.
        for (int i = 0; i < nv; i++) work[ws * i + ws - 1] = kUnreached;
        TrnRun run;
        run.fb = fb;
        run.id = TrnGrd->vtx_id;
        run.ref = TrnGenRef != 0;
        run.live = true;
        run.relevel = &Relevel;
        if (ws == 1) run.z = work;
        if (plain) {
            done = TrnGenMethod(m, c, nc, ws == 1 ? s->v : work, TrnGrd->rows, TrnGrd->cols, MshItv, run);
        } else {
            // A surface that is not its grid's R x C posts: cross lines, vertex by vertex.
            TrnGenPrm prm = GenPrmOfSettings();
            prm.fb = fb;
            done = GenTrnCrs(c, nc, work, nv, TrnGrd->vtx_id, TrnGrd->rows, TrnGrd->cols, MshItv, prm,
                             run.ref, true);
        }
    }
    // A cancelled run leaves the terrain as it was before the command.
    bool same = done && TrnSrf == s && s->nv == nv && s->v == v0;
    std::vector<uint8_t> gap;
    if (same) {
        gap.assign(nv, 0);
        for (int i = 0; i < nv; i++) {
            const float h = work[ws * i + ws - 1];
            // Unreached by a cross line, or no contour near at all (the mesh keeps its height).
            if (h == kUnreached || std::isnan(h)) gap[i] = 1;
            else s->v[3 * i + 2] = h;
        }
    }
    // The copy goes before the normals are computed: less memory at the peak.
    FreeMem(work);
    work = nullptr;
    if (!same) return false;
    TrnGapSet(gap.data());
    TrnErrClr();
    CalTrnNrm();
    UdtBox(TrnSrf, OK_SRF);
    return true;
}
