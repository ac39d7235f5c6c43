// Map image loading: every layout of the three formats gives the same pixels, the same picture
// traces to the same curves whichever format holds it, and files that cannot be read are refused
// with a message naming them while the previous image stays.
#include "vectorize/vec_fixture.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include "display/view.h"

namespace {

// A picture of many colours (no palette fits it) or of few (every palette does).
Pic Colours(int w, int h) {
    Pic p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetRgb(x, y, static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(y * 11 + 3 * x),
                     static_cast<uint8_t>((x ^ y) * 5));
    return p;
}
Pic Few(int w, int h, int n) {
    Pic p(w, h);
    static const uint8_t c[16][3] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},   {0, 255, 0},
                                     {0, 0, 255},   {9, 99, 199},    {200, 10, 30}, {1, 2, 3},
                                     {50, 60, 70},  {128, 128, 128}, {3, 200, 90},  {77, 7, 177},
                                     {250, 250, 0}, {0, 250, 250},   {64, 32, 16},  {16, 32, 64}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* q = c[(x * 3 + y * 5) % n];
            p.SetRgb(x, y, q[0], q[1], q[2]);
        }
    return p;
}
Pic Greys(int w, int h) {
    Pic p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.Set(x, y, static_cast<uint8_t>(x * 9 + y * 4));
    return p;
}

// Largest difference of the colour channels; -1 when the sizes differ. Alpha must be 255.
int Diff(const Pic& want, const ImgRec& got) {
    if (got.w != want.img.w || got.h != want.img.h || got.stride != 4LL * got.w) return -1;
    int d = 0;
    for (long long i = 0; i < 4LL * got.w * got.h; ++i) {
        int e = i % 4 == 3 ? (got.pix[i] == 255 ? 0 : 999) : std::abs(got.pix[i] - want.buf[i]);
        d = std::max(d, e);
    }
    return d;
}

void WriteBytes(const std::string& f, const std::string& bytes) {
    std::ofstream o(f, std::ios::binary);
    o.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
std::string ReadBytes(const std::string& f) {
    std::ifstream i(f, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(i), {});
}

// A BMP header of 54 bytes with the given fields and no pixels.
std::string BmpHead(int32_t w, int32_t h, int bpp, uint32_t comp) {
    std::string s(54, '\0');
    auto put = [&](int at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
    };
    s[0] = 'B';
    s[1] = 'M';
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(w), 4);
    put(22, static_cast<uint32_t>(h), 4);
    put(26, 1, 2);
    put(28, static_cast<uint32_t>(bpp), 2);
    put(30, comp, 4);
    return s;
}

}  // namespace

class ImgRead : public VecTest {
protected:
    // Reads f directly; the test owns the result.
    struct Got {
        ImgRec img{};
        ImgErrRec e{};
        int r = -1;
        ~Got() { FreeImg(&img); }
    };
    static void Read(const std::string& f, Got* g) { g->r = RdImgFile(f.c_str(), &g->img, &g->e); }
};

