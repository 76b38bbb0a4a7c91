#include "lighting/ColourIndexTable.h"

namespace keyloom {

namespace {

// Colour index of each key button, in the order of kKeyViewKeys.
constexpr std::array<std::uint8_t, kKeyViewKeyCount> kButtonIndexes{
    53, 74, 72, 55,  38,  56, 57, 58, 43,  59,  60,  61,  76,  75,  44,  45,  36,  39,
    54, 40, 42, 73,  37,  71, 41, 70, 19,  20,  21,  22,  23,  24,  25,  26,  27,  28,
    81, 18, 98, 35,  89,  29, 30, 46, 47,  48,  62,  63,  255, 77,  78,  79,  2,   3,
    4,  5,  6,  7,   8,   9,  10, 11, 12,  13,  255, 108, 110, 113, 111, 114, 112, 115,
    96, 95, 94, 97,  107, 52, 92, 86, 93,  69,  80,  88,  90,  87,  112, 82,  83,  84,
    65, 66, 67, 255, 49,  50, 99, 31, 101, 100, 32,  33,  116, 117, 105,
};

constexpr std::array<ColourKey, kKeySlotCount> buildKeys() {
    std::array<ColourKey, kKeySlotCount> keys{};
    for (std::size_t i = 0; i < kKeyViewKeyCount; ++i)
        keys[i] = {kKeyViewKeys[i].controlId, kButtonIndexes[i]};
    keys[kFnSlot] = {kFnControlId, kFnColourIndex};
    for (std::size_t j = 0; j < kGButtonCount; ++j)
        keys[kFirstGSlot + j] = {kGButtonControls[j], kGButtonColourIndex};
    return keys;
}

constexpr std::array<ColourKey, kKeySlotCount> kKeys = buildKeys();

}  // namespace

const std::array<ColourKey, kKeySlotCount>& colourKeys() {
    return kKeys;
}

std::optional<std::size_t> slotOfControl(int controlId) {
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        if (kKeys[i].controlId == controlId)
            return i;
    return std::nullopt;
}

std::optional<std::uint8_t> colourIndexOf(int controlId) {
    const auto slot = slotOfControl(controlId);
    if (!slot || kKeys[*slot].colourIndex == kNoColourIndex)
        return std::nullopt;
    return kKeys[*slot].colourIndex;
}

bool isPaintable(int controlId) {
    const auto slot = slotOfControl(controlId);
    return slot && *slot < kFirstGSlot && kKeys[*slot].colourIndex != kNoColourIndex;
}

std::vector<int> controlsSharingPosition(int controlId) {
    std::vector<int> out;
    const auto index = colourIndexOf(controlId);
    if (!index)
        return out;
    for (const ColourKey& key : kKeys)
        if (key.colourIndex == *index && key.controlId != controlId)
            out.push_back(key.controlId);
    return out;
}

}  // namespace keyloom
