#include "Icons.h"

#include <QBuffer>
#include <QPainter>
#ifdef KEYLOOM_PAINTER_SVG
#include <QSvgGenerator>
#endif

#include "Glyphs.h"
#include "Palette.h"

namespace keyloom::painter {

namespace pal = palette;

namespace {

void paintProgramIcon(QPainter& painter, int side) {
    const qreal margin = side * 0.06;
    drawLogoMark(painter, QRectF(margin, margin, side - 2 * margin, side - 2 * margin),
                 pal::kAccent, pal::kTitleBar);
}

}  // namespace

QImage drawProgramIcon(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintProgramIcon(painter, side);
    return image;
}

QByteArray drawProgramIconSvg() {
#ifdef KEYLOOM_PAINTER_SVG
    constexpr int kSide = 256;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kSide, kSide));
    generator.setViewBox(QRect(0, 0, kSide, kSide));
    generator.setTitle(QStringLiteral("Keyloom"));
    {
        QPainter painter(&generator);
        paintProgramIcon(painter, kSide);
    }
    return buffer.data();
#else
    return {};
#endif
}

QImage drawTrayIcon(TrayState state, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(side * 0.04, side * 0.04, side * 0.92, side * 0.92);
    switch (state) {
        case TrayState::NoKeyboard: {
            // The mark greyed out and struck through: nothing to configure.
            drawLogoMark(painter, box, QColor(0x6b, 0x70, 0x78), pal::kTitleBar);
            QPen slash(QColor(0xe0, 0x4a, 0x3f), side * 0.1);
            slash.setCapStyle(Qt::RoundCap);
            painter.setPen(slash);
            painter.drawLine(QPointF(side * 0.2, side * 0.8), QPointF(side * 0.8, side * 0.2));
            break;
        }
        case TrayState::Connected:
            drawLogoMark(painter, box, pal::kAccent, pal::kTitleBar);
            break;
        case TrayState::Indicator: {
            drawLogoMark(painter, box, pal::kAccent, pal::kTitleBar);
            // A lit badge in the corner while the keyboard's indicator is on.
            const QPointF badge(side * 0.78, side * 0.22);
            painter.setPen(QPen(pal::kTitleBar, side * 0.05));
            painter.setBrush(QColor(0x4c, 0xd9, 0x64));
            painter.drawEllipse(badge, side * 0.17, side * 0.17);
            break;
        }
    }
    return image;
}

}  // namespace keyloom::painter
