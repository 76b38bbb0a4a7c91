#include "lighting/WaveEffects.h"

#include "lighting/HueCircle.h"

namespace keyloom::lighting {

namespace {

constexpr int kFirstDrops = 3;
constexpr int kDropInterval = 6;
constexpr int kRipplesAtOnce = 2;
constexpr std::size_t kCurtainFronts = 3;
constexpr std::size_t kCurtainSpacing = 3;

// The I key, where the fireworks burst, and the left Ctrl key, whose glow
// ends a round.
constexpr std::size_t kBurstRow = 2;
constexpr std::size_t kBurstColumn = 9;
constexpr std::size_t kEndRow = 5;
constexpr std::size_t kEndColumn = 0;

// Spark script: the snake walked with a stride prime to its length, so each
// tick's six sparks lie scattered over the keyboard.
std::uint8_t sparkSlot(int tick, int spark) {
    constexpr std::size_t kStride = 37;
    const std::size_t position =
        static_cast<std::size_t>(tick * WaveEffects::kSparksPerTick + spark);
    return snakeSlots()[position * kStride % kSnakeLength];
}

// Fuse script: the ring keys from the outermost ring inwards, two per tick,
// closing in on the I key.
std::uint8_t fuseSlot(int tick, int side) {
    std::size_t position = static_cast<std::size_t>(tick * 2 + side);
    for (std::size_t ring = kRingCount; ring-- > 1;) {
        const auto keys = ringSlots(ring);
        if (position < keys.size())
            return keys[position];
        position -= keys.size();
    }
    return kNoSlot;
}

// A cell on the grid's border, numbered clockwise from the top left corner.
void edgeCell(std::size_t index, std::size_t& row, std::size_t& column) {
    constexpr std::size_t kTop = kGridColumns;
    constexpr std::size_t kSide = kGridRows - 2;
    if (index < kTop) {
        row = 0;
        column = index;
    } else if (index < kTop + kSide) {
        row = 1 + index - kTop;
        column = kGridColumns - 1;
    } else if (index < 2 * kTop + kSide) {
        row = kGridRows - 1;
        column = 2 * kTop + kSide - 1 - index;
    } else {
        row = kGridRows - 2 - (index - 2 * kTop - kSide);
        column = 0;
    }
}
constexpr std::uint32_t kEdgeCells = 2 * kGridColumns + 2 * (kGridRows - 2);

}  // namespace

void WaveEffects::reset() {
    waves_.reset();
    ticks_ = 0;
    curtainColumn_ = 0;
    stage_ = Stage::kSparks;
}

void WaveEffects::tick(int effect, PreviewRandom& random, bool colourful, Rgb colour,
                       PreviewFrame& frame) {
    if (effect < kFirstEffect || effect > kLastEffect)
        return;
    waves_.fade();
    waves_.advance(effect != 15);
    switch (effect) {
        case 13:
            raindrops(random);
            break;
        case 14:
            fireworks(random);
            break;
        case 15:
            curtain();
            break;
        default:
            ripples(random);
            break;
    }
    waves_.lightReached(random);
    waves_.draw(colourful, colour, frame);
    ++ticks_;
}

void WaveEffects::raindrops(PreviewRandom& random) {
    const int drops = ticks_ == 0 ? kFirstDrops : (ticks_ % kDropInterval == 0 ? 1 : 0);
    for (int i = 0; i < drops; ++i) {
        const std::size_t row = random.below(kGridRows);
        waves_.startWave(row, random.below(kGridColumns));
    }
}

void WaveEffects::curtain() {
    for (std::size_t i = 0; i < kCurtainFronts; ++i)
        waves_.startWave(0, (curtainColumn_ + i * kCurtainSpacing) % kGridColumns,
                         WaveSimulation::kDown);
    curtainColumn_ = (curtainColumn_ + kCurtainFronts) % kGridColumns;
}

void WaveEffects::ripples(PreviewRandom& random) {
    if (!waves_.quiet())
        return;
    for (int i = 0; i < kRipplesAtOnce; ++i) {
        std::size_t row = 0;
        std::size_t column = 0;
        edgeCell(random.below(kEdgeCells), row, column);
        waves_.startWave(row, column);
    }
}

void WaveEffects::fireworks(PreviewRandom& random) {
    switch (stage_) {
        case Stage::kSparks: {
            const auto base = random.below(kFineHueSteps);
            for (int i = 0; i < kSparksPerTick; ++i)
                waves_.lightKey(
                    sparkSlot(ticks_, i),
                    static_cast<std::uint8_t>((base + i * kSparkHueSpacing) % kFineHueSteps));
            if (ticks_ + 1 == kSparkTicks)
                stage_ = Stage::kFuse;
            break;
        }
        case Stage::kFuse: {
            const int fuseTick = ticks_ - kSparkTicks;
            const auto hue = static_cast<std::uint8_t>(random.below(kFineHueSteps));
            waves_.lightKey(fuseSlot(fuseTick, 0), hue);
            waves_.lightKey(fuseSlot(fuseTick, 1), hue);
            if (fuseTick + 1 == kFuseTicks)
                stage_ = Stage::kBurst;
            break;
        }
        case Stage::kBurst:
            waves_.startWave(kBurstRow, kBurstColumn);
            stage_ = Stage::kSpread;
            break;
        case Stage::kSpread:
            // A burst always reaches the corner; the quiet test only keeps a
            // round from hanging should the grid ever change.
            if (waves_.occupied(kEndRow, kEndColumn) || waves_.quiet())
                stage_ = Stage::kAfterglow;
            break;
        case Stage::kAfterglow:
            if (waves_.brightness(gridSlot(kEndRow, kEndColumn)) == 0) {
                waves_.reset();
                stage_ = Stage::kSparks;
                ticks_ = -1;  // the next tick starts the sequence again
            }
            break;
    }
}

}  // namespace keyloom::lighting
