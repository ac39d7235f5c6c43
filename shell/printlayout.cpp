#include "printlayout.h"
#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace shl {

namespace {

// Bands of the sheet (mm): the title above the frame, tick labels left of and below it, the scale,
// legend and north arrow under it.
constexpr double TitleH = 12, LeftW = 8, RightW = 3, TickH = 6, FootH = 26;
constexpr double NorthW = 16, ScaleW = 92;
constexpr double TickLen = 1.5;

// 1, 2 or 5 times a power of ten, the nearest to raw from below (up: from above).
double Nice(double raw, bool up) {
    if (!(raw > 0) || !std::isfinite(raw)) return 0;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    const double m = raw / p;
    if (up) return (m <= 1 ? 1 : m <= 2 ? 2 : m <= 5 ? 5 : 10) * p;
    return (m < 2 ? 1 : m < 5 ? 2 : 5) * p;
}

// Ticks of [lo, hi] (metres) at round values, five to twelve along the side.
std::vector<double> TickVals(double lo, double hi) {
    std::vector<double> v;
    const double step = Nice((hi - lo) / 5, false);
    if (!(step > 0)) return v;
    for (double t = std::ceil(lo / step) * step; t <= hi + step * 1e-9 && v.size() < 50; t += step) v.push_back(t);
    return v;
}

QString TickText(double v, double step) {
    const int dec = step >= 1 ? 0 : std::min(6, int(std::ceil(-std::log10(step) - 1e-9)));
    return QString::number(v, 'f', dec);
}

}  // namespace

QString ScaleText(double n) {
    return QStringLiteral("1:") + QLocale(QLocale::English).toString(static_cast<qlonglong>(std::llround(n)));
}

QString LenText(double m) {
    if (m >= 1000) return QString::number(m / 1000, 'g', 6) + QStringLiteral(" km");
    if (m >= 1) return QString::number(m, 'g', 6) + QStringLiteral(" m");
    return QString::number(m * 100, 'g', 6) + QStringLiteral(" cm");
}

Sheet LaySheet(const SheetIn& in, const QSizeF& areaMm) {
    Sheet s;
    s.area = QRectF(QPointF(0, 0), areaMm);
    if (areaMm.width() < SheetMinW || areaMm.height() < SheetMinH) return s;
    const QRectF room(LeftW, TitleH, areaMm.width() - LeftW - RightW, areaMm.height() - TitleH - TickH - FootH);
    const double footY = areaMm.height() - FootH;
    s.north = QRectF(areaMm.width() - NorthW, footY + 2, NorthW - RightW, FootH - 4);
    s.legend = QRectF(ScaleW + 4, footY + 2, s.north.left() - ScaleW - 8, FootH - 4);
    if (!in.plan) {
        // The picture as seen, as large as its shape allows.
        const double a = in.aspect > 0 ? in.aspect : 4.0 / 3.0;
        double w = room.width(), h = w / a;
        if (h > room.height()) h = room.height(), w = h * a;
        s.frame = QRectF(room.center().x() - w / 2, room.top(), w, h);
        return s;
    }
    s.frame = room;
    // mm of ground per mm of paper.
    double n = in.scale;
    if (!(n > 0)) n = std::ceil(std::max(in.viewW * 1000 / room.width(), in.viewH * 1000 / room.height()));
    if (!(n > 0) || !std::isfinite(n)) n = 1;
    s.scale = n;
    const double hw = room.width() * n / 2000, hh = room.height() * n / 2000;
    s.x0 = in.cx - hw, s.x1 = in.cx + hw;
    s.y0 = in.cy - hh, s.y1 = in.cy + hh;
    for (double v : TickVals(s.x0, s.x1))
        s.xt.push_back({v, room.left() + (v - s.x0) / (s.x1 - s.x0) * room.width()});
    for (double v : TickVals(s.y0, s.y1))
        s.yt.push_back({v, room.bottom() - (v - s.y0) / (s.y1 - s.y0) * room.height()});
    // A bar of a round length near a quarter of the frame, at most the scale's box.
    s.barM = Nice(std::min(room.width() / 4, ScaleW - 12) * n / 1000, false);
    const double barMm = s.barM * 1000 / n;
    s.bar = QRectF(2, footY + 11, barMm, 2.5);
    return s;
}

