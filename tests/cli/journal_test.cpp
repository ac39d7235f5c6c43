// The journal runner driven through jrn::Run: verbs, malformed lines, hosts, the console platform.
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include "support/restore.h"
#include "console_plt.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "curves/crv.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "doc/filnam.h"
#include "formats/xchg.h"
#include "journal.h"
#include "terrain/trn.h"
#include "cmd/undo.h"

namespace {

// Collects what the run prints. Resize is reported to the test instead of the engine so that
// the output holds only what the journal itself produces.
struct CapHost : jrn::Host {
    std::string out, err;
    std::vector<std::pair<int, int>> sizes;
    bool ownResize = true;
    std::vector<std::string> shots;
    bool canShot = false, shotOk = true;
    int idles = 0;

    void Print(const std::string& s) override { out += s; }
    void Error(const std::string& s) override { err += s; }
    bool Resize(int w, int h) override {
        sizes.emplace_back(w, h);
        return ownResize;
    }
    bool CanSnapshot() override { return canShot; }
    bool Snapshot(const std::string& path, std::string* e) override {
        shots.push_back(path);
        if (!shotOk) *e = "disk full";
        return shotOk;
    }
    void Idle() override { ++idles; }
};

// Runs the text without starting or ending the engine: only the runner is under test.
int RunBare(const std::string& text, CapHost& h) {
    std::istringstream in(text);
    jrn::Options o;
    o.startEngine = false;
    o.endEngine = false;
    return jrn::Run(in, h, o);
}

}  // namespace

TEST(JournalRun, EchoCommentsAndBlankLines) {
    CapHost h;
    EXPECT_EQ(RunBare("# heading\n\necho  a   \"b  c\"  \"\"\necho\necho 日本語 # note\n", h), 0);
    EXPECT_EQ(h.out, "a b  c \n\n日本語\n");
    EXPECT_EQ(h.err, "");
    EXPECT_EQ(h.idles, 3);  // once per line that does something
    EXPECT_EQ(h.sizes, (std::vector<std::pair<int, int>>{{800, 600}}));
}

TEST(JournalRun, MalformedLineStopsTheRun) {
    struct {
        const char* line;
        const char* msg;
    } cases[] = {
        {"frobnicate 1", "unknown verb frobnicate"},
        {"cmd 1", "missing argument to cmd"},
        {"cmd 1 2 3", "too many arguments to cmd"},
        {"cmd 1 10x", "'10x' is not an integer"},
        {"ptr 1.5 2", "'1.5' is not an integer"},
        {"window 0 600", "window: 0 outside 1..32767"},
        {"drag 1 2 3", "missing argument to drag"},
        {"drag 1 2 3 4 -1", "drag: -1 outside 0..1000000"},
        {"key 300", "key: 300 outside 0..255"},
        {"tick 1 2", "too many arguments to tick"},
        {"answer", "missing argument to answer"},
        {"answer yes maybe", "'maybe' is not an answer (ok, yes, no, cancel)"},
        {"set", "missing argument to set"},
        {"set NoSuchThing 1", "unknown parameter NoSuchThing"},
        {"set PickAp", "set PickAp: expects 1 value, got 0"},
        {"set PickAp 0", "set PickAp: value 0 outside 1..100"},
        {"set FltrAng 95", "set FltrAng: value 95 outside 0..90"},
        {"set SlpThr 60 45 30", "set SlpThr: expects 4 values, got 3"},
        {"set IntpPrph x", "set IntpPrph: 'x' is not an integer"},
        {"set CrvScl 0", "set CrvScl: value 0 outside 1e-11..1e+11"},
        {"set BoxUpdOn 2", "set BoxUpdOn: value 2 outside 0..1"},
        {"dump", "missing argument to dump"},
        {"dump nothing", "unknown dump kind nothing"},
        {"dump mode extra", "too many arguments to dump"},
        {"file", "missing argument to file"},
        {"file \"a b", "unterminated quoted word"},
        {"snapshot view.png", "snapshot needs a view (altimetra --journal)"},
    };
    for (auto& c : cases) {
        CapHost h;
        std::string text = "echo before\n# comment\n" + std::string(c.line) + "\necho after\n";
        EXPECT_EQ(RunBare(text, h), jrn::StMalformed) << c.line;
        EXPECT_EQ(h.out, "before\n") << c.line;
        EXPECT_EQ(h.err, "journal:3: " + std::string(c.msg) + "\n") << c.line;
    }
}

