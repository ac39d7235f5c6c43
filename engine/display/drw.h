// Drawing of the view windows: the redraw cycle, the display switches, the colour table, the
// active-window set, update rectangles and the drawing services with which the interactive modes
// draw feedback straight into the visible picture. Services draw nothing while no view window is
// open.
#pragma once
#include <cstdint>
#include "core/state.h"
#include "display/dsp_cmd.h"

constexpr int DrwWinMax = 4;     // view windows 0..3 (window 0 is the main view)

// Display switches. SrfDsp: bit value 1 draw surfaces, 2 shaded (otherwise wireframe).
// DspFlg is window 0's SrfDsp (F3/F4 set and clear its bit value 2).
extern uint32_t SrfDsp[DrwWinMax];
extern uint32_t& DspFlg;
constexpr uint32_t SrfDspOn = 1, SrfDspShd = 2;
extern uint8_t CrvDsp[DrwWinMax];  // bit value 1: draw curves
extern uint8_t WinDsp[DrwWinMax];  // 1 polylines of DrwPlyLin, 8 axes, 16 2D grid
extern uint8_t AxisOn;             // coordinate axes shown
extern uint8_t GridOn;             // master switch of the 2D grid
extern uint8_t DepthOn;            // depth buffer in use
extern uint8_t TwoSide;            // shaded back faces with reversed winding and normals
extern uint8_t CullOn;
extern double BgCol[3];            // background colour 0..255
extern double WireMin;             // lowest mean grey of a wireframe colour
extern uint8_t NoFlush;            // FlushDrw does nothing while set
extern uint8_t DrwArrOn;           // grids go to GL as vertex arrays (same picture, fewer calls)
extern uint8_t DrwLodOn;           // coarser large grids while a mouse button is held
extern int DspIntVal;              // integer value register: the window that CmdRdrwWin redraws
extern int GrdStp, GrdMaj;         // minor and major grid steps (model units)

// Display switches back to their start-up values (BgCol and the grid steps excepted: they come
// from the settings).
void IniDrwSw();

// Menu-less display switches: shaded and wireframe display (each clears the slope display),
// axes on/off. Each redraws.
void SetShdDsp();
void SetWireDsp();
void SetAxisDsp(int on);

// Relief display: a hypsometric colour ramp over the terrain's height range times hillshading
// from the current light, with a legend of heights. It sits beside wireframe, shaded and slope
// classes (the slope classes win while they are on). Redraws.
extern uint8_t RelDsp;
void SetRelDsp(int on);
// Expected-error display: the terrain coloured by the expected error of each post (TrnErrOf,
// computed when first drawn), from trusted blue to doubtful red over 0 .. the largest error, shaded
// as the relief is, with a legend in metres. It replaces the relief display and yields to the slope
// classes, like it. Redraws.
extern uint8_t ErrDsp;
void SetErrDsp(int on);
// Vertical exaggeration of the 3D view and of the relief shading (exports never use it).
constexpr double VertExagMin = 1, VertExagMax = 20;
extern double VertExag;
// Sets the factor (false and nothing changed when it lies outside 1..20); redraws.
bool SetVertExag(double f);
// The display mode of window 0 as the user chose it.
enum DspMode { DspWire = 0, DspShade = 1, DspSlope = 2, DspRelief = 3, DspError = 4 };
int CurDspMode();
const char* DspModeName(int mode);   // "wire", "shade", "slope", "relief", "error"
// Colour of the relief ramp at t (0 lowest, 1 highest height).
void RelRampCol(double t, float c[3]);
// Colour of the expected-error ramp at t (0 no error, 1 the largest).
void ErrRampCol(double t, float c[3]);
// Hillshade factor of a unit normal under the light direction d (unit, towards the light).
float RelShade(const float n[3], const float d[3], double exag);
// Direction towards the light that shades the relief (the current light, else the start-up one).
void RelLgtDir(float d[3]);
// Spacing in rows and columns of a wireframe grid drawn into window w so that neighbouring
// lines lie at least ReadPix pixels apart (1: every line).
constexpr double ReadPix = 4.0;
int WireStep(int w, double cellModel);

// Colour table and colour codes: 0x1000000 | rgb (red lowest), or an index into ColTbl.
constexpr int ColTblNum = 36;
extern uint8_t ColTbl[ColTblNum][3];
constexpr uint32_t ColRGB = 0x1000000;
void ColRgb(uint32_t code, uint8_t rgb[3]);
int ColIdx(const uint8_t rgb[3]);   // colour-index value of the 3-3-2 palette

