// Engine fixture: a recording platform, a scratch working folder and the application's start-up
// order; the engine is ended when the test ends.
//
//   class MyTest : public EngineTest {};
//   TEST_F(MyTest, Something) { Press(10, 20); ... EXPECT_EQ(Plt().boxes.size(), 1u); }
#pragma once
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "support/rec_platform.h"

// A command as it entered IntrCmd or DstrCmd.
struct CmdRec {
    bool dstr;
    int cat, code;
    bool operator==(const CmdRec&) const = default;
};

class EngineTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    RecPlatform& Plt() { return plt_; }
    const std::string& Dir() const { return dir_; }  // scratch working folder (current dir)
    // A path inside the scratch folder.
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // Pointer and keys as the main view sends them.
    static void Press(int x, int y);        // left button down
    static void Release(int x, int y);      // left button up
    static void Move(int x, int y);
    static void RPress(int x, int y);       // right button down
    static void RRelease(int x, int y);
    static void Click(int x, int y) { Press(x, y); Release(x, y); }
    static void KeyDown(int vk);
    static void KeyUp(int vk);
    static void Key(int vk) { KeyDown(vk); KeyUp(vk); }

    // Every command issued since start-up finished (or since ClearCmds), in order.
    static const std::vector<CmdRec>& Cmds();
    static void ClearCmds();
    // How many times IntrCmd(cat, code) (or DstrCmd when dstr) was issued.
    static int CountCmd(int cat, int code, bool dstr = false);
    // Runs on every command, after it is recorded (inside the command's recovery point).
    static std::function<void(bool dstr, int cat, int code)> onCmd;

    // Whether the engine is ended in TearDown (a test that ends it itself sets this false).
    bool endEngine_ = true;

private:
    RecPlatform plt_;
    std::string dir_, oldDir_;
};
