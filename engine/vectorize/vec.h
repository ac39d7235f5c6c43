// Tracing contour curves from the map image: every ink area's outline becomes a curve of height 0
// in the curve part, smoothed and thinned.
#pragma once
#include <cstdint>
#include "core/feedback.h"

// Commands (category 1).
constexpr int CmdVecTrace = 101048;    // drop the undo record, then OutLin

// Settings of the auto-vectorize window (start values by IniVec).
extern double VecDpi;      // scan resolution, dots per inch
extern double VecMapScl;   // map scale denominator (25000 for 1:25000)
extern uint8_t VecSlctCrv; // select all curves after a trace
extern uint8_t VecCentre;  // 0 outlines (the default), 1 centre lines
// Scene coordinates (mm) of the map's lower-left corner; without them (VecOrgOn 0) the map is
// centred on the origin.
extern uint8_t VecOrgOn;
extern double VecOrg[2];
constexpr double VecDpiDef = 300;
constexpr double VecMapSclDef = 25000;

// Map scales of the window's list, in its order, and their texts.
constexpr int VecSclNum = 12;
constexpr int VecSclDefIdx = 5;  // 1:25000
extern const int VecSclTbl[VecSclNum];
extern const char* const VecSclTxt[VecSclNum];

// Engine parameters of the filters (no dialog changes them).
extern int OutLinMinArea;   // mm², outlines whose box is smaller are dropped
extern int AveFltrNum;      // smoothing half-window
extern double DstFltrAng;   // degrees, third thinning pass
extern double DstFltrLen;   // mm, third thinning pass

void IniVec();  // start-up values of the settings above and of the image module

// What one trace works on. pix rows are top first, 4 bytes per pixel.
struct VecSrc {
    const uint8_t* pix;
    int w, h;
    long long stride;
};
// Parameters of one trace.
struct VecPrm {
    int thr;            // ink when grey <= thr
    double dpi, scl;    // p = 25.4 / dpi * scl mm per pixel
    int minArea;        // OutLinMinArea
    int aveNum;         // AveFltrNum
    double dstAng;      // DstFltrAng
    double dstLen;      // DstFltrLen
    double scrWid;      // visible width of the view (second thinning pass)
    int pumpMs;         // milliseconds between cancellation checks (0: at every check)
    bool slctAll;       // select all curves at the end
    bool centre = false;  // centre lines instead of outlines
    bool orgOn = false;   // org is the lower-left corner of the map; otherwise the map is centred
    double org[2] = {0, 0};
    Feedback fb;          // progress and cancellation (silent unless the caller gives one)
};
VecPrm CurVecPrm();  // from the engine's settings and the 2D view, with the window's feedback

// Pixel size in model millimetres (32-bit, as the points are).
float VecPixSiz(double dpi, double scl);

// Traces src into new curves of the curve part. Returns 0 when the whole image was scanned, -1
// when cancelled (the curves made so far stay) or when the parameters are unusable (message).
// prm.fb begins and ends with the trace, hears its progress and is asked whether it is cancelled.
int TrcVec(const VecSrc& src, const VecPrm& prm);
// The trace of the loaded image with the current settings (command CmdVecTrace after the undo
// record is dropped). -1 without an image.
int OutLin();
// Command CmdVecTrace of category 1. Puts the number of curves and points made in the message
// area.
int VecTrcCmd();

// What the last trace made (curves and their points).
extern int VecMadeCrv;
extern long long VecMadePnt;

// Filters over one outline of n points (x, y, z floats), in place.
// Smooths x and y over 2k + 1 points (z = 0); a closed outline (ends within 0.001) wraps and keeps
// its last point equal to the first.
void AveFltr(int n, float* p, int k);
// Thins the outline: keeps the ends, drops points near the last kept one where the outline turns
// less than acos(c0), and points closer than 0.1 to a neighbour.
void DstFltr(int* n, float* p, double c0, double d);
// True when the outline's bounding rectangle covers at least minArea.
bool AreaFltr(int n, const float* p, int minArea);
