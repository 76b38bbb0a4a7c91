// The keyboard's areas as the program keeps them: parameter block, key
// matrix buffers, profile records with their decoded lighting state, and the
// per-key colour mirror.

#include <gtest/gtest.h>

#include <vector>

#include "model/KeyColourMap.h"
#include "model/KeyMatrix.h"
#include "model/ParameterBlock.h"
#include "model/ProfileRecord.h"

namespace keyloom {
namespace {

TEST(ParameterBlock, InterpretsProfileCapacityAndEffects) {
    std::vector<std::uint8_t> received(44, 0);
    received[0] = 0x77;  // not interpreted, carried through
    received[10] = 2;
    received[11] = 10;
    received[12] = 1;
    received[13] = 0;  // empty slot inside the list
    received[14] = 20;
    received[43] = 5;
    ParameterBlock block;
    ASSERT_TRUE(block.assign(received));
    EXPECT_EQ(block.activeProfile(), 2);
    EXPECT_EQ(block.macroCapacity(), 1280u);
    EXPECT_EQ(block.effects(), (std::vector<std::uint8_t>{1, 20, 5}));
    EXPECT_TRUE(block.supportsPerKeyColours());
    EXPECT_FALSE(block.supportsEffect(0));

    block.setActiveProfile(1);
    EXPECT_EQ(block.bytes[0], 0x77);
    EXPECT_EQ(block.bytes[10], 1);
}

TEST(ParameterBlock, WithoutEffect20HasNoPerKeyColoursAndShortReplyIsRefused) {
    ParameterBlock block;
    for (std::size_t i = 12; i < 44; ++i) {
        block.bytes[i] = static_cast<std::uint8_t>(i - 11);  // 1..32, 20 included
    }
    block.bytes[12 + 19] = 0;  // remove 20
    EXPECT_FALSE(block.supportsPerKeyColours());
    EXPECT_EQ(block.macroCapacity(), 0u);  // byte 11 = 0: no macro room at all

    const std::vector<std::uint8_t> shortReply(43, 9);
    EXPECT_FALSE(block.assign(shortReply));
    EXPECT_EQ(block.bytes[0], 0);
}

TEST(KeyMatrix, EntriesAndTransferLengthsPerModel) {
    KeyMatrix matrix;
    ASSERT_TRUE(matrix.setEntry(125, {2, 2, 4}));
    EXPECT_EQ(matrix.entry(125), (MatrixEntry{2, 2, 4}));
    EXPECT_EQ(matrix.bytes[375], 2);
    EXPECT_EQ(matrix.transferBytes(kModel652F).size(), 378u);
    EXPECT_EQ(matrix.transferBytes(kModel5064).size(), 384u);
    EXPECT_EQ(matrix.transferBytes({9999, 9999}).size(), 512u);
    // 170 whole entries fit 512 bytes; beyond that nothing is read or written.
    EXPECT_TRUE(matrix.setEntry(169, {1, 1, 1}));
    EXPECT_FALSE(matrix.setEntry(170, {1, 1, 1}));
    EXPECT_EQ(matrix.entry(170), MatrixEntry{});
    EXPECT_EQ(MatrixEntry::withWideValue(3, 0x0183), (MatrixEntry{3, 0x83, 0x01}));
}

ProfileRecord recordWith(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    ProfileRecord record;
    for (auto [offset, value] : bytes) {
        record.bytes[offset] = value;
    }
    return record;
}

TEST(ProfileRecord, DecodesFieldsAndColoursAsBGR) {
    const auto record =
        recordWith({{0, 7},     {1, 4},  {2, 3},  {3, 255}, {4, 1},  {5, 0x11},  {6, 0x22},
                    {7, 0x33},  {15, 2}, {17, 3}, {18, 1},  {19, 1}, {25, 0xAA}, {26, 0xBB},
                    {27, 0xCC}, {28, 1}, {30, 1}, {31, 2},  {32, 3}, {33, 0}});
    LightingState state;
    decodeLightingState(record, state);
    EXPECT_EQ(state.effect, 7);
    EXPECT_EQ(state.brightness, 4);
    EXPECT_EQ(state.speed, 3);
    EXPECT_EQ(state.direction, 255);
    EXPECT_TRUE(state.colourful);
    EXPECT_EQ(state.mainColour, 0x332211u);
    EXPECT_EQ(state.reportRate, 2);
    EXPECT_EQ(state.colourChoice, 3);
    EXPECT_TRUE(state.effect7Random);
    EXPECT_FALSE(state.singleKeyTrigger);
    EXPECT_TRUE(state.gridTrigger);
    EXPECT_EQ(state.secondColour, 0xCCBBAAu);
    EXPECT_TRUE(state.secondRandom);
    EXPECT_EQ(state.thirdColour, 0x030201u);
    EXPECT_FALSE(state.thirdRandom);
}

TEST(ProfileRecord, OutOfRangeBytesAreBoundedOrKeepThePreviousValue) {
    LightingState state;
    state.effect7Random = true;
    state.singleKeyTrigger = false;
    state.gridTrigger = true;

    // Report rate 7 reads as 3; bytes 18/19 of 2 and 9 are ignored.
    decodeLightingState(recordWith({{0, 7}, {15, 7}, {18, 2}, {19, 9}}), state);
    EXPECT_EQ(state.reportRate, 3);
    EXPECT_TRUE(state.effect7Random);
    EXPECT_TRUE(state.gridTrigger);
    EXPECT_FALSE(state.singleKeyTrigger);

    // Byte 18 counts only for effect 7.
    decodeLightingState(recordWith({{0, 3}, {18, 0}, {19, 0}}), state);
    EXPECT_TRUE(state.effect7Random);
    EXPECT_TRUE(state.singleKeyTrigger);
    EXPECT_FALSE(state.gridTrigger);
}

TEST(ProfileRecord, TakesTheFirst42BytesOfAReply) {
    std::vector<std::uint8_t> reply(56, 0);
    reply[41] = 0x41;
    reply[42] = 0x42;
    ProfileRecord record;
    ASSERT_TRUE(record.assign(reply));
    EXPECT_EQ(record.bytes[41], 0x41);
    EXPECT_FALSE(record.assign(std::vector<std::uint8_t>(41, 1)));
}

TEST(KeyColourMap, KeysOfEachProfileStayInTheirOwn512Bytes) {
    KeyColourMap map;
    ASSERT_TRUE(map.setColour(1, 0, {1, 2, 3}));
    ASSERT_TRUE(map.setColour(1, 169, {4, 5, 6}));
    EXPECT_FALSE(map.setColour(1, 170, {7, 8, 9}));  // would spill into profile 2
    EXPECT_FALSE(map.setColour(3, 0, {7, 8, 9}));
    EXPECT_EQ(map.colour(2, 0), Rgb{});
    EXPECT_EQ(map.colour(1, 169), (Rgb{4, 5, 6}));
    EXPECT_EQ(map.profileBytes(1)[0], 1);
    EXPECT_EQ(map.profileBytes(1)[509], 6);
    EXPECT_TRUE(map.profileBytes(3).empty());
}

TEST(KeyColourMap, EightTransfersOf18KeysCoverTheFirst144) {
    KeyColourMap map;
    map.setColour(0, 126, {9, 9, 9});
    map.setColour(0, 143, {8, 8, 8});
    map.setColour(0, 144, {7, 7, 7});
    EXPECT_EQ(KeyColourMap::kTransferCount, 8u);
    EXPECT_EQ(KeyColourMap::transferFirstKey(7), 126u);
    const auto last = map.transferChunk(0, 7);
    ASSERT_EQ(last.size(), 54u);
    EXPECT_EQ(last[0], 9);
    EXPECT_EQ(last[53], 8);
    EXPECT_TRUE(map.transferChunk(0, 8).empty());
    EXPECT_TRUE(map.transferChunk(3, 0).empty());
}

}  // namespace
}  // namespace keyloom
