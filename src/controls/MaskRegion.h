#pragma once
// The shape of a skinned window from its mask picture: every pixel that is
// exactly white (0xFFFFFF) is cut out, every other pixel belongs to the
// window.

#include <QImage>
#include <QRegion>

namespace keyloom::controls {

// The region of the non-white pixels; empty for a null or all-white picture.
QRegion maskRegion(const QImage& mask);

}  // namespace keyloom::controls
