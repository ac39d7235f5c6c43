// Command dispatch: categories, the system module, not-found lines and the pending commands.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>
#include "app/cats.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "display/view.h"
#include "support/engine_fixture.h"
#include "display/dsp_cmd.h"

namespace {
bool Exists(const char* path) {
    if (FILE* f = std::fopen(path, "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}
void Touch(const char* path) {
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("spill", f);
    std::fclose(f);
}
}  // namespace

class Dispatch : public EngineTest {};

TEST_F(Dispatch, CategoriesOutsideTheTableDoNothing) {
    EXPECT_EQ(IntrCmd(2, 102000), 0);
    EXPECT_EQ(IntrCmd(0, 0), 0);
    EXPECT_EQ(IntrCmd(-3, CmdRunPnd), 0);
    EXPECT_EQ(IntrCmd(100, CmdRunPnd), 0);
    EXPECT_EQ(DstrCmd(100, 1), 0);
    EXPECT_EQ(DstrCmd(CatDrw2D, CmdSysIni), 0);   // category 1 has no execution module
    EXPECT_EQ(DstrCmd(CatWrk, 212000), 0);
    EXPECT_TRUE(Plt().console.empty());
    EXPECT_TRUE(Plt().boxes.empty());
}

// A category reaches the module registered for it, with the code, and a -1 from it comes back;
// another registration replaces it, and a category registered with nothing ignores its commands.
TEST_F(Dispatch, CommandsReachTheModuleRegisteredForTheirCategory) {
    static std::vector<int> heard;
    heard.clear();
    RegCat(CatWrk, [](int code) { heard.push_back(code); return code == 112002 ? -1 : 7; },
           [](int code) { heard.push_back(-code); return 0; });
    EXPECT_EQ(IntrCmd(CatWrk, 112001), 0);    // any other result than -1 reads 0
    EXPECT_EQ(IntrCmd(CatWrk, 112002), -1);
    EXPECT_EQ(DstrCmd(CatWrk, 212000), 0);
    EXPECT_EQ(heard, (std::vector<int>{112001, 112002, -212000}));
    RegCat(CatWrk, nullptr, nullptr);
    EXPECT_EQ(IntrCmd(CatWrk, 112003), 0);
    EXPECT_EQ(heard.size(), 3u);
    RegCat(0, [](int) { return -1; }, nullptr);   // outside the table: refused
    RegCat(100, [](int) { return -1; }, nullptr);
    EXPECT_EQ(IntrCmd(0, 1), 0);
    EXPECT_EQ(IntrCmd(100, 1), 0);
    RegCats();   // the application's table again
    EXPECT_EQ(IntrCmd(CatWrk, 112001), 0);
    EXPECT_EQ(Plt().ConsoleText(), "[IntrWrk]:Command 112001 not found.\n");
}

TEST_F(Dispatch, SystemModuleReportsUnknownCodes) {
    EXPECT_EQ(IntrCmd(CatSys, 100031), 0);  // below the range
    EXPECT_EQ(IntrCmd(CatSys, 100070), 0);  // above
    EXPECT_EQ(IntrCmd(CatSys, 100040), 0);  // a gap inside
    EXPECT_EQ(DstrCmd(CatSys, 199999), 0);
    EXPECT_EQ(DstrCmd(CatSys, 200003), 0);
    EXPECT_EQ(DstrCmd(CatSys, 200006), 0);
    EXPECT_EQ(Plt().ConsoleText(),
              "[IntrSys]:Command 100031 not found.\n"
              "[IntrSys]:Command 100070 not found.\n"
              "[IntrSys]:Command 100040 not found.\n"
              "[DstrSys]:Command 199999 not found.\n"
              "[DstrSys]:Command 200003 not found.\n"
              "[DstrSys]:Command 200006 not found.\n");
}

TEST_F(Dispatch, IgnoredSystemCodesAreSilent) {
    for (int code : {100032, 100033, 100034, 100035, 100038, 100049}) EXPECT_EQ(IntrCmd(CatSys, code), 0);
    EXPECT_TRUE(Plt().console.empty());
    EXPECT_TRUE(Plt().boxes.empty());
}

TEST_F(Dispatch, ModulesWithoutCommandsReportEveryCode) {
    IntrCmd(CatMtl, 107100);
    IntrCmd(CatLgt, 108021);
    IntrCmd(CatAnm, 109001);
    IntrCmd(CatRndr, 114000);
    IntrCmd(CatWrk, 112001);
    DstrCmd(CatLgt, 208000);
    DstrCmd(CatRndr, 214000);
    EXPECT_EQ(Plt().ConsoleText(),
              "[IntrMtl]:Command 107100 not found.\n"
              "[IntrLgt]:Command 108021 not found.\n"
              "[IntrAnm]:Command 109001 not found.\n"
              "[IntrRndr]:Command 114000 not found.\n"
              "[IntrWrk]:Command 112001 not found.\n"
              "[DstrLgt]:Command 208000 not found.\n"
              "[DstrRndr]:Command 214000 not found.\n");
}

TEST_F(Dispatch, SaveSlotsKeepTheDisplayValue) {
    DspVal = 1.5;
    IntrCmd(CatSys, CmdSavVal0);
    DspVal = 2.5;
    IntrCmd(CatSys, CmdSavVal1);
    DspVal = 0;
    IntrCmd(CatSys, CmdRstVal0);
    EXPECT_EQ(DspVal, 1.5);
    IntrCmd(CatSys, CmdRstVal1);
    EXPECT_EQ(DspVal, 2.5);
    IntrCmd(CatSys, CmdRstVal0);
    EXPECT_EQ(DspVal, 1.5);
}

TEST_F(Dispatch, RunPendingWithEmptySlotsDoesNothing) {
    ClearCmds();
    EXPECT_EQ(IntrCmd(CatSys, CmdRunPnd), 0);
    EXPECT_EQ(Cmds().size(), 1u);
    EXPECT_TRUE(Plt().console.empty());
}

TEST_F(Dispatch, PendingCommandsRunInOrderAndOnce) {
    PndIntr = {1, CatSys, 100041};
    PndDstr = {1, CatSys, 200002};
    IntrCmd(CatSys, CmdRunPnd);
    EXPECT_EQ(Plt().ConsoleText(),
              "[IntrSys]:Command 100041 not found.\n"
              "[DstrSys]:Command 200002 not found.\n");
    EXPECT_FALSE(PndIntr.armed);
    EXPECT_FALSE(PndDstr.armed);
    Plt().console.clear();
    IntrCmd(CatSys, CmdRunPnd);
    EXPECT_TRUE(Plt().console.empty());
}

TEST_F(Dispatch, QuitAnsweredNoKeepsTheEndPendingForALaterYes) {
    Touch(TmpFbuf);
    Touch(TmpTbuf);
    PndIntr = {1, CatDsp, CmdRdrwAll};
    SetCrs(CrsCross);
    Plt().Answer(plt::AnsNo);
    EXPECT_EQ(IntrCmd(CatSys, CmdQuit), 0);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    const RecBox& b = Plt().boxes[0];
    EXPECT_EQ(b.text, "終了してよろしいですか？");
    EXPECT_EQ(b.caption, "注意");
    EXPECT_EQ(b.buttons, plt::BtnYesNo);
    EXPECT_EQ(b.icon, plt::IconWarning);
    EXPECT_EQ(CrsIdx, CrsArrow);
    EXPECT_FALSE(PndIntr.armed);  // the quit drops any other pending command
    ASSERT_TRUE(PndDstr.armed);
    EXPECT_EQ(PndDstr.cat, CatSys);
    EXPECT_EQ(PndDstr.code, CmdSysEnd);
    EXPECT_TRUE(Exists(TmpFbuf));
    EXPECT_EQ(CountCmd(CatSys, CmdSysEnd, true), 0);

    // Any later confirmation answered Yes runs the end of the system.
    Plt().Answer(plt::AnsYes);
    EXPECT_EQ(DspCnfMsg(301, nullptr), plt::AnsYes);
    EXPECT_EQ(CountCmd(CatSys, CmdSysEnd, true), 1);
    EXPECT_FALSE(PndDstr.armed);
    EXPECT_FALSE(Exists(TmpFbuf));
    EXPECT_FALSE(Exists(TmpTbuf));
}

TEST_F(Dispatch, QuitWithoutAskingEndsAtOnce) {
    Touch(TmpFbuf);
    QuitNoAsk = 1;
    IntrCmd(CatSys, CmdQuit);
    EXPECT_TRUE(Plt().boxes.empty());
    EXPECT_EQ(CountCmd(CatSys, CmdSysEnd, true), 1);
    EXPECT_FALSE(Exists(TmpFbuf));
    EXPECT_FALSE(PndDstr.armed);
}

TEST_F(Dispatch, EndOfSystemTwiceIsHarmless) {
    DstrCmd(CatSys, CmdSysEnd);
    DstrCmd(CatSys, CmdSysEnd);
    EXPECT_TRUE(Plt().boxes.empty());
    EXPECT_TRUE(Plt().console.empty());
}
