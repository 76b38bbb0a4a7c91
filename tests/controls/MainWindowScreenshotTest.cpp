// Builds the main window's skin from the default skin the way the window
// does, with a few controls in different states, checks that each control
// shows its part of the right picture, and saves a screenshot under the build
// folder (screenshots/main_window.png) for people to look at.

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <map>
#include <memory>

#include "MainSkinTable.h"
#include "TestPictures.h"
#include "controls/CBaseDialog.h"
#include "controls/CSkinButton.h"
#include "controls/SkinReaders.h"

namespace keyloom::testing {
namespace {

using controls::CBaseDialog;
using controls::CSkinButton;
using controls::SkinPictureSet;

class MainWindowScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string folder = builtFile("bin/Skins/");
        skinFile_ = folder + "Main.ini";
        for (char face : std::string("NHPD")) {
            static const std::map<char, const char*> files = {{'N', "main_normal.jpg"},
                                                              {'H', "main_over.jpg"},
                                                              {'P', "main_down.jpg"},
                                                              {'D', "main_disable.jpg"}};
            pictures_[face].load(QString::fromStdString(folder + files.at(face)));
            images_[face] = pictures_[face].toImage();
            ASSERT_FALSE(pictures_[face].isNull()) << files.at(face);
        }
        ASSERT_TRUE(arrows_.load(QString::fromStdString(folder + "Arrow.jpg")));
        ASSERT_TRUE(busy_.load(QString::fromStdString(folder + "jdt3.bmp")));
        ASSERT_TRUE(dialog_.loadSkin(skinFile_));

        for (const MainSkinButton& entry : mainSkinButtons()) {
            auto button = std::make_unique<CSkinButton>(&dialog_);
            const std::string& f = entry.faces;
            controls::readSkinControl(*button, skinFile_, "BUTTONINFO", entry.key,
                                      {pictures_[f[0]], pictures_[f[1]], pictures_[f[2]],
                                       pictures_[f[3]], pictures_[f[4]]});
            buttons_[entry.key] = std::move(button);
        }
    }

    CSkinButton& button(const std::string& key) { return *buttons_.at(key); }

    ::testing::AssertionResult showsFace(const QImage& screen, const std::string& key, char face) {
        const CSkinButton& b = button(key);
        std::string why;
        if (showsPart(screen.copy(b.geometry()), images_[face],
                      b.geometry().topLeft() - QPoint(1, 1), &why)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << key << ": " << why;
    }

    std::string skinFile_;
    std::map<char, QPixmap> pictures_;
    std::map<char, QImage> images_;
    QPixmap arrows_;
    QPixmap busy_;
    CBaseDialog dialog_;
    std::map<std::string, std::unique_ptr<CSkinButton>> buttons_;
};

TEST_F(MainWindowScreenshotTest, ControlsShowTheirStatesOverTheBackground) {
    // Profile 1 active, 1000 Hz, a few assigned keys, one key under the mouse
    // and one pressed, Apply disabled, Caps Lock lit.
    button("FUNC_PROFILE1").setSelected(true);
    button("FUNC_REPORT4").setSelected(true);
    for (const char* key : {"KEY_011", "KEY_01E", "KEY_01F", "FUNC_G1", "FUNC_G4"}) {
        button(key).setSelected(true);
    }
    button("KEY_020").setHovered(true);
    button("KEY_012").setDown(true);
    button("CONTROL2_APPLY").setEnabled(false);
    button("LOCK_CAPS").setSelected(true);
    button("FLIP_0").setSelected(true);
    button("FUNC_SWITCH").setHovered(true);
    QFont font("DejaVu Sans");
    font.setPointSize(10);
    for (const char* key : {"FUNC_PROFILES", "FUNC_SWITCH"}) {
        button(key).setFont(font);
    }
    button("FUNC_PROFILES").setText("Profile 1");
    button("FUNC_SWITCH").setText("Key functions");

    CSkinButton left(&dialog_);
    controls::placeControlWithSource(left, skinFile_, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2",
                                     "DOWN_ARROW_LEFT1", arrows_);
    CSkinButton right(&dialog_);
    controls::placeControlWithSource(right, skinFile_, "BUTTONINFO", "RIGHT_ARROW", "BUTTONINFO2",
                                     "DOWN_ARROW_RIGHT1", arrows_);
    QLabel busy(&dialog_);
    controls::placeControl(busy, skinFile_, "BUTTONINFO", "CONTROL_JDTStatic");
    busy.setPixmap(busy_);

    const QImage screen = dialog_.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(screen.size(), pictures_['N'].size());

    EXPECT_TRUE(showsFace(screen, "FUNC_PROFILE1", 'D'));
    EXPECT_TRUE(showsFace(screen, "FUNC_PROFILE2", 'N'));
    EXPECT_TRUE(showsFace(screen, "KEY_01E", 'D'));
    EXPECT_TRUE(showsFace(screen, "KEY_020", 'H'));
    EXPECT_TRUE(showsFace(screen, "KEY_012", 'P'));
    EXPECT_TRUE(showsFace(screen, "KEY_030", 'N'));
    EXPECT_TRUE(showsFace(screen, "CONTROL2_APPLY", 'D'));
    EXPECT_TRUE(showsFace(screen, "CONTROL_OK", 'N'));
    EXPECT_TRUE(showsFace(screen, "LOCK_CAPS", 'H'));
    EXPECT_TRUE(showsFace(screen, "LOCK_NUM", 'N'));

    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(builtFile("screenshots"))));
    EXPECT_TRUE(screen.save(QString::fromStdString(builtFile("screenshots/main_window.png"))));
}

}  // namespace
}  // namespace keyloom::testing
