// Contour-constrained minimum-curvature terrain and the contour order of a grid.
#pragma once
#include "terrain/trn_gen.h"

// Parameters of the minimum-curvature surface (values at the module boundary; the creation command
// fills them from the engine's settings).
struct McPrm {
    double itv = 0;          // mesh interval d (mm): spacing of the margin posts, unit of the tension
    double tension = 0.005;  // 0 pure curvature (thin plate) .. 1 membrane; levels out where no contour is
    double pull = 500;       // weight of the contours against the curvature
    int threads = 0;         // worker threads; 0: one per hardware thread. The heights do not depend on it.
    Feedback fb;             // progress and cancellation, asked on the calling thread only
};

// Posts that the surface may not leave: for each post the lowest and highest height its place between
// the contours allows (a post between two adjacent levels stays within them; inside a closed contour
// with nothing else within, up to one interval above (hilltop) or below (pit); beyond the last contour
// within one interval on the side away from the next level). Unbounded where no contour is near.
struct OrdBand {
    double* lo = nullptr;    // R*C each, tag "ord_band"
    double* hi = nullptr;
    double itv = 0;          // contour interval found in the heights (0 with a single level)
};
// Bands of the posts of an R x C grid whose vertices v lie as the mesh lays them out (row-major).
// Contour interval: the most frequent step between adjacent distinct levels (the smaller on a tie).
double FindItv(const cntr* c, int nc);
void TrnOrdBand(const cntr* c, int nc, const float* v, int R, int C, double itv, OrdBand* b);
void FreeOrdBand(OrdBand* b);
// Posts whose height leaves its band by more than a millimetre.
long long CntOrdBrk(const float* v, int n, const OrdBand& b);

// Minimum-curvature surface through the contours over the R x C grid v, heights kept within the order
// bands. Writes z of every post; false (nothing written) when cancelled (prm.fb, asked on the calling
// thread only).
bool GenTrnMc(const cntr* c, int nc, float* v, int R, int C, const McPrm& prm);
