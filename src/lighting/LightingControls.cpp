#include "lighting/LightingControls.h"

#include <array>

namespace keyloom {

namespace {

using C = LightingControl;

constexpr std::array<LightingControlInfo, kLightingControlCount> kTable{{
    {C::EffectList, 1146, 1146, "CONTROL_XGcombox"},
    {C::BrightnessLabel, 0, 0, "CONTROL_LightStatic"},
    {C::BrightnessSlider, 1178, 1178, "CONTROL_LightSlider"},
    {C::SpeedLabel, 0, 0, "CONTROL_SpeedStatic"},
    {C::SpeedSlider, 1179, 1179, "CONTROL_SpeedSlider"},
    {C::DirectionLabel, 0, 0, "CONTROL_BLFXStatic"},
    {C::DirectionLeft, 1149, 1149, "CONTROL_BLFXLStaPic"},
    {C::DirectionRight, 1150, 1150, "CONTROL_BLFXRStaPic"},
    {C::ColourLabel, 0, 0, "CONTROL_HXysStatic"},
    {C::ColourPicker, 1155, 1155, "CONTROL_HXysButton"},
    {C::MulticolourLabel, 0, 0, "CONTROL_COLORFULStatic"},
    {C::MulticolourToggle, 1156, 1156, "CONTROL_HXsjsStaPic"},
    {C::ReactionColourLabel, 0, 0, "CONTROL_FYYSStatic"},
    {C::ReactionColourPicker, 1152, 1152, "CONTROL_FYYSButton"},
    {C::RgbLabel, 0, 0, "CONTROL_RGBStatic"},
    {C::RgbBoxes, 1208, 1210, "COLOR_R"},
    {C::PresetSwatches, 1211, 1218, "CONTROL_Color1"},
    {C::Effect17Choices, 1194, 1197, "CONTROL_HONGPIC"},
    {C::SingleColourLabel, 0, 0, "CONTROL_USERysStatic"},
    {C::SingleColourPicker, 1160, 1160, "CONTROL_USERysButton"},
    {C::BaseColourLabel, 0, 0, "CONTROL_USERjsStatic"},
    {C::BaseColourPicker, 1162, 1162, "CONTROL_USERjsButton"},
    {C::ToolLabel, 0, 0, "CONTROL_USERgjStatic"},
    {C::ToolPictures, 1164, 1165, "CONTROL_USERgjStaPic1"},
}};

constexpr bool inTableOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<std::size_t>(kTable[i].control) != i)
            return false;
    return true;
}
static_assert(inTableOrder(), "one row per control, in enum order");

// What an effect shows besides the effect list and brightness.
struct EffectControls {
    bool speed = false;
    bool direction = false;
    bool colourPicker = false;  // picker 1155 with the multicolour toggle
    bool toggleOnly = false;    // the multicolour toggle without picker 1155
    bool reactionPicker = false;
    bool effect17 = false;
    bool perKey = false;
};

bool knownEffect(std::uint8_t effect, EffectControls& out) {
    switch (effect) {
        case 1:
        case 2:
        case 3:
        case 12:
            out = {.speed = true, .direction = true, .colourPicker = true};
            return true;
        case 5:
        case 7:
        case 8:
        case 9:
        case 13:
        case 14:
        case 15:
            out = {.speed = true, .colourPicker = true};
            return true;
        case 4:
        case 10:
        case 11:
            out = {.speed = true};
            return true;
        case 6:
        case 18:
            out = {.colourPicker = true};
            return true;
        case 16:
            out = {.toggleOnly = true, .reactionPicker = true};
            return true;
        case 17:
            out = {.effect17 = true};
            return true;
        case 20:
            out = {.perKey = true};
            return true;
        default:
            return false;
    }
}

}  // namespace

std::span<const LightingControlInfo> lightingControlTable() {
    return kTable;
}

ShownControls shownControls(std::uint8_t effect, bool lightingViewOn) {
    ShownControls shown;
    EffectControls c;
    if (!lightingViewOn || !knownEffect(effect, c))
        return shown;
    auto show = [&](C control) { shown.set(static_cast<std::size_t>(control)); };
    show(C::EffectList);
    show(C::BrightnessLabel);
    show(C::BrightnessSlider);
    if (c.speed) {
        show(C::SpeedLabel);
        show(C::SpeedSlider);
    }
    if (c.direction) {
        show(C::DirectionLabel);
        show(C::DirectionLeft);
        show(C::DirectionRight);
    }
    if (c.colourPicker) {
        show(C::ColourLabel);
        show(C::ColourPicker);
    }
    if (c.colourPicker || c.toggleOnly) {
        show(C::MulticolourLabel);
        show(C::MulticolourToggle);
    }
    if (c.reactionPicker) {
        show(C::ReactionColourLabel);
        show(C::ReactionColourPicker);
    }
    // The number boxes and swatches set the same colour the pickers do.
    if (c.colourPicker || c.reactionPicker) {
        show(C::RgbLabel);
        show(C::RgbBoxes);
        show(C::PresetSwatches);
    }
    if (c.effect17)
        show(C::Effect17Choices);
    if (c.perKey) {
        for (C control : {C::SingleColourLabel, C::SingleColourPicker, C::BaseColourLabel,
                          C::BaseColourPicker, C::ToolLabel, C::ToolPictures})
            show(control);
    }
    return shown;
}

std::string_view directionSkinSuffix(std::uint8_t effect) {
    switch (effect) {
        case 1:
        case 2:
        case 3:
        case 11:
            return "2";
        case 12:
            return "3";
        default:
            return "";
    }
}

DirectionImageSet directionImageSet(std::uint8_t effect) {
    if (effect == 18)
        return DirectionImageSet::Rings;
    if (effect == 12)
        return DirectionImageSet::Bands;
    return DirectionImageSet::Other;
}

}  // namespace keyloom
