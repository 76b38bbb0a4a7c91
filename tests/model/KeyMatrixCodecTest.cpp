// Whole key matrices: a profile's block encoded against the default matrix,
// and keyboard matrices decoded back into blocks.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "model/KeyMatrixCodec.h"

namespace keyloom {
namespace {

// A small default layout; positions 7-125 are 00 00 00 (no key).
KeyMatrix defaultLayout() {
    KeyMatrix m;
    m.setEntry(0, {2, 2, 0x04});    // A, index 30
    m.setEntry(1, {2, 1, 0x01});    // left Ctrl, index 29
    m.setEntry(2, {5, 0, 0});       // no key: cannot be remapped
    m.setEntry(3, {3, 0xE9, 0});    // V+, index 176
    m.setEntry(4, {1, 1, 0x01});    // left button, index 241
    m.setEntry(5, {6, 0xA2, 1});    // extra key 1, entry 256
    m.setEntry(125, {2, 2, 0x29});  // Esc, index 1
    for (std::size_t i = 378; i < 384; ++i) {
        m.bytes[i] = static_cast<std::uint8_t>(0xA0 + i - 378);  // the 384-byte model's tail
    }
    return m;
}

MacroRecord macroNumbered(std::uint16_t number) {
    MacroRecord m;
    m.number = number;
    return m;
}

TEST(KeyMatrixCodec, EncodesEachKeyedPositionFromItsAssignment) {
    const KeyMatrix defaults = defaultLayout();
    AssignmentImage image = AssignmentImage::fresh();
    auto block = image.block(0);
    block[30] = {AssignmentKind::Key, 0, 0x01D};  // A -> left Ctrl
    block[29] = {AssignmentKind::Disabled};
    block[241] = {AssignmentKind::Macro, 1, 4};
    block[256].kind = AssignmentKind::StopMacro;  // keeps its extra-key code
    block[1] = {AssignmentKind::Media, 0, 7};
    block[0] = {AssignmentKind::Disabled};  // key code 0: no position belongs to it
    const std::vector<MacroRecord> macros{macroNumbered(9), macroNumbered(4)};

    const KeyMatrix out = encodeKeyMatrix(defaults, image.block(0), macros);
    EXPECT_EQ(out.entry(0), (MatrixEntry{2, 1, 1}));
    EXPECT_EQ(out.entry(1), MatrixEntry{});
    EXPECT_EQ(out.entry(2), (MatrixEntry{5, 0, 0}));
    EXPECT_EQ(out.entry(3), (MatrixEntry{3, 0xE9, 0}));  // Default: the default bytes
    EXPECT_EQ(out.entry(4), (MatrixEntry{5, 1, 1}));
    EXPECT_EQ(out.entry(5), (MatrixEntry{5, 2, 0}));
    EXPECT_EQ(out.entry(125), (MatrixEntry{3, 0xE2, 0}));
    for (std::size_t p = 6; p < 125; ++p) {
        EXPECT_EQ(out.entry(p), MatrixEntry{}) << p;
    }
    // The 384-byte model's two extra entries are the keyboard's own bytes.
    const auto sent = out.transferBytes(kModel5064);
    EXPECT_EQ(std::vector<std::uint8_t>(sent.begin() + 378, sent.end()),
              (std::vector<std::uint8_t>{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}));
}

TEST(KeyMatrixCodec, ExtraKeyEntriesStayUnsentWithoutClass6Positions) {
    KeyMatrix defaults = defaultLayout();
    defaults.setEntry(5, {});
    AssignmentImage image;
    image.block(2)[256] = {AssignmentKind::Disabled};
    EXPECT_EQ(encodeKeyMatrix(defaults, image.block(2), {}), defaults);
}

TEST(KeyMatrixCodec, DecodingWhatWasEncodedGivesTheBlockBack) {
    const KeyMatrix defaults = defaultLayout();
    AssignmentImage image;
    auto block = image.block(1);
    block[30] = {AssignmentKind::Key, 0, 0x171};
    block[29] = {AssignmentKind::Function, 0, 3};
    block[176] = {AssignmentKind::Media, 0, 12};
    block[241] = {AssignmentKind::Macro, 0, 2};  // numbers 1, 2 = positions 0, 1
    block[256] = {AssignmentKind::StopMacro};
    block[1] = {AssignmentKind::Disabled};
    const std::vector<MacroRecord> macros{macroNumbered(1), macroNumbered(2)};

    const KeyMatrix device = encodeKeyMatrix(defaults, image.block(1), macros);
    AssignmentImage decoded;
    decodeKeyMatrix(device, defaults, decoded.block(1));
    EXPECT_EQ(decoded, image);
}

TEST(KeyMatrixCodec, ImageFromThreeProfileMatrices) {
    const KeyMatrix defaults = defaultLayout();
    std::array<KeyMatrix, 3> matrices{defaults, defaults, defaults};
    matrices[0].setEntry(5, {2, 2, 0x04});  // extra key 1 sends A
    matrices[2].setEntry(0, {5, 1, 2});     // A plays the third macro

    const AssignmentImage image = imageFromKeyMatrices(defaults, matrices);
    EXPECT_EQ(image.block(0)[256],
              (KeyAssignment{AssignmentKind::Key, extraKeyDefaultCode(0), 0x01E}));
    EXPECT_EQ(image.block(0)[257].parameter, 0x0302);
    EXPECT_EQ(image.block(1)[30], KeyAssignment{});
    EXPECT_EQ(image.block(2)[30], (KeyAssignment{AssignmentKind::Macro, 0, 3}));
    EXPECT_EQ(image.header().macroCount, 0);
    EXPECT_TRUE(image.header().checksumMatches());
}

}  // namespace
}  // namespace keyloom
