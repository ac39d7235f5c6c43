// Handlers of the curve modes: each maps the mouse protocol onto the mode's step commands.
#include "core/mode.h"
#include "curves/crv_cmd.h"

namespace {
constexpr double StrokeStep = 5.0;  // window pixels between stroke points

const CrvModeCmds CrvModes[] = {
    // mode, press, move, release, release2, right
    {49, CmdCrvCross, 0, CmdCrvHideWndRls, 0, 0},
    {50, CmdCrvPnt, 0, 0, 0, CmdCrvEnd},
    {51, CmdCrvPnt, CmdCrvPnt, CmdCrvEnd, CmdCrvBgn, 0, StrokeStep},
    {52, 0, 0, CmdCrvCnctStep, 0, 0},
    {53, CmdCrvCross, 0, CmdCrvAutoRls, 0, 0},
    {54, 0, 0, CmdCrvDelOneRls, 0, 0},
    {55, CmdCrvCross, 0, CmdCrvDelPntRls, 0, 0},
    {56, CmdCrvCutPrs, 0, 0, 0, 0},
    {57, 0, 0, CmdCrvHideRls, 0, 0},
    {58, CmdCrvCross, 0, CmdCrvCutLinRls, 0, 0},
    {60, 0, 0, CmdCrvHgtRls, 0, 0},
    {61, CmdRgnPrs, 0, CmdRgnRls, 0, 0},
    {62, CmdCrvSlctCross, 0, CmdCrvSlctWndRls, 0, 0},
    {63, 0, CmdCrvMoveStep, 0, 0, 0},
    {65, CmdCrvSclDstPrs, 0, CmdCrvSclDstRls, 0, 0},
};
}  // namespace

void CrvModeHnd() {
    for (const CrvModeCmds& c : CrvModes)
        if (c.mode == CrntMode) {
            StdModeHnd(c);
            return;
        }
}
