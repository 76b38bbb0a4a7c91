#include "device/HidFieldTable.h"

#include <algorithm>

namespace keyloom {

namespace {

// Usages a value capability stands for; an inverted range counts as its
// first usage only.
std::size_t usageCount(const hid::ValueCaps& caps) {
    if (!caps.isRange || caps.usageMax < caps.usageMin)
        return 1;
    return std::size_t{caps.usageMax} - caps.usageMin + 1;
}

void decodeButtons(HidField& field, hid::ReportType type, std::span<const std::uint8_t> report,
                   const hid::CollectionDescriptor& descriptor) {
    std::vector<std::uint16_t>& list = field.usages;
    list.resize(field.usageCapacity);
    std::uint32_t length = field.usageCapacity;
    field.lastStatus = descriptor.getUsages(type, field.usagePage, 0, list.data(), length, report);
    length = std::min<std::uint32_t>(length, field.usageCapacity);
    // Keep only this field's usages, packed to the front; zero the rest so
    // readers stop at the first 0.
    std::size_t kept = 0;
    for (std::uint32_t i = 0; i < length; ++i) {
        std::uint16_t usage = list[i];
        if (usage >= field.usageMin && usage <= field.usageMax)
            list[kept++] = usage;
    }
    std::fill(list.begin() + static_cast<std::ptrdiff_t>(kept), list.end(), std::uint16_t{0});
}

}  // namespace

std::vector<HidField> buildFieldTable(const hid::CollectionDescriptor& descriptor,
                                      hid::ReportType type) {
    auto buttons = descriptor.buttonCaps(type);
    auto values = descriptor.valueCaps(type);
    std::size_t size = buttons.size();
    for (const auto& caps : values)
        size += usageCount(caps);
    size = std::min(size, kMaxHidFields);

    std::vector<HidField> table;
    table.reserve(size);
    for (const auto& caps : buttons) {
        if (table.size() >= size)
            return table;
        HidField field;
        field.kind = HidFieldKind::Button;
        field.usagePage = caps.usagePage;
        field.reportId = caps.reportId;
        field.usageMin = caps.usageMin;
        field.usageMax = caps.isRange ? caps.usageMax : caps.usageMin;
        field.usageCapacity = descriptor.maxUsageListLength(type, caps.usagePage);
        field.usages.assign(field.usageCapacity, 0);
        table.push_back(std::move(field));
    }
    for (const auto& caps : values) {
        std::size_t count = usageCount(caps);
        for (std::size_t i = 0; i < count; ++i) {
            if (table.size() >= size)
                return table;
            HidField field;
            field.kind = HidFieldKind::Value;
            field.usagePage = caps.usagePage;
            field.reportId = caps.reportId;
            field.usage = static_cast<std::uint16_t>(caps.usageMin + i);
            table.push_back(std::move(field));
        }
    }
    return table;
}

bool decodeReport(std::span<const std::uint8_t> report, hid::ReportType type,
                  std::span<HidField> fields, const hid::CollectionDescriptor& descriptor) {
    if (report.empty())
        return false;
    const std::uint8_t reportId = report[0];
    for (HidField& field : fields) {
        if (field.reportId != reportId)
            continue;
        if (field.kind == HidFieldKind::Button) {
            decodeButtons(field, type, report, descriptor);
        } else {
            field.lastStatus = descriptor.getUsageValue(type, field.usagePage, 0, field.usage,
                                                        field.rawValue, report);
            if (field.lastStatus != hid::status::Success)
                return false;
            field.lastStatus = descriptor.getScaledUsageValue(type, field.usagePage, 0, field.usage,
                                                              field.scaledValue, report);
        }
        field.updated = true;
    }
    return true;
}

}  // namespace keyloom
