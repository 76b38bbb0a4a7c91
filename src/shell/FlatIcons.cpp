#include "shell/FlatIcons.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace keyloom::shell {

namespace {

using Drawing = std::function<void(QPainter&, const QRectF&)>;

const QColor kLight(0xdf, 0xe3, 0xe8);
const QColor kDark(0x17, 0x19, 0x1d);
const QColor kAccent(0xff, 0x82, 0x00);
const QColor kBlue(0x4a, 0x90, 0xd9);
const QColor kRed(0xe5, 0x48, 0x4d);
const QColor kYellow(0xf5, 0xb4, 0x00);
const QColor kFolder(0xc9, 0x86, 0x2e);
const QColor kPage(0xaa, 0xb1, 0xbb);

class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(Drawing draw) : draw_(std::move(draw)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        // A square in the middle of the rectangle, in unit coordinates.
        const qreal side = std::min(rect.width(), rect.height());
        const QRectF square(rect.x() + (rect.width() - side) / 2,
                            rect.y() + (rect.height() - side) / 2, side, side);
        draw_(*painter, square);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }
    QIconEngine* clone() const override {
        return std::make_unique<DrawnIconEngine>(draw_).release();  // the caller owns it
    }

private:
    Drawing draw_;
};

QIcon drawn(Drawing draw) {
    return QIcon(
        std::make_unique<DrawnIconEngine>(std::move(draw)).release());  // owned by the icon
}

// A point of the square given in 0..1 coordinates.
QPointF at(const QRectF& r, qreal x, qreal y) {
    return {r.x() + x * r.width(), r.y() + y * r.height()};
}

void glyph(QPainter& p, const QRectF& r, const QString& text, const QColor& colour) {
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(std::max(1, static_cast<int>(r.height() * 0.62)));
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

Drawing badge(const QColor& fill, const QString& text, const QColor& ink) {
    return [=](QPainter& p, const QRectF& r) {
        const QRectF disc =
            r.adjusted(r.width() * 0.06, r.height() * 0.06, -r.width() * 0.06, -r.height() * 0.06);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(disc);
        glyph(p, disc, text, ink);
    };
}

void warning(QPainter& p, const QRectF& r) {
    QPainterPath triangle;
    triangle.moveTo(at(r, 0.5, 0.08));
    triangle.lineTo(at(r, 0.96, 0.9));
    triangle.lineTo(at(r, 0.04, 0.9));
    triangle.closeSubpath();
    p.setPen(QPen(kYellow, r.width() * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kYellow);
    p.drawPath(triangle);
    glyph(p, QRectF(at(r, 0.2, 0.3), at(r, 0.8, 0.92)), QStringLiteral("!"), kDark);
}

void folder(QPainter& p, const QRectF& r) {
    QPainterPath shape;
    shape.moveTo(at(r, 0.06, 0.22));
    shape.lineTo(at(r, 0.4, 0.22));
    shape.lineTo(at(r, 0.48, 0.32));
    shape.lineTo(at(r, 0.94, 0.32));
    shape.lineTo(at(r, 0.94, 0.84));
    shape.lineTo(at(r, 0.06, 0.84));
    shape.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kFolder);
    p.drawPath(shape);
    p.setBrush(kFolder.lighter(125));
    p.drawRect(QRectF(at(r, 0.06, 0.4), at(r, 0.94, 0.84)));
}

void page(QPainter& p, const QRectF& r) {
    QPainterPath sheet;
    sheet.moveTo(at(r, 0.2, 0.06));
    sheet.lineTo(at(r, 0.6, 0.06));
    sheet.lineTo(at(r, 0.8, 0.26));
    sheet.lineTo(at(r, 0.8, 0.94));
    sheet.lineTo(at(r, 0.2, 0.94));
    sheet.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kPage);
    p.drawPath(sheet);
    p.setBrush(kPage.darker(140));
    p.drawPolygon(QPolygonF({at(r, 0.6, 0.06), at(r, 0.8, 0.26), at(r, 0.6, 0.26)}));
}

