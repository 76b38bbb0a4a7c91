#include "lighting/WaveSimulation.h"

#include "lighting/HueCircle.h"

namespace keyloom::lighting {

namespace {

constexpr std::uint32_t kRowMask = (1u << kGridColumns) - 1;

enum PlaneIndex : std::size_t { kLeftIndex, kRightIndex, kUpIndex, kDownIndex };

}  // namespace

void WaveSimulation::reset() {
    for (Rows& rows : planes_)
        rows.fill(0);
    brightness_.fill(0);
    hue_.fill(0);
}

void WaveSimulation::fade() {
    for (std::uint8_t& value : brightness_)
        value = value > kFadePerTick ? static_cast<std::uint8_t>(value - kFadePerTick) : 0;
}

void WaveSimulation::advance(bool spread) {
    Rows& left = planes_[kLeftIndex];
    Rows& right = planes_[kRightIndex];
    Rows& up = planes_[kUpIndex];
    Rows& down = planes_[kDownIndex];
    for (std::size_t r = 0; r < kGridRows; ++r) {
        left[r] >>= 1;
        right[r] = (right[r] << 1) & kRowMask;
    }
    for (std::size_t r = 0; r + 1 < kGridRows; ++r)
        up[r] = up[r + 1];
    up[kGridRows - 1] = 0;
    for (std::size_t r = kGridRows - 1; r > 0; --r)
        down[r] = down[r - 1];
    down[0] = 0;
    if (!spread)
        return;
    for (std::size_t r = 0; r < kGridRows; ++r) {
        left[r] |= up[r] | down[r];
        right[r] |= up[r] | down[r];
    }
}

void WaveSimulation::startWave(std::size_t row, std::size_t column, std::uint8_t planes) {
    if (row >= kGridRows || column >= kGridColumns)
        return;
    const std::uint32_t bit = 1u << column;
    for (std::size_t p = 0; p < kPlaneCount; ++p)
        if (planes & (1u << p))
            planes_[p][row] |= bit;
}

void WaveSimulation::lightReached(PreviewRandom& random) {
    for (std::size_t r = 0; r < kGridRows; ++r) {
        const std::uint32_t reached = planes_[kLeftIndex][r] | planes_[kRightIndex][r] |
                                      planes_[kUpIndex][r] | planes_[kDownIndex][r];
        for (std::size_t c = 0; reached >> c; ++c) {
            if (!((reached >> c) & 1u))
                continue;
            const std::uint8_t slot = gridSlot(r, c);
            if (slot != kNoSlot)
                lightKey(slot, static_cast<std::uint8_t>(random.below(kFineHueSteps)));
        }
    }
}

void WaveSimulation::lightKey(std::size_t slot, std::uint8_t hue) {
    if (slot >= kPreviewKeyCount)
        return;
    brightness_[slot] = 255;
    hue_[slot] = hue;
}

bool WaveSimulation::quiet() const {
    for (const Rows& rows : planes_)
        for (std::uint32_t bits : rows)
            if (bits != 0)
                return false;
    return true;
}

bool WaveSimulation::occupied(std::size_t row, std::size_t column) const {
    if (row >= kGridRows || column >= kGridColumns)
        return false;
    for (const Rows& rows : planes_)
        if ((rows[row] >> column) & 1u)
            return true;
    return false;
}

void WaveSimulation::draw(bool colourful, Rgb colour, PreviewFrame& frame) const {
    for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot)
        frame.colours[slot] =
            scaled(colourful ? fineHueStep(hue_[slot]) : colour, brightness_[slot]);
}

}  // namespace keyloom::lighting
