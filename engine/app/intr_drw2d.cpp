// Category 1: 2D contour curve commands.
#include "app/cats.h"
#include "core/cmd.h"
#include "cmd/crv_chk.h"
#include "curves/crv_int.h"
#include "terrain/trn.h"
#include "curves/crv_cmd.h"
#include "vectorize/vec.h"
#include "cmd/crv_cmds.h"
#include "cmd/trn_cmds.h"

int IntrDrw2D(int code) {
    switch (code) {
    case CmdCrvClk: return CrvInpCmd(code);
    case CmdCrvPnt: return CrvInpCmd(code);
    case CmdCrvStk: return CrvInpCmd(code);
    case CmdCrvBgn: return CrvInpCmd(code);
    case CmdCrvEnd: return CrvInpCmd(code);
    case CmdCrvCnct: return CrvEdtCmd(code);
    case CmdCrvCnctStep: return CrvEdtCmd(code);
    case CmdCrvAuto: return CrvEdtCmd(code);
    case CmdCrvCross: return CrvEdtCmd(code);
    case CmdCrvAutoRls: return CrvEdtCmd(code);
    case CmdCrvDelAll: return CrvEdtCmd(code);
    case CmdCrvDelOne: return CrvEdtCmd(code);
    case CmdCrvDelOneRls: return CrvEdtCmd(code);
    case CmdCrvDelPnt: return CrvEdtCmd(code);
    case CmdCrvDelPntRls: return CrvEdtCmd(code);
    case CmdCrvCut: return CrvEdtCmd(code);
    case CmdCrvCutPrs: return CrvEdtCmd(code);
    case CmdCrvCutRls: return CrvEdtCmd(code);
    case CmdCrvHgt: return CrvSelCmd(code);
    case CmdCrvHgtRls: return CrvSelCmd(code);
    case CmdCrvSlctAll: return CrvSelCmd(code);
    case CmdCrvSlctWnd: return CrvSelCmd(code);
    case CmdCrvSlctCross: return CrvSelCmd(code);
    case CmdCrvSlctWndRls: return CrvSelCmd(code);
    case CmdCrvSlctNone: return CrvSelCmd(code);
    case CmdCrvMove: return CrvSelCmd(code);
    case CmdCrvMoveStep: return CrvSelCmd(code);
    case CmdCrvMoveRight: return CrvSelCmd(code);
    case CmdCrvHgtShow: return CrvSelCmd(code);
    case CmdCrvDelZero: return CrvEdtCmd(code);
    case CmdCrvHideZero: return CrvSelCmd(code);
    case CmdCrvHideAll: return CrvSelCmd(code);
    case CmdCrvShowAll: return CrvSelCmd(code);
    case CmdCrvScl: return CrvSelCmd(code);
    case CmdCrvRot: return CrvSelCmd(code);
    case CmdCrvSclDst: return CrvSelCmd(code);
    case CmdCrvSclDstPrs: return CrvSelCmd(code);
    case CmdCrvSclDstRls: return CrvSelCmd(code);
    case CmdCrvDelHid: return CrvEdtCmd(code);
    case CmdCrvHide: return CrvSelCmd(code);
    case CmdCrvHideRls: return CrvSelCmd(code);
    case CmdCrvVisInv: return CrvSelCmd(code);
    case CmdCrvCutLin: return CrvEdtCmd(code);
    case CmdCrvCutLinRls: return CrvEdtCmd(code);
    case CmdCrvHideWnd: return CrvSelCmd(code);
    case CmdCrvHideWndRls: return CrvSelCmd(code);
    case CmdCrvHgtLin: return CrvHgtLinCmd(code);
    case CmdCrvHgtLinRls: return CrvHgtLinCmd(code);
    case CmdCrvChk: return CrvChkCmd();
    case CmdRgnMouse: return TrnRgnMouse();
    case CmdRgnPrs: return TrnRgnPrs();
    case CmdRgnRls: return TrnRgnRls();
    case CmdRgnDlgOk: return TrnRgnDlgOk();
    case CmdVecTrace: return VecTrcCmd();
    default:
        CmdNotFound("IntrDrw2D", code);
        return 0;
    }
}
