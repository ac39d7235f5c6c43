#include <gtest/gtest.h>
#include "core/cmd.h"

TEST(Dispatch, UnknownCategoryDoesNothing) {
    EXPECT_EQ(IntrCmd(2, 102000), 0);
    EXPECT_EQ(IntrCmd(0, 0), 0);
    EXPECT_EQ(DstrCmd(100, 1), 0);
}
