// Settings record, start-up state of the core, document parameters, spill-file names and date.
#include "core/state.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include "core/alc.h"
#include "core/mode.h"
#include "core/msg.h"

SetRec SetEdt{};
SetRec SetSto{};
SetRec SetWrk{};
int PickAp = 5;
double CnctDst = 10.0;
uint8_t WinOpn[6] = {};
DocPrmRec DocPrm{};
char TmpFbuf[64] = "";
char TmpTbuf[64] = "";
uint8_t DateByt[3] = {0, 1, 1};
int DbgLvl = 0;
int ScrPixW = 1024, ScrPixH = 768;

namespace {

constexpr double ThrOfs = 0.001;  // the working thresholds sit just below the typed values
constexpr double Pi = 3.14159265358979323846;

double DegToRad(double d) { return d / 180.0 * Pi; }
double RadToDeg(double r) { return r / Pi * 180.0; }

// Working copy from an edit or stored copy.
void ToWork(const SetRec& src) {
    SetWrk = src;
    for (int i = 0; i < 3; ++i) SetWrk.thr[i] = std::atof(src.thrTxt[i]) - ThrOfs;
    for (int i = 0; i < 2; ++i) SetWrk.ang[i] = DegToRad(src.ang[i]);
    for (int i = 0; i < 4; ++i) SetWrk.cntR[i] = src.cnt[i];
    PickAp = SetWrk.pickAp;
    CnctDst = SetWrk.cnctDst;
}

// Renderer state of the session (no renderer runs in this application).
struct RndrStRec {
    uint8_t run;     // a rendering is running
    uint8_t ready;   // initialised
    int aaLvl;       // anti-aliasing level
    int rayDepth;    // ray-tracing depth
    int frmCnt;      // animation frames
    int txtRes;      // texture resolution
} RndrSt{};

void FreeDocBgImg() {
    for (int i = 0; i < DocPrm.nBgImg; ++i) FreeMem(DocPrm.bgImg[i].name);
    FreeMem(DocPrm.bgImg);
    DocPrm.bgImg = nullptr;
    DocPrm.nBgImg = 0;
}

}  // namespace

void SetPrmDef() {
    static const int siz[4][2] = {{850, 680}, {1280, 1024}, {1150, 920}, {640, 480}};
    static const char* thr[3] = {"5.0", "1.0", "0.01"};
    static const char* font[5] = {"*-helvetica-bold-r-*-14-*", "*-helvetica-bold-r-*-14-*",
                                  "*-helvetica-bold-r-*-14-*", "*-times-bold-i-*-20-*",
                                  "*-courier-bold-r-*-14-*"};
    SetRec& e = SetEdt;
    e = SetRec{};
    e.pickAp = 5;
    e.cnctDst = 10.0;
    std::memcpy(e.winSiz, siz, sizeof siz);
    for (int i = 0; i < 3; ++i) {
        std::snprintf(e.thrTxt[i], sizeof e.thrTxt[i], "%s", thr[i]);
        e.thr[i] = std::atof(thr[i]);
    }
    for (int i = 0; i < 5; ++i) std::snprintf(e.font[i], sizeof e.font[i], "%s", font[i]);
    e.ang[0] = 45.0;
    e.ang[1] = 30.0;
    e.cnt[0] = 4;
    e.cnt[1] = 1;
    e.cnt[2] = 0;
    e.cnt[3] = 0;
    for (int i = 0; i < 4; ++i) e.cntR[i] = 0;
}

void StoPrm() { SetSto = SetEdt; }

void AplPrm() { ToWork(SetEdt); }

void SavPrm() {
    SetSto = SetWrk;
    for (int i = 0; i < 3; ++i) {
        SetSto.thr[i] = SetWrk.thr[i] + ThrOfs;
        std::snprintf(SetSto.thrTxt[i], sizeof SetSto.thrTxt[i], "%g", SetSto.thr[i]);
    }
    for (int i = 0; i < 2; ++i) SetSto.ang[i] = RadToDeg(SetWrk.ang[i]);
    for (int i = 0; i < 4; ++i) {
        SetSto.cnt[i] = static_cast<int>(SetWrk.cntR[i] + 0.005);
        SetSto.cntR[i] = 0;
    }
    SetSto.pickAp = PickAp;
    SetSto.cnctDst = CnctDst;
}

void IniState() {
    // 1. run flags and the last error
    RunFlg = 0;
    RndrSt.run = 0;
    LastErrId = 0;
    // 2. working settings from the stored copy
    ToWork(SetSto);
    // 3. interaction defaults
    for (uint8_t& f : WinOpn) f = 0;
    BaseMode = ModeIdle;
    BtnHeld = 0;
    TmrAct = TmrNone;
    RptCat = -1;
    RptCode = -1;
    // 6. renderer: nothing to start in this application
    RndrSt.ready = 1;
    // 7. renderer, animation and texture defaults
    RndrSt.aaLvl = 1;
    RndrSt.rayDepth = 4;
    RndrSt.frmCnt = 30;
    RndrSt.txtRes = 256;
    RstDocPrm();
}

void RstDocPrm() {
    FreeDocBgImg();
    DocPrmRec& d = DocPrm;
    d = DocPrmRec{};
    d.fogDns = 1.0f;
    d.fogBgn = 0.0f;
    d.fogEnd = 15000.0f;
    for (float& c : d.fogCol) c = 1.0f;
    d.dspFct[0] = d.dspFct[1] = 1.0;
    static const int32_t prm2[6] = {13, 0, 6, 0, 6, 15};
    std::memcpy(d.rndPrm2, prm2, sizeof prm2);
    for (int i = 0; i < 3; ++i) {
        d.grdCol1[i] = 0;
        d.grdCol2[i] = 255;
    }
}

void EndState() {
    FreeDocBgImg();
    std::remove(TmpFbuf);
    std::remove(TmpTbuf);
}

void MkTmpNamAt(int hour, int minute, int second, int year, int month, int day) {
    std::snprintf(TmpFbuf, sizeof TmpFbuf, "Pixalune.%d%d%d.Fbuf", hour, minute, second);
    std::snprintf(TmpTbuf, sizeof TmpTbuf, "Pixalune.%d%d%d.Tbuf", hour, minute, second);
    DateByt[0] = static_cast<uint8_t>(year - 1900);
    DateByt[1] = static_cast<uint8_t>(month);
    DateByt[2] = static_cast<uint8_t>(day);
}

void MkTmpNam() {
    std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    MkTmpNamAt(lt.tm_hour, lt.tm_min, lt.tm_sec, lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday);
}
