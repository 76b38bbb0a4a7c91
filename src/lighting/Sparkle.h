#pragma once
// The sparkle: each tick the next three keys of a fixed shuffle of the keys
// flare up at full brightness in a random hue, and every lit key fades a
// little each tick, so the keyboard twinkles.

#include <array>
#include <cstdint>

#include "lighting/PreviewFrame.h"
#include "lighting/PreviewRandom.h"

namespace keyloom::lighting {

class Sparkle {
public:
    static constexpr int kKeysPerTick = 3;
    static constexpr std::uint8_t kFadePerTick = 10;

    void reset();
    // Fades every key, lights the next three and draws the result.
    void tick(PreviewRandom& random, PreviewFrame& frame);

private:
    std::array<std::uint8_t, kPreviewKeyCount> brightness_{};
    std::array<std::uint8_t, kPreviewKeyCount> hue_{};
    std::size_t next_ = 0;  // position in the shuffle
};

}  // namespace keyloom::lighting
