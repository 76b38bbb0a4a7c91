#include "lighting/Sparkle.h"

#include <numeric>

#include "lighting/HueCircle.h"

namespace keyloom::lighting {

namespace {

// Walking the snake with a stride prime to its length visits every key once
// per round, and neighbours on the keyboard flare far apart in time.
constexpr std::size_t kStride = 37;
static_assert(std::gcd(kStride, kSnakeLength) == 1, "the stride visits every key");

std::uint8_t sparkleSlot(std::size_t position) {
    return snakeSlots()[position * kStride % kSnakeLength];
}

}  // namespace

void Sparkle::reset() {
    brightness_.fill(0);
    hue_.fill(0);
    next_ = 0;
}

void Sparkle::tick(PreviewRandom& random, PreviewFrame& frame) {
    for (std::uint8_t& value : brightness_)
        value = value > kFadePerTick ? static_cast<std::uint8_t>(value - kFadePerTick) : 0;
    for (int i = 0; i < kKeysPerTick; ++i) {
        const std::uint8_t slot = sparkleSlot(next_);
        next_ = (next_ + 1) % kSnakeLength;
        brightness_[slot] = 255;
        hue_[slot] = static_cast<std::uint8_t>(random.below(kFineHueSteps));
    }
    for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot)
        frame.colours[slot] = scaled(fineHueStep(hue_[slot]), brightness_[slot]);
}

}  // namespace keyloom::lighting
