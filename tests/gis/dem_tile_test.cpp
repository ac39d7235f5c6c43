// Tiled batch generation: the tiles of `altimetra-cli dem --tile-size`, their mosaic read back
// through GDAL, restarts, single tiles and the tile list; the spatial filter of the import.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
void SynthGpkg(const std::string& path, double raise = 0) {
    ASSERT_TRUE(std::ifstream(SharedDir() + "/bench/synth-contours.txt").good());
    std::vector<GisLine> ls = ContourText(SharedDir() + "/bench/synth-contours.txt", 500000, 4000000);
    for (GisLine& l : ls) l.h += raise;
    WriteLines(path, "GPKG", ls, "elev", OFTReal, 32654);
}

// Runs `altimetra-cli CMD` (dem or tiles) in this process with the words given, quietly; standard
// output goes to *out and standard error to *err when given.
int Cli(const char* cmd, std::vector<std::string> args, std::string* out = nullptr, std::string* err = nullptr) {
    args.insert(args.begin(), {"altimetra-cli", cmd});
    args.push_back("--quiet");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    const int n = static_cast<int>(argv.size());
    std::fflush(stdout);
    std::fflush(stderr);
    if (out) testing::internal::CaptureStdout();
    if (err) testing::internal::CaptureStderr();
    int rc = std::string(cmd) == "dem" ? jrn::DemMain(n, argv.data()) : jrn::TilesMain(n, argv.data());
    std::fflush(stdout);
    std::fflush(stderr);
    if (out) *out = testing::internal::GetCapturedStdout();
    if (err) *err = testing::internal::GetCapturedStderr();
    return rc;
}

// Largest difference and RMSE of two rasters of the same posts; nodata must match.
void Seams(const Raster& a, const Raster& b, double* big, double* rmse) {
    ASSERT_EQ(a.z.size(), b.z.size());
    double m = 0, sum = 0;
    long long n = 0;
    for (size_t i = 0; i < a.z.size(); i++) {
        ASSERT_EQ(a.z[i] == GisNoData, b.z[i] == GisNoData) << i;
        if (a.z[i] == GisNoData) continue;
        const double d = std::fabs(static_cast<double>(a.z[i]) - b.z[i]);
        m = std::max(m, d);
        sum += d * d;
        n++;
    }
    *big = m;
    *rmse = n ? std::sqrt(sum / n) : 0;
}

