#pragma once
// The pictures of the profile manager ("Profile_normal.jpg", "_over.jpg",
// "_down.jpg") from the geometry of its skin file, and the dialog background
// the firmware update's pictures share. The buttons carry no text: their
// captions come from the language file.

#include <QImage>
#include <vector>

#include "LightingPictures.h"
#include "Looks.h"
#include "SkinLayout.h"

namespace keyloom::painter {

// The window of a small dialog: title bar, bottom bar, border.
QImage drawDialogBackground(const SkinLayout& layout);

std::vector<NamedPicture> drawProfileDialogPictures(const SkinLayout& layout);

}  // namespace keyloom::painter
