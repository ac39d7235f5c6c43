// Inputs the fuzz targets found, opened through the document flow.
//
// Disabled: the scene reader multiplies a grid polygon group's rows by its columns in int
// (65535 * 65407 overflows, a sanitizer report). Enable with the reader's fix.
#include <gtest/gtest.h>
#include <string>
#include "core/alc.h"
#include "doc/doc.h"
#include "formats/scn.h"
#include "support/engine_fixture.h"
#include "terrain/trn.h"

class ScnFinding : public EngineTest {};

// A grid whose rows x columns overflow an int is refused as damaged; a usable scene remains.
TEST_F(ScnFinding, DISABLED_GridSizeOverflowIsRefused) {
    const std::string path = std::string(ALT_SOURCE_DIR) + "/tests/fuzz/seeds/scn/grid-size-overflow.scn";
    EngGuard([&] { return DocOpen(path); });
    EXPECT_NE(ScnRdSt, ScnRdOk);
    EXPECT_NE(TrnPrd, nullptr);
    EXPECT_FALSE(Plt().boxes.empty());
}
