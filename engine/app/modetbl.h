// The mode table and the curve modes' handlers, and the event router that uses them.
#pragma once
#include "core/mode.h"

// The event router: the shell's entry point for mouse, key and timer events (EvtType), which
// feeds the current mode's handler. Returns 0.
int IntrEvt(int type);

// Mode table: handler and help text of a mode id (null when none). Adding a mode is one entry
// in app/modetbl.cpp.
using ModeHnd = void (*)();
struct ModeEnt {
    int lo, hi;  // ids lo..hi
    ModeHnd hnd;
    const char* help;
};
const ModeEnt* FindMode(int mode);
const char* ModeHelp(int mode);  // help text of a mode id, null when it has none

// Standard handler of the curve-table pattern: press/move/release commands for one mode
// (category 1). The right button leaves the mode after rightCmd.
struct CrvModeCmds {
    int mode;
    int press;      // left press command, 0 for none
    int move;       // move command while held, 0: update PtrPos only
    int release;    // release command, 0 for none
    int release2;   // second release command (stroke input), 0 for none
    int rightCmd;   // command issued before leaving on the right button, 0 for none
    double step = 0;  // > 0: the move command only once PtrPos is this many pixels from the
                      // press position, which then moves to PtrPos (stroke input)
    int rubber = 0;   // RubKind shown from the press position to PtrPos while the button is held
};
void StdModeHnd(const CrvModeCmds& c);
void CrvModeHnd();  // handler of every curve mode (app/crvmodes.cpp)
void DoModeEvt();  // the current mode's handler for the event in MouseEvt
