// The tracer: a row scan finds the first pixel of every ink run not yet on an outline, an
// eight-neighbour boundary walk follows the outline from there, and each outline kept by the area
// test becomes a smoothed, thinned curve. The centre-line tracer (cntlin.cpp) starts here too.
#include <cmath>
#include "core/alc.h"
#include "core/cmd.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "curves/crv_cmd.h"
#include "image/vecimg.h"
#include "vectorize/vec.h"
#include "vectorize/vec_int.h"

int VecMadeCrv = 0;
long long VecMadePnt = 0;

namespace vec {

namespace {

constexpr int PntCap0 = 1000;       // first capacity of the point list
constexpr int WalkChkSteps = 4096;  // walk steps between cancellation checks

// Point list of one outline; freed however the scan ends.
struct PntBuf {
    float* pnt = nullptr;     // cap points of x, y, z (tag "OutLin:pnt")
    int n = 0, cap = 0;
    ~PntBuf() { FreeMem(pnt); }
    void Add(float x, float y) {
        if (n == cap) {
            // Doubling keeps long outlines linear; the first block is the usual size.
            int nc = cap < PntCap0 ? PntCap0 : cap * 2;
            pnt = static_cast<float*>(RealcMem(pnt, 12LL * nc, "OutLin:pnt"));
            cap = nc;
        }
        float* q = pnt + 3LL * n++;
        q[0] = x;
        q[1] = y;
        q[2] = 0;
    }
};

// Working map of one run and its feedback; released and ended however the run ends.
struct TrcWork {
    uint8_t* map = nullptr;   // (w + 2) * (h + 2) (tag "OutLin:dones")
    const Feedback* begun = nullptr;  // the feedback, once begun
    int made0 = 0;
    ~TrcWork() {
        FreeMem(map);
        if (begun) begun->End();
        if (VecMadeCrv != made0) UdtCrvBox();
    }
};

}  // namespace

void MkCntrCrv(int n, const float* p) {
    crv* c = NewCrv();
    if (!c) return;
    for (int i = 0; i < n; ++i) AddPnt(c, p[3 * i], p[3 * i + 1], 0.0f);
    ++VecMadeCrv;
    VecMadePnt += n;
}

void ThinPnts(int* n, float* pt, const VecPrm& prm, float p) {
    const double c1 = std::cos(100.0 * M_PI / 180), c2 = std::cos(174.0 * M_PI / 180);
    const double c3 = std::cos((180.0 - prm.dstAng) * M_PI / 180);
    DstFltr(n, pt, c1, p);
    DstFltr(n, pt, c2, prm.scrWid);
    DstFltr(n, pt, c3, prm.dstLen);
}

int ScanOutLin(uint8_t* map, int w, int h, const VecPrm& prm, float p, CnclChk& cancelled) {
    const long long mw = w + 2LL;
    PntBuf wk;
    // Neighbour steps by direction index (column step, row step; rows grow downward):
    // 0 (-1,0) 1 (-1,+1) 2 (0,+1) 3 (+1,+1) 4 (+1,0) 5 (+1,-1) 6 (0,-1) 7 (-1,-1).
    const long long step[8] = {-1, mw - 1, mw, mw + 1, 1, -mw + 1, -mw, -mw - 1};
    const int dx[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    const int dy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    const PixMdl pm(prm, p, w, h);
    // A walk that has made more steps than there are (pixel, direction) states is in a cycle
    // that misses its start; it stops there.
    const long long maxSteps = 8LL * w * h + 8;

    int run = 1;  // the ink-run flag is not reset at the start of a row
    for (int y = 0; y < h; ++y) {
        prm.fb.Progress(h > 1 ? static_cast<int>(y * 100LL / (h - 1)) : 100);
        if (cancelled()) return -1;
        const uint8_t* row = map + mw * (y + 1) + 1;
        for (int x = 0; x < w; ++x) {
            const uint8_t m = row[x];
            if (!(m & MapInk)) {
                run = 0;
                continue;
            }
            if (run) continue;
            run = 1;
            if (m & MapDone) continue;

            // Boundary walk from S = (x, y).
            wk.n = 0;
            const long long s = mw * (y + 1) + x + 1;
            long long c = s;
            int cx = x, cy = y;
            map[s] |= MapDone;
            wk.Add(pm.X(cx), pm.Y(cy));
            int dir = 4;
            for (long long k = 1;; ++k) {
                if (k % WalkChkSteps == 0 && cancelled()) return -1;
                for (int l = 0; l < 8; ++l) {
                    const int d = (dir + l + 5) & 7;
                    const long long nb = c + step[d];
                    if (map[nb] & MapInk) {
                        map[nb] |= MapDone;
                        dir = d;
                        c = nb;
                        cx += dx[d];
                        cy += dy[d];
                        wk.Add(pm.X(cx), pm.Y(cy));
                        break;
                    }
                }
                if (c == s || k > maxSteps) break;
            }

            // Outline processing.
            int n = wk.n;
            float* pt = wk.pnt;
            if (!AreaFltr(n, pt, prm.minArea)) continue;
            AveFltr(n, pt, prm.aveNum);
            ThinPnts(&n, pt, prm, p);
            MkCntrCrv(n, pt);
        }
    }
    return 0;
}

namespace {

// The run itself; the working data is gone when it returns.
int Trc(const VecSrc& src, const VecPrm& prm, float p) {
    const int w = src.w, h = src.h;
    const long long mw = w + 2LL;
    TrcWork wk;
    wk.made0 = VecMadeCrv;
    CnclChk cancelled(prm.fb, prm.pumpMs);
    if (prm.centre) {
        prm.fb.Begin();
        wk.begun = &prm.fb;
        return TrcCntLin(src, prm, p, cancelled);
    }
    wk.map = static_cast<uint8_t*>(AlcMem(mw * (h + 2LL), "OutLin:dones"));
    if (!wk.map) return -1;  // outside a command the allocator returns null
    prm.fb.Begin();
    wk.begun = &prm.fb;

    // Ink map from the threshold (border rows and columns blank).
    {
        uint8_t ink[766];
        for (int s = 0; s < 766; ++s) ink[s] = s / 3 <= prm.thr ? MapInk : 0;
        uint8_t* m = wk.map;
        for (long long i = 0; i < mw; ++i) m[i] = m[mw * (h + 1) + i] = 0;
        for (int y = 0; y < h; ++y) {
            const uint8_t* q = src.pix + src.stride * y;
            uint8_t* r = m + mw * (y + 1);
            r[0] = r[w + 1] = 0;
            for (int x = 0; x < w; ++x, q += 4) r[x + 1] = ink[q[0] + q[1] + q[2]];
        }
    }
    return ScanOutLin(wk.map, w, h, prm, p, cancelled);
}

}  // namespace
}  // namespace vec

float VecPixSiz(double dpi, double scl) { return static_cast<float>(25.4 / dpi * scl); }

int TrcVec(const VecSrc& src, const VecPrm& prm) {
    VecMadeCrv = 0;
    VecMadePnt = 0;
    if (!src.pix || src.w <= 0 || src.h <= 0) return -1;
    const float p = VecPixSiz(prm.dpi, prm.scl);
    // 0 dpi would put every point at infinity.
    if (!(prm.dpi > 0) || !(prm.scl > 0) || !std::isfinite(p) || !(p > 0)) {
        DspErrMsg(MsgOwnErr, "解像度 (dpi) と縮尺には正の値を入れてください。");
        return -1;
    }
    if (prm.orgOn && !(std::isfinite(prm.org[0]) && std::isfinite(prm.org[1]))) {
        DspErrMsg(MsgOwnErr, MsgTx("地図の左下の座標には有限の値を入れてください。",
                                   "The map's corner must be a finite position."));
        return -1;
    }
    if (vec::Trc(src, prm, p) != 0) return -1;
    if (prm.slctAll) IntrCmd(CatDrw2D, CmdCrvSlctAll);
    return 0;
}