// The fifth column of a tile list: each tile's overlap.
std::vector<long long> Overlaps(const std::string& list) {
    std::vector<long long> r;
    std::istringstream in(list);
    std::string line;
    while (std::getline(in, line)) r.push_back(std::atoll(line.c_str() + line.find_last_of('\t') + 1));
    return r;
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
    for (const char* m : {"gradient-paths"}) {
        SCOPED_TRACE(m);
        const std::string vrt = t / (std::string(m) + ".vrt"), whole = t / (std::string(m) + ".tif");
        // The spike filter too, as each tile's run is given it.
        ASSERT_EQ(Cli("dem", Args(t / "synth.gpkg", whole, "250", {"--method", m, "--filter", "20"})), 0);
        ASSERT_EQ(Cli("dem", Args(t / "synth.gpkg", vrt, "250",
                                  {"--method", m, "--filter", "20", "--tile-size", "9x7", "--overlap", "30"})),
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
    // Cross lines and minimum curvature give each post a height that depends on the whole region:
    // they are not tiled, and say why.
    for (const char* m : {"cross-lines", "min-curvature"}) {
        std::string err;
        EXPECT_EQ(Cli("dem", Args(t / "synth.gpkg", t / "x.vrt", "250", {"--method", m, "--tile-size", "9"}), nullptr,
                      &err),
                  2);
        EXPECT_EQ(err.rfind(std::string("altimetra-cli dem: --method ") + m + " is not tiled: ", 0), 0u) << err;
    }
}

// Gradient paths with the overlap each tile needs: every post within a tenth of the contour
// interval (20 m) of the whole grid, the RMSE under a hundredth, though each tile reads only its
// own part. An overlap given smaller than a tile needs is widened to it, one warning line per
// tile naming what it needs, and the mosaic is the same; with --strict-overlap the tile is
// refused and not made.
TEST(DemTiles, OverlapFromTheContoursKeepsSeamsWithinATenthOfTheInterval) {
    if (!HaveSynth()) GTEST_SKIP() << "no benchmark data in " << SharedDir();
    TmpDir t;
    SynthGpkg(t / "synth.gpkg");
    const std::string in = t / "synth.gpkg";
    // 81 x 61 posts in 4 x 4 tiles.
    ASSERT_EQ(Cli("dem", Args(in, t / "whole.tif", "50", {})), 0);
    ASSERT_EQ(Cli("dem", Args(in, t / "m.vrt", "50", {"--tile-size", "21x16"})), 0);
    Raster a = ReadRaster(t / "whole.tif"), b = ReadRaster(t / "m.vrt");
    ASSERT_EQ(b.w, 81);
    double big = 0, rmse = 0;
    Seams(a, b, &big, &rmse);
    EXPECT_LT(big / 20, 0.1);
    EXPECT_LT(rmse / 20, 0.01);
    std::string list;
    ASSERT_EQ(Cli("tiles", Args(in, t / "m.vrt", "50", {"--tile-size", "21x16"}), &list), 0);
    const std::vector<long long> ovl = Overlaps(list);
    ASSERT_EQ(ovl.size(), 16u);
    const long long most = *std::max_element(ovl.begin(), ovl.end());
    ASSERT_GT(most, 0);

    std::string err;
    ASSERT_EQ(Cli("dem", Args(in, t / "w.vrt", "50", {"--tile-size", "21x16", "--overlap", "0"}), nullptr, &err), 0);
    EXPECT_EQ(ReadRaster(t / "w.vrt").z, b.z);
    std::istringstream lines(err);
    std::string line;
    int warned = 0;
    for (long long i = 0; std::getline(lines, line);) {
        while (i < 16 && ovl[i] == 0) i++;
        ASSERT_LT(i, 16) << line;
        EXPECT_EQ(line, "altimetra-cli dem: warning: tile " + std::to_string(i) + " needs an overlap of " +
                            std::to_string(ovl[i]) + " posts: --overlap 0 widened to it");
        warned++;
        i++;
    }
    EXPECT_EQ(warned, std::count_if(ovl.begin(), ovl.end(), [](long long v) { return v > 0; }));

    // Refused: a tile that needs more than the overlap given is not made, and the run stops there.
    const long long first = std::find(ovl.begin(), ovl.end(), most) - ovl.begin();
    const std::string tooFew = std::to_string(most - 1);
    EXPECT_EQ(Cli("dem",
                  Args(in, t / "s.vrt", "50",
                       {"--tile-size", "21x16", "--overlap", tooFew, "--strict-overlap", "--tile", std::to_string(first)}),
                  nullptr, &err),
              2);
    EXPECT_NE(err.find("tile " + std::to_string(first) + " needs an overlap of " + std::to_string(most) +
                       " posts, more than --overlap " + tooFew + ": refused (--strict-overlap)"),
              std::string::npos)
        << err;
    EXPECT_FALSE(std::ifstream(t / ("s_" + std::to_string(first / 4) + "_" + std::to_string(first % 4) + ".tif")).good());
    EXPECT_EQ(Cli("tiles", Args(in, t / "s.vrt", "50", {"--tile-size", "21x16", "--overlap", tooFew, "--strict-overlap"})), 2);
    ASSERT_EQ(Cli("dem", Args(in, t / "s.vrt", "50",
                              {"--tile-size", "21x16", "--overlap", std::to_string(most), "--strict-overlap"})),
              0);
}

// Regression: with a constant default overlap (800 m), two contours 2 km apart gave tiles in the
// middle nothing to go by but one contour. Tiles with no overlap given now reach as far as their
// posts need, past 800 m, and the mosaic is the whole grid's heights.
TEST(DemTiles, GapsWiderThanAnyConstantOverlapAreTiledSeamlessly) {
    TmpDir t;
    const std::string in = t / "gap.gpkg";
    // Levels 100 and 120 along x = 1000 and x = 3000; a ring of 140 around (3500, 500) for a
    // denser corner.
    std::vector<GisLine> ls = {{100, {1000, 0, 1000, 1000}}, {120, {3000, 0, 3000, 1000}}};
    GisLine ring{140, {}};
    for (int k = 0; k <= 16; k++)
        ring.xy.insert(ring.xy.end(), {3500 + 150 * std::cos(k * M_PI / 8), 500 + 150 * std::sin(k * M_PI / 8)});
    ls.push_back(ring);
    WriteLines(in, "GPKG", ls, "elev", OFTReal, 32654);
    const std::vector<std::string> base = {in, "--interval", "20", "--field", "elev", "--region", "0", "0", "4000", "1000"};
    auto with = [&](const std::string& out, std::vector<std::string> more) {
        std::vector<std::string> a = base;
        a.insert(a.end(), {"-o", out});
        a.insert(a.end(), more.begin(), more.end());
        return a;
    };
    ASSERT_EQ(Cli("dem", with(t / "whole.tif", {})), 0);
    ASSERT_EQ(Cli("dem", with(t / "m.vrt", {"--tile-size", "25"})), 0);
    const Raster a = ReadRaster(t / "whole.tif"), b = ReadRaster(t / "m.vrt");
    ASSERT_EQ(b.w, 201);
    ASSERT_EQ(b.h, 51);
    double big = 0, rmse = 0;
    Seams(a, b, &big, &rmse);
    EXPECT_LT(big / 20, 0.1);
    EXPECT_LT(rmse / 20, 0.01);
    std::string list;
    ASSERT_EQ(Cli("tiles", with(t / "m.vrt", {"--tile-size", "25"}), &list), 0);
    const std::vector<long long> ovl = Overlaps(list);
    ASSERT_EQ(ovl.size(), 27u);  // 9 x 3
    EXPECT_GT(*std::max_element(ovl.begin(), ovl.end()), 40);  // past 800 m
}

// A run that stopped half way is finished by running it again: complete tiles are kept as they
// are, a missing tile, a tile cut short and a tile of another grid are made again, and the result
// is that of an uninterrupted run. --vrt-only refuses to write a mosaic with holes; --tile makes
// one tile and nothing else. Once the contours change, no tile of the old ones is kept.
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

    // Every line 20 m higher, in the same file: the old tiles are neither kept nor mosaicked.
    SynthGpkg(in, 20);
    EXPECT_EQ(Cli("dem", Args(in, vrt, "100", {"--tile-size", "21x16", "--overlap", "8", "--vrt-only"})), 6);
    ASSERT_EQ(Cli("dem", Args(in, vrt, "100", tiled)), 0);
    const Raster raised = ReadRaster(vrt);
    ASSERT_EQ(raised.z.size(), first.z.size());
    for (size_t k = 0; k < first.z.size(); k++) {
        if (first.z[k] != first.noData) {
            ASSERT_NEAR(raised.z[k], first.z[k] + 20, 1e-3) << "post " << k;
        }
    }
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
    const std::vector<long long> ovl = Overlaps(out);
    ASSERT_EQ(ovl.size(), 6u);
    std::string want;
    for (int i = 0; i < 6; i++)
        want += std::to_string(i) + "\t" + std::to_string(i / 3) + "\t" + std::to_string(i % 3) + "\t" +
                t / ("m_" + std::to_string(i / 3) + "_" + std::to_string(i % 3) + ".tif") + "\t" +
                std::to_string(ovl[i]) + "\n";
    EXPECT_EQ(out, want);
    // An overlap given that is larger than a tile needs is the tile's.
    ASSERT_EQ(Cli("tiles", Args(in, vrt, "100", {"--tile-size", "20", "--overlap", "60"}), &out), 0);
    EXPECT_EQ(Overlaps(out), std::vector<long long>(6, 60));
    // Three posts across is the narrowest tile: 14 columns of them.
    ASSERT_EQ(Cli("tiles", Args(in, vrt, "100", {"--tile-size", "3x20"}), &out), 0);
    EXPECT_EQ(Overlaps(out).size(), 28u);
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
        {"a strict overlap without an overlap", "dem", {"--tile-size", "20", "--strict-overlap"}, vrt},
        {"cross lines in tiles", "dem", {"--tile-size", "20", "--method", "cross-lines"}, vrt},
        {"minimum curvature in tiles", "tiles", {"--tile-size", "20", "--method", "min-curvature"}, vrt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Cli(c.cmd, Args(in, c.out, "100", c.more)), 2);
    }
    EXPECT_EQ(Cli("dem", Args(t / "none.gpkg", vrt, "100", {"--tile-size", "20"})), 3);
    EXPECT_EQ(Cli("tiles", Args(in, vrt, "100", {"--tile-size", "20", "--field", "nope"})), 3);
    EXPECT_EQ(Cli("dem", Args(in, t / "nodir/m.vrt", "100", {"--tile-size", "20", "--tile", "0"})), 5);
}

