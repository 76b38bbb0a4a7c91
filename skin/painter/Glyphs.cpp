#include "Glyphs.h"

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace keyloom::painter {
namespace {

QPen strokePen(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawChevron(QPainter& painter, const QPointF& c, qreal s, qreal dx, qreal dy) {
    // A "<" rotated so that it points along (dx, dy).
    const QPointF tip(c.x() + dx * s * 0.5, c.y() + dy * s * 0.5);
    const QPointF back(c.x() - dx * s * 0.5, c.y() - dy * s * 0.5);
    const QPointF side(-dy * s, dx * s);
    QPolygonF line{back + side, tip, back - side};
    painter.drawPolyline(line);
}

void drawArrow(QPainter& painter, const QRectF& box, const QColor& colour, bool up) {
    const QPointF c = box.center();
    const qreal s = std::min(box.width(), box.height()) * 0.5;
    const qreal dir = up ? -1 : 1;
    QPolygonF head{QPointF(c.x(), c.y() + dir * s * 0.8), QPointF(c.x() - s * 0.6, c.y()),
                   QPointF(c.x() + s * 0.6, c.y())};
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(head);
    painter.drawRect(QRectF(c.x() - s * 0.18, up ? c.y() : c.y() - s * 0.75, s * 0.36, s * 0.75));
}

}  // namespace

void drawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(box.width(), box.height());
    const QPointF c = box.center();
    const qreal w = std::max<qreal>(1.4, s / 11.0);
    painter.setPen(strokePen(colour, w));
    painter.setBrush(Qt::NoBrush);

    switch (glyph) {
        case Glyph::Help: {
            painter.drawEllipse(c, s * 0.42, s * 0.42);
            QPainterPath hook;
            hook.moveTo(c.x() - s * 0.14, c.y() - s * 0.12);
            hook.cubicTo(c.x() - s * 0.14, c.y() - s * 0.30, c.x() + s * 0.16, c.y() - s * 0.30,
                         c.x() + s * 0.15, c.y() - s * 0.12);
            hook.cubicTo(c.x() + s * 0.14, c.y() + s * 0.0, c.x(), c.y() - s * 0.0, c.x(),
                         c.y() + s * 0.10);
            painter.drawPath(hook);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(c.x(), c.y() + s * 0.25), w * 0.7, w * 0.7);
            break;
        }
        case Glyph::Menu:
            for (int i = -1; i <= 1; ++i) {
                painter.drawLine(QPointF(c.x() - s * 0.32, c.y() + i * s * 0.24),
                                 QPointF(c.x() + s * 0.32, c.y() + i * s * 0.24));
            }
            break;
        case Glyph::Minimize:
            painter.drawLine(QPointF(c.x() - s * 0.3, c.y() + s * 0.05),
                             QPointF(c.x() + s * 0.3, c.y() + s * 0.05));
            break;
        case Glyph::Close:
            painter.drawLine(QPointF(c.x() - s * 0.26, c.y() - s * 0.26),
                             QPointF(c.x() + s * 0.26, c.y() + s * 0.26));
            painter.drawLine(QPointF(c.x() + s * 0.26, c.y() - s * 0.26),
                             QPointF(c.x() - s * 0.26, c.y() + s * 0.26));
            break;
        case Glyph::Globe: {
            const qreal r = s * 0.4;
            painter.drawEllipse(c, r, r);
            painter.drawEllipse(c, r * 0.42, r);
            painter.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
            painter.drawLine(QPointF(c.x() - r * 0.85, c.y() - r * 0.5),
                             QPointF(c.x() + r * 0.85, c.y() - r * 0.5));
            painter.drawLine(QPointF(c.x() - r * 0.85, c.y() + r * 0.5),
                             QPointF(c.x() + r * 0.85, c.y() + r * 0.5));
            break;
        }
        case Glyph::Community: {
            // Two speech bubbles.
            const QRectF back(c.x() - s * 0.40, c.y() - s * 0.34, s * 0.52, s * 0.38);
            const QRectF front(c.x() - s * 0.08, c.y() - s * 0.10, s * 0.50, s * 0.36);
            painter.drawRoundedRect(back, s * 0.1, s * 0.1);
            painter.setBrush(colour);
            painter.drawRoundedRect(front, s * 0.1, s * 0.1);
            QPolygonF tail{QPointF(front.right() - s * 0.12, front.bottom() - 1),
                           QPointF(front.right() - s * 0.02, front.bottom() + s * 0.14),
                           QPointF(front.right() - s * 0.24, front.bottom() - 1)};
            painter.drawPolygon(tail);
            break;
        }
        case Glyph::Gallery: {
            const QRectF frame(c.x() - s * 0.38, c.y() - s * 0.30, s * 0.76, s * 0.60);
            painter.drawRoundedRect(frame, s * 0.08, s * 0.08);
            QPolygonF hills{QPointF(frame.left() + s * 0.06, frame.bottom() - s * 0.08),
                            QPointF(frame.left() + s * 0.26, frame.top() + s * 0.30),
                            QPointF(frame.left() + s * 0.42, frame.bottom() - s * 0.2),
                            QPointF(frame.left() + s * 0.52, frame.top() + s * 0.36),
                            QPointF(frame.right() - s * 0.06, frame.bottom() - s * 0.08)};
            painter.drawPolyline(hills);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(frame.right() - s * 0.18, frame.top() + s * 0.16), s * 0.06,
                                s * 0.06);
            break;
        }
        case Glyph::Record:
            painter.drawEllipse(c, s * 0.38, s * 0.38);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(c, s * 0.2, s * 0.2);
            break;
        case Glyph::Profiles:
            for (int i = 0; i < 3; ++i) {
                const qreal y = c.y() - s * 0.22 + i * s * 0.22;
                const qreal inset = (2 - i) * s * 0.06;
                painter.drawRoundedRect(
                    QRectF(c.x() - s * 0.36 + inset, y - s * 0.08, s * 0.72 - 2 * inset, s * 0.16),
                    s * 0.05, s * 0.05);
            }
            break;
        case Glyph::Reset: {
            const qreal r = s * 0.34;
            const QRectF ring(c.x() - r, c.y() - r, 2 * r, 2 * r);
            painter.drawArc(ring, 100 * 16, 290 * 16);
            // Arrow head at the start of the arc.
            const qreal a = 100.0 * std::numbers::pi / 180.0;
            const QPointF tip(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
            QPolygonF head{tip + QPointF(-s * 0.02, -s * 0.16), tip + QPointF(s * 0.16, s * 0.02),
                           tip + QPointF(-s * 0.10, s * 0.12)};
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawPolygon(head);
            break;
        }
        case Glyph::ChevronLeft:
            drawChevron(painter, c, s * 0.36, -1, 0);
            break;
        case Glyph::ChevronRight:
            drawChevron(painter, c, s * 0.36, 1, 0);
            break;
        case Glyph::ChevronUp:
            drawChevron(painter, c, s * 0.36, 0, -1);
            break;
        case Glyph::ChevronDown:
            drawChevron(painter, c, s * 0.36, 0, 1);
            break;
        case Glyph::ArrowUp:
            drawArrow(painter, box, colour, true);
            break;
        case Glyph::ArrowDown:
            drawArrow(painter, box, colour, false);
            break;
    }
    painter.restore();
}

