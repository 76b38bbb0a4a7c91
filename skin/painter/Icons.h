#pragma once
// The program icon and the three tray icons (no keyboard, keyboard
// connected, keyboard indicator on), drawn on a transparent background.

#include <QImage>

namespace keyloom::painter {

enum class TrayState { NoKeyboard, Connected, Indicator };

QImage drawProgramIcon(int side);
QImage drawTrayIcon(TrayState state, int side);

}  // namespace keyloom::painter
