// The undo record of the editing commands: curve and terrain steps, and the history of them.
#pragma once
#include <cstdint>
#include "curves/crv.h"
#include "curves/crv_cmd.h"

// Undo history: each editing step records what it is about to change (RecUndo, kinds in
// crv_cmd.h); Undo and Redo move through the steps. The oldest steps go beyond UndoMaxStep
// steps or UndoMaxMem bytes of copies; a new step drops the undone ones.
extern uint8_t UndoOn;     // undo switch
extern uint8_t UndoCutOn;  // cut-by-line undo switch
// The state line: 0 nothing to undo or redo, 1 undo available (UndoKind: the newest done step),
// 2 the last move was an undo (UndoKind: the step redo would do again) or only redo is left.
extern uint8_t UndoState;
extern int UndoKind;
extern int UndoMaxStep;       // 100
extern long long UndoMaxMem;  // 256 MB
void RecUndo(int kind, int n, crv** curves);
void Undo();
void Redo();
bool CanUndo();
bool CanRedo();
// A step as dump and menus show it: kind, the command that made it, bytes of its copies,
// whether it is undone (on the redo side).
struct UndoStepInfo {
    int kind = 0;
    int cmd = 0;
    long long bytes = 0;
    bool redo = false;
};
int UndoSteps();
UndoStepInfo UndoStepAt(int i);   // i = 0 the newest step
UndoStepInfo NextUndo();          // the step Undo would take back (kind 0: none)
UndoStepInfo NextRedo();          // the step Redo would do again (kind 0: none)
long long UndoBytes();            // copies held by the whole history
void ClrUndo();            // drop the whole history (new or opened document, end)
// Which deletion by property made the newest kind-5 step (DEL_ZERO or DEL_HIDDEN).
void SetUndoDel(int which);