// Strokes through the points given in 0..1 coordinates.
Drawing strokes(std::vector<std::vector<QPointF>> lines) {
    return [lines = std::move(lines)](QPainter& p, const QRectF& r) {
        p.setPen(QPen(kLight, std::max(1.0, r.width() * 0.1), Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        for (const std::vector<QPointF>& line : lines) {
            QPolygonF shape;
            for (const QPointF& point : line)
                shape << at(r, point.x(), point.y());
            p.drawPolyline(shape);
        }
    };
}

void newFolder(QPainter& p, const QRectF& r) {
    folder(p, r);
    glyph(p, QRectF(at(r, 0.3, 0.36), at(r, 0.94, 0.96)), QStringLiteral("+"), kDark);
}

void screen(QPainter& p, const QRectF& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(kPage);
    p.drawRoundedRect(QRectF(at(r, 0.06, 0.14), at(r, 0.94, 0.72)), r.width() * 0.06,
                      r.width() * 0.06);
    p.setBrush(kDark.lighter(160));
    p.drawRect(QRectF(at(r, 0.13, 0.21), at(r, 0.87, 0.65)));
    p.setBrush(kPage);
    p.drawRect(QRectF(at(r, 0.3, 0.8), at(r, 0.7, 0.88)));
}

void drive(QPainter& p, const QRectF& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(kPage);
    p.drawRoundedRect(QRectF(at(r, 0.06, 0.3), at(r, 0.94, 0.72)), r.width() * 0.08,
                      r.width() * 0.08);
    p.setBrush(kAccent);
    p.drawEllipse(QRectF(at(r, 0.74, 0.46), at(r, 0.84, 0.56)));
}

}  // namespace

std::optional<QIcon> flatIcon(QStyle::StandardPixmap which) {
    switch (which) {
        case QStyle::SP_MessageBoxInformation:
            return drawn(badge(kBlue, QStringLiteral("i"), kLight));
        case QStyle::SP_MessageBoxQuestion:
            return drawn(badge(kAccent, QStringLiteral("?"), kDark));
        case QStyle::SP_MessageBoxCritical:
            return drawn(badge(kRed, QStringLiteral("\u00d7"), kLight));
        case QStyle::SP_MessageBoxWarning:
            return drawn(warning);
        case QStyle::SP_DirIcon:
        case QStyle::SP_DirClosedIcon:
        case QStyle::SP_DirOpenIcon:
        case QStyle::SP_DirHomeIcon:
            return drawn(folder);
        case QStyle::SP_FileIcon:
            return drawn(page);
        case QStyle::SP_FileDialogNewFolder:
            return drawn(newFolder);
        case QStyle::SP_ComputerIcon:
        case QStyle::SP_DesktopIcon:
            return drawn(screen);
        case QStyle::SP_DriveHDIcon:
            return drawn(drive);
        case QStyle::SP_ArrowBack:
        case QStyle::SP_FileDialogBack:
            return drawn(strokes({{{0.62, 0.2}, {0.32, 0.5}, {0.62, 0.8}}}));
        case QStyle::SP_ArrowForward:
            return drawn(strokes({{{0.38, 0.2}, {0.68, 0.5}, {0.38, 0.8}}}));
        case QStyle::SP_FileDialogToParent:
        case QStyle::SP_ArrowUp:
            return drawn(strokes({{{0.2, 0.6}, {0.5, 0.3}, {0.8, 0.6}}}));
        case QStyle::SP_FileDialogListView:
            return drawn(strokes({{{0.15, 0.25}, {0.4, 0.25}},
                                  {{0.6, 0.25}, {0.85, 0.25}},
                                  {{0.15, 0.5}, {0.4, 0.5}},
                                  {{0.6, 0.5}, {0.85, 0.5}},
                                  {{0.15, 0.75}, {0.4, 0.75}},
                                  {{0.6, 0.75}, {0.85, 0.75}}}));
        case QStyle::SP_FileDialogDetailedView:
            return drawn(strokes({{{0.15, 0.25}, {0.85, 0.25}},
                                  {{0.15, 0.5}, {0.85, 0.5}},
                                  {{0.15, 0.75}, {0.85, 0.75}}}));
        default:
            return std::nullopt;
    }
}

}  // namespace keyloom::shell
