#pragma once
// Key names end in a caller's buffer of a fixed number of characters.

#include <cstddef>
#include <string>

namespace keyloom {

// The first `maxCharacters` characters (UTF-8 code points) of `text`; never
// cuts inside a multi-byte sequence. Stray bytes count as one character each.
std::string CutToCharacters(std::string text, std::size_t maxCharacters);

}  // namespace keyloom
