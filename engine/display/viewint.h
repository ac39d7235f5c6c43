// Internals shared by the view model, the view commands and the light code of the display.
#pragma once
#include "display/view.h"
#include "scene/scene.h"
#include "display/dsp_cmd.h"

struct LgtBind {             // binding of a PrmLgt entry to an OpenGL light
    int idx;                 // index in PrmLgt
    int word;                // 0
    double posMtx[4][4];     // position transform (identity)
    double dirMtx[4][4];     // direction transform (identity)
};
extern LgtBind* LgtTbl;
extern int NumLgtTbl;

void NtfCam(long code);          // camera-change notification
double PixAspK();                // horizontal pixel aspect factor
CamView* CurView();              // view fields of the camera shown (window 0's copy without one)
void CamAxes(const CamView& v, double r[3][3]);  // right, up, backward rows
bool GLCtxCur();                 // an OpenGL context is current
void SetWnd2D(double w);         // centred 2D window of width w with the window's aspect
void Wnd2DWid(double w);         // 2D window keeps its centre and takes the width w
// Shown in 3D: fits the camera when the scene's plan extents changed since the 3D camera was last
// set (or the stored camera is a bare top view); Forget3DFit starts that record afresh.
void Chk3DFit();
void Forget3DFit();

// View window 0's size in pixels (at least 2).
double Win0W();
double Win0H();
// The screen distance that keeps the camera's view angle for its screen width.
void KeepViewAng(CamView& v);
// The terrain region as a box (false when the region is degenerate in the plan).
bool TrnRgnBox(BBox& b);
bool BoxOk(const BBox& b);   // a box with its minimum below its maximum on every axis

// Commands of the display module.
void ResizeView();               // CmdDspResize
void FitWnd2D();                 // CmdFitWnd2D
void SetPrj(int flg);            // CmdPrjPar, CmdPrjPrs
