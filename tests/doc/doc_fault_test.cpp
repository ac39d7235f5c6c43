// Document flows at their edges: a document without any product, a file named only by its
// extension, a terrain whose grid names a vertex it does not have.
#include <filesystem>
#include <fstream>
#include <string>
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "doc/doc.h"
#include "doc/recover.h"
#include "doc/xchg_flow.h"
#include "formats/scn.h"
#include "formats/scn_fixture.h"
#include "gis/gis.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "terrain/trn_cmd.h"

// A document that holds no product at all reads as a document, but there is no terrain to bind:
// the user gets the new-document scene with its terrain product, not a dangling one.
TEST_F(ScnTest, DocumentWithoutAProductOpensAsTheNewDocument) {
    while (PrdTbl.n > 0) FreePrd(PrdTbl.a[0], true);
    TrnPrd = nullptr;
    TrnPrt = nullptr;
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    ASSERT_EQ(DocSaveAs(Path("empty.scn")), DocDone);
    DocNew();
    EXPECT_EQ(DocOpen(Path("empty.scn")), DocFailed);
    ASSERT_GT(PrdTbl.n, 0);
    EXPECT_EQ(TrnPrd, PrdTbl.a[0]);
    ASSERT_NE(TrnPrt, nullptr);
    ExpectUsableScene();
}

// A file named only ".scn" (in the working folder) is a scene document: given on the command
// line it is read, not ignored.
TEST_F(ScnTest, FileNamedOnlyByTheExtensionOpensFromTheCommandLine) {
    crv* c = NewCrvObj("only");
    AtchCrvPrt(TrnPrt, c);
    AddCrvPnt(c, 1, 2, 3);
    ASSERT_EQ(DocSaveAs(Path("a.scn")), DocDone);
    std::filesystem::rename(Path("a.scn"), Path(".scn"));
    DocNew();
    ASSERT_EQ(TrnPrt->crvs.n, 0);
    EXPECT_EQ(DocOpenArg(".scn"), DocDone);
    ASSERT_EQ(TrnPrt->crvs.n, 1);
    EXPECT_STREQ(TrnPrt->crvs.a[0]->name, "only");
}

// A terrain whose grid names a vertex the surface does not have (below or beyond its count) is
// not exported as VRML or STL: the user is told there is no terrain and no file is written. Sound
// again, it is exported with a note naming its posts.
TEST_F(ScnTest, TerrainWithAnUnsoundIndexIsNotExported) {
    TrnRgn[0] = 0;
    TrnRgn[1] = 0;
    TrnRgn[3] = 3000;
    TrnRgn[4] = 3000;
    MshItv = 1000;
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    ASSERT_NE(TrnGrd, nullptr);
    for (int at : {0, 5}) {   // the first post below, the sixth beyond
        SCOPED_TRACE(at);
        const int keep = TrnGrd->vtx_id[at];
        TrnGrd->vtx_id[at] = at ? TrnSrf->nv : -1;
        for (int f : {FmtVrml, FmtStl}) {
            Plt().Clear();
            const std::string out = Path("t" + std::to_string(f));
            EXPECT_EQ(ExpXchg(f, out), -1);
            ASSERT_EQ(Plt().boxes.size(), 1u);
            EXPECT_EQ(Plt().boxes[0].text, "地形が作成されていません。");
            EXPECT_FALSE(std::filesystem::exists(out));
        }
        TrnGrd->vtx_id[at] = keep;
    }
    // Sound again, it is exported, and the note after it names the terrain's posts.
    ASSERT_EQ(ExpXchg(FmtStl, Path("t.stl")), 0);
    ASSERT_GT(MsgLinNum, 0);
    EXPECT_NE(std::string(MsgLin[MsgLinNum - 1]).find("地形 " + std::to_string(TrnGrd->cols) + " x " +
                                                     std::to_string(TrnGrd->rows) + " 点"),
              std::string::npos)
        << MsgLin[MsgLinNum - 1];
}

// The side file that carries a georeferenced document's origin cannot be written (its temporary
// name is longer than a file name may be): the save fails, the document stays modified and keeps
// its title, and the side file of an earlier save goes. Regression: the save reported success and
// the scene reopened with the earlier origin.
TEST_F(ScnTest, SaveFailsWhenTheSideFileFailsAndLeavesNoStaleOrigin) {
    const std::string scn = Path(std::string(244, 'g') + ".scn");
    std::ofstream(scn + GisSideExt) << "origin 1 2\n";
    GisRef = {true, 500000, 4000000, ""};
    ModFlg = 1;
    const std::string title = Doc.title;
    const size_t boxes = Plt().boxes.size();
    EXPECT_EQ(DocWrite(scn), DocFailed);
    EXPECT_GT(Plt().boxes.size(), boxes);
    EXPECT_TRUE(std::filesystem::exists(scn));
    EXPECT_FALSE(std::filesystem::exists(scn + GisSideExt));
    EXPECT_EQ(ModFlg, 1);
    EXPECT_EQ(Doc.title, title);
    ASSERT_EQ(DocOpen(scn), DocDone);
    EXPECT_FALSE(GisRef.known);
}

// A drawing of odd size was drawn in another unit: half a metre read in metres was in kilometres
// (the one unit that fits); read in millimetres, or 1200 km read in miles, metres come first of
// those that fit.
TEST(DxfUnit, OddSizeOffersTheUnitThatFits) {
    struct Case {
        double fct, w;
        LenUnit want;
    };
    for (auto [fct, w, want] :
         {Case{1000, 500, LenUnit::Km}, Case{1, 500, LenUnit::M}, Case{1609344, 1.2e9, LenUnit::M}}) {
        DxfRdSum s;
        s.ext = true;
        s.fct = fct;
        s.x1 = w;
        s.y1 = 200;
        LenUnit u = LenUnit::Mm;
        ASSERT_TRUE(DxfUnitOdd(s, &u)) << fct;
        EXPECT_EQ(u, want) << fct;
    }
    // So large that no unit makes it plausible: nothing to offer.
    DxfRdSum huge;
    huge.ext = true;
    huge.x1 = 1e16;
    LenUnit u = LenUnit::Mm;
    EXPECT_FALSE(DxfUnitOdd(huge, &u));
}

// A recovery copy's description reads back as written: its time, region and interval.
TEST_F(ScnTest, RecoveryDescriptionReadsBack) {
    TrnRgn[0] = 10;
    TrnRgn[4] = 20;
    MshItv = 500;
    RcvCopy c;
    RcvSnap(&c, 1234567890);
    std::string err;
    ASSERT_EQ(RcvWrite(c, Path("r.scn"), Path("r.meta"), &err), 0) << err;
    RcvMeta m;
    ASSERT_TRUE(RcvReadMeta(Path("r.meta"), &m));
    EXPECT_EQ(m.time, 1234567890);
    EXPECT_EQ(m.rgn[0], 10);
    EXPECT_EQ(m.rgn[4], 20);
    EXPECT_EQ(m.itv, 500);
}
