// Category 4: modelling commands (the terrain).
#include "core/cmd.h"
#include "terrain/trn.h"

int IntrMdl(int code) {
    switch (code) {
    case 104132: return TrnMshCmd();
    case 104133: return TrnCreCmd();
    case 104134: return TrnHidCmd();
    case 104135: return TrnShwCmd();
    case 104136: return VtxPickCmd();
    case 104137: return VtxPrsCmd();
    case 104138: return VtxRlsCmd();
    case 104139: return VtxDrgCmd();
    case 104140: return VtxDrgStep();
    case 104141: return 0;
    case 104142: return VtxHgtCmd();
    case 104143: return TrnDelCmd();
    case 104144: return TrnFltrCmd();
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
