#include "cursors.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace shl {

namespace {
constexpr int kSz = 32, kC = 15;  // pixmap size and hot spot

// Strokes drawn twice, wide in white then thin in black, so they show on any background.
void Outline(QPainter& p, const QPainterPath& path) {
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
    p.drawPath(path);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
    p.drawPath(path);
}

QPixmap Blank() {
    QPixmap pm(kSz, kSz);
    pm.fill(Qt::transparent);
    return pm;
}

// Crosshair with a gap at the centre; with box, a small square marks the pick aperture.
QCursor Cross(bool box) {
    QPixmap pm = Blank();
    QPainter p(&pm);
    QPainterPath path;
    const int g = box ? 5 : 3;
    path.moveTo(kC, 2);
    path.lineTo(kC, kC - g);
    path.moveTo(kC, kC + g);
    path.lineTo(kC, kSz - 3);
    path.moveTo(2, kC);
    path.lineTo(kC - g, kC);
    path.moveTo(kC + g, kC);
    path.lineTo(kSz - 3, kC);
    if (box) path.addRect(kC - 3, kC - 3, 6, 6);
    Outline(p, path);
    p.end();
    return QCursor(pm, kC, kC);
}

// The pick box with three level lines beside it: giving curves a height.
QCursor Level() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    QPainterPath path;
    path.addRect(kC - 3, kC - 3, 6, 6);
    path.moveTo(kC, 2);
    path.lineTo(kC, kC - 5);
    path.moveTo(2, kC);
    path.lineTo(kC - 5, kC);
    for (int i = 0; i < 3; ++i) {
        path.moveTo(kC + 6, kC + 6 + 4 * i);
        path.lineTo(kSz - 3, kC + 6 + 4 * i);
    }
    Outline(p, path);
    p.end();
    return QCursor(pm, kC, kC);
}

// Four arrows for moving curves.
QCursor Move() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath path;
    path.moveTo(kC, 3);
    path.lineTo(kC, kSz - 4);
    path.moveTo(3, kC);
    path.lineTo(kSz - 4, kC);
    const int a = 4;
    // Arrow heads.
    path.moveTo(kC - a, 3 + a);
    path.lineTo(kC, 3);
    path.lineTo(kC + a, 3 + a);
    path.moveTo(kC - a, kSz - 4 - a);
    path.lineTo(kC, kSz - 4);
    path.lineTo(kC + a, kSz - 4 - a);
    path.moveTo(3 + a, kC - a);
    path.lineTo(3, kC);
    path.lineTo(3 + a, kC + a);
    path.moveTo(kSz - 4 - a, kC - a);
    path.lineTo(kSz - 4, kC);
    path.lineTo(kSz - 4 - a, kC + a);
    Outline(p, path);
    p.end();
    return QCursor(pm, kC, kC);
}

// Magnifying glass, lens centred on the hot spot; mark: 0 none, 1 plus, 2 box.
QCursor Lens(int mark) {
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    constexpr int c = 11, r = 7;
    path.addEllipse(QPointF(c, c), r, r);
    path.moveTo(c + 5, c + 5);
    path.lineTo(kSz - 5, kSz - 5);
    if (mark == 1) {
        path.moveTo(c - 3, c);
        path.lineTo(c + 3, c);
        path.moveTo(c, c - 3);
        path.lineTo(c, c + 3);
    } else if (mark == 2) {
        path.addRect(c - 3, c - 3, 6, 6);
    }
    Outline(p, path);
    p.end();
    return QCursor(pm, c, c);
}

// The loupe while its box is dragged: the lens and an arrow into the quadrant of the drag
// (dx, dy: -1 or 1; y grows downwards).
QCursor LensDir(int dx, int dy) {
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    constexpr int c = 15;
    path.addEllipse(QPointF(c, c), 5, 5);
    const QPointF tip(c + dx * 13, c + dy * 13);
    path.moveTo(c + dx * 5, c + dy * 5);
    path.lineTo(tip);
    path.moveTo(tip.x() - dx * 5, tip.y());
    path.lineTo(tip);
    path.lineTo(tip.x(), tip.y() - dy * 5);
    Outline(p, path);
    p.end();
    return QCursor(pm, c, c);
}