// Lossless layouts give back exactly the pixels written, odd widths (row padding) included.
TEST_F(ImgRead, LosslessLayoutsGiveThePixelsBack) {
    const Pic col = Colours(37, 23), few2 = Few(37, 23, 2), few16 = Few(37, 23, 16), grey = Greys(37, 23);
    const Pic thin = Greys(1, 23);
    struct Case {
        const char* what;
        const Pic* pic;
        std::function<std::string(const Pic&, const std::string&)> save;
    };
    auto bmp = [&](BmpWrOpt o) { return [this, o](const Pic& p, const std::string& n) { return SaveBmp(p, n, o); }; };
    auto tif = [&](TifWrOpt o) { return [this, o](const Pic& p, const std::string& n) { return SaveTif(p, n, o); }; };
    const Case cases[] = {
        {"bmp 24", &col, bmp({24, false})},
        {"bmp 24 top-down", &col, bmp({24, true})},
        {"bmp 32", &col, bmp({32, false})},
        {"bmp 8 palette", &few16, bmp({8, false})},
        {"bmp 4 palette", &few16, bmp({4, true})},
        {"bmp 1 palette", &few2, bmp({1, false})},
        {"tif rgb", &col, tif({})},
        {"tif rgb big-endian", &col, tif({.bigEndian = true})},
        {"tif rgb lzw", &col, tif({.compression = 5})},
        {"tif rgb deflate", &col, tif({.compression = 8})},
        {"tif rgb packbits", &col, tif({.compression = 32773})},
        {"tif rgb tiles", &col, tif({.compression = 5, .tile = 16})},
        {"tif rgb 16-bit", &col, tif({.bits = 16, .bigEndian = true})},
        {"tif grey", &grey, tif({.grey = true, .compression = 5})},
        {"tif grey 16-bit tiles", &grey, tif({.bits = 16, .grey = true, .tile = 32})},
        {"tif palette", &few16, tif({.bigEndian = true, .palette = true})},
        {"tif grey one pixel wide", &thin, tif({.grey = true})},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string f = c.save(*c.pic, "l" + std::to_string(i++) + ".img");
        Got g;
        Read(f, &g);
        ASSERT_EQ(g.r, 0) << g.e.why;
        EXPECT_EQ(Diff(*c.pic, g.img), 0);
        EXPECT_STREQ(g.img.path, f.c_str());
    }
}

// One-bit TIFF (black and white; a width whose last byte is part used, so a row's leftover bits
// must not reach the next) and 16-bit BMP with the usual 5-5-5 layout.
TEST_F(ImgRead, BilevelTiffAndHighColourBmp) {
    Pic bw = Few(37, 9, 2);
    Got g;
    Read(SaveTif(bw, "bw.tif", {.bits = 1, .grey = true, .compression = 32773}), &g);
    ASSERT_EQ(g.r, 0) << g.e.why;
    EXPECT_EQ(Diff(bw, g.img), 0);

    // 2 x 2 pixels of 16 bits, bottom row first: white, red / green, blue (5 bits each).
    std::string s = BmpHead(2, 2, 16, 0);
    const uint16_t px[4] = {0x03E0, 0x001F, 0x7FFF, 0x7C00};
    for (uint16_t v : px) s += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    WriteBytes(Path("h.bmp"), s);
    Got h;
    Read(Path("h.bmp"), &h);
    ASSERT_EQ(h.r, 0) << h.e.why;
    const uint8_t want[16] = {255, 255, 255, 255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255};
    EXPECT_EQ(std::vector<uint8_t>(h.img.pix, h.img.pix + 16), std::vector<uint8_t>(want, want + 16));
}

// JPEG: colour and grey scans come back within the loss of quality 100; CMYK scans (as Adobe
// writes them, inverted) become their RGB colours.
TEST_F(ImgRead, JpegColourGreyAndCmyk) {
    Pic col(32, 24, 0);
    col.Fill(0, 0, 15, 23, 200);
    for (int y = 0; y < 24; ++y)
        for (int x = 16; x < 32; ++x) col.SetRgb(x, y, 200, 40, 40);
    Got g;
    Read(SaveJpg(col, "c.jpg", {.quality = 100}), &g);
    ASSERT_EQ(g.r, 0) << g.e.why;
    EXPECT_LE(Diff(col, g.img), 12);

    Pic grey = Greys(33, 17);
    Got k;
    Read(SaveJpg(grey, "g.jpg", {.quality = 100, .grey = true}), &k);
    ASSERT_EQ(k.r, 0) << k.e.why;
    EXPECT_LE(Diff(grey, k.img), 4);

    // CMYK through libjpeg itself: left half no ink, right half full black (inverted values).
    std::string f = Path("k.jpg");
    {
        std::FILE* fp = std::fopen(f.c_str(), "wb");
        ASSERT_NE(fp, nullptr);
        jpeg_compress_struct ci;
        jpeg_error_mgr em;
        ci.err = jpeg_std_error(&em);
        jpeg_create_compress(&ci);
        jpeg_stdio_dest(&ci, fp);
        ci.image_width = 16;
        ci.image_height = 8;
        ci.input_components = 4;
        ci.in_color_space = JCS_CMYK;
        jpeg_set_defaults(&ci);
        jpeg_set_quality(&ci, 100, TRUE);
        jpeg_start_compress(&ci, TRUE);
        uint8_t row[64];
        for (int x = 0; x < 16; ++x) {
            uint8_t v = x < 8 ? 255 : 0;
            row[4 * x] = row[4 * x + 1] = row[4 * x + 2] = 255;
            row[4 * x + 3] = v;
        }
        while (ci.next_scanline < ci.image_height) {
            JSAMPROW rp = row;
            jpeg_write_scanlines(&ci, &rp, 1);
        }
        jpeg_finish_compress(&ci);
        jpeg_destroy_compress(&ci);
        std::fclose(fp);
    }
    Got m;
    Read(f, &m);
    ASSERT_EQ(m.r, 0) << m.e.why;
    EXPECT_GE(m.img.pix[4 * 2], 245);       // paper
    EXPECT_LE(m.img.pix[4 * 13 + 1], 10);   // ink
}

