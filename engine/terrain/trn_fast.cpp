// The parallel terrain generator. Each step of a half-line looks only at the contour edges that the
// strip index (trn_srch.cpp) offers for it; the edges found are taken in contour and edge order and
// tested exactly as the reference does, so the crossings, their order and the heights are the same
// bit for bit. Vertices are computed by worker threads; the calling
// thread keeps the window alive, draws the progress marks and watches for cancellation.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "core/alc.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "display/drw.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"

// A step (or half-line) with what Apart needs of it, computed once.
struct SegK {
    double sx, sy, ux, uy, len;
    double x0, x1, y0, y1;   // rectangle
    SegK(const double s[2], const double e[2]) {
        sx = s[0]; sy = s[1];
        ux = e[0] - s[0]; uy = e[1] - s[1];
        len = std::sqrt(ux * ux + uy * uy);
        x0 = std::min(s[0], e[0]); x1 = std::max(s[0], e[0]);
        y0 = std::min(s[1], e[1]); y1 = std::max(s[1], e[1]);
    }
};

// True when IntscSeg(s, e, p, q) cannot report a crossing: the rectangles of s-e and p-q are
// more than 0.001 apart, or p and q lie on one side of the line s-e with the nearer one more than
// a hundredth of the step's length off it and more than a fiftieth of the farther one's distance
// (the line through p and q then meets s-e outside the parameter range -0.01 .. 1.01 that
// IntscSeg accepts).
static bool Apart(const SegK& k, const double* p, const double* q) {
    const double t = 0.001;
    if (std::min(p[0], q[0]) - t > k.x1 || std::max(p[0], q[0]) + t < k.x0 ||
        std::min(p[1], q[1]) - t > k.y1 || std::max(p[1], q[1]) + t < k.y0)
        return true;
    if (!(k.len > 0)) return false;
    // Signed distances from the line times its length.
    double hp = k.ux * (p[1] - k.sy) - k.uy * (p[0] - k.sx);
    double hq = k.ux * (q[1] - k.sy) - k.uy * (q[0] - k.sx);
    if ((hp > 0) != (hq > 0)) return false;
    double a = std::fabs(hp), b = std::fabs(hq);
    double lo = std::min(a, b), hi = std::max(a, b);
    return lo > 0.01 * k.len && lo > hi / 50;
}

// IntscSeg(a, b, c, d) > 0 with its first point, without IntscSeg's square roots where the answer
// is clear. Both segments longer than 0.002 and no two ends within 0.002 settle IntscSeg's first
// tests; the rectangles, det, t, u and the point are then computed with IntscSeg's very operations,
// so they decide alike. Only its last test, the point within each segment's length plus 0.001 of
// each end, is taken on squares with a margin of 0.0001 either way; what falls within the margin,
// and every other case, goes to IntscSeg.
static int Isc(const double a[2], const double b[2], const double c[2], const double d[2],
               double out[2][2]) {
    const double ux = b[0] - a[0], uy = b[1] - a[1];
    const double vx = d[0] - c[0], vy = d[1] - c[1];
    const double lab2 = ux * ux + uy * uy, lcd2 = vx * vx + vy * vy;
    auto far = [](const double* p, const double* q) {
        double x = p[0] - q[0], y = p[1] - q[1];
        return x * x + y * y > 4e-6;
    };
    if (!(lab2 > 4e-6 && lcd2 > 4e-6 && far(a, c) && far(a, d) && far(b, c) && far(b, d)))
        return IntscSeg(a, b, c, d, out);
    // fmin and fmax of numbers are the smaller and the larger.
    auto lo = [](double p, double q) { return q < p ? q : p; };
    auto hi = [](double p, double q) { return p < q ? q : p; };
    const double e = 0.0001;
    if (lo(a[0], b[0]) - e > hi(c[0], d[0]) || hi(a[0], b[0]) + e < lo(c[0], d[0]) ||
        lo(a[1], b[1]) - e > hi(c[1], d[1]) || hi(a[1], b[1]) + e < lo(c[1], d[1]))
        return 0;
    const double det = (a[0] - b[0]) * (c[1] - d[1]) - (c[0] - d[0]) * (a[1] - b[1]);
    if (std::fabs(det) < 0.005) return IntscSeg(a, b, c, d, out);
    const double t = ((a[0] - c[0]) * (c[1] - d[1]) - (a[1] - c[1]) * (c[0] - d[0])) / det;
    const double u = -((a[0] - b[0]) * (a[1] - c[1]) - (a[1] - b[1]) * (a[0] - c[0])) / det;
    if (t < -0.01 || t > 1.01 || u < -0.01 || u > 1.01) return 0;
    const double x[2] = {a[0] + t * ux, a[1] + t * uy};
    // 1: within the segment's reach, 0: beyond it, -1: too close to tell.
    auto reach = [&x](const double* p, double len2) {
        const double dx = x[0] - p[0], dy = x[1] - p[1], d2 = dx * dx + dy * dy;
        if (d2 <= len2) return 1;
        const double len = std::sqrt(len2), in = len + 0.0009, beyond = len + 0.0011;
        return d2 < in * in ? 1 : d2 > beyond * beyond ? 0 : -1;
    };
    const int r[4] = {reach(a, lab2), reach(b, lab2), reach(c, lcd2), reach(d, lcd2)};
    for (int k = 0; k < 4; k++) {
        if (r[k] < 0) return IntscSeg(a, b, c, d, out);
        if (r[k] == 0) return 0;   // IntscSeg stops at its first failing test

    }
    out[0][0] = x[0];
    out[0][1] = x[1];
    return 1;
}

