// A fresh start-up and terrain scene for each scene test.
#pragma once
#include <gtest/gtest.h>
#include "scene/scene.h"

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        IniScn();
        IniTrnScn();
    }
    void TearDown() override { ClrScn(); }
};
