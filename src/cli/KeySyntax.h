#pragma once
// The words keyloomctl takes and prints for keys and key actions:
//   KEY     a key's caption or English name (case-insensitive: "A", "Esc",
//           "Right Ctrl", "Num 7", "Left Button", "Roll Up"), "G1"-"G9", or a
//           key code such as "0x01e"
//   ACTION  default | disabled | key:KEY | macro:NUMBER[:COUNT] |
//           media:NAME-or-1..18 | function:1..11 | stop-macro

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/KeyTable.h"
#include "model/MacroRecord.h"

namespace keyloom::cli {

// The key code KEY names (not G1-G9); nothing when it names no key.
std::optional<KeyCode> parseKeyCode(std::string_view text);

// The entry of a profile block that KEY names: a key's index, or 256-264 for
// G1-G9. Nothing when KEY names no key that has an entry.
std::optional<std::size_t> parseKeyEntry(std::string_view text);

// The assignment ACTION gives the key at `entry`; `macros` are the working
// store's macros (a macro action must name one of them). On failure returns
// nothing and sets `error`.
std::optional<KeyAssignment> parseAction(std::string_view text, std::size_t entry,
                                         std::span<const MacroRecord> macros, std::string& error);

// "A", "Left Ctrl", "G3": the name of a block entry for output.
std::string entryName(std::size_t entry);
// The name KEY arguments take for block entry `entry`; its key code
// ("0x01e") where no name leads back to it.
std::string assignableName(std::size_t entry);

// What an assignment does, in words ("Key: Left Ctrl", "macro:2:3 (Greeting)"),
// with the current language's texts.
std::string describeAction(const KeyAssignment& assignment, std::span<const MacroRecord> macros);

}  // namespace keyloom::cli
