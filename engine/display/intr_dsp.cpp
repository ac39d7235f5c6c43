// Categories 9 and 13: view manipulation and display commands.
#include "core/cmd.h"
#include "display/drw.h"
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
    default:
        CmdNotFound("IntrView", code);
        return 0;
    }
}

int DstrView(int code) {
    CmdNotFound("DstrView", code);
    return 0;
}
