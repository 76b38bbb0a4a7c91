#pragma once
// Lower-case hexadecimal without separators, as the report trace and the
// dumps print bytes.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace keyloom::text {

std::string toHex(std::span<const std::uint8_t> bytes);

// Value 0-15 of one hex digit (either case); -1 for any other character.
int hexDigitValue(char c);

// Parses pairs of hex digits (either case, no separators). False on an odd
// length or a character that is not a hex digit.
bool fromHex(const std::string& hex, std::vector<std::uint8_t>& out);

}  // namespace keyloom::text
