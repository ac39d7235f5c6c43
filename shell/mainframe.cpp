#include "mainframe.h"
#include "scene/georef.h"
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QProgressBar>
#include <QDockWidget>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTime>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <algorithm>
#include <cmath>
#include "cmdids.h"
#include "cmdroute.h"
#include "chkpanel.h"
#include "lang.h"
#include "giscmd.h"
#include "vecwnd.h"
#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "scene/scene.h"
#include "display/drw.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "terrain/trn.h"
#include "terrain/trn_mth.h"
#include "dlgrun.h"
#include "doccmd.h"
#include "profile.h"
#include "engcall.h"
#include "mainview.h"
#include "menutable.h"
#include "modepane.h"
#include "platform/platform.h"
#include "printview.h"
#include "tr.h"
#include "cmd/crv_cmds.h"
#include "cmd/undo.h"

// The icons live in the shell's static library: their resource must be registered by hand.
static void InitIcons() { Q_INIT_RESOURCE(icons); }

namespace shl {

LenUnit CrvHgtUnit = LenUnit::M;

const char* const HomePageUrl = "https://www.orvane.example/altimetra/";

namespace {
// The engine's default frame size, kept inside the screen.
constexpr int FrameDefW = 1024, FrameDefH = 800;
// Period of the update handlers and the height pane while the application is idle.
constexpr int IdleMs = 200;
}  // namespace

namespace {
// The number alone: two decimals, halves away from zero; whole values without decimals.
QString HgtNum(double mm, LenUnit* unit) {
    if (*unit == LenUnit::Km || !(MmPer(*unit) > 0)) *unit = LenUnit::M;
    const double v = std::round(mm / MmPer(*unit) * 100.0) / 100.0;
    const bool frac = std::llround(std::fabs(v) * 100.0) % 100 != 0;
    return QString::asprintf(frac ? "%.2f" : "%.0f", v == 0 ? 0.0 : v);
}
}  // namespace

QString HgtValText(double mm, LenUnit unit) {
    const QString n = HgtNum(mm, &unit);
    return n + QLatin1String(UnitName(unit));
}

QString HgtPaneText(double mm, LenUnit unit) {
    const QString n = HgtNum(mm, &unit);
    return Tx::tr("現在の高さ %1%2").arg(n, QLatin1String(UnitName(unit)));
}

namespace {
// A menu text without its mnemonic and trailing dots: "カーブの接続(&C)..." -> "カーブの接続".
QString PlainText(QString t) {
    static const QRegularExpression mnem(QStringLiteral("\\(&.\\)"));
    t.remove(mnem);
    t.remove(QLatin1Char('&'));
    while (t.endsWith(QLatin1Char('.'))) t.chop(1);
    return t.trimmed();
}
}  // namespace

QString UndoStepName(int kind, int cmd) {
    if (cmd != 0)
        for (const CmdDef& c : AllCmds())
            if (c.cat != 0 && c.code == cmd) return PlainText(TrTxt(c.text));
    switch (kind) {
    case UndoNewCrv: return Tx::tr("カーブの入力");
    case UndoPart: return Tx::tr("カーブの編集");
    case UndoDelAll: return Tx::tr("全カーブの削除");
    case UndoDelProp: return Tx::tr("カーブの削除");
    case UndoDelOne: return Tx::tr("カーブの削除");
    case UndoHgt: return Tx::tr("カーブの高さ");
    case UndoXfm: return Tx::tr("カーブの移動");
    case UndoRgn: return Tx::tr("領域指定");
    case UndoTrnDel: return Tx::tr("地形の削除");
    case UndoTrn: return Tx::tr("地形の変更");
    case UndoHideOne: return Tx::tr("カーブの非表示");
    default: break;
    }
    return QString();
}

bool CmdEnabled(int id) {
    switch (id) {
    case IdEditUndo: return CanUndo();
    case IdEditRedo: return CanRedo();
    // Each switch is enabled only when it would change its flag.
    case IdUndoOff: return UndoOn != 0;
    case IdUndoOn: return UndoOn == 0;
    case IdUndoCutOff: return UndoCutOn != 0;
    case IdUndoCutOn: return UndoCutOn == 0;
    case IdBoxUpdOff: return BoxUpdOn != 0;
    case IdBoxUpdOn: return BoxUpdOn == 0;
    default: break;
    }
    const CmdDef* c = FindCmd(id);
    if (!c) return false;
    switch (c->avail) {
    case AvAlways: return true;
    case Av2D: return ViewDim == 0;
    case Av3D: return ViewDim == 1;
    }
    return true;
}

bool CmdChecked(int id) {
    if (id == IdView2D) return ViewDim == 0;
    if (id == IdView3D) return ViewDim == 1;
    if (id == IdShading) return CurDspMode() == DspShade;
    if (id == IdWireframe) return CurDspMode() == DspWire;
    if (id == IdSlopeDsp) return CurDspMode() == DspSlope;
    if (id == IdReliefDsp) return CurDspMode() == DspRelief;
    if (id == IdErrorDsp) return CurDspMode() == DspError;
    if (id == IdParallel || id == IdPerspective) {
        const CamView& v = CurCamObj ? CurCamObj->view : ViewWin[0].v;
        return (v.PrjFlg == PrjPrs) == (id == IdPerspective);
    }
    if (MethodOfCmd(id) >= 0) return TrnMethodOf(TrnMethod).kind == MethodOfCmd(id);
    // The button of the running mode stays down while the mode runs.
    return id != 0 && ModeCmdId(CrntMode) == id;
}

namespace {
QString ViewHelp() {
    return Tx::tr(
        "地形と等高線の表示です。左ボタンで操作し、右ボタンで操作を終わります。"
        "Ctrl・Shift を押しながらドラッグすると表示を移動・拡大・回転します。");
}

// An action's texts from its table entry, in the interface's language (a method item's from the
// engine's method table).
void SetCmdTexts(QAction* a, const CmdDef& c) {
    const int m = MethodOfCmd(c.id);
    a->setText(m >= 0 ? MethodText(m) : TrTxt(c.text));
    const QString status = m >= 0 ? MethodHelp(m) : TrTxt(c.status);
    a->setStatusTip(status);
    a->setWhatsThis(status);
    QString tip = m >= 0 ? MethodText(m) : TrTxt(c.tip ? c.tip : c.text);
    tip.remove('&');
    a->setToolTip(tip);
}
}  // namespace

MainFrame::MainFrame(ViewLink* link, QWidget* parent) : QMainWindow(parent) {
    InitIcons();
    view_ = new MainView(link, this);
    view_->setWhatsThis(ViewHelp());
    setCentralWidget(view_);
    openUrl = [](const QUrl& u) { return QDesktopServices::openUrl(u); };

    BuildActions();
    BuildMenus();
    BuildToolbars();
    BuildStatusBar();
    setAcceptDrops(true);

    // The update handlers and the height pane follow the engine while the application is idle.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, [this] {
        UpdateUi();
        UpdHgtPane();
    });
    idle->start(IdleMs);
    UpdateUi();
    SetDocTitle(QString());

    // The frame may be made narrower than its row of toolbars, which then clip, as a user may
    // want a small view beside other windows (and journals ask for views of any size).
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(0, 0);
    // The engine's default window size, inside the screen.
    QSize sz(FrameDefW, FrameDefH);
    if (QScreen* s = screen()) sz = sz.boundedTo(s->availableGeometry().size());
    resize(sz);
}

