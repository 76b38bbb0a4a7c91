#pragma once
// The faces a skinned button can show: one per state picture, plus the two
// pictures of the toggle-face display.

#include <cstdint>

namespace keyloom::controls {

enum class SkinFace : std::uint8_t {
    Normal,
    Hover,
    Pressed,
    Disabled,
    Selected,
    ToggleOff,
    ToggleOn,
};

// Which of the five text colours a face draws its text in.
enum class TextColourSlot : std::uint8_t { Normal, Hover, Pressed, Disabled, Selected };

}  // namespace keyloom::controls
