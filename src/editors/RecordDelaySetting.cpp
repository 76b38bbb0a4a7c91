#include "editors/RecordDelaySetting.h"

#include "storage/AppProfile.h"
#include "storage/Language.h"
#include "storage/SettingsKey.h"

namespace keyloom::editors {

std::string recordDelayEntryName() {
    return lookupText("MACRO_ACTION_RECORD_DELAY");
}

bool loadRecordDelaySetting(registry::Registry& registry, std::string_view entryName) {
    const int value = readAppInt(registry, kProfilesSection, entryName, 0);
    if (value != 0 && value != 1) {
        writeAppInt(registry, kProfilesSection, entryName, 0);
        return false;
    }
    return value == 1;
}

bool storeRecordDelaySetting(registry::Registry& registry, std::string_view entryName, bool on) {
    return writeAppInt(registry, kProfilesSection, entryName, on ? 1 : 0);
}

}  // namespace keyloom::editors