// Tiles whose area and overlap hold no contour (a region beside the contours) are written all
// nodata, and the mosaic still covers the whole region asked for. Tiles far from the contours of
// a region that holds some reach them, as the whole grid's posts do.
TEST(DemTiles, TilesWithoutContoursAreNodata) {
    TmpDir t;
    const std::string in = t / "slope.gpkg", vrt = t / "m.vrt";
    WriteLines(in, "GPKG", Slope(), "elev", OFTReal, 32654);  // x 100 .. 1100, y 100 .. 900
    ASSERT_EQ(Cli("dem", {in, "-o", vrt, "--interval", "50", "--field", "elev", "--region", "2000", "0",
                          "6000", "1000", "--tile-size", "21"}),
              0);
    Raster e = ReadRaster(vrt);
    ASSERT_EQ(e.w, 81);
    ASSERT_EQ(e.h, 21);
    for (float z : e.z) EXPECT_EQ(z, GisNoData);
    ASSERT_EQ(Cli("dem", {in, "-o", vrt, "--interval", "50", "--field", "elev", "--region", "0", "0",
                          "4000", "1000", "--tile-size", "21"}),
              0);
    ASSERT_EQ(Cli("dem", {in, "-o", t / "whole.tif", "--interval", "50", "--field", "elev", "--region", "0",
                          "0", "4000", "1000"}),
              0);
    Raster m = ReadRaster(vrt), w = ReadRaster(t / "whole.tif");
    ASSERT_EQ(m.w, 81);
    EXPECT_GT(m.z[10 * 81 + 10], 100);  // x 500, y 500: between the contours
    EXPECT_LT(m.z[10 * 81 + 10], 130);
    double big = 0, rmse = 0;
    Seams(w, m, &big, &rmse);
    EXPECT_LT(big, 1);  // a tenth of the 10 m interval
}

