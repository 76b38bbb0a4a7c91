// Decodes arbitrary bytes as a macro area read from the keyboard, with an
// arbitrary capacity, and checks that whatever comes out is within the
// record limits and survives being written and read again.

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/MacroArea.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // The first two bytes choose the capacity (up to 0xFFFF, beyond any real keyboard).
    const std::size_t capacity = data[0] | (data[1] << 8);
    const std::span<const std::uint8_t> area(data + 2, size - 2);

    const auto macros = keyloom::decodeMacroArea(area, capacity, u"M");
    if (macros.size() > keyloom::MacroRecord::kMaxMacros) {
        __builtin_trap();
    }
    for (const auto& macro : macros) {
        if (macro.actions.size() > keyloom::MacroRecord::kMaxActions ||
            macro.name.size() > keyloom::MacroRecord::kMaxNameLength || macro.name.empty() ||
            macro.number == 0 || macro.number > keyloom::MacroRecord::kMaxNumber) {
            __builtin_trap();
        }
    }

    // What was decoded encodes to an area that decodes to the same macros
    // (numbered afresh, since skipped macros leave no gap in a new area).
    const auto encoded = keyloom::encodeMacroArea(macros, true);
    if (encoded.empty()) {
        return 0;  // too large for one area
    }
    const auto again = keyloom::decodeMacroArea(encoded, encoded.size(), u"M");
    if (again.size() != macros.size()) {
        __builtin_trap();
    }
    for (std::size_t i = 0; i < macros.size(); ++i) {
        if (again[i].name != macros[i].name || again[i].actions != macros[i].actions ||
            again[i].playCount != macros[i].playCount) {
            __builtin_trap();
        }
    }
    return 0;
}
