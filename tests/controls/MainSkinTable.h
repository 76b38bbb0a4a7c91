#pragma once
// The controls of the main window that its skin must place, and which of the
// four state pictures (N normal, H hover, P pressed, D disable) each skinned
// button shows as its normal, hover, pressed, disabled and selected face.

#include <string>
#include <vector>

namespace keyloom::testing {

struct MainSkinButton {
    std::string key;
    std::string faces;       // five letters, e.g. "NHPND"
    bool inKeyView = false;  // a key button, G button or Fn (toggle faces)
};

// The 105 key buttons, G1-G9, Fn and every other skinned button.
std::vector<MainSkinButton> mainSkinButtons();

// Controls that are only placed: the colour boxes, the version label and the
// lighting panel.
std::vector<std::string> mainSkinPlacedControls();

// The eight arrow picture offsets.
std::vector<std::string> arrowOffsetKeys();

std::string sourceFile(const std::string& relative);
std::string builtFile(const std::string& relative);

}  // namespace keyloom::testing
