#pragma once
// The words keyloomctl takes and prints for keys and key actions (see
// model/KeyWords.h for the words themselves). `assign` takes the actions a
// key can be given from the command line: default | disabled | key:KEY |
// macro:NUMBER[:COUNT] | media:NAME-or-1..18 | function:1..11 | stop-macro.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/KeyTable.h"
#include "model/KeyWords.h"
#include "model/MacroRecord.h"

namespace keyloom::cli {

// The key code KEY names (not G1-G9); nothing when it names no key.
std::optional<KeyCode> parseKeyCode(std::string_view text);

// The entry of a profile block that KEY names: a key's index, or 256-273 for
// G1-G9 of both banks. Nothing when KEY names no key that has an entry.
std::optional<std::size_t> parseKeyEntry(std::string_view text);

// The action ACTION gives the key at `entry`; `macros` are the working
// store's macros (a macro action must name one of them, and takes its play
// count when no COUNT is given). On failure returns nothing and sets `error`.
std::optional<words::ParsedAction> parseAssignAction(std::string_view text, std::size_t entry,
                                                     std::span<const MacroRecord> macros,
                                                     std::string& error);
std::optional<KeyAssignment> parseAction(std::string_view text, std::size_t entry,
                                         std::span<const MacroRecord> macros, std::string& error);

// "A", "Left Ctrl", "G3 bank 2": the name of a block entry, which KEY
// arguments take back.
std::string entryName(std::size_t entry);
std::string assignableName(std::size_t entry);

// What an assignment does, as the ACTION word `assign` takes: "key:Left
// Ctrl", "media:Volume Up". A macro key shows the macro's own play count and
// its name ("macro:2:3 (Greeting)"), or "(missing)" when the macro list has
// no such macro.
std::string describeAction(const KeyAssignment& assignment, std::span<const MacroRecord> macros);

}  // namespace keyloom::cli
