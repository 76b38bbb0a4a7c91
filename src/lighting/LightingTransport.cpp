#include "lighting/LightingTransport.h"

#include "device/DeviceLink.h"

namespace keyloom {

namespace {

TransferResult fromCode(DeviceResult code) {
    return {code == result::Success, code};
}

}  // namespace

TransferResult DeviceLinkTransport::begin() {
    return fromCode(link_.BeginTransfer());
}

TransferResult DeviceLinkTransport::end() {
    return fromCode(link_.EndTransfer());
}

TransferResult DeviceLinkTransport::writeProfileSettings(std::span<const std::uint8_t> data,
                                                         std::uint16_t offset) {
    return fromCode(link_.WriteProfileSettings(data, offset));
}

TransferResult DeviceLinkTransport::writeKeyColours(std::span<const std::uint8_t> data,
                                                    std::uint16_t keyIndex, int profile) {
    return fromCode(link_.WriteKeyColours(data, keyIndex, profile));
}

}  // namespace keyloom
