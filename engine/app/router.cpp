// Event router, mode dispatcher and mode switching: the command layer sends events and mode
// changes on to the modules that handle them.
#include "app/modetbl.h"
#include "app/cats.h"
#include "core/mode.h"
#include "core/alc.h"
#include "core/cmd.h"
#include "display/drw.h"
#include "display/view.h"
#include "platform/platform.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"

namespace {

// Virtual-key codes the router knows.
enum {
    VK_ENTER = 13, VK_SHIFT = 16, VK_CTRL = 17, VK_ESC = 27,
    VK_D = 68, VK_E = 69, VK_F = 70, VK_Q = 81, VK_R = 82, VK_S = 83, VK_V = 86, VK_W = 87,
    VK_F3 = 114, VK_F4 = 115, VK_F5 = 116,
};

constexpr uint32_t DspFlgF3 = 2;  // display switch toggled by F3/F4

bool In(int m, int lo, int hi) { return m >= lo && m <= hi; }
bool In3(int m, int lo, int hi) { return In(m, ModeId(3, lo), ModeId(3, hi)); }

bool Shift() { return ShiftFlg[0] || ShiftFlg[1]; }

void SetEvt(int kind, int button) {
    MouseEvt.kind = kind;
    MouseEvt.x = PtrPix[0];
    MouseEvt.y = PtrPix[1];
    if (button) MouseEvt.button = button;
}

void SetPtrPos(int x, int y) {
    PtrPos[0] = x;
    PtrPos[1] = y;
    PtrPos[2] = 0;
}

// Ctrl/Shift view drag: works in every mode and hides the moves and the release from it.
void ModDragMove(int code) {
    SetPtrPos(MouseEvt.x, MouseEvt.y);
    if (!ModDrag) {
        for (int i = 0; i < 3; ++i) PrsPos[i] = PtrPos[i];
        IntrCmd(CatDsp, CmdModBgn);
        ModDrag = 1;
        BtnHeld = 1;
    } else if (BtnHeld) {
        IntrCmd(CatDsp, code);
    }
}

int RouteEvt(int type);

void KeyDown() {
    // Esc leaves a mode as the right button does, also in the middle of a drag.
    if (LastKey == VK_ESC && CrntMode != BaseMode) {
        RouteEvt(EVT_RDOWN);
        RouteEvt(EVT_RUP);
        return;
    }
    switch (LastKey) {
    case VK_SHIFT: ShiftFlg[0] = ShiftFlg[1] = 1; break;
    case VK_CTRL: CtrlFlg = 1; break;
    case VK_F3:
        DspFlg |= DspFlgF3;
        IntrCmd(CatDsp, CmdRdrwWin);
        LastKey = 0;
        break;
    case VK_F4:
        DspFlg &= ~DspFlgF3;
        IntrCmd(CatDsp, CmdRdrwWin);
        LastKey = 0;
        break;
    default: break;
    }
    // Shortcuts would disturb a drag in progress.
    if (BtnHeld) return;
    switch (LastKey) {
    case VK_ENTER: IntrCmd(CatDsp, CmdRdrwFront); break;
    case VK_D: IntrCmd(CatMdl, CmdMdlKeyD); break;
    case VK_E: IntrCmd(CatDsp, Shift() ? CmdShfModeAlt : CmdShfMode); break;
    case VK_F: IntrCmd(CatMdl, CmdMdlKeyF); break;
    case VK_Q: IntrCmd(CatDsp, CmdFitView); break;
    case VK_R: IntrCmd(CatDsp, CmdRotMode); break;
    case VK_S: IntrCmd(CatMdl, CmdMdlKeyS); break;
    case VK_V: SetMode(BaseMode); break;
    case VK_W: IntrCmd(CatDsp, Shift() ? CmdSclModeAlt : CmdSclMode); break;
    default: break;
    }
}

void KeyUp() {
    switch (LastKey) {
    case VK_SHIFT:
    case VK_F5: ShiftFlg[0] = ShiftFlg[1] = 0; break;
    case VK_CTRL: CtrlFlg = 0; break;
    default: break;
    }
}

int RouteEvt(int type) {
    switch (type) {
    case EVT_LDOWN:
        SetEvt(MsPress, Shift() ? 2 : 1);
        MouseEvt.ldown = 1;
        DoModeEvt();
        break;
    case EVT_LUP:
        // The button is up whether or not a mode took the press: a stale down flag would turn
        // later Ctrl/Shift moves into view drags.
        MouseEvt.ldown = 0;
        if (!BtnHeld) break;
        SetEvt(MsRelease, Shift() ? 2 : 1);
        MouseEvt.mdown = 0;
        DoModeEvt();
        break;
    case EVT_MDOWN:
        SetEvt(MsPress, 2);
        MouseEvt.mdown = 1;
        DoModeEvt();
        break;
    case EVT_MUP:
        MouseEvt.mdown = 0;
        if (!BtnHeld) break;
        SetEvt(MsRelease, 2);
        DoModeEvt();
        break;
    case EVT_RDOWN:
        SetEvt(MsPress, 3);
        MouseEvt.rdown = 1;
        DoModeEvt();
        break;
    case EVT_RUP:
        MouseEvt.rdown = 0;
        if (!BtnHeld) break;
        SetEvt(MsRelease, 3);
        DoModeEvt();
        break;
    case EVT_MOVE:
        SetEvt(MsMove, 0);
        DoModeEvt();
        break;
    case EVT_KEYDOWN: KeyDown(); break;
    case EVT_KEYUP: KeyUp(); break;
    case EVT_TIMER:
        if (TmrAct == TmrRpt)
            IntrCmd(RptCat, RptCode);
        else if (TmrAct == TmrWlk)
            IntrCmd(CatView, CmdWlkTmr);
        break;
    case EVT_PRESS6:
        SetEvt(MsPress6, 1);
        DoModeEvt();
        break;
    default: break;
    }
    return 0;
}

}  // namespace

