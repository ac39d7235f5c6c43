// Terrain grid, region, generation parameters, vertex selection and slope classes.
#pragma once
#include <cstdint>
#include "scene/scene.h"

extern float TrnRgn[6];   // x0 y0 z0 x1 y1 z1
extern float MshItv;

// Generation and filter parameters.
extern int CrsAngNum;
extern float CrsLenScl;
extern float SamHgtDst;
extern float FltrAng;
extern int IntpPrph;

// Selected grid vertices, in selection order.
extern int NumVtxSlct;
extern int* VtxSlct;

// Slope classes.
extern float SlpThr[4];
extern uint8_t SlpMode;
extern uint8_t SlpDsp;
// Colour of grid vertex i in the slope-class display (rgb 0..1).
void SlpCol(int i, float rgb[3]);

void RstTrnRgn();  // terrain scene: region back to its start value
void ClrVtxSlct();

bool CreTrnMsh();
int CreTrn();
int FltrTrn();
void CalTrnNrm();
