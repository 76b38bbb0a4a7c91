#pragma once
// How registry values are spelled in the registry file. Each registry key is a
// section named by its path below HKEY_CURRENT_USER; each value is one line:
//   dwLanguageId=dword:00000409
//   Flip="1"
// Strings are quoted with the escapes \\ \" \n \r \t and \xHH (other control
// characters). Value names that an ini line could not hold as they are
// (blanks at either end, '=', '"', '\', a leading '[' or ';', control
// characters) are written quoted with the same escapes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keyloom::registry {

enum class ValueType { Dword, String };

struct StoredValue {
    ValueType type = ValueType::String;
    std::uint32_t dword = 0;
    std::string text;
};

std::string encodeValueName(std::string_view name);
std::string encodeDword(std::uint32_t value);
// Empty when the text cannot be stored (it holds a NUL character).
std::optional<std::string> encodeString(std::string_view text);

// The value of a line; nullopt when the line does not hold a well-formed value.
std::optional<StoredValue> decodeValue(std::string_view stored);
// The name of a line; nullopt when a quoted name is malformed.
std::optional<std::string> decodeValueName(std::string_view stored);

// A key path that can name a section: not empty, no ']', no line break or NUL,
// no blanks at either end.
bool isStorableKeyPath(std::string_view keyPath);

}  // namespace keyloom::registry
