#pragma once
// The record-delay setting: whether recording stores measured pauses (1) or
// a fixed 50 ms (0). It lives in the application's "PROFILES" section under
// the entry named by the language text "MACRO_ACTION_RECORD_DELAY".

#include <string>
#include <string_view>

#include "platform/registry/Registry.h"

namespace keyloom::editors {

// The entry name in the current language.
std::string recordDelayEntryName();

// Missing reads as off. A value other than 0 or 1 reads as off and is
// written back as 0.
bool loadRecordDelaySetting(registry::Registry& registry, std::string_view entryName);
bool storeRecordDelaySetting(registry::Registry& registry, std::string_view entryName, bool on);

}  // namespace keyloom::editors
