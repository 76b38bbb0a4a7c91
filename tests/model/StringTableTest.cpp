// Texts of LaunchProgram and TextBlock entries: the table, packing them into
// a pool, and reading a pool back.

#include <gtest/gtest.h>

#include <vector>

#include "model/StringTable.h"

namespace keyloom {
namespace {

TEST(StringTable, SizesCountTheTerminatorAndAnEmptyTextIsNotNoText) {
    StringTable table;
    ASSERT_TRUE(table.setText(5, u"abc"));
    ASSERT_TRUE(table.setText(6, u""));
    EXPECT_EQ(table.sizeOf(5), 8u);
    EXPECT_EQ(table.sizeOf(6), 2u);
    EXPECT_EQ(table.sizeOf(7), 0u);
    EXPECT_EQ(table.totalSize(), 10u);
    ASSERT_TRUE(table.setText(5, std::u16string_view(u"x\0yz", 4)));  // cut at the zero
    EXPECT_EQ(table.text(5), u"x");
    EXPECT_EQ(table.totalSize(), 6u);
    table.clearText(6);
    EXPECT_EQ(table.totalSize(), 4u);
    EXPECT_FALSE(table.setText(2048, u"x"));
    EXPECT_FALSE(table.text(2048).has_value());
}

// Tables compare by their texts, however they came to hold them.
TEST(StringTable, TablesWithTheSameTextsAreEqual) {
    StringTable never, emptied, holding;
    emptied.setText(9, u"gone");
    emptied.clearText(9);
    EXPECT_EQ(never, emptied);
    holding.setText(9, u"kept");
    EXPECT_NE(never, holding);
    emptied.setText(9, u"kept");
    EXPECT_EQ(emptied, holding);
    holding.clear();
    EXPECT_EQ(never, holding);
}

class StringPool : public ::testing::Test {
protected:
    AssignmentImage image;
    StringTable texts;

    void setUp(std::size_t slot, AssignmentKind kind, std::u16string_view text) {
        image.entries()[slot] = {kind, 0, 0xBAD};
        texts.setText(slot, text);
    }
};

TEST_F(StringPool, PacksTextsInSlotOrderAndReadsThemBack) {
    setUp(700, AssignmentKind::TextBlock, u"hello");
    setUp(3, AssignmentKind::LaunchProgram, u"/bin/x");
    setUp(9, AssignmentKind::Key, u"stale");                     // not a text kind: ignored
    image.entries()[10] = {AssignmentKind::TextBlock, 0, 0x77};  // text kind without text

    const StringTable placed = packTexts(image, texts, texts.totalSize());
    EXPECT_EQ(image.entries()[3].value, 0u);
    EXPECT_EQ(image.entries()[700].value, 14u);
    EXPECT_EQ(image.entries()[9].value, 0xBADu);
    EXPECT_EQ(image.entries()[10].value, 0x77u);
    EXPECT_EQ(placed.totalSize(), 26u);

    const auto pool = buildStringPool(image, placed, 26);
    ASSERT_EQ(pool.size(), 26u);
    EXPECT_EQ(pool[0], '/');
    EXPECT_EQ(pool[12], 0);
    EXPECT_EQ(pool[14], 'h');

    const StringTable back = unpackTexts(image, pool);
    EXPECT_EQ(back.text(3), u"/bin/x");
    EXPECT_EQ(back.text(700), u"hello");
    EXPECT_FALSE(back.text(9).has_value());
    EXPECT_FALSE(back.text(10).has_value());  // offset 0x77 lies outside the pool
}

TEST_F(StringPool, TextsThatWouldOverflowThePoolAreSkipped) {
    setUp(1, AssignmentKind::TextBlock, u"aaaa");    // 10 bytes
    setUp(2, AssignmentKind::TextBlock, u"bbbbbb");  // 14 bytes
    setUp(3, AssignmentKind::TextBlock, u"c");       // 4 bytes
    const StringTable placed = packTexts(image, texts, 15);
    EXPECT_EQ(placed.text(1), u"aaaa");
    EXPECT_FALSE(placed.text(2).has_value());
    EXPECT_EQ(image.entries()[2].value, 0xBADu);
    EXPECT_EQ(placed.text(3), u"c");
    EXPECT_EQ(image.entries()[3].value, 10u);
    EXPECT_TRUE(packTexts(image, texts, 0).totalSize() == 0);
}

TEST_F(StringPool, ReadingIgnoresTheLowOffsetBitAndRejectsUnterminatedTexts) {
    const std::vector<std::uint8_t> pool{'a', 0, 'b', 0, 0, 0, 'c', 0};
    image.entries()[0] = {AssignmentKind::TextBlock, 0, 3};  // taken as 2
    image.entries()[1] = {AssignmentKind::TextBlock, 0, 6};  // no terminator before the end
    image.entries()[2] = {AssignmentKind::TextBlock, 0, 0xFFFFFFFF};
    const StringTable back = unpackTexts(image, pool);
    EXPECT_EQ(back.text(0), u"b");
    EXPECT_FALSE(back.text(1).has_value());
    EXPECT_FALSE(back.text(2).has_value());
}

TEST_F(StringPool, SharedOffsetsCannotInflateTheTable) {
    // A doctored pool: every entry points at one long text.
    std::vector<std::uint8_t> pool(2002, 'x');
    pool[2000] = 0;
    pool[2001] = 0;
    for (auto& entry : image.entries()) {
        entry = {AssignmentKind::TextBlock, 0, 0};
    }
    const StringTable back = unpackTexts(image, pool);
    EXPECT_TRUE(back.text(0).has_value());
    EXPECT_FALSE(back.text(1).has_value());
    EXPECT_LE(back.totalSize(), pool.size());
}

}  // namespace
}  // namespace keyloom
