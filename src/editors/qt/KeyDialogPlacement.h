#pragma once
// Where the key assignment dialog opens: beside the clicked key, on the first
// side where it fits on the screen (below right, above right, below left,
// above left), or centred for the macro-only key.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace keyloom::editors::qt {

// `screen` is the available screen area, `key` the clicked key button's
// rectangle in screen coordinates; the result is the dialog's top-left.
QPoint keyDialogPosition(const QRect& screen, const QRect& key, const QSize& dialog, bool centred);

}  // namespace keyloom::editors::qt
