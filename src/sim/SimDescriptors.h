#pragma once
// Report descriptors of the simulated keyboard's two USB interfaces.
//
// Interface 0: a boot keyboard (one collection, no report ids): 8-byte input
// reports, a 1-byte LED output report.
// Interface 1: two top-level collections on one node,
//   1. consumer control (0x000C/0x0001), report id 3: one 16-bit array field
//      that carries the keyboard's notification codes;
//   2. vendor configuration (0xFF1C/0x92), report id 4: 63-byte input and
//      output reports (64 bytes with the report id).

#include <cstddef>
#include <cstdint>
#include <span>

namespace keyloom::sim {

inline constexpr std::uint8_t kNotificationReportId = 3;
inline constexpr std::size_t kNotificationReportSize = 3;

std::span<const std::uint8_t> keyboardInterfaceDescriptor();
std::span<const std::uint8_t> configInterfaceDescriptor();

}  // namespace keyloom::sim
