#pragma once
// The preview's colour tables: the 192-step hue circle, a 255-step hue table
// for random hues, and the brightness curves (0-255) that scale a colour.

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/KeyColourMap.h"

namespace keyloom::lighting {

inline constexpr std::size_t kHueSteps = 192;
inline constexpr std::size_t kFineHueSteps = 255;
inline constexpr std::size_t kBreathingSteps = 96;
inline constexpr std::size_t kPulseSteps = 192;
inline constexpr std::size_t kCometSteps = 129;
inline constexpr std::size_t kSlowBreathingSteps = 128;
inline constexpr std::size_t kRingCurveSteps = 192;

// Step `step` of the hue circle, taken modulo 192.
Rgb hueStep(std::size_t step);
// Step of the 255-step table (modulo 255): the hue circle spread over 255
// steps, for hues drawn at random.
Rgb fineHueStep(std::size_t step);

// Curve values; each index is taken modulo the curve's length.
std::uint8_t breathingCurve(std::size_t step);
std::uint8_t pulseCurve(std::size_t step);
std::uint8_t cometCurve(std::size_t step);
std::uint8_t slowBreathingCurve(std::size_t step);
// The breathing curve followed by the first 96 steps of the pulse curve.
std::uint8_t ringCurve(std::size_t step);

// Every channel x value / 255.
constexpr Rgb scaled(Rgb colour, std::uint8_t value) {
    auto scale = [value](std::uint8_t channel) {
        return static_cast<std::uint8_t>(channel * value / 255);
    };
    return Rgb{scale(colour.red), scale(colour.green), scale(colour.blue)};
}

// A lighting state's main colour (0x00BBGGRR) as red, green, blue.
constexpr Rgb rgbOfColour(std::uint32_t colour) {
    return Rgb{static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>(colour >> 8),
               static_cast<std::uint8_t>(colour >> 16)};
}

}  // namespace keyloom::lighting
