#pragma once
// The face a key button shows while it is disabled because the keyboard
// lacks the key: its normal face, darkened, so that it reads as unavailable.

#include "controls/CSkinButton.h"

namespace keyloom::shell {

// Gives `button` a darkened copy of its normal picture as its disabled
// picture, unless its disabled picture already differs from its normal one.
// The button must hold its own cut of the normal picture
// (MainPictures::complete, which also gives the undimmed pictures back).
void dimDisabledFace(controls::CSkinButton& button);
bool hasDimmedFace(const controls::CSkinButton& button);

}  // namespace keyloom::shell
