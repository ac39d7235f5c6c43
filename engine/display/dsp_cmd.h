// Command codes of the display (category CatDsp) and view (category CatView) modules, and the
// view modes.
#pragma once
#include "core/mode.h"

constexpr int CmdDspResize = 115000;     // the shell has recorded a new window size
constexpr int CmdRndrEnd = 115001;       // the rendering mode was left (no handler yet)
constexpr int CmdRdrwAll = 115002;       // redraw every open window
constexpr int CmdShfMode = 115014;
constexpr int CmdRotMode = 115015;
constexpr int CmdPrjPar = 115021;        // parallel projection
constexpr int CmdPrjPrs = 115022;        // perspective projection
constexpr int CmdShfModeAlt = 115025;    // Shift+E (no handler yet)
constexpr int CmdSclModeAlt = 115032;    // Shift+W (no handler yet)
constexpr int CmdShfStep = 115036;
constexpr int CmdRotStep = 115037;
constexpr int CmdMltEnd = 115042;        // modes 10, 11, 44, 45 were left (no handler yet)
constexpr int CmdViewModeEnd = 115043;   // a view mode was left
constexpr int CmdMltShfEnd = 115087;     // modes 283-287 were left (no handler yet)
constexpr int CmdDrgBgn = 115093;        // press of a view drag
constexpr int CmdDrgEnd = 115094;        // release of a view drag
constexpr int CmdFitView = 115114;
constexpr int CmdSclMode = 115131;
constexpr int CmdSclStep = 115132;
constexpr int CmdRdrwFront = 115151;     // draw again into the front buffer, no swap
constexpr int CmdRdrwWin = 115214;       // redraw the window in DspIntVal
constexpr int CmdRdrwShd = 115215;       // redraw the shaded windows
constexpr int CmdModSclStep = 115217;    // Ctrl drag: scale
constexpr int CmdRimStep = 115218;       // Ctrl+Shift drag: roll along the rim
constexpr int CmdModShfStep = 115219;    // Shift drag: shift
constexpr int CmdModBgn = 115220;        // first move of a Ctrl/Shift drag
constexpr int CmdModEnd = 115221;        // release of a Ctrl/Shift drag
constexpr int CmdRelDsp = 115230;        // relief display (hypsometric colours, hillshading)
constexpr int CmdWhlIn = 115231;         // mouse wheel towards the user's screen: zoom in at PtrPos
constexpr int CmdWhlOut = 115232;        // wheel away: zoom out at PtrPos
constexpr int CmdErrDsp = 115233;        // expected-error display (colours by the error of each post)

// Operations of the display's execution module (DstrCmd, category CatDsp).
constexpr int CmdFitWnd2D = 215000;      // the 2D window takes the window's aspect
constexpr int CmdDrwPicView = 215006;
constexpr int CmdDrwPic = 215007;        // the picture of the active windows

constexpr int CmdWlkTmr = 111000;        // walk step while a walk is held
constexpr int CmdLpeMode = 111034;       // loupe
constexpr int CmdLpePrs = 111035;
constexpr int CmdLpeMove = 111036;
constexpr int CmdLpeRls = 111037;
constexpr int CmdWlkMode = 111038;       // walk-through
constexpr int CmdWlkPrs = 111039;
constexpr int CmdWlkStep = 111040;
constexpr int CmdWlkRls = 111041;
constexpr int CmdBrdMode = 111042;       // bird's-eye view
constexpr int CmdBrdPrs = 111043;
constexpr int CmdBrdStep = 111044;
constexpr int CmdBrdRls = 111045;
constexpr int CmdGazMode = 111046;       // gaze
constexpr int CmdGazPrs = 111047;
constexpr int CmdGazStep = 111048;
constexpr int CmdGazRls = 111049;

// View modes (values of CrntMode).
constexpr int ModeScl = ModeId(3, 12);
constexpr int ModeShf = ModeId(3, 13);
constexpr int ModeRot = ModeId(3, 14);
constexpr int ModeLpe = ModeId(3, 230);
constexpr int ModeWlk = ModeId(3, 231);
constexpr int ModeBrd = ModeId(3, 232);
constexpr int ModeGaz = ModeId(3, 233);
