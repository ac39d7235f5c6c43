// Command-line faults that slipped past the other tests: the contour text import of journals,
// the batch command's help, the map placement setting.
#include <gtest/gtest.h>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "core/cmd.h"
#include "curves/crv.h"
#include "dem.h"
#include "display/dsp_cmd.h"
#include "journal.h"
#include "support/engine_fixture.h"
#include "terrain/trn_mth.h"
#include "vectorize/vec.h"

namespace {

struct Cap : jrn::Host {
    std::string out, err;
    void Print(const std::string& s) override { out += s; }
    void Error(const std::string& s) override { err += s; }
    bool Resize(int, int) override { return true; }
};

// Journals on the engine the fixture started.
class CliFault : public EngineTest {
public:
    int Run(const std::string& text) {
        std::istringstream in(text);
        jrn::Options o;
        o.startEngine = false;
        o.endEngine = false;
        cap = Cap{};
        return jrn::Run(in, cap, o);
    }
    static int NCrv() { return CrvPart ? CrvPart->crvs.n : 0; }
    Cap cap;
};

}  // namespace

// "import contours": one curve per "curve N H" block at its height, other lines ignored, the
// view redrawn; a file cut short or missing is reported with the line or the system's reason.
TEST_F(CliFault, ImportContoursMakesACurvePerBlockAndRedraws) {
    std::ofstream(Path("c.txt")) << "contours of a test\ncurve 3 100\n0 0\n10 0\n20 5\n"
                                    "curve 0 7\ncurve 2 200.5\n0 10\n10 10\n";
    const int before = NCrv();
    ClearCmds();
    EXPECT_EQ(Run("import contours " + Path("c.txt") + "\n"), 0);
    EXPECT_EQ(cap.err, "");
    ASSERT_EQ(NCrv(), before + 2);
    const crv* a = CrvPart->crvs.a[before];
    const crv* b = CrvPart->crvs.a[before + 1];
    ASSERT_EQ(a->n, 3);
    ASSERT_EQ(b->n, 2);
    EXPECT_FLOAT_EQ(a->p[3 * 2], 20);
    EXPECT_FLOAT_EQ(a->p[3 * 2 + 1], 5);
    for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(a->p[3 * k + 2], 100);
    EXPECT_FLOAT_EQ(b->p[2], 200.5f);
    EXPECT_GE(CountCmd(CatDsp, CmdRdrwAll), 1);

    std::ofstream(Path("short.txt")) << "curve 3 100\n0 0\n10 0\n";
    Run("import contours " + Path("short.txt") + "\n");
    EXPECT_NE(cap.err.find("short or malformed at line 3"), std::string::npos) << cap.err;
    Run("import contours " + Path("gone.txt") + "\n");
    EXPECT_NE(cap.err.find(std::strerror(ENOENT)), std::string::npos) << cap.err;
}

// The batch command's help names every generation method with its number and description.
TEST(CliDem, HelpListsEveryMethod) {
    std::vector<std::string> args = {"altimetra-cli", "dem", "--help"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    testing::internal::CaptureStdout();
    const int rc = jrn::DemMain(static_cast<int>(argv.size()), argv.data());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(rc, 0);
    for (const TrnMethodInfo& t : TrnMethods) {
        SCOPED_TRACE(t.name);
        const size_t at = out.find(std::string(" ") + t.name + " ");
        ASSERT_NE(at, std::string::npos) << out;
        const std::string line = out.substr(at, out.find('\n', at) - at);
        EXPECT_NE(line.find(" " + std::to_string(static_cast<int>(t.kind)) + "  "), std::string::npos) << line;
        EXPECT_NE(line.find(t.desc), std::string::npos) << line;
    }
}

// "set VecOrg": two numbers place the map, "none" goes back to the centred map, anything else
// is a malformed line that leaves the placement as it was.
TEST_F(CliFault, MapPlacementTakesTwoNumbersOrNone) {
    const double keep[2] = {VecOrg[0], VecOrg[1]};
    const uint8_t keepOn = VecOrgOn;
    EXPECT_EQ(Run("set VecOrg 5 -6.5\n"), 0);
    EXPECT_EQ(VecOrgOn, 1);
    EXPECT_EQ(VecOrg[0], 5);
    EXPECT_EQ(VecOrg[1], -6.5);
    for (const char* bad : {"set VecOrg 1 x\n", "set VecOrg 1\n", "set VecOrg 1 2e16\n"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Run(bad), jrn::StMalformed);
        EXPECT_NE(cap.err.find("set VecOrg: "), std::string::npos) << cap.err;
        EXPECT_EQ(VecOrgOn, 1);
        EXPECT_EQ(VecOrg[0], 5);
    }
    EXPECT_EQ(Run("set VecOrg none\n"), 0);
    EXPECT_EQ(VecOrgOn, 0);
    VecOrg[0] = keep[0];
    VecOrg[1] = keep[1];
    VecOrgOn = keepOn;
}