// The import reads only the features whose extent meets a tile's rectangle, keeps the origin
// given, and takes a rectangle without contours as an empty part, not as bad input. The layer's
// extent is the whole layer's, even of no width and at the limit of the coordinates.
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
    EXPECT_GT(ext[1], 40);   // contour 0's southern part .. contour 3's northern
    EXPECT_LT(ext[1], 150);
    EXPECT_GT(ext[3], 800);
    EXPECT_LT(ext[3], 950);
    EXPECT_EQ(org[0], 0);
    EXPECT_NE(wkt.find("UTM"), std::string::npos);
    EXPECT_EQ(OgrLyrExt({Path("none.gpkg"), "", ""}, ext, org, &wkt), -1);
    // One contour running due north on the western limit of the coordinates read (1e9 m): a layer
    // of no width, at the limit, still has its extent.
    WriteLines(Path("ns.gpkg"), "GPKG", {{50, {-GisCrdMax, 100, -GisCrdMax, 900}}});
    ASSERT_EQ(OgrLyrExt({Path("ns.gpkg"), "", "elev"}, ext, org, &wkt), 0);
    EXPECT_EQ(ext[0], -GisCrdMax);
    EXPECT_EQ(ext[2], -GisCrdMax);
    EXPECT_EQ(ext[3], 900);
}
