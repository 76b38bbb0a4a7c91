#pragma once
// The texts of LaunchProgram and TextBlock assignments: one slot per image
// entry (slot = block * 512 + entry index), each either empty or holding a
// UTF-16 text. A text's size counts its terminator, as it takes that much
// room in a profile file's string pool.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/AssignmentImage.h"

namespace keyloom {

class StringTable {
public:
    static constexpr std::size_t kSlotCount = AssignmentImage::kEntryCount;

    StringTable() = default;

    // The slot's text; nothing when the slot is empty or out of range.
    std::optional<std::u16string_view> text(std::size_t slot) const;
    // Stores a text (cut at a first 0 character, which would end it in a
    // file). False when the slot is out of range.
    bool setText(std::size_t slot, std::u16string_view text);
    void clearText(std::size_t slot);
    void clear();

    // Bytes the slot's text takes with its terminator; 0 for an empty slot.
    std::size_t sizeOf(std::size_t slot) const;
    // Sum of sizeOf over all slots.
    std::size_t totalSize() const { return totalSize_; }

    friend bool operator==(const StringTable& a, const StringTable& b);

private:
    // One per slot once any slot holds a text, else none: most stores hold
    // no text, and a table of every slot costs tens of kilobytes.
    std::vector<std::optional<std::u16string>> slots_;
    std::size_t totalSize_ = 0;
};

// Lays the texts of every LaunchProgram and TextBlock entry out one after
// another in slot order, as they go into a pool of `poolLimit` bytes, and
// sets each such entry's value to its text's byte offset. A text that would
// not fit in what is left of the pool is skipped (its entry is left as it
// was). Returns the texts that were placed (the others' slots empty).
StringTable packTexts(AssignmentImage& image, const StringTable& texts, std::size_t poolLimit);

// The pool bytes for texts placed by packTexts: `poolSize` bytes, each text
// zero-terminated at its entry's offset, the rest zero. Texts that would
// reach outside the pool are left out.
std::vector<std::uint8_t> buildStringPool(const AssignmentImage& image, const StringTable& placed,
                                          std::size_t poolSize);

// Reads back the text of every LaunchProgram and TextBlock entry from a pool
// (the lowest bit of the offset is ignored, texts are 2-byte aligned). An
// entry whose offset lies outside the pool, or whose text has no terminator
// inside the pool, gets no text; so does an entry whose text would make the
// texts together larger than the pool (only a doctored pool shares texts).
StringTable unpackTexts(const AssignmentImage& image, std::span<const std::uint8_t> pool);

}  // namespace keyloom
