#pragma once
// printf-style formatting of texts that come from user-editable files (the
// language file). The caller states which values it supplies; the format may
// use each of them once, in order, through a conversion of the matching kind.
// Every other conversion (a second one, one of the wrong kind, %n, %p, %f,
// a '*' width, ...) is copied to the result as written, so a hostile text can
// neither read a missing argument nor write memory. "%%" gives "%".
//
// Integer conversions: d i u x X o with the flags - + space # 0, a width, a
// precision and the length modifiers hh h l ll j z t. String conversions: s
// (also hs, ls) with the flag - , a width and a precision, both counted in
// characters of the UTF-8 text. Widths and precisions above kMaxFieldWidth are
// cut to it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace keyloom::text {

inline constexpr int kMaxFieldWidth = 255;

// One value handed to the formatter.
using FormatArg = std::variant<std::int64_t, std::string_view>;

// Formats `format` with `args` used in order (see above).
std::string safeFormat(std::string_view format, std::span<const FormatArg> args);

// The forms the program needs: one integer, one string, and a string followed
// by an integer (names built as "%s%d").
std::string formatInt(std::string_view format, std::int64_t value);
std::string formatString(std::string_view format, std::string_view value);
std::string formatStringInt(std::string_view format, std::string_view text, std::int64_t value);

}  // namespace keyloom::text
