#pragma once
// What an assignment entry holds when the editors give it back to the
// keyboard's default: kind Default, value 0, and in the parameter the fixed
// code of an extra key (entries 256-273) or 0.

#include <cstddef>
#include <cstdint>

#include "model/AssignmentImage.h"
#include "model/KeyAssignment.h"

namespace keyloom::editors {

constexpr bool isExtraKeyEntry(std::size_t entryIndex) {
    return entryIndex >= AssignmentImage::kFirstExtraKeyEntry &&
           entryIndex < AssignmentImage::kFirstExtraKeyEntry + AssignmentImage::kExtraKeyEntryCount;
}

constexpr std::uint16_t defaultParameterOf(std::size_t entryIndex) {
    return isExtraKeyEntry(entryIndex)
               ? extraKeyDefaultCode(entryIndex - AssignmentImage::kFirstExtraKeyEntry)
               : std::uint16_t{0};
}

// Makes `entry` (at `entryIndex` of its block) Default; the toggle flag and
// the reserved word keep their contents.
inline void resetToDefault(KeyAssignment& entry, std::size_t entryIndex) {
    entry.kind = AssignmentKind::Default;
    entry.parameter = defaultParameterOf(entryIndex);
    entry.value = 0;
}

}  // namespace keyloom::editors
