// Internal helpers shared by the curve command files.
#pragma once
#include "curves/crv.h"

void ForgetCrvSlct();
void RstInpState();   // input and connect state back to "nothing begun"
