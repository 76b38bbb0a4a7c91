// One matrix position at a time: the key a default entry stands for, the
// entry an assignment is sent as, and what a keyboard entry decodes to.

#include <gtest/gtest.h>

#include <vector>

#include "model/AssignmentImage.h"
#include "model/KeyAssignmentCodec.h"

namespace keyloom {
namespace {

constexpr MatrixEntry kDefaultA{2, 2, 0x04};         // the A key (key code 0x01E, index 30)
constexpr MatrixEntry kDefaultVolumeUp{3, 0xE9, 0};  // consumer V+ (0x130, index 176)

KeyAssignment assign(AssignmentKind kind, std::uint32_t value = 0) {
    KeyAssignment a;
    a.kind = kind;
    a.value = value;
    return a;
}

MacroRecord macroNumbered(std::uint16_t number) {
    MacroRecord m;
    m.number = number;
    return m;
}

TEST(DefaultKeyCode, NamesTheKeyOfEachKindOfDefaultEntry) {
    EXPECT_EQ(defaultKeyCode({1, 1, 0x01}), 0x171);
    EXPECT_EQ(defaultKeyCode({1, 1, 0x04}), 0x173);
    EXPECT_EQ(defaultKeyCode({1, 5, 0xFF}), 0x162);
    EXPECT_EQ(defaultKeyCode({1, 1, 0x08}), 0);
    EXPECT_EQ(defaultKeyCode(kDefaultA), 0x01E);
    EXPECT_EQ(defaultKeyCode({2, 1, 0x03}), 0x01D);  // several modifier bits: the first
    EXPECT_EQ(defaultKeyCode({2, 1, 0x80}), 0x15C);
    EXPECT_EQ(defaultKeyCode({3, 0xE2, 0x00}), 0x120);
    EXPECT_EQ(defaultKeyCode({4, 0x81, 0x00}), 0x15E);
    EXPECT_EQ(defaultKeyCode({6, 0xA2, 1}), 512);
    EXPECT_EQ(defaultKeyCode({6, 0xA2, 18}), 529);
    EXPECT_EQ(defaultKeyCode({6, 0xA1, 1}), 0);
    EXPECT_EQ(defaultKeyCode({6, 0xA2, 0}), 0);
    EXPECT_EQ(defaultKeyCode({5, 0, 0}), 0);
    EXPECT_EQ(defaultKeyCode({0, 0, 0}), 0);

    EXPECT_EQ(blockIndexOfKey(0x01E), 30u);
    EXPECT_EQ(blockIndexOfKey(512), 256u);
    EXPECT_EQ(blockIndexOfKey(529), 273u);
    EXPECT_FALSE(blockIndexOfKey(0).has_value());
}

TEST(EncodeMatrixEntry, LeftCtrlOnTheAKeyIs020101) {
    EXPECT_EQ(encodeMatrixEntry(assign(AssignmentKind::Key, 0x01D), kDefaultA, {}),
              (MatrixEntry{2, 1, 1}));
}

TEST(EncodeMatrixEntry, EachKind) {
    const std::vector<MacroRecord> macros{macroNumbered(7), macroNumbered(3), macroNumbered(12)};
    auto encode = [&](KeyAssignment a, MatrixEntry def = kDefaultVolumeUp) {
        return encodeMatrixEntry(a, def, macros);
    };
    EXPECT_EQ(encode(assign(AssignmentKind::Default)), kDefaultVolumeUp);
    EXPECT_EQ(encode(assign(AssignmentKind::LaunchProgram, 40)), kDefaultVolumeUp);
    EXPECT_EQ(encode(assign(AssignmentKind::Disabled)), MatrixEntry{});
    EXPECT_EQ(encode(assign(AssignmentKind::TextBlock, 40)), MatrixEntry{});
    EXPECT_EQ(encode(assign(AssignmentKind::Macro, 3)), (MatrixEntry{5, 1, 1}));
    EXPECT_EQ(encode(assign(AssignmentKind::Macro, 12)), (MatrixEntry{5, 1, 2}));
    EXPECT_EQ(encode(assign(AssignmentKind::Macro, 99)), (MatrixEntry{5, 1, 0}));  // gone: first
    EXPECT_EQ(encode(assign(AssignmentKind::StopMacro)), (MatrixEntry{5, 2, 0}));
    EXPECT_EQ(encode(assign(AssignmentKind::Media, 0)), (MatrixEntry{3, 0x83, 0x01}));
    EXPECT_EQ(encode(assign(AssignmentKind::Media, 17)), (MatrixEntry{3, 0x8A, 0x01}));
    EXPECT_EQ(encode(assign(AssignmentKind::Function, 10)), (MatrixEntry{5, 5, 10}));
}

TEST(EncodeMatrixEntry, KeyAssignmentsByKindOfKey) {
    auto key = [](std::uint32_t code) {
        return encodeMatrixEntry(assign(AssignmentKind::Key, code), kDefaultA, {});
    };
    EXPECT_EQ(key(0x01E), (MatrixEntry{2, 2, 0x04}));
    EXPECT_EQ(key(0x138), (MatrixEntry{2, 1, 0x40}));  // right Alt
    EXPECT_EQ(key(0x171), (MatrixEntry{1, 1, 0x01}));
    EXPECT_EQ(key(0x172), (MatrixEntry{1, 1, 0x02}));
    EXPECT_EQ(key(0x161), (MatrixEntry{1, 5, 0x01}));
    EXPECT_EQ(key(0x162), (MatrixEntry{1, 5, 0xFF}));
    // Media keys as plain keys use their pseudo device code, not a consumer entry.
    EXPECT_EQ(key(0x130), (MatrixEntry{2, 2, 0xC0}));
    // System keys and keys without a device code name nothing.
    EXPECT_EQ(key(0x15E), (MatrixEntry{2, 2, 0}));
    EXPECT_EQ(key(0x054), (MatrixEntry{2, 2, 0}));
    // A value wider than a key code is not taken for its low 16 bits.
    EXPECT_EQ(key(0x1001E), (MatrixEntry{2, 2, 0}));
}

TEST(EncodeMatrixEntry, ValuesAndKindsFromForeignFilesFallBackToTheDefault) {
    EXPECT_EQ(encodeMatrixEntry(assign(AssignmentKind::Media, 18), kDefaultA, {}), kDefaultA);
    EXPECT_EQ(encodeMatrixEntry(assign(AssignmentKind::Media, 0xFFFFFFFF), kDefaultA, {}),
              kDefaultA);
    EXPECT_EQ(encodeMatrixEntry(assign(static_cast<AssignmentKind>(9), 1), kDefaultA, {}),
              kDefaultA);
    EXPECT_EQ(encodeMatrixEntry(assign(static_cast<AssignmentKind>(0xFFFF), 1), kDefaultA, {}),
              kDefaultA);
}

class DecodeMatrixEntry : public ::testing::Test {
protected:
    AssignmentImage image;
    AssignmentImage::Block block = image.block(1);

