#pragma once
// The 32-byte header of the assignment image. It names the sizes of what
// follows the image in a profile file (macro records, string pool) and ends
// with a checksum byte over the 31 bytes before it.

#include <cstddef>
#include <cstdint>
#include <span>

namespace keyloom {

struct ImageHeader {
    static constexpr std::size_t kSize = 32;
    static constexpr std::size_t kChecksumOffset = 31;
    static constexpr std::uint16_t kMagic = 0x4446;
    static constexpr std::uint16_t kFormatWord = 3;
    static constexpr std::uint16_t kFormatVersion = 1;
    static constexpr std::uint16_t kEntryCount = 2048;
    static constexpr std::uint16_t kMaxMacroCount = 100;

    std::uint16_t magic = kMagic;
    std::uint16_t headerSize = kSize;
    std::uint16_t formatWord = kFormatWord;
    std::uint16_t formatVersion = kFormatVersion;
    // Image + macro records + string pool, as laid out in a profile file.
    std::uint32_t totalSize = 0;
    std::uint16_t entryCount = kEntryCount;
    std::uint16_t macroCount = 0;
    std::uint32_t poolSize = 0;
    std::uint32_t reserved20 = 0;
    std::uint32_t reserved24 = 0;
    std::uint16_t reserved28 = 0;
    std::uint8_t flag = 0;
    std::uint8_t checksum = 0;

    // `bytes` must hold at least kSize bytes. Fields are taken as they stand;
    // nothing is checked here.
    static ImageHeader parse(std::span<const std::uint8_t> bytes);
    // Writes the fields, the checksum byte as stored. `bytes` >= kSize.
    void write(std::span<std::uint8_t> bytes) const;

    // Checksum the fields would have when written.
    std::uint8_t computeChecksum() const;
    bool checksumMatches() const { return checksum == computeChecksum(); }

    // Sets every field for a save with `macroCount` records and a pool of
    // `poolSize` bytes: constants, total size, flag 0 and the checksum. False
    // (header unchanged) when the macro count is above 100 or the total size
    // would not fit its 32-bit field.
    bool rebuild(std::uint16_t macroCount, std::uint32_t poolSize);

    friend bool operator==(const ImageHeader&, const ImageHeader&) = default;
};

// Sum of bytes 0-30 modulo 256; `headerBytes` must hold at least 31 bytes.
std::uint8_t imageHeaderChecksum(std::span<const std::uint8_t> headerBytes);

}  // namespace keyloom
