// Inner loops of the terrain generators written to run on vectors: built without floating-point
// traps (nothing here reads the exception flags), so that comparisons and choices in them need no
// branch. The values are the same bits as anywhere else.
#pragma once

#include <cstdint>

// One softening sweep over posts [c0, c1) of a row lying in one band (lo, hi): each post marked in
// wr moves halfway to the mean of its four neighbours (src: the row, dn and up: the rows beside),
// within the band; the others keep their height. Into to, ts floats apart.
void SoftRun(const float* src, const float* dn, const float* up, const uint8_t* wr, float* to, long long ts, int c0,
             int c1, double lo, double hi);
