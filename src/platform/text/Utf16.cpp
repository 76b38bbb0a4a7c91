#include "platform/text/Utf16.h"

namespace keyloom::text {

namespace {

constexpr char32_t kFirstHighSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;

bool isSurrogate(char32_t unit) {
    return unit >= kFirstHighSurrogate && unit <= kLastSurrogate;
}

// The code point at text[at] and its length; an ill-formed byte counts as
// one U+FFFD.
std::size_t readOrReplace(std::string_view text, std::size_t at, char32_t& codePoint) {
    std::size_t length = readUtf8Char(text, at, codePoint);
    if (length != 0)
        return length;
    codePoint = kReplacementCharacter;
    return 1;
}

std::size_t unitsOf(char32_t codePoint) {
    return codePoint >= kFirstSupplementary ? 2 : 1;
}

}  // namespace

std::size_t readUtf8Char(std::string_view text, std::size_t at, char32_t& codePoint) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        smallest = kFirstSupplementary;
    } else {
        return 0;
    }
    if (length > text.size() - at)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(at + k) & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || isSurrogate(codePoint))
        return 0;
    return length;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < kFirstSupplementary) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool isValidUtf8(std::string_view text) {
    char32_t codePoint = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = readUtf8Char(text, i, codePoint);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate && i + 1 < text.size() &&
            text[i + 1] >= kFirstLowSurrogate && text[i + 1] <= kLastSurrogate) {
            unit = kFirstSupplementary + ((unit - kFirstHighSurrogate) << 10) +
                   (text[i + 1] - kFirstLowSurrogate);
            ++i;
        } else if (isSurrogate(unit)) {
            unit = kReplacementCharacter;
        }
        appendUtf8(out, unit);
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t codePoint = 0;
        i += readOrReplace(text, i, codePoint);
        if (codePoint >= kFirstSupplementary) {
            codePoint -= kFirstSupplementary;
            out += static_cast<char16_t>(kFirstHighSurrogate + (codePoint >> 10));
            out += static_cast<char16_t>(kFirstLowSurrogate + (codePoint & 0x3FF));
        } else {
            out += static_cast<char16_t>(codePoint);
        }
    }
    return out;
}

std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t codePoint = 0;
        i += readOrReplace(utf8, i, codePoint);
        units += unitsOf(codePoint);
    }
    return units;
}

void truncateToUtf16Units(std::string& utf8, std::size_t maxUnits) {
    // A character never takes more UTF-16 units than UTF-8 bytes.
    if (utf8.size() <= maxUnits)
        return;
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t codePoint = 0;
        const std::size_t length = readOrReplace(utf8, i, codePoint);
        if (units + unitsOf(codePoint) > maxUnits)
            break;
        units += unitsOf(codePoint);
        i += length;
    }
    utf8.resize(i);
}

}  // namespace keyloom::text
