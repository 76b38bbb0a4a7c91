#pragma once
// The eight modifier keys and their HID modifier bits, shared by the key
// matrix entries (02 01 mask) and macro events (keyboard class, data 01 mask).

#include <array>
#include <cstdint>

#include "model/KeyTable.h"

namespace keyloom {

struct ModifierRow {
    KeyCode keyCode;
    std::uint8_t mask;
};

// In bit order: when a mask names several keys, the first row wins.
inline constexpr std::array<ModifierRow, 8> ModifierTable{{
    {0x01D, 0x01},  // left Ctrl
    {0x02A, 0x02},  // left Shift
    {0x038, 0x04},  // left Alt
    {0x15B, 0x08},  // left Windows
    {0x11D, 0x10},  // right Ctrl
    {0x036, 0x20},  // right Shift
    {0x138, 0x40},  // right Alt
    {0x15C, 0x80},  // right Windows
}};

// Mask of a modifier key code; 0 when the code is not a modifier.
std::uint8_t modifierMaskOf(KeyCode code);
// Key of the lowest set bit of `mask`; 0 for mask 0.
KeyCode modifierKeyOfMask(std::uint8_t mask);

}  // namespace keyloom
