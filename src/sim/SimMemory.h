#pragma once
// The keyboard's configuration memory: every area the report commands address.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/SimModel.h"

namespace keyloom::sim {

inline constexpr std::size_t kParameterBlockSize = 44;
inline constexpr std::size_t kParameterActiveProfile = 10;
inline constexpr std::size_t kParameterMacroCapacity = 11;
inline constexpr std::size_t kParameterEffectList = 12;
inline constexpr std::size_t kProfileCount = 3;
inline constexpr std::size_t kProfileRecordSize = 42;
inline constexpr std::size_t kProfileSettingsSize = kProfileCount * kProfileRecordSize;
inline constexpr std::size_t kKeyColourBlockSize = 512;
inline constexpr std::size_t kKeyColourAreaSize = kProfileCount * kKeyColourBlockSize;
inline constexpr std::size_t kMacroCapacityUnit = 128;
inline constexpr std::size_t kMacroHeaderSize = 16;
inline constexpr std::uint16_t kMacroMarker = 0x55AA;
inline constexpr std::size_t kMatrixEntrySize = 3;
inline constexpr std::size_t kFactoryMatrixEntries = 126;

struct SimMemory {
    std::array<std::uint8_t, kParameterBlockSize> parameters{};
    // Factory key layout; the keyboard never changes it. Key matrix length bytes.
    std::vector<std::uint8_t> defaultMatrix;
    // The three profiles' matrices, `stride` bytes apart (3 × stride bytes).
    std::vector<std::uint8_t> keyMatrices;
    std::array<std::uint8_t, kProfileSettingsSize> profileSettings{};
    std::array<std::uint8_t, kKeyColourAreaSize> keyColours{};
    // Capacity bytes: parameter byte 11 × 128.
    std::vector<std::uint8_t> macroArea;

    bool operator==(const SimMemory&) const = default;
};

// Memory as a keyboard of this model leaves the factory with a macro area of
// `macroCapacityUnits` × 128 bytes.
SimMemory factoryMemory(const SimModel& model, std::uint8_t macroCapacityUnits = 32);

// The factory key layout alone (key matrix length bytes).
std::vector<std::uint8_t> factoryKeyMatrix(const SimModel& model);

// An empty macro area of `capacity` bytes: marker, 16 bytes in use, no macros.
std::vector<std::uint8_t> emptyMacroArea(std::size_t capacity);

}  // namespace keyloom::sim
