#include "CompositePictures.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "ButtonArt.h"
#include "Glyphs.h"
#include "Looks.h"
#include "Palette.h"
#include "SmallPictures.h"

namespace keyloom::painter {
namespace {

namespace pal = palette;

// The five image sets. Each control of the window takes its four faces from
// one set; the panel behind the tab's controls shows the set of the tab.
enum class ImageSet { Key, Macro, Macro2, Media, Function };

enum class Icon { Keyboard, Clear, Plus, Trash, RemoveAll, ToTop, Up, Down, ToBottom };

QPen pen(const QColor& colour, qreal width) {
    QPen p(colour, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void drawIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(box.width(), box.height());
    const QPointF c = box.center();
    painter.setPen(pen(colour, std::max<qreal>(1.5, s / 10.0)));
    painter.setBrush(Qt::NoBrush);
    const auto chevron = [&](qreal y, qreal dir) {
        const qreal h = s * 0.2 * dir;
        painter.drawPolyline(QPolygonF{QPointF(c.x() - s * 0.3, y + h), QPointF(c.x(), y - h),
                                       QPointF(c.x() + s * 0.3, y + h)});
    };
    switch (icon) {
        case Icon::Keyboard: {
            const QRectF body(c.x() - s * 0.48, c.y() - s * 0.3, s * 0.96, s * 0.6);
            painter.drawRoundedRect(body, s * 0.08, s * 0.08);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            for (int row = 0; row < 2; ++row)
                for (int col = 0; col < 5; ++col)
                    painter.drawRect(QRectF(body.left() + s * 0.1 + col * s * 0.16,
                                            body.top() + s * 0.1 + row * s * 0.14, s * 0.08,
                                            s * 0.07));
            painter.drawRect(
                QRectF(c.x() - s * 0.22, body.bottom() - s * 0.17, s * 0.44, s * 0.07));
            break;
        }
        case Icon::Clear:
            drawGlyph(painter, Glyph::Reset, box, colour);
            break;
        case Icon::Plus:
            painter.drawLine(QPointF(c.x() - s * 0.3, c.y()), QPointF(c.x() + s * 0.3, c.y()));
            painter.drawLine(QPointF(c.x(), c.y() - s * 0.3), QPointF(c.x(), c.y() + s * 0.3));
            break;
        case Icon::Trash: {
            painter.drawLine(QPointF(c.x() - s * 0.34, c.y() - s * 0.26),
                             QPointF(c.x() + s * 0.34, c.y() - s * 0.26));
            painter.drawLine(QPointF(c.x() - s * 0.1, c.y() - s * 0.36),
                             QPointF(c.x() + s * 0.1, c.y() - s * 0.36));
            QPainterPath can;
            can.moveTo(c.x() - s * 0.26, c.y() - s * 0.18);
            can.lineTo(c.x() - s * 0.2, c.y() + s * 0.38);
            can.lineTo(c.x() + s * 0.2, c.y() + s * 0.38);
            can.lineTo(c.x() + s * 0.26, c.y() - s * 0.18);
            painter.drawPath(can);
            break;
        }
        case Icon::RemoveAll:
            for (int i = 0; i < 3; ++i) {
                const qreal y = c.y() - s * 0.26 + i * s * 0.26;
                painter.drawLine(QPointF(c.x() - s * 0.4, y), QPointF(c.x() + s * 0.02, y));
            }
            painter.drawLine(QPointF(c.x() + s * 0.14, c.y() - s * 0.14),
                             QPointF(c.x() + s * 0.42, c.y() + s * 0.14));
            painter.drawLine(QPointF(c.x() + s * 0.42, c.y() - s * 0.14),
                             QPointF(c.x() + s * 0.14, c.y() + s * 0.14));
            break;
        case Icon::ToTop:
            painter.drawLine(QPointF(c.x() - s * 0.32, c.y() - s * 0.3),
                             QPointF(c.x() + s * 0.32, c.y() - s * 0.3));
            chevron(c.y() + s * 0.08, 1);
            break;
        case Icon::Up:
            chevron(c.y(), 1);
            break;
        case Icon::Down:
            chevron(c.y(), -1);
            break;
        case Icon::ToBottom:
            painter.drawLine(QPointF(c.x() - s * 0.32, c.y() + s * 0.3),
                             QPointF(c.x() + s * 0.32, c.y() + s * 0.3));
            chevron(c.y() - s * 0.08, -1);
            break;
    }
    painter.restore();
}

struct Surface {
    QColor fill;
    QColor border;
    QColor icon;
};

Surface surfaceOf(Look look) {
    switch (look) {
        case Look::Hover:
            return {pal::kControlHover, pal::kAccent, pal::kTextBright};
        case Look::Pressed:
            return {pal::kControlPressed, pal::kAccentDark, pal::kAccent};
        case Look::Disabled:
            return {pal::kControlDisabled, QColor(0x24, 0x27, 0x2c), pal::kTextFaint};
        default:
            return {pal::kControl, pal::kControlBorder, pal::kAccent};
    }
}

// A square-cornered tool button with an icon, centred or at the left edge
// (where the button's own text follows it).
void drawIconButton(QPainter& painter, const QRect& art, Icon icon, Look look, bool leftIcon) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(art).adjusted(1.5, 1.5, -1.5, -1.5);
    const Surface s = surfaceOf(look);
    painter.setPen(QPen(s.border, 1));
    painter.setBrush(s.fill);
    painter.drawRoundedRect(box, 7, 7);
    const qreal side = std::min<qreal>(16, box.height() - 10);
    const qreal dy = look == Look::Pressed ? 1 : 0;
    const QRectF iconBox =
        leftIcon
            ? QRectF(box.left() + 11, box.center().y() - side / 2 + dy, side, side)
            : QRectF(box.center().x() - side / 2, box.center().y() - side / 2 + dy, side, side);
    drawIcon(painter, icon, iconBox, s.icon);
    painter.restore();
}

// The record button: a dot that glows red, the button's text beside it.
void drawRecordButton(QPainter& painter, const QRect& art, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(art).adjusted(1.5, 1.5, -1.5, -1.5);
    Surface s = surfaceOf(look);
    if (look == Look::Pressed) {
        // Pressed is also the face shown while recording.
        s = {QColor(0x3a, 0x14, 0x12), pal::kDanger, pal::kDanger};
    }
    painter.setPen(QPen(s.border, 1));
    painter.setBrush(s.fill);
    painter.drawRoundedRect(box, 8, 8);
    const QColor dot = look == Look::Disabled ? pal::kTextFaint : pal::kDanger;
    const QPointF centre(box.left() + 20, box.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(dot);
    painter.drawEllipse(centre, 5.5, 5.5);
    painter.setPen(QPen(dot, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 8.5, 8.5);
    painter.restore();
}

void drawPanel(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pal::kPanelBorder, 1));
    painter.setBrush(pal::kPanel);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    painter.restore();
}

// A sunken frame around an input, so the tab's controls sit in the panel.
void drawWell(QPainter& painter, const QRect& area, qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pal::kControlBorder, 1));
    painter.setBrush(pal::kControlPressed);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

// The panel behind the tab's controls, drawn for the set's tab.
void drawTabPanel(QPainter& painter, const SkinLayout& layout, ImageSet set) {
    const auto panel = layout.controlArt("CONTROL_MASK");
    if (!panel) {
        return;
    }
    drawPanel(painter, *panel);
    const auto grow = [](const QRect& r, int by) { return r.adjusted(-by, -by, by, by); };
    switch (set) {
        case ImageSet::Key:
            if (const auto box = layout.controlArt("FUNC_KEY_INPUT")) {
                // The capture box sits in a dashed frame: the key lands here.
                painter.save();
                painter.setRenderHint(QPainter::Antialiasing);
                QPen dashed(pal::kAccentShade.lighter(160), 1.2, Qt::DashLine);
                painter.setPen(dashed);
                painter.setBrush(Qt::NoBrush);
                painter.drawRoundedRect(QRectF(grow(*box, 10)).adjusted(0.5, 0.5, -0.5, -0.5), 12,
                                        12);
                painter.restore();
            }
            break;
        case ImageSet::Macro:
        case ImageSet::Macro2:
            if (const auto list = layout.controlArt("FUNC_MACRO_LIST2")) {
                drawWell(painter, grow(*list, 1), 6);
            }
            // The divider between the macro column and the action list.
            if (const auto list = layout.controlArt("FUNC_MACRO_LIST2")) {
                const int x = list->left() - 8;
                painter.fillRect(QRect(x, panel->top() + 14, 1, panel->height() - 28),
                                 pal::kDivider);
            }
            break;
        case ImageSet::Media:
        case ImageSet::Function:
            break;
    }
}

void drawBackground(QPainter& painter, const SkinLayout& layout, const QSize& size) {
    painter.fillRect(QRect(QPoint(0, 0), size), pal::kWindow);
    if (const auto bar = layout.artwork("TITLE_BAR")) {
        painter.fillRect(*bar, pal::kTitleBar);
        painter.fillRect(QRect(bar->left(), bar->bottom(), bar->width(), 1), pal::kDivider);
    }
    if (const auto bar = layout.artwork("BOTTOM_BAR")) {
        painter.fillRect(*bar, pal::kBottomBar);
        painter.fillRect(QRect(bar->left(), bar->top(), bar->width(), 1), pal::kDivider);
    }
}

void drawBorder(QPainter& painter, const QSize& size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pal::kWindowBorder, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), kWindowRadius,
                            kWindowRadius);
}

