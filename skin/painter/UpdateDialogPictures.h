#pragma once
// The pictures of the firmware update dialog ("update_normal.jpg" and
// "update_over.jpg") from the geometry of its skin file. The buttons carry no
// text: their captions come from the language file.

#include <vector>

#include "LightingPictures.h"
#include "SkinLayout.h"

namespace keyloom::painter {

std::vector<NamedPicture> drawUpdateDialogPictures(const SkinLayout& layout);

}  // namespace keyloom::painter
