#include "lighting/EffectList.h"

namespace keyloom {

void EffectList::fill(const ParameterBlock& block) {
    count_ = 0;
    for (std::size_t i = 0; i < ParameterBlock::kEffectListLength; ++i) {
        const std::uint8_t effect = block.bytes[ParameterBlock::kEffectListOffset + i];
        if (effect != 0)
            effects_[count_++] = effect;
    }
}

std::uint8_t EffectList::effectAt(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= count_)
        return 0;
    return effects_[static_cast<std::size_t>(position)];
}

int EffectList::positionOf(std::uint8_t effect) const {
    for (std::size_t i = 0; i < count_; ++i)
        if (effects_[i] == effect)
            return static_cast<int>(i);
    return -1;
}

}  // namespace keyloom
