#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "TestPictures.h"
#include "controls/CSkinButton.h"
#include "controls/SkinReaders.h"
#include "support/TempDir.h"

namespace keyloom::controls {
namespace {

using keyloom::testing::patternPicture;
using keyloom::testing::showsPart;
using keyloom::testing::TempDir;

// Seeds of the pictures, so that each state is told apart in every pixel.
enum Seed { kNormal, kHover, kPressed, kDisabled, kSelected, kToggleOff, kToggleOn, kArrows };

class SkinButtonTest : public ::testing::Test {
protected:
    SkinButtonTest() {
        for (int seed = kNormal; seed <= kArrows; ++seed) {
            images_.push_back(patternPicture(200, 120, seed));
        }
        skinFile_ = dir_.write("Main.ini",
                               "[BUTTONINFO]\n"
                               "KEY_01E=10,20,30,40\n"
                               "FUNC_HIDDEN=1,1,50,50\n"
                               "EDGE=0,0,12,12\n"
                               "LEFT_ARROW=60,70,16,26\n"
                               "[BUTTONINFO2]\n"
                               "DOWN_ARROW_LEFT1=17,1,16,26\n");
    }

    QPixmap picture(Seed seed) const { return QPixmap::fromImage(images_[seed]); }
    SkinPictureSet fivePictures() const {
        return {picture(kNormal), picture(kHover), picture(kPressed), picture(kDisabled),
                picture(kSelected)};
    }

