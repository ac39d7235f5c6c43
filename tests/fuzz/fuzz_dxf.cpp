// DXF import of contour curves.
#include "core/alc.h"
#include "doc/xchg_flow.h"
#include "formats/dxf.h"
#include "fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFresh();
    const std::string path = FuzzPut("f.dxf", data, size);
    DxfRdSum sum;
    EngGuard([&] { return RdDxf(path, DxfRdPrm{}, &sum); });
    return 0;
}
