// Map image readers: the input with its format's signature put in front, so that the fuzzer's
// effort goes into the reader and not into the format test.
#pragma once
#include <cstdlib>
#include <cstring>
#include <vector>
#include "core/alc.h"
#include "fuzz_host.h"
#include "image/img.h"

inline int FuzzImg(const uint8_t* data, size_t size, const uint8_t* sig, size_t sigLen) {
    FuzzFresh();
    std::vector<uint8_t> b(data, data + size);
    if (b.size() < sigLen || std::memcmp(b.data(), sig, sigLen) != 0) b.insert(b.begin(), sig, sig + sigLen);
    const std::string path = FuzzPut("f.img", b.data(), b.size());
    ImgRec img{};
    ImgErrRec e{};
    int r = -1;
    EngGuard([&] {
        r = RdImgFile(path.c_str(), &img, &e);
        return 0;
    });
    if (r == 0) {
        // A picture of sane size whose every byte can be read (ASan checks the reads).
        if (!img.pix || img.w <= 0 || img.h <= 0 || static_cast<long long>(img.w) * img.h > ImgMaxPix) std::abort();
        unsigned sum = 0;
        for (long long i = 0; i < img.stride * img.h; i += 7) sum += img.pix[i];
        if (sum == 0xFFFFFFFFu) std::abort();  // keeps the reads
    } else {
        // A refusal with a reason: the status and more than the format's name.
        const char* colon = std::strchr(e.why, ':');
        if (img.pix || e.st == ImgOk || !e.why[0] || (colon && !colon[1]) ||
            (colon && colon[1] == ' ' && !colon[2]))
            std::abort();
    }
    FreeImg(&img);
    return 0;
}
