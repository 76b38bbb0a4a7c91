#pragma once
// The four wave effects on one wave simulation:
//  13 raindrops: drops at a few random cells on the first tick, then a new
//     drop every few ticks, each spreading as a ring;
//  14 fireworks: sparks, a fuse closing in on the I key, a burst from it that
//     runs until it reaches the left Ctrl key, and again once that key has
//     faded;
//  15 rain curtain: every tick three falling fronts three columns apart, the
//     trio moving on three columns per tick;
//  16 ripples: rings starting at the grid's edges, new ones whenever the
//     last have left the grid.

#include <cstddef>

#include "lighting/PreviewFrame.h"
#include "lighting/PreviewRandom.h"
#include "lighting/WaveSimulation.h"

namespace keyloom::lighting {

class WaveEffects {
public:
    static constexpr int kFirstEffect = 13;
    static constexpr int kLastEffect = 16;

    // Fireworks stages, in the order they run.
    enum class Stage { kSparks, kFuse, kBurst, kSpread, kAfterglow };
    static constexpr int kSparkTicks = 20;
    static constexpr int kSparksPerTick = 6;
    static constexpr int kSparkHueSpacing = 11;
    static constexpr int kFuseTicks = 31;

    void reset();
    // One tick of effect 13-16 (other effects draw nothing).
    void tick(int effect, PreviewRandom& random, bool colourful, Rgb colour, PreviewFrame& frame);

    Stage stage() const { return stage_; }

private:
    void raindrops(PreviewRandom& random);
    void curtain();
    void ripples(PreviewRandom& random);
    void fireworks(PreviewRandom& random);

    WaveSimulation waves_;
    int ticks_ = 0;  // since the effect (or the fireworks sequence) started
    std::size_t curtainColumn_ = 0;
    Stage stage_ = Stage::kSparks;
};

}  // namespace keyloom::lighting
