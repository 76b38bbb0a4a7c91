#pragma once
// The program icon and the three tray icons (no keyboard, keyboard
// connected, keyboard indicator on), drawn on a transparent background.

#include <QByteArray>
#include <QImage>

namespace keyloom::painter {

enum class TrayState { NoKeyboard, Connected, Indicator };

QImage drawProgramIcon(int side);
// The program icon as an SVG document, for the icon theme's scalable size;
// empty when this build cannot write SVG.
QByteArray drawProgramIconSvg();
QImage drawTrayIcon(TrayState state, int side);

}  // namespace keyloom::painter
