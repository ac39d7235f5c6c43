// Journal verbs of the GIS interchange: import ogr, export gtiff|asc|xyz|gpkg|shp, dump geo.
#include <cstring>
#include "core/alc.h"
#include "gis/gis.h"
#include "doc/xchg_flow.h"
#include "gis_verbs.h"
#include "registry.h"

namespace jrn {

namespace {
struct GisFmtEnt {
    const char* verb;    // "import" or "export"
    const char* format;  // the journal's format word
    const char* driver;  // GDAL driver
    bool raster;
};
const GisFmtEnt GisFmts[] = {
    {"import", "ogr", nullptr, false},
    {"export", "gtiff", "GTiff", true},
    {"export", "asc", "AAIGrid", true},
    {"export", "xyz", "XYZ", true},
    {"export", "gpkg", "GPKG", false},
    {"export", "shp", "ESRI Shapefile", false},
};
}  // namespace

bool GisVerb(const Words& w, std::string* err) {
    if (w.size() < 2) return false;
    const GisFmtEnt* e = nullptr;
    for (const GisFmtEnt& f : GisFmts)
        if (w[0] == f.verb && w[1] == f.format) e = &f;
    if (!e) return false;
    const bool imp = !std::strcmp(e->verb, "import");
    const size_t most = imp ? 5 : 3;
    if (w.size() < 3) {
        *err = "missing argument to " + w[0] + " " + w[1];
        return true;
    }
    if (w.size() > most) {
        *err = "too many arguments to " + w[0] + " " + w[1];
        return true;
    }
    if (imp) {
        OgrImpPrm p{w[2], w.size() > 3 ? w[3] : "", w.size() > 4 ? w[4] : ""};
        EngGuard([&] { return ImpOgr(p, nullptr); });
    } else if (e->raster) {
        EngGuard([&] { return ExpGisRst(w[2].c_str(), e->driver); });
    } else {
        EngGuard([&] { return ExpGisVec(w[2].c_str(), e->driver); });
    }
    return true;
}

void DumpGeo() {
    if (!GisRef.known) {
        Line("geo local");
        return;
    }
    std::string crs = "none";
    if (!GisRef.wkt.empty()) {
        // The WKT's own name is enough to tell reference systems apart in a journal.
        size_t q = GisRef.wkt.find('"');
        size_t q2 = q == std::string::npos ? q : GisRef.wkt.find('"', q + 1);
        crs = q2 == std::string::npos ? "?" : GisRef.wkt.substr(q + 1, q2 - q - 1);
    }
    Line("geo origin " + F3(GisRef.ox) + " " + F3(GisRef.oy) + " crs " + Quote(crs.c_str()));
}

}  // namespace jrn
