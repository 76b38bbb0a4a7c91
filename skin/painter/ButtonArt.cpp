#include "ButtonArt.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QRadialGradient>

#include "Fonts.h"
#include "Palette.h"

namespace keyloom::painter {
namespace {

namespace pal = palette;

struct SurfaceColours {
    QColor fill;
    QColor border;
    QColor text;
};

SurfaceColours surfaceFor(Look look) {
    switch (look) {
        case Look::Hover:
            return {pal::kControlHover, pal::kAccent, pal::kTextBright};
        case Look::Pressed:
            return {pal::kControlPressed, pal::kAccentDark, pal::kAccent};
        case Look::Selected:
            return {pal::kAccent, pal::kAccentLight, pal::kTextOnAccent};
        case Look::Disabled:
            return {pal::kControlDisabled, QColor(0x24, 0x27, 0x2c), pal::kTextFaint};
        default:
            return {pal::kControl, pal::kControlBorder, pal::kText};
    }
}

QRectF inner(const QRect& art) {
    return QRectF(art).adjusted(1.5, 1.5, -1.5, -1.5);
}

void drawSurface(QPainter& painter, const QRectF& box, const SurfaceColours& colours,
                 qreal radius) {
    painter.setPen(QPen(colours.border, 1));
    if (colours.fill == pal::kAccent) {
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, pal::kAccentLight);
        gradient.setColorAt(1, pal::kAccent);
        painter.setBrush(gradient);
    } else {
        painter.setBrush(colours.fill);
    }
    painter.drawRoundedRect(box, radius, radius);
}

}  // namespace

void drawTitleButton(QPainter& painter, const QRect& art, Glyph glyph, Look look, bool danger) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    QColor glyphColour = pal::kTextMuted;
    switch (look) {
        case Look::Hover:
            painter.setPen(Qt::NoPen);
            painter.setBrush(danger ? pal::kDanger : pal::kControlHover);
            painter.drawRoundedRect(box, 6, 6);
            glyphColour = pal::kTextBright;
            break;
        case Look::Pressed:
            painter.setPen(Qt::NoPen);
            painter.setBrush(danger ? pal::kDangerDark : pal::kControlPressed);
            painter.drawRoundedRect(box, 6, 6);
            glyphColour = danger ? pal::kTextBright : pal::kAccent;
            break;
        case Look::Disabled:
            glyphColour = pal::kTextFaint.darker(130);
            break;
        case Look::Selected:
            painter.setPen(Qt::NoPen);
            painter.setBrush(pal::kAccentShade);
            painter.drawRoundedRect(box, 6, 6);
            glyphColour = pal::kAccent;
            break;
        default:
            break;
    }
    const qreal side = std::min(box.width(), box.height()) * 0.56;
    drawGlyph(painter, glyph,
              QRectF(box.center() - QPointF(side / 2, side / 2), QSizeF(side, side)), glyphColour);
    painter.restore();
}

