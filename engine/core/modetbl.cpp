// Mode table: one entry per mode (or range of mode ids) with its handler and help text.
// Adding a mode is one line here; the handler lives in its module.
#include "core/mode.h"

void CrvModeHnd();  // core/crvmodes.cpp

namespace {
const ModeEnt ModeTbl[] = {
    // {lo, hi, handler, help}
    {49, 58, CrvModeHnd, nullptr},
    {60, 63, CrvModeHnd, nullptr},
    {65, 65, CrvModeHnd, nullptr},
};
}  // namespace

const ModeEnt* FindMode(int mode) {
    for (const ModeEnt& e : ModeTbl)
        if (mode >= e.lo && mode <= e.hi && (e.hnd || e.help)) return &e;
    return nullptr;
}

const char* ModeHelp(int mode) {
    const ModeEnt* e = FindMode(mode);
    return e ? e->help : nullptr;
}
