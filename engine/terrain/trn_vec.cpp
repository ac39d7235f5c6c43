#include "terrain/trn_vec.h"

#include <algorithm>

void SoftRun(const float* src, const float* dn, const float* up, const uint8_t* wr, float* to, long long ts, int c0,
             int c1, double lo, double hi) {
    for (int c = c0; c < c1; c++) {
        const double mean = (src[c - 1] + src[c + 1] + dn[c] + up[c]) / 4;
        const float v = static_cast<float>(std::clamp((src[c] + mean) / 2, lo, hi));
        to[ts * c] = wr[c] ? v : src[c];
    }
}
