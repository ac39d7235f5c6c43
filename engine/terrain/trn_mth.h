// The terrain generation methods: number, command-line name and one-line descriptions, in the
// order of their numbers (the value of TrnMethod and the row of the preferences' method combo).
#pragma once
#include <vector>

#include "terrain/trn.h"

struct cntr;

struct TrnMethodInfo {
    TrnMethodKind kind;
    const char* name;    // name of `altimetra-cli dem --method`
    const char* desc;    // one line for the command's help
    const char* label;   // one line for the preferences' method combo
    // Why a post's height depends on the whole region (such a method is not tiled); null when it
    // depends only on the contours within its reach (TrnMethodReach).
    const char* whole;
};
constexpr int TrnMethodNum = 3;
extern const TrnMethodInfo TrnMethods[TrnMethodNum];

// The method of a command-line name; null when there is none.
const TrnMethodInfo* TrnMethodByName(const char* name);
// The method of a TrnMethod value; the default (cross lines) for an unknown one.
const TrnMethodInfo& TrnMethodOf(int kind);

// Runs method k alone over the R x C grid v (row-major as the mesh lays it out; z written), with
// the engine's generation settings, no window and no progress marks: L is the scene extent (cross
// lines), d the mesh interval. False when it did not finish.
bool TrnGenMethod(TrnMethodKind k, const cntr* c, int nc, double L, float* v, int R, int C, double d);

// The contours' spacing over a rectangle, coarse: cells of side `cell` from (x0, y0), nx across
// and ny up. d2 bounds, for every point of a cell, its distance to the second-nearest contour
// level: the radius of the smallest circle around the point that meets contours of two different
// heights (HUGE_VALF: the contours given hold no such circle). Leaving contours out only makes it
// larger, so a map made from the contours near a rectangle bounds that of the whole data.
struct TrnSpcMap {
    double x0 = 0, y0 = 0, cell = 1;
    int nx = 0, ny = 0;
    std::vector<float> d2;   // ny rows of nx, row 0 at y0
};
// Fills m->d2 for the map m describes from the contours c (points in the map's unit; the parts
// outside the map count too, through their nearest points).
void TrnSpcMk(const cntr* c, int nc, TrnSpcMap* m);
// How far past a grid's outer posts contours still bear on them under method k, in mesh intervals:
// a part of a grid generated alone must read those too.
double TrnMethodRim(TrnMethodKind k);
// How far a post's height reaches under method k: for each cell of m, the distance around any
// post of that cell (the map's unit) within which contours and posts decide the post's height, for
// a mesh interval itv (infinite: the whole region). False, nothing written, for a method whose
// posts depend on the whole region (TrnMethodInfo::whole).
bool TrnMethodReach(TrnMethodKind k, const TrnSpcMap& m, double itv, std::vector<float>* reach);
