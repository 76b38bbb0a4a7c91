#pragma once
// The 64-byte reports of the configuration protocol.
//
// Request: [0] report id 4, [1-2] checksum (little-endian sum of bytes 3-63),
// [3] command, [4] data length (0-56), [5-6] offset (little-endian),
// [7] status (0), [8-63] data. Reply: [7] status, [8-63] data.

#include <array>
#include <cstdint>
#include <span>

namespace keyloom {

inline constexpr std::size_t kReportSize = 64;
inline constexpr std::size_t kReportDataOffset = 8;
inline constexpr std::size_t kMaxReportData = kReportSize - kReportDataOffset;  // 56
inline constexpr std::uint8_t kConfigReportId = 4;
inline constexpr std::size_t kStatusByte = 7;
inline constexpr std::uint8_t kStatusFF = 0xFF;
inline constexpr std::uint8_t kStatusFE = 0xFE;

using Report = std::array<std::uint8_t, kReportSize>;

// Commands of the configuration protocol.
namespace command {
inline constexpr std::uint8_t BeginTransfer = 1;
inline constexpr std::uint8_t EndTransfer = 2;
inline constexpr std::uint8_t ReadParameterBlock = 3;
inline constexpr std::uint8_t WriteParameterBlock = 4;
inline constexpr std::uint8_t ReadProfileSettings = 5;
inline constexpr std::uint8_t WriteProfileSettings = 6;
inline constexpr std::uint8_t ReadKeyMatrix = 7;
inline constexpr std::uint8_t WriteKeyMatrix = 8;
inline constexpr std::uint8_t ReadMacroArea = 9;
inline constexpr std::uint8_t WriteMacroArea = 10;
inline constexpr std::uint8_t Command11 = 11;
inline constexpr std::uint8_t Command12 = 12;
inline constexpr std::uint8_t TestCommand = 13;
inline constexpr std::uint8_t Command14 = 14;
inline constexpr std::uint8_t ReadDefaultKeyMatrix = 15;
inline constexpr std::uint8_t ReadKeyColours = 16;
inline constexpr std::uint8_t WriteKeyColours = 17;
inline constexpr std::uint8_t BootMode = 0xEE;
}  // namespace command

// Sum of bytes 3-63, modulo 65536.
std::uint16_t reportChecksum(const Report& report);

// Stores the checksum in bytes 1-2; the last step of building a request.
void sealReport(Report& report);

// A request with header and data in place and the checksum stored. `data`
// is cut to 56 bytes.
Report makeRequest(std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                   std::span<const std::uint8_t> data = {});

// The boot-mode request: all zero except id, command and length 0xEE, and no
// checksum (bytes 1-2 stay 0, as the keyboard's boot loader expects).
Report makeBootModeRequest();

}  // namespace keyloom
