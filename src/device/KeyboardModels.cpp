#include "device/KeyboardModels.h"

#include "device/PathNumbers.h"

namespace keyloom {

std::optional<KeyboardModel> acceptedKeyboard(std::uint16_t vendorId, std::uint16_t productId) {
    for (const KeyboardModel& model : kAcceptedKeyboards)
        if (model.vendorId == vendorId && model.productId == productId)
            return model;
    return std::nullopt;
}

bool pathNamesAcceptedKeyboard(std::string_view path) {
    const auto vendorId = static_cast<std::uint16_t>(hexNumberAfter(path, "vid_"));
    const auto productId = static_cast<std::uint16_t>(hexNumberAfter(path, "pid_"));
    return acceptedKeyboard(vendorId, productId).has_value();
}

bool isConfigurationInterface(const hid::Attributes& attributes, const hid::Caps& caps) {
    return acceptedKeyboard(attributes.vendorId, attributes.productId) &&
           caps.usagePage == kConfigUsagePage && caps.usage == kConfigUsage;
}

}  // namespace keyloom