int IntrEvt(int type) {
    return EngGuard([&] { return RouteEvt(type); });
}

void DoModeEvt() {
    FlushDrw();
    if (BtnHeld && MouseEvt.kind == MsMove) Moved = 1;
    if (ModDrag && MouseEvt.kind == MsRelease) {
        IntrCmd(CatDsp, CmdModEnd);
        ModDrag = 0;
        BtnHeld = 0;
        return;
    }
    if (MouseEvt.kind == MsMove && MouseEvt.ldown) {
        if (Shift() && CtrlFlg && ViewDim == 1) {
            ModDragMove(CmdRimStep);
            return;
        }
        if (CtrlFlg) {
            ModDragMove(CmdModSclStep);
            return;
        }
        if (Shift()) {
            ModDragMove(CmdModShfStep);
            return;
        }
    }
    const ModeEnt* e = FindMode(CrntMode);
    if (e && e->hnd) {
        e->hnd();
    } else if (MouseEvt.kind == MsRelease) {
        // The mode that took the press has gone (right button while dragging): the hold ends
        // here, or shortcuts and releases would stay blocked.
        BtnHeld = 0;
    }
}

void StdModeHnd(const CrvModeCmds& c) {
    const MouseEvtRec& ev = MouseEvt;
    switch (ev.kind) {
    case MsPress:
        PtrPix[0] = ev.x;
        PtrPix[1] = ev.y;
        CurBtn = ev.button;
        if (ev.button == 3) {
            if (c.rightCmd) IntrCmd(CatDrw2D, c.rightCmd);
            SetMode(BaseMode);
            SetCrs(CrsArrow);
            return;
        }
        SetPtrPos(ev.x, ev.y);
        if (ev.button == 1 && c.press) IntrCmd(CatDrw2D, c.press);
        for (int i = 0; i < 3; ++i) PrsPos[i] = PtrPos[i];
        BtnHeld = 1;
        break;
    case MsMove:
        if (!BtnHeld || CurBtn != 1) return;
        SetPtrPos(ev.x, ev.y);
        if (c.rubber != RubNone && DrwWinOpen()) {
            double a[3], b[3];
            PtrToMdl(PrsPos[0], PrsPos[1], a);
            PtrToMdl(PtrPos[0], PtrPos[1], b);
            SetRubBand(c.rubber, a, b);
            IntrCmd(CatDsp, CmdRdrwAll);
        }
        if (!c.move) return;
        if (c.step > 0) {
            double dx = PtrPos[0] - PrsPos[0], dy = PtrPos[1] - PrsPos[1];
            if (dx * dx + dy * dy < c.step * c.step) return;
            IntrCmd(CatDrw2D, c.move);
            for (int i = 0; i < 3; ++i) PrsPos[i] = PtrPos[i];
        } else {
            IntrCmd(CatDrw2D, c.move);
        }
        break;
    case MsRelease:
        BtnHeld = 0;
        if (RubBandKind() != RubNone) {
            // The band goes before the step draws its own feedback.
            ClrRubBand();
            IntrCmd(CatDsp, CmdRdrwAll);
        }
        if (c.release) IntrCmd(CatDrw2D, c.release);
        if (c.release2) IntrCmd(CatDrw2D, c.release2);
        break;
    default: break;
    }
}

namespace {

// The mode table's share of a mode change: what leaving the old mode's family issues.
bool LeaveMode(int old, int mode) {
    ClrRubBand();
    if (old == 10 || old == 11 || old == 44 || old == 45) {
        if (!(mode == 10 || mode == 11 || mode == 44 || mode == 45)) IntrCmd(CatDsp, CmdMltEnd);
    } else if (old == ModeRndr) {
        // No renderer runs in this application, so it is never busy.
        if (mode != ModeRndr) {
            CrntMode = mode;
            IntrCmd(CatDsp, CmdRndrEnd);
            SetCrs(CrsArrow);
            return true;
        }
    } else if (old == 241) {
        IntrCmd(CatRndr, CmdRndrPrvEnd);
    } else if (In(old, 283, 287)) {
        IntrCmd(CatDsp, CmdMltShfEnd);
    } else if (In(old, 500, 509)) {
        if (!In(mode, 500, 509) && mode != ModeShf) IntrCmd(CatWrk, CmdWrkEnd);
    } else if (In3(old, 12, 15) || In3(old, 18, 20) || In3(old, 271, 282) || In3(old, 292, 294)) {
        if (!(In3(mode, 12, 15) || In3(mode, 271, 282) || In3(mode, 292, 294))) IntrCmd(CatDsp, CmdViewModeEnd);
    } else if (In3(old, 16, 17) || In3(old, 202, 203) || In3(old, 230, 233)) {
        if (mode != old) RstBaseMode();
    } else if (old == ModeId(3, 201)) {
        IntrCmd(CatLgt, CmdLgtPosEnd);
    } else if (In3(old, 208, 218) || In3(old, 220, 225)) {
        IntrCmd(CatMtl, CmdMtlEnd);
        if (!(In3(mode, 210, 218) || In3(mode, 220, 225))) SetCrs(CrsArrow);
    }
    return false;
}

void EnterMode(int mode) {
    if (In3(mode, 208, 218) || In3(mode, 220, 225)) IntrCmd(CatMtl, CmdMtlBgn);
}

}  // namespace

void RegModes() { RegModeSw({LeaveMode, EnterMode, ModeHelp}); }
