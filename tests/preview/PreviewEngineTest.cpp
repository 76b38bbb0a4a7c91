// Frames of the lighting preview: the phase rule, the frame routines the
// window shows, dark and per-key effects, and the restart on effect change.

#include <gtest/gtest.h>

#include <functional>
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

TEST(PreviewEngine, FrameRoutinesFollowTheirSteps) {
    // Probe keys: 1091 is snake key 2; Esc column 0 and 1056 (Tab) row 2 and
    // column 1 of the grid; 1069 (Caps Lock) row 3; 1051 ring 0, 1038 ring 1,
    // 1022 ring 10. Single colour runs in red, so red is the curve's value.
    auto hue = [](int step) { return hueStep(static_cast<std::size_t>((step % 192 + 192) % 192)); };
    auto red = [](std::uint8_t value) { return Rgb{value, 0, 0}; };
    auto at = [](int step, int period) {
        return static_cast<std::size_t>((step % period + period) % period);
    };
    struct Case {
        int effect;
        bool colourful;
        std::uint8_t direction;
        int controlId;
        std::function<Rgb(int)> expected;
    };
    const std::vector<Case> cases{
        {1, false, kBackward, 1022, [&](int t) { return red(breathingCurve(at(-7 * t, 96))); }},
        {3, true, kForward, 1091, [&](int t) { return hue(4 * t + 10); }},
        {3, false, kBackward, 1091, [&](int t) { return red(breathingCurve(at(10 - 4 * t, 96))); }},
        {5, true, kBackward, 1056,
         [&](int t) { return scaled(hue(7), slowBreathingCurve(at(2 * t, 128))); }},
        {12, true, kBackward, 1056, [&](int t) { return hue(48 - 3 * t); }},
        {12, false, kForward, 1069, [&](int t) { return red(pulseCurve(at(72 + 3 * t, 192))); }},
        {18, true, kForward, 1051, [&](int t) { return hue(21 + 2 * t); }},
        {18, true, kBackward, 1022, [&](int t) { return hue(231 - 2 * t); }},
        {18, false, kForward, 1038, [&](int t) { return red(ringCurve(at(42 + 2 * t, 192))); }},
    };
    for (const Case& c : cases) {
        PreviewEngine engine;
        const auto frames = run(engine, stateOf(c.effect, c.colourful, c.direction, kRed), 60);
        for (int t = 0; t < 60; ++t)
            ASSERT_EQ(frames[t].colourOf(c.controlId), c.expected(t))
                << "effect " << c.effect << " colourful " << c.colourful << " frame " << t;
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

TEST(PreviewEngine, RightWinShowsTheColourOfPageUpWhoseLightItShares) {
    for (int effect : {1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16, 18})
        for (bool colourful : {true, false}) {
            // Page Up is lit in every frame of the colourful hue wave, so a
            // Right Win left dark would differ there.
            PreviewEngine engine;
            for (const PreviewFrame& frame : run(engine, stateOf(effect, colourful, kForward), 40))
                ASSERT_EQ(frame.colourOf(1087), frame.colourOf(1096))
                    << "effect " << effect << " colourful " << colourful;
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
