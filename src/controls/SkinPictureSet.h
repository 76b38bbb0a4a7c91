#pragma once
// The five state pictures of a skinned button. Each is a full-window
// picture; the button shows the part of it under its own rectangle.

#include <QPixmap>

namespace keyloom::controls {

struct SkinPictureSet {
    QPixmap normal;
    QPixmap hover;
    QPixmap pressed;
    QPixmap disabled;
    QPixmap selected;

    // The same picture for all five states (the arrow indicators).
    static SkinPictureSet uniform(const QPixmap& picture) {
        return {picture, picture, picture, picture, picture};
    }
};

}  // namespace keyloom::controls
