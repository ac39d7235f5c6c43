// ASCII STL reading into the terrain product.
#include <cstdlib>
#include "core/alc.h"
#include "doc/xchg_flow.h"
#include "formats/stl.h"
#include "fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFresh();
    const std::string path = FuzzPut("f.stl", data, size);
    StlRdSum sum;
    EngGuard([&] { return RdStlSum(path, &sum); });
    if (sum.solids < 0 || sum.facets < 0 || sum.skipped < 0) std::abort();
    return 0;
}
