#include "KeycapArt.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>

#include "Fonts.h"
#include "Palette.h"

namespace keyloom::painter {
namespace {

namespace pal = palette;

struct CapColours {
    QColor skirt;
    QColor top;
    QColor bottom;
    QColor legend;
    QColor shifted;
};

CapColours coloursFor(Look look) {
    switch (look) {
        case Look::Hover:
            return {pal::kCapSkirt, pal::kCapHoverTop, pal::kCapHoverBottom, pal::kTextBright,
                    pal::kText};
        case Look::Pressed:
            return {QColor(0x17, 0x19, 0x1c), pal::kCapPressed, QColor(0x1e, 0x21, 0x25),
                    pal::kAccent, pal::kAccentLight};
        case Look::Selected:
            return {pal::kCapSkirt, QColor(0x4a, 0x36, 0x20), QColor(0x3b, 0x2b, 0x19),
                    pal::kTextBright, pal::kAccentLight};
        case Look::Disabled:
            return {QColor(0x1a, 0x1c, 0x20), QColor(0x24, 0x27, 0x2c), QColor(0x22, 0x25, 0x2a),
                    pal::kTextFaint, pal::kTextFaint};
        case Look::ToggleOn:
            return {pal::kAccentDark, pal::kAccentLight, pal::kAccent, pal::kTextOnAccent,
                    pal::kTextOnAccent};
        case Look::Normal:
        case Look::ToggleOff:
            break;
    }
    return {pal::kCapSkirt, pal::kCapTop, pal::kCapBottom, pal::kText, pal::kTextMuted};
}

// Word legends share one size; a word too wide for its key is narrowed
// rather than shrunk, so that the rows keep an even look.
QFont wordFont(const QString& text, int width) {
    QFont font = skinFont(10);
    for (int stretch = 100; stretch >= 70; stretch -= 5) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(text) <= width) {
            break;
        }
    }
    return font;
}

bool isSingleCharacter(const QString& text) {
    return text.size() == 1;
}

void drawLegend(QPainter& painter, const QRectF& face, const KeyLegend& legend,
                const CapColours& colours) {
    const int width = static_cast<int>(face.width()) - 4;
    if (!legend.shifted.isEmpty()) {
        QRectF upper = face;
        upper.setBottom(face.center().y() + 1);
        QRectF lower = face;
        lower.setTop(face.center().y() - 1);
        painter.setFont(skinFont(11));
        painter.setPen(colours.shifted);
        painter.drawText(upper.adjusted(0, 2, 0, 0), Qt::AlignHCenter | Qt::AlignVCenter,
                         legend.shifted);
        painter.setFont(skinFont(13, true));
        painter.setPen(colours.legend);
        painter.drawText(lower.adjusted(0, 0, 0, -2), Qt::AlignHCenter | Qt::AlignVCenter,
                         legend.main);
        return;
    }
    const bool single = isSingleCharacter(legend.main);
    painter.setFont(single ? skinFont(15, true) : wordFont(legend.main, width));
    painter.setPen(colours.legend);
    painter.drawText(face, Qt::AlignCenter, legend.main);
}

}  // namespace

void drawKeycap(QPainter& painter, const QRect& art, const KeyLegend& legend, Look look) {
    const CapColours colours = coloursFor(look);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    // One pixel of body colour all round keeps the art seamless with the
    // background that shows beside the control.
    const QRectF cap = QRectF(art).adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.skirt);
    painter.drawRoundedRect(cap, 6, 6);

    const bool pressed = look == Look::Pressed;
    QRectF face = pressed ? cap.adjusted(3, 4, -3, -2) : cap.adjusted(2.5, 1.5, -2.5, -5);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0, colours.top);
    gradient.setColorAt(1, colours.bottom);
    painter.setBrush(gradient);
    painter.drawRoundedRect(face, 4.5, 4.5);

    if (look == Look::Hover) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette::kAccent, 1.5));
        painter.drawRoundedRect(cap.adjusted(0.25, 0.25, -0.25, -0.25), 6, 6);
    } else if (look == Look::Pressed) {
        // A warm glow along the lower edge, as if the key were lit from below.
        QLinearGradient glow(cap.bottomLeft() - QPointF(0, 6), cap.bottomLeft());
        glow.setColorAt(0, QColor(255, 130, 0, 0));
        glow.setColorAt(1, QColor(255, 130, 0, 150));
        painter.setBrush(glow);
        painter.drawRoundedRect(cap, 6, 6);
    } else if (look == Look::Selected) {
        // Assigned keys carry an accent bar under the face.
        painter.setBrush(palette::kAccent);
        const QRectF bar(cap.left() + 6, cap.bottom() - 3.5, cap.width() - 12, 2.5);
        painter.drawRoundedRect(bar, 1.25, 1.25);
    } else if (look == Look::ToggleOff || look == Look::ToggleOn) {
        // The toggle flag as a small lamp in the top right corner.
        const QPointF lamp(face.right() - 5, face.top() + 5);
        if (look == Look::ToggleOn) {
            painter.setBrush(palette::kTextOnAccent);
            painter.drawEllipse(lamp, 2.5, 2.5);
        } else {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(palette::kTextMuted, 1.2));
            painter.drawEllipse(lamp, 2.5, 2.5);
        }
    }

    drawLegend(painter, face, legend, colours);
    painter.restore();
}

}  // namespace keyloom::painter