// The same picture in every format traces to the same curves (JPEG: quality 100 of pure black
// and white, whose small losses stay on the paper side of the threshold).
TEST_F(ImgRead, SamePictureInEveryFormatGivesTheSameCurves) {
    Pic pic(48, 36);
    pic.Fill(4, 4, 20, 20, 0);
    pic.Fill(8, 8, 15, 15, 255);
    pic.Fill(26, 6, 43, 8, 0);
    for (int i = 0; i < 20; ++i) pic.Fill(24 + i, 14 + i / 2, 26 + i, 15 + i / 2, 0);
    CamView& v = CurCamObj->view;
    v.ScrWid = 800;
    SetView(0);
    auto traced = [&](const std::string& f) {
        IntrCmd(CatDrw2D, CmdCrvDelAll);
        EXPECT_EQ(Load(f), 0) << f;
        Trace();
        return Curves();
    };
    auto ref = traced(SaveBmp(pic, "ref.bmp"));
    ASSERT_EQ(ref.size(), 4u);
    const std::string files[] = {
        SaveBmp(pic, "a.bmp", {1, true}),          SaveBmp(pic, "b.bmp", {8, false}),
        SaveBmp(pic, "c.bmp", {32, false}),        SaveTif(pic, "d.tif", {.compression = 5}),
        SaveTif(pic, "e.tif", {.bits = 1, .grey = true, .tile = 16}),
        SaveTif(pic, "f.tif", {.bits = 16, .grey = true, .bigEndian = true}),
        SaveJpg(pic, "g.jpg", {.quality = 100, .grey = true}),
        SaveJpg(pic, "h.jpg", {.quality = 100}),
    };
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        auto got = traced(f);
        ASSERT_EQ(got.size(), ref.size());
        for (size_t i = 0; i < ref.size(); ++i) EXPECT_EQ(got[i].xy, ref[i].xy) << i;
    }
}