void drawLogoLink(QPainter& painter, const QRect& art, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    QColor accent = pal::kAccent;
    QColor name = pal::kText;
    QColor tail = pal::kAccent;
    if (look == Look::Hover) {
        name = pal::kTextBright;
        tail = pal::kAccentLight;
        accent = pal::kAccentLight;
    } else if (look == Look::Pressed) {
        accent = pal::kAccentDark;
        name = pal::kTextMuted;
        tail = pal::kAccentDark;
    } else if (look == Look::Selected) {
        // The link's own pressed face: lit rather than dimmed.
        accent = pal::kAccentDark;
        name = pal::kAccentLight;
        tail = pal::kAccentLight;
    } else if (look == Look::Disabled) {
        accent = pal::kTextFaint;
        name = pal::kTextFaint;
        tail = pal::kTextFaint;
    }
    const qreal markSide = box.height() - 4;
    const QRectF mark(box.left() + 2, box.top() + 2, markSide, markSide);
    drawLogoMark(painter, mark, accent, pal::kTitleBar);

    const QFont font = skinFont(21, true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QString head = QStringLiteral("Key");
    const qreal textLeft = mark.right() + 9;
    const QRectF textBox(textLeft, box.top(), box.right() - textLeft, box.height());
    painter.setPen(name);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, head);
    painter.setPen(tail);
    painter.drawText(textBox.adjusted(metrics.horizontalAdvance(head), 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("loom"));
    if (look == Look::Hover) {
        painter.setPen(QPen(pal::kAccent, 1.5));
        const qreal underline = box.center().y() + metrics.ascent() / 2.0 + 4;
        painter.drawLine(QPointF(textLeft, underline),
                         QPointF(textLeft + metrics.horizontalAdvance("Keyloom"), underline));
    }
    painter.restore();
}

void drawRoundLink(QPainter& painter, const QRect& art, Glyph glyph, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    SurfaceColours colours = surfaceFor(look);
    QColor glyphColour = look == Look::Normal ? pal::kTextMuted : colours.text;
    if (look == Look::Selected) {
        // Links show this picture while the mouse button is down: a lit press.
        colours = {pal::kAccentShade, pal::kAccent, pal::kAccent};
        glyphColour = pal::kAccentLight;
    }
    painter.setPen(QPen(colours.border, 1));
    painter.setBrush(colours.fill);
    painter.drawEllipse(box);
    const qreal side = box.width() * 0.56;
    drawGlyph(painter, glyph,
              QRectF(box.center() - QPointF(side / 2, side / 2), QSizeF(side, side)), glyphColour);
    painter.restore();
}

void drawSegment(QPainter& painter, const QRect& art, const QString& text, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    const SurfaceColours colours = surfaceFor(look);
    drawSurface(painter, box, colours, 6);
    painter.setFont(skinFont(13, look == Look::Selected));
    painter.setPen(colours.text);
    painter.drawText(box.translated(0, look == Look::Pressed ? 1 : 0), Qt::AlignCenter, text);
    painter.restore();
}

void drawToolButton(QPainter& painter, const QRect& art, std::optional<Glyph> leading,
                    const QString& text, std::optional<Glyph> trailing, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    const SurfaceColours colours = surfaceFor(look);
    drawSurface(painter, box, colours, 7);
    const qreal iconSide = 16;
    const qreal iconTop = box.center().y() - iconSide / 2 + (look == Look::Pressed ? 1 : 0);
    const QColor iconColour = look == Look::Normal ? pal::kAccent : colours.text;
    if (text.isEmpty()) {
        if (leading) {
            drawGlyph(painter, *leading, QRectF(box.left() + 10, iconTop, iconSide, iconSide),
                      iconColour);
        }
    } else {
        // Icon and text centred together.
        const QFont font = skinFont(13);
        const qreal textWidth = QFontMetrics(font).horizontalAdvance(text);
        const qreal total = textWidth + (leading ? iconSide + 8 : 0);
        qreal x = box.center().x() - total / 2;
        if (leading) {
            drawGlyph(painter, *leading, QRectF(x, iconTop, iconSide, iconSide), iconColour);
            x += iconSide + 8;
        }
        painter.setFont(font);
        painter.setPen(colours.text);
        painter.drawText(
            QRectF(x, box.top() + (look == Look::Pressed ? 1 : 0), textWidth + 2, box.height()),
            Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    if (trailing) {
        const qreal side = 12;
        drawGlyph(painter, *trailing,
                  QRectF(box.right() - side - 10, box.center().y() - side / 2, side, side),
                  look == Look::Normal ? pal::kTextMuted : colours.text);
    }
    painter.restore();
}

void drawDialogButton(QPainter& painter, const QRect& art, const QString& text, bool primary,
                      Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    SurfaceColours colours = surfaceFor(look);
    if (primary && look == Look::Normal) {
        colours = {pal::kAccent, pal::kAccentLight, pal::kTextOnAccent};
    } else if (primary && look == Look::Hover) {
        colours = {pal::kAccentLight, QColor(255, 200, 140), pal::kTextOnAccent};
    } else if (look == Look::Selected) {
        colours = {pal::kAccentShade, pal::kAccent, pal::kAccentLight};
    }
    if (colours.fill == pal::kAccentLight) {
        painter.setPen(QPen(colours.border, 1));
        painter.setBrush(colours.fill);
        painter.drawRoundedRect(box, 8, 8);
    } else {
        drawSurface(painter, box, colours, 8);
    }
    painter.setFont(skinFont(14, primary));
    painter.setPen(colours.text);
    painter.drawText(box.translated(0, look == Look::Pressed ? 1 : 0), Qt::AlignCenter, text);
    painter.restore();
}

void drawLockLamp(QPainter& painter, const QRect& art, const QString& label, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    const QPointF lamp(box.center().x(), box.top() + 11);
    const bool lit = look == Look::Hover || look == Look::Selected;
    if (lit) {
        QRadialGradient glow(lamp, 10);
        glow.setColorAt(0, QColor(255, 150, 40, 200));
        glow.setColorAt(1, QColor(255, 130, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(lamp, 10, 10);
        painter.setBrush(pal::kAccentLight);
        painter.drawEllipse(lamp, 4, 4);
    } else {
        const QColor ring = look == Look::Disabled ? QColor(0x26, 0x29, 0x2e) : pal::kControlBorder;
        painter.setPen(QPen(ring, 1.2));
        painter.setBrush(look == Look::Pressed ? pal::kAccentShade : QColor(0x14, 0x16, 0x19));
        painter.drawEllipse(lamp, 4, 4);
    }
    QColor text = lit ? pal::kTextBright : pal::kTextMuted;
    if (look == Look::Disabled) {
        text = pal::kTextFaint;
    } else if (look == Look::Pressed) {
        text = pal::kAccent;
    }
    painter.setFont(skinFont(10));
    painter.setPen(text);
    painter.drawText(QRectF(box.left(), lamp.y() + 7, box.width(), box.bottom() - lamp.y() - 7),
                     Qt::AlignHCenter | Qt::AlignTop, label);
    painter.restore();
}

void drawFlipLabel(QPainter& painter, const QRect& art, const QString& text, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    QColor textColour = pal::kTextMuted;
    switch (look) {
        // A faint pill tells the states apart also when the window writes
        // the text over the picture.
        case Look::Hover:
            painter.setPen(Qt::NoPen);
            painter.setBrush(pal::kControlHover);
            painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
            textColour = pal::kTextBright;
            break;
        case Look::Pressed:
            painter.setPen(Qt::NoPen);
            painter.setBrush(pal::kControlPressed);
            painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
            textColour = pal::kAccent;
            break;
        case Look::Selected:
            painter.setPen(Qt::NoPen);
            painter.setBrush(pal::kAccentShade);
            painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
            textColour = pal::kAccentLight;
            break;
        case Look::Disabled:
            textColour = pal::kTextFaint;
            break;
        default:
            break;
    }
    QFont font = skinFont(10, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    painter.setFont(font);
    painter.setPen(textColour);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

void drawFlipButton(QPainter& painter, const QRect& art, Glyph glyph, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(art);
    const SurfaceColours colours = surfaceFor(look);
    drawSurface(painter, box, colours, 6);
    const qreal side = box.width() * 0.6;
    drawGlyph(painter, glyph,
              QRectF(box.center() - QPointF(side / 2, side / 2 - (look == Look::Pressed ? 1 : 0)),
                     QSizeF(side, side)),
              look == Look::Normal ? pal::kTextMuted : colours.text);
    painter.restore();
}

}  // namespace keyloom::painter
