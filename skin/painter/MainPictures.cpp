#include "MainPictures.h"

#include <QPainter>
#include <functional>
#include <vector>

#include "ButtonArt.h"
#include "Fonts.h"
#include "KeyLegends.h"
#include "KeycapArt.h"
#include "Palette.h"

namespace keyloom::painter {
namespace {

namespace pal = palette;

using DrawControl = std::function<void(QPainter&, const QRect&, Look)>;

struct ControlArt {
    const char* key;
    DisableRole role;
    DrawControl draw;
};

DrawControl titleButton(Glyph glyph, bool danger = false) {
    return [=](QPainter& p, const QRect& r, Look l) { drawTitleButton(p, r, glyph, l, danger); };
}

DrawControl segment(const char* text) {
    return [=](QPainter& p, const QRect& r, Look l) { drawSegment(p, r, text, l); };
}

DrawControl toolButton(std::optional<Glyph> leading, const char* text,
                       std::optional<Glyph> trailing = std::nullopt) {
    return [=](QPainter& p, const QRect& r, Look l) {
        drawToolButton(p, r, leading, text, trailing, l);
    };
}

DrawControl dialogButton(const char* text, bool primary) {
    return [=](QPainter& p, const QRect& r, Look l) { drawDialogButton(p, r, text, primary, l); };
}

DrawControl roundLink(Glyph glyph) {
    return [=](QPainter& p, const QRect& r, Look l) { drawRoundLink(p, r, glyph, l); };
}

DrawControl lockLamp(const char* label) {
    return [=](QPainter& p, const QRect& r, Look l) { drawLockLamp(p, r, label, l); };
}

DrawControl flipButton(Glyph glyph) {
    return [=](QPainter& p, const QRect& r, Look l) { drawFlipButton(p, r, glyph, l); };
}

// Every control the main pictures show besides the keys. Words are not drawn
// into the pictures: the window writes them over the controls in the user's
// language. The "disable"
// picture is the selected face of the choice buttons and the disabled face
// of the rest.
const std::vector<ControlArt>& windowControls() {
    using R = DisableRole;
    static const std::vector<ControlArt> controls = {
        {"KESTRO_LINK", R::Selected,
         [](QPainter& p, const QRect& r, Look l) { drawLogoLink(p, r, l); }},
        {"CONTROL_HELP", R::Disabled, titleButton(Glyph::Help)},
        {"CONTROL_MENU", R::Disabled, titleButton(Glyph::Menu)},
        {"CONTROL_MINIMIZE", R::Disabled, titleButton(Glyph::Minimize)},
        {"CONTROL_CLOSE", R::Disabled, titleButton(Glyph::Close, true)},
        {"FUNC_PROFILE1", R::Selected, segment("1")},
        {"FUNC_PROFILE2", R::Selected, segment("2")},
        {"FUNC_PROFILE3", R::Selected, segment("3")},
        {"FUNC_PROFILES", R::Disabled, toolButton(Glyph::Profiles, "", Glyph::ChevronDown)},
        {"FUNC_MACRO", R::Disabled, toolButton(Glyph::Record, "")},
        {"FUNC_SWITCH", R::Selected, toolButton(std::nullopt, "")},
        {"FUNC_DEFAULT", R::Selected, toolButton(Glyph::Reset, "")},
        {"FUNC_REPORT1", R::Selected, segment("125")},
        {"FUNC_REPORT2", R::Selected, segment("250")},
        {"FUNC_REPORT3", R::Selected, segment("500")},
        {"FUNC_REPORT4", R::Selected, segment("1000")},
        {"FLIP_1", R::Selected, flipButton(Glyph::ChevronLeft)},
        {"FLIP_0", R::Selected,
         [](QPainter& p, const QRect& r, Look l) { drawFlipLabel(p, r, "", l); }},
        {"FLIP_2", R::Selected, flipButton(Glyph::ChevronRight)},
        {"KEYLOOM_TOPROW_D1", R::Disabled, segment("D1")},
        {"KEYLOOM_TOPROW_D2", R::Disabled, segment("D2")},
        {"KEYLOOM_TOPROW_D3", R::Disabled, segment("D3")},
        {"KEYLOOM_TOPROW_D4", R::Disabled, segment("D4")},
        {"KEYLOOM_TOPROW_D5", R::Disabled, segment("D5")},
        {"KEYLOOM_TOPROW_D6", R::Disabled, segment("D6")},
        {"LOCK_NUM", R::Disabled, lockLamp("Num")},
        {"LOCK_CAPS", R::Disabled, lockLamp("Caps")},
        {"LOCK_SCROLL", R::Disabled, lockLamp("Scroll")},
        {"LOCK_AB", R::Disabled, lockLamp("AB")},
        {"KEY_PCGAME", R::Selected, roundLink(Glyph::Globe)},
        {"KEY_FACEBOOK", R::Selected, roundLink(Glyph::Community)},
        {"KEY_INSTARGRAM", R::Selected, roundLink(Glyph::Gallery)},
        {"CONTROL_OK", R::Disabled, dialogButton("", true)},
        {"CONTROL_CANCEL", R::Disabled, dialogButton("", false)},
        {"CONTROL2_APPLY", R::Disabled, dialogButton("", false)},
    };
    return controls;
}

void drawCaption(QPainter& painter, const QRectF& box, const QString& text, const QColor& colour,
                 Qt::Alignment alignment, int pixelSize = 10) {
    QFont font = skinFont(pixelSize, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, alignment, text);
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

    painter.setRenderHint(QPainter::Antialiasing);
    if (const auto body = layout.artwork("KEYBOARD_BODY")) {
        const QRectF box = QRectF(*body).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(pal::kBodyBorder, 1));
        painter.setBrush(pal::kBody);
        painter.drawRoundedRect(box, 16, 16);
        // A faint highlight along the top edge gives the body some depth.
        painter.setPen(QPen(QColor(255, 255, 255, 18), 1));
        painter.drawLine(QPointF(box.left() + 16, box.top() + 1.5),
                         QPointF(box.right() - 16, box.top() + 1.5));
    }
    if (const auto panel = layout.artwork("LIGHTING_PANEL")) {
        painter.setPen(QPen(pal::kPanelBorder, 1));
        painter.setBrush(pal::kPanel);
        painter.drawRoundedRect(QRectF(*panel).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    }
    if (const auto label = layout.artwork("BRAND")) {
        drawCaption(painter, *label, "KEYLOOM", QColor(0x3a, 0x3f, 0x47),
                    Qt::AlignRight | Qt::AlignVCenter, 11);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void drawWindowBorder(QPainter& painter, const QSize& size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pal::kWindowBorder, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), kWindowRadius,
                            kWindowRadius);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

Look keyLook(Sheet sheet) {
    switch (sheet) {
        case Sheet::ToggleOff:
            return Look::ToggleOff;
        case Sheet::ToggleOn:
            return Look::ToggleOn;
        default:
            return lookOn(sheet, DisableRole::Selected);
    }
}

}  // namespace

QImage drawMainSheet(const SkinLayout& layout, Sheet sheet) {
    const QSize size = layout.windowSize();
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    drawBackground(painter, layout, size);

    for (const ControlArt& control : windowControls()) {
        if (const auto art = layout.controlArt(control.key)) {
            control.draw(painter, *art, lookOn(sheet, control.role));
        }
    }
    const Look look = keyLook(sheet);
    for (const KeyLegend& legend : keyLegends()) {
        if (const auto art = layout.controlArt(legend.skinKey)) {
            drawKeycap(painter, *art, legend, look);
        }
    }
    drawWindowBorder(painter, size);
    painter.end();
    return image;
}

}  // namespace keyloom::painter
