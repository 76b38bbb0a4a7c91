#pragma once
// The program's record of every key assignment of all profiles: a 32-byte
// header, a 32-byte descriptor block and 4 blocks of 512 KeyAssignments. It
// is what the key editors change, what the key matrices are encoded from, and
// the first 32,832 bytes of every profile file.
//
// Blocks 0-2 belong to on-board profiles 0-2; block 3 is carried unchanged.
// Within a block the entry index is the key index; 256-264 and 265-273 are
// the two banks of the nine extra keys G1-G9.
//
// The object is about 32 KB; keep it on the heap (the stores do).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/ImageHeader.h"
#include "model/KeyAssignment.h"

namespace keyloom {

class AssignmentImage {
public:
    static constexpr std::size_t kSize = 32832;
    static constexpr std::size_t kDescriptorOffset = 32;
    static constexpr std::size_t kEntriesOffset = 64;
    static constexpr std::size_t kBlockCount = 4;
    static constexpr std::size_t kProfileBlockCount = 3;
    static constexpr std::size_t kEntriesPerBlock = 512;
    static constexpr std::size_t kEntryCount = kBlockCount * kEntriesPerBlock;
    static constexpr std::size_t kFirstExtraKeyEntry = 256;
    static constexpr std::size_t kExtraKeysPerBank = 9;
    static constexpr std::size_t kExtraKeyEntryCount = 2 * kExtraKeysPerBank;
    // Descriptor block as always written; it is not checked on load.
    static constexpr std::array<std::uint32_t, 8> kDescriptor{
        0x0020484B, 0x00008020, 0x02000004, 0, 0x652F0C45, 0x000E1C4F, 0, 0};

    using Block = std::span<KeyAssignment, kEntriesPerBlock>;
    using ConstBlock = std::span<const KeyAssignment, kEntriesPerBlock>;

    // All entries Default and a header for an image without macros or texts.
    // Use fresh() for a new user image; this is the blank to parse into.
    AssignmentImage();

    // A new image: like the blank one, but block 0's extra-key entries carry
    // their fixed codes 0x0301-0x0309 (bank 0) and 0x1301-0x1309 (bank 1) in
    // the parameter field.
    static AssignmentImage fresh();

    // Parses the first kSize bytes. False (image unchanged) when fewer bytes
    // are given. The header is taken as it stands (validating it is the
    // profile file's business); the descriptor block is ignored.
    bool parse(std::span<const std::uint8_t> bytes);
    // Writes kSize bytes: the header as it stands, the constant descriptor,
    // the entries. False when `out` is shorter than kSize.
    bool serialize(std::span<std::uint8_t> out) const;
    std::vector<std::uint8_t> toBytes() const;

    ImageHeader& header() { return header_; }
    const ImageHeader& header() const { return header_; }

    // Block `block` (0-3). Callers check the number with isValidBlock; a number
    // above 3 is taken modulo 4 so that a slip can never reach outside the image.
    Block block(std::size_t block);
    ConstBlock block(std::size_t block) const;
    static constexpr bool isValidBlock(std::size_t block) { return block < kBlockCount; }

    // All 2048 entries in slot order (slot = block * 512 + index), the order
    // of the string table and of the string pool.
    std::span<KeyAssignment, kEntryCount> entries() { return entries_; }
    std::span<const KeyAssignment, kEntryCount> entries() const { return entries_; }

    friend bool operator==(const AssignmentImage&, const AssignmentImage&) = default;

private:
    ImageHeader header_;
    std::array<KeyAssignment, kEntryCount> entries_{};
};

// Fixed code of extra-key entry 256 + i of block 0 (i = 0-17) in a fresh image.
constexpr std::uint16_t extraKeyDefaultCode(std::size_t i) {
    return static_cast<std::uint16_t>(i < AssignmentImage::kExtraKeysPerBank
                                          ? 0x0301 + i
                                          : 0x1301 + (i - AssignmentImage::kExtraKeysPerBank));
}

}  // namespace keyloom
