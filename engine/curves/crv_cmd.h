// Command codes of the curve module (category CatDrw2D), its interactive modes and the undo kinds.
#pragma once

// Point and stroke input.
constexpr int CmdCrvClk = 101001;        // start point input (mode ModeCrvClk)
constexpr int CmdCrvPnt = 101002;        // add the pointer position to the curve being input
constexpr int CmdCrvStk = 101003;        // start stroke input (mode ModeCrvStk)
constexpr int CmdCrvBgn = 101004;        // begin the next curve of a stroke
constexpr int CmdCrvEnd = 101005;        // end the curve being input
// Editing.
constexpr int CmdCrvCnct = 101006;       // connect two curve ends (mode ModeCrvCnct)
constexpr int CmdCrvCnctStep = 101008;   // release in connect mode
constexpr int CmdCrvAuto = 101009;       // automatic connection in a window (mode ModeCrvAuto)
constexpr int CmdCrvCross = 101010;      // press of a pick window: draws the cross
constexpr int CmdCrvAutoRls = 101011;    // release in automatic-connection mode
constexpr int CmdCrvDelAll = 101012;     // delete every curve
constexpr int CmdCrvDelOne = 101013;     // delete one picked curve (mode ModeCrvDelOne)
constexpr int CmdCrvDelOneRls = 101015;
constexpr int CmdCrvDelPnt = 101016;     // delete the points in a window (mode ModeCrvDelPnt)
constexpr int CmdCrvDelPntRls = 101018;
constexpr int CmdCrvCut = 101019;        // cut at a vertex (mode ModeCrvCut)
constexpr int CmdCrvCutPrs = 101020;
constexpr int CmdCrvCutRls = 101021;     // nothing
constexpr int CmdCrvDelZero = 101038;    // delete zero-height curves
constexpr int CmdCrvDelHid = 101049;     // delete hidden curves
constexpr int CmdCrvCutLin = 101053;     // cut along a line (mode ModeCrvCutLin)
constexpr int CmdCrvCutLinRls = 101054;
// Selection, transforms, heights and visibility.
constexpr int CmdCrvHgt = 101022;        // set heights by picking (mode ModeCrvHgt)
constexpr int CmdCrvHgtRls = 101023;
constexpr int CmdCrvSlctAll = 101027;
constexpr int CmdCrvSlctWnd = 101028;    // select in a window (mode ModeCrvSlctWnd)
constexpr int CmdCrvSlctCross = 101029;  // press in window selection: draws the cross
constexpr int CmdCrvSlctWndRls = 101030;
constexpr int CmdCrvSlctNone = 101031;   // deselect all
constexpr int CmdCrvMove = 101032;       // move the selection (mode ModeCrvMove)
constexpr int CmdCrvMoveStep = 101033;
constexpr int CmdCrvMoveRight = 101034;  // nothing: the handler leaves the mode
constexpr int CmdCrvHgtShow = 101035;    // show the height of the curve under the pointer
constexpr int CmdCrvHideZero = 101039;   // hide zero-height and empty curves
constexpr int CmdCrvHideAll = 101040;
constexpr int CmdCrvShowAll = 101041;
constexpr int CmdCrvScl = 101043;        // scale the selection by the curve scale factor
constexpr int CmdCrvRot = 101044;        // rotate the selection by the curve rotation angle
constexpr int CmdCrvSclDst = 101045;     // scale by two picked points (mode ModeCrvSclDst)
constexpr int CmdCrvSclDstPrs = 101046;
constexpr int CmdCrvSclDstRls = 101047;
constexpr int CmdCrvHide = 101050;       // hide picked curves (mode ModeCrvHide)
constexpr int CmdCrvHideRls = 101051;
constexpr int CmdCrvVisInv = 101052;     // invert every curve's visible flag
constexpr int CmdCrvHideWnd = 101057;    // hide the curves in a window (mode ModeCrvHideWnd)
constexpr int CmdCrvHideWndRls = 101058;
// Heights along a line and the contour checks (crv_hgtlin.cpp, crv_chk.cpp).
constexpr int CmdCrvHgtLin = 101060;     // heights along a dragged line (mode ModeCrvHgtLin)
constexpr int CmdCrvHgtLinRls = 101061;
constexpr int CmdCrvChk = 101062;        // run the contour checks (CrvChkRes, message area)
// Terrain region by mouse or dialog (category CatDrw2D, handled by the terrain commands).
constexpr int CmdRgnMouse = 101024;      // mode ModeRgn
constexpr int CmdRgnPrs = 101025;
constexpr int CmdRgnRls = 101026;
constexpr int CmdRgnDlgOk = 101042;

// Curve modes (values of CrntMode).
enum CrvMode : int {
    ModeCrvHideWnd = 49,
    ModeCrvClk = 50,
    ModeCrvStk = 51,
    ModeCrvCnct = 52,
    ModeCrvAuto = 53,
    ModeCrvDelOne = 54,
    ModeCrvDelPnt = 55,
    ModeCrvCut = 56,
    ModeCrvHide = 57,
    ModeCrvCutLin = 58,
    ModeCrvHgtLin = 59,
    ModeCrvHgt = 60,
    ModeRgn = 61,
    ModeCrvSlctWnd = 62,
    ModeCrvMove = 63,
    ModeCrvSclDst = 65,
};

// Undo record kinds (values of UndoKind); what each saves is described at RecUndo.
enum UndoKinds : int {
    UndoNone = 0,      // no record
    UndoDiscard = 1,   // start commands and steps that drop the record
    UndoNewCrv = 2,    // end of a curve in point or stroke input
    UndoPart = 3,      // connect, cut, delete points, hide in a window, visibility changes
    UndoDelAll = 4,    // delete all curves
    UndoDelProp = 5,   // delete hidden or zero-height curves
    UndoDelOne = 6,    // delete one curve
    UndoHgt = 7,       // set one curve's height
    UndoXfm = 8,       // move, scale, rotate, scale by distance
    UndoRgn = 9,       // region set by mouse or dialog
    UndoTrnDel = 10,   // terrain deletion
    UndoTrn = 11,      // terrain creation, filter, height drag
    UndoHideOne = 12,  // hide one picked curve
};
