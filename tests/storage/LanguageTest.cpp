#include "storage/Language.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "storage/LanguageTables.h"
#include "storage/SettingsKey.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using keyloom::testing::TempDir;

class LanguageTest : public ::testing::Test {
protected:
    LanguageTest()
        : registry_(std::make_shared<registry::Registry>(dir_.file("cfg/registry.ini"))) {}

    LanguageFiles files(std::uint16_t systemLanguage = 0x0409) {
        return LanguageFiles(dir_.path() + "/", registry_, systemLanguage);
    }

    std::uint32_t storedLanguage() {
        std::uint32_t id = 0xFFFFFFFF;
        registry_->readDword(kSettingsKeyPath, kLanguageIdValue, id);
        return id;
    }

    TempDir dir_;
    std::shared_ptr<registry::Registry> registry_;
};

TEST_F(LanguageTest, LooksUpEachSectionOfTheLanguageFile) {
    dir_.write("Lang0409.ini",
               "[TEXT]\nMAIN_CAPTION=Keyloom\nEMPTY=\n"
               "[LIGHT]\nColor=Key colour\n"
               "[MODE]\n1=Wave\n");
    LanguageFiles lang = files();
    EXPECT_EQ(lang.lookupText("MAIN_CAPTION", 0), "Keyloom");
    EXPECT_EQ(lang.lookupText("main_caption"), "Keyloom");
    EXPECT_EQ(lang.lookupText("EMPTY"), "");
    EXPECT_EQ(lang.lookupText("NOT_THERE"), "#Error");
    EXPECT_EQ(lang.lookupText("Color"), "#Error");  // LIGHT keys are not TEXT keys
    EXPECT_EQ(lang.lookupLight("Color"), "Key colour");
    EXPECT_EQ(lang.lookupLight("JColor"), "#Error");
    EXPECT_EQ(lang.lookupMode("1"), "Wave");
    EXPECT_EQ(lang.lookupMode("2"), "#Error");
}

TEST_F(LanguageTest, LanguageIndexChoosesTheFile) {
    dir_.write("Lang0409.ini", "[TEXT]\nK=english\n");
    dir_.write("Lang0407.ini", "[TEXT]\nK=deutsch\n");
    LanguageFiles lang = files();
    EXPECT_EQ(lang.languageFilePath(0), dir_.path() + "/Lang0409.ini");
    EXPECT_EQ(lang.languageFilePath(2), dir_.path() + "/Lang0804.ini");
    EXPECT_EQ(lang.lookupText("K", 1), "deutsch");
    EXPECT_EQ(lang.lookupText("K", 2), "#Error");
    EXPECT_EQ(lang.lookupText("K", 3), "english");  // above 2 counts as 0
    EXPECT_EQ(lang.lookupText("K", -1), "english");
}

TEST_F(LanguageTest, MissingLanguageFileGivesErrorText) {
    LanguageFiles lang = files();
    EXPECT_EQ(lang.lookupText("MAIN_CAPTION"), "#Error");
    EXPECT_EQ(lang.lookupMode("1"), "#Error");
}

TEST_F(LanguageTest, StoredOrSystemIdPicksEnglishGermanOrChineseAndEnglishForOthers) {
    struct Case {
        std::uint32_t stored;
        std::uint16_t system;
        int index;
        std::uint32_t storedAfter;
    } cases[] = {
        {0x0407, 0x0409, 1, 0x0407},   {0x0804, 0x0409, 2, 0x0804},
        {0x0C04, 0x0407, 0, 0x0C04},                            // a chosen id is left as it is
        {0x10407, 0x0409, 0, 0x10407}, {0, 0x0C07, 1, 0x0407},  // Austrian German folds
        {0, 0x0804, 2, 0x0804},        {0, 0x1004, 0, 0x0409},  // Singapore folds to English
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        ASSERT_TRUE(registry_->writeDword(kSettingsKeyPath, kLanguageIdValue, c.stored));
        EXPECT_EQ(files(c.system).currentLanguageIndex(), c.index);
        EXPECT_EQ(storedLanguage(), c.storedAfter);
    }
}

