// Where the document lies in the real world. The engine holds points as 32-bit floats in
// millimetres, which resolve 1 mm only within about 16 km of zero: drawings and GIS sources in
// national-grid coordinates (hundreds of kilometres east, thousands north) are held relative to a
// local origin, and every road out (exports, status bar, region dialog) adds it back in doubles.
#pragma once
#include <cmath>
#include <string>

// known = false: local coordinates (no origin, no CRS), as for every document made without an
// import that brought real-world coordinates.
struct GisRefRec {
    bool known = false;
    double ox = 0, oy = 0;   // local origin, metres in the CRS (the drawing's metres for DXF)
    std::string wkt;         // CRS as WKT; empty when the source had none
};
extern GisRefRec GisRef;

// The origin in millimetres, (0, 0) for a local document.
inline double OrgMmX() { return GisRef.known ? GisRef.ox * 1000.0 : 0.0; }
inline double OrgMmY() { return GisRef.known ? GisRef.oy * 1000.0 : 0.0; }

// Engine coordinates (mm, 32-bit) beyond this need a local origin to keep 1 mm: a float
// resolves 1 mm up to 2^24 mm; 10 km leaves room for the grid's sums.
constexpr double LocCrdMax = 1.0e7;

// The origin (metres) an import picks for the lower-left corner lo (mm) of what it read: whole
// kilometres below it, as the GIS import picks it, so that the engine works near zero.
inline double OrgPickM(double lo) { return std::floor(lo / 1.0e6) * 1000.0; }