void drawTitleMark(QPainter& painter, const QRect& art, Look look) {
    const QRectF box = QRectF(art).adjusted(1, 1, -1, -1);
    const QColor accent = look == Look::Disabled ? pal::kTextMuted : pal::kAccent;
    drawLogoMark(painter, box, accent, pal::kTitleBar);
}

// The title-bar button of the on-screen keyboard: flat until hovered.
void drawOskButton(QPainter& painter, const QRect& art, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(art).adjusted(1.5, 1.5, -1.5, -1.5);
    QColor icon = pal::kTextMuted;
    if (look == Look::Hover || look == Look::Pressed) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look == Look::Hover ? pal::kControlHover : pal::kControlPressed);
        painter.drawRoundedRect(box, 6, 6);
        icon = look == Look::Hover ? pal::kTextBright : pal::kAccent;
    } else if (look == Look::Disabled) {
        icon = pal::kTextFaint;
    }
    drawIcon(painter, Icon::Keyboard, box.adjusted(8, 4, -8, -4), icon);
    painter.restore();
}

using DrawControl = std::function<void(QPainter&, const QRect&, Look)>;

struct ControlArt {
    const char* key;
    DrawControl draw;
};

DrawControl iconButton(Icon icon, bool leftIcon = false) {
    return [=](QPainter& p, const QRect& r, Look l) { drawIconButton(p, r, icon, l, leftIcon); };
}

