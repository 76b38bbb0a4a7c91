// The key words keyloomctl prints must lead back to the key they name.

#include <gtest/gtest.h>

#include <memory>

#include "cli/KeySyntax.h"
#include "model/KeyTable.h"
#include "model/KeyWords.h"
#include "storage/Language.h"

namespace keyloom::testing {
namespace {

class KeySyntax : public ::testing::Test {
protected:
    void SetUp() override {
        installLanguageFiles(
            std::make_shared<LanguageFiles>(KEYLOOM_SOURCE_DIR "/skin/", nullptr, 0x0409));
        SetKeyTextLookup([](std::string_view key) { return lookupText(key); });
    }
    void TearDown() override { installLanguageFiles(nullptr); }
};

TEST_F(KeySyntax, EveryPrintedNameParsesBackToItsOwnEntry) {
    // Found by fuzzing: "0310" reaches the extended right Shift's entry,
    // whose caption is the ordinary right Shift's; "0x20e" reaches G6 of
    // the second bank of extra keys.
    for (const char* text :
         {"0310", "0x136", "0x20e", "Right Shift", "Num 7", "A", "G3", "0x011e"}) {
        SCOPED_TRACE(text);
        const auto entry = cli::parseKeyEntry(text);
        ASSERT_TRUE(entry);
        const auto back = cli::parseKeyEntry(cli::entryName(*entry));
        if (back) {
            EXPECT_EQ(*back, *entry) << cli::entryName(*entry);
        }
    }
    EXPECT_EQ(cli::entryName(*cli::parseKeyEntry("Right Shift")), "Right Shift");
}

// The built-in names are the English language file's, and a legend that
// earlier JSON exports wrote for a key still names that key.
TEST_F(KeySyntax, BuiltInNamesMatchTheEnglishFileAndOldLegendsStillRead) {
    const auto table = KeyTable();
    for (std::size_t index = 1; index < table.size(); ++index) {
        const KeyRow& row = table[index];
        if (!row.nameKey.empty()) {
            EXPECT_EQ(words::englishText(row.nameKey), lookupText(row.nameKey)) << row.nameKey;
        }
        std::size_t sharing = 0;
        for (const KeyRow& other : table)
            sharing += !row.caption.empty() && other.caption == row.caption;
        if (sharing == 1) {
            EXPECT_EQ(words::parseKeyCodeWord(row.caption), KeyCodeOf(static_cast<int>(index)))
                << row.caption;
        }
    }
}

}  // namespace
}  // namespace keyloom::testing
