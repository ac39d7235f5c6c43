// Every ASCII STL of the shared corpus is read or refused with a box.
// Fault: a file without a facet (admesh's block.stl, whose first line " solid PRO2STL" starts with
// a blank) was taken without a word and left an empty part.
#include "fuzz/corpus_fixture.h"
#include "doc/xchg_flow.h"
#include "formats/stl.h"

namespace fs = std::filesystem;

TEST_F(CorpusTest, EveryStlIsReadOrRefusedWithAMessage) {
    const auto files = CorpusFiles(".stl");
    if (files.empty()) GTEST_SKIP() << "no corpus in " << CorpusDir();
    for (const fs::path& p : files) {
        SCOPED_TRACE(p.string());
        Fresh();
        StlRdSum sum;
        int r = -2;
        EngGuard([&] { return r = RdStlSum(p.string(), &sum); });
        // These are all meshes: facets read, or refused with a box saying why not.
        EXPECT_TRUE((r == 0 && sum.facets > 0) || (r != 0 && !Plt().boxes.empty())) << r << " " << sum.facets;
        EXPECT_TRUE(Plt().console.empty());
    }
}
