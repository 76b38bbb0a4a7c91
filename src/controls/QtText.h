#pragma once
// Texts of the core (UTF-8 std::string) as Qt widgets take them.

#include <QString>
#include <string>

namespace keyloom {

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace keyloom
