// Pointer positions of a journal drag.
#pragma once
#include <utility>
#include <vector>

namespace jrn {

// The steps move positions from (x0, y0) towards (x1, y1): step i of n lies at i/n of the way,
// rounded to the nearest pixel (halves away from zero), and the last one is exactly (x1, y1).
std::vector<std::pair<int, int>> DragMoves(int x0, int y0, int x1, int y1, int steps);

}  // namespace jrn
