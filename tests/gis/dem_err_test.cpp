// `altimetra-cli dem --error-map`: the expected error written beside the terrain, whole and tiled,
// on the same posts with the same georeferencing and nodata.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include "dem.h"
#include "gis/gis_fixture.h"

namespace {

int Dem(std::vector<std::string> args) {
    args.insert(args.begin(), {"altimetra-cli", "dem"});
    args.push_back("--quiet");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return jrn::DemMain(static_cast<int>(argv.size()), argv.data());
}

struct TmpDir {
    std::string dir;
    TmpDir() {
        char t[] = "/tmp/altdemeXXXXXX";
        dir = mkdtemp(t) ? t : "";
    }
    ~TmpDir() {
        std::string cmd = "rm -rf '" + dir + "'";
        if (!dir.empty() && std::system(cmd.c_str()) != 0) std::perror("rm");
    }
    std::string operator/(const std::string& n) const { return dir + "/" + n; }
};

void SameGrid(const Raster& a, const Raster& b) {
    ASSERT_EQ(a.w, b.w);
    ASSERT_EQ(a.h, b.h);
    for (int k = 0; k < 6; k++) EXPECT_NEAR(a.gt[k], b.gt[k], 1e-9) << k;
    EXPECT_EQ(a.wkt, b.wkt);
    EXPECT_TRUE(b.hasNoData);
    EXPECT_EQ(a.noData, b.noData);
    ASSERT_EQ(a.z.size(), b.z.size());
    for (size_t i = 0; i < a.z.size(); i++) {
        EXPECT_EQ(a.z[i] == GisNoData, b.z[i] == GisNoData) << i;
        if (b.z[i] != GisNoData) {
            EXPECT_GE(b.z[i], 0) << i;
        }
    }
}

}  // namespace

// The whole grid and a tiled run over a region reaching far past the contours (levels every 10 m):
// each error map matches its terrain's raster post for post, nodata where the terrain has none (a
// tile no contour reaches), metres of less than an interval where the terrain has heights, and
// nothing on the contours' own posts; a tiled error map must be a mosaic.
TEST(DemErr, ErrorMapHasTheTerrainsPostsGeoreferencingAndNodata) {
    TmpDir t;
    const std::string in = t / "slope.gpkg";
    WriteLines(in, "GPKG", Slope(), "elev", OFTReal, 32654);  // x 100 .. 1100, y 100 .. 900
    const std::vector<std::string> base = {in, "--interval", "50", "--field", "elev", "--region", "0", "0", "4000",
                                           "1000"};
    std::vector<std::string> whole = base;
    whole.insert(whole.end(), {"-o", t / "dem.tif", "--error-map", t / "err.tif"});
    ASSERT_EQ(Dem(whole), 0);
    const Raster dem = ReadRaster(t / "dem.tif"), err = ReadRaster(t / "err.tif");
    SameGrid(dem, err);
    float most = 0;
    for (float e : err.z) most = std::max(most, e);
    EXPECT_GT(most, 0.5f);
    EXPECT_LE(most, 10.0f);

    std::vector<std::string> tiled = base;
    tiled.insert(tiled.end(), {"-o", t / "m.vrt", "--error-map", t / "e.vrt", "--tile-size", "21", "--overlap", "2"});
    ASSERT_EQ(Dem(tiled), 0);
    const Raster m = ReadRaster(t / "m.vrt"), e = ReadRaster(t / "e.vrt");
    SameGrid(m, e);
    // The far tile (x 3150 .. 4000) has nodata in its error map exactly where its terrain has.
    const Raster farE = ReadRaster(t / "e_0_3.tif"), farM = ReadRaster(t / "m_0_3.tif");
    ASSERT_FALSE(farE.z.empty());
    ASSERT_EQ(farE.z.size(), farM.z.size());
    for (size_t k = 0; k < farE.z.size(); k++) EXPECT_EQ(farE.z[k] == GisNoData, farM.z[k] == GisNoData) << k;
    EXPECT_GT(e.z[10 * 81 + 10], 0);  // x 500, y 500: between the contours

    std::vector<std::string> bad = base;
    bad.insert(bad.end(), {"-o", t / "b.vrt", "--error-map", t / "b.tif", "--tile-size", "21"});
    EXPECT_EQ(Dem(bad), 2);
    struct stat st;
    EXPECT_NE(stat((t / "b.tif").c_str(), &st), 0);
}