MainFrame::~MainFrame() = default;

// ---- menus and toolbars -----------------------------------------------------------------------

void MainFrame::BuildActions() {
    for (const CmdDef& c : AllCmds()) {
        auto* a = new QAction(this);
        a->setData(c.id);
        SetCmdTexts(a, c);
        if (c.icon) a->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(c.icon))));
        if (c.id == IdView2D || c.id == IdView3D || IsModeCmd(c.id) || c.id == IdReliefDsp ||
            c.id == IdErrorDsp || c.id == IdShading || c.id == IdWireframe || c.id == IdSlopeDsp ||
            c.id == IdParallel || c.id == IdPerspective || MethodOfCmd(c.id) >= 0)
            a->setCheckable(true);
        // The methods are one choice: radio items.
        if (MethodOfCmd(c.id) >= 0) {
            if (!methods_) {
                methods_ = new QActionGroup(this);
                methods_->setExclusive(true);
            }
            methods_->addAction(a);
        }
        connect(a, &QAction::triggered, this, [this, id = c.id] { OnCmd(id); });
        acts_[c.id] = a;
    }
    const auto key = [this](int id, const QKeySequence& k) { acts_.at(id)->setShortcut(k); };
    key(IdFileNew, QKeySequence(Qt::CTRL | Qt::Key_N));
    key(IdFileOpen, QKeySequence(Qt::CTRL | Qt::Key_O));
    key(IdFileSave, QKeySequence(Qt::CTRL | Qt::Key_S));
    key(IdFilePrint, QKeySequence(Qt::CTRL | Qt::Key_P));
    key(IdEditUndo, QKeySequence(Qt::CTRL | Qt::Key_Z));
    acts_.at(IdEditRedo)->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    key(IdHelp, QKeySequence(Qt::Key_F1));
    key(IdContextHelp, QKeySequence(Qt::SHIFT | Qt::Key_F1));
    // Accelerators without a menu item still belong to the window.
    addAction(acts_.at(IdHelp));
}

