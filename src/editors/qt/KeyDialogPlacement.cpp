#include "editors/qt/KeyDialogPlacement.h"

namespace keyloom::editors::qt {

QPoint keyDialogPosition(const QRect& screen, const QRect& key, const QSize& dialog, bool centred) {
    if (centred) {
        return screen.topLeft() + QPoint((screen.width() - dialog.width()) / 2,
                                         (screen.height() - dialog.height()) / 2);
    }
    // Edges as a window rectangle gives them: right and bottom are one past
    // the key.
    const int right = key.x() + key.width();
    const int bottom = key.y() + key.height();
    const int w = dialog.width();
    const int h = dialog.height();
    const int screenRight = screen.x() + screen.width();
    const int screenBottom = screen.y() + screen.height();
    const bool roomRight = screenRight - right >= w;
    const bool roomBelow = screenBottom - bottom >= h;
    const bool roomLeft = key.x() - screen.x() >= w;
    const bool roomAbove = key.y() - screen.y() >= h;
    if (roomRight && roomBelow) {
        return {right, bottom};
    }
    if (roomRight && roomAbove) {
        return {right, key.y() - h};
    }
    if (roomLeft && roomBelow) {
        return {key.x() - w, bottom};
    }
    if (roomLeft && roomAbove) {
        return {key.x() - w, key.y() - h};
    }
    return {right, bottom};
}

}  // namespace keyloom::editors::qt
