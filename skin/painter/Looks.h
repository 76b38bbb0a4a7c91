#pragma once
// The looks a control can be drawn in, and the full-window pictures that
// carry them.

namespace keyloom::painter {

enum class Look { Normal, Hover, Pressed, Disabled, Selected, ToggleOff, ToggleOn };

// One full-window picture of the main skin.
enum class Sheet { Normal, Over, Down, Disable, ToggleOff, ToggleOn };

// What a control shows in the "disable" picture. The main window gives some
// controls that picture as their disabled face and others as their selected
// face (the link buttons show it while pressed, so they draw it as a lit
// pressed face).
enum class DisableRole { Disabled, Selected };

inline Look lookOn(Sheet sheet, DisableRole role) {
    switch (sheet) {
        case Sheet::Normal:
            return Look::Normal;
        case Sheet::Over:
            return Look::Hover;
        case Sheet::Down:
            return Look::Pressed;
        case Sheet::Disable:
            return role == DisableRole::Selected ? Look::Selected : Look::Disabled;
        case Sheet::ToggleOff:
        case Sheet::ToggleOn:
            return Look::Normal;
    }
    return Look::Normal;
}

}  // namespace keyloom::painter
