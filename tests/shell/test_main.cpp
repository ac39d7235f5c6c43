#include <gtest/gtest.h>
#include <QApplication>
#include "app/cats.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The command tables as StartEng registers them: the window fixtures that never start the
    // engine still dispatch their menu commands.
    RegCats();
    const int rc = RUN_ALL_TESTS();
    plt::Set(nullptr);
    return rc;
}
