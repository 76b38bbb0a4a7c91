#include "lighting/HueCircle.h"

namespace keyloom::lighting {

namespace {

constexpr std::size_t kSegment = 32;

// The two ramps every segment of the hue circle is made of.
constexpr std::array<std::uint8_t, kSegment> kRising{
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<std::uint8_t, kSegment> kFalling{
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

// The rising half of the breathing curve; the falling half mirrors it.
constexpr std::array<std::uint8_t, 48> kBreathingRise{
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr auto kHueCircle = [] {
    std::array<Rgb, kHueSteps> circle{};
    for (std::size_t i = 0; i < kSegment; ++i) {
        const std::uint8_t r = kRising[i];
        const std::uint8_t f = kFalling[i];
        circle[0 * kSegment + i] = {255, r, 0};
        circle[1 * kSegment + i] = {f, 255, 0};
        circle[2 * kSegment + i] = {0, 255, r};
        circle[3 * kSegment + i] = {0, f, 255};
        circle[4 * kSegment + i] = {r, 0, 255};
        circle[5 * kSegment + i] = {255, 0, f};
    }
    return circle;
}();

constexpr auto kFineHues = [] {
    std::array<Rgb, kFineHueSteps> table{};
    for (std::size_t i = 0; i < kFineHueSteps; ++i)
        table[i] = kHueCircle[i * kHueSteps / kFineHueSteps];
    return table;
}();

constexpr auto kBreathing = [] {
    std::array<std::uint8_t, kBreathingSteps> curve{};
    for (std::size_t i = 0; i < kBreathingRise.size(); ++i) {
        curve[i] = kBreathingRise[i];
        curve[kBreathingSteps - 1 - i] = kBreathingRise[i];
    }
    return curve;
}();

// 8 ... 33, the breathing curve from 36 to 255, back down the same way to 8,
// then dark for the rest of the cycle.
constexpr auto kPulse = [] {
    constexpr std::array<std::uint8_t, 13> start{8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 27, 30, 33};
    constexpr std::size_t firstBreathing = 5;  // the breathing curve's 36
    std::array<std::uint8_t, kPulseSteps> curve{};
    std::size_t n = 0;
    for (std::uint8_t value : start)
        curve[n++] = value;
    for (std::size_t i = firstBreathing; i < kBreathingRise.size(); ++i)
        curve[n++] = kBreathingRise[i];
    for (std::size_t i = 0; i < n; ++i)
        curve[2 * n - 1 - i] = curve[i];
    return curve;
}();
static_assert(kPulse[55] == 255 && kPulse[56] == 255 && kPulse[111] == 8 && kPulse[112] == 0,
              "the pulse is 112 steps long");

// A quick rise, the breathing curve's falling half, the tail of the pulse
// curve below 22, a last glow and dark to the end.
constexpr auto kComet = [] {
    constexpr std::array<std::uint8_t, 17> rise{0,  4,   8,   14,  22,  33,  45,  61, 77,
                                                94, 114, 134, 158, 182, 206, 234, 255};
    constexpr std::array<std::uint8_t, 16> tail{20, 18, 16, 14, 12, 10, 9, 8,
                                                7,  6,  5,  4,  3,  2,  2, 1};
    std::array<std::uint8_t, kCometSteps> curve{};
    std::size_t n = 0;
    for (std::uint8_t value : rise)
        curve[n++] = value;
    for (std::size_t i = kBreathingRise.size() - 1; i-- > 0;)
        curve[n++] = kBreathingRise[i];
    for (std::uint8_t value : tail)
        curve[n++] = value;
    return curve;
}();
static_assert(kComet[17] == 248 && kComet[63] == 22 && kComet[79] == 1 && kComet[80] == 0,
              "the comet's tail ends at step 79");

// 3, 3, 4 ... 14, 16, 18, 20, then the breathing curve up to 255 at step 63,
// mirrored from step 64.
constexpr auto kSlowBreathing = [] {
    constexpr std::array<std::uint8_t, 16> start{3,  3,  4,  5,  6,  7,  8,  9,
                                                 10, 11, 12, 13, 14, 16, 18, 20};
    std::array<std::uint8_t, kSlowBreathingSteps> curve{};
    std::size_t n = 0;
    for (std::uint8_t value : start)
        curve[n++] = value;
    for (std::uint8_t value : kBreathingRise)
        curve[n++] = value;
    for (std::size_t i = 0; i < n; ++i)
        curve[kSlowBreathingSteps - 1 - i] = curve[i];
    return curve;
}();
static_assert(kSlowBreathing[63] == 255 && kSlowBreathing[64] == 255 && kSlowBreathing[127] == 3,
              "the slow breathing peaks at steps 63 and 64");

}  // namespace

Rgb hueStep(std::size_t step) {
    return kHueCircle[step % kHueSteps];
}

Rgb fineHueStep(std::size_t step) {
    return kFineHues[step % kFineHueSteps];
}

std::uint8_t breathingCurve(std::size_t step) {
    return kBreathing[step % kBreathingSteps];
}

std::uint8_t pulseCurve(std::size_t step) {
    return kPulse[step % kPulseSteps];
}

std::uint8_t cometCurve(std::size_t step) {
    return kComet[step % kCometSteps];
}

std::uint8_t slowBreathingCurve(std::size_t step) {
    return kSlowBreathing[step % kSlowBreathingSteps];
}

std::uint8_t ringCurve(std::size_t step) {
    step %= kRingCurveSteps;
    return step < kBreathingSteps ? kBreathing[step] : kPulse[step - kBreathingSteps];
}

}  // namespace keyloom::lighting
