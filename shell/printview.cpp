#include "printview.h"
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QDir>
#include <QFileInfo>
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
    if (!painter.begin(&printer)) {
        // Without a printer (or with a file that cannot be written) Qt draws nothing and says
        // nothing: say it, and where the way out is.
        const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
        const QString t =
            pdf ? QDir::toNativeSeparators(printer.outputFileName()) +
                      Tx::tr("\n印刷を始められませんでした。このファイルに書き込めません。")
                : Tx::tr("印刷を始められませんでした。プリンターが見つからないか、使えません。\n"
                         "印刷ダイアログでプリンターに「PDF」を選び、ファイル名を指定すると、"
                         "ファイルに印刷できます。");
        MsgBoxId = 0;
        plt::Get()->MsgBox(t.toUtf8().constData(), "注意", plt::BtnOk, plt::IconWarning);
        return false;
    }
    // Device pixels of the printable area; the picture fills it whatever its aspect.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.drawImage(QRect(0, 0, page.width(), page.height()), img);
    return painter.end();
}

QString PdfName(MainFrame* frame) {
    // The document's name without " - Orvane Altimetra" and without its extension.
    QString doc = frame->ShownTitle().section(QStringLiteral(" - "), 0, 0);
    if (doc.endsWith(QLatin1Char('*'))) doc.chop(1);
    const QFileInfo fi(doc);
    const QString dir = fi.isAbsolute() ? fi.absolutePath() : QDir::currentPath();
    return QDir(dir).filePath(fi.completeBaseName() + QStringLiteral(".pdf"));
}

void PrintCmd(MainFrame* frame, int id) {
    QPrinter& printer = frame->Printer();
    switch (id) {
    case IdFilePrint: {
        // The picture is taken before the dialog covers the view.
        const QImage img = PrintImage(frame->View());
        // A machine without a printer prints to a PDF file, whose name the dialog shows.
        // (Qt may have chosen PDF itself, but then names the file after the window title.)
        if (QPrinterInfo::availablePrinters().isEmpty() && printer.outputFileName().isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(PdfName(frame));
        }
        QPrintDialog dlg(&printer, frame);
        dlg.setMinMax(1, 1);  // one page
        dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
        if (ExecDlg(dlg, QStringLiteral("print")) != QDialog::Accepted) return;
        // With no printer the dialog's OK can leave no output at all: the PDF file is the output.
        if (QPrinterInfo::availablePrinters().isEmpty() && printer.outputFileName().isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(PdfName(frame));
        }
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
