#pragma once
// Linux input key codes (KEY_* of linux/input-event-codes.h) to what a Windows
// keyboard hook reports for the same physical key: the set-1 scan code with
// its E0 flag and the virtual-key code. The key-code rules are written for
// Windows key events; feeding them these values lets them run unchanged.
//
// Virtual keys are those of the US layout, so a key is named by its position
// whatever layout the desktop uses. Shift, Ctrl and Alt give the side-neutral
// virtual keys, as a thread keyboard hook sees them.

#include <cstdint>

namespace keyloom::keys {

struct WindowsKeystroke {
    std::uint8_t virtualKey = 0;
    // Scan code in bits 16-23, extended (E0) flag in bit 24; 0 for no key.
    std::uint32_t keystrokeFlags = 0;

    bool isKey() const { return keystrokeFlags != 0; }
    friend bool operator==(const WindowsKeystroke&, const WindowsKeystroke&) = default;
};

// Keystroke flags of a scan code written as a key code: 0x1NN for E0 NN.
constexpr std::uint32_t keystrokeFlagsOf(std::uint16_t scanCode) {
    return (static_cast<std::uint32_t>(scanCode & 0xFF) << 16) | ((scanCode & 0x100u) << 16);
}

// The keystroke of a Linux key code; keypad digits and point give different
// virtual keys with Num Lock on and off. Keys the program has no use for give
// an empty keystroke (isKey() false).
WindowsKeystroke windowsKeystrokeOf(unsigned linuxKeyCode, bool numLockOn);

}  // namespace keyloom::keys
