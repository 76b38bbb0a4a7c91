#pragma once
// A keycap of the key view in each of its looks.

#include <QPainter>
#include <QRect>

#include "KeyLegends.h"
#include "Looks.h"

namespace keyloom::painter {

void drawKeycap(QPainter& painter, const QRect& art, const KeyLegend& legend, Look look);

}  // namespace keyloom::painter
