// The system module: pending commands, quit, save slots, start-up and end of the engine.
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "display/view.h"

namespace {

constexpr int IntrSysLo = 100032, IntrSysHi = 100069;
constexpr int DstrSysLo = 200000, DstrSysHi = 200005;

void RunPnd() {
    if (PndIntr.armed) {
        PndIntr.armed = 0;
        IntrCmd(PndIntr.cat, PndIntr.code);
    }
    if (PndDstr.armed) {
        PndDstr.armed = 0;
        DstrCmd(PndDstr.cat, PndDstr.code);
    }
}

void Quit() {
    if (QuitNoAsk) {
        DstrCmd(99, 200005);
        return;
    }
    SetCrs(0);
    PndIntr.armed = 0;
    PndDstr = {1, 99, 200005};
    DspCnfMsg(399, nullptr);
}

}  // namespace

int IntrSys(int code) {
    if (code < IntrSysLo || code > IntrSysHi) {
        CmdNotFound("IntrSys", code);
        return 0;
    }
    switch (code) {
    case 100032:  // locate in a multi-view window: this application shows a single view
    case 100033:
    case 100034:
    case 100035:
    case 100038:
    case 100049: break;
    case 100046: RunPnd(); break;
    case 100058: Quit(); break;
    case 100066: SavSlot[0] = DspVal; break;
    case 100067: SavSlot[1] = DspVal; break;
    case 100068: DspVal = SavSlot[0]; break;
    case 100069: DspVal = SavSlot[1]; break;
    default: CmdNotFound("IntrSys", code); break;
    }
    return 0;
}

int DstrSys(int code) {
    if (code < DstrSysLo || code > DstrSysHi) {
        CmdNotFound("DstrSys", code);
        return 0;
    }
    switch (code) {
    case 200000: IniSys(); break;  // start-up goes on even if the renderer did not start
    case 200005: EndSys(); break;
    default: CmdNotFound("DstrSys", code); break;
    }
    return 0;
}