void MainFrame::BuildMenus() {
    for (const MenuDef& m : MenuBarDef()) {
        QMenu* menu = menuBar()->addMenu(TrTxt(m.title));
        for (int id : m.items) {
            if (id == 0)
                menu->addSeparator();
            else
                menu->addAction(acts_.at(id));
        }
        // The update handlers run when a menu opens, as they do at idle.
        connect(menu, &QMenu::aboutToShow, this, &MainFrame::UpdateUi);
    }
    SetRecentFiles(CurProfile().recent);
}

void MainFrame::BuildToolbars() {
    for (const ToolbarDef& t : ToolbarsDef()) {
        auto* tb = new QToolBar(TrTxt(t.title), this);
        tb->setObjectName(QStringLiteral("toolbar%1").arg(t.id));
        tb->setIconSize(QSize(16, 16));
        tb->setAllowedAreas(Qt::AllToolBarAreas);
        tb->setMovable(true);
        tb->setFloatable(true);
        for (int id : t.buttons) {
            if (id == 0)
                tb->addSeparator();
            else
                tb->addAction(acts_.at(id));
        }
        // The first docks at the top, each following one to the right of the one before; the
        // display and view bars take a second row, so that no button overflows at 1024 pixels.
        if (t.id == TbDisplay) addToolBarBreak(Qt::TopToolBarArea);
        addToolBar(Qt::TopToolBarArea, tb);
        bars_ << tb;
    }
}

void MainFrame::BuildStatusBar() {
    QStatusBar* sb = statusBar();
    idle_ = new QLabel(Tx::tr("レディ"), sb);
    // As tall as the progress bar that takes its place: a status bar that grew at the start of a
    // long operation would shrink the view, whose new buffers stay black until the operation ends.
    idle_->setMinimumHeight(QProgressBar().sizeHint().height());
    sb->addWidget(idle_, 1);
    hgtPane_ = new QLabel(sb);
    hgtPane_->setAlignment(Qt::AlignCenter);
    hgtPane_->setMinimumWidth(
        hgtPane_->fontMetrics().horizontalAdvance(Tx::tr("現在の高さ %1%2").arg(QStringLiteral("00000"), QString())) + 8);
    ptrPane_ = new QLabel(sb);
    ptrPane_->setAlignment(Qt::AlignCenter);
    ptrPane_->setMinimumWidth(ptrPane_->fontMetrics().horizontalAdvance(
                                  QStringLiteral("X 0000.00km  Y 0000.00km  Z 00000.00m")) + 8);
    // The view's state a reader needs beside the picture: the vertical exaggeration and the CRS.
    viewPane_ = new QLabel(sb);
    viewPane_->setAlignment(Qt::AlignCenter);
    sb->addPermanentWidget(ptrPane_);
    sb->addPermanentWidget(viewPane_);
    sb->addPermanentWidget(hgtPane_);
    UpdHgtPane();
    view_->onPointer = [this](int x, int y, bool in) { UpdPtrPane(x, y, in); };
}