// CrsRect with the sides that cannot meet V-F passed over.
static bool CrsRectFast(const cntr& c, const double v[2], const double f[2]) {
    const double p[4][2] = {{c.minx, c.miny}, {c.maxx, c.miny}, {c.maxx, c.maxy}, {c.minx, c.maxy}};
    double out[2][2];
    const SegK vf(v, f);
    for (int k = 0; k < 4; k++)
        if (!Apart(vf, p[k], p[(k + 1) % 4]) && Isc(v, f, p[k], p[(k + 1) % 4], out) > 0)
            return true;
    return false;
}

// A crossing found on a step, before the contour tests.
struct FastHit {
    int id;
    double x, y;
};

// Scratch of one worker (plain heap memory: workers never reach the engine allocator).
struct FastScr {
    std::vector<int> cand;       // candidate edges of the step
    std::vector<FastHit> hit;
    std::vector<int> rectStamp;  // per contour: half-line stamp of the cached rectangle test
    std::vector<uint8_t> rectHit;
    int half = 0;
    CrsLst l0, l1;
    std::vector<cntr_crv> lin;
};

static bool GrowHeap(CrsLst& l) {
    int cap = l.cap + (l.grow > 0 ? l.grow : 1);
    void* p = std::realloc(l.e, static_cast<size_t>(cap) * sizeof(crs_ent));
    if (!p) return false;
    l.e = static_cast<crs_ent*>(p);
    l.cap = cap;
    return true;
}

FastScr* MkFastScr(const TrnGenCtx& ctx) {
    FastScr* f = new (std::nothrow) FastScr;
    if (!f) return nullptr;
    try {
        f->rectStamp.assign(ctx.nc + 1, 0);
        f->rectHit.assign(ctx.nc + 1, 0);
        f->lin.resize(ctx.nAng);
        f->cand.reserve(1024);
        f->hit.reserve(256);
    } catch (...) {
        delete f;
        return nullptr;
    }
    int grow = ctx.nc > 0 ? ctx.nc : 1;
    f->l0.grow = f->l1.grow = grow;
    f->l0.more = f->l1.more = GrowHeap;
    f->l0.e = static_cast<crs_ent*>(std::malloc(2 * static_cast<size_t>(grow) * sizeof(crs_ent)));
    f->l1.e = static_cast<crs_ent*>(std::malloc(2 * static_cast<size_t>(grow) * sizeof(crs_ent)));
    if (!f->l0.e || !f->l1.e) {
        FreeFastScr(f);
        return nullptr;
    }
    f->l0.cap = f->l1.cap = 2 * grow;
    return f;
}

void FreeFastScr(FastScr* f) {
    if (!f) return;
    std::free(f->l0.e);
    std::free(f->l1.e);
    delete f;
}

