// GIS input that must be refused or skipped with a word, and multi-file exports that are all or
// nothing: a target that is a folder, a read-only folder, a full file system.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include "dem.h"
#include "gis/gis_fixture.h"
#include "gis/gis_int.h"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // name -> bytes

// Every file of a folder with its bytes.
Files Snap(const std::string& dir) {
    Files r;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string bytes;
        if (e.is_regular_file()) {
            std::ifstream in(e.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        } else {
            bytes = "<folder>";
        }
        r[e.path().filename().string()] = bytes;
    }
    return r;
}

std::string Names(const Files& f) {
    std::string s;
    for (const auto& [n, b] : f) s += n + " ";
    return s;
}

// A small tmpfs mounted for the test and unmounted at the end; ok() false where mounting is not
// allowed.
class TmpFs {
public:
    TmpFs(const std::string& dir, const char* size) : dir_(dir) {
        fs::create_directories(dir);
        std::string cmd = "mount -t tmpfs -o size=" + std::string(size) + " tmpfs '" + dir + "' 2>/dev/null";
        ok_ = geteuid() == 0 && std::system(cmd.c_str()) == 0;
    }
    ~TmpFs() {
        if (ok_) {
            std::string cmd = "umount '" + dir_ + "'";
            if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "cannot unmount " << dir_;
        }
    }
    bool ok() const { return ok_; }
    bool ReadOnly() {
        std::string cmd = "mount -o remount,ro '" + dir_ + "' 2>/dev/null";
        return ok_ && std::system(cmd.c_str()) == 0;
    }
    // Fills the file system to the last byte.
    void Fill() {
        FILE* f = std::fopen((dir_ + "/filler").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::string block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), f) == block.size()) {}
        std::fclose(f);
        f = std::fopen((dir_ + "/filler2").c_str(), "wb");
        if (f) {
            while (std::fputc('x', f) != EOF && std::fflush(f) == 0) {}
            std::fclose(f);
        }
    }

private:
    std::string dir_;
    bool ok_ = false;
};

int Dem(std::vector<std::string> args) {
    args.insert(args.begin(), {"altimetra-cli", "dem"});
    args.push_back("--quiet");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return jrn::DemMain(static_cast<int>(argv.size()), argv.data());
}

const double Inf = std::numeric_limits<double>::infinity();

}  // namespace

class GisBadTest : public GisTest {
public:
    // Contours and a terrain in UTM coordinates, so that the exports carry a .prj.
    void Terrain() {
        WriteLines(Path("c.gpkg"), "GPKG", Slope(500000, 4000000), "elev", OFTReal, 32654);
        ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, nullptr), 0);
        Generate(0, 0, 1000000, 1000000, 100000);
        ASSERT_NE(TrnSrf, nullptr);
    }
    // Moves every contour and the terrain up so that a new export differs from an old one.
    static void Raise() {
        for (int i = 0; i < CrvPart->crvs.n; i++)
            for (int k = 0; k < Crv(i)->n; k++) Crv(i)->p[3 * k + 2] += 1000;
        for (int i = 0; i < TrnSrf->nv; i++) TrnSrf->v[3 * i + 2] += 1000;
    }
    std::string LastText() { return Plt().LastBox() ? Plt().LastBox()->text : ""; }
};

// Coordinates and heights that are not finite or beyond 1e9 m are skipped and counted; the
// origin and the region come from the sane lines only (the region was once 1e308 wide).
TEST_F(GisBadTest, AbsurdCoordinatesAreSkippedWithACount) {
    MsgLang = 1;
    auto ls = Slope();
    ls.push_back({100, {1e308, 0, 1e308, 10}});
    ls.push_back({100, {0, 0, Inf, 10}});
    ls.push_back({100, {0, 0, 5e9, 10}});   // millimetres beyond a float's exact range
    ls.push_back({1e300, {0, 0, 10, 10}});  // an absurd height
    WriteLines(Path("c.gpkg"), "GPKG", ls);
    OgrImpRes res;
    ASSERT_EQ(ImpOgr({Path("c.gpkg"), "", "elev"}, &res), 0);
    EXPECT_EQ(res.curves, 4);
    EXPECT_EQ(res.absurd, 4);
    EXPECT_EQ(NCrv(), 4);
    EXPECT_EQ(GisRef.ox, 0);
    EXPECT_LT(TrnRgn[3], 2e6f);
    EXPECT_NE(LastText().find("4 lines with a coordinate or height that is not finite or too large"),
              std::string::npos)
        << LastText();
    EXPECT_EQ(Errors(), 0);
}

