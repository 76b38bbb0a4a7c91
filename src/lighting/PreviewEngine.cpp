#include "lighting/PreviewEngine.h"

#include <vector>

#include "lighting/ColourIndexTable.h"
#include "lighting/HueCircle.h"

namespace keyloom::lighting {

namespace {

constexpr int kHuePeriod = static_cast<int>(kHueSteps);
constexpr int kBreathingPeriod = static_cast<int>(kBreathingSteps);
constexpr int kCometPeriod = 128;
constexpr int kSlowBreathingPeriod = static_cast<int>(kSlowBreathingSteps);
constexpr std::uint8_t kForward = 255;

// Calls `paint(row, column, slot)` for every grid cell that holds a key; a
// key wider than one cell takes the colour of its last cell.
template <typename Paint>
void forEachCell(Paint paint) {
    const auto cells = gridSlots();
    for (std::size_t row = 0; row < kGridRows; ++row)
        for (std::size_t column = 0; column < kGridColumns; ++column)
            if (const std::uint8_t slot = cells[row * kGridColumns + column]; slot != kNoSlot)
                paint(static_cast<int>(row), static_cast<int>(column), slot);
}

std::size_t wrapped(int step, int period) {
    return static_cast<std::size_t>(((step % period) + period) % period);
}

// Effect 6's rainbow: the hue of each ring, from 150 down in steps of 15,
// starting over at 170 when it falls to 12 or below.
constexpr auto kStaticRingHues = [] {
    std::array<std::uint8_t, kRingCount> hues{};
    int hue = 150;
    for (std::size_t ring = 0; ring < kRingCount; ++ring) {
        hue -= 15;
        if (hue <= 12)
            hue = 170;
        hues[ring] = static_cast<std::uint8_t>(hue);
    }
    return hues;
}();

// A key the grid leaves out that shares its light with a key in the grid (Right
// Win lies under Page Up's light): it shows that key's colour.
struct SharedLight {
    std::size_t slot;
    std::size_t source;
};

const std::vector<SharedLight>& sharedLights() {
    static const std::vector<SharedLight> lights = [] {
        std::array<bool, kPreviewKeyCount> inGrid{};
        for (std::uint8_t slot : gridSlots())
            if (slot != kNoSlot)
                inGrid[slot] = true;
        std::vector<SharedLight> out;
        for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot) {
            if (inGrid[slot])
                continue;
            for (int other : controlsSharingPosition(controlIdOfSlot(slot)))
                if (const auto source = slotOfControlId(other); source && inGrid[*source]) {
                    out.push_back({slot, *source});
                    break;
                }
        }
        return out;
    }();
    return lights;
}

}  // namespace

bool isPreviewEffect(int effect) {
    return (effect >= 1 && effect <= 18) || effect == kPerKeyColourEffect;
}

PreviewEngine::PreviewEngine(std::uint64_t seed) : seed_(seed), random_(seed) {}

const PreviewFrame& PreviewEngine::tick(const LightingState& state,
                                        std::span<const Rgb, kPreviewKeyCount> keyColours) {
    draw(state, keyColours.data());
    return frame_;
}

const PreviewFrame& PreviewEngine::tick(const LightingState& state) {
    draw(state, nullptr);
    return frame_;
}

void PreviewEngine::start(std::uint8_t effect) {
    effect_ = effect;
    started_ = true;
    random_.reseed(seed_);
    phase_ = 0;
    const auto snakeKeys = static_cast<int>(kSnakeLength);
    for (int i = 0; i < snakeKeys; ++i)
        flowHue_[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(33 * (i + 1) % kHuePeriod);
    flowFalling_.fill(false);
    sparkle_.reset();
    waves_.reset();
}

void PreviewEngine::draw(const LightingState& state, const Rgb* keyColours) {
    if (!started_ || state.effect != effect_)
        start(state.effect);
    frame_.clear();
    switch (state.effect) {
        case 1:
            hueWave(state);
            break;
        case 2:
            comet(state);
            break;
        case 3:
            snake(state);
            break;
        case 4:
            colourCycle(state);
            break;
        case 5:
            breathing(state);
            break;
        case 6:
            staticRings(state);
            break;
        case 10:
            sparkle_.tick(random_, frame_);
            break;
        case 11:
            rainbowFlow(state);
            break;
        case 12:
            pulseBands(state);
            break;
        case 13:
        case 14:
        case 15:
        case 16:
            waves_.tick(state.effect, random_, state.colourful, rgbOfColour(state.mainColour),
                        frame_);
            break;
        case 18:
            vortex(state);
            break;
        case kPerKeyColourEffect:
            if (keyColours != nullptr)
                for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot)
                    frame_.colours[slot] = keyColours[slot];
            break;
        default:  // 7, 8, 9, 17 and unknown effects: dark
            break;
    }
    // Per-key colours are held per light already.
    if (state.effect != kPerKeyColourEffect)
        for (const SharedLight& light : sharedLights())
            frame_.colours[light.slot] = frame_.colours[light.source];
}

