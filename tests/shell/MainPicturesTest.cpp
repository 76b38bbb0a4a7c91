// The main window's pictures: cut to each button's rectangle, decoded when
// first shown, and painting exactly what the full pictures would.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "shell/DimmedFace.h"
#include "shell/MainPictures.h"
#include "support/TempDir.h"

namespace keyloom::shell {
namespace {

using controls::CSkinButton;
using controls::SkinFace;
using keyloom::testing::TempDir;

constexpr std::array<const char*, 6> kFiles = {"main_normal.jpg", "main_over.jpg",
                                               "main_down.jpg",   "main_disable.jpg",
                                               "main_color0.jpg", "main_color1.jpg"};

class MainPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = dir.file("Skins") + "/";
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
        for (std::size_t p = 0; p < kFiles.size(); ++p) {
            QImage picture(300, 160, QImage::Format_RGB32);
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    picture.setPixel(
                        x, y, qRgb((x * 3) & 0xFF, (y * 5) & 0xFF, static_cast<int>(p) * 40));
            ASSERT_TRUE(picture.save(QString::fromStdString(folder + kFiles[p]), "JPG"));
        }
        ASSERT_TRUE(QImage(16, 8, QImage::Format_RGB32)
                        .save(QString::fromStdString(folder + "Arrow.jpg"), "JPG"));
    }

    // A button placed like readSkinControl places it.
    CSkinButton& place(QRect rect) {
        buttons.push_back(std::make_unique<CSkinButton>(&window));
        CSkinButton& b = *buttons.back();
        b.setGeometry(rect);
        b.setPictures({}, rect.topLeft());
        return b;
    }

    // One key dressed alone, with the faces and toggle faces given.
    CSkinButton& dressedKey(std::string_view faces, bool toggleFaces) {
        CSkinButton& key = place({40, 30, 30, 20});
        const std::vector<MainPictures::Use> uses = {{&key, faces, toggleFaces}};
        std::string missing;
        EXPECT_TRUE(pictures.dress(folder, {}, uses, missing)) << missing;
        return key;
    }

    // What the button shows, against the decoded full picture's part under
    // it (what lies outside the picture is left undrawn and not compared).
    ::testing::AssertionResult showsFull(CSkinButton& b, std::size_t picture) {
        const QImage full = QImage(QString::fromStdString(folder + kFiles[picture]))
                                .convertToFormat(QImage::Format_RGB32);
        const QRect wanted(b.pictureOffset() - QPoint(1, 1), b.size());
        const QRect inside = wanted.intersected(full.rect());
        const QImage got = b.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (got.copy(inside.translated(-wanted.topLeft())) == full.copy(inside))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "not the part of " << kFiles[picture];
    }

    TempDir dir;
    std::string folder;
    QWidget window;
    std::vector<std::unique_ptr<CSkinButton>> buttons;
    MainPictures pictures;
};

TEST_F(MainPicturesTest, EachButtonGetsItsCutWhenItFirstShowsAFace) {
    CSkinButton& key = place({40, 30, 30, 20});
    CSkinButton& corner = place({0, 0, 12, 12});
    const std::vector<MainPictures::Use> uses = {{&key, "NHPND", true}, {&corner, "NHPDN", false}};
    std::string missing;
    ASSERT_TRUE(pictures.dress(folder, {}, uses, missing)) << missing;
    const auto all = {MainPictures::Normal,   MainPictures::Hover,     MainPictures::Pressed,
                      MainPictures::Disabled, MainPictures::ToggleOff, MainPictures::ToggleOn};
    for (auto p : all)
        EXPECT_EQ(pictures.decodings(p), 0) << p;
    EXPECT_FALSE(pictures.arrows().isNull());
    EXPECT_TRUE(showsFull(key, 0));
    EXPECT_TRUE(showsFull(corner, 0));
    EXPECT_EQ(pictures.decodings(MainPictures::Normal), 1);

    key.setHovered(true);
    EXPECT_TRUE(showsFull(key, 1));
    EXPECT_TRUE(pictures.heldWhole(MainPictures::Hover));
    EXPECT_TRUE(corner.pictures().hover.isNull());  // not shown yet, not cut
    corner.setHovered(true);
    EXPECT_TRUE(showsFull(corner, 1));
    EXPECT_EQ(pictures.decodings(MainPictures::Hover), 1);  // held whole meanwhile

    // Once dropped, with the cuts, a picture is decoded again when shown.
    pictures.dropPictures();
    EXPECT_FALSE(pictures.heldWhole(MainPictures::Hover));
    EXPECT_TRUE(corner.pictures().hover.isNull());
    key.setSelected(true);  // "NHPND": selected shows the disabled picture
    key.setHovered(false);
    EXPECT_TRUE(showsFull(key, 3));
    pictures.dropPictures();
    corner.setEnabled(false);
    EXPECT_TRUE(showsFull(corner, 3));
    EXPECT_EQ(pictures.decodings(MainPictures::Disabled), 2);
    corner.setEnabled(true);
    corner.setHovered(true);
    EXPECT_TRUE(showsFull(corner, 1));
    EXPECT_EQ(pictures.decodings(MainPictures::Hover), 2);

    key.setToggleDisplay(true, true);
    EXPECT_TRUE(showsFull(key, 5));
    EXPECT_EQ(pictures.decodings(MainPictures::ToggleOff), 0);
    EXPECT_EQ(pictures.decodings(MainPictures::Pressed), 0);
}

