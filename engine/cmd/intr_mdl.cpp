// Category 4: modelling commands (the terrain).
#include "core/cmd.h"
#include "terrain/trn.h"
#include "terrain/trn_cmd.h"
#include "cmd/trn_cmds.h"

int IntrMdl(int code) {
    switch (code) {
    case CmdTrnMsh: return TrnMshCmd();
    case CmdTrnCre: return TrnCreCmd();
    case CmdTrnHid: return TrnHidCmd();
    case CmdTrnShw: return TrnShwCmd();
    case CmdVtxPick: return VtxPickCmd();
    case CmdVtxPrs: return VtxPrsCmd();
    case CmdVtxRls: return VtxRlsCmd();
    case CmdVtxDrg: return VtxDrgCmd();
    case CmdVtxDrgStep: return VtxDrgStep();
    case CmdVtxDrgRls: return 0;
    case CmdVtxHgt: return VtxHgtCmd();
    case CmdTrnDel: return TrnDelCmd();
    case CmdTrnFltr: return TrnFltrCmd();
    default:
        CmdNotFound("IntrMdl", code);
        return 0;
    }
}

int DstrMdl(int code) {
    switch (code) {
    default:
        CmdNotFound("DstrMdl", code);
        return 0;
    }
}
