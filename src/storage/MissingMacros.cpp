#include "storage/MissingMacros.h"

#include "model/AssignmentImage.h"
#include "model/KeyWords.h"

namespace keyloom {

namespace {
constexpr std::size_t kProfiles = 3;
}

std::vector<MissingMacroKey> keysPlayingMissingMacros(const StoreContents& store) {
    std::vector<MissingMacroKey> keys;
    for (std::size_t profile = 0; profile < kProfiles; ++profile) {
        const auto block = store.image->block(profile);
        for (std::size_t entry = 0; entry < block.size(); ++entry) {
            const KeyAssignment& key = block[entry];
            if (key.kind != AssignmentKind::Macro)
                continue;
            if (key.value <= MacroRecord::kMaxNumber &&
                findMacroPosition(store.macros, static_cast<std::uint16_t>(key.value)))
                continue;
            keys.push_back({profile, entry, key.value});
        }
    }
    return keys;
}

std::string describeMissingMacroKey(const MissingMacroKey& key) {
    return "profile " + std::to_string(key.profile + 1) + ": " + words::entryWord(key.entry) +
           " plays macro " + std::to_string(key.macro);
}

}  // namespace keyloom
