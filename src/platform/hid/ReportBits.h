#pragma once
// Bit fields of a report in the shape the decoder receives it: byte 0 is the
// report id (0 without ids), the data bits start at byte 1, least significant
// bit first.

#include <algorithm>
#include <cstdint>
#include <span>

namespace keyloom::hid {

// Reads `bitSize` bits at data bit `bit`; wider fields keep their low 32 bits.
// Bits beyond the end of `report` read as 0.
inline std::uint32_t readReportBits(std::span<const std::uint8_t> report, std::uint32_t bit,
                                    std::uint32_t bitSize) {
    std::uint32_t wanted = std::min<std::uint32_t>(bitSize, 32);
    std::uint32_t value = 0;
    for (std::uint32_t done = 0; done < wanted;) {
        std::uint64_t at = static_cast<std::uint64_t>(bit) + done;
        std::uint64_t byte = 1 + at / 8;
        if (byte >= report.size())
            break;
        std::uint32_t shift = static_cast<std::uint32_t>(at % 8);
        std::uint32_t take = std::min<std::uint32_t>(8 - shift, wanted - done);
        std::uint32_t bits = (report[byte] >> shift) & ((1u << take) - 1u);
        value |= bits << done;
        done += take;
    }
    return value;
}

// Two's-complement value of the low `bitSize` bits.
inline std::int64_t signExtend(std::uint32_t value, std::uint32_t bitSize) {
    if (bitSize == 0)
        return 0;
    if (bitSize >= 32)
        return static_cast<std::int32_t>(value);
    std::uint32_t sign = 1u << (bitSize - 1);
    std::uint32_t mask = (1u << bitSize) - 1u;
    value &= mask;
    return (value & sign) ? static_cast<std::int64_t>(value) - (static_cast<std::int64_t>(mask) + 1)
                          : static_cast<std::int64_t>(value);
}

}  // namespace keyloom::hid
