#pragma once
// The application's own settings ("PROFILES" / "Flip", the stored profile
// list, the record-delay setting): values in a section of the registry below
// the application title (see SettingsKey.h). Numbers may be stored as DWORD or
// as decimal text; the writers here store text, as the program always has.

#include <string>
#include <string_view>

#include "platform/registry/Registry.h"

namespace keyloom {

std::string readAppString(const registry::Registry& registry, std::string_view section,
                          std::string_view entry, std::string_view defaultValue);
bool writeAppString(registry::Registry& registry, std::string_view section, std::string_view entry,
                    std::string_view value);

// A DWORD value, or a text value read as a decimal number (optional sign,
// digits up to the first other character; a text without digits gives 0).
// Missing values give the default.
int readAppInt(const registry::Registry& registry, std::string_view section, std::string_view entry,
               int defaultValue);
// Writes the number as decimal text ("%d").
bool writeAppInt(registry::Registry& registry, std::string_view section, std::string_view entry,
                 int value);

}  // namespace keyloom
