// Internal helpers shared by the curve command files.
#pragma once
#include "curves/crv.h"

void ForgetCrvSlct();
void RstInpState();                 // input and connect state back to "nothing begun"

crv* CopyCrvNew(const crv* src);    // detached copy with the same name
crv* AddCrvCopy(const crv* src);    // copy appended to the curve part under src's name
// Append points from..to of src (reversed when rev) to dst; src may be dst.
void AppCrvPnts(crv* dst, const crv* src, int from, int to, bool rev);

bool CrvBoxOvl(const crv* c, const double lo[2], const double hi[2]);
bool CrvCrsWnd(const crv* c, const double lo[2], const double hi[2]);

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
void SetUndoDel(int which);
void FreeAllCrv();
void RstCnct();
void CnctForget(crv* c);
