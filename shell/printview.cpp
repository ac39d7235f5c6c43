#include "printview.h"
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include "cmdids.h"
#include "core/msg.h"
#include "dlgrun.h"
#include "mainframe.h"
#include "mainview.h"
#include "platform/platform.h"
#include "tr.h"

namespace shl {

QImage PrintImage(MainView* v) {
    if (!v || !v->HasPicture()) return QImage();
    return v->Picture();
}

bool PrintPicture(QPrinter& printer, const QImage& img) {
    if (img.isNull()) {
        plt::Platform* p = plt::Get();
        p->Beep();
        MsgBoxId = 0;  // a box with its own text
        p->MsgBox(QT_TRANSLATE_NOOP("Altimetra", "レンダリング・イメージがありません。"), "注意", plt::BtnOk, plt::IconWarning);
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // Device pixels of the printable area; the picture fills it whatever its aspect.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.drawImage(QRect(0, 0, page.width(), page.height()), img);
    return painter.end();
}

void PrintCmd(MainFrame* frame, int id) {
    QPrinter& printer = frame->Printer();
    switch (id) {
    case IdFilePrint: {
        // The picture is taken before the dialog covers the view.
        const QImage img = PrintImage(frame->View());
        QPrintDialog dlg(&printer, frame);
        dlg.setMinMax(1, 1);  // one page
        if (ExecDlg(dlg, QStringLiteral("print")) != QDialog::Accepted) return;
        PrintPicture(printer, img);
        break;
    }
    case IdFilePrintPreview: {
        const QImage img = PrintImage(frame->View());
        if (img.isNull()) {
            PrintPicture(printer, img);  // the message
            return;
        }
        QPrintPreviewDialog dlg(&printer, frame);
        dlg.setWindowTitle(Tx::tr("印刷プレビュー"));
        QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                         [&img](QPrinter* p) { PrintPicture(*p, img); });
        ExecDlg(dlg, QStringLiteral("preview"));
        break;
    }
    case IdFilePrintSetup: {
        QPageSetupDialog dlg(&printer, frame);
        ExecDlg(dlg, QStringLiteral("printsetup"));
        break;
    }
    default:
        break;
    }
}

}  // namespace shl
