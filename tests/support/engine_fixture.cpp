#include "support/engine_fixture.h"
#include "app/sys.h"
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "gis/gis.h"
#include "app/modetbl.h"

namespace {
std::vector<CmdRec> gCmds;
void RecCmd(bool dstr, int cat, int code) {
    gCmds.push_back({dstr, cat, code});
    if (EngineTest::onCmd) EngineTest::onCmd(dstr, cat, code);
}

// Clears what a previous test may have left in the pointer, mode and pending state.
void RstEngState() {
    CrntMode = ModeIdle;
    MouseEvt = MouseEvtRec{};
    CurBtn = 0;
    Moved = 0;
    ModDrag = 0;
    ShiftFlg[0] = ShiftFlg[1] = 0;
    CtrlFlg = 0;
    LastKey = 0;
    PndIntr = {};
    PndDstr = {};
    QuitNoAsk = 0;
    MsgLang = 0;
    GisClear();  // no georeference, as in a new process: a batch DEM run or an import leaves one
}
}  // namespace

void EngineTest::SetUp() {
    plt::Set(&plt_);
    char cwd[4096];
    oldDir_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
    std::string tmpl = (std::filesystem::temp_directory_path() / "alt-test-XXXXXX").string();
    char* d = mkdtemp(tmpl.data());
    ASSERT_NE(d, nullptr);
    dir_ = d;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    RstEngState();
    StartEng();
    plt_.Clear();
    gCmds.clear();
    CmdHook = RecCmd;
}

std::function<void(bool, int, int)> EngineTest::onCmd;

const std::vector<CmdRec>& EngineTest::Cmds() { return gCmds; }
void EngineTest::ClearCmds() { gCmds.clear(); }
int EngineTest::CountCmd(int cat, int code, bool dstr) {
    int n = 0;
    for (const CmdRec& c : gCmds)
        if (c.dstr == dstr && c.cat == cat && c.code == code) ++n;
    return n;
}

void EngineTest::TearDown() {
    CmdHook = nullptr;
    onCmd = nullptr;
    gCmds.clear();
    if (endEngine_) DstrCmd(CatSys, CmdSysEnd);
    RstEngState();
    if (chdir(oldDir_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << oldDir_;
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
    plt::Set(nullptr);
}

void EngineTest::Press(int x, int y) {
    SetPtrPix(x, y);
    IntrEvt(EVT_LDOWN);
}
void EngineTest::Release(int x, int y) {
    SetPtrPix(x, y);
    IntrEvt(EVT_LUP);
}
void EngineTest::Move(int x, int y) {
    SetPtrPix(x, y);
    IntrEvt(EVT_MOVE);
}
void EngineTest::RPress(int x, int y) {
    SetPtrPix(x, y);
    IntrEvt(EVT_RDOWN);
}
void EngineTest::RRelease(int x, int y) {
    SetPtrPix(x, y);
    IntrEvt(EVT_RUP);
}
void EngineTest::KeyDown(int vk) {
    SetPtrKey(vk);
    IntrEvt(EVT_KEYDOWN);
}
void EngineTest::KeyUp(int vk) {
    SetPtrKey(vk);
    IntrEvt(EVT_KEYUP);
}