QString PtrPaneText(int n, const double p[3], LenUnit xyUnit, LenUnit zUnit, bool noHgt, const double* crvZ) {
    if (n < 1) return QString();
    // Heights are not shown in km; a value that names no unit is shown in m.
    if (!(MmPer(xyUnit) > 0)) xyUnit = LenUnit::M;
    if (zUnit == LenUnit::Km || !(MmPer(zUnit) > 0)) zUnit = LenUnit::M;
    const double f = MmPer(xyUnit), fz = MmPer(zUnit);
    QString t = QString::asprintf("X %.2f%s  Y %.2f%s", p[0] / f, UnitName(xyUnit), p[1] / f,
                                  UnitName(xyUnit));
    // A post the method could not reach holds no height: a number there would read as one.
    if (n >= 2 && noHgt) t += QStringLiteral("  ") + Tx::tr("高さなし");
    else if (n >= 2) t += QString::asprintf("  Z %.2f%s", p[2] / fz, UnitName(zUnit));
    if (crvZ) t += QStringLiteral("  ") + Tx::tr("等高線 %1").arg(HgtValText(*crvZ, zUnit));
    return t;
}

void MainFrame::UpdPtrPane(int x, int y, bool in) {
    double p[3] = {0, 0, 0};
    const int n = in ? PtrMdlPnt(x, y, p) : 0;
    const bool noHgt = n >= 2 && TrnNoHgtAt(p[0], p[1]);
    // Identify: the contour under the pointer (within the pick aperture) tells its height.
    double crvZ = 0;
    const crv* c = nullptr;
    if (n >= 1 && ViewDim == 0) {
        // The nearest of the contours within the aperture: the box shrinks while one still meets it.
        for (double r = PixToMdl(PickAp), least = PixToMdl(0.5); r >= least; r /= 2) {
            const double lo[2] = {p[0] - r, p[1] - r}, hi[2] = {p[0] + r, p[1] + r};
            const crv* k = PickCrv(lo, hi);
            if (!k) break;
            c = k;
        }
        if (c) crvZ = c->p[2];
    }
    // Real-world coordinates: the document's origin added back.
    p[0] += OrgMmX();
    p[1] += OrgMmY();
    ptrPane_->setText(PtrPaneText(n, p, ::RgnUnit, ::HgtUnit, noHgt, c ? &crvZ : nullptr));
}

QString MainFrame::PtrPane() const { return ptrPane_->text(); }

QString CrsText(bool known, const std::string& wkt) {
    if (!known) return Tx::tr("座標系: ローカル");
    const QString w = QString::fromStdString(wkt);
    static const QRegularExpression name(QStringLiteral("^[A-Z0-9_]+\\[\"([^\"]*)\""));
    const QRegularExpressionMatch m = name.match(w);
    if (!m.hasMatch()) return Tx::tr("座標系: 不明");
    QString t = Tx::tr("座標系: %1").arg(m.captured(1));
    // The root's authority code comes last in WKT 1 and 2 alike.
    static const QRegularExpression code(QStringLiteral("(?:AUTHORITY|ID)\\[\"EPSG\",\\s*\"?(\\d+)\"?\\]"));
    QString epsg;
    for (auto it = code.globalMatch(w); it.hasNext();) epsg = it.next().captured(1);
    if (!epsg.isEmpty()) t += QStringLiteral(" (EPSG:%1)").arg(epsg);
    return t;
}

QString ViewPaneText(double exag, bool known, const std::string& wkt) {
    return Tx::tr("高さ ×%1").arg(QString::number(exag, 'g', 4)) + QStringLiteral("  ") + CrsText(known, wkt);
}

void MainFrame::UpdViewPane() {
    const QString t = ViewPaneText(VertExag, GisRef.known, GisRef.wkt);
    if (viewPane_->text() != t) viewPane_->setText(t);
}

