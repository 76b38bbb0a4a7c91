#pragma once
// The key code space and the key table: one fixed row per key index, and the
// conversions between key codes, table rows, key-choice list positions, the
// keyboard's device codes and Windows-style key events.
//
// A key code is a 16-bit name of a key: the set-1 scan code for plain keys,
// 0x100 + scan code for keys sent with the E0 prefix, and pseudo codes in the
// upper range for mouse buttons, the wheel and the function keys. 0 is no key.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace keyloom {

using KeyCode = std::uint16_t;

// One row of the key table. Texts are UTF-8.
struct KeyRow {
    std::uint8_t vk = 0;        // Windows virtual-key code the key produces
    std::uint8_t secondVk = 0;  // keypad digits and point: the VK with Num Lock off; else == vk
    std::uint16_t listPosition = 0xFFFF;  // place in the key-choice list (see below)
    std::uint8_t deviceCode = 0;          // the byte by which the keyboard knows the key
    std::string_view caption;             // English legend; not shown to the user
    std::string_view nameKey;             // key of the key's name in the language file
};

inline constexpr std::size_t kKeyTableSize = 256;

// List positions: 0-105 the key-choice list, 107-111 mouse buttons and wheel,
// 0x8001-0x802D keys never offered in that list, 0xFFFF an empty row.
inline constexpr std::uint16_t kLastChoiceListPosition = 105;
inline constexpr std::uint16_t kNoListPosition = 0xFFFF;

// Usage classes of DeviceUsageOf / KeyCodeOfDeviceUsage.
inline constexpr std::uint8_t kUsageNone = 0;
inline constexpr std::uint8_t kUsageSystem = 1;     // 0x81 power, 0x82 sleep, 0x83 wake
inline constexpr std::uint8_t kUsageMouse = 2;      // 0xF1-0xF8
inline constexpr std::uint8_t kUsageKeyboard = 7;   // HID keyboard usage or consumer pseudo code
inline constexpr std::uint8_t kUsageConsumer = 12;  // only as input: a USB consumer usage

struct DeviceUsage {
    std::uint8_t usageClass = kUsageNone;
    std::uint16_t value = 0;
    friend bool operator==(const DeviceUsage&, const DeviceUsage&) = default;
};

// The whole table (256 rows, indexed by key index) and the consumer table
// (32 slots, slot i belongs to device code 0xC0 + i).
std::span<const KeyRow, kKeyTableSize> KeyTable();
std::span<const std::uint16_t, 32> ConsumerUsageTable();

// The row at a key index; indexes outside 0-255 give the empty row.
const KeyRow& KeyRowAt(int keyIndex);

// Key code -> key index: 0x000-0x0FF as is, 0x100-0x1FF as (code - 0x80) mod
// 256, from 0x200 code - 0x100. A result of 256 or more has no row.
int KeyIndexOf(KeyCode code);
// Key index -> key code: 0-127 as is, 128-255 index + 0x80; other indexes 0.
KeyCode KeyCodeOf(int keyIndex);

// The key index of the key that produces a virtual-key code (0 for none).
int KeyIndexOfVirtualKey(std::uint8_t virtualKey);

std::uint16_t ListPositionOf(KeyCode code);
// Key code of the lowest row with that list position; 0 when there is none.
KeyCode KeyCodeAtListPosition(std::uint16_t listPosition);

// Looks a name key up in the current language file's [TEXT] section: the
// text (UTF-8), "#Error" when the key is missing.
using TextLookup = std::function<std::string(std::string_view key)>;

// The lookup the overloads without one use; set once at start-up. Until it is
// set every key reads as missing ("#Error").
void SetKeyTextLookup(TextLookup lookup);

// Name of the first row at that list position; empty when there is none or
// the row has no name key.
std::string ListEntryName(std::uint16_t listPosition, const TextLookup& lookup);
std::string ListEntryName(std::uint16_t listPosition);

// The key's name from the language file, or the "UNKNOWN_KEY" text formatted
// with the key code when the key has no name; cut to at most bufferSize - 1
// characters (Unicode code points), as a caller's character buffer would.
std::string KeyName(KeyCode code, std::size_t bufferSize, const TextLookup& lookup);
std::string KeyName(KeyCode code, std::size_t bufferSize);

DeviceUsage DeviceUsageOf(KeyCode code);
// Class 7: a device code; class 1: 0x81-0x83; class 12: a consumer usage.
// Any other class, and values that match nothing, give 0.
KeyCode KeyCodeOfDeviceUsage(std::uint32_t usageClass, std::uint32_t value);

// Key code of a Windows-style key event: virtual-key code (low 8 bits used)
// and keystroke flags (scan code in bits 16-23, extended flag in bit 24).
KeyCode KeyCodeFromEvent(std::uint32_t virtualKey, std::uint32_t keystrokeFlags);

// The 18 media keys (consumer-control keys), which key capture passes on.
bool IsMediaKey(KeyCode code);
// Keys that deliver no separate press: Sys Req, the two Korean keys, Print Screen.
bool IsSingleEventKey(KeyCode code);

}  // namespace keyloom
