// VRML 2.0 export of the terrain grid.
#include <cmath>
#include <string>

#include "formats/outfile.h"
#include "formats/vrml.h"
#include "formats/xchg.h"
#include "scene/georef.h"
#include "scene/scene.h"

namespace {

constexpr double ColMax = 255.0;        // background channels are 0..255
constexpr double ShinGL = 128.0;        // the display's shininess exponent range; VRML's is 0..1
constexpr float MtlDif = 0.5f, MtlSpc = 0.5f, MtlShin = 50.0f;  // a material's defaults
constexpr float Half = 0.5f;
constexpr float ViewDst = 2.0f;         // the viewpoint stands back twice the scene's diagonal

void Trip(OutFile& o, double a, double b, double c) {
    o.Fix(a);
    o.Put(' ');
    o.Fix(b);
    o.Put(' ');
    o.Fix(c);
}

// "pre x y z" then "post": the three forms of a list of triples; org (mm) is added to x and y
// before the unit f.
void ListLine(OutFile& o, const char* pre, const float* v, double f, const double* org, const char* post) {
    o.Put(pre);
    Trip(o, (v[0] + org[0]) * f, (v[1] + org[1]) * f, v[2] * f);
    o.Put(post);
}

// The vertices or normals of the grid: "[first," ... "last]".
void TripList(OutFile& o, const char* open, const float* a, int n, double f, const double* org) {
    for (int i = 0; i < n; ++i) {
        const float* v = a + 3 * i;
        if (n == 1) {
            o.Put("\t\t\t");
            o.Put(open);
            ListLine(o, "", v, f, org, "]\n");
        } else if (i == 0) {
            o.Put("\t\t\t");
            o.Put(open);
            ListLine(o, "", v, f, org, ",\n");
        } else if (i == n - 1) {
            ListLine(o, "\t\t\t", v, f, org, "]\n");
        } else {
            ListLine(o, "\t\t\t", v, f, org, ",\n");
        }
    }
}

}  // namespace

int WrVrmlFct(const std::string& path, double u, const VrmlView& v) {
    const srf* s = TrnSrf;
    const pgn* g = TrnGrd;
    OutFile o;
    if (!OutOpen(o, path)) return -1;
    o.Line("#VRML V2.0 utf8");
    o.Line("");
    o.Line("Background { ");
    o.Put("\tskyColor     ");
    Trip(o, v.bg[0] / ColMax, v.bg[1] / ColMax, v.bg[2] / ColMax);
    o.Line("");
    o.Line("}");

    UdtScnBox();
    float cen[3], d2 = 0;
    for (int k = 0; k < 3; ++k) {
        cen[k] = (SceneBox.min[k] + SceneBox.max[k]) * Half;
        float e = SceneBox.max[k] - SceneBox.min[k];
        d2 += e * e;
    }
    float d = std::sqrt(d2);
    o.Line("Viewpoint {");
    o.Put("\tposition\t");
    // Real-world coordinates: the document's origin added back.
    const double org[2] = {OrgMmX(), OrgMmY()}, none[2] = {0, 0};
    Trip(o, (cen[0] + org[0]) * u, (cen[1] - ViewDst * d + org[1]) * u, cen[2] * u);
    o.Line("");
    o.Put("\torientation\t");
    Trip(o, 1, 0, 0);
    o.Put(' ');
    o.Fix(static_cast<float>(M_PI / 2));
    o.Line("");
    o.Put("\tfieldOfView\t");
    // VRML's fieldOfView is the whole angle across the view (the camera's ViewAng), not half.
    o.Fix(2.0 * std::atan(0.5 * v.scrWid / v.scrDst));
    o.Line("");
    o.Line("}");

    const lgt* l = CurLgtObj ? CurLgtObj : CurLgt();
    float lc[3] = {1, 1, 1}, ld[3] = {0, 0, 1}, li = 1;
    if (l) {
        for (int k = 0; k < 3; ++k) {
            lc[k] = l->r.col[k];
            ld[k] = l->r.dir[k];
        }
        li = l->r.intens;
    }
    o.Line("DirectionalLight {");
    o.Line("\tambientIntensity\t0.0");
    o.Put("\tcolor\t\t");
    Trip(o, lc[0], lc[1], lc[2]);
    o.Line("");
    o.Put("\tdirection\t");
    Trip(o, -ld[0], -ld[1], -ld[2]);
    o.Line("");
    o.Put("\tintensity\t");
    o.Fix(li);
    o.Line("");
    o.Line("\ton\t\t\tTRUE");
    o.Line("}");

    float dif[3] = {MtlDif, MtlDif, MtlDif}, spc[3] = {MtlSpc, MtlSpc, MtlSpc}, shin = MtlShin;
    if (TrnPrd && TrnPrd->mtlTbls.n > 0 && TrnPrd->mtlTbls.a[0]->mtls.n > 0) {
        const mtl* m = TrnPrd->mtlTbls.a[0]->mtls.a[0];
        for (int k = 0; k < 3; ++k) {
            dif[k] = m->dif[k];
            spc[k] = m->spc[k];
        }
        shin = m->shin;
    }
    // VRML's shininess is a fraction of the exponent range; the stored value is the exponent.
    double vshin = shin / ShinGL;
    if (!(vshin >= 0)) vshin = 0;
    if (vshin > 1) vshin = 1;
    o.Line("Shape {");
    o.Line("    appearance Appearance {");
    o.Line("            material Material {");
    o.Put("\t\t\t\tdiffuseColor\t");
    Trip(o, dif[0], dif[1], dif[2]);
    o.Line("");
    o.Put("\t\t\t\tspecularColor\t");
    Trip(o, spc[0], spc[1], spc[2]);
    o.Line("");
    o.Put("\t\t\t\tshininess\t\t");
    o.Fix(vshin);
    o.Line("");
    o.Line("\t\t\t}");
    o.Line("\t}");

    o.Line("\tgeometry IndexedFaceSet {");
    o.Line("\t\tcoord Coordinate {");
    TripList(o, "point [", s->v, s->nv, u, org);
    o.Line("\t\t}");
    if (s->nrm) {
        o.Line("\t\tnormal Normal {");
        TripList(o, "vector [", s->nrm, s->nv, 1.0, none);
        o.Line("\t\t}");
    }
    const int R = g->rows, C = g->cols;
    for (int rr = 0; rr + 1 < R; ++rr)
        for (int c = 0; c + 1 < C; ++c) {
            const int32_t* id = g->vtx_id;
            int a = id[rr * C + c], b = id[rr * C + c + 1], cc = id[(rr + 1) * C + c + 1],
                dd = id[(rr + 1) * C + c];
            bool first = rr == 0 && c == 0, last = rr + 2 == R && c + 2 == C;
            o.Put(first ? "\t\tcoordIndex [" : "\t\t");
            o.Int(a);
            o.Put(',');
            o.Int(b);
            o.Put(',');
            o.Int(cc);
            o.Put(',');
            o.Int(dd);
            o.Put(last ? ",-1]\n" : ",-1,\n");
        }
    o.Line("\t}");
    o.Line("}");
    return OutCommit(o, path);
}
