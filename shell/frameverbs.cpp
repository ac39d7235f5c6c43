#include "frameverbs.h"
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QMenuBar>
#include <QStatusBar>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressBar>
#include <QToolBar>
#include <QUrl>
#include "chkpanel.h"
#include "dlgrun.h"
#include "engcall.h"
#include "lexer.h"
#include "mainframe.h"
#include "mainview.h"
#include "printview.h"
#include <QPrinter>
#include "vkmap.h"

namespace shl {

namespace {

std::string Quoted(const QString& s) {
    QString t = s;
    t.replace('\n', QStringLiteral("\\n"));
    return "\"" + t.toStdString() + "\"";
}

// A click on the item: the action's own trigger, which a greyed item ignores.
void Menu(MainFrame* f, int id, const std::function<void(const std::string&)>& print) {
    f->UpdateUi();
    QAction* a = f->Action(id);
    if (!a->isEnabled() || !a->isVisible()) {
        print("menu " + std::to_string(id) + " disabled\n");
        return;
    }
    EngPause open;
    a->trigger();
    QCoreApplication::processEvents();
}

// The file dragged from a file manager and let go over the middle of the view.
void Drop(MainFrame* f, const std::string& path) {
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath())});
    const QPoint at = f->View()->geometry().center();
    EngPause open;
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f, &enter);
    if (enter.isAccepted()) {
        QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f, &drop);
    }
    delete mime;
    QCoreApplication::processEvents();
}

void DumpMenu(MainFrame* f, const std::function<void(const std::string&)>& print) {
    f->UpdateUi();
    for (int id : f->MenuIds()) {
        const QAction* a = f->Action(id);
        print("menu " + std::to_string(id) + " enabled=" + (a->isEnabled() ? "1" : "0") +
              " checked=" + (a->isChecked() ? "1" : "0") + " " + Quoted(a->text()) + "\n");
    }
}

void DumpWindow(MainFrame* f, const std::function<void(const std::string&)>& print) {
    f->UpdateUi();
    f->UpdHgtPane();
    int bars = 0;
    for (QToolBar* tb : f->Toolbars())
        if (tb->isVisibleTo(f)) ++bars;
    print("title " + Quoted(f->ShownTitle()) + "\n");
    print("status " + Quoted(f->StatusText()) + " " + Quoted(f->HgtPane()) + "\n");
    print("pointer " + Quoted(f->PtrPane()) + "\n");
    print("view " + Quoted(f->ViewPane()) + "\n");
    print("toolbars " + std::to_string(bars) + "\n");
    print(std::string("progress ") +
          (f->Progress() ? std::to_string(f->Progress()->value()) : std::string("none")) + "\n");
}

// Every text of the frame: title, status bar, menus with their items' texts, tips and status help,
// toolbars, the view's help.
void DumpTexts(MainFrame* f, const std::function<void(const std::string&)>& print) {
    DumpWindow(f, print);
    for (QAction* m : f->menuBar()->actions()) {
        if (!m->menu()) continue;
        print("menu " + Quoted(m->text()) + "\n");
        for (QAction* a : m->menu()->actions()) {
            if (a->isSeparator() || !a->isVisible()) continue;
            print("  item " + std::to_string(a->data().toInt()) + " " + Quoted(a->text()) + " tip " +
                  Quoted(a->toolTip()) + " status " + Quoted(a->statusTip()) + "\n");
        }
    }
    for (QToolBar* tb : f->Toolbars()) {
        print("toolbar " + Quoted(tb->windowTitle()) + "\n");
        for (QAction* a : tb->actions())
            if (!a->isSeparator())
                print("  button " + std::to_string(a->data().toInt()) + " tip " + Quoted(a->toolTip()) +
                      " status " + Quoted(a->statusTip()) + "\n");
    }
    print("view help " + Quoted(f->View()->whatsThis()) + "\n");
}

