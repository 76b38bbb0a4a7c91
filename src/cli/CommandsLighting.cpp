// keyloomctl lighting: the lighting profile's effect and its parameters,
// changed through the operations of the window's lighting panel, so the
// keyboard receives what a click on the panel would send.

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/LightingSession.h"
#include "lighting/LightingOps.h"
#include "storage/Language.h"

namespace keyloom::cli {

namespace {

using C = LightingControl;

constexpr std::array<std::string_view, lighting::kEffect17ColourCount> kChoiceNames{
    "red", "yellow", "green", "blue"};

std::optional<int> parseInRange(std::string_view text, int low, int high) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

std::optional<int> parseWord(std::string_view text, std::span<const std::string_view> words) {
    for (std::size_t i = 0; i < words.size(); ++i)
        if (text == words[i])
            return static_cast<int>(i);
    return std::nullopt;
}

std::string effectLabel(std::uint8_t effect) {
    return std::to_string(effect) + " (" + lookupMode(std::to_string(effect)) + ")";
}

// Direction 0 runs right; the left picture stores 255, and any other
// non-zero value runs left as well.
std::string_view directionName(std::uint8_t direction) {
    return direction == lighting::kDirectionRight ? "right" : "left";
}

std::string choiceName(std::uint8_t choice) {
    return choice < kChoiceNames.size() ? std::string(kChoiceNames[choice])
                                        : std::to_string(choice);
}

std::string listedEffects(const EffectList& effects) {
    std::string list;
    for (std::size_t i = 0; i < effects.size(); ++i)
        list += (i == 0 ? "" : ", ") + std::to_string(effects.effectAt(static_cast<int>(i)));
    return list.empty() ? "none" : list;
}

int showLighting(CliContext& context) {
    LightingSession session(context);
    if (!session.open())
        return kExitFailure;
    const LightingState state = session.controller()->state();
    const std::string colour = rgbHex(lighting::unpackColour(state.mainColour));
    const int rateHz = ProfileRecord::kReportRatesHz[state.reportRate];
    if (context.options.json) {
        JsonWriter json(context.out);
        json.beginObject();
        json.field("profile", session.profileNumber());
        json.field("effect", static_cast<int>(state.effect));
        json.field("effectName", lookupMode(std::to_string(state.effect)));
        json.field("brightness", static_cast<int>(state.brightness));
        json.field("speed", lighting::speedPosition(state));
        json.field("direction", directionName(state.direction));
        json.field("colourful", state.colourful);
        json.field("colour", colour);
        json.field("colourChoice", choiceName(state.colourChoice));
        json.field("reportRate", static_cast<int>(state.reportRate));
        json.field("reportRateHz", rateHz);
        json.endObject();
        json.finish();
        return kExitOk;
    }
    std::fprintf(context.out,
                 "Lighting of profile %d\n"
                 "  Effect:        %s\n"
                 "  Brightness:    %d (0-4)\n"
                 "  Speed:         %d (slider position 0-3)\n"
                 "  Direction:     %s\n"
                 "  Colourful:     %s\n"
                 "  Colour:        %s\n"
                 "  Colour choice: %s\n"
                 "  Report rate:   step %d (%d Hz)\n",
                 session.profileNumber(), effectLabel(state.effect).c_str(), state.brightness,
                 lighting::speedPosition(state),
                 std::string(directionName(state.direction)).c_str(),
                 state.colourful ? "on" : "off", colour.c_str(),
                 choiceName(state.colourChoice).c_str(), state.reportRate, rateHz);
    return kExitOk;
}

int nothingSent(CliContext& context, const std::string& why) {
    std::fprintf(context.out, "%s; nothing was sent\n", why.c_str());
    return kExitOk;
}

// One setting of the panel: its word, the values it takes, and what it does
// with a parsed value on the connected keyboard.
struct Setting {
    std::string_view name;
    std::string_view values;
    std::optional<int> (*parse)(std::string_view text);
    int (*apply)(CliContext& context, LightingSession& session, int value);
};

int applyEffect(CliContext& context, LightingSession& session, int value) {
    auto held = session.controller();
    LightingController& c = *held;
    const auto effect = static_cast<std::uint8_t>(value);
    const int position = c.effects().positionOf(effect);
    if (position < 0)
        return usageError(context, "the keyboard does not list effect " + std::to_string(value) +
                                       "; it lists " + listedEffects(c.effects()));
    // A listed effect the panel has no controls for takes no write either.
    if (shownControls(effect, true).none())
        return nothingSent(context, "effect " + effectLabel(effect) + " has no settings to send");
    c.selectEffectAt(position);
    return session.finish("Profile " + std::to_string(session.profileNumber()) + ": effect " +
                          effectLabel(effect));
}

int applyBrightness(CliContext& context, LightingSession& session, int value) {
    auto held = session.controller();
    LightingController& c = *held;
    if (c.state().brightness == value)
        return nothingSent(context, "brightness is already " + std::to_string(value));
    c.sliderMoved(controlId(C::BrightnessSlider), value);
    return session.finish("Profile " + std::to_string(session.profileNumber()) + ": brightness " +
                          std::to_string(value));
}

int applySpeed(CliContext& context, LightingSession& session, int value) {
    auto held = session.controller();
    LightingController& c = *held;
    if (c.state().speed == lighting::kSpeedMax - value)
        return nothingSent(context, "speed is already at position " + std::to_string(value));
    c.sliderMoved(controlId(C::SpeedSlider), value);
    return session.finish("Profile " + std::to_string(session.profileNumber()) +
                          ": speed position " + std::to_string(value) + " (stored " +
                          std::to_string(lighting::kSpeedMax - value) + ")");
}

int applyDirection(CliContext&, LightingSession& session, int value) {
    const bool left = value == 0;
    session.controller()->controlClicked(controlId(left ? C::DirectionLeft : C::DirectionRight));
    return session.finish("Profile " + std::to_string(session.profileNumber()) + ": direction " +
                          (left ? "left" : "right"));
}

int applyColourful(CliContext& context, LightingSession& session, int value) {
    auto held = session.controller();
    LightingController& c = *held;
    const bool on = value == 0;
    // The toggle inverts the flag: clicking it onto the state held would
    // give the opposite of what was asked.
    if (c.state().colourful == on)
        return nothingSent(context, std::string("colourful is already ") + (on ? "on" : "off"));
    c.controlClicked(controlId(C::MulticolourToggle));
    return session.finish("Profile " + std::to_string(session.profileNumber()) + ": colourful " +
                          (on ? "on" : "off"));
}

int applyColour(CliContext&, LightingSession& session, int value) {
    const Rgb colour{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value)};
    session.controller()->colourPicked(controlId(C::ColourPicker), colour);
    return session.finish("Profile " + std::to_string(session.profileNumber()) + ": colour " +
                          rgbHex(colour) + ", colourful off");
}

int applySwatch(CliContext&, LightingSession& session, int value) {
    const Rgb colour = lighting::presetColours()[static_cast<std::size_t>(value - 1)];
    session.controller()->controlClicked(controlId(C::PresetSwatches) + value - 1);
    return session.finish("Profile " + std::to_string(session.profileNumber()) + ": swatch " +
                          std::to_string(value) + " (" + rgbHex(colour) + "), colourful off");
}

int applyChoice(CliContext&, LightingSession& session, int value) {
    session.controller()->controlClicked(controlId(C::Effect17Choices) + value);
    return session.finish("Profile " + std::to_string(session.profileNumber()) +
                          ": colour choice " + std::string(kChoiceNames[value]));
}

constexpr std::array<std::string_view, 2> kDirectionWords{"left", "right"};
constexpr std::array<std::string_view, 2> kOnOff{"on", "off"};

constexpr Setting kSettings[] = {
    {"effect", "an effect number the keyboard lists",
     [](std::string_view t) { return parseInRange(t, 1, 255); }, applyEffect},
    {"brightness", "0-4",
     [](std::string_view t) { return parseInRange(t, 0, lighting::kBrightnessMax); },
     applyBrightness},
    {"speed", "a slider position 0-3 (0 is leftmost)",
     [](std::string_view t) { return parseInRange(t, 0, lighting::kSpeedMax); }, applySpeed},
    {"direction", "left or right", [](std::string_view t) { return parseWord(t, kDirectionWords); },
     applyDirection},
    {"colourful", "on or off", [](std::string_view t) { return parseWord(t, kOnOff); },
     applyColourful},
    {"colour", "RRGGBB (six hex digits)",
     [](std::string_view t) -> std::optional<int> {
         const auto rgb = parseRgb(t);
         if (!rgb)
             return std::nullopt;
         return rgb->red << 16 | rgb->green << 8 | rgb->blue;
     },
     applyColour},
    {"swatch", "1-8",
     [](std::string_view t) {
         return parseInRange(t, 1, static_cast<int>(lighting::kPresetCount));
     },
     applySwatch},
    {"choice", "red, yellow, green or blue",
     [](std::string_view t) { return parseWord(t, kChoiceNames); }, applyChoice},
};

int resetLighting(CliContext& context) {
    LightingSession session(context);
    if (!session.open())
        return kExitFailure;
    auto held = session.controller();
    LightingController& c = *held;
    const bool perKey = c.supportsPerKeyColours();
    c.restoreDefaults();
    return session.finish("Profile " + std::to_string(session.profileNumber()) +
                          ": lighting back to its defaults (effect 1, brightness 4, speed "
                          "position 1, direction right, colourful on, white)" +
                          (perKey ? "; user mode reset from the template" : ""));
}

}  // namespace

int runLighting(CliContext& context) {
    const std::vector<std::string>& args = context.options.args;
    if (args.empty())
        return showLighting(context);
    if (args[0] == "reset") {
        if (args.size() != 1)
            return usageError(context, "lighting reset takes no value");
        return resetLighting(context);
    }
    const Setting* setting = nullptr;
    for (const Setting& s : kSettings)
        if (args[0] == s.name)
            setting = &s;
    if (setting == nullptr)
        return usageError(context, "no lighting setting '" + args[0] +
                                       "' (effect, brightness, speed, direction, colourful, "
                                       "colour, swatch, choice, reset)");
    if (args.size() != 2)
        return usageError(
            context, "lighting " + args[0] + " takes one value: " + std::string(setting->values));
    // A value the control cannot take is refused before the keyboard is touched.
    const std::optional<int> value = setting->parse(args[1]);
    if (!value)
        return usageError(context, "lighting " + args[0] + " takes " +
                                       std::string(setting->values) + ", not '" + args[1] + "'");
    LightingSession session(context);
    if (!session.open())
        return kExitFailure;
    return setting->apply(context, session, *value);
}

}  // namespace keyloom::cli
