#pragma once
// A macro as the program keeps it: a name, a play count, a number that key
// assignments refer to, and up to 4000 timed key events. In profile files
// each macro is a fixed 32,512-byte record (serialize/parse below).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace keyloom {

struct MacroAction {
    static constexpr std::size_t kSize = 8;
    static constexpr std::uint16_t kPressed = 0;
    static constexpr std::uint16_t kReleased = 1;

    // Milliseconds to wait after this event before the next one.
    std::uint32_t delayMs = 0;
    std::uint16_t keyCode = 0;
    std::uint16_t state = kPressed;

    bool pressed() const { return state == kPressed; }
    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

struct MacroRecord {
    static constexpr std::size_t kSize = 32512;
    static constexpr std::size_t kNameUnits = 250;  // including the terminator
    static constexpr std::size_t kMaxNameLength = 249;
    static constexpr std::size_t kMaxActions = 4000;
    static constexpr std::size_t kMaxMacros = 100;
    static constexpr std::uint16_t kMaxNumber = 100;
    static constexpr std::uint8_t kDefaultPlayCount = 1;

    // Record layout.
    static constexpr std::size_t kPlayCountOffset = 500;
    static constexpr std::size_t kNewFlagOffset = 502;
    static constexpr std::size_t kNumberOffset = 506;
    static constexpr std::size_t kActionCountOffset = 508;
    static constexpr std::size_t kActionsOffset = 512;

    // Only the characters before a first 0 and at most 249 of them are kept
    // when the record is stored or sent (see storedName).
    std::u16string name;
    std::uint8_t playCount = kDefaultPlayCount;
    // 1 only while the macro exists solely in an open key assignment dialog.
    std::uint32_t newFlag = 0;
    // 1-100, unique in a macro list.
    std::uint16_t number = 0;
    // At most 4000 are stored or sent (see storedActions).
    std::vector<MacroAction> actions;

    // The name as stored: up to the first 0 character, cut to 249 characters.
    std::u16string_view storedName() const;
    // The actions as stored: the first 4000.
    std::span<const MacroAction> storedActions() const;

    // Writes the kSize-byte record. False when `out` is shorter.
    bool serialize(std::span<std::uint8_t> out) const;
    // Reads a kSize-byte record from a file. False when fewer bytes are given.
    // Untrusted input is made safe: a name without terminator is cut to 249
    // characters and an action count above 4000 is taken as 4000.
    static bool parse(std::span<const std::uint8_t> bytes, MacroRecord& out);

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

// The smallest number 1-100 that no macro of the list holds; 0 when all are taken.
std::uint16_t nextMacroNumber(std::span<const MacroRecord> macros);

// 0-based list position of the macro with `number`, if any.
std::optional<std::size_t> findMacroPosition(std::span<const MacroRecord> macros,
                                             std::uint16_t number);

// Default name of macro `ordinal` (1-based): the language's prefix followed
// by the decimal ordinal ("%s%d"), cut to 249 characters.
std::u16string defaultMacroName(std::u16string_view prefix, std::size_t ordinal);

}  // namespace keyloom
