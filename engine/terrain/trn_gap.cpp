// Vertices the last generation could not reach, kept for the exports that write nodata.
#include <cstdint>
#include <vector>
#include "terrain/trn.h"

namespace {
// The grid the mask was computed for: the surface, its vertex array and a digest of the plan
// positions (heights change with the filter and edits; positions only with a new grid).
struct GapRec {
    const srf* s = nullptr;
    const float* v = nullptr;
    int nv = 0;
    uint64_t xy = 0;
    std::vector<uint8_t> gap;
} Gap;

uint64_t XyDigest(const float* v, int nv) {
    uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < nv; i++)
        for (int k = 0; k < 2; k++) {
            float f = v[3 * i + k];
            uint32_t b;
            static_assert(sizeof b == sizeof f);
            __builtin_memcpy(&b, &f, sizeof b);
            h = (h ^ b) * 1099511628211ull;
        }
    return h;
}
}  // namespace

void TrnGapSet(const uint8_t* gap) {
    TrnGapClr();
    if (!TrnSrf || !gap) return;
    bool any = false;
    for (int i = 0; i < TrnSrf->nv && !any; i++) any = gap[i] != 0;
    if (!any) return;  // every vertex reached: nothing to remember
    Gap.s = TrnSrf;
    Gap.v = TrnSrf->v;
    Gap.nv = TrnSrf->nv;
    Gap.xy = XyDigest(TrnSrf->v, TrnSrf->nv);
    Gap.gap.assign(gap, gap + TrnSrf->nv);
}

void TrnGapClr() {
    Gap.s = nullptr;
    Gap.v = nullptr;
    Gap.nv = 0;
    Gap.gap.clear();
    Gap.gap.shrink_to_fit();
}

const uint8_t* TrnGapOf() {
    if (!TrnSrf || Gap.s != TrnSrf || Gap.v != TrnSrf->v || Gap.nv != TrnSrf->nv) return nullptr;
    if (XyDigest(TrnSrf->v, TrnSrf->nv) != Gap.xy) return nullptr;
    return Gap.gap.data();
}
