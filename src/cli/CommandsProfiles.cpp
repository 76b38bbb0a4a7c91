// keyloomctl profiles: the profile list the profile manager's Apply stored
// in the registry, and the keyboard's active on-board profile.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "platform/fs/FileIo.h"
#include "platform/registry/Registry.h"
#include "storage/AppProfile.h"
#include "storage/SettingsKey.h"

namespace keyloom::cli {

namespace {

// "PROFILE00" holds the count, so the rows run from 01 to 99.
constexpr int kMostRows = 99;

struct StoredList {
    int count = 0;                   // as stored
    std::vector<std::string> paths;  // "" for a row the registry lacks
};

StoredList readStoredList(const registry::Registry& registry) {
    StoredList list;
    list.count = readAppInt(registry, kProfilesSection, profileListValueName(0), 0);
    const int rows = std::clamp(list.count, 0, kMostRows);
    for (int n = 1; n <= rows; ++n)
        list.paths.push_back(
            readAppString(registry, kProfilesSection, profileListValueName(n), ""));
    return list;
}

// The registry keeps a damaged file as "<file>.damaged-<n>" with the first
// free n: the newest copy is the one before it.
std::string damagedCopy(const std::string& registryFile, int n) {
    return registryFile + ".damaged-" + std::to_string(n);
}

int firstFreeDamagedCopy(const std::string& registryFile) {
    int n = 1;
    while (n < 999 && fs::fileExists(damagedCopy(registryFile, n)))
        ++n;
    return n;
}

}  // namespace

int runProfiles(CliContext& context) {
    if (!context.options.args.empty())
        return usageError(context, "profiles takes no arguments");
    AppPaths paths;
    if (!setUpProgramFiles(context, paths))
        return kExitFailure;
    const registry::Registry registry(paths.registryFile);
    const int freeCopy = firstFreeDamagedCopy(paths.registryFile);
    if (registry.isDamaged())
        return fail(context, "the profile list cannot be read: the registry file " +
                                 paths.registryFile +
                                 " is damaged. It was left as it is; the next setting stored "
                                 "keeps it as " +
                                 damagedCopy(paths.registryFile, freeCopy) + ".");
    const StoredList list = readStoredList(registry);

    // The list is there without a keyboard; only the active profile needs one.
    ReadOnlyKeyboard keyboard;
    const bool connected = keyboard.open(context);
    const int active = connected ? keyboard.parameters().activeProfile() : -1;
    const bool known = active >= 0 && active <= 2;

    if (context.options.json) {
        JsonWriter json(context.out);
        json.beginObject();
        json.field("count", list.count);
        json.beginArray("profiles");
        for (const std::string& path : list.paths)
            json.value(path);
        json.endArray();
        json.field("keyboard", connected);
        if (known)
            json.field("activeProfile", active + 1);
        json.endObject();
        json.finish();
        return kExitOk;
    }
    if (list.paths.empty()) {
        std::fputs("No profile list stored (the profile manager's Apply stores one).\n",
                   context.out);
        // A list stored before the registry was damaged is in the kept copy.
        if (freeCopy > 1)
            std::fprintf(context.out, "A damaged registry file was kept as %s.\n",
                         damagedCopy(paths.registryFile, freeCopy - 1).c_str());
    } else {
        std::fprintf(context.out, "Stored profile list (%d):\n", list.count);
        for (std::size_t i = 0; i < list.paths.size(); ++i)
            std::fprintf(context.out, "  %2zu  %s\n", i + 1,
                         list.paths[i].empty() ? "(missing)" : list.paths[i].c_str());
        if (list.count > kMostRows)
            std::fprintf(context.out, "  (only the first %d rows can be stored)\n", kMostRows);
    }
    if (known)
        std::fprintf(context.out, "Active on-board profile: %d\n", active + 1);
    else
        std::fputs("Active on-board profile: unknown (no keyboard)\n", context.out);
    return kExitOk;
}

}  // namespace keyloom::cli