QString MainFrame::ViewPane() const { return viewPane_->text(); }

QAction* MainFrame::Action(int id) const {
    auto it = acts_.find(id);
    return it == acts_.end() ? nullptr : it->second;
}

void MainFrame::UpdateUi() {
    for (auto& [id, a] : acts_) {
        const bool on = CmdEnabled(id);
        if (a->isEnabled() != on) a->setEnabled(on);
        if (a->isCheckable() && a->isChecked() != CmdChecked(id)) a->setChecked(CmdChecked(id));
    }
    // The first recent-file slot stands for an empty list, greyed.
    if (recent_.isEmpty()) acts_.at(IdFileMru1)->setEnabled(false);
    // Undo and Redo name the step they would take.
    const auto name = [this](int id, const UndoStepInfo& st, const char* fmt) {
        const CmdDef* c = FindCmd(id);
        const QString t = CmdEnabled(id) && st.kind != 0 ? Tx::tr(fmt).arg(UndoStepName(st.kind, st.cmd))
                                                          : TrTxt(c ? c->text : "");
        if (acts_.at(id)->text() != t) acts_.at(id)->setText(t);
    };
    name(IdEditUndo, NextUndo(), QT_TRANSLATE_NOOP("Altimetra", "元に戻す: %1"));
    name(IdEditRedo, NextRedo(), QT_TRANSLATE_NOOP("Altimetra", "やり直し: %1"));
    if (isWindowModified() != (ModFlg != 0)) setWindowModified(ModFlg != 0);
    UpdModePane();
    UpdViewPane();
    UpdChkPanel(this);
}

void MainFrame::UpdModePane() {
    const int id = ModeCmdId(CrntMode);
    const QAction* a = id ? Action(id) : nullptr;
    QString t = a ? ModePaneText(CrntMode, a->text(), HgtValText(CrvHgt, CrvHgtUnit)) : QString();
    if (t.isEmpty()) t = Tx::tr("レディ");
    if (idle_->text() != t) idle_->setText(t);
}

std::vector<int> MainFrame::MenuIds() const {
    std::vector<int> ids;
    const auto add = [&ids](int id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    };
    for (QAction* m : menuBar()->actions()) {
        if (!m->menu()) continue;
        for (QAction* a : m->menu()->actions())
            if (!a->isSeparator() && a->isVisible() && a->data().isValid()) add(a->data().toInt());
    }
    for (QToolBar* tb : bars_)
        for (QAction* a : tb->actions())
            if (!a->isSeparator() && a->data().isValid()) add(a->data().toInt());
    return ids;
}

void MainFrame::SetRecentFiles(const QStringList& paths) {
    recent_ = paths.mid(0, MruMax);
    for (int i = 0; i < MruMax; ++i) {
        QAction* a = acts_.at(IdFileMru1 + i);
        if (i < recent_.size()) {
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(recent_[i]));
            a->setVisible(true);
            a->setEnabled(true);
        } else if (i == 0) {
            a->setText(Tx::tr("最近使ったﾌｧｲﾙ"));
            a->setVisible(true);
            a->setEnabled(false);
        } else {
            a->setVisible(false);
        }
    }
}

// ---- command routing --------------------------------------------------------------------------

void MainFrame::OnCmd(int id) {
    // A long engine operation is dispatching window messages: no second command under it.
    if (EngDepth() > 0) {
        QApplication::beep();
        return;
    }
    // An accelerator may come before the idle update has greyed its item.
    if (!CmdEnabled(id)) return;
    if (id >= IdFileMru1 && id < IdFileMru1 + MruMax && id - IdFileMru1 >= recent_.size()) return;
    if (!DocCmd(this, id) && !DlgCmd(this, id) && !VecCmd(this, id) && !GisCmd(this, id) && !ChkCmd(this, id))
        OwnCmd(id);
    UpdateUi();
    UpdHgtPane();
}

