#include "device/PathNumbers.h"

#include <algorithm>
#include <cctype>

namespace keyloom {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
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
        hexDigit(rest[i + 2]) >= 0)
        i += 2;
    std::uint32_t value = 0;
    for (; i < rest.size() && hexDigit(rest[i]) >= 0; ++i)
        value = value * 16 + static_cast<std::uint32_t>(hexDigit(rest[i]));
    return value;
}

std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (char c : utf8) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) == 0x80)
            continue;                     // continuation byte
        units += (byte >= 0xF0) ? 2 : 1;  // four-byte sequences need a surrogate pair
    }
    return units;
}

}  // namespace keyloom
