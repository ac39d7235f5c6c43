// The trace command and the settings of the auto-vectorize window.
#include "core/msg.h"
#include "curves/crv.h"
#include "display/view.h"
#include "image/vecimg.h"
#include "vectorize/vec.h"

double VecDpi = VecDpiDef;
double VecMapScl = VecMapSclDef;
uint8_t VecSlctCrv = 0;
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
    return p;
}

int OutLin() {
    if (!VecImg.pix) {
        DspErrMsg(199, "画像が読み込まれていません。");
        return -1;
    }
    // The image must not change under the trace: the window disables its loading meanwhile.
    const VecSrc src{VecImg.pix, VecImg.w, VecImg.h, VecImg.stride};
    return TrcVec(src, CurVecPrm());
}

int VecTrcCmd() {
    // Nothing can be undone across a trace, whatever the undo switch says.
    ClrUndo();
    return OutLin();
}
