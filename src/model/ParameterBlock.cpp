#include "model/ParameterBlock.h"

#include <algorithm>

namespace keyloom {

bool ParameterBlock::assign(std::span<const std::uint8_t> received) {
    if (received.size() < kSize) {
        return false;
    }
    std::copy_n(received.begin(), kSize, bytes.begin());
    return true;
}

std::vector<std::uint8_t> ParameterBlock::effects() const {
    std::vector<std::uint8_t> list;
    for (std::size_t i = 0; i < kEffectListLength; ++i) {
        const std::uint8_t effect = bytes[kEffectListOffset + i];
        if (effect != 0) {
            list.push_back(effect);
        }
    }
    return list;
}

bool ParameterBlock::supportsEffect(std::uint8_t effect) const {
    if (effect == 0) {
        return false;  // 0 marks an empty slot, not an effect
    }
    const auto first = bytes.begin() + kEffectListOffset;
    return std::find(first, first + kEffectListLength, effect) != first + kEffectListLength;
}

}  // namespace keyloom
