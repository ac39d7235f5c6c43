// Start-up state, settings copies, spill-file names and the allocator.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "curves/crv.h"
#include "display/lgt.h"
#include "scene/scene.h"
#include "support/engine_fixture.h"
#include "display/dsp_cmd.h"
#include "app/modetbl.h"

namespace {
constexpr long long Huge = 1LL << 62;  // no heap can give this
}

class State : public EngineTest {};

TEST_F(State, StartUpDefaults) {
    BaseMode = 7;
    TmrAct = TmrWlk;
    RptCat = RptCode = 3;
    BtnHeld = 1;
    LastErrId = 110;
    RunFlg = 1;
    DstrCmd(CatSys, CmdSysIni);
    EXPECT_EQ(BaseMode, ModeIdle);
    EXPECT_EQ(TmrAct, TmrNone);
    EXPECT_EQ(RptCat, -1);
    EXPECT_EQ(RptCode, -1);
    EXPECT_EQ(BtnHeld, 0);
    EXPECT_EQ(LastErrId, 0);
    EXPECT_EQ(RunFlg, 0);
    EXPECT_EQ(PickAp, 5);
    EXPECT_EQ(CnctDst, 10.0);
    ASSERT_NE(PrmLgt, nullptr);
    EXPECT_EQ(PrmLgtCap, 100);
    for (int i = 0; i < PrmLgtCap; ++i) {
        float first;
        std::memcpy(&first, &PrmLgt[i], sizeof first);
        EXPECT_EQ(first, 0.0f) << i;
    }
    EXPECT_TRUE(Plt().boxes.empty());
    EXPECT_TRUE(Plt().console.empty());
}

TEST_F(State, EndOfSystemFreesTheSceneAndTheTables) {
    crv* c = NewCrv();
    ASSERT_NE(c, nullptr);
    AddPnt(c, 0, 0, 100);
    AddPnt(c, 10, 0, 100);
    AddCrvSlct(c);
    ASSERT_EQ(NumCrvSlct, 1);
    ASSERT_GT(PrdTbl.n, 0);
    DstrCmd(CatSys, CmdSysEnd);
    EXPECT_EQ(NumCrvSlct, 0);
    EXPECT_EQ(CrvSlct, nullptr);
    EXPECT_EQ(PrdTbl.n, 0);
    EXPECT_EQ(StgTbl.n, 0);
    EXPECT_EQ(CamTbl.n, 0);
    EXPECT_EQ(PrmLgt, nullptr);
    EXPECT_EQ(PrmLgtCap, 0);
    EXPECT_EQ(PrmMtl, nullptr);
    DstrCmd(CatSys, CmdSysIni);  // and a new start gets a fresh one
    EXPECT_EQ(PrmLgtCap, 100);
}

TEST_F(State, SettingsCopies) {
    SetPrmDef();
    EXPECT_EQ(SetEdt.pickAp, 5);
    EXPECT_EQ(SetEdt.winSiz[0][0], 850);
    EXPECT_EQ(SetEdt.winSiz[3][1], 480);
    EXPECT_STREQ(SetEdt.thrTxt[2], "0.01");
    EXPECT_STREQ(SetEdt.font[3], "*-times-bold-i-*-20-*");
    EXPECT_STREQ(SetEdt.font[4], "*-courier-bold-r-*-14-*");
    SetEdt.pickAp = 9;
    SetEdt.cnctDst = 12.5;
    StoPrm();
    EXPECT_EQ(SetSto.pickAp, 9);
    AplPrm();
    EXPECT_EQ(PickAp, 9);
    EXPECT_EQ(CnctDst, 12.5);
    EXPECT_NEAR(SetWrk.thr[0], 4.999, 1e-12);
    EXPECT_NEAR(SetWrk.thr[2], 0.009, 1e-12);
    EXPECT_NEAR(SetWrk.ang[0], SetEdt.ang[0] / 180.0 * M_PI, 1e-12);
    EXPECT_STREQ(SetWrk.font[0], SetEdt.font[0]);
    // Counts held as reals come back rounded; thresholds and angles get their units back.
    SetWrk.cntR[0] = 6.996;
    PickAp = 3;
    SavPrm();
    EXPECT_EQ(SetSto.cnt[0], 7);
    EXPECT_EQ(SetSto.pickAp, 3);
    EXPECT_NEAR(SetSto.thr[0], 5.0, 1e-12);
    EXPECT_NEAR(SetSto.ang[0], SetEdt.ang[0], 1e-9);
    EXPECT_EQ(SetSto.winSiz[1][0], 1280);
    // Start-up takes the stored copy.
    SetEdt.pickAp = 1;
    DstrCmd(CatSys, CmdSysIni);
    EXPECT_EQ(PickAp, 3);
}

