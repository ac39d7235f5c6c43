// Event router, curve-mode protocol, modifier drags, shortcuts, mode switching and cursors.
#include <gtest/gtest.h>
#include "core/cmd.h"
#include "core/mode.h"
#include "display/drw.h"
#include "display/view.h"
#include "support/engine_fixture.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"
#include "app/modetbl.h"

class Mode : public EngineTest {
public:
    void SetUp() override {
        EngineTest::SetUp();
        ViewDim = 0;
        DspFlg = 0;
    }
    static void Enter(int mode) {
        SetMode(mode);
        ClearCmds();
    }
    // The commands the router and the modes issued, without the redraws the view steps request.
    static std::vector<CmdRec> Issued() {
        std::vector<CmdRec> r;
        for (const CmdRec& c : Cmds())
            if (!(c.cat == CatDsp && (c.code == CmdRdrwAll || c.code == CmdDrwPic))) r.push_back(c);
        return r;
    }
};

TEST_F(Mode, ReleaseWithoutAcceptedPressReachesNoMode) {
    Enter(62);
    Release(10, 10);
    RRelease(10, 10);
    EXPECT_TRUE(Cmds().empty());
    EXPECT_EQ(BtnHeld, 0);
}

TEST_F(Mode, PressDragReleaseIssuesTheStepsWithPositions) {
    Enter(62);
    Press(10, 20);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvSlctCross), 1);
    EXPECT_EQ(BtnHeld, 1);
    EXPECT_EQ(CurBtn, 1);
    EXPECT_EQ(PrsPos[0], 10);
    EXPECT_EQ(PrsPos[1], 20);
    Moved = 0;
    Move(30, 45);
    EXPECT_EQ(Moved, 1);
    EXPECT_EQ(PtrPos[0], 30);
    EXPECT_EQ(PtrPos[1], 45);
    EXPECT_EQ(PtrPos[2], 0);
    EXPECT_EQ(PrsPos[0], 10);
    Release(30, 45);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvSlctWndRls), 1);
    EXPECT_EQ(BtnHeld, 0);
    EXPECT_EQ(Issued().size(), 2u);
}

TEST_F(Mode, RightButtonLeavesTheMode) {
    Enter(50);
    Click(5, 5);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvPnt), 1);
    SetCrs(CrsCross);
    RPress(7, 7);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvEnd), 1);  // point input ends its curve first
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_EQ(CrsIdx, CrsArrow);
    Enter(62);
    RPress(7, 7);
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_TRUE(Cmds().empty());
}

// Esc leaves a mode the way the right button does (ending the curve of point input first), also
// in the middle of a drag; without a mode it does nothing.
TEST_F(Mode, EscLeavesTheModeAsTheRightButtonDoes) {
    constexpr int VkEsc = 27;
    Enter(50);
    Click(5, 5);
    KeyDown(VkEsc);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvEnd), 1);
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_EQ(CrsIdx, CrsArrow);
    Enter(62);
    Press(10, 20);
    KeyDown(VkEsc);
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_EQ(BtnHeld, 0);
    Release(30, 40);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvSlctWndRls), 0);
    ClearCmds();
    KeyDown(VkEsc);
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_TRUE(Issued().empty());
}

TEST_F(Mode, ShiftTurnsTheLeftButtonIntoTheMiddleOne) {
    Enter(50);
    KeyDown(16);
    Press(40, 50);
    EXPECT_EQ(MouseEvt.button, 2);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvPnt), 0);  // no point entered
    EXPECT_EQ(BtnHeld, 1);
    EXPECT_EQ(PrsPos[0], 40);
    EXPECT_EQ(PrsPos[1], 50);
    Release(40, 50);
    EXPECT_EQ(BtnHeld, 0);
    KeyUp(116);  // F5 clears a shift whose release was lost
    EXPECT_EQ(ShiftFlg[0], 0);
    EXPECT_EQ(ShiftFlg[1], 0);
    Press(40, 50);
    EXPECT_EQ(MouseEvt.button, 1);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvPnt), 1);
}

