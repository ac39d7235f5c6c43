// Tiled batch generation: the tiles of `altimetra-cli dem --tile-size`, their mosaic read back
// through GDAL, restarts, single tiles and the tile list; the spatial filter of the import.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include "dem.h"
#include "gis/gis_fixture.h"

namespace {

std::string SharedDir() {
    const char* e = std::getenv("ALT_SHARED_DIR");
    return e && *e ? e : ALT_SHARED_DIR;
}

bool HaveSynth() { return std::ifstream(SharedDir() + "/bench/synth-contours.txt").good(); }

// The benchmark contours (4 km x 3 km, every 20 m) as a GeoPackage in UTM metres from 500000,
// 4000000.
void SynthGpkg(const std::string& path) {
    ASSERT_TRUE(std::ifstream(SharedDir() + "/bench/synth-contours.txt").good());
    const std::vector<GisLine> ls = ContourText(SharedDir() + "/bench/synth-contours.txt", 500000, 4000000);
    WriteLines(path, "GPKG", ls, "elev", OFTReal, 32654);
}

// Runs `altimetra-cli CMD` (dem or tiles) in this process with the words given, quietly; standard
// output goes to *out when given.
int Cli(const char* cmd, std::vector<std::string> args, std::string* out = nullptr) {
    args.insert(args.begin(), {"altimetra-cli", cmd});
    args.push_back("--quiet");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    const int n = static_cast<int>(argv.size());
    if (!out) return std::string(cmd) == "dem" ? jrn::DemMain(n, argv.data()) : jrn::TilesMain(n, argv.data());
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    int rc = std::string(cmd) == "dem" ? jrn::DemMain(n, argv.data()) : jrn::TilesMain(n, argv.data());
    std::fflush(stdout);
    *out = testing::internal::GetCapturedStdout();
    return rc;
}

struct TmpDir {
    std::string dir;
    TmpDir() {
        char t[] = "/tmp/altdemtXXXXXX";
        dir = mkdtemp(t) ? t : "";
    }
    ~TmpDir() {
        std::string cmd = "rm -rf '" + dir + "'";
        if (!dir.empty() && std::system(cmd.c_str()) != 0) std::perror("rm");
    }
    std::string operator/(const std::string& n) const { return dir + "/" + n; }
};

// Seconds and nanoseconds of the last change of a file; 0 when it is not there.
long long Stamp(const std::string& p) {
    struct stat st;
    if (stat(p.c_str(), &st) != 0) return 0;
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

// The whole-grid region of the benchmark contours: 4000 m x 3000 m.
const std::vector<std::string> Region = {"--region", "500000", "4000000", "504000", "4003000"};

std::vector<std::string> Args(const std::string& in, const std::string& out, const char* itv,
                              std::vector<std::string> more) {
    std::vector<std::string> a = {in, "-o", out, "--interval", itv, "--field", "elev"};
    a.insert(a.end(), Region.begin(), Region.end());
    a.insert(a.end(), more.begin(), more.end());
    return a;
}

}  // namespace

// With an overlap that reaches over the whole region every tile is generated on the whole grid's
// posts, so the mosaic holds the whole grid's heights bit for bit, and the VRT carries the whole
// GeoTIFF's size, georeferencing, CRS and nodata; each tile is its core, beside the mosaic.
TEST(DemTiles, MosaicOfTilesIsTheWholeGridBitForBit) {
    if (!HaveSynth()) GTEST_SKIP() << "no benchmark data in " << SharedDir();
    TmpDir t;
    SynthGpkg(t / "synth.gpkg");
    for (const char* m : {"gradient-paths", "cross-lines", "min-curvature"}) {
        SCOPED_TRACE(m);
        const std::string vrt = t / (std::string(m) + ".vrt"), whole = t / (std::string(m) + ".tif");
        ASSERT_EQ(Cli("dem", Args(t / "synth.gpkg", whole, "250", {"--method", m})), 0);
        ASSERT_EQ(Cli("dem", Args(t / "synth.gpkg", vrt, "250",
                                  {"--method", m, "--tile-size", "9x7", "--overlap", "30"})),
                  0);
        Raster a = ReadRaster(whole), b = ReadRaster(vrt);
        ASSERT_EQ(b.w, 17);
        ASSERT_EQ(b.h, 13);
        EXPECT_EQ(a.w, b.w);
        EXPECT_EQ(a.h, b.h);
        for (int k = 0; k < 6; k++) EXPECT_NEAR(a.gt[k], b.gt[k], 1e-6) << k;
        EXPECT_TRUE(b.hasNoData);
        EXPECT_EQ(b.noData, GisNoData);
        EXPECT_NE(b.wkt.find("UTM zone 54N"), std::string::npos);
        ASSERT_EQ(a.z.size(), b.z.size());
        EXPECT_EQ(a.z, b.z);
        // Tile row 1, column 1: columns 9..16, rows 7..12 from the north.
        Raster c = ReadRaster(t / (std::string(m) + "_1_1.tif"));
        ASSERT_EQ(c.w, 8);
        ASSERT_EQ(c.h, 6);
        EXPECT_NEAR(c.gt[0], a.gt[0] + 9 * 250, 1e-6);
        EXPECT_NEAR(c.gt[3], a.gt[3] - 7 * 250, 1e-6);
        EXPECT_EQ(c.z[0], a.z[7 * 17 + 9]);
        EXPECT_EQ(c.z[5 * 8 + 7], a.z[12 * 17 + 16]);
    }
}

// Gradient paths with the default overlap: every post within a tenth of the contour interval
// (20 m) of the whole grid, the RMSE under a hundredth, though each tile reads only its own part.
TEST(DemTiles, DefaultOverlapKeepsGradientPathSeamsWithinATenthOfTheInterval) {
    if (!HaveSynth()) GTEST_SKIP() << "no benchmark data in " << SharedDir();
    TmpDir t;
    SynthGpkg(t / "synth.gpkg");
    // 81 x 61 posts in 4 x 4 tiles; the default overlap is 16 posts (800 m).
    ASSERT_EQ(Cli("dem", Args(t / "synth.gpkg", t / "whole.tif", "50", {})), 0);
    ASSERT_EQ(Cli("dem", Args(t / "synth.gpkg", t / "m.vrt", "50", {"--tile-size", "21x16"})), 0);
    Raster a = ReadRaster(t / "whole.tif"), b = ReadRaster(t / "m.vrt");
    ASSERT_EQ(a.z.size(), b.z.size());
    ASSERT_EQ(b.w, 81);
    double big = 0, sum = 0;
    long long n = 0, diff = 0;
    for (size_t i = 0; i < a.z.size(); i++) {
        ASSERT_EQ(a.z[i] == GisNoData, b.z[i] == GisNoData) << i;
        if (a.z[i] == GisNoData) continue;
        const double d = std::fabs(static_cast<double>(a.z[i]) - b.z[i]);
        big = std::max(big, d);
        sum += d * d;
        n++;
        diff += d > 0;
    }
    EXPECT_LT(big / 20, 0.1);
    EXPECT_LT(std::sqrt(sum / n) / 20, 0.01);
    // Without any overlap the tiles do differ: the comparison can see a seam.
    ASSERT_EQ(Cli("dem", Args(t / "synth.gpkg", t / "n.vrt", "50", {"--tile-size", "21x16", "--overlap", "0"})), 0);
    Raster c = ReadRaster(t / "n.vrt");
    EXPECT_NE(a.z, c.z);
}

// A run that stopped half way is finished by running it again: complete tiles are kept as they
// are, a missing tile, a tile cut short and a tile of another grid are made again, and the result
// is that of an uninterrupted run. --vrt-only refuses to write a mosaic with holes; --tile makes
// one tile and nothing else.
TEST(DemTiles, RestartKeepsCompleteTilesAndRemakesTheOthers) {
    if (!HaveSynth()) GTEST_SKIP() << "no benchmark data in " << SharedDir();
    TmpDir t;
    SynthGpkg(t / "synth.gpkg");
    const std::string in = t / "synth.gpkg", vrt = t / "m.vrt";
    const std::vector<std::string> tiled = {"--tile-size", "21x16", "--overlap", "8"};
    ASSERT_EQ(Cli("dem", Args(in, vrt, "100", tiled)), 0);
    const Raster first = ReadRaster(vrt);
    ASSERT_EQ(first.w, 41);
    // 2 x 2 tiles: m_0_0 .. m_1_1.
    const long long kept = Stamp(t / "m_0_0.tif");
    ASSERT_NE(kept, 0);
    ASSERT_EQ(std::remove((t / "m_0_1.tif").c_str()), 0);
    {
        std::ifstream src(t / "m_1_0.tif", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(src)), std::istreambuf_iterator<char>());
        std::ofstream(t / "m_1_0.tif", std::ios::binary) << bytes.substr(0, bytes.size() / 3);
    }
    // A tile of a grid at another interval has another size.
    ASSERT_EQ(Cli("dem", Args(in, t / "other.vrt", "200", {"--tile-size", "11x8", "--tile", "3"})), 0);
    ASSERT_EQ(std::rename((t / "other_1_1.tif").c_str(), (t / "m_1_1.tif").c_str()), 0);
    ASSERT_EQ(std::remove(vrt.c_str()), 0);