TEST_F(State, SpillFileNamesAndDate) {
    MkTmpNamAt(14, 5, 9, 2026, 12, 9);
    EXPECT_STREQ(TmpFbuf, "Pixalune.1459.Fbuf");
    EXPECT_STREQ(TmpTbuf, "Pixalune.1459.Tbuf");
    EXPECT_EQ(DateByt[0], 126);
    EXPECT_EQ(DateByt[1], 12);
    EXPECT_EQ(DateByt[2], 9);
    MkTmpNamAt(0, 0, 0, 1999, 1, 31);
    EXPECT_STREQ(TmpFbuf, "Pixalune.000.Fbuf");
    EXPECT_EQ(DateByt[0], 99);
    MkTmpNam();
    EXPECT_EQ(std::strncmp(TmpFbuf, "Pixalune.", 9), 0);
}

TEST_F(State, DocumentParametersReset) {
    DocPrm.fogEnd = 1;
    DocPrm.rndPrm2[0] = 0;
    DocPrm.nBgImg = 1;
    DocPrm.bgImg = static_cast<BgImgRec*>(AlcMem(sizeof(BgImgRec), "bgImg"));
    std::memset(DocPrm.bgImg, 0, sizeof(BgImgRec));
    DocPrm.bgImg[0].name = static_cast<char*>(AlcMem(8, "name"));
    RstDocPrm();
    EXPECT_EQ(DocPrm.nBgImg, 0);
    EXPECT_EQ(DocPrm.bgImg, nullptr);
    EXPECT_EQ(DocPrm.fogEnd, 15000.0f);
    EXPECT_EQ(DocPrm.fogDns, 1.0f);
    EXPECT_EQ(DocPrm.rndPrm2[0], 13);
    EXPECT_EQ(DocPrm.rndPrm2[5], 15);
    EXPECT_EQ(DocPrm.grdCol2[1], 255);
    EXPECT_EQ(DocPrm.dspFct[1], 1.0);
}

class Alloc : public EngineTest {};

TEST_F(Alloc, EdgeSizes) {
    EXPECT_EQ(AlcMem(0, "t"), nullptr);
    EXPECT_EQ(AlcMem(-5, "t"), nullptr);
    void* p = RealcMem(nullptr, 16, "t");
    ASSERT_NE(p, nullptr);
    std::memset(p, 7, 16);
    p = RealcMem(p, 4096, "t");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(p)[15], 7);
    EXPECT_EQ(RealcMem(p, 0, "t"), nullptr);  // freed (a leak checker would see otherwise)
    EXPECT_EQ(RealcMem(nullptr, -1, "t"), nullptr);
    EXPECT_EQ(FreeMem(nullptr), 0);
    EXPECT_TRUE(Plt().boxes.empty());
}

TEST_F(Alloc, FailureAbandonsTheCommandFromAnEvent) {
    // A timer tick repeats a command whose work cannot get its memory.
    bool after = false;
    onCmd = [&](bool, int cat, int code) {
        if (cat == CatDsp && code == CmdRdrwAll) {
            void* p = AlcMem(Huge, "Test:huge");
            FreeMem(p);
            after = true;  // never reached
        }
    };
    TmrAct = TmrRpt;
    RptCat = CatDsp;
    RptCode = CmdRdrwAll;
    LastKey = 83;
    EXPECT_EQ(IntrEvt(EVT_TIMER), 0);
    TmrAct = TmrNone;
    EXPECT_FALSE(after);
    EXPECT_EQ(LastKey, -1);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].text, "メモリが確保できませんでした。\n");
    EXPECT_EQ(Plt().boxes[0].caption, "エラー");
    EXPECT_EQ(LastErrId, 100);
    EXPECT_EQ(EngGuardDepth(), 0);
    // The engine goes on.
    onCmd = nullptr;
    EXPECT_EQ(IntrCmd(CatSys, CmdSavVal0), 0);
}

