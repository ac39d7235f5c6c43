// Image faults that slipped past the other tests: the OS/2 bitmap's three-byte colour table, the
// header fields every BMP reader relies on, images the writers' formats cannot hold, a BMP of the
// most negative height.
#include "vectorize/vec_fixture.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

void Put(std::string& s, size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}
uint32_t Get(const std::string& s, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
    return v;
}

}  // namespace

class ImgFault : public VecTest {};

// An OS/2 bitmap (12-byte header) keeps its colours in three-byte entries: a 4-bit picture reads
// with each index's own colour, the last entry included.
TEST_F(ImgFault, Os2BitmapReadsItsThreeByteColourTable) {
    const int w = 4, h = 2, n = 16;
    std::string s(14 + 12 + 3 * n + 4 * h, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put(s, 2, static_cast<uint32_t>(s.size()), 4);
    Put(s, 10, 14 + 12 + 3 * n, 4);
    Put(s, 14, 12, 4);
    Put(s, 18, w, 2);
    Put(s, 20, h, 2);
    Put(s, 22, 1, 2);
    Put(s, 24, 4, 2);
    auto col = [](int i) { return std::array<int, 3>{200 - 5 * i, 15 * i, 10 * i}; };  // r, g, b
    for (int i = 0; i < n; ++i) {
        s[26 + 3 * i] = static_cast<char>(col(i)[2]);
        s[26 + 3 * i + 1] = static_cast<char>(col(i)[1]);
        s[26 + 3 * i + 2] = static_cast<char>(col(i)[0]);
    }
    // Bottom row first: indexes 0 1 2 3 below, 12 13 14 15 above.
    const size_t px = 14 + 12 + 3 * n;
    s[px] = 0x01; s[px + 1] = 0x23;
    s[px + 4] = static_cast<char>(0xCD); s[px + 5] = static_cast<char>(0xEF);
    std::ofstream(Path("os2.bmp"), std::ios::binary) << s;
    ImgRec img{};
    ImgErrRec e{};
    ASSERT_EQ(RdImgFile(Path("os2.bmp").c_str(), &img, &e), 0) << e.why;
    ASSERT_EQ(img.w, w);
    ASSERT_EQ(img.h, h);
    const int want[2][4] = {{12, 13, 14, 15}, {0, 1, 2, 3}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const uint8_t* q = img.pix + img.stride * y + 4 * x;
            auto c = col(want[y][x]);
            EXPECT_EQ(q[0], c[0]);
            EXPECT_EQ(q[1], c[1]);
            EXPECT_EQ(q[2], c[2]);
        }
    FreeImg(&img);
}

// A written BMP carries what readers check: one plane, its bit count, the pixel offset and the
// sizes of the file and of the pixels.
TEST_F(ImgFault, WrittenBmpHeaderHasOnePlaneAndItsSizes) {
    Pic p(5, 3, 100);
    for (int bits : {24, 8}) {
        SCOPED_TRACE(bits);
        ASSERT_EQ(WrBmp(Path("h.bmp").c_str(), p.img, {bits, false}), 0);
        std::ifstream in(Path("h.bmp"), std::ios::binary);
        const std::string s(std::istreambuf_iterator<char>(in), {});
        const uint32_t row = (5 * bits + 31) / 32 * 4, pal = bits == 8 ? 1 : 0;
        ASSERT_GE(s.size(), 54u);
        EXPECT_EQ(Get(s, 2, 4), s.size());
        EXPECT_EQ(Get(s, 10, 4), 54 + 4 * pal);
        EXPECT_EQ(Get(s, 14, 4), 40u);
        EXPECT_EQ(Get(s, 26, 2), 1u);
        EXPECT_EQ(Get(s, 28, 2), static_cast<uint32_t>(bits));
        EXPECT_EQ(Get(s, 34, 4), 3 * row);
        EXPECT_EQ(Get(s, 46, 4), pal);
    }
}

// What a format cannot hold is not written: -1 and no file. No rows or no columns for any writer;
// more colours than a BMP's depth has entries; a TIFF tile side not a multiple of 16; a JPEG wider
// than 65500 (a JPEG of exactly 65500 columns is written and reads back).
TEST_F(ImgFault, WritersRefuseWhatTheFormatCannotHold) {
    Pic three(3, 1);
    three.Set(1, 0, 0);
    three.Set(2, 0, 128);
    EXPECT_EQ(WrBmp(Path("three.bmp").c_str(), three.img, {1, false}), -1);
    EXPECT_EQ(WrTif(Path("t20.tif").c_str(), three.img, {.tile = 20}), -1);
    EXPECT_FALSE(std::filesystem::exists(Path("three.bmp")));
    EXPECT_FALSE(std::filesystem::exists(Path("t20.tif")));
    for (int w : {65500, 65501}) {
        Pic wide(w, 1);
        EXPECT_EQ(WrJpg(Path("wide.jpg").c_str(), wide.img, {}), w == 65500 ? 0 : -1) << w;
    }
    ImgRec rd{};
    ImgErrRec e{};
    ASSERT_EQ(RdImgFile(Path("wide.jpg").c_str(), &rd, &e), 0) << e.why;
    EXPECT_EQ(rd.w, 65500);
    FreeImg(&rd);

    Pic p(3, 2);
    for (auto [w, h] : {std::pair{3, 0}, std::pair{0, 2}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        ImgRec img = p.img;
        img.w = w;
        img.h = h;
        EXPECT_EQ(WrBmp(Path("none.bmp").c_str(), img, {}), -1);
        EXPECT_EQ(WrTif(Path("none.tif").c_str(), img, {}), -1);
        EXPECT_EQ(WrJpg(Path("none.jpg").c_str(), img, {}), -1);
        for (const char* f : {"none.bmp", "none.tif", "none.jpg"}) EXPECT_FALSE(std::filesystem::exists(Path(f))) << f;
    }
}

// A BMP whose height is the most negative number (a top-down picture of -2^31 rows) has no
// rows: refused for its size like a height of 0, not read as one row.
TEST_F(ImgFault, BmpOfTheMostNegativeHeightIsRefusedForItsSize) {
    for (uint32_t h : {0u, 0x80000000u}) {
        SCOPED_TRACE(h);
        std::string s(54 + 8, '\0');
        s[0] = 'B';
        s[1] = 'M';
        Put(s, 10, 54, 4);
        Put(s, 14, 40, 4);
        Put(s, 18, 2, 4);
        Put(s, 22, h, 4);
        Put(s, 26, 1, 2);
        Put(s, 28, 24, 2);
        std::ofstream(Path("neg.bmp"), std::ios::binary) << s;
        ImgRec img{};
        ImgErrRec e{};
        EXPECT_EQ(RdImgFile(Path("neg.bmp").c_str(), &img, &e), -1);
        EXPECT_EQ(e.st, ImgErrSize) << e.why;
        EXPECT_NE(std::string(e.why).find("(2 x 0)"), std::string::npos) << e.why;  // no rows
        FreeImg(&img);
    }
}

// Before any map image is loaded a zoom of the table is taken (there is no bitmap to refuse),
// one outside the table is refused; the zoom holds until an image comes.
TEST_F(ImgFault, ZoomWithoutAnImageIsTakenWhenInTheTable) {
    FreeVecImg();
    ASSERT_EQ(VecImg.pix, nullptr);
    const float keep = VecZoom;
    EXPECT_EQ(SetVecZoom(VecZoomTbl[2]), 0);
    EXPECT_EQ(VecZoom, VecZoomTbl[2]);
    EXPECT_EQ(SetVecZoom(0.3f), -1);
    EXPECT_EQ(VecZoom, VecZoomTbl[2]);
    EXPECT_TRUE(Plt().boxes.empty());
    VecZoom = keep;
}
