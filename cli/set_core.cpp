// Journal parameters of the settings record.
#include "core/state.h"
#include "registry.h"

namespace jrn {

// The preferences dialog accepts 1..100 pixels for both.
bool SetPickAp(const Words& v, std::string* err) {
    int x;
    if (!GetInts(v, 1, 1, 100, &x, err)) return false;
    PickAp = x;
    SetWrk.pickAp = x;
    return true;
}

bool SetCnctDst(const Words& v, std::string* err) {
    double x;
    if (!GetReals(v, 1, 1, 100, &x, err)) return false;
    CnctDst = x;
    SetWrk.cnctDst = x;
    return true;
}

}  // namespace jrn
