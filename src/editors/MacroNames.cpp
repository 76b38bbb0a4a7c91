#include "editors/MacroNames.h"

namespace keyloom::editors {

namespace {

// A macro blocks its own number and the n whose digits begin the digits
// after the prefix in its name: at most 10 of those (an int has 10 digits),
// so 100 macros can block at most 1100 in a row. Only a prefix so long that
// the digits are cut off blocks every n.
constexpr std::uint32_t kMaxNameAttempts = MacroRecord::kMaxMacros * 11 + 1;

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

std::optional<std::u16string> firstFreeGeneratedName(std::u16string_view prefix,
                                                     std::span<const MacroRecord> macros,
                                                     std::optional<std::size_t> except) {
    for (std::uint32_t n = 1; n <= kMaxNameAttempts; ++n) {
        bool numberTaken = false;
        for (std::size_t i = 0; i < macros.size(); ++i)
            numberTaken = numberTaken || ((!except || *except != i) && macros[i].number == n);
        if (numberTaken)
            continue;
        std::u16string name = defaultMacroName(prefix, n);
        if (!nameBeginsAnother(macros, name, except))
            return name;
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
