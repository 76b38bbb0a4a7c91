#pragma once
// The key assignment window's pictures: five image sets of four full-window
// pictures each (normal, hover, pressed, disabled), and its shape mask.

#include <QImage>
#include <QString>
#include <vector>

#include "LightingPictures.h"
#include "SkinLayout.h"

namespace keyloom::painter {

// Every picture of the key assignment window, named as its skin loads them.
std::vector<NamedPicture> drawCompositePictures(const SkinLayout& layout);

}  // namespace keyloom::painter
