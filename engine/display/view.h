// View model: cameras, the derived window state and the window/model mapping.
#pragma once
#include <cstdint>
#include "scene/camrec.h"

struct cam;

// Derived state of a view window, rebuilt by SetView.
struct ViewWinRec {
    CamView v;             // copy of the current camera's view fields
    double RotV[4][4], RotVT[4][4];
    double PixK;
    double MdlToDev[4][4], DevToMdl[4][4];
    float EyeDir[3], EyeF[3];
    double Eye[3];
    double ScrDstK, NearK, FarK;
    double DepthScl, DepthOfs;
    int W, H;              // window size in pixels (at least 2)
    double cx, cy;         // window centre
    int glPrj;             // which projection SetGLView loaded last (1 or 2, 0 none)
    double exag;           // vertical exaggeration inside MdlToDev (1 outside the 3D view)
};
constexpr int ViewWinMax = 4;
extern ViewWinRec ViewWin[ViewWinMax];

extern int WinSizW, WinSizH;   // the shell's record of the view window size (resize takes it)
extern double PixAsp[2];
extern const double ZRes;
extern uint8_t ViewDim;        // 0 2D view, 1 3D view
extern double Wnd2D[4];        // xmin, ymin, xmax, ymax
extern double DspVal;          // the display module's current real value (save slots)
extern double WlkHgt;          // walk-through eye height (fit to view sets it; documents store it)

void SetView(int w);
void MdlToWin(const double p[3], int w, double out[3]);
void MdlToWinF(const float p[3], int w, float out[3]);
void WinToMdl(const double in[3], int w, double p[3]);
void WinToMdlF(const float in[3], int w, float p[3]);
void GetOrthGL();
void GetPrspGL();
void SetGLMdlView();
void SetGLView(int w);
void UpdEyePos(cam* c);
int ChkUpAxis(cam* c, const double oldR[3], const double oldU[3]);
void SetCamDef(cam* c);
void SetTrnView();          // the terrain application's views
// Eye direction of a camera: azimuth (degrees clockwise from north, 0..360) of the way it looks
// and elevation (degrees above the horizon of the eye seen from the point looked at; 90 looks
// straight down).
void CamAzEl(const struct CamView& v, double* az, double* el);
// Camera angles that look from azimuth-opposite side: the camera looks towards az (degrees, 0
// north) from el degrees above the horizon.
void AzElAng(double az, double el, double ang[3]);
// Fits the current camera to the terrain (or the curves, or the region) and looks at it from the
// south at FitElev degrees above the horizon; false when there is nothing to look at.
constexpr double FitElev = 35.0;
bool Fit3DView();
int SwDim(int dim);         // 2D/3D switch; returns 1 when it switched
// The view state of window 0 (the camera shown, the window record, the 2D window), taken before
// a temporary change (a print at another size and scale) and put back after it.
struct ViewSave {
    CamView cam;
    ViewWinRec win;
    double wnd2D[4];
    int sizW, sizH;
};
ViewSave SaveView();
void RstView(const ViewSave& s);

// Conversions the curve commands use (2D view, window 0).
double PixToMdl(double n);
void PtrToMdl(double x, double y, double out[3]);
struct crv;
bool CrvInView(const crv* c);

// The pointer: the model point under window pixel (x, y) of window 0. 2D: the plan point, with
// the terrain's height where the terrain lies under it (returns 1 plan point only, 2 with the
// height). 3D: the first terrain point along the pointer's ray (2), or nothing (0).
int PtrMdlPnt(double x, double y, double p[3]);
// Terrain height at a plan point, bilinear within its grid cell; false off the grid.
bool TrnHgtAt(double x, double y, double* z);
// Whether a post of the grid cell under plan point (x, y) is one the generation left without a
// height (TrnGapOf): the height there is no measurement.
bool TrnNoHgtAt(double x, double y);

// Engine start-up: default cameras and view transforms, 2D view volume.
void IniView();
