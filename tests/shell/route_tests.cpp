// Command routing with the engine running: each menu item and toolbar button issues its engine
// command, and the frame's own commands change the flags and the view they name.
#include <gtest/gtest.h>
#include <QAction>
#include <QTemporaryDir>
#include <memory>
#include <utility>
#include <vector>
#include "app.h"
#include "cmdids.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "curves/crv.h"
#include "display/drw.h"
#include "display/view.h"
#include "mainframe.h"
#include "terrain/trn.h"
#include "mainview.h"
#include "menutable.h"
#include "qtplatform.h"
#include "reclink.h"
#include "cmd/undo.h"

using namespace shl;

namespace {

std::vector<std::pair<int, int>>* gCalls = nullptr;

void Record(bool dstr, int cat, int code) {
    if (!dstr && gCalls) gCalls->emplace_back(cat, code);
}

class Routing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        profileDir = new QTemporaryDir;
        qputenv("XDG_CONFIG_HOME", profileDir->path().toLocal8Bit());
    }
    static void TearDownTestSuite() {
        delete profileDir;
        profileDir = nullptr;
    }
    void SetUp() override {
        plat.boxHook = [this](const char* text, const char*, int, int) {
            boxes << QString::fromUtf8(text);
            return plt::AnsOk;
        };
        plt::Set(&plat);
        StartEngine();
        frame = std::make_unique<MainFrame>(&link);
        frame->View()->SetTimerOn(false);
        plat.SetFrame(frame.get());
        gCalls = &calls;
        CmdHook = &Record;
    }
    void TearDown() override {
        CmdHook = nullptr;
        gCalls = nullptr;
        plat.SetFrame(nullptr);
        frame.reset();
        EndEngine();
        plt::Set(nullptr);
    }
    // Clicks the item of id and returns the engine commands it issued, in order.
    std::vector<std::pair<int, int>> Click(int id) {
        calls.clear();
        frame->UpdateUi();
        frame->Action(id)->trigger();
        return calls;
    }

    static QTemporaryDir* profileDir;
    RecLink link;
    QtPlatform plat;
    std::unique_ptr<MainFrame> frame;
    std::vector<std::pair<int, int>> calls;
    QStringList boxes;
};

QTemporaryDir* Routing::profileDir = nullptr;

TEST_F(Routing, EveryEngineItemIssuesItsCommandFirst) {
    int n = 0;
    for (const CmdDef& c : AllCmds()) {
        if (c.cat == 0) continue;
        SCOPED_TRACE(c.id);
        SwDim(c.avail == Av3D ? 1 : 0);
        IntrCmd(CatDrw2D, CmdCrvHgtShow);  // leave any mode the previous item entered
        const auto got = Click(c.id);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.front(), std::make_pair(c.cat, c.code));
        ++n;
    }
    EXPECT_EQ(n, 40);  // every item of the table that is one engine command
}

TEST_F(Routing, GreyedItemsIssueNothing) {
    SwDim(1);
    EXPECT_TRUE(Click(IdCrvPntInput).empty());
    EXPECT_TRUE(Click(IdLoupe).empty());
    SwDim(0);
    EXPECT_TRUE(Click(IdTrnSlctPnt).empty());
    EXPECT_TRUE(Click(IdParallel).empty());
}

TEST_F(Routing, TwoAndThreeDimensionButtonsSwitchTheViewAndRedraw) {
    ASSERT_EQ(ViewDim, 0);
    auto got = Click(IdView3D);
    EXPECT_EQ(ViewDim, 1);
    EXPECT_TRUE(frame->Action(IdView3D)->isChecked());
    EXPECT_FALSE(frame->Action(IdView2D)->isChecked());
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front(), std::make_pair(int(CatDsp), CmdRdrwAll));
    // Pressing the checked button again keeps the view and its check.
    Click(IdView3D);
    EXPECT_EQ(ViewDim, 1);
    EXPECT_TRUE(frame->Action(IdView3D)->isChecked());
    Click(IdView2D);
    EXPECT_EQ(ViewDim, 0);
    EXPECT_TRUE(frame->Action(IdView2D)->isChecked());
}

TEST_F(Routing, DisplayItemsSetTheirFlagsAndRedraw) {
    SwDim(1);
    SlpDsp = 1;
    auto got = Click(IdWireframe);
    EXPECT_EQ(DspFlg & SrfDspShd, 0u);
    EXPECT_EQ(SlpDsp, 0);
    EXPECT_EQ(got.front(), std::make_pair(int(CatDsp), CmdRdrwAll));
    SlpDsp = 1;
    Click(IdShading);
    EXPECT_NE(DspFlg & SrfDspShd, 0u);
    EXPECT_EQ(SlpDsp, 0);
    got = Click(IdAxisHide);
    EXPECT_EQ(AxisOn, 0);
    EXPECT_EQ(got.front(), std::make_pair(int(CatDsp), CmdRdrwAll));
    Click(IdAxisShow);
    EXPECT_EQ(AxisOn, 1);
}

TEST_F(Routing, UndoAndRedoFromTheEditMenu) {
    // One curve of two points, entered as the point-input mode does.
    crv* c = NewCrv();
    AddPnt(c, 0, 0, 0);
    AddPnt(c, 1000, 0, 0);
    RecUndo(UndoNewCrv, 1, &c);
    frame->UpdateUi();
    EXPECT_TRUE(frame->Action(IdEditUndo)->isEnabled());
    EXPECT_FALSE(frame->Action(IdEditRedo)->isEnabled());
    Click(IdEditUndo);
    EXPECT_EQ(UndoState, 2);
    EXPECT_FALSE(frame->Action(IdEditUndo)->isEnabled());
    EXPECT_TRUE(frame->Action(IdEditRedo)->isEnabled());
    Click(IdEditRedo);
    EXPECT_EQ(UndoState, 1);
}

}  // namespace
