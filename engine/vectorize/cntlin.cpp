// Centre-line tracing: each inked line becomes one curve along its middle. The ink is thinned to a
// one-pixel skeleton, the skeleton is followed between its ends and junctions, spurs shorter than
// the line's width go, and each point is moved to the middle of the ink around it before the
// outline filters smooth and thin the curve. Ink areas too wide to be lines keep their outlines.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>
#include "core/alc.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "vectorize/vec.h"
#include "vectorize/vec_int.h"

namespace vec {

namespace {

// Map bits of the centre-line trace (the padded map of vec_int.h).
constexpr uint8_t CInk = 1;
constexpr uint8_t CSeen = 2;   // background reached by a hole search / ink reached by labelling
constexpr uint8_t CSkel = 4;   // on the skeleton
constexpr uint8_t CUsed = 8;   // skeleton pixel already on a traced chain

// Enclosed paper areas up to this many pixels are specks of noise inside a line: filled.
constexpr int HoleMax = 6;
// An ink area whose middle lies farther than this many pixels from the paper is a filled area,
// not a line (lines up to 16 pixels wide are lines).
constexpr int FillDst = 8;
// Chamfer distances in thirds of a pixel.
constexpr int DstOrt = 3, DstDia = 4;

struct Edge {
    int a = -1, b = -1;      // end nodes (-1 for a closed chain)
    std::vector<int> pix;    // map indexes, a's pixel first
    bool loop = false;       // closed
    bool alive = true;
};

class CntTrc {
public:
    CntTrc(const VecSrc& src, const VecPrm& prm, float p, CnclChk& c)
        : src_(src), prm_(prm), p_(p), cancelled_(c), w_(src.w), h_(src.h), mw_(src.w + 2LL) {
        const long long mw = mw_;
        nb_[0] = -mw;      // N
        nb_[1] = -mw + 1;  // NE
        nb_[2] = 1;        // E
        nb_[3] = mw + 1;   // SE
        nb_[4] = mw;       // S
        nb_[5] = mw - 1;   // SW
        nb_[6] = -1;       // W
        nb_[7] = -mw - 1;  // NW
    }
    int Run();

private:
    const VecSrc& src_;
    const VecPrm& prm_;
    float p_;
    CnclChk& cancelled_;
    int w_, h_;
    long long mw_;
    long long nb_[8];
    std::vector<uint8_t> m_;     // padded map
    std::vector<uint16_t> dst_;  // chamfer distance to the paper, thirds of a pixel
    std::vector<int32_t> lab_;   // ink component + 1, 0 on paper
    std::vector<uint8_t> fill_;  // per component: a filled area
    std::vector<int> skel_;      // skeleton pixels
    std::vector<Edge> edges_;
    std::vector<int32_t> node_;  // per pixel: node id + 1 of a node pixel
    int nNode_ = 0;

