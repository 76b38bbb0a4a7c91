#pragma once
// The effects the keyboard offers, in the order of its parameter block, and
// the table between list positions and effect numbers that the effect list
// box works with. An effect's display name is key "<number>" of the
// language file's "MODE" section.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/ParameterBlock.h"

namespace keyloom {

class EffectList {
public:
    static constexpr std::size_t kMaxEntries = ParameterBlock::kEffectListLength;

    // Rebuilds the list from bytes 12-43 of the block, empty slots left out.
    void fill(const ParameterBlock& block);
    void clear() { count_ = 0; }

    std::size_t size() const { return count_; }
    // 0 for a position outside the list.
    std::uint8_t effectAt(int position) const;
    // -1 when the effect is not in the list.
    int positionOf(std::uint8_t effect) const;
    bool contains(std::uint8_t effect) const { return positionOf(effect) >= 0; }

    // Key of the effect's name in the "MODE" section of the language file.
    static std::string nameKey(std::uint8_t effect) { return std::to_string(effect); }

private:
    std::array<std::uint8_t, kMaxEntries> effects_{};
    std::size_t count_ = 0;
};

}  // namespace keyloom
