#include "platform/registry/RegistryFormat.h"

#include <cstdio>

#include "platform/text/Hex.h"

namespace keyloom::registry {

namespace {

constexpr std::string_view kDwordPrefix = "dword:";

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string quote(std::string_view text, bool escapeEquals) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (isControl(c) || (escapeEquals && c == '=')) {
                    char buf[5];
                    std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

std::optional<std::string> unquote(std::string_view s) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"')
        return std::nullopt;
    s = s.substr(1, s.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"')
            return std::nullopt;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= s.size())
            return std::nullopt;
        switch (s[i]) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                if (i + 2 >= s.size())
                    return std::nullopt;
                int hi = text::hexDigitValue(s[i + 1]);
                int lo = text::hexDigitValue(s[i + 2]);
                if (hi < 0 || lo < 0)
                    return std::nullopt;
                int byte = hi * 16 + lo;
                if (byte == 0)
                    return std::nullopt;
                out += static_cast<char>(byte);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

bool needsQuotedName(std::string_view name) {
    if (name.empty())
        return false;
    if (name.front() == ' ' || name.back() == ' ' || name.front() == '[' || name.front() == ';') {
        return true;
    }
    for (char c : name) {
        if (c == '=' || c == '"' || c == '\\' || isControl(c))
            return true;
    }
    return false;
}

}  // namespace

std::string encodeValueName(std::string_view name) {
    return needsQuotedName(name) ? quote(name, true) : std::string(name);
}

std::string encodeDword(std::uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(value));
    return buf;
}

std::optional<std::string> encodeString(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    return quote(text, false);
}

std::optional<StoredValue> decodeValue(std::string_view stored) {
    StoredValue value;
    if (stored.size() > kDwordPrefix.size() &&
        stored.substr(0, kDwordPrefix.size()) == kDwordPrefix) {
        std::string_view digits = stored.substr(kDwordPrefix.size());
        if (digits.size() > 8)
            return std::nullopt;
        std::uint32_t number = 0;
        for (char c : digits) {
            int d = text::hexDigitValue(c);
            if (d < 0)
                return std::nullopt;
            number = number * 16 + static_cast<std::uint32_t>(d);
        }
        value.type = ValueType::Dword;
        value.dword = number;
        return value;
    }
    auto text = unquote(stored);
    if (!text)
        return std::nullopt;
    value.type = ValueType::String;
    value.text = std::move(*text);
    return value;
}

std::optional<std::string> decodeValueName(std::string_view stored) {
    if (!stored.empty() && stored.front() == '"')
        return unquote(stored);
    return std::string(stored);
}

bool isStorableKeyPath(std::string_view keyPath) {
    if (keyPath.empty() || keyPath.front() == ' ' || keyPath.back() == ' ')
        return false;
    for (char c : keyPath) {
        if (c == ']' || c == '\n' || c == '\r' || c == '\0')
            return false;
    }
    return true;
}

}  // namespace keyloom::registry
