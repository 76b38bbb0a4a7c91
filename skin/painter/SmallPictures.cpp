#include "SmallPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "Glyphs.h"
#include "Palette.h"

namespace keyloom::painter {
namespace {

namespace pal = palette;

struct ArrowCell {
    const char* key;
    bool up;
    int phase;
};

constexpr ArrowCell kArrowCells[] = {
    {"UP_ARROW_LEFT1", true, 1},  {"DOWN_ARROW_LEFT1", false, 1},
    {"UP_ARROW_RIGHT1", true, 1}, {"DOWN_ARROW_RIGHT1", false, 1},
    {"UP_ARROW_LEFT2", true, 2},  {"DOWN_ARROW_LEFT2", false, 2},
    {"UP_ARROW_RIGHT2", true, 2}, {"DOWN_ARROW_RIGHT2", false, 2},
};

constexpr int kBusyFrames = 10;

}  // namespace

QImage drawArrowSheet(const SkinLayout& layout) {
    QRect bounds;
    for (const ArrowCell& cell : kArrowCells) {
        if (const auto rect = layout.arrowCell(cell.key)) {
            bounds = bounds.united(*rect);
        }
    }
    if (bounds.isEmpty()) {
        return {};
    }
    QImage image(bounds.bottomRight().x() + 1, bounds.bottomRight().y() + 1, QImage::Format_RGB32);
    image.fill(pal::kBody);
    QPainter painter(&image);
    for (const ArrowCell& cell : kArrowCells) {
        const auto rect = layout.arrowCell(cell.key);
        if (!rect) {
            continue;
        }
        // The arrow points at the row of keys the top row currently shows;
        // the second phase is a brighter frame for a blinking arrow.
        const QColor colour = cell.phase == 1 ? pal::kAccent : pal::kAccentLight;
        const qreal side = std::min(rect->width(), rect->height()) * 0.8;
        const QRectF box(QPointF(rect->center()) + QPointF(0.5, 0.5) - QPointF(side / 2, side / 2),
                         QSizeF(side, side));
        drawGlyph(painter, cell.up ? Glyph::ArrowUp : Glyph::ArrowDown, box, colour);
    }
    return image;
}

QImage drawWindowMask(const SkinLayout& layout) {
    const QSize size = layout.windowSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    // No antialiasing: every pixel is either cut out (white) or kept.
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, size.width(), size.height()), kWindowRadius, kWindowRadius);
    painter.fillPath(shape, Qt::black);
    painter.end();
    // Stored with one bit a pixel: the program reads it at every start, and
    // such a file is read about fifty times faster than a full-colour one.
    return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

std::vector<QImage> drawBusyFrames(const SkinLayout& layout) {
    std::vector<QImage> frames;
    const auto art = layout.controlArt("CONTROL_JDTStatic");
    if (!art) {
        return frames;
    }
    const QSize size = art->size();
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const qreal radius = std::min(size.width(), size.height()) * 0.36;
    const qreal dot = std::min(size.width(), size.height()) * 0.075;
    for (int frame = 0; frame < kBusyFrames; ++frame) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(pal::kBottomBar);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < kBusyFrames; ++i) {
            // The head dot moves one place per frame; the ones behind it fade.
            const int age = (frame - i + kBusyFrames) % kBusyFrames;
            const qreal strength = 1.0 - age / static_cast<qreal>(kBusyFrames);
            const qreal angle = 2 * std::numbers::pi * i / kBusyFrames - std::numbers::pi / 2;
            QColor colour = pal::kAccent;
            colour.setAlphaF(0.15 + 0.85 * strength * strength);
            painter.setBrush(colour);
            const QPointF at(centre.x() + radius * std::cos(angle),
                             centre.y() + radius * std::sin(angle));
            painter.drawEllipse(at, dot * (0.75 + 0.35 * strength), dot * (0.75 + 0.35 * strength));
        }
        painter.end();
        frames.push_back(image);
    }
    return frames;
}

}  // namespace keyloom::painter
