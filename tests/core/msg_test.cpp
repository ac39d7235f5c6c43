// Numbered messages, the message area and progress notifications.
#include <gtest/gtest.h>
#include <string>
#include "core/cmd.h"
#include "core/msg.h"
#include "support/engine_fixture.h"

namespace {
// True when s is well-formed UTF-8 (no sequence cut off at the end or in the middle).
bool ValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (n < 0 || i + n >= s.size()) return false;
        for (int k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n + 1;
    }
    return true;
}
std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}
}  // namespace

class Message : public EngineTest {};

TEST_F(Message, ErrorShowsTheFileNameAndRemembersTheId) {
    EXPECT_EQ(DspErrMsg(110, "a.scn"), plt::AnsOk);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].text, "a.scn ファイルが開けませんでした。");
    EXPECT_EQ(Plt().boxes[0].caption, "エラー");
    EXPECT_EQ(Plt().boxes[0].buttons, plt::BtnOk);
    EXPECT_EQ(Plt().boxes[0].icon, plt::IconError);
    EXPECT_EQ(LastErrId, 110);
    EXPECT_EQ(Plt().boxes[0].id, 110);
    EXPECT_EQ(MsgBoxId, 0);
}

TEST_F(Message, EachKindHasItsCaptionButtonsAndIcon) {
    DspInfMsg(1, "完了");
    DspWrnMsg(297, "カーブを選択してください。");
    DspErrMsg(199, "等高線がありません。");
    DspCnfMsg(300, "a.dxf");
    ASSERT_EQ(Plt().boxes.size(), 4u);
    EXPECT_EQ(Plt().boxes[0].text, "完了");
    EXPECT_EQ(Plt().boxes[0].caption, "情報");
    EXPECT_EQ(Plt().boxes[0].icon, plt::IconInfo);
    EXPECT_EQ(Plt().boxes[1].text, "カーブを選択してください。");
    EXPECT_EQ(Plt().boxes[1].caption, "注意");
    EXPECT_EQ(Plt().boxes[1].buttons, plt::BtnOk);
    EXPECT_EQ(Plt().boxes[1].icon, plt::IconWarning);
    EXPECT_EQ(Plt().boxes[2].text, "等高線がありません。");
    EXPECT_EQ(Plt().boxes[3].text, "a.dxfはすでに存在します。\n置き換えてよろしいですか？");
    EXPECT_EQ(Plt().boxes[3].caption, "注意");
    EXPECT_EQ(Plt().boxes[3].buttons, plt::BtnYesNo);
    EXPECT_EQ(Plt().boxes[3].icon, plt::IconWarning);
}

TEST_F(Message, MissingIdsPrintTheirLineAndShowNothing) {
    EXPECT_EQ(DspWrnMsg(215, nullptr), -1);
    EXPECT_EQ(DspErrMsg(150, "x"), -1);
    EXPECT_EQ(DspErrMsg(250, "x"), -1);   // a warning id asked as an error
    EXPECT_EQ(DspInfMsg(2, "x"), -1);
    EXPECT_EQ(DspCnfMsg(399 + 100, nullptr), -1);
    EXPECT_EQ(DspWrnMsg(100, nullptr), -1);
    EXPECT_TRUE(Plt().boxes.empty());
    EXPECT_EQ(Plt().ConsoleText(),
              "message 215 not found\n"
              "message 150 not found.\n"
              "message 250 not found.\n"
              "message 2 not found.\n"
              "message 499 not found.\n"
              "message 100 not found\n");
}

TEST_F(Message, EnglishAndUnknownLanguages) {
    MsgLang = 1;
    DspErrMsg(100, "tag\nSIZE = 8");
    DspCnfMsg(399, nullptr);
    ASSERT_EQ(Plt().boxes.size(), 2u);
    EXPECT_EQ(Plt().boxes[0].text, "Memory allocation failed.\ntag\nSIZE = 8");
    EXPECT_EQ(Plt().boxes[0].caption, "Error");
    EXPECT_EQ(Plt().boxes[1].text, "Really Quit ?");
    EXPECT_EQ(Plt().boxes[1].caption, "Warning");
    MsgLang = 2;
    EXPECT_EQ(DspErrMsg(110, "a"), 2);
    EXPECT_EQ(DspWrnMsg(999, nullptr), 2);
    EXPECT_EQ(Plt().boxes.size(), 2u);
    EXPECT_TRUE(Plt().console.empty());
}

TEST_F(Message, LongTextsAreCutToFitWithoutSplittingACharacter) {
    std::string ja = Repeat("あ", 200);  // 600 bytes
    DspErrMsg(199, ja.c_str());
    // An entry with text after the argument keeps its own closing bracket.
    DspErrMsg(113, ja.c_str());
    std::string mixed = "x" + Repeat("é", 200);  // two-byte characters on odd offsets
    DspWrnMsg(297, mixed.c_str());
    DspErrMsg(199, Repeat("a", 255).c_str());  // exactly fits
    ASSERT_EQ(Plt().boxes.size(), 4u);
    const std::string& a = Plt().boxes[0].text;
    EXPECT_EQ(a, Repeat("あ", 85));  // 255 bytes
    const std::string& b = Plt().boxes[1].text;
    EXPECT_LE(b.size(), 255u);
    EXPECT_TRUE(ValidUtf8(b));
    EXPECT_EQ(b.substr(0, 6), "テク");
    EXPECT_EQ(b.back(), ']');
    const std::string& c = Plt().boxes[2].text;
    EXPECT_EQ(c.size(), 255u);
    EXPECT_TRUE(ValidUtf8(c));
    EXPECT_EQ(Plt().boxes[3].text, Repeat("a", 255));
}

