// The cross-line method through the batch DEM command on real-world coordinates: the benchmark
// contours in metres to the millimetre, moved by offsets up to a national grid's, give the same
// heights, and the GeoTIFF lies where the data does.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "dem.h"
#include "gis/gis_fixture.h"

namespace {
std::string Shared() {
    const char* e = std::getenv("ALT_SHARED_DIR");
    return e && *e ? e : ALT_SHARED_DIR;
}

// The benchmark contours (millimetres, three decimals) rounded to whole millimetres, in metres,
// moved by (dx, dy) metres.
std::vector<GisLine> MovedSynth(double dx, double dy) {
    return ContourText(Shared() + "/bench/synth-contours.txt", dx, dy, true);
}

int Dem(std::vector<std::string> args) {
    args.insert(args.begin(), {"altimetra-cli", "dem"});
    args.push_back("--quiet");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return jrn::DemMain(static_cast<int>(argv.size()), argv.data());
}

std::string Num(double v) {
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}
}  // namespace

// The contours and the region moved together by a few hundred metres, by a national grid's
// (-30 km, +50 km) and by UTM-like hundreds and thousands of kilometres: at least 99.9 % of the
// heights within 1 mm of those at the origin, none off by a tenth of the contour interval (2 m).
TEST(TrnDem, MovedContoursGiveTheSameCrossLineHeights) {
    if (!std::ifstream(Shared() + "/bench/synth-contours.txt").good())
        GTEST_SKIP() << "no benchmark data in " << Shared();
    char tmpl[] = "/tmp/alttrnXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    auto run = [&](double dx, double dy, Raster* r) {
        const std::string in = dir + "/c.gpkg", out = dir + "/d.tif";
        std::remove(in.c_str());
        WriteLines(in, "GPKG", MovedSynth(dx, dy), "elev", OFTReal, 32633);
        ASSERT_EQ(Dem({in, "-o", out, "--interval", "10", "--field", "elev", "--method", "cross-lines",
                       "--region", Num(1000 + dx), Num(800 + dy), Num(2000 + dx), Num(1400 + dy)}),
                  0);
        *r = ReadRaster(out);
        ASSERT_EQ(r->w, 101);
        ASSERT_EQ(r->h, 61);
        // Pixel centres on the posts, north row first.
        EXPECT_NEAR(r->gt[0], 1000 + dx - 5, 1e-6);
        EXPECT_NEAR(r->gt[3], 1400 + dy + 5, 1e-6);
        std::remove(out.c_str());
    };
    Raster home;
    run(0, 0, &home);
    int reached = 0;
    for (float z : home.z) reached += z > 200 && z < 640;
    EXPECT_GT(reached, 101 * 61 * 9 / 10);
    const double offs[][2] = {{340, 560}, {-30000, 50000}, {400000, 5000000}};
    for (const auto& o : offs) {
        SCOPED_TRACE(testing::Message() << "offset " << o[0] << " m, " << o[1] << " m");
        Raster moved;
        run(o[0], o[1], &moved);
        ASSERT_EQ(moved.z.size(), home.z.size());
        size_t near = 0;
        double worst = 0;
        for (size_t i = 0; i < home.z.size(); i++) {
            const double e = std::fabs(static_cast<double>(moved.z[i]) - home.z[i]);
            near += e <= 0.001;
            worst = std::max(worst, e);
        }
        EXPECT_GE(near * 1000, home.z.size() * 999) << near << " of " << home.z.size() << " within 1 mm";
        EXPECT_LE(worst, 2.0);
    }
    std::string cmd = "rm -rf '" + dir + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}