TEST(JournalRun, RefusedSetLeavesTheValue) {
    float fa = FltrAng;
    float rg[6];
    std::copy(TrnRgn, TrnRgn + 6, rg);
    CapHost h;
    EXPECT_EQ(RunBare("set FltrAng -1\n", h), jrn::StMalformed);
    EXPECT_EQ(FltrAng, fa);
    EXPECT_EQ(RunBare("set TrnRgn 0 0 100 abc\n", h), jrn::StMalformed);
    EXPECT_TRUE(std::equal(rg, rg + 6, TrnRgn));
}

TEST(JournalRun, SetStoresEngineValues) {
    // Other tests share the engine: every value set here comes back at the end.
    Restore keep1(PickAp);
    Restore keep2(SetWrk.pickAp);
    Restore keep3(CnctDst);
    Restore keep4(SetWrk.cnctDst);
    Restore keep5(TrnRgn);
    Restore keep6(SlpThr);
    Restore keep7(MshItv);
    Restore keep8(CrsAngNum);
    Restore keep9(CrsLenScl);
    Restore keep10(SamHgtDst);
    Restore keep11(FltrAng);
    Restore keep12(IntpPrph);
    Restore keep13(SlpMode);
    Restore keep14(SlpDsp);
    Restore keep15(UndoOn);
    Restore keep16(UndoCutOn);
    Restore keep17(BoxUpdOn);
    Restore keep18(CrvHgt);
    Restore keep19(CrvScl);
    Restore keep20(CrvRot);
    Restore keep21(HgtRng);
    float rg2 = TrnRgn[2];

    CapHost h;
    EXPECT_EQ(RunBare("set PickAp 7\nset CnctDst 12.5\nset TrnRgn -100 -200.5 300 400\n"
                      "set MshItv 250\nset CrsAngNum 4\nset CrsLenScl 0.1\nset SamHgtDst 1000\n"
                      "set FltrAng 30\nset IntpPrph 1\nset SlpThr 50 40 30 20\nset SlpMode 1\n"
                      "set SlpDsp 1\nset UndoOn 0\nset UndoCutOn 0\nset BoxUpdOn 0\n"
                      "set CrvHgt -120.5\nset CrvScl 2e-3\nset CrvRot -30\nset HgtRng 250\n",
                      h),
              0);
    EXPECT_EQ(h.err, "");
    EXPECT_EQ(PickAp, 7);
    EXPECT_EQ(SetWrk.pickAp, 7);
    EXPECT_DOUBLE_EQ(CnctDst, 12.5);
    EXPECT_DOUBLE_EQ(SetWrk.cnctDst, 12.5);
    EXPECT_FLOAT_EQ(TrnRgn[0], -100);
    EXPECT_FLOAT_EQ(TrnRgn[1], -200.5);
    EXPECT_FLOAT_EQ(TrnRgn[2], rg2);  // heights untouched
    EXPECT_FLOAT_EQ(TrnRgn[3], 300);
    EXPECT_FLOAT_EQ(TrnRgn[4], 400);
    EXPECT_FLOAT_EQ(MshItv, 250);
    EXPECT_EQ(CrsAngNum, 4);
    EXPECT_FLOAT_EQ(CrsLenScl, 0.1f);
    EXPECT_FLOAT_EQ(SamHgtDst, 1000);
    EXPECT_FLOAT_EQ(FltrAng, 30);
    EXPECT_EQ(IntpPrph, 1);
    EXPECT_FLOAT_EQ(SlpThr[0], 50);
    EXPECT_FLOAT_EQ(SlpThr[3], 20);
    EXPECT_EQ(SlpMode, 1);
    EXPECT_EQ(SlpDsp, 1);
    EXPECT_EQ(UndoOn, 0);
    EXPECT_EQ(UndoCutOn, 0);
    EXPECT_EQ(BoxUpdOn, 0);
    EXPECT_FLOAT_EQ(CrvHgt, -120.5f);
    EXPECT_FLOAT_EQ(CrvScl, 0.002f);
    EXPECT_FLOAT_EQ(CrvRot, -30);
    EXPECT_FLOAT_EQ(HgtRng, 250);

}

