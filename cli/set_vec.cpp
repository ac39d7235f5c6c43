// Journal parameters of the auto-vectorize window.
#include <cmath>
#include "image/vecimg.h"
#include "lexer.h"
#include "registry.h"
#include "vectorize/vec.h"

namespace jrn {

namespace {
// The window shows a changed threshold or display mode at once; so does the journal, when the
// bitmap has been built.
void Rebuild() {
    if (VecDsp.bits) BldVecDsp();
}
}  // namespace

// One of the zoom list's values, as "1/3" or as a real within 1e-4 of it.
bool SetVecZoomJ(const Words& v, std::string* err) {
    if (v.size() != 1) {
        *err = "expects 1 value, got ";
        *err += std::to_string(v.size());
        return false;
    }
    int idx = -1;
    for (int i = 0; i < VecZoomNum; ++i)
        if (v[0] == VecZoomTxt[i]) idx = i;
    double z;
    if (idx < 0 && ParseReal(v[0], &z))
        for (int i = 0; i < VecZoomNum; ++i)
            if (std::fabs(z - VecZoomTbl[i]) <= 1e-4 * VecZoomTbl[i]) idx = i;
    if (idx < 0) {
        *err = "'" + v[0] + "' is not one of 1/10 .. 1/2, 1, 2 .. 10";
        return false;
    }
    SetVecZoom(VecZoomTbl[idx]);  // a bitmap too large is refused with a message, as in the window
    return true;
}

bool SetVecMonoJ(const Words& v, std::string* err) {
    if (!SetByte(v, VecDspGrey, VecDspMono, &VecMono, err)) return false;
    Rebuild();
    return true;
}

bool SetVecThrJ(const Words& v, std::string* err) {
    if (!SetInt(v, 0, VecThrMax, &VecThr, err)) return false;
    Rebuild();
    return true;
}

// The resolution edit takes an unsigned integer.
bool SetVecDpiJ(const Words& v, std::string* err) {
    int x;
    if (!GetInts(v, 1, 0, 2147483647, &x, err)) return false;
    VecDpi = x;
    return true;
}

// The scale list's denominators only.
bool SetVecMapSclJ(const Words& v, std::string* err) {
    int x;
    if (!GetInts(v, 1, 1, 2147483647, &x, err)) return false;
    for (int s : VecSclTbl)
        if (s == x) {
            VecMapScl = x;
            return true;
        }
    *err = "value " + v[0] + " is not a scale of the list (500 .. 3000000)";
    return false;
}

bool SetVecSlctCrvJ(const Words& v, std::string* err) { return SetByte(v, 0, 1, &VecSlctCrv, err); }

}  // namespace jrn
