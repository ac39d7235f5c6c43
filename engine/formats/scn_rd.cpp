// Reading the scene document. Every record is created through its constructor and attached at
// once, so whatever has been read belongs to the scene when reading stops; every count is
// checked against the bytes left before anything is allocated.
#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include "core/alc.h"
#include "core/msg.h"
#include "formats/scn.h"
#include "formats/scn_fld.h"

namespace {

using scnio::Damaged;
using scnio::In;
using scnio::NamMin;

// Least stored sizes, for the count checks.
constexpr size_t XfmLen = 12 * 8 + 1, BoxLen = 24, NodeLen = XfmLen + 1 + BoxLen;
constexpr size_t CamMin = NamMin + 19 * 8 + 12 + 7;
constexpr size_t LgtMin = NamMin + 15 * 4 + 10 * 4 + 16 * 4 + 5;
constexpr size_t MtlMin = NamMin + 19 * 4 + 5 * 8 + 10;
constexpr size_t TblMin = NamMin + 8 + 1;
constexpr size_t PrtMin = NamMin + 24 + NodeLen + 3;
constexpr size_t LnkMin = NamMin + 12 + 72 + NodeLen + 4;
constexpr size_t SrfMin = NamMin + 16 + 1 + 1 + NodeLen + 2;
constexpr size_t CrvMin = NamMin + 4 + 12 + NodeLen + 3;
constexpr size_t PgnMin = 4 + 5;
constexpr size_t StgMin = NamMin + 32 + NodeLen + 1;
constexpr size_t PrdMin = NamMin + 20 + NodeLen + 1;
constexpr size_t MapMin = NamMin + 5;

// Memory for n elements of T, owned by the caller's object at once.
template <class T>
T* Arr(size_t n, const char* tag) {
    if (n == 0) return nullptr;
    return static_cast<T*>(AlcMem(static_cast<long long>(n * sizeof(T)), tag));
}

// A constructor or an attach that failed without abandoning the command.
template <class T>
T* Must(T* p) {
    if (!p) throw Damaged{};
    return p;
}

void RdMtx(In& in, Node& n) {
    uint8_t has;
    in.U8(has);
    if (has == 1) scnio::Mtx16(in, n.mtx);
    else if (has != 0) throw Damaged{};
}

void RdNodeTail(In& in, Node& n) {
    scnio::XfmFld(in, n.xfm);
    RdMtx(in, n);
    scnio::BoxFld(in, n.box);
}

prm_anm* RdAnm(In& in, int ownKind) {
    in.leRaw = true;
    std::string name = in.Name();
    prm_anm* a = Must(NewAnm(ownKind));
    struct Guard {  // the block belongs to nobody until it is complete
        prm_anm* a;
        ~Guard() { FreeAnm(a); }
    } g{a};
    FreeMem(a->name);
    a->name = nullptr;
    a->name = Must(DupNam(name.c_str()));
    int nch = in.Count(4 + 8 + 3);
    a->ch = Arr<AnmCh>(size_t(nch), "anm_ch");
    for (int i = 0; i < nch; i++) a->ch[i] = AnmCh{};
    a->nch = nch;
    for (int i = 0; i < nch; i++) {
        AnmCh& c = a->ch[i];
        int nk = in.Count(9);
        c.k = Arr<AnmKey>(size_t(nk), "anm_key");
        c.nk = nk;
        for (int k = 0; k < nk; k++) {
            in.U8(c.k[k].flg);
            in.F64(c.k[k].val);
        }
        in.I32(c.v[0]);
        in.I32(c.v[1]);
        scnio::U8n(in, c.b, 3);
    }
    uint8_t ok;
    in.U8(ok);
    a->ownKind = ok;
    in.leRaw = false;
    g.a = nullptr;
    return a;
}

// The animation flag (stored from version 103) and the block when it is set.
void RdAnmOpt(In& in, prm_anm*& dst, int ownKind) {
    if (in.ver <= 102) return;
    uint8_t f;
    in.U8(f);
    if (f == 1) dst = RdAnm(in, ownKind);
}

// Fields of a camera after its name.
void RdCamBody(In& in, cam* c) {
    scnio::CamFld1(in, c->view);
    RdAnmOpt(in, c->anm, OK_CAM);
    scnio::CamFld2(in, c->view);
    c->cur = c->view.CurCam;
}

cam* RdCam(In& in) {
    std::string name = in.Name();
    cam* c = Must(NewCam(name.c_str()));
    return c;
}

void RdLgtTbl(In& in, lgt_tbl* t) {
    int n = in.Count(LgtMin);
    in.I32(t->curIdx);
    for (int i = 0; i < n; i++) {
        std::string name = in.Name();
        lgt* l = Must(NewLgt(name.c_str()));
        if (AtchLgt(t, l) < 0) {
            FreeLgt(l, false);
            throw Damaged{};
        }
        scnio::LgtFld(in, l->r);
        in.Prog();
    }
    in.U8(t->active);
    in.Prog();
}

void RdMaps(In& in, mtl* m, int kind, int& cur) {
    int n = in.Count(MapMin);
    in.I32(cur);
    for (int i = 0; i < n; i++) {
        std::string name = in.Name();
        txt_map* t = Must(NewMap(name.c_str()));
        if (AtchMap(m, kind, t) < 0) {
            FreeMap(t, false);
            throw Damaged{};
        }
        scnio::MapFld(in, *t, kind);
    }
}

void RdMtlTbl(In& in, mtl_tbl* t) {
    int n = in.Count(MtlMin);
    in.I32(t->curIdx);
    for (int i = 0; i < n; i++) {
        std::string name = in.Name();
        mtl* m = Must(NewMtl(name.c_str()));
        if (AtchMtl(t, m) < 0) {
            FreeMtl(m, false);
            throw Damaged{};
        }
        scnio::MtlFld1(in, *m);
        RdMaps(in, m, MAP_TXT, m->txtCur);
        RdMaps(in, m, MAP_BMP, m->bmpCur);
        RdMaps(in, m, MAP_RFL, m->rflCur);
        RdMaps(in, m, MAP_TRS, m->trsCur);
        RdMaps(in, m, MAP_ENV, m->envCur);
        scnio::U8n(in, m->flg, 9);
        in.U8(m->lastB);
        in.Prog();
    }
    in.U8(t->active);
    in.Prog();
}

void RdPgn(In& in, srf* s) {
    pgn* g = Must(NewPgn(s));
    int n = in.Count(4);
    g->vtx_id = Arr<int32_t>(size_t(n), "vtx_id");
    g->n = n;
    in.I32s(g->vtx_id, size_t(n));
    in.I16(g->rows);
    in.I16(g->cols);
    in.U8(g->type);
}

void RdPrj(In& in, srf* s) {
    prj* j = Must(NewPrj(s));
    const size_t nv = size_t(s->nv);
    if (nv > in.Left() / 8) throw Damaged{};
    j->uv = Arr<float>(2 * nv, "prj:uv");
    j->n = s->nv;
    in.F32s(j->uv, 2 * nv);
    scnio::Mtx16(in, j->mtx);
    scnio::F64n(in, j->v1, 3);
    scnio::F64n(in, j->v2, 3);
    in.I32(j->iv);
    scnio::W32n(in, j->raw, 20);
    in.U8(j->type);
    if (in.ver >= 107) in.U8(j->b2);
    else j->b2 = 0;
}

void RdSrf(In& in, srf* s) {
    in.I32(s->mtlIdx);
    in.I32(s->mtlIdx2);
    SrfMtl(s);
    int ng = in.Count(PgnMin);
    for (int i = 0; i < ng; i++) RdPgn(in, s);
    int nv = in.Count(24);
    s->v = Arr<float>(3 * size_t(nv), "srf->v");
    s->nrm = Arr<float>(3 * size_t(nv), "srf->n");
    s->nv = nv;
    in.F32s(s->v, 3 * size_t(nv));
    in.F32s(s->nrm, 3 * size_t(nv));
    uint8_t third;
    in.U8(third);
    if (third == 1) {
        if (size_t(nv) > in.Left() / 12) throw Damaged{};
        s->v3 = Arr<float>(3 * size_t(nv), "srf->v3");
        in.F32s(s->v3, 3 * size_t(nv));
    } else if (third != 0) {
        throw Damaged{};
    }
    if (in.ver >= 106) {
        int nce = in.Count(4);
        int nvc = in.Count(12);
        if (size_t(nce) * 4 + size_t(nvc) * 12 > in.Left()) throw Damaged{};
        s->vc = Arr<float>(3 * size_t(nvc), "srf->vc");
        s->nvc = nvc;
        in.F32s(s->vc, 3 * size_t(nvc));
        s->ce = Arr<int32_t>(size_t(nce), "srf->ce");
        s->nce = nce;
        in.I32s(s->ce, size_t(nce));
    }
    uint8_t np;
    in.U8(np);
    for (int i = 0; i < np; i++) RdPrj(in, s);
    RdNodeTail(in, *s);
    in.U8(s->b1);
    in.U8(s->dspFlg);
    s->kind = s->dspFlg;
    // Vertex indexes that leave the vertex array, or a grid whose size is not its index count,
    // would send drawing and editing out of bounds.
    for (int i = 0; i < s->pgns.n; i++) {
        const pgn* g = s->pgns.a[i];
        for (int k = 0; k < g->n; k++)
            if (g->vtx_id[k] < 0 || g->vtx_id[k] >= nv) throw Damaged{};
        if (g->type == PgnGrd && static_cast<long long>(g->rows) * g->cols != g->n) throw Damaged{};
    }
    // Boxes of Orvane documents before version 110 did not always follow their vertices.
    if (in.kind == ScnKindOrvane && in.ver < 110) {
        for (int k = 0; k < 3; k++) {
            s->box.min[k] = 1e30f;
            s->box.max[k] = -1e30f;
        }
        for (int i = 0; i < nv; i++)
            for (int k = 0; k < 3; k++) {
                float v = s->v[3 * i + k];
                if (v < s->box.min[k]) s->box.min[k] = v;
                if (v > s->box.max[k]) s->box.max[k] = v;
            }
    }
    in.Prog();
}

void RdCrv(In& in, crv* c) {
    int n = in.Count(12);
    c->p = Arr<float>(3 * size_t(n), "crv:p");
    c->n = n;
    in.F32s(c->p, 3 * size_t(n));
    scnio::F32n(in, c->col, 3);
    RdNodeTail(in, *c);
    in.U8(c->b1);
    in.U8(c->vis);
    in.U8(c->b3);
    in.Prog();
}

void RdPrt(In& in, prt* p, int depth);

// Nesting deeper than this is damage (each level costs stack).
constexpr int DepthMax = 256;

void RdLnk(In& in, lnk* l, int depth) {
    in.I32(l->id);
    in.I32(l->val);
    int n = in.Count(PrtMin);
    for (int i = 0; i < n; i++) {
        std::string name = in.Name();
        prt* p = Must(NewPrt(name.c_str()));
        if (AtchPrtLnk(l, p) < 0) {
            FreePrt(p, false);
            throw Damaged{};
        }
        RdPrt(in, p, depth + 1);
    }
    for (double* v : {l->sclMin, l->sclMax, l->rotMin, l->rotMax, l->trnMin, l->trnMax})
        for (int i = 0; i < 3; i++) {
            float f;
            in.F32(f);
            v[i] = f;
        }
    RdNodeTail(in, *l);
    RdAnmOpt(in, l->anm, OK_LNK);
    scnio::U8n(in, l->b, 4);
    in.Prog();
}

// Appends a new named child through its constructor and attach; a failed attach frees it.
template <class T, class O>
T* Kid(In& in, T* (*make)(const char*), int (*atch)(O*, T*), void (*drop)(T*, bool), O* own) {
    std::string name = in.Name();
    T* t = Must(make(name.c_str()));
    if (atch(own, t) < 0) {
        drop(t, false);
        throw Damaged{};
    }
    return t;
}

void RdPrt(In& in, prt* p, int depth) {
    if (depth > DepthMax) throw Damaged{};
    in.I32(p->id);
    in.I32(p->val);
    int n = in.Count(PrtMin);
    for (int i = 0; i < n; i++) RdPrt(in, Kid(in, NewPrt, AtchPrtPrt, FreePrt, p), depth + 1);
    n = in.Count(LnkMin);
    for (int i = 0; i < n; i++) RdLnk(in, Kid(in, NewLnk, AtchLnkPrt, FreeLnk, p), depth + 1);
    n = in.Count(SrfMin);
    for (int i = 0; i < n; i++) RdSrf(in, Kid(in, NewSrf, AtchSrfPrt, FreeSrf, p));
    n = in.Count(CrvMin);
    for (int i = 0; i < n; i++) RdCrv(in, Kid(in, NewCrvObj, AtchCrvPrt, FreeCrvObj, p));
    RdNodeTail(in, *p);
    uint8_t ref;
    in.U8(ref);
    if (ref == 1) p->refPath = Must(DupNam(in.Name().c_str()));
    else if (ref != 0) throw Damaged{};
    RdAnmOpt(in, p->anm, OK_PRT);
    in.U8(p->b1);
    in.U8(p->b2);
    in.Prog();
}

void RdStg(In& in, stg* s) {
    int n = in.Count(CamMin);
    for (int i = 0; i < n; i++) {
        cam* c = RdCam(in);
        if (AtchCamStg(s, c) < 0) {
            FreeCam(c, false);
            throw Damaged{};
        }
        RdCamBody(in, c);
        in.Prog();
    }
    n = in.Count(TblMin);
    in.I32(s->curLgtTbl);
    for (int i = 0; i < n; i++)
        RdLgtTbl(in, Kid(in, NewLgtTbl, AtchLgtTblStg, FreeLgtTbl, s));
    in.I32(s->mtlBase);
    n = in.Count(TblMin);
    in.I32(s->mtlIdx2);
    for (int i = 0; i < n; i++)
        RdMtlTbl(in, Kid(in, NewMtlTbl, AtchMtlTblStg, FreeMtlTbl, s));
    n = in.Count(PrtMin);
    for (int i = 0; i < n; i++) RdPrt(in, Kid(in, NewPrt, AtchPrtStg, FreePrt, s), 0);
    n = in.Count(LnkMin);
    for (int i = 0; i < n; i++) RdLnk(in, Kid(in, NewLnk, AtchLnkStg, FreeLnk, s), 0);
    RdNodeTail(in, *s);
    in.U8(s->active);
    in.Prog();
}

void RdPrd(In& in, prd* d) {
    in.I32(d->mtlBase);
    int n = in.Count(TblMin);
    in.I32(d->mtlIdx2);
    for (int i = 0; i < n; i++)
        RdMtlTbl(in, Kid(in, NewMtlTbl, AtchMtlTblPrd, FreeMtlTbl, d));
    n = in.Count(PrtMin);
    for (int i = 0; i < n; i++) RdPrt(in, Kid(in, NewPrt, AtchPrtPrd, FreePrt, d), 0);
    n = in.Count(LnkMin);
    for (int i = 0; i < n; i++) RdLnk(in, Kid(in, NewLnk, AtchLnkPrd, FreeLnk, d), 0);
    RdNodeTail(in, *d);
    RdAnmOpt(in, d->anm, OK_PRD);
    d->anmFlg = d->anm ? 1 : 0;
    in.U8(d->active);
    in.Prog();
}

// The stored 2D and 3D cameras and the view dimension. They replace the existing cameras only
// when all three were read whole, so a damaged document leaves them as they were.
void RdStoredCams(In& in) {
    struct Tmp {
        std::string name;
        cam c{};
        ~Tmp() { FreeAnm(c.anm); }
    } t[2];
    for (Tmp& k : t) {
        k.name = in.Name();
        RdCamBody(in, &k.c);
    }
    uint8_t dim;
    in.U8(dim);
    if (dim > 1) throw Damaged{};
    cam** dst[2] = {&Cam2D, &Cam3D};
    for (int k = 0; k < 2; k++) {
        cam*& d = *dst[k];
        if (!d) d = Must(NewCam(t[k].name.c_str()));
        char* nm = Must(DupNam(t[k].name.c_str()));
        FreeMem(d->name);
        d->name = nm;
        FreeAnm(d->anm);
        d->view = t[k].c.view;
        d->cur = t[k].c.cur;
        d->anm = t[k].c.anm;
        t[k].c.anm = nullptr;
    }
    in.viewDim = dim;
    in.dimRead = true;
}

void RdSettings(In& in) {
    DocPrmRec& d = DocPrm;
    scnio::SetFld1(in, d);
    int nb = in.Count(NamMin + 23);
    for (int i = 0; i < d.nBgImg; i++) FreeMem(d.bgImg[i].name);
    FreeMem(d.bgImg);
    d.bgImg = nullptr;
    d.nBgImg = 0;
    if (nb > 0) {
        d.bgImg = Arr<BgImgRec>(size_t(nb), "bgImg");
        for (int i = 0; i < nb; i++) d.bgImg[i] = BgImgRec{};
        d.nBgImg = nb;
    }
    for (int i = 0; i < nb; i++) {
        d.bgImg[i].name = Must(DupNam(in.Name().c_str()));
        scnio::BgImgFld(in, d.bgImg[i]);
    }
    scnio::SetFld2(in, d);
    in.Prog();
}

// Does the text at m (n bytes available) begin like one of the magics? A file shorter than the
// magic is judged on what it has.
bool MagicPrefix(const uint8_t* m, size_t n, const char* magic) {
    size_t k = std::strlen(magic);
    return std::memcmp(m, magic, n < k ? n : k) == 0;
}

// Header: the kind and version; false for a wrong magic.
bool RdHdr(In& in, const uint8_t* data, size_t size) {
    if (size < 20 && !MagicPrefix(data, size, "Orvane") && !MagicPrefix(data, size, "Orvene") &&
        !MagicPrefix(data, size, "Pixalune"))
        return false;
    uint8_t m[20] = {};
    in.Raw(m, 12);
    if (std::memcmp(m, "Pixalune", 9) == 0) {
        in.kind = ScnKindPixalune;  // the old 12-byte magic
    } else {
        in.Raw(m + 12, 8);
        if (std::memcmp(m, "Orvane", 6) == 0 || std::memcmp(m, "Orvene", 6) == 0)
            in.kind = ScnKindOrvane;
        else if (std::memcmp(m, "PixaluneX", 9) == 0)
            in.kind = ScnKindPixaluneX;
        else if (std::memcmp(m, "Pixalune", 8) == 0)
            in.kind = ScnKindPixalune;
        else
            return false;
    }
    uint8_t rest[12];
    in.Raw(rest, 12);  // release numbers, extension, version, date
    in.ver = rest[8];
    return true;
}

// Reads the document body after the header; throws Damaged at the first inconsistency.
void RdBody(In& in) {
    if (in.ver >= 110) {
        std::string st = UnscrStamp(in.Name());
        std::snprintf(OriginStamp, sizeof OriginStamp, "%s", st.c_str());
    }
    int n = in.Count(StgMin);
    for (int i = 0; i < n; i++) RdStg(in, Kid(in, NewStg, +[](void*, stg* s) { return AtchStgGlb(s); },
                                              FreeStg, static_cast<void*>(nullptr)));
    n = in.Count(PrdMin);
    for (int i = 0; i < n; i++) RdPrd(in, Kid(in, NewPrd, +[](void*, prd* d) { return AtchPrdGlb(d); },
                                              FreePrd, static_cast<void*>(nullptr)));
    n = in.Count(CamMin);
    for (int i = 0; i < n; i++) {
        cam* c = RdCam(in);
        if (AtchCamGlb(c) < 0) {
            FreeCam(c, false);
            throw Damaged{};
        }
        RdCamBody(in, c);
        in.Prog();
    }
    n = in.Count(TblMin);
    int32_t reserved;
    in.I32(reserved);
    for (int i = 0; i < n; i++)
        RdLgtTbl(in, Kid(in, NewLgtTbl, +[](void*, lgt_tbl* t) { return AtchLgtTblGlb(t); },
                         FreeLgtTbl, static_cast<void*>(nullptr)));
    scnio::BoxFld(in, SceneBox);
    RdSettings(in);
    scnio::AnmOutFld(in, AnmOut);
    // In 64 bits: a damaged frame count of INT_MIN must not overflow (a fuzz finding).
    if (AnmOut.curFrm > static_cast<long long>(AnmOut.frmCnt) - 1)
        AnmOut.curFrm = AnmOut.frmCnt > 0 ? AnmOut.frmCnt - 1 : 0;
    if (AnmOut.curFrm < 0) AnmOut.curFrm = 0;
    in.Prog();
    if (AppKind == AppKindTrn && in.kind == ScnKindOrvane && in.ver > 108) {
        RdStoredCams(in);
    }
}


// The whole file in memory (a special file is read to its end, up to a limit).
constexpr size_t FileMax = size_t(1) << 31;
bool Slurp(const char* path, std::vector<uint8_t>* out) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path, "rb"), std::fclose);
    if (!f) return false;
    struct stat st;
    if (fstat(fileno(f.get()), &st) == 0 && S_ISDIR(st.st_mode)) return false;
    size_t want = (S_ISREG(st.st_mode) && st.st_size > 0) ? size_t(st.st_size) : 65536;
    if (want > FileMax) want = FileMax;
    out->resize(want);
    size_t got = 0;
    for (;;) {
        size_t r = std::fread(out->data() + got, 1, out->size() - got, f.get());
        got += r;
        if (got < out->size() || got >= FileMax) break;
        out->resize(out->size() * 2 > FileMax ? FileMax : out->size() * 2);
    }
    out->resize(got);
    return true;
}

}  // namespace

