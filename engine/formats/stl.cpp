// ASCII STL: the terrain grid out as facets; solids in as parts of the terrain product.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "core/alc.h"
#include "core/msg.h"
#include "formats/codepage.h"
#include "formats/outfile.h"
#include "formats/stl.h"
#include "formats/xchg.h"
#include "scene/georef.h"
#include "scene/scene.h"

namespace {

constexpr int PgnTri = 1, PgnQuad = 2, PgnGen = 0;   // polygon group types of facets
constexpr int SrfKindStl = 2;                        // surface kind of a read solid
constexpr int StlLineMax = 1024;                     // characters kept of a line
constexpr float StlCoordMax = 3.0e38f;               // coordinates beyond this are refused

void Vec(OutFile& o, const char* pre, double a, double b, double c) {
    o.Put(pre);
    o.Fix(a);
    o.Put(' ');
    o.Fix(b);
    o.Put(' ');
    o.Fix(c);
    o.Put('\n');
}

}  // namespace

int WrStlFct(const std::string& path, double u) {
    const srf* s = TrnSrf;
    const pgn* g = TrnGrd;
    OutFile o;
    if (!OutOpen(o, path)) return -1;
    std::string name;
    Utf8ToSjis(s->name ? s->name : "", &name);
    o.Put("solid ");
    o.Line(name);
    const int R = g->rows, C = g->cols;
    static const float zero[3] = {0, 0, 0};
    const double ox = OrgMmX(), oy = OrgMmY();  // real-world coordinates
    for (int rr = 0; rr + 1 < R; ++rr)
        for (int c = 0; c + 1 < C; ++c) {
            const int32_t* id = g->vtx_id;
            int k[4] = {id[rr * C + c], id[rr * C + c + 1], id[(rr + 1) * C + c + 1],
                        id[(rr + 1) * C + c]};
            static constexpr int facets[2][3] = {{0, 2, 3}, {0, 1, 2}};  // A C D, A B C
            for (const auto& f : facets) {
                double n[3] = {0, 0, 0};
                for (int j : f) {
                    const float* vn = s->nrm ? s->nrm + 3 * k[j] : zero;
                    for (int q = 0; q < 3; ++q) n[q] += vn[q];
                }
                double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                if (len > StlNrmMin)
                    for (double& q : n) q /= len;
                Vec(o, "  facet normal ", n[0], n[1], n[2]);
                o.Line("    outer loop");
                for (int j : f) {
                    const float* v = s->v + 3 * k[j];
                    Vec(o, "      vertex ", (v[0] + ox) * u, (v[1] + oy) * u, v[2] * u);
                }
                o.Line("    endloop");
                o.Line("  endfacet");
            }
        }
    o.Put("endsolid ");
    o.Line(name);
    return OutCommit(o, path);
}

int WrStl(const std::string& path) {
    double f = OutUnitFct(OutUnit);
    return WrStlFct(path, f > 0 ? f : 1.0);
}

// ---- reading ----

