// Internals shared by the view model, the view commands and the light code of the display.
#pragma once
#include "display/view.h"
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

// Commands of the display module.
void ResizeView();               // CmdDspResize
void FitWnd2D();                 // CmdFitWnd2D
void SetPrj(int flg);            // CmdPrjPar, CmdPrjPrs
