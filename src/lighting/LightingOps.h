#pragma once
// One operation per control of the lighting panel: each updates the decoded
// lighting state to what the user chose and returns the writes that carry
// it to `profile`'s lighting record (one begin / end bracket). An empty
// change means nothing is to be sent.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "lighting/LightingChange.h"
#include "model/KeyColourMap.h"
#include "model/ProfileRecord.h"

namespace keyloom::lighting {

inline constexpr int kBrightnessMax = 4;
inline constexpr int kSpeedMax = 3;
inline constexpr std::uint8_t kDirectionLeft = 255;
inline constexpr std::uint8_t kDirectionRight = 0;
inline constexpr std::size_t kPresetCount = 8;
inline constexpr std::size_t kEffect17ColourCount = 4;
inline constexpr std::size_t kResetLength = 35;

// The swatches' fixed colours, swatch 1 first.
const std::array<Rgb, kPresetCount>& presetColours();

std::uint32_t packColour(Rgb colour);  // 0x00BBGGRR
Rgb unpackColour(std::uint32_t colour);

// Effect selected in the list. Effects 1, 2, 3, 5, 7, 8, 9, 13, 14, 15 also
// write the current colourful flag; 4, 6, 10, 11, 12, 16, 17, 18 and 20
// write the effect alone; any other number writes nothing. The state takes
// the effect either way.
LightingChange selectEffect(LightingState& state, int profile, std::uint8_t effect);

// Slider positions: brightness 0-4 stored as is, speed 0-3 stored as
// 3 - position. Out-of-range positions are clamped; moving onto the value
// already held sends nothing.
LightingChange moveBrightness(LightingState& state, int profile, int position);
LightingChange moveSpeed(LightingState& state, int profile, int position);
// The slider position that shows the state's speed.
int speedPosition(const LightingState& state);

// Direction picture: left (255) or right (0).
LightingChange setDirection(LightingState& state, int profile, std::uint8_t direction);
LightingChange toggleColourful(LightingState& state, int profile);

// A colour from picker 1155, from picker 1152 (`reactionPicker`, which also
// clears the effect-7 random flag) or from a preset swatch: colourful off and
// the main colour written in one bracket.
LightingChange pickColour(LightingState& state, int profile, Rgb colour,
                          bool reactionPicker = false);
// Swatch 0-7; nothing for another number.
LightingChange pickPreset(LightingState& state, int profile, std::size_t swatch);

// Colour choice of effect 17: 0 red, 1 yellow, 2 green, 3 blue.
LightingChange chooseEffect17Colour(LightingState& state, int profile, std::size_t choice);

// Restore default: effect 1, brightness 4, speed 2, direction 0, colourful on,
// white, every later field up to offset 34 cleared, as one 35-byte write.
LightingChange resetLighting(LightingState& state, int profile);
// The record bytes the reset writes.
std::array<std::uint8_t, kResetLength> resetRecordBytes();

// Text of an RGB number box as a channel value: decimal digits up to the
// first other character, 0 for none, 255 for anything above. `rewrite` tells
// whether the box must show the value instead of what was typed.
struct RgbBoxValue {
    std::uint8_t value = 0;
    bool rewrite = false;
};
RgbBoxValue readRgbBox(std::string_view text);
// The value a number box sets when the user commits it (Return, or leaving
// the box): decimal digits only, at most 255. Nothing for an empty box, a
// letter or a larger number: the box is refused and shows its value again.
std::optional<std::uint8_t> committedRgbBox(std::string_view text);

}  // namespace keyloom::lighting