void DrawSheet(QPainter& p, const SheetIn& in, const Sheet& s, const QImage& pic, double k) {
    if (s.frame.isEmpty()) return;
    const auto px = [k](const QRectF& r) { return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k); };
    const auto pt = [k](double x, double y) { return QPointF(x * k, y * k); };
    const auto font = [k](double mm, bool bold = false) {
        QFont f(QStringLiteral("Sans Serif"));
        f.setPixelSize(std::max(1, int(std::lround(mm * k))));
        f.setBold(bold);
        return f;
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPen thin(Qt::black, std::max(1.0, 0.25 * k));

    // Title and date.
    p.setPen(Qt::black);
    p.setFont(font(5, true));
    p.drawText(px(QRectF(LeftW, 0, s.area.width() - LeftW - 40, TitleH - 2)), Qt::AlignLeft | Qt::AlignVCenter,
               in.title);
    p.setFont(font(3));
    p.drawText(px(QRectF(s.area.width() - 40 - RightW, 0, 40, TitleH - 2)), Qt::AlignRight | Qt::AlignVCenter,
               in.date);

    // The view and its frame.
    if (!pic.isNull()) p.drawImage(px(s.frame), pic);
    p.setPen(thin);
    p.setBrush(Qt::NoBrush);
    p.drawRect(px(s.frame));

    if (in.plan) {
        // Ticks on all four sides, values below and to the left.
        p.setFont(font(2.5));
        const double xs = s.xt.size() > 1 ? s.xt[1].val - s.xt[0].val : 1;
        const double ys = s.yt.size() > 1 ? s.yt[1].val - s.yt[0].val : 1;
        for (const Tick& t : s.xt) {
            p.drawLine(pt(t.at, s.frame.bottom()), pt(t.at, s.frame.bottom() + TickLen));
            p.drawLine(pt(t.at, s.frame.top()), pt(t.at, s.frame.top() - TickLen));
            p.drawText(px(QRectF(t.at - 15, s.frame.bottom() + TickLen, 30, TickH - TickLen)),
                       Qt::AlignHCenter | Qt::AlignTop, TickText(t.val, xs));
        }
        for (const Tick& t : s.yt) {
            p.drawLine(pt(s.frame.left(), t.at), pt(s.frame.left() - TickLen, t.at));
            p.drawLine(pt(s.frame.right(), t.at), pt(s.frame.right() + TickLen, t.at));
            // Read from below, as on a map's left margin.
            p.save();
            p.translate(pt(s.frame.left() - TickLen - 0.5, t.at));
            p.rotate(-90);
            p.drawText(QRectF(-15 * k, -(LeftW - TickLen - 1) * k, 30 * k, (LeftW - TickLen - 1) * k),
                       Qt::AlignHCenter | Qt::AlignBottom, TickText(t.val, ys));
            p.restore();
        }

        // Scale and bar: four segments, black and white.
        const double top = s.area.height() - FootH + 2;
        p.setFont(font(4, true));
        p.drawText(px(QRectF(2, top, ScaleW, 7)), Qt::AlignLeft | Qt::AlignVCenter, ScaleText(s.scale));
        for (int i = 0; i < 4; ++i) {
            const QRectF seg(s.bar.x() + s.bar.width() * i / 4, s.bar.y(), s.bar.width() / 4, s.bar.height());
            p.setBrush(i % 2 ? Qt::white : Qt::black);
            p.drawRect(px(seg));
        }
        p.setBrush(Qt::NoBrush);
        p.setFont(font(2.5));
        p.drawText(px(QRectF(s.bar.left() - 10, s.bar.bottom() + 0.5, 20, 4)), Qt::AlignHCenter | Qt::AlignTop,
                   QStringLiteral("0"));
        p.drawText(px(QRectF(s.bar.right() - 15, s.bar.bottom() + 0.5, 30, 4)), Qt::AlignHCenter | Qt::AlignTop,
                   LenText(s.barM));

        // North arrow: the plan is drawn north up.
        const QRectF& n = s.north;
        const double cx = n.center().x(), h = n.height();
        QPainterPath left, right;
        left.moveTo(pt(cx, n.top() + h * 0.3));
        left.lineTo(pt(cx - h * 0.18, n.bottom()));
        left.lineTo(pt(cx, n.bottom() - h * 0.15));
        left.closeSubpath();
        right.moveTo(pt(cx, n.top() + h * 0.3));
        right.lineTo(pt(cx + h * 0.18, n.bottom()));
        right.lineTo(pt(cx, n.bottom() - h * 0.15));
        right.closeSubpath();
        p.setBrush(Qt::black);
        p.drawPath(left);
        p.setBrush(Qt::white);
        p.drawPath(right);
        p.setBrush(Qt::NoBrush);
        p.setFont(font(4, true));
        p.drawText(px(QRectF(n.left(), n.top(), n.width(), h * 0.3)), Qt::AlignCenter, QStringLiteral("N"));
    }

    // Legend: its title, then swatches in columns.
    if (!in.legend.empty()) {
        const QRectF& l = s.legend;
        p.setFont(font(3, true));
        p.drawText(px(QRectF(l.left(), l.top(), l.width(), 5)), Qt::AlignLeft | Qt::AlignVCenter, in.legendTitle);
        p.setFont(font(2.5));
        const double colW = 34, rowH = 4.2;
        const int rows = std::max(1, int((l.height() - 5) / rowH));
        for (size_t i = 0; i < in.legend.size(); ++i) {
            const double x = l.left() + colW * double(int(i) / rows), y = l.top() + 5.5 + rowH * double(int(i) % rows);
            if (x + colW > l.right() + 0.01) break;
            p.setBrush(in.legend[i].col);
            p.drawRect(px(QRectF(x, y, 5, 3)));
            p.setBrush(Qt::NoBrush);
            p.drawText(px(QRectF(x + 6.5, y - 0.5, colW - 7, 4)), Qt::AlignLeft | Qt::AlignVCenter, in.legend[i].text);
        }
    }
    p.restore();
}

}  // namespace shl
