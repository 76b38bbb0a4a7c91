#pragma once
// One macro event as the keyboard stores it in the macro area: a 16-bit word
// (bits 0-11 delay in 10 ms units, 12-14 event class, 15 set for a press)
// followed by two data bytes.

#include <cstdint>

#include "model/MacroRecord.h"

namespace keyloom {

struct DeviceAction {
    static constexpr std::size_t kSize = 4;
    static constexpr std::uint16_t kDelayMask = 0x0FFF;
    static constexpr std::uint16_t kPressBit = 0x8000;
    static constexpr unsigned kClassShift = 12;
    static constexpr std::uint32_t kDelayUnitMs = 10;
    // Longest delay the 12-bit field holds, and the bound longer ones get.
    static constexpr std::uint32_t kMaxRepresentableDelayMs = kDelayMask * kDelayUnitMs;  // 40,950
    static constexpr std::uint32_t kDelayBoundMs = 40000;

    // Event classes of bits 12-14.
    static constexpr std::uint8_t kNone = 0;
    static constexpr std::uint8_t kMouse = 1;
    static constexpr std::uint8_t kKeyboard = 2;
    static constexpr std::uint8_t kConsumer = 3;
    static constexpr std::uint8_t kSystem = 4;

    std::uint16_t word = 0;
    std::uint8_t data0 = 0;
    std::uint8_t data1 = 0;

    std::uint8_t eventClass() const { return (word >> kClassShift) & 0x7; }
    friend bool operator==(const DeviceAction&, const DeviceAction&) = default;
};

// Delay field value: milliseconds / 10 rounded down; delays too long for 12
// bits (above 40,950 ms, e.g. a long pause while recording) are first bounded
// to 40,000 ms rather than wrapping to a short delay.
std::uint16_t delayUnitsOf(std::uint32_t delayMs);

// Keys are classified by their device usage: keyboard keys (media keys
// included) and modifiers as keyboard events, power/sleep/wake as system
// events, mouse buttons and wheel steps as mouse events, anything else as an
// empty event.
DeviceAction encodeDeviceAction(const MacroAction& action);

// The inverse: delay in whole 10 ms, state pressed when bit 15 is set, and the
// key the event names (0 when it names none).
MacroAction decodeDeviceAction(const DeviceAction& action);

}  // namespace keyloom
