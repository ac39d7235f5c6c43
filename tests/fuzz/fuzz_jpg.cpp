// Map image reader, JPG files.
#include "fuzz_img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const uint8_t sig[] = {0xFF, 0xD8, 0xFF};
    return FuzzImg(data, size, sig, sizeof sig);
}
