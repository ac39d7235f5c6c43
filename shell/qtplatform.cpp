#include "qtplatform.h"
#include <GL/gl.h>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <cstdio>
#include <string>
#include <vector>
#include "cursors.h"
#include "mainframe.h"
#include "mainview.h"
#include "lang.h"
#include "tr.h"

namespace shl {


int QtPlatform::MsgBox(const char* jaText, const char* jaCaption, int buttons, int icon) {
    const std::string txt = BoxText(jaText), cap = BoxText(jaCaption);
    const char* text = txt.c_str();
    const char* caption = cap.c_str();
    if (boxHook) return boxHook(text, caption, buttons, icon);
    QMessageBox::Icon qi = QMessageBox::NoIcon;
    switch (icon) {
    case plt::IconInfo: qi = QMessageBox::Information; break;
    case plt::IconError: qi = QMessageBox::Critical; break;
    case plt::IconWarning: qi = QMessageBox::Warning; break;
    default: break;
    }
    QMessageBox box(qi, QString::fromUtf8(caption), QString::fromUtf8(text), QMessageBox::NoButton,
                    frame_);
    if (buttons == plt::BtnYesNo) {
        QPushButton* yes = box.addButton(Tx::tr("はい(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(Tx::tr("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? plt::AnsYes : plt::AnsNo;
    }
    if (buttons == plt::BtnYesNoCancel) {
        QPushButton* yes = box.addButton(Tx::tr("はい(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(Tx::tr("いいえ(&N)"), QMessageBox::NoRole);
        QPushButton* cancel = box.addButton(Tx::tr("キャンセル"), QMessageBox::RejectRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == yes) return plt::AnsYes;
        return box.clickedButton() == no ? plt::AnsNo : plt::AnsCancel;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return plt::AnsOk;
}

void QtPlatform::Beep() { QApplication::beep(); }

void QtPlatform::SetCursor(int index) {
    if (MainView* v = CurView()) v->setCursor(EngCursor(index));
}

void QtPlatform::PumpMessages(int max) {
    // Qt does not count messages; a few milliseconds per message keeps the bound.
    QCoreApplication::processEvents(QEventLoop::AllEvents, std::max(1, max) * 5);
}

void QtPlatform::Notify(int id, long wparam) {
    if (frame_) frame_->Notify(id, wparam);
}

void QtPlatform::Console(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

void QtPlatform::HelpText(const char* text) {
    if (frame_) frame_->ShowHelp(QString::fromUtf8(text ? text : ""));
}

bool QtPlatform::GLMakeCurrent(int win) {
    MainView* v = CurView();
    if (!v) return false;
    if (win < 0) {
        v->GLDoneCurrent();
        return false;
    }
    return win == 0 && v->GLMakeCurrent();
}

// The view makes its context and buffers itself when it is first shown.
bool QtPlatform::GLCreate(int win) {
    MainView* v = CurView();
    return win == 0 && v && v->GLReady();
}

void QtPlatform::GLRelease(int) {}

bool QtPlatform::GLHasWindow(int win) {
    MainView* v = CurView();
    return win == 0 && v && v->GLReady();
}

void QtPlatform::GLDrawBuffer(int win, int buf) {
    if (MainView* v = CurView(); v && win == 0) v->GLDrawBuffer(buf);
}

void QtPlatform::GLSwap(int win) {
    if (MainView* v = CurView(); v && win == 0) v->GLSwap();
}

void QtPlatform::GLFlushFront(int win) {
    if (MainView* v = CurView(); v && win == 0) v->GLFlushFront();
}

bool QtPlatform::GLFontLists(int win, int first, int count, int base) {
    if (!GLMakeCurrent(win)) return false;
    return MakeFontLists(first, count, base);
}

int QtPlatform::DisplayDepth() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->depth() : 24;
}

bool MakeFontLists(int first, int count, int base) {
    if (count <= 0) return true;
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setStyleHint(QFont::Monospace);
    f.setPixelSize(12);
    f.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics fm(f);
    const int h = fm.height(), asc = fm.ascent(), desc = fm.descent();
    std::vector<uint8_t> bits;

    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    for (int i = 0; i < count; ++i) {
        const int ch = first + i;
        const bool printable = ch >= 32 && ch < 127;
        const QChar qc(ch);
        const int adv = printable ? fm.horizontalAdvance(qc) : 0;
        const int w = std::max(adv, 1);
        QImage img(w, h, QImage::Format_Grayscale8);
        img.fill(0);
        if (printable) {
            QPainter p(&img);
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(0, asc, QString(qc));
        }
        const int rowBytes = (w + 7) / 8;
        bits.assign(size_t(rowBytes) * h, 0);
        for (int y = 0; y < h; ++y) {
            const uchar* src = img.constScanLine(h - 1 - y);  // bitmaps run bottom-up
            uint8_t* dst = bits.data() + size_t(y) * rowBytes;
            for (int x = 0; x < w; ++x)
                if (src[x] > 127) dst[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
        glNewList(GLuint(base + i), GL_COMPILE);
        glBitmap(w, h, 0.0f, float(desc), float(adv), 0.0f, bits.data());
        glEndList();
    }
    glPopClientAttrib();
    return glGetError() == GL_NO_ERROR;
}

}  // namespace shl
