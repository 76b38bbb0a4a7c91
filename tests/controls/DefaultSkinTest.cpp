// Checks of the default skin as the build draws it: every control the main
// window needs is placed, and every picture exists and shows each control's
// states differently.

#include <gtest/gtest.h>

#include <QImage>
#include <map>
#include <set>

#include "MainSkinTable.h"
#include "platform/ini/Ini.h"
#include "storage/SkinGeometry.h"
#include "storage/SkinScreen.h"

namespace keyloom::testing {
namespace {

const std::string kSkinFile = sourceFile("skin/Main.ini");

QImage builtPicture(const std::string& name) {
    return QImage(QString::fromStdString(builtFile("bin/Skins/" + name)));
}

QRect rectOf(const std::string& key, const char* section = "BUTTONINFO") {
    const SkinGeometry g = readSkinGeometry(kSkinFile, section, key);
    return QRect(g.x, g.y, g.w, g.h);
}

QRect sliceOf(const std::string& key) {
    const PictureRect r = pictureRectOf(readSkinGeometry(kSkinFile, "BUTTONINFO", key));
    return QRect(r.left, r.top, r.width, r.height);
}

class DefaultSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"main_normal.jpg", "main_over.jpg", "main_down.jpg",
                                 "main_disable.jpg", "main_color0.jpg", "main_color1.jpg"}) {
            sheets_[name] = builtPicture(name);
            ASSERT_FALSE(sheets_[name].isNull()) << name << " was not drawn";
        }
        window_ = sheets_["main_normal.jpg"].size();
    }

    std::map<std::string, QImage> sheets_;
    QSize window_;
};

TEST_F(DefaultSkinTest, PlacesEveryControlOfTheMainWindowInsideIt) {
    const auto buttons = mainSkinButtons();
    std::set<std::string> keys;
    for (const auto& button : buttons) {
        keys.insert(button.key);
    }
    EXPECT_EQ(keys.size(), buttons.size());
    EXPECT_EQ(keys.size(), 105u + 9u + 30u);

    const QRect window(QPoint(0, 0), window_);
    std::vector<std::string> all = mainSkinPlacedControls();
    for (const auto& button : buttons) {
        all.push_back(button.key);
    }
    for (const std::string& key : all) {
        const SkinGeometry g = readSkinGeometry(kSkinFile, "BUTTONINFO", key);
        EXPECT_FALSE(isDisabledPlacement(g)) << key << " is not placed";
        EXPECT_TRUE(window.contains(rectOf(key))) << key << " lies outside the window";
    }
}

TEST_F(DefaultSkinTest, SkinnedButtonsDoNotOverlap) {
    const auto buttons = mainSkinButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        for (std::size_t j = i + 1; j < buttons.size(); ++j) {
            EXPECT_FALSE(rectOf(buttons[i].key).intersects(rectOf(buttons[j].key)))
                << buttons[i].key << " overlaps " << buttons[j].key;
        }
    }
}

TEST_F(DefaultSkinTest, EveryStatePictureCoversTheWindowAndTheScreenSectionNamesThem) {
    for (const auto& [name, sheet] : sheets_) {
        EXPECT_EQ(sheet.size(), window_) << name;
    }
    const SkinScreen screen = readSkinScreen(kSkinFile);
    EXPECT_EQ(screen.mainPicture, "main_normal.jpg");
    const QImage mask = builtPicture(screen.maskPicture);
    ASSERT_FALSE(mask.isNull());
    EXPECT_EQ(mask.size(), window_);
    // Rounded corners are cut out; the controls are all kept.
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(mask.pixel(0, 0), white);
    EXPECT_EQ(mask.pixel(window_.width() - 1, window_.height() - 1), white);
    for (const auto& button : mainSkinButtons()) {
        const QRect r = rectOf(button.key);
        for (QPoint p : {r.topLeft(), r.bottomRight(), r.center()}) {
            EXPECT_NE(mask.pixel(p) & 0xFFFFFF, white & 0xFFFFFF) << button.key << " is cut out";
        }
    }
    for (const auto& link : readSkinLinks(kSkinFile)) {
        EXPECT_EQ(link.rfind("https://", 0), 0u) << link;
    }
}

TEST_F(DefaultSkinTest, EachButtonLooksDifferentInEachStatePicture) {
    const char* names[] = {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg"};
    for (const auto& button : mainSkinButtons()) {
        const QRect slice = sliceOf(button.key);
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                EXPECT_NE(sheets_[names[a]].copy(slice), sheets_[names[b]].copy(slice))
                    << button.key << ": " << names[a] << " and " << names[b] << " look alike";
            }
        }
    }
}

TEST_F(DefaultSkinTest, KeysShowTheirToggleFlagInTheTwoColourPictures) {
    for (const auto& button : mainSkinButtons()) {
        if (!button.inKeyView) {
            continue;
        }
        const QRect slice = sliceOf(button.key);
        const QImage off = sheets_["main_color0.jpg"].copy(slice);
        EXPECT_NE(off, sheets_["main_color1.jpg"].copy(slice)) << button.key;
        EXPECT_NE(off, sheets_["main_normal.jpg"].copy(slice)) << button.key;
    }
}

TEST(DefaultSkinPictures, ArrowCellsLieInsideTheArrowPicture) {
    const QImage arrows = builtPicture("Arrow.jpg");
    ASSERT_FALSE(arrows.isNull());
    std::map<std::string, QImage> cells;
    const QSize arrowSize = rectOf("LEFT_ARROW").size();
    EXPECT_EQ(rectOf("RIGHT_ARROW").size(), arrowSize);
    for (const std::string& key : arrowOffsetKeys()) {
        const PictureOffset offset = readPictureOffset(kSkinFile, "BUTTONINFO2", key);
        const QRect cell(offset.x - 1, offset.y - 1, arrowSize.width(), arrowSize.height());
        EXPECT_TRUE(arrows.rect().contains(cell)) << key;
        cells[key] = arrows.copy(cell);
    }
    EXPECT_NE(cells["UP_ARROW_LEFT1"], cells["DOWN_ARROW_LEFT1"]);
    EXPECT_NE(cells["UP_ARROW_RIGHT1"], cells["DOWN_ARROW_RIGHT1"]);
}

TEST(DefaultSkinPictures, BusyIndicatorHasTenMovingFrames) {
    const QSize size = rectOf("CONTROL_JDTStatic").size();
    QImage previous = builtPicture("jdt10.bmp");
    for (int i = 1; i <= 10; ++i) {
        const QImage frame = builtPicture("jdt" + std::to_string(i) + ".bmp");
        ASSERT_FALSE(frame.isNull()) << i;
        EXPECT_EQ(frame.size(), size);
        EXPECT_NE(frame, previous) << "frame " << i << " repeats the one before";
        previous = frame;
    }
}

TEST(DefaultSkinPictures, IconsAreDrawn) {
    for (const char* name :
         {"keyloom.png", "tray_disconnected.png", "tray_connected.png", "tray_indicator.png"}) {
        const QImage icon = builtPicture(name);
        ASSERT_FALSE(icon.isNull()) << name;
        EXPECT_EQ(icon.width(), icon.height()) << name;
        EXPECT_TRUE(icon.hasAlphaChannel()) << name;
    }
    EXPECT_NE(builtPicture("tray_connected.png"), builtPicture("tray_disconnected.png"));
    EXPECT_NE(builtPicture("tray_connected.png"), builtPicture("tray_indicator.png"));
}

}  // namespace
}  // namespace keyloom::testing
