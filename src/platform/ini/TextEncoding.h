#pragma once
// The encodings an ini file may come in, and conversion between them and the
// UTF-8 text used in memory. Files with a UTF-16 byte-order mark are UTF-16;
// other files are 8-bit text: UTF-8 when every byte sequence is valid UTF-8,
// otherwise Latin-1 (the 8-bit code page files written on Windows mostly use).
// The character codec itself is platform/text/Utf16.h.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace keyloom::ini {

enum class FileEncoding { Utf8, Utf8Bom, Utf16LeBom, Utf16BeBom, Latin1 };

// Decodes a whole file into UTF-8 and tells which encoding it was in. Broken
// UTF-16 (a lone surrogate, an odd last byte) decodes to U+FFFD.
std::string decodeText(std::span<const std::uint8_t> bytes, FileEncoding& encoding);

// Encodes UTF-8 text for a file of the given encoding, with its byte-order
// mark. Latin-1 cannot hold every character: `fits` (when given) is set to
// false when a character had to be replaced by '?'.
std::vector<std::uint8_t> encodeText(std::string_view utf8, FileEncoding encoding,
                                     bool* fits = nullptr);

}  // namespace keyloom::ini
