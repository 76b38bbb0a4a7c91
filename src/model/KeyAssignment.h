#pragma once
// The 16-byte action record of one key in the assignment image. All zero
// bytes mean "Default" (the key does what the keyboard's default matrix says).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace keyloom {

// Kinds 0-8 are the only ones this program writes. Images from elsewhere may
// carry other numbers; the underlying type keeps them so they survive a
// load/save round trip unchanged.
enum class AssignmentKind : std::uint16_t {
    Default = 0,
    Disabled = 1,
    Key = 2,            // value: key code
    LaunchProgram = 3,  // value: byte offset of a program path in the string pool
    Macro = 4,          // value: macro number 1-100; parameter: play count
    StopMacro = 5,
    TextBlock = 6,  // value: byte offset of a text in the string pool
    Media = 7,      // value: media index 0-17
    Function = 8,   // value: keyboard function index 0-10
};

inline constexpr std::uint16_t kHighestAssignmentKind = 8;

// Whether entries of this kind carry a text in the string table.
inline bool carriesText(AssignmentKind kind) {
    return kind == AssignmentKind::LaunchProgram || kind == AssignmentKind::TextBlock;
}

struct KeyAssignment {
    static constexpr std::size_t kSize = 16;

    AssignmentKind kind = AssignmentKind::Default;
    // Play count for macros, the fixed code of an extra key, otherwise 0.
    // Never sent to the keyboard.
    std::uint16_t parameter = 0;
    std::uint32_t value = 0;
    // Owned by the main window's key-toggle mode; the codecs leave it alone.
    std::uint32_t toggle = 0;
    std::uint32_t reserved = 0;

    // Reads 16 bytes; `bytes` must hold at least kSize bytes.
    static KeyAssignment fromBytes(std::span<const std::uint8_t> bytes);
    // Writes 16 bytes; `bytes` must hold at least kSize bytes.
    void toBytes(std::span<std::uint8_t> bytes) const;

    friend bool operator==(const KeyAssignment&, const KeyAssignment&) = default;
};

}  // namespace keyloom
