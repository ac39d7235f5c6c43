// Map image reader, BMP files.
#include "fuzz_img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const uint8_t sig[] = {'B', 'M'};
    return FuzzImg(data, size, sig, sizeof sig);
}