TEST_F(Message, ConfirmationYesRunsThePendingCommands) {
    PndIntr = {1, CatSys, CmdSavVal0};
    PndDstr = {1, CatSys, 200001};
    Plt().Answer(plt::AnsNo);
    EXPECT_EQ(DspCnfMsg(391, nullptr), plt::AnsNo);
    EXPECT_EQ(CountCmd(CatSys, CmdRunPnd), 0);
    EXPECT_TRUE(PndIntr.armed);
    EXPECT_TRUE(PndDstr.armed);
    Plt().Answer(plt::AnsYes);
    EXPECT_EQ(DspCnfMsg(391, nullptr), plt::AnsYes);
    EXPECT_EQ(CountCmd(CatSys, CmdRunPnd), 1);
    EXPECT_EQ(CountCmd(CatSys, CmdSavVal0), 1);
    EXPECT_EQ(CountCmd(CatSys, 200001, true), 1);
    EXPECT_FALSE(PndIntr.armed);
    EXPECT_FALSE(PndDstr.armed);
}

TEST_F(Message, PutMsgSplitsLines) {
    PutMsg("first\nsecond\n");
    EXPECT_EQ(MsgLinNum, 2);
    EXPECT_STREQ(MsgLin[0], "first");
    EXPECT_STREQ(MsgLin[1], "second");
    PutMsg("first\nsecond");
    EXPECT_EQ(MsgLinNum, 2);
    EXPECT_STREQ(MsgLin[1], "second");
    PutMsg("a\n\nb");  // an empty line in the middle is a line
    EXPECT_EQ(MsgLinNum, 3);
    EXPECT_STREQ(MsgLin[1], "");
    PutMsg("");
    EXPECT_EQ(MsgLinNum, 0);
    EXPECT_EQ(Plt().CountNotify(ID_UPDT_MSG), 4);
    for (const auto& n : Plt().notes) EXPECT_EQ(n.second, 0);
}

TEST_F(Message, PutMsgKeepsTwentyLinesOfNinetyNineBytes) {
    std::string t;
    for (int i = 0; i < 25; ++i) t += "line" + std::to_string(i) + "\n";
    PutMsg(t.c_str());
    EXPECT_EQ(MsgLinNum, 20);
    EXPECT_STREQ(MsgLin[19], "line19");
    PutMsg((Repeat("x", 150) + "\n" + Repeat("い", 40)).c_str());
    EXPECT_EQ(MsgLinNum, 2);
    EXPECT_EQ(std::string(MsgLin[0]), Repeat("x", 99));
    EXPECT_EQ(std::string(MsgLin[1]), Repeat("い", 33));  // 99 bytes, whole characters
}

TEST_F(Message, TitleAndSingleLines) {
    PutMsg("a\nb\nc");
    SetMsgLin(1, "B");
    SetMsgLin(20, "ignored");
    SetMsgLin(-1, "ignored");
    EXPECT_EQ(MsgLinNum, 3);
    EXPECT_STREQ(MsgLin[1], "B");
    SetMsgTtl("Title");
    EXPECT_STREQ(MsgTtl, "Title");
    EXPECT_EQ(Plt().CountNotify(ID_UPDT_MSG), 2);
    ClrMsg();
    EXPECT_EQ(MsgLinNum, 0);
}

TEST_F(Message, ProgressStepsFollowThePercentage) {
    PrgBgn();
    PrgSet(0);
    PrgSet(50);
    PrgSet(30);  // no going back
    PrgSet(100);
    PrgSet(100);
    PrgEnd();
    const auto& n = Plt().notes;
    ASSERT_EQ(n.size(), 1u + 101u + 1u);
    EXPECT_EQ(n.front().first, ID_PRG_CRE);
    EXPECT_EQ(n.back().first, ID_PRG_DEL);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DSP), 101);
    for (const auto& p : n) EXPECT_EQ(p.second, -1);
}

TEST_F(Message, ProgressOutsideABarSendsNothing) {
    PrgSet(40);  // no bar yet
    PrgBgn();
    PrgSet(250);  // the bar ends at 100
    PrgEnd();
    PrgSet(60);   // after the bar is gone
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DSP), 101);
    EXPECT_EQ(Plt().notes.size(), 103u);
}

TEST_F(Message, ConsoleLinesOfAnyLength) {
    std::string big = Repeat("z", 3000);
    ConPrintf("%s|%d\n", big.c_str(), 7);
    ASSERT_EQ(Plt().console.size(), 1u);
    EXPECT_EQ(Plt().console[0], big + "|7\n");
}
