// Every DXF drawing of the shared corpus is read or refused with a message: never a crash, a
// silent nothing, or curves with coordinates that are not finite.
#include "fuzz/corpus_fixture.h"
#include "doc/xchg_flow.h"
#include "formats/dxf.h"

namespace fs = std::filesystem;

TEST_F(CorpusTest, EveryDxfIsReadOrRefusedWithAMessage) {
    const auto files = CorpusFiles(".dxf");
    if (files.empty()) GTEST_SKIP() << "no corpus in " << CorpusDir();
    int withCurves = 0;
    for (const fs::path& p : files) {
        SCOPED_TRACE(p.string());
        Fresh();
        DxfRdSum sum;
        int r = -2;
        EngGuard([&] { return r = RdDxf(p.string(), DxfRdPrm{}, &sum); });
        EXPECT_EQ(r, 0);
        EXPECT_TRUE(Told());
        ExpectFiniteCurves();
        EXPECT_TRUE(Plt().console.empty());
        withCurves += sum.crv > 0;
    }
    EXPECT_GT(withCurves, 0);  // some of them do hold 3D polylines
}
