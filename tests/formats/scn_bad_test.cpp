// Damaged documents and saves that cannot complete: never a crash, never a half-built scene with
// dangling pointers, never a lost old file, never a failed save that looks like a save.
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <unistd.h>
#include "core/alc.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "doc/doc.h"
#include "formats/scn.h"
#include "formats/scn_fixture.h"
#include "scene/scene.h"
#include "cmd/crv_cmds.h"

namespace {

// A small document with a curve and a 3 x 2 terrain grid.
std::vector<uint8_t> SmallDoc(ScnTest& t) {
    crv* c = NewCrvObj("c");
    AtchCrvPrt(TrnPrt, c);
    AddCrvPnt(c, 0, 0, 100);
    AddCrvPnt(c, 1000, 0, 100);
    srf* s = NewSrf("地形");
    AtchSrfPrt(TrnPrt, s);
    s->nv = 6;
    s->v = static_cast<float*>(AlcMem(18 * 4, "srf->v"));
    s->nrm = static_cast<float*>(AlcMem(18 * 4, "srf->n"));
    for (int i = 0; i < 18; i++) s->v[i] = s->nrm[i] = float(i);
    pgn* g = NewPgn(s);
    g->n = 6;
    g->vtx_id = static_cast<int32_t*>(AlcMem(6 * 4, "vtx_id"));
    for (int i = 0; i < 6; i++) g->vtx_id[i] = i;
    g->rows = 2;
    g->cols = 3;
    g->type = PgnGrd;
    s->mtlIdx = 0;
    s->dspFlg = SrfFlgTrn;
    EXPECT_EQ(WrScn(t.Path("small.scn").c_str()), 0);
    return ReadBytes(t.Path("small.scn"));
}

// Names of the files in the folder.
std::vector<std::string> Files(const std::string& dir) {
    std::vector<std::string> r;
    for (const auto& e : std::filesystem::directory_iterator(dir)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

}  // namespace

// A document cut short at any byte opens as the new-document scene with one message.
TEST_F(ScnTest, EveryTruncationIsDamageNotACrash) {
    const std::vector<uint8_t> full = SmallDoc(*this);
    ASSERT_GT(full.size(), 100u);
    for (size_t n = 0; n < full.size(); n++) {
        WriteBytes(Path("cut.scn"), std::vector<uint8_t>(full.begin(), full.begin() + long(n)));
        Plt().Clear();
        EXPECT_EQ(DocOpen(Path("cut.scn")), DocFailed) << "length " << n;
        ASSERT_EQ(Plt().boxes.size(), 1u) << "length " << n;
        EXPECT_EQ(Plt().boxes[0].id, 199);
        ExpectUsableScene();
        if (HasFatalFailure()) return;
        EXPECT_EQ(TrnPrt->crvs.n, 0) << "length " << n;
        EXPECT_EQ(ModFlg, 0);
        EXPECT_EQ(Doc.title, "無題");
    }
    EXPECT_NE(Plt().boxes[0].text.find("壊れて"), std::string::npos);
    // The whole document still opens.
    WriteBytes(Path("cut.scn"), full);
    Plt().Clear();
    EXPECT_EQ(DocOpen(Path("cut.scn")), DocDone);
    EXPECT_TRUE(Plt().boxes.empty());
    ASSERT_NE(TrnGrd, nullptr);
    EXPECT_EQ(TrnGrd->cols, 3);
    // Its last byte, the view's dimension, is 0 or 1: 2 is damage too.
    for (uint8_t dim : {1, 2}) {
        std::vector<uint8_t> m = full;
        m.back() = dim;
        WriteBytes(Path("cut.scn"), m);
        EXPECT_EQ(DocOpen(Path("cut.scn")), dim == 1 ? DocDone : DocFailed) << int(dim);
    }
}

// Thousands of random byte changes: every result is a usable scene (run under the sanitizers,
// this also proves no leak and no out-of-bounds access).
TEST_F(ScnTest, RandomByteChangesNeverCrash) {
    const std::vector<uint8_t> full = SmallDoc(*this);
    std::mt19937 rng(20261209);
    int damaged = 0, opened = 0;
    for (int round = 0; round < 2000; round++) {
        std::vector<uint8_t> b = full;
        const int changes = 1 + int(rng() % 4);
        for (int k = 0; k < changes; k++) {
            // Past the header most of the time, where the counts and names are.
            size_t at = rng() % 8 ? 32 + rng() % (b.size() - 32) : rng() % b.size();
            b[at] = rng() % 3 ? static_cast<uint8_t>(rng()) : static_cast<uint8_t>(b[at] ^ 0x80);
        }
        WriteBytes(Path("mut.scn"), b);
        Plt().Clear();
        const int r = DocOpen(Path("mut.scn"));
        (r == DocDone ? opened : damaged)++;
        ExpectUsableScene();
        if (HasFatalFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
        // The scene stays workable: its commands run on it.
        Redraw();
    }
    EXPECT_GT(damaged, 100);
    EXPECT_GT(opened, 100);
}

// Counts far beyond the file are refused before anything is allocated.
TEST_F(ScnTest, HugeCountsAreRefused) {
    std::vector<uint8_t> b = SmallDoc(*this);
    long at = Find(b, {0, 0, 0, 2, 'c', 0});  // the curve's name
    ASSERT_GT(at, 0);
    for (uint32_t n : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 1000000u}) {
        std::vector<uint8_t> m = b;
        for (int i = 0; i < 4; i++) m[size_t(at) + 6 + size_t(i)] = uint8_t(n >> (24 - 8 * i));
        WriteBytes(Path("huge.scn"), m);
        Plt().Clear();
        EXPECT_EQ(DocOpen(Path("huge.scn")), DocFailed);
        ASSERT_EQ(Plt().boxes.size(), 1u);
        ExpectUsableScene();
    }
    // A name longer than its buffer, and one without its zero byte.
    for (std::vector<uint8_t> patch : {std::vector<uint8_t>{0, 0, 1, 1}, std::vector<uint8_t>{0, 0, 0, 1}}) {
        std::vector<uint8_t> m = b;
        std::copy(patch.begin(), patch.end(), m.begin() + at);
        WriteBytes(Path("name.scn"), m);
        Plt().Clear();
        EXPECT_EQ(DocOpen(Path("name.scn")), DocFailed);
        ExpectUsableScene();
    }
}

// A grid whose indexes leave the vertex array would send editing out of bounds: it is damage.
TEST_F(ScnTest, GridIndexesOutsideTheVerticesAreDamage) {
    std::vector<uint8_t> b = SmallDoc(*this);
    long at = Find(b, {0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2});
    ASSERT_GT(at, 0);
    b[size_t(at) + 7] = 9;  // index 9 of 6 vertices
    WriteBytes(Path("idx.scn"), b);
    EXPECT_EQ(DocOpen(Path("idx.scn")), DocFailed);
    ExpectUsableScene();
    EXPECT_EQ(TrnGrd, nullptr);
}

// A file that cannot be opened is reported and the present document stays as it was.
TEST_F(ScnTest, MissingFileKeepsTheDocument) {
    crv* c = NewCrvObj("mine");
    AtchCrvPrt(TrnPrt, c);
    EXPECT_EQ(DocOpen(Path("nothere")), DocFailed);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 110);
    EXPECT_EQ(Plt().boxes[0].text, "nothere.scn ファイルが開けませんでした。");
    EXPECT_EQ(TrnPrt->crvs.n, 1);
}

// A save that cannot be written: the old file is untouched, no temporary file stays, the message
// names the file and the reason, and the document is still marked modified.
TEST_F(ScnTest, FailedSaveKeepsTheOldFile) {
    ASSERT_EQ(DocSaveAs(Path("doc.scn")), DocDone);
    const std::vector<uint8_t> old = ReadBytes(Path("doc.scn"));
    crv* c = NewCrvObj("big");
    AtchCrvPrt(TrnPrt, c);
    for (int i = 0; i < 2000; i++) AddCrvPnt(c, float(i), 0, 0);
    ASSERT_EQ(ModFlg, 1);

    // The disk fills up: writes beyond a file-size limit fail.
    struct rlimit keep;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &keep), 0);
    auto prevSig = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = keep;
    lim.rlim_cur = old.size() + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &lim), 0);
    Plt().Clear();
    const int r = DocSave();
    setrlimit(RLIMIT_FSIZE, &keep);
    std::signal(SIGXFSZ, prevSig);

    EXPECT_EQ(r, DocFailed);
    EXPECT_EQ(ReadBytes(Path("doc.scn")), old);
    EXPECT_EQ(Files(Dir()), std::vector<std::string>{"doc.scn"});
    EXPECT_EQ(ModFlg, 1);
    // Save asks nothing about the document's own file: the one box is the error.
    ASSERT_EQ(Plt().boxes.size(), 1u);
    const std::string& e = Plt().boxes[0].text;
    EXPECT_NE(e.find(Path("doc.scn")), std::string::npos) << e;
    EXPECT_NE(e.find("File too large"), std::string::npos) << e;
    EXPECT_NE(e.find("元のファイルは変更されていません"), std::string::npos) << e;
}

