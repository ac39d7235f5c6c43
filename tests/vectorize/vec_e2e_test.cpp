// From a scanned map to a terrain: the shared synthetic contours drawn as a sheet with noise and
// gaps, traced with centre lines where the sheet lies, heights given with at most ten lines, the
// check's findings mended, and the terrain scored against the true heights. At 150 dpi and a
// 20 m grid it stays quick; bench/vec_e2e runs the 300 dpi sheet and the 5 m grid.
#include "vectorize/vec_fixture.h"
#include "vectorize/map_scenario.h"

#include "display/view.h"

class MapToTerrain : public VecTest {};

TEST_F(MapToTerrain, TracedSheetScoresWithinAFifthOfTheContoursItWasDrawnFrom) {
    scen::Synth s;
    ASSERT_TRUE(scen::LoadSynth(ALT_SHARED_DIR "/bench/synth-contours.txt", s));
    std::vector<double> truth;
    ASSERT_TRUE(scen::LoadTruth(ALT_SHARED_DIR "/bench/synth-truth.txt", truth, 601LL * 801));
    const double itv = 20000;

    // The contours as digitised: the score to match.
    scen::PutOriginal(s);
    int rows, cols;
    std::vector<double> g = scen::Generate(s, itv, &rows, &cols);
    ASSERT_EQ(rows, 151);
    ASSERT_EQ(cols, 201);
    const double ref = scen::Rmse(g, rows, cols, truth, 601, 801, itv, 5000);
    IntrCmd(CatDrw2D, CmdCrvDelAll);

    // The sheet, loaded through the bitmap reader, traced with centre lines at its place.
    scen::MapOpt o;
    o.dpi = 150;
    o.widthPx = 3;
    scen::Sheet m = scen::Render(s, o);
    BmpWrOpt bo;
    const std::string f = Path("sheet.bmp");
    ASSERT_EQ(WrBmp(f.c_str(), m.Img(), bo), 0);
    ASSERT_EQ(LdVecImg(f.c_str()), 0);
    VecDpi = o.dpi;
    VecMapScl = o.scl;
    VecCentre = 1;
    VecOrgOn = 1;
    VecOrg[0] = s.rgn[0];
    VecOrg[1] = s.rgn[1];
    IntrCmd(CatDrw2D, CmdVecTrace);
    ASSERT_GE(NumCurves(), 46);
    EXPECT_LE(NumCurves(), 80);

    // Heights along lines, with the printed heights.
    std::vector<double> label;
    for (int k = 0; k < NumCurves(); ++k) label.push_back(scen::LabelOf(s, CrvPart->crvs.a[k]));
    const int lines = scen::GiveHeights(s, label, 20000, 10, 7);
    EXPECT_LE(lines, 10);

    // Check, mend, check again.
    IntrCmd(CatDrw2D, CmdCrvChk);
    const std::vector<ChkFnd> first = CrvChkRes;
    int deleted = 0, joined = 0;
    const int mended = scen::Mend(s, first, 3 * m.p * 4, &deleted, &joined);
    IntrCmd(CatDrw2D, CmdCrvChk);
    int left = 0, open = 0;
    for (const ChkFnd& k : CrvChkRes) {
        left += k.kind == ChkZero || k.kind == ChkCross || k.kind == ChkJump;
        open += k.kind == ChkOpen;
    }
    EXPECT_EQ(left, 0);

    g = scen::Generate(s, itv, &rows, &cols);
    ASSERT_EQ(rows, 151);
    const double got = scen::Rmse(g, rows, cols, truth, 601, 801, itv, 5000);
    std::string kinds;
    for (const ChkFnd& k : first) kinds += std::string(" ") + ChkWord(k.kind);
    std::printf("curves %d, lines %d, first check %zu findings (%s), mended %d (deleted %d, joined %d), open ends left %d, rmse %.3f m "
                "(contours %.3f m)\n",
                NumCurves(), lines, first.size(), kinds.c_str(), mended, deleted, joined, open, got, ref);
    EXPECT_LE(got, 1.2 * ref);
}
