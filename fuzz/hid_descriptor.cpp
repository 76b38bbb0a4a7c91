// Report descriptor parser and report decoder on arbitrary bytes. The first
// two input bytes say how much of the rest is the descriptor; what follows
// it is a report handed to every decoding query of every collection.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/hid/ReportDescriptor.h"

using namespace keyloom::hid;

namespace {

void decodeAll(const CollectionDescriptor& c, std::span<const std::uint8_t> report) {
    std::vector<std::uint16_t> list;
    for (auto type : {ReportType::Input, ReportType::Output, ReportType::Feature}) {
        (void)c.ownsReportId(type, report.empty() ? 0 : report[0]);
        for (const auto& caps : c.buttonCaps(type)) {
            std::uint32_t length = c.maxUsageListLength(type, caps.usagePage);
            list.assign(length, 0);
            std::uint32_t capacity = length;
            c.getUsages(type, caps.usagePage, caps.linkCollection, list.data(), length, report);
            if (length > capacity)
                __builtin_trap();
        }
        for (const auto& caps : c.valueCaps(type)) {
            std::uint32_t raw = 0;
            std::int32_t scaled = 0;
            c.getUsageValue(type, caps.usagePage, 0, caps.usageMin, raw, report);
            c.getUsageValue(type, caps.usagePage, caps.linkCollection, caps.usageMax, raw, report);
            c.getScaledUsageValue(type, caps.usagePage, 0, caps.usageMax, scaled, report);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    std::span<const std::uint8_t> input(data + 2, size - 2);
    std::size_t split = (static_cast<std::size_t>(data[0]) | (data[1] << 8)) % (input.size() + 1);
    std::vector<CollectionDescriptor> collections;
    if (!parseReportDescriptor(input.first(split), collections)) {
        if (!collections.empty())
            __builtin_trap();
        return 0;
    }
    for (const auto& c : collections)
        decodeAll(c, input.subspan(split));
    return 0;
}
