// The band of every node of a lattice: the two contour levels its height lies between.
//
// Each node looks along eight directions (the lattice's rows, columns and diagonals) for the first
// contour crossed in each, and takes the nearest level it meets and the nearest other level: the
// levels on either side of it. Nothing floods: a gap in a contour, an open end or a wrong line
// changes the bands of the nodes that see it and of no others.
//
// Nodes joined by lattice edges that no contour crosses and that have the same band form a region.
// A region that sees one level only (inside a closed contour with nothing within, a valley floor or
// a ridge between two lines of one level) takes one contour interval of room on the side its
// neighbours across that level do not lie on.
//
// A line digitised one interval off shows itself: along it, ground on one side reaching two
// intervals or more below (above) it and on the other no higher (lower) ground. Where that holds
// for most of a line over many spacings of the lines, the bands report the level it lies at; the
// bands themselves stay those of the lines as given.
//
// Points on a line: a contour is taken an infinitesimal step to the south-west of where it lies, so
// one through a node or along a lattice line falls between nodes, the same way from either side.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/alc.h"

struct cntr;

// A line that closes a gap between two ends of one level: where the contour most likely ran.
struct LatJoin {
    double x0, y0, x1, y1, h;
};

struct LatBands {
    std::vector<int, RawAlloc<int>> reg;    // per node (row-major, X fastest): its region
    std::vector<double> rlo, rhi;    // per region: the band (-inf, +inf: no contour seen)
    // Nodes where the lines contradict one another (a third level seen in two directions or more:
    // lines missing, as over a lake), in index order, each with the height of the triangulation of
    // the contour vertices around it; only when asked for.
    std::vector<std::pair<long long, float>> voids;
    std::vector<LatJoin> joins;      // the gaps the bands took as closed and the ends carried on to the edge
    std::vector<double> level;       // per contour: the level the bands show it lies at, NaN: as given
                                     // (empty: every one as given)
    double Lo(long long i) const { return rlo[static_cast<size_t>(reg[static_cast<size_t>(i)])]; }
    double Hi(long long i) const { return rhi[static_cast<size_t>(reg[static_cast<size_t>(i)])]; }
};

// Bands of the nodes of the lattice X (nx columns, increasing) x Y (ny rows, increasing), in the
// contours' coordinates. itv: the contour interval (room of a region that sees one level; 0 gives
// none). nth: threads to share the work (0: one per processor); the bands do not depend on it.
// voids: also the heights of the nodes where lines are missing (LatBands::voids).
// Throws std::bad_alloc when the working lists do not fit; b is then unchanged.
void MkLatBands(const cntr* c, int nc, const std::vector<double>& X, const std::vector<double>& Y, double itv,
                LatBands& b, int nth = 0, bool voids = false);
