#pragma once
// The interface paths of the hidraw backend: the device node followed by a
// Windows-like tail, e.g. "/dev/hidraw3#vid_0c45&pid_652f&mi_01&col02", so
// that callers looking for "vid_", "pid_", "&mi_" and "&col" find them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keyloom::hid {

struct InterfacePath {
    unsigned node = 0;  // N of hidrawN
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint8_t interfaceNumber = 0;
    unsigned collection = 0;  // 1-based; 0 when the node holds one collection

    std::string nodePath(std::string_view devRoot) const;
    std::string format(std::string_view devRoot) const;
};

// Accepts exactly what format() produces (hex digits in either case).
std::optional<InterfacePath> parseInterfacePath(std::string_view devRoot, std::string_view path);

}  // namespace keyloom::hid
