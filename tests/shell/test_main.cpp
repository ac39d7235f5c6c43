#include <gtest/gtest.h>
#include <QApplication>
#include "platform/platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    plt::Set(nullptr);
    return rc;
}
