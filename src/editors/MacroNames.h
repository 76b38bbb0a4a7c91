#pragma once
// Names of macros in the editor: the case-insensitive "begins with" test the
// editor uses to keep names apart, and the generated names "<prefix><n>".

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/MacroRecord.h"

namespace keyloom::editors {

// Whether `name` begins with `start`, ignoring the case of ASCII and Latin-1
// letters.
bool beginsWithIgnoringCase(std::u16string_view name, std::u16string_view start);

// Whether some macro other than the one at `except` has a name that begins
// with `start`.
bool nameBeginsAnother(std::span<const MacroRecord> macros, std::u16string_view start,
                       std::optional<std::size_t> except);

// The first "<prefix><n>" (n = 1, 2, ...) such that no other macro is
// numbered n and none's name begins with it: a new macro is not called
// "Macro 1" beside the macro numbered 1. Each macro can block its number and
// the few n whose digits begin the digits of its name, so a free name comes
// within a bounded number of steps; the bound is kept anyway and nothing is
// returned past it.
std::optional<std::u16string> firstFreeGeneratedName(std::u16string_view prefix,
                                                     std::span<const MacroRecord> macros,
                                                     std::optional<std::size_t> except);

// The name as the record can hold it: cut at a first 0 and to 249 characters.
std::u16string storableName(std::u16string_view typed);

}  // namespace keyloom::editors
