// Terrain generation internals shared by the per-vertex reference and the parallel generator.
// Both run the same procedures below on the same crossings in the same order, so their heights
// are bit-identical; they differ only in how the candidate contour edges of a step are found.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>
#include "core/feedback.h"

// One contour curve with at least two points.
struct cntr {
    int n;
    double* pnt;   // n pairs x, y
    float hgt;     // z of the first point
    double minx, miny, maxx, maxy;
};

// A contour line whose neighbours show it digitised one interval off: its level as given and the
// level the terrain took for it (mm), and where it starts.
struct LineRelevel {
    float given, read;
    double x, y;
};

// A crossing of a half-line with a contour.
struct crs_ent {
    double x, y;
    float hgt;
    float dst;     // plane distance from the grid vertex
    int ord;
};

// Line types of a cross line, in order of preference: four points (classes by which of their
// heights are equal), then fewer points.
enum LinType : int {
    LinFour1 = 1,  // four points, no two heights equal
    LinFour2 = 2,
    LinFour3 = 3,  // the middle two equal and the outer two equal
    LinFour4 = 4,
    LinFlat = 5,   // four points of one height
    LinThree = 6,  // three points
    LinTwo = 7,    // two points
    LinOne = 8,    // one point
    LinNone = 9,   // no point: no height
};

// The points chosen on one cross line.
struct cntr_crv {
    float p[4][3];
    float span;
    int type;      // LinType
    float dst;
    uint8_t in;
};

// A growable list of crossings.
struct CrsLst {
    crs_ent* e = nullptr;
    int n = 0;
    int cap = 0;
    int grow = 0;                       // entries added when full
    const char* tag = "crs0";
    bool (*more)(CrsLst&) = nullptr;    // enlarge by grow; false when it cannot
};

// What a run needs besides the contours: the scene extent, the step and the directions.
struct TrnGenCtx {
    const cntr* c = nullptr;
    int nc = 0;
    double L = 0;          // larger extent of the scene box
    double s = 0;          // step along a cross line
    int nAng = 0;
    double samDst = 0;
    double* dir = nullptr; // nAng × 2 halves × (cos, sin)
    double ox = 0, oy = 0; // where the run's (0, 0) lies in the scene: the progress marks add it
    Feedback fb;           // progress and cancellation of the run (from TrnGenPrm)
};

// Build the contour records of the terrain part (tags "cntr", "pnt"); count in *n.
cntr* MkCntr(int* n);
void FreeCntr(cntr* c, int n);
// Generation parameters. The command layer takes them from the engine's settings
// (GenPrmOfSettings); the generators below never read those settings themselves.
struct TrnGenPrm {
    int crsAngNum = 8;        // cross lines per vertex (< 1 counts as 1)
    float crsLenScl = 0.3f;   // step along a cross line, as a fraction of the scene extent
    float samDst = 20000;     // same-height distance
    Feedback fb;              // progress and cancellation; silent unless the caller gives one
};
TrnGenPrm GenPrmOfSettings();  // CrsAngNum, CrsLenScl and SamHgtDst as they are now
// Fill ctx from the contours, the scene extent L and the parameters (allocates the direction
// table).
void IniGenCtx(TrnGenCtx& ctx, const cntr* c, int nc, double L, const TrnGenPrm& prm);
void FreeGenCtx(TrnGenCtx& ctx);
// Extent L of a run: the larger side of the box of the contours and the nv posts v, nothing else
// of the scene, so that the heights do not depend on where the data lies.
double GenExt(const cntr* c, int nc, const float* v, int nv);
// Copy of the contours moved by (-ox, -oy) (tags "cntr", "pnt"): the differences of the float
// points are exact in doubles.
cntr* LocCntr(const cntr* c, int nc, double ox, double oy);

// Heights outside the order band of their post (TrnOrdBand over the R x C grid, mesh interval itv)
// brought to the band's nearer edge; every other height keeps its bits, and so does unreach (the
// marker of posts no cross line reached). g: the posts in grid order (row-major from the lower-left
// corner); z: where the height of grid post k is, z[3 * id[k]] (id null: k). Returns how many moved.
// Posts lying on a contour (within a thousandth of the mesh interval itv) take its level, whichever
// side float rounding puts them on; every other height keeps its bits. g, z, id as for
// ClampOrdBand. Returns how many were set.
long long SnapOnCntr(const cntr* c, int nc, const float* g, int R, int C, double itv, float* z, const int32_t* id);
long long ClampOrdBand(const cntr* c, int nc, const float* g, int R, int C, double itv, float* z,
                       const int32_t* id, float unreach);

// The cross-line method over the R x C grid of nv posts v (vertex-array order; id maps grid
// position to vertex, null for the plain order): in coordinates relative to the grid's lower-left
// post, with L from GenExt, heights brought into their order bands. Posts that no line reaches are
// left as they are. ref: the per-vertex reference instead of the parallel generator. live: draw
// the marks in the window. Progress and cancellation go through prm.fb. False when cancelled or
// out of memory.
bool GenTrnCrs(const cntr* c, int nc, float* v, int nv, const int32_t* id, int R, int C, double itv,
               const TrnGenPrm& prm, bool ref, bool live);
