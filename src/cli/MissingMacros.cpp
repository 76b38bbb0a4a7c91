#include "cli/MissingMacros.h"

#include <cstdio>

#include "cli/KeySyntax.h"
#include "model/AssignmentImage.h"

namespace keyloom::cli {

namespace {
constexpr std::size_t kProfiles = 3;
}

std::vector<std::string> keysPlayingMissingMacros(const StoreContents& store) {
    std::vector<std::string> keys;
    for (std::size_t profile = 0; profile < kProfiles; ++profile) {
        const auto block = store.image->block(profile);
        for (std::size_t entry = 0; entry < block.size(); ++entry) {
            const KeyAssignment& key = block[entry];
            if (key.kind != AssignmentKind::Macro)
                continue;
            if (key.value <= MacroRecord::kMaxNumber &&
                findMacroPosition(store.macros, static_cast<std::uint16_t>(key.value)))
                continue;
            keys.push_back("profile " + std::to_string(profile + 1) + ": " + entryName(entry) +
                           " plays macro " + std::to_string(key.value));
        }
    }
    return keys;
}

bool refuseMissingMacros(const CliContext& context, const StoreContents& store,
                         const std::string& what) {
    const std::vector<std::string> keys = keysPlayingMissingMacros(store);
    if (keys.empty())
        return true;
    std::fprintf(context.err, "keyloomctl: %s has keys that play a macro it does not hold:\n",
                 what.c_str());
    for (const std::string& key : keys)
        std::fprintf(context.err, "  %s\n", key.c_str());
    std::fprintf(context.err,
                 "keyloomctl: give those keys another action or add the macros; nothing was "
                 "written\n");
    return false;
}

}  // namespace keyloom::cli
