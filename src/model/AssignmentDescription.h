#pragma once
// What a key's assignment does, worked out once for every place that shows
// it (the key tooltips, keyloomctl, the key editor): the kind and what of
// the kind's tables the value names. A value that names nothing (a damaged
// profile file: a macro number or key code beyond 16 bits, a media index past
// the table) is left out rather than cut down to a value that names
// something else.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/KeyAssignment.h"
#include "model/KeyTable.h"
#include "model/MacroRecord.h"

namespace keyloom {

struct AssignmentDescription {
    AssignmentKind kind = AssignmentKind::Default;
    std::uint32_t value = 0;  // as the entry holds it
    // Key: the key code.
    std::optional<KeyCode> keyCode;
    // Media: the row of MediaTable.
    std::optional<std::size_t> mediaIndex;
    // Function: 1-11, the number "FUNC_KEY_DESC" texts and users count by.
    std::optional<std::uint32_t> functionNumber;
    // Macro: the macro number, the macro's place in the macro list when one
    // has that number, and the play count.
    std::optional<std::uint16_t> macroNumber;
    std::optional<std::size_t> macroPosition;
    std::uint16_t playCount = 0;
};

AssignmentDescription describeAssignment(const KeyAssignment& assignment,
                                         std::span<const MacroRecord> macros);

// The assignment in words, as keyloomctl prints it: "Default", "Disabled",
// "Key: Left Ctrl", "macro:2:3 (Greeting)" (number and play count as
// keyloomctl assign takes them, then the name), "Media: Mute", "Function 3:
// <text>", "Stop macro". Key names and texts come from `text`.
std::string assignmentText(const KeyAssignment& assignment, std::span<const MacroRecord> macros,
                           const TextLookup& text);

}  // namespace keyloom
