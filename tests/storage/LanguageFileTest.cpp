// The shipped English language file holds every text the program asks for,
// each short enough to be read whole, with exactly the placeholders its
// callers fill in.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/KeyTable.h"
#include "model/MediaTable.h"
#include "platform/ini/Ini.h"
#include "platform/ini/IniCache.h"
#include "platform/ini/TextEncoding.h"
#include "platform/text/SafeFormat.h"
#include "platform/text/Utf16.h"
#include "storage/Language.h"

namespace keyloom {
namespace {

const std::string kLanguageFile = std::string(KEYLOOM_SOURCE_DIR) + "/skin/Lang0409.ini";

// Text keys the windows, dialogs and messages look up.
const char* const kTextKeys[] = {
    "MAIN_CAPTION", "KEYBOARD_TRAY_DESC", "MAIN_HELP_PROMPT", "MAIN_CLOSE_PROMPT",
    "MAIN_MINIMIZE_PROMPT", "MAIN_MENU_PROMPT", "MAIN_SWITCH_COLOR_TEXT",
    "MAIN_SWITCH_FUNCTION_TEXT", "KEY_PROMPT_SET", "KEY_PROMPT_SINGLE", "KEY_PROMPT_MACRO",
    "KEY_PROMPT_MEDIA", "KEY_PROMPT_FUNCTION", "MAIN_PROMPT_DEFAULT", "MAIN_PROMPT_INPORT",
    "MENU_1", "MENU_2", "MENU_3", "MENU_4", "MENU_11", "MENU_22", "MENU_33", "MENU_AUTOSTART",
    "MAIN_NO_DEVICE_PROMPT", "LANG_ABOUT_TITLE", "GUANYU_JIESHAO", "GUANYU_BANQUAN",
    "LANG_ABOUT_OK", "MAIN_DEFAULT_MATRIX_PROMPT", "EXTRA_MACRO_TOO_LONG",
    "EXTRA_PROFILE_SPACE_TIGHT", "UNKNOWN_KEY", "COMPOSITE_PROMPT_CLEAR", "COMPOSITE_PROMPT_OSK",
    "IDS_MACRO_KB_KEY", "IDS_MACRO_MOU_KEY", "MACRO_CYCLES", "RECORD_DELAY", "MACRO_ACTION_TISHI",
    "MACRO_KEYS_TISHI", "MACRO_DELAY_MS", "MACRO_NEW_PREFIX", "MACRO_ERR_MAX",
    "MACRO_ACTION_RECORD", "MACRO_ACTION_STOP_RECORD", "MACRO_ACTION_RECORD_DELAY",
    "MACRO_ACTION_CLEAR_CONFIRM", "MACRO_ACTION_ERR_DELAY_MAX", "MACRO_DELETE_CONFIRM_OF_KEYS",
    "PROFILE_NEW", "PROFILE_TIP", "PROFILE_SELECT_PROMPT", "PROFILE_SEELCT_PROMPT2",
    "PROFILE_FORMAT_ERROR", "DEFAULT_PROFILE_NAME",
    // Texts of our own: why the keyboard was not written, the Button menu.
    "KEYLOOM_WRITE_NOT_CONNECTED", "KEYLOOM_WRITE_NO_ANSWER", "KEYLOOM_WRITE_REFUSED",
    "KEYLOOM_WRITE_FAILED", "KEYLOOM_BACKUP_FAILED", "KEYLOOM_NO_ACCESS", "KEYLOOM_MENU_FIRMWARE",
    // The mouse list of the key assignment window.
    "IDS_KEYBOARD_MOU_LEFT", "IDS_KEYBOARD_MOU_RIGHT", "IDS_KEYBOARD_MOU_MIDDLE",
    "IDS_KEYBOARD_ROLL_UP", "IDS_KEYBOARD_ROLL_DOWN"};

std::vector<std::string> allTextKeys() {
    std::vector<std::string> keys(std::begin(kTextKeys), std::end(kTextKeys));
    for (const KeyRow& row : KeyTable()) {
        if (!row.nameKey.empty())
            keys.emplace_back(row.nameKey);
    }
    for (const MediaRow& row : MediaTable)
        keys.emplace_back(row.nameKey);
    for (std::uint32_t f = 1; f <= kFunctionCount; ++f) {
        keys.push_back("FUNC_KEY_DESC" + std::to_string(f));
    }
    return keys;
}

std::vector<std::string> modeKeys() {
    std::vector<std::string> keys;
    for (int effect = 1; effect <= 18; ++effect)
        keys.push_back(std::to_string(effect));
    keys.push_back("20");
    return keys;
}

TEST(LanguageFile, IsUtf8AndEveryValueFitsTheReadBuffer) {
    ini::LoadedFile file = ini::loadFile(kLanguageFile);
    ASSERT_EQ(file.state, ini::FileState::Loaded) << kLanguageFile;
    EXPECT_EQ(file.document->encoding(), ini::FileEncoding::Utf8);
    for (const auto& line : file.document->lines()) {
        EXPECT_NE(line.kind, ini::IniDocument::LineKind::Other) << line.text;
        EXPECT_LE(text::utf16Length(line.value), ini::kDefaultBufferChars - 1) << line.name;
    }
}

TEST(LanguageFile, HoldsEveryTextKeyOnceWithAText) {
    std::set<std::string> seen;
    for (const std::string& key : ini::keyNames(kLanguageFile, "TEXT")) {
        EXPECT_TRUE(seen.insert(ini::foldCase(key)).second) << "twice: " << key;
    }
    EXPECT_EQ(seen.size(), ini::keyNames(kLanguageFile, "TEXT").size());
    for (const std::string& key : allTextKeys()) {
        std::string text = ini::readString(kLanguageFile, "TEXT", key, "#Error");
        EXPECT_NE(text, "#Error") << key;
        EXPECT_FALSE(text.empty()) << key;
    }
}

TEST(LanguageFile, HoldsTheLightingLabelsAndEffectNames) {
    for (const char* key : {"Color", "JColor", "Tool"}) {
        EXPECT_NE(ini::readString(kLanguageFile, "LIGHT", key, "#Error"), "#Error") << key;
    }
    for (const std::string& key : modeKeys()) {
        EXPECT_NE(ini::readString(kLanguageFile, "MODE", key, "#Error"), "#Error") << key;
    }
}

TEST(LanguageFile, PlaceholdersMatchWhatTheCallersFillIn) {
    auto text = [](const char* key) { return ini::readString(kLanguageFile, "TEXT", key, ""); };
    EXPECT_EQ(text::formatInt(text("UNKNOWN_KEY"), 100), "Unknown key (0x064)");
    EXPECT_NE(text::formatInt(text("MACRO_ERR_MAX"), 100).find("100"), std::string::npos);
    EXPECT_NE(text::formatInt(text("MACRO_ACTION_ERR_DELAY_MAX"), 40000).find("40000"),
              std::string::npos);
    EXPECT_NE(text::formatString(text("PROFILE_FORMAT_ERROR"), "/x/y.klm").find("/x/y.klm"),
              std::string::npos);
    EXPECT_EQ(text::formatStringInt("%s%d", text("MACRO_NEW_PREFIX"), 3), "Macro 3");

    const std::set<std::string> formats = {"UNKNOWN_KEY", "MACRO_ERR_MAX",
                                           "MACRO_ACTION_ERR_DELAY_MAX", "PROFILE_FORMAT_ERROR"};
    for (const std::string& key : allTextKeys()) {
        std::string value = text(key.c_str());
        if (formats.count(key)) {
            EXPECT_EQ(value.find('%'), value.rfind('%')) << key << ": one placeholder";
        } else {
            EXPECT_EQ(value.find('%'), std::string::npos) << key << ": not a format";
        }
    }
}

TEST(LanguageFile, TooltipPiecesKeepTheirBlanks) {
    auto text = [](const char* key) { return ini::readString(kLanguageFile, "TEXT", key, ""); };
    EXPECT_EQ(
        "A" + text("KEY_PROMPT_SET") + text("KEY_PROMPT_SINGLE") + text("IDS_KEYBOARD_LCTRL") + ")",
        "A: remapped (key: Left Ctrl)");
}

TEST(LanguageFile, KeyNamesComeThroughTheLookup) {
    LanguageFiles lang(std::string(KEYLOOM_SOURCE_DIR) + "/skin/", nullptr, 0x0409);
    TextLookup lookup = [&](std::string_view key) { return lang.lookupText(key, 0); };
    EXPECT_EQ(KeyName(0x01E, 260, lookup), "A");
    EXPECT_EQ(KeyName(0x11D, 260, lookup), "Right Ctrl");
    EXPECT_EQ(KeyName(0x130, 260, lookup), "Volume Up");
    EXPECT_EQ(KeyName(0x064, 260, lookup), "Unknown key (0x064)");
    EXPECT_EQ(lang.lookupMode("20", 0), "Per-Key Colors");
    EXPECT_EQ(lang.lookupLight("Color", 0), "Key color");
}

}  // namespace
}  // namespace keyloom