TEST_F(Mode, StrokeInputStepsByDistance) {
    Enter(51);
    Press(0, 0);
    Move(3, 0);
    Move(4, 2);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvPnt), 1);
    Move(6, 0);  // 6 pixels from the press
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvPnt), 2);
    Move(9, 0);  // 3 from the new anchor
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvPnt), 2);
    Move(9, 5);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvPnt), 3);
    Release(9, 5);
    const std::vector<CmdRec> is = Issued();
    ASSERT_GE(is.size(), 2u);
    EXPECT_EQ(is[is.size() - 2], (CmdRec{false, CatDrw2D, CmdCrvEnd}));
    EXPECT_EQ(is.back(), (CmdRec{false, CatDrw2D, CmdCrvBgn}));
}

TEST_F(Mode, MoveModeDragsWhileHeld) {
    Enter(63);
    Move(1, 1);  // not held
    EXPECT_TRUE(Cmds().empty());
    Press(1, 1);
    Move(2, 2);
    Move(3, 3);
    Release(3, 3);
    EXPECT_EQ(CountCmd(CatDrw2D, CmdCrvMoveStep), 2);
    EXPECT_EQ(Issued().size(), 2u);
}

TEST_F(Mode, CtrlDragInPointInputEntersOnePointThenDragsTheView) {
    Enter(50);
    KeyDown(17);
    Press(10, 10);
    Move(20, 20);
    Move(30, 25);
    Move(40, 30);
    Release(40, 30);
    KeyUp(17);
    const std::vector<CmdRec> want = {{false, CatDrw2D, CmdCrvPnt},
                                      {false, CatDsp, CmdModBgn},
                                      {false, CatDsp, CmdModSclStep},
                                      {false, CatDsp, CmdModSclStep},
                                      {false, CatDsp, CmdModEnd}};
    EXPECT_EQ(Issued(), want);
    EXPECT_EQ(PrsPos[0], 40);  // each applied view step re-anchors the press position
    EXPECT_EQ(PtrPos[0], 40);
    EXPECT_EQ(ModDrag, 0);
    EXPECT_EQ(BtnHeld, 0);
    EXPECT_EQ(CtrlFlg, 0);
}

TEST_F(Mode, ModifierDragCodes) {
    // Shift drag, in no mode at all.
    KeyDown(16);
    Press(0, 0);
    Move(1, 1);
    Move(2, 2);
    Release(2, 2);
    KeyUp(16);
    // Shift+Ctrl in the 2D view is a Ctrl drag, in the 3D view its own.
    KeyDown(16);
    KeyDown(17);
    Press(0, 0);
    Move(1, 1);
    Move(2, 2);
    Release(2, 2);
    ViewDim = 1;
    Press(0, 0);
    Move(1, 1);
    Move(2, 2);
    Release(2, 2);
    KeyUp(16);
    KeyUp(17);
    EXPECT_EQ(CountCmd(CatDsp, CmdModBgn), 3);
    EXPECT_EQ(CountCmd(CatDsp, CmdModShfStep), 1);
    EXPECT_EQ(CountCmd(CatDsp, CmdModSclStep), 1);
    EXPECT_EQ(CountCmd(CatDsp, CmdRimStep), 1);
    EXPECT_EQ(CountCmd(CatDsp, CmdModEnd), 3);
}

TEST_F(Mode, AButtonReleasedOutsideAModeDoesNotStartADrag) {
    Press(0, 0);     // no mode takes it
    Release(0, 0);
    KeyDown(17);
    Move(5, 5);      // Ctrl held, no button
    KeyUp(17);
    EXPECT_EQ(CountCmd(CatDsp, CmdModBgn), 0);
}

