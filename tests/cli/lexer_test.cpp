// Journal line splitting, number reading and the number formats of the dumps.
#include <gtest/gtest.h>
#include "drag.h"
#include "lexer.h"
#include "registry.h"

using jrn::Words;

namespace {
Words Split(const std::string& line) {
    Words w;
    std::string err;
    EXPECT_TRUE(jrn::SplitLine(line, &w, &err)) << line << ": " << err;
    return w;
}
std::string SplitErr(const std::string& line) {
    Words w;
    std::string err;
    EXPECT_FALSE(jrn::SplitLine(line, &w, &err)) << line;
    return err;
}
}  // namespace

TEST(JournalLexer, WordsQuotesAndComments) {
    EXPECT_EQ(Split("cmd 1  101001"), (Words{"cmd", "1", "101001"}));
    EXPECT_EQ(Split("\tdrag\t1 2 3 4  "), (Words{"drag", "1", "2", "3", "4"}));
    EXPECT_EQ(Split("file \"my map/a b.scn\" "), (Words{"file", "my map/a b.scn"}));
    EXPECT_EQ(Split("echo \"\" x"), (Words{"echo", "", "x"}));
    EXPECT_EQ(Split("echo \"# not a comment\""), (Words{"echo", "# not a comment"}));
    EXPECT_EQ(Split("echo a#b # the rest goes"), (Words{"echo", "a#b"}));
    EXPECT_EQ(Split("tick 3\r"), (Words{"tick", "3"}));
    EXPECT_EQ(Split("echo \"日本 語\""), (Words{"echo", "日本 語"}));
    EXPECT_TRUE(Split("").empty());
    EXPECT_TRUE(Split("   \t ").empty());
    EXPECT_TRUE(Split("# whole line").empty());
    EXPECT_TRUE(Split("   #indented comment \"x").empty());
}

TEST(JournalLexer, BadQuotes) {
    EXPECT_EQ(SplitErr("file \"open ended"), "unterminated quoted word");
    EXPECT_EQ(SplitErr("file \"a\"b"), "text after closing quote");
    // A quote closing only after the carriage return is still unterminated.
    EXPECT_EQ(SplitErr("echo \"x\r"), "unterminated quoted word");
}

TEST(JournalLexer, Integers) {
    int v = 0;
    EXPECT_TRUE(jrn::ParseInt("101001", &v));
    EXPECT_EQ(v, 101001);
    EXPECT_TRUE(jrn::ParseInt("-12", &v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(jrn::ParseInt("+7", &v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(jrn::ParseInt("2147483647", &v));
    EXPECT_EQ(v, 2147483647);
    for (const char* bad : {"", "-", "+", "1.0", "0x10", "12a", "1e3", "2147483648", " 1", "--1"})
        EXPECT_FALSE(jrn::ParseInt(bad, &v)) << bad;
}

TEST(JournalLexer, Reals) {
    double v = 0;
    struct {
        const char* s;
        double v;
    } good[] = {{"1.5", 1.5}, {"-.5", -0.5}, {"5.", 5}, {"1e3", 1000}, {"2.5E-2", 0.025},
                {"+7", 7},    {"-0", 0},     {"1e-400", 0}};
    for (auto& g : good) {
        EXPECT_TRUE(jrn::ParseReal(g.s, &v)) << g.s;
        EXPECT_DOUBLE_EQ(v, g.v) << g.s;
    }
    for (const char* bad : {"", ".", "-", "1,5", "inf", "nan", "e5", "1e", "1e+", "0x1p3", "1.5x",
                            "1e400", "1..2"})
        EXPECT_FALSE(jrn::ParseReal(bad, &v)) << bad;
}

TEST(JournalFormats, FixedAndGeneral) {
    EXPECT_EQ(jrn::F3(1.0), "1.000");
    EXPECT_EQ(jrn::F3(-2.5), "-2.500");
    EXPECT_EQ(jrn::F3(-0.0004), "0.000");  // never "-0.000"
    EXPECT_EQ(jrn::F3(-0.0), "0.000");
    EXPECT_EQ(jrn::F4(0.408589), "0.4086");
    EXPECT_EQ(jrn::F4(-0.00004), "0.0000");
    EXPECT_EQ(jrn::G6(0.5), "0.5");
    EXPECT_EQ(jrn::G6(100), "100");
    EXPECT_EQ(jrn::G6(1234567), "1.23457e+06");
    EXPECT_EQ(jrn::G6(5000000), "5e+06");
    EXPECT_EQ(jrn::G6(-0.0), "0");
    EXPECT_EQ(jrn::G6(3.14159265), "3.14159");
    EXPECT_EQ(jrn::G6(1e-5), "1e-05");
    EXPECT_EQ(jrn::Quote(nullptr), "\"\"");
    EXPECT_EQ(jrn::Quote("地形"), "\"地形\"");
}

TEST(JournalDrag, StepsEndExactlyAtTheTarget) {
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(jrn::DragMoves(0, 0, 10, 5, 5), (P{{2, 1}, {4, 2}, {6, 3}, {8, 4}, {10, 5}}));
    // Halves round away from zero in both directions.
    EXPECT_EQ(jrn::DragMoves(0, 0, 3, -3, 2), (P{{2, -2}, {3, -3}}));
    EXPECT_EQ(jrn::DragMoves(7, 7, 1, 2, 1), (P{{1, 2}}));
    EXPECT_TRUE(jrn::DragMoves(7, 7, 1, 2, 0).empty());
    // More steps than pixels repeat positions but still end on the target.
    P m = jrn::DragMoves(0, 0, 2, 0, 4);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m.back(), std::make_pair(2, 0));
}
