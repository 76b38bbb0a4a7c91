#include "storage/AppProfile.h"

#include <algorithm>
#include <climits>

#include "storage/SettingsKey.h"

namespace keyloom {

namespace {

int parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value =
            std::min<long long>(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::min<long long>(value, INT_MAX));
}

}  // namespace

std::string readAppString(const registry::Registry& registry, std::string_view section,
                          std::string_view entry, std::string_view defaultValue) {
    std::string value;
    if (registry.readString(applicationSectionPath(section), entry, value) ==
        registry::ValueState::Present) {
        return value;
    }
    return std::string(defaultValue);
}

bool writeAppString(registry::Registry& registry, std::string_view section, std::string_view entry,
                    std::string_view value) {
    return registry.writeString(applicationSectionPath(section), entry, value);
}

int readAppInt(const registry::Registry& registry, std::string_view section, std::string_view entry,
               int defaultValue) {
    std::string path = applicationSectionPath(section);
    std::uint32_t dword = 0;
    if (registry.readDword(path, entry, dword) == registry::ValueState::Present) {
        return static_cast<int>(dword);
    }
    std::string text;
    if (registry.readString(path, entry, text) == registry::ValueState::Present) {
        return parseDecimal(text);
    }
    return defaultValue;
}

bool writeAppInt(registry::Registry& registry, std::string_view section, std::string_view entry,
                 int value) {
    return writeAppString(registry, section, entry, std::to_string(value));
}

}  // namespace keyloom