TEST_F(Mode, ShortcutKeys) {
    const struct {
        int vk;
        bool shift;
        CmdRec cmd;
    } keys[] = {
        {13, false, {false, CatDsp, CmdRdrwFront}}, {68, false, {false, CatMdl, CmdMdlKeyD}},
        {69, false, {false, CatDsp, CmdShfMode}}, {69, true, {false, CatDsp, CmdShfModeAlt}},
        {70, false, {false, CatMdl, CmdMdlKeyF}},  {81, false, {false, CatDsp, CmdFitView}},
        {82, false, {false, CatDsp, CmdRotMode}}, {83, false, {false, CatMdl, CmdMdlKeyS}},
        {87, false, {false, CatDsp, CmdSclMode}}, {87, true, {false, CatDsp, CmdSclModeAlt}},
    };
    for (const auto& k : keys) {
        ClearCmds();
        if (k.shift) KeyDown(16);
        KeyDown(k.vk);
        KeyUp(k.vk);
        if (k.shift) KeyUp(16);
        ASSERT_EQ(Issued().size(), 1u) << k.vk;
        EXPECT_EQ(Issued()[0], k.cmd) << k.vk;
    }
    ClearCmds();
    Key(65);  // no shortcut
    EXPECT_TRUE(Cmds().empty());
}

TEST_F(Mode, ShortcutsWaitWhileAButtonIsHeld) {
    Enter(62);
    Press(1, 1);
    for (int vk : {13, 68, 69, 70, 81, 82, 83, 87}) Key(vk);
    Key(86);  // V
    EXPECT_EQ(CrntMode, ModeCrvSlctWnd);
    EXPECT_EQ(Cmds().size(), 1u);  // only the press
    Release(1, 1);
    Key(86);
    EXPECT_EQ(CrntMode, ModeIdle);
}

TEST_F(Mode, F3AndF4SwitchTheDisplayFlag) {
    KeyDown(114);
    EXPECT_EQ(DspFlg & 2u, 2u);
    EXPECT_EQ(LastKey, 0);
    KeyDown(115);
    EXPECT_EQ(DspFlg & 2u, 0u);
    EXPECT_EQ(LastKey, 0);
    EXPECT_EQ(CountCmd(CatDsp, CmdRdrwWin), 2);
    EXPECT_EQ(Cmds().size(), 2u);
}

TEST_F(Mode, TimerRunsTheRepeatCommand) {
    IntrEvt(EVT_TIMER);
    EXPECT_TRUE(Cmds().empty());
    TmrAct = TmrRpt;
    RptCat = CatDsp;
    RptCode = CmdRdrwAll;
    IntrEvt(EVT_TIMER);
    TmrAct = TmrWlk;
    IntrEvt(EVT_TIMER);
    TmrAct = TmrNone;
    const std::vector<CmdRec> want = {{false, CatDsp, CmdRdrwAll}, {false, CatView, CmdWlkTmr}};
    EXPECT_EQ(Cmds(), want);
}

TEST_F(Mode, UnknownEventTypesAreIgnored) {
    Enter(62);
    for (int t : {0, 12, -1, 99}) EXPECT_EQ(IntrEvt(t), 0);
    EXPECT_TRUE(Cmds().empty());
}

TEST_F(Mode, LeaveActions) {
    const struct {
        int from, to;
        std::vector<CmdRec> cmds;
    } cases[] = {
        {10, 0, {{false, CatDsp, CmdMltEnd}}},
        {10, 44, {}},
        {241, 0, {{false, CatRndr, CmdRndrPrvEnd}}},
        {285, 0, {{false, CatDsp, CmdMltShfEnd}}},
        {500, 0, {{false, CatWrk, CmdWrkEnd}}},
        {500, 509, {}},
        {500, ModeShf, {}},
        {ModeRot, 0, {{false, CatDsp, CmdViewModeEnd}}},
        {ModeId(3, 19), ModeId(3, 280), {}},
        {ModeId(3, 19), ModeId(3, 18), {{false, CatDsp, CmdViewModeEnd}}},
        {ModeId(3, 201), 0, {{false, CatLgt, CmdLgtPosEnd}}},
        {ModeId(3, 208), ModeId(3, 210), {{false, CatMtl, CmdMtlEnd}, {false, CatMtl, CmdMtlBgn}}},
        {ModeCrvSlctWnd, ModeCrvClk, {}},
    };
    for (const auto& c : cases) {
        CrntMode = c.from;
        ClearCmds();
        SetMode(c.to);
        EXPECT_EQ(CrntMode, c.to) << c.from;
        EXPECT_EQ(Cmds(), c.cmds) << c.from << " -> " << c.to;
    }
}

