#pragma once
// Comparison of names without regard to ASCII letter case, as the switches
// and program file names are compared.

#include <algorithm>
#include <string_view>

namespace keyloom::instance {

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace keyloom::instance
