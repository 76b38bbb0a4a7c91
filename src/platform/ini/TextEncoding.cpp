#include "platform/ini/TextEncoding.h"

#include <algorithm>

namespace keyloom::ini {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Reads one well-formed UTF-8 character at s[i]; returns its length, or 0
// when the bytes there are not well-formed UTF-8 (overlong forms, surrogates
// and values above U+10FFFF included).
std::size_t readUtf8(std::string_view s, std::size_t i, char32_t& cp) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

std::string decodeUtf16(std::span<const std::uint8_t> bytes, bool littleEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    std::size_t count = bytes.size() / 2;
    auto unit = [&](std::size_t k) -> char32_t {
        std::uint8_t a = bytes[2 * k];
        std::uint8_t b = bytes[2 * k + 1];
        return littleEndian ? static_cast<char32_t>(a | (b << 8))
                            : static_cast<char32_t>((a << 8) | b);
    };
    for (std::size_t k = 0; k < count; ++k) {
        char32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < count) {
            char32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    if (bytes.size() % 2 != 0)
        appendUtf8(out, kReplacement);
    return out;
}

void appendUtf16(std::vector<std::uint8_t>& out, char32_t unit, bool littleEndian) {
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

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    char32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t len = readUtf8(bytes, i, cp);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

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
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF" && isValidUtf8(text.substr(3))) {
        encoding = FileEncoding::Utf8Bom;
        return std::string(text.substr(3));
    }
    if (isValidUtf8(text)) {
        encoding = FileEncoding::Utf8;
        return std::string(text);
    }
    encoding = FileEncoding::Latin1;
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (unsigned char c : text)
        appendUtf8(out, c);
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
    bool little = encoding == FileEncoding::Utf16LeBom;
    if (encoding != FileEncoding::Latin1)
        appendUtf16(out, 0xFEFF, little);
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        std::size_t len = readUtf8(utf8, i, cp);
        if (len == 0) {
            cp = kReplacement;
            len = 1;
        }
        i += len;
        if (encoding == FileEncoding::Latin1) {
            if (cp > 0xFF) {
                cp = '?';
                if (fits)
                    *fits = false;
            }
            out.push_back(static_cast<std::uint8_t>(cp));
        } else if (cp >= 0x10000) {
            appendUtf16(out, 0xD800 + ((cp - 0x10000) >> 10), little);
            appendUtf16(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), little);
        } else {
            appendUtf16(out, cp, little);
        }
    }
    return out;
}

std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80)
            ++units;  // one unit per character ...
        if ((c & 0xF8) == 0xF0)
            ++units;  // ... two for those beyond U+FFFF
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
        auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t len = 1;
        std::size_t need = 1;
        if ((lead & 0xE0) == 0xC0) {
            len = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            len = 3;
        } else if ((lead & 0xF8) == 0xF0) {
            len = 4;
            need = 2;
        }
        if (units + need > maxUnits)
            break;
        units += need;
        i += len;
    }
    if (i < utf8.size())
        utf8.resize(i);
}

}  // namespace keyloom::ini
