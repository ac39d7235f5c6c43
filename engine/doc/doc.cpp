// The document's state and its file flows.
#include "doc/doc.h"
#include "gis/gis.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include "core/cmd.h"
#include "core/alc.h"
#include "core/filext.h"
#include "core/mode.h"
#include "core/msg.h"
#include "core/state.h"
#include "curves/crv.h"
#include "doc/filecmd.h"
#include "doc/filnam.h"
#include "doc/recover.h"
#include "doc/xchg_flow.h"
#include "formats/scn.h"
#include "display/lgt.h"
#include "display/view.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"

DocState Doc{std::string(), std::string("無題")};
void (*DocTitleHook)() = nullptr;

namespace {

const char* const Untitled = "無題";

void SetTitle(const std::string& path) { DocSetTitle(path, path); }

bool Readable(const std::string& p) {
    struct stat st;
    if (stat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool SetFilNam(const std::string& p) {
    if (p.size() >= size_t(FilNamLen)) {
        DspErrMsg(MsgFilOpn, FilBase(p.c_str()).c_str());
        return false;
    }
    std::memcpy(FilNam, p.c_str(), p.size() + 1);
    return true;
}

// A box of the document's own (no catalogue id).
int AskBox(const std::string& text, const char* caption, int buttons) {
    int prev = MsgBoxId;
    MsgBoxId = 0;
    int ans;
    {
        GuardBarrier gb;
        ans = plt::Get()->MsgBox(text.c_str(), caption, buttons, plt::IconWarning);
    }
    MsgBoxId = prev;
    return ans;
}

// Reads a scene file through the engine commands into a freshly reset scene.
int ReadInto(const std::string& p) {
    if (!SetFilNam(p)) return DocFailed;
    const int keep = CrsIdx;
    SetCrs(CrsWait);
    DocRstScn();
    SetTitle("");
    ModFlg = 0;
    IntrCmd(CatFile, CmdFileOpen);
    DocBindTrn();
    SetCrs(keep);
    if (ScnRdSt != ScnRdOk || !TrnPrd) {
        // The read left the new-document scene (or nothing usable): make sure of it.
        if (!TrnPrd || !CurCamObj) DocIniScn();
        return DocFailed;
    }
    GisLoadSide(p.c_str());  // origin and CRS of a document in real-world coordinates
    SetTitle(p);
    char w[96];
    const int n = CrvPart ? CrvPart->crvs.n : 0;
    if (TrnSrf && TrnGrd)
        std::snprintf(w, sizeof w, MsgTx("等高線 %d 本, 地形 %d x %d 点", "%d contours, terrain %d x %d posts"),
                      n, TrnGrd->cols, TrnGrd->rows);
    else
        std::snprintf(w, sizeof w, MsgTx("等高線 %d 本", "%d contours"), n);
    ImpNote("シーン", "Scene", p, w, RgnUnit);
    return DocDone;
}

}  // namespace

void DocRstScn() {
    ClrUndo();
    SetCrvPart(nullptr);
    ClrScn();
    TrnPrd = nullptr;
    TrnPrt = nullptr;
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    RstDocPrm();
    RstAnmOut();
    GisClear();  // a new scene is in local coordinates until an import or a read says otherwise
}

void DocBindTrn() {
    TrnPrd = nullptr;
    TrnPrt = nullptr;
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    if (PrdTbl.n > 0) {
        TrnPrd = PrdTbl.a[0];
        if (TrnPrd->prts.n > 0) {
            TrnPrt = TrnPrd->prts.a[0];
            if (TrnPrt->srfs.n > 0) {
                srf* s = TrnPrt->srfs.a[0];
                if (s->name && std::string(s->name) == "地形") {
                    TrnSrf = s;
                    TrnGrd = s->pgns.n > 0 ? s->pgns.a[0] : nullptr;
                    // Only a whole grid is a terrain the terrain commands can work on.
                    if (TrnGrd && (TrnGrd->type != PgnGrd || TrnGrd->rows < 1 || TrnGrd->cols < 1 ||
                                   TrnGrd->n != int(TrnGrd->rows) * int(TrnGrd->cols))) {
                        TrnSrf = nullptr;
                        TrnGrd = nullptr;
                    }
                }
            }
        }
    }
    SetCrvPart(TrnPrt);
}

void DocSetMod(bool modified) { ModFlg = modified ? 1 : 0; }

void DocIniScn() {
    DocRstScn();
    IniScn();
    IniTrnScn();
    ModFlg = 0;
}

void DocSetTitle(const std::string& path, const std::string& title) {
    Doc.path = path;
    Doc.title = title.empty() ? Untitled : title;
    if (DocTitleHook) DocTitleHook();
}

void DocFresh(const std::string& title) {
    DocIniScn();
    DocSetTitle("", title);
}

int DocNew() {
    DocFresh("");
    Redraw();
    return DocDone;
}

int DocOpen(const std::string& path) {
    std::string p = path;
    if (FileExt(p).empty()) p += ".scn";
    if (!Readable(p)) {
        DspErrMsg(MsgFilOpn, FilBase(p.c_str()).c_str());
        return DocFailed;
    }
    if (!HasExt(p, "scn")) {
        // Other formats open into the new-document scene through the engine's open by extension.
        if (!SetFilNam(p)) return DocFailed;
        DocFresh("");
        IntrCmd(CatFile, CmdFileOpen);
        return DocDone;
    }
    return ReadInto(p);
}

int DocRecover(const std::string& scnPath, const RcvMeta& m) {
    if (!Readable(scnPath)) {
        DspErrMsg(MsgFilOpn, FilBase(scnPath.c_str()).c_str());
        return DocFailed;
    }
    if (ReadInto(scnPath) != DocDone || ScnRdSt != ScnRdOk) return DocFailed;
    if (!m.path.empty()) GisLoadSide(m.path.c_str());  // the document's own side file
    for (int i = 0; i < 6; ++i) TrnRgn[i] = m.rgn[i];
    if (m.itv > 0) MshItv = m.itv;
    SetTitle(m.path);
    DocSetMod(m.modified);
    return DocDone;
}

int DocOpenArg(const std::string& path) {
    if (!HasExt(path, "scn")) return DocDone;
    if (!Readable(path)) {
        DspErrMsg(MsgFilOpn, FilBase(path.c_str()).c_str());
        return DocFailed;
    }
    return ReadInto(path);
}

int DocWrite(const std::string& path) {
    if (!SetFilNam(path)) return DocFailed;
    ScnWrSt = -1;
    IntrCmd(CatFile, CmdFileSave);
    if (ScnWrSt != 0) return DocFailed;  // the write said why; the changes are still unsaved
    if (!GisSaveSide(path.c_str())) {
        // The side file said why. An older one would give the new scene a false origin: it goes,
        // and the document stays unsaved, so that the user saves it again where the side file fits.
        std::remove((path + GisSideExt).c_str());
        DocSetMod(true);
        return DocFailed;
    }
    SetTitle(path);
    return DocDone;
}

int DocSave() {
    if (Doc.path.empty() || !HasExt(Doc.path, "scn")) return DocNeedName;
    // The file is the document's own: replacing it is what Save means, so nothing is asked.
    const int keep = CrsIdx;
    SetCrs(CrsWait);
    int r = DocWrite(Doc.path);
    SetCrs(keep);
    return r;
}

int DocSaveAs(const std::string& path) {
    std::string p = path;
    if (!HasExt(p, "scn")) p += ".scn";
    const int keep = CrsIdx;
    SetCrs(CrsWait);
    int r = DocWrite(p);
    SetCrs(keep);
    return r;
}

std::string DocScnName() {
    if (!Doc.path.empty() || Doc.title.empty() || Doc.title == Untitled) return std::string();
    // The imported file's name with .scn in place of its extension.
    std::string n = Doc.title;
    const size_t slash = n.find_last_of("/\\"), dot = n.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) n.resize(dot);
    return n + ".scn";
}

int DocAskSave() {
    if (!ModFlg) return DocDone;
    // After an import the title names the source: the question offers a scene file instead, so
    // that it does not read as writing over the drawing.
    const std::string scn = DocScnName();
    std::string q = scn.empty() ? Doc.title + " への変更を保存しますか？"
                                : Doc.title + " から読み込んだ内容はまだ保存されていません。\nシーン " + scn +
                                      " として保存しますか？";
    int a = AskBox(q, "Orvane Altimetra", plt::BtnYesNoCancel);
    if (a == plt::AnsNo) return DocDone;
    if (a != plt::AnsYes) return DocCancelled;
    int r = DocSave();
    if (r == DocNeedName) return DocNeedName;
    return r == DocDone ? DocDone : DocCancelled;
}

namespace {

// The camera a document marks current: the global table first, then the active stages.
cam* FindCurCam() {
    for (int i = 0; i < CamTbl.n; i++)
        if (CamTbl.a[i]->view.CurCam) return CamTbl.a[i];
    for (int s = 0; s < StgTbl.n; s++) {
        stg* st = StgTbl.a[s];
        if (!st->active) continue;
        for (int i = 0; i < st->cams.n; i++)
            if (st->cams.a[i]->view.CurCam) return st->cams.a[i];
    }
    return nullptr;
}

// Steps after a complete document read: current camera, 2D window, flat tables, current light,
// modified flag.
void PostRead() {
    cam* c = FindCurCam();
    // A document without a marked camera still shows through one.
    if (!c && CamTbl.n > 0) c = CamTbl.a[0];
    if (!c) {
        c = NewCam("Default");
        if (c && AtchCamGlb(c) < 0) {
            FreeCam(c, false);
            c = nullptr;
        }
        if (c) {
            SetCamDef(c);
            c->cur = c->view.CurCam = 1;
        }
    }
    CurCamObj = c;
    SetView(0);
    if (ViewDim == 0 && CurCamObj) {
        const CamView& v = CurCamObj->view;
        const double W = ViewWin[0].W, H = ViewWin[0].H;
        const double hw = v.ScrWid / 2, hh = hw * H / W;
        Wnd2D[0] = v.EyePos[0] - hw;
        Wnd2D[2] = v.EyePos[0] + hw;
        Wnd2D[1] = v.EyePos[1] - hh;
        Wnd2D[3] = v.EyePos[1] + hh;
    }
    UdtPrmMtl();
    UdtPrmLgt();
    CurLgtObj = CurLgt();
    ModFlg = 0;
}

}  // namespace

int WrScn(const char* path, std::string* err) { return ScnWrite(path, ViewDim, FbWndBar, err); }

int RdScn(const char* path) {
    uint8_t dim = ViewDim;
    int r = ScnRead(path, &dim, FbWndBar);
    ViewDim = dim;
    if (r == 0 && ScnRdSt == ScnRdOk) PostRead();
    return r;
}
