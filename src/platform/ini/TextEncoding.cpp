#include "platform/ini/TextEncoding.h"

#include <algorithm>

#include "platform/text/Utf16.h"

namespace keyloom::ini {

namespace {

std::string decodeUtf16(std::span<const std::uint8_t> bytes, bool littleEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t k = 0; k < units.size(); ++k) {
        const std::uint8_t first = bytes[2 * k];
        const std::uint8_t second = bytes[2 * k + 1];
        units[k] = littleEndian ? static_cast<char16_t>(first | (second << 8))
                                : static_cast<char16_t>((first << 8) | second);
    }
    std::string out = text::utf16ToUtf8(units);
    if (bytes.size() % 2 != 0)
        text::appendUtf8(out, text::kReplacementCharacter);
    return out;
}

void appendUtf16(std::vector<std::uint8_t>& out, char16_t unit, bool littleEndian) {
    auto lo = static_cast<std::uint8_t>(unit & 0xFF);
    auto hi = static_cast<std::uint8_t>((unit >> 8) & 0xFF);
    if (littleEndian) {
        out.push_back(lo);
        out.push_back(hi);
    } else {
        out.push_back(hi);
        out.push_back(lo);
    }
}

std::vector<std::uint8_t> encodeLatin1(std::string_view utf8, bool* fits) {
    std::vector<std::uint8_t> out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t codePoint = 0;
        std::size_t length = text::readUtf8Char(utf8, i, codePoint);
        if (length == 0) {
            codePoint = text::kReplacementCharacter;
            length = 1;
        }
        i += length;
        if (codePoint > 0xFF) {
            codePoint = '?';
            if (fits)
                *fits = false;
        }
        out.push_back(static_cast<std::uint8_t>(codePoint));
    }
    return out;
}

}  // namespace

std::string decodeText(std::span<const std::uint8_t> bytes, FileEncoding& encoding) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        encoding = FileEncoding::Utf16LeBom;
        return decodeUtf16(bytes.subspan(2), true);
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        encoding = FileEncoding::Utf16BeBom;
        return decodeUtf16(bytes.subspan(2), false);
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF" &&
        text::isValidUtf8(text.substr(3))) {
        encoding = FileEncoding::Utf8Bom;
        return std::string(text.substr(3));
    }
    if (text::isValidUtf8(text)) {
        encoding = FileEncoding::Utf8;
        return std::string(text);
    }
    encoding = FileEncoding::Latin1;
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (unsigned char c : text)
        text::appendUtf8(out, c);
    return out;
}

std::vector<std::uint8_t> encodeText(std::string_view utf8, FileEncoding encoding, bool* fits) {
    if (fits)
        *fits = true;
    std::vector<std::uint8_t> out;
    if (encoding == FileEncoding::Utf8 || encoding == FileEncoding::Utf8Bom) {
        std::string_view bom = encoding == FileEncoding::Utf8Bom ? "\xEF\xBB\xBF" : "";
        out.resize(bom.size() + utf8.size());
        std::copy(bom.begin(), bom.end(), out.begin());
        std::copy(utf8.begin(), utf8.end(), out.begin() + static_cast<std::ptrdiff_t>(bom.size()));
        return out;
    }
    if (encoding == FileEncoding::Latin1)
        return encodeLatin1(utf8, fits);
    const bool little = encoding == FileEncoding::Utf16LeBom;
    const std::u16string units = text::utf8ToUtf16(utf8);
    out.reserve(2 * (units.size() + 1));
    appendUtf16(out, 0xFEFF, little);
    for (char16_t unit : units)
        appendUtf16(out, unit, little);
    return out;
}

}  // namespace keyloom::ini
