// keyloomctl colour and colours: the per-key colours of the lighting
// profile's current user mode, painted and chosen as in the window's
// lighting panel, and listed with each key's base-group flag.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/KeySyntax.h"
#include "cli/LightingSession.h"
#include "lighting/ColourIndexTable.h"
#include "model/AssignmentImage.h"
#include "model/KeyMatrixCodec.h"
#include "model/KeyViewKeys.h"

namespace keyloom::cli {

namespace {

using C = LightingControl;

bool isFn(std::string_view text) {
    return text.size() == 2 && std::tolower(static_cast<unsigned char>(text[0])) == 'f' &&
           std::tolower(static_cast<unsigned char>(text[1])) == 'n';
}

// The key view control KEY names: any key of the key view, a G key or Fn.
std::optional<int> keyControl(std::string_view text) {
    if (isFn(text))
        return kFnControlId;
    const auto entry = parseKeyEntry(text);
    if (!entry)
        return std::nullopt;
    for (std::size_t j = 0; j < kGButtonCount; ++j)
        if (*entry == AssignmentImage::kFirstExtraKeyEntry + j)
            return kGButtonControls[j];
    for (const KeyViewKey& key : kKeyViewKeys)
        if (foldedScanCode(key.scanCode) == *entry)
            return key.controlId;
    return std::nullopt;
}

// The name KEY takes for the key at a colour slot; its key code where the
// name would not lead back to it.
std::string slotName(std::size_t slot) {
    if (slot == kFnSlot)
        return "Fn";
    if (slot >= kFirstGSlot)
        return "G" + std::to_string(slot - kFirstGSlot + 1);
    return assignableName(foldedScanCode(kKeyViewKeys[slot].scanCode));
}

// Whether the keyboard has the key at a colour slot: G1-G9 only where its
// default matrix carries them.
bool slotPresent(const KeyMatrix& defaults, std::size_t slot) {
    return slot < kFirstGSlot || matrixCarriesEntry(defaults, AssignmentImage::kFirstExtraKeyEntry +
                                                                  (slot - kFirstGSlot));
}

std::string controlName(int control) {
    const auto slot = slotOfControl(control);
    return slot ? slotName(*slot) : std::to_string(control);
}

// Opens the session on a keyboard with per-key colours; false, with the
// reason printed, otherwise.
bool openPerKey(CliContext& context, LightingSession& session) {
    if (!session.open())
        return false;
    if (!session.controller()->supportsPerKeyColours()) {
        fail(context, "this keyboard has no per-key colours (it does not list effect 20)");
        return false;
    }
    return true;
}

int paintKey(CliContext& context, const std::string& keyText, Rgb colour) {
    const std::optional<int> control = keyControl(keyText);
    if (!control)
        return usageError(context, "no such key in the key view: '" + keyText + "'");
    const std::string name = controlName(*control);
    if (!colourIndexOf(*control))
        return usageError(context, name +
                                       " has no colour position on this keyboard, so it "
                                       "cannot be painted; nothing was sent");
    if (!isPaintable(*control))
        return usageError(context,
                          "the G keys share one colour position and are not painted; "
                          "nothing was sent");
    LightingSession session(context);
    if (!openPerKey(context, session))
        return kExitFailure;
    auto held = session.controller();
    LightingController& c = *held;
    if (c.state().effect != ParameterBlock::kPerKeyColourEffect)
        return fail(context, "profile " + std::to_string(session.profileNumber()) +
                                 " runs effect " + std::to_string(c.state().effect) +
                                 "; keys are painted under effect 20 (keyloomctl lighting "
                                 "effect 20); nothing was sent");
    // The colour brush with the colour given, as the single-colour picker
    // and the tool picture set it.
    c.colourPicked(controlId(C::SingleColourPicker), colour);
    c.controlClicked(controlId(C::ToolPictures));
    c.paintKey(*control);
    std::string done = "Profile " + std::to_string(session.profileNumber()) + ": " + name + " " +
                       rgbHex(colour) + " (colour position " +
                       std::to_string(*colourIndexOf(*control)) + ", out of the base group)";
    std::vector<int> sharing = controlsSharingPosition(*control);
    if (!sharing.empty()) {
        done += "; the position is shared, so ";
        for (std::size_t i = 0; i < sharing.size(); ++i)
            done += (i == 0 ? "" : ", ") + controlName(sharing[i]);
        done += " shows it too";
    }
    return session.finish(done);
}

int chooseBaseColour(CliContext& context, Rgb colour) {
    LightingSession session(context);
    if (!openPerKey(context, session))
        return kExitFailure;
    const KeyMatrix defaults = session.core().defaultMatrix();
    auto held = session.controller();
    LightingController& c = *held;
    if (c.perKey().brush().baseColour == colour) {
        std::fprintf(context.out, "the base colour is already %s; nothing was sent\n",
                     rgbHex(colour).c_str());
        return kExitOk;
    }
    const int profile = c.lightingProfile();
    const auto& keys = colourKeys();
    std::size_t group = 0;
    for (std::size_t slot = 0; slot < keys.size(); ++slot)
        if (keys[slot].colourIndex != kNoColourIndex && slotPresent(defaults, slot) &&
            c.perKey().inBaseGroup(profile, keys[slot].controlId))
            ++group;
    c.colourPicked(controlId(C::BaseColourPicker), colour);
    return session.finish("Profile " + std::to_string(session.profileNumber()) + ": base colour " +
                          rgbHex(colour) + ", " + std::to_string(group) +
                          " keys of the base group repainted and sent");
}

}  // namespace

int runColour(CliContext& context) {
    const std::vector<std::string>& args = context.options.args;
    if (args.size() != 2)
        return usageError(context, "colour needs KEY RRGGBB or --base RRGGBB");
    const std::optional<Rgb> colour = parseRgb(args[1]);
    if (!colour)
        return usageError(context, "colours are RRGGBB (six hex digits), not '" + args[1] + "'");
    if (args[0] == "--base")
        return chooseBaseColour(context, *colour);
    return paintKey(context, args[0], *colour);
}

int runColours(CliContext& context) {
    if (!context.options.args.empty())
        return usageError(context, "colours takes no arguments");
    LightingSession session(context);
    if (!openPerKey(context, session))
        return kExitFailure;
    auto held = session.controller();
    const LightingController& c = *held;
    const PerKeyColours& perKey = c.perKey();
    const int profile = c.lightingProfile();
    const Brush& brush = perKey.brush();
    const bool baseTool = brush.tool == BrushTool::BaseColour;
    const auto& keys = colourKeys();
    // G1-G9 are listed only on a keyboard that has them.
    const KeyMatrix defaults = session.core().defaultMatrix();
    auto present = [&](std::size_t slot) { return slotPresent(defaults, slot); };
    if (context.options.json) {
        JsonWriter json(context.out);
        json.beginObject();
        json.field("profile", session.profileNumber());
        json.field("userMode", perKey.currentMode());
        json.field("tool", baseTool ? "base" : "colour");
        json.field("baseColour", rgbHex(brush.baseColour));
        json.field("singleColour", rgbHex(brush.singleColour));
        json.beginArray("keys");
        for (std::size_t slot = 0; slot < keys.size(); ++slot) {
            if (!present(slot))
                continue;
            const ColourKey& key = keys[slot];
            const bool placed = key.colourIndex != kNoColourIndex;
            json.beginObject();
            json.field("key", slotName(slot));
            json.field("position", placed ? static_cast<int>(key.colourIndex) : -1);
            json.field("colour", placed ? rgbHex(perKey.keyColour(profile, key.controlId)) : "");
            json.field("baseGroup", placed && perKey.inBaseGroup(profile, key.controlId));
            json.endObject();
        }
        json.endArray();
        json.endObject();
        json.finish();
        return kExitOk;
    }
    std::fprintf(context.out,
                 "Per-key colours of profile %d, user mode %d\n"
                 "  Tool: %s, base colour %s, single colour %s\n",
                 session.profileNumber(), perKey.currentMode(), baseTool ? "base colour" : "colour",
                 rgbHex(brush.baseColour).c_str(), rgbHex(brush.singleColour).c_str());
    for (std::size_t slot = 0; slot < keys.size(); ++slot) {
        if (!present(slot))
            continue;
        const ColourKey& key = keys[slot];
        const std::string name = slotName(slot);
        if (key.colourIndex == kNoColourIndex) {
            std::fprintf(context.out, "  %-18s  none    (no colour position)\n", name.c_str());
            continue;
        }
        std::fprintf(context.out, "  %-18s  %s  %3d%s\n", name.c_str(),
                     rgbHex(perKey.keyColour(profile, key.controlId)).c_str(), key.colourIndex,
                     perKey.inBaseGroup(profile, key.controlId) ? "  base" : "");
    }
    return kExitOk;
}

}  // namespace keyloom::cli
