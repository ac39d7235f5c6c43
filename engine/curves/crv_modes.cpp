// Handlers of the curve modes: press, move and release become step commands.
#include "core/mode.h"
#include "curves/crv_int.h"

void StrkModeHnd();

void CrvModeHnd() {
    switch (CrntMode) {
    case 49: StdModeHnd({49, 101010, 0, 101058, 0, 0}); return;
    case 50: StdModeHnd({50, 101002, 0, 0, 0, 101005}); return;
    case 51: StrkModeHnd(); return;
    case 52: StdModeHnd({52, 0, 0, 101008, 0, 0}); return;
    case 53: StdModeHnd({53, 101010, 0, 101011, 0, 0}); return;
    case 54: StdModeHnd({54, 0, 0, 101015, 0, 0}); return;
    case 55: StdModeHnd({55, 101010, 0, 101018, 0, 0}); return;
    case 56: StdModeHnd({56, 101020, 0, 101021, 0, 0}); return;
    case 57: StdModeHnd({57, 0, 0, 101051, 0, 0}); return;
    case 58: StdModeHnd({58, 101010, 0, 101054, 0, 0}); return;
    case 60: StdModeHnd({60, 0, 0, 101023, 0, 0}); return;
    case 62: StdModeHnd({62, 101029, 0, 101030, 0, 0}); return;
    case 63: StdModeHnd({63, 0, 101033, 0, 0, 0}); return;
    case 65: StdModeHnd({65, 101046, 0, 101047, 0, 0}); return;
    default: return;
    }
}
