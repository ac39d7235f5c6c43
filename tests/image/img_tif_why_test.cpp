// Every TIFF the reader refuses comes with a reason, also when libtiff refuses without one
// (the message box once read "TIFF: " and nothing more).
#include "vectorize/vec_fixture.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include "core/alc.h"

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream i(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(i), {});
}

struct Lcg {
    uint64_t s;
    uint32_t Next() {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(s >> 33);
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }
};

}  // namespace

class ImgTifWhy : public VecTest {
public:
    // Reads bytes as a file; on refusal the reason after "TIFF: " is returned, "" when read.
    std::string Why(const std::string& b, bool* refused) {
        const std::string f = Path("w.tif");
        std::ofstream(f, std::ios::binary | std::ios::trunc).write(b.data(), static_cast<std::streamsize>(b.size()));
        ImgRec img{};
        ImgErrRec e{};
        int r = 0;
        EngGuard([&] { return r = RdImgFile(f.c_str(), &img, &e); });
        FreeImg(&img);
        *refused = r != 0;
        if (r == 0) return "";
        std::string w = e.why;
        return w.compare(0, 6, "TIFF: ") == 0 ? w.substr(6) : w;
    }
};

TEST_F(ImgTifWhy, EveryRefusedTiffGivesAReason) {
    Pic pic(20, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) pic.SetRgb(x, y, static_cast<uint8_t>(x * 11), static_cast<uint8_t>(y * 19), 7);
    const std::string samples[] = {
        Bytes(SaveTif(pic, "a.tif", {.compression = 5})),
        Bytes(SaveTif(pic, "b.tif", {.bits = 16, .grey = true, .bigEndian = true, .tile = 16})),
        Bytes(SaveTif(pic, "c.tif", {.compression = 8, .rowsPerStrip = 4})),
    };
    Lcg rng{777};
    int refused = 0;
    for (const std::string& s : samples) {
        // Every cut, then bytes overwritten anywhere.
        for (size_t n = 0; n < s.size(); n += 3) {
            bool ref = false;
            std::string why = Why(s.substr(0, n), &ref);
            SCOPED_TRACE("cut at " + std::to_string(n));
            if (ref) {
                ++refused;
                EXPECT_FALSE(why.empty());
            }
        }
        for (int m = 0; m < 300; ++m) {
            std::string b = s;
            for (int k = 0, kn = 1 + static_cast<int>(rng.Below(6)); k < kn; ++k)
                b[rng.Below(static_cast<uint32_t>(b.size()))] = static_cast<char>(rng.Next());
            bool ref = false;
            std::string why = Why(b, &ref);
            SCOPED_TRACE("damage #" + std::to_string(m));
            if (ref) {
                ++refused;
                EXPECT_FALSE(why.empty());
            }
        }
    }
    EXPECT_GT(refused, 100);
}
