// Modal dialogs and file dialogs, shown to the user or answered from a journal's queue.
#include "dlgrun.h"
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QSpacerItem>
#include <QTextDocument>
#include <algorithm>
#include <QTextBrowser>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QSpinBox>
#include <deque>
#include "dlgbase.h"
#include "tr.h"

std::function<void(QDialog& dlg, const QString& id)> DlgOpenHook;
std::function<void(const FileDlgReq& req)> FileDlgHook;

namespace {

std::function<void(const QString&)> gPrint;  // set while a journal answers the dialogs
std::deque<DlgAnswer> gDlgQ;
std::deque<QString> gFileQ;
QString gRefused;  // refusal of the dialog being answered
bool gTextDump = false;

QString Quoted(QString s) {
    s.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// Every text the dialog shows, in the order its controls were made.
void DumpTexts(QDialog& dlg, const QString& id) {
    const QString head = QStringLiteral("dialog %1 ").arg(id);
    gPrint(head + QStringLiteral("title ") + Quoted(dlg.windowTitle()));
    if (qobject_cast<QColorDialog*>(&dlg) || id == QLatin1String("print")) return;  // Qt's own
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        QStringList t;
        if (auto* l = qobject_cast<QLabel*>(w)) t << l->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) t << b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w)) t << g->title();
        else if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) t << c->itemText(i);
        else if (auto* tb = qobject_cast<QTextBrowser*>(w)) t = tb->toPlainText().split(QLatin1Char('\n'));
        if (!w->toolTip().isEmpty()) t << w->toolTip();
        for (const QString& s : t)
            if (!s.trimmed().isEmpty()) gPrint(head + QStringLiteral("text ") + Quoted(s));
    }
}

// Room a title bar takes besides its title (icon, buttons, margins), and the title's width with it.
constexpr int TitleRoom = 120;
int TitleWidth(const QDialog& d) {
    QFont f = d.font();
    f.setBold(true);
    return QFontMetrics(f).horizontalAdvance(d.windowTitle()) + TitleRoom;
}

bool QtOwn(QDialog& dlg, const QString& id) {
    return qobject_cast<QColorDialog*>(&dlg) || qobject_cast<QFileDialog*>(&dlg) || id == QLatin1String("print");
}

// A dialog narrower than its title would have the title cut ("Set Heig…g a Line"): it is made as
// wide as the title needs.
void FitTitle(QDialog& dlg, const QString& id) {
    QLayout* lay = dlg.layout();
    if (!lay || QtOwn(dlg, id)) return;
    lay->activate();
    const int need = TitleWidth(dlg) - lay->contentsMargins().left() - lay->contentsMargins().right();
    if (lay->sizeHint().width() >= TitleWidth(dlg)) return;
    lay->addItem(new QSpacerItem(need, 0, QSizePolicy::Fixed, QSizePolicy::Minimum));
    lay->activate();
}

// The texts the dialog's layout gives less room than they need (or its title bar), each as
// "dialog ID clipped TEXT" (dialogtexts).
void DumpClipped(QDialog& dlg, const QString& id) {
    if (!dlg.layout() || QtOwn(dlg, id)) return;
    // The size it would open at: its own when it set one, else its layout's.
    if (!dlg.testAttribute(Qt::WA_Resized)) dlg.adjustSize();
    dlg.layout()->activate();
    // A hidden dialog's inner layouts (group boxes) lay out on their first show: now, parents first.
    for (QWidget* w : dlg.findChildren<QWidget*>())
        if (w->layout()) w->layout()->activate();
    const QString head = QStringLiteral("dialog %1 clipped ").arg(id);
    if (dlg.width() < TitleWidth(dlg)) gPrint(head + Quoted(dlg.windowTitle()));
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&dlg)) continue;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->wordWrap() || l->text().isEmpty() || Qt::mightBeRichText(l->text())) continue;
            int most = 0;
            for (const QString& line : l->text().split(QLatin1Char('\n')))
                most = std::max(most, l->fontMetrics().horizontalAdvance(line));
            if (l->contentsRect().width() < most) gPrint(head + Quoted(l->text()));
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (!b->text().isEmpty() && b->width() < b->sizeHint().width()) gPrint(head + Quoted(b->text()));
        }
    }
}

