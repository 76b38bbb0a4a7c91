#include "shell/DimmedFace.h"

#include <QPainter>

namespace keyloom::shell {

bool hasDimmedFace(const controls::CSkinButton& button) {
    const controls::SkinPictureSet& pictures = button.pictures();
    return !pictures.disabled.isNull() &&
           pictures.disabled.cacheKey() != pictures.normal.cacheKey();
}

void dimDisabledFace(controls::CSkinButton& button) {
    if (hasDimmedFace(button))
        return;
    controls::SkinPictureSet pictures = button.pictures();
    const QSize cut = pictures.normal.size();
    // Only a cut of the button's own rectangle is copied; a whole-window
    // picture would cost megabytes per button.
    const QSize room = button.size() * 2;
    if (pictures.normal.isNull() || cut.width() > room.width() || cut.height() > room.height())
        return;
    QPixmap dimmed = pictures.normal.copy();
    {
        QPainter painter(&dimmed);
        painter.fillRect(dimmed.rect(), QColor(0x16, 0x18, 0x1b, 180));
    }
    pictures.disabled = dimmed;
    button.setPictures(pictures, button.pictureOffset(), button.pictureOrigin());
    button.update();
}

}  // namespace keyloom::shell
