// Mode table: one entry per mode (or range of mode ids) with its handler and help text.
#include "core/mode.h"
#include "terrain/trn.h"

namespace {
const ModeEnt ModeTbl[] = {
    // {lo, hi, handler, help}
    {0, 0, nullptr, nullptr},
    {61, 61, TrnRgnMode, nullptr},
    {112, 112, VtxPickMode, nullptr},
    {113, 113, VtxDrgMode, nullptr},
};
}  // namespace

const ModeEnt* FindMode(int mode) {
    for (const ModeEnt& e : ModeTbl)
        if (mode >= e.lo && mode <= e.hi && e.hnd) return &e;
    return nullptr;
}
