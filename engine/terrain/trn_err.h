// Expected error of a terrain made along gradient paths: one standard deviation of the height error
// of every post, learnt from the contours themselves (see trn_err.cpp).
#pragma once
#include <cstdint>

struct cntr;

// The model's constants as the contours gave them. Between two levels of band width W, at distances
// a and b from them (spacing h = a + b, position t = a / h, nearer line m = min(a, b)):
//     sigma = min(alpha * h^pw, W / 2) * sqrt(4 t (1 - t)) * sqrt(m / (m + rise))
// with dev * D^2 added to its square, D being how far the surface leaves the straight rise between
// the two lines there (still no more than that bound times the two shape factors),
// and in a region bounded by one level (a summit, a pit, beyond the outermost line), at distance a:
//     sigma = min(crest * alpha * (2 a)^pw * sqrt(a / (a + rise)), W)   (crestDn where the one level is above)
// A post no contour bounds gets one contour interval; one whose band has no line in reach takes its
// neighbours' mean, as its height does.
struct ErrFit {
    double ci = 0;       // contour interval (mm)
    double alpha = 0;    // mm per mm^pw
    double pw = 1;       // growth with the spacing
    double crest = 1;    // one-level regions against two-level ones: bounded by their lower level
    double crestDn = 1;  // and by their upper level (pits, ground below the lowest line)
    double step = 1;     // alpha at the contours' own interval over alpha at twice it
    double bendLo = 1, bendHi = 1;   // factor where the contours run straight, where they bend most
    double dev = 0;      // weight of the surface's bend away from a straight rise (added in squares)
    double rise = 0;     // within about this (mm) of a line the error grows in proportion to the distance:
                         // half a mesh interval, the grid resolving nothing finer
    int samples = 0;     // cross-validation samples between two levels (crest ones in crestN)
    int crestN = 0;
    bool cv = false;     // constants from cross-validation; false: the fallback (fewer than three
                         // levels or too few samples), a quarter interval at ten mesh intervals
};

// Expected absolute error (mm) of every post of the R x C grid v (row-major from the lower-left
// post; its heights are the surface whose error it is). itv: mesh interval (mm). err: R x C values. False (err
// unspecified) when a run did not finish.
bool TrnErrMap(const cntr* c, int nc, const float* v, int R, int C, double itv, float* err,
               ErrFit* fit = nullptr);

// The expected-error map of the terrain grid, kept beside it until its posts or heights change:
// one float (mm) per vertex of TrnSrf. TrnErrOf computes it for the current grid when it is missing
// (null when there is no grid, it is not in the plain grid order, or the run failed).
const float* TrnErrOf();
void TrnErrClr();
// Largest value of the kept map (mm), 0 without one.
float TrnErrMax();
