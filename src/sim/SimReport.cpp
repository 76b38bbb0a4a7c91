#include "sim/SimReport.h"

#include <algorithm>

namespace keyloom::sim {

std::uint16_t reportChecksum(std::span<const std::uint8_t, kReportSize> report) {
    unsigned sum = 0;
    for (std::size_t i = field::kCommand; i < kReportSize; ++i)
        sum += report[i];
    return static_cast<std::uint16_t>(sum);
}

void storeChecksum(Report& report) {
    std::uint16_t sum = reportChecksum(report);
    report[field::kChecksum] = static_cast<std::uint8_t>(sum & 0xFF);
    report[field::kChecksum + 1] = static_cast<std::uint8_t>(sum >> 8);
}

Report makeRequest(std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                   std::span<const std::uint8_t> data) {
    Report report{};
    report[field::kReportId] = kConfigReportId;
    report[field::kCommand] = command;
    report[field::kLength] = length;
    report[field::kOffset] = static_cast<std::uint8_t>(offset & 0xFF);
    report[field::kOffset + 1] = static_cast<std::uint8_t>(offset >> 8);
    std::copy_n(data.begin(), std::min(data.size(), kReportDataSize),
                report.begin() + field::kData);
    storeChecksum(report);
    return report;
}

Report bootModeRequest() {
    Report report{};
    report[field::kReportId] = kConfigReportId;
    report[field::kCommand] = command::kBootMode;
    report[field::kLength] = 0xEE;
    return report;
}

}  // namespace keyloom::sim
