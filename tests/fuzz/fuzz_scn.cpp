// Scene document with its geographic side file, opened as File > Open does. The input is the
// document, optionally followed by FuzzSideMark and the side file's text.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "core/alc.h"
#include "doc/doc.h"
#include "fuzz_host.h"
#include "gis/gis.h"
#include "scene/scene.h"
#include "terrain/trn.h"

namespace {
constexpr char FuzzSideMark[] = "\n#side-file#\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFresh();
    const uint8_t* end = data + size;
    const size_t ml = sizeof FuzzSideMark - 1;
    const uint8_t* cut = end;
    for (const uint8_t* p = data; p + ml <= end; ++p)
        if (std::memcmp(p, FuzzSideMark, ml) == 0) {
            cut = p;
            break;
        }
    const std::string path = FuzzPut("f.scn", data, static_cast<size_t>(cut - data));
    if (cut != end) FuzzPut("f.scn.geo", cut + ml, static_cast<size_t>(end - cut - ml));
    else std::remove((path + GisSideExt).c_str());
    EngGuard([&] { return DocOpen(path); });
    // Whatever the file held, a usable scene remains and a refused origin is not kept.
    if (!TrnPrd) std::abort();
    if (GisRef.known && !(std::abs(GisRef.ox) <= GisCrdMax && std::abs(GisRef.oy) <= GisCrdMax)) std::abort();
    return 0;
}
