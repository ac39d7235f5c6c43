// Category 14: file commands. The file name is the engine's file-name buffer (FilNam).
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include "core/cmd.h"
#include "core/filext.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "doc/doc.h"
#include "doc/filecmd.h"
#include "formats/stl.h"
#include "doc/xchg_flow.h"
#include "doc/filnam.h"
#include "formats/scn.h"
#include "scene/scene.h"
#include "cmd/crv_cmds.h"

namespace {

// Appends ext (".scn") when the name lacks it; false when the buffer has no room (error 110 shown).
bool AddExt(const char* lower) {
    if (HasExt(FilNam, lower + 1)) return true;
    size_t n = std::strlen(FilNam), k = std::strlen(lower);
    if (n + k >= size_t(FilNamLen)) {
        DspErrMsg(MsgFilOpn, FilBase(FilNam).c_str());
        return false;
    }
    std::memcpy(FilNam + n, lower, k + 1);
    return true;
}

// Runs op with the wait cursor when the file opens for reading; error 110 otherwise.
int RdSeq(int op) {
    FILE* f = std::fopen(FilNam, "rb");
    struct stat st;
    if (f && fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        f = nullptr;
    }
    if (!f) {
        DspErrMsg(MsgFilOpn, FilBase(FilNam).c_str());
        return 0;
    }
    std::fclose(f);
    const int keep = CrsIdx;
    SetCrs(CrsWait);
    DstrCmd(CatFile, op);
    SetCrs(keep);
    return 0;
}

// 210000: read a document; a document that cannot be used gives the new-document scene.
int RdScnOp() {
    struct stat st;
    if (stat(FilNam, &st) != 0) {
        ScnRdSt = ScnRdNoFile;
        return 0;
    }
    ScnNamLoss = false;
    RdScn(FilNam);
    const std::string base = FilBase(FilNam);
    switch (ScnRdSt) {
    case ScnRdOk:
    case ScnRdNoFile:
        break;
    case ScnRdBadVersion:
        DspErrMsg(MsgOwnErr, (base + " は読み込めない版のシーンファイルです。").c_str());
        DocIniScn();
        break;
    case ScnRdDamaged:
        DspErrMsg(MsgOwnErr, (base + " ファイルが壊れているため読み込めませんでした。\n新しい文書を開きます。").c_str());
        DocIniScn();
        break;
    case ScnRdBadMagic:
    case ScnRdNoMem:
        DocIniScn();
        break;
    }
    if (ScnRdSt == ScnRdOk && ScnNamLoss)
        DspWrnMsg(MsgOwnWrn, "変換できない文字を含む名前があったため、読める文字に置き換えました。");
    Redraw();
    Notify(ID_UPDT_MSG, 0);
    Notify(ID_UPDT_VIEW, -1);
    Notify(ID_UPDT_OBJ_TREE, 0);
    return 0;
}

// 210001: write the document; the modified flag is cleared only by a save that succeeded.
int WrScnOp() {
    ScnNamLoss = false;
    ScnWrSt = -1;
    std::string err;
    if (WrScn(FilNam, &err) != 0) {
        std::string t = std::string(FilNam) + " に保存できませんでした。\n" + err;
        struct stat st;
        if (stat(FilNam, &st) == 0) t += "\n元のファイルは変更されていません。";
        DspErrMsg(MsgOwnErr, t.c_str());
        return -1;
    }
    ModFlg = 0;
    ScnWrSt = 0;
    if (ScnNamLoss)
        DspWrnMsg(MsgOwnWrn, "シフトJISにない文字を含む名前は、その文字を「?」にして保存しました。");
    return 0;
}

}  // namespace

std::string FilBase(const char* path) {
    const char* s = std::strrchr(path, '/');
    const char* b = std::strrchr(path, '\\');
    if (b && (!s || b > s)) s = b;
    return s ? s + 1 : path;
}

int IntrFile(int code) {
    switch (code) {
    case CmdFileOpen:
        if (HasExt(FilNam, "scn")) IntrCmd(CatFile, CmdFileRdScn);
        else if (HasExt(FilNam, "dfa")) IntrCmd(CatFile, CmdFileRdDfa);
        else if (HasExt(FilNam, "stl")) IntrCmd(CatFile, CmdFileRdStl);
        else if (HasExt(FilNam, "3ds")) IntrCmd(CatFile, CmdFileRd3ds);
        return 0;
    case CmdFileSave:
        if (HasExt(FilNam, "scn")) IntrCmd(CatFile, CmdFileWrScn);
        return 0;
    case CmdFileRdScn:
        if (!AddExt(".scn")) return 0;
        return RdSeq(OpFileRdScn);
    case CmdFileWrScn: {
        if (!AddExt(".scn")) return 0;
        const int keep = CrsIdx;
        SetCrs(CrsWait);
        DstrCmd(CatFile, OpFileWrScn);
        SetCrs(keep);
        return 0;
    }
    case CmdFileRdBgImg:
        return RdSeq(OpFileRdBgImg);
    case CmdFileWrImg: {
        static const char* exts[] = {"img", "xwd", "rla", "tif", "tiff", "bmp", "jpg", "yuv"};
        bool has = false;
        for (const char* e : exts) has = has || HasExt(FilNam, e);
        if (!has && !AddExt(".xwd")) return 0;
        const int keep = CrsIdx;
        SetCrs(CrsWait);
        DstrCmd(CatFile, OpFileWrImg);
        SetCrs(keep);
        return 0;
    }
    case CmdFileRdStl:
        if (!AddExt(".stl")) return 0;
        return RdSeq(OpFileRdStl);
    case CmdFileRd3ds:
        if (!AddExt(".3ds")) return 0;
        return RdSeq(OpFileRd3ds);
    case CmdFileRdDfa:
        if (!AddExt(".dfa")) return 0;
        return RdSeq(OpFileRdDfa);
    default:
        CmdNotFound("IntrFile", code);
        return 0;
    }
}

int DstrFile(int code) {
    switch (code) {
    case OpFileRdScn:
        return RdScnOp();
    case OpFileWrScn:
        return WrScnOp();
    case OpFileRdBgImg:
        // No background-image reader in this application.
        DspErrMsg(MsgFilRd, FilBase(FilNam).c_str());
        return -1;
    case OpFileWrImg:
        // Nothing is rendered in this application.
        DspWrnMsg(MsgNoRndrImg, nullptr);
        return -1;
    case OpFileRdStl:
        if (RdStl(FilNam) == 0) UdtScnBox();
        Redraw();
        return 0;
    case OpFileRd3ds:
        DspErrMsg(MsgOwnErr, (FilBase(FilNam) + ": 3DS ファイルには対応していません。").c_str());
        Redraw();
        return 0;
    case OpFileRdDfa:
        DspErrMsg(MsgOwnErr, (FilBase(FilNam) + ": DFA ファイルには対応していません。").c_str());
        Redraw();
        return 0;
    default:
        CmdNotFound("DstrFile", code);
        return 0;
    }
}
