// Numbered messages in two languages, the message-area lines, progress and notifications.
#include "core/msg.h"
#include "core/msg_why.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include "core/alc.h"
#include "core/cmd.h"
#include "platform/platform.h"

uint8_t MsgLang = 0;

const char* MsgTx(const char* ja, const char* en) { return MsgLang == 1 ? en : ja; }
int LastErrId = 0;
int MsgBoxId = 0;

char MsgLin[MsgLinMax][MsgLinLen];
int MsgLinNum = 0;
char MsgTtl[MsgLinLen];

namespace {

struct MsgEnt {
    int id;
    const char* ja;
    const char* en;
};

// Catalogue of every kind; the kind of an id is its hundred (1 is information).
const MsgEnt MsgTbl[] = {
    {1, "%s", "%s"},
    {100, "メモリが確保できませんでした。\n", "Memory allocation failed.\n%s"},
    {110, "%s ファイルが開けませんでした。", "%s file open failed."},
    {111, "%s ファイルの書き込み中にエラーが発生しました。", "%s file write failed."},
    {112, "%s ファイルの読み込み中にエラーが発生しました。", "%s file read failed."},
    {113, "テクスチャーファイルは次のディレクトリになければいけません。\n[%s]", "Texture file must be in\n[%s]"},
    {120, "値が異常です。", "Invalid value."},
    {121, "移動するポイントの数が多すぎます。", "Move point number exceed."},
    {122, "イメージの作成ができませんでした。", "Image creation failed."},
    {123, "ファイルの数が200を越えています。", "File number exceed 200."},
    {124, "%s パイプが開けませんでした。", "%s pipe open failed."},
    {125, "パイプの書き込み中にエラーが発生しました。", "pipe write failed."},
    {126, "セグメント当たりの分割数が50を越えました。", "cut number/seg exceed 50"},
    {127, "サーフェイスが異常です。\n%s", "Invalid surface.\n%s"},
    {128, "マトリックスが異常です。\n%s", "Invalid matrix.\n%s"},
    {130, "VTR port [%s] open failed.\nCheck port settings.", "VTR port [%s] open failed.\nCheck port settings."},
    {131, "VTR control failed.\nCheck REMOTE/LOCAL switch.", "VTR control failed.\nCheck REMOTE/LOCAL switch."},
    {132, "VTR record failed.\nCheck TIME CODE.", "VTR record failed.\nCheck TIME CODE."},
    {133, "VTR [%s] is not supported.", "VTR [%s] is not supported."},
    {135, "Video daemon open failed.", "Video daemon open failed."},
    {136, "Video output failed.", "Video output failed."},
    {190, "エラーが発生しました。\nデータを保存して再起動してください。", "System error(Illegal instruction)."},
    {191, "エラーが発生しました。\nデータを保存して再起動してください。", "System error(Floating exception)."},
    {192, "エラーが発生しました。\nデータを保存して再起動してください。", "System error(Bus error)."},
    {193, "エラーが発生しました。\nデータを保存して再起動してください。", "System error(Segmentation violation)."},
    {199, "%s", "%s"},
    {200, "お待ちください。", "Wait."},
    {201, "オブジェクトが存在しません。", "Object not exist."},
    {202, "サーフェイスが存在しません。", "Surface not exist."},
    {203, "二次元のオブジェクトが存在しません。", "2D object not exist."},
    {204, "二次元のパスが存在しません。", "2D curve not exist."},
    {205, "レンダリングイメージが存在しません。", "Rendering image not exist."},
    {206, "アニメーションデータが存在しません。", "Animation not exist."},
    {207, "イメージウィンドウが開いていません。", "Image window is not available."},
    {210, "出力ファイル名が指定されていません。", "Output file name is null."},
    {211, "イメージのサイズが異常です。\nもう一度ファイル名を設定してください。", "Invalid image size.\nPush YUV button again."},
    {212, "既に周囲光が存在します。", "Ambient light must be one."},
    {213, "いくつかのパッチはカットできませんでした。\nモデリング・スイッチのポリゴンをオンにして\n再実行してください。", "some patch cut failed"},
    {214, "イメージのサイズが異常です。\nPush VTR button again.", "Invalid image size.\nPush VTR button again."},
    {220, "ポイントを入力できません。\n(%s)", "Can't input point.\n(%s)"},
    {221, "これ以上ポイントの選択はできません。\n", "Can't select point any more.\n"},
    {222, "%sパスを選択してください。\n", "Select %s curv.\n"},
    {223, "%sパスをピックしてください。\n", "Pick %s curv.\n"},
    {224, "サーフェイスを作ることができません。\n(%s)", "Can't create surface.\n(%s)"},
    {225, "オブジェクトは既に存在します。\n(%s)", "Object is already existing.\n(%s)"},
    {226, "オブジェクト%sできません。", "Can't %s object."},
    {227, "%sをピックしてください。", "Pick %s."},
    {228, "%sを選んでください。", "Select %s."},
    {229, "アンドウできません。\n(%s)", "Can't undo.\n(%s)"},
    {230, "リドウできません。\n(%s)", "Can't redo.\n(%s)"},
    {297, "%s", "%s"},
    {300, "%sはすでに存在します。\n置き換えてよろしいですか？", "%s file exist. Overwrite ok ?"},
    {301, "レンダリングイメージは削除されます。よろしいですか？", "Rendering image will be lossed. Ok ?"},
    {391, "中断してよろしいですか？", "Interrupted. Abort ok ?"},
    {398, "%s", "%s"},
    {399, "終了してよろしいですか？", "Really Quit ?"},
};

const MsgEnt* FindMsg(int id) {
    for (const MsgEnt& e : MsgTbl)
        if (e.id == id) return &e;
    return nullptr;
}

// Length of the longest prefix of s, at most max bytes, that does not end inside a UTF-8 sequence.
size_t Utf8Cut(const char* s, size_t max) {
    size_t n = std::strlen(s);
    if (n <= max) return n;
    n = max;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return n;
}

// Formats a catalogue entry into at most MsgBufLen - 1 bytes. The text argument is cut to
// fit so that the entry's own text (a closing bracket, say) stays whole.
constexpr size_t MsgBufLen = 256;
std::string FmtMsg(const char* fmt, const char* text) {
    const char* arg = text ? text : "";
    std::string out;
    const char* p = std::strstr(fmt, "%s");
    if (!p) {
        out = fmt;
    } else {
        size_t fixed = std::strlen(fmt) - 2;
        size_t room = fixed < MsgBufLen - 1 ? MsgBufLen - 1 - fixed : 0;
        out.assign(fmt, p - fmt);
        out.append(arg, Utf8Cut(arg, room));
        out.append(p + 2);
    }
    if (out.size() > MsgBufLen - 1) out.resize(Utf8Cut(out.c_str(), MsgBufLen - 1));
    return out;
}

// Common path of the four operations; the kind indexes the tables below.
enum MsgKind : int { MsgInf = 0, MsgErr = 1, MsgWrn = 2, MsgCnf = 3 };

int ShowMsg(int kind, int id, const char* text, const char* more = nullptr) {
    static const int first[4] = {1, 100, 200, 300};
    static const char* capJa[4] = {"情報", "エラー", "注意", "注意"};
    static const char* capEn[4] = {"Information", "Error", "Warning", "Warning"};
    static const int icon[4] = {plt::IconInfo, plt::IconError, plt::IconWarning, plt::IconWarning};
    if (MsgLang > 1) return MsgLang;
    const MsgEnt* e = nullptr;
    int rel = id - first[kind];
    if (rel >= 0 && rel <= 99) e = FindMsg(id);
    if (!e) {
        if (kind == MsgWrn)
            ConPrintf("message %d not found\n", id);
        else
            ConPrintf("message %d not found.\n", id);
        return -1;
    }
    std::string s = FmtMsg(MsgTx(e->ja, e->en), text);
    if (more && *more) s += std::string("\n") + more;
    const char* cap = MsgTx(capJa[kind], capEn[kind]);
    int btn = kind == MsgCnf ? plt::BtnYesNo : plt::BtnOk;
    int prev = MsgBoxId;
    MsgBoxId = id;
    int ans;
    {
        GuardBarrier gb;
        ans = plt::Get()->MsgBox(s.c_str(), cap, btn, icon[kind]);
    }
    MsgBoxId = prev;
    if (kind == MsgCnf && ans == plt::AnsYes) IntrCmd(CatSys, CmdRunPnd);
    return ans;
}

// Copies at most MsgLinLen - 1 bytes, never ending inside a UTF-8 sequence.
void CpyLin(char* dst, const char* src, size_t len) {
    if (len > MsgLinLen - 1) {
        std::string tmp(src, len);
        len = Utf8Cut(tmp.c_str(), MsgLinLen - 1);
    }
    std::memcpy(dst, src, len);
    dst[len] = '\0';
}

int PrgLast = -999;

}  // namespace