bool MainFrame::OwnCmd(int id) {
    EngCall busy;
    switch (id) {
    case IdEditUndo: Undo(); return true;
    case IdEditRedo: Redo(); return true;
    case IdUndoOff: UndoOn = 0; return true;
    case IdUndoOn: UndoOn = 1; return true;
    case IdUndoCutOff: UndoCutOn = 0; return true;
    case IdUndoCutOn: UndoCutOn = 1; return true;
    case IdBoxUpdOff: BoxUpdOn = 0; return true;
    case IdBoxUpdOn: BoxUpdOn = 1; return true;
    case IdAxisHide: SetAxisDsp(0); return true;
    case IdAxisShow: SetAxisDsp(1); return true;
    case IdShading: SetShdDsp(); return true;
    case IdWireframe: SetWireDsp(); return true;
    case IdView2D:
    case IdView3D:
        EngGuard([id] {
            SwDim(id == IdView3D ? 1 : 0);
            return 0;
        });
        IntrCmd(CatDsp, CmdRdrwAll);
        return true;
    case IdFilePrint:
    case IdFilePrintPreview:
    case IdFilePrintSetup: {
        EngPause open;  // the dialogs run their own event loops; the view may paint
        PrintCmd(this, id);
        return true;
    }
    case IdHelpFinder:
    case IdHelp: {
        EngPause open;
        ShowHelpTopics();
        return true;
    }
    case IdContextHelp: QWhatsThis::enterWhatsThisMode(); return true;
    case IdHomePage:
        if (openUrl) openUrl(QUrl(QString::fromLatin1(HomePageUrl)));
        return true;
    case IdAppExit: close(); return true;
    default: break;
    }
    // The method the next terrain is made with; the profile keeps it.
    if (MethodOfCmd(id) >= 0) {
        TrnMethod = TrnMethods[MethodOfCmd(id)].kind;
        return true;
    }
    const CmdDef* c = FindCmd(id);
    if (c && c->cat != 0) {
        IntrCmd(c->cat, c->code);
        return true;
    }
    // Dialog commands and file flows not handled above have nothing more to do here.
    return false;
}

// The help topics: every command of the menus and toolbars with what it does.
void MainFrame::ShowHelpTopics() {
    QString html = QStringLiteral("<h3>Orvane Altimetra</h3><p>") +
                   Tx::tr("等高線から数値地形モデルを作成します。右ボタンでいつでも操作を終わります。") +
                   QStringLiteral("</p>");
    for (const MenuDef& m : MenuBarDef()) {
        QString t = TrTxt(m.title);
        t.remove(QStringLiteral("(&") + t.section(QStringLiteral("(&"), 1));
        t.remove(QLatin1Char('&'));
        html += QStringLiteral("<h4>%1</h4><table>").arg(t.toHtmlEscaped());
        for (int id : m.items) {
            const CmdDef* c = FindCmd(id);
            if (!c || !*c->text || (id >= IdFileMru1 && id < IdFileMru1 + MruMax)) continue;
            const int mth = MethodOfCmd(id);
            QString name = mth >= 0 ? MethodText(mth) : TrTxt(c->text);
            name.remove('&');
            const QString help = mth >= 0 ? MethodHelp(mth) : TrTxt(c->status);
            html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                        .arg(name.toHtmlEscaped(), help.toHtmlEscaped());
        }
        html += QStringLiteral("</table>");
    }
    QDialog dlg(this);
    dlg.setWindowTitle(Tx::tr("Orvane Altimetra ヘルプ"));
    auto* lay = new QVBoxLayout(&dlg);
    auto* text = new QTextBrowser(&dlg);
    text->setHtml(html);
    lay->addWidget(text);
    auto* bb = new QDialogButtonBox(QDialogButtonBox::Close, &dlg);
    connect(bb, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    lay->addWidget(bb);
    dlg.resize(560, 600);
    ExecDlg(dlg, QStringLiteral("help"));
}

// ---- frame, status bar, notifications ---------------------------------------------------------

void MainFrame::SetDocTitle(const QString& doc) {
    docTitle_ = doc;
    setWindowTitle((doc.isEmpty() ? Tx::tr("無題") : doc) +
                   QStringLiteral("[*] - Orvane Altimetra"));
}

QString MainFrame::ShownTitle() const {
    QString t = windowTitle();
    t.replace(QStringLiteral("[*]"), isWindowModified() ? QStringLiteral("*") : QString());
    return t;
}

void MainFrame::SetViewSize(int w, int h) {
    const qreal r = view_->devicePixelRatioF();
    const int lw = int(std::ceil(w / r)), lh = int(std::ceil(h / r));
    const QSize extra = size() - view_->size();
    resize(lw + extra.width(), lh + extra.height());
    // The view may be held to its old size until the layout runs.
    QApplication::sendPostedEvents(this, QEvent::LayoutRequest);
    if (view_->size() != QSize(lw, lh)) {
        const QSize again = size() + (QSize(lw, lh) - view_->size());
        resize(again);
        QApplication::sendPostedEvents(this, QEvent::LayoutRequest);
    }
}

QPrinter& MainFrame::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Pages are wide by default: the view is wider than high.
        printer_->setPageOrientation(QPageLayout::Landscape);
        printer_->setDocName(ShownTitle());
    }
    return *printer_;
}

