#pragma once
// The tooltip of a key or G button, built from its assignment entry: the
// key's label alone while the key keeps its default, the label and the
// "disabled" text for a key that does nothing, otherwise the label, the
// "KEY_PROMPT_SET" text and a description of what the key now does (for a
// macro its name and its play count).

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/MacroRecord.h"

namespace keyloom::shell {

using TooltipLookup = std::function<std::string(std::string_view key)>;
// Name of a key code (the key table's name, or the unknown-key text).
using KeyNameLookup = std::function<std::string(std::uint16_t keyCode)>;

std::string keyTooltip(std::string_view label, const KeyAssignment& entry,
                       std::span<const MacroRecord> macros, const TooltipLookup& text,
                       const KeyNameLookup& keyName);

// "G1" ... "G9" for G button j = 0-8.
std::string gButtonLabel(std::size_t j);

}  // namespace keyloom::shell
