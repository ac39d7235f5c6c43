// GIS tests: inputs written through GDAL itself, outputs read back through GDAL.
#pragma once
#include <gtest/gtest.h>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include "core/cmd.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "doc/xchg_flow.h"
#include "gis/gis.h"
#include "support/engine_fixture.h"
#include "terrain/trn.h"
#include "curves/crv_cmd.h"
#include "terrain/trn_cmd.h"
#include "display/dsp_cmd.h"

// One contour of a test source: height (NaN: no height written) and points x, y (metres).
struct GisLine {
    double h;
    std::vector<double> xy;
};

// Writes lines into a new vector source. field: name of the height field ("" for none: the
// heights go into z as 3D lines); fieldType OFTReal or OFTString; epsg 0 for no CRS.
inline void WriteLines(const std::string& path, const char* driver, const std::vector<GisLine>& ls,
                       const std::string& field = "elev", OGRFieldType fieldType = OFTReal,
                       int epsg = 0, const char* layer = "contours") {
    GDALAllRegister();
    GDALDriver* d = GetGDALDriverManager()->GetDriverByName(driver);
    ASSERT_NE(d, nullptr);
    GDALDataset* ds = d->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(ds, nullptr);
    OGRSpatialReference srs;
    if (epsg) srs.importFromEPSG(epsg);
    bool z = field.empty();
    OGRLayer* l = ds->CreateLayer(layer, epsg ? &srs : nullptr, z ? wkbLineString25D : wkbLineString);
    ASSERT_NE(l, nullptr);
    if (!z) {
        OGRFieldDefn fd(field.c_str(), fieldType);
        ASSERT_EQ(l->CreateField(&fd), OGRERR_NONE);
    }
    for (const GisLine& g : ls) {
        OGRFeature f(l->GetLayerDefn());
        OGRLineString s;
        for (size_t i = 0; i + 1 < g.xy.size(); i += 2) {
            if (z && !std::isnan(g.h)) s.addPoint(g.xy[i], g.xy[i + 1], g.h);
            else s.addPoint(g.xy[i], g.xy[i + 1]);
        }
        if (!z && !std::isnan(g.h)) {
            if (fieldType == OFTString) f.SetField(0, std::to_string(g.h).c_str());
            else f.SetField(0, g.h);
        }
        f.SetGeometry(&s);
        ASSERT_EQ(l->CreateFeature(&f), OGRERR_NONE);
    }
    GDALClose(ds);
}

// The contours of a contour text (millimetres) in metres, moved by (dx, dy) metres; wholeMm rounds
// the points to whole millimetres first. Empty when the file cannot be read.
inline std::vector<GisLine> ContourText(const std::string& path, double dx, double dy,
                                        bool wholeMm = false) {
    std::ifstream in(path);
    std::vector<GisLine> ls;
    std::string line;
    int left = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ss(line);
        std::string w;
        ss >> w;
        if (w == "curve") {
            double h;
            ss >> left >> h;
            ls.push_back({h / 1000, {}});
        } else if (left > 0) {
            double x = std::stod(w), y;
            ss >> y;
            if (wholeMm) {
                x = std::round(x);
                y = std::round(y);
            }
            ls.back().xy.insert(ls.back().xy.end(), {x / 1000 + dx, y / 1000 + dy});
            left--;
        }
    }
    return ls;
}

// Four straight contours across x = 0..1000 m at heights 100..130, 250 m apart, offset by dx, dy.
inline std::vector<GisLine> Slope(double dx = 0, double dy = 0) {
    std::vector<GisLine> v;
    for (int k = 0; k < 4; k++) {
        double y = 100 + 250 * k + 30 * std::sin(k);
        v.push_back({100.0 + 10 * k, {dx + 100, dy + y, dx + 500, dy + y + 40, dx + 1100, dy + y - 20}});
    }
    return v;
}

struct Raster {
    int w = 0, h = 0;
    double gt[6] = {};
    std::string wkt;
    bool hasNoData = false;
    double noData = 0;
    std::vector<float> z;  // row by row, north first
    std::string compress;
};

inline Raster ReadRaster(const std::string& path) {
    Raster r;
    GDALDataset* ds = static_cast<GDALDataset*>(GDALOpen(path.c_str(), GA_ReadOnly));
    if (!ds) return r;
    r.w = ds->GetRasterXSize();
    r.h = ds->GetRasterYSize();
    ds->GetGeoTransform(r.gt);
    r.wkt = ds->GetProjectionRef() ? ds->GetProjectionRef() : "";
    GDALRasterBand* b = ds->GetRasterBand(1);
    int has = 0;
    r.noData = b->GetNoDataValue(&has);
    r.hasNoData = has;
    r.z.resize(static_cast<size_t>(r.w) * r.h);
    if (b->RasterIO(GF_Read, 0, 0, r.w, r.h, r.z.data(), r.w, r.h, GDT_Float32, 0, 0) != CE_None)
        r.z.clear();
    const char* c = ds->GetMetadataItem("COMPRESSION", "IMAGE_STRUCTURE");
    r.compress = c ? c : "";
    GDALClose(ds);
    return r;
}

class GisTest : public EngineTest {
public:
    void SetUp() override {
        EngineTest::SetUp();
        MshItv = 50000;
        CrsAngNum = 8;
        CrsLenScl = 0.3f;
        SamHgtDst = 20000;
        GisClear();
    }
    void TearDown() override {
        GisClear();
        EngineTest::TearDown();
    }
    static int NCrv() { return CrvPart ? CrvPart->crvs.n : 0; }
    static crv* Crv(int i) { return CrvPart->crvs.a[i]; }
    // Region (millimetres) and interval as the region dialog stores them; then terrain creation.
    static void Generate(float x0, float y0, float x1, float y1, float d) {
        TrnRgn[0] = x0; TrnRgn[1] = y0; TrnRgn[3] = x1; TrnRgn[4] = y1;
        MshItv = d;
        IntrCmd(CatDrw2D, CmdRgnDlgOk);
        IntrCmd(CatMdl, CmdTrnCre);
    }
    static float Z(int r, int c) { return TrnSrf->v[3 * TrnGrd->vtx_id[r * TrnGrd->cols + c] + 2]; }
    static float VX(int c) { return TrnSrf->v[3 * TrnGrd->vtx_id[c]]; }
    static float VY(int r) { return TrnSrf->v[3 * TrnGrd->vtx_id[r * TrnGrd->cols] + 1]; }
    int Errors() const {
        int n = 0;
        for (const RecBox& b : const_cast<GisTest*>(this)->Plt().boxes) n += b.icon == plt::IconError;
        return n;
    }
};
