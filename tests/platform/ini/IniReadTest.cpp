#include <gtest/gtest.h>

#include <string>

#include "platform/ini/Ini.h"
#include "support/TempDir.h"

namespace keyloom::ini {
namespace {

using keyloom::testing::TempDir;

std::string bytesOf(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// UTF-16LE with byte-order mark, for ASCII text.
std::string utf16le(const std::string& ascii) {
    std::string out = bytesOf({0xFF, 0xFE});
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST(IniRead, NamesMatchWithoutRegardToCase) {
    TempDir dir;
    auto path = dir.write("a.ini", "[Text]\nMain_Caption=Keyloom\n");
    EXPECT_EQ(readString(path, "TEXT", "MAIN_CAPTION", "d"), "Keyloom");
    EXPECT_EQ(readString(path, "text", "main_caption", "d"), "Keyloom");
}

TEST(IniRead, BlanksAroundNamesAndValuesDoNotCount) {
    TempDir dir;
    auto path = dir.write("a.ini", "  [ SCREEN ]  \r\n\t Main \t=  main.jpg \t\r\n");
    EXPECT_EQ(readString(path, "SCREEN", "Main", "d"), "main.jpg");
}

TEST(IniRead, OnePairOfEnclosingQuotesIsRemoved) {
    TempDir dir;
    auto path = dir.write("a.ini",
                          "[T]\n"
                          "a=\" (set: \"\n"
                          "b='single'\n"
                          "c=\"\"twice\"\"\n"
                          "d=\"unbalanced\n"
                          "e=\"mixed'\n"
                          "f=\"\n");
    EXPECT_EQ(readString(path, "T", "a", ""), " (set: ");
    EXPECT_EQ(readString(path, "T", "b", ""), "single");
    EXPECT_EQ(readString(path, "T", "c", ""), "\"twice\"");
    EXPECT_EQ(readString(path, "T", "d", ""), "\"unbalanced");
    EXPECT_EQ(readString(path, "T", "e", ""), "\"mixed'");
    EXPECT_EQ(readString(path, "T", "f", ""), "\"");
}

TEST(IniRead, MissingFileSectionOrKeyGivesDefaultButEmptyValueDoesNot) {
    TempDir dir;
    auto path = dir.write("a.ini", "[T]\nempty=\nnoequals\n");
    EXPECT_EQ(readString(dir.file("none.ini"), "T", "x", "#Error"), "#Error");
    EXPECT_EQ(readString(path, "Other", "x", "#Error"), "#Error");
    EXPECT_EQ(readString(path, "T", "x", "#Error"), "#Error");
    EXPECT_EQ(readString(path, "T", "noequals", "#Error"), "#Error");
    EXPECT_EQ(readString(path, "T", "empty", "#Error"), "");
}

TEST(IniRead, CommentsAreSkippedAndFirstOccurrenceWins) {
    TempDir dir;
    auto path = dir.write("a.ini",
                          "top=before any section\n"
                          "[T]\n"
                          "; k=commented\n"
                          "k=first\n"
                          "K=second\n"
                          "[t]\n"
                          "k=other section\n"
                          "only=in second\n"
                          "[U]\n"
                          "eq=a=b\n");
    EXPECT_EQ(readString(path, "T", "k", ""), "first");
    EXPECT_EQ(readString(path, "T", "only", "missing"), "missing");
    EXPECT_EQ(readString(path, "U", "eq", ""), "a=b");
    EXPECT_EQ(readString(path, "", "top", ""), "before any section");
    EXPECT_EQ(sectionNames(path), (std::vector<std::string>{"T", "U"}));
    EXPECT_EQ(keyNames(path, "t"), (std::vector<std::string>{"k"}));
}

TEST(IniRead, ValuesAreCutTo259Utf16Units) {
    TempDir dir;
    std::string longValue(300, 'x');
    auto path = dir.write("a.ini", "[T]\nk=" + longValue + "\n");
    EXPECT_EQ(readString(path, "T", "k", "").size(), 259u);
    EXPECT_EQ(readString(path, "T", "k", "", 10), std::string(9, 'x'));
    EXPECT_EQ(readString(path, "T", "k", "", 0), "");
    // The default is cut the same way.
    EXPECT_EQ(readString(path, "T", "missing", longValue).size(), 259u);
    // A character outside the basic plane takes two units and is never split.
    std::string emoji = "\xF0\x9F\x98\x80";  // U+1F600
    std::string text = std::string(258, 'a') + emoji + "b";
    auto path2 = dir.write("b.ini", "[T]\nk=" + text + "\n");
    EXPECT_EQ(readString(path2, "T", "k", ""), std::string(258, 'a'));
    EXPECT_EQ(readString(path2, "T", "k", "", 262), text);
}

TEST(IniRead, Utf16LittleEndianFileWithByteOrderMark) {
    TempDir dir;
    std::string content = utf16le("[TEXT]\r\nA=Volume Up\r\n");
    // "é" (U+00E9) as one UTF-16 unit.
    content += bytesOf({'B', 0, '=', 0, 0xE9, 0x00, '\r', 0, '\n', 0});
    auto path = dir.write("a.ini", content);
    EXPECT_EQ(readString(path, "text", "a", ""), "Volume Up");
    EXPECT_EQ(readString(path, "TEXT", "B", ""), "\xC3\xA9");
}

TEST(IniRead, Utf8FileWithOrWithoutByteOrderMark) {
    TempDir dir;
    auto plain = dir.write("a.ini",
                           "[T]\nk=Gr\xC3\xBC\xC3\x9F"
                           "e\n");
    auto bom = dir.write("b.ini", "\xEF\xBB\xBF[T]\nk=caf\xC3\xA9\n");
    EXPECT_EQ(readString(plain, "T", "k", ""),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(readString(bom, "T", "k", ""), "caf\xC3\xA9");
}

TEST(IniRead, BytesThatAreNotUtf8ReadAsLatin1) {
    TempDir dir;
    auto path = dir.write("a.ini", "[T]\nk=caf\xE9 \xFC\n");
    EXPECT_EQ(readString(path, "T", "k", ""), "caf\xC3\xA9 \xC3\xBC");
}

TEST(IniRead, ReadIntFollowsDecimalRules) {
    TempDir dir;
    auto path = dir.write("a.ini", "[T]\na=42\nb=-7\nc=12abc\nd=abc\ne=\nf=99999999999\ng=\"5\"\n");
    EXPECT_EQ(readInt(path, "T", "a", 1), 42);
    EXPECT_EQ(readInt(path, "T", "b", 1), -7);
    EXPECT_EQ(readInt(path, "T", "c", 1), 12);
    EXPECT_EQ(readInt(path, "T", "d", 1), 0);
    EXPECT_EQ(readInt(path, "T", "e", 1), 1);
    EXPECT_EQ(readInt(path, "T", "f", 1), 2147483647);
    EXPECT_EQ(readInt(path, "T", "g", 1), 5);
    EXPECT_EQ(readInt(path, "T", "missing", 3), 3);
}

TEST(IniRead, FolderReadsAsMissing) {
    TempDir dir;
    dir.write("folder.ini/inner", "x");
    EXPECT_EQ(readString(dir.file("folder.ini"), "T", "k", "d"), "d");
}

}  // namespace
}  // namespace keyloom::ini
