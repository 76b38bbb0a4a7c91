#pragma once
// The per-user settings file "tzkb.ini" in the data folder. It holds one
// switch: whether the key view shows lighting (section "KEYCOLOR", key
// "DengCheck", "1" or "0", default "0"). A missing file reads as the default
// and is created by the first write.

#include <string>

namespace keyloom {

// True only for the value "1".
bool readLightingView(const std::string& settingsFile);

// Stores "1" or "0". False when the file could not be written (for example
// when the data folder does not exist).
bool writeLightingView(const std::string& settingsFile, bool on);

}  // namespace keyloom
