// Command codes of the terrain module (category CatMdl) and its interactive modes.
#pragma once

constexpr int CmdMdlKeyS = 104110;     // key S (no handler yet)
constexpr int CmdMdlKeyF = 104112;     // key F (no handler yet)
constexpr int CmdMdlKeyD = 104114;     // key D (no handler yet)
constexpr int CmdTrnMsh = 104132;      // mesh interval dialog
constexpr int CmdTrnCre = 104133;      // create the terrain
constexpr int CmdTrnHid = 104134;      // hide the terrain
constexpr int CmdTrnShw = 104135;      // show the terrain
constexpr int CmdVtxPick = 104136;     // pick a vertex for its height (mode ModeVtxPick)
constexpr int CmdVtxPrs = 104137;
constexpr int CmdVtxRls = 104138;
constexpr int CmdVtxDrg = 104139;      // drag vertex heights (mode ModeVtxDrg)
constexpr int CmdVtxDrgStep = 104140;
constexpr int CmdVtxDrgRls = 104141;   // nothing
constexpr int CmdVtxHgt = 104142;      // vertex height dialog
constexpr int CmdTrnDel = 104143;      // delete the terrain
constexpr int CmdTrnFltr = 104144;     // spike filter

// Terrain modes (values of CrntMode).
enum TrnMode : int {
    ModeVtxPick = 112,
    ModeVtxDrg = 113,
};