TEST_F(MainPicturesTest, AGivenNormalPictureIsNotDecodedAgain) {
    CSkinButton& key = place({40, 30, 30, 20});
    const std::vector<MainPictures::Use> uses = {{&key, "NHPND", false}};
    // A different picture in the normal's place shows that it was used.
    QImage other(300, 160, QImage::Format_RGB32);
    other.fill(qRgb(1, 2, 3));
    const QPixmap given = QPixmap::fromImage(other);
    std::string missing;
    int asked = 0;
    const auto normal = [&] {
        ++asked;
        return given;
    };
    ASSERT_TRUE(pictures.dress(folder, normal, uses, missing));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(pictures.decodings(MainPictures::Normal), 0);
    const QImage got = key.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(got.pixel(5, 5), qRgb(1, 2, 3));
    key.grab();
    EXPECT_EQ(asked, 1);
    // The normal cut shares the given picture's pixels instead of copying them.
    const QImage cutPixels = key.pictures().normal.toImage();
    const QImage givenPixels = given.toImage();
    const uchar* start = givenPixels.constBits();
    EXPECT_GE(cutPixels.constBits(), start);
    EXPECT_LT(cutPixels.constBits(), start + givenPixels.sizeInBytes());
}

TEST_F(MainPicturesTest, AMissingPictureFailsBeforeAnyButtonChanges) {
    CSkinButton& key = place({40, 30, 30, 20});
    const std::vector<MainPictures::Use> uses = {{&key, "NHPND", true}};
    for (const char* file : {"main_color1.jpg", "Arrow.jpg"}) {
        ASSERT_TRUE(QFile::remove(QString::fromStdString(folder + file)));
        std::string missing;
        EXPECT_FALSE(pictures.dress(folder, {}, uses, missing));
        EXPECT_EQ(missing, folder + file);
        EXPECT_TRUE(key.pictures().normal.isNull());
        // Written back as text: present but unreadable counts as missing.
        QFile broken(QString::fromStdString(folder + file));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
        broken.close();
        EXPECT_FALSE(pictures.dress(folder, {}, uses, missing));
        EXPECT_EQ(missing, folder + file);
        ASSERT_TRUE(QFile::remove(QString::fromStdString(folder + file)));
        ASSERT_TRUE(
            QImage(16, 8, QImage::Format_RGB32).save(QString::fromStdString(folder + file), "JPG"));
    }
}

TEST_F(MainPicturesTest, PicturesSwappedByHandAfterCompleteStaySwapped) {
    CSkinButton& key = dressedKey("NHPND", true);
    pictures.complete(key);
    const controls::SkinPictureSet set = key.pictures();
    for (const QPixmap* face :
         {&set.normal, &set.hover, &set.pressed, &set.disabled, &set.selected})
        EXPECT_FALSE(face->isNull());
    // The key view's look while its key is edited: hover as normal face.
    const controls::SkinPictureSet own = key.pictures();
    key.setPictures({own.hover, own.hover, own.pressed, own.normal, own.hover}, key.pictureOffset(),
                    key.pictureOrigin());
    EXPECT_TRUE(showsFull(key, 1));
    // The hold's end leaves a completed key's pictures alone until released.
    pictures.dropPictures();
    EXPECT_TRUE(showsFull(key, 1));
    key.setPictures(own, key.pictureOffset(), key.pictureOrigin());
    EXPECT_TRUE(showsFull(key, 0));
    pictures.release(key);
    pictures.dropPictures();
    EXPECT_TRUE(key.pictures().hover.isNull());
}

