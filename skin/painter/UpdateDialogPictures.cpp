#include "UpdateDialogPictures.h"

#include <QPainter>

#include "ButtonArt.h"
#include "Palette.h"
#include "ProfileDialogPictures.h"

namespace keyloom::painter {
namespace {

namespace pal = palette;

QImage drawSheet(const SkinLayout& layout, Look look) {
    QImage image = drawDialogBackground(layout);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The chosen updater shows in a sunken field.
    if (const auto field = layout.artwork("PATH_FIELD")) {
        painter.setPen(QPen(pal::kControlBorder, 1));
        painter.setBrush(pal::kControlPressed);
        painter.drawRoundedRect(QRectF(*field).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
    if (const auto art = layout.controlArt("CONTROL_CLOSE"))
        drawTitleButton(painter, *art, Glyph::Close, look, true);
    for (const char* key : {"CONTROL_OPENButton", "CONTROL_BACKUPButton"})
        if (const auto art = layout.controlArt(key))
            drawToolButton(painter, *art, std::nullopt, "", std::nullopt, look);
    if (const auto art = layout.controlArt("CONTROL_UPButton"))
        drawDialogButton(painter, *art, "", true, look);
    if (const auto art = layout.controlArt("CONTROL_CUPButton"))
        drawDialogButton(painter, *art, "", false, look);
    painter.end();
    return image;
}

}  // namespace

std::vector<NamedPicture> drawUpdateDialogPictures(const SkinLayout& layout) {
    return {{"update_normal.jpg", drawSheet(layout, Look::Normal)},
            {"update_over.jpg", drawSheet(layout, Look::Hover)}};
}

}  // namespace keyloom::painter
