// Real-world coordinates on every road: drawings in national-grid coordinates are held relative to
// a local origin and keep their millimetres in, through generation and out; the window's road (a
// DXF import and a region in real-world metres) gives the batch command's grid.
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <unistd.h>
#include "dem.h"
#include "journal.h"
#include <iterator>
#include <sstream>
#include "doc/doc.h"
#include "formats/gld.h"
#include "formats/xchg.h"
#include "gis/gis_fixture.h"
#include "terrain/trn_mth.h"

namespace {

// The GeoTIFF's posts: 711967.726935 E, 9557026.759956 N (sub-millimetre corners), in UTM 17S.
constexpr double E0 = 711967.726935, N0 = 9557026.759956;

std::string SharedDir() {
    const char* e = std::getenv("ALT_SHARED_DIR");
    return e && *e ? e : ALT_SHARED_DIR;
}

int Dem(std::vector<std::string> args) {
    args.insert(args.begin(), {"altimetra-cli", "dem"});
    args.push_back("--quiet");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return jrn::DemMain(static_cast<int>(argv.size()), argv.data());
}

// The lines as a DXF drawing in metres (LWPOLYLINE at its elevation), no unit declared.
void WriteDxf(const std::string& path, const std::vector<GisLine>& ls) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("  0\nSECTION\n  2\nENTITIES\n", f);
    for (const GisLine& g : ls) {
        std::fprintf(f, "  0\nLWPOLYLINE\n  8\n0\n 90\n%zu\n 70\n0\n 38\n%.6f\n", g.xy.size() / 2, g.h);
        for (size_t i = 0; i + 1 < g.xy.size(); i += 2)
            std::fprintf(f, " 10\n%.6f\n 20\n%.6f\n", g.xy[i], g.xy[i + 1]);
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", f);
    std::fclose(f);
}

// Share of the posts of a and b (same size) whose heights are within 1 mm, and the largest
// difference; nodata on one side only counts as a miss.
double Within1mm(const Raster& a, const Raster& b, double* worst) {
    size_t ok = 0;
    *worst = 0;
    for (size_t i = 0; i < a.z.size(); i++) {
        const bool na = a.z[i] == GisNoData, nb = b.z[i] == GisNoData;
        const double d = na || nb ? (na == nb ? 0 : 1e9) : std::fabs(double(a.z[i]) - b.z[i]);
        *worst = std::max(*worst, d);
        ok += d <= 0.001;
    }
    return a.z.empty() ? 0 : double(ok) / a.z.size();
}

class GeoOrigin : public GisTest {
public:
    void SetUp() override {
        GisTest::SetUp();
        InUnit = LenUnit::M;
        OutUnit = LenUnit::M;
    }
    void TearDown() override {
        InUnit = InUnitDef;
        OutUnit = OutUnitDef;
        TrnMethod = TrnMethodCrs;
        GisTest::TearDown();
    }
};

}  // namespace

