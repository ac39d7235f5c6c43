// Contour curves: the curve part, the selection, searches and the operations other modules use.
#pragma once
#include <cstdint>
#include "scene/scene.h"

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

crv* NewCrv();
void AddPnt(crv* c, float x, float y, float z);
void DelPnt(crv* c, int index);
void SetCrvHgt(crv* c, float h);
void SetCrvCol(crv* c, float h);
void FreeCrv(crv* c);
void CopyCrv(crv* dst, const crv* src);

// One-step undo.
extern uint8_t UndoOn;     // undo switch
extern uint8_t UndoCutOn;  // cut-by-line undo switch
extern uint8_t UndoState;  // 0 none, 1 undo available, 2 redo available
extern int UndoKind;
void RecUndo(int kind, int n, crv** curves);
void Undo();
void Redo();
void ClrUndo();            // drop the record (new or opened document)
