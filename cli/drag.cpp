#include "drag.h"
#include <cmath>

namespace jrn {

std::vector<std::pair<int, int>> DragMoves(int x0, int y0, int x1, int y1, int steps) {
    std::vector<std::pair<int, int>> m;
    if (steps <= 0) return m;
    m.reserve(static_cast<size_t>(steps));
    for (int i = 1; i < steps; ++i) {
        double t = static_cast<double>(i) / steps;
        m.emplace_back(static_cast<int>(std::lround(x0 + (x1 - x0) * t)),
                       static_cast<int>(std::lround(y0 + (y1 - y0) * t)));
    }
    m.emplace_back(x1, y1);
    return m;
}

}  // namespace jrn
