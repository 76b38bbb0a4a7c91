#include "cli/MissingMacros.h"

#include <cstdio>

#include "storage/MissingMacros.h"

namespace keyloom::cli {

bool refuseMissingMacros(const CliContext& context, const StoreContents& store,
                         const std::string& what) {
    const std::vector<MissingMacroKey> keys = keysPlayingMissingMacros(store);
    if (keys.empty())
        return true;
    std::fprintf(context.err, "keyloomctl: %s has keys that play a macro it does not hold:\n",
                 what.c_str());
    for (const MissingMacroKey& key : keys)
        std::fprintf(context.err, "  %s\n", describeMissingMacroKey(key).c_str());
    std::fprintf(context.err,
                 "keyloomctl: give those keys another action or add the macros; nothing was "
                 "written\n");
    return false;
}

}  // namespace keyloom::cli
