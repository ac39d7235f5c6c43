// The view window's context, buffers and feedback services, read back from the picture.
#include <cmath>
#include "core/msg.h"
#include "support/draw_fixture.h"
#include "support/restore.h"
#include "core/cmd.h"
#include "display/dsp_cmd.h"

namespace {

using DrawCtx = DrawTestT<200, 160>;
using DrawPlain = EngineTest;

constexpr gltest::Rgb kBg{0, 74, 74};

TEST_F(DrawPlain, DisplayCheckRefusesFewerThanNineBitsInTheCurrentLanguage) {
    struct Depth : RecPlatform {
        int bits = 8;
        int DisplayDepth() override { return bits; }
    } p;
    plt::Set(&p);
    Restore keepLang(MsgLang);
    MsgLang = 0;
    EXPECT_EQ(ChkDspCol(), -1);
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_EQ(p.boxes[0].caption, "Error");
    EXPECT_EQ(p.boxes[0].text, "ディスプレイのカラーパレットをTrue Colorに設定して再起動してください");
    MsgLang = 1;
    EXPECT_EQ(ChkDspCol(), -1);
    EXPECT_EQ(p.boxes.back().text, "Set <True Color> mode.");
    p.bits = 16;
    EXPECT_EQ(ChkDspCol(), 0);
    p.bits = 9;
    EXPECT_EQ(ChkDspCol(), 0);
    EXPECT_EQ(p.boxes.size(), 2u);
    plt::Set(&Plt());
}

TEST_F(DrawPlain, PaletteAndImageHeader) {
    MkPal(true);
    // Entry i: red from bits 0-2, green from bits 3-5, blue from bits 6-7.
    EXPECT_EQ(PalTbl[0][0], 0);
    EXPECT_EQ(PalTbl[7][0], 255);
    EXPECT_EQ(PalTbl[1 << 3][1], 63);
    EXPECT_EQ(PalTbl[2 << 6][2], 191);
    EXPECT_EQ(PalTbl[0][3], 0);
    EXPECT_EQ(PalTbl[255][3], 0);
    EXPECT_NE(PalTbl[100][3], 0);
    // The colour-index value addresses the same palette.
    uint8_t c[3];
    for (uint32_t code : {1u, 2u, 7u, 31u, 35u}) {
        ColRgb(code, c);
        int i = ColIdx(c);
        EXPECT_NEAR(PalTbl[i][0], c[0], 64) << code;
        EXPECT_NEAR(PalTbl[i][2], c[2], 116) << code;
    }

    plt::ImgHdr h;
    MkImgHdr(&h, 5, 3);
    EXPECT_EQ(sizeof h, 40u);
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, 5);
    EXPECT_EQ(h.height, 3);  // bottom-up
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, 24);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 16u * 3);  // 15 bytes a row padded to 16
    MkImgHdr(&h, 4, 2);
    EXPECT_EQ(h.sizeImage, 12u * 2);
}

TEST_F(DrawCtx, StartUpPictureAndImageService) {
    GL().Grab();
    EXPECT_GT(GL().Count(kBg), 0) << "the first paint shows the background";
    EXPECT_EQ(GL().Count({0, 0, 0}), 0) << "and covers the whole window";
    EXPECT_EQ(GL().fontCalls, 1);
    EXPECT_FALSE(GLWin[0].needSetup);

    plt::ImgHdr h;
    MkImgHdr(&h, 3, 2);
    uint8_t bits[2 * 12] = {};
    BltImg(1, 0, 0, &h, bits);
    EXPECT_EQ(GL().blits, 1);
    EXPECT_EQ(GL().lastBlitW, 3);
    BltImg(1, 0, 0, &h, nullptr);  // nothing to show
    EXPECT_EQ(GL().blits, 1);
}

TEST_F(DrawCtx, FeedbackShowsAtOnceAndGoesAtTheNextRedraw) {
    AxisOn = 0;
    GridOn = 0;
    Redraw();
    ASSERT_EQ(GL().Count(kBg), W * H);
    // A mode draws a rubber line in colour 10 and a box in colour 7, in model and window terms.
    SetDrwBuf(DRW_FRONT);
    SetCol(10);
    double a[3] = {-3000000, -2000000, 0}, b[3] = {3000000, -2000000, 0};
    DrwLin(a, b);
    SetCol(7);
    DrwBox(20, 20, 40, 30);
    SetCol(ColRGB | 0x0000ff);  // red, written as an explicit colour
    DrwBox(150, 10, 0, 50);     // a vertical line
    FlushDrw();
    GL().Grab();
    double p[3];
    Win(0, -2000000, 0, p);
    int ly = static_cast<int>(std::lround(p[1]));
    EXPECT_TRUE(GL().Has({0, 255, 159}, 30, ly - 1, 170, ly + 1)) << "rubber line";
    EXPECT_TRUE(GL().Has({255, 255, 0}, 19, 19, 61, 21)) << "box top";
    EXPECT_TRUE(GL().Has({255, 255, 0}, 19, 49, 61, 51)) << "box bottom";
    EXPECT_FALSE(GL().Has({255, 255, 0}, 25, 25, 55, 45)) << "box inside stays empty";
    EXPECT_TRUE(GL().Has({255, 0, 0}, 149, 10, 151, 60)) << "vertical line";
    EXPECT_FALSE(GL().Has({255, 0, 0}, 140, 0, 148, 159));

    Redraw();
    EXPECT_EQ(GL().Count(kBg), W * H) << "the redraw replaces the feedback";
}