    EXPECT_EQ(Cli("dem", Args(in, vrt, "100", {"--tile-size", "21x16", "--overlap", "8", "--vrt-only"})), 6);
    EXPECT_FALSE(std::ifstream(vrt).good());
    ASSERT_EQ(Cli("dem", Args(in, vrt, "100", {"--tile-size", "21x16", "--overlap", "8", "--tile", "1"})), 0);
    EXPECT_TRUE(std::ifstream(t / "m_0_1.tif").good());
    EXPECT_FALSE(std::ifstream(vrt).good());
    ASSERT_EQ(Cli("dem", Args(in, vrt, "100", tiled)), 0);
    EXPECT_EQ(Stamp(t / "m_0_0.tif"), kept);
    const Raster again = ReadRaster(vrt);
    EXPECT_EQ(again.z, first.z);
    const long long vrtStamp = Stamp(vrt);
    ASSERT_EQ(Cli("dem", Args(in, vrt, "100", {"--tile-size", "21x16", "--overlap", "8", "--vrt-only"})), 0);
    EXPECT_NE(Stamp(vrt), vrtStamp);
    EXPECT_EQ(ReadRaster(vrt).z, first.z);
}

// `tiles` prints one line per tile (index, row, column, file), the list a scheduler works
// through; a tile index past it and options that make no sense are wrong command lines.
TEST(DemTiles, TileListAndWrongCommandLines) {
    if (!HaveSynth()) GTEST_SKIP() << "no benchmark data in " << SharedDir();
    TmpDir t;
    SynthGpkg(t / "synth.gpkg");
    const std::string in = t / "synth.gpkg", vrt = t / "m.vrt";
    std::string out;
    // 41 x 31 posts in tiles of 20 x 20: 3 columns, 2 rows.
    ASSERT_EQ(Cli("tiles", Args(in, vrt, "100", {"--tile-size", "20"}), &out), 0);
    EXPECT_EQ(out, "0\t0\t0\t" + t / "m_0_0.tif\n" + "1\t0\t1\t" + t / "m_0_1.tif\n" + "2\t0\t2\t" +
                       t / "m_0_2.tif\n" + "3\t1\t0\t" + t / "m_1_0.tif\n" + "4\t1\t1\t" + t / "m_1_1.tif\n" +
                       "5\t1\t2\t" + t / "m_1_2.tif\n");
    ASSERT_EQ(Cli("dem", Args(in, vrt, "100", {"--tile-size", "20", "--tile", "5"})), 0);
    Raster last = ReadRaster(t / "m_1_2.tif");
    EXPECT_EQ(last.w, 1);   // column 40 alone
    EXPECT_EQ(last.h, 11);  // rows 20..30 from the north
    struct Case {
        const char* what;
        const char* cmd;
        std::vector<std::string> more;
        std::string out;
    } cases[] = {
        {"a tile past the last", "dem", {"--tile-size", "20", "--tile", "6"}, vrt},
        {"a tile size under three posts", "dem", {"--tile-size", "2"}, vrt},
        {"a malformed tile size", "dem", {"--tile-size", "20y5"}, vrt},
        {"a mosaic that is not a VRT", "dem", {"--tile-size", "20"}, t / "m.tif"},
        {"an overlap without tiles", "dem", {"--overlap", "5"}, t / "m.tif"},
        {"a tile without tiles", "dem", {"--tile", "0"}, t / "m.tif"},
        {"a negative overlap", "dem", {"--tile-size", "20", "--overlap", "-1"}, vrt},
        {"one tile and the mosaic alone", "dem", {"--tile-size", "20", "--tile", "0", "--vrt-only"}, vrt},
        {"tiles with --tile", "tiles", {"--tile-size", "20", "--tile", "0"}, vrt},
        {"tiles without a tile size", "tiles", {}, vrt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Cli(c.cmd, Args(in, c.out, "100", c.more)), 2);
    }
    EXPECT_EQ(Cli("dem", Args(t / "none.gpkg", vrt, "100", {"--tile-size", "20"})), 3);
    EXPECT_EQ(Cli("tiles", Args(in, vrt, "100", {"--tile-size", "20", "--field", "nope"})), 3);
    EXPECT_EQ(Cli("dem", Args(in, t / "nodir/m.vrt", "100", {"--tile-size", "20", "--tile", "0"})), 5);
}