    // The button shows the part of `seed`'s picture starting at `topLeft`.
    ::testing::AssertionResult shows(CSkinButton& button, Seed seed, QPoint topLeft) const {
        std::string why;
        if (showsPart(button.grab().toImage(), images_[seed], topLeft, &why)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << why;
    }

    TempDir dir_;
    std::string skinFile_;
    std::vector<QImage> images_;
    QWidget window_;
};

TEST_F(SkinButtonTest, PlacedFromTheSkinAndPaintedFromOnePixelUpAndLeft) {
    CSkinButton button(&window_);
    readSkinControl(button, skinFile_, "BUTTONINFO", "KEY_01E", fivePictures());
    EXPECT_EQ(button.geometry(), QRect(10, 20, 30, 40));
    EXPECT_EQ(button.pictureOffset(), QPoint(10, 20));
    EXPECT_TRUE(button.isEnabled());
    EXPECT_TRUE(shows(button, kNormal, {9, 19}));
}

TEST_F(SkinButtonTest, EachStateShowsItsOwnPicture) {
    CSkinButton button(&window_);
    readSkinControl(button, skinFile_, "BUTTONINFO", "KEY_01E", fivePictures());
    button.setTogglePictures(picture(kToggleOff), picture(kToggleOn));
    const QPoint slice(9, 19);

    button.setHovered(true);
    EXPECT_TRUE(shows(button, kHover, slice));
    button.setDown(true);
    EXPECT_TRUE(shows(button, kPressed, slice));
    button.setDown(false);
    button.setSelected(true);
    EXPECT_TRUE(shows(button, kSelected, slice));
    button.setToggleDisplay(true, false);
    EXPECT_TRUE(shows(button, kToggleOff, slice));
    button.setToggleDisplay(true, true);
    EXPECT_TRUE(shows(button, kToggleOn, slice));
    button.setEnabled(false);
    EXPECT_TRUE(shows(button, kDisabled, slice));
    // Disabling the parent disables the look too.
    button.setEnabled(true);
    button.setToggleDisplay(false, false);
    button.setSelected(false);
    button.setHovered(false);
    window_.setEnabled(false);
    EXPECT_TRUE(shows(button, kDisabled, slice));
    window_.setEnabled(true);
    EXPECT_TRUE(shows(button, kNormal, slice));
}

TEST_F(SkinButtonTest, SkinHidesButtonsAtOneOneAndMissingKeys) {
    CSkinButton sized(&window_);
    readSkinControl(sized, skinFile_, "BUTTONINFO", "FUNC_HIDDEN", fivePictures());
    EXPECT_EQ(sized.geometry(), QRect(1, 1, 50, 50));
    EXPECT_FALSE(sized.isEnabled());

    CSkinButton missing(&window_);
    readSkinControl(missing, skinFile_, "BUTTONINFO", "NOT_THERE", fivePictures());
    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(missing.isEnabled());

    CSkinButton noFile(&window_);
    readSkinControl(noFile, dir_.file("missing.ini"), "BUTTONINFO", "KEY_01E", fivePictures());
    EXPECT_FALSE(noFile.isEnabled());
}

TEST_F(SkinButtonTest, PartsOutsideThePictureAreLeftUndrawn) {
    QWidget backdrop;
    backdrop.resize(12, 12);
    QPalette black;
    black.setColor(QPalette::Window, Qt::black);
    backdrop.setPalette(black);
    backdrop.setAutoFillBackground(true);
    CSkinButton button(&backdrop);
    readSkinControl(button, skinFile_, "BUTTONINFO", "EDGE", fivePictures());
    const QImage shown = backdrop.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The slice starts at -1,-1: the first row and column show the backdrop.
    EXPECT_EQ(shown.pixel(0, 5), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(5, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(1, 1), images_[kNormal].pixel(0, 0));
    EXPECT_EQ(shown.pixel(11, 11), images_[kNormal].pixel(10, 10));
}

TEST_F(SkinButtonTest, ArrowTakesItsPictureOffsetFromAnotherKey) {
    CSkinButton arrow(&window_);
    placeControlWithSource(arrow, skinFile_, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2",
                           "DOWN_ARROW_LEFT1", picture(kArrows));
    EXPECT_EQ(arrow.geometry(), QRect(60, 70, 16, 26));
    EXPECT_TRUE(shows(arrow, kArrows, {16, 0}));
    arrow.setHovered(true);
    arrow.setSelected(true);
    EXPECT_TRUE(shows(arrow, kArrows, {16, 0}));
}

TEST_F(SkinButtonTest, PlaceAndMoveControls) {
    QWidget label(&window_);
    placeControl(label, skinFile_, "BUTTONINFO", "KEY_01E");
    EXPECT_EQ(label.geometry(), QRect(10, 20, 30, 40));
    label.resize(99, 11);
    moveControl(label, skinFile_, "BUTTONINFO", "LEFT_ARROW");
    EXPECT_EQ(label.geometry(), QRect(60, 70, 99, 11));
}

TEST_F(SkinButtonTest, OutlineAndTextAreDrawnOverThePicture) {
    CSkinButton button(&window_);
    readSkinControl(button, skinFile_, "BUTTONINFO", "KEY_01E", fivePictures());
    button.setOutline(0x00FF00u);
    QImage shown = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(2, 20), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(15, 20), images_[kNormal].pixel(9 + 15, 19 + 20));
    button.setOutline(std::nullopt);

    // Text in the hover colour while hovered.
    QFont big = button.font();
    big.setPixelSize(30);
    big.setBold(true);
    button.setFont(big);
    button.setText("M");
    SkinTextColours colours;
    colours.hover = QColor(1, 2, 3);
    button.setTextColours(colours);
    button.setHovered(true);
    shown = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int textPixels = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            textPixels += shown.pixel(x, y) == qRgb(1, 2, 3) ? 1 : 0;
        }
    }
    EXPECT_GT(textPixels, 20);
}

TEST_F(SkinButtonTest, AnnouncesEachPaintWithTheFaceDrawn) {
    CSkinButton button(&window_);
    readSkinControl(button, skinFile_, "BUTTONINFO", "KEY_01E", fivePictures());
    QSignalSpy spy(&button, &CSkinButton::painted);
    button.grab();
    button.setSelected(true);
    button.grab();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).value<SkinFace>(), SkinFace::Normal);
    EXPECT_EQ(spy.at(1).at(0).value<SkinFace>(), SkinFace::Selected);
    EXPECT_EQ(button.currentFace(), SkinFace::Selected);
}

TEST_F(SkinButtonTest, KeyboardFocusShowsARingAndSpacePressesTheButton) {
    CSkinButton first(&window_);
    CSkinButton second(&window_);
    readSkinControl(first, skinFile_, "BUTTONINFO", "KEY_01E", fivePictures());
    readSkinControl(second, skinFile_, "BUTTONINFO", "EDGE", fivePictures());
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    const auto ringPixels = [&] {
        const QImage shown = first.grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            count += shown.pixel(1, y) == qRgb(0xff, 0xa6, 0x40) ? 1 : 0;
        return count;
    };
    EXPECT_EQ(ringPixels(), 0);
    // A click gives the focus too, but shows no ring.
    first.setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(ringPixels(), 0);
    QTest::keyClick(&first, Qt::Key_Tab);
    ASSERT_TRUE(second.hasFocus());
    QTest::keyClick(&second, Qt::Key_Tab);
    ASSERT_TRUE(first.hasFocus());
    EXPECT_GT(ringPixels(), 20);

    QSignalSpy clicked(&first, &CSkinButton::clicked);
    QTest::keyClick(&first, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(first.isDown());
}

}  // namespace
}  // namespace keyloom::controls