TEST_F(LanguageTest, MissingIdWithBelgianFrenchSystemStoresEnglish) {
    EXPECT_EQ(files(0x080C).currentLanguageIndex(), 0);
    EXPECT_EQ(storedLanguage(), 0x0409u);
}

TEST_F(LanguageTest, ZeroOrWrongTypeFollowsTheSystemLanguage) {
    ASSERT_TRUE(registry_->writeDword(kSettingsKeyPath, kLanguageIdValue, 0));
    EXPECT_EQ(files(0x0809).currentLanguageIndex(), 0);  // British English folds to 0x0409
    EXPECT_EQ(storedLanguage(), 0x0409u);

    ASSERT_TRUE(registry_->writeString(kSettingsKeyPath, kLanguageIdValue, "1033"));
    EXPECT_EQ(files(0x0411).currentLanguageIndex(), 0);
    EXPECT_EQ(storedLanguage(), 0x0409u);
}

TEST_F(LanguageTest, WithoutRegistryTheSystemRulesApply) {
    dir_.write("Lang0409.ini", "[TEXT]\nK=english\n");
    LanguageFiles lang(dir_.path() + "/", nullptr, 0x040C);
    EXPECT_EQ(lang.currentLanguageIndex(), 0);
    EXPECT_EQ(lang.lookupText("K"), "english");
}

TEST_F(LanguageTest, ProcessWideLookupsUseTheInstalledFiles) {
    installLanguageFiles(nullptr);
    EXPECT_EQ(lookupText("K"), "#Error");
    EXPECT_EQ(currentLanguageIndex(), 0);
    dir_.write("Lang0409.ini", "[TEXT]\nK=english\n[MODE]\n20=Per-key colours\n");
    installLanguageFiles(std::make_shared<LanguageFiles>(files()));
    EXPECT_EQ(lookupText("K"), "english");
    EXPECT_EQ(lookupMode("20"), "Per-key colours");
    EXPECT_EQ(lookupLight("Tool"), "#Error");
    installLanguageFiles(nullptr);
}

TEST_F(LanguageTest, ThreadFilesNestOnTheirOwnThreadOnly) {
    dir_.write("Lang0409.ini", "[TEXT]\nK=installed\n");
    installLanguageFiles(std::make_shared<LanguageFiles>(files()));
    TempDir outerDir, innerDir;
    outerDir.write("Lang0409.ini", "[TEXT]\nK=outer\n");
    innerDir.write("Lang0409.ini", "[TEXT]\nK=inner\n");
    {
        const ThreadLanguageFiles outer(
            std::make_shared<LanguageFiles>(outerDir.path() + "/", registry_, 0x0409));
        {
            const ThreadLanguageFiles inner(
                std::make_shared<LanguageFiles>(innerDir.path() + "/", registry_, 0x0409));
            EXPECT_EQ(lookupText("K"), "inner");
            std::string elsewhere;
            std::thread([&] { elsewhere = lookupText("K"); }).join();
            EXPECT_EQ(elsewhere, "installed");
        }
        EXPECT_EQ(lookupText("K"), "outer");
    }
    EXPECT_EQ(lookupText("K"), "installed");
    installLanguageFiles(nullptr);
}

TEST(LanguageTables, RegionalIdsFoldInTableOrder) {
    EXPECT_EQ(foldRegionalLanguage(0x0C04), 0x0409);
    EXPECT_EQ(foldRegionalLanguage(0x2C09), 0x0409);
    EXPECT_EQ(foldRegionalLanguage(0xE40C), 0x040C);
    EXPECT_EQ(foldRegionalLanguage(0x1C0C), 0x040C);
    EXPECT_EQ(foldRegionalLanguage(0x0807), 0x0407);
    EXPECT_EQ(foldRegionalLanguage(0x0804), 0x0804);  // not listed
    EXPECT_EQ(foldRegionalLanguage(0x0409), 0x0409);
}

}  // namespace
}  // namespace keyloom