void drawLogoMark(QPainter& painter, const QRectF& box, const QColor& accent,
                  const QColor& thread) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(box.width(), box.height());
    const QRectF cap(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    painter.drawRoundedRect(cap, s * 0.24, s * 0.24);

    // Two warp and two weft threads woven into a '#': at each crossing one
    // thread passes over the other, alternating, with a little air around
    // the one on top.
    const qreal w = s * 0.12;
    const qreal air = s * 0.05;
    const qreal lo = s * 0.36;
    const qreal hi = s * 0.64;
    const qreal from = s * 0.18;
    const qreal to = s * 0.82;
    const qreal positions[2] = {lo, hi};
    QPen pen(thread, w);
    pen.setCapStyle(Qt::RoundCap);
    auto at = [&](qreal x, qreal y) { return cap.topLeft() + QPointF(x, y); };
    auto horizontalOnTop = [](int i, int j) { return (i + j) % 2 == 1; };

    painter.setPen(pen);
    for (qreal y : positions) {
        painter.drawLine(at(from, y), at(to, y));
    }
    // Open the weft where a warp thread passes over it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            if (!horizontalOnTop(i, j)) {
                const QPointF c = at(positions[i], positions[j]);
                painter.drawRect(
                    QRectF(c.x() - w / 2 - air, c.y() - w / 2 - 0.5, w + 2 * air, w + 1));
            }
        }
    }
    painter.setPen(pen);
    for (qreal x : positions) {
        painter.drawLine(at(x, from), at(x, to));
    }
    // Where the weft is on top, open the warp and lay the weft back over it.
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            if (horizontalOnTop(i, j)) {
                const QPointF c = at(positions[i], positions[j]);
                painter.setPen(Qt::NoPen);
                painter.drawRect(
                    QRectF(c.x() - w / 2 - 0.5, c.y() - w / 2 - air, w + 1, w + 2 * air));
                painter.setPen(QPen(thread, w, Qt::SolidLine, Qt::FlatCap));
                painter.drawLine(QPointF(c.x() - w / 2 - air - 1, c.y()),
                                 QPointF(c.x() + w / 2 + air + 1, c.y()));
            }
        }
    }
    painter.restore();
}

}  // namespace keyloom::painter