TEST_F(MainPicturesTest, ADimmedButtonDecodesOnlyTheNormalPicture) {
    CSkinButton& key = dressedKey("NHPDN", true);
    key.setEnabled(false);
    pictures.provideNormal(key);
    dimDisabledFace(key);
    key.grab();
    EXPECT_TRUE(hasDimmedFace(key));
    for (const auto picture : {MainPictures::Hover, MainPictures::Pressed, MainPictures::Disabled,
                               MainPictures::ToggleOff, MainPictures::ToggleOn})
        EXPECT_EQ(pictures.decodings(picture), 0) << picture;
    // Its pictures outlast the hold; enabled again (another keyboard), its
    // faces come from the pictures.
    pictures.dropPictures();
    EXPECT_TRUE(hasDimmedFace(key));
    key.setEnabled(true);
    EXPECT_TRUE(showsFull(key, 0));
    EXPECT_EQ(pictures.decodings(MainPictures::Normal), 1);
}

TEST_F(MainPicturesTest, PicturesAreHeldWhileButtonsPaintAndDroppedOnceNothingDid) {
    MainPictures held(std::chrono::milliseconds(100));
    CSkinButton& key = place({40, 30, 30, 20});
    const std::vector<MainPictures::Use> uses = {{&key, "NHPND", false}};
    std::string missing;
    ASSERT_TRUE(held.dress(folder, {}, uses, missing)) << missing;
    key.grab();
    for (int i = 0; i < 8; ++i) {
        QTest::qWait(30);
        key.grab();
    }
    EXPECT_TRUE(held.heldWhole(MainPictures::Normal));
    EXPECT_EQ(held.decodings(MainPictures::Normal), 1);
    QTest::qWait(500);
    EXPECT_FALSE(held.heldWhole(MainPictures::Normal));
    EXPECT_TRUE(key.pictures().normal.isNull());
    EXPECT_TRUE(showsFull(key, 0));
    EXPECT_EQ(held.decodings(MainPictures::Normal), 2);
}

TEST_F(MainPicturesTest, PartsDecodedAheadAndNeverUsedAreNotKeptPastTheHold) {
    CSkinButton& key = dressedKey("NHPDN", false);
    key.setEnabled(false);
    pictures.decodePartsAhead(MainPictures::Disabled, {});
    EXPECT_TRUE(pictures.heldAhead(MainPictures::Disabled));
    pictures.dropPictures();
    EXPECT_FALSE(pictures.heldAhead(MainPictures::Disabled));
    EXPECT_TRUE(showsFull(key, 3));
    EXPECT_EQ(pictures.decodings(MainPictures::Disabled), 1);
}

TEST_F(MainPicturesTest, TheFirstFramesPartsDecodedAheadShowWhatTheWholePictureShows) {
    // Two disabled keys in one row share a band; a key that may show
    // selected lies in a band further down (and partly outside the picture).
    CSkinButton& left = place({40, 30, 30, 20});
    CSkinButton& right = place({120, 36, 30, 20});
    CSkinButton& selectable = place({280, 100, 30, 20});
    CSkinButton& later = place({200, 130, 30, 20});
    const std::vector<MainPictures::Use> uses = {{&left, "NHPDN", false},
                                                 {&right, "NHPDN", false},
                                                 {&selectable, "NHPND", false},
                                                 {&later, "NHPDN", false}};
    std::string missing;
    ASSERT_TRUE(pictures.dress(folder, {}, uses, missing)) << missing;
    left.setEnabled(false);
    right.setEnabled(false);
    CSkinButton* const chosen[] = {&selectable};
    pictures.decodePartsAhead(MainPictures::Disabled, chosen);
    selectable.setSelected(true);
    EXPECT_TRUE(showsFull(left, 3));
    EXPECT_TRUE(showsFull(right, 3));
    EXPECT_TRUE(showsFull(selectable, 3));
    EXPECT_EQ(pictures.partDecodings(MainPictures::Disabled), 2);
    EXPECT_EQ(pictures.decodings(MainPictures::Disabled), 0);
    // A button the parts do not hold gets its cut from the whole picture.
    later.setEnabled(false);
    EXPECT_TRUE(showsFull(later, 3));
    EXPECT_EQ(pictures.decodings(MainPictures::Disabled), 1);
}

TEST_F(MainPicturesTest, AButtonThatLostItsCutGetsItBack) {
    CSkinButton& key = dressedKey("NHPND", false);
    key.setHovered(true);
    EXPECT_TRUE(showsFull(key, 1));
    // Pictures from before the decoding, set again by hand.
    const controls::SkinPictureSet own = key.pictures();
    key.setPictures({own.normal, {}, {}, {}, {}}, key.pictureOffset(), key.pictureOrigin());
    EXPECT_TRUE(showsFull(key, 1));
}

}  // namespace
}  // namespace keyloom::shell
