#include "lighting/PerKeyColours.h"

#include <algorithm>

namespace keyloom {

namespace {

bool validProfile(int profile) {
    return profile >= 0 && profile < static_cast<int>(KeyColourMap::kProfileCount);
}

}  // namespace

bool PerKeyColours::inBaseGroup(int profile, int controlId) const {
    const auto slot = slotOfControl(controlId);
    return validProfile(profile) && slot && flags_.test(flagAt(profile, *slot));
}

Rgb PerKeyColours::keyColour(int profile, int controlId) const {
    const auto index = colourIndexOf(controlId);
    if (!validProfile(profile) || !index)
        return {};
    return mirror_.colour(static_cast<std::size_t>(profile), *index);
}

void PerKeyColours::load(int profile, const UserModeData& data) {
    if (!validProfile(profile))
        return;
    const auto& keys = colourKeys();
    for (std::size_t slot = 0; slot < kFileSlotCount; ++slot) {
        if (keys[slot].colourIndex == kNoColourIndex)
            continue;
        mirror_.setColour(static_cast<std::size_t>(profile), keys[slot].colourIndex,
                          data.keys[slot].colour);
        flags_.set(flagAt(profile, slot), data.keys[slot].inBaseGroup);
    }
    // The G keys come back as the last base-colour repaint left them.
    mirror_.setColour(static_cast<std::size_t>(profile), kGButtonColourIndex, data.gKeys.colour);
    for (std::size_t slot = kFirstGSlot; slot < kKeySlotCount; ++slot)
        flags_.set(flagAt(profile, slot), data.gKeys.inBaseGroup);
    brush_ = data.brush;
    currentMode_ = data.currentMode;
    names_ = data.names;
}

std::optional<PerKeyColours::Painted> PerKeyColours::paintKey(int profile, int controlId) {
    const auto slot = slotOfControl(controlId);
    if (!validProfile(profile) || !slot || !isPaintable(controlId))
        return std::nullopt;
    const std::uint8_t index = colourKeys()[*slot].colourIndex;
    const bool base = brush_.tool == BrushTool::BaseColour;
    const KeyPaint paint{base ? brush_.baseColour : brush_.singleColour, base};

    mirror_.setColour(static_cast<std::size_t>(profile), index, paint.colour);
    flags_.set(flagAt(profile, *slot), paint.inBaseGroup);

    LightingChange change;
    change.writes.push_back({LightingWrite::Area::KeyColours,
                             profile,
                             index,
                             {paint.colour.red, paint.colour.green, paint.colour.blue}});
    return Painted{index, paint, std::move(change)};
}

std::vector<KeyEntry> PerKeyColours::setBaseColour(int profile, Rgb colour) {
    std::vector<KeyEntry> changed;
    if (colour == brush_.baseColour)
        return changed;
    brush_.baseColour = colour;
    if (!validProfile(profile))
        return changed;
    // Slot order is the repaint order: key buttons, Fn, G buttons; the file
    // gets one entry per colour index.
    const auto& keys = colourKeys();
    for (std::size_t slot = 0; slot < kKeySlotCount; ++slot) {
        const std::uint8_t index = keys[slot].colourIndex;
        if (index == kNoColourIndex || !flags_.test(flagAt(profile, slot)))
            continue;
        mirror_.setColour(static_cast<std::size_t>(profile), index, colour);
        const bool listed = std::any_of(changed.begin(), changed.end(),
                                        [&](const KeyEntry& e) { return e.colourIndex == index; });
        if (!listed)
            changed.push_back({index, {colour, true}});
    }
    return changed;
}

void PerKeyColours::markBaseGroup() {
    const auto& keys = colourKeys();
    for (int profile = 0; profile < static_cast<int>(KeyColourMap::kProfileCount); ++profile) {
        for (std::size_t slot = 0; slot < kKeySlotCount; ++slot) {
            const std::uint8_t index = keys[slot].colourIndex;
            const bool same =
                index != kNoColourIndex &&
                mirror_.colour(static_cast<std::size_t>(profile), index) == brush_.baseColour;
            flags_.set(flagAt(profile, slot), same);
        }
    }
}

}  // namespace keyloom
