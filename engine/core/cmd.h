// Command dispatch: the single entry point of every command.
#pragma once
#include <cstdint>

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

// Save slots of the display's current real value (100066..100069).
extern double SavSlot[2];

// Observer of every command, called on entry of IntrCmd (dstr false) and DstrCmd (dstr true)
// inside the command's recovery point; null normally (tests and traces install one).
extern void (*CmdHook)(bool dstr, int category, int code);

// Prints "[<module>]:Command %d not found.\n" on the console.
void CmdNotFound(const char* module, int code);

// Interaction modules (one per category) and execution modules. Each lives in its own module.
int IntrSys(int code);    // 99, core
int IntrDrw2D(int code);  // 1, curves
int IntrMdl(int code);    // 4, terrain
int IntrMtl(int code);    // 7
int IntrLgt(int code);    // 8
int IntrView(int code);   // 9, display
int IntrAnm(int code);    // 10
int IntrRndr(int code);   // 11
int IntrDsp(int code);    // 13, display
int IntrFile(int code);   // 14, file
int IntrWrk(int code);    // 15

int DstrSys(int code);    // 99, core
int DstrMdl(int code);    // 4, terrain
int DstrLgt(int code);    // 8
int DstrView(int code);   // 9, display
int DstrRndr(int code);   // 11
int DstrDsp(int code);    // 13, display
int DstrFile(int code);   // 14, file
