// The engine's one file writer: files staged under temporary names beside their targets and
// committed together, or not at all.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include "formats/outfile.h"
#include "support/engine_fixture.h"

namespace fs = std::filesystem;

namespace {

class OutSetTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        fs::create_directory(W(""));
    }
    // A path in a folder of the test's own.
    std::string W(const std::string& name) const { return Path("w/" + name); }
    static std::string Slurp(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Spit(const std::string& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }
    // Stages target in set and writes text into the temporary.
    static bool StageText(OutSet& set, const std::string& target, const std::string& text) {
        int fd = set.Stage(target);
        if (fd < 0) return false;
        bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        return close(fd) == 0 && ok;
    }
    // Names in the scratch folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> v;
        for (const auto& e : fs::directory_iterator(W(""))) v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }
};

}  // namespace

// Three files of one dataset replace the old ones and create the new one; nothing else is left.
TEST_F(OutSetTest, SeveralFilesCommitTogether) {
    Spit(W("d.shp"), "old shp");
    Spit(W("d.dbf"), "old dbf");
    {
        OutSet set;
        ASSERT_TRUE(StageText(set, W("d.dbf"), "new dbf"));
        ASSERT_TRUE(StageText(set, W("d.shx"), "new shx"));
        ASSERT_TRUE(StageText(set, W("d.shp"), "new shp"));
        // Until the commit the targets hold what they held.
        EXPECT_EQ(Slurp(W("d.shp")), "old shp");
        EXPECT_FALSE(fs::exists(W("d.shx")));
        ASSERT_TRUE(set.Commit()) << set.Reason();
    }
    EXPECT_EQ(Slurp(W("d.shp")), "new shp");
    EXPECT_EQ(Slurp(W("d.dbf")), "new dbf");
    EXPECT_EQ(Slurp(W("d.shx")), "new shx");
    EXPECT_EQ(Names(), (std::vector<std::string>{"d.dbf", "d.shp", "d.shx"}));
}

// The last file cannot take its place (its target is a folder with content): every target keeps
// its old file, no temporary or set-aside copy stays, and the reason is given.
TEST_F(OutSetTest, OneFileFailingLeavesEveryTargetAsItWas) {
    Spit(W("g.dbf"), "old dbf");
    fs::create_directory(W("g.shp"));
    Spit(W("g.shp/inside"), "x");
    OutSet set;
    ASSERT_TRUE(StageText(set, W("g.dbf"), "new dbf"));
    ASSERT_TRUE(StageText(set, W("g.shx"), "new shx"));
    // A library wrote the main file under its own temporary name.
    Spit(W("g.part.shp"), "new shp");
    set.Adopt(W("g.part.shp"), W("g.shp"));
    EXPECT_FALSE(set.Commit());
    EXPECT_FALSE(set.Reason().empty());
    EXPECT_EQ(Slurp(W("g.dbf")), "old dbf");
    EXPECT_TRUE(fs::is_directory(W("g.shp")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"g.dbf", "g.shp"}));
}

// A set dropped before its commit removes its temporaries and touches no target.
TEST_F(OutSetTest, UncommittedSetLeavesNothing) {
    Spit(W("a.txt"), "old");
    {
        OutSet set;
        ASSERT_TRUE(StageText(set, W("a.txt"), "new"));
        ASSERT_TRUE(StageText(set, W("b.txt"), "new"));
    }
    EXPECT_EQ(Slurp(W("a.txt")), "old");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt"}));
}

// A folder that does not exist or a target that is a folder is refused at once, with the reason;
// the set is then refused whole. Regression: a commit after a refused stage used to report the
// dataset saved while one of its files was missing.
TEST_F(OutSetTest, StageRefusesMissingFolderAndFolderTargetAndTheSetWithThem) {
    Spit(W("a.txt"), "old");
    OutSet set;
    ASSERT_TRUE(StageText(set, W("a.txt"), "new"));
    EXPECT_LT(set.Stage(W("no-such-folder/x.txt")), 0);
    const std::string why = set.Reason();
    EXPECT_NE(why.find("No such file"), std::string::npos) << why;
    fs::create_directory(W("sub"));
    EXPECT_LT(set.Stage(W("sub")), 0);
    EXPECT_FALSE(set.Reason().empty());
    EXPECT_FALSE(set.Commit());
    EXPECT_FALSE(set.Reason().empty());
    EXPECT_EQ(Slurp(W("a.txt")), "old");
    EXPECT_TRUE(fs::is_directory(W("sub")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "sub"}));

    OutSet none;
    EXPECT_TRUE(none.Commit());  // nothing staged: nothing to do
}

// Text output keeps the permissions of the file it replaces and says why it could not start.
TEST_F(OutSetTest, OutFileKeepsTheModeOfTheFileItReplaces) {
    Spit(W("m.txt"), "old");
    ASSERT_EQ(chmod(W("m.txt").c_str(), 0640), 0);
    OutFile o;
    ASSERT_EQ(o.Open(W("m.txt")), OutOk);
    o.Line("new");
    ASSERT_EQ(o.Commit(), OutOk);
    struct stat st;
    ASSERT_EQ(stat(W("m.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Slurp(W("m.txt")), "new\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"m.txt"}));

    OutFile bad;
    EXPECT_EQ(bad.Open(W("none/m.txt")), OutOpenErr);
    EXPECT_NE(bad.Reason().find("No such file"), std::string::npos) << bad.Reason();
}
