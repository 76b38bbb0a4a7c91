#include "controls/SliderState.h"

#include <algorithm>
#include <cstdint>

namespace keyloom::controls {

void SliderState::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    position_ = std::clamp(position_, minimum_, maximum_);
}

bool SliderState::setPosition(int position) {
    const int clamped = std::clamp(position, minimum_, maximum_);
    if (clamped == position_) {
        return false;
    }
    position_ = clamped;
    return true;
}

bool SliderState::step(int delta) {
    // 64-bit so that a large step near the ends of int cannot overflow.
    const std::int64_t target = static_cast<std::int64_t>(position_) + delta;
    return setPosition(static_cast<int>(std::clamp<std::int64_t>(target, minimum_, maximum_)));
}

std::size_t SliderState::faceIndex(std::size_t faceCount) const {
    const std::int64_t range = static_cast<std::int64_t>(maximum_) - minimum_;
    if (faceCount == 0 || range == 0) {
        return 0;
    }
    const std::int64_t offset = static_cast<std::int64_t>(position_) - minimum_;
    const std::int64_t last = static_cast<std::int64_t>(faceCount) - 1;
    // Rounded to the nearest face.
    return static_cast<std::size_t>((offset * last * 2 + range) / (range * 2));
}

int SliderState::positionAt(int x, int width, int margin) const {
    const std::int64_t usable =
        static_cast<std::int64_t>(width) - 2 * static_cast<std::int64_t>(margin);
    const std::int64_t range = static_cast<std::int64_t>(maximum_) - minimum_;
    if (usable <= 0 || range == 0) {
        return minimum_;
    }
    const std::int64_t along =
        std::clamp<std::int64_t>(static_cast<std::int64_t>(x) - margin, 0, usable);
    return static_cast<int>(minimum_ + (along * range * 2 + usable) / (usable * 2));
}

}  // namespace keyloom::controls
