#include "device/ConfigReport.h"

#include <algorithm>

namespace keyloom {

std::uint16_t reportChecksum(const Report& report) {
    std::uint32_t sum = 0;
    for (std::size_t i = 3; i < kReportSize; ++i)
        sum += report[i];
    return static_cast<std::uint16_t>(sum);
}

void sealReport(Report& report) {
    std::uint16_t sum = reportChecksum(report);
    report[1] = static_cast<std::uint8_t>(sum & 0xFF);
    report[2] = static_cast<std::uint8_t>(sum >> 8);
}

Report makeRequest(std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                   std::span<const std::uint8_t> data) {
    Report report{};
    report[0] = kConfigReportId;
    report[3] = command;
    report[4] = length;
    report[5] = static_cast<std::uint8_t>(offset & 0xFF);
    report[6] = static_cast<std::uint8_t>(offset >> 8);
    report[kStatusByte] = 0;
    std::size_t n = std::min(data.size(), kMaxReportData);
    std::copy_n(data.begin(), n, report.begin() + kReportDataOffset);
    sealReport(report);
    return report;
}

Report makeBootModeRequest() {
    Report report{};
    report[0] = kConfigReportId;
    report[3] = command::BootMode;
    report[4] = command::BootMode;
    return report;
}

}  // namespace keyloom
