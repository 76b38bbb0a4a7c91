#include "model/ImageHeader.h"

#include <array>
#include <limits>

#include "model/AssignmentImage.h"
#include "model/LittleEndian.h"
#include "model/MacroRecord.h"

namespace keyloom {

ImageHeader ImageHeader::parse(std::span<const std::uint8_t> bytes) {
    ImageHeader h;
    h.magic = le::readU16(bytes, 0);
    h.headerSize = le::readU16(bytes, 2);
    h.formatWord = le::readU16(bytes, 4);
    h.formatVersion = le::readU16(bytes, 6);
    h.totalSize = le::readU32(bytes, 8);
    h.entryCount = le::readU16(bytes, 12);
    h.macroCount = le::readU16(bytes, 14);
    h.poolSize = le::readU32(bytes, 16);
    h.reserved20 = le::readU32(bytes, 20);
    h.reserved24 = le::readU32(bytes, 24);
    h.reserved28 = le::readU16(bytes, 28);
    h.flag = bytes[30];
    h.checksum = bytes[kChecksumOffset];
    return h;
}

void ImageHeader::write(std::span<std::uint8_t> bytes) const {
    le::writeU16(bytes, 0, magic);
    le::writeU16(bytes, 2, headerSize);
    le::writeU16(bytes, 4, formatWord);
    le::writeU16(bytes, 6, formatVersion);
    le::writeU32(bytes, 8, totalSize);
    le::writeU16(bytes, 12, entryCount);
    le::writeU16(bytes, 14, macroCount);
    le::writeU32(bytes, 16, poolSize);
    le::writeU32(bytes, 20, reserved20);
    le::writeU32(bytes, 24, reserved24);
    le::writeU16(bytes, 28, reserved28);
    bytes[30] = flag;
    bytes[kChecksumOffset] = checksum;
}

std::uint8_t ImageHeader::computeChecksum() const {
    std::array<std::uint8_t, kSize> bytes{};
    write(bytes);
    return imageHeaderChecksum(bytes);
}

bool ImageHeader::rebuild(std::uint16_t newMacroCount, std::uint32_t newPoolSize) {
    if (newMacroCount > kMaxMacroCount) {
        return false;
    }
    const std::uint64_t total = std::uint64_t{AssignmentImage::kSize} +
                                std::uint64_t{newMacroCount} * MacroRecord::kSize + newPoolSize;
    if (total > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    *this = ImageHeader{};
    totalSize = static_cast<std::uint32_t>(total);
    macroCount = newMacroCount;
    poolSize = newPoolSize;
    checksum = computeChecksum();
    return true;
}

std::uint8_t imageHeaderChecksum(std::span<const std::uint8_t> headerBytes) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < ImageHeader::kChecksumOffset; ++i) {
        sum += headerBytes[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

}  // namespace keyloom