// The journal numbers the file units as their dialogs list them (0 km, 1 m, 2 cm, 3 mm): each
// number gives its unit, and a number beyond the list is refused and leaves the unit.
TEST(JournalRun, FileUnitsKeepTheirDialogNumbers) {
    Restore keepIn(InUnit);
    Restore keepOut(OutUnit);
    const LenUnit want[] = {LenUnit::Km, LenUnit::M, LenUnit::Cm, LenUnit::Mm};
    for (int n = 0; n < 4; n++) {
        SCOPED_TRACE(n);
        CapHost h;
        const std::string k = std::to_string(n);
        EXPECT_EQ(RunBare("set InUnit " + k + "\nset OutUnit " + k + "\n", h), 0);
        EXPECT_EQ(InUnit, want[n]);
        EXPECT_EQ(OutUnit, want[n]);
        EXPECT_EQ(ItemOfUnit(InUnit, true), n);  // back to the number it came from
    }
    EXPECT_DOUBLE_EQ(InUnitFct(LenUnit::Km), 1000000.0);
    EXPECT_DOUBLE_EQ(OutUnitFct(LenUnit::Km), 0.000001);
    EXPECT_DOUBLE_EQ(OutUnitFct(LenUnit::Cm), 0.1);
    CapHost h;
    EXPECT_EQ(RunBare("set InUnit 4\n", h), jrn::StMalformed);
    EXPECT_EQ(RunBare("set OutUnit -1\n", h), jrn::StMalformed);
    EXPECT_EQ(InUnit, LenUnit::Mm);
    EXPECT_EQ(OutUnit, LenUnit::Mm);
}

TEST(JournalRun, FileNameBuffer) {
    CapHost h;
    EXPECT_EQ(RunBare("file \"maps/north sheet.scn\"\n", h), 0);
    EXPECT_STREQ(FilNam, "maps/north sheet.scn");
    // A path that does not fit is refused and the buffer keeps the last one.
    EXPECT_EQ(RunBare("file " + std::string(FilNamLen, 'x') + "\n", h), jrn::StMalformed);
    EXPECT_STREQ(FilNam, "maps/north sheet.scn");
    EXPECT_EQ(RunBare("file " + std::string(FilNamLen - 1, 'y') + "\n", h), 0);
    EXPECT_EQ(std::string(FilNam), std::string(FilNamLen - 1, 'y'));
    FilNam[0] = 0;
}

TEST(JournalRun, WindowThroughTheHostOrTheEngine) {
    CapHost h;
    EXPECT_EQ(RunBare("window 640 480\nwindow 1 1\n", h), 0);
    EXPECT_EQ(h.sizes, (std::vector<std::pair<int, int>>{{800, 600}, {640, 480}, {1, 1}}));

    // A host that leaves the size to the runner: the engine's window size takes it.
    int w = WinSizW, hh = WinSizH;
    CapHost e;
    e.ownResize = false;
    EXPECT_EQ(RunBare("window 321 123\n", e), 0);
    EXPECT_EQ(WinSizW, 321);
    EXPECT_EQ(WinSizH, 123);
    WinSizW = w, WinSizH = hh;
}

TEST(JournalRun, SnapshotOnlyWithAView) {
    CapHost h;
    h.canShot = true;
    EXPECT_EQ(RunBare("snapshot \"out dir/a.png\"\necho done\n", h), 0);
    EXPECT_EQ(h.shots, (std::vector<std::string>{"out dir/a.png"}));
    EXPECT_EQ(h.out, "done\n");

    CapHost f;
    f.canShot = true;
    f.shotOk = false;
    EXPECT_EQ(RunBare("snapshot a.png\necho never\n", f), jrn::StMalformed);
    EXPECT_EQ(f.err, "journal:1: snapshot a.png: disk full\n");
    EXPECT_EQ(f.out, "");
}

