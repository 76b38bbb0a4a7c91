#pragma once
// Text helpers for key names: the "unknown key" format comes from a language
// file, so it is never handed to printf as it stands.

#include <cstddef>
#include <string>
#include <string_view>

namespace keyloom {

// Formats `format` with one unsigned number the way printf would with a
// single integer argument. Only the first directive of the forms
// %[-+ #0][width][.precision][hh|h|l|ll|j|z|t]{d,i,u,o,x,X} takes the number
// (width and precision are capped); "%%" gives "%"; every other directive
// (%s, %n, %*d, a second number, ...) is copied as plain text.
std::string FormatKeyNumber(std::string_view format, unsigned value);

// The first `maxCharacters` characters (UTF-8 code points) of `text`; never
// cuts inside a multi-byte sequence.
std::string CutToCharacters(std::string text, std::size_t maxCharacters);

}  // namespace keyloom