namespace {

constexpr int VtxInit = 10000, FacInit = 1000, GrowBy = 1000;  // working arrays, in elements

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Growable array of T through the tagged allocator.
template <class T>
struct Arr {
    T* a = nullptr;
    long long n = 0, cap = 0;
    const char* tag;
    explicit Arr(const char* t) : tag(t) {}
    ~Arr() { FreeMem(a); }
    bool Reserve(long long c) {
        void* p = RealcMem(a, c * static_cast<long long>(sizeof(T)), tag);
        if (!p) return false;
        a = static_cast<T*>(p);
        cap = c;
        return true;
    }
    bool Push(const T& v) {
        if (n == cap && !Reserve(cap + GrowBy * (cap / GrowBy / 8 + 1))) return false;
        a[n++] = v;
        return true;
    }
};

struct P3 {
    float x, y, z;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// Keywords in any case: CAD programs write "SOLID", "FACET NORMAL" as well.
bool Starts(std::string_view s, std::string_view w) {
    if (s.size() < w.size()) return false;
    for (size_t i = 0; i < w.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != w[i]) return false;
    return true;
}

// Three reals ("%f %f %f"); false when one is missing or not finite.
bool Read3d(std::string_view s, double out[3]) {
    for (int k = 0; k < 3; ++k) {
        s = Trim(s);
        if (!s.empty() && s.front() == '+') s.remove_prefix(1);
        double v;
        auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        if (r.ec != std::errc() || r.ptr == s.data() || !std::isfinite(v) || std::fabs(v) > StlCoordMax)
            return false;
        out[k] = v;
        s.remove_prefix(static_cast<size_t>(r.ptr - s.data()));
    }
    return true;
}

bool Read3(std::string_view s, float out[3]) {
    double d[3];
    if (!Read3d(s, d)) return false;
    for (int k = 0; k < 3; ++k) out[k] = static_cast<float>(d[k]);
    return true;
}

class StlRd {
public:
    StlRd(const std::string& base, StlRdSum* sum, double ox, double oy)
        : base_(base), sum_(*sum), ox_(ox), oy_(oy) {}
    void Line(std::string_view l);
    void End() { EndSolid(); }
    // The material table and the current material (with its index) that surfaces use.
    void SetMtl(mtl_tbl* t, mtl* m, int idx) {
        tbl_ = t;
        mtl_ = m;
        mtlIdx_ = idx;
        mtlNo_ = 1;
    }

private:
    void BgnSolid();
    void EndSolid();
    void StartSrf();
    void CloseSrf();
    void EndFacet();

