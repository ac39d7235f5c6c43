// The main frame's menus, toolbars, update handlers, printing and drops.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <cmath>
#include <memory>
#include <set>
#include "cmdids.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "scene/scene.h"
#include "curves/crv.h"
#include "display/drw.h"
#include "display/view.h"
#include "terrain/trn.h"
#include "terrain/trn_mth.h"
#include "../support/restore.h"
#include "dlgrun.h"
#include "mainframe.h"
#include "mainview.h"
#include "menutable.h"
#include "printview.h"
#include "qtplatform.h"
#include "reclink.h"
#include "cmd/undo.h"

using namespace shl;

namespace {

// Restores the engine values the update handlers read.
struct EngineFlags {
    uint8_t dim = ViewDim, st = UndoState, on = UndoOn, cut = UndoCutOn, box = BoxUpdOn;
    ~EngineFlags() {
        ViewDim = dim;
        UndoState = st;
        UndoOn = on;
        UndoCutOn = cut;
        BoxUpdOn = box;
    }
};

class MenuBar : public ::testing::Test {
protected:
    void SetUp() override {
        CrntMode = ModeIdle;  // a mode left by another test would fill the status bar
        ModFlg = 0;
        frame = std::make_unique<MainFrame>(&link);
        frame->View()->SetTimerOn(false);
        plat.SetFrame(frame.get());
    }
    bool On(int id) const { return frame->Action(id)->isEnabled(); }
    std::vector<int> ToolbarIds(QToolBar* tb) const {
        std::vector<int> ids;
        for (QAction* a : tb->actions()) ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
        return ids;
    }

