// Category 1: 2D contour curve commands.
#include "core/cmd.h"
#include "curves/crv_int.h"
#include "terrain/trn.h"
#include "vectorize/vec.h"

int IntrDrw2D(int code) {
    switch (code) {
    case 101001: return CrvInpCmd(code);
    case 101002: return CrvInpCmd(code);
    case 101003: return CrvInpCmd(code);
    case 101004: return CrvInpCmd(code);
    case 101005: return CrvInpCmd(code);
    case 101006: return CrvEdtCmd(code);
    case 101008: return CrvEdtCmd(code);
    case 101009: return CrvEdtCmd(code);
    case 101010: return CrvEdtCmd(code);
    case 101011: return CrvEdtCmd(code);
    case 101012: return CrvEdtCmd(code);
    case 101013: return CrvEdtCmd(code);
    case 101015: return CrvEdtCmd(code);
    case 101016: return CrvEdtCmd(code);
    case 101018: return CrvEdtCmd(code);
    case 101019: return CrvEdtCmd(code);
    case 101020: return CrvEdtCmd(code);
    case 101021: return CrvEdtCmd(code);
    case 101022: return CrvSelCmd(code);
    case 101023: return CrvSelCmd(code);
    case 101027: return CrvSelCmd(code);
    case 101028: return CrvSelCmd(code);
    case 101029: return CrvSelCmd(code);
    case 101030: return CrvSelCmd(code);
    case 101031: return CrvSelCmd(code);
    case 101032: return CrvSelCmd(code);
    case 101033: return CrvSelCmd(code);
    case 101034: return CrvSelCmd(code);
    case 101035: return CrvSelCmd(code);
    case 101038: return CrvEdtCmd(code);
    case 101039: return CrvSelCmd(code);
    case 101040: return CrvSelCmd(code);
    case 101041: return CrvSelCmd(code);
    case 101043: return CrvSelCmd(code);
    case 101044: return CrvSelCmd(code);
    case 101045: return CrvSelCmd(code);
    case 101046: return CrvSelCmd(code);
    case 101047: return CrvSelCmd(code);
    case 101049: return CrvEdtCmd(code);
    case 101050: return CrvSelCmd(code);
    case 101051: return CrvSelCmd(code);
    case 101052: return CrvSelCmd(code);
    case 101053: return CrvEdtCmd(code);
    case 101054: return CrvEdtCmd(code);
    case 101057: return CrvSelCmd(code);
    case 101058: return CrvSelCmd(code);
    case 101024: return TrnRgnMouse();
    case 101025: return TrnRgnPrs();
    case 101026: return TrnRgnRls();
    case 101042: return TrnRgnDlgOk();
    case CmdVecTrace: return VecTrcCmd();
    default:
        CmdNotFound("IntrDrw2D", code);
        return 0;
    }
}