TEST_F(Mode, LeavingRenderingOrLocateResetsTheCursor) {
    CrntMode = ModeRndr;
    SetCrs(CrsWait);
    SetMode(ModeCrvClk);
    EXPECT_EQ(CrntMode, ModeCrvClk);
    EXPECT_EQ(CountCmd(CatDsp, CmdRndrEnd), 1);
    EXPECT_EQ(CrsIdx, CrsArrow);
    CrntMode = ModeId(3, 16);
    SetCrs(CrsPick);
    SetMode(ModeId(3, 16));  // same mode: stays
    EXPECT_EQ(CrsIdx, CrsPick);
    SetMode(ModeCrvSlctWnd);
    EXPECT_EQ(CrntMode, ModeCrvSlctWnd);
    EXPECT_EQ(CrsIdx, CrsArrow);
    CrntMode = ModeId(3, 208);
    SetCrs(CrsPick);
    SetMode(ModeIdle);
    EXPECT_EQ(CrsIdx, CrsArrow);
}

TEST_F(Mode, LeavingWhileHeldEndsTheHold) {
    Enter(62);
    Press(1, 1);
    RPress(2, 2);  // leaves the mode with the left button still down
    EXPECT_EQ(CrntMode, ModeIdle);
    Release(3, 3);
    EXPECT_EQ(BtnHeld, 0);
    Key(13);
    EXPECT_EQ(CountCmd(CatDsp, CmdRdrwFront), 1);
}

TEST_F(Mode, HelpTextsGoToThePlatform) {
    SetMode(ModeRndr);
    SetMode(ModeCrvSlctWnd);  // curve modes have none
    ASSERT_EQ(Plt().helps.size(), 1u);
    EXPECT_EQ(Plt().helps[0], "Rendering.\n\n  all button : quit");
}

TEST_F(Mode, PressOfKindSix) {
    Enter(62);
    SetPtrPix(8, 9);
    IntrEvt(EVT_PRESS6);
    EXPECT_EQ(MouseEvt.kind, MsPress6);
    EXPECT_EQ(MouseEvt.button, 1);
    EXPECT_EQ(MouseEvt.x, 8);
    EXPECT_TRUE(Cmds().empty());  // curve modes take only presses of kind 1
}

TEST_F(Mode, CursorTable) {
    SetCrs(CrsNum - 1);
    SetCrs(CrsNum);   // past the table: ignored
    SetCrs(-1);
    EXPECT_EQ(CrsIdx, CrsNum - 1);
    ASSERT_EQ(Plt().cursors.size(), 1u);
    EXPECT_EQ(Plt().cursors[0], CrsNum - 1);
    CrntMode = ModeCrvSlctWnd;
    BaseMode = ModeIdle;
    RstBaseMode();
    EXPECT_EQ(CrntMode, ModeIdle);
    EXPECT_EQ(CrsIdx, CrsArrow);
}

TEST_F(Mode, PumpReportsCancel) {
    BgnWork();
    EXPECT_FALSE(PumpMsg());
    EXPECT_EQ(Plt().pumpMax, 2);
    Plt().onPump = [] { RunFlg = 0; };  // the Cancel button
    EXPECT_TRUE(PumpMsg());
    EXPECT_EQ(Plt().pumps, 2);
}
