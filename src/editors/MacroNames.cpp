#include "editors/MacroNames.h"

#include <limits>

namespace keyloom::editors {

namespace {

// A macro blocks a counter only when the counter's digits begin the digits
// after the prefix in its name: at most 10 counters (an int has 10 digits)
// per macro, so 100 macros can block at most 1000 in a row. Only a prefix
// so long that the digits are cut off blocks every counter.
constexpr std::size_t kMaxNameAttempts = MacroRecord::kMaxMacros * 10 + 1;

char16_t foldCase(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

}  // namespace

bool beginsWithIgnoringCase(std::u16string_view name, std::u16string_view start) {
    if (start.size() > name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (foldCase(name[i]) != foldCase(start[i])) {
            return false;
        }
    }
    return true;
}

bool nameBeginsAnother(std::span<const MacroRecord> macros, std::u16string_view start,
                       std::optional<std::size_t> except) {
    for (std::size_t i = 0; i < macros.size(); ++i) {
        if (except && *except == i) {
            continue;
        }
        if (beginsWithIgnoringCase(macros[i].name, start)) {
            return true;
        }
    }
    return false;
}

std::optional<std::u16string> nextGeneratedName(std::u16string_view prefix, std::uint32_t& counter,
                                                std::span<const MacroRecord> macros,
                                                std::optional<std::size_t> except) {
    for (std::size_t attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        // "%d" of the counter stays positive.
        counter = counter >= static_cast<std::uint32_t>(std::numeric_limits<int>::max())
                      ? 1
                      : counter + 1;
        std::u16string name = defaultMacroName(prefix, counter);
        if (!nameBeginsAnother(macros, name, except)) {
            return name;
        }
    }
    return std::nullopt;
}

std::u16string storableName(std::u16string_view typed) {
    const std::size_t end = typed.find(u'\0');
    if (end != std::u16string_view::npos) {
        typed = typed.substr(0, end);
    }
    return std::u16string(typed.substr(0, MacroRecord::kMaxNameLength));
}

}  // namespace keyloom::editors
