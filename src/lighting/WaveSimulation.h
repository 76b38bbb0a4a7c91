#pragma once
// Waves travelling over the key grid. Four bit planes, one per travel
// direction, mark the cells a wave front occupies; each step every plane
// moves one cell in its direction, and fronts running off the grid vanish.
// A spreading wave also feeds its upward and downward fronts into the
// sideways planes, so a wave started at one cell grows as a diamond ring.
// Every key a front reaches lights up at full brightness and then fades.

#include <array>
#include <cstddef>
#include <cstdint>

#include "lighting/PreviewFrame.h"
#include "lighting/PreviewRandom.h"

namespace keyloom::lighting {

class WaveSimulation {
public:
    enum Plane : std::uint8_t { kLeft = 1, kRight = 2, kUp = 4, kDown = 8, kAllPlanes = 15 };
    static constexpr std::uint8_t kFadePerTick = 32;

    void reset();

    // Every lit key a little darker.
    void fade();
    // Every plane one cell on; with `spread` the vertical fronts also start
    // sideways ones where they stand.
    void advance(bool spread);
    // Puts a front into the given planes at a cell (outside the grid: none).
    void startWave(std::size_t row, std::size_t column, std::uint8_t planes = kAllPlanes);
    // Lights every key under a front, each in a random hue.
    void lightReached(PreviewRandom& random);
    // Lights one key in the given hue of the 255-step table.
    void lightKey(std::size_t slot, std::uint8_t hue);

    bool quiet() const;  // no front anywhere
    bool occupied(std::size_t row, std::size_t column) const;
    std::uint8_t brightness(std::size_t slot) const { return brightness_[slot]; }

    // Colourful: every key in its own hue; otherwise in `colour`; both
    // scaled by the key's brightness.
    void draw(bool colourful, Rgb colour, PreviewFrame& frame) const;

private:
    using Rows = std::array<std::uint32_t, kGridRows>;  // bit c = column c
    static constexpr std::size_t kPlaneCount = 4;

    std::array<Rows, kPlaneCount> planes_{};
    std::array<std::uint8_t, kPreviewKeyCount> brightness_{};
    std::array<std::uint8_t, kPreviewKeyCount> hue_{};
};

}  // namespace keyloom::lighting
