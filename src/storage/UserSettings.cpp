#include "storage/UserSettings.h"

#include "platform/ini/Ini.h"

namespace keyloom {

bool readLightingView(const std::string& settingsFile) {
    return ini::readString(settingsFile, "KEYCOLOR", "DengCheck", "0") == "1";
}

bool writeLightingView(const std::string& settingsFile, bool on) {
    return ini::writeString(settingsFile, "KEYCOLOR", "DengCheck", on ? "1" : "0");
}

}  // namespace keyloom
