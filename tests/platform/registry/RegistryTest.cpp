#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry/RegistryFormat.h"
#include "support/TempDir.h"

namespace keyloom::registry {
namespace {

using keyloom::testing::TempDir;

constexpr std::string_view kKey = "Software\\ORVK_Keyboard";
constexpr std::string_view kAppKey = "Software\\ORVK_Keyboard\\Orvane Compact Keyboard\\PROFILES";

TEST(Registry, ValuesKeepTheirTypeAndMissingDiffersFromWrongType) {
    TempDir dir;
    Registry reg(dir.file("cfg/ORVK_Keyboard/registry.ini"));
    std::uint32_t dword = 7;
    std::string text = "unchanged";
    EXPECT_EQ(reg.readDword(kKey, "dwLanguageId", dword), ValueState::Missing);
    EXPECT_EQ(dword, 7u);

    ASSERT_TRUE(reg.writeDword(kKey, "dwLanguageId", 0x0409));
    ASSERT_TRUE(reg.writeString(kAppKey, "Flip", "1"));
    EXPECT_EQ(reg.readDword(kKey, "DWLANGUAGEID", dword), ValueState::Present);
    EXPECT_EQ(dword, 0x0409u);
    EXPECT_EQ(reg.readString(kKey, "dwLanguageId", text), ValueState::WrongType);
    EXPECT_EQ(reg.readDword(kAppKey, "Flip", dword), ValueState::WrongType);
    EXPECT_EQ(reg.readString(kAppKey, "flip", text), ValueState::Present);
    EXPECT_EQ(text, "1");
    EXPECT_EQ(
        reg.readString("software\\orvk_keyboard\\orvane compact keyboard\\profiles", "Flip", text),
        ValueState::Present);

    // A value can change type.
    ASSERT_TRUE(reg.writeString(kKey, "dwLanguageId", "0x409"));
    EXPECT_EQ(reg.readDword(kKey, "dwLanguageId", dword), ValueState::WrongType);
}

TEST(Registry, StringsAndNamesSurviveEveryCharacter) {
    TempDir dir;
    Registry reg(dir.file("registry.ini"));
    const std::string tricky =
        "  \"quoted\" \\ back\\slash\nnew line\ttab = ; [x] \x01 caf\xC3\xA9  ";
    const std::string name = " Record delay = on; [1] ";
    ASSERT_TRUE(reg.writeString(kAppKey, name, tricky));
    ASSERT_TRUE(reg.writeString(kAppKey, "PROFILE01", "/home/u/My \"best\".klm"));
    std::string text;
    ASSERT_EQ(reg.readString(kAppKey, name, text), ValueState::Present);
    EXPECT_EQ(text, tricky);
    ASSERT_EQ(reg.readString(kAppKey, "profile01", text), ValueState::Present);
    EXPECT_EQ(text, "/home/u/My \"best\".klm");
    EXPECT_FALSE(reg.isDamaged());
    EXPECT_FALSE(reg.writeString(kAppKey, "x", std::string("nul\0inside", 10)));
    EXPECT_FALSE(reg.writeString("Bad]Key", "x", "v"));
}

TEST(Registry, FileIsReadableText) {
    TempDir dir;
    Registry reg(dir.file("registry.ini"));
    ASSERT_TRUE(reg.writeDword(kKey, "dwLanguageId", 0x0409));
    ASSERT_TRUE(reg.writeString(kAppKey, "Flip", "0"));
    EXPECT_EQ(dir.read("registry.ini"),
              "[Software\\ORVK_Keyboard]\n"
              "dwLanguageId=dword:00000409\n"
              "\n"
              "[Software\\ORVK_Keyboard\\Orvane Compact Keyboard\\PROFILES]\n"
              "Flip=\"0\"\n");
}

TEST(Registry, HandEditedValuesAreAccepted) {
    TempDir dir;
    auto path = dir.write("registry.ini",
                          "; my settings\n"
                          "[software\\orvk_keyboard]\n"
                          "  dwLanguageId = dword:C04  \n");
    Registry reg(path);
    std::uint32_t dword = 0;
    EXPECT_EQ(reg.readDword(kKey, "dwLanguageId", dword), ValueState::Present);
    EXPECT_EQ(dword, 0x0C04u);
    EXPECT_FALSE(reg.isDamaged());
}

TEST(Registry, DamagedFileReadsAsEmptyAndIsKeptBeforeRewriting) {
    const char* damagedContents[] = {
        "[Software\\ORVK_Keyboard]\ndwLanguageId=dword:xyz\n",
        "[Software\\ORVK_Keyboard]\nthis line is junk\n",
        "dwLanguageId=dword:00000409\n",  // value outside any key
        "[Software\\ORVK_Keyboard]\nFlip=\"unterminated\n",
        "[Software\\ORVK_Keyboard]\nFlip=\"bad \\q escape\"\n",
        "\x89PNG\r\n\x1A\n\xFF\xD8 binary junk",
    };
    for (const char* contents : damagedContents) {
        SCOPED_TRACE(contents);
        TempDir dir;
        auto path = dir.write("registry.ini", contents);
        dir.write("registry.ini.damaged-1", "an older damaged file");
        Registry reg(path);
        EXPECT_TRUE(reg.isDamaged());
        std::uint32_t dword = 0;
        std::string text;
        EXPECT_EQ(reg.readDword(kKey, "dwLanguageId", dword), ValueState::Missing);
        EXPECT_EQ(reg.readString(kKey, "Flip", text), ValueState::Missing);

        ASSERT_TRUE(reg.writeDword(kKey, "dwLanguageId", 0x0409));
        EXPECT_FALSE(reg.isDamaged());
        EXPECT_EQ(reg.readDword(kKey, "dwLanguageId", dword), ValueState::Present);
        EXPECT_EQ(dir.read("registry.ini.damaged-1"), "an older damaged file");
        EXPECT_EQ(dir.read("registry.ini.damaged-2"), contents);
        EXPECT_EQ(dir.read("registry.ini"),
                  "[Software\\ORVK_Keyboard]\ndwLanguageId=dword:00000409\n");
    }
}

TEST(Registry, ValuesCanBeRemoved) {
    TempDir dir;
    Registry reg(dir.file("registry.ini"));
    ASSERT_TRUE(reg.writeString(kAppKey, "PROFILE00", "2"));
    EXPECT_TRUE(reg.removeValue(kAppKey, "profile00"));
    EXPECT_FALSE(reg.removeValue(kAppKey, "profile00"));
    std::string text;
    EXPECT_EQ(reg.readString(kAppKey, "PROFILE00", text), ValueState::Missing);
}

TEST(Registry, ConcurrentWritersLoseNothing) {
    TempDir dir;
    Registry reg(dir.file("registry.ini"));
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 5; ++i) {
                if (!reg.writeDword(kKey, "v" + std::to_string(t * 10 + i), t * 10 + i))
                    ++failures;
                std::uint32_t dword = 0;
                if (reg.readDword(kKey, "v" + std::to_string(t * 10 + i), dword) !=
                    ValueState::Present) {
                    ++failures;
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
    for (int n : {0, 4, 13, 21, 34}) {
        std::uint32_t dword = 0;
        EXPECT_EQ(reg.readDword(kKey, "v" + std::to_string(n), dword), ValueState::Present);
        EXPECT_EQ(dword, static_cast<std::uint32_t>(n));
    }
}

TEST(RegistryFormat, DecodesOnlyWellFormedValues) {
    EXPECT_EQ(decodeValue("dword:ffffffff")->dword, 0xFFFFFFFFu);
    EXPECT_FALSE(decodeValue("dword:100000000"));
    EXPECT_FALSE(decodeValue("dword:"));
    EXPECT_FALSE(decodeValue("42"));
    EXPECT_FALSE(decodeValue("\"a\"b\""));
    EXPECT_FALSE(decodeValue("\"\\x0\""));
    EXPECT_FALSE(decodeValue("\"\\x00\""));
    EXPECT_EQ(decodeValue("\"\\x41\\\\\"")->text, "A\\");
    EXPECT_EQ(decodeValue("\"\"")->text, "");
}

}  // namespace
}  // namespace keyloom::registry