// Tiles whose area and overlap hold no contour are written all nodata, and the mosaic still
// covers the whole region asked for.
TEST(DemTiles, TilesWithoutContoursAreNodata) {
    TmpDir t;
    const std::string in = t / "slope.gpkg", vrt = t / "m.vrt";
    WriteLines(in, "GPKG", Slope(), "elev", OFTReal, 32654);  // x 100 .. 1100, y 100 .. 900
    ASSERT_EQ(Cli("dem", {in, "-o", vrt, "--interval", "50", "--field", "elev", "--region", "0", "0",
                          "4000", "1000", "--tile-size", "21", "--overlap", "2"}),
              0);
    Raster m = ReadRaster(vrt);
    ASSERT_EQ(m.w, 81);
    ASSERT_EQ(m.h, 21);
    Raster far = ReadRaster(t / "m_0_3.tif");  // x 3150 .. 4000: nothing near
    ASSERT_FALSE(far.z.empty());
    for (float z : far.z) EXPECT_EQ(z, GisNoData);
    EXPECT_GT(m.z[10 * 81 + 10], 100);  // x 500, y 500: between the contours
    EXPECT_LT(m.z[10 * 81 + 10], 130);
}

// The import reads only the features whose extent meets a tile's rectangle, keeps the origin
// given, and takes a rectangle without contours as an empty part, not as bad input.
TEST_F(GisTest, ClippedImportReadsOnlyTheFeaturesOfTheRectangle) {
    WriteLines(Path("c.gpkg"), "GPKG", Slope(), "elev", OFTReal, 32654);
    OgrImpPrm p{Path("c.gpkg"), "", "elev"};
    // Contour k lies within y 80..140 + 30 sin(k) + 250 k: the rectangle y 300..700 meets k = 1, 2.
    OgrClip clip{{0, 300, 2000, 700}, -1000, -2000};
    OgrCrvs rd;
    OgrImpRes res;
    ASSERT_EQ(OgrRdCrv(p, &rd, &res, &clip), 0);
    ASSERT_EQ(rd.crvs.size(), 2u);
    EXPECT_EQ(rd.crvs[0].h, 110);
    EXPECT_EQ(rd.crvs[1].h, 120);
    EXPECT_EQ(res.ox, -1000);
    EXPECT_EQ(res.oy, -2000);
    const size_t boxes = Plt().boxes.size();
    OgrClip none{{5000, 5000, 6000, 6000}, 0, 0};
    ASSERT_EQ(OgrRdCrv(p, &rd, &res, &none), 0);
    EXPECT_TRUE(rd.crvs.empty());
    EXPECT_EQ(Plt().boxes.size(), boxes);
    // Unclipped, every contour and the origin picked from them.
    ASSERT_EQ(OgrRdCrv(p, &rd, &res), 0);
    EXPECT_EQ(rd.crvs.size(), 4u);
    EXPECT_EQ(res.ox, 0);
    double ext[4], org[2];
    std::string wkt;
    ASSERT_EQ(OgrLyrExt(p, ext, org, &wkt), 0);
    EXPECT_EQ(ext[0], 100);
    EXPECT_EQ(ext[2], 1100);
    EXPECT_EQ(org[0], 0);
    EXPECT_NE(wkt.find("UTM"), std::string::npos);
    EXPECT_EQ(OgrLyrExt({Path("none.gpkg"), "", ""}, ext, org, &wkt), -1);
}
