// Printing of the view: one page laid out as a sheet (printlayout.h) with the document's name, the
// view at a chosen scale or fitted, coordinate ticks, scale bar, north arrow, legend and date.
#pragma once
#include <QImage>
#include <QString>
#include "printlayout.h"

class QPrinter;

namespace shl {

class MainFrame;
class MainView;

// The print layout dialog (id 192): the sheet's title, the view fitted or at 1:N.
constexpr int IdPrtDlg = 192;
constexpr int CtlPrtTitle = 1080, CtlPrtFit = 1081, CtlPrtScale = 1082;
struct PrintOpt {
    QString title;       // empty: the document's name
    bool fit = true;     // fit what the view shows; otherwise 1:scale
    double scale = 5000;
};
// The choice of the last layout dialog, kept for the run.
PrintOpt& CurPrintOpt();

// The picture to print: what the view shows, top row first; null when the view has drawn nothing.
QImage PrintImage(MainView* v);

// Prints img on one page of printer, stretched to the printable area. A null image beeps and
// shows "レンダリング・イメージがありません。" (caption "注意"); nothing is printed. A printer that
// cannot begin (none, or a file that cannot be written) shows why in a box. False when nothing
// was printed.
bool PrintPicture(QPrinter& printer, const QImage& img);

// What the sheet of frame's view holds with the options opt (title, plan or not, centre, extent,
// legend of the current display, today's date).
SheetIn SheetOf(MainFrame* frame, const PrintOpt& opt);
// Prints the sheet of frame's view on one page of printer, the view drawn again for the frame at
// the sheet's scale. Messages as PrintPicture's; a printed sheet writes one line to the message
// area (where, the scale, the page). False when nothing was printed.
bool PrintSheet(QPrinter& printer, MainFrame* frame, const PrintOpt& opt);
// The sheet as PrintSheet would print it, painted on a white image of a printable area of areaMm
// at pxPerMm pixels a millimetre (the journal's picture of a print). False when the view has drawn
// nothing.
bool SheetImage(MainFrame* frame, const PrintOpt& opt, const QSizeF& areaMm, double pxPerMm, QImage* out);
// The last sheet printed (or previewed) in this run, and where it went; empty title before any.
struct PrintedSheet {
    SheetIn in;
    Sheet sheet;
    QString where;
    bool done = false;
};
const PrintedSheet& LastSheet();

// The PDF file printed to on a machine without a printer: the document's name with ".pdf", beside
// the document (in the working directory for a document without a file).
QString PdfName(MainFrame* frame);

// The print commands of the File menu: print (layout dialog, then the print dialog), print
// preview, printer set-up.
void PrintCmd(MainFrame* frame, int id);

}  // namespace shl