int ScnRead(const char* path, uint8_t* viewDim, const Feedback& fb) {
    ScnRdSt = ScnRdOk;
    std::vector<uint8_t> data;
    if (!path || !Slurp(path, &data)) {
        ScnRdSt = ScnRdNoFile;
        return -1;
    }
    PutMsg("シーンデータ入力中");
    fb.Begin();
    In in(data.data(), data.size());
    in.fb = &fb;
    char stamp[StampLen];
    std::memcpy(stamp, OriginStamp, StampLen);
    try {
        if (!RdHdr(in, data.data(), data.size())) {
            ScnRdSt = ScnRdBadMagic;
            fb.End();
            DspErrMsg(MsgOwnErr, "ファイル形式がPixaluneのシーンフォーマットではありません。");
            return 0;
        }
        if (in.ver < ScnVersionMin || in.ver > ScnVersion) {
            ScnRdSt = ScnRdBadVersion;
            fb.End();
            return 0;
        }
        RdBody(in);
    } catch (const Damaged&) {
        ScnRdSt = ScnRdDamaged;
    } catch (const AlcAbort&) {
        ScnRdSt = ScnRdNoMem;
    }
    // The stored view holds from the moment it was read, even when a later record is damaged.
    if (in.dimRead && viewDim) *viewDim = in.viewDim;
    if (ScnRdSt != ScnRdOk) {
        // The progress bar goes; the caller replaces the partial scene.
        std::memcpy(OriginStamp, stamp, StampLen);
        fb.End();
        return 0;
    }
    PutMsg("シーンデータ入力終了");
    fb.End();
    RslvPrtRef();
    return 0;
}
