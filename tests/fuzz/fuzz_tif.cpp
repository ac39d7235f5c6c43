// Map image reader, TIFF files (either byte order).
#include "fuzz_img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const uint8_t sig[] = {'I', 'I', 42, 0};
    const bool big = size >= 4 && std::memcmp(data, "MM\0\x2a", 4) == 0;
    return FuzzImg(data, size, sig, big ? 0 : sizeof sig);
}
