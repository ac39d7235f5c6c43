// Categories 9 and 13: view manipulation and display commands.
#include "core/cmd.h"
#include "display/drw.h"
#include "display/viewcmd.h"
#include "display/viewint.h"

int IntrDsp(int code) {
    switch (code) {
    case 115000: ResizeView(); return 0;
    case 115021: SetPrj(1); return 0;
    case 115022: SetPrj(2); return 0;
    case 115002: return RdrwAll();
    case 115214: return RdrwWin(DspIntVal);
    case 115215: return RdrwShd();
    case 115151: return RdrwFront();
    case 115014: ShfMode(); return 0;
    case 115015: RotMode(); return 0;
    case 115036: ShfStep(); return 0;
    case 115037: RotStep(); return 0;
    case 115043: ViewModeEnd(); return 0;
    case 115093: DrgBgn(); return 0;
    case 115094: DrgEnd(); return 0;
    case 115114: FitView(); return 0;
    case 115131: SclMode(); return 0;
    case 115132: SclStep(); return 0;
    case 115217: SclStep(); return 0;
    case 115218: RimStep(); return 0;
    case 115219: ShfStep(); return 0;
    case 115220: ModBgn(); return 0;
    case 115221: ModEnd(); return 0;
    default:
        CmdNotFound("IntrDsp", code);
        return 0;
    }
}

int DstrDsp(int code) {
    switch (code) {
    case 215000: FitWnd2D(); return 0;
    case 215006: return DrwPicView();
    case 215007: return DrwPic();
    default:
        CmdNotFound("DstrDsp", code);
        return 0;
    }
}

int IntrView(int code) {
    switch (code) {
    case 111000: WlkTmr(); return 0;
    case 111034: LpeMode(); return 0;
    case 111035: LpePress(); return 0;
    case 111036: LpeMove(); return 0;
    case 111037: LpeRelease(); return 0;
    case 111038: WlkMode(); return 0;
    case 111039: WlkPress(); return 0;
    case 111040: WlkStep(); return 0;
    case 111041: WlkRelease(); return 0;
    case 111042: BrdMode(); return 0;
    case 111043: BrdPress(); return 0;
    case 111044: BrdStep(); return 0;
    case 111045: BrdRelease(); return 0;
    case 111046: GazMode(); return 0;
    case 111047: GazPress(); return 0;
    case 111048: GazStep(); return 0;
    case 111049: GazRelease(); return 0;
    default:
        CmdNotFound("IntrView", code);
        return 0;
    }
}

int DstrView(int code) {
    CmdNotFound("DstrView", code);
    return 0;
}
