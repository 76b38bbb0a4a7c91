// Every row of the key table against a separate transcription kept in
// key_table_rows.txt, plus the invariants the rows must keep among themselves.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/KeyTable.h"

namespace keyloom {
namespace {

struct ExpectedRow {
    int index = 0;
    unsigned code = 0, vk = 0, secondVk = 0, listPosition = 0, deviceCode = 0;
    std::string caption, nameKey;
};

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

std::vector<ExpectedRow> ReadExpectedRows() {
    std::ifstream file(KEYLOOM_SOURCE_DIR "/tests/model/key_table_rows.txt");
    std::vector<ExpectedRow> rows;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto f = SplitTabs(line);
        if (f.size() != 8) {
            ADD_FAILURE() << "malformed line: " << line;
            continue;
        }
        const auto hex = [](const std::string& s) { return std::stoul(s, nullptr, 16); };
        rows.push_back({std::stoi(f[0]), static_cast<unsigned>(hex(f[1])),
                        static_cast<unsigned>(hex(f[2])), static_cast<unsigned>(hex(f[3])),
                        static_cast<unsigned>(hex(f[4])), static_cast<unsigned>(hex(f[5])), f[6],
                        f[7] == "-" ? "" : f[7]});
    }
    return rows;
}

TEST(KeyTableRows, EveryRowMatchesTheTranscription) {
    const auto expected = ReadExpectedRows();
    ASSERT_EQ(expected.size(), 157u);
    std::set<int> filled;
    for (const ExpectedRow& e : expected) {
        SCOPED_TRACE("row " + std::to_string(e.index));
        ASSERT_TRUE(e.index >= 0 && e.index < 256);
        filled.insert(e.index);
        const KeyRow& row = KeyTable()[static_cast<std::size_t>(e.index)];
        EXPECT_EQ(KeyIndexOf(static_cast<KeyCode>(e.code)), e.index);
        EXPECT_EQ(KeyCodeOf(e.index), e.code);
        EXPECT_EQ(row.vk, e.vk);
        EXPECT_EQ(row.secondVk, e.secondVk);
        EXPECT_EQ(row.listPosition, e.listPosition);
        EXPECT_EQ(row.deviceCode, e.deviceCode);
        EXPECT_EQ(row.caption, e.caption);
        EXPECT_EQ(row.nameKey, e.nameKey);
    }
    EXPECT_EQ(filled.size(), expected.size()) << "an index is listed twice";
    for (int index = 0; index < 256; ++index) {
        if (filled.count(index) == 0) {
            const KeyRow& row = KeyTable()[static_cast<std::size_t>(index)];
            EXPECT_EQ(row.listPosition, kNoListPosition) << index;
            EXPECT_EQ(row.vk | row.secondVk | row.deviceCode, 0) << index;
            EXPECT_TRUE(row.caption.empty() && row.nameKey.empty()) << index;
        }
    }
}

TEST(KeyTableRows, ListPositionsAreDenseAndOnlyRightShiftRepeats) {
    std::map<unsigned, std::vector<int>> rowsAt;
    for (int index = 1; index < 256; ++index) {
        const auto position = KeyTable()[static_cast<std::size_t>(index)].listPosition;
        if (position != kNoListPosition) {
            rowsAt[position].push_back(index);
        }
    }
    for (unsigned p = 0; p <= 105; ++p) {
        ASSERT_EQ(rowsAt.count(p), 1u) << "choice list position " << p << " has no key";
    }
    EXPECT_EQ(rowsAt.count(106), 0u);
    for (unsigned p = 107; p <= 111; ++p) {
        EXPECT_EQ(rowsAt[p].size(), 1u) << p;
    }
    for (unsigned p = 0x8001; p <= 0x802D; ++p) {
        EXPECT_EQ(rowsAt[p].size(), 1u) << std::hex << p;
    }
    EXPECT_EQ(rowsAt.size(), 106u + 5u + 45u);
    for (const auto& [position, rows] : rowsAt) {
        if (position == 103) {
            EXPECT_EQ(rows, (std::vector<int>{54, 182}));
        } else {
            EXPECT_EQ(rows.size(), 1u) << position;
        }
    }
}

TEST(KeyTableRows, DeviceCodesAreUniqueExceptTheKnownPairs) {
    std::map<unsigned, std::vector<int>> rowsWith;
    for (int index = 1; index < 256; ++index) {
        const KeyRow& row = KeyTable()[static_cast<std::size_t>(index)];
        if (row.listPosition != kNoListPosition && row.deviceCode != 0) {
            rowsWith[row.deviceCode].push_back(index);
        }
    }
    for (const auto& [code, rows] : rowsWith) {
        if (code == 0x48) {
            EXPECT_EQ(rows, (std::vector<int>{69, 198}));  // Pause and Break
        } else if (code == 0xE5) {
            EXPECT_EQ(rows, (std::vector<int>{54, 182}));  // Right Shift twice
        } else {
            EXPECT_EQ(rows.size(), 1u) << std::hex << code;
        }
    }
    // Every consumer pseudo code in use has its usage in the consumer table.
    for (unsigned code = 0xC0; code <= 0xD1; ++code) {
        EXPECT_EQ(rowsWith[code].size(), 1u) << std::hex << code;
        EXPECT_NE(ConsumerUsageTable()[code - 0xC0], 0) << std::hex << code;
    }
}

TEST(KeyTableRows, SecondVirtualKeyDiffersOnlyOnTheKeypadDigitsAndPoint) {
    const std::set<int> keypad = {71, 72, 73, 75, 76, 77, 79, 80, 81, 82, 83};
    for (int index = 0; index < 256; ++index) {
        const KeyRow& row = KeyTable()[static_cast<std::size_t>(index)];
        EXPECT_EQ(row.secondVk != row.vk, keypad.count(index) == 1) << index;
    }
}

}  // namespace
}  // namespace keyloom
