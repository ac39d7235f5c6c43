// DXF export: a HEADER with the version and code page, then an ENTITIES section with every surface as a polygon-mesh or polyface POLYLINE and
// every curve as a 3D POLYLINE.
#include <string>

#include "core/msg.h"
#include "formats/codepage.h"
#include "formats/dxf.h"
#include "formats/outfile.h"
#include "formats/xchg.h"
#include "scene/georef.h"
#include "scene/scene.h"

namespace {

constexpr int DepthMax = 1024;   // parts nested deeper than this are not a tree
constexpr int GrdType = 5;       // polygon group type of a grid

class DxfWr {
public:
    DxfWr(OutFile& o, double fct) : o_(o), fct_(fct), ox_(OrgMmX()), oy_(OrgMmY()) {
        Utf8ToSjis("地形", &layTrn_);
        Utf8ToSjis("等高線", &layCrv_);
    }
    void Prt(const prt* p, int depth);

private:
    // A group code right-aligned in three columns, on its own line.
    void Code(int c) {
        o_.Int(c, 3);
        o_.Put('\n');
    }
    void Pair(int c, std::string_view v) {
        Code(c);
        o_.Line(v);
    }
    void Real(int c, double v) {
        Code(c);
        o_.Fix(v * fct_);
        o_.Put('\n');
    }
    void IntV(int c, long long v) {
        Code(c);
        o_.Int(v);
        o_.Put('\n');
    }
    // A point in real-world coordinates: the document's origin added back in doubles.
    void Pnt(const float* v) {
        Real(DxfX, v[0] + ox_);
        Real(DxfY, v[1] + oy_);
        Real(DxfZ, v[2]);
    }
    void Vtx(const float* v, int flag) {
        Pair(DxfEnt, "VERTEX");
        Pair(DxfLayer, layTrn_);
        Pnt(v);
        IntV(DxfFlag, flag);
    }
    void Srf(const srf* s);
    void Crv(const crv* c);

    OutFile& o_;
    double fct_;
    double ox_, oy_;  // the document's origin, mm
    std::string layTrn_, layCrv_;
};

// A polygon group whose indexes all name vertices of the surface.
bool PgnSound(const srf* s, const pgn* g) {
    if (!g || g->n < 0 || (g->n > 0 && !g->vtx_id)) return false;
    if (g->type == GrdType) return g->n <= s->nv;  // a grid writes vertices 0 .. n - 1
    for (int k = 0; k < g->n; ++k)
        if (g->vtx_id[k] < 0 || g->vtx_id[k] >= s->nv) return false;
    return true;
}

// One POLYLINE per polygon group: a surface of one group (the terrain) is one POLYLINE, and
// several groups never mix their headers and vertices in one entity.
void DxfWr::Srf(const srf* s) {
    if (s->nv <= 0 || !s->v) return;
    for (int i = 0; i < s->pgns.n; ++i) {
        const pgn* g = s->pgns.a[i];
        if (!PgnSound(s, g)) {
            DspErrMsg(MsgSrfErr, s->name ? s->name : "");
            continue;
        }
        Pair(DxfEnt, "POLYLINE");
        Pair(DxfLayer, layTrn_);
        IntV(DxfFollow, 1);
        if (g->type == GrdType) {
            IntV(DxfFlag, PlMesh);
            IntV(DxfMeshM, g->rows);
            IntV(DxfMeshN, g->cols);
            for (int k = 0; k < g->n; ++k) Vtx(s->v + 3 * k, VtxMesh);
        } else {
            IntV(DxfFlag, PlFace);
            IntV(DxfMeshM, g->n);
            for (int k = 0; k < g->n; ++k) Vtx(s->v + 3 * g->vtx_id[k], VtxFace);
            Pair(DxfEnt, "VERTEX");
            Pair(DxfLayer, layTrn_);
            Pair(DxfX, "0.0");
            Pair(DxfY, "0.0");
            Pair(DxfZ, "0.0");
            IntV(DxfFlag, VtxFaceRec);
            for (int j = 1; j <= g->n; ++j) {
                o_.Put(' ');
                o_.Int(DxfFlag + j);
                o_.Put('\n');
                o_.Int(j);
                o_.Put('\n');
            }
        }
        Pair(DxfEnt, "SEQEND");
    }
}

void DxfWr::Crv(const crv* c) {
    if (c->n <= 0 || !c->p) return;
    Pair(DxfEnt, "POLYLINE");
    Pair(DxfLayer, layCrv_);
    IntV(DxfFollow, 1);
    Pair(DxfX, "0.0");
    Pair(DxfY, "0.0");
    Pair(DxfZ, "0.0");
    Pair(DxfFlag, "  8");
    for (int k = 0; k < c->n; ++k) {
        const float* p = c->p + 3 * k;
        Pair(DxfEnt, "VERTEX");
        Pair(DxfLayer, "0");
        Pnt(p);
        Pair(DxfFlag, " 32");
    }
    Pair(DxfEnt, "SEQEND");
}

// Sub-parts, the parts of its links, its surfaces, then its curves.
void DxfWr::Prt(const prt* p, int depth) {
    if (!p || depth > DepthMax) return;
    for (int i = 0; i < p->prts.n; ++i) Prt(p->prts.a[i], depth + 1);
    for (int i = 0; i < p->lnks.n; ++i)
        for (int j = 0; j < p->lnks.a[i]->prts.n; ++j) Prt(p->lnks.a[i]->prts.a[j], depth + 1);
    for (int i = 0; i < p->srfs.n; ++i) Srf(p->srfs.a[i]);
    for (int i = 0; i < p->crvs.n; ++i) Crv(p->crvs.a[i]);
}

}  // namespace

int WrDxfFct(const std::string& path, double fct) {
    OutFile o;
    if (!OutOpen(o, path)) return -1;
    // A header that declares the version and the code page, so that readers decode the
    // Shift-JIS layer names instead of guessing a Western code page.
    for (const char* l : {"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009", "  9",
                          "$DWGCODEPAGE", "  3", "ANSI_932", "  0", "ENDSEC"})
        o.Line(l);
    o.Line("  0");
    o.Line("SECTION");
    o.Line("  2");
    o.Line("ENTITIES");
    DxfWr w(o, fct);
    for (int i = 0; i < PrdTbl.n; ++i) {
        const prd* d = PrdTbl.a[i];
        for (int j = 0; j < d->prts.n; ++j) w.Prt(d->prts.a[j], 0);
        for (int j = 0; j < d->lnks.n; ++j)
            for (int k = 0; k < d->lnks.a[j]->prts.n; ++k) w.Prt(d->lnks.a[j]->prts.a[k], 0);
    }
    o.Line("  0");
    o.Line("ENDSEC");
    o.Line("  0");
    o.Line("EOF");
    return OutCommit(o, path);
}

int WrDxf(const std::string& path) {
    double f = OutUnitFct(OutUnit);
    return WrDxfFct(path, f > 0 ? f : 1.0);
}