// Nothing but absurd lines: refused with the count, the scene and the reference as they were.
TEST_F(GisBadTest, OnlyAbsurdCoordinatesAreRefused) {
    MsgLang = 1;
    WriteLines(Path("bad.gpkg"), "GPKG", {{100, {1e308, 0, 1e308, 10}}, {100, {-Inf, 0, 0, 1}}, {1, {1e12, 0, 1e12, 9}}});
    OgrImpRes res;
    EXPECT_EQ(ImpOgr({Path("bad.gpkg"), "", "elev"}, &res), -1);
    EXPECT_EQ(res.absurd, 3);
    EXPECT_EQ(NCrv(), 0);
    EXPECT_FALSE(GisRef.known);
    EXPECT_EQ(Errors(), 1);
    EXPECT_NE(LastText().find("not finite or too large (3 lines)"), std::string::npos) << LastText();
}

// dem on such input exits 3 (the input), not 4 ("the grid would be too large"), and writes
// nothing.
TEST(GisDemBad, AbsurdCoordinatesExitThree) {
    char tmpl[] = "/tmp/altgisXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    WriteLines(dir + "/bad.gpkg", "GPKG", {{100, {1e308, 0, 1e308, 10}}, {100, {0, 0, 1, 1e30}}});
    WriteLines(dir + "/mixed.gpkg", "GPKG", {{100, {0, 0, 1e15, 10}}, {100, {0, 0, 100, 100}}, {110, {0, 50, 100, 150}}});
    EXPECT_EQ(Dem({dir + "/bad.gpkg", "-o", dir + "/dem.tif", "--interval", "10", "--field", "elev"}), 3);
    EXPECT_FALSE(fs::exists(dir + "/dem.tif"));
    // One absurd line among sane ones: skipped, the grid made over the others.
    EXPECT_EQ(Dem({dir + "/mixed.gpkg", "-o", dir + "/dem.tif", "--interval", "10", "--field", "elev"}), 0);
    EXPECT_TRUE(fs::exists(dir + "/dem.tif"));
    fs::remove_all(dir);
}

