#pragma once
// The words for keys and key actions that keyloomctl takes and prints and the
// JSON form of profile files reads and writes: one set of names and rules, so
// that whatever one prints the other reads back. Names are English and built
// in, never taken from the language file, so a script or an exported file
// reads the same on every machine. Matching ignores case.
//   KEY     a key's name ("A", "Esc", "Left Ctrl", "Num 7", "Left Mouse
//           Button"), its legend ("Ctrl", "PgUp"), "G1"-"G9" (bank 1),
//           "G1 bank 2"-"G9 bank 2", a key code such as "0x01E", or "#INDEX"
//           for any entry of a key block
//   ACTION  default | disabled | stop-macro | key:KEY | macro:NUMBER[:COUNT] |
//           media:NAME-or-1..18 | function:1..11 | launch | text |
//           raw:KIND:VALUE
//   EVENT   KEY+DELAY or KEY-DELAY (a press or release, then DELAY ms)
// Printed names always read back as what they name: a key no name leads
// back to is printed as its code ("0x136"), an entry without a code as
// "#INDEX".

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/KeyTable.h"
#include "model/MacroRecord.h"

namespace keyloom::words {

// The English text of a key or media name key ("IDS_KEYBOARD_LCTRL" gives
// "Left Ctrl"); "#Error" for any other key, as a language file would give.
std::string englishText(std::string_view nameKey);

std::string keyCodeWord(KeyCode code);
// Nothing for an unknown word and for code 0.
std::optional<KeyCode> parseKeyCodeWord(std::string_view text);

// Entries are 0-511 of one key block.
std::string entryWord(std::size_t entry);
std::optional<std::size_t> parseEntryWord(std::string_view text);
bool isExtraKeyEntry(std::size_t entry);
// The parameter an untouched entry holds: an extra key's fixed code, else 0.
std::uint16_t freshParameter(std::size_t entry);

std::string mediaWord(std::size_t mediaIndex);

// The ACTION word of the assignment of `entry`. A macro action carries its
// COUNT when the entry holds one of 1-255; an entry's parameter that no word
// expresses (0 on a key read back from the keyboard, which keeps none; an
// extra key's fixed code) is left out.
std::string actionWord(const KeyAssignment& assignment, std::size_t entry);
// Whether actionWord(assignment, entry) read back gives the parameter too.
bool wordCarriesParameter(const KeyAssignment& assignment, std::size_t entry);

struct ParsedAction {
    KeyAssignment assignment;
    // A macro action's COUNT, when given.
    std::optional<std::uint16_t> count;
};

// Kind, value and parameter of an ACTION for `entry`. A macro's COUNT is the
// parameter (1-255; 0 and an extra key's fixed code, which earlier exports
// wrote, are read too); without one the parameter is freshParameter(entry).
// Nothing, with `error` set, for anything else.
std::optional<ParsedAction> parseActionWord(std::string_view text, std::size_t entry,
                                            std::string& error);

// EVENT: KEY+DELAY (a press, then DELAY ms) or KEY-DELAY (a release).
std::string eventWord(const MacroAction& event);
struct ParsedEvent {
    MacroAction event;
    // The delay's digits give more than 32 bits hold; the delay is left 0.
    bool delayTooLarge = false;
};
std::optional<ParsedEvent> parseEventWord(std::string_view text, std::string& error);

// "0x01E": the form of key codes without a name.
std::string hexCode(unsigned code);

}  // namespace keyloom::words
