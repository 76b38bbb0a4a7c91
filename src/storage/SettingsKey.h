#pragma once
// Names of the program's registry key and values. The settings key holds the
// language id; the application's own sections lie below it under the
// application title, e.g. "Software\ORVK_Keyboard\Orvane Compact Keyboard\PROFILES".

#include <cstdio>
#include <string>
#include <string_view>

namespace keyloom {

inline constexpr std::string_view kSettingsKeyPath = "Software\\ORVK_Keyboard";
inline constexpr std::string_view kApplicationTitle = "Orvane Compact Keyboard";

inline constexpr std::string_view kLanguageIdValue = "dwLanguageId";

inline constexpr std::string_view kProfilesSection = "PROFILES";
inline constexpr std::string_view kTopRowSwitchValue = "Flip";

// Key path of one of the application's sections.
inline std::string applicationSectionPath(std::string_view section) {
    std::string path(kSettingsKeyPath);
    path += '\\';
    path += kApplicationTitle;
    path += '\\';
    path += section;
    return path;
}

// Value names of the stored profile list: "PROFILE00" (row count), "PROFILE01", ...
inline std::string profileListValueName(int number) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "PROFILE%02d", number);
    return buf;
}

}  // namespace keyloom
