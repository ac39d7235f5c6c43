// Mode table: one entry per mode (or range of mode ids) with its handler and help text.
// Adding a mode is one line here; the handler lives in its module.
#include "core/mode.h"

#include "display/viewcmd.h"

void CrvModeHnd();  // core/crvmodes.cpp

namespace {
const ModeEnt ModeTbl[] = {
    // {lo, hi, handler, help}
    {49, 58, CrvModeHnd, nullptr},
    {60, 63, CrvModeHnd, nullptr},
    {65, 65, CrvModeHnd, nullptr},
    {240, 240, nullptr, "Rendering.\n\n  all button : quit"},
    {ModeId(3, 12), ModeId(3, 12), SclModeHnd, HlpScl},
    {ModeId(3, 13), ModeId(3, 13), ShfModeHnd, HlpShf},
    {ModeId(3, 14), ModeId(3, 14), RotModeHnd, HlpRot},
    {ModeId(3, 230), ModeId(3, 230), LpeModeHnd, HlpLpe},
    {ModeId(3, 231), ModeId(3, 231), WlkModeHnd, HlpWlk},
    {ModeId(3, 232), ModeId(3, 232), BrdModeHnd, HlpBrd},
    {ModeId(3, 233), ModeId(3, 233), GazModeHnd, HlpGaz},
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
