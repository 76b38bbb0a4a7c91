#include "model/KeyColourMap.h"

namespace keyloom {

Rgb KeyColourMap::colour(std::size_t profile, std::size_t keyIndex) const {
    if (profile >= kProfileCount || keyIndex >= kKeysPerProfile) {
        return {};
    }
    const std::size_t at = profile * kProfileBytes + keyIndex * 3;
    return {bytes_[at], bytes_[at + 1], bytes_[at + 2]};
}

bool KeyColourMap::setColour(std::size_t profile, std::size_t keyIndex, Rgb colour) {
    if (profile >= kProfileCount || keyIndex >= kKeysPerProfile) {
        return false;
    }
    const std::size_t at = profile * kProfileBytes + keyIndex * 3;
    bytes_[at] = colour.red;
    bytes_[at + 1] = colour.green;
    bytes_[at + 2] = colour.blue;
    return true;
}

std::span<const std::uint8_t> KeyColourMap::profileBytes(std::size_t profile) const {
    if (profile >= kProfileCount) {
        return {};
    }
    return std::span<const std::uint8_t>(bytes_).subspan(profile * kProfileBytes, kProfileBytes);
}

std::span<std::uint8_t> KeyColourMap::profileBytes(std::size_t profile) {
    if (profile >= kProfileCount) {
        return {};
    }
    return std::span<std::uint8_t>(bytes_).subspan(profile * kProfileBytes, kProfileBytes);
}

std::span<const std::uint8_t> KeyColourMap::transferChunk(std::size_t profile,
                                                          std::size_t chunk) const {
    if (profile >= kProfileCount || chunk >= kTransferCount) {
        return {};
    }
    return profileBytes(profile).subspan(transferFirstKey(chunk) * 3, kKeysPerTransfer * 3);
}

}  // namespace keyloom
