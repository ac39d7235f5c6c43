// Helpers of the curve model that the curve commands share.
#pragma once
#include "curves/crv.h"

void ForgetCrvSlct();

crv* CopyCrvNew(const crv* src);    // detached copy with the same name
crv* AddCrvCopy(const crv* src);    // copy appended to the curve part under src's name
// Append points from..to of src (reversed when rev) to dst; src may be dst.
void AppCrvPnts(crv* dst, const crv* src, int from, int to, bool rev);

bool CrvBoxOvl(const crv* c, const double lo[2], const double hi[2]);
bool CrvCrsWnd(const crv* c, const double lo[2], const double hi[2]);
