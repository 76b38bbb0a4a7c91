#pragma once
// The two keyboard models Keyloom serves, told apart by USB vendor and
// product id, and the rules that pick the configuration interface out of the
// machine's HID interfaces.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/hid/HidTypes.h"

namespace keyloom {

struct KeyboardModel {
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::uint16_t keyMatrixLength;
    std::uint16_t keyMatrixStride;
};

inline constexpr KeyboardModel kAcceptedKeyboards[] = {
    {0x0C45, 0x652F, 378, 378},
    {0x320F, 0x5064, 384, 512},
};

inline constexpr std::uint16_t kConfigUsagePage = 0xFF1C;
inline constexpr std::uint16_t kConfigUsage = 0x92;

// The model with exactly this vendor/product pair; a mixed pair is none.
std::optional<KeyboardModel> acceptedKeyboard(std::uint16_t vendorId, std::uint16_t productId);

// True when the "vid_" and "pid_" numbers of an interface path (low 16 bits,
// hexadecimal, case-insensitive) form an accepted pair.
bool pathNamesAcceptedKeyboard(std::string_view path);

// True when an opened interface is an accepted keyboard's configuration
// collection (usage page 0xFF1C, usage 0x92).
bool isConfigurationInterface(const hid::Attributes& attributes, const hid::Caps& caps);

}  // namespace keyloom
