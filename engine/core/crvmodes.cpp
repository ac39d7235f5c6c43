// Handlers of the curve modes: each maps the mouse protocol onto the mode's step commands.
#include "core/mode.h"

namespace {
constexpr double StrokeStep = 5.0;  // window pixels between stroke points

const CrvModeCmds CrvModes[] = {
    // mode, press, move, release, release2, right
    {49, 101010, 0, 101058, 0, 0},
    {50, 101002, 0, 0, 0, 101005},
    {51, 101002, 101002, 101005, 101004, 0, StrokeStep},
    {52, 0, 0, 101008, 0, 0},
    {53, 101010, 0, 101011, 0, 0},
    {54, 0, 0, 101015, 0, 0},
    {55, 101010, 0, 101018, 0, 0},
    {56, 101020, 0, 0, 0, 0},
    {57, 0, 0, 101051, 0, 0},
    {58, 101010, 0, 101054, 0, 0},
    {60, 0, 0, 101023, 0, 0},
    {61, 101025, 0, 101026, 0, 0},
    {62, 101029, 0, 101030, 0, 0},
    {63, 0, 101033, 0, 0, 0},
    {65, 101046, 0, 101047, 0, 0},
};
}  // namespace

void CrvModeHnd() {
    for (const CrvModeCmds& c : CrvModes)
        if (c.mode == CrntMode) {
            StdModeHnd(c);
            return;
        }
}
