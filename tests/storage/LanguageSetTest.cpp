// Every shipped language file against the English one: the same keys in
// every section, and each text with the same conversions in the same order,
// so that no language shows "#Error" or formats a text with the wrong values.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ini/Ini.h"

namespace keyloom {
namespace {

const std::string kSkinFolder = std::string(KEYLOOM_SOURCE_DIR) + "/skin/";
const std::string kEnglish = kSkinFolder + "Lang0409.ini";
// Longer than any text, so that a conversion at the end is not cut off.
constexpr std::size_t kLongest = 8192;

// The printf conversions of a text in order ("%d", "%s", "%lu"); "%%" is none.
std::vector<std::string> conversions(const std::string& text) {
    std::vector<std::string> found;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at)) {
        std::size_t end = at + 1;
        if (end < text.size() && text[end] == '%') {
            at = end + 1;
            continue;
        }
        while (end < text.size() &&
               std::string_view("-+ #0123456789.lhzj").find(text[end]) != std::string_view::npos)
            ++end;
        found.push_back(text.substr(at, end < text.size() ? end + 1 - at : end - at));
        at = end;
    }
    return found;
}

TEST(LanguageSet, ConversionsAreReadInOrder) {
    EXPECT_EQ(conversions("%d of %s, 100%% %lu"), (std::vector<std::string>{"%d", "%s", "%lu"}));
}

TEST(LanguageSet, EveryLanguageFileHasEveryEnglishKeyWithTheSameConversions) {
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(kSkinFolder)) {
        const std::string name = item.path().filename().string();
        if (name.rfind("Lang", 0) == 0 && item.path().extension() == ".ini" &&
            item.path() != kEnglish)
            files.push_back(item.path().string());
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        for (const std::string& section : ini::sectionNames(kEnglish)) {
            for (const std::string& key : ini::keyNames(kEnglish, section)) {
                const std::string missing = "\x01missing";
                const std::string text = ini::readString(file, section, key, missing, kLongest);
                ASSERT_NE(text, missing) << "[" << section << "] " << key;
                EXPECT_EQ(conversions(text),
                          conversions(ini::readString(kEnglish, section, key, "", kLongest)))
                    << "[" << section << "] " << key << "=" << text;
            }
        }
    }
}

}  // namespace
}  // namespace keyloom
