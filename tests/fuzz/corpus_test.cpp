// Every file of the shared corpus (DXF drawings and ASCII STL meshes of other projects' test
// suites) is read or refused with a message: never a crash, a silent nothing, or a scene with
// coordinates that are not finite.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include "core/alc.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "file/doc.h"
#include "file/dxf.h"
#include "file/stl.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "support/engine_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string CorpusDir() {
    const char* e = std::getenv("ALT_SHARED_DIR");
    return std::string(e && *e ? e : ALT_SHARED_DIR) + "/corpus";
}

std::vector<fs::path> CorpusFiles(const char* ext) {
    std::vector<fs::path> r;
    if (!fs::is_directory(CorpusDir())) return r;
    for (const auto& e : fs::recursive_directory_iterator(CorpusDir())) {
        std::string x = e.path().extension().string();
        for (char& c : x) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (e.is_regular_file() && x == ext) r.push_back(e.path());
    }
    std::sort(r.begin(), r.end());
    return r;
}

}  // namespace

class CorpusTest : public EngineTest {
public:
    // A fresh start-up scene, boxes and message lines forgotten.
    void Fresh() {
        DocRstScn();
        IniScn();
        IniTrnScn();
        ClrMsg();
        Plt().Clear();
    }
    bool Told() { return !Plt().boxes.empty() || MsgLinNum > 0; }
    // Curve points must be finite: a reader must never store what it could not parse.
    static void ExpectFiniteCurves() {
        for (int i = 0; CrvPart && i < CrvPart->crvs.n; i++) {
            const crv* c = CrvPart->crvs.a[i];
            for (int k = 0; k < 3 * c->n; k++) ASSERT_TRUE(std::isfinite(c->p[k])) << "curve " << i;
        }
    }
};

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

TEST_F(CorpusTest, EveryStlIsReadOrRefusedWithAMessage) {
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
