// Lights and materials on display: flattened tables and their hand-over to OpenGL.
#pragma once
#include "display/lgtrec.h"

extern LgtRec AmbLgt;     // the engine's own ambient light
extern LgtRec* PrmLgt;    // flattened lights
extern int PrmLgtCap;     // capacity (100 after start-up)
extern int NumLgt;
extern double AttDst;

// Display materials: 17 floats each (ambient, diffuse, specular, emission RGBA, shininess).
extern float (*RndrOGL_Mtl)[17];
extern int RndrOGL_MtlCap;

int IniPrmLgt();          // start-up: 100 entries, first real of each 0.0
int UdtPrmLgt();
void UdtLgtTbl();
void SetLgtGL();
// Drawing pass of window w (its context current, its view matrices loaded): hands the lights
// over again when they or the camera changed since they were last placed in this window.
void PlcLgtGL(int w);
void EnaLgtGL();
void MkMtlGL(int m);
void SetMtlGL(int m);
// The colours SetMtlGL hands over for material m (ambient, diffuse, specular, emission RGBA and
// shininess); false when no material is set.
bool MtlGLCol(int m, float out[17]);
void LgtAngDir(const float ang[3], int order, float dir[3]);
void LgtDirAng(const float dir[3], float ang[3]);
void SetLgtAzEl(struct lgt* l, int az, int el);
void GetLgtAzEl(const struct lgt* l, int* az, int* el);
