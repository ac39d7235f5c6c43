// GLD export of the terrain: a fixed-width text grid of heights in metres and their normals for
// a square block of grid vertices of one spacing, headed by the size, the spacing and the
// geographic corners.
#pragma once
#include <cstdint>
#include <string>

// Geographic corners in arc-seconds.
struct GldCrnRec {
    double lat0, lon0;   // lower left: south, west
    double lat1, lon1;   // upper right: north, east
};
extern GldCrnRec GldCrn;   // kept between exports
extern uint8_t GldFixDst;  // editing one corner moves the other so that the extent stays
// Corners given by the user for the next export without the dialog (journals); the export then
// uses GldCrn instead of the defaults, and clears the flag.
extern uint8_t GldCrnGiven;

constexpr double GldLat0Def = 126000;       // 35 degrees
constexpr double GldLon0Def = 504000;       // 140 degrees
constexpr double GldArcSecCirc = 1296000;   // arc-seconds of a full circle
constexpr double GldEarthCirc = 40320000;   // metres of the earth's circumference it assumes
// Intervals differing by less than this fraction of the interval (plus what the coordinates'
// 32-bit floats cannot hold) are the same spacing.
constexpr double GldRegRel = 1e-6;
// Whether the interval c - b differs from b - a (three posts of a row or column, mm) by more
// than a small fraction of the interval and the few units in the last place that 32-bit
// coordinates of magnitude mag (the largest of the row or column) carry: posts laid from post to
// post count as regular.
bool GrdIrreg(double a, double b, double c, double mag);
constexpr double GldHgtMax = 9999.999;      // metres: heights are clamped to the field
constexpr double GldHgtMin = -999.999;
constexpr int GldTtlWid = 128;              // bytes of the title field

// The exported block: columns c0 .. c1 - 1 and rows r0 .. r1 - 1, n of each.
struct GldBlk {
    int c0, c1, r0, r1, n;
    double itv;   // spacing in metres
    double ext;   // extent E in metres: itv * (n - 1)
};

// The block of the terrain grid. An outermost column or row whose interval differs from its
// neighbour's is dropped; a grid of fewer than three columns (rows) keeps all of them, having no
// neighbouring interval to compare. False when there is no terrain grid or the square block
// would hold fewer than 2 x 2 vertices.
bool GldBlock(GldBlk* b);
// Default corners of a block: lower left at 35 N 140 E, upper right one extent away.
GldCrnRec GldDefCrn(const GldBlk& b);

double GldDLat(double ext);                 // arc-seconds of latitude of ext metres
double GldDLon(double ext, double lat);     // arc-seconds of longitude at latitude lat
// Degrees, minutes, seconds of an angle in arc-seconds, and back.
void GldDms(double a, int* deg, int* min, double* sec);
double GldSec(int deg, int min, double sec);

// Writes the block with the corners (CR LF line ends). 0, or -1 after message 110 or 111; the
// target is replaced only when the whole file was written.
int WrGld(const std::string& path, const GldBlk& b, const GldCrnRec& crn);
