// Resource ids of the dialogs, ids of their controls, the menu commands that open them and the
// engine commands they issue. Journals address dialogs and controls by these numbers.
#pragma once

namespace shl::dlg {

// Dialogs.
constexpr int IdAbout = 100;
constexpr int IdCrvHgt = 130;
constexpr int IdRgn = 133;
constexpr int IdOutUnit = 141;
constexpr int IdGld = 144;
constexpr int IdFltr = 145;
constexpr int IdSlp = 146;
constexpr int IdPrf = 180;
constexpr int IdDrwArea = 179;
constexpr int IdVtxHgt = 181;
constexpr int IdCrvScl = 182;
constexpr int IdCrvRot = 183;
constexpr int IdSclDst = 184;
constexpr int IdLgt = 185;
constexpr int IdInUnit = 188;
// Dialogs without a resource id are named: "color", "print", "about".

// Controls (ids are unique within their dialog only).
constexpr int CtlCrvHgt = 1000, CtlCrvHgtUnit = 1002;                     // 130
constexpr int CtlItv = 1003, CtlItvUnit = 1004, CtlRgnUnit = 1005;        // 133
constexpr int CtlRgnX0 = 1024, CtlRgnY0 = 1025, CtlRgnX1 = 1026, CtlRgnY1 = 1027;
constexpr int CtlRgnMouse = 1028;
constexpr int CtlDrwWid = 1012, CtlDrwUnit = 1013;                        // 179
constexpr int CtlPickAp = 1029, CtlCnctDst = 1030, CtlSamHgt = 1031;      // 180
constexpr int CtlHgtRng = 1042, CtlBgCol = 1038;
constexpr int CtlTrnMethod = 1049;  // generation method (terrain/trn_mth.h: one row per method)
constexpr int CtlVertExag = 1070;   // vertical exaggeration of the 3D view and the relief
constexpr int CtlAutoSave = 1071;   // seconds between recovery copies, 0 none
constexpr int CtlLang = 1069;       // interface language: Japanese, English, the system's
constexpr int CtlVtxHgt = 1032, CtlVtxHgtUnit = 1033;                     // 181
constexpr int CtlCrvScl = 1034;                                           // 182
constexpr int CtlCrvRot = 1035;                                           // 183
constexpr int CtlSdMeas = 1035, CtlSdReal = 1036, CtlSdUnit = 1037;       // 184
constexpr int CtlLgtEl = 1039, CtlLgtAz = 1040;                           // 185
constexpr int CtlLgtAzSpin = 1041, CtlLgtElSpin = 1042;
constexpr int CtlOutUnit = 1047;                                          // 141
constexpr int CtlInUnit = 1048;                                           // 188
constexpr int CtlGldLat0D = 1050, CtlGldLat0M = 1051, CtlGldLat0S = 1052; // 144
constexpr int CtlGldLon0D = 1056, CtlGldLon0M = 1057, CtlGldLon0S = 1058;
constexpr int CtlGldLat1D = 1059, CtlGldLat1M = 1060, CtlGldLat1S = 1061;
constexpr int CtlGldLon1D = 1062, CtlGldLon1M = 1063, CtlGldLon1S = 1064;
constexpr int CtlGldFix = 1053, CtlGldUpd = 1054;
constexpr int CtlFltrAng = 1060, CtlFltrPrph = 1061;                      // 145
constexpr int CtlSlpThr0 = 1062;  // 1062..1065                           // 146
constexpr int CtlSlpMax = 1066, CtlSlpMean = 1067, CtlSlpIni = 1068;
constexpr int CtlSlpSw0 = 1071;   // 1071..1075: the colour swatches of the five classes

// Menu and toolbar commands that open a dialog.
constexpr int MnuCrvHgt = 32806;
constexpr int MnuRgn = 32807;
constexpr int MnuColor = 32810;
constexpr int MnuLight = 32811;
constexpr int MnuPrf = 32824;
constexpr int MnuDrwArea = 32825;
constexpr int MnuCrvScl = 32848;
constexpr int MnuCrvRot = 32849;
constexpr int MnuVtxHgt = 32850;
constexpr int MnuFltr = 32882;
constexpr int MnuSlp = 32883;
constexpr int MnuAbout = 57664;

}  // namespace shl::dlg
