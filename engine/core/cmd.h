// Command dispatch: the single entry point of every command.
#pragma once
#include <cstdint>

// Command categories: the module that handles a command.
enum CmdCat : int {
    CatDrw2D = 1,   // curves
    CatMdl = 4,     // terrain
    CatMtl = 7,     // materials
    CatLgt = 8,     // lights
    CatView = 9,    // view (display)
    CatAnm = 10,    // animation
    CatRndr = 11,   // renderer
    CatDsp = 13,    // display
    CatFile = 14,   // file
    CatWrk = 15,    // work
    CatSys = 99,    // core
};

// Commands of the core (category CatSys).
constexpr int CmdSysLo = 100032, CmdSysHi = 100069;  // range the core answers
constexpr int CmdRunPnd = 100046;   // run the command that waited for a Yes
constexpr int CmdQuit = 100058;
constexpr int CmdSavVal0 = 100066;  // save the display's current real value in slot 0
constexpr int CmdSavVal1 = 100067;
constexpr int CmdRstVal0 = 100068;  // restore it from slot 0
constexpr int CmdRstVal1 = 100069;

// Operations of the core's execution module (DstrCmd, category CatSys).
constexpr int CmdSysIni = 200000;   // start the engine
constexpr int CmdSysEnd = 200005;   // end the engine

// Commands of modules still to come, issued when their modes are entered or left.
constexpr int CmdMtlEnd = 107090;     // a material mode was left
constexpr int CmdMtlBgn = 107091;     // a material mode was entered
constexpr int CmdLgtPosEnd = 108042;  // the light position mode was left
constexpr int CmdRndrPrvEnd = 114033; // mode 241 was left
constexpr int CmdWrkEnd = 112029;     // modes 500-509 were left

int IntrCmd(int category, int code);
int DstrCmd(int category, int operation);

// A command that runs only when a confirmation is answered Yes.
struct PndCmdRec {
    uint8_t armed;
    int cat;
    int code;
};
extern PndCmdRec PndIntr;
extern PndCmdRec PndDstr;
extern uint8_t QuitNoAsk;  // quit without confirmation

// Save slots of the display's current real value (CmdSavVal0..CmdRstVal1).
extern double SavSlot[2];

// Observer of every command, called on entry of IntrCmd (dstr false) and DstrCmd (dstr true)
// inside the command's recovery point; null normally (tests and traces install one).
extern void (*CmdHook)(bool dstr, int category, int code);

// The command of the user's action: the code of the last outermost IntrCmd and the entry
// (EngEntry) it ran in; ModeCmd is the one that entered the current mode. Undo names its steps by them.
extern int TopCmd;
extern unsigned TopCmdEntry;
extern int ModeCmd;

// Prints "[<module>]:Command %d not found.\n" on the console.
void CmdNotFound(const char* module, int code);

// The module of each category: its interaction and execution procedures (either may be null:
// the category's commands are then ignored). The command tables register one line per category
// at start-up (app/cats.cpp); a category never registered ignores its commands.
using CmdFn = int (*)(int code);
void RegCat(int category, CmdFn intr, CmdFn dstr);

// Frames of the general engine's modules that no command of this application reaches
// (core/othermods.cpp): each reports its code as not found.
int IntrMtl(int code);    // 7
int IntrLgt(int code);    // 8
int IntrAnm(int code);    // 10
int IntrRndr(int code);   // 11
int IntrWrk(int code);    // 15
int DstrLgt(int code);    // 8
int DstrRndr(int code);   // 11