// Append a crossing; false when the list cannot grow.
bool AddCrs(CrsLst& l, const double p[2], float hgt, double vx, double vy);
// The entry AddCrs appends for the crossing p of a contour at height hgt, seen from (vx, vy).
inline crs_ent CrsEnt(const double p[2], float hgt, double vx, double vy, int ord) {
    crs_ent e;
    e.x = p[0];
    e.y = p[1];
    e.hgt = hgt;
    const double dx = p[0] - vx, dy = p[1] - vy;
    e.dst = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    e.ord = ord;
    return e;
}
// Whether the half-line V-F passes through a side of the contour's rectangle.
bool CrsRect(const cntr& c, const double v[2], const double f[2]);
// Whether the step S-E lies wholly on one outer side of the contour's rectangle.
bool OutRect(const cntr& c, const double s[2], const double e[2]);

// Points of the walk, computed in one place so that both generators get the same bits.
void FarPt(const TrnGenCtx& ctx, const double v[2], const double u[2], double f[2]);
void NextPt(const TrnGenCtx& ctx, const double s[2], const double u[2], double e[2]);

// Walk one half-line from V in direction u: step(S, E, F) appends the crossings of the step
// S-E; the walk ends after the step that brings the list to four or more crossings.
template <class Step>
bool WalkHalf(const TrnGenCtx& ctx, const double v[2], const double u[2], CrsLst& l, Step&& step) {
    if (!(ctx.s > 0)) return true;
    double f[2], s[2] = {v[0], v[1]}, e[2];
    FarPt(ctx, v, u, f);
    for (double walked = ctx.s; walked <= ctx.L - 0.5; walked += ctx.s) {
        NextPt(ctx, s, u, e);
        if (!step(s, e, f)) return false;
        if (l.n >= 4) break;
        s[0] = e[0];
        s[1] = e[1];
    }
    return true;
}

// From the two crossing lists of direction a, the cross-line record (orders and thins the lists).
void MkCrsLin(const TrnGenCtx& ctx, const float v[2], CrsLst& l0, CrsLst& l1, cntr_crv& out);
// Ordering and thinning of one list: the four nearest to the front (the first of equals), then
// each entry of the height of the one before and nearer to it than samDst dropped.
void OrdCrs(const TrnGenCtx& ctx, CrsLst& l);
// MkCrsLin on lists already ordered and thinned; only their first four entries and how many
// (up to four) they hold count.
void MkCrsLinOrd(const float v[2], const CrsLst& l0, const CrsLst& l1, cntr_crv& out);
// Choose a line and compute the height. Returns the chosen type (LinNone: no height, z unchanged).
int LinHgt(const TrnGenCtx& ctx, const float v[2], const cntr_crv* lin, float* z);

// Reference: one vertex by the straightforward walk over every contour. Returns the type, or
// -1 when a list could not grow.
int IntpVtxRef(const TrnGenCtx& ctx, float v[3], CrsLst& l0, CrsLst& l1, cntr_crv* lin);

// The reference over nv vertices in order: asks ctx.fb before each vertex whether it is cancelled
// and reports progress to it. live: mark each vertex through ctx.fb, and stop when the window has
// dropped the terrain. False when cancelled.
bool RunRef(const TrnGenCtx& ctx, float* v, int nv, bool live);

// Parallel generator over nv vertices (z written): worker threads compute; this thread alone asks
// ctx.fb whether it is cancelled, reports progress to it and, with marks, hands it the finished
// vertices as marks. Returns false when cancelled or when memory ran out (message shown).
bool GenTrnFast(const TrnGenCtx& ctx, float* v, int nv, bool marks);

// Index of the contour edges for the parallel generator: per cross-line direction, strips parallel
// to it, each sorted by the edges' extent along the direction.
struct StrIdx {
    int nd = 0;
    struct StrDir* d = nullptr;   // nd directions
    int ne = 0;
    int* ecn = nullptr;           // contour of each edge
    int* cfirst = nullptr;        // first edge id of each contour
};
StrIdx* MkStrIdx(const TrnGenCtx& ctx);
void FreeStrIdx(StrIdx* x);
// Candidate edges of the step s-e of a half-line of direction a, appended to out: every edge that
// IntscSeg could find crossing the step is among them (unordered; an edge may come twice).
void StrCand(const StrIdx& x, int a, const double s[2], const double e[2], std::vector<int>& out);
// One strip of direction a: its entries sorted by their lower along bound (a0), with their along
// extent a0 .. a1 and across extent b0 .. b1 (the search slack included), and the longest along
// extent ext. Along = ca x + sa y, across = -sa x + ca y.
struct StrEnt {
    float a0, a1, b0, b1;
    int id;
};
struct StrHdr {
    int start, n;    // entries
    int bk, nbk;     // bucket table
    float ext;
    double bmin;     // a0 of the first entry
    double bscl;     // buckets per millimetre along
};
struct StrRun {
    const StrEnt* e = nullptr;
    int n = 0;
    float ext = 0;
    double ca = 1, sa = 0;
    const int* bk = nullptr;   // the strip's bucket table (trn_srch.cpp)
    int nbk = 0;
    double bmin = 0, bscl = 0;
};
// The strip that holds every edge IntscSeg could find crossing the line through p in direction a
// (or its opposite); false when no edge lies near that line.
bool StrLine(const StrIdx& x, int a, const double p[2], StrRun& r);
// In the strip of r, the first entry whose a0 is not below v (after: above v); std::lower_bound
// (std::upper_bound) over a0.
int StrFirst(const StrRun& r, float v, bool after);
// Slack of the strip search, in millimetres (see trn_srch.cpp).
constexpr double StrSlack = 1.0;
struct FastScr;
FastScr* MkFastScr(const TrnGenCtx& ctx);
void FreeFastScr(FastScr* f);
// One vertex through the index. Returns the type, or -1 when memory ran out.
int IntpVtxFast(const TrnGenCtx& ctx, const StrIdx* x, FastScr* f, float v[3]);

