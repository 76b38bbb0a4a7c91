#pragma once
// The words of a profile file's JSON form for keys, key actions and macro
// events. They follow keyloomctl's own syntax but never depend on the
// language file, so that an export reads the same on every machine:
//   KEY     a key's English legend ("A", "Esc", "Num 7"), "G1"-"G9" (extra-key
//           bank 1), "G1 bank 2"-"G9 bank 2", or "#INDEX" for any entry
//   CODE    a key's English legend, or a key code such as "0x01E"
//   ACTION  default | disabled | stop-macro | key:CODE | macro:NUMBER:COUNT |
//           media:1..18 | function:1..11 | launch | text | raw:KIND:VALUE
//   EVENT   CODE+DELAY (press, then DELAY ms) or CODE-DELAY (release)

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/KeyTable.h"
#include "model/MacroRecord.h"

namespace keyloom::profile_json {

std::string entryName(std::size_t entry);
// The block entry (0-511) KEY names; nothing for an unknown name.
std::optional<std::size_t> parseEntryName(std::string_view text);

std::string keyCodeName(KeyCode code);
std::optional<KeyCode> parseKeyCodeName(std::string_view text);

// The ACTION word of an entry. Launch and text entries give "launch" and
// "text"; their text or offset is written beside it.
std::string actionName(const KeyAssignment& entry);
// Kind, value and (for macros) parameter of an ACTION word. On failure
// returns nothing and sets `error`.
std::optional<KeyAssignment> parseActionName(std::string_view text, std::string& error);

std::string eventName(const MacroAction& event);
// Nothing when the text is no EVENT; `error` says why.
std::optional<MacroAction> parseEventName(std::string_view text, std::string& error);

}  // namespace keyloom::profile_json
