#include "core/cmd.h"
#include "core/alc.h"
#include "core/msg.h"

PndCmdRec PndIntr{};
PndCmdRec PndDstr{};
uint8_t QuitNoAsk = 0;
double SavSlot[2] = {0, 0};
void (*CmdHook)(bool, int, int) = nullptr;
int TopCmd = 0;
unsigned TopCmdEntry = 0;
int ModeCmd = 0;

namespace {
using ModFn = int (*)(int);

// Category table, indexed by category - 1.
struct CatEnt {
    ModFn intr;
    ModFn dstr;
};
constexpr int CatNum = 99;

const CatEnt* CatTbl() {
    static CatEnt tbl[CatNum] = {};
    static bool init = false;
    if (!init) {
        tbl[1 - 1] = {IntrDrw2D, nullptr};
        tbl[4 - 1] = {IntrMdl, DstrMdl};
        tbl[7 - 1] = {IntrMtl, nullptr};
        tbl[8 - 1] = {IntrLgt, DstrLgt};
        tbl[9 - 1] = {IntrView, DstrView};
        tbl[10 - 1] = {IntrAnm, nullptr};
        tbl[11 - 1] = {IntrRndr, DstrRndr};
        tbl[13 - 1] = {IntrDsp, DstrDsp};
        tbl[14 - 1] = {IntrFile, DstrFile};
        tbl[15 - 1] = {IntrWrk, nullptr};
        tbl[99 - 1] = {IntrSys, DstrSys};
        init = true;
    }
    return tbl;
}
}  // namespace

void CmdNotFound(const char* module, int code) {
    ConPrintf("[%s]:Command %d not found.\n", module, code);
}

int IntrCmd(int category, int code) {
    return EngGuard([&] {
        if (CmdHook) CmdHook(false, category, code);
        if (EngGuardDepth() == 1) {
            TopCmd = code;
            TopCmdEntry = EngEntry();
        }
        if (category < 1 || category > CatNum) return 0;
        ModFn f = CatTbl()[category - 1].intr;
        if (!f) return 0;
        return f(code) == -1 ? -1 : 0;
    });
}

int DstrCmd(int category, int operation) {
    return EngGuard([&] {
        if (CmdHook) CmdHook(true, category, operation);
        if (category < 1 || category > CatNum) return 0;
        ModFn f = CatTbl()[category - 1].dstr;
        if (!f) return 0;
        return f(operation) == -1 ? -1 : 0;
    });
}