int DspInfMsg(int id, const char* text) { return ShowMsg(MsgInf, id, text); }
int DspErrMsg(int id, const char* text) {
    LastErrId = id;
    return ShowMsg(MsgErr, id, text);
}
int DspErrMsgWhy(int id, const char* text, const char* why) {
    LastErrId = id;
    return ShowMsg(MsgErr, id, text, why);
}
int DspWrnMsg(int id, const char* text) { return ShowMsg(MsgWrn, id, text); }
int DspCnfMsg(int id, const char* text) { return ShowMsg(MsgCnf, id, text); }

namespace {
void SetMsgText(const char* text) {
    MsgLinNum = 0;
    if (text) {
        const char* b = text;
        for (const char* p = text;; ++p) {
            if (*p == '\n' || *p == '\0') {
                bool last = *p == '\0';
                if ((!last || p > b) && MsgLinNum < MsgLinMax) CpyLin(MsgLin[MsgLinNum++], b, p - b);
                if (last) break;
                b = p + 1;
            }
        }
    }
}
}  // namespace

void PutMsg(const char* text) {
    SetMsgText(text);
    Notify(ID_UPDT_MSG, 0);
}

void PutNote(const char* text) {
    SetMsgText(text);
    Notify(ID_UPDT_MSG, MsgQuiet);
}

