// File flows of the window: the document actions with their file and unit dialogs. Every engine
// step is the document's own flow (file/doc.h, file/xchg.h); the shell adds only the dialogs, the
// remembered directories and the recent-file list.
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <QWidget>
#include "cmdids.h"
#include "cmdroute.h"
#include "core/alc.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "doc/filecmd.h"
#include "dialogs.h"
#include "dlgrun.h"
#include "doccmd.h"
#include "engcall.h"
#include "doc/doc.h"
#include "doc/xchg_flow.h"
#include "mainframe.h"
#include "platform/platform.h"
#include "profile.h"
#include "app.h"
#include "scene/scene.h"
#include "formats/gld.h"
#include "tr.h"
#include "cmd/crv_cmds.h"

namespace {

using namespace shl;  // command ids
using shl::CurProfile;
using shl::Profile;

// File-dialog filters, in the interface's language (so built when asked for, not at load).
QString ScnFilter() { return Tx::tr("ｼｰﾝﾃﾞｰﾀ(*.scn)"); }
QString DxfFilter() { return Tx::tr("DXFﾃﾞｰﾀ(*.dxf)"); }
QString ExpFilter(int fmt) {
    switch (fmt) {
    case FmtVrml: return Tx::tr("VRMLﾃﾞｰﾀ(*.wrl)");
    case FmtStl: return Tx::tr("STLﾃﾞｰﾀ(*.stl)");
    case FmtGld: return Tx::tr("GLDﾃﾞｰﾀ(*.gld)");
    default: return DxfFilter();
    }
}

std::string Utf8(const QString& s) { return s.toStdString(); }

// The directory part of a chosen path (cut at its last separator), kept for the next dialog.
void RememberDir(int dir, const std::string& path) {
    const QString p = QString::fromStdString(path);
    const int cut = std::max(p.lastIndexOf('/'), p.lastIndexOf('\\'));
    if (cut > 0) CurProfile().dir[dir] = p.left(cut);
}

QString StartDir(int dir) { return CurProfile().dir[dir]; }

// A box of the document's own text (no catalogue id), as journals print it.
int AskBox(const std::string& text, const char* caption, int buttons) {
    const int prev = MsgBoxId;
    MsgBoxId = 0;
    int ans;
    {
        GuardBarrier gb;
        ans = plt::Get()->MsgBox(text.c_str(), caption, buttons, plt::IconWarning);
    }
    MsgBoxId = prev;
    return ans;
}

// The file dialog asked about the name the user typed; when an extension was appended to it and
// that file exists, it is asked here, so that no file is replaced without a question.
bool MayReplace(const std::string& chosen, const std::string& written) {
    if (chosen == written || !QFileInfo::exists(QString::fromStdString(written))) return true;
    const std::string q = written + Tx::tr("\nこのファイルはすでに存在します。\n上書きしますか？").toStdString();
    return AskBox(q, "注意", plt::BtnYesNo) == plt::AnsYes;
}

// Why a file cannot be read or written, in the user's words; empty when it can. Checked before the
// flow starts, so that the message names the file and the reason and the document stays as it is.
QString Reason(int err) {
    switch (err) {
    case ENOENT: return Tx::tr("ファイルまたはフォルダーが見つかりません");
    case EACCES:
    case EPERM: return Tx::tr("アクセスが拒否されました");
    case EISDIR: return Tx::tr("フォルダーです");
    case EROFS: return Tx::tr("読み取り専用のドライブです");
    case ENOTDIR: return Tx::tr("パスの途中がフォルダーではありません");
    default: return QString::fromLocal8Bit(std::strerror(err));
    }
}

QString CantRead(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return Reason(errno);
    if (S_ISDIR(st.st_mode)) return Reason(EISDIR);
    if (::access(path.c_str(), R_OK) != 0) return Reason(errno);
    return QString();
}

QString CantWrite(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return Reason(EISDIR);
        return ::access(path.c_str(), W_OK) != 0 ? Reason(errno) : QString();
    }
    const QString dir = QFileInfo(QString::fromStdString(path)).absolutePath();
    const QByteArray d = QFile::encodeName(dir);
    if (::stat(d.constData(), &st) != 0) return Reason(errno);
    if (!S_ISDIR(st.st_mode)) return Reason(ENOTDIR);
    if (::access(d.constData(), W_OK) != 0) return Reason(errno);
    return QString();
}

