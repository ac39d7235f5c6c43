// GIS exports replace a dataset of several files all together or not at all.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "gis/gis_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

// Fault: the Shapefile's side files were renamed over the old ones before the main file, so when
// the main file could not take its place the old .dbf was already gone and a new .shx stood
// beside the old .shp. Now every target keeps what it held and no temporary stays.
TEST_F(GisTest, ShapefileThatCannotTakeItsPlaceLeavesTheOldDataset) {
    WriteLines(Path("c.gpkg"), "GPKG", Slope());
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
    fs::create_directory(Path("out"));
    fs::create_directory(Path("out/d.shp"));  // the main file's name is taken by a folder
    std::ofstream(Path("out/d.shp/keep")) << "x";
    std::ofstream(Path("out/d.dbf")) << "old dbf";
    size_t boxes = Plt().boxes.size();
    EXPECT_EQ(ExpGisVec(Path("out/d.shp").c_str()), -1);
    EXPECT_EQ(Plt().boxes.size(), boxes + 1);
    EXPECT_EQ(Slurp(Path("out/d.dbf")), "old dbf");
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Path("out"))) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"d.dbf", "d.shp"}));
}

// A Shapefile written over an older one replaces every file of it.
TEST_F(GisTest, ShapefileReplacesEveryFileOfTheOldDataset) {
    WriteLines(Path("c.gpkg"), "GPKG", Slope());
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
    fs::create_directory(Path("out"));
    for (const char* e : {"shp", "shx", "dbf"}) std::ofstream(Path(std::string("out/d.") + e)) << "old";
    ASSERT_EQ(ExpGisVec(Path("out/d.shp").c_str()), 0) << Plt().LastBox()->text;
    for (const char* e : {"shp", "shx", "dbf"}) EXPECT_NE(Slurp(Path(std::string("out/d.") + e)), "old") << e;
    GDALDataset* ds = static_cast<GDALDataset*>(
        GDALOpenEx(Path("out/d.shp").c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->GetLayer(0)->GetFeatureCount(), static_cast<GIntBig>(Slope().size()));
    GDALClose(ds);
    for (const auto& e : fs::directory_iterator(Path("out")))
        EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << e.path();
}
