#pragma once
// One field of one report type of an open HID interface, as decoded by
// CHidDevice::ParseReport. Button fields carry the list of active usages,
// value fields the raw and scaled value of one usage.

#include <cstdint>
#include <vector>

#include "platform/hid/HidTypes.h"

namespace keyloom {

enum class HidFieldKind : std::uint8_t { Button, Value };

struct HidField {
    HidFieldKind kind = HidFieldKind::Button;
    std::uint16_t usagePage = 0;
    // Status of the last parser call for this field.
    std::uint32_t lastStatus = hid::status::Success;
    std::uint8_t reportId = 0;
    // Set once a report with this field's report id has been decoded.
    bool updated = false;

    // Button fields.
    std::uint16_t usageMin = 0;
    std::uint16_t usageMax = 0;
    std::uint32_t usageCapacity = 0;
    std::vector<std::uint16_t> usages;  // usageCapacity entries, 0 after the last active one

    // Value fields.
    std::uint16_t usage = 0;
    std::uint32_t rawValue = 0;
    std::int32_t scaledValue = 0;
};

}  // namespace keyloom
