// The trace command and the settings of the auto-vectorize window.
#include <cstdio>
#include "core/msg.h"
#include "curves/crv.h"
#include "display/view.h"
#include "image/vecimg.h"
#include "terrain/trn.h"
#include "vectorize/vec.h"
#include "cmd/undo.h"

double VecDpi = VecDpiDef;
double VecMapScl = VecMapSclDef;
uint8_t VecSlctCrv = 0;
uint8_t VecCentre = 0;
uint8_t VecOrgOn = 0;
double VecOrg[2] = {0, 0};
int OutLinMinArea = 400;
int AveFltrNum = 1;
double DstFltrAng = 15.0;
double DstFltrLen = 100.0;

const int VecSclTbl[VecSclNum] = {500,   1000,   5000,   10000,   15000,   25000,
                                  50000, 200000, 300000, 500000, 1000000, 3000000};
const char* const VecSclTxt[VecSclNum] = {"1/500",   "1/1000",  "1/5千",   "1/1万",
                                          "1/1万5千", "1/2万5千", "1/5万",   "1/20万",
                                          "1/30万",  "1/50万",  "1/100万", "1/300万"};

// Milliseconds between message pumps while tracing: often enough for the close button.
constexpr int VecPumpMs = 30;

void IniVec() {
    IniVecImg();
    VecDpi = VecDpiDef;
    VecMapScl = VecMapSclDef;
    VecSlctCrv = 0;
    // VecCentre is a profile setting, read before the system starts: it keeps its value.
    VecOrgOn = 0;
    VecOrg[0] = VecOrg[1] = 0;
    OutLinMinArea = 400;
    AveFltrNum = 1;
    DstFltrAng = 15.0;
    DstFltrLen = 100.0;
}

VecPrm CurVecPrm() {
    VecPrm p;
    p.thr = VecThr;
    p.dpi = VecDpi;
    p.scl = VecMapScl;
    p.minArea = OutLinMinArea;
    p.aveNum = AveFltrNum;
    p.dstAng = DstFltrAng;
    p.dstLen = DstFltrLen;
    p.scrWid = ViewWin[0].v.ScrWid;
    p.pumpMs = VecPumpMs;
    p.slctAll = VecSlctCrv != 0;
    p.centre = VecCentre != 0;
    p.orgOn = VecOrgOn != 0;
    p.org[0] = VecOrg[0];
    p.org[1] = VecOrg[1];
    p.fb = FbWnd;
    return p;
}

int OutLin() {
    if (!VecImg.pix) {
        DspErrMsg(MsgOwnErr, "画像が読み込まれていません。");
        return -1;
    }
    // The image must not change under the trace: the window disables its loading meanwhile.
    const VecSrc src{VecImg.pix, VecImg.w, VecImg.h, VecImg.stride};
    return TrcVec(src, CurVecPrm());
}

int VecTrcCmd() {
    // Nothing can be undone across a trace, whatever the undo switch says.
    ClrUndo();
    const int r = OutLin();
    // The region dialog then starts from the traced curves, not the start-up square.
    if (VecMadeCrv > 0) RgnFromCrv(true);
    if (VecImg.pix) {
        // The window stays modal over the main view: say what was made.
        char t[MsgLinLen];
        std::snprintf(t, sizeof t,
                      MsgTx("%d 本のカーブ (%lld 点) を作成しました。", "%d curves with %lld points traced."),
                      VecMadeCrv, VecMadePnt);
        PutMsg(t);
    }
    return r;
}
