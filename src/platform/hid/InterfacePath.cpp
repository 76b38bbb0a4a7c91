#include "platform/hid/InterfacePath.h"

#include <cstdio>

#include "platform/text/Hex.h"

namespace keyloom::hid {

namespace {

// Consumes `prefix` followed by minDigits..maxDigits hex digits.
bool takeHex(std::string_view& rest, std::string_view prefix, std::size_t minDigits,
             std::size_t maxDigits, unsigned& value) {
    if (rest.substr(0, prefix.size()) != prefix)
        return false;
    rest.remove_prefix(prefix.size());
    std::size_t digits = 0;
    value = 0;
    while (digits < rest.size() && digits < maxDigits && text::hexDigitValue(rest[digits]) >= 0)
        value = value * 16 + static_cast<unsigned>(text::hexDigitValue(rest[digits++]));
    if (digits < minDigits)
        return false;
    rest.remove_prefix(digits);
    return true;
}

}  // namespace

std::string InterfacePath::nodePath(std::string_view devRoot) const {
    return std::string(devRoot) + "/hidraw" + std::to_string(node);
}

std::string InterfacePath::format(std::string_view devRoot) const {
    char tail[48];
    int n = std::snprintf(tail, sizeof tail, "#vid_%04x&pid_%04x&mi_%02x", vendorId, productId,
                          interfaceNumber);
    if (collection != 0 && n > 0)
        std::snprintf(tail + n, sizeof tail - static_cast<std::size_t>(n), "&col%02x",
                      collection & 0xFFFFu);
    return nodePath(devRoot) + tail;
}

std::optional<InterfacePath> parseInterfacePath(std::string_view devRoot, std::string_view path) {
    std::string_view prefix = "/hidraw";
    if (path.substr(0, devRoot.size()) != devRoot)
        return std::nullopt;
    std::string_view rest = path.substr(devRoot.size());
    if (rest.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    rest.remove_prefix(prefix.size());

    InterfacePath result;
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
        if (digits == 9)
            return std::nullopt;  // no such node number
        result.node = result.node * 10 + static_cast<unsigned>(rest[digits] - '0');
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    rest.remove_prefix(digits);

    unsigned vid = 0, pid = 0, mi = 0, col = 0;
    if (!takeHex(rest, "#vid_", 4, 4, vid) || !takeHex(rest, "&pid_", 4, 4, pid) ||
        !takeHex(rest, "&mi_", 2, 2, mi))
        return std::nullopt;
    if (!rest.empty()) {
        if (!takeHex(rest, "&col", 2, 4, col) || col == 0 || !rest.empty())
            return std::nullopt;
    }
    result.vendorId = static_cast<std::uint16_t>(vid);
    result.productId = static_cast<std::uint16_t>(pid);
    result.interfaceNumber = static_cast<std::uint8_t>(mi);
    result.collection = col;
    return result;
}

}  // namespace keyloom::hid
