#pragma once
// The five mouse actions a key or a macro event can carry: three buttons and
// one wheel step up or down. Matrix entries and macro events share the
// sub-class / data bytes (1 mask for buttons, 5 and +1/-1 for the wheel).

#include <array>
#include <cstdint>

#include "model/KeyTable.h"

namespace keyloom {

struct MouseRow {
    KeyCode keyCode;
    std::uint8_t sub;    // 1 buttons, 5 wheel
    std::uint8_t value;  // button mask, or 0x01 up / 0xFF down
    std::uint8_t deviceCode;
};

inline constexpr std::array<MouseRow, 5> MouseTable{{
    {0x171, 1, 0x01, 0xF1},  // left button
    {0x172, 1, 0x02, 0xF2},  // right button
    {0x173, 1, 0x04, 0xF3},  // middle button
    {0x161, 5, 0x01, 0xF4},  // wheel up
    {0x162, 5, 0xFF, 0xF5},  // wheel down
}};

// Row of a mouse key code, or nullptr.
const MouseRow* mouseRowOfKey(KeyCode code);
// Row of a mouse device code (0xF1-0xF5), or nullptr.
const MouseRow* mouseRowOfDeviceCode(std::uint16_t deviceCode);
// Key code of sub-class and value bytes; 0 when they name none of the five.
KeyCode mouseKeyOf(std::uint8_t sub, std::uint8_t value);

}  // namespace keyloom
