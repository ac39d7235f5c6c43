// The map fixtures the tracing journals load, read straight through the image reader: a good
// 8-bit and 24-bit BMP give their pixels, a BMP cut short and a text file named .jpg are refused
// with the reason the journals' message boxes show.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "core/alc.h"
#include "image/img.h"
#include "support/data_path.h"

namespace {

struct Got {
    int r = 0;
    ImgRec img{};
    ImgErrRec e{};
    ~Got() { FreeImg(&img); }
};

void Read(const std::string& name, Got* g) {
    EngGuard([&] { return g->r = RdImgFile(DataPath(name).c_str(), &g->img, &g->e); });
}

}  // namespace

TEST(ImgFixtures, MapSheetsReadWithTheirSizes) {
    struct Case {
        const char* file;
        int w, h;
    } const cases[] = {{"vec_map.bmp", 24, 20}, {"vec_lines.bmp", 80, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Got g;
        Read(c.file, &g);
        ASSERT_EQ(g.r, 0) << g.e.why;
        EXPECT_EQ(g.img.w, c.w);
        EXPECT_EQ(g.img.h, c.h);
        ASSERT_NE(g.img.pix, nullptr);
        // Every pixel is opaque, and the sheet holds both ink and paper.
        bool ink = false, paper = false;
        for (int y = 0; y < g.img.h; y++)
            for (int x = 0; x < g.img.w; x++) {
                const uint8_t* q = g.img.pix + y * g.img.stride + 4 * x;
                EXPECT_EQ(q[3], 255);
                const int grey = (q[0] + q[1] + q[2]) / 3;
                ink = ink || grey < 128;
                paper = paper || grey >= 128;
            }
        EXPECT_TRUE(ink);
        EXPECT_TRUE(paper);
    }
}

TEST(ImgFixtures, CutAndForeignFilesAreRefusedWithTheirReason) {
    Got cut;
    Read("vec_cut.bmp", &cut);
    EXPECT_EQ(cut.r, -1);
    EXPECT_EQ(cut.e.st, ImgErrRead);
    EXPECT_NE(std::strstr(cut.e.why, "18 / 20"), nullptr) << cut.e.why;
    EXPECT_EQ(cut.img.pix, nullptr);

    Got text;
    Read("vec_text.jpg", &text);
    EXPECT_EQ(text.r, -1);
    EXPECT_EQ(text.e.st, ImgErrFmt);
    EXPECT_EQ(text.img.pix, nullptr);
}