std::string Mm(double v) { return QString::number(v, 'f', 1).toStdString(); }

// The last sheet printed: title, kind and scale, where it went, its boxes in page millimetres,
// the extent of a plan in metres, the scale bar, the ticks and the legend (the date left out).
void DumpPrint(const std::function<void(const std::string&)>& print) {
    const PrintedSheet& p = LastSheet();
    if (!p.done) {
        print("print none\n");
        return;
    }
    const Sheet& s = p.sheet;
    print("print " + Quoted(p.in.title) + " plan=" + (p.in.plan ? "1" : "0") +
          (p.in.plan ? " scale=" + ScaleText(s.scale).toStdString() + " fit=" + (p.in.scale > 0 ? "0" : "1") : "") +
          " to " + Quoted(p.where) + "\n");
    print("area " + Mm(s.area.width()) + " " + Mm(s.area.height()) + "\n");
    print("frame " + Mm(s.frame.x()) + " " + Mm(s.frame.y()) + " " + Mm(s.frame.width()) + " " +
          Mm(s.frame.height()) + "\n");
    if (p.in.plan) {
        const auto m = [](double v) { return QString::number(v, 'f', 3).toStdString(); };
        print("extent " + m(s.x0) + " " + m(s.y0) + " " + m(s.x1) + " " + m(s.y1) + "\n");
        print("bar " + LenText(s.barM).toStdString() + " " + Mm(s.bar.width()) + " mm\n");
        std::string xs = "ticks x", ys = "ticks y";
        for (const Tick& t : s.xt) xs += " " + QString::number(t.val, 'g', 12).toStdString() + "@" + Mm(t.at);
        for (const Tick& t : s.yt) ys += " " + QString::number(t.val, 'g', 12).toStdString() + "@" + Mm(t.at);
        print(xs + "\n" + ys + "\n");
        print("north 1\n");
    }
    std::string l = "legend " + Quoted(p.in.legendTitle);
    for (const LegendItem& i : p.in.legend) l += " " + Quoted(i.text);
    print(l + "\n");
}

}  // namespace

