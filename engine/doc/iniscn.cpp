// The start-up scene and the terrain scene.
#include <cmath>
#include <cstring>
#include "curves/crv.h"
#include "display/lgt.h"
#include "display/view.h"
#include "doc/doc.h"
#include "scene/scene.h"
#include "terrain/trn.h"

namespace {
struct MtlDef {
    const char* name;
    float dif[3];
};
// The terrain material first; the others are the colours offered for surfaces.
const MtlDef TrnMtls[] = {
    {"地形", {0.0f, 0.5f, 0.25f}},
    {"赤", {1.0f, 0.0f, 0.0f}},
    {"緑", {0.0f, 1.0f, 0.0f}},
    {"青", {0.0f, 0.0f, 1.0f}},
    {"シアン", {1.0f, 1.0f, 0.0f}},
    {"マジェンタ", {1.0f, 0.0f, 1.0f}},
    {"黄色", {0.0f, 1.0f, 1.0f}},
};
}  // namespace

void IniScn() {
    ClrScn();

    cam* c = NewCam("Default");
    if (!c) return;
    if (AtchCamGlb(c) < 0) {
        FreeCam(c, false);
        return;
    }
    CurCamObj = c;
    SetCamDef(c);
    c->cur = 1;
    c->view.CurCam = 1;
    c->view.UpAxis = UpNone;  // the engine starts without an up-axis constraint
    c->view.FovFix = 1;
    SetView(0);

    lgt_tbl* t = NewLgtTbl("Default");
    if (!t) return;
    lgt* l = NewLgt("parallel1");
    if (!l || AtchLgt(t, l) < 0) {
        FreeLgt(l, false);
        FreeLgtTbl(t, false);
        return;
    }
    l->r.spotAng = static_cast<float>(M_PI / 2.0);  // spread 90 degrees
    l->r.rv9 = 19;
    t->active = 1;
    if (AtchLgtTblGlb(t) < 0) {
        FreeLgtTbl(t, false);
        return;
    }
    CurLgtObj = l;

    std::memset(&AmbLgt, 0, sizeof AmbLgt);
    AmbLgt.kind = LgtAmb;
    AmbLgt.col[0] = AmbLgt.col[1] = AmbLgt.col[2] = 0.4f;
    AmbLgt.intens = 1.0f;
    AmbLgt.on = 1;

    UdtPrmLgt();
    CurObjKind = OK_GLB;
    CurObj = nullptr;
    ModFlg = 0;
}

void IniTrnScn() {
    RstCrvPrm();
    RstTrnRgn();

    // The stored 2D and 3D cameras live outside the tables and outlast every scene.
    if (!Cam2D) Cam2D = NewCam("2Dカメラ");
    if (!Cam3D) Cam3D = NewCam("3Dカメラ");
    SetTrnView();

    prd* d = NewPrd("地形");
    if (!d) return;
    if (AtchPrdGlb(d) < 0) {
        FreePrd(d, false);
        return;
    }
    TrnPrd = d;
    mtl_tbl* t = NewMtlTbl("地形");
    if (!t) return;
    if (AtchMtlTblPrd(d, t) < 0) {
        FreeMtlTbl(t, false);
        return;
    }
    for (const MtlDef& def : TrnMtls) {
        mtl* m = NewMtl(def.name);
        if (!m) return;
        if (AtchMtl(t, m) < 0) {
            FreeMtl(m, false);
            return;
        }
        std::memcpy(m->dif, def.dif, sizeof m->dif);
    }
    for (float& v : t->mtls.a[0]->spc) v = 0.3f;
    t->active = 1;
    UdtPrmMtl();

    CurLgtObj = CurLgt();

    prt* p = NewPrt("地形");
    if (!p) return;
    if (AtchPrtPrd(d, p) < 0) {
        FreePrt(p, false);
        return;
    }
    TrnPrt = p;
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    SetCrvPart(p);
    // A new terrain document has nothing to save yet.
    ModFlg = 0;
}
