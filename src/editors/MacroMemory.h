#pragma once
// How much of the keyboard's macro area the edited macros would take, so the
// dialog can warn before Apply: the size with and without names as the macro
// area encodes them, and what the write would do with them.

#include <cstddef>
#include <span>
#include <string_view>

#include "model/MacroArea.h"
#include "model/MacroRecord.h"
#include "model/ParameterBlock.h"

namespace keyloom::editors {

struct MacroMemory {
    std::size_t capacity = 0;  // bytes: parameter block byte 11 x 128
    MacroAreaSizes sizes;
    MacroAreaFit fit = MacroAreaFit::TooLong;

    // "EXTRA_MACRO_TOO_LONG" when the macros do not fit at all,
    // "EXTRA_PROFILE_SPACE_TIGHT" when the names will be left out, else empty.
    std::string_view messageKey() const;
};

MacroMemory macroMemoryOf(std::span<const MacroRecord> macros, std::size_t capacityBytes);
MacroMemory macroMemoryOf(std::span<const MacroRecord> macros, const ParameterBlock& parameters);

}  // namespace keyloom::editors