// The fault: the DXF road stored absolute millimetres in 32-bit floats (64 mm apart at 712 km),
// so posts lay up to 1.2 m from their place. Now every vertex, post and exported coordinate of a
// drawing at (712 km, 9,558 km) is within 1 mm of the real one, and a saved document reopens there.
TEST_F(GeoOrigin, DrawingAtNationalGridCoordinatesKeepsMillimetresInAndOut) {
    if (!std::ifstream(SharedDir() + "/bench/synth-contours.txt").good())
        GTEST_SKIP() << "no benchmark data in " << SharedDir();
    const std::vector<GisLine> ls = ContourText(SharedDir() + "/bench/synth-contours.txt", E0, N0);
    WriteDxf(Path("utm.dxf"), ls);
    ASSERT_EQ(ImpDxf(Path("utm.dxf")), 0);
    ASSERT_TRUE(GisRef.known);
    EXPECT_EQ(GisRef.ox, 711000);
    EXPECT_EQ(GisRef.oy, 9557000);
    ASSERT_EQ(NCrv(), static_cast<int>(ls.size()));
    for (int k = 0; k < NCrv(); k++)
        for (int i = 0; i < Crv(k)->n; i++) {
            ASSERT_NEAR(GisRef.ox + Crv(k)->p[3 * i] * 0.001, ls[k].xy[2 * i], 0.001) << k << " " << i;
            ASSERT_NEAR(GisRef.oy + Crv(k)->p[3 * i + 1] * 0.001, ls[k].xy[2 * i + 1], 0.001) << k << " " << i;
        }
    // The region starts on the drawing, and the dialog shows it in real-world metres.
    RgnUnit = LenUnit::M;
    double c[4], itv;
    GetRgnDlg(c, &itv);
    EXPECT_NEAR(c[0], E0, 0.001);
    EXPECT_NEAR(c[1], N0, 0.001);
    EXPECT_NEAR(c[2], E0 + 4000, 0.001);
    EXPECT_NEAR(c[3], N0 + 3000, 0.001);

    TrnMethod = TrnMethodPath;
    const double rgn[4] = {E0, N0, E0 + 4000, N0 + 3000};
    SetRgnWld(rgn);
    MshItv = 100000;
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_NE(TrnGrd, nullptr);
    ASSERT_EQ(TrnGrd->cols, 41);
    ASSERT_EQ(TrnGrd->rows, 31);
    for (int k = 0; k < 41; k++) ASSERT_NEAR(GisRef.ox + VX(k) * 0.001, E0 + 100 * k, 0.001) << k;
    for (int r = 0; r < 31; r++) ASSERT_NEAR(GisRef.oy + VY(r) * 0.001, N0 + 100 * r, 0.001) << r;

    // GeoTIFF: every post, the pixel centres on the real ones.
    ASSERT_EQ(ExpGisRst(Path("utm.tif").c_str()), 0);
    Raster t = ReadRaster(Path("utm.tif"));
    ASSERT_EQ(t.w, 41);
    ASSERT_EQ(t.h, 31);
    EXPECT_NEAR(t.gt[0] + 50, E0, 0.001);
    EXPECT_NEAR(t.gt[3] - 50, N0 + 3000, 0.001);
    EXPECT_NEAR(t.z[30 * 41], Z(0, 0) * 0.001, 1e-4);  // south-west post, last row of the file

    // DXF: the terrain's first vertex and the contours in real-world metres; read again, the same
    // origin and the same points.
    ASSERT_EQ(ExpXchg(FmtDxf, Path("out.dxf")), 0);
    std::ifstream in(Path("out.dxf"));
    std::string code, val;
    double x = 0, y = 0;
    while (std::getline(in, code) && std::getline(in, val))
        if (code == " 10") {
            x = std::stod(val);
            std::getline(in, code);
            std::getline(in, val);
            y = std::stod(val);
            break;
        }
    EXPECT_NEAR(x, E0, 0.001);
    EXPECT_NEAR(y, N0, 0.001);
    // STL and VRML: the south-west post, the first vertex each writes, in real-world metres.
    ASSERT_EQ(ExpXchg(FmtStl, Path("out.stl")), 0);
    ASSERT_EQ(ExpXchg(FmtVrml, Path("out.wrl")), 0);
    for (const char* f : {"out.stl", "out.wrl"}) {
        std::stringstream all;
        all << std::ifstream(Path(f)).rdbuf();
        const std::string txt = all.str();
        size_t at = txt.find(f[4] == 's' ? "vertex " : "point [");
        ASSERT_NE(at, std::string::npos) << f;
        std::istringstream nums(txt.substr(at + 7));
        ASSERT_TRUE(nums >> x >> y) << f;
        EXPECT_NEAR(x, E0, 0.001) << f;
        EXPECT_NEAR(y, N0, 0.001) << f;
    }
    std::vector<float> before(Crv(3)->p, Crv(3)->p + 3 * Crv(3)->n);
    ASSERT_EQ(DocSaveAs(Path("utm.scn")), DocDone);
    const std::vector<float> grid(TrnSrf->v, TrnSrf->v + 3 * TrnSrf->nv);

    ASSERT_EQ(ImpDxf(Path("out.dxf")), 0);
    EXPECT_EQ(GisRef.ox, 711000);
    EXPECT_EQ(GisRef.oy, 9557000);
    ASSERT_GE(NCrv(), 4);
    crv* back = Crv(NCrv() - static_cast<int>(ls.size()) + 3);  // after the terrain's mesh entity
    ASSERT_EQ(back->n * 3, static_cast<int>(before.size()));
    for (size_t i = 0; i < before.size(); i++) ASSERT_NEAR(back->p[i], before[i], 1.0f) << i;

    // The saved document reopens at the same place, with the same grid.
    ASSERT_EQ(DocNew(), DocDone);
    EXPECT_FALSE(GisRef.known);
    ASSERT_EQ(DocOpen(Path("utm.scn")), DocDone);
    ASSERT_TRUE(GisRef.known);
    EXPECT_EQ(GisRef.ox, 711000);
    EXPECT_EQ(GisRef.oy, 9557000);
    ASSERT_NE(TrnSrf, nullptr);
    ASSERT_EQ(std::vector<float>(TrnSrf->v, TrnSrf->v + 3 * TrnSrf->nv), grid);
}

