// Category 1: 2D contour curve commands.
#include "core/cmd.h"
#include "terrain/trn.h"

int IntrDrw2D(int code) {
    switch (code) {
    case 101024: return TrnRgnMouse();
    case 101025: return TrnRgnPrs();
    case 101026: return TrnRgnRls();
    case 101042: return TrnRgnDlgOk();
    default:
        CmdNotFound("IntrDrw2D", code);
        return 0;
    }
}
