#pragma once
// Conversions between the UTF-16 texts of profile files and macro names and
// the UTF-8 the rest of the program uses. Malformed sequences become U+FFFD.

#include <string>
#include <string_view>

namespace keyloom::text {

std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);

}  // namespace keyloom::text
