// The terrain's commands: the step commands of category CatMdl and the region codes of
// CatDrw2D, the vertex modes, and the window's feedback for terrain creation.
#pragma once
#include "core/feedback.h"
#include "scene/scene.h"

// The terrain's command module (category CatMdl).
int IntrMdl(int code);
int DstrMdl(int code);

// Step commands of the terrain (category 4 and the region codes of category 1).
int TrnCreCmd();     // CmdTrnCre
int TrnHidCmd();     // CmdTrnHid
int TrnShwCmd();     // CmdTrnShw
int VtxPickCmd();    // CmdVtxPick
int VtxPrsCmd();     // CmdVtxPrs
int VtxRlsCmd();     // CmdVtxRls
int VtxDrgCmd();     // CmdVtxDrg
int VtxDrgStep();    // CmdVtxDrgStep
int VtxHgtCmd();     // CmdVtxHgt
int TrnDelCmd();     // CmdTrnDel
int TrnFltrCmd();    // CmdTrnFltr
int TrnMshCmd();     // CmdTrnMsh
int TrnRgnDlgOk();   // CmdRgnDlgOk
int TrnRgnMouse();   // CmdRgnMouse
int TrnRgnPrs();     // CmdRgnPrs
int TrnRgnRls();     // CmdRgnRls

// Mode handlers: 112 vertex pick, 113 height drag (the region drag, 61, is a curve mode).
void VtxPickMode();
void VtxDrgMode();

// Vertex picking in the view: the vertices of s whose window position (view window 0) lies in
// the rectangle from PrsPos to PtrPos become the selection.
void SlctVtx(srf* s);
// Height drag from the pointer position prev to cur: the selected vertices rise by the longer of
// the two moves (up and right raise), in model units of view window 0.
void DrgVtxHgt(const double prev[3], const double cur[3]);

// Slope dialog OK: false when a threshold is outside 0 .. 90; stores them, turns the slope
// display on and redraws.
bool SetSlpDlg(const int thr[4], int mode);

// The window (FbWnd) with the marks of the posts computed, drawn into the front buffer while the
// run lasts: terrain creation from the menu.
extern const Feedback FbWndMrk;