// Fault: a map that could not be read ended the command in silence, after the image loaded
// before had been freed. Now a box names the file and says why, and the previous image stays.
TEST_F(ImgRead, UnreadableFilesAreRefusedByNameKeepingThePreviousImage) {
    Pic pic(20, 10);
    ASSERT_EQ(Load(SaveBmp(pic, "good.bmp")), 0);
    const std::string jpg = ReadBytes(SaveJpg(Colours(64, 48), "full.jpg"));
    const std::string tif = ReadBytes(SaveTif(Colours(64, 48), "full.tif"));
    const std::string bmp = ReadBytes(SaveBmp(Colours(64, 48), "full.bmp"));
    WriteBytes(Path("empty.jpg"), "");
    WriteBytes(Path("text.jpg"), "this is not a picture\n");
    WriteBytes(Path("cut.jpg"), jpg.substr(0, jpg.size() / 2));
    WriteBytes(Path("head.jpg"), jpg.substr(0, 40));
    WriteBytes(Path("cut.tif"), tif.substr(0, tif.size() / 2));
    WriteBytes(Path("head.tif"), tif.substr(0, 6));
    WriteBytes(Path("cut.bmp"), bmp.substr(0, bmp.size() - 10));
    WriteBytes(Path("rle.bmp"), BmpHead(4, 4, 8, 1) + std::string(1024 + 64, '\0'));
    WriteBytes(Path("huge.bmp"), BmpHead(90000, 90000, 24, 0));
    WriteBytes(Path("wide.bmp"), BmpHead(2000000, 2, 24, 0));
    WriteBytes(Path("zero.bmp"), BmpHead(0, 5, 24, 0));
    WriteBytes(Path("bpp.bmp"), BmpHead(4, 4, 7, 0));
    struct Case {
        const char* file;
        int id;
        const char* says;  // part of the box text
    } const cases[] = {
        {"missing.jpg", 110, "missing.jpg"},
        {".", 110, ""},
        {"empty.jpg", 199, "読み込み中"},
        {"text.jpg", 199, "この形式"},
        {"cut.jpg", 199, "Premature end"},
        {"head.jpg", 199, "JPEG"},
        {"cut.tif", 199, "TIFF"},
        {"head.tif", 199, "TIFF"},
        {"cut.bmp", 199, "途中で切れて"},
        {"rle.bmp", 199, "RLE"},
        {"huge.bmp", 199, "大きすぎ"},
        {"wide.bmp", 199, "大きすぎ"},
        {"zero.bmp", 199, "異常"},
        {"bpp.bmp", 199, "7 ビット"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Plt().Clear();
        std::string f = c.file[0] == '.' ? Dir() : Path(c.file);
        EXPECT_EQ(Load(f), -1);
        ASSERT_EQ(Plt().boxes.size(), 1u);
        const RecBox& b = Plt().boxes[0];
        EXPECT_EQ(b.id, c.id);
        EXPECT_NE(b.text.find(c.file[0] == '.' ? Dir() : std::string(c.file)), std::string::npos) << b.text;
        EXPECT_NE(b.text.find(c.says), std::string::npos) << b.text;
        ASSERT_NE(VecImg.path, nullptr);
        EXPECT_EQ(std::string(VecImg.path), Path("good.bmp"));
        EXPECT_EQ(VecImg.w, 20);
    }
}

// A path too long for the box gives way to its file name, so the reason still shows.
TEST_F(ImgRead, LongPathKeepsTheReasonInTheBox) {
    std::string dir = Dir();
    for (int i = 0; i < 6; ++i) {
        dir += "/folder-with-a-rather-long-name-" + std::to_string(i);
        ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
    }
    std::string f = dir + "/scan.bmp";
    WriteBytes(f, BmpHead(4, 4, 8, 1));
    EXPECT_EQ(Load(f), -1);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_NE(Plt().boxes[0].text.find("scan.bmp"), std::string::npos);
    EXPECT_NE(Plt().boxes[0].text.find("RLE"), std::string::npos);
}

// Fault (mutation left alive): 16-bit grey tiles with white as zero (MINISWHITE) were not inverted.
TEST_F(ImgRead, SixteenBitMinIsWhiteTilesAreInverted) {
    const Pic grey = Greys(37, 23);
    const std::string f = SaveTif(grey, "w.tif", {.bits = 16, .grey = true, .tile = 32});
    std::string b = ReadBytes(f);
    // The photometric entry (tag 262, SHORT, 1 value: 1, black is zero) becomes 0, white is zero.
    const std::string tag("\x06\x01\x03\x00\x01\x00\x00\x00\x01\x00", 10);
    const size_t at = b.find(tag);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(b.find(tag, at + 1), std::string::npos);
    b[at + 8] = 0;
    WriteBytes(f, b);
    Pic inv(37, 23);
    for (size_t i = 0; i < inv.buf.size(); ++i) inv.buf[i] = i % 4 == 3 ? 255 : static_cast<uint8_t>(255 - grey.buf[i]);
    Got g;
    Read(f, &g);
    ASSERT_EQ(g.r, 0) << g.e.why;
    EXPECT_EQ(Diff(inv, g.img), 0);
}
