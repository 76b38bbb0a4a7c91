#pragma once
// Which language files the program offers, and how regional variants of a
// language are folded onto the language they are treated as.

#include <array>
#include <cstdint>

namespace keyloom {

// The language ids that language indexes 0, 1 and 2 stand for: English,
// German and Simplified Chinese, one language file each.
inline constexpr std::array<std::uint16_t, 3> kSupportedLanguages = {0x0409, 0x0407, 0x0804};

inline constexpr std::uint16_t kFallbackLanguage = 0x0409;

// The id a regional variant is treated as (searched in table order); the id
// itself when it is not a listed variant.
std::uint16_t foldRegionalLanguage(std::uint16_t languageId);

// The language index of a supported language id; -1 for any other id.
int indexOfLanguage(std::uint16_t languageId);

// The language id of a language index; indexes outside 0..2 count as 0.
std::uint16_t languageIdOfIndex(int languageIndex);

}  // namespace keyloom
