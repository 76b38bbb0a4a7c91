#pragma once
// Drawing the part of a full-window picture that lies under a control.

#include <QPainter>
#include <QPixmap>
#include <QPoint>
#include <QSize>

namespace keyloom::controls {

// Draws, at the control's top-left corner, the `size` rectangle of `picture`
// whose top-left corner is one pixel up and left of `pictureOffset`. Parts
// of that rectangle outside the picture are left undrawn. Never scales.
// `picture` may be a cut of the full-window picture whose top-left corner
// lies at `pictureOrigin` of it; offsets stay those of the full picture.
void drawPictureSlice(QPainter& painter, const QPixmap& picture, QPoint pictureOffset, QSize size,
                      QPoint pictureOrigin = QPoint(0, 0));

}  // namespace keyloom::controls
