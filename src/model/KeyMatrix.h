#pragma once
// A key matrix in memory: 512 bytes per profile whatever the model, of which
// the model's key matrix length is transferred. The default key matrix (the
// keyboard's factory layout) uses the same buffer type.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/MatrixEntry.h"

namespace keyloom {

// Size of one profile's key matrix on the keyboard. The connection monitor
// picks the values for the model it finds and hands them in.
struct KeyMatrixModel {
    std::size_t length = 378;  // bytes read or written per profile
    std::size_t stride = 378;  // distance between two profiles' matrices on the device

    friend bool operator==(const KeyMatrixModel&, const KeyMatrixModel&) = default;
};

inline constexpr KeyMatrixModel kModel652F{378, 378};  // 0x0C45 / 0x652F
inline constexpr KeyMatrixModel kModel5064{384, 512};  // 0x320F / 0x5064

struct KeyMatrix {
    static constexpr std::size_t kBufferSize = 512;
    static constexpr std::size_t kEntrySize = 3;
    // Positions built from the default matrix and the assignments.
    static constexpr std::size_t kEntryCount = 126;

    std::array<std::uint8_t, kBufferSize> bytes{};

    // Entry at `position` (0-169); positions past the buffer read as 00 00 00.
    MatrixEntry entry(std::size_t position) const;
    // False (nothing written) when the entry would not fit the buffer.
    bool setEntry(std::size_t position, MatrixEntry entry);

    // The bytes to send for a model: the first `length` bytes (at most 512).
    std::span<const std::uint8_t> transferBytes(const KeyMatrixModel& model) const;
    // Copies what the keyboard sent into the front of the buffer (at most 512
    // bytes; the rest of the buffer is left as it was). Returns bytes taken.
    std::size_t assign(std::span<const std::uint8_t> received);

    friend bool operator==(const KeyMatrix&, const KeyMatrix&) = default;
};

}  // namespace keyloom
