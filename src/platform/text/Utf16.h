#pragma once
// The one UTF-8 / UTF-16 codec of the program: profile files and macro names
// hold UTF-16, ini files may, and the rest of the program uses UTF-8.
//
// Decoding is strict: overlong forms, encoded surrogates, values above
// U+10FFFF, stray continuation bytes and cut-off sequences are not UTF-8.
// Each byte of such a sequence becomes U+FFFD, and a lone UTF-16 surrogate
// becomes U+FFFD, so the result is always well formed.

#include <cstddef>
#include <string>
#include <string_view>

namespace keyloom::text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Reads one well-formed UTF-8 character at text[at] (at < text.size()):
// its length in bytes, with the code point in `codePoint`; 0 when the bytes
// there are not well-formed UTF-8 (`codePoint` is then unspecified).
std::size_t readUtf8Char(std::string_view text, std::size_t at, char32_t& codePoint);

// Appends the UTF-8 form of a code point (at most U+10FFFF, not a surrogate).
void appendUtf8(std::string& out, char32_t codePoint);

bool isValidUtf8(std::string_view text);

std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);

// Number of UTF-16 code units utf8ToUtf16 gives for the text.
std::size_t utf16Length(std::string_view utf8);

// Cuts the text to at most `maxUnits` UTF-16 code units without splitting a
// character (a character that does not fit entirely is dropped).
void truncateToUtf16Units(std::string& utf8, std::size_t maxUnits);

}  // namespace keyloom::text
