#pragma once
// The 64-byte configuration reports the keyboard's vendor collection moves:
// layout, checksum and builders for requests.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace keyloom::sim {

inline constexpr std::size_t kReportSize = 64;
inline constexpr std::size_t kReportDataSize = 56;
using Report = std::array<std::uint8_t, kReportSize>;

inline constexpr std::uint8_t kConfigReportId = 4;

// Byte positions inside a report.
namespace field {
inline constexpr std::size_t kReportId = 0;
inline constexpr std::size_t kChecksum = 1;  // 16-bit little-endian
inline constexpr std::size_t kCommand = 3;
inline constexpr std::size_t kLength = 4;
inline constexpr std::size_t kOffset = 5;  // 16-bit little-endian
inline constexpr std::size_t kStatus = 7;
inline constexpr std::size_t kData = 8;
}  // namespace field

// Reply statuses. Anything but 0xFF and 0xFE counts as success for the host.
namespace reply_status {
inline constexpr std::uint8_t kOk = 0x00;
// Unknown command, length above 56, or an offset and length outside the area.
inline constexpr std::uint8_t kRefused = 0xFF;
// The request's checksum does not match its bytes.
inline constexpr std::uint8_t kBadChecksum = 0xFE;
}  // namespace reply_status

namespace command {
inline constexpr std::uint8_t kBeginTransfer = 1;
inline constexpr std::uint8_t kEndTransfer = 2;
inline constexpr std::uint8_t kReadParameterBlock = 3;
inline constexpr std::uint8_t kWriteParameterBlock = 4;
inline constexpr std::uint8_t kReadProfileSettings = 5;
inline constexpr std::uint8_t kWriteProfileSettings = 6;
inline constexpr std::uint8_t kReadKeyMatrix = 7;
inline constexpr std::uint8_t kWriteKeyMatrix = 8;
inline constexpr std::uint8_t kReadMacroArea = 9;
inline constexpr std::uint8_t kWriteMacroArea = 10;
inline constexpr std::uint8_t kReadDefaultKeyMatrix = 15;
inline constexpr std::uint8_t kReadKeyColours = 16;
inline constexpr std::uint8_t kWriteKeyColours = 17;
inline constexpr std::uint8_t kBootMode = 0xEE;
}  // namespace command

// Sum of bytes 3-63 modulo 65536.
std::uint16_t reportChecksum(std::span<const std::uint8_t, kReportSize> report);
void storeChecksum(Report& report);

// A request with the checksum in place; data past 56 bytes is not copied.
Report makeRequest(std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                   std::span<const std::uint8_t> data = {});

// The report that switches the keyboard to its boot loader (no checksum).
Report bootModeRequest();

inline std::uint16_t readU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace keyloom::sim
