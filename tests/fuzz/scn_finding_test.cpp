// Inputs the fuzz targets found, opened through the document flow.
#include <gtest/gtest.h>
#include <string>
#include "core/alc.h"
#include "doc/doc.h"
#include "formats/scn.h"
#include "support/engine_fixture.h"
#include "terrain/trn.h"

class ScnFinding : public EngineTest {};

// Fault: the reader multiplied a grid's rows by its columns in int (65535 x 65407 overflowed).
// Such a grid is refused as damaged; a usable scene remains.
TEST_F(ScnFinding, GridSizeOverflowIsRefused) {
    const std::string path = std::string(ALT_SOURCE_DIR) + "/tests/fuzz/seeds/scn/grid-size-overflow.scn";
    EngGuard([&] { return DocOpen(path); });
    EXPECT_NE(ScnRdSt, ScnRdOk);
    EXPECT_NE(TrnPrd, nullptr);
    EXPECT_FALSE(Plt().boxes.empty());
}
