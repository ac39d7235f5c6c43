// Lights and materials on display: the hand-over of the scene's flattened tables to OpenGL.
#pragma once
#include "scene/scene.h"

// Display materials: 17 floats each (ambient, diffuse, specular, emission RGBA, shininess).
extern float (*RndrOGL_Mtl)[17];
extern int RndrOGL_MtlCap;

// Rebuilds PrmLgt from the scene and hands the lights over; -1 when it cannot grow.
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
void SetLgtAzEl(struct lgt* l, int az, int el);
void GetLgtAzEl(const struct lgt* l, int* az, int* el);
