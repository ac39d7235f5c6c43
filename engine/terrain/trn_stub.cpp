// PLACEHOLDER until the terrain module lands.
#include "terrain/trn.h"
float TrnRgn[6] = {-5000000, -5000000, 0, 5000000, 5000000, 0};
float MshItv = 50000.0f;
int CrsAngNum = 8; float CrsLenScl = 0.3f; float SamHgtDst = 20000; float FltrAng = 45; int IntpPrph = 0;
int NumVtxSlct = 0; int* VtxSlct = nullptr;
float SlpThr[4] = {0, 0, 0, 0}; uint8_t SlpMode = 0; uint8_t SlpDsp = 0;
void SlpCol(int, float rgb[3]) { rgb[0] = rgb[1] = rgb[2] = 1; }
void RstTrnRgn() {}
void ClrVtxSlct() { NumVtxSlct = 0; }
