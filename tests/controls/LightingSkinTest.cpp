// The lighting panel's part of the default skin: its pictures have the size
// of the controls that show them, and the per-key lighting template holds a
// complete, consistent set of user modes.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <set>

#include "MainSkinTable.h"
#include "platform/ini/Ini.h"
#include "storage/SkinGeometry.h"

namespace keyloom::testing {
namespace {

const std::string kSkinFile = sourceFile("skin/Main.ini");

QSize controlSize(const char* key) {
    const SkinGeometry g = readSkinGeometry(kSkinFile, "BUTTONINFO", key);
    return QSize(g.w, g.h);
}

QSize pictureSize(const std::string& name) {
    return QImage(QString::fromStdString(builtFile("bin/Skins/" + name))).size();
}

TEST(LightingSkin, PicturesFitTheControlsThatShowThem) {
    const struct {
        const char* control;
        std::vector<std::string> pictures;
    } families[] = {
        {"CONTROL_DengStaPic",
         {"dengup.bmp", "dengdown.bmp", "LED_enabled_off.bmp", "LED_enabled_mouseOver.bmp",
          "LED_enabled_on.bmp"}},
        {"CONTROL_DengDisable",
         {"LED_disabled_off.bmp", "LED_disabled_mouseOver.bmp", "LED_disabled_on.bmp"}},
        {"CONTROL_BLFXLStaPic",
         {"leftup.bmp", "leftdown.bmp", "rightup.bmp", "rightdown.bmp", "upup.bmp", "updown.bmp",
          "downup.bmp", "downdown.bmp", "julong.bmp", "julongdown.bmp", "kuosan.bmp",
          "kuosandown.bmp"}},
        {"CONTROL_HONGPIC",
         {"hong.bmp", "hongok.bmp", "huang.bmp", "huangok.bmp", "lv.bmp", "lvok.bmp", "lan.bmp",
          "lanok.bmp"}},
        {"CONTROL_HXsjsStaPic", {"sjsup.bmp", "sjsdown.bmp"}},
        {"CONTROL_USERgjStaPic1", {"user1up.bmp", "user1down.bmp", "user2up.bmp", "user2down.bmp"}},
        {"CONTROL_LightStatic", {"led.bmp", "brightness.bmp", "speed.bmp"}},
        {"FUNC_DEFAULT",
         {"restore_default_off.bmp", "restore_default_mouseOver.bmp",
          "restore_default_clicked.bmp"}},
    };
    for (const auto& family : families) {
        for (const std::string& name : family.pictures) {
            EXPECT_EQ(pictureSize(name), controlSize(family.control)) << name;
        }
    }
    // The two sliders share one set of faces.
    EXPECT_EQ(controlSize("CONTROL_LightSlider"), controlSize("CONTROL_SpeedSlider"));
    for (int i = 0; i <= 25; ++i) {
        EXPECT_EQ(pictureSize(std::to_string(i) + ".bmp"), controlSize("CONTROL_LightSlider")) << i;
    }
    for (int i = 1; i <= 8; ++i) {
        const std::string key = "CONTROL_Color" + std::to_string(i);
        EXPECT_EQ(pictureSize("Color" + std::to_string(i) + ".bmp"), controlSize(key.c_str()));
    }
}

struct Entry {
    int r = -1, g = -1, b = -1, flag = -1;
};

Entry parseEntry(const std::string& value) {
    Entry e;
    char tail = 0;
    if (std::sscanf(value.c_str(), "%d,%d,%d,%d%c", &e.r, &e.g, &e.b, &e.flag, &tail) != 4) {
        return {};
    }
    return e;
}

TEST(LightingSkin, UserModeTemplateHoldsTenConsistentModes) {
    const std::string file = builtFile("bin/Skins/UserDengColor_3.userd");
    EXPECT_EQ(ini::readString(file, "PRESENTMODE", "mode", ""), "0");
    std::set<std::string> names;
    for (int m = 0; m < 10; ++m) {
        const std::string name = ini::readString(file, "MODENAME", std::to_string(m), "");
        EXPECT_FALSE(name.empty()) << m;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 10u);

    // Every colour position of the key view (Fn at 91) in every mode; the
    // base-group flag set exactly on the keys in the mode's base colour, as
    // the program recomputes it.
    const std::vector<std::string> keys = ini::keyNames(file, "Mode0");
    std::set<std::string> positions(keys.begin(), keys.end());
    EXPECT_TRUE(positions.count("91"));
    EXPECT_TRUE(positions.count("53"));  // A
    EXPECT_EQ(positions.size(), 3u + 102u);
    for (int m = 0; m < 10; ++m) {
        const std::string section = "Mode" + std::to_string(m);
        const std::string tool = ini::readString(file, section, "tool", "");
        EXPECT_TRUE(tool == "0" || tool == "1") << section;
        const Entry base = parseEntry(ini::readString(file, section, "jcolor", "") + ",0");
        ASSERT_GE(base.r, 0) << section;
        for (const std::string& key : keys) {
            if (key == "tool" || key == "jcolor" || key == "color") {
                continue;
            }
            const Entry e = parseEntry(ini::readString(file, section, key, ""));
            ASSERT_GE(e.r, 0) << section << " " << key;
            EXPECT_TRUE(e.r <= 255 && e.g <= 255 && e.b <= 255) << section << " " << key;
            const bool isBase = e.r == base.r && e.g == base.g && e.b == base.b;
            EXPECT_EQ(e.flag, isBase ? 1 : 0) << section << " " << key;
        }
    }
}

}  // namespace
}  // namespace keyloom::testing
