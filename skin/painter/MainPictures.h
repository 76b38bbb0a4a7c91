#pragma once
// The full-window pictures of the main skin: the window with every control
// drawn in the look that picture stands for.

#include <QImage>

#include "Looks.h"
#include "SkinLayout.h"

namespace keyloom::painter {

QImage drawMainSheet(const SkinLayout& layout, Sheet sheet);

}  // namespace keyloom::painter