namespace {

// A scratch folder for the tests that run the batch command and journals, each of which starts
// and ends its own engine.
std::string ScratchDir() {
    char tmpl[] = "/tmp/altgeoXXXXXX";
    return mkdtemp(tmpl) ? tmpl : "";
}

// The window's road as `altimetra-cli run` takes it: the DXF import, the region in real-world
// metres, terrain creation and the GeoTIFF export.
int WindowRoad(const std::string& dxf, const std::string& rgn, double itv, int method, const std::string& tif) {
    std::istringstream j("set InUnit 1\nimport dxf " + dxf + "\nset GeoRgn " + rgn + "\nset MshItv " +
                         std::to_string(itv * 1000) + "\nset TrnMethod " + std::to_string(method) +
                         "\ncmd 1 101042\ncmd 4 104133\nexport gtiff " + tif + "\n");
    struct Quiet : jrn::Host {
        void Print(const std::string&) override {}
        void Error(const std::string&) override {}
    } h;
    return jrn::Run(j, h);
}

}  // namespace

// The fault: the same contours and region gave different grids through DXF in the window and
// through `altimetra-cli dem` (up to 10 m with gradient paths, 161 m with cross lines). Every
// method now gives the batch command's posts within 1 mm.
TEST(GeoRoads, WindowRoadGivesTheBatchCommandsGridForEveryMethod) {
    if (!std::ifstream(SharedDir() + "/bench/synth-contours.txt").good())
        GTEST_SKIP() << "no benchmark data in " << SharedDir();
    const std::string dir = ScratchDir();
    ASSERT_FALSE(dir.empty());
    const std::vector<GisLine> ls = ContourText(SharedDir() + "/bench/synth-contours.txt", E0, N0);
    WriteLines(dir + "/c.gpkg", "GPKG", ls, "elev", OFTReal, 32717);
    WriteDxf(dir + "/c.dxf", ls);
    char rgn[160];
    std::snprintf(rgn, sizeof rgn, "%.6f %.6f %.6f %.6f", E0, N0, E0 + 4000, N0 + 3000);
    std::istringstream words(rgn);
    std::vector<std::string> r{std::istream_iterator<std::string>(words), {}};
    for (const TrnMethodInfo& m : TrnMethods) {
        SCOPED_TRACE(m.name);
        ASSERT_EQ(Dem({dir + "/c.gpkg", "-o", dir + "/b.tif", "--field", "elev", "--interval", "125", "--region", r[0], r[1], r[2],
                       r[3], "--method", m.name}),
                  0);
        ASSERT_EQ(WindowRoad(dir + "/c.dxf", rgn, 125, m.kind, dir + "/w.tif"), 0);
        Raster a = ReadRaster(dir + "/w.tif"), b = ReadRaster(dir + "/b.tif");
        ASSERT_EQ(a.w, 33);
        ASSERT_EQ(a.h, 25);
        ASSERT_EQ(b.w, a.w);
        ASSERT_EQ(b.h, a.h);
        for (int k : {0, 3}) EXPECT_NEAR(a.gt[k], b.gt[k], 0.001);
        double worst;
        EXPECT_GE(Within1mm(a, b, &worst), 0.999) << "largest difference " << worst << " m";
    }
    std::filesystem::remove_all(dir);
}