int IntpVtxFast(const TrnGenCtx& ctx, const StrIdx* x, FastScr* f, float v[3]) {
    const double vv[2] = {v[0], v[1]};
    double out[2][2];
    for (int a = 0; a < ctx.nAng; a++) {
        CrsLst* ls[2] = {&f->l0, &f->l1};
        for (int h = 0; h < 2; h++) {
            CrsLst& l = *ls[h];
            l.n = 0;
            const double* u = ctx.dir + 4 * a + 2 * h;
            if (++f->half == 0x7fffffff) {
                std::fill(f->rectStamp.begin(), f->rectStamp.end(), 0);
                f->half = 1;
            }
            bool ok = WalkHalf(ctx, vv, u, l, [&](const double s[2], const double e[2],
                                                  const double fp[2]) {
                std::vector<int>& cd = f->cand;
                cd.clear();
                try {
                    StrCand(*x, a, s, e, cd);
                } catch (...) {
                    return false;
                }
                // The crossings first, then in contour and edge order as the reference meets
                // them (an edge offered twice counts once).
                std::vector<FastHit>& hs = f->hit;
                hs.clear();
                try {
                    for (int id : cd) {
                        const double* p = ctx.c[x->ecn[id]].pnt + 2 * (id - x->cfirst[x->ecn[id]]);
                        if (Isc(s, e, p, p + 2, out) > 0) hs.push_back({id, out[0][0], out[0][1]});
                    }
                } catch (...) {
                    return false;
                }
                for (size_t i = 1; i < hs.size(); i++)
                    for (size_t j = i; j > 0 && hs[j].id < hs[j - 1].id; j--) std::swap(hs[j], hs[j - 1]);
                int lastc = -1, lastId = -1;
                bool use = false;
                for (const FastHit& ht : hs) {
                    if (ht.id == lastId) continue;
                    lastId = ht.id;
                    const int ci = x->ecn[ht.id];
                    const cntr& c = ctx.c[ci];
                    if (ci != lastc) {
                        lastc = ci;
                        use = !OutRect(c, s, e);
                        if (use) {
                            if (f->rectStamp[ci] != f->half) {
                                f->rectStamp[ci] = f->half;
                                f->rectHit[ci] = CrsRectFast(c, vv, fp);
                            }
                            use = f->rectHit[ci];
                        }
                    }
                    const double q[2] = {ht.x, ht.y};
                    if (use && !AddCrs(l, q, c.hgt, vv[0], vv[1])) return false;
                }
                return true;
            });
            if (!ok) return -1;
        }
        MkCrsLin(ctx, v, f->l0, f->l1, f->lin[a]);
    }
    float z = v[2];
    int t = LinHgt(ctx, v, f->lin.data(), &z);
    if (t != LinNone) v[2] = z;
    return t;
}

namespace {
constexpr int kChunk = 128;  // vertices per piece of work

struct Run {
    const TrnGenCtx* ctx;
    const StrIdx* idx;
    float* v;
    int nv;
    int nChunk;
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> fail{false};
    std::atomic<int> active{0};
    std::atomic<uint8_t>* done;  // 0 open, 1 computed, 2 marked
    int marked = 0;              // vertices of the pieces marked (calling thread only)
};

void Work(Run* r, FastScr* f) {
    for (;;) {
        if (r->stop.load(std::memory_order_relaxed)) break;
        int ch = r->next.fetch_add(1);
        if (ch >= r->nChunk) break;
        int i1 = std::min(r->nv, (ch + 1) * kChunk);
        bool whole = true;
        for (int i = ch * kChunk; i < i1; i++) {
            if (r->stop.load(std::memory_order_relaxed)) { whole = false; break; }
            // Work on a copy so that a vertex is either done or untouched.
            float p[3] = {r->v[3 * i], r->v[3 * i + 1], r->v[3 * i + 2]};
            if (IntpVtxFast(*r->ctx, r->idx, f, p) < 0) {
                r->fail = true;
                r->stop = true;
                whole = false;
                break;
            }
            r->v[3 * i + 2] = p[2];
        }
        if (!whole) break;
        r->done[ch].store(1, std::memory_order_release);
    }
    r->active.fetch_sub(1);
}

// Marks of the pieces finished since the last call; returns the vertices finished so far.
int MarkDone(Run& r, bool marks, int* lowOpen) {
    bool any = false;
    for (int ch = *lowOpen; ch < r.nChunk; ch++) {
        uint8_t st = r.done[ch].load(std::memory_order_acquire);
        if (st == 1) {
            if (marks) {
                int i1 = std::min(r.nv, (ch + 1) * kChunk);
                for (int i = ch * kChunk; i < i1; i++) DrwVtxMrk(r.v + 3 * i, r.ctx->ox, r.ctx->oy);
                any = true;
            }
            r.done[ch].store(2, std::memory_order_relaxed);
            r.marked += std::min(r.nv, (ch + 1) * kChunk) - ch * kChunk;
            st = 2;
        }
        if (st == 2 && ch == *lowOpen) (*lowOpen)++;
        if (ch >= r.next.load() + 1) break;
    }
    if (any) FlushDrw();
    return r.marked;
}
}  // namespace