DrawControl tab() {
    // A tab's pressed face is also its face while it is the current tab.
    return [](QPainter& p, const QRect& r, Look l) {
        drawSegment(p, r, QString(), l == Look::Pressed ? Look::Selected : l);
    };
}

DrawControl dialogButton(bool primary) {
    return
        [=](QPainter& p, const QRect& r, Look l) { drawDialogButton(p, r, QString(), primary, l); };
}

const std::vector<ControlArt>& keySetControls() {
    static const std::vector<ControlArt> controls = {
        {"CONTROL_TITLE", drawTitleMark},
        {"CONTROL_OSK", drawOskButton},
        {"CONTROL_KEY", tab()},
        {"CONTROL_MACRO", tab()},
        {"CONTROL_MEDIA", tab()},
        {"CONTROL_FUNCTION", tab()},
        {"CONTROL_CLEAR", iconButton(Icon::Clear, true)},
        {"CONTROL_OK", dialogButton(true)},
        {"CONTROL_CANCEL", dialogButton(false)},
    };
    return controls;
}

const std::vector<ControlArt>& macroSetControls() {
    static const std::vector<ControlArt> controls = {
        {"FUNC_MACRO_ADD", iconButton(Icon::Plus, true)},
        {"FUNC_MACRO_DELETE", iconButton(Icon::Trash, true)},
        {"FUNC_MACRO_RECORD", drawRecordButton},
        {"FUNC_MACRO_DELETE2", iconButton(Icon::Trash)},
        {"FUNC_MACRO_CLEAR", iconButton(Icon::RemoveAll)},
        {"FUNC_MACRO_UP_TOP", iconButton(Icon::ToTop)},
        {"FUNC_MACRO_UP", iconButton(Icon::Up)},
        {"FUNC_MACRO_DOWN", iconButton(Icon::Down)},
        {"FUNC_MACRO_DOWN_BOTTOM", iconButton(Icon::ToBottom)},
    };
    return controls;
}