void MainFrame::Notify(int id, long wparam) {
    switch (id) {
    case ID_PRG_CRE:
        // A second creation replaces the bar: there is never more than one.
        if (prg_) {
            statusBar()->removeWidget(prg_);
            delete prg_;
        }
        prg_ = new QProgressBar(statusBar());
        prg_->setRange(0, 100);
        prg_->setValue(0);
        prg_->setTextVisible(true);
        statusBar()->clearMessage();
        // The bar covers the message pane while it exists.
        idle_->hide();
        statusBar()->insertWidget(0, prg_, 1);
        prg_->show();
        delete cancel_;
        cancel_ = nullptr;
        // Work that asks whether it is cancelled sets the running flag before its bar opens.
        if (RunFlg) {
            cancel_ = new QPushButton(Tx::tr("中止"), statusBar());
            cancel_->setObjectName(QStringLiteral("cancel"));
            cancel_->setToolTip(Tx::tr("実行中の処理を中止します (Esc)"));
            connect(cancel_, &QPushButton::clicked, this, [this] { CancelRun(); });
            statusBar()->insertWidget(1, cancel_);
            cancel_->show();
        }
        break;
    case ID_UPDT_MSG:
        LogMsgs(wparam != MsgQuiet);
        break;
    case ID_PRG_DSP:
        if (prg_ && prg_->value() < prg_->maximum()) {
            prg_->setValue(prg_->value() + 1);
            // Long operations may not dispatch paint messages: show the step now.
            prg_->repaint();
        }
        break;
    case ID_PRG_DEL:
        if (cancel_) {
            statusBar()->removeWidget(cancel_);
            cancel_->hide();
            cancel_->deleteLater();  // its own click may be what ends the work
            cancel_ = nullptr;
        }
        if (prg_) {
            prg_->setValue(0);
            statusBar()->removeWidget(prg_);
            delete prg_;
            prg_ = nullptr;
            idle_->show();
        }
        break;
    case ID_DSP_SCL_DST_MEN: {
        EngPause open;  // the dialog runs its own event loop inside the engine's command
        SclDstDlg(this);
        break;
    }
    default:
        // The other notifications address windows this application does not have.
        break;
    }
}

// The message log: every message-area update as lines under the time it came, newest last. A
// quiet line (show false) does not open a log the user has not seen yet or has closed.
void MainFrame::LogMsgs(bool show) {
    if (MsgLinNum <= 0) return;
    if (!log_) {
        auto* dock = new QDockWidget(Tx::tr("メッセージ"), this);
        dock->setObjectName(QStringLiteral("MsgDock"));
        log_ = new QPlainTextEdit(dock);
        log_->setObjectName(QStringLiteral("MsgLog"));
        log_->setReadOnly(true);
        log_->setMaximumBlockCount(2000);
        dock->setWidget(log_);
        addDockWidget(Qt::BottomDockWidgetArea, dock);
        dock->hide();
    }
    const QString at = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    for (int i = 0; i < MsgLinNum; ++i)
        log_->appendPlainText((i == 0 ? at : QString(at.size(), ' ')) + QStringLiteral("  ") +
                              QString::fromStdString(BoxText(MsgLin[i])));
    // The log appears below the view without shrinking it: what lies under the pointer stays.
    if (QWidget* d = log_->parentWidget(); d && show && !d->isVisible()) {
        const QSize view = view_->PixelSize();
        d->show();
        if (!isMaximized() && !isFullScreen()) SetViewSize(view.width(), view.height());
    }
}