    EngineFlags saved;
    RecLink link;
    std::unique_ptr<MainFrame> frame;
    QtPlatform plat;
};

const std::vector<int> k2DOnly = {32825, 32787, 32788, 32819, 32828, 32827, 32829, 32826, 32806, 32791,
                                  32790, 32793, 32802, 32795, 32807, 32799, 32848, 32849, 32852, 32864,
                                  32910};
const std::vector<int> k3DOnly = {32812, 32810, 32811, 32798, 32804, 32841, 32840,
                                  32845, 32846, 32847, 32850, 32883, 32818, 32817};

TEST_F(MenuBar, EnablingFollowsTheViewDimension) {
    UndoState = 0;
    for (int dim : {0, 1, 0}) {
        SCOPED_TRACE(dim);
        ViewDim = uint8_t(dim);
        frame->UpdateUi();
        for (int id : k2DOnly) EXPECT_EQ(On(id), dim == 0) << id;
        for (int id : k3DOnly) EXPECT_EQ(On(id), dim == 1) << id;
        EXPECT_EQ(frame->Action(IdView2D)->isChecked(), dim == 0);
        EXPECT_EQ(frame->Action(IdView3D)->isChecked(), dim == 1);
        EXPECT_TRUE(On(IdReliefDsp)) << "relief in both views";
        // Everything outside the two lists and the Edit menu's state-driven items stays enabled.
        const std::set<int> special = {IdEditUndo, IdEditRedo, IdUndoOff, IdUndoOn, IdUndoCutOff,
                                       IdUndoCutOn, IdBoxUpdOff, IdBoxUpdOn, IdFileMru1};
        for (int id : frame->MenuIds()) {
            if (special.count(id) ||
                std::find(k2DOnly.begin(), k2DOnly.end(), id) != k2DOnly.end() ||
                std::find(k3DOnly.begin(), k3DOnly.end(), id) != k3DOnly.end())
                continue;
            EXPECT_TRUE(On(id)) << id;
        }
    }
}

TEST_F(MenuBar, UndoItemsFollowTheHistoryNameTheirStepAndSwitchesOnlyWhenTheyWouldChange) {
    ClrUndo();
    frame->UpdateUi();
    EXPECT_FALSE(On(IdEditUndo));
    EXPECT_FALSE(On(IdEditRedo));
    EXPECT_EQ(frame->Action(IdEditUndo)->text(), QStringLiteral("元に戻す(&U)"));
    // A step of the connect mode, then one of a menu command: each item names the step it takes.
    IntrCmd(CatDrw2D, CmdCrvCnct);
    RecUndo(UndoPart, 0, nullptr);
    SetMode(ModeIdle);
    IntrCmd(CatDrw2D, CmdCrvDelAll);
    frame->UpdateUi();
    EXPECT_TRUE(On(IdEditUndo));
    EXPECT_FALSE(On(IdEditRedo));
    EXPECT_EQ(frame->Action(IdEditUndo)->text(), QStringLiteral("元に戻す: カーブの全削除"));
    Undo();
    frame->UpdateUi();
    EXPECT_TRUE(On(IdEditUndo));
    EXPECT_TRUE(On(IdEditRedo));
    EXPECT_EQ(frame->Action(IdEditUndo)->text(), QStringLiteral("元に戻す: カーブの接続"));
    EXPECT_EQ(frame->Action(IdEditRedo)->text(), QStringLiteral("やり直し: カーブの全削除"));
    Undo();
    frame->UpdateUi();
    EXPECT_FALSE(On(IdEditUndo));
    EXPECT_EQ(frame->Action(IdEditUndo)->text(), QStringLiteral("元に戻す(&U)"));
    // Ctrl+Shift+Z redoes as Ctrl+Y does.
    EXPECT_TRUE(frame->Action(IdEditRedo)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    ClrUndo();
    UndoOn = 1;
    UndoCutOn = 0;
    BoxUpdOn = 1;
    frame->UpdateUi();
    EXPECT_TRUE(On(IdUndoOff));
    EXPECT_FALSE(On(IdUndoOn));
    EXPECT_FALSE(On(IdUndoCutOff));
    EXPECT_TRUE(On(IdUndoCutOn));
    EXPECT_TRUE(On(IdBoxUpdOff));
    EXPECT_FALSE(On(IdBoxUpdOn));
    // The switches set their flags straight, without the engine.
    frame->Action(IdUndoOff)->trigger();
    frame->Action(IdUndoCutOn)->trigger();
    frame->Action(IdBoxUpdOff)->trigger();
    EXPECT_EQ(UndoOn, 0);
    EXPECT_EQ(UndoCutOn, 1);
    EXPECT_EQ(BoxUpdOn, 0);
    EXPECT_FALSE(On(IdUndoOff));
    EXPECT_TRUE(On(IdUndoOn));
    EXPECT_TRUE(On(IdBoxUpdOn));
    // A greyed switch does nothing, even from an accelerator path.
    frame->OnCmd(IdUndoOff);
    EXPECT_EQ(UndoOn, 0);
}

// Nothing told which display or projection was on, nor which method the next terrain takes: the
// View menu ticks the display and the projection (the toolbar buttons share the actions, so the
// slope button stays down while the slope classes show); the Terrain menu's radio items tick the
// method and choose it.
TEST_F(MenuBar, MenusTickTheDisplayTheProjectionAndTheMethod) {
    Restore<uint32_t[DrwWinMax]> srf(SrfDsp);
    Restore<uint8_t> slp(SlpDsp), rel(RelDsp), err(ErrDsp);
    Restore<int> method(TrnMethod);
    CamView& v = CurCamObj ? CurCamObj->view : ViewWin[0].v;
    Restore<uint8_t> prj(v.PrjFlg);
    const int shown[] = {IdWireframe, IdShading, IdSlopeDsp, IdReliefDsp};
    auto ticked = [&] {
        frame->UpdateUi();
        std::vector<int> on;
        for (int id : shown)
            if (frame->Action(id)->isChecked()) on.push_back(id);
        return on;
    };
    SlpDsp = RelDsp = ErrDsp = 0;
    DspFlg &= ~SrfDspShd;
    EXPECT_EQ(ticked(), std::vector<int>{IdWireframe});
    DspFlg |= SrfDspShd;
    EXPECT_EQ(ticked(), std::vector<int>{IdShading});
    SlpDsp = 1;
    EXPECT_EQ(ticked(), std::vector<int>{IdSlopeDsp});
    QToolBar* display = frame->Toolbars()[3];
    auto* slopeButton = qobject_cast<QToolButton*>(display->widgetForAction(frame->Action(IdSlopeDsp)));
    ASSERT_NE(slopeButton, nullptr);
    EXPECT_TRUE(slopeButton->isChecked());
    SlpDsp = 0;
    RelDsp = 1;
    EXPECT_EQ(ticked(), std::vector<int>{IdReliefDsp});
    EXPECT_FALSE(slopeButton->isChecked());

    v.PrjFlg = PrjPrs;
    frame->UpdateUi();
    EXPECT_TRUE(frame->Action(IdPerspective)->isChecked());
    EXPECT_FALSE(frame->Action(IdParallel)->isChecked());
    v.PrjFlg = PrjPar;
    frame->UpdateUi();
    EXPECT_FALSE(frame->Action(IdPerspective)->isChecked());
    EXPECT_TRUE(frame->Action(IdParallel)->isChecked());

    TrnMethod = TrnMethodPath;
    frame->UpdateUi();
    for (int k = 0; k < TrnMethodNum; ++k) EXPECT_EQ(frame->Action(IdTrnMethod0 + k)->isChecked(), k == TrnMethodPath) << k;
    frame->Action(IdTrnMethod0 + TrnMethodMinCrv)->trigger();
    EXPECT_EQ(TrnMethod, TrnMethodMinCrv);
    for (int k = 0; k < TrnMethodNum; ++k) EXPECT_EQ(frame->Action(IdTrnMethod0 + k)->isChecked(), k == TrnMethodMinCrv) << k;
    EXPECT_EQ(frame->Action(IdTrnMethod0 + TrnMethodCrs)->text(), QString::fromUtf8("交差線による補間（標準）"));
}

TEST_F(MenuBar, SixMenusAndFiveToolbarsInTheirOrder) {
    QStringList titles;
    for (QAction* m : frame->menuBar()->actions()) titles << m->text();
    EXPECT_EQ(titles, QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "等高線(&C)", "地形(&T)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));

    const QList<QToolBar*> bars = frame->Toolbars();
    ASSERT_EQ(bars.size(), 5);
    EXPECT_EQ(ToolbarIds(bars[0]), (std::vector<int>{57600, 57601, 57603, 0, 32800, 32801, 0, 32824, 0,
                                                      57607, 57669}));
    EXPECT_EQ(ToolbarIds(bars[1]), (std::vector<int>{32825, 0, 32788, 32819, 0, 32864, 32802, 32827,
                                                      32826, 32806, 0, 32795, 32822}));
    EXPECT_EQ(ToolbarIds(bars[2]), (std::vector<int>{32807, 0, 32808, 32882, 32847, 32812, 0, 32809}));
    EXPECT_EQ(ToolbarIds(bars[3]), (std::vector<int>{32810, 32811, 0, 32818, 32817, 32883, 32925, 32926}));
    EXPECT_EQ(ToolbarIds(bars[4]), (std::vector<int>{32799, 32797, 32796, 32798, 32804, 32803}));
    // All at the top in creation order (left to right, the display and view bars on a second
    // row), movable to every side.
    frame->show();
    QCoreApplication::processEvents();
    int x = -1, y = -1;
    for (QToolBar* tb : bars) {
        EXPECT_EQ(frame->toolBarArea(tb), Qt::TopToolBarArea);
        EXPECT_EQ(tb->allowedAreas(), Qt::AllToolBarAreas);
        EXPECT_TRUE(tb->isMovable());
        if (tb->y() > y) x = -1;  // a new row starts at the left
        EXPECT_GE(tb->y(), y) << tb->windowTitle().toStdString();
        EXPECT_GT(tb->x(), x) << tb->windowTitle().toStdString();
        x = tb->x();
        y = tb->y();
    }
    EXPECT_GT(bars[3]->y(), bars[2]->y());
}

TEST_F(MenuBar, EveryButtonHasAnIconATipAndHelpTextAndTheUsualAccelerators) {
    for (QToolBar* tb : frame->Toolbars())
        for (QAction* a : tb->actions()) {
            if (a->isSeparator()) continue;
            SCOPED_TRACE(a->data().toInt());
            // The SVG icon renders at toolbar size and at twice that on HiDPI screens.
            for (int s : {16, 32}) {
                const QImage img = a->icon().pixmap(QSize(s, s)).toImage();
                ASSERT_FALSE(img.isNull());
                EXPECT_EQ(img.width(), s);
                int opaque = 0;
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x) opaque += qAlpha(img.pixel(x, y)) > 0;
                EXPECT_GT(opaque, s * s / 20);
            }
            EXPECT_FALSE(a->toolTip().isEmpty());
            EXPECT_FALSE(a->statusTip().isEmpty());
        }
    EXPECT_EQ(frame->Action(IdFileNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(frame->Action(IdFileOpen)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(frame->Action(IdFileSave)->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(frame->Action(IdFilePrint)->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(frame->Action(IdEditUndo)->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(frame->Action(IdEditRedo)->shortcut(), QKeySequence("Ctrl+Y"));
    EXPECT_EQ(frame->Action(IdHelp)->shortcut(), QKeySequence("F1"));
    // Fly-by help of a highlighted item reaches the message pane.
    frame->Action(IdTrnCreate)->showStatusText(frame.get());
    EXPECT_EQ(frame->StatusText(), QString::fromUtf8("等高線から地形を作成する"));
}

TEST_F(MenuBar, MenuIdsListMenusFirstThenToolbarOnlyButtonsEachOnce) {
    const std::vector<int> ids = frame->MenuIds();
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    ASSERT_GE(ids.size(), 8u);
    EXPECT_EQ(ids.front(), IdFileNew);
    EXPECT_EQ(std::vector<int>(ids.end() - 8, ids.end()),
              (std::vector<int>{32800, 32801, 32799, 32797, 32796, 32798, 32804, 32803}));
    // The empty recent-file list shows one greyed slot.
    EXPECT_EQ(std::count(ids.begin(), ids.end(), IdFileMru1 + 1), 0);
    frame->SetRecentFiles({"/a/one.scn", "/b/two.scn"});
    const std::vector<int> more = frame->MenuIds();
    EXPECT_EQ(std::count(more.begin(), more.end(), IdFileMru1 + 1), 1);
    frame->UpdateUi();
    EXPECT_TRUE(frame->Action(IdFileMru1)->isEnabled());
    EXPECT_EQ(frame->Action(IdFileMru1 + 1)->text(), QString("&2 /b/two.scn"));
}

TEST_F(MenuBar, ProgressBarCoversTheMessagePaneAndTwoCreationsLeaveOne) {
    EXPECT_EQ(frame->StatusText(), QString::fromUtf8("レディ"));
    plat.Notify(ID_PRG_CRE, -1);
    plat.Notify(ID_PRG_DSP, -1);
    plat.Notify(ID_PRG_CRE, -1);
    EXPECT_EQ(frame->statusBar()->findChildren<QProgressBar*>().size(), 1);
    EXPECT_EQ(frame->Progress()->value(), 0);
    frame->show();
    QCoreApplication::processEvents();
    // Pane 0 is the bar's while it exists.
    for (QLabel* l : frame->statusBar()->findChildren<QLabel*>())
        if (l->text() == QString::fromUtf8("レディ")) {
            EXPECT_FALSE(l->isVisible());
        }
    plat.Notify(ID_PRG_DEL, -1);
    EXPECT_EQ(frame->Progress(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->StatusText(), QString::fromUtf8("レディ"));
}

TEST_F(MenuBar, HomePageOpensTheMakersAddress) {
    QUrl opened;
    frame->openUrl = [&opened](const QUrl& u) {
        opened = u;
        return true;
    };
    frame->Action(IdHomePage)->trigger();
    EXPECT_EQ(opened, QUrl(QString::fromLatin1(HomePageUrl)));
    EXPECT_TRUE(opened.scheme().startsWith("http"));
}

// The main window as a user sees it; written out for a look when ALT_SHOT_DIR names a folder.
TEST_F(MenuBar, MainWindowShowsItsJapaneseTextsUnclipped) {
    frame->show();
    frame->resize(1024, 800);
    QCoreApplication::processEvents();
    // Every toolbar shows all its buttons: none went into an overflow menu at the default size.
    for (QToolBar* tb : frame->Toolbars())
        for (QAction* a : tb->actions())
            if (!a->isSeparator()) {
                EXPECT_TRUE(tb->widgetForAction(a)->isVisible()) << a->data().toInt();
            }
    const QByteArray dir = qgetenv("ALT_SHOT_DIR");
    if (!dir.isEmpty()) {
        frame->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath("mainwindow.png"));
        int i = 0;
        for (QToolBar* tb : frame->Toolbars()) {
            const QPixmap pm = tb->grab();
            pm.scaled(pm.size() * 4).save(
                QDir(QString::fromLocal8Bit(dir)).filePath(QString("toolbar%1.png").arg(i++)));
        }
        for (QAction* m : frame->menuBar()->actions()) {
            QMenu* menu = m->menu();
            menu->popup(frame->mapToGlobal(frame->menuBar()->actionGeometry(m).bottomLeft()));
            QCoreApplication::processEvents();
            QString name = m->text();
            name.remove(QRegularExpression("[^A-Z]"));
            menu->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath("menu-" + name + ".png"));
            menu->hide();
        }
    }
}

class Printing : public MenuBar {};

TEST_F(Printing, NothingDrawnShowsTheMessageAndPrintsNothing) {
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("out.pdf"));
    QString text, caption;
    plat.boxHook = [&](const char* t, const char* c, int, int) {
        text = QString::fromUtf8(t);
        caption = QString::fromUtf8(c);
        return plt::AnsOk;
    };
    plt::Set(&plat);
    // The frame was never shown: the view has no picture.
    const QImage img = PrintImage(frame->View());
    EXPECT_TRUE(img.isNull());
    EXPECT_FALSE(PrintPicture(printer, img));
    EXPECT_EQ(text, QString::fromUtf8("レンダリング・イメージがありません。"));
    EXPECT_EQ(caption, QString::fromUtf8("注意"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.pdf")));
    plt::Set(nullptr);
}

TEST_F(Printing, APictureFillsOnePage) {
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("out.pdf"));
    QImage img(80, 60, QImage::Format_RGB888);
    img.fill(QColor(0, 74, 74));
    EXPECT_TRUE(PrintPicture(printer, img));
    QFile f(dir.filePath("out.pdf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
    // The shared printer prints wide pages unless the user chooses otherwise.
    EXPECT_EQ(frame->Printer().pageLayout().orientation(), QPageLayout::Landscape);
}

// Print and OK without a printer drew nothing and said nothing: a printer that cannot begin now
// says so in a box, naming the file when it prints to one.
TEST_F(Printing, APrinterThatCannotBeginSaysWhy) {
    QTemporaryDir dir;
    const QString bad = dir.filePath("no/such/folder/out.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(bad);
    QString text;
    plat.boxHook = [&](const char* t, const char*, int, int) {
        text = QString::fromUtf8(t);
        return plt::AnsOk;
    };
    plt::Set(&plat);
    QImage img(8, 6, QImage::Format_RGB888);
    img.fill(Qt::white);
    EXPECT_FALSE(PrintPicture(printer, img));
    EXPECT_TRUE(text.startsWith(bad)) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("印刷を始められませんでした"))) << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(bad));
    plt::Set(nullptr);
}

// Without a printer the print dialog opens on Qt's PDF output with a file named after the
// document, beside it; what is then printed is that file.
TEST_F(Printing, WithoutAPrinterTheDialogOffersAPdfFile) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    QTemporaryDir dir;
    frame->SetDocTitle(dir.filePath("plan.scn"));
    const QString pdf = dir.filePath("plan.pdf");
    EXPECT_EQ(PdfName(frame.get()), pdf);
    QString shown;
    bool toFile = false;
    DlgOpenHook = [&](QDialog& d, const QString&) {
        if (auto* e = d.findChild<QLineEdit*>(QStringLiteral("filename"))) shown = e->text();
        if (auto* pd = qobject_cast<QPrintDialog*>(&d)) toFile = pd->testOption(QAbstractPrintDialog::PrintToFile);
    };
    QStringList lines;
    SetDlgScript([&](const QString& l) { lines << l; });
    plat.boxHook = [](const char*, const char*, int, int) { return plt::AnsOk; };
    plt::Set(&plat);
    std::string err;
    ASSERT_TRUE(DlgVerb({"dialog", "192", "ok"}, &err)) << err;
    ASSERT_TRUE(DlgVerb({"dialog", "print", "ok"}, &err)) << err;
    PrintCmd(frame.get(), IdFilePrint);  // nothing drawn yet: the message, but the dialogs ran
    SetDlgScript(nullptr);
    DlgOpenHook = nullptr;
    EXPECT_EQ(shown, pdf);
    EXPECT_TRUE(toFile);
    EXPECT_EQ(frame->Printer().outputFormat(), QPrinter::PdfFormat);
    QImage img(80, 60, QImage::Format_RGB888);
    img.fill(QColor(0, 74, 74));
    EXPECT_EQ(frame->Printer().outputFileName(), pdf) << frame->Printer().printerName().toStdString();
    EXPECT_TRUE(PrintPicture(frame->Printer(), img));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF"));
    plt::Set(nullptr);
}

class Drops : public MenuBar {};

TEST_F(Drops, LocalFilesAreAcceptedOtherDataIsNot) {
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile("/tmp/a.scn")});
    QDragEnterEvent in(QPoint(10, 10), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &in);
    EXPECT_TRUE(in.isAccepted());

    QMimeData web;
    web.setUrls({QUrl("https://example.com/a.scn")});
    QDragEnterEvent out(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    out.ignore();
    QCoreApplication::sendEvent(frame.get(), &out);
    EXPECT_FALSE(out.isAccepted());

    QMimeData text;
    text.setText("a.scn");
    QDragEnterEvent plain(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    plain.ignore();
    QCoreApplication::sendEvent(frame.get(), &plain);
    EXPECT_FALSE(plain.isAccepted());
    EXPECT_TRUE(frame->acceptDrops());
}

}  // namespace

namespace {

using namespace shl;

// The sheet's frame shows the ground at its scale on every page and view: a chosen 1:N exactly, a
// fitted view whole at the smallest whole N; ticks at round values where the extent puts them, a
// scale bar of a round length; a picture that is no plan keeps its shape and gets none of them.
TEST(PrintSheet, FrameHoldsTheScaleTicksAndBarFollowIt) {
    struct Case {
        const char* name;
        QSizeF area;
        double viewW, viewH, scale;
    };
    const Case cases[] = {
        {"A4 wide at 1:50,000", {277, 190}, 10000, 7500, 50000},
        {"A4 high at 1:2,500", {190, 277}, 800, 600, 2500},
        {"letter wide, fitted to a wide view", {259.4, 205.9}, 6400, 4800, 0},
        {"A3 wide, fitted to a tall view", {400, 277}, 300, 2000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SheetIn in;
        in.plan = true;
        in.cx = 712345.5, in.cy = 9557000;
        in.viewW = c.viewW, in.viewH = c.viewH, in.scale = c.scale;
        const Sheet s = LaySheet(in, c.area);
        ASSERT_FALSE(s.frame.isEmpty());
        EXPECT_TRUE(QRectF(QPointF(0, 0), c.area).contains(s.frame));
        EXPECT_NEAR((s.x1 - s.x0) * 1000 / s.frame.width(), s.scale, 1e-6 * s.scale);
        EXPECT_NEAR((s.y1 - s.y0) * 1000 / s.frame.height(), s.scale, 1e-6 * s.scale);
        EXPECT_NEAR((s.x0 + s.x1) / 2, in.cx, 1e-6);
        if (c.scale > 0) {
            EXPECT_EQ(s.scale, c.scale);
        } else {
            EXPECT_EQ(s.scale, std::ceil(s.scale));
            EXPECT_GE(s.x1 - s.x0, c.viewW - 1e-6);
            EXPECT_GE(s.y1 - s.y0, c.viewH - 1e-6);
            // One less and the view would not fit.
            const double n = s.scale - 1;
            EXPECT_TRUE(s.frame.width() * n / 1000 < c.viewW || s.frame.height() * n / 1000 < c.viewH);
        }
        ASSERT_GE(s.xt.size(), 3u);
        ASSERT_GE(s.yt.size(), 3u);
        for (const Tick& t : s.xt) {
            EXPECT_TRUE(t.val >= s.x0 && t.val <= s.x1) << t.val;
            EXPECT_NEAR(t.at, s.frame.left() + (t.val - s.x0) / (s.x1 - s.x0) * s.frame.width(), 1e-6);
        }
        for (const Tick& t : s.yt) EXPECT_NEAR(t.at, s.frame.bottom() - (t.val - s.y0) / (s.y1 - s.y0) * s.frame.height(), 1e-6);
        const double step = s.xt[1].val - s.xt[0].val, p = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        EXPECT_TRUE(std::fabs(step / p - 1) < 1e-9 || std::fabs(step / p - 2) < 1e-9 || std::fabs(step / p - 5) < 1e-9) << step;
        EXPECT_NEAR(std::remainder(s.xt[0].val, step), 0, 1e-6 * step);
        EXPECT_NEAR(s.bar.width(), s.barM * 1000 / s.scale, 1e-9);
        EXPECT_LE(s.bar.width(), s.frame.width() / 4 + 1e-9);
        EXPECT_GT(s.bar.width(), s.frame.width() / 20);
    }
    SheetIn view3d;
    view3d.aspect = 2.0;
    const Sheet s = LaySheet(view3d, {277, 190});
    EXPECT_NEAR(s.frame.width() / s.frame.height(), 2.0, 1e-9);
    EXPECT_TRUE(s.xt.empty() && s.yt.empty());
    EXPECT_EQ(s.scale, 0);
    EXPECT_TRUE(LaySheet(view3d, {50, 40}).frame.isEmpty());
    EXPECT_EQ(ScaleText(50000), "1:50,000");
    EXPECT_EQ(LenText(2000), "2 km");
    EXPECT_EQ(LenText(500), "500 m");
}

}  // namespace
