#include "lighting/LightingOps.h"

#include <algorithm>

namespace keyloom::lighting {

namespace {

LightingChange one(int profile, std::size_t field, std::vector<std::uint8_t> bytes) {
    LightingChange change;
    change.writes.push_back(recordWrite(profile, field, std::move(bytes)));
    return change;
}

std::uint8_t byte(int value) {
    return static_cast<std::uint8_t>(value);
}

bool writesColourfulToo(std::uint8_t effect) {
    switch (effect) {
        case 1:
        case 2:
        case 3:
        case 5:
        case 7:
        case 8:
        case 9:
        case 13:
        case 14:
        case 15:
            return true;
        default:
            return false;
    }
}

bool writesEffectAlone(std::uint8_t effect) {
    switch (effect) {
        case 4:
        case 6:
        case 10:
        case 11:
        case 12:
        case 16:
        case 17:
        case 18:
        case 20:
            return true;
        default:
            return false;
    }
}

}  // namespace

const std::array<Rgb, kPresetCount>& presetColours() {
    static constexpr std::array<Rgb, kPresetCount> kPresets{{{235, 99, 30},
                                                             {255, 0, 0},
                                                             {0, 126, 255},
                                                             {90, 255, 0},
                                                             {234, 255, 0},
                                                             {255, 192, 0},
                                                             {255, 0, 180},
                                                             {174, 0, 255}}};
    return kPresets;
}

std::uint32_t packColour(Rgb colour) {
    return static_cast<std::uint32_t>(colour.red) | static_cast<std::uint32_t>(colour.green) << 8 |
           static_cast<std::uint32_t>(colour.blue) << 16;
}

Rgb unpackColour(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>(colour >> 8 & 0xFF),
            static_cast<std::uint8_t>(colour >> 16 & 0xFF)};
}

LightingChange selectEffect(LightingState& state, int profile, std::uint8_t effect) {
    state.effect = effect;
    if (writesColourfulToo(effect)) {
        LightingChange change = one(profile, ProfileRecord::kEffect, {effect});
        change.writes.push_back(
            recordWrite(profile, ProfileRecord::kColourful, {byte(state.colourful ? 1 : 0)}));
        return change;
    }
    if (writesEffectAlone(effect))
        return one(profile, ProfileRecord::kEffect, {effect});
    return {};
}

LightingChange moveBrightness(LightingState& state, int profile, int position) {
    const auto value = byte(std::clamp(position, 0, kBrightnessMax));
    if (value == state.brightness)
        return {};
    state.brightness = value;
    return one(profile, ProfileRecord::kBrightness, {value});
}

LightingChange moveSpeed(LightingState& state, int profile, int position) {
    const auto value = byte(kSpeedMax - std::clamp(position, 0, kSpeedMax));
    if (value == state.speed)
        return {};
    state.speed = value;
    return one(profile, ProfileRecord::kSpeed, {value});
}

int speedPosition(const LightingState& state) {
    return kSpeedMax - std::min<int>(state.speed, kSpeedMax);
}

LightingChange setDirection(LightingState& state, int profile, std::uint8_t direction) {
    state.direction = direction;
    return one(profile, ProfileRecord::kDirection, {direction});
}

LightingChange toggleColourful(LightingState& state, int profile) {
    state.colourful = !state.colourful;
    return one(profile, ProfileRecord::kColourful, {byte(state.colourful ? 1 : 0)});
}

LightingChange pickColour(LightingState& state, int profile, Rgb colour, bool reactionPicker) {
    state.colourful = false;
    state.mainColour = packColour(colour);
    if (reactionPicker)
        state.effect7Random = false;
    LightingChange change = one(profile, ProfileRecord::kColourful, {0});
    change.writes.push_back(
        recordWrite(profile, ProfileRecord::kMainColour, {colour.red, colour.green, colour.blue}));
    return change;
}

LightingChange pickPreset(LightingState& state, int profile, std::size_t swatch) {
    if (swatch >= kPresetCount)
        return {};
    return pickColour(state, profile, presetColours()[swatch]);
}

LightingChange chooseEffect17Colour(LightingState& state, int profile, std::size_t choice) {
    if (choice >= kEffect17ColourCount)
        return {};
    state.colourChoice = byte(static_cast<int>(choice));
    return one(profile, ProfileRecord::kColourChoice, {state.colourChoice});
}

std::array<std::uint8_t, kResetLength> resetRecordBytes() {
    std::array<std::uint8_t, kResetLength> bytes{};
    const std::array<std::uint8_t, 8> head{1, 4, 2, 0, 255, 255, 255, 255};
    std::copy(head.begin(), head.end(), bytes.begin());
    return bytes;
}

LightingChange resetLighting(LightingState& state, int profile) {
    const auto bytes = resetRecordBytes();
    ProfileRecord record;
    std::copy(bytes.begin(), bytes.end(), record.bytes.begin());
    decodeLightingState(record, state);
    state.effect7Random = true;
    return one(profile, 0, {bytes.begin(), bytes.end()});
}

RgbBoxValue readRgbBox(std::string_view text) {
    int value = 0;
    std::size_t digits = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min(value * 10 + (c - '0'), 1000);
        ++digits;
    }
    RgbBoxValue out;
    out.value = byte(std::min(value, 255));
    out.rewrite = value > 255 || digits != text.size();
    return out;
}

std::optional<std::uint8_t> committedRgbBox(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 255)
            return std::nullopt;
    }
    return byte(value);
}

}  // namespace keyloom::lighting
