// Interactive state, the pointer record, cursors and the message pump. The router that sends
// events on to the modes lives with the command layer (app/router.cpp).
#include "core/mode.h"
#include "core/alc.h"
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

void BgnWork() { RunFlg = 1; }

bool PumpMsg() {
    {
        GuardBarrier gb;
        plt::Get()->PumpMessages(2);
    }
    return RunFlg == 0;
}
