// Printing of the view: one page, the picture as last drawn, stretched to the printable area.
#pragma once
#include <QImage>

class QPrinter;

namespace shl {

class MainFrame;
class MainView;

// The picture to print: what the view shows, top row first; null when the view has drawn nothing.
QImage PrintImage(MainView* v);

// Prints img on one page of printer, stretched to the printable area. A null image beeps and
// shows "レンダリング・イメージがありません。" (caption "注意"); nothing is printed. A printer that
// cannot begin (none, or a file that cannot be written) shows why in a box. False when nothing
// was printed.
bool PrintPicture(QPrinter& printer, const QImage& img);

// The PDF file printed to on a machine without a printer: the document's name with ".pdf", beside
// the document (in the working directory for a document without a file).
QString PdfName(MainFrame* frame);

// The print commands of the File menu: print (print dialog), print preview, printer set-up.
void PrintCmd(MainFrame* frame, int id);

}  // namespace shl
