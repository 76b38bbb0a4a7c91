// The 32,832-byte assignment image: fresh contents, header rebuild with its
// checksum, and byte-exact serialisation.

#include <gtest/gtest.h>

#include <vector>

#include "model/AssignmentImage.h"

namespace keyloom {
namespace {

TEST(AssignmentImage, FreshImageBytes) {
    const auto bytes = AssignmentImage::fresh().toBytes();
    ASSERT_EQ(bytes.size(), 32832u);
    const std::vector<std::uint8_t> header(bytes.begin(), bytes.begin() + 32);
    const std::vector<std::uint8_t> expected{
        0x46, 0x44, 0x20, 0x00, 0x03, 0x00, 0x01, 0x00,  // magic, header size, format, version
        0x40, 0x80, 0x00, 0x00,                          // total size 32,832
        0x00, 0x08, 0x00, 0x00,                          // 2048 entries, 0 macros
        0x00, 0x00, 0x00, 0x00,                          // pool size
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00,  // flag
        0x76,  // checksum: sum of bytes 0-30 modulo 256
    };
    EXPECT_EQ(header, expected);
    // Descriptor block constants, little-endian.
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 32, bytes.begin() + 40),
              (std::vector<std::uint8_t>{0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00}));
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 48, bytes.begin() + 56),
              (std::vector<std::uint8_t>{0x45, 0x0C, 0x2F, 0x65, 0x4F, 0x1C, 0x0E, 0x00}));

    // Extra-key codes at entry offset 2 of block 0's entries 256-273; all else zero.
    std::size_t nonZero = 0;
    for (std::size_t i = 64; i < bytes.size(); ++i) {
        nonZero += bytes[i] != 0;
    }
    const std::size_t entry256 = 64 + 256 * 16;
    EXPECT_EQ(bytes[entry256 + 2], 0x01);
    EXPECT_EQ(bytes[entry256 + 3], 0x03);
    EXPECT_EQ(bytes[entry256 + 8 * 16 + 2], 0x09);
    EXPECT_EQ(bytes[entry256 + 9 * 16 + 2], 0x01);
    EXPECT_EQ(bytes[entry256 + 9 * 16 + 3], 0x13);
    EXPECT_EQ(bytes[entry256 + 17 * 16 + 2], 0x09);
    EXPECT_EQ(bytes[entry256 + 17 * 16 + 3], 0x13);
    EXPECT_EQ(nonZero, 18u * 2);
}

TEST(AssignmentImage, HeaderRebuildSetsSizesAndChecksum) {
    ImageHeader header;
    header.flag = 1;
    header.reserved24 = 7;
    ASSERT_TRUE(header.rebuild(2, 10));
    EXPECT_EQ(header.totalSize, 32832u + 2 * 32512u + 10u);
    EXPECT_EQ(header.macroCount, 2);
    EXPECT_EQ(header.poolSize, 10u);
    EXPECT_EQ(header.flag, 0);
    EXPECT_EQ(header.reserved24, 0u);
    EXPECT_EQ(header.checksum, 0x8B);
    EXPECT_TRUE(header.checksumMatches());

    // A header that would describe an invalid file is not produced.
    EXPECT_FALSE(header.rebuild(101, 0));
    EXPECT_FALSE(header.rebuild(100, 0xFFFFFFFFu));
    EXPECT_EQ(header.macroCount, 2);
}

TEST(AssignmentImage, RoundTripKeepsEveryEntryAndTheHeaderAsRead) {
    AssignmentImage image = AssignmentImage::fresh();
    image.block(2)[30] = {AssignmentKind::Macro, 5, 7, 1, 0xDEADBEEF};
    image.block(3)[511] = {static_cast<AssignmentKind>(42), 1, 2, 3, 4};  // foreign kind kept
    image.header().flag = 1;
    image.header().checksum = 0;  // a header as read, not rebuilt

    const auto bytes = image.toBytes();
    EXPECT_EQ(bytes[64 + (2 * 512 + 30) * 16], 4);
    EXPECT_EQ(bytes[64 + (2 * 512 + 30) * 16 + 15], 0xDE);
    AssignmentImage back;
    ASSERT_TRUE(back.parse(bytes));
    EXPECT_EQ(back, image);
    EXPECT_EQ(back.toBytes(), bytes);

    // The descriptor block is always written as the constants.
    auto altered = bytes;
    altered[40] = 0x99;
    ASSERT_TRUE(back.parse(altered));
    EXPECT_EQ(back.toBytes(), bytes);
}

TEST(AssignmentImage, ShortInputAndOutputAreRefused) {
    AssignmentImage image = AssignmentImage::fresh();
    const AssignmentImage before = image;
    std::vector<std::uint8_t> bytes(32831, 0xFF);
    EXPECT_FALSE(image.parse(bytes));
    EXPECT_EQ(image, before);
    EXPECT_FALSE(image.serialize(bytes));
}

TEST(AssignmentImage, BlockNumbersOutsideTheImageNeverReachOutsideIt) {
    AssignmentImage image;
    EXPECT_FALSE(AssignmentImage::isValidBlock(4));
    image.block(4)[0].value = 9;  // wraps to block 0 rather than past the entries
    EXPECT_EQ(image.block(0)[0].value, 9u);
}

}  // namespace
}  // namespace keyloom
