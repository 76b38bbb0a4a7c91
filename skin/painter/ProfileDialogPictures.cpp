#include "ProfileDialogPictures.h"

#include <QPainter>
#include <functional>
#include <string_view>

#include "ButtonArt.h"
#include "Palette.h"

namespace keyloom::painter {
namespace {

namespace pal = palette;

using DrawButton = std::function<void(QPainter&, const QRect&, Look)>;

DrawButton dialogButton(bool primary) {
    return [=](QPainter& p, const QRect& r, Look l) { drawDialogButton(p, r, "", primary, l); };
}

DrawButton toolButton() {
    return [](QPainter& p, const QRect& r, Look l) {
        drawToolButton(p, r, std::nullopt, "", std::nullopt, l);
    };
}

DrawButton closeButton() {
    return
        [](QPainter& p, const QRect& r, Look l) { drawTitleButton(p, r, Glyph::Close, l, true); };
}

QImage drawSheet(const SkinLayout& layout, Look look) {
    QImage image = drawDialogBackground(layout);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    if (const auto frame = layout.artwork("LIST_FRAME")) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(pal::kPanelBorder, 1));
        painter.setBrush(pal::kPanel);
        painter.drawRoundedRect(QRectF(*frame).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
    const std::pair<const char*, DrawButton> buttons[] = {
        {"CONTROL_CLOSE", closeButton()},
        {"FUNC_ADD", toolButton()},
        {"FUNC_LOAD", toolButton()},
        {"FUNC_DELETE", toolButton()},
        {"CONTROL_OK", dialogButton(true)},
        {"CONTROL_CANCEL", dialogButton(false)},
        {"CONTROL2_APPLY", dialogButton(false)},
    };
    for (const auto& [key, draw] : buttons) {
        // The pressed picture is also the disabled face: the buttons that
        // can be disabled are drawn sunk without the accent rim.
        const bool primary = std::string_view(key) == "CONTROL_OK";
        const Look shown = look == Look::Pressed && !primary ? Look::Disabled : look;
        if (const auto art = layout.controlArt(key))
            draw(painter, *art, shown);
    }
    painter.end();
    return image;
}

}  // namespace

QImage drawDialogBackground(const SkinLayout& layout) {
    const QSize size = layout.windowSize();
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(pal::kWindow);
    QPainter painter(&image);
    if (const auto bar = layout.artwork("TITLE_BAR")) {
        painter.fillRect(*bar, pal::kTitleBar);
        painter.fillRect(QRect(bar->left(), bar->bottom(), bar->width(), 1), pal::kDivider);
    }
    if (const auto bar = layout.artwork("BOTTOM_BAR")) {
        painter.fillRect(*bar, pal::kBottomBar);
        painter.fillRect(QRect(bar->left(), bar->top(), bar->width(), 1), pal::kDivider);
    }
    painter.setPen(pal::kWindowBorder);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
    painter.end();
    return image;
}

std::vector<NamedPicture> drawProfileDialogPictures(const SkinLayout& layout) {
    return {{"Profile_normal.jpg", drawSheet(layout, Look::Normal)},
            {"Profile_over.jpg", drawSheet(layout, Look::Hover)},
            {"Profile_down.jpg", drawSheet(layout, Look::Pressed)}};
}

}  // namespace keyloom::painter
