// Every ASCII STL of the shared corpus is read or refused with a box.
//
// Disabled: the STL reader takes a file without a solid or a facet (here admesh's block.stl,
// whose first line " solid PRO2STL" starts with a blank) without a word and leaves an empty part.
// Enable with the reader's box for such files.
#include "fuzz/corpus_fixture.h"
#include "formats/stl.h"

namespace fs = std::filesystem;

TEST_F(CorpusTest, DISABLED_EveryStlIsReadOrRefusedWithAMessage) {
    const auto files = CorpusFiles(".stl");
    if (files.empty()) GTEST_SKIP() << "no corpus in " << CorpusDir();
    for (const fs::path& p : files) {
        SCOPED_TRACE(p.string());
        Fresh();
        StlRdSum sum;
        int r = -2;
        EngGuard([&] { return r = RdStlSum(p.string(), &sum); });
        EXPECT_EQ(r, 0);
        // These are all meshes: facets read, or a box saying why not.
        EXPECT_TRUE(sum.facets > 0 || !Plt().boxes.empty()) << sum.facets;
        EXPECT_TRUE(Plt().console.empty());
    }
}
