#pragma once
// Profile files as JSON that people can read, edit and diff, and back.
//
// The JSON form holds the header fields a save does not compute, for each of
// the four key blocks (three on-board profiles and the block no profile
// uses) every entry that differs from a fresh image, the macros with their
// events, and the texts of launch and text entries. Whatever a file holds
// that these fields do not express (a hand-made descriptor block, bytes after
// a name's terminator, a doctored pool, bytes past the stated total size) is
// kept as "size" and "patches", so that export followed by import gives the
// same bytes for every valid profile file. The format is described in
// packaging/profile.schema.json and in keyloomctl's help.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace keyloom {

inline constexpr std::string_view kProfileJsonFormat = "keyloom-profile";
inline constexpr int kProfileJsonVersion = 1;

// The JSON form of a valid profile file's bytes (indented, ends with a
// newline). False with `error` set when the bytes are not a valid profile
// file or memory runs out.
bool profileBytesToJson(std::span<const std::uint8_t> bytes, std::string& json, std::string& error);

// The profile file bytes a JSON form describes. False with `error` set, and
// `bytes` untouched, when the text is not JSON, a field is missing or of the
// wrong type, a key or action is unknown, a macro is over the limits of the
// file format, or the result would not be a valid profile file. Errors name
// their place: "line L, column C" for syntax, a JSON pointer otherwise.
bool profileJsonToBytes(std::string_view json, std::vector<std::uint8_t>& bytes,
                        std::string& error);

}  // namespace keyloom
