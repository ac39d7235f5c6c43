// The printed sheet: the document's name, the view in a frame at a scale (1:N) or fitted,
// coordinate ticks round the frame, a scale bar, a north arrow, the legend of the display and the
// date. LaySheet places everything in page millimetres; DrawSheet paints it. Neither knows the
// engine: printview.cpp gathers what goes on the sheet.
#pragma once
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace shl {

struct LegendItem {
    QColor col;
    QString text;
};

// What goes on the sheet.
struct SheetIn {
    QString title, date;
    // A north-up plan (the 2D view in parallel projection): the scale, ticks, scale bar and north
    // arrow hold. Otherwise the picture is printed as seen, with none of them.
    bool plan = false;
    double cx = 0, cy = 0;        // plan: real-world centre of the view (metres)
    double viewW = 0, viewH = 0;  // plan: what the view shows (metres)
    double scale = 0;             // plan: N of 1:N; 0 fits what the view shows into the frame
    double aspect = 4.0 / 3.0;    // not a plan: the picture's width over its height
    QString legendTitle;
    std::vector<LegendItem> legend;
};

// A coordinate tick: its value (metres) and its place along the frame's side (page mm).
struct Tick {
    double val;
    double at;
};

// Where everything lands, in millimetres from the printable area's top-left corner.
struct Sheet {
    QRectF area;                        // the printable area
    QRectF frame;                       // the view
    double scale = 0;                   // N of 1:N (plan)
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // real-world extent of the frame (metres, plan)
    double barM = 0;                    // length of the scale bar (metres, plan)
    QRectF bar;                         // the scale bar
    std::vector<Tick> xt, yt;           // ticks along the frame's bottom (x) and left side (y)
    QRectF legend, north;
};

// Page sizes below this (mm) cannot hold the sheet: LaySheet gives an empty frame.
constexpr double SheetMinW = 80, SheetMinH = 60;

// Lays the sheet out on a printable area of areaMm (width x height, millimetres).
Sheet LaySheet(const SheetIn& in, const QSizeF& areaMm);

// Paints the sheet on p, whose device shows the printable area at pxPerMm pixels a millimetre
// from (0, 0). pic is the view drawn for the frame (for a plan, exactly the frame's extent); a
// null picture leaves the frame white.
void DrawSheet(QPainter& p, const SheetIn& in, const Sheet& s, const QImage& pic, double pxPerMm);

// Scale and distance texts: "1:5,000", "200 m", "1.5 km".
QString ScaleText(double n);
QString LenText(double m);

}  // namespace shl
