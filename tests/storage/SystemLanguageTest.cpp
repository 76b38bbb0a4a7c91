#include "storage/SystemLanguage.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace keyloom {
namespace {

TEST(SystemLanguage, LocaleNamesMapToWindowsIds) {
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"en_US.UTF-8", 0x0409},
        {"en_GB", 0x0809},
        {"fr_BE.UTF-8", 0x080C},
        {"fr_FR@euro", 0x040C},
        {"de_AT.ISO-8859-1", 0x0C07},
        {"de_CH", 0x0807},
        {"zh_HK.UTF-8", 0x0C04},
        {"zh_CN", 0x0804},
        {"ja_JP.eucJP", 0x0411},
        {"pt_BR", 0x0416},
        {"es_ES", 0x0C0A},
        {"ru_RU.KOI8-R", 0x0419},
        {"en-CA", 0x1009},
        {"FR_ca", 0x0C0C},
        {"fil_PH", 0x0464},
    };
    for (const auto& [locale, id] : cases)
        EXPECT_EQ(languageIdOfLocale(locale), id) << locale;
}

TEST(SystemLanguage, EveryRegionalVariantOfTheTablesIsReachable) {
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"zh_SG", 0x1004}, {"en_AU", 0x0C09}, {"en_NZ", 0x1409}, {"en_IE", 0x1809},
        {"en_ZA", 0x1C09}, {"en_JM", 0x2009}, {"en_AG", 0x2409}, {"en_BZ", 0x2809},
        {"en_TT", 0x2C09}, {"fr_CM", 0x2C0C}, {"fr_CD", 0x240C}, {"fr_CI", 0x300C},
        {"fr_HT", 0x3C0C}, {"fr_LU", 0x140C}, {"fr_ML", 0x340C}, {"fr_MC", 0x180C},
        {"fr_MA", 0x380C}, {"fr_DZ", 0xE40C}, {"fr_RE", 0x200C}, {"fr_SN", 0x280C},
        {"fr_CH", 0x100C}, {"fr_GP", 0x1C0C}, {"de_LI", 0x1407}, {"de_LU", 0x1007},
    };
    for (const auto& [locale, id] : cases)
        EXPECT_EQ(languageIdOfLocale(locale), id) << locale;
}

TEST(SystemLanguage, UnknownRegionGivesTheLanguagesMainId) {
    EXPECT_EQ(languageIdOfLocale("fr_XX"), 0x040C);
    EXPECT_EQ(languageIdOfLocale("de"), 0x0407);
    EXPECT_EQ(languageIdOfLocale("en_XX.UTF-8"), 0x0409);
}

TEST(SystemLanguage, CPosixEmptyAndUnknownGiveEnglish) {
    for (const char* locale : {"C", "POSIX", "C.UTF-8", "", "xx_YY", "@", "_", ".UTF-8"}) {
        EXPECT_EQ(languageIdOfLocale(locale), 0x0409) << locale;
    }
}

TEST(SystemLanguage, LcAllThenLcMessagesThenLang) {
    EXPECT_EQ(messagesLocale("de_DE", "fr_FR", "en_GB"), "de_DE");
    EXPECT_EQ(messagesLocale("", "fr_FR", "en_GB"), "fr_FR");
    EXPECT_EQ(messagesLocale(nullptr, nullptr, "en_GB"), "en_GB");
    EXPECT_EQ(messagesLocale(nullptr, "", ""), "C");
}

}  // namespace
}  // namespace keyloom
