#include "LightingPictures.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <functional>

#include "ButtonArt.h"
#include "Fonts.h"
#include "Glyphs.h"
#include "Palette.h"

namespace keyloom::painter {
namespace {

namespace pal = palette;

using Draw = std::function<void(QPainter&, const QRectF&)>;

// A picture the size of `controlKey`'s control on the colour behind it.
// Nothing when the skin does not place that control.
std::optional<NamedPicture> picture(const SkinLayout& layout, const char* controlKey,
                                    const QString& name, const QColor& backdrop, const Draw& draw) {
    const auto art = layout.controlArt(controlKey);
    if (!art) {
        return std::nullopt;
    }
    QImage image(art->size(), QImage::Format_RGB32);
    image.fill(backdrop);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, QRectF(0, 0, art->width(), art->height()));
    painter.end();
    return NamedPicture{name, image};
}

// Labels of the panel, as pictures so that every language shows the same.
Draw label(const QString& text) {
    return [text](QPainter& p, const QRectF& box) {
        QFont font = skinFont(11, true);
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
        p.setFont(font);
        p.setPen(pal::kTextMuted);
        p.drawText(box.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text.toUpper());
    };
}

// A rounded tile that is lit (accent frame, bright content) when active.
void drawTile(QPainter& p, const QRectF& box, bool active) {
    const QRectF tile = box.adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(QPen(active ? pal::kAccent : pal::kControlBorder, active ? 1.5 : 1));
    p.setBrush(active ? pal::kAccentShade : pal::kControl);
    p.drawRoundedRect(tile, 6, 6);
}

Draw directionTile(Glyph glyph, bool active) {
    return [=](QPainter& p, const QRectF& box) {
        drawTile(p, box, active);
        const qreal side = std::min(box.width(), box.height()) * 0.5;
        drawGlyph(p, glyph, QRectF(box.center() - QPointF(side / 2, side / 2), QSizeF(side, side)),
                  active ? pal::kAccentLight : pal::kTextMuted);
    };
}

// Two arrows meeting in the middle (converge) or leaving it (spread).
Draw pairTile(bool inward, bool active) {
    return [=](QPainter& p, const QRectF& box) {
        drawTile(p, box, active);
        const QColor colour = active ? pal::kAccentLight : pal::kTextMuted;
        const qreal side = std::min(box.width(), box.height()) * 0.36;
        const QPointF c = box.center();
        const QRectF left(c.x() - side - 1, c.y() - side / 2, side, side);
        const QRectF right(c.x() + 1, c.y() - side / 2, side, side);
        drawGlyph(p, inward ? Glyph::ChevronRight : Glyph::ChevronLeft, left, colour);
        drawGlyph(p, inward ? Glyph::ChevronLeft : Glyph::ChevronRight, right, colour);
    };
}

Draw colourChoice(const QColor& colour, bool chosen) {
    return [=](QPainter& p, const QRectF& box) {
        drawTile(p, box, chosen);
        const qreal r = std::min(box.width(), box.height()) * (chosen ? 0.3 : 0.26);
        p.setPen(Qt::NoPen);
        p.setBrush(chosen ? colour : colour.darker(160));
        p.drawEllipse(box.center(), r, r);
    };
}

// A rainbow bar: the multicolour toggle.
Draw rainbowTile(bool on) {
    return [=](QPainter& p, const QRectF& box) {
        drawTile(p, box, on);
        const QRectF bar = box.adjusted(9, box.height() / 2 - 4, -9, -(box.height() / 2 - 4));
        QLinearGradient gradient(bar.topLeft(), bar.topRight());
        for (int i = 0; i <= 6; ++i) {
            QColor c = QColor::fromHsvF(i / 7.0, on ? 1.0 : 0.35, on ? 1.0 : 0.45);
            gradient.setColorAt(i / 6.0, c);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(gradient);
        p.drawRoundedRect(bar, 4, 4);
    };
}

// Tool 0 paints single keys (a brush tip); tool 1 the whole base group
// (three keys filled at once).
Draw toolTile(int tool, bool active) {
    return [=](QPainter& p, const QRectF& box) {
        drawTile(p, box, active);
        const QColor colour = active ? pal::kAccentLight : pal::kTextMuted;
        const QPointF c = box.center();
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        if (tool == 0) {
            p.drawRoundedRect(QRectF(c.x() - 5, c.y() - 5, 10, 10), 2.5, 2.5);
        } else {
            for (int i = -1; i <= 1; ++i) {
                p.drawRoundedRect(QRectF(c.x() + i * 9 - 3.5, c.y() - 3.5, 7, 7), 2, 2);
            }
        }
    };
}

// The lighting-view switch: a pill with its knob left (off) or right (on).
Draw switchFace(bool on) {
    return [=](QPainter& p, const QRectF& box) {
        const QRectF pill = box.adjusted(6, 4, -6, -4);
        const qreal r = pill.height() / 2;
        p.setPen(QPen(on ? pal::kAccentLight : pal::kControlBorder, 1));
        p.setBrush(on ? pal::kAccent : pal::kControl);
        p.drawRoundedRect(pill, r, r);
        const QPointF knob(on ? pill.right() - r : pill.left() + r, pill.center().y());
        p.setPen(Qt::NoPen);
        p.setBrush(on ? pal::kTextBright : pal::kTextMuted);
        p.drawEllipse(knob, r - 3, r - 3);
    };
}

Draw segmentFace(const QString& text, Look look) {
    return [=](QPainter& p, const QRectF& box) { drawSegment(p, box.toRect(), text, look); };
}

// A slider face: the thumb at `fraction` of the track, the track lit up to it.
Draw sliderFace(double fraction) {
    return [=](QPainter& p, const QRectF& box) {
        const qreal margin = box.height() / 2;
        const qreal y = box.center().y();
        const qreal left = box.left() + margin;
        const qreal right = box.right() - margin;
        const qreal thumb = left + (right - left) * fraction;
        QPen track(pal::kControlBorder, 4);
        track.setCapStyle(Qt::RoundCap);
        p.setPen(track);
        p.drawLine(QPointF(left, y), QPointF(right, y));
        track.setColor(pal::kAccent);
        p.setPen(track);
        p.drawLine(QPointF(left, y), QPointF(thumb, y));
        p.setPen(QPen(pal::kAccent, 2));
        p.setBrush(pal::kTextBright);
        p.drawEllipse(QPointF(thumb, y), margin - 7, margin - 7);
    };
}

Draw swatch(const QColor& colour) {
    return [=](QPainter& p, const QRectF& box) {
        p.setPen(QPen(pal::kControlBorder, 1));
        p.setBrush(colour);
        p.drawRoundedRect(box.adjusted(2.5, 2.5, -2.5, -2.5), 5, 5);
    };
}

constexpr int kSliderFaces = 26;

}  // namespace

std::vector<NamedPicture> drawLightingPictures(const SkinLayout& layout) {
    std::vector<std::optional<NamedPicture>> drawn;
    auto add = [&](const char* control, const QString& name, const Draw& draw,
                   const QColor& backdrop = pal::kPanel) {
        drawn.push_back(picture(layout, control, name, backdrop, draw));
    };

    add("CONTROL_DengStaPic", "dengup.bmp", switchFace(false));
    add("CONTROL_DengStaPic", "dengdown.bmp", switchFace(true));
    const struct {
        const char* suffix;
        Look look;
    } segmentLooks[] = {{"off", Look::Normal}, {"mouseOver", Look::Hover}, {"on", Look::Selected}};
    for (const auto& s : segmentLooks) {
        add("CONTROL_DengStaPic", QString("LED_enabled_%1.bmp").arg(s.suffix),
            segmentFace("", s.look));
        add("CONTROL_DengDisable", QString("LED_disabled_%1.bmp").arg(s.suffix),
            segmentFace("", s.look));
    }

    add("CONTROL_DengStatic", "led.bmp", label("Lighting"));
    add("CONTROL_LightStatic", "brightness.bmp", label("Brightness"));
    add("CONTROL_SpeedStatic", "speed.bmp", label("Speed"));
    add("CONTROL_BLFXStatic", "direction.bmp", label("Direction"));
    add("CONTROL_COLORFULStatic", "colorful.bmp", label("Multicolour"));
    add("CONTROL_HXysStatic", "color.bmp", label("Colour"));

    const struct {
        const char* name;
        Glyph glyph;
    } directions[] = {{"left", Glyph::ChevronLeft},
                      {"right", Glyph::ChevronRight},
                      {"up", Glyph::ChevronUp},
                      {"down", Glyph::ChevronDown}};
    for (const auto& d : directions) {
        add("CONTROL_BLFXLStaPic", QString("%1up.bmp").arg(d.name), directionTile(d.glyph, false));
        add("CONTROL_BLFXLStaPic", QString("%1down.bmp").arg(d.name), directionTile(d.glyph, true));
    }
    add("CONTROL_BLFXLStaPic", "julong.bmp", pairTile(true, false));
    add("CONTROL_BLFXLStaPic", "julongdown.bmp", pairTile(true, true));
    add("CONTROL_BLFXRStaPic", "kuosan.bmp", pairTile(false, false));
    add("CONTROL_BLFXRStaPic", "kuosandown.bmp", pairTile(false, true));

    const struct {
        const char* control;
        const char* name;
        QColor colour;
    } choices[] = {{"CONTROL_HONGPIC", "hong", QColor(255, 40, 40)},
                   {"CONTROL_HUANGPIC", "huang", QColor(255, 210, 0)},
                   {"CONTROL_LVPIC", "lv", QColor(40, 220, 80)},
                   {"CONTROL_LANPIC", "lan", QColor(40, 110, 255)}};
    for (const auto& c : choices) {
        add(c.control, QString("%1.bmp").arg(c.name), colourChoice(c.colour, false));
        add(c.control, QString("%1ok.bmp").arg(c.name), colourChoice(c.colour, true));
    }

    add("CONTROL_HXsjsStaPic", "sjsup.bmp", rainbowTile(false));
    add("CONTROL_HXsjsStaPic", "sjsdown.bmp", rainbowTile(true));
    add("CONTROL_USERgjStaPic1", "user1up.bmp", toolTile(0, false));
    add("CONTROL_USERgjStaPic1", "user1down.bmp", toolTile(0, true));
    add("CONTROL_USERgjStaPic2", "user2up.bmp", toolTile(1, false));
    add("CONTROL_USERgjStaPic2", "user2down.bmp", toolTile(1, true));

    for (int i = 0; i < kSliderFaces; ++i) {
        add("CONTROL_LightSlider", QString("%1.bmp").arg(i),
            sliderFace(i / static_cast<double>(kSliderFaces - 1)));
    }

    const std::array<QColor, 8> presets = {
        QColor(235, 99, 30), QColor(255, 0, 0),   QColor(0, 126, 255), QColor(90, 255, 0),
        QColor(234, 255, 0), QColor(255, 192, 0), QColor(255, 0, 180), QColor(174, 0, 255)};
    for (std::size_t i = 0; i < presets.size(); ++i) {
        const QByteArray control = "CONTROL_Color" + QByteArray::number(static_cast<int>(i + 1));
        add(control.constData(), QString("Color%1.bmp").arg(i + 1), swatch(presets[i]));
    }

    const struct {
        const char* suffix;
        Look look;
    } resetLooks[] = {
        {"off", Look::Normal}, {"mouseOver", Look::Hover}, {"clicked", Look::Pressed}};
    for (const auto& r : resetLooks) {
        add(
            "FUNC_DEFAULT", QString("restore_default_%1.bmp").arg(r.suffix),
            [look = r.look](QPainter& p, const QRectF& box) {
                drawToolButton(p, box.toRect(), Glyph::Reset, "", std::nullopt, look);
            },
            pal::kWindow);
    }

    std::vector<NamedPicture> pictures;
    for (auto& entry : drawn) {
        if (entry) {
            pictures.push_back(std::move(*entry));
        }
    }
    return pictures;
}

}  // namespace keyloom::painter
