#pragma once
// The keyboard as the lighting side sees it: the begin and end commands and
// the two areas lighting writes into. Every call to the device link for
// lighting goes through here.

#include <cstdint>
#include <span>

#include "device/ProtocolResult.h"

namespace keyloom {

class DeviceLink;

// Outcome of one transfer. `code` is the link's result code, kept so that a
// failure can be shown with the text that fits it.
struct TransferResult {
    bool ok = true;
    DeviceResult code = DeviceResult::Success;
};

class LightingTransport {
public:
    virtual ~LightingTransport() = default;

    virtual TransferResult begin() = 0;
    virtual TransferResult end() = 0;
    // `data` (1-56 bytes) at `offset` of the profile-settings area.
    virtual TransferResult writeProfileSettings(std::span<const std::uint8_t> data,
                                                std::uint16_t offset) = 0;
    // `data` (1-56 bytes) at key colour `keyIndex` of `profile`'s block.
    virtual TransferResult writeKeyColours(std::span<const std::uint8_t> data,
                                           std::uint16_t keyIndex, int profile) = 0;
};

class DeviceLinkTransport final : public LightingTransport {
public:
    explicit DeviceLinkTransport(DeviceLink& link) : link_(link) {}

    TransferResult begin() override;
    TransferResult end() override;
    TransferResult writeProfileSettings(std::span<const std::uint8_t> data,
                                        std::uint16_t offset) override;
    TransferResult writeKeyColours(std::span<const std::uint8_t> data, std::uint16_t keyIndex,
                                   int profile) override;

private:
    DeviceLink& link_;
};

}  // namespace keyloom
