#include "sim/SimMemory.h"

#include <gtest/gtest.h>

#include <set>

namespace keyloom::sim {
namespace {

struct LayoutCount {
    int keys = 0, modifiers = 0, extraKeys = 0, empty = 0;
    std::set<int> extraNumbers;
};

LayoutCount countEntries(const std::vector<std::uint8_t>& matrix, std::size_t entries) {
    LayoutCount count;
    std::set<int> usages;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint8_t* e = &matrix[3 * i];
        if (e[0] == 2 && e[1] == 2) {
            ++count.keys;
            EXPECT_TRUE(usages.insert(e[2]).second) << "usage twice: " << int(e[2]);
        } else if (e[0] == 2 && e[1] == 1) {
            ++count.modifiers;
            EXPECT_TRUE(usages.insert(0x100 + e[2]).second);
        } else if (e[0] == 6 && e[1] == 0xA2) {
            ++count.extraKeys;
            count.extraNumbers.insert(e[2]);
        } else {
            EXPECT_EQ(e[0], 5);
            ++count.empty;
        }
    }
    return count;
}

TEST(SimMemory, FactoryLayoutHoldsTheKeysOfBothModels) {
    auto first = factoryKeyMatrix(kModel652F);
    ASSERT_EQ(first.size(), 378u);
    auto count = countEntries(first, 126);
    EXPECT_EQ(count.keys + count.modifiers, 105);
    EXPECT_EQ(count.modifiers, 8);
    EXPECT_EQ(count.extraKeys, 0);

    auto second = factoryKeyMatrix(kModel5064);
    ASSERT_EQ(second.size(), 384u);
    count = countEntries(second, 128);
    EXPECT_EQ(count.keys + count.modifiers, 105);
    EXPECT_EQ(count.extraKeys, 18);
    EXPECT_EQ(count.extraNumbers.size(), 18u);
    EXPECT_EQ(*count.extraNumbers.begin(), 1);
    EXPECT_EQ(*count.extraNumbers.rbegin(), 18);
    EXPECT_EQ(count.empty, 5);  // three in the layout, the two entries past it
    // Same key positions on both models.
    for (std::size_t i = 0; i < 126; ++i)
        if (first[3 * i] == 2) {
            EXPECT_EQ(second[3 * i + 2], first[3 * i + 2]);
        }
}

TEST(SimMemory, FactoryAreasHaveTheirSizesAndStartingContents) {
    SimMemory memory = factoryMemory(kModel5064, 32);
    EXPECT_EQ(memory.keyMatrices.size(), 3u * 512);
    for (std::size_t p = 0; p < 3; ++p)
        EXPECT_TRUE(std::equal(memory.defaultMatrix.begin(), memory.defaultMatrix.end(),
                               memory.keyMatrices.begin() + p * 512));
    EXPECT_EQ(memory.macroArea.size(), 4096u);
    const std::uint8_t header[] = {0xAA, 0x55, 16, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(header), std::end(header), memory.macroArea.begin()));
    for (std::size_t p = 0; p < 3; ++p) {
        const std::uint8_t* record = &memory.profileSettings[42 * p];
        EXPECT_GE(record[0], 1);
        EXPECT_LE(record[1], 4);
        EXPECT_LE(record[2], 3);
        EXPECT_TRUE(record[3] == 0 || record[3] == 255);
        EXPECT_LE(record[15], 3);
    }
    EXPECT_TRUE(emptyMacroArea(0).empty());
    EXPECT_EQ(emptyMacroArea(4).size(), 4u);
}

}  // namespace
}  // namespace keyloom::sim
