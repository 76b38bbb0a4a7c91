// Frames of the lighting preview: the phase rule, the frame routines the
// window shows, dark and per-key effects, and the restart on effect change.

#include <gtest/gtest.h>

#include <vector>

#include "lighting/HueCircle.h"
#include "lighting/PreviewEngine.h"

namespace keyloom::lighting {
namespace {

constexpr std::uint8_t kForward = 255;
constexpr std::uint8_t kBackward = 0;
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kRed = 0x000000FF;

LightingState stateOf(int effect, bool colourful, std::uint8_t direction,
                      std::uint32_t colour = kWhite) {
    LightingState state;
    state.effect = static_cast<std::uint8_t>(effect);
    state.colourful = colourful;
    state.direction = direction;
    state.mainColour = colour;
    return state;
}

std::vector<PreviewFrame> run(PreviewEngine& engine, const LightingState& state, int frames) {
    std::vector<PreviewFrame> out;
    for (int i = 0; i < frames; ++i)
        out.push_back(engine.tick(state));
    return out;
}

// Keys that fill one grid cell in row 1, by column.
constexpr int kRow1[] = {1022, 1029, 1030, 1031, 1032, 1033, 1034,
                         1035, 1036, 1037, 1038, 1039, 1040, 1041};

TEST(PreviewPhase, AdvancesInTheDirectionAndWraps) {
    struct Case {
        int phase, step;
        std::uint8_t direction;
        int period, expected;
    };
    for (const Case& c : {Case{0, 9, 255, 192, 9}, Case{190, 9, 255, 192, 7}, Case{0, 9, 1, 192, 9},
                          Case{0, 9, 0, 192, 183}, Case{3, 7, 0, 96, 92}, Case{95, 7, 128, 96, 6}})
        EXPECT_EQ(advancePhase(c.phase, c.step, c.direction, c.period), c.expected)
            << c.phase << " + " << c.step << " dir " << int(c.direction);
}

TEST(PreviewEngine, HueWaveShowsColumnKAtPhasePlusNineK) {
    for (std::uint8_t direction : {kForward, kBackward}) {
        PreviewEngine engine;
        const auto frames = run(engine, stateOf(1, true, direction), 4);
        for (int t = 0; t < 4; ++t) {
            const int phase = direction ? 9 * t : 192 - 9 * t;
            for (int column = 0; column < 14; ++column)
                EXPECT_EQ(frames[t].colourOf(kRow1[column]), hueStep((phase + 9 * column) % 192))
                    << "frame " << t << " column " << column << " direction " << int(direction);
        }
    }
}

TEST(PreviewEngine, ColourCycleRunsTheHueCircleBackwardsForDirectionZero) {
    for (std::uint8_t direction : {kForward, kBackward}) {
        PreviewEngine engine;
        const auto frames = run(engine, stateOf(4, false, direction), 3);
        const int expected[2][3] = {{0, 190, 188}, {0, 2, 4}};
        for (int t = 0; t < 3; ++t)
            for (std::uint8_t slot : snakeSlots())
                ASSERT_EQ(frames[t].colours[slot], hueStep(expected[direction ? 1 : 0][t]))
                    << "frame " << t << " direction " << int(direction);
    }
}

TEST(PreviewEngine, SingleColourCometAlwaysRunsForwardOnlyTheSpacingTurns) {
    for (std::uint8_t direction : {kForward, kBackward}) {
        PreviewEngine engine;
        const auto frames = run(engine, stateOf(2, false, direction, kRed), 5);
        const int spacing = direction ? 5 : -5;
        for (int t = 0; t < 5; ++t)
            for (int column = 0; column < 14; ++column) {
                const int step = ((4 * t + spacing * column) % 128 + 128) % 128;
                EXPECT_EQ(frames[t].colourOf(kRow1[column]),
                          (Rgb{cometCurve(static_cast<std::size_t>(step)), 0, 0}))
                    << "frame " << t << " column " << column << " direction " << int(direction);
            }
    }
}

TEST(PreviewEngine, EffectsWithoutAnimationDarkenEveryKey) {
    for (int effect : {7, 8, 9, 17, 0, 19, 21}) {
        PreviewEngine engine;
        engine.tick(stateOf(4, true, kForward));
        const PreviewFrame& frame = engine.tick(stateOf(effect, true, kForward));
        EXPECT_EQ(frame, PreviewFrame{}) << "effect " << effect;
    }
}

TEST(PreviewEngine, PerKeyEffectShowsTheKeyColours) {
    std::array<Rgb, kPreviewKeyCount> colours{};
    for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot)
        colours[slot] = Rgb{static_cast<std::uint8_t>(slot), 7, 9};
    PreviewEngine engine;
    EXPECT_EQ(engine.tick(stateOf(20, true, kForward), colours).colours, colours);
    EXPECT_EQ(engine.tick(stateOf(20, true, kForward)), PreviewFrame{});
}

TEST(PreviewEngine, EffectChangeStartsTheEffectOver) {
    PreviewEngine fresh;
    const PreviewFrame first = fresh.tick(stateOf(1, true, kForward));
    PreviewEngine engine;
    run(engine, stateOf(1, true, kForward), 5);
    engine.tick(stateOf(3, true, kForward));
    EXPECT_EQ(engine.tick(stateOf(1, true, kForward)), first);
    run(engine, stateOf(1, true, kForward), 3);
    engine.restart();
    EXPECT_EQ(engine.tick(stateOf(1, true, kForward)), first);
}

TEST(PreviewEngine, StaticRingsDropFifteenHueStepsPerRing) {
    PreviewEngine engine;
    const PreviewFrame& frame = engine.tick(stateOf(6, true, kForward));
    const int hues[] = {135, 120, 105, 90, 75, 60, 45, 30, 15, 170, 155};
    for (std::size_t g = 0; g < 11; ++g)
        for (std::uint8_t slot : ringSlots(g))
            EXPECT_EQ(frame.colours[slot], hueStep(hues[g])) << "ring " << g;
    EXPECT_EQ(frame.colourOf(1104), Rgb{}) << "Num Lock lies in no ring";
}

TEST(PreviewEngine, RainbowFlowRampsEachSnakeKey) {
    // Key 0 starts at 33; key 5 at 198 mod 192 = 6; colourful wraps at 192,
    // single colour runs back down 12 steps per tick from the circle's end.
    PreviewEngine colourful;
    auto frames = run(colourful, stateOf(11, true, kForward), 55);
    const auto snake = snakeSlots();
    EXPECT_EQ(frames[0].colours[snake[0]], hueStep(33));
    EXPECT_EQ(frames[0].colours[snake[5]], hueStep(6));
    EXPECT_EQ(frames[2].colours[snake[0]], hueStep(39));
    EXPECT_EQ(frames[53].colours[snake[0]], hueStep(0));  // 33 + 3 * 53 = 192

    PreviewEngine single;
    frames = run(single, stateOf(11, false, kForward), 56);
    EXPECT_EQ(frames[52].colours[snake[0]], hueStep(189));
    EXPECT_EQ(frames[53].colours[snake[0]], hueStep(191));
    EXPECT_EQ(frames[54].colours[snake[0]], hueStep(179));
    EXPECT_EQ(frames[55].colours[snake[0]], hueStep(167));
}

TEST(PreviewEngine, RandomEffectsRepeatForOneSeedAndDifferForAnother) {
    for (int effect : {10, 13, 14, 15, 16}) {
        for (bool colourful : {true, false}) {
            const LightingState state = stateOf(effect, colourful, kForward, kRed);
            PreviewEngine a(42);
            PreviewEngine b(42);
            PreviewEngine c(43);
            const auto framesA = run(a, state, 80);
            EXPECT_EQ(framesA, run(b, state, 80)) << "effect " << effect;
            if (colourful) {
                EXPECT_NE(framesA, run(c, state, 80)) << "effect " << effect;
            }
            bool anyLit = false;
            for (const PreviewFrame& frame : framesA)
                anyLit = anyLit || frame != PreviewFrame{};
            EXPECT_TRUE(anyLit) << "effect " << effect;
        }
    }
}

TEST(PreviewEngine, ChangedKeysListsOnlyTheKeysThatDiffer) {
    PreviewFrame before;
    PreviewFrame after;
    after.colours[*slotOfControlId(1058)] = Rgb{1, 0, 0};
    after.colours[kFnSlot] = Rgb{0, 0, 1};
    const ChangedKeys changed = changedKeys(before, after);
    EXPECT_EQ(std::vector<int>(changed.controlIds().begin(), changed.controlIds().end()),
              (std::vector<int>{1058, 1174}));
    EXPECT_TRUE(changedKeys(after, after).empty());
}

}  // namespace
}  // namespace keyloom::lighting