    std::string base_;
    StlRdSum& sum_;
    double ox_, oy_;  // local origin (mm) subtracted from the vertices
    prt* prt_ = nullptr;
    srf* srf_ = nullptr;
    mtl_tbl* tbl_ = nullptr;
    mtl* mtl_ = nullptr;
    int mtlIdx_ = -1;
    int srfNo_ = 0, mtlNo_ = 0, colNo_ = 0;
    bool inFacet_ = false, inLoop_ = false, wantNrm_ = false, facetBad_ = false;
    float nrm_[3] = {0, 0, 0};
    Arr<P3> v_{"RdStl:vtx"}, n_{"RdStl:nrm"};
    Arr<int> fac_{"RdStl:fac"};   // vertex count of each facet
    long long facV0_ = 0;         // first vertex of the open facet
};

void StlRd::StartSrf() {
    char nm[32];
    std::snprintf(nm, sizeof nm, "surf%d", ++srfNo_);
    srf_ = ::NewSrf(nm);
    if (!srf_) return;
    if (AtchSrfPrt(prt_, srf_) < 0) {
        FreeSrf(srf_, false);
        srf_ = nullptr;
        return;
    }
    srf_->mtlIdx = mtlIdx_;
    srf_->mtlPtr = mtl_;
    v_.n = n_.n = fac_.n = 0;
}

void StlRd::BgnSolid() {
    EndSolid();
    if (!TrnPrd) return;
    prt_ = NewPrt(base_.c_str());
    if (!prt_) return;
    if (AtchPrtPrd(TrnPrd, prt_) < 0) {
        FreePrt(prt_, false);
        prt_ = nullptr;
        return;
    }
    ++sum_.solids;
    StartSrf();
}

// The surface receives what was read: vertices, normals, one group per facet.
void StlRd::CloseSrf() {
    if (!srf_) return;
    if (inFacet_) EndFacet();
    srf* s = srf_;
    srf_ = nullptr;
    s->kind = SrfKindStl;
    if (v_.n == 0) return;
    long long bytes = v_.n * 3 * static_cast<long long>(sizeof(float));
    s->v = static_cast<float*>(AlcMem(bytes, "srf->v"));
    s->nrm = static_cast<float*>(AlcMem(bytes, "srf->n"));
    if (!s->v || !s->nrm) return;
    std::memcpy(s->v, v_.a, static_cast<size_t>(bytes));
    std::memcpy(s->nrm, n_.a, static_cast<size_t>(bytes));
    s->nv = static_cast<int>(v_.n);
    int first = 0;
    for (long long f = 0; f < fac_.n; ++f) {
        int cnt = fac_.a[f];
        pgn* g = NewPgn(s);
        if (!g) return;
        g->vtx_id = static_cast<int32_t*>(AlcMem(cnt * static_cast<long long>(sizeof(int32_t)), "vtx_id"));
        if (!g->vtx_id) return;
        g->n = cnt;
        for (int k = 0; k < cnt; ++k) g->vtx_id[k] = first + k;
        g->type = static_cast<uint8_t>(cnt == 3 ? PgnTri : cnt == 4 ? PgnQuad : PgnGen);
        first += cnt;
    }
    UdtBox(s, OK_SRF);
}

void StlRd::EndSolid() {
    CloseSrf();
    prt_ = nullptr;
}

// A facet keeps its vertices when it has at least three and all were finite numbers.
void StlRd::EndFacet() {
    inFacet_ = inLoop_ = wantNrm_ = false;
    int cnt = static_cast<int>(v_.n - facV0_);
    if (facetBad_ || cnt < 3 || v_.n > INT32_MAX / 2) {
        v_.n = n_.n = facV0_;
        ++sum_.skipped;
        return;
    }
    fac_.Push(cnt);
    ++sum_.facets;
}

void StlRd::Line(std::string_view l) {
    l = Trim(l);
    if (Starts(l, "endsolid")) {
        EndSolid();
    } else if (Starts(l, "solid")) {
        BgnSolid();
    } else if (Starts(l, "facet")) {
        if (!srf_) BgnSolid();  // facets before any "solid" line still make a solid
        if (!srf_) return;
        if (inFacet_) EndFacet();
        inFacet_ = true;
        facetBad_ = false;
        facV0_ = v_.n;
        std::string_view rest = Trim(l.substr(5));
        if (Starts(rest, "normal")) {
            if (!Read3(rest.substr(6), nrm_)) nrm_[0] = nrm_[1] = nrm_[2] = 0;
        } else {
            wantNrm_ = true;
        }
    } else if (Starts(l, "normal") && inFacet_ && wantNrm_) {
        if (!Read3(l.substr(6), nrm_)) nrm_[0] = nrm_[1] = nrm_[2] = 0;
        wantNrm_ = false;
    } else if (Starts(l, "outer loop")) {
        inLoop_ = inFacet_;
    } else if (Starts(l, "vertex") && inLoop_) {
        P3 p;
        double q[3];
        if (!Read3d(l.substr(6), q)) {
            facetBad_ = true;
            return;
        }
        p = {static_cast<float>(q[0] - ox_), static_cast<float>(q[1] - oy_), static_cast<float>(q[2])};
        if (!v_.Push(p) || !n_.Push(P3{nrm_[0], nrm_[1], nrm_[2]})) facetBad_ = true;
    } else if (Starts(l, "endloop")) {
        inLoop_ = false;
    } else if (Starts(l, "endfacet")) {
        if (inFacet_) EndFacet();
    } else if (Starts(l, "color")) {
        float c[3];
        if (!Read3(l.substr(5), c) || !tbl_) return;
        if (++colNo_ > 1 && srf_) {
            CloseSrf();
            char nm[32];
            std::snprintf(nm, sizeof nm, "Material%d", ++mtlNo_);
            mtl* m = NewMtl(nm);
            if (m && AtchMtl(tbl_, m) == 0) {
                mtl_ = m;
                mtlIdx_ = tbl_->mtls.n - 1;
            }
            StartSrf();
        }
        if (mtl_)
            for (int k = 0; k < 3; ++k) mtl_->dif[k] = c[k];
        if (srf_) srf_->mtlPtr = mtl_;
    }
}

}  // namespace

namespace {

// True when a line of the file starts with "facet"; the file is rewound. With ext, the whole
// file is read and ext receives the x/y extent of its vertices (x0 > x1 when none).
bool HasFacet(std::FILE* f, double* ext = nullptr) {
    char line[StlLineMax + 2];
    bool found = false;
    bool lineStart = true;
    if (ext) ext[0] = ext[1] = HUGE_VAL, ext[2] = ext[3] = -HUGE_VAL;
    while ((ext || !found) && std::fgets(line, sizeof line, f)) {
        if (lineStart) {
            const std::string_view l = Trim(std::string_view(line));
            found = found || Starts(l, "facet");
            double q[3];
            if (ext && Starts(l, "vertex") && Read3d(l.substr(6), q))
                for (int a = 0; a < 2; ++a) {
                    ext[a] = std::fmin(ext[a], q[a]);
                    ext[2 + a] = std::fmax(ext[2 + a], q[a]);
                }
        }
        lineStart = std::strchr(line, '\n') != nullptr;
    }
    std::rewind(f);
    return found;
}

}  // namespace

int StlRead(const std::string& path, StlRdSum* sum, const StlOrg* org) {
    StlRdSum local;
    StlRdSum& s = sum ? *sum : local;
    s = StlRdSum();
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        DspErrMsg(MsgFilOpn, path.c_str());
        return -1;
    }
    // A file without a single facet (empty, not STL, cut after its header) is refused before the
    // scene is touched: no product, material or part is made for it.
    double ext[4];
    if (!HasFacet(f.get(), org ? ext : nullptr)) {
        const std::string t = path + " STLの面(facet)がないため、読み込みませんでした。";
        DspErrMsg(MsgOwnErr, t.c_str());
        return -1;
    }
    // The part is named after the file: no folder, no extension.
    std::string base = path.substr(path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
    if (size_t d = base.rfind('.'); d != std::string::npos && d > 0) base.resize(d);
    if (base.empty()) base = "STL";
    if (!TrnPrd) {
        // A scene without the terrain product gets one, so that the solids have an owner.
        prd* d = NewPrd("地形");
        if (!d || AtchPrdGlb(d) < 0) return -1;
        TrnPrd = d;
    }
    mtl_tbl* t = ActMtlTbl(TrnPrd, OK_PRD);
    if (!t) {
        t = NewMtlTbl("Material");
        if (!t || AtchMtlTblPrd(TrnPrd, t) < 0) return -1;
        t->active = 1;
    }
    mtl* m = NewMtl("Material1");
    if (!m || AtchMtl(t, m) < 0) return -1;
    m->dif[0] = m->dif[1] = m->dif[2] = 0.5f;

    // Solids in national-grid coordinates: the document's origin, or one picked for them.
    double ox = 0, oy = 0;
    if (org && org->known) {
        ox = org->ox * 1000.0;
        oy = org->oy * 1000.0;
    } else if (org && ext[0] <= ext[2] &&
               std::fmax(std::fmax(std::fabs(ext[0]), std::fabs(ext[2])),
                         std::fmax(std::fabs(ext[1]), std::fabs(ext[3]))) > LocCrdMax) {
        s.org = true;
        s.ox = OrgPickM(ext[0]);
        s.oy = OrgPickM(ext[1]);
        ox = s.ox * 1000.0;
        oy = s.oy * 1000.0;
    }
    StlRd rd(base, &s, ox, oy);
    rd.SetMtl(t, m, t->mtls.n - 1);
    char line[StlLineMax + 2];
    bool err = false;
    while (std::fgets(line, sizeof line, f.get())) {
        size_t len = std::strlen(line);
        if (len > 0 && line[len - 1] != '\n' && !std::feof(f.get())) {
            // An over-long line: its start is read, the rest dropped.
            int ch;
            while ((ch = std::fgetc(f.get())) != EOF && ch != '\n') {
            }
        }
        rd.Line(std::string_view(line, len));
    }
    if (std::ferror(f.get())) err = true;
    rd.End();
    if (err) DspErrMsg(MsgFilRd, path.c_str());
    return 0;
}