void SetMsgTtl(const char* text) {
    const char* t = text ? text : "";
    CpyLin(MsgTtl, t, std::strlen(t));
    Notify(ID_UPDT_MSG, 0);
}

void ClrMsg() { MsgLinNum = 0; }

void SetMsgLin(int i, const char* text) {
    if (i < 0 || i >= MsgLinMax) return;
    const char* t = text ? text : "";
    CpyLin(MsgLin[i], t, std::strlen(t));
}

void PrgBgn() {
    Notify(ID_PRG_CRE, -1);
    PrgLast = -1;
}

void PrgSet(int percent) {
    // The bar's range is 0..100: steps beyond it would only pile up in the shell.
    if (percent > 100) percent = 100;
    if (PrgLast < -1 || percent <= PrgLast) return;  // no bar, or no progress
    for (int i = PrgLast; i < percent; ++i) Notify(ID_PRG_DSP, -1);
    PrgLast = percent;
}

void PrgEnd() {
    Notify(ID_PRG_DEL, -1);
    PrgLast = -999;
}

void Notify(int id, long wparam) { plt::Get()->Notify(id, wparam); }

void ConPrintf(const char* fmt, ...) {
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    if (n >= static_cast<int>(sizeof buf)) {
        std::string big(static_cast<size_t>(n) + 1, '\0');
        std::vsnprintf(big.data(), big.size(), fmt, ap2);
        va_end(ap2);
        plt::Get()->Console(big.c_str());
        return;
    }
    va_end(ap2);
    plt::Get()->Console(n < 0 ? "" : buf);
}
