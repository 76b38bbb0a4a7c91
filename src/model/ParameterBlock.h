#pragma once
// The keyboard's 44-byte parameter block (read whole, written whole). Only
// the active profile, the macro capacity and the effect list are interpreted;
// every other byte is carried through unchanged so a write-back keeps it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace keyloom {

struct ParameterBlock {
    static constexpr std::size_t kSize = 44;
    static constexpr std::size_t kActiveProfileByte = 10;
    static constexpr std::size_t kMacroCapacityByte = 11;
    static constexpr std::size_t kEffectListOffset = 12;
    static constexpr std::size_t kEffectListLength = 32;
    static constexpr std::size_t kMacroCapacityUnit = 128;
    // Effect number that stands for per-key colouring and user lighting modes.
    static constexpr std::uint8_t kPerKeyColourEffect = 20;

    std::array<std::uint8_t, kSize> bytes{};

    // Builds a block from what the keyboard sent; false when fewer than 44
    // bytes arrived (the block is then left unchanged).
    bool assign(std::span<const std::uint8_t> received);

    // The byte as the keyboard holds it (0-2 on a sane keyboard; not checked).
    std::uint8_t activeProfile() const { return bytes[kActiveProfileByte]; }
    void setActiveProfile(std::uint8_t profile) { bytes[kActiveProfileByte] = profile; }

    // Macro area capacity in bytes (byte 11 in units of 128).
    std::size_t macroCapacity() const { return bytes[kMacroCapacityByte] * kMacroCapacityUnit; }

    // Supported effect numbers in list order, empty slots (0) left out.
    std::vector<std::uint8_t> effects() const;
    bool supportsEffect(std::uint8_t effect) const;
    bool supportsPerKeyColours() const { return supportsEffect(kPerKeyColourEffect); }
};

}  // namespace keyloom
