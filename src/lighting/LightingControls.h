#pragma once
// The lighting panel's controls: their ids and skin keys, and which of them
// each effect shows. The panel reads this table instead of deciding in the
// widget; the lighting-view switch is always shown and not listed here.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace keyloom {

enum class LightingControl : std::uint8_t {
    EffectList,
    BrightnessLabel,
    BrightnessSlider,
    SpeedLabel,
    SpeedSlider,
    DirectionLabel,
    DirectionLeft,
    DirectionRight,
    ColourLabel,   // label of picker 1155
    ColourPicker,  // 1155
    MulticolourLabel,
    MulticolourToggle,    // 1156
    ReactionColourLabel,  // label of picker 1152 (effect 16)
    ReactionColourPicker,
    RgbLabel,
    RgbBoxes,           // 1208-1210
    PresetSwatches,     // 1211-1218
    Effect17Choices,    // 1194-1197
    SingleColourLabel,  // per-key colouring (effect 20)
    SingleColourPicker,
    BaseColourLabel,
    BaseColourPicker,
    ToolLabel,
    ToolPictures,  // 1164, 1165
    Count,
};

inline constexpr std::size_t kLightingControlCount =
    static_cast<std::size_t>(LightingControl::Count);

using ShownControls = std::bitset<kLightingControlCount>;

struct LightingControlInfo {
    LightingControl control;
    int firstId;               // 0 for a label without an id of its own
    int lastId;                // == firstId for a single control
    std::string_view skinKey;  // of the first control of a group
};

// Every listed control with its ids and skin key, in LightingControl order.
std::span<const LightingControlInfo> lightingControlTable();

// The controls shown for `effect`; none with the lighting view off or for an
// effect the panel does not know.
ShownControls shownControls(std::uint8_t effect, bool lightingViewOn);
inline bool isShown(const ShownControls& shown, LightingControl control) {
    return shown.test(static_cast<std::size_t>(control));
}

// Skin keys of the direction label and its pictures differ by effect: the
// keys ending in "2" for effects 1, 2, 3 and 11, in "3" for effect 12, the
// plain keys otherwise. Returns that ending ("", "2" or "3").
std::string_view directionSkinSuffix(std::uint8_t effect);

// The direction pictures' image set: one for effect 18, one for effect 12,
// one for every other effect.
enum class DirectionImageSet : std::uint8_t { Rings, Bands, Other };
DirectionImageSet directionImageSet(std::uint8_t effect);

}  // namespace keyloom
