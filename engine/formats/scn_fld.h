// Record fields that the writer and the reader of the scene document share: one template per
// group of plain fields, run with scnio::Out (write) or scnio::In (read). Version rules apply to
// reading; the writer always has the current version.
#pragma once
#include "core/state.h"
#include "formats/scn.h"
#include "formats/scn_io.h"
#include "scene/scene.h"

namespace scnio {

template <class A>
void F64n(A& a, double* v, int n) {
    for (int i = 0; i < n; i++) a.F64(v[i]);
}
// A 4 x 4 matrix of doubles in row order.
template <class A>
void Mtx16(A& a, double (&m)[4][4]) {
    for (auto& row : m) F64n(a, row, 4);
}
template <class A>
void F32n(A& a, float* v, int n) {
    for (int i = 0; i < n; i++) a.F32(v[i]);
}
template <class A>
void U8n(A& a, uint8_t* v, int n) {
    for (int i = 0; i < n; i++) a.U8(v[i]);
}
template <class A>
void I32n(A& a, int32_t* v, int n) {
    for (int i = 0; i < n; i++) a.I32(v[i]);
}
template <class A>
void W32n(A& a, uint32_t* v, int n) {
    for (int i = 0; i < n; i++) a.W32(v[i]);
}
// A 32-bit word kept bit for bit, whatever it holds.
template <class A, class T>
void Word(A& a, T& v) {
    static_assert(sizeof(T) == 4, "32-bit field");
    uint32_t u;
    std::memcpy(&u, &v, 4);
    a.W32(u);
    std::memcpy(&v, &u, 4);
}

template <class A>
void XfmFld(A& a, XfmBlk& x) {
    F64n(a, x.scl, 3);
    F64n(a, x.rot, 3);
    F64n(a, x.trn, 3);
    F64n(a, x.pvt, 3);
    a.U8(x.flg);
}

template <class A>
void BoxFld(A& a, BBox& b) {
    F32n(a, b.min, 3);
    F32n(a, b.max, 3);
}

// Camera view fields up to the animation flag.
template <class A>
void CamFld1(A& a, CamView& v) {
    F64n(a, v.RotCnt, 3);
    F64n(a, v.RotAng, 3);
    F64n(a, v.EyePos, 3);
    F64n(a, v.ScrShf, 2);
    a.F64(v.EyeDst);
    a.F64(v.ScrDst);
    a.F64(v.ScrWid);
    a.F64(v.ClpNear);
    a.F64(v.ClpFar);
    F64n(a, v.RndVal, 3);
    Word(a, v.Lens);
    a.F32(v.ViewAng);
    Word(a, v.RndInt);
}
// Camera bytes after the animation.
template <class A>
void CamFld2(A& a, CamView& v) {
    a.U8(v.UpAxis);
    a.U8(v.Byte1);
    a.U8(v.CurCam);
    a.U8(v.RotEye);
    a.U8(v.AutoClp);
    a.U8(v.PrjFlg);
    a.U8(v.FovFix);
}

// Light fields after the name. Older documents have no target: it follows from the direction.
template <class A>
void LgtFld(A& a, LgtRec& r) {
    F32n(a, r.pos, 3);
    const bool hasTgt = a.ver >= 108;
    if (hasTgt) F32n(a, r.tgt, 3);
    F32n(a, r.ang, 3);
    F32n(a, r.dir, 3);
    if (!hasTgt)
        for (int i = 0; i < 3; i++) r.tgt[i] = r.pos[i] - r.dir[i] * 1500.0f;
    F32n(a, r.col, 3);
    Word(a, r.spotExp);
    Word(a, r.attKind);
    Word(a, r.spotAng);
    Word(a, r.attDst);
    Word(a, r.intens);
    Word(a, r.val6);
    F32n(a, r.mtx, 16);
    Word(a, r.rv7);
    Word(a, r.rv8);
    Word(a, r.rv9);
    Word(a, r.rv10);
    a.U8(r.kind);
    a.U8(r.angOrd);
    a.U8(r.rb3);
    a.U8(r.rb4);
    a.U8(r.on);
}

// Material fields after the name, up to the map lists.
template <class A>
void MtlFld1(A& a, mtl& m) {
    F32n(a, m.amb, 3);
    F32n(a, m.dif, 3);
    F32n(a, m.spc, 3);
    F32n(a, m.col4, 3);
    a.F32(m.shin);
    a.F32(m.val1);
    a.F32(m.val2);
    F32n(a, m.emi, 3);
    F32n(a, m.flt, 3);
    if (a.ver >= 107)
        a.F32(m.opac);
    else
        m.opac = m.flt[0] >= 0.999f && m.flt[1] >= 0.999f && m.flt[2] >= 0.999f ? 1.0f : 0.001f;
    a.F32(m.refr);
    a.F32(m.val3);
    a.F32(m.val4);
}

// Bytes of a map: the ones an older version does not store keep their defaults.
template <class A>
void MapBytes(A& a, uint8_t* b, int n, bool (*stored)(int byteNo, int ver)) {
    for (int i = 0; i < n; i++)
        if (stored(i + 1, a.ver)) a.U8(b[i]);
}

// A map record after its name (kind: MapKind), up to and including its last byte.
template <class A>
void MapFld(A& a, txt_map& t, int kind) {
    const int v = a.ver;
    // Every kind has its case; another number reads no map fields.
    switch (static_cast<MapKind>(kind)) {
    case MAP_TXT: {
        I32n(a, t.iv, 7);
        if (v > 100) a.I32(t.iv[7]);
        I32n(a, t.iv + 8, 5);
        I32n(a, t.par, 200);
        W32n(a, t.wv, 9);
        MapBytes(a, t.bv, 12, [](int b, int ver) { return ver >= 108 || (b != 2 && b != 12); });
        // Older documents kept byte 11 one higher.
        if (v < 108) t.bv[10] = t.bv[10] > 0 ? static_cast<uint8_t>(t.bv[10] - 1) : 0;
        break;
    }
    case MAP_BMP:
        I32n(a, t.iv, 10);
        I32n(a, t.par, 200);
        MapBytes(a, t.bv, 10, [](int b, int ver) { return ver >= 108 || (b > 2 && b < 8); });
        break;
    case MAP_RFL:
    case MAP_TRS:
        I32n(a, t.iv, 10);
        I32n(a, t.par, 200);
        if (v >= 108) W32n(a, t.wv, 6);
        if (v >= 102) W32n(a, t.wv + 6, 3);
        if (kind == MAP_RFL)
            MapBytes(a, t.bv, 12, [](int b, int ver) {
                if (b <= 2 || b >= 10) return ver >= 108;
                if (b == 8 || b == 9) return ver >= 102;
                return true;
            });
        else
            MapBytes(a, t.bv, 10, [](int b, int ver) { return ver >= 108 || (b > 2 && b < 8); });
        break;
    case MAP_ENV:
        a.I32(t.iv[0]);
        W32n(a, t.wv, 3);
        if (v >= 108) W32n(a, t.wv + 3, 6);
        W32n(a, t.wv + 9, 3);
        MapBytes(a, t.bv, 7, [](int b, int ver) { return ver >= 108 || (b > 1 && b < 5); });
        break;
    }
    a.U8(t.last);
}

// Settings block up to the background images.
template <class A>
void SetFld1(A& a, DocPrmRec& d) {
    I32n(a, d.rndPrm, 4);
    U8n(a, d.rndSw, 7);
    a.U8(d.fogOn);
    a.F32(d.fogDns);
    a.F32(d.fogBgn);
    a.F32(d.fogEnd);
    F32n(a, d.fogCol, 3);
    F64n(a, d.dspFct, 2);
    U8n(a, d.rndSw2, 2);
    I32n(a, d.rndPrm2, 6);
    U8n(a, d.rndSw3, 2);
}
// One background image after its path: stored as values 2, 3, 1, 4, 5 and bytes 2, 3, 1.
template <class A>
void BgImgFld(A& a, BgImgRec& b) {
    a.I32(b.val[1]);
    a.I32(b.val[2]);
    a.I32(b.val[0]);
    a.I32(b.val[3]);
    a.I32(b.val[4]);
    a.U8(b.byt[1]);
    a.U8(b.byt[2]);
    a.U8(b.byt[0]);
}
// Settings block after the background images.
template <class A>
void SetFld2(A& a, DocPrmRec& d) {
    a.U8(d.grdOn);
    I32n(a, d.grdCol1, 3);
    I32n(a, d.grdCol2, 3);
    if (a.ver >= 104) {
        F64n(a, d.viewPos, 3);
        F64n(a, d.viewVal, 2);
    }
}

template <class A>
void AnmOutFld(A& a, AnmOutRec& o) {
    if (a.ver > 102) {
        a.I32(o.frmCnt);
        a.I32(o.curFrm);
        a.I32(o.v3);
        a.I32(o.v4);
    }
    if (a.ver >= 105) {
        a.F64(o.rate);
        a.I32(o.v6);
        a.I32(o.v7);
    }
}

}  // namespace scnio
