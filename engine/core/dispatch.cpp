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
// Category table, indexed by category - 1: filled by RegCat.
struct CatEnt {
    CmdFn intr;
    CmdFn dstr;
};
constexpr int CatNum = 99;
CatEnt gCat[CatNum] = {};
}  // namespace

void RegCat(int category, CmdFn intr, CmdFn dstr) {
    if (category < 1 || category > CatNum) return;
    gCat[category - 1] = {intr, dstr};
}

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
        CmdFn f = gCat[category - 1].intr;
        if (!f) return 0;
        return f(code) == -1 ? -1 : 0;
    });
}

int DstrCmd(int category, int operation) {
    return EngGuard([&] {
        if (CmdHook) CmdHook(true, category, operation);
        if (category < 1 || category > CatNum) return 0;
        CmdFn f = gCat[category - 1].dstr;
        if (!f) return 0;
        return f(operation) == -1 ? -1 : 0;
    });
}
