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
void drawPictureSlice(QPainter& painter, const QPixmap& picture, QPoint pictureOffset, QSize size);

}  // namespace keyloom::controls
