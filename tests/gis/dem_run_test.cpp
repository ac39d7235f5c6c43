// The batch run as a call with values: the stages it tells, the feedback it drives, what a cancel
// leaves, and the window's settings it leaves alone.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "doc/dem_run.h"
#include "gis/gis_fixture.h"
#include "support/rec_feedback.h"

namespace {

class DemRunTest : public GisTest {
public:
    void SetUp() override {
        GisTest::SetUp();
        WriteLines(Path("c.gpkg"), "GPKG", Slope(500000, 4000000), "elev", OFTReal, 32654);
        p.src = {Path("c.gpkg"), "", "elev"};
        p.itv = 20;
        p.out = Path("c.tif");
        p.told = [this](DemStage s, const DemRes& r) {
            stages.push_back(s);
            if (s == DemStLaid) laid = r;
        };
    }
    DemPrm p;
    std::vector<DemStage> stages;
    DemRes laid;
};

}  // namespace

// A whole run: every stage told in order, the grid laid out as written, the generation's
// feedback begun and ended once on this thread, and the method and filter angle the run was given
// taken without touching the window's own.
TEST_F(DemRunTest, TellsEachStageAndWritesTheGridItLaidOut) {
    TrnMethod = TrnMethodCrs;
    FltrAng = 45;
    p.method = TrnMethodPath;
    p.flt = 30;
    p.err = Path("e.tif");
    RecFb fb;
    DemRes res;
    ASSERT_EQ(DemRun(p, fb.Fb(), &res), DemOk);
    EXPECT_EQ(stages, (std::vector<DemStage>{DemStRead, DemStLaid, DemStMade, DemStFiltered}));
    EXPECT_EQ(laid.imp.curves, 4);
    EXPECT_EQ(res.R, laid.R);
    EXPECT_EQ(res.nodata, 0);
    EXPECT_EQ(fb.begins, 1);
    EXPECT_EQ(fb.ends, 1);
    EXPECT_TRUE(fb.Rising());
    EXPECT_FALSE(fb.offThread);
    // The export keeps the posts of the region (a last row or column past it is dropped).
    const Raster r = ReadRaster(Path("c.tif")), e = ReadRaster(Path("e.tif"));
    EXPECT_GE(r.w, res.C - 2);
    EXPECT_LE(r.w, res.C);
    EXPECT_GE(r.h, res.R - 2);
    EXPECT_LE(r.h, res.R);
    EXPECT_EQ(e.w, r.w);
    EXPECT_EQ(e.h, r.h);
    EXPECT_EQ(TrnMethod, TrnMethodCrs);
    EXPECT_EQ(FltrAng, 45);
}

// A feedback that cancels: before the generation nothing is laid out, during it nothing is
// written; a source that cannot be read and a grid too large fail with their own status, and the
// too-large one leaves the words to the caller (no box).
TEST_F(DemRunTest, CancelAndFailuresWriteNothing) {
    for (int at : {1, 2}) {
        SCOPED_TRACE(at);
        stages.clear();
        RecFb fb;
        fb.cancelAt = at;
        EXPECT_EQ(DemRun(p, fb.Fb()), DemInterrupted);
        EXPECT_EQ(fb.begins, fb.ends);
        EXPECT_EQ(stages.size(), at == 1 ? 1u : 3u);
        EXPECT_FALSE(std::filesystem::exists(Path("c.tif")));
    }
    DemRes res;
    DemPrm bad = p;
    bad.src.path = Path("none.gpkg");
    EXPECT_EQ(DemRun(bad, FbNone, &res), DemBadInput);
    const size_t boxes = Plt().boxes.size();
    DemPrm huge = p;
    huge.itv = 0.001;
    EXPECT_EQ(DemRun(huge, FbNone, &res), DemNoGrid);
    EXPECT_TRUE(res.tooLarge);
    EXPECT_FALSE(res.said);
    EXPECT_EQ(Plt().boxes.size(), boxes);
    EXPECT_FALSE(std::filesystem::exists(Path("c.tif")));
}

// Gradient paths with nothing after them run without the window's mesh: the same heights, posts,
// georeferencing and dropped outer rows as a run that keeps the mesh for its error map.
TEST_F(DemRunTest, TheHeightsAloneGiveTheMeshRunsGrid) {
    p.haveRgn = true;
    const double rgn[4] = {500013.7, 4000021.3, 500871.1, 4000633.9};
    std::copy(rgn, rgn + 4, p.rgn);
    p.itv = 7.5;
    ASSERT_EQ(DemRun(p, FbNone), DemOk);
    DemPrm m = p;
    m.out = Path("m.tif");
    m.err = Path("me.tif");
    ASSERT_EQ(DemRun(m, FbNone), DemOk);
    const Raster a = ReadRaster(Path("c.tif")), b = ReadRaster(Path("m.tif"));
    ASSERT_GT(a.w, 100);
    EXPECT_EQ(a.w, b.w);
    EXPECT_EQ(a.h, b.h);
    for (int k = 0; k < 6; k++) EXPECT_EQ(a.gt[k], b.gt[k]);
    EXPECT_EQ(a.noData, b.noData);
    ASSERT_EQ(a.z.size(), b.z.size());
    EXPECT_EQ(0, std::memcmp(a.z.data(), b.z.data(), a.z.size() * sizeof(float)));
    EXPECT_EQ(a.compress, "DEFLATE");
}

// A region that no contour reaches: every post nodata, with or without the mesh, never a plain at 0 m.
TEST_F(DemRunTest, ARegionNoContourReachesIsNodata) {
    p.haveRgn = true;
    const double rgn[4] = {600000, 4100000, 600400, 4100300};
    std::copy(rgn, rgn + 4, p.rgn);
    for (const bool mesh : {false, true}) {
        SCOPED_TRACE(mesh);
        DemPrm q = p;
        if (mesh) q.err = Path("e.tif");
        DemRes res;
        ASSERT_EQ(DemRun(q, FbNone, &res), DemOk);
        const Raster r = ReadRaster(Path("c.tif"));
        ASSERT_TRUE(r.hasNoData);
        ASSERT_FALSE(r.z.empty());
        EXPECT_TRUE(std::all_of(r.z.begin(), r.z.end(), [&](float v) { return v == r.noData; }));
        // The count the command reports them by.
        EXPECT_EQ(res.nodata, static_cast<long long>(res.R) * res.C);
    }
}
