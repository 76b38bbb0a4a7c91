#include "controls/LegendContrast.h"

#include <array>
#include <cmath>

namespace keyloom::controls {

namespace {

// A channel's share of linear light.
double linear(std::uint32_t channel) {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (std::size_t i = 0; i < t.size(); ++i) {
            const double c = static_cast<double>(i) / 255.0;
            t[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table[channel & 0xFF];
}

}  // namespace

bool wantsDarkLegend(std::uint32_t colour) {
    const double luminance =
        0.2126 * linear(colour >> 16) + 0.7152 * linear(colour >> 8) + 0.0722 * linear(colour);
    // Contrast with black (L + 0.05) / 0.05 against white 1.05 / (L + 0.05):
    // black wins above L = sqrt(1.05 x 0.05) - 0.05.
    return (luminance + 0.05) * (luminance + 0.05) > 1.05 * 0.05;
}

}  // namespace keyloom::controls