QString MainFrame::MsgLog() const { return log_ ? log_->toPlainText() : QString(); }

bool MainFrame::CancelRun() {
    if (!RunFlg || EngDepth() == 0) return false;
    RunFlg = 0;
    if (cancel_) cancel_->setEnabled(false);
    return true;
}

void MainFrame::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && CancelRun()) {
        e->accept();
        return;
    }
    QMainWindow::keyPressEvent(e);
}

void MainFrame::UpdHgtPane() {
    const QString t = HgtPaneText(CrvHgt, CrvHgtUnit);
    if (hgtPane_->text() != t) hgtPane_->setText(t);
}

QString MainFrame::HgtPane() const { return hgtPane_->text(); }

QString MainFrame::StatusText() const {
    const QString m = statusBar()->currentMessage();
    return m.isEmpty() ? idle_->text() : m;
}

void MainFrame::ShowHelp(const QString& text) {
    // A mode the mode pane describes needs no second, engine-worded line over it.
    if (ModeCmdId(CrntMode) != 0) {
        statusBar()->clearMessage();
        UpdModePane();
        return;
    }
    QString t = text.trimmed();
    t.replace(QStringLiteral("\n\n"), QStringLiteral("  —  "));
    t.replace('\n', QStringLiteral(";  "));
    if (t.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(t);
}

void MainFrame::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) Retranslate();
    QMainWindow::changeEvent(e);
}

void MainFrame::Retranslate() {
    for (const CmdDef& c : AllCmds()) SetCmdTexts(acts_.at(c.id), c);
    const QList<QAction*> menus = menuBar()->actions();
    const std::vector<MenuDef>& md = MenuBarDef();
    for (size_t i = 0; i < md.size() && i < size_t(menus.size()); ++i) menus[int(i)]->setText(TrTxt(md[i].title));
    const std::vector<ToolbarDef>& td = ToolbarsDef();
    for (size_t i = 0; i < td.size() && i < size_t(bars_.size()); ++i) bars_[int(i)]->setWindowTitle(TrTxt(td[i].title));
    view_->setWhatsThis(ViewHelp());
    idle_->setText(Tx::tr("レディ"));
    if (log_ && log_->parentWidget()) log_->parentWidget()->setWindowTitle(Tx::tr("メッセージ"));
    RetrChkPanel(this);
    SetRecentFiles(recent_);
    SetDocTitle(docTitle_);
    UpdHgtPane();
    UpdViewPane();
}

// ---- drops and closing ------------------------------------------------------------------------

void MainFrame::dragEnterEvent(QDragEnterEvent* e) {
    const QMimeData* m = e->mimeData();
    if (m && m->hasUrls() && !m->urls().isEmpty() && m->urls().first().isLocalFile())
        e->acceptProposedAction();
}

// A dropped file opens as a document; of several, the first.
void MainFrame::dropEvent(QDropEvent* e) {
    const QMimeData* m = e->mimeData();
    if (!m || !m->hasUrls() || m->urls().isEmpty() || !m->urls().first().isLocalFile()) return;
    e->acceptProposedAction();
    if (EngDepth() > 0) {
        QApplication::beep();
        return;
    }
    activateWindow();
    DocOpenPath(this, m->urls().first().toLocalFile());
    UpdateUi();
}

void MainFrame::closeEvent(QCloseEvent* e) {
    // Unsaved changes are asked about first; Cancel keeps the window.
    if (EngDepth() > 0 || !DocCanClose(this)) {
        e->ignore();
        return;
    }
    e->accept();
    if (onClose) onClose();
}

}  // namespace shl