// Windows: open flags, the active set and its stack.
// WinOpn (core/state.h): the open flag of each view window.
extern uint8_t WinAct[DrwWinMax];
void PushActWin(int w);   // w >= 0: only w; -1: none; -2: unchanged
void PopActWin();
void IniDrwWin();         // drawing state of every window back to its start
int DrwWinW(int w);       // window size in pixels (at least 2)
int DrwWinH(int w);

// Update rectangle of a window, in pixels, y downwards (inclusive bounds).
struct UpdRctRec {
    int x0, x1, y0, y1;
    int z0, z1;
    double dx0, dx1, dy0, dy1, dz0, dz1;
    uint8_t empty;   // the rectangle lay outside the window: nothing to clear
};
extern UpdRctRec UpdRct[DrwWinMax];
void SetUpdRct(int w, int x0, int x1, int y0, int y1);
void SetUpdRctFull(int w);

// Draw buffers.
enum { DRW_BACK = 0, DRW_FRONT = 1 };
extern int DrwBufSel[DrwWinMax];
void SetDrwBuf(int buf);              // every open window
void SetDrwBuf(int w, int back);      // one window: back != 0 selects the back buffer

// Drawing services: every active window, into the selected buffer.
void SetCol(uint32_t code);
void SetColRGB(float r, float g, float b);
void DrwLin(const double a[3], const double b[3]);                  // model coordinates
void DrwLin(const float a[3], const float b[3], const double* mtx = nullptr);
void DrwPlyLin(const double* pts, int n);                            // n points of x, y, z
void DrwPlyLin(int n, const float* pts, const double* mtx);          // mtx: 4 x 4 or null
void DrwBox(const double lo[3], const double hi[3]);                // rectangle in the plan
void DrwBox(int x, int y, int w, int h);                             // window pixels
void DrwTxt(const double p[3], const char* text);                   // at a model point
void DrwTxt(int x, int y, const char* text);                         // at a window pixel
void DrwMrk(const double p[3], int sizePix);                         // marker cross
void FlushDrw();
// Rubber band of a drag: a line or a box between two plan points (model units), part of every
// picture drawn until it is cleared, so that it shows wherever the picture is shown (feedback drawn
// into the front buffer alone is lost by presenters that redraw from the back one).
enum RubKind { RubNone = 0, RubLine = 1, RubBox = 2 };
void SetRubBand(int kind, const double a[2], const double b[2]);
void ClrRubBand();   // no band; true
int RubBandKind();
void DrwRubBand(int w);
bool DrwWinOpen();                                                   // a view window can be drawn in

// The redraw cycle.
int RdrwAll();           // CmdRdrwAll
int RdrwWin(int w);      // CmdRdrwWin
int RdrwShd();           // CmdRdrwShd
int RdrwFront();         // CmdRdrwFront
int DrwPic();            // CmdDrwPic: the picture of the active windows
int DrwPicView();        // CmdDrwPicView
// Paint of window w; rect (x0, y0, x1, y1, window pixels, y downwards) or null for all.
void PaintWin(int w, const int* rect);

// Background image: a window-sized bottom-up RGB picture (rows padded to 4 bytes) drawn behind a
// shaded scene. The hook, when set, makes it for a window size; null keeps the plain colour.
using BgImgFn = uint8_t* (*)(int w, int h);   // returns AlcMem'd bytes or null
extern BgImgFn BgImgHook;
void FreeBgImg();
// End of system: the drawing module's buffers.
void FreeDrwBuf();

// Grid, labels and axes.
void GrdStep(double extent, long long* s, long long* m);   // step adaptation of the 2D grid
// The 2D grid of the current Wnd2D: steps, line counts and the label step and unit.
struct GrdInfoRec {
    long long step, major;   // minor and major line steps
    long long nx, ny;        // vertical and horizontal lines
    long long lblStep;       // labels every lblStep
    double lblDiv;           // label value divisor (1, 1000, 1000000)
    const char* unit;        // "mm", "m", "km"
};
void GrdInfo(GrdInfoRec* g);
void DrwGrd();
void DrwGrdLbl();
void DrwAxis(int w);
// Orientation overlays: the 2D view's scale bar (with the grid), the 3D view's north arrow (with
// the axes) and the legend of the relief, expected-error or slope-class display drawn last, on a
// panel of its own in the lower right.
void DrwSclBar(int w);
void DrwNorth(int w);
void DrwLgd(int w);
// The legend's panel in window w as the picture being drawn has it (x0 y0 x1 y1, pixels, y
// downwards); false without a legend. Grid labels keep out of it.
bool LgdRect(int w, int r[4]);
// Length (model units) of the scale bar for a window w pixels wide at k pixels per unit: 1, 2 or
// 5 times a power of ten, at most a quarter of the window.
double SclBarLen(double k, int w);
