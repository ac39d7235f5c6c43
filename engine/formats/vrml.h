// VRML 2.0 export of the terrain.
#pragma once
#include <string>

// Writes the terrain surface and its grid as a VRML 2.0 world (background, viewpoint, the current
// light, the terrain material, one IndexedFaceSet of the grid's cells), coordinates in file units
// (fct per millimetre; normals unscaled). The terrain must have passed ChkTrnExp.
// 0, or -1 after message 110 (cannot create) or 111 (write failed); the target is replaced only
// when the whole file was written.
// The view values the world takes: the background colour (0..255) and the main view's screen
// width and distance, which give the viewpoint's field of view (the whole angle, 2 atan(w / 2d)).
struct VrmlView {
    double bg[3];
    double scrWid, scrDst;
};
int WrVrmlFct(const std::string& path, double fct, const VrmlView& v);
