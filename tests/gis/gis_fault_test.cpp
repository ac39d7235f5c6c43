// GIS faults that slipped past the other tests: the limits of a sane coordinate, the region an
// import leaves, the layer offered first, and a terrain one column wide.
#include <cmath>
#include <fstream>
#include <limits>
#include "gis/gis_fixture.h"

namespace {

const double Inf = std::numeric_limits<double>::infinity();
const double Nan = std::numeric_limits<double>::quiet_NaN();

}  // namespace

// A coordinate or height of exactly the limit is taken; the next double above it is absurd, in
// x, in y and in the height alike.
TEST_F(GisTest, CoordinatesAtTheLimitAreTakenAndBeyondAreNot) {
    const double m = GisCrdMax, over = std::nextafter(GisCrdMax, Inf);
    WriteLines(Path("lim.gpkg"), "GPKG",
               {{100, {m, 0, m, 10}},       // x at the limit
                {110, {0, -m, 10, -m}},     // y at the limit
                {m, {0, 0, 10, 10}},        // height at the limit
                {100, {over, 0, 0, 10}},    // x beyond
                {100, {0, 10, 10, -over}},  // y beyond
                {-over, {0, 0, 10, 10}}});  // height beyond
    OgrImpRes res;
    ASSERT_EQ(ImpOgr({Path("lim.gpkg"), "", "elev"}, &res), 0);
    EXPECT_EQ(res.curves, 3);
    EXPECT_EQ(res.absurd, 3);
    EXPECT_EQ(NCrv(), 3);
}

// The region an import leaves is the contours' extent less the origin, in millimetres: all four
// sides (a side left unset was once not noticed).
TEST_F(GisTest, ImportLeavesTheRegionOnTheContoursExtent) {
    const double dx = 500000, dy = 4000000;
    auto ls = Slope(dx, dy);
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
    for (const GisLine& l : ls)
        for (size_t i = 0; i + 1 < l.xy.size(); i += 2)
            for (int k = 0; k < 2; k++) {
                lo[k] = std::min(lo[k], l.xy[i + k]);
                hi[k] = std::max(hi[k], l.xy[i + k]);
            }
    WriteLines(Path("c.gpkg"), "GPKG", ls, "elev", OFTReal, 32654);
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
    ASSERT_TRUE(GisRef.known);
    EXPECT_EQ(GisRef.ox, dx);
    EXPECT_EQ(GisRef.oy, dy);
    EXPECT_FLOAT_EQ(TrnRgn[0], static_cast<float>((lo[0] - dx) * 1000));
    EXPECT_FLOAT_EQ(TrnRgn[1], static_cast<float>((lo[1] - dy) * 1000));
    EXPECT_FLOAT_EQ(TrnRgn[3], static_cast<float>((hi[0] - dx) * 1000));
    EXPECT_FLOAT_EQ(TrnRgn[4], static_cast<float>((hi[1] - dy) * 1000));
    EXPECT_EQ(TrnRgn[2], 0);
    EXPECT_EQ(TrnRgn[5], 0);
}

// A source without a line layer offers none first (-1; the dialog then shows the first layer).
TEST_F(GisTest, SourceWithoutLinesOffersNoLayer) {
    GDALAllRegister();
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
        Path("p.gpkg").c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(ds, nullptr);
    ASSERT_NE(ds->CreateLayer("spots", nullptr, wkbPoint), nullptr);
    ASSERT_NE(ds->CreateLayer("areas", nullptr, wkbPolygon), nullptr);
    GDALClose(ds);
    std::vector<OgrLyr> lyrs;
    ASSERT_TRUE(OgrList(Path("p.gpkg").c_str(), &lyrs, nullptr));
    ASSERT_EQ(lyrs.size(), 2u);
    EXPECT_EQ(OgrPickLyr(lyrs), -1);
}

// A region narrower than the interval gives a grid of one column (one row); its raster is one pixel
// wide (high), not "no terrain".
TEST_F(GisTest, OneColumnOrRowTerrainExportsAOnePixelRaster) {
    WriteLines(Path("c.gpkg"), "GPKG", Slope());
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
    Generate(500000, 0, 500500, 1000000, 100000);
    ASSERT_NE(TrnGrd, nullptr);
    ASSERT_EQ(TrnGrd->cols, 1);
    const int rows = TrnGrd->rows;
    ASSERT_EQ(ExpGisRst(Path("one.tif").c_str()), 0);
    Raster r = ReadRaster(Path("one.tif"));
    EXPECT_EQ(r.w, 1);
    EXPECT_EQ(r.h, rows);
    EXPECT_EQ(Errors(), 0);
    // And one row: a pixel high.
    Generate(0, 500000, 1000000, 500500, 100000);
    ASSERT_EQ(TrnGrd->rows, 1);
    const int cols = TrnGrd->cols;
    ASSERT_EQ(ExpGisRst(Path("row.tif").c_str()), 0);
    r = ReadRaster(Path("row.tif"));
    EXPECT_EQ(r.w, cols);
    EXPECT_EQ(r.h, 1);
    EXPECT_EQ(Errors(), 0);
}

// Heights from the geometry are the first vertex's z: a line whose first vertex has no z is
// skipped as a line without a height (not counted as absurd), one whose later vertex lacks it is
// taken at the first vertex's height.
TEST_F(GisTest, HeightFromTheFirstVertexDecidesALine) {
    GDALAllRegister();
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
        Path("z.gpkg").c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(ds, nullptr);
    OGRLayer* l = ds->CreateLayer("contours", nullptr, wkbLineString25D);
    ASSERT_NE(l, nullptr);
    for (const auto& [z0, z1] : {std::pair{Nan, 5.0}, std::pair{7.0, Nan}}) {
        OGRFeature f(l->GetLayerDefn());
        OGRLineString s;
        s.addPoint(0, 0, z0);
        s.addPoint(10, 10, z1);
        s.addPoint(20, 0, z1);
        f.SetGeometry(&s);
        ASSERT_EQ(l->CreateFeature(&f), OGRERR_NONE);
    }
    GDALClose(ds);
    OgrImpRes res;
    ASSERT_EQ(ImpOgr({Path("z.gpkg"), "", ""}, &res), 0);
    EXPECT_EQ(res.curves, 1);
    EXPECT_EQ(res.skipped, 1);
    EXPECT_EQ(res.absurd, 0);
    ASSERT_EQ(NCrv(), 1);
    EXPECT_FLOAT_EQ(Crv(0)->p[2], 7000.0f);
}

// An extension that only a read-only raster driver knows (.isg, the geoid grids) is refused as
// having no raster format, not tried and failed, and nothing is written.
TEST_F(GisTest, RasterExportRefusesAnExtensionNoDriverCanWrite) {
    MsgLang = 1;
    WriteLines(Path("c.gpkg"), "GPKG", Slope());
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
    Generate(0, 0, 1000000, 1000000, 100000);
    ASSERT_NE(TrnSrf, nullptr);
    EXPECT_EQ(ExpGisRst(Path("g.isg").c_str()), -1);
    ASSERT_NE(Plt().LastBox(), nullptr);
    EXPECT_NE(Plt().LastBox()->text.find("no raster format for this extension"), std::string::npos)
        << Plt().LastBox()->text;
    EXPECT_FALSE(std::ifstream(Path("g.isg")).good());
}
