// Interactive modes, the pointer record, mode switching and cursors (the event router that feeds
// the modes, IntrEvt, is the command tables': app/modetbl.h).
#pragma once
#include <cstdint>

// Kinds of pointer record.
enum MouseKind : int { MsPress = 1, MsRelease = 2, MsMove = 3, MsPress6 = 6 /* press of EVT_PRESS6 */ };

struct MouseEvtRec {
    int kind;    // MouseKind
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
// What the timer does.
enum TmrKind : uint8_t { TmrNone = 0, TmrRpt = 1, TmrWlk = 2 };
extern uint8_t TmrAct;       // TmrKind
extern int RptCat, RptCode;  // repeat command
extern int CrsIdx;           // last cursor index passed to SetCrs
extern uint8_t RunFlg;       // a long operation is running; cleared to cancel

// Event types of IntrEvt.
enum EvtType {
    EVT_LDOWN = 1, EVT_LUP = 2, EVT_MDOWN = 3, EVT_MUP = 4, EVT_RDOWN = 5, EVT_RUP = 6,
    EVT_MOVE = 7, EVT_KEYDOWN = 8, EVT_KEYUP = 9, EVT_TIMER = 10, EVT_PRESS6 = 11,
};

// Mode ids: family in the top byte.
constexpr int ModeId(int family, int number) { return family * 16777216 + number; }

constexpr int ModeIdle = 0;    // no interactive mode
constexpr int ModeRndr = 240;  // rendering

constexpr int CrsNum = 30;   // entries of the cursor table

// Cursor indexes for SetCrs.
enum CrsKind : int {
    CrsArrow = 0,
    CrsLpeNP = 1,     // loupe box dragged with dx <= 0, dy > 0 (window pixels; N/P: sign of dx, dy)
    CrsLpePP = 2,
    CrsLpeNN = 3,
    CrsLpePN = 4,
    CrsPick = 5,      // picking curves
    CrsCross = 6,     // point and stroke input, picking vertices
    CrsScl = 7,
    CrsRot = 8,
    CrsMove = 9,      // moving curves or the view
    CrsWait = 10,
    CrsVtxDrg = 13,
    CrsCrvHgt = 14,   // giving picked curves the current height
    CrsLpe = 22,
    CrsGaz = 23,
    CrsWlk = 24,
    CrsBrd = 25,
};

void SetPtrPix(int x, int y);
void SetPtrKey(int vk);  // key events: the virtual-key code becomes the last key
// Mode switching. The mode table registers what leaving and entering a mode issues and each
// mode's help text (RegModeSw, once at start-up); without it a change only sets CrntMode.
// leave returns true when it finished the change itself (nothing more is done).
struct ModeSw {
    bool (*leave)(int old, int mode) = nullptr;
    void (*enter)(int mode) = nullptr;
    const char* (*help)(int mode) = nullptr;
};
void RegModeSw(const ModeSw& sw);
void SetMode(int mode);
void RstBaseMode();
void SetCrs(int index);
void BgnWork();
bool PumpMsg();  // true when the user cancelled (running flag cleared)
