#pragma once
// Where each key of the key view keeps its colour in the keyboard's key
// colour area. The 105 key buttons are held in the order the user-mode
// loader walks them (the key view's own order); the Fn key follows, then the
// nine G buttons, which all share one colour position.
//
// The keyboard's layout gives Right Win and Page Up the same position, and
// grave, Print Screen and keypad 7 none: a key without a position is never
// painted, loaded or sent, and painting one of two keys that share a
// position colours both.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/KeyViewKeys.h"

namespace keyloom {

inline constexpr std::uint8_t kNoColourIndex = 255;
inline constexpr int kFnControlId = 1174;
inline constexpr std::uint8_t kFnColourIndex = 91;
inline constexpr std::uint8_t kGButtonColourIndex = 125;

// Key slots: 0-104 the key buttons in loader order, 105 the Fn key,
// 106-114 the G buttons.
inline constexpr std::size_t kFnSlot = kKeyViewKeyCount;
inline constexpr std::size_t kFirstGSlot = kFnSlot + 1;
inline constexpr std::size_t kKeySlotCount = kFirstGSlot + kGButtonCount;
// The keys a user-mode file holds an entry for: the key buttons and Fn.
inline constexpr std::size_t kFileSlotCount = kFnSlot + 1;

struct ColourKey {
    int controlId;
    std::uint8_t colourIndex;  // kNoColourIndex: no position
};

// Every slot's control and colour index.
const std::array<ColourKey, kKeySlotCount>& colourKeys();

std::optional<std::size_t> slotOfControl(int controlId);
// The key's colour position; empty for an unknown control or a key without
// one.
std::optional<std::uint8_t> colourIndexOf(int controlId);
// Whether clicking the key paints it: it has a position and is not a G
// button.
bool isPaintable(int controlId);
// The other key controls shown in the same colour position (G buttons
// included); empty when the key shares it with none.
std::vector<int> controlsSharingPosition(int controlId);

}  // namespace keyloom
