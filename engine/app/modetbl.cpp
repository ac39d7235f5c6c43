// Mode table: one entry per mode (or range of mode ids) with its handler and help text.
// Adding a mode is one line here; the handler lives in its module.
#include "app/modetbl.h"
#include "curves/crv_cmd.h"
#include "terrain/trn.h"

#include "cmd/viewcmd.h"
#include "display/dsp_cmd.h"
#include "cmd/trn_cmds.h"

namespace {
const ModeEnt ModeTbl[] = {
    // {lo, hi, handler, help}
    {ModeCrvHideWnd, ModeCrvHgtLin, CrvModeHnd, nullptr},
    {ModeCrvHgt, ModeCrvMove, CrvModeHnd, nullptr},
    {ModeCrvSclDst, ModeCrvSclDst, CrvModeHnd, nullptr},
    {ModeVtxPick, ModeVtxPick, VtxPickMode, nullptr},
    {ModeVtxDrg, ModeVtxDrg, VtxDrgMode, nullptr},
    {ModeRndr, ModeRndr, nullptr, "Rendering.\n\n  all button : quit"},
    {ModeScl, ModeScl, SclModeHnd, HlpScl},
    {ModeShf, ModeShf, ShfModeHnd, HlpShf},
    {ModeRot, ModeRot, RotModeHnd, HlpRot},
    {ModeLpe, ModeLpe, LpeModeHnd, HlpLpe},
    {ModeWlk, ModeWlk, WlkModeHnd, HlpWlk},
    {ModeBrd, ModeBrd, BrdModeHnd, HlpBrd},
    {ModeGaz, ModeGaz, GazModeHnd, HlpGaz},
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
