// Terrain along gradient paths: each post takes its height from the nearest points of the two
// contours that bound it, on a monotone cubic through the neighbouring levels.
#pragma once
#include <vector>

#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"

// What the method sees at each post, in grid order: the distances (mm) to the nearest points of the
// lower and upper bounding levels (NaN where that level bounds no contour reachable within the
// post's region), the band (infinite: no contour seen) and the cosine of the angle between the
// directions to those two points (-1 on a plain slope; towards 1 where the contours bend into a V).
struct PathPost {
    double a, b, lo, hi, cos;
    bool lake;   // lines are missing around it: its height was spanned from the lines around
};
using PathGeomFn = void (*)(void* ctx, long long i, const PathPost& p);

// Parameters of the gradient-path surface (values at the module boundary).
struct PathPrm {
    double itv = 0;   // mesh interval d (mm); 0: taken from the posts
    int threads = 0;  // worker threads; 0: one per hardware thread. The heights do not depend on it.
    Feedback fb;      // progress and cancellation, asked on the calling thread only
    // Where the heights go, one float a post in v's order; null: into v's z. With it v is only read,
    // and only before the first progress call, so the caller needs no copy of the posts.
    float* z = nullptr;
    // Called for every post, in grid order, once all the heights are written: what PathGeom would
    // give, without finding the nearest points a second time.
    PathGeomFn geom = nullptr;
    void* geomCtx = nullptr;
    // When given: the lines read at another level than theirs, for the caller to tell the user.
    std::vector<LineRelevel>* relevel = nullptr;
};

// Heights of the R x C grid v (row-major, as the mesh lays it out; z of every post written). Every
// post stays within the band of the levels that bound it. False when cancelled (nothing written)
// or when memory ran out (a message; z may be half written: run it on a copy, as CreTrn does).
// An allocation of the engine's that fails abandons the command (AlcAbort) the same way.
bool GenTrnPath(const cntr* c, int nc, float* v, int R, int C, const PathPrm& prm);
// The same heights for the grid whose columns lie at xs and rows at ys (TrnMshAxes), into prm.z
// (required): no vertex array at all, for a run that keeps only the heights.
bool GenTrnPathAxes(const cntr* c, int nc, const float* xs, const float* ys, int R, int C, const PathPrm& prm);

// The band of every post as the method sees it: posts joined by grid edges that no contour crosses
// form a region, bounded by the lowest and highest level crossing its edges; a region bounded by one
// level gets one interval of room on the side away from its neighbours. itv: mesh interval (used
// only for a grid of one post).
void PathBand(const cntr* c, int nc, const float* v, int R, int C, double itv, OrdBand* b);
// PathGeom: the same for fn, without the heights. passes: how many times every post is handed to fn, in grid order each time (a caller that needs a
// sum over the whole grid before it can write anything keeps nothing per post).
void PathGeom(const cntr* c, int nc, const float* v, int R, int C, double itv, PathGeomFn fn, void* ctx,
              int passes = 1);
