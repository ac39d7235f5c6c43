// Contour curves: the curve part, the selection, searches and the operations other modules use.
#pragma once
#include <cstdint>
#include "scene/scene.h"
#include "curves/crv_cmd.h"

extern prt* CrvPart;   // the part holding the contour curves (the terrain part)
extern crv* CrntCrv;   // curve that point or stroke input appends to

extern int NumCrvSlct; // selection, in selection order (tag "CrvSlct")
extern crv** CrvSlct;

// Segment intersection shared by curve editing and terrain generation.
// Returns the count: 1 proper crossing, 2 collinear overlap (first overlap point), 0 none or a
// segment shorter than 0.001, -1 when ends touch within 0.001. out receives up to two points.
int IntscSeg(const double a[2], const double b[2], const double c[2], const double d[2],
             double out[2][2]);

// Terrain scene: reset the curve-drawing parameters; then the part that holds the curves.
void RstCrvPrm();
void SetCrvPart(prt* p);

// Curve parameters (dialogs and the journal set them; lengths in millimetres).
extern float CrvHgt;      // current curve height
extern float CrvScl;      // curve scale factor
extern float CrvRot;      // curve rotation angle, degrees
extern float HgtRng;      // colour range height, metres
extern double StrkStp;    // stroke step, window pixels
extern uint8_t BoxUpdOn;  // bounding-box update switch

crv* NewCrv();
void AddPnt(crv* c, float x, float y, float z);
void DelPnt(crv* c, int index);
void SetCrvHgt(crv* c, float h);
void SetCrvCol(crv* c, float h);
void FreeCrv(crv* c);
void CopyCrv(crv* dst, const crv* src);
void SetCrvPnts(crv* c, int n);      // keep the first n points (n <= count)
void RevCrv(crv* c);                 // reverse the point order in place
void CalCrvBox(crv* c);              // box from the points (no owner update)

// Selection.
bool IsCrvSlct(const crv* c);
void AddCrvSlct(crv* c);             // append and colour red
void ClrCrvSlct();                   // empty, restoring height colours
void DropCrvSlct(crv* c);            // forget a curve about to be freed

// Searches over the visible curves in view whose box overlaps [lo, hi].
crv* PickCrv(const double lo[2], const double hi[2]);
crv* FindCrvEnd(const double lo[2], const double hi[2], int* index);
void PickWnd(double lo[2], double hi[2]);   // window of a release step (press to PtrPos)
void UdtCrvBox();                           // curve part, its owners and the scene box

// Feedback into the 2D view (nothing without a window).
void ShowDrw();                             // swap: show what was drawn in every view
void Redraw();                              // IntrCmd(CatDsp, CmdRdrwAll)

// Scaling the selection about the origin (x and y). The scale-by-distance drag measures two
// points and their distance (model units) for the window's dialog, which scales every curve:
void SclCrvSlct(double f);
extern double SclDstPnt[2][3];
extern double SclDstLen;

// Undo history: each editing step records what it is about to change (RecUndo, kinds in
// crv_cmd.h); Undo and Redo move through the steps. The oldest steps go beyond UndoMaxStep
// steps or UndoMaxMem bytes of copies; a new step drops the undone ones.
extern uint8_t UndoOn;     // undo switch
extern uint8_t UndoCutOn;  // cut-by-line undo switch
// The state line: 0 nothing to undo or redo, 1 undo available (UndoKind: the newest done step),
// 2 the last move was an undo (UndoKind: the step redo would do again) or only redo is left.
extern uint8_t UndoState;
extern int UndoKind;
extern int UndoMaxStep;       // 100
extern long long UndoMaxMem;  // 256 MB
void RecUndo(int kind, int n, crv** curves);
void Undo();
void Redo();
bool CanUndo();
bool CanRedo();
// A step as dump and menus show it: kind, the command that made it, bytes of its copies,
// whether it is undone (on the redo side).
struct UndoStepInfo {
    int kind = 0;
    int cmd = 0;
    long long bytes = 0;
    bool redo = false;
};
int UndoSteps();
UndoStepInfo UndoStepAt(int i);   // i = 0 the newest step
UndoStepInfo NextUndo();          // the step Undo would take back (kind 0: none)
UndoStepInfo NextRedo();          // the step Redo would do again (kind 0: none)
long long UndoBytes();            // copies held by the whole history
void ClrUndo();            // drop the whole history (new or opened document, end)
