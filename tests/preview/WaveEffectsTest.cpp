// The wave simulation's fronts and the scripted stages of the fireworks.

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "lighting/WaveEffects.h"
#include "lighting/WaveSimulation.h"

namespace keyloom::lighting {
namespace {

TEST(WaveSimulation, SpreadingWaveGrowsAsADiamondRing) {
    WaveSimulation waves;
    waves.reset();
    waves.startWave(2, 9);
    for (int distance = 1; distance <= 4; ++distance) {
        waves.advance(true);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 23; ++c)
                EXPECT_EQ(waves.occupied(r, c), std::abs(r - 2) + std::abs(c - 9) == distance)
                    << "distance " << distance << " cell " << r << "," << c;
    }
}

TEST(WaveSimulation, FrontsLeaveTheGridAndLitKeysFade) {
    WaveSimulation waves;
    waves.reset();
    waves.startWave(0, 0, WaveSimulation::kUp | WaveSimulation::kLeft);
    PreviewRandom random(1);
    waves.lightReached(random);
    const std::uint8_t slot = gridSlot(1, 0);  // Esc
    waves.lightKey(slot, 0);
    EXPECT_EQ(waves.brightness(slot), 255);
    waves.advance(true);
    EXPECT_TRUE(waves.quiet());
    waves.fade();
    EXPECT_EQ(waves.brightness(slot), 255 - WaveSimulation::kFadePerTick);
    for (int i = 0; i < 10; ++i)
        waves.fade();
    EXPECT_EQ(waves.brightness(slot), 0);
}

TEST(WaveEffects, FireworksRunTheirFiveStagesAndStartAgain) {
    WaveEffects effects;
    effects.reset();
    PreviewRandom random(7);
    PreviewFrame frame;
    std::vector<WaveEffects::Stage> stages;
    std::vector<int> lengths;
    for (int tick = 0; tick < 300; ++tick) {
        if (stages.empty() || stages.back() != effects.stage()) {
            stages.push_back(effects.stage());
            lengths.push_back(0);
        }
        ++lengths.back();
        effects.tick(14, random, true, Rgb{}, frame);
    }
    using S = WaveEffects::Stage;
    ASSERT_GE(stages.size(), 7u);
    EXPECT_EQ(std::vector<S>(stages.begin(), stages.begin() + 7),
              (std::vector<S>{S::kSparks, S::kFuse, S::kBurst, S::kSpread, S::kAfterglow,
                              S::kSparks, S::kFuse}));
    EXPECT_EQ(lengths[0], WaveEffects::kSparkTicks);
    EXPECT_EQ(lengths[1], WaveEffects::kFuseTicks);
    EXPECT_EQ(lengths[2], 1);
    EXPECT_EQ(lengths[3], 12);  // from the I key to the left Ctrl key
    EXPECT_EQ(lengths[5], WaveEffects::kSparkTicks);
}

TEST(WaveEffects, RainCurtainDropsThreeFrontsThreeColumnsApart) {
    WaveEffects effects;
    effects.reset();
    PreviewRandom random(1);
    PreviewFrame frame;
    effects.tick(15, random, false, Rgb{255, 255, 255}, frame);
    // Row 0, columns 0, 3, 6: an empty cell, F1 and F4.
    EXPECT_EQ(frame.colourOf(1010), (Rgb{255, 255, 255}));
    EXPECT_EQ(frame.colourOf(1013), (Rgb{255, 255, 255}));
    EXPECT_EQ(frame.colourOf(1011), Rgb{});
    effects.tick(15, random, false, Rgb{255, 255, 255}, frame);
    // The fronts fell one row (columns 0, 3, 6 of row 1: Esc, 2, 5) and the
    // trio moved on three columns to 3, 6, 9 of row 0 (F1, F4, F6).
    for (int id : {1022, 1031, 1034, 1010, 1013, 1015})
        EXPECT_EQ(frame.colourOf(id).red, 255) << id;
    EXPECT_EQ(frame.colourOf(1011), Rgb{});
}

}  // namespace
}  // namespace keyloom::lighting
