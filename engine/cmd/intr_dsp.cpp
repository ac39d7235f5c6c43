// Categories 9 and 13: view manipulation and display commands.
#include "core/cmd.h"
#include "display/drw.h"
#include "cmd/viewcmd.h"
#include "display/viewint.h"
#include "terrain/trn.h"
#include "display/dsp_cmd.h"

int IntrDsp(int code) {
    switch (code) {
    case CmdDspResize: ResizeView(); return 0;
    case CmdPrjPar: SetPrj(1); return 0;
    case CmdPrjPrs: SetPrj(2); return 0;
    case CmdRdrwAll: return RdrwAll();
    case CmdRdrwWin: return RdrwWin(DspIntVal);
    case CmdRdrwShd: return RdrwShd();
    case CmdRdrwFront: return RdrwFront();
    case CmdShfMode: ShfMode(); return 0;
    case CmdRotMode: RotMode(); return 0;
    case CmdShfStep: ShfStep(); return 0;
    case CmdRotStep: RotStep(); return 0;
    case CmdViewModeEnd: ViewModeEnd(); return 0;
    case CmdDrgBgn: DrgBgn(); return 0;
    case CmdDrgEnd: DrgEnd(); return 0;
    case CmdFitView: FitView(); return 0;
    case CmdSclMode: SclMode(); return 0;
    case CmdSclStep: SclStep(); return 0;
    case CmdModSclStep: SclStep(); return 0;
    case CmdRimStep: RimStep(); return 0;
    case CmdModShfStep: ShfStep(); return 0;
    case CmdModBgn: ModBgn(); return 0;
    case CmdModEnd: ModEnd(); return 0;
    case CmdRelDsp: SetRelDsp(!RelDsp || SlpDsp); return 0;
    case CmdErrDsp: SetErrDsp(!ErrDsp || SlpDsp); return 0;
    case CmdWhlIn: WhlStep(1); return 0;
    case CmdWhlOut: WhlStep(0); return 0;
    default:
        CmdNotFound("IntrDsp", code);
        return 0;
    }
}

int DstrDsp(int code) {
    switch (code) {
    case CmdFitWnd2D: FitWnd2D(); return 0;
    case CmdDrwPicView: return DrwPicView();
    case CmdDrwPic: return DrwPic();
    default:
        CmdNotFound("DstrDsp", code);
        return 0;
    }
}

int IntrView(int code) {
    switch (code) {
    case CmdWlkTmr: WlkTmr(); return 0;
    case CmdLpeMode: LpeMode(); return 0;
    case CmdLpePrs: LpePress(); return 0;
    case CmdLpeMove: LpeMove(); return 0;
    case CmdLpeRls: LpeRelease(); return 0;
    case CmdWlkMode: WlkMode(); return 0;
    case CmdWlkPrs: WlkPress(); return 0;
    case CmdWlkStep: WlkStep(); return 0;
    case CmdWlkRls: WlkRelease(); return 0;
    case CmdBrdMode: BrdMode(); return 0;
    case CmdBrdPrs: BrdPress(); return 0;
    case CmdBrdStep: BrdStep(); return 0;
    case CmdBrdRls: BrdRelease(); return 0;
    case CmdGazMode: GazMode(); return 0;
    case CmdGazPrs: GazPress(); return 0;
    case CmdGazStep: GazStep(); return 0;
    case CmdGazRls: GazRelease(); return 0;
    default:
        CmdNotFound("IntrView", code);
        return 0;
    }
}

int DstrView(int code) {
    CmdNotFound("DstrView", code);
    return 0;
}
