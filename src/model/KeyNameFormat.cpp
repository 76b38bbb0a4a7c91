#include "model/KeyNameFormat.h"

#include <algorithm>
#include <cstdio>

namespace keyloom {
namespace {

// Names end in a caller's buffer of a few hundred characters; a wider field
// only wastes memory.
constexpr unsigned kMaxFieldWidth = 512;

bool IsFlag(char c) {
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsIntegerConversion(char c) {
    return c == 'd' || c == 'i' || c == 'u' || c == 'o' || c == 'x' || c == 'X';
}

// Reads decimal digits at `pos`, capped at kMaxFieldWidth.
unsigned ReadNumber(std::string_view text, std::size_t& pos) {
    unsigned number = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        number = std::min(kMaxFieldWidth, number * 10 + static_cast<unsigned>(text[pos] - '0'));
        ++pos;
    }
    return number;
}

void SkipLengthModifier(std::string_view text, std::size_t& pos) {
    const auto at = [&](std::size_t i) { return pos + i < text.size() ? text[pos + i] : '\0'; };
    if ((at(0) == 'h' && at(1) == 'h') || (at(0) == 'l' && at(1) == 'l')) {
        pos += 2;
    } else if (at(0) == 'h' || at(0) == 'l' || at(0) == 'j' || at(0) == 'z' || at(0) == 't') {
        pos += 1;
    }
}

// Formats one validated integer directive.
std::string FormatInteger(const std::string& flags, unsigned width, bool hasPrecision,
                          unsigned precision, char conversion, unsigned value) {
    std::string spec = "%" + flags;
    if (width > 0) {
        spec += std::to_string(width);
    }
    if (hasPrecision) {
        spec += "." + std::to_string(precision);
    }
    spec += conversion;
    char buffer[kMaxFieldWidth + 64];
    int written = 0;
    if (conversion == 'd' || conversion == 'i') {
        written = std::snprintf(buffer, sizeof buffer, spec.c_str(), static_cast<int>(value));
    } else {
        written = std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
    }
    if (written < 0) {
        return {};
    }
    return std::string(buffer, std::min(static_cast<std::size_t>(written), sizeof buffer - 1));
}

}  // namespace

std::string FormatKeyNumber(std::string_view format, unsigned value) {
    std::string out;
    bool numberUsed = false;
    std::size_t pos = 0;
    while (pos < format.size()) {
        const char c = format[pos];
        if (c != '%') {
            out += c;
            ++pos;
            continue;
        }
        if (pos + 1 < format.size() && format[pos + 1] == '%') {
            out += '%';
            pos += 2;
            continue;
        }
        const std::size_t start = pos++;
        std::string flags;
        while (pos < format.size() && IsFlag(format[pos])) {
            if (flags.find(format[pos]) == std::string::npos) {
                flags += format[pos];
            }
            ++pos;
        }
        const unsigned width = ReadNumber(format, pos);
        bool hasPrecision = false;
        unsigned precision = 0;
        if (pos < format.size() && format[pos] == '.') {
            ++pos;
            hasPrecision = true;
            precision = ReadNumber(format, pos);
        }
        SkipLengthModifier(format, pos);
        if (!numberUsed && pos < format.size() && IsIntegerConversion(format[pos])) {
            out += FormatInteger(flags, width, hasPrecision, precision, format[pos], value);
            numberUsed = true;
            ++pos;
            continue;
        }
        // Not a directive we fill: keep the '%' as text and carry on after it,
        // so whatever followed is copied as well.
        out += format[start];
        pos = start + 1;
    }
    return out;
}

std::string CutToCharacters(std::string text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter) {
            if (characters == maxCharacters) {
                text.resize(i);
                return text;
            }
            ++characters;
        }
    }
    return text;
}

}  // namespace keyloom