    KeyAssignment decodeAtA(MatrixEntry device) {
        block[30] = {AssignmentKind::Default, 5, 0x1234, 1, 2};  // parameter/toggle/reserved kept
        decodeMatrixEntry(device, kDefaultA, block);
        return block[30];
    }
};

TEST_F(DecodeMatrixEntry, EntryEqualToItsDefaultChangesNothing) {
    decodeMatrixEntry(kDefaultVolumeUp, kDefaultVolumeUp, block);
    EXPECT_EQ(block[176], KeyAssignment{});
    EXPECT_EQ(decodeAtA(kDefaultA), (KeyAssignment{AssignmentKind::Default, 5, 0x1234, 1, 2}));
}

TEST_F(DecodeMatrixEntry, EachClass) {
    EXPECT_EQ(decodeAtA({2, 1, 1}), (KeyAssignment{AssignmentKind::Key, 5, 0x01D, 1, 2}));
    EXPECT_EQ(decodeAtA({2, 1, 3}).value, 0x01Du);  // several bits: left Ctrl only
    EXPECT_EQ(decodeAtA({2, 2, 0x05}).value, 0x030u);
    EXPECT_EQ(decodeAtA({2, 2, 0xC0}).value, 0x130u);
    EXPECT_EQ(decodeAtA({1, 1, 4}).value, 0x173u);
    EXPECT_EQ(decodeAtA({1, 5, 0xFF}).value, 0x162u);
    EXPECT_EQ(decodeAtA({5, 1, 0}), (KeyAssignment{AssignmentKind::Macro, 5, 1, 1, 2}));
    EXPECT_EQ(decodeAtA({5, 1, 99}).value, 100u);
    EXPECT_EQ(decodeAtA({5, 2, 0}).kind, AssignmentKind::StopMacro);
    EXPECT_EQ(decodeAtA({5, 5, 10}), (KeyAssignment{AssignmentKind::Function, 5, 10, 1, 2}));
    EXPECT_EQ(decodeAtA({3, 0x83, 0x01}), (KeyAssignment{AssignmentKind::Media, 5, 0, 1, 2}));
    EXPECT_EQ(decodeAtA({3, 0x8A, 0x01}).value, 17u);
}

TEST_F(DecodeMatrixEntry, UnknownEntriesDisableTheKeyAndKeepItsValue) {
    const KeyAssignment disabled{AssignmentKind::Disabled, 5, 0x1234, 1, 2};
    EXPECT_EQ(decodeAtA({0, 0, 0}), disabled);
    EXPECT_EQ(decodeAtA({3, 0xA0, 0x01}), disabled);  // usage 0x01A0 is not a media key
    EXPECT_EQ(decodeAtA({2, 2, 0x00}), disabled);     // device code naming no key
    EXPECT_EQ(decodeAtA({2, 3, 0x04}), disabled);
    EXPECT_EQ(decodeAtA({5, 3, 0}), disabled);
    EXPECT_EQ(decodeAtA({4, 0x81, 0}), disabled);
    EXPECT_EQ(decodeAtA({7, 1, 1}), disabled);
    // A mouse entry beyond the five known rows: a Key with no key.
    EXPECT_EQ(decodeAtA({1, 1, 0x08}), (KeyAssignment{AssignmentKind::Key, 5, 0, 1, 2}));
}

TEST_F(DecodeMatrixEntry, PositionsWithoutAKeyAreNeverChanged) {
    const AssignmentImage before = image;
    decodeMatrixEntry({2, 2, 4}, {5, 0, 0}, block);
    decodeMatrixEntry({2, 2, 4}, {0, 0, 0}, block);
    decodeMatrixEntry({2, 2, 4}, {6, 0xA2, 0}, block);
    EXPECT_EQ(image, before);

    // Extra key 1 lands at entry 256 of the block.
    decodeMatrixEntry({2, 2, 4}, {6, 0xA2, 1}, block);
    EXPECT_EQ(block[256].kind, AssignmentKind::Key);
    EXPECT_EQ(block[256].value, 0x01Eu);
}

}  // namespace
}  // namespace keyloom
