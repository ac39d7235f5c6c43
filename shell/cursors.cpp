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

const std::array<QCursor, CursorNum>& Table() {
    static std::array<QCursor, CursorNum> t = [] {
        std::array<QCursor, CursorNum> c;
        const QCursor cross = Cross(false);
        for (auto& e : c) e = cross;
        c[0] = QCursor(Qt::ArrowCursor);
        c[5] = Cross(true);   // picking curves
        c[6] = cross;         // point and stroke input
        c[9] = Move();        // moving curves
        c[10] = QCursor(Qt::WaitCursor);
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
