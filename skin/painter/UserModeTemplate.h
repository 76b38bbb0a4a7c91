#pragma once
// The template of the per-key lighting files ("UserDengColor_3.userd"): ten
// ready-made user modes, copied into each profile's file on first run. Some
// modes colour the keys by where they sit on the board, so the template is
// made from the same geometry as the pictures.

#include <QByteArray>

#include "SkinLayout.h"

namespace keyloom::painter {

QByteArray userModeTemplate(const SkinLayout& layout);

}  // namespace keyloom::painter
