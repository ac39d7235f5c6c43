// Interactive modes, the pointer record and the event router.
#pragma once
#include <cstdint>

struct MouseEvtRec {
    int kind;    // 1 press, 2 release, 3 move, 6 press of event type 11
    int x, y;    // window pixels
    int button;  // 1 left, 2 middle, 3 right
    uint8_t ldown, mdown, rdown;
};
extern MouseEvtRec MouseEvt;

extern int PtrPix[2];        // last pointer position reported by the shell
extern double PtrPos[3];     // window position for the next step command
extern double PrsPos[3];     // PtrPos at the press that began a drag
extern int CurBtn;           // button of the press the current mode handles
extern uint8_t BtnHeld;      // a press was accepted; releases reach the mode
extern uint8_t Moved;        // moved while held
extern uint8_t ModDrag;      // a Ctrl/Shift view drag is in progress
extern uint8_t ShiftFlg[2];
extern uint8_t CtrlFlg;
extern int LastKey;          // virtual-key code of the last key event; -1 after an allocation failure

extern int CrntMode;
extern int BaseMode;
extern uint8_t TmrAct;       // 0 none, 1 repeat a command, 2 walk-through step
extern int RptCat, RptCode;  // repeat command
extern int CrsIdx;           // last cursor index passed to SetCrs
extern uint8_t RunFlg;       // a long operation is running; cleared to cancel

// Mode ids: family in the top byte.
constexpr int ModeId(int family, int number) { return family * 16777216 + number; }

void SetPtrPix(int x, int y);
void SetPtrKey(int vk);  // key events: the virtual-key code becomes the last key
int IntrEvt(int type);
void DoModeEvt();
void SetMode(int mode);
void RstBaseMode();
void SetCrs(int index);
void BgnWork();
bool PumpMsg();  // true when the user cancelled (running flag cleared)

// Mode table: handler and help text of a mode id (null when none). Adding a mode is one entry
// in modetbl.cpp.
using ModeHnd = void (*)();
struct ModeEnt {
    int lo, hi;  // ids lo..hi
    ModeHnd hnd;
    const char* help;
};
const ModeEnt* FindMode(int mode);

// Standard handler of the curve-table pattern: press/move/release commands for one mode.
struct CrvModeCmds {
    int mode;
    int press;      // left press command, 0 for none
    int move;       // move command while held, 0: update PtrPos only
    int release;    // release command, 0 for none
    int release2;   // second release command (stroke input), 0 for none
    int rightCmd;   // command issued before leaving on the right button, 0 for none
};
void StdModeHnd(const CrvModeCmds& c);