TEST(JournalRun, PointerAndKeyEventsReachTheRouter) {
    CapHost h;
    EXPECT_EQ(RunBare("ptr 11 22\n", h), 0);
    EXPECT_EQ(PtrPix[0], 11);
    EXPECT_EQ(PtrPix[1], 22);
    EXPECT_EQ(RunBare("drag 10 10 50 30 4\n", h), 0);
    EXPECT_EQ(PtrPix[0], 50);
    EXPECT_EQ(PtrPix[1], 30);
    // The host sees every event: press, the moves, release; then the line.
    CapHost d;
    EXPECT_EQ(RunBare("drag 0 0 9 9\ndrag 0 0 9 9 3\nclick 1 1\nkey 65\ntick 4\n", d), 0);
    EXPECT_EQ(d.idles, (1 + 10 + 1 + 1) + (1 + 3 + 1 + 1) + (2 + 1) + (2 + 1) + (4 + 1));
    // Shift held by keydown, released by keyup.
    EXPECT_EQ(RunBare("keydown 16\n", h), 0);
    EXPECT_EQ(ShiftFlg[0], 1);
    EXPECT_EQ(RunBare("keyup 16\n", h), 0);
    EXPECT_EQ(ShiftFlg[0], 0);
    EXPECT_EQ(RunBare("key 17\n", h), 0);
    EXPECT_EQ(CtrlFlg, 0);
    EXPECT_EQ(LastKey, 17);
}

TEST(JournalRun, EndOfSystemEndsTheJournal) {
    CapHost h;
    std::istringstream in("echo one\ndstr 99 200005\necho two\n");
    EXPECT_EQ(jrn::Run(in, h), 0);
    EXPECT_EQ(h.out.find("two"), std::string::npos);
    EXPECT_NE(h.out.find("one\n"), std::string::npos);
    EXPECT_EQ(h.err, "journal:2: the engine has ended; the remaining lines are not run\n");
}

// The scene dump lists every text of a part, the first one too.
TEST(JournalRun, SceneDumpListsEveryText) {
    char dir[] = "/tmp/altjrnXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string dxf = std::string(dir) + "/t.dxf";
    std::ofstream(dxf) << "0\nSECTION\n2\nENTITIES\n0\nTEXT\n10\n0\n20\n0\n30\n0\n1\nA\n"
                          "0\nTEXT\n10\n5\n20\n5\n30\n0\n1\nB\n0\nENDSEC\n0\nEOF\n";
    CapHost h;
    std::istringstream in("import dxf " + dxf + "\ndump scene\n");
    EXPECT_EQ(jrn::Run(in, h), 0);
    EXPECT_NE(h.out.find("siz=2"), std::string::npos) << h.out << h.err;
    EXPECT_NE(h.out.find("siz \"A\"\n"), std::string::npos);
    EXPECT_NE(h.out.find("siz \"B\"\n"), std::string::npos);
    std::remove(dxf.c_str());
    rmdir(dir);
}

// `wheel X Y N` at a pointer: the view of N wheel commands there, not N + 1.
TEST(JournalRun, WheelTurnsItsClicks) {
    const std::string in = "cmd " + std::to_string(CatDsp) + " " + std::to_string(CmdWhlIn) + "\n";
    std::string out[3];
    int k = 0;
    for (const std::string& text : {std::string("dump view\n"), std::string("wheel 600 200 2\ndump view\n"),
                                    "ptr 600 200\n" + in + in + "dump view\n"}) {
        CapHost h;
        std::istringstream s(text);
        EXPECT_EQ(jrn::Run(s, h), 0) << h.err;
        out[k++] = h.out;
    }
    EXPECT_NE(out[1], out[0]);
    EXPECT_EQ(out[1], out[2]);
}

TEST(JournalRun, UnreadableFile) {
    CapHost h;
    EXPECT_EQ(jrn::RunFile("/nonexistent/dir/x.jrn", h), jrn::StNoEngine);
    EXPECT_EQ(h.err.rfind("journal: cannot read /nonexistent/dir/x.jrn", 0), 0u);
    EXPECT_EQ(h.out, "");
    // A folder opens like a file on this system but holds no lines.
    CapHost d;
    EXPECT_EQ(jrn::RunFile(".", d), jrn::StNoEngine);
    EXPECT_EQ(d.err, "journal: cannot read .: Is a directory\n");
}

TEST(JournalRun, BinaryGarbageIsReportedReadably) {
    CapHost h;
    EXPECT_EQ(RunBare(std::string("echo ok\n\x01\x1b[31m\x7f\n"), h), jrn::StMalformed);
    EXPECT_EQ(h.out, "ok\n");
    EXPECT_EQ(h.err, "journal:2: unknown verb ??[31m?\n");
    CapHost z;
    EXPECT_EQ(RunBare(std::string("echo a\0b\n", 9), z), jrn::StMalformed);
    EXPECT_EQ(z.err, "journal:1: NUL byte in line\n");
}