bool ParseRgb(const QString& v, QColor* c) {
    const QStringList p = v.split(QLatin1Char(','));
    if (p.size() != 3) return false;
    int x[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        x[i] = p[i].trimmed().toInt(&ok);
        if (!ok || x[i] < 0 || x[i] > 255) return false;
    }
    *c = QColor(x[0], x[1], x[2]);
    return true;
}

enum SetRc { SetOk, SetRefused, SetBad };

// One control of an answer, set as the user would: typing into an edit ends by leaving it.
SetRc SetCtl(QDialog& dlg, const QString& name, const QString& val, QString* why) {
    if (auto* cd = qobject_cast<QColorDialog*>(&dlg)) {
        QColor c;
        if (!ParseRgb(val, &c)) {
            *why = QStringLiteral("not a colour R,G,B");
            return SetBad;
        }
        if (name == QLatin1String("rgb")) {
            cd->setCurrentColor(c);
            return SetOk;
        }
        if (name.startsWith(QLatin1String("custom"))) {
            bool ok = false;
            const int n = name.mid(6).toInt(&ok);
            if (ok && n >= 1 && n <= QColorDialog::customCount()) {
                QColorDialog::setCustomColor(n - 1, c);
                return SetOk;
            }
        }
        *why = QStringLiteral("no such control");
        return SetBad;
    }
    QWidget* w = dlg.findChild<QWidget*>(name);
    if (!w) {
        *why = QStringLiteral("no such control");
        return SetBad;
    }
    if (!w->isEnabled()) {
        *why = QStringLiteral("the control is disabled");
        return SetBad;
    }
    bool num = false;
    const int iv = val.toInt(&num);
    if (auto* cb = qobject_cast<QComboBox*>(w)) {
        if (!num || iv < 0 || iv >= cb->count()) {
            *why = QStringLiteral("no item %1").arg(val);
            return SetBad;
        }
        cb->setCurrentIndex(iv);
        return SetOk;
    }
    if (auto* sb = qobject_cast<QSpinBox*>(w)) {
        if (!num || iv < sb->minimum() || iv > sb->maximum()) {
            *why = shl::Tx::tr("%1 から %2 までの整数を入力してください。").arg(sb->minimum()).arg(sb->maximum());
            return SetRefused;
        }
        sb->setFocus();
        sb->setValue(iv);
        Q_EMIT sb->editingFinished();
        return SetOk;
    }
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        if (le->isReadOnly()) {
            *why = QStringLiteral("the field is read-only");
            return SetBad;
        }
        le->setText(val);
        Q_EMIT le->textEdited(val);
        Q_EMIT le->editingFinished();
        return SetOk;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        if (!num || (iv != 0 && iv != 1)) {
            *why = QStringLiteral("0 or 1");
            return SetBad;
        }
        if (b->isCheckable()) {
            if (b->isChecked() != (iv == 1)) b->click();
        } else if (iv == 1) {
            b->click();
        }
        return SetOk;
    }
    *why = QStringLiteral("the control takes no value");
    return SetBad;
}

int Answer(QDialog& dlg, const QString& id, const DlgAnswer& a) {
    QPointer<QDialog> guard(&dlg);
    bool closed = false;
    const QMetaObject::Connection cn =
        QObject::connect(&dlg, &QDialog::finished, [&closed](int) { closed = true; });
    const QString saved = gRefused;
    gRefused.clear();
    int rc = QDialog::Rejected;
    auto refuse = [&](const QString& msg) {
        gPrint(QStringLiteral("dialog %1 refused: %2").arg(id, msg));
        if (!closed) dlg.reject();
        rc = QDialog::Rejected;
    };
    bool done = false;
    for (const auto& [name, val] : a.ctl) {
        QString why;
        const SetRc r = SetCtl(dlg, name, val, &why);
        if (r == SetRefused) {
            refuse(why);
            done = true;
            break;
        }
        if (r == SetBad) {
            gPrint(QStringLiteral("dialog %1: %2=%3: %4").arg(id, name, val, why));
            if (!closed) dlg.reject();
            done = true;
            break;
        }
        if (!gRefused.isEmpty()) {
            refuse(gRefused);
            done = true;
            break;
        }
        if (closed) {
            rc = dlg.result();
            done = true;
            break;
        }
    }
    if (!done) {
        if (!a.ok) {
            dlg.reject();
        } else if (auto* ad = qobject_cast<shl::AltDlg*>(&dlg)) {
            QString msg;
            if (ad->TryOk(&msg)) rc = QDialog::Accepted;
            else refuse(msg);
        } else {
            dlg.accept();
            rc = QDialog::Accepted;
        }
        if (!closed && rc == QDialog::Rejected) dlg.reject();
    }
    QObject::disconnect(cn);
    gRefused = saved;
    return rc;
}

}  // namespace