TEST_F(DrawCtx, TextAndMarkers) {
    AxisOn = 0;
    GridOn = 0;
    Redraw();
    SetCol(2);
    DrwTxt(40, 100, "AB");
    GL().Grab();
    // Two glyphs from the baseline at (40, 100) upwards, nothing for a third.
    EXPECT_GT(GL().Count({255, 0, 0}, 2, 40, 90, 47, 100), 20);
    EXPECT_GT(GL().Count({255, 0, 0}, 2, 48, 90, 55, 100), 20);
    EXPECT_EQ(GL().Count({255, 0, 0}, 2, 56, 88, 70, 102), 0);
    // Characters without a list draw nothing and do no harm.
    DrwTxt(120, 100, "\xc3\xa9");
    double o[3] = {0, 0, 0};
    SetCol(3);
    DrwMrk(o, 6);
    GL().Grab();
    EXPECT_TRUE(GL().Has({0, 255, 0}, W / 2 - 7, H / 2 - 1, W / 2 - 4, H / 2 + 1));
    EXPECT_TRUE(GL().Has({0, 255, 0}, W / 2 - 1, H / 2 - 7, W / 2 + 1, H / 2 - 4));
}

TEST_F(DrawCtx, NothingIsDrawnWithoutAnOpenWindow) {
    ClsGLWin(0);
    EXPECT_FALSE(DrwWinOpen());
    double a[3] = {0, 0, 0}, b[3] = {1, 1, 0};
    DrwLin(a, b);
    DrwTxt(1, 1, "x");
    IntrCmd(CatDsp, CmdRdrwAll);
    PaintWin(0, nullptr);
    EXPECT_EQ(GL().swaps, 1) << "only the start-up paint swapped";
    ASSERT_TRUE(OpnGLWin(0));
    EXPECT_TRUE(DrwWinOpen());
}

TEST_F(DrawCtx, LostContextIsRecreatedAndSetUpAgain) {
    AxisOn = 0;
    Redraw();
    int labels = GL().Count({174, 174, 174});  // major lines and their labels
    int creates = GL().creates;
    // A display-mode change: the next make-current fails.
    GL().loseNext = true;
    Redraw();
    EXPECT_EQ(GL().creates, creates + 1) << "context made anew";
    EXPECT_EQ(GL().fontCalls, 2) << "fonts are built again for the new context";
    EXPECT_FALSE(GLWin[0].needSetup);
    // The labels need the font lists: the picture is the same as before the loss.
    EXPECT_EQ(GL().Count({174, 174, 174}), labels);
    GridOn = 0;
    Redraw();
    EXPECT_LT(GL().Count({174, 174, 174}), labels / 2);
    GridOn = 1;
    // The same through a paint after a loss between two paints.
    GL().loseNext = true;
    EXPECT_EQ(SetCurWin(-1), 0);
    EXPECT_EQ(SetCurWin(0), 1);
    EXPECT_TRUE(GLWin[0].needSetup);
    PaintWin(0, nullptr);
    EXPECT_FALSE(GLWin[0].needSetup);
    EXPECT_EQ(GL().fontCalls, 3);
}

TEST_F(DrawCtx, PartialPaintRedrawsOnlyItsRectangle) {
    AxisOn = 0;
    GridOn = 0;
    Redraw();
    // Feedback everywhere, then a paint of a small rectangle with buffers that keep content.
    SetDrwBuf(DRW_FRONT);
    SetCol(4);
    for (int y = 0; y < H; y += 4) DrwBox(0, y, W, 0);
    GL().partialPaint = true;
    BgCol[0] = 200;  // the repainted part shows the new background
    int rect[4] = {50, 40, 60, 50};
    PaintWin(0, rect);
    BgCol[0] = 0;
    GL().Grab();
    EXPECT_TRUE(GL().Has({200, 74, 74}, 48, 38, 62, 52)) << "the rectangle plus 2 pixels";
    EXPECT_FALSE(GL().Has({200, 74, 74}, 0, 0, 44, H - 1));
    EXPECT_FALSE(GL().Has({200, 74, 74}, 66, 0, W - 1, H - 1));
    // Nothing of the feedback survives the swap.
    EXPECT_FALSE(GL().Has({0, 0, 255}, 0, 0, W - 1, H - 1));
    // The front buffer is selected again for the modes.
    EXPECT_EQ(DrwBufSel[0], DRW_FRONT);
}

TEST_F(DrawCtx, AWindowWithoutAContextSaysSoOnceAndDrawsNothing) {
    ClsGLWin(0);
    GL().failCreate = true;
    Plt().boxes.clear();
    EXPECT_FALSE(OpnGLWin(0));
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].text, "ChoosePixelFormat failed");
    EXPECT_EQ(Plt().boxes[0].caption, "Error");
    EXPECT_FALSE(DrwWinOpen());
    int swaps = GL().swaps;
    IntrCmd(CatDsp, CmdRdrwAll);
    PaintWin(0, nullptr);
    EXPECT_EQ(GL().swaps, swaps);
    EXPECT_EQ(Plt().boxes.size(), 1u) << "no box at every drawing";
    GL().failCreate = false;
    ClsGLWin(0);
    ASSERT_TRUE(OpnGLWin(0));
    PaintWin(0, nullptr);
    EXPECT_EQ(GL().swaps, swaps + 1);
}

}  // namespace