// Saving where no file can be made (a missing folder, /proc) fails with the reason.
TEST_F(ScnTest, SaveToAnImpossiblePlace) {
    ModFlg = 1;
    for (const std::string& p : {Path("no/such/dir/x.scn"), std::string("/proc/alt-test.scn")}) {
        Plt().Clear();
        EXPECT_EQ(DocSaveAs(p), DocFailed) << p;
        ASSERT_EQ(Plt().boxes.size(), 1u);
        EXPECT_NE(Plt().boxes[0].text.find(p), std::string::npos);
        EXPECT_EQ(ModFlg, 1);
        EXPECT_EQ(Doc.title, "無題");
    }
    EXPECT_NE(Plt().boxes[0].text.find("No such file"), std::string::npos) << Plt().boxes[0].text;
    EXPECT_FALSE(std::filesystem::exists("/proc/alt-test.scn"));
    if (geteuid() != 0) {
        // A read-only folder (only meaningful without root's rights).
        ASSERT_EQ(DocSaveAs(Path("ro/x.scn")), DocFailed);
    }
}

// Save on the document's own file asks nothing (asking to overwrite it every time was a fault)
// and writes it. Save without a file name needs Save As.
TEST_F(ScnTest, SaveQuestions) {
    EXPECT_EQ(DocSave(), DocNeedName);
    ASSERT_EQ(DocSaveAs(Path("q.txt")), DocDone);
    EXPECT_EQ(Doc.title, Path("q.txt.scn"));
    const std::vector<uint8_t> old = ReadBytes(Path("q.txt.scn"));
    crv* c = NewCrvObj("new");
    AtchCrvPrt(TrnPrt, c);
    Plt().Clear();
    EXPECT_EQ(DocSave(), DocDone);
    EXPECT_TRUE(Plt().boxes.empty());
    const std::vector<uint8_t> saved = ReadBytes(Path("q.txt.scn"));
    EXPECT_NE(saved, old);
    EXPECT_EQ(ModFlg, 0);
    AtchCrvPrt(TrnPrt, NewCrvObj("more"));
    ModFlg = 1;
    // Unsaved changes: Cancel stops, No goes on, Yes saves first.
    Plt().Answer(plt::AnsCancel);
    EXPECT_EQ(DocAskSave(), DocCancelled);
    Plt().Answer(plt::AnsNo);
    EXPECT_EQ(DocAskSave(), DocDone);
    Plt().Answer(plt::AnsYes);
    EXPECT_EQ(DocAskSave(), DocDone);
    EXPECT_EQ(ModFlg, 0);
    EXPECT_NE(ReadBytes(Path("q.txt.scn")), saved);
    // Opening from the command line loads only scene files.
    DocNew();
    EXPECT_EQ(DocOpenArg(Path("q.dxf")), DocDone);
    EXPECT_EQ(TrnPrt->crvs.n, 0);
    EXPECT_EQ(DocOpenArg(Path("q.txt.scn")), DocDone);
    EXPECT_EQ(TrnPrt->crvs.n, 2);
    EXPECT_EQ(Doc.title, Path("q.txt.scn"));
}

// Fault (mutation left alive): a grid vertex index equal to the vertex count was accepted, an
// index one past the surface's vertices.
TEST_F(ScnTest, VertexIndexEqualToTheVertexCountIsDamage) {
    std::vector<uint8_t> b = SmallDoc(*this);
    const long at = Find(b, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5});
    ASSERT_GT(at, 0);
    for (uint8_t last : {uint8_t(6), uint8_t(4)}) {
        SCOPED_TRACE(int(last));
        std::vector<uint8_t> m = b;
        m[size_t(at) + 23] = last;
        WriteBytes(Path("idx.scn"), m);
        Plt().Clear();
        if (last == 6) {
            EXPECT_EQ(DocOpen(Path("idx.scn")), DocFailed);
            ASSERT_EQ(Plt().boxes.size(), 1u);
            EXPECT_EQ(TrnPrt->crvs.n, 0);
        } else {
            EXPECT_EQ(DocOpen(Path("idx.scn")), DocDone);  // the last index in range opens
            ASSERT_NE(TrnGrd, nullptr);
            EXPECT_EQ(TrnGrd->vtx_id[5], 4);
        }
        ExpectUsableScene();
    }
}
