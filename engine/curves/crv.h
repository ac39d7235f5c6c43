// Contour curves: the curve part, the selection and the operations other modules use. Picking in
// the view, the editing commands and the undo record are the commands' (cmd/).
#pragma once
#include <cstdint>
#include "core/isc.h"
#include "scene/scene.h"
#include "curves/crv_cmd.h"

extern prt* CrvPart;   // the part holding the contour curves (the terrain part)
extern crv* CrntCrv;   // curve that point or stroke input appends to

extern int NumCrvSlct; // selection, in selection order (tag "CrvSlct")
extern crv** CrvSlct;

// Terrain scene: reset the curve-drawing parameters; then the part that holds the curves.
void RstCrvPrm();
void SetCrvPart(prt* p);
// What the curve commands keep about the curves, told by the model (the commands above it set
// the hook when the program starts). reset: RstCrvPrm, or SetCrvPart with another part (newPart:
// the undo history goes too, its steps belong to the old part); freed: FreeCrv is about to free c.
struct CrvObs {
    void (*reset)(bool newPart) = nullptr;
    void (*freed)(crv* c) = nullptr;
};
extern CrvObs CrvHook;

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

// The curve part, its owners and the scene box after the curves changed.
void UdtCrvBox();
