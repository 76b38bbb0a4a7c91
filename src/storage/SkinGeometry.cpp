#include "storage/SkinGeometry.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/ini/Ini.h"

namespace keyloom {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d": blanks, an optional sign, at least one digit.
bool readInt(std::string_view s, std::size_t& i, int& out) {
    std::size_t k = i;
    while (k < s.size() && isBlank(s[k]))
        ++k;
    bool negative = false;
    if (k < s.size() && (s[k] == '-' || s[k] == '+'))
        negative = s[k++] == '-';
    if (k >= s.size() || s[k] < '0' || s[k] > '9')
        return false;
    long long value = 0;
    for (; k < s.size() && s[k] >= '0' && s[k] <= '9'; ++k) {
        value = std::min<long long>(value * 10 + (s[k] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative)
        value = -value;
    out = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    i = k;
    return true;
}

}  // namespace

SkinGeometry parseSkinGeometry(std::string_view value) {
    int numbers[4] = {0, 0, 0, 0};
    std::size_t i = 0;
    for (int n = 0; n < 4; ++n) {
        if (n > 0) {
            if (i >= value.size() || value[i] != ',')
                break;
            ++i;
        }
        if (!readInt(value, i, numbers[n]))
            break;
    }
    return {numbers[0], numbers[1], std::max(numbers[2], 0), std::max(numbers[3], 0)};
}

SkinGeometry readSkinGeometry(const std::string& skinFile, std::string_view section,
                              std::string_view key) {
    return parseSkinGeometry(ini::readString(skinFile, section, key, kMissingGeometry));
}

std::string keyButtonSkinKey(unsigned keyCode) {
    unsigned folded = keyCode < 0x100 ? keyCode : (0x80 + (keyCode & 0xFF)) & 0xFF;
    char buf[16];
    std::snprintf(buf, sizeof buf, "KEY_%03X", folded);
    return buf;
}

}  // namespace keyloom
