// Interactive state, the pointer record, mode switching, cursors and the message pump. The router
// that sends events on to the modes lives with the command tables (app/router.cpp).
#include "core/mode.h"
#include "core/alc.h"
#include "core/cmd.h"
#include "platform/platform.h"

MouseEvtRec MouseEvt{};
int PtrPix[2] = {0, 0};
double PtrPos[3] = {0, 0, 0};
double PrsPos[3] = {0, 0, 0};
int CurBtn = 0;
uint8_t BtnHeld = 0;
uint8_t Moved = 0;
uint8_t ModDrag = 0;
uint8_t ShiftFlg[2] = {0, 0};
uint8_t CtrlFlg = 0;
int LastKey = 0;

int CrntMode = ModeIdle;
int BaseMode = ModeIdle;
uint8_t TmrAct = TmrNone;
int RptCat = -1, RptCode = -1;
int CrsIdx = 0;
uint8_t RunFlg = 0;

void SetPtrPix(int x, int y) {
    PtrPix[0] = x;
    PtrPix[1] = y;
}

void SetPtrKey(int vk) { LastKey = vk; }

void SetCrs(int index) {
    if (index < 0 || index >= CrsNum) return;
    plt::Get()->SetCursor(index);
    CrsIdx = index;
}

namespace {
ModeSw gModeSw;

void ShowHelp(int mode) {
    if (const char* h = gModeSw.help ? gModeSw.help(mode) : nullptr) plt::Get()->HelpText(h);
}
}  // namespace

void RegModeSw(const ModeSw& sw) { gModeSw = sw; }

void SetMode(int mode) {
    if (gModeSw.leave && gModeSw.leave(CrntMode, mode)) return;
    CrntMode = mode;
    if (mode != BaseMode && TopCmdEntry == EngEntry()) ModeCmd = TopCmd;
    ShowHelp(mode);
    if (gModeSw.enter) gModeSw.enter(mode);
}

void RstBaseMode() {
    CrntMode = BaseMode;
    ShowHelp(BaseMode);
    SetCrs(CrsArrow);
}

void BgnWork() { RunFlg = 1; }

bool PumpMsg() {
    {
        GuardBarrier gb;
        plt::Get()->PumpMessages(2);
    }
    return RunFlg == 0;
}
