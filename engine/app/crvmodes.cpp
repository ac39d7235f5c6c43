// Handlers of the curve modes: each maps the mouse protocol onto the mode's step commands.
#include "app/modetbl.h"
#include "curves/crv_cmd.h"
#include "display/drw.h"

namespace {
constexpr double StrokeStep = 5.0;  // window pixels between stroke points

const CrvModeCmds CrvModes[] = {
    // mode, press, move, release, release2, right
    {ModeCrvHideWnd, CmdCrvCross, 0, CmdCrvHideWndRls, 0, 0, 0, RubBox},
    {ModeCrvClk, CmdCrvPnt, 0, 0, 0, CmdCrvEnd},
    {ModeCrvStk, CmdCrvPnt, CmdCrvPnt, CmdCrvEnd, CmdCrvBgn, 0, StrokeStep},
    {ModeCrvCnct, 0, 0, CmdCrvCnctStep, 0, 0},
    {ModeCrvAuto, CmdCrvCross, 0, CmdCrvAutoRls, 0, 0, 0, RubBox},
    {ModeCrvDelOne, 0, 0, CmdCrvDelOneRls, 0, 0},
    {ModeCrvDelPnt, CmdCrvCross, 0, CmdCrvDelPntRls, 0, 0, 0, RubBox},
    {ModeCrvCut, CmdCrvCutPrs, 0, 0, 0, 0},
    {ModeCrvHide, 0, 0, CmdCrvHideRls, 0, 0},
    {ModeCrvCutLin, CmdCrvCross, 0, CmdCrvCutLinRls, 0, 0, 0, RubLine},
    {ModeCrvHgtLin, CmdCrvCross, 0, CmdCrvHgtLinRls, 0, 0, 0, RubLine},
    {ModeCrvHgt, 0, 0, CmdCrvHgtRls, 0, 0},
    {ModeRgn, CmdRgnPrs, 0, CmdRgnRls, 0, 0, 0, RubBox},
    {ModeCrvSlctWnd, CmdCrvSlctCross, 0, CmdCrvSlctWndRls, 0, 0, 0, RubBox},
    {ModeCrvMove, 0, CmdCrvMoveStep, 0, 0, 0},
    {ModeCrvSclDst, CmdCrvSclDstPrs, 0, CmdCrvSclDstRls, 0, 0},
};
}  // namespace

void CrvModeHnd() {
    for (const CrvModeCmds& c : CrvModes)
        if (c.mode == CrntMode) {
            StdModeHnd(c);
            return;
        }
}