void PreviewEngine::hueWave(const LightingState& state) {
    if (state.colourful) {
        forEachCell([&](int, int column, std::uint8_t slot) {
            frame_.colours[slot] = hueStep(wrapped(phase_ + 9 * column, kHuePeriod));
        });
        phase_ = advancePhase(phase_, 9, state.direction, kHuePeriod);
        return;
    }
    const Rgb colour = rgbOfColour(state.mainColour);
    forEachCell([&](int, int column, std::uint8_t slot) {
        frame_.colours[slot] =
            scaled(colour, breathingCurve(wrapped(phase_ + 7 * column, kBreathingPeriod)));
    });
    phase_ = advancePhase(phase_, 7, state.direction, kBreathingPeriod);
}

void PreviewEngine::comet(const LightingState& state) {
    if (state.colourful) {
        forEachCell([&](int, int column, std::uint8_t slot) {
            frame_.colours[slot] = hueStep(wrapped(phase_ + 5 * column, kHuePeriod));
        });
        phase_ = advancePhase(phase_, 4, state.direction, kHuePeriod);
        return;
    }
    // The comet always runs forward; the direction only turns the spacing
    // between the columns around.
    const Rgb colour = rgbOfColour(state.mainColour);
    const int spacing = state.direction != 0 ? 5 : -5;
    forEachCell([&](int, int column, std::uint8_t slot) {
        frame_.colours[slot] =
            scaled(colour, cometCurve(wrapped(phase_ + spacing * column, kCometPeriod)));
    });
    phase_ = advancePhase(phase_, 4, kForward, kCometPeriod);
}

void PreviewEngine::snake(const LightingState& state) {
    const auto keys = snakeSlots();
    const Rgb colour = rgbOfColour(state.mainColour);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int step = phase_ + 5 * static_cast<int>(i);
        frame_.colours[keys[i]] =
            state.colourful ? hueStep(wrapped(step, kHuePeriod))
                            : scaled(colour, breathingCurve(wrapped(step, kBreathingPeriod)));
    }
    phase_ =
        advancePhase(phase_, 4, state.direction, state.colourful ? kHuePeriod : kBreathingPeriod);
}

void PreviewEngine::colourCycle(const LightingState& state) {
    const Rgb colour = hueStep(static_cast<std::size_t>(phase_));
    for (std::uint8_t slot : snakeSlots())
        frame_.colours[slot] = colour;
    phase_ = advancePhase(phase_, 2, state.direction, kHuePeriod);
}

void PreviewEngine::breathing(const LightingState& state) {
    const std::uint8_t value = slowBreathingCurve(static_cast<std::size_t>(phase_));
    const Rgb colour = rgbOfColour(state.mainColour);
    forEachCell([&](int, int column, std::uint8_t slot) {
        frame_.colours[slot] =
            scaled(state.colourful ? hueStep(wrapped(7 * column, kHuePeriod)) : colour, value);
    });
    phase_ = advancePhase(phase_, 2, kForward, kSlowBreathingPeriod);
}

void PreviewEngine::staticRings(const LightingState& state) {
    if (!state.colourful) {
        const Rgb colour = rgbOfColour(state.mainColour);
        for (std::uint8_t slot : snakeSlots())
            frame_.colours[slot] = colour;
        return;
    }
    for (std::size_t ring = 0; ring < kRingCount; ++ring)
        for (std::uint8_t slot : ringSlots(ring))
            frame_.colours[slot] = hueStep(kStaticRingHues[ring]);
}

void PreviewEngine::rainbowFlow(const LightingState& state) {
    const auto keys = snakeSlots();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        frame_.colours[keys[i]] = hueStep(flowHue_[i]);
        int hue = flowHue_[i];
        if (state.colourful) {
            hue += 3;
            if (hue >= kHuePeriod)
                hue = 0;
        } else if (!flowFalling_[i]) {
            hue += 3;
            if (hue >= kHuePeriod - 1) {
                hue = kHuePeriod - 1;
                flowFalling_[i] = true;
            }
        } else {
            hue -= 12;
            if (hue <= 0) {
                hue = 0;
                flowFalling_[i] = false;
            }
        }
        flowHue_[i] = static_cast<std::uint8_t>(hue);
    }
}

void PreviewEngine::pulseBands(const LightingState& state) {
    const Rgb colour = rgbOfColour(state.mainColour);
    forEachCell([&](int row, int, std::uint8_t slot) {
        const std::size_t step = wrapped(phase_ + 24 * row, kHuePeriod);
        frame_.colours[slot] = state.colourful ? hueStep(step) : scaled(colour, pulseCurve(step));
    });
    phase_ = advancePhase(phase_, 3, state.direction, kHuePeriod);
}

void PreviewEngine::vortex(const LightingState& state) {
    const Rgb colour = rgbOfColour(state.mainColour);
    for (std::size_t ring = 0; ring < kRingCount; ++ring) {
        const std::size_t step = wrapped(phase_ + 21 * static_cast<int>(ring + 1), kHuePeriod);
        const Rgb ringColour = state.colourful ? hueStep(step) : scaled(colour, ringCurve(step));
        for (std::uint8_t slot : ringSlots(ring))
            frame_.colours[slot] = ringColour;
    }
    phase_ = advancePhase(phase_, 2, state.direction, kHuePeriod);
}

}  // namespace keyloom::lighting
