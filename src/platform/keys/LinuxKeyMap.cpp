#include "platform/keys/LinuxKeyMap.h"

#include <linux/input-event-codes.h>

#include <array>
#include <cstddef>

namespace keyloom::keys {
namespace {

struct KeyMapping {
    unsigned linuxCode;
    std::uint16_t scanCode;  // 0x1NN: sent with the E0 prefix
    std::uint8_t virtualKey;
    std::uint8_t virtualKeyNumLockOff;  // differs only on the keypad
};

constexpr KeyMapping Same(unsigned linuxCode, std::uint16_t scanCode, std::uint8_t vk) {
    return {linuxCode, scanCode, vk, vk};
}

// 0xFF: Windows gives these keys no virtual key of their own.
constexpr KeyMapping kMappings[] = {
    // Main block.
    Same(KEY_ESC, 0x01, 0x1B),
    Same(KEY_1, 0x02, '1'),
    Same(KEY_2, 0x03, '2'),
    Same(KEY_3, 0x04, '3'),
    Same(KEY_4, 0x05, '4'),
    Same(KEY_5, 0x06, '5'),
    Same(KEY_6, 0x07, '6'),
    Same(KEY_7, 0x08, '7'),
    Same(KEY_8, 0x09, '8'),
    Same(KEY_9, 0x0A, '9'),
    Same(KEY_0, 0x0B, '0'),
    Same(KEY_MINUS, 0x0C, 0xBD),
    Same(KEY_EQUAL, 0x0D, 0xBB),
    Same(KEY_BACKSPACE, 0x0E, 0x08),
    Same(KEY_TAB, 0x0F, 0x09),
    Same(KEY_Q, 0x10, 'Q'),
    Same(KEY_W, 0x11, 'W'),
    Same(KEY_E, 0x12, 'E'),
    Same(KEY_R, 0x13, 'R'),
    Same(KEY_T, 0x14, 'T'),
    Same(KEY_Y, 0x15, 'Y'),
    Same(KEY_U, 0x16, 'U'),
    Same(KEY_I, 0x17, 'I'),
    Same(KEY_O, 0x18, 'O'),
    Same(KEY_P, 0x19, 'P'),
    Same(KEY_LEFTBRACE, 0x1A, 0xDB),
    Same(KEY_RIGHTBRACE, 0x1B, 0xDD),
    Same(KEY_ENTER, 0x1C, 0x0D),
    Same(KEY_LEFTCTRL, 0x1D, 0x11),
    Same(KEY_A, 0x1E, 'A'),
    Same(KEY_S, 0x1F, 'S'),
    Same(KEY_D, 0x20, 'D'),
    Same(KEY_F, 0x21, 'F'),
    Same(KEY_G, 0x22, 'G'),
    Same(KEY_H, 0x23, 'H'),
    Same(KEY_J, 0x24, 'J'),
    Same(KEY_K, 0x25, 'K'),
    Same(KEY_L, 0x26, 'L'),
    Same(KEY_SEMICOLON, 0x27, 0xBA),
    Same(KEY_APOSTROPHE, 0x28, 0xDE),
    Same(KEY_GRAVE, 0x29, 0xC0),
    Same(KEY_LEFTSHIFT, 0x2A, 0x10),
    Same(KEY_BACKSLASH, 0x2B, 0xDC),
    Same(KEY_Z, 0x2C, 'Z'),
    Same(KEY_X, 0x2D, 'X'),
    Same(KEY_C, 0x2E, 'C'),
    Same(KEY_V, 0x2F, 'V'),
    Same(KEY_B, 0x30, 'B'),
    Same(KEY_N, 0x31, 'N'),
    Same(KEY_M, 0x32, 'M'),
    Same(KEY_COMMA, 0x33, 0xBC),
    Same(KEY_DOT, 0x34, 0xBE),
    Same(KEY_SLASH, 0x35, 0xBF),
    Same(KEY_RIGHTSHIFT, 0x36, 0x10),
    Same(KEY_LEFTALT, 0x38, 0x12),
    Same(KEY_SPACE, 0x39, 0x20),
    Same(KEY_CAPSLOCK, 0x3A, 0x14),
    Same(KEY_102ND, 0x56, 0xE2),
    Same(KEY_RIGHTCTRL, 0x11D, 0x11),
    Same(KEY_RIGHTALT, 0x138, 0x12),
    Same(KEY_LEFTMETA, 0x15B, 0x5B),
    Same(KEY_RIGHTMETA, 0x15C, 0x5C),
    Same(KEY_COMPOSE, 0x15D, 0x5D),  // the Application (menu) key

    // Function row and the keys above the navigation block. Linux reports
    // Print Screen as SysRq.
    Same(KEY_F1, 0x3B, 0x70),
    Same(KEY_F2, 0x3C, 0x71),
    Same(KEY_F3, 0x3D, 0x72),
    Same(KEY_F4, 0x3E, 0x73),
    Same(KEY_F5, 0x3F, 0x74),
    Same(KEY_F6, 0x40, 0x75),
    Same(KEY_F7, 0x41, 0x76),
    Same(KEY_F8, 0x42, 0x77),
    Same(KEY_F9, 0x43, 0x78),
    Same(KEY_F10, 0x44, 0x79),
    Same(KEY_F11, 0x57, 0x7A),
    Same(KEY_F12, 0x58, 0x7B),
    Same(KEY_F13, 0x64, 0x7C),
    Same(KEY_SYSRQ, 0x137, 0x2C),
    Same(KEY_SCROLLLOCK, 0x46, 0x91),
    Same(KEY_PAUSE, 0x45, 0x13),
    Same(KEY_BREAK, 0x146, 0x03),

    // Navigation block.
    Same(KEY_INSERT, 0x152, 0x2D),
    Same(KEY_DELETE, 0x153, 0x2E),
    Same(KEY_HOME, 0x147, 0x24),
    Same(KEY_END, 0x14F, 0x23),
    Same(KEY_PAGEUP, 0x149, 0x21),
    Same(KEY_PAGEDOWN, 0x151, 0x22),
    Same(KEY_UP, 0x148, 0x26),
    Same(KEY_DOWN, 0x150, 0x28),
    Same(KEY_LEFT, 0x14B, 0x25),
    Same(KEY_RIGHT, 0x14D, 0x27),

    // Keypad. Num Lock is an extended key for Windows although the keyboard
    // sends it without E0 (that scan code without the flag is Pause).
    Same(KEY_NUMLOCK, 0x145, 0x90),
    Same(KEY_KPSLASH, 0x135, 0x6F),
    Same(KEY_KPASTERISK, 0x37, 0x6A),
    Same(KEY_KPMINUS, 0x4A, 0x6D),
    Same(KEY_KPPLUS, 0x4E, 0x6B),
    Same(KEY_KPENTER, 0x11C, 0x0D),
    {KEY_KP7, 0x47, 0x67, 0x24},
    {KEY_KP8, 0x48, 0x68, 0x26},
    {KEY_KP9, 0x49, 0x69, 0x21},
    {KEY_KP4, 0x4B, 0x64, 0x25},
    {KEY_KP5, 0x4C, 0x65, 0x0C},
    {KEY_KP6, 0x4D, 0x66, 0x27},
    {KEY_KP1, 0x4F, 0x61, 0x23},
    {KEY_KP2, 0x50, 0x62, 0x28},
    {KEY_KP3, 0x51, 0x63, 0x22},
    {KEY_KP0, 0x52, 0x60, 0x2D},
    {KEY_KPDOT, 0x53, 0x6E, 0x2E},

    // Japanese and Korean keys.
    Same(KEY_KATAKANAHIRAGANA, 0x70, 0xFF),
    Same(KEY_HANJA, 0x71, 0xE9),
    Same(KEY_HANGEUL, 0x72, 0xFF),
    Same(KEY_RO, 0x73, 0xC1),
    Same(KEY_HENKAN, 0x79, 0xFF),
    Same(KEY_MUHENKAN, 0x7B, 0xEB),
    Same(KEY_YEN, 0x7D, 0xFF),
    Same(KEY_KPCOMMA, 0x7E, 0xC2),

    // System control.
    Same(KEY_POWER, 0x15E, 0xFF),
    Same(KEY_SLEEP, 0x15F, 0x5F),
    Same(KEY_WAKEUP, 0x163, 0xFF),

    // Media and browser keys. Some have two Linux codes: one from USB
    // consumer usages, one from PS/2 keyboards.
    Same(KEY_PREVIOUSSONG, 0x110, 0xB1),
    Same(KEY_NEXTSONG, 0x119, 0xB0),
    Same(KEY_MUTE, 0x120, 0xAD),
    Same(KEY_CALC, 0x121, 0xB7),
    Same(KEY_PLAYPAUSE, 0x122, 0xB3),
    Same(KEY_STOPCD, 0x124, 0xB2),
    Same(KEY_VOLUMEDOWN, 0x12E, 0xAE),
    Same(KEY_VOLUMEUP, 0x130, 0xAF),
    Same(KEY_HOMEPAGE, 0x132, 0xAC),
    Same(KEY_SEARCH, 0x165, 0xAA),
    Same(KEY_BOOKMARKS, 0x166, 0xAB),
    Same(KEY_REFRESH, 0x167, 0xA8),
    Same(KEY_STOP, 0x168, 0xA9),
    Same(KEY_FORWARD, 0x169, 0xA7),
    Same(KEY_BACK, 0x16A, 0xA6),
    Same(KEY_FILE, 0x16B, 0xB6),
    Same(KEY_COMPUTER, 0x16B, 0xB6),
    Same(KEY_MAIL, 0x16C, 0xB4),
    Same(KEY_CONFIG, 0x16D, 0xB5),
    Same(KEY_MEDIA, 0x16D, 0xB5),
};

constexpr std::size_t kCodeSpace = KEY_MAX + 1;

constexpr std::array<KeyMapping, kCodeSpace> BuildByLinuxCode() {
    std::array<KeyMapping, kCodeSpace> byCode{};
    for (const KeyMapping& mapping : kMappings) {
        byCode[mapping.linuxCode] = mapping;
    }
    return byCode;
}

constexpr bool LinuxCodesAreUnique() {
    for (std::size_t i = 0; i < std::size(kMappings); ++i) {
        for (std::size_t j = i + 1; j < std::size(kMappings); ++j) {
            if (kMappings[i].linuxCode == kMappings[j].linuxCode) {
                return false;
            }
        }
    }
    return true;
}

static_assert(LinuxCodesAreUnique(), "a Linux key code is mapped twice");

constexpr std::array<KeyMapping, kCodeSpace> kByLinuxCode = BuildByLinuxCode();

}  // namespace

WindowsKeystroke windowsKeystrokeOf(unsigned linuxKeyCode, bool numLockOn) {
    if (linuxKeyCode >= kCodeSpace) {
        return {};
    }
    const KeyMapping& mapping = kByLinuxCode[linuxKeyCode];
    if (mapping.scanCode == 0) {
        return {};
    }
    return {numLockOn ? mapping.virtualKey : mapping.virtualKeyNumLockOff,
            keystrokeFlagsOf(mapping.scanCode)};
}

}  // namespace keyloom::keys