bool FrameVerb(MainFrame* frame, const std::vector<std::string>& w, std::string* err,
               const std::function<void(const std::string&)>& print) {
    if (w.empty()) return false;
    const std::string& v = w[0];
    if (v == "menu") {
        int id = 0;
        if (w.size() != 2) {
            *err = w.size() < 2 ? "missing argument to menu" : "too many arguments to menu";
        } else if (!jrn::ParseInt(w[1], &id)) {
            *err = "'" + w[1] + "' is not an integer";
        } else if (!frame->Action(id)) {
            *err = "menu: no command " + w[1];
        } else {
            Menu(frame, id, print);
        }
        return err->empty();
    }
    if (v == "grab") {
        // The whole main window as a user sees it (menus, toolbars, docks, status bar) as a PNG.
        if (w.size() != 2) {
            *err = w.size() < 2 ? "missing argument to grab" : "too many arguments to grab";
            return false;
        }
        frame->UpdateUi();
        QCoreApplication::processEvents();
        if (!frame->grab().save(QString::fromStdString(w[1]), "PNG")) *err = "grab " + w[1] + ": cannot write";
        return err->empty();
    }
    if (v == "drop") {
        if (w.size() != 2)
            *err = w.size() < 2 ? "missing argument to drop" : "too many arguments to drop";
        else
            Drop(frame, w[1]);
        return err->empty();
    }
    if (v == "dump" && w.size() == 2 && w[1] == "checkpanel") {
        // The contour check panel as the user sees it now.
        frame->UpdateUi();
        const QStringList l = ChkPanelLines(frame);
        if (l.isEmpty()) {
            print("checkpanel none\n");
            return true;
        }
        print("checkpanel " + Quoted(l[0]) + " " + std::to_string(l.size() - 1) + "\n");
        for (int i = 1; i < l.size(); ++i) print("  " + l[i].toStdString() + "\n");
        return true;
    }
    if (v == "dump" && w.size() == 2 && w[1] == "print") {
        DumpPrint(print);
        return true;
    }
    if (v == "printsheet") {
        // `printsheet FILE [fit|N]`: the page the print command would print, as a PNG at four
        // pixels a millimetre, with the title of the layout dialog's choice.
        PrintOpt o = CurPrintOpt();
        int n = 0;
        if (w.size() < 2 || w.size() > 3 ||
            (w.size() == 3 && w[2] != "fit" && (!jrn::ParseInt(w[2], &n) || n < 1))) {
            *err = "printsheet: FILE [fit|N] expected";
            return false;
        }
        if (w.size() == 3) {
            o.fit = w[2] == "fit";
            if (!o.fit) o.scale = n;
        }
        EngPause open;
        QCoreApplication::processEvents();
        QImage img;
        const QSizeF area = frame->Printer().pageLayout().paintRect(QPageLayout::Millimeter).size();
        if (!SheetImage(frame, o, area, 4.0, &img)) {
            *err = "printsheet: the view has no picture";
            return false;
        }
        if (!img.save(QString::fromStdString(w[1]), "PNG")) {
            *err = "printsheet: cannot write " + w[1];
            return false;
        }
        return true;
    }
    if (v == "dump" && w.size() == 2 && w[1] == "log") {
        // The message log dock as shown, without its time column (HH:MM:SS and two blanks).
        const QStringList lines = frame->MsgLog().split('\n', Qt::SkipEmptyParts);
        print("log " + std::to_string(lines.size()) + "\n");
        for (const QString& l : lines) print("  " + l.mid(10).toStdString() + "\n");
        return true;
    }
    if (v == "dump" && w.size() == 2 && (w[1] == "menu" || w[1] == "window" || w[1] == "texts")) {
        if (w[1] == "menu")
            DumpMenu(frame, print);
        else if (w[1] == "texts")
            DumpTexts(frame, print);
        else
            DumpWindow(frame, print);
        return true;
    }
    if (v == "after") {
        // `after MS cancel` / `after MS key VK`: a click on the progress bar's Cancel button or a
        // key pressed MS milliseconds on, while the next long command runs.
        int ms = 0, vk = 0;
        const bool cancel = w.size() == 3 && w[2] == "cancel";
        const bool key = w.size() == 4 && w[2] == "key";
        if ((!cancel && !key) || !jrn::ParseInt(w[1], &ms) || ms < 0 || ms > 600000 ||
            (key && (!jrn::ParseInt(w[3], &vk) || vk < 0 || vk > 255))) {
            *err = "after: MS cancel or MS key VK expected";
            return false;
        }
        MainFrame* f = frame;
        QTimer::singleShot(ms, f, [f, cancel, vk, print] {
            if (cancel) {
                QPushButton* b = f->CancelButton();
                print(b && b->isVisible() && b->isEnabled() ? "after: cancel pressed\n" : "after: no cancel button\n");
                if (b && b->isEnabled()) b->click();
                return;
            }
            int mods = 0;
            const int k = VkToQtKey(vk, &mods);
            QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : f->View();
            QKeyEvent down(QEvent::KeyPress, k, Qt::KeyboardModifiers(mods));
            QKeyEvent up(QEvent::KeyRelease, k, Qt::KeyboardModifiers(mods));
            QCoreApplication::sendEvent(to, &down);
            QCoreApplication::sendEvent(to, &up);
            print("after: key " + std::to_string(vk) + "\n");
        });
        return true;
    }
    if (v == "dialogtexts") {
        if (w.size() != 2 || (w[1] != "on" && w[1] != "off")) {
            *err = "dialogtexts: on or off expected";
            return false;
        }
        SetDlgTextDump(w[1] == "on");
        return true;
    }
    return false;
}

}  // namespace shl
