#pragma once
// The keyboard's macro area: a 16-byte header (marker 0x55AA, bytes in use,
// macro count, names flag, 8 reserved bytes), a table of 16-bit block offsets
// and one block per macro (action count, play count, name length, 4-byte
// device actions, then the name in UTF-16 when names are carried).
//
// Writing: macroAreaSizes -> planMacroArea (against the capacity) ->
// encodeMacroArea. Reading: decodeMacroArea, which treats the bytes as
// untrusted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/MacroRecord.h"

namespace keyloom {

struct MacroAreaHeader {
    static constexpr std::size_t kSize = 16;
    static constexpr std::uint16_t kMarker = 0x55AA;

    std::uint16_t marker = kMarker;
    std::uint16_t bytesInUse = kSize;
    std::uint16_t macroCount = 0;
    std::uint16_t namesFlag = 1;

    bool holdsMacros() const { return marker == kMarker; }

    // Reads the first four fields; nothing when fewer than 8 bytes are given.
    static std::optional<MacroAreaHeader> parse(std::span<const std::uint8_t> bytes);
};

inline constexpr std::size_t kMacroBlockHeaderSize = 4;

struct MacroAreaSizes {
    std::size_t withoutNames = MacroAreaHeader::kSize;  // the minimum
    std::size_t withNames = MacroAreaHeader::kSize;     // minimum + every name in UTF-16

    friend bool operator==(const MacroAreaSizes&, const MacroAreaSizes&) = default;
};

// Encoded sizes of a macro list: 16 + 2n + sum(4 + 4 * actions), plus
// sum(2 * name length) with names. Names and actions count as stored
// (at most 249 characters, 4000 actions).
MacroAreaSizes macroAreaSizes(std::span<const MacroRecord> macros);

enum class MacroAreaFit {
    TooLong,       // even without names the macros exceed the capacity: write nothing
    WithNames,     // everything fits
    WithoutNames,  // fits only without the names: write, then tell the user
};

struct MacroAreaPlan {
    MacroAreaFit fit = MacroAreaFit::TooLong;
    std::size_t size = 0;  // bytes to encode and write (0 for TooLong)
    bool withNames() const { return fit == MacroAreaFit::WithNames; }
};

// Decides what to write into an area of `capacity` bytes.
MacroAreaPlan planMacroArea(const MacroAreaSizes& sizes, std::size_t capacity);

// Encodes the macros in list order into the front of `out`. Returns the bytes
// written (the size for that names flag), or 0 when `out` is too small or the
// area would exceed what its 16-bit size field can describe.
std::size_t encodeMacroArea(std::span<const MacroRecord> macros, bool withNames,
                            std::span<std::uint8_t> out);
// The same into a new buffer of exactly the encoded size (empty on failure).
std::vector<std::uint8_t> encodeMacroArea(std::span<const MacroRecord> macros, bool withNames);

// Rebuilds macro records from an area read from the keyboard. `capacity` is
// the keyboard's macro capacity in bytes. Only bytes inside the area, inside
// the capacity and inside the header's size field are read. An area without
// the marker holds no macros; more than 100 macros keep the first 100.
// Macros are numbered 1, 2, 3 ... in area order (a macro that cannot be read
// is left out without renumbering the rest, since key entries refer to
// macros by area position); a macro whose actions run past the end keeps the
// actions that fit. A macro without a (readable) name gets
// `defaultNamePrefix` followed by its number.
std::vector<MacroRecord> decodeMacroArea(std::span<const std::uint8_t> area, std::size_t capacity,
                                         std::u16string_view defaultNamePrefix);

}  // namespace keyloom
