// The system module: pending commands, quit, save slots, start-up and end of the engine.
#include "app/sys.h"
#include "app/cats.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "display/view.h"
#include "doc/doc.h"
#include "scene/scene.h"
#include "vectorize/vec.h"

namespace {

constexpr int IntrSysLo = CmdSysLo, IntrSysHi = CmdSysHi;
constexpr int DstrSysLo = CmdSysIni, DstrSysHi = CmdSysEnd;
// Accepted and ignored: locating in a multi-view window (this application shows a single view),
// three codes of no effect, and the note the file and image readers send after a failure.
constexpr int CmdLocBgn = 100032, CmdLocCnt = 100033;
constexpr int CmdSysNop34 = 100034, CmdSysNop35 = 100035, CmdSysNop38 = 100038;
constexpr int CmdRdFail = 100049;

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
        DstrCmd(CatSys, CmdSysEnd);
        return;
    }
    SetCrs(CrsArrow);
    PndIntr.armed = 0;
    PndDstr = {1, CatSys, CmdSysEnd};
    DspCnfMsg(MsgQuit, nullptr);
}

}  // namespace

int IniSys() {
    IniState();
    for (int i = 0; i < ViewWinMax; ++i) {
        ViewWin[i].W = 256;
        ViewWin[i].H = 256;
        ViewWin[i].cx = 128;
        ViewWin[i].cy = 128;
    }
    // light parameter table
    IniPrmLgt();
    // cameras, view transforms, 2D view volume
    IniView();
    // auto-vectorize settings
    IniVec();
    return 0;
}

void EndSys() {
    FreeEngBuf();
    EndState();
}

int IntrSys(int code) {
    if (code < IntrSysLo || code > IntrSysHi) {
        CmdNotFound("IntrSys", code);
        return 0;
    }
    switch (code) {
    case CmdLocBgn:  // locate in a multi-view window: this application shows a single view
    case CmdLocCnt:
    case CmdSysNop34:
    case CmdSysNop35:
    case CmdSysNop38:
    case CmdRdFail: break;
    case CmdRunPnd: RunPnd(); break;
    case CmdQuit: Quit(); break;
    case CmdSavVal0: SavSlot[0] = DspVal; break;
    case CmdSavVal1: SavSlot[1] = DspVal; break;
    case CmdRstVal0: DspVal = SavSlot[0]; break;
    case CmdRstVal1: DspVal = SavSlot[1]; break;
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
    case CmdSysIni: IniSys(); break;  // start-up goes on even if the renderer did not start
    case CmdSysEnd: EndSys(); break;
    default: CmdNotFound("DstrSys", code); break;
    }
    return 0;
}

void StartEng(void (*settings)(void* ctx), void* ctx) {
    RegCats();
    MkTmpNam();
    SetPrmDef();
    if (settings) settings(ctx);
    StoPrm();
    AplPrm();
    DstrCmd(CatSys, CmdSysIni);
    IniScn();
    IniTrnScn();
}