// Shows the file and the reason; false when there is one.
bool FileOk(const std::string& path, bool write) {
    const QString why = write ? CantWrite(path) : CantRead(path);
    if (why.isEmpty()) return true;
    const QString t = QString::fromStdString(path) +
                      (write ? Tx::tr("\nファイルに書き込めません: ")
                             : Tx::tr("\nファイルが開けませんでした: ")) + why;
    const int prev = MsgBoxId;
    MsgBoxId = 0;
    {
        GuardBarrier gb;
        plt::Get()->MsgBox(t.toUtf8().constData(), "Orvane Altimetra", plt::BtnOk, plt::IconError);
    }
    MsgBoxId = prev;
    return false;
}

std::string ScnPath(const std::string& path) {
    const QString p = QString::fromStdString(path);
    if (p.endsWith(QLatin1String(".scn")) || p.endsWith(QLatin1String(".SCN"))) return path;
    return path + ".scn";
}

bool SaveAsFlow(QWidget* frame) {
    QString sel;
    // An imported document starts from the scene name its save question offered.
    const std::string offer = DocScnName();
    const QString chosen = AskFileName(
        frame, {true, Tx::tr("名前を付けて保存"),
                offer.empty() ? StartDir(Profile::DirScn) : QString::fromStdString(offer), ScnFilter()},
        &sel);
    if (chosen.isEmpty()) return false;
    const std::string path = Utf8(chosen);
    if (!MayReplace(path, ScnPath(path)) || !FileOk(ScnPath(path), true)) return false;
    shl::EngCall busy;
    if (DocSaveAs(path) != DocDone) return false;
    shl::AddRecentFile(frame, QString::fromStdString(Doc.path));
    RememberDir(Profile::DirScn, Doc.path);
    return true;
}

bool SaveFlow(QWidget* frame) {
    if (!Doc.path.empty() && !FileOk(Doc.path, true)) return false;
    int r;
    {
        shl::EngCall busy;
        r = DocSave();
    }
    if (r == DocNeedName) return SaveAsFlow(frame);
    return r == DocDone;
}

bool OpenFlow(QWidget* frame) {
    if (!shl::DocSaveFirst(frame)) return false;
    const QString chosen = AskFileName(
        frame, {false, Tx::tr("開く"), StartDir(Profile::DirScn), ScnFilter()});
    if (chosen.isEmpty()) return false;
    if (!FileOk(QFileInfo(chosen).suffix().isEmpty() ? Utf8(chosen) + ".scn" : Utf8(chosen), false))
        return false;
    shl::EngCall busy;
    if (DocOpen(Utf8(chosen)) != DocDone) return false;
    // The document's path has its extension; a drawing opened by extension has no document file.
    const std::string opened = Doc.path.empty() ? Utf8(chosen) : Doc.path;
    if (!Doc.path.empty()) shl::AddRecentFile(frame, QString::fromStdString(Doc.path));
    RememberDir(Profile::DirScn, opened);
    return true;
}

bool ImportFlow(QWidget* frame) {
    if (!shl::DocSaveFirst(frame)) return false;
    const QString chosen = AskFileName(
        frame, {false, Tx::tr("DXF読み込み"), StartDir(Profile::DirScn), DxfFilter()});
    if (chosen.isEmpty() || !FileOk(ImpPath(Utf8(chosen)), false)) return false;
    // The unit is asked before the scene is reset: cancelling it keeps the document as it was.
    // A drawing that declares its unit ($INSUNITS) is read in it, without the question.
    if (!(DxfUnitFct(DxfHdrUnit(ImpPath(Utf8(chosen)))) > 0)) {
        LenUnit unit = InUnit;
        if (!shl::AskInUnit(frame, &unit)) return false;
        InUnit = unit;
    }
    shl::EngCall busy;
    const std::string path = ImpPath(Utf8(chosen));
    const int keep = CrsIdx;
    SetCrs(CrsWait);
    const int r = ImpDxf(path);
    SetCrs(keep);
    Redraw();
    if (r != 0) return false;
    RememberDir(Profile::DirScn, path);
    return true;
}

