#pragma once
// The field layout of one top-level collection as the descriptor parser
// builds it and the report decoder reads it. Internal to platform/hid.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/hid/HidTypes.h"

namespace keyloom::hid {

// Reports longer than this many data bytes are refused: no real device sends
// them and the bound keeps every bit offset far from overflow.
inline constexpr std::uint32_t kMaxReportDataBytes = 4096;
inline constexpr std::uint32_t kMaxReportBits = kMaxReportDataBytes * 8;

// One usage or usage range of a main item, resolved to its usage page.
struct UsageSpan {
    std::uint16_t page = 0;
    std::uint16_t min = 0;
    std::uint16_t max = 0;
    bool isRange = false;

    std::uint32_t size() const { return static_cast<std::uint32_t>(max) - min + 1; }
};

// One input, output or feature main item and where its controls sit in the
// report. Bit offsets count from the first data bit, after the report id byte.
struct FieldModel {
    ReportType type = ReportType::Input;
    std::uint8_t reportId = 0;
    std::uint32_t bitOffset = 0;
    std::uint16_t bitSize = 0;
    std::uint32_t reportCount = 0;
    std::uint16_t bitField = 0;
    std::uint16_t linkCollection = 0;
    std::int32_t logicalMin = 0;
    std::int32_t logicalMax = 0;

    bool isArray() const { return (bitField & 0x02) == 0; }
    bool isButton() const { return isArray() || bitSize == 1; }
    // Bit position of control `index` (index < reportCount).
    std::uint32_t controlBit(std::uint32_t index) const { return bitOffset + index * bitSize; }
};

// Which controls of a field one caps entry stands for. For variable fields
// these are report controls; for array fields they are positions in the
// array's usage index space (value - logical minimum).
struct CapsSlice {
    std::uint32_t field = 0;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

// Usage of the caps entry at position `offset` inside its slice: ranges step
// through their usages and stay on the last one; single usages repeat.
template <typename CapsT>
std::uint16_t usageAt(const CapsT& caps, std::uint32_t offset) {
    if (!caps.isRange)
        return caps.usageMin;
    std::uint32_t last = static_cast<std::uint32_t>(caps.usageMax) - caps.usageMin;
    return static_cast<std::uint16_t>(caps.usageMin + (offset < last ? offset : last));
}

// A report id that occurs in the collection for one report type, with the
// full data length of that report in bits.
struct ReportLayout {
    std::uint8_t id = 0;
    std::uint32_t bits = 0;
};

struct ReportTypeModel {
    std::vector<ButtonCaps> buttonCaps;
    std::vector<CapsSlice> buttonSlices;  // parallel to buttonCaps
    std::vector<ValueCaps> valueCaps;
    std::vector<CapsSlice> valueSlices;  // parallel to valueCaps
    std::vector<ReportLayout> reports;

    const ReportLayout* report(std::uint8_t id) const {
        for (const auto& r : reports)
            if (r.id == id)
                return &r;
        return nullptr;
    }
};

// One node of the collection tree; node 0 is the top-level collection.
struct LinkNode {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t parent = 0;
    std::uint8_t collectionType = 0;
};

struct CollectionModel {
    Caps caps;
    bool usesReportIds = false;
    std::vector<FieldModel> fields;
    std::vector<LinkNode> links;
    std::array<ReportTypeModel, 3> types;

    const ReportTypeModel& of(ReportType type) const {
        return types[static_cast<std::size_t>(type)];
    }
    ReportTypeModel& of(ReportType type) { return types[static_cast<std::size_t>(type)]; }
};

}  // namespace keyloom::hid
