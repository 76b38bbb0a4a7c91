#pragma once
// The pictures of the lighting panel: switch, direction, colour choice,
// multicolour and tool pictures, slider faces, preset swatches and labels,
// each sized like the control that shows it.

#include <QImage>
#include <QString>
#include <vector>

#include "SkinLayout.h"

namespace keyloom::painter {

struct NamedPicture {
    QString name;
    QImage image;
};

std::vector<NamedPicture> drawLightingPictures(const SkinLayout& layout);

}  // namespace keyloom::painter
