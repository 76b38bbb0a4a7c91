#include "controls/SkinButtonState.h"

namespace keyloom::controls {

SkinFace SkinButtonState::face() const {
    if (!enabled_) {
        return SkinFace::Disabled;
    }
    if (toggleDisplay_) {
        return toggleFlag_ ? SkinFace::ToggleOn : SkinFace::ToggleOff;
    }
    if (pressed_) {
        return SkinFace::Pressed;
    }
    if (selected_) {
        return SkinFace::Selected;
    }
    return hovered_ ? SkinFace::Hover : SkinFace::Normal;
}

TextColourSlot SkinButtonState::textSlot() const {
    switch (face()) {
        case SkinFace::Hover:
            return TextColourSlot::Hover;
        case SkinFace::Pressed:
            return TextColourSlot::Pressed;
        case SkinFace::Disabled:
            return TextColourSlot::Disabled;
        case SkinFace::Selected:
            return TextColourSlot::Selected;
        case SkinFace::Normal:
        case SkinFace::ToggleOff:
        case SkinFace::ToggleOn:
            break;
    }
    return TextColourSlot::Normal;
}

template <typename T>
bool SkinButtonState::change(T& field, T value) {
    if (field == value) {
        return false;
    }
    const SkinFace before = face();
    field = value;
    return face() != before;
}

bool SkinButtonState::setEnabled(bool enabled) {
    return change(enabled_, enabled);
}

bool SkinButtonState::setHovered(bool hovered) {
    return change(hovered_, hovered);
}

bool SkinButtonState::setPressed(bool pressed) {
    return change(pressed_, pressed);
}

bool SkinButtonState::setSelected(bool selected) {
    return change(selected_, selected);
}

bool SkinButtonState::setToggleDisplay(bool on, bool flag) {
    const SkinFace before = face();
    toggleDisplay_ = on;
    toggleFlag_ = flag;
    return face() != before;
}

bool SkinButtonState::setOutline(std::optional<Rgb> colour) {
    if (outline_ == colour) {
        return false;
    }
    outline_ = colour;
    return true;
}

}  // namespace keyloom::controls
