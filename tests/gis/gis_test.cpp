// GIS interchange: contour import from OGR sources, raster and vector exports, the side file.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <fstream>
#include <sstream>
#include "dem.h"
#include "gis/gis_fixture.h"
#include "terrain/trn.h"

// Heights of a GeoPackage field become curve heights (mm), coloured by height; a line without a
// height is skipped and counted; the origin is the lower-left corner in whole kilometres.
TEST_F(GisTest, GeoPackageFieldGivesCurvesColouredByHeight) {
    auto ls = Slope();
    ls.push_back({NAN, {0, 0, 10, 10}});  // no height
    WriteLines(Path("c.gpkg"), "GPKG", ls, "elev", OFTReal, 32654);
    ClearCmds();
    OgrImpRes res;
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, &res), 0);
    EXPECT_EQ(res.curves, 4);
    EXPECT_EQ(res.skipped, 1);
    ASSERT_EQ(NCrv(), 4);
    for (int k = 0; k < 4; k++) {
        crv* c = Crv(k);
        EXPECT_EQ(c->n, 3);
        EXPECT_FLOAT_EQ(c->p[2], (100.0f + 10 * k) * 1000);
        crv ref{};
        SetCrvCol(&ref, c->p[2]);
        EXPECT_FLOAT_EQ(c->col[0], ref.col[0]);
        EXPECT_FLOAT_EQ(c->col[2], ref.col[2]);
    }
    EXPECT_FLOAT_EQ(Crv(0)->p[0], 100000.0f);  // the origin stays at 0 below x = 100 m
    EXPECT_TRUE(GisRef.known);
    EXPECT_EQ(GisRef.ox, 0);
    EXPECT_NE(GisRef.wkt.find("32654"), std::string::npos);
    EXPECT_EQ(CountCmd(CatDsp, CmdFitView), 1);  // the view fits
    ASSERT_NE(Plt().LastBox(), nullptr);
    EXPECT_NE(Plt().LastBox()->text.find("1"), std::string::npos);  // the skipped count is shown
    EXPECT_EQ(Errors(), 0);
}

// A Shapefile of 3D lines without any field: heights from z.
TEST_F(GisTest, ShapefileZWithoutFieldGivesHeights) {
    WriteLines(Path("z.shp"), "ESRI Shapefile", Slope(), "");
    std::vector<OgrLyr> lyrs;
    std::string err;
    ASSERT_TRUE(OgrList(Path("z.shp").c_str(), &lyrs, &err)) << err;
    ASSERT_EQ(lyrs.size(), 1u);
    EXPECT_TRUE(lyrs[0].lines);
    EXPECT_EQ(OgrPickFld(lyrs[0]), -1);
    ASSERT_EQ(ImpOgr({Path("z.shp"), "", ""}, nullptr), 0);
    ASSERT_EQ(NCrv(), 4);
    EXPECT_FLOAT_EQ(Crv(3)->p[2], 130000.0f);
    EXPECT_TRUE(GisRef.wkt.empty());  // no CRS in the source
}

// The dialog's guesses: numeric fields first, a field named like a height preselected.
TEST_F(GisTest, ListingOrdersNumericFieldsFirstAndPicksTheHeightField) {
    GDALAllRegister();
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
        Path("f.gpkg").c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(ds, nullptr);
    OGRLayer* pts = ds->CreateLayer("spots", nullptr, wkbPoint);
    OGRLayer* l = ds->CreateLayer("lines", nullptr, wkbLineString);
    for (auto [n, t] : {std::pair{"name", OFTString}, std::pair{"id", OFTInteger},
                        std::pair{"Elevation", OFTReal}}) {
        OGRFieldDefn fd(n, t);
        ASSERT_EQ(l->CreateField(&fd), OGRERR_NONE);
    }
    (void)pts;
    GDALClose(ds);
    std::vector<OgrLyr> lyrs;
    ASSERT_TRUE(OgrList(Path("f.gpkg").c_str(), &lyrs, nullptr));
    ASSERT_EQ(lyrs.size(), 2u);
    int li = OgrPickLyr(lyrs);
    ASSERT_GE(li, 0);
    EXPECT_EQ(lyrs[li].name, "lines");
    ASSERT_EQ(lyrs[li].fields.size(), 3u);
    EXPECT_EQ(lyrs[li].fields[0].name, "id");
    EXPECT_EQ(lyrs[li].fields[2].name, "name");
    EXPECT_FALSE(lyrs[li].fields[2].numeric);
    EXPECT_EQ(OgrPickFld(lyrs[li]), 1);  // Elevation
}

