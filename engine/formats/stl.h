// ASCII STL: export of the terrain, and reading of solids into the terrain product.
#pragma once
#include <string>

constexpr float StlNrmMin = 0.001f;  // a facet normal shorter than this is written as summed

// Writes two facets per grid cell of the terrain (A C D, then A B C), coordinates in file units
// (fct per millimetre). The terrain must have passed ChkTrnExp. 0, or -1 after message 110 or
// 111; the target is replaced only when the whole file was written.
int WrStlFct(const std::string& path, double fct);
int WrStl(const std::string& path);   // with the output unit OutUnit

// What a read found, as the message area reports it.
struct StlRdSum {
    int solids = 0;
    int facets = 0;     // kept
    int skipped = 0;    // facets with fewer than three vertices or a coordinate that is not finite
    bool org = false;   // a local origin was picked (ox, oy, metres), subtracted from the vertices
    double ox = 0, oy = 0;
};
// The document's origin (metres) the solids are held relative to; none known: solids beyond
// LocCrdMax of zero get one picked (whole kilometres below their lower-left corner).
struct StlOrg {
    bool known;
    double ox, oy;
};
// Reads an ASCII STL file: each solid becomes a part named after the file in the terrain product,
// with one surface per colour (kind 2, one polygon group per facet). 0, or -1 when the file
// cannot be opened (message 110) or holds no facet (message 199, the scene untouched). Materials,
// boxes and the display are the caller's. org null: the file's coordinates as they are.
int StlRead(const std::string& path, StlRdSum* sum, const StlOrg* org = nullptr);
