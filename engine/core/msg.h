// Numbered messages, the message area and the notifications to the main frame.
#pragma once
#include <cstdint>

extern uint8_t MsgLang;  // 0 Japanese, 1 English
// A text of the engine's own in the message language: the one way the engine picks its words
// (numbered messages take theirs from the catalogue; the shell reads a few older texts through
// MsgEn, core/msg_en.h).
const char* MsgTx(const char* ja, const char* en);
extern int LastErrId;

// Id of the message box being shown, for platforms that report it (the batch runner prints it);
// 0 while no numbered message is on screen (a box with its own text).
extern int MsgBoxId;

// Ids of the catalogue the engine shows by name; the number is the id a box reports.
constexpr int MsgOwnInf = 1;     // information with its own text
constexpr int MsgNoMem = 100;    // "メモリが確保できませんでした。\n"
constexpr int MsgFilOpn = 110;   // "%s ファイルが開けませんでした。"
constexpr int MsgFilWrt = 111;   // "%s ファイルの書き込み中にエラーが発生しました。"
constexpr int MsgFilRd = 112;    // "%s ファイルの読み込み中にエラーが発生しました。"
constexpr int MsgSrfErr = 127;   // "サーフェイスが異常です。\n%s"
constexpr int MsgOwnErr = 199;   // error with its own text
constexpr int MsgNoRndrImg = 205;  // "レンダリングイメージが存在しません。"
constexpr int MsgOwnWrn = 297;   // warning with its own text
constexpr int MsgOwnCnf = 398;   // confirmation with its own text
constexpr int MsgQuit = 399;     // "終了してよろしいですか？"

int DspInfMsg(int id, const char* text);
int DspErrMsg(int id, const char* text);
int DspWrnMsg(int id, const char* text);
int DspCnfMsg(int id, const char* text);

// Message-area lines.
constexpr int MsgLinMax = 20;
constexpr int MsgLinLen = 100;
extern char MsgLin[MsgLinMax][MsgLinLen];
extern int MsgLinNum;
extern char MsgTtl[MsgLinLen];
void PutMsg(const char* text);
// As PutMsg, for a line the window only logs: its message log does not open for it (notification
// ID_UPDT_MSG with wparam MsgQuiet).
constexpr long MsgQuiet = 1;
void PutNote(const char* text);
void SetMsgTtl(const char* text);
void ClrMsg();
void SetMsgLin(int i, const char* text);

void PrgBgn();
void PrgSet(int percent);
void PrgEnd();

// Notification ids (window commands of the shell).
enum NotifyId {
    ID_UPDT_MSG = 32771,
    ID_UPDT_RNDR = 32772,
    ID_PRG_CRE = 32773,
    ID_PRG_DSP = 32774,
    ID_PRG_DEL = 32775,
    ID_UPDT_IMG_WDW_PRM = 32776,
    ID_UPDT_OBJ_TREE = 32777,
    ID_DSP_SRF_MEN = 32778,
    ID_UPDT_ANM_FRM = 32779,
    ID_UPDT_TRN_PROP = 32780,
    ID_UPDT_TXT_VTX = 32781,
    ID_UPDT_LGT_PROP = 32782,
    ID_UPDT_MTL_PROP = 32783,
    ID_UPDT_CAM_PROP = 32784,
    ID_UPDT_VIEW = 32785,
    ID_UPDT_ENV_PROP = 32786,
    ID_DSP_SCL_DST_MEN = 32853,
};
void Notify(int id, long wparam);

// Console line (printf style) through the platform.
void ConPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
