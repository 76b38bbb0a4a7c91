#pragma once
// In-memory mirror of the keyboard's per-key colour area: 512 bytes per
// profile, key index k at 3k (red, green, blue). Only keys 0-169 fit a
// profile's 512 bytes; the program sends the first 144 keys of a profile in
// eight transfers of 18 keys (54 bytes).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace keyloom {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class KeyColourMap {
public:
    static constexpr std::size_t kProfileCount = 3;
    static constexpr std::size_t kProfileBytes = 512;
    static constexpr std::size_t kKeysPerProfile = kProfileBytes / 3;  // 170
    static constexpr std::size_t kSentKeys = 144;
    static constexpr std::size_t kKeysPerTransfer = 18;
    static constexpr std::size_t kTransferCount = kSentKeys / kKeysPerTransfer;  // 8

    // Black (0,0,0) when the profile or key is out of range.
    Rgb colour(std::size_t profile, std::size_t keyIndex) const;
    // False (nothing changed) when the profile or key is out of range.
    bool setColour(std::size_t profile, std::size_t keyIndex, Rgb colour);

    // A profile's 512 bytes; empty for a profile above 2.
    std::span<const std::uint8_t> profileBytes(std::size_t profile) const;
    std::span<std::uint8_t> profileBytes(std::size_t profile);

    // The 54 bytes of transfer `chunk` (0-7) of a profile: keys 18*chunk to
    // 18*chunk+17. Empty when the profile or chunk is out of range.
    std::span<const std::uint8_t> transferChunk(std::size_t profile, std::size_t chunk) const;
    // Key index at which transfer `chunk` starts (the device offset is
    // profile * 512 + 3 * this).
    static constexpr std::size_t transferFirstKey(std::size_t chunk) {
        return chunk * kKeysPerTransfer;
    }

private:
    std::array<std::uint8_t, kProfileCount * kProfileBytes> bytes_{};
};

}  // namespace keyloom