// Bad input: each case shows an error box and leaves the scene as it was.
TEST_F(GisTest, BadInputLeavesTheSceneUnchanged) {
    WriteLines(Path("ok.gpkg"), "GPKG", Slope());
    WriteLines(Path("txt.gpkg"), "GPKG", Slope(), "elev", OFTString);
    WriteLines(Path("geo.gpkg"), "GPKG", {{10, {139.1, 35.1, 139.2, 35.2}}}, "elev", OFTReal, 4326);
    WriteLines(Path("noh.gpkg"), "GPKG", {{NAN, {0, 0, 1, 1}}});
    {
        GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
            Path("pts.gpkg").c_str(), 0, 0, 0, GDT_Unknown, nullptr);
        OGRLayer* l = ds->CreateLayer("spots", nullptr, wkbPoint);
        OGRFeature f(l->GetLayerDefn());
        OGRPoint p(1, 2);
        f.SetGeometry(&p);
        ASSERT_EQ(l->CreateFeature(&f), OGRERR_NONE);
        GDALClose(ds);
    }
    std::ofstream(Path("junk.gpkg")) << "this is not a geopackage\n";
    ASSERT_EQ(ImpOgr({Path("ok.gpkg"), "", "elev"}, nullptr), 0);
    GisRefRec before = GisRef;
    const crv* first = Crv(0);
    struct Case {
        const char* what;
        OgrImpPrm p;
    } cases[] = {
        {"a layer with no lines", {Path("pts.gpkg"), "spots", ""}},
        {"a source without a layer of lines", {Path("pts.gpkg"), "", ""}},
        {"a missing layer", {Path("ok.gpkg"), "nothere", "elev"}},
        {"a missing field", {Path("ok.gpkg"), "", "height"}},
        {"a text field", {Path("txt.gpkg"), "", "elev"}},
        {"no line with a height", {Path("noh.gpkg"), "", "elev"}},
        {"longitude and latitude", {Path("geo.gpkg"), "", "elev"}},
        {"an unreadable file", {Path("junk.gpkg"), "", ""}},
        {"a missing file", {Path("none.gpkg"), "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        size_t boxes = Plt().boxes.size();
        EXPECT_EQ(ImpOgr(c.p, nullptr), -1);
        ASSERT_EQ(Plt().boxes.size(), boxes + 1);
        EXPECT_EQ(Plt().boxes.back().icon, plt::IconError);
        EXPECT_FALSE(Plt().boxes.back().text.empty());
        ASSERT_EQ(NCrv(), 4);
        EXPECT_EQ(Crv(0), first);
        EXPECT_EQ(GisRef.ox, before.ox);
        EXPECT_EQ(GisRef.wkt, before.wkt);
    }
}

// The UTM set gives the heights of the same contours moved to the origin, within 1 mm, and the
// GeoTIFF carries the real-world position.
TEST_F(GisTest, UtmContoursGiveTheHeightsOfTheLocalSet) {
    WriteLines(Path("local.gpkg"), "GPKG", Slope());
    WriteLines(Path("utm.gpkg"), "GPKG", Slope(500000, 4000000), "elev", OFTReal, 32654);
    ASSERT_EQ(ImpOgr({Path("local.gpkg"), "", "elev"}, nullptr), 0);
    Generate(0, 0, 1000000, 1000000, 50000);
    ASSERT_NE(TrnSrf, nullptr);
    std::vector<float> local;
    for (int i = 0; i < TrnSrf->nv; i++) local.push_back(TrnSrf->v[3 * i + 2]);

    OgrImpRes res;
    ASSERT_EQ(ImpOgr({Path("utm.gpkg"), "", "elev"}, &res), 0);
    EXPECT_EQ(res.ox, 500000);
    EXPECT_EQ(res.oy, 4000000);
    Generate(0, 0, 1000000, 1000000, 50000);
    ASSERT_EQ(static_cast<size_t>(TrnSrf->nv), local.size());
    for (int i = 0; i < TrnSrf->nv; i++) ASSERT_NEAR(TrnSrf->v[3 * i + 2], local[i], 1.0) << i;

    // A region from post to post: every post written, and nothing said of dropped rows.
    GisBlk whole;
    ASSERT_TRUE(GisGridBlk(&whole));
    EXPECT_FALSE(whole.dropped);
    ClrMsg();
    ASSERT_EQ(ExpGisRst(Path("utm.tif").c_str()), 0);
    EXPECT_EQ(MsgLinNum, 0);
    Raster r = ReadRaster(Path("utm.tif"));
    ASSERT_EQ(r.w, 21);
    ASSERT_EQ(r.h, 21);
    EXPECT_DOUBLE_EQ(r.gt[0], 500000 - 25.0);
    EXPECT_DOUBLE_EQ(r.gt[1], 50.0);
    EXPECT_DOUBLE_EQ(r.gt[3], 4001000 + 25.0);
    EXPECT_DOUBLE_EQ(r.gt[5], -50.0);
    OGRSpatialReference got, want;
    ASSERT_EQ(got.importFromWkt(r.wkt.c_str()), OGRERR_NONE);
    want.importFromEPSG(32654);
    EXPECT_TRUE(got.IsSame(&want));
    EXPECT_EQ(r.compress, "DEFLATE");
    ASSERT_TRUE(r.hasNoData);
    EXPECT_EQ(r.noData, GisNoData);
    // North row first, west to east; metres.
    for (int k = 0; k < r.h; k++)
        for (int c = 0; c < r.w; c++)
            ASSERT_FLOAT_EQ(r.z[k * r.w + c], Z(r.h - 1 - k, c) * 0.001f) << k << "," << c;
}

// Irregular outer intervals are dropped as the GLD block does, and the message area says so;
// ASCII grid and XYZ carry the same heights.
TEST_F(GisTest, IrregularEdgesAreDroppedAndOtherFormatsCarryTheHeights) {
    WriteLines(Path("c.gpkg"), "GPKG", Slope(), "elev");
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
    Generate(0, 0, 1000000, 600000, 130000);  // columns 0, 110, 240, ... 890, 1000 (m)
    ASSERT_NE(TrnGrd, nullptr);
    GisBlk b;
    ASSERT_TRUE(GisGridBlk(&b));
    EXPECT_EQ(b.c0, 1);
    EXPECT_EQ(b.c1, TrnGrd->cols - 1);
    EXPECT_TRUE(b.dropped);
    ClrMsg();
    ASSERT_EQ(ExpGisRst(Path("d.asc").c_str()), 0);
    EXPECT_GT(MsgLinNum, 0);
    Raster a = ReadRaster(Path("d.asc"));
    ASSERT_EQ(a.w, b.c1 - b.c0);
    ASSERT_EQ(a.h, b.r1 - b.r0);
    EXPECT_NEAR(a.gt[0], VX(1) * 0.001 - 65, 1e-3);
    for (int k = 0; k < a.h; k++)
        for (int c = 0; c < a.w; c++)
            ASSERT_NEAR(a.z[k * a.w + c], Z(b.r1 - 1 - k, b.c0 + c) * 0.001, 1e-3);
    ASSERT_EQ(ExpGisRst(Path("d.xyz").c_str()), 0);
    Raster x = ReadRaster(Path("d.xyz"));
    ASSERT_EQ(x.w, a.w);
    ASSERT_EQ(x.h, a.h);
    for (size_t i = 0; i < a.z.size(); i++) ASSERT_NEAR(x.z[i], a.z[i], 1e-3);
}

// Vertices no cross line reaches keep their height and are written as nodata, also after the
// filter; a new grid forgets them.
TEST_F(GisTest, UnreachedVerticesAreNoData) {
    // One small ring far from most of the region: most cross lines miss it.
    std::vector<GisLine> ring(1);
    ring[0].h = 50;
    for (int k = 0; k <= 8; k++)
        ring[0].xy.insert(ring[0].xy.end(), {9000 + 5 * std::cos(k * M_PI / 4), 9000 + 5 * std::sin(k * M_PI / 4)});
    WriteLines(Path("r.gpkg"), "GPKG", ring);
    ASSERT_EQ(ImpOgr({Path("r.gpkg"), "", "elev"}, nullptr), 0);
    Generate(0, 0, 10000000, 10000000, 1000000);
    ASSERT_NE(TrnGapOf(), nullptr);
    int gaps = 0;
    for (int i = 0; i < TrnSrf->nv; i++) gaps += TrnGapOf()[i];
    EXPECT_GT(gaps, 0);
    EXPECT_LT(gaps, TrnSrf->nv);
    IntrCmd(CatMdl, CmdTrnFltr);  // the filter changes heights, not the grid
    ASSERT_NE(TrnGapOf(), nullptr);
    ASSERT_EQ(ExpGisRst(Path("g.tif").c_str()), 0);
    Raster r = ReadRaster(Path("g.tif"));
    int nd = 0;
    for (float z : r.z) nd += z == GisNoData;
    EXPECT_EQ(nd, gaps);
    Generate(0, 0, 10000000, 10000000, 1000000);  // the same grid anew: computed afresh
    ASSERT_NE(TrnGapOf(), nullptr);
    TrnRgn[3] = 9000000;
    IntrCmd(CatDrw2D, CmdRgnDlgOk);  // a new flat grid
    EXPECT_EQ(TrnGapOf(), nullptr);
}

// Contours through OGR come back with their heights and real-world positions.
TEST_F(GisTest, ContourExportRoundTrips) {
    WriteLines(Path("utm.gpkg"), "GPKG", Slope(500000, 4000000), "elev", OFTReal, 32654);
    ASSERT_EQ(ImpOgr({Path("utm.gpkg"), "", "elev"}, nullptr), 0);
    for (const char* out : {"out.gpkg", "out.shp"}) {
        SCOPED_TRACE(out);
        ASSERT_EQ(ExpGisVec(Path(out).c_str()), 0) << Plt().LastBox()->text;
        GDALDataset* ds = static_cast<GDALDataset*>(GDALOpenEx(Path(out).c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
        ASSERT_NE(ds, nullptr);
        OGRLayer* l = ds->GetLayer(0);
        EXPECT_EQ(l->GetFeatureCount(), 4);
        OGRSpatialReference want;
        want.importFromEPSG(32654);
        ASSERT_NE(l->GetSpatialRef(), nullptr);
        EXPECT_TRUE(l->GetSpatialRef()->IsSame(&want));
        auto ref = Slope(500000, 4000000);
        int k = 0;
        for (auto& f : *l) {
            EXPECT_DOUBLE_EQ(f->GetFieldAsDouble("elev"), ref[k].h);
            const OGRLineString* s = f->GetGeometryRef()->toLineString();
            ASSERT_EQ(s->getNumPoints(), 3);
            EXPECT_NEAR(s->getX(1), ref[k].xy[2], 0.001);
            EXPECT_NEAR(s->getY(1), ref[k].xy[3], 0.001);
            k++;
        }
        GDALClose(ds);
    }
    // Written files only, no temporaries left behind.
    std::ifstream part(Path("out.part") + std::to_string(getpid()) + ".gpkg");
    EXPECT_FALSE(part.good());
}

// Export failures: a message, nothing written, the scene unchanged.
TEST_F(GisTest, ExportFailuresAreReported) {
    EXPECT_EQ(ExpGisRst(Path("none.tif").c_str()), -1);  // no terrain
    WriteLines(Path("c.gpkg"), "GPKG", Slope());
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
    Generate(0, 0, 1000000, 1000000, 100000);
    size_t boxes = Plt().boxes.size();
    EXPECT_EQ(ExpGisRst(Path("d.unknownext").c_str()), -1);
    EXPECT_EQ(ExpGisRst(Path("nodir/d.tif").c_str()), -1);
    EXPECT_EQ(ExpGisVec(Path("nodir/d.gpkg").c_str()), -1);
    EXPECT_EQ(Plt().boxes.size(), boxes + 3);
    EXPECT_FALSE(std::ifstream(Path("d.unknownext")).good());
    EXPECT_NE(TrnSrf, nullptr);
}

// The side file: written next to the scene, read back, malformed ones refused; a local document
// removes a stale one.
TEST_F(GisTest, SideFileRoundTripsAndStaleOnesGo) {
    GisRef = {true, 500000, 4000000, "PROJCRS[\"x\"]"};
    OGRSpatialReference s;
    s.importFromEPSG(32654);
    char* w = nullptr;
    s.exportToWkt(&w);
    GisRef.wkt = w;
    CPLFree(w);
    const std::string scn = Path("d.scn");
    ASSERT_TRUE(GisSaveSide(scn.c_str()));
    GisRefRec saved = GisRef;
    GisClear();
    ASSERT_TRUE(GisLoadSide(scn.c_str()));
    EXPECT_TRUE(GisRef.known);
    EXPECT_EQ(GisRef.ox, saved.ox);
    EXPECT_EQ(GisRef.oy, saved.oy);
    EXPECT_EQ(GisRef.wkt, saved.wkt);

    std::ofstream(scn + GisSideExt) << "origin 12 nonsense\n";
    EXPECT_FALSE(GisLoadSide(scn.c_str()));
    EXPECT_FALSE(GisRef.known);
    EXPECT_EQ(Plt().LastBox()->icon, plt::IconWarning);

    GisClear();
    ASSERT_TRUE(GisSaveSide(scn.c_str()));
    EXPECT_FALSE(std::ifstream(scn + GisSideExt).good());
    ASSERT_TRUE(GisLoadSide(scn.c_str()));
    EXPECT_FALSE(GisRef.known);

    GisRef = saved;
    EXPECT_FALSE(GisSaveSide(Path("nodir/d.scn").c_str()));
}

namespace {
// Runs altimetra-cli dem with the words given.
int Dem(std::vector<std::string> args) {
    args.insert(args.begin(), {"altimetra-cli", "dem"});
    args.push_back("--quiet");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return jrn::DemMain(static_cast<int>(argv.size()), argv.data());
}

// The shared data folder; ALT_SHARED_DIR in the environment overrides the built-in place.
std::string SharedDir() {
    const char* e = std::getenv("ALT_SHARED_DIR");
    return e && *e ? e : ALT_SHARED_DIR;
}

// The benchmark contours (millimetres) as a GeoPackage in UTM metres.
void SynthGpkg(const std::string& path) {
    ASSERT_TRUE(std::ifstream(SharedDir() + "/bench/synth-contours.txt").good());
    const std::vector<GisLine> ls = ContourText(SharedDir() + "/bench/synth-contours.txt", 500000, 4000000);
    ASSERT_EQ(ls.size(), 46u);
    WriteLines(path, "GPKG", ls, "elev", OFTReal, 32654);
}
}  // namespace

// End to end on the benchmark contours (a coarse grid): the DEM matches the same engine flow.
TEST(GisDem, BenchmarkContoursGiveTheEngineHeights) {
    if (!std::ifstream(SharedDir() + "/bench/synth-contours.txt").good())
        GTEST_SKIP() << "no benchmark data in " << SharedDir();
    char tmpl[] = "/tmp/altgisXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, in = dir + "/synth.gpkg", out = dir + "/dem.tif";
    SynthGpkg(in);
    ASSERT_EQ(Dem({in, "-o", out, "--interval", "250", "--field", "elev"}), 0);
    Raster r = ReadRaster(out);
    ASSERT_EQ(r.w, 17);
    ASSERT_EQ(r.h, 13);
    EXPECT_DOUBLE_EQ(r.gt[1], 250);
    EXPECT_NEAR(r.gt[0], 500000 - 125, 0.01);
    EXPECT_NEAR(r.gt[3], 4003000 + 125, 0.01);
    double lo = 1e30, hi = -1e30;
    for (float z : r.z) {
        lo = std::min<double>(lo, z);
        hi = std::max<double>(hi, z);
    }
    EXPECT_GT(lo, 100);
    EXPECT_LT(hi, 700);

    // A region in real-world coordinates and the filter; then the failures and their statuses.
    ASSERT_EQ(Dem({in, "-o", dir + "/part.asc", "--interval", "100", "--field", "elev", "--region",
                   "501000", "4001000", "502000", "4002000", "--filter", "45"}),
              0);
    Raster p = ReadRaster(dir + "/part.asc");
    EXPECT_EQ(p.w, 11);
    EXPECT_NEAR(p.gt[0], 501000 - 50, 0.01);
    // Fault (mutation left alive): the north edge was computed from the x origin.
    EXPECT_EQ(p.h, 11);
    EXPECT_NEAR(p.gt[3], 4002000 + 50, 0.01);
    EXPECT_EQ(Dem({in, "-o", out}), 2);                                     // no interval
    EXPECT_EQ(Dem({in, "-o", out, "--interval", "-5"}), 2);
    EXPECT_EQ(Dem({dir + "/none.gpkg", "-o", out, "--interval", "250"}), 3);
    EXPECT_EQ(Dem({in, "-o", out, "--interval", "250", "--field", "nope"}), 3);
    EXPECT_EQ(Dem({in, "-o", out, "--interval", "0.001", "--field", "elev"}), 4);  // too many rows
    EXPECT_EQ(Dem({in, "-o", dir + "/nodir/x.tif", "--interval", "250", "--field", "elev"}), 5);
    std::string cmd = "rm -rf '" + dir + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

// The batch command takes the method by name, gradient paths by default; an unknown name is a wrong
// command line, and the window's setting is left as it was.
TEST(GisDem, MethodIsChosenByNameWithGradientPathsByDefault) {
    if (!std::ifstream(SharedDir() + "/bench/synth-contours.txt").good())
        GTEST_SKIP() << "no benchmark data in " << SharedDir();
    char tmpl[] = "/tmp/altgisXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, in = dir + "/synth.gpkg";
    SynthGpkg(in);
    const std::vector<std::string> common = {"--interval", "250", "--field", "elev", "--region",
                                             "500000", "4000000", "502000", "4002000"};
    auto run = [&](const std::string& out, std::vector<std::string> more) {
        std::vector<std::string> a = {in, "-o", dir + "/" + out};
        a.insert(a.end(), common.begin(), common.end());
        a.insert(a.end(), more.begin(), more.end());
        return Dem(a);
    };
    TrnMethod = TrnMethodMinCrv;
    ASSERT_EQ(run("def.tif", {}), 0);
    EXPECT_EQ(TrnMethod, TrnMethodMinCrv);
    ASSERT_EQ(run("gp.tif", {"--method", "gradient-paths"}), 0);
    ASSERT_EQ(run("cl.tif", {"--method", "cross-lines"}), 0);
    ASSERT_EQ(run("mc.tif", {"--method", "min-curvature"}), 0);
    TrnMethod = TrnMethodCrs;
    Raster def = ReadRaster(dir + "/def.tif"), gp = ReadRaster(dir + "/gp.tif");
    Raster cl = ReadRaster(dir + "/cl.tif"), mc = ReadRaster(dir + "/mc.tif");
    EXPECT_EQ(def.z, gp.z);
    EXPECT_NE(gp.z, cl.z);
    EXPECT_NE(gp.z, mc.z);
    EXPECT_EQ(run("x.tif", {"--method", "kriging"}), 2);
    EXPECT_EQ(run("x.tif", {"--method"}), 2);
    EXPECT_FALSE(std::ifstream(dir + "/x.tif").good());
    std::string cmd = "rm -rf '" + dir + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

// Fault (mutation left alive): flat lines without a height field could be read at height 0.
// Without a field and without z there is no height: the import is refused.
TEST_F(GisTest, FlatLinesWithoutAHeightFieldAreRefused) {
    WriteLines(Path("ok.gpkg"), "GPKG", Slope());
    ASSERT_EQ(ImpOgr({Path("ok.gpkg"), "", "elev"}, nullptr), 0);
    const crv* first = Crv(0);
    WriteLines(Path("flat.gpkg"), "GPKG", Slope(), "name", OFTString);
    const size_t boxes = Plt().boxes.size();
    EXPECT_EQ(ImpOgr({Path("flat.gpkg"), "", ""}, nullptr), -1);
    ASSERT_EQ(Plt().boxes.size(), boxes + 1);
    EXPECT_EQ(Plt().boxes.back().icon, plt::IconError);
    ASSERT_EQ(NCrv(), 4);
    EXPECT_EQ(Crv(0), first);
}
