// Codec faults that slipped past the other tests: descriptors left open by saves, the longest
// name a document stores, a DXF whose first line outgrows the read buffer, documents larger than
// the writer's buffer.
#include <filesystem>
#include <string>
#include "doc/doc.h"
#include "formats/dxf.h"
#include "formats/scn.h"
#include "formats/xchg_fixture.h"

namespace {

class FormatsFault : public XchgTest {
public:
    static int OpenFds() {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) n += !e.path().empty();
        return n;
    }
    static float Wave(float x, float y) { return 1000.0f + 0.25f * x - 0.5f * y; }
};

}  // namespace

// Every save and export, done many times, leaves no file descriptor open (making a file
// durable opened one and kept it).
TEST_F(FormatsFault, SavesAndExportsLeaveNoFileOpen) {
    Grid(0, 0, 40000, 40000, 10000, Wave);
    const int before = OpenFds();
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(DocSaveAs(Path("d.scn")), DocDone);
        for (int f : {FmtDxf, FmtVrml, FmtStl, FmtGld}) {
            SCOPED_TRACE(f);
            ASSERT_EQ(ExpXchg(f, Path("e" + std::to_string(f))), 0);
        }
    }
    EXPECT_EQ(OpenFds(), before);
}

// A name of the longest length a document stores (255 bytes) is kept whole without a word; one
// byte more is cut to that length and the user is told.
TEST_F(FormatsFault, LongestStoredNameIsKeptWholeAndOneMoreIsCut) {
    const std::string fits(ScnNamMax - 1, 'a'), over(ScnNamMax, 'b');
    for (const std::string& n : {fits, over}) {
        SCOPED_TRACE(n.size());
        DocNew();
        Plt().Clear();
        crv* c = NewCrvObj(n.c_str());
        AtchCrvPrt(TrnPrt, c);
        AddCrvPnt(c, 1, 2, 3);
        ASSERT_EQ(DocSaveAs(Path("n.scn")), DocDone);
        const bool cut = n.size() > ScnNamMax - 1;
        EXPECT_EQ(Plt().boxes.size(), cut ? 1u : 0u);
        DocNew();
        ASSERT_EQ(DocOpen(Path("n.scn")), DocDone);
        ASSERT_EQ(TrnPrt->crvs.n, 1);
        EXPECT_EQ(std::string(TrnPrt->crvs.a[0]->name), n.substr(0, ScnNamMax - 1));
    }
}

// A drawing whose very first line is longer than the read buffer (2 MB of padding after the
// first group code): the line is cut and everything after it read (the reader once took the
// full buffer for the end of the file).
TEST_F(FormatsFault, DxfFirstLineLongerThanTheReadBufferIsCutAndTheRestRead) {
    const std::string body = "0\nLINE\n8\n0\n10\n1\n20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n";
    Put("long.dxf", "0" + std::string(2 << 20, ' ') + "\nSECTION\n2\nENTITIES\n" + body +
                        "0\nENDSEC\n0\nEOF\n");
    DxfRdSum sum;
    DxfRdPrm p;
    ASSERT_EQ(RdDxf(Path("long.dxf"), p, &sum), 0);
    ASSERT_EQ(NumCrv(), 1);
    EXPECT_EQ(Pts(0), (std::vector<float>{1, 2, 3, 4, 5, 6}));
}

// A terrain whose vertices fill more than the writer's buffer (1 MB) comes back whole: every
// height, the last vertex included.
TEST_F(FormatsFault, TerrainLargerThanTheWriteBufferRoundTrips) {
    Grid(0, 0, 3000000, 3000000, 10000, Wave);
    ASSERT_GT(12LL * TrnSrf->nv, 1LL << 20);
    const int nv = TrnSrf->nv;
    std::vector<float> v(TrnSrf->v, TrnSrf->v + 3 * nv);
    ASSERT_EQ(DocSaveAs(Path("big.scn")), DocDone);
    DocNew();
    ASSERT_EQ(DocOpen(Path("big.scn")), DocDone);
    ASSERT_NE(TrnSrf, nullptr);
    ASSERT_EQ(TrnSrf->nv, nv);
    int bad = 0;
    for (int i = 0; i < 3 * nv; ++i) bad += TrnSrf->v[i] != v[i];
    EXPECT_EQ(bad, 0);
}
