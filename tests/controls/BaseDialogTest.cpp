#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QImage>
#include <QMouseEvent>

#include "controls/CBaseDialog.h"
#include "controls/MaskRegion.h"
#include "support/TempDir.h"

namespace keyloom::controls {
namespace {

using keyloom::testing::TempDir;

// A 40 x 30 picture: white corners (cut out) around a dark body.
QImage cornerPicture() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(20, 30, 40));
    for (QPoint corner : {QPoint(0, 0), QPoint(36, 0), QPoint(0, 26), QPoint(36, 26)}) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                image.setPixel(corner + QPoint(x, y), qRgb(255, 255, 255));
            }
        }
    }
    return image;
}

TEST(MaskRegion, CutsOutExactlyThePureWhitePixels) {
    QImage mask(6, 2, QImage::Format_ARGB32);
    mask.fill(qRgba(255, 255, 255, 255));
    mask.setPixel(1, 0, qRgba(254, 255, 255, 255));  // almost white stays
    mask.setPixel(2, 0, qRgba(0, 0, 0, 255));
    mask.setPixel(3, 0, qRgba(255, 255, 255, 0));  // alpha does not matter
    mask.setPixel(4, 1, qRgba(255, 255, 254, 255));
    const QRegion region = maskRegion(mask);
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(1, 0)));
    EXPECT_TRUE(region.contains(QPoint(2, 0)));
    EXPECT_FALSE(region.contains(QPoint(3, 0)));
    EXPECT_TRUE(region.contains(QPoint(4, 1)));
    EXPECT_FALSE(region.contains(QPoint(5, 1)));

    EXPECT_TRUE(maskRegion(QImage()).isEmpty());
}

TEST(MaskRegion, MatchesTheRegionOfTheWhiteColourMaskInEveryFormat) {
    // Rounded corners, a hole, lone pixels and rows that differ by one pixel.
    QImage mask(41, 30, QImage::Format_RGB32);
    mask.fill(qRgb(20, 20, 20));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 41; ++x) {
            const int dx = std::min(x, 40 - x), dy = std::min(y, 29 - y);
            if (dx + dy < 5 || (x > 15 && x < 22 && y > 10 && y < 14) || (x == 30 && y == 20) ||
                (x == y && y > 20))
                mask.setPixel(x, y, qRgb(255, 255, 255));
        }
    QImage white(9, 8, QImage::Format_RGB32);
    white.fill(qRgb(255, 255, 255));
    for (const QImage& picture :
         {mask, white, mask.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither),
          mask.convertToFormat(QImage::Format_MonoLSB, Qt::ThresholdDither),
          white.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)}) {
        const QRegion expected(
            QBitmap::fromImage(picture.convertToFormat(QImage::Format_RGB32)
                                   .createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
        EXPECT_TRUE((maskRegion(picture) ^ expected).isEmpty())
            << picture.width() << " format " << picture.format();
    }
}

class BaseDialogTest : public ::testing::Test {
protected:
    std::string writeSkin(const std::string& screen) {
        cornerPicture().save(QString::fromStdString(dir_.file("back.png")));
        QImage plain(40, 30, QImage::Format_RGB32);
        plain.fill(qRgb(1, 1, 1));
        plain.setPixel(39, 29, qRgb(255, 255, 255));
        plain.save(QString::fromStdString(dir_.file("mask.png")));
        return dir_.write("Dialog.ini", "[SCREEN]\n" + screen);
    }

    TempDir dir_;
};

TEST_F(BaseDialogTest, TakesSizeAndShapeFromTheSkin) {
    CBaseDialog dialog;
    ASSERT_TRUE(dialog.loadSkin(writeSkin("Main=back.png\nMask=mask.png\n")));
    EXPECT_EQ(dialog.size(), QSize(40, 30));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(dialog.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(dialog.mask().contains(QPoint(39, 29)));

    // The background is painted at natural size from the top-left corner.
    const QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(20, 15), qRgb(20, 30, 40));
}

TEST_F(BaseDialogTest, MaskDefaultsToTheBackgroundPicture) {
    CBaseDialog dialog;
    ASSERT_TRUE(dialog.loadSkin(writeSkin("Main=back.png\n")));
    EXPECT_FALSE(dialog.mask().contains(QPoint(1, 1)));
    EXPECT_FALSE(dialog.mask().contains(QPoint(38, 28)));
    EXPECT_TRUE(dialog.mask().contains(QPoint(20, 15)));
    EXPECT_TRUE(dialog.mask().contains(QPoint(4, 0)));
}

TEST_F(BaseDialogTest, UnreadableMaskLeavesTheWindowRectangular) {
    CBaseDialog dialog;
    ASSERT_TRUE(dialog.loadSkin(writeSkin("Main=back.png\nMask=nothing.png\n")));
    EXPECT_TRUE(dialog.mask().isEmpty());

    // An all-white mask would leave no window at all: it is not applied.
    QImage white(40, 30, QImage::Format_RGB32);
    white.fill(Qt::white);
    dialog.setMaskPicture(white);
    EXPECT_TRUE(dialog.mask().isEmpty());
}

TEST_F(BaseDialogTest, MissingBackgroundKeepsTheSize) {
    CBaseDialog dialog;
    dialog.resize(123, 45);
    EXPECT_FALSE(dialog.loadSkin(writeSkin("Main=gone.jpg\n")));
    EXPECT_EQ(dialog.size(), QSize(123, 45));
    EXPECT_FALSE(dialog.loadSkin(dir_.file("no-such-skin.ini")));
    EXPECT_EQ(dialog.size(), QSize(123, 45));
}

void sendMouse(QWidget& widget, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), QPointF(widget.mapToGlobal(local)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

TEST_F(BaseDialogTest, FollowsTheMouseWhenDraggedByItsBackground) {
    CBaseDialog dialog;
    ASSERT_TRUE(dialog.loadSkin(writeSkin("Main=back.png\n")));
    dialog.move(100, 80);
    const QPoint start = dialog.pos();
    sendMouse(dialog, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    // A jitter of a pixel or two while clicking moves nothing.
    sendMouse(dialog, QEvent::MouseMove, {11, 11}, Qt::LeftButton);
    EXPECT_EQ(dialog.pos(), start);
    // Past the drag distance it follows from where it was grabbed.
    sendMouse(dialog, QEvent::MouseMove, {60, 40}, Qt::LeftButton);
    EXPECT_EQ(dialog.pos(), start + QPoint(50, 30));
    sendMouse(dialog, QEvent::MouseButtonRelease, {60, 40}, Qt::NoButton);
    // Moving without the button held does not drag.
    const QPoint released = dialog.pos();
    sendMouse(dialog, QEvent::MouseMove, {20, 20}, Qt::NoButton);
    EXPECT_EQ(dialog.pos(), released);
}

}  // namespace
}  // namespace keyloom::controls
