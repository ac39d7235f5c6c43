// VRML 2.0 export of the terrain.
#pragma once
#include <string>

// Writes the terrain surface and its grid as a VRML 2.0 world (background, viewpoint, the current
// light, the terrain material, one IndexedFaceSet of the grid's cells), coordinates in file units
// (fct per millimetre; normals unscaled). The terrain must have passed ChkTrnExp.
// 0, or -1 after message 110 (cannot create) or 111 (write failed); the target is replaced only
// when the whole file was written.
int WrVrmlFct(const std::string& path, double fct);
int WrVrml(const std::string& path);  // with the output unit OutUnit
