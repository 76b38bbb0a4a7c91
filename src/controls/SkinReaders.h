#pragma once
// Placing and skinning controls from a skin file. Every reader takes the
// control, the skin file, the section and the key of the control's geometry
// ("x,y,w,h"; a missing key reads as a 1 x 1 control at 1,1). None reports
// failure: a missing file or key simply gives that default.

#include <QPixmap>
#include <QWidget>
#include <string>
#include <string_view>

#include "controls/CSkinButton.h"
#include "controls/SkinPictureSet.h"

namespace keyloom::controls {

// Moves the button to x,y with size w x h and gives it the five pictures
// with its position as picture offset. A button placed at 1,1 is disabled:
// a skin hides a button by leaving its key out.
void readSkinControl(CSkinButton& control, const std::string& skinFile, std::string_view section,
                     std::string_view key, const SkinPictureSet& pictures);

// Moves any control to x,y with size w x h (static texts, edit boxes,
// lists, sliders, combo boxes).
void placeControl(QWidget& control, const std::string& skinFile, std::string_view section,
                  std::string_view key);

// Places the button from `key`, and shows `picture` in all five states from
// the picture offset given by x,y of `sourceKey` in `sourceSection`.
void placeControlWithSource(CSkinButton& control, const std::string& skinFile,
                            std::string_view section, std::string_view key,
                            std::string_view sourceSection, std::string_view sourceKey,
                            const QPixmap& picture);

// Moves the control to x,y of `key`, keeps its size, and repaints it.
void moveControl(QWidget& control, const std::string& skinFile, std::string_view section,
                 std::string_view key);

}  // namespace keyloom::controls
