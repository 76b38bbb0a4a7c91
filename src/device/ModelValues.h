#pragma once
// The two numbers that depend on which keyboard model is connected: how many
// bytes of a key matrix are transferred per profile and how far apart the
// profiles' matrices lie in the keyboard's key-matrix address space. Written
// by the discovery thread before it reports a connection, read by everyone.

#include <atomic>
#include <cstdint>

namespace keyloom {

inline constexpr std::uint16_t kDefaultKeyMatrixLength = 378;
inline constexpr std::uint16_t kDefaultKeyMatrixStride = 378;

struct ModelValues {
    std::atomic<std::uint16_t> keyMatrixLength{kDefaultKeyMatrixLength};
    std::atomic<std::uint16_t> keyMatrixStride{kDefaultKeyMatrixStride};
};

}  // namespace keyloom
