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
// Azimuth and elevation of the light dialog, whole degrees: the azimuth is the compass bearing of
// the side the light comes from (0 north, +y; 90 east, +x), the elevation the angle above the
// x-y plane. Only the direction is stored, so a document's light keeps its direction whatever
// figures showed it.
void SetLgtAzEl(struct lgt* l, int az, int el);
void GetLgtAzEl(const struct lgt* l, int* az, int* el);