TEST_F(Alloc, FailureAbandonsTheOutermostCommand) {
    int steps = 0;
    onCmd = [&](bool, int cat, int code) {
        if (cat == CatSys && code == 100034) {
            ++steps;
            IntrCmd(CatSys, 100035);  // nested command fails
            ++steps;              // the outer one is abandoned too
        } else if (cat == CatSys && code == 100035) {
            RealcMem(nullptr, Huge, "Nested:buf");
        }
    };
    MsgLang = 1;
    EXPECT_EQ(IntrCmd(CatSys, 100034), 0);
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].text,
              "Memory allocation failed.\nNested:buf\nSIZE = " + std::to_string(Huge));
}

TEST_F(Alloc, FailureInsideABoxAbandonsOnlyTheCommandStartedThere) {
    // While a box is open the window system keeps dispatching: a timer tick there runs a
    // command that fails. Only that command is abandoned; the one showing the box goes on.
    int steps = 0;
    onCmd = [&](bool, int cat, int code) {
        if (cat == CatSys && code == 100034) {
            ++steps;
            DspWrnMsg(297, "wait");
            ++steps;
        } else if (cat == CatDsp && code == CmdRdrwAll) {
            AlcMem(Huge, "Tick:buf");
        }
    };
    bool ticked = false;
    Plt().onBox = [&](const RecBox& b) {
        if (b.text != "wait" || ticked) return;
        ticked = true;
        TmrAct = TmrRpt;
        RptCat = CatDsp;
        RptCode = CmdRdrwAll;
        EXPECT_EQ(IntrEvt(EVT_TIMER), 0);
        TmrAct = TmrNone;
    };
    EXPECT_EQ(IntrCmd(CatSys, 100034), 0);
    EXPECT_EQ(steps, 2);
    ASSERT_EQ(Plt().boxes.size(), 2u);
    EXPECT_EQ(Plt().boxes[1].text, "メモリが確保できませんでした。\n");
    EXPECT_EQ(EngGuardDepth(), 0);
}

TEST_F(Alloc, FailureInsideThePumpStaysThere) {
    bool done = false;
    onCmd = [&](bool, int cat, int code) {
        if (cat == CatSys && code == 100035) {
            BgnWork();
            EXPECT_FALSE(PumpMsg());
            done = true;
        } else if (cat == CatDsp && code == CmdRdrwAll) {
            AlcMem(Huge, "Pump:buf");
        }
    };
    Plt().onPump = [] { IntrCmd(CatDsp, CmdRdrwAll); };
    IntrCmd(CatSys, 100035);
    EXPECT_TRUE(done);
    EXPECT_EQ(Plt().boxes.size(), 1u);
}

TEST_F(Alloc, FailedResizeKeepsTheBlock) {
    char* keep = static_cast<char*>(AlcMem(8, "keep"));
    std::strcpy(keep, "intact");
    onCmd = [&](bool, int, int code) {
        if (code == 100038) keep = static_cast<char*>(RealcMem(keep, Huge, "Grow:keep"));
    };
    MsgLang = 1;
    IntrCmd(CatSys, 100038);
    EXPECT_STREQ(keep, "intact");
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_NE(Plt().boxes[0].text.find("Grow:keep\nADDR = "), std::string::npos);
    EXPECT_NE(Plt().boxes[0].text.find("\nSIZE = " + std::to_string(Huge)), std::string::npos);
    FreeMem(keep);
}

TEST_F(Alloc, OutsideACommandTheCallerGetsNull) {
    LastKey = 5;
    EXPECT_EQ(AlcMem(Huge, "Outside:buf"), nullptr);
    EXPECT_EQ(LastKey, -1);
    EXPECT_EQ(Plt().boxes.size(), 1u);
}

TEST_F(Alloc, ObjectsGoThroughTheAllocator) {
    struct Obj {
        std::string s;
        int n;
    };
    Obj* o = AlcObj<Obj>("obj", Obj{"name", 3});
    EXPECT_EQ(o->s, "name");
    FreeObj(o);
    FreeObj<Obj>(nullptr);
}
