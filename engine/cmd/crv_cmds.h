// The curve commands: picking in the 2D view, feedback drawn into it, the command groups and
// what they share. The commands see the view; the curve model below them does not.
#pragma once
#include "curves/crv.h"
#include "curves/crv_cmd.h"

// Searches over the visible curves in view whose box overlaps [lo, hi].
crv* PickCrv(const double lo[2], const double hi[2]);
crv* FindCrvEnd(const double lo[2], const double hi[2], int* index);
void PickWnd(double lo[2], double hi[2]);   // window of a release step (press to PtrPos)

// Feedback into the 2D view (nothing without a window).
void ShowDrw();                             // swap: show what was drawn in every view
void Redraw();                              // IntrCmd(CatDsp, CmdRdrwAll)

// Scaling the selection about the origin (x and y). The scale-by-distance drag measures two
// points and their distance (model units) for the window's dialog, which scales every curve:
void SclCrvSlct(double f);
extern double SclDstPnt[2][3];
extern double SclDstLen;

void RstInpState();                 // input and connect state back to "nothing begun"

// Feedback drawing into the 2D view, model coordinates.
void DrwWnd(const double lo[2], const double hi[2]);      // marker colour
void DrwSqr(const double p[2], double r, float cr, float cg, float cb);
void DrwSeg(const double a[3], const double b[3], float cr, float cg, float cb);
void DrwCross();                                           // cross at the press point

// Command groups, one per file.
int CrvInpCmd(int code);
int CrvEdtCmd(int code);
int CrvSelCmd(int code);

// Deletions by property (the kind-5 record remembers which one made it).
enum { DEL_ZERO = 0, DEL_HIDDEN = 1 };
void DelCrvProp(int which);
void FreeAllCrv();
void RstCnct();
void CnctForget(crv* c);
