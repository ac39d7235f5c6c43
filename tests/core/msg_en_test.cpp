// English of the texts the engine writes itself: whole texts, texts with their variable parts,
// texts of several lines where only some lines are the engine's.
#include <gtest/gtest.h>
#include <string>
#include "core/msg_en.h"

TEST(MsgEnglish, FixedTextsAndCaptions) {
    EXPECT_EQ(MsgEn("地形が作成されていません。"), "No terrain has been made.");
    EXPECT_EQ(MsgEn("注意"), "Warning");
    EXPECT_EQ(MsgEn("情報"), "Information");
    EXPECT_EQ(MsgEn("エラー"), "Error");
}

TEST(MsgEnglish, VariablePartsGoWhereTheEnglishPutsThem) {
    EXPECT_EQ(MsgEn("/tmp/a b.scn は読み込めない版のシーンファイルです。"),
              "/tmp/a b.scn is a scene file of a version this program cannot read.");
    EXPECT_EQ(MsgEn("name[POLYLINE]がサポートされてない:line 42"), "name [POLYLINE] is not supported: line 42");
    EXPECT_EQ(MsgEn("カーブ[等高線3] 高さ 12.50 mm"), "Curve [等高線3] height 12.50 mm");
    EXPECT_EQ(MsgEn("カーブ[c] 高さ 1.25 m"), "Curve [c] height 1.25 m");
}

TEST(MsgEnglish, NewDocumentTitleIsUntitled) {
    EXPECT_EQ(MsgEn("無題 への変更を保存しますか？"), "Save the changes to Untitled?");
    EXPECT_EQ(MsgEn("site.scn への変更を保存しますか？"), "Save the changes to site.scn?");
}

TEST(MsgEnglish, LinesAreMatchedOneByOneAndUnknownLinesStay) {
    // A path, the engine's note and a system's reason.
    EXPECT_EQ(MsgEn("/data/map.bmp\nこの形式の画像は読み込めません。\nBMP: 圧縮形式 7 は読み込めません。"),
              "/data/map.bmp\nImages of this kind cannot be read.\nBMP: compression 7 cannot be read.");
    EXPECT_EQ(MsgEn("x.scn に保存できませんでした。\nNo space left on device\n元のファイルは変更されていません。"),
              "x.scn could not be saved.\nNo space left on device\nThe original file has not been changed.");
    // Fixed: the first line's pattern took the whole text, its last part running over the
    // following lines.
    EXPECT_EQ(MsgEn("DXF読み込み: 曲線 3 本 (点 40)\n文字 0 個\n読み飛ばした図形 2 個 (3Dでないポリライン 1)"),
              "DXF read: 3 curves (40 points)\n0 texts\n2 entities skipped (1 of them 2D polylines)");
    // A text of several lines known as a whole.
    EXPECT_EQ(MsgEn("回転の中心がﾀｰｹﾞｯﾄに\nなっています。\nこれ以上視点をﾀｰｹﾞｯﾄに\n近づけることはできません。"),
              "The centre of rotation is the target.\nThe eye cannot come any closer to it.");
}

TEST(MsgEnglish, EmptyAndUnknownTextsStayAsTheyAre) {
    EXPECT_EQ(MsgEn(nullptr), "");
    EXPECT_EQ(MsgEn(""), "");
    EXPECT_EQ(MsgEn("Already English."), "Already English.");
    // A pattern needs its variable part: the bare tail of an entry is not a match.
    EXPECT_EQ(MsgEn(" は読み込めない版のシーンファイルです。"), " は読み込めない版のシーンファイルです。");
}