TEST(JournalConsole, BoxesAnsweredFromTheQueue) {
    std::string out;
    jrn::ConsolePlatform p(nullptr, [&](const std::string& s) { out += s; });
    int yes = 0;
    p.onYes = [&] { ++yes; };

    MsgBoxId = 110;
    EXPECT_EQ(p.MsgBox("a.scn ファイルが開けませんでした。", "エラー", plt::BtnOk, plt::IconError),
              plt::AnsOk);
    MsgBoxId = 399;
    EXPECT_EQ(p.MsgBox("終了してよろしいですか？", "注意", plt::BtnYesNo, plt::IconWarning),
              plt::AnsNo);
    p.QueueAnswer(plt::AnsYes);
    p.QueueAnswer(plt::AnsCancel);
    EXPECT_EQ(p.MsgBox("q", "注意", plt::BtnYesNo, plt::IconWarning), plt::AnsYes);
    MsgBoxId = 0;
    EXPECT_EQ(p.MsgBox("line 1\nline 2\n", "情報", plt::BtnOk, plt::IconInfo), plt::AnsCancel);
    EXPECT_EQ(p.PendingAnswers(), 0u);
    EXPECT_EQ(yes, 1);
    p.Console("[IntrSys]:Command 1 not found.\n");
    EXPECT_EQ(out,
              "box 110 \"エラー\" ok: a.scn ファイルが開けませんでした。 (unanswered)\n"
              "box 399 \"注意\" no: 終了してよろしいですか？ (unanswered)\n"
              "box 399 \"注意\" yes: q\n"
              "box 0 \"情報\" cancel: line 1\\nline 2\\n\n"
              "[IntrSys]:Command 1 not found.\n");
}

TEST(JournalConsole, OtherServicesGoToTheWrappedPlatform) {
    struct Inner : plt::Platform {
        int boxes = 0, cursor = -1, notes = 0;
        int MsgBox(const char*, const char*, int, int) override { return ++boxes, plt::AnsOk; }
        void SetCursor(int i) override { cursor = i; }
        void Notify(int, long) override { ++notes; }
        int DisplayDepth() override { return 8; }
    } inner;
    std::string out;
    jrn::ConsolePlatform p(&inner, [&](const std::string& s) { out += s; });
    p.SetCursor(6);
    p.Notify(32773, -1);
    p.MsgBox("x", "c", plt::BtnOk, 0);
    EXPECT_EQ(inner.cursor, 6);
    EXPECT_EQ(inner.notes, 1);
    EXPECT_EQ(inner.boxes, 0);  // boxes never reach a real window during a journal
    EXPECT_EQ(p.DisplayDepth(), 8);
    EXPECT_EQ(out, "box 0 \"c\" ok: x (unanswered)\n");
}

TEST(JournalRun, HostViewReceivesTheEvents) {
    // The application's host delivers events through its view; the runner then stays away from
    // the engine's pointer record.
    struct ViewHost : CapHost {
        std::vector<std::string> ev;
        bool Pointer(int x, int y, int t) override {
            ev.push_back("p" + std::to_string(t) + "@" + std::to_string(x) + "," + std::to_string(y));
            return true;
        }
        bool Key(int vk, int t) override {
            ev.push_back("k" + std::to_string(t) + ":" + std::to_string(vk));
            return true;
        }
        bool Tick() override {
            ev.push_back("t");
            return true;
        }
    } h;
    SetPtrPix(-77, -77);
    EXPECT_EQ(RunBare("drag 0 0 4 -2 2\nclick 3 4\nrpress 5 6\nrrelease 7 8\nmove 1 1\n"
                      "press 2 2\nrelease 9 9\nkey 16\nkeydown 17\nkeyup 17\ntick 2\n",
                      h),
              0);
    EXPECT_EQ(h.ev, (std::vector<std::string>{"p1@0,0", "p7@2,-1", "p7@4,-2", "p2@4,-2", "p1@3,4",
                                              "p2@3,4", "p5@5,6", "p6@7,8", "p7@1,1", "p1@2,2",
                                              "p2@9,9", "k8:16", "k9:16", "k8:17", "k9:17", "t",
                                              "t"}));
    EXPECT_EQ(PtrPix[0], -77);
    EXPECT_EQ(PtrPix[1], -77);
}
