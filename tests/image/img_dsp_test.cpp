// The display bitmap of the auto-vectorize window: zoom, grey and black-and-white display, the
// zoom chosen on opening, the threshold spin's limits.
#include "vectorize/vec_fixture.h"

namespace {
// Value of bitmap pixel (column j, row i from the top).
int DspAt(int j, int i) {
    return VecDsp.bits[VecDsp.rowBytes * (VecDsp.hdr.height - 1 - i) + 3 * j];
}
}  // namespace

class ImgDsp : public VecTest {};

// Before any image the bitmap measures 640 x 480; a loaded image shows at its zoom.
TEST_F(ImgDsp, SizeFollowsTheImageAndTheZoom) {
    int w, h;
    VecDspSize(1, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    ASSERT_EQ(Load(SaveBmp(Pic(25, 14), "a.bmp")), 0);
    EXPECT_EQ(VecDsp.bits, nullptr);  // built when the window opens
    ASSERT_EQ(SetVecZoom(1.0f / 3), 0);
    EXPECT_EQ(VecDsp.hdr.width, 8);
    EXPECT_EQ(VecDsp.hdr.height, 4);
    EXPECT_EQ(VecDsp.hdr.size, 40u);
    EXPECT_EQ(VecDsp.hdr.bitCount, 24);
    EXPECT_EQ(VecDsp.rowBytes, 24);  // 8 x 3 is already a multiple of 4
    ASSERT_EQ(SetVecZoom(1), 0);
    EXPECT_EQ(VecDsp.rowBytes, 76);  // 25 x 3 = 75, padded
    EXPECT_EQ(VecDsp.hdr.sizeImage, 76u * 14);
    EXPECT_EQ(SetVecZoom(0.3f), -1);  // not a zoom of the list
    EXPECT_FLOAT_EQ(VecZoom, 1);
    // A strip narrower than ten pixels has no columns at 1/10: an empty bitmap, not a failure.
    ASSERT_EQ(Load(SaveBmp(Pic(5, 30), "strip.bmp")), 0);
    EXPECT_EQ(SetVecZoom(1.0f / 10), 0);
    EXPECT_EQ(VecDsp.hdr.width, 0);
    EXPECT_EQ(VecDsp.hdr.height, 3);
}

// Zoom 2 shows each pixel as a 2 x 2 block, top row at the top; grey shows the channel mean and
// black and white splits at the threshold (at or below it is ink, black).
TEST_F(ImgDsp, ZoomTwoGreyAndBlackAndWhite) {
    Pic p(3, 2);
    p.SetRgb(0, 0, 10, 20, 31);    // mean 20
    p.Set(1, 0, 128);
    p.Set(2, 0, 129);
    p.Set(0, 1, 0);
    ASSERT_EQ(Load(SaveBmp(p, "z.bmp")), 0);
    ASSERT_EQ(SetVecZoom(2), 0);
    ASSERT_EQ(VecDsp.hdr.width, 6);
    ASSERT_EQ(VecDsp.hdr.height, 4);
    const int grey[2][3] = {{20, 128, 129}, {0, 255, 255}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 6; ++j) EXPECT_EQ(DspAt(j, i), grey[i / 2][j / 2]) << j << "," << i;
    VecMono = VecDspMono;
    VecThr = 128;
    ASSERT_EQ(BldVecDsp(), 0);
    const int bw[2][3] = {{0, 0, 255}, {0, 255, 255}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 6; ++j) EXPECT_EQ(DspAt(j, i), bw[i / 2][j / 2]) << j << "," << i;
    // All three bytes of a pixel agree.
    const uint8_t* q = VecDsp.bits + VecDsp.rowBytes * 3 + 3 * 2;
    EXPECT_EQ(q[0], q[1]);
    EXPECT_EQ(q[1], q[2]);
}

// A 2000 x 1500 image on a 1024 x 768 screen opens at 1/3 (1/2 gives 1000 x 750, too large for
// 898 x 622); one that fits nowhere opens at 1/10 (with scroll bars in the window).
TEST_F(ImgDsp, ZoomChoiceOnOpening) {
    Pic big = Pic(2000, 1500);
    ASSERT_EQ(Load(SaveBmp(big, "big.bmp", {1, false})), 0);
    EXPECT_FLOAT_EQ(VecZoomFit(1024, 768), 1.0f / 3);
    EXPECT_FLOAT_EQ(VecZoomFit(2200, 1700), 1);
    EXPECT_FLOAT_EQ(VecZoomFit(1126, 896), 1.0f / 2);   // 1000 x 750 fits exactly
    EXPECT_FLOAT_EQ(VecZoomFit(300, 300), 1.0f / 10);
}

// Fault: any zoom built its bitmap, however large (zoom 10 of a large scan asked for gigabytes).
// A zoom whose bitmap would be too large is refused with a message and the zoom stays.
TEST_F(ImgDsp, TooLargeZoomIsRefused) {
    Pic p(3000, 2000);
    ASSERT_EQ(Load(SaveBmp(p, "p.bmp", {1, false})), 0);
    ASSERT_EQ(SetVecZoom(1), 0);
    Plt().Clear();
    EXPECT_EQ(SetVecZoom(10), -1);   // 30000 x 20000 x 3 bytes
    EXPECT_FLOAT_EQ(VecZoom, 1);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 199);
    EXPECT_EQ(VecDsp.hdr.width, 3000);
}

// The threshold spin keeps the value within 0..255.
TEST_F(ImgDsp, ThresholdSpinStopsAtTheLimits) {
    EXPECT_EQ(VecThr, 128);
    VecThr = 1;
    EXPECT_EQ(StepVecThr(-1), 0);
    EXPECT_EQ(StepVecThr(-1), 0);
    VecThr = 254;
    EXPECT_EQ(StepVecThr(1), 255);
    EXPECT_EQ(StepVecThr(1), 255);
    EXPECT_EQ(VecThr, 255);
}
