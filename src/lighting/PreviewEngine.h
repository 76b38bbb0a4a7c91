#pragma once
// The lighting preview's frames: from the lighting state, one frame per
// 50 ms tick that imitates the selected effect on the key view. Pure and
// deterministic: the same seed and the same states give the same frames. The
// state of the running effect starts over at every effect change; nothing is
// allocated per frame.

#include <array>
#include <cstdint>
#include <span>

#include "lighting/PreviewFrame.h"
#include "lighting/PreviewRandom.h"
#include "lighting/Sparkle.h"
#include "lighting/WaveEffects.h"
#include "model/ProfileRecord.h"

namespace keyloom::lighting {

// The effect that shows the per-key colours instead of an animation.
inline constexpr std::uint8_t kPerKeyColourEffect = 20;

// One step of a phase: `step` on in the direction (any non-zero direction
// counts as forward, 0 as backward), wrapped into 0 .. period - 1.
constexpr int advancePhase(int phase, int step, std::uint8_t direction, int period) {
    const int moved = direction != 0 ? phase + step : phase - step;
    return ((moved % period) + period) % period;
}

// Whether an effect number has a preview (animated, dark or per-key).
bool isPreviewEffect(int effect);

class PreviewEngine {
public:
    static constexpr std::uint64_t kDefaultSeed = 1;

    explicit PreviewEngine(std::uint64_t seed = kDefaultSeed);

    // The seed the random effects start from at their next start.
    void setSeed(std::uint64_t seed) { seed_ = seed; }
    // Makes the next tick start the effect over, as an effect change does.
    void restart() { started_ = false; }

    // Draws the next frame. `keyColours` are the per-key colours effect 20
    // shows, in preview key order (key view order, then Fn); without them
    // effect 20 is dark.
    const PreviewFrame& tick(const LightingState& state,
                             std::span<const Rgb, kPreviewKeyCount> keyColours);
    const PreviewFrame& tick(const LightingState& state);

    const PreviewFrame& frame() const { return frame_; }

private:
    void start(std::uint8_t effect);
    void draw(const LightingState& state, const Rgb* keyColours);

    void hueWave(const LightingState& state);      // 1
    void comet(const LightingState& state);        // 2
    void snake(const LightingState& state);        // 3
    void colourCycle(const LightingState& state);  // 4
    void breathing(const LightingState& state);    // 5
    void staticRings(const LightingState& state);  // 6
    void rainbowFlow(const LightingState& state);  // 11
    void pulseBands(const LightingState& state);   // 12
    void vortex(const LightingState& state);       // 18

    std::uint64_t seed_;
    PreviewRandom random_;
    PreviewFrame frame_;
    bool started_ = false;
    std::uint8_t effect_ = 0;
    int phase_ = 0;
    // Effect 11: each snake key's hue step, and whether it runs back down.
    std::array<std::uint8_t, kSnakeLength> flowHue_{};
    std::array<bool, kSnakeLength> flowFalling_{};
    Sparkle sparkle_;
    WaveEffects waves_;
};

}  // namespace keyloom::lighting