    int Nbr(long long i) const {
        int n = 0;
        for (long long d : nb_) n += (m_[i + d] & CSkel) != 0;
        return n;
    }
    void InkMap();
    void FillHoles();
    void Distance();
    void Label();
    bool Thin();
    void Prune();
    void Graph();
    void DropSpurs();
    void Emit();
    float WidthAt(int i) const { return 2.0f * dst_[i] / DstOrt; }
};

void CntTrc::InkMap() {
    m_.assign(static_cast<size_t>(mw_ * (h_ + 2LL)), 0);
    uint8_t ink[766];
    for (int s = 0; s < 766; ++s) ink[s] = s / 3 <= prm_.thr ? CInk : 0;
    for (int y = 0; y < h_; ++y) {
        const uint8_t* q = src_.pix + src_.stride * y;
        uint8_t* r = m_.data() + mw_ * (y + 1) + 1;
        for (int x = 0; x < w_; ++x, q += 4) r[x] = ink[q[0] + q[1] + q[2]];
    }
}

// Paper enclosed by ink in areas of at most HoleMax pixels becomes ink: a speck of noise inside a
// line would otherwise split its skeleton into a small ring.
void CntTrc::FillHoles() {
    const long long n = mw_ * (h_ + 2LL);
    std::vector<long long> stk, comp;
    const long long four[4] = {-mw_, 1, mw_, -1};
    // The paper connected to the border is no hole.
    stk.push_back(0);
    m_[0] |= CSeen;
    auto flood = [&](bool keep) {
        while (!stk.empty()) {
            long long i = stk.back();
            stk.pop_back();
            if (keep && comp.size() <= static_cast<size_t>(HoleMax)) comp.push_back(i);
            const long long x = i % mw_, y = i / mw_;
            for (int k = 0; k < 4; ++k) {
                // Border pixels only reach each other and the image.
                if ((k == 1 && x == mw_ - 1) || (k == 3 && x == 0) || (k == 0 && y == 0) ||
                    (k == 2 && y == h_ + 1))
                    continue;
                const long long j = i + four[k];
                if (m_[j] & (CInk | CSeen)) continue;
                m_[j] |= CSeen;
                stk.push_back(j);
            }
        }
    };
    flood(false);
    for (long long i = 0; i < n; ++i) {
        if (m_[i] & (CInk | CSeen)) continue;
        m_[i] |= CSeen;
        stk.push_back(i);
        comp.clear();
        flood(true);
        if (comp.size() <= static_cast<size_t>(HoleMax))
            for (long long j : comp) m_[j] |= CInk;
    }
    for (uint8_t& b : m_) b &= static_cast<uint8_t>(~CSeen);
}

void CntTrc::Distance() {
    const long long n = mw_ * (h_ + 2LL);
    dst_.assign(static_cast<size_t>(n), 0);
    constexpr int Big = 60000;
    for (long long i = 0; i < n; ++i) dst_[i] = (m_[i] & CInk) ? Big : 0;
    auto relax = [&](long long i, long long j, int c) {
        if (dst_[j] + c < dst_[i]) dst_[i] = static_cast<uint16_t>(dst_[j] + c);
    };
    for (int y = 1; y <= h_; ++y)
        for (long long i = mw_ * y + 1, e = mw_ * y + w_; i <= e; ++i) {
            if (!dst_[i]) continue;
            relax(i, i - 1, DstOrt);
            relax(i, i - mw_, DstOrt);
            relax(i, i - mw_ - 1, DstDia);
            relax(i, i - mw_ + 1, DstDia);
        }
    for (int y = h_; y >= 1; --y)
        for (long long i = mw_ * y + w_, e = mw_ * y + 1; i >= e; --i) {
            if (!dst_[i]) continue;
            relax(i, i + 1, DstOrt);
            relax(i, i + mw_, DstOrt);
            relax(i, i + mw_ + 1, DstDia);
            relax(i, i + mw_ - 1, DstDia);
        }
}

// Eight-connected ink areas; an area is filled when its middle is far from the paper.
void CntTrc::Label() {
    const long long n = mw_ * (h_ + 2LL);
    lab_.assign(static_cast<size_t>(n), 0);
    fill_.clear();
    std::vector<long long> stk;
    int32_t id = 0;
    for (long long i = 0; i < n; ++i) {
        if (!(m_[i] & CInk) || lab_[i]) continue;
        ++id;
        int far = 0;
        lab_[i] = id;
        stk.push_back(i);
        while (!stk.empty()) {
            long long k = stk.back();
            stk.pop_back();
            far = std::max(far, static_cast<int>(dst_[k]));
            for (long long d : nb_) {
                const long long j = k + d;
                if ((m_[j] & CInk) && !lab_[j]) {
                    lab_[j] = id;
                    stk.push_back(j);
                }
            }
        }
        fill_.push_back(far > FillDst * DstOrt ? 1 : 0);
    }
}

// Zhang-Suen thinning of the line areas. False when cancelled.
bool CntTrc::Thin() {
    skel_.clear();
    const long long n = mw_ * (h_ + 2LL);
    for (long long i = 0; i < n; ++i)
        if ((m_[i] & CInk) && !fill_[lab_[i] - 1]) {
            m_[i] |= CSkel;
            skel_.push_back(static_cast<int>(i));
        }
    std::vector<int> del;
    for (bool changed = true; changed;) {
        changed = false;
        if (cancelled_()) return false;
        for (int sub = 0; sub < 2; ++sub) {
            del.clear();
            for (int i : skel_) {
                bool q[8];
                int b = 0;
                for (int k = 0; k < 8; ++k) b += q[k] = (m_[i + nb_[k]] & CSkel) != 0;
                if (b < 2 || b > 6) continue;
                int a = 0;
                for (int k = 0; k < 8; ++k) a += !q[k] && q[(k + 1) & 7];
                if (a != 1) continue;
                // q[0] N, q[2] E, q[4] S, q[6] W.
                if (sub == 0 ? (q[0] && q[2] && q[4]) || (q[2] && q[4] && q[6])
                             : (q[0] && q[2] && q[6]) || (q[0] && q[4] && q[6]))
                    continue;
                del.push_back(i);
            }
            for (int i : del) m_[i] &= static_cast<uint8_t>(~CSkel);
            if (!del.empty()) {
                changed = true;
                skel_.erase(std::remove_if(skel_.begin(), skel_.end(),
                                           [&](int i) { return !(m_[i] & CSkel); }),
                            skel_.end());
            }
        }
    }
    return true;
}

// Removes skeleton pixels whose neighbours stay connected without them (the corners of
// staircases), so that every pixel inside a chain has exactly two neighbours.
void CntTrc::Prune() {
    // Ring positions N NE E SE S SW W NW as (dx, dy).
    static const int rx[8] = {0, 1, 1, 1, 0, -1, -1, -1}, ry[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    for (int pass = 0; pass < 2; ++pass) {
        bool any = false;
        for (int i : skel_) {
            if (!(m_[i] & CSkel)) continue;
            bool q[8];
            int cnt = 0;
            for (int k = 0; k < 8; ++k) cnt += q[k] = (m_[i + nb_[k]] & CSkel) != 0;
            if (cnt < 2) continue;
            // Groups of the neighbours under eight-adjacency among themselves.
            int grp[8];
            for (int k = 0; k < 8; ++k) grp[k] = k;
            auto root = [&](int k) {
                while (grp[k] != k) k = grp[k];
                return k;
            };
            for (int a = 0; a < 8; ++a)
                for (int b = a + 1; b < 8; ++b)
                    if (q[a] && q[b] && std::abs(rx[a] - rx[b]) <= 1 && std::abs(ry[a] - ry[b]) <= 1)
                        grp[root(b)] = root(a);
            int groups = 0;
            for (int k = 0; k < 8; ++k) groups += q[k] && root(k) == k;
            if (groups != 1) continue;
            // A pixel whose neighbours all lie on one side is a line's end: it stays.
            if (cnt == 2) {
                int a = -1, b = -1;
                for (int k = 0; k < 8; ++k)
                    if (q[k]) (a < 0 ? a : b) = k;
                // Two neighbours next to each other in the ring with the pixel at a corner of
                // them: only an orthogonal pair (N and E, ...) makes a staircase corner.
                if (!((a % 2 == 0) && (b % 2 == 0))) continue;
            }
            m_[i] &= static_cast<uint8_t>(~CSkel);
            any = true;
        }
        skel_.erase(std::remove_if(skel_.begin(), skel_.end(), [&](int i) { return !(m_[i] & CSkel); }),
                    skel_.end());
        if (!any) break;
    }
}

// Nodes (ends and clusters of junction pixels) and the chains between them.
void CntTrc::Graph() {
    const long long n = mw_ * (h_ + 2LL);
    node_.assign(static_cast<size_t>(n), 0);
    nNode_ = 0;
    std::vector<int> stk;
    for (int i : skel_) {
        if (node_[i]) continue;
        const int d = Nbr(i);
        if (d == 2) continue;
        const int id = ++nNode_;
        node_[i] = id;
        if (d < 3) continue;
        // Junction pixels next to each other are one node.
        stk.push_back(i);
        while (!stk.empty()) {
            int k = stk.back();
            stk.pop_back();
            for (long long dd : nb_) {
                const int j = static_cast<int>(k + dd);
                if ((m_[j] & CSkel) && !node_[j] && Nbr(j) >= 3) {
                    node_[j] = id;
                    stk.push_back(j);
                }
            }
        }
    }
    edges_.clear();
    // Chains from every node.
    for (int s : skel_) {
        if (!node_[s]) continue;
        for (long long d : nb_) {
            const int f = static_cast<int>(s + d);
            if (!(m_[f] & CSkel)) continue;
            if (node_[f]) {
                // Two nodes side by side (different clusters): a chain of two pixels, once.
                if (node_[f] != node_[s] && f > s) {
                    Edge e;
                    e.a = node_[s] - 1;
                    e.b = node_[f] - 1;
                    e.pix = {s, f};
                    edges_.push_back(std::move(e));
                }
                continue;
            }
            if (m_[f] & CUsed) continue;
            Edge e;
            e.a = node_[s] - 1;
            e.pix = {s, f};
            int prev = s, cur = f;
            m_[cur] |= CUsed;
            while (!node_[cur]) {
                int next = -1;
                for (long long dd : nb_) {
                    const int j = static_cast<int>(cur + dd);
                    if (j != prev && (m_[j] & CSkel) && (node_[j] || !(m_[j] & CUsed))) {
                        next = j;
                        break;
                    }
                }
                if (next < 0) break;  // cannot happen on a pruned skeleton
                prev = cur;
                cur = next;
                e.pix.push_back(cur);
                if (!node_[cur]) m_[cur] |= CUsed;
            }
            e.b = node_[cur] ? node_[cur] - 1 : nNode_++;  // a broken chain ends freely
            edges_.push_back(std::move(e));
        }
    }
    // What is left are rings without ends or junctions.
    for (int s : skel_) {
        if (node_[s] || (m_[s] & CUsed)) continue;
        Edge e;
        e.loop = true;
        e.pix = {s};
        m_[s] |= CUsed;
        int prev = -1, cur = s;
        for (;;) {
            int next = -1;
            for (long long dd : nb_) {
                const int j = static_cast<int>(cur + dd);
                if (j != prev && (m_[j] & CSkel) && !(m_[j] & CUsed)) {
                    next = j;
                    break;
                }
            }
            if (next < 0) break;
            m_[next] |= CUsed;
            e.pix.push_back(next);
            prev = cur;
            cur = next;
        }
        edges_.push_back(std::move(e));
    }
}

// Spurs (chains from a junction to a free end) shorter than the line's width go; a junction left
// with two chains joins them into one, a chain that comes back to its own junction closes.
void CntTrc::DropSpurs() {
    for (int round = 0; round < 3; ++round) {
        std::vector<int> deg(static_cast<size_t>(nNode_), 0);
        for (const Edge& e : edges_)
            if (e.alive && !e.loop) {
                ++deg[e.a];
                ++deg[e.b];
            }
        bool changed = false;
        for (Edge& e : edges_) {
            if (!e.alive || e.loop) continue;
            const bool freeA = deg[e.a] == 1, freeB = deg[e.b] == 1;
            if (freeA == freeB) continue;  // both free (a lone line) or a chain between junctions
            const int j = freeA ? e.pix.back() : e.pix.front();
            if (static_cast<float>(e.pix.size()) < WidthAt(j)) {
                e.alive = false;
                --deg[e.a];
                --deg[e.b];
                changed = true;
            }
        }
        // Joins at nodes with two chains left.
        std::vector<std::vector<int>> inc(static_cast<size_t>(nNode_));
        for (int k = 0; k < static_cast<int>(edges_.size()); ++k) {
            const Edge& e = edges_[k];
            if (!e.alive || e.loop) continue;
            inc[e.a].push_back(k);
            if (e.b != e.a) inc[e.b].push_back(k);
        }
        for (int v = 0; v < nNode_; ++v) {
            if (deg[v] != 2) continue;
            std::vector<int> es;
            for (int k : inc[v])
                if (edges_[k].alive && !edges_[k].loop && (edges_[k].a == v || edges_[k].b == v))
                    es.push_back(k);
            if (es.size() == 1 && edges_[es[0]].a == v && edges_[es[0]].b == v) {
                Edge& e = edges_[es[0]];
                e.loop = true;
                e.a = e.b = -1;
                changed = true;
                continue;
            }
            if (es.size() != 2) continue;
            Edge& e1 = edges_[es[0]];
            Edge& e2 = edges_[es[1]];
            if (e1.b != v) {
                std::reverse(e1.pix.begin(), e1.pix.end());
                std::swap(e1.a, e1.b);
            }
            if (e2.a != v) {
                std::reverse(e2.pix.begin(), e2.pix.end());
                std::swap(e2.a, e2.b);
            }
            e1.pix.insert(e1.pix.end(), e2.pix.begin(), e2.pix.end());
            e1.b = e2.b;
            e2.alive = false;
            if (e1.a == e1.b) {
                // Came back to where it started: closed (unless other chains still meet there).
                int others = 0;
                for (int k : inc[e1.a])
                    if (&edges_[k] != &e1 && edges_[k].alive) ++others;
                if (others == 0) {
                    e1.loop = true;
                    e1.a = e1.b = -1;
                }
            }
            // Later joins at the far end see the merged chain.
            if (e1.b >= 0)
                for (int& k : inc[e1.b])
                    if (k == es[1]) k = es[0];
            changed = true;
        }
        if (!changed) break;
    }
}

// Each chain: points in the middle of the ink around its pixels, then the outline filters.
void CntTrc::Emit() {
    const PixMdl pm(prm_, p_, w_, h_);
    std::vector<float> pt;
    for (const Edge& e : edges_) {
        if (!e.alive || e.pix.size() < 2) continue;
        float wmax = 0;
        for (int i : e.pix) wmax = std::max(wmax, WidthAt(i));
        // Specks of noise: short lone pieces.
        if (!e.loop && static_cast<float>(e.pix.size()) < std::max(3.0f, 2 * wmax)) continue;
        if (e.loop && static_cast<float>(e.pix.size()) < std::max(4.0f, 2 * wmax)) continue;
        pt.clear();
        for (int i : e.pix) {
            const int r = std::clamp(static_cast<int>(std::ceil(dst_[i] / static_cast<double>(DstOrt))) + 1, 1, 12);
            const int cx = i % static_cast<int>(mw_), cy = i / static_cast<int>(mw_);
            double sx = 0, sy = 0;
            int cnt = 0;
            for (int y = std::max(1, cy - r); y <= std::min(h_, cy + r); ++y)
                for (int x = std::max(1, cx - r); x <= std::min(w_, cx + r); ++x) {
                    const long long j = mw_ * y + x;
                    if (lab_[j] != lab_[i]) continue;
                    sx += x;
                    sy += y;
                    ++cnt;
                }
            // Padded map columns start at 1; pixel centres lie at +0.5.
            const double fx = sx / cnt - 1 + 0.5, fy = sy / cnt - 1 + 0.5;
            pt.push_back(pm.Xf(fx));
            pt.push_back(pm.Yf(fy));
            pt.push_back(0);
        }
        if (e.loop) {
            pt.push_back(pt[0]);
            pt.push_back(pt[1]);
            pt.push_back(0);
        }
        int n = static_cast<int>(pt.size() / 3);
        AveFltr(n, pt.data(), prm_.aveNum);
        ThinPnts(&n, pt.data(), prm_, p_);
        if (n >= 2) MkCntrCrv(n, pt.data());
    }
}

int CntTrc::Run() {
    InkMap();
    prm_.fb.Progress(5);
    if (cancelled_()) return -1;
    FillHoles();
    Distance();
    Label();
    prm_.fb.Progress(20);
    if (cancelled_()) return -1;
    if (!Thin()) return -1;
    prm_.fb.Progress(50);
    Prune();
    Graph();
    DropSpurs();
    prm_.fb.Progress(70);
    if (cancelled_()) return -1;
    Emit();
    prm_.fb.Progress(90);
    // Filled areas keep their outlines.
    bool anyFill = false;
    for (uint8_t f : fill_) anyFill = anyFill || f;
    if (!anyFill) {
        prm_.fb.Progress(100);
        return 0;
    }
    for (size_t i = 0; i < m_.size(); ++i) m_[i] = lab_[i] && fill_[lab_[i] - 1] ? MapInk : 0;
    return ScanOutLin(m_.data(), w_, h_, prm_, p_, cancelled_);
}

}  // namespace

int TrcCntLin(const VecSrc& src, const VecPrm& prm, float p, CnclChk& cancelled) {
    // Pixels are numbered with ints.
    if ((src.w + 2LL) * (src.h + 2LL) > 2147483647LL) {
        DspErrMsg(MsgOwnErr, MsgTx("中心線の抽出には画像が大きすぎます。",
                                   "The map is too large for the centre-line trace."));
        return -1;
    }
    try {
        CntTrc t(src, prm, p, cancelled);
        return t.Run();
    } catch (const std::bad_alloc&) {
        DspErrMsg(MsgNoMem, MsgTx("中心線の抽出に必要なメモリが足りません。",
                                  "Not enough memory for the centre-line trace."));
        return -1;
    }
}

}  // namespace vec