int ExecDlg(QDialog& dlg, const QString& id) {
    FitTitle(dlg, id);
    if (!gPrint) return dlg.exec();
    if (gTextDump) {
        DumpTexts(dlg, id);
        DumpClipped(dlg, id);
    }
    if (DlgOpenHook) DlgOpenHook(dlg, id);
    for (auto it = gDlgQ.begin(); it != gDlgQ.end(); ++it) {
        if (it->id != id) continue;
        const DlgAnswer a = *it;
        gDlgQ.erase(it);
        return Answer(dlg, id, a);
    }
    gPrint(QStringLiteral("dialog %1 (unanswered)").arg(id));
    dlg.reject();
    return QDialog::Rejected;
}

QString AskFileName(QWidget* parent, const FileDlgReq& req, QString* selectedFilter) {
    if (gPrint) {
        if (FileDlgHook) FileDlgHook(req);
        if (gTextDump)
            gPrint(QStringLiteral("filedialog title %1 filter %2").arg(Quoted(req.caption), Quoted(req.filter)));
        if (selectedFilter) *selectedFilter = req.filter.section(QStringLiteral(";;"), 0, 0);
        if (gFileQ.empty()) {
            gPrint(QStringLiteral("filedialog (unanswered)"));
            return QString();
        }
        const QString p = gFileQ.front();
        gFileQ.pop_front();
        return p;
    }
    QString sel;
    QString path = req.save
        ? QFileDialog::getSaveFileName(parent, req.caption, req.dir, req.filter, &sel)
        : QFileDialog::getOpenFileName(parent, req.caption, req.dir, req.filter, &sel);
    if (selectedFilter) *selectedFilter = sel;
    return path;
}

void RefuseMsg(QWidget* dlg, const QString& msg) {
    if (gPrint) {
        if (gRefused.isEmpty()) gRefused = msg;
        return;
    }
    QMessageBox::warning(dlg, QStringLiteral("Orvane Altimetra"), msg);
}

void SetDlgTextDump(bool on) { gTextDump = on; }

void SetDlgScript(std::function<void(const QString& line)> print) {
    gPrint = std::move(print);
    if (!gPrint) {
        gTextDump = false;
        gDlgQ.clear();
        gFileQ.clear();
        gRefused.clear();
    }
}

bool DlgScripted() { return bool(gPrint); }

void QueueDlg(const DlgAnswer& a) { gDlgQ.push_back(a); }

void QueueFileDlg(const QString& path) { gFileQ.push_back(path); }

bool DlgVerb(const std::vector<std::string>& w, std::string* err) {
    err->clear();
    if (w.empty()) return false;
    if (w[0] == "filedialog") {
        if (w.size() != 2) {
            *err = w.size() < 2 ? "missing argument to filedialog" : "too many arguments to filedialog";
            return false;
        }
        QueueFileDlg(w[1] == "cancel" ? QString() : QString::fromStdString(w[1]));
        return true;
    }
    if (w[0] != "dialog") return false;
    if (w.size() < 3) {
        *err = "dialog: ID and ok or cancel expected";
        return false;
    }
    DlgAnswer a;
    const std::string& id = w[1];
    const bool named = id == "color" || id == "print" || id == "about" || id == "ogr";
    const bool number = !id.empty() && id.size() < 10 &&
                        id.find_first_not_of("0123456789") == std::string::npos;
    if (!named && !number) {
        *err = "dialog: '" + id + "' is not a dialog id (a number, color, print, about, ogr)";
        return false;
    }
    a.id = QString::fromStdString(id);
    const std::string& last = w.back();
    if (last != "ok" && last != "cancel") {
        *err = "dialog: the last word must be ok or cancel";
        return false;
    }
    a.ok = last == "ok";
    for (size_t i = 2; i + 1 < w.size(); ++i) {
        const size_t eq = w[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            *err = "dialog: '" + w[i] + "' is not CONTROL=VALUE";
            return false;
        }
        a.ctl.emplace_back(QString::fromStdString(w[i].substr(0, eq)),
                           QString::fromStdString(w[i].substr(eq + 1)));
    }
    QueueDlg(a);
    return true;
}
