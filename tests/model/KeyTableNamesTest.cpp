// Key names from the language file, the "unknown key" format and the cut to
// the caller's buffer.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/KeyNameCut.h"
#include "model/KeyTable.h"

namespace keyloom {
namespace {

TextLookup FakeLanguage(std::map<std::string, std::string> texts) {
    return [texts = std::move(texts)](std::string_view key) {
        const auto found = texts.find(std::string(key));
        return found == texts.end() ? std::string("#Error") : found->second;
    };
}

const TextLookup kLanguage = FakeLanguage({{"IDS_KEYBOARD_A", "A"},
                                           {"IDS_KEYBOARD_UP", "Pfeil ↑ hoch"},
                                           {"IDS_KEYBOARD_ESC", ""},
                                           {"IDS_KEYBOARD_LSHIFT", "Shift"},
                                           {"UNKNOWN_KEY", "Key 0x%04X"}});

TEST(KeyNames, NameComesFromTheLanguageFile) {
    EXPECT_EQ(KeyName(0x01E, 260, kLanguage), "A");
    EXPECT_EQ(KeyName(0x148, 260, kLanguage), "Pfeil ↑ hoch");
    EXPECT_EQ(KeyName(0x01F, 260, kLanguage), "#Error");  // name key missing from the file
}

TEST(KeyNames, KeysWithoutANameUseTheUnknownKeyFormat) {
    EXPECT_EQ(KeyName(0x064, 260, kLanguage), "Key 0x0064");   // F13 has no name key
    EXPECT_EQ(KeyName(0x001, 260, kLanguage), "Key 0x0001");   // its text is empty
    EXPECT_EQ(KeyName(0x055, 260, kLanguage), "Key 0x0055");   // empty row
    EXPECT_EQ(KeyName(0x4321, 260, kLanguage), "Key 0x4321");  // beyond the table
    EXPECT_EQ(KeyName(0x064, 260, FakeLanguage({{"UNKNOWN_KEY", "Taste %d"}})), "Taste 100");
    EXPECT_EQ(KeyName(0x064, 260, FakeLanguage({})), "#Error");
    // A hostile format can neither read a missing argument nor write memory.
    EXPECT_EQ(KeyName(0x064, 260, FakeLanguage({{"UNKNOWN_KEY", "%s%n %u %d"}})), "%s%n 100 %d");
}

TEST(KeyNames, NameIsCutToTheBuffer) {
    EXPECT_EQ(KeyName(0x148, 8, kLanguage), "Pfeil ↑");  // 7 characters, the arrow is 3 bytes
    EXPECT_EQ(KeyName(0x148, 7, kLanguage), "Pfeil ");
    EXPECT_EQ(KeyName(0x01E, 1, kLanguage), "");
    EXPECT_EQ(KeyName(0x01E, 0, kLanguage), "");
    EXPECT_EQ(KeyName(0x064, 5, kLanguage), "Key ");
}

TEST(KeyNames, ListEntryNames) {
    EXPECT_EQ(ListEntryName(0, kLanguage), "A");
    EXPECT_EQ(ListEntryName(99, kLanguage), "Shift");
    EXPECT_EQ(ListEntryName(1, kLanguage), "#Error");
    EXPECT_EQ(ListEntryName(106, kLanguage), "");     // no row there
    EXPECT_EQ(ListEntryName(0x802D, kLanguage), "");  // F13: no name key
    EXPECT_EQ(ListEntryName(kNoListPosition, kLanguage), "");
}

TEST(KeyNames, ProcessWideLookup) {
    SetKeyTextLookup(nullptr);
    EXPECT_EQ(KeyName(0x01E, 260), "#Error");
    SetKeyTextLookup(kLanguage);
    EXPECT_EQ(KeyName(0x01E, 260), "A");
    EXPECT_EQ(ListEntryName(0), "A");
    SetKeyTextLookup(nullptr);
    EXPECT_EQ(KeyName(0x01E, 260, TextLookup{}), "#Error");
}

TEST(KeyNameCut, CutNeverSplitsACharacter) {
    EXPECT_EQ(CutToCharacters("abc", 5), "abc");
    EXPECT_EQ(CutToCharacters("abc", 0), "");
    EXPECT_EQ(CutToCharacters("←→↑", 2), "←→");
    EXPECT_EQ(CutToCharacters("a\xF0\x9F\x98\x80z", 2), "a\xF0\x9F\x98\x80");
    // Stray bytes count as characters of their own and never run past the end.
    EXPECT_EQ(CutToCharacters("\xE2\x86", 1), "\xE2\x86");
    EXPECT_EQ(CutToCharacters("\xFF\xFFx", 2), "\xFF\xFF");
}

}  // namespace
}  // namespace keyloom