// The fault: given a region whose corners carry sub-millimetre digits (a GeoTIFF's pixel
// centres), the batch command dropped the west column and the south row as "irregular": float
// noise of a region from post to post is no irregularity, and every post is written.
TEST(GeoRoads, RegionWithSubMillimetreCornersKeepsEveryPost) {
    if (!std::ifstream(SharedDir() + "/bench/synth-contours.txt").good())
        GTEST_SKIP() << "no benchmark data in " << SharedDir();
    const std::string dir = ScratchDir();
    ASSERT_FALSE(dir.empty());
    WriteLines(dir + "/c.gpkg", "GPKG", ContourText(SharedDir() + "/bench/synth-contours.txt", E0, N0), "elev",
               OFTReal, 32717);
    // 3820 x 2980 m at 10 m: 383 x 299 posts, corners on posts.
    ASSERT_EQ(Dem({dir + "/c.gpkg", "-o", dir + "/r.tif", "--field", "elev", "--interval", "10", "--method", "gradient-paths",
                   "--region", "711967.726935", "9557026.759956", "715787.726935", "9560006.759956"}),
              0);
    Raster r = ReadRaster(dir + "/r.tif");
    EXPECT_EQ(r.w, 383);
    EXPECT_EQ(r.h, 299);
    EXPECT_NEAR(r.gt[0] + 5, E0, 0.001);
    EXPECT_NEAR(r.gt[3] - 5, N0 + 2980, 0.001);
    std::filesystem::remove_all(dir);
}

// GLD corners: a document with a CRS writes its block's real place in longitude and latitude, not
// the default 35 N 140 E.
TEST_F(GeoOrigin, GldCornersComeFromTheDocumentsCrs) {
    WriteLines(Path("c.gpkg"), "GPKG", Slope(E0, N0), "elev", OFTReal, 32717);
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
    const double rgn[4] = {E0, N0, E0 + 1000, N0 + 1000};
    SetRgnWld(rgn);
    MshItv = 100000;
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    IntrCmd(CatMdl, CmdTrnCre);
    GldBlk b;
    ASSERT_TRUE(GldBlock(&b));
    GldCrnRec c;
    ASSERT_TRUE(GisGldCrn(b, &c));
    // The shared GeoTIFF's south-west corner, 5 m outside this post: 79°05'27.11" W, 4°00'19.68" S.
    EXPECT_NEAR(c.lon0, -(79 * 3600 + 5 * 60 + 27.11), 0.5);
    EXPECT_NEAR(c.lat0, -(4 * 3600 + 19.68), 0.5);
    EXPECT_NEAR(c.lat1 - c.lat0, 1000 / 30.87, 0.5);  // about 30.9 m an arc-second
    GisRef.wkt.clear();
    EXPECT_FALSE(GisGldCrn(b, &c));  // a drawing without a CRS keeps the default corners
}

// An STL in national-grid coordinates opens relative to an origin, as a drawing does; in a document
// that has one, its vertices take the document's.
TEST_F(GeoOrigin, StlInNationalGridCoordinatesTakesAnOrigin) {
    std::FILE* f = std::fopen(Path("s.stl").c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "solid t\n facet normal 0 0 1\n  outer loop\n   vertex %.4f %.4f 100\n"
                    "   vertex %.4f %.4f 100\n   vertex %.4f %.4f 120\n  endloop\n endfacet\nendsolid t\n",
                 E0 * 1000, N0 * 1000, E0 * 1000 + 5000, N0 * 1000, E0 * 1000, N0 * 1000 + 7000);
    std::fclose(f);
    ASSERT_EQ(RdStl(Path("s.stl").c_str()), 0);
    ASSERT_TRUE(GisRef.known);
    EXPECT_EQ(GisRef.ox, 711000);
    EXPECT_EQ(GisRef.oy, 9557000);
    ASSERT_NE(TrnPrd, nullptr);
    const srf* s = nullptr;
    for (int i = 0; i < TrnPrd->prts.n && !s; i++)
        if (TrnPrd->prts.a[i]->srfs.n > 0) s = TrnPrd->prts.a[i]->srfs.a[0];
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->nv, 3);
    EXPECT_NEAR(GisRef.ox * 1000 + s->v[0], E0 * 1000, 1.0);
    EXPECT_NEAR(GisRef.oy * 1000 + s->v[7], N0 * 1000 + 7000, 1.0);
    // The region starts on the solid.
    EXPECT_NEAR(GisRef.ox * 1000 + TrnRgn[3], E0 * 1000 + 5000, 1.0);
}
