#pragma once
// Language texts as the key assignment dialog's widgets take them.

#include <QString>
#include <string>
#include <string_view>

#include "controls/QtText.h"
#include "storage/Language.h"

namespace keyloom::editors::qt {

inline QString text(std::string_view key) {
    return qs(lookupText(key));
}

// A language text with one "%d" (or "%s") filled in with a value already
// written out (a grouped number); "%%" is a percent sign.
inline std::string formatted(const std::string& pattern, const std::string& value) {
    std::string out;
    bool filled = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            const char next = pattern[i + 1];
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (!filled && (next == 'd' || next == 's')) {
                out += value;
                filled = true;
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace keyloom::editors::qt