bool ExportFlow(QWidget* frame, int fmt) {
    const int dir = fmt == FmtDxf ? Profile::DirDxf : Profile::DirVrml;
    QString sel;
    const QString chosen = AskFileName(
        frame, {true, Tx::tr("エクスポート"), StartDir(dir), ExpFilter(fmt)}, &sel);
    if (chosen.isEmpty()) return false;
    const bool firstFilter = sel.isEmpty() || sel == ExpFilter(fmt);
    const std::string path = ExpPath(fmt, Utf8(chosen), firstFilter);
    if (fmt == FmtGld) {
        GldBlk b{};
        {
            shl::EngCall busy;
            if (!ChkTrnExp()) return false;
            if (!GldBlock(&b)) return ExpXchg(fmt, path, false) == 0;  // says why it cannot run
        }
        shl::GldCorners c = shl::GldDefCorners(b.ext);
        if (GldCrnRec g; GisGldCrn(b, &g)) {
            // A document with a CRS offers its real corners.
            c.lat0 = g.lat0;
            c.lon0 = g.lon0;
            c.lat1 = g.lat1;
            c.lon1 = g.lon1;
        }
        if (!shl::AskGldCorners(frame, &c)) return false;
        GldCrn = GldCrnRec{c.lat0, c.lon0, c.lat1, c.lon1};
        GldCrnGiven = 1;
    } else {
        LenUnit unit = OutUnit;
        if (!shl::AskOutUnit(frame, &unit)) return false;
        OutUnit = unit;
    }
    if (!MayReplace(Utf8(chosen), path) || !FileOk(path, true)) {
        GldCrnGiven = 0;
        return false;
    }
    shl::EngCall busy;
    const int keep = CrsIdx;
    SetCrs(CrsWait);
    const int r = ExpXchg(fmt, path, false);
    SetCrs(keep);
    if (r != 0) return false;
    RememberDir(dir, path);
    return true;
}

int ExpFmt(int id) {
    switch (id) {
    case IdDxfExport: return FmtDxf;
    case IdVrmlExport: return FmtVrml;
    case IdStlExport: return FmtStl;
    case IdGldExport: return FmtGld;
    default: return -1;
    }
}

bool IsScn(const QString& p) {
    return p.endsWith(QLatin1String(".scn")) || p.endsWith(QLatin1String(".SCN"));
}

bool asked = false;  // the unsaved-changes question of this close has been answered

}  // namespace

namespace shl {

bool DocSaveFirst(QWidget* frame) {
    int r;
    {
        EngCall busy;
        if (!EngineRunning()) return true;
        r = DocAskSave();
    }
    if (r == DocNeedName) return SaveAsFlow(frame);
    return r == DocDone;
}

void AddRecentFile(QWidget* frame, const QString& name) {
    // Whole paths, so that an entry opens the same file whatever the working directory.
    const QString path = QFileInfo(name).absoluteFilePath();
    QStringList& l = CurProfile().recent;
    l.removeAll(path);
    l.prepend(path);
    while (l.size() > MruMax) l.removeLast();
    if (auto* f = dynamic_cast<MainFrame*>(frame)) f->SetRecentFiles(l);
}

void DropRecentFile(QWidget* frame, const QString& path) {
    CurProfile().recent.removeAll(path);
    if (auto* f = dynamic_cast<MainFrame*>(frame)) f->SetRecentFiles(CurProfile().recent);
}

void DocSkipCloseAsk() { asked = true; }

bool DocCanClose(QWidget* frame) {
    if (asked || !EngineRunning()) return true;
    return DocSaveFirst(frame);
}

}  // namespace shl

bool DocCmd(QWidget* frame, int id) {
    using namespace shl;
    if (id >= IdFileMru1 && id < IdFileMru1 + MruMax) {
        const QStringList& l = CurProfile().recent;
        const int i = id - IdFileMru1;
        if (i < l.size()) DocOpenPath(frame, l[i]);
        return true;
    }
    if (const int fmt = ExpFmt(id); fmt >= 0) {
        ExportFlow(frame, fmt);
        return true;
    }
    switch (id) {
    case IdFileNew:
        if (shl::DocSaveFirst(frame)) {
            shl::EngCall busy;
            DocNew();
        }
        return true;
    case IdFileOpen: OpenFlow(frame); return true;
    case IdFileSave: SaveFlow(frame); return true;
    case IdFileSaveAs: SaveAsFlow(frame); return true;
    case IdDxfImport: ImportFlow(frame); return true;
    case IdAppExit:
        if (shl::DocSaveFirst(frame)) {
            asked = true;
            frame->close();
            asked = false;
        }
        return true;
    default: return false;
    }
}

bool DocOpenPath(QWidget* frame, const QString& path) {
    // Only scene documents open this way; anything else leaves the document as it is.
    if (!IsScn(path)) return false;
    const std::string p = Utf8(path);
    if (!FileOk(p, false)) {
        // A recent entry whose file has gone is taken off the list.
        if (!QFileInfo::exists(path)) shl::DropRecentFile(frame, path);
        return false;
    }
    if (!shl::DocSaveFirst(frame)) return false;
    int r;
    {
        shl::EngCall busy;
        r = DocOpenArg(p);
        Redraw();
    }
    if (r != DocDone) return false;
    shl::AddRecentFile(frame, path);
    RememberDir(Profile::DirScn, p);
    return true;
}