// A circular arrow about the hot spot.
QCursor Turn() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    const QRectF box(kC - 10, kC - 10, 20, 20);
    path.arcMoveTo(box, 60);
    path.arcTo(box, 60, 300);
    const QPointF e = path.currentPosition();
    path.moveTo(e + QPointF(-6, -1));
    path.lineTo(e);
    path.lineTo(e + QPointF(-1, 6));
    path.addEllipse(QPointF(kC, kC), 1.5, 1.5);
    Outline(p, path);
    p.end();
    return QCursor(pm, kC, kC);
}

// A double arrow up and down (heights).
QCursor UpDown() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    QPainterPath path;
    path.moveTo(kC, 2);
    path.lineTo(kC, kSz - 3);
    path.moveTo(kC - 5, 7);
    path.lineTo(kC, 2);
    path.lineTo(kC + 5, 7);
    path.moveTo(kC - 5, kSz - 8);
    path.lineTo(kC, kSz - 3);
    path.lineTo(kC + 5, kSz - 8);
    path.moveTo(kC - 4, kC);
    path.lineTo(kC + 4, kC);
    Outline(p, path);
    p.end();
    return QCursor(pm, kC, kC);
}

// An eye (turning the gaze).
QCursor Eye() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    path.moveTo(3, kC);
    path.quadTo(kC, kC - 12, kSz - 4, kC);
    path.quadTo(kC, kC + 12, 3, kC);
    path.addEllipse(QPointF(kC, kC), 3.5, 3.5);
    Outline(p, path);
    p.end();
    return QCursor(pm, kC, kC);
}

// An arrow forward over the horizon (walking).
QCursor Walk() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    QPainterPath path;
    path.moveTo(kC, 3);
    path.lineTo(kC, kSz - 6);
    path.moveTo(kC - 6, 9);
    path.lineTo(kC, 3);
    path.lineTo(kC + 6, 9);
    path.moveTo(3, kSz - 6);
    path.lineTo(kSz - 4, kSz - 6);
    Outline(p, path);
    p.end();
    return QCursor(pm, kC, kC);
}

// An orbit over a summit (bird's-eye view).
QCursor Orbit() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    path.moveTo(4, kSz - 6);
    path.lineTo(kC, kC);
    path.lineTo(kSz - 5, kSz - 6);
    path.closeSubpath();
    path.addEllipse(QRectF(3, 4, kSz - 7, 10));
    Outline(p, path);
    p.end();
    return QCursor(pm, kC, kC);
}

const std::array<QCursor, CursorNum>& Table() {
    static std::array<QCursor, CursorNum> t = [] {
        std::array<QCursor, CursorNum> c;
        // Entries no mode of this application uses keep the plain crosshair.
        const QCursor cross = Cross(false);
        for (auto& e : c) e = cross;
        c[0] = QCursor(Qt::ArrowCursor);
        c[1] = LensDir(-1, 1);   // loupe box dragged left and down
        c[2] = LensDir(1, 1);    // right and down
        c[3] = LensDir(-1, -1);  // left and up
        c[4] = LensDir(1, -1);   // right and up
        c[5] = Cross(true);      // picking curves, regions, vertices
        c[6] = cross;            // point and stroke input, scale by distance
        c[7] = Lens(1);          // scaling the view
        c[8] = Turn();           // rotating the view
        c[9] = Move();           // moving curves, shifting the view
        c[10] = QCursor(Qt::WaitCursor);
        c[13] = UpDown();        // dragging vertex heights
        c[14] = Level();         // giving picked curves a height
        c[22] = Lens(2);         // loupe
        c[23] = Eye();           // walk-through: turning the gaze
        c[24] = Walk();          // walk-through: moving the eye
        c[25] = Orbit();         // bird's-eye view
        return c;
    }();
    return t;
}
}  // namespace

QCursor EngCursor(int index) {
    if (index < 0 || index >= CursorNum) return QCursor(Qt::ArrowCursor);
    return Table()[index];
}

}  // namespace shl
