// DXF export: exact lines, units, layers, and exports that must not lose the user's file.
#include <sys/resource.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include "formats/dxf.h"
#include "formats/stl.h"
#include "formats/xchg_fixture.h"

namespace {

class DxfWrTest : public XchgTest {};

// Index of the first line equal to s at or after from; -1 when none.
int Find(const std::vector<std::string>& v, const std::string& s, int from = 0) {
    for (int i = from; i < static_cast<int>(v.size()); ++i)
        if (v[i] == s) return i;
    return -1;
}
int Count(const std::vector<std::string>& v, const std::string& s) {
    int n = 0;
    for (const auto& l : v) n += l == s;
    return n;
}

// Fault: without a header declaring the code page, readers took the Shift-JIS layer names for
// cp1252 (ezdxf refused the file, GDAL garbled the names).
TEST_F(DxfWrTest, EmptySceneIsTheHeaderWithVersionAndCodePageThenEmptyEntities) {
    ASSERT_EQ(ExpXchg(FmtDxf, Path("e.dxf")), 0);
    EXPECT_EQ(Get("e.dxf"),
              "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\nANSI_932\n"
              "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
    EXPECT_EQ(Boxes(), 0);
}

TEST_F(DxfWrTest, GridOfThreeRowsAndFourColumnsInMetres) {
    RawGrid(3, 4, 1000, 2000, 1000, [](float x, float y) { return x == 1000 && y == 2000 ? 500.0f : 0.0f; });
    ASSERT_EQ(TrnGrd->rows, 3);
    ASSERT_EQ(TrnGrd->cols, 4);
    OutUnit = LenUnit::M;
    ASSERT_EQ(ExpXchg(FmtDxf, Path("g")), 0);
    auto v = Lines("g.dxf");
    std::string lay;
    lay = "\x92\x6e\x8c\x60";  // "地形" in Shift-JIS
    int p = Find(v, "POLYLINE");
    ASSERT_GE(p, 0);
    EXPECT_EQ(std::vector<std::string>(v.begin() + p - 1, v.begin() + p + 11),
              (std::vector<std::string>{"  0", "POLYLINE", "  8", lay, " 66", "1", " 70", "16", " 71",
                                        "3", " 72", "4"}));
    EXPECT_EQ(Count(v, "VERTEX"), 12);
    int q = Find(v, "VERTEX");
    EXPECT_EQ(std::vector<std::string>(v.begin() + q - 1, v.begin() + q + 11),
              (std::vector<std::string>{"  0", "VERTEX", "  8", lay, " 10", "1.000000", " 20", "2.000000",
                                        " 30", "0.500000", " 70", "64"}));
    EXPECT_EQ(v[Find(v, "SEQEND") - 1], "  0");
}

TEST_F(DxfWrTest, ContourInCentimetresIsA3DPolylineOnItsLayers) {
    crv* c = NewCrv();
    AddPnt(c, 10, 20, 1500);
    AddPnt(c, 30, 40, 1500);
    NewCrv();  // no points: nothing written
    OutUnit = LenUnit::Cm;
    ASSERT_EQ(ExpXchg(FmtDxf, Path("c.dxf")), 0);
    auto v = Lines("c.dxf");
    std::string lay = "\x93\x99\x8d\x82\x90\xfc";  // "等高線"
    EXPECT_EQ(Count(v, "POLYLINE"), 1);
    int p = Find(v, "POLYLINE");
    EXPECT_EQ(std::vector<std::string>(v.begin() + p - 1, v.begin() + p + 15),
              (std::vector<std::string>{"  0", "POLYLINE", "  8", lay, " 66", "1", " 10", "0.0", " 20", "0.0",
                                        " 30", "0.0", " 70", "  8", "  0", "VERTEX"}));
    int q = Find(v, "VERTEX");
    EXPECT_EQ(std::vector<std::string>(v.begin() + q + 1, v.begin() + q + 11),
              (std::vector<std::string>{"  8", "0", " 10", "1.000000", " 20", "2.000000", " 30",
                                        "150.000000", " 70", " 32"}));
    EXPECT_EQ(Count(v, "VERTEX"), 2);
    EXPECT_EQ(Count(v, "150.000000"), 2);
}

// Fault (mutation left alive): the parts reached through links, of a part and of a product, were
// not exported.
TEST_F(DxfWrTest, PartsReachedThroughLinksAreExported) {
    auto linked = [](float x) {
        prt* q = NewPrt("linked");
        crv* c = NewCrvObj("c");
        AtchCrvPrt(q, c);
        AddPnt(c, x, 1, 2);
        AddPnt(c, x + 1, 1, 2);
        lnk* l = NewLnk("l");
        AtchPrtLnk(l, q);
        return l;
    };
    AtchLnkPrt(TrnPrt, linked(111));
    AtchLnkPrd(TrnPrd, linked(222));
    OutUnit = LenUnit::Mm;
    ASSERT_EQ(ExpXchg(FmtDxf, Path("l.dxf")), 0);
    auto v = Lines("l.dxf");
    EXPECT_EQ(Count(v, "POLYLINE"), 2);
    EXPECT_GE(Find(v, "111.000000"), 0);
    EXPECT_GE(Find(v, "222.000000"), 0);
}

TEST_F(DxfWrTest, RoundTripGivesTheSameCurves) {
    crv* a = NewCrv();
    for (int k = 0; k < 5; ++k) AddPnt(a, 1000.5f * k, -250.25f * k, 12000);
    crv* b = NewCrv();
    AddPnt(b, -3, 4, -500);
    AddPnt(b, 7, 8, -500);
    AddPnt(b, -3, 4, -500);  // closed by repetition: written open, read back the same
    auto pa = std::vector<float>(a->p, a->p + 15), pb = std::vector<float>(b->p, b->p + 9);
    OutUnit = LenUnit::Mm;
    ASSERT_EQ(ExpXchg(FmtDxf, Path("r.dxf")), 0);
    InUnit = LenUnit::Mm;
    ASSERT_EQ(ImpDxf(Path("r.dxf")), 0);
    EXPECT_EQ(Boxes(), 0);
    ASSERT_EQ(NumCrv(), 2);
    EXPECT_EQ(Pts(0), pa);
    EXPECT_EQ(Pts(1), pb);
    // In metres out and in, the same again (to the six decimals written).
    OutUnit = LenUnit::M;
    ASSERT_EQ(ExpXchg(FmtDxf, Path("r2.dxf")), 0);
    InUnit = LenUnit::M;
    ASSERT_EQ(ImpDxf(Path("r2.dxf")), 0);
    ASSERT_EQ(NumCrv(), 2);
    for (size_t i = 0; i < pa.size(); ++i) EXPECT_NEAR(Pts(0)[i], pa[i], 0.01);
}

TEST_F(DxfWrTest, ExportPathsFollowTheFilterRule) {
    EXPECT_EQ(ExpPath(FmtDxf, "a"), "a.dxf");
    EXPECT_EQ(ExpPath(FmtDxf, "a.DXF"), "a.DXF");
    EXPECT_EQ(ExpPath(FmtDxf, "a.txt"), "a.txt.dxf");
    EXPECT_EQ(ExpPath(FmtDxf, "a.txt", false), "a.txt");
    EXPECT_EQ(ExpPath(FmtVrml, "d.x/m"), "d.x/m.wrl");
    EXPECT_EQ(ExpPath(FmtStl, "m.stl"), "m.stl");
    EXPECT_EQ(ExpPath(FmtGld, "dem.txt"), "dem.txt.gld");
    EXPECT_EQ(ImpPath("plan"), "plan.dxf");
    EXPECT_EQ(ImpPath("plan.txt"), "plan.txt");
}

// Fault: an export that cannot create its file must say so and write nothing.
TEST_F(DxfWrTest, UncreatableFileIsReportedAndNothingIsWritten) {
    EXPECT_EQ(ExpXchg(FmtDxf, Path("no/such/folder/x.dxf")), -1);
    ASSERT_EQ(Boxes(), 1);
    EXPECT_EQ(Plt().boxes[0].id, MsgFilOpn);
    // Fault: the message did not say why (here the folder is missing).
    EXPECT_EQ(BoxText(0), Path("no/such/folder/x.dxf") + " ファイルが開けませんでした。\n" + std::strerror(ENOENT));
    // A folder of the target's name is not replaced either.
    std::filesystem::create_directory(Path("d.dxf"));
    EXPECT_EQ(ExpXchg(FmtDxf, Path("d.dxf")), -1);
    EXPECT_TRUE(std::filesystem::is_directory(Path("d.dxf")));
    EXPECT_EQ(Files().size(), 1u);
}

// Fault: a write error (disk full) was not checked: a truncated file was left as if saved and an
// existing file was destroyed.
TEST_F(DxfWrTest, WriteErrorKeepsTheOldFileAndLeavesNoPartialOne) {
    Put("old.dxf", "the user's earlier export\n");
    for (int k = 0; k < 2000; ++k) {
        crv* c = NewCrv();
        AddPnt(c, k, k, k);
        AddPnt(c, k + 1, k, k);
    }
    // The file size limit stands in for a full disk.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    auto prevSig = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = old;
    lim.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &lim);
    int r = ExpXchg(FmtDxf, Path("old.dxf"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, prevSig);
    EXPECT_EQ(r, -1);
    ASSERT_EQ(Boxes(), 1);
    EXPECT_EQ(Plt().boxes[0].id, MsgFilWrt);
    // Fault: message 111 did not say why nor that the old file was kept, as a document save does.
    EXPECT_EQ(BoxText(0), Path("old.dxf") + " ファイルの書き込み中にエラーが発生しました。\n" + std::strerror(EFBIG) +
                              "\n元のファイルは変更されていません。");
    EXPECT_EQ(Get("old.dxf"), "the user's earlier export\n");
    EXPECT_EQ(Files(), std::vector<std::string>{"old.dxf"});
    // Without the limit the same export replaces the file.
    EXPECT_EQ(ExpXchg(FmtDxf, Path("old.dxf")), 0);
    EXPECT_EQ(Count(Lines("old.dxf"), "POLYLINE"), 2000);
}

TEST_F(DxfWrTest, StlSolidsExportAsPolyfaceMeshesOnePerFacet) {
    Put("t.stl", "solid t\n facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n   vertex 1 0 0\n"
                 "   vertex 0 1 0\n  endloop\n endfacet\n facet normal 0 0 1\n  outer loop\n"
                 "   vertex 1 0 0\n   vertex 1 1 0\n   vertex 0 1 0\n  endloop\n endfacet\nendsolid t\n");
    ASSERT_EQ(RdStl(Path("t.stl").c_str()), 0);
    OutUnit = LenUnit::Mm;
    ASSERT_EQ(ExpXchg(FmtDxf, Path("f.dxf")), 0);
    auto v = Lines("f.dxf");
    EXPECT_EQ(Count(v, "POLYLINE"), 2);
    EXPECT_EQ(Count(v, "SEQEND"), 2);
    EXPECT_EQ(Count(v, "192"), 6);
    EXPECT_EQ(Count(v, "128"), 2);
    int f = Find(v, "128");
    EXPECT_EQ(std::vector<std::string>(v.begin() + f + 1, v.begin() + f + 7),
              (std::vector<std::string>{" 71", "1", " 72", "2", " 73", "3"}));
}

}  // namespace
