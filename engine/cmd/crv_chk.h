// Heights along a line and the contour checks: the two helps between tracing a map and building
// a terrain from it.
#pragma once
#include <vector>
#include "curves/crv.h"

// ---- heights along a line ----

// Start height and step (mm) of the next height line (the command's dialog sets them).
extern float HgtLinStart;
extern float HgtLinStep;

// Gives heights along the line from a to b (model mm): every visible curve the line crosses or
// touches gets, in the order of its first crossing from a, HgtLinStart, + HgtLinStep, ... One undo
// step (kind UndoPart); the line is drawn as feedback. Returns the number of curves changed.
int HgtLin(const double a[2], const double b[2]);

// Commands CmdCrvHgtLin (start the drag mode) and CmdCrvHgtLinRls (the line from the press to the
// release).
int CrvHgtLinCmd(int code);

// ---- contour checks ----

// Kinds of finding, in the order the list shows them.
enum ChkKind : int {
    ChkCross = 0,    // curves of different heights cross or touch (i, j)
    ChkSelf = 1,     // a curve crosses itself (i)
    ChkDup = 2,      // two curves coincide (i, j)
    ChkZero = 3,     // height 0 among curves with heights (i)
    ChkOpen = 4,     // an open curve ends inside the region, away from its edge (i)
    ChkJump = 5,     // neighbours differ by more than one interval, or are equal (i, j)
};
constexpr int ChkKindNum = 6;
const char* ChkWord(ChkKind k);   // "crossing", "selfcrossing", ...

struct ChkFnd {
    ChkKind kind;
    int i, j;        // list positions of the curves (j -1 for one curve)
    double x, y;     // where (model mm)
};

struct ChkPrm {
    double rgn[4];   // x0 y0 x1 y1: the region whose edge open curves may end on
    double edgeTol;  // mm: an end this close to the region's edge is on it
    double dupTol;   // mm: curves whose points all lie this close to each other coincide
    int cells;       // cells along the longer side of the neighbour raster
};
// Parameters for the curves of the curve part: the region is the curves' box within the terrain
// region, the tolerances follow its size.
ChkPrm CurChkPrm();

// Findings over n curves (hidden ones included), sorted by kind, then i, then j. itv receives the
// contour interval used (0 when fewer than two heights).
std::vector<ChkFnd> ChkCrv(const crv* const* c, int n, const ChkPrm& prm, double* itv = nullptr);

// The findings of the last CmdCrvChk over the curve part.
extern std::vector<ChkFnd> CrvChkRes;
// Command CmdCrvChk: checks the curve part into CrvChkRes and says how many findings in the
// message area.
int CrvChkCmd();
// Chooses finding k of CrvChkRes: selects its curves and centres the 2D view on its place.
// -1 when there is no such finding.
int ShowChkFnd(int k);
