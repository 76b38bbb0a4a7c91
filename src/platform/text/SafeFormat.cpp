#include "platform/text/SafeFormat.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace keyloom::text {

namespace {

enum class Length { None, Char, Short, Long, LongLong, Size };
enum class Kind { Integer, String };

// One parsed conversion: everything between '%' and the conversion letter.
struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::None;
    char letter = 0;
    Kind kind = Kind::Integer;
    std::size_t end = 0;  // index just after the conversion letter
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a decimal field, saturating far above the cap so that overlong digit
// runs cannot overflow.
int readNumber(std::string_view format, std::size_t& i) {
    int value = 0;
    while (i < format.size() && isDigit(format[i])) {
        value = std::min(value * 10 + (format[i] - '0'), 1000000);
        ++i;
    }
    return std::min(value, kMaxFieldWidth);
}

// Parses the conversion that starts at format[start] == '%'. False when the
// text there is not a conversion this formatter supports.
bool parseConversion(std::string_view format, std::size_t start, Conversion& out) {
    std::size_t i = start + 1;
    while (i < format.size() &&
           std::string_view("-+ #0").find(format[i]) != std::string_view::npos) {
        out.flags += format[i++];
    }
    if (i < format.size() && isDigit(format[i]))
        out.width = readNumber(format, i);
    if (i < format.size() && format[i] == '.') {
        ++i;
        out.precision = readNumber(format, i);
    }
    if (i < format.size() && format[i] == 'h') {
        ++i;
        out.length = Length::Short;
        if (i < format.size() && format[i] == 'h') {
            ++i;
            out.length = Length::Char;
        }
    } else if (i < format.size() && format[i] == 'l') {
        ++i;
        out.length = Length::Long;
        if (i < format.size() && format[i] == 'l') {
            ++i;
            out.length = Length::LongLong;
        }
    } else if (i < format.size() && (format[i] == 'j' || format[i] == 'z' || format[i] == 't')) {
        ++i;
        out.length = Length::Size;
    }
    if (i >= format.size())
        return false;
    out.letter = format[i];
    out.end = i + 1;
    switch (out.letter) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            out.kind = Kind::Integer;
            return true;
        case 's':
            // Only "h" and "l" name a string (narrow or wide); both mean our text.
            out.kind = Kind::String;
            return out.length == Length::None || out.length == Length::Short ||
                   out.length == Length::Long;
        default:
            return false;
    }
}

bool isSigned(char letter) {
    return letter == 'd' || letter == 'i';
}

// Integers go through snprintf with a conversion rebuilt from parsed, capped
// parts, so the library never sees the file's text.
void appendInteger(std::string& out, const Conversion& c, std::int64_t value) {
    std::string printfFormat = "%" + c.flags;
    if (c.width >= 0)
        printfFormat += std::to_string(c.width);
    if (c.precision >= 0)
        printfFormat += "." + std::to_string(c.precision);
    printfFormat += "ll";
    printfFormat += c.letter;

    // The value is narrowed the way printf would read an argument of that
    // length (long is 32 bits, as in the files' Windows origin).
    std::array<char, 2 * kMaxFieldWidth + 64> buffer{};
    int n = 0;
    if (isSigned(c.letter)) {
        long long v = 0;
        switch (c.length) {
            case Length::Char:
                v = static_cast<signed char>(value);
                break;
            case Length::Short:
                v = static_cast<short>(value);
                break;
            case Length::None:
            case Length::Long:
                v = static_cast<std::int32_t>(value);
                break;
            default:
                v = value;
                break;
        }
        n = std::snprintf(buffer.data(), buffer.size(), printfFormat.c_str(), v);
    } else {
        unsigned long long v = 0;
        switch (c.length) {
            case Length::Char:
                v = static_cast<unsigned char>(value);
                break;
            case Length::Short:
                v = static_cast<unsigned short>(value);
                break;
            case Length::None:
            case Length::Long:
                v = static_cast<std::uint32_t>(value);
                break;
            default:
                v = static_cast<std::uint64_t>(value);
                break;
        }
        n = std::snprintf(buffer.data(), buffer.size(), printfFormat.c_str(), v);
    }
    if (n > 0)
        out.append(buffer.data(), std::min<std::size_t>(n, buffer.size() - 1));
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t countCharacters(std::string_view s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return !isContinuationByte(c); }));
}

// Width and precision count characters, not bytes, and a cut never splits one.
void appendString(std::string& out, const Conversion& c, std::string_view value) {
    if (c.precision >= 0) {
        std::size_t chars = 0;
        std::size_t cut = 0;
        while (cut < value.size()) {
            if (!isContinuationByte(value[cut])) {
                if (chars == static_cast<std::size_t>(c.precision))
                    break;
                ++chars;
            }
            ++cut;
        }
        value = value.substr(0, cut);
    }
    std::size_t length = countCharacters(value);
    std::size_t pad = c.width > 0 && static_cast<std::size_t>(c.width) > length
                          ? static_cast<std::size_t>(c.width) - length
                          : 0;
    bool left = c.flags.find('-') != std::string::npos;
    if (!left)
        out.append(pad, ' ');
    out.append(value);
    if (left)
        out.append(pad, ' ');
}

}  // namespace

std::string safeFormat(std::string_view format, std::span<const FormatArg> args) {
    std::string out;
    out.reserve(format.size() + 16);
    std::size_t nextArg = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        char ch = format[i];
        if (ch != '%') {
            out += ch;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        Conversion c;
        bool usable = parseConversion(format, i, c) && nextArg < args.size();
        if (usable) {
            const FormatArg& arg = args[nextArg];
            if (c.kind == Kind::Integer && std::holds_alternative<std::int64_t>(arg)) {
                appendInteger(out, c, std::get<std::int64_t>(arg));
            } else if (c.kind == Kind::String && std::holds_alternative<std::string_view>(arg)) {
                appendString(out, c, std::get<std::string_view>(arg));
            } else {
                usable = false;
            }
        }
        if (usable) {
            ++nextArg;
            i = c.end;
        } else {
            // Not ours to fill: the '%' and whatever follows stay as written.
            out += '%';
            ++i;
        }
    }
    return out;
}

std::string formatInt(std::string_view format, std::int64_t value) {
    const FormatArg args[] = {value};
    return safeFormat(format, args);
}

std::string formatString(std::string_view format, std::string_view value) {
    const FormatArg args[] = {value};
    return safeFormat(format, args);
}

std::string formatStringInt(std::string_view format, std::string_view text, std::int64_t value) {
    const FormatArg args[] = {text, value};
    return safeFormat(format, args);
}

}  // namespace keyloom::text
