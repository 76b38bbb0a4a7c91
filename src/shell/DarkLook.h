#pragma once
// The dark skin's look for what Qt draws itself: menus, message boxes, the
// colour picker, file dialogs and tooltips, so that they match the skinned
// windows they open from.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPalette;

namespace keyloom::shell {

// The program-wide look, once the application object exists: the toolkit's
// own flat style with the skin's dark colours, tooltips included, and the
// toolkit's own dialogs instead of the desktop's, so that they take it.
void applyDarkLook();
QPalette darkPalette();

const QString& darkMenuStyle();
const QString& darkMessageBoxStyle();

// Where a menu of `menu` size opened from a button at `anchor` (both in
// screen coordinates) goes: below the button, or above it when there is no
// room below; left edges aligned, kept inside `screen` sideways.
QPoint dropPosition(const QRect& anchor, const QSize& menu, const QRect& screen);

}  // namespace keyloom::shell
