// A skin whose pictures are decoded when first needed: the size at once, the
// background when painted, the shape when the window is shown.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "controls/CBaseDialog.h"
#include "support/TempDir.h"

namespace keyloom::controls {
namespace {

using keyloom::testing::TempDir;
using SkinPictures = CBaseDialog::SkinPictures;

class DeferredSkinTest : public ::testing::Test {
protected:
    DeferredSkinTest() {
        QImage back(40, 30, QImage::Format_RGB32);
        back.fill(qRgb(20, 30, 40));
        back.save(QString::fromStdString(dir_.file("back.png")));
        QImage mask(40, 30, QImage::Format_RGB32);
        mask.fill(qRgb(0, 0, 0));
        mask.setPixel(39, 29, qRgb(255, 255, 255));
        mask.save(QString::fromStdString(dir_.file("mask.png")));
    }
    std::string skin(const std::string& screen) {
        return dir_.write("Dialog.ini", "[SCREEN]\n" + screen);
    }

    TempDir dir_;
};

TEST_F(DeferredSkinTest, SizeAtOnceBackgroundWhenPaintedShapeWhenShown) {
    // Decoded on need, decoded ahead, and decoded ahead but dropped unused.
    for (const int ahead : {0, 1, 2}) {
        SCOPED_TRACE(ahead);
        CBaseDialog dialog;
        ASSERT_TRUE(
            dialog.loadSkin(skin("Main=back.png\nMask=mask.png\n"), SkinPictures::WhenNeeded));
        if (ahead > 0)
            dialog.decodeAhead();
        if (ahead == 2)
            dialog.dropUnusedAhead();
        EXPECT_EQ(dialog.size(), QSize(40, 30));
        EXPECT_TRUE(dialog.mask().isEmpty());

        const QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.pixel(20, 15), qRgb(20, 30, 40));
        EXPECT_EQ(dialog.background().size(), QSize(40, 30));

        dialog.show();
        EXPECT_TRUE(dialog.mask().contains(QPoint(0, 0)));
        EXPECT_FALSE(dialog.mask().contains(QPoint(39, 29)));
        dialog.hide();
    }
}

TEST_F(DeferredSkinTest, ATakenBackgroundIsNotKeptAndIsDecodedAgainWhenNeeded) {
    CBaseDialog dialog;
    ASSERT_TRUE(dialog.loadSkin(skin("Main=back.png\n"), SkinPictures::WhenNeeded));
    dialog.decodeAhead();
    const QPixmap taken = dialog.takeBackground();
    ASSERT_EQ(taken.size(), QSize(40, 30));
    const QPixmap again = dialog.takeBackground();
    EXPECT_EQ(again.toImage().pixel(20, 15), taken.toImage().pixel(20, 15));
    EXPECT_NE(again.cacheKey(), taken.cacheKey());  // a second decoding, not a kept copy
    // One set by hand cannot be decoded again, so it stays.
    QPixmap other(10, 10);
    other.fill(Qt::red);
    dialog.setBackground(other);
    EXPECT_EQ(dialog.takeBackground().cacheKey(), other.cacheKey());
    EXPECT_EQ(dialog.background().cacheKey(), other.cacheKey());
}

TEST_F(DeferredSkinTest, ThePicturesFoundAtLoadingAreTheOnesUsed) {
    CBaseDialog dialog;
    ASSERT_TRUE(dialog.loadSkin(skin("Main=back.png\n"), SkinPictures::WhenNeeded));
    // A background set by hand replaces the pending one.
    QPixmap other(10, 10);
    other.fill(Qt::red);
    dialog.setBackground(other);
    EXPECT_EQ(dialog.background().size(), QSize(10, 10));
}

TEST_F(DeferredSkinTest, AnUnreadableBackgroundKeepsTheSize) {
    CBaseDialog dialog;
    dialog.resize(123, 45);
    EXPECT_FALSE(dialog.loadSkin(skin("Main=gone.jpg\n"), SkinPictures::WhenNeeded));
    EXPECT_EQ(dialog.size(), QSize(123, 45));
    QFile text(QString::fromStdString(dir_.file("text.png")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture here");
    text.close();
    EXPECT_FALSE(dialog.loadSkin(skin("Main=text.png\n"), SkinPictures::WhenNeeded));
    EXPECT_EQ(dialog.size(), QSize(123, 45));
    EXPECT_TRUE(dialog.background().isNull());
}

}  // namespace
}  // namespace keyloom::controls
