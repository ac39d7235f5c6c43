// PLACEHOLDER until the drawing module lands: the services draw nothing.
#include "display/drw.h"

uint32_t DspFlg = 0;

void SetDrwBuf(int) {}
void SetCol(uint32_t) {}
void SetColRGB(float, float, float) {}
void DrwLin(const double*, const double*) {}
void DrwPlyLin(const double*, int) {}
void DrwBox(const double*, const double*) {}
void DrwTxt(const double*, const char*) {}
void DrwMrk(const double*, int) {}
void FlushDrw() {}
bool DrwWinOpen() { return false; }
