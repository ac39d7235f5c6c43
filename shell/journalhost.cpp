#include "journalhost.h"
#include <QCoreApplication>
#include <QImageWriter>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QMouseEvent>
#include <QSaveFile>
#include <QUrl>
#include "core/mode.h"
#include "dlgrun.h"
#include "engcall.h"
#include "profile.h"
#include "recovery.h"
#include "registry.h"
#include "frameverbs.h"
#include "mainframe.h"
#include "mainview.h"
#include "vkmap.h"

namespace shl {

int JournalHost::Run(const QString& path) {
    jrn::Options opt;
    opt.startEngine = false;  // the application has started it
    opt.endEngine = false;    // and ends it at exit
    // The journal is one long engine call: paints between its lines go through Idle, and window
    // events that arrive inside a command do not start another one.
    EngCall busy;
    // Dialogs take their answers from the journal while it runs.
    SetDlgScript([this](const QString& line) { Print(line.toStdString() + "\n"); });
    // The home page is not opened in a browser while a journal drives the window.
    auto openUrl = frame_->openUrl;
    frame_->openUrl = [](const QUrl&) { return true; };
    const int rc = jrn::RunFile(path.toStdString(), *this, opt);
    frame_->openUrl = openUrl;
    SetDlgScript(nullptr);
    return rc;
}

bool JournalHost::Resize(int w, int h) {
    EngPause open;
    MainView* v = frame_->View();
    if (v->PixelSize() == QSize(w, h)) return false;  // no size event: the runner resizes
    frame_->SetViewSize(w, h);
    QCoreApplication::processEvents();
    if (v->PixelSize() != QSize(w, h))
        Error(QString("journal: the view measures %1 x %2, not %3 x %4\n")
                  .arg(v->PixelSize().width())
                  .arg(v->PixelSize().height())
                  .arg(w)
                  .arg(h)
                  .toStdString());
    return true;
}

bool JournalHost::Pointer(int x, int y, int type) {
    MainView* v = frame_->View();
    const qreal r = v->devicePixelRatioF();
    // Device pixels to the view's coordinates; the centre of the pixel maps back to it.
    const QPointF p((x + 0.5) / r, (y + 0.5) / r);
    QEvent::Type t;
    Qt::MouseButton b = Qt::NoButton;
    switch (type) {
    case 1: t = QEvent::MouseButtonPress; b = Qt::LeftButton; leftDown_ = true; break;
    case 2: t = QEvent::MouseButtonRelease; b = Qt::LeftButton; leftDown_ = false; break;
    case 5: t = QEvent::MouseButtonPress; b = Qt::RightButton; rightDown_ = true; break;
    case 6: t = QEvent::MouseButtonRelease; b = Qt::RightButton; rightDown_ = false; break;
    case 7: t = QEvent::MouseMove; break;
    default: return false;
    }
    Qt::MouseButtons held;
    if (leftDown_) held |= Qt::LeftButton;
    if (rightDown_) held |= Qt::RightButton;
    QMouseEvent e(t, p, v->mapToGlobal(p), b, held, Qt::NoModifier);
    EngPause open;
    QCoreApplication::sendEvent(v, &e);
    return true;
}

bool JournalHost::Key(int vk, int type) {
    int mods = 0;
    const int key = VkToQtKey(vk, &mods);
    if (!key || (type != EVT_KEYDOWN && type != EVT_KEYUP)) return false;
    QKeyEvent e(type == EVT_KEYDOWN ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::KeyboardModifiers(mods));
    EngPause open;
    QCoreApplication::sendEvent(frame_->View(), &e);
    return true;
}

// One wheel event of the notches, at the centre of the device pixel, as a mouse sends it.
bool JournalHost::Wheel(int x, int y, int clicks) {
    MainView* v = frame_->View();
    const qreal r = v->devicePixelRatioF();
    const QPointF p((x + 0.5) / r, (y + 0.5) / r);
    QWheelEvent e(p, v->mapToGlobal(p), QPoint(), QPoint(0, 120 * clicks), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    EngPause open;
    QCoreApplication::sendEvent(v, &e);
    return true;
}

bool JournalHost::Tick() {
    EngPause open;
    frame_->View()->Tick();
    return true;
}

bool JournalHost::Snapshot(const std::string& path, std::string* err) {
    EngPause open;
    QCoreApplication::processEvents();
    const QImage img = frame_->View()->Picture();
    if (img.isNull()) {
        *err = "the view has no picture";
        return false;
    }
    // Written aside and renamed, so a failed write leaves no half picture behind.
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly)) {
        *err = f.errorString().toStdString();
        return false;
    }
    QImageWriter w(&f, "png");
    if (!w.write(img)) {
        *err = w.errorString().toStdString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        *err = f.errorString().toStdString();
        return false;
    }
    return true;
}


void JournalHost::Idle() {
    EngPause open;
    QCoreApplication::processEvents();
}

// ---- window verbs: dialog answers ----

void JournalHost::Begun() {
    if (Recovery* r = AppRecovery()) r->Offer();
}

bool JournalHost::WindowVerb(const std::vector<std::string>& words, std::string* err) {
    if (words.size() == 1 && words[0] == "autosave") {
        // The recovery copy, written now and waited for.
        Recovery* r = AppRecovery();
        QString why;
        if (!r) {
            *err = "autosave: no recovery copies in this run";
            return false;
        }
        if (!r->WriteNow(true, &why)) Print("autosave failed: " + why.toStdString() + "\n");
        return true;
    }
    if (words.size() == 2 && words[0] == "dump" && words[1] == "profile") {
        // The profile as it would be written at exit, key by key in write order.
        for (const ProfileEntry& p : ProfileEntries(CurProfile()))
            Print(jrn::Quote(p.sec.toUtf8().constData()) + " " + jrn::Quote(p.key.toUtf8().constData()) +
                  " " + jrn::Quote(p.val.toUtf8().constData()) + "\n");
        return true;
    }
    std::string e;
    if (DlgVerb(words, &e)) return true;
    if (!e.empty()) {  // a dialog answer, malformed
        *err = e;
        return false;
    }
    return FrameVerb(frame_, words, err, [this](const std::string& s) { Print(s); });
}

}  // namespace shl
