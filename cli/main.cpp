// altimetra-cli: runs command journals without a window system.
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include "dem.h"
#include "journal.h"

namespace {
const char Usage[] =
    "usage: altimetra-cli run FILE.jrn    run a command journal (\"-\" reads standard input)\n"
    "       altimetra-cli dem INPUT -o OUTPUT --interval D [options]\n"
    "                                     contours of a GIS file to a DEM (dem --help)\n"
    "       altimetra-cli tiles INPUT -o NAME.vrt --interval D --tile-size N [options]\n"
    "                                     the tiles of a tiled dem, one line each\n"
    "       altimetra-cli --help          show this text\n"
    "       altimetra-cli --version       show the version\n"
    "\n"
    "Prints the engine's console lines, message boxes and dumps on standard output.\n"
    "Exit status: 0 the journal ran to its end, 1 the engine could not start or the journal\n"
    "could not be read, 2 a malformed journal line (reported as journal:LINE: ... on standard\n"
    "error) or a wrong command line.\n";
}

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc == 2 && !std::strcmp(argv[1], "--version")) {
        std::puts("altimetra-cli " ALT_VERSION);
        return 0;
    }
    if (argc >= 2 && !std::strcmp(argv[1], "dem")) {
        // The GeoTIFF writer takes and drops a buffer of a few hundred KB for every strip; by
        // default each is a new mapping whose pages fault in one by one. Blocks under 32 MB come
        // from the heap instead, which keeps what is freed for the next one.
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        return jrn::DemMain(argc, argv);
    }
    if (argc >= 2 && !std::strcmp(argv[1], "tiles")) return jrn::TilesMain(argc, argv);
    if (argc != 3 || std::strcmp(argv[1], "run") != 0) {
        std::fputs(Usage, stderr);
        return 2;
    }
    jrn::Host host;
    return jrn::RunFile(argv[2], host);
}