// What a macro-only window (G9) shows from the second macro set: the tabs
// it cannot use and Clear fade into the window, only the title mark stays.
void drawNothing(QPainter&, const QRect&, Look) {}

const std::vector<ControlArt>& macro2SetControls() {
    static const std::vector<ControlArt> controls = {
        {"CONTROL_TITLE", drawTitleMark}, {"CONTROL_KEY", drawNothing},
        {"CONTROL_MEDIA", drawNothing},   {"CONTROL_FUNCTION", drawNothing},
        {"CONTROL_CLEAR", drawNothing},
    };
    return controls;
}

// The drop-down arrow of the window's lists, at one and two pixels per point.
QImage drawListArrow(int scale) {
    QImage image(12 * scale, 8 * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.setPen(pen(pal::kTextMuted, 1.6));
    painter.drawPolyline(QPolygonF{QPointF(2, 2.5), QPointF(6, 6), QPointF(10, 2.5)});
    painter.end();
    return image;
}

QImage drawSheet(const SkinLayout& layout, ImageSet set, Look look) {
    const QSize size = layout.windowSize();
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    drawBackground(painter, layout, size);
    drawTabPanel(painter, layout, set);
    // Every sheet carries the key set's window controls in their normal
    // look, so that a control of another set never shows a hole.
    if (set != ImageSet::Macro2) {
        for (const ControlArt& control : keySetControls()) {
            if (const auto art = layout.controlArt(control.key)) {
                const bool ownSet = set == ImageSet::Key;
                control.draw(painter, *art, ownSet ? look : Look::Normal);
            }
        }
    }
    const std::vector<ControlArt>* own = nullptr;
    if (set == ImageSet::Macro) {
        own = &macroSetControls();
    } else if (set == ImageSet::Macro2) {
        own = &macro2SetControls();
    }
    if (own) {
        for (const ControlArt& control : *own) {
            if (const auto art = layout.controlArt(control.key)) {
                control.draw(painter, *art, look);
            }
        }
    }
    drawBorder(painter, size);
    painter.end();
    return image;
}

}  // namespace

std::vector<NamedPicture> drawCompositePictures(const SkinLayout& layout) {
    struct SetFiles {
        ImageSet set;
        const char* stem;
        bool ownDisabled;  // the set has a disabled picture of its own
    };
    static const SetFiles kSets[] = {
        {ImageSet::Key, "key", false},           {ImageSet::Macro, "macro", true},
        {ImageSet::Macro2, "macro2", true},      {ImageSet::Media, "media", false},
        {ImageSet::Function, "function", false},
    };
    std::vector<NamedPicture> pictures;
    for (const SetFiles& files : kSets) {
        const QString stem = QString::fromLatin1(files.stem);
        pictures.push_back({stem + "_normal.jpg", drawSheet(layout, files.set, Look::Normal)});
        pictures.push_back({stem + "_over.jpg", drawSheet(layout, files.set, Look::Hover)});
        pictures.push_back({stem + "_down.jpg", drawSheet(layout, files.set, Look::Pressed)});
        if (files.ownDisabled) {
            pictures.push_back(
                {stem + "_disable.jpg", drawSheet(layout, files.set, Look::Disabled)});
        }
    }
    pictures.push_back({"composite_mask.png", drawWindowMask(layout)});
    pictures.push_back({"composite_arrow.png", drawListArrow(1)});
    pictures.push_back({"composite_arrow@2x.png", drawListArrow(2)});
    return pictures;
}

}  // namespace keyloom::painter
