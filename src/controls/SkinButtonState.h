#pragma once
// What a skinned button shows, decided from its state alone so that the
// rules can be driven and checked without a window:
// - disabled buttons show their disabled picture, whatever else is set;
// - in toggle-face display the button shows its "on" or "off" picture for
//   its flag, and no hover or pressed feedback;
// - otherwise pressed beats selected, and selected beats hover, so that a
//   selected button (the active profile, an assigned key, a lit lock lamp)
//   keeps its look under the mouse.

#include <cstdint>
#include <optional>

#include "controls/SkinFace.h"

namespace keyloom::controls {

// 0xRRGGBB.
using Rgb = std::uint32_t;

class SkinButtonState {
public:
    SkinFace face() const;
    TextColourSlot textSlot() const;

    bool enabled() const { return enabled_; }
    bool hovered() const { return hovered_; }
    bool pressed() const { return pressed_; }
    bool selected() const { return selected_; }
    bool toggleDisplay() const { return toggleDisplay_; }
    bool toggleFlag() const { return toggleFlag_; }
    const std::optional<Rgb>& outline() const { return outline_; }

    // Each setter returns whether the face or the outline changed, i.e.
    // whether the button must be repainted.
    bool setEnabled(bool enabled);
    bool setHovered(bool hovered);
    bool setPressed(bool pressed);
    bool setSelected(bool selected);
    // Turns the toggle-face display on or off and sets the flag it shows.
    bool setToggleDisplay(bool on, bool flag);
    bool setOutline(std::optional<Rgb> colour);

private:
    template <typename T>
    bool change(T& field, T value);

    bool enabled_ = true;
    bool hovered_ = false;
    bool pressed_ = false;
    bool selected_ = false;
    bool toggleDisplay_ = false;
    bool toggleFlag_ = false;
    std::optional<Rgb> outline_;
};

}  // namespace keyloom::controls
