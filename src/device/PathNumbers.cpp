#include "device/PathNumbers.h"

#include <algorithm>
#include <cctype>

#include "platform/text/Hex.h"

namespace keyloom {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

std::uint32_t hexNumberAfter(std::string_view path, std::string_view marker) {
    auto found = std::search(path.begin(), path.end(), marker.begin(), marker.end(),
                             [](char a, char b) { return lower(a) == lower(b); });
    if (found == path.end() || marker.empty())
        return 0;
    std::string_view rest =
        path.substr(static_cast<std::size_t>(found - path.begin()) + marker.size());
    std::size_t i = 0;
    while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i])))
        ++i;
    if (i + 2 < rest.size() && rest[i] == '0' && lower(rest[i + 1]) == 'x' &&
        text::hexDigitValue(rest[i + 2]) >= 0)
        i += 2;
    std::uint32_t value = 0;
    for (; i < rest.size() && text::hexDigitValue(rest[i]) >= 0; ++i)
        value = value * 16 + static_cast<std::uint32_t>(text::hexDigitValue(rest[i]));
    return value;
}

}  // namespace keyloom
