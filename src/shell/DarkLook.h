#pragma once
// The dark skin's look for what Qt draws itself: menus and message boxes, so
// that they match the skinned windows they open from.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace keyloom::shell {

const QString& darkMenuStyle();
const QString& darkMessageBoxStyle();

// Where a menu of `menu` size opened from a button at `anchor` (both in
// screen coordinates) goes: below the button, or above it when there is no
// room below; left edges aligned, kept inside `screen` sideways.
QPoint dropPosition(const QRect& anchor, const QSize& menu, const QRect& screen);

}  // namespace keyloom::shell
