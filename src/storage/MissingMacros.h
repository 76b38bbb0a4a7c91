#pragma once
// Keys of a profile file that play a macro the file does not hold. The
// keyboard would play another macro for them, so such a file is refused
// before it is written anywhere.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ConfigurationStore.h"

namespace keyloom {

struct MissingMacroKey {
    std::size_t profile = 0;  // 0-2
    std::size_t entry = 0;    // the key's entry in the profile's block
    std::uint32_t macro = 0;  // the number it plays
};

// Such keys of the three profiles, in profile and entry order.
std::vector<MissingMacroKey> keysPlayingMissingMacros(const StoreContents& store);

// "profile 1: A plays macro 3", with the key words keyloomctl takes.
std::string describeMissingMacroKey(const MissingMacroKey& key);

}  // namespace keyloom