bool GenTrnFast(const TrnGenCtx& ctx, float* v, int nv, bool marks) {
    if (nv <= 0) return true;
    marks = marks && DrwWinOpen();
    StrIdx* idx = MkStrIdx(ctx);
    Run r;
    r.ctx = &ctx;
    r.idx = idx;
    r.v = v;
    r.nv = nv;
    r.nChunk = (nv + kChunk - 1) / kChunk;
    r.done = new (std::nothrow) std::atomic<uint8_t>[r.nChunk];
    unsigned hw = std::thread::hardware_concurrency();
    int nth = static_cast<int>(std::clamp(hw == 0 ? 2u : hw, 1u, 64u));
    nth = std::min(nth, r.nChunk);
    std::vector<FastScr*> scr;
    std::vector<std::thread> th;
    bool memOk = r.done != nullptr;
    if (memOk) {
        for (int c = 0; c < r.nChunk; c++) r.done[c].store(0);
        for (int t = 0; t < nth; t++) {
            FastScr* f = MkFastScr(ctx);
            if (!f) break;
            scr.push_back(f);
        }
        memOk = !scr.empty();
    }
    if (!memOk) {
        for (FastScr* f : scr) FreeFastScr(f);
        delete[] r.done;
        FreeStrIdx(idx);
        DspErrMsg(MsgNoMem, "crs0");
        return false;
    }
    try {
        th.reserve(scr.size());
        for (FastScr* f : scr) {
            r.active.fetch_add(1);
            try {
                th.emplace_back(Work, &r, f);
            } catch (...) {
                r.active.fetch_sub(1);
                break;
            }
        }
    } catch (...) {
    }
    bool cancelled = false;
    int lowOpen = 0, pct = 0;
    if (th.empty()) {
        // No thread to be had: compute here, piece by piece, between the checks.
        r.active = 1;
        while (r.next.load() < r.nChunk) {
            if (PumpMsg()) { cancelled = true; break; }
            int ch = r.next.fetch_add(1);
            int i1 = std::min(nv, (ch + 1) * kChunk);
            for (int i = ch * kChunk; i < i1; i++)
                if (IntpVtxFast(ctx, idx, scr[0], v + 3 * i) < 0) { r.fail = true; break; }
            if (r.fail) break;
            r.done[ch].store(1);
            int p = static_cast<int>(100LL * MarkDone(r, marks, &lowOpen) / nv);
            if (p > pct) PrgSet(pct = p);
        }
    } else {
        for (;;) {
            bool finished = r.active.load() == 0;
            if (!cancelled && PumpMsg()) {
                cancelled = true;
                r.stop = true;
            }
            int p = static_cast<int>(100LL * MarkDone(r, marks, &lowOpen) / nv);
            if (p > pct) PrgSet(pct = p);
            if (finished) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        for (std::thread& t : th) t.join();
    }
    bool fail = r.fail.load();
    for (FastScr* f : scr) FreeFastScr(f);
    delete[] r.done;
    FreeStrIdx(idx);
    if (fail) {
        DspErrMsg(MsgNoMem, "crs0");
        return false;
    }
    return !cancelled;
}
