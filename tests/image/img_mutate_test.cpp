// Damaged files never crash the readers: small JPEG, TIFF and BMP files are cut short, have bytes
// overwritten and header fields set to extremes, deterministically, and each result is either a
// picture of sane size or a refusal with a reason.
#include "vectorize/vec_fixture.h"

#include <fstream>
#include "core/alc.h"
#include <iterator>

namespace {

// Deterministic generator (the same damage on every run).
struct Lcg {
    uint64_t s;
    uint32_t Next() {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(s >> 33);
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }
};

Pic Sample(int w, int h) {
    Pic p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetRgb(x, y, static_cast<uint8_t>(x * 13), static_cast<uint8_t>(y * 17),
                     static_cast<uint8_t>((x + y) * 5));
    p.Fill(3, 3, 9, 9, 0);
    return p;
}

constexpr int MutPerFile = 120;  // damaged copies of each sample

}  // namespace

class ImgMutate : public VecTest {};

TEST_F(ImgMutate, DamagedFilesAreReadOrRefusedWithoutCrashing) {
    const Pic pic = Sample(24, 18);
    const Pic few = Pic({"#..#..#..#..#..#",
                         ".#..#..#..#..#..",
                         "..#..#..#..#..#.",
                         "#..#..#..#..#..#"});
    const std::string samples[] = {
        SaveJpg(pic, "s1.jpg", {.quality = 80}),
        SaveJpg(pic, "s2.jpg", {.quality = 90, .grey = true}),
        SaveTif(pic, "s3.tif", {.compression = 5}),
        SaveTif(pic, "s4.tif", {.bits = 16, .grey = true, .bigEndian = true, .compression = 8, .tile = 16}),
        SaveTif(few, "s5.tif", {.compression = 32773, .palette = true}),
        SaveBmp(pic, "s6.bmp", {24, false}),
        SaveBmp(few, "s7.bmp", {4, true}),
        SaveBmp(few, "s8.bmp", {1, false}),
    };
    Lcg rng{12345};
    int read = 0, refused = 0;
    for (const std::string& s : samples) {
        std::string orig;
        {
            std::ifstream i(s, std::ios::binary);
            orig.assign(std::istreambuf_iterator<char>(i), {});
        }
        ASSERT_GT(orig.size(), 64u) << s;
        for (int m = 0; m < MutPerFile; ++m) {
            std::string b = orig;
            const uint32_t n = static_cast<uint32_t>(b.size());
            switch (m % 4) {
            case 0:  // cut short
                b.resize(rng.Below(n));
                break;
            case 1:  // a few random bytes anywhere
                for (int k = 0, kn = 1 + static_cast<int>(rng.Below(8)); k < kn; ++k)
                    b[rng.Below(n)] = static_cast<char>(rng.Next());
                break;
            case 2:  // header bytes to 0x00 or 0xFF
                for (int k = 0, kn = 1 + static_cast<int>(rng.Below(4)); k < kn; ++k)
                    b[rng.Below(std::min<uint32_t>(n, 200))] = rng.Below(2) ? '\xff' : '\0';
                break;
            default:  // a run of bytes replaced, then cut
                {
                    uint32_t at = rng.Below(n), len = 1 + rng.Below(32);
                    for (uint32_t k = at; k < std::min(n, at + len); ++k) b[k] = static_cast<char>(rng.Next());
                    if (rng.Below(2)) b.resize(at + rng.Below(n - at));
                }
                break;
            }
            std::string f = Path("m.img");
            {
                std::ofstream o(f, std::ios::binary | std::ios::trunc);
                o.write(b.data(), static_cast<std::streamsize>(b.size()));
            }
            SCOPED_TRACE(s + " #" + std::to_string(m));
            ImgRec img{};
            ImgErrRec e{};
            int r = 0;
            EngGuard([&] {
                r = RdImgFile(f.c_str(), &img, &e);
                return 0;
            });
            if (r == 0) {
                ++read;
                ASSERT_NE(img.pix, nullptr);
                EXPECT_GT(img.w, 0);
                EXPECT_GT(img.h, 0);
                EXPECT_LE(static_cast<long long>(img.w) * img.h, ImgMaxPix);
                // Every byte is readable (ASan reports a short buffer here).
                unsigned sum = 0;
                for (long long i = 0; i < img.stride * img.h; i += 3) sum += img.pix[i];
                (void)sum;
            } else {
                ++refused;
                EXPECT_EQ(img.pix, nullptr);
                EXPECT_NE(e.st, ImgOk);
            }
            FreeImg(&img);
        }
    }
    // Some damage leaves a readable picture, most does not.
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
    // Nothing reached the standard error or the console.
    EXPECT_TRUE(Plt().console.empty());
}
