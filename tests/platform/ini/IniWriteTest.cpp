#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/ini/Ini.h"
#include "support/TempDir.h"

namespace keyloom::ini {
namespace {

using keyloom::testing::TempDir;

TEST(IniWrite, CreatesFileAsUtf8WithSectionAndKey) {
    TempDir dir;
    auto path = dir.file("tzkb.ini");
    ASSERT_TRUE(writeString(path, "KEYCOLOR", "DengCheck", "1"));
    EXPECT_EQ(dir.read("tzkb.ini"), "[KEYCOLOR]\nDengCheck=1\n");
    EXPECT_EQ(readString(path, "KEYCOLOR", "DengCheck", "0"), "1");
}

TEST(IniWrite, ReplacesValueAndKeepsEveryOtherLine) {
    TempDir dir;
    std::string original =
        "; settings\r\n"
        "[A]\r\n"
        "  Key = old   \r\n"
        "other=1\r\n"
        "\r\n"
        "; about B\r\n"
        "[B]\r\n"
        "x=2\r\n";
    auto path = dir.write("a.ini", original);
    ASSERT_TRUE(writeString(path, "a", "KEY", "new"));
    EXPECT_EQ(dir.read("a.ini"),
              "; settings\r\n"
              "[A]\r\n"
              "Key=new\r\n"
              "other=1\r\n"
              "\r\n"
              "; about B\r\n"
              "[B]\r\n"
              "x=2\r\n");
}

TEST(IniWrite, AddsKeyAfterLastKeyOfSectionAndNewSectionAtEnd) {
    TempDir dir;
    auto path = dir.write("a.ini", "[A]\nx=1\n\n; about B\n[B]\ny=2");
    ASSERT_TRUE(writeString(path, "A", "z", "3"));
    ASSERT_TRUE(writeString(path, "C", "w", "4"));
    EXPECT_EQ(dir.read("a.ini"), "[A]\nx=1\nz=3\n\n; about B\n[B]\ny=2\n\n[C]\nw=4\n");
}

TEST(IniWrite, KeepsUtf16Encoding) {
    TempDir dir;
    std::string content("\xFF\xFE", 2);
    for (char c : std::string("[T]\r\nk=1\r\n")) {
        content += c;
        content += '\0';
    }
    auto path = dir.write("a.ini", content);
    ASSERT_TRUE(writeString(path, "T", "k", "\xC3\xA9"));  // é
    std::string expected("\xFF\xFE", 2);
    for (char c : std::string("[T]\r\nk=")) {
        expected += c;
        expected += '\0';
    }
    expected += std::string("\xE9\x00\r\x00\n\x00", 6);
    EXPECT_EQ(dir.read("a.ini"), expected);
    EXPECT_EQ(readString(path, "T", "k", ""), "\xC3\xA9");
}

TEST(IniWrite, KeepsUtf8ByteOrderMarkAndLatin1) {
    TempDir dir;
    auto bom = dir.write("bom.ini", "\xEF\xBB\xBF[T]\nk=1\n");
    ASSERT_TRUE(writeString(bom, "T", "k", "2"));
    EXPECT_EQ(dir.read("bom.ini"), "\xEF\xBB\xBF[T]\nk=2\n");

    auto latin = dir.write("latin.ini", "[T]\nname=Jos\xE9\nk=1\n");
    ASSERT_TRUE(writeString(latin, "T", "k", "\xC3\xBC"));  // ü fits Latin-1
    EXPECT_EQ(dir.read("latin.ini"), "[T]\nname=Jos\xE9\nk=\xFC\n");
}

TEST(IniWrite, Latin1FileThatCannotHoldTheTextBecomesUtf8WithoutLoss) {
    TempDir dir;
    auto latin = dir.write("latin.ini", "[T]\nname=Jos\xE9\n");
    ASSERT_TRUE(writeString(latin, "T", "k", "\xE2\x82\xAC"));  // € is not in Latin-1
    EXPECT_EQ(dir.read("latin.ini"), "[T]\nname=Jos\xC3\xA9\nk=\xE2\x82\xAC\n");
    EXPECT_EQ(readString(latin, "T", "name", ""), "Jos\xC3\xA9");
}

TEST(IniWrite, RefusesNamesAndValuesThatWouldBreakTheFile) {
    TempDir dir;
    auto path = dir.write("a.ini", "[T]\nk=1\n");
    EXPECT_FALSE(writeString(path, "T", "k", "two\nlines"));
    EXPECT_FALSE(writeString(path, "T", "a=b", "v"));
    EXPECT_FALSE(writeString(path, "T", "[x", "v"));
    EXPECT_FALSE(writeString(path, "T", ";x", "v"));
    EXPECT_FALSE(writeString(path, "T", " padded", "v"));
    EXPECT_FALSE(writeString(path, "A]B", "k", "v"));
    EXPECT_FALSE(writeString(path, "", "k", "v"));
    EXPECT_FALSE(writeString(path, "T", "", "v"));
    EXPECT_EQ(dir.read("a.ini"), "[T]\nk=1\n");
}

TEST(IniWrite, RemovesKeysAndSections) {
    TempDir dir;
    auto path = dir.write("a.ini", "[A]\nx=1\ny=2\n[B]\nz=3\n");
    EXPECT_TRUE(removeKey(path, "A", "X"));
    EXPECT_FALSE(removeKey(path, "A", "missing"));
    EXPECT_TRUE(removeSection(path, "b"));
    EXPECT_EQ(dir.read("a.ini"), "[A]\ny=2\n");
}

TEST(IniWrite, UnreadableFileIsLeftAlone) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDir dir;
    auto path = dir.write("a.ini", "[T]\nk=1\n");
    ::chmod(path.c_str(), 0200);
    EXPECT_FALSE(writeString(path, "T", "k", "2"));
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(dir.read("a.ini"), "[T]\nk=1\n");
}

TEST(IniWrite, SomethingOtherThanAFileIsNeitherReadNorReplaced) {
    TempDir dir;
    auto fifo = dir.file("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(readString(fifo, "T", "k", "d"), "d");
    EXPECT_FALSE(writeString(fifo, "T", "k", "v"));
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(IniWrite, WriteThroughSymbolicLinkUpdatesTheTarget) {
    TempDir dir;
    auto target = dir.write("real.ini", "[T]\nk=1\n");
    auto link = dir.file("link.ini");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(writeString(link, "T", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(dir.read("real.ini"), "[T]\nk=2\n");
}

TEST(IniWrite, MissingFolderMakesWriteFail) {
    TempDir dir;
    EXPECT_FALSE(writeString(dir.file("no/such/folder.ini"), "T", "k", "v"));
}

}  // namespace
}  // namespace keyloom::ini
