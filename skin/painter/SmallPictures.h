#pragma once
// The smaller pictures of the main skin: the arrow faces, the window's shape
// mask and the frames of the busy indicator.

#include <QImage>
#include <vector>

#include "SkinLayout.h"

namespace keyloom::painter {

// "Arrow.jpg": one cell per arrow picture offset of [BUTTONINFO2].
QImage drawArrowSheet(const SkinLayout& layout);

// The shape of the window: pure white outside its rounded corners.
QImage drawWindowMask(const SkinLayout& layout);

// The ten frames of the busy spinner, sized like the control that shows them.
std::vector<QImage> drawBusyFrames(const SkinLayout& layout);

}  // namespace keyloom::painter
