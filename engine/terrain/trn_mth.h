// The terrain generation methods: number, command-line name and one-line descriptions, in the
// order of their numbers (the value of TrnMethod and the row of the preferences' method combo).
#pragma once
#include <cstdint>
#include <vector>

#include "terrain/trn.h"
#include "terrain/trn_gen.h"

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

// The message-area line after a terrain is made: the method that made it, the grid's posts and
// how many of them the method left without a height.
void TrnCreNote();

// How a generation runs, beside its method and grid: progress and cancellation, and for cross
// lines the vertex of each post (null: v in the grid's row order), the per-vertex reference
// generator instead of the parallel one, and whether the window stays live meanwhile (the grid's
// layout is then copied first: a command may replace it).
struct TrnRun {
    Feedback fb;
    const int32_t* id = nullptr;
    bool ref = false;
    bool live = false;
    float* z = nullptr;   // gradient paths: heights here, one a post, and v only read
    std::vector<LineRelevel>* relevel = nullptr;   // gradient paths: the lines read at another level
};
// Runs method k over the R x C grid v (row-major as the mesh lays it out; z written) with the
// engine's generation settings: d is the mesh interval. The one dispatch of the methods: the
// creation command runs it too. False when cancelled or out of memory; z may then be half written.
bool TrnGenMethod(TrnMethodKind k, const cntr* c, int nc, float* v, int R, int C, double d,
                  const TrnRun& run = TrnRun());

// The contours' spacing over a rectangle, coarse: cells of side `cell` from (x0, y0), nx across
// and ny up. Each cell looks along its row, column and diagonals both ways for the first contour
// crossed in each of those eight directions, and takes the nearest level it meets and the nearest
// other level: the levels on either side of it. d2 is how far those rays go to find both, plus
// half a cell's diagonal for the other points of the cell: within d2 lie the first crossings that
// decide the cell's band and the nearest points of its two levels. Contours past an open side could
// only bring them nearer. A cell whose rays all meet one level (inside a closed contour, or a floor
// that only the grid's edge closes) takes its farthest first crossing; one whose rays meet one
// level and leave past an open side, or meet none, cannot tell: HUGE_VALF.
struct TrnSpcMap {
    double x0 = 0, y0 = 0, cell = 1;
    int nx = 0, ny = 0;
    bool open[4] = {true, true, true, true};   // west, east, south, north: the contours go on past it
    std::vector<float> d2;                     // ny rows of nx, row 0 at y0
};
// Fills m->d2 for the map m describes from the contours c (points in the map's unit). Crossings
// past the map's sides do not count; every contour that enters the map must be given.
void TrnSpcMk(const cntr* c, int nc, TrnSpcMap* m);
// How far past a grid's outer posts contours still bear on them under method k, in mesh intervals:
// a part of a grid generated alone must read those too.
double TrnMethodRim(TrnMethodKind k);
// How far a post's height reaches under method k: for each cell of m, the distance around any
// post of that cell (the map's unit) within which contours and posts decide the post's height, for
// a mesh interval itv (infinite: the whole region). False, nothing written, for a method whose
// posts depend on the whole region (TrnMethodInfo::whole).
bool TrnMethodReach(TrnMethodKind k, const TrnSpcMap& m, double itv, std::vector<float>* reach);
