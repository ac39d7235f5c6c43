// altimetra-cli dem: a DEM from the contours of a GIS source, without a window.
#pragma once

namespace jrn {
// argv[1] is "dem". Returns the exit status (see the usage text and cli/README.md).
int DemMain(int argc, char** argv);
// argv[1] is "tiles": the same options as a tiled dem; prints one line per tile.
int TilesMain(int argc, char** argv);
}  // namespace jrn
