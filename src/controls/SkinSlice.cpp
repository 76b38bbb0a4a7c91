#include "controls/SkinSlice.h"

#include <QRect>

namespace keyloom::controls {

void drawPictureSlice(QPainter& painter, const QPixmap& picture, QPoint pictureOffset, QSize size,
                      QPoint pictureOrigin) {
    if (picture.isNull()) {
        return;
    }
    const QRect wanted(pictureOffset - QPoint(1, 1), size);
    const QRect available = wanted.intersected(QRect(pictureOrigin, picture.size()));
    if (available.isEmpty()) {
        return;
    }
    // Filtered when the window is drawn at a fractional scale.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(available.topLeft() - wanted.topLeft(), picture,
                       available.translated(-pictureOrigin));
}

}  // namespace keyloom::controls