// Every wrong command line, a missing input, an unwritable output and an empty source are told
// in one line before any work (the summary line of a started run never appears); an empty
// GeoJSON was reported as "longitude and latitude", a missing input as "file open failed".
TEST(GisDemBad, ArgumentAndFileErrorsAreOneLineBeforeAnyWork) {
    char tmpl[] = "/tmp/altgisXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    WriteLines(dir + "/c.gpkg", "GPKG", {{100, {0, 0, 100, 100}}, {110, {0, 50, 100, 150}}});
    std::ofstream(dir + "/empty.geojson") << "{\"type\":\"FeatureCollection\",\"features\":[]}\n";
    std::ofstream(dir + "/text.gpkg") << "not a GeoPackage\n";
    const std::string in = dir + "/c.gpkg", see = "see altimetra-cli dem --help\n";
    struct Case {
        std::vector<std::string> args;
        int rc;
        std::string err;
    };
    const Case cases[] = {
        {{in, "-o", dir + "/d.tif", "--bogus"}, 2, "altimetra-cli dem: unknown option --bogus\n" + see},
        {{in, "-o", dir + "/d.tif"}, 2, "altimetra-cli dem: no interval (--interval D)\n" + see},
        {{in, "-o", dir + "/d.tif", "--interval", "x"}, 2, "altimetra-cli dem: --interval needs a positive number\n" + see},
        {{in, "-o", dir + "/d.foo", "--interval", "10"}, 2,
         "altimetra-cli dem: " + dir + "/d.foo: no raster format for this extension (.tif, .asc, .xyz, ...)\n" + see},
        {{in, "-o", dir + "/none/d.tif", "--interval", "10"}, 5,
         "altimetra-cli dem: cannot write " + dir + "/none/d.tif: folder " + dir + "/none: " + std::strerror(ENOENT) + "\n"},
        {{in, "-o", dir + "/c.gpkg/d.tif", "--interval", "10"}, 5,
         "altimetra-cli dem: cannot write " + dir + "/c.gpkg/d.tif: folder " + dir + "/c.gpkg: not a folder\n"},
        {{dir + "/gone.gpkg", "-o", dir + "/d.tif", "--interval", "10"}, 3,
         "altimetra-cli dem: cannot read " + dir + "/gone.gpkg: " + std::strerror(ENOENT) + "\n"},
        {{dir + "/text.gpkg", "-o", dir + "/d.tif", "--interval", "10"}, 3,
         "altimetra-cli dem: cannot read " + dir + "/text.gpkg: not a vector source GDAL reads\n"},
        {{dir + "/empty.geojson", "-o", dir + "/d.tif", "--interval", "10"}, 3,
         "altimetra-cli dem: " + dir + "/empty.geojson: layer \"empty\" holds no features.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::vector<std::string> args = {"altimetra-cli", "dem"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        testing::internal::CaptureStderr();
        const int rc = jrn::DemMain(static_cast<int>(argv.size()), argv.data());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(rc, c.rc);
        EXPECT_EQ(err, c.err);
        EXPECT_FALSE(fs::exists(dir + "/d.tif"));
    }
    fs::remove_all(dir);
}

// A .shp shorter than its index: the features it lost are counted, the others read.
TEST_F(GisBadTest, ShapefileCutShortCountsTheFeaturesNotRead) {
    MsgLang = 1;
    WriteLines(Path("c.shp"), "ESRI Shapefile", Slope());
    const auto full = fs::file_size(Path("c.shp"));
    // Each record of three 2D points is 8 + 4 + 32 + 8 + 4 + 48 = 104 bytes after 100 of header.
    ASSERT_EQ(full, 100u + 4 * 104);
    fs::resize_file(Path("c.shp"), 100 + 2 * 104 + 30);  // the third record cut, the fourth gone
    OgrImpRes res;
    ASSERT_EQ(ImpOgr({Path("c.shp"), "", "elev"}, &res), 0);
    EXPECT_EQ(res.curves, 2);
    EXPECT_EQ(res.unread, 2);
    EXPECT_EQ(res.others, 0);
    EXPECT_NE(LastText().find("2 features could not be read"), std::string::npos) << LastText();
    EXPECT_EQ(Plt().LastBox()->icon, plt::IconWarning);

    // Cut before the first record: refused, the count in the error.
    fs::resize_file(Path("c.shp"), 100);
    EXPECT_EQ(ImpOgr({Path("c.shp"), "", "elev"}, &res), -1);
    EXPECT_EQ(Plt().LastBox()->icon, plt::IconError);
    EXPECT_NE(LastText().find("4 features could not be read"), std::string::npos) << LastText();
    EXPECT_EQ(NCrv(), 2);  // the scene of the first import stays
}

// A side file whose origin is absurd is refused naming the file; the document opens in local
// coordinates.
TEST_F(GisBadTest, SideFileWithAnAbsurdOriginIsRefused) {
    const std::string scn = Path("d.scn"), side = scn + GisSideExt;
    for (const char* org : {"1e308 0", "0 -1e300", "inf 0", "nan nan", "2e9 0", "1e400 0"}) {
        SCOPED_TRACE(org);
        std::ofstream(side) << "origin " << org << "\n";
        size_t boxes = Plt().boxes.size();
        EXPECT_FALSE(GisLoadSide(scn.c_str()));
        EXPECT_FALSE(GisRef.known);
        ASSERT_EQ(Plt().boxes.size(), boxes + 1);
        EXPECT_NE(LastText().find(side), std::string::npos) << LastText();
    }
    std::ofstream(side) << "origin -999999999 1000000000\n";  // the largest taken
    EXPECT_TRUE(GisLoadSide(scn.c_str()));
    EXPECT_TRUE(GisRef.known);
}

// A target that is a folder, or a side file of the old dataset that cannot be replaced: the
// export fails with a message, every old file keeps its bytes and no temporary file is left.
// (The .dbf, .shx and .prj of the old dataset were once replaced while its .shp stayed.)
TEST_F(GisBadTest, ExportOntoAFolderLeavesTheOldDatasetWhole) {
    Terrain();
    struct Case {
        const char* what;
        const char* out;
        const char* folder;  // the file of the dataset made a folder
        bool raster;
    } cases[] = {
        {"shp, the .shp a folder", "old.shp", "old.shp", false},
        {"shp, the .dbf a folder", "old.shp", "old.dbf", false},
        {"asc, the .asc a folder", "old.asc", "old.asc", true},
        {"asc, the .prj a folder", "old.asc", "old.prj", true},
        {"gpkg, a folder", "old.gpkg", "old.gpkg", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = Path(std::string("t") + c.folder);
        fs::create_directories(dir);
        const std::string out = dir + "/" + c.out;
        ASSERT_EQ(c.raster ? ExpGisRst(out.c_str()) : ExpGisVec(out.c_str()), 0) << LastText();
        fs::remove(dir + "/" + c.folder);
        fs::create_directory(dir + "/" + c.folder);
        const Files before = Snap(dir);
        Raise();
        size_t boxes = Plt().boxes.size();
        EXPECT_EQ(c.raster ? ExpGisRst(out.c_str()) : ExpGisVec(out.c_str()), -1);
        EXPECT_EQ(Plt().boxes.size(), boxes + 1);
        const Files after = Snap(dir);
        EXPECT_EQ(Names(after), Names(before));
        EXPECT_TRUE(after == before);
    }
}

// A complete export replaces every file of the old dataset and leaves no backup behind.
TEST_F(GisBadTest, ExportReplacesEveryFileOfTheOldDataset) {
    Terrain();
    ASSERT_EQ(ExpGisVec(Path("a.shp").c_str()), 0);
    ASSERT_EQ(ExpGisRst(Path("a.asc").c_str()), 0);
    const Files before = Snap(Path(""));
    Raise();
    ASSERT_EQ(ExpGisVec(Path("a.shp").c_str()), 0);
    ASSERT_EQ(ExpGisRst(Path("a.asc").c_str()), 0);
    const Files after = Snap(Path(""));
    EXPECT_EQ(Names(after), Names(before));
    EXPECT_NE(after.at("a.shp"), before.at("a.shp"));
    EXPECT_NE(after.at("a.dbf"), before.at("a.dbf"));
    EXPECT_NE(after.at("a.asc"), before.at("a.asc"));
    EXPECT_EQ(after.at("a.prj"), before.at("a.prj"));  // same CRS
}

// A read-only folder: nothing written, nothing changed.
TEST_F(GisBadTest, ExportIntoAReadOnlyFolderChangesNothing) {
    Terrain();
    const std::string dir = Path("ro");
    TmpFs mnt(dir, "1m");
    const bool root = geteuid() == 0;
    if (!mnt.ok() && root) GTEST_SKIP() << "cannot mount a tmpfs to make a read-only folder as root";
    for (const char* f : {"x.shp", "x.asc", "x.gpkg", "x.tif"})
        ASSERT_EQ(GisExt(f) == "asc" || GisExt(f) == "tif" ? ExpGisRst((dir + "/" + f).c_str())
                                                            : ExpGisVec((dir + "/" + f).c_str()),
                  0);
    if (mnt.ok()) ASSERT_TRUE(mnt.ReadOnly());
    else ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
    const Files before = Snap(dir);
    Raise();
    for (const char* f : {"x.shp", "x.asc", "x.gpkg", "x.tif"}) {
        SCOPED_TRACE(f);
        size_t boxes = Plt().boxes.size();
        EXPECT_EQ(GisExt(f) == "asc" || GisExt(f) == "tif" ? ExpGisRst((dir + "/" + f).c_str())
                                                            : ExpGisVec((dir + "/" + f).c_str()),
                  -1);
        EXPECT_EQ(Plt().boxes.size(), boxes + 1);
    }
    EXPECT_TRUE(Snap(dir) == before);
    if (!mnt.ok()) chmod(dir.c_str(), 0755);
}

// A full file system: every export fails with a message, the old files keep their bytes and no
// temporary file is left (a GeoPackage's NAME.part<PID>.gpkg once was).
TEST_F(GisBadTest, ExportOnAFullFileSystemLeavesNothingBehind) {
    Terrain();
    const std::string dir = Path("full");
    TmpFs mnt(dir, "2m");
    if (!mnt.ok()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): full-disk case not run";
    const char* outs[] = {"x.shp", "x.asc", "x.gpkg", "x.tif", "x.geojson"};
    auto exp = [&](const char* f) {
        std::string p = dir + "/" + f;
        return GisExt(f) == "asc" || GisExt(f) == "tif" ? ExpGisRst(p.c_str()) : ExpGisVec(p.c_str());
    };
    for (const char* f : outs) ASSERT_EQ(exp(f), 0) << f << ": " << LastText();
    ASSERT_NO_FATAL_FAILURE(mnt.Fill());
    const Files before = Snap(dir);
    Raise();
    for (const char* f : outs) {
        SCOPED_TRACE(f);
        size_t boxes = Plt().boxes.size();
        EXPECT_EQ(exp(f), -1);
        EXPECT_EQ(Plt().boxes.size(), boxes + 1);
        const Files after = Snap(dir);
        EXPECT_EQ(Names(after), Names(before));
        EXPECT_TRUE(after == before);
    }
}

// A GDAL error left over from an earlier failure (an import of a missing file) does not make the
// next export fail: each export judges only its own errors.
TEST_F(GisBadTest, AnEarlierGdalErrorDoesNotFailTheNextExport) {
    Terrain();
    for (const char* out : {"after.gpkg", "after.shp", "after.tif", "after.asc"}) {
        SCOPED_TRACE(out);
        EXPECT_EQ(ImpOgr({Path("missing.gpkg"), "", "elev"}, nullptr), -1);
        CPLError(CE_Failure, CPLE_AppDefined, "stale");
        const bool rst = GisExt(out) == "tif" || GisExt(out) == "asc";
        EXPECT_EQ(rst ? ExpGisRst(Path(out).c_str()) : ExpGisVec(Path(out).c_str()), 0) << LastText();
    }
}

// Saving the side file and exporting leave no file open behind them.
TEST_F(GisBadTest, SavesLeaveNoFileOpen) {
    auto open = [] {
        int n = 0;
        for (const auto& e : fs::directory_iterator("/proc/self/fd")) n += !e.path().empty();
        return n;
    };
    Terrain();
    const int before = open();
    ASSERT_TRUE(GisSaveSide(Path("d.scn").c_str()));
    ASSERT_TRUE(GisLoadSide(Path("d.scn").c_str()));
    ASSERT_EQ(ExpGisVec(Path("o.shp").c_str()), 0);
    ASSERT_EQ(ExpGisRst(Path("o.asc").c_str()), 0);
    EXPECT_EQ(open(), before);
}
