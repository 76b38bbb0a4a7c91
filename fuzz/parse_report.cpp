// Report decoding over arbitrary descriptors and reports: the first input
// byte gives the descriptor length (0: the keyboard's consumer collection),
// the next bytes the descriptor, the rest the report. Every report type's
// field table is built and decoded as an open interface would.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/CHidDevice.h"
#include "device/HidFieldTable.h"
#include "platform/hid/ReportDescriptor.h"

namespace {

const std::uint8_t kConsumer[] = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15,
                                  0x00, 0x26, 0xFF, 0x3F, 0x19, 0x00, 0x2A, 0xFF, 0x3F,
                                  0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    std::span<const std::uint8_t> input(data, size);
    const std::size_t descriptorLength = std::min<std::size_t>(input[0], input.size() - 1);
    std::span<const std::uint8_t> descriptor = descriptorLength == 0
                                                   ? std::span<const std::uint8_t>(kConsumer)
                                                   : input.subspan(1, descriptorLength);
    std::span<const std::uint8_t> report = input.subspan(1 + descriptorLength);

    std::vector<keyloom::hid::CollectionDescriptor> collections;
    if (!keyloom::hid::parseReportDescriptor(descriptor, collections))
        return 0;
    for (const auto& collection : collections) {
        for (auto type : {keyloom::hid::ReportType::Input, keyloom::hid::ReportType::Output,
                          keyloom::hid::ReportType::Feature}) {
            std::vector<keyloom::HidField> fields = keyloom::buildFieldTable(collection, type);
            keyloom::CHidDevice::ParseReport(report, type, fields, collection);
            // A second report over the same table, as a listener decodes one
            // report after another.
            keyloom::CHidDevice::ParseReport(report.subspan(report.size() / 2), type, fields,
                                             collection);
        }
    }
    return 0;
}
