#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "controls/SkinButtonSet.h"
#include "support/TempDir.h"

namespace keyloom::controls {
namespace {

using keyloom::testing::TempDir;

QRgb colourOf(const QPixmap& picture) {
    return picture.toImage().pixel(0, 0);
}

void writePicture(const TempDir& dir, const std::string& name, QRgb colour) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    image.save(QString::fromStdString(dir.file(name)));
}

TEST(SkinButtonSet, PlacesOwnsDressesAndReportsClicksById) {
    TempDir dir;
    const std::string skin = dir.write("Dlg.ini", "[BUTTONINFO]\nOK=10,20,30,40\nGONE=1,1,5,5\n");
    QWidget window;
    SkinButtonSet set(window);
    std::vector<int> clicked;
    CSkinButton& ok = set.add(1, skin, "OK");
    set.add(2, skin, "GONE");
    set.setClickHandler([&](int id) { clicked.push_back(id); });

    EXPECT_EQ(ok.geometry(), QRect(10, 20, 30, 40));
    EXPECT_EQ(ok.parentWidget(), &window);
    EXPECT_FALSE(set.find(2)->isEnabled());  // a key left out of the skin
    EXPECT_EQ(set.find(3), nullptr);

    QPixmap face(8, 8);
    face.fill(Qt::red);
    set.dressAll(SkinPictureSet::uniform(face));
    EXPECT_EQ(ok.pictureOffset(), QPoint(10, 20));
    EXPECT_EQ(colourOf(ok.pictures().selected), QColor(Qt::red).rgb());

    ok.click();
    EXPECT_EQ(clicked, std::vector<int>{1});
}

TEST(SkinButtonSet, PictureSetMapsRepeatedFilesAndNamesTheFirstMissing) {
    TempDir dir;
    writePicture(dir, "n.jpg", qRgb(0, 0, 0));
    writePicture(dir, "o.png", qRgb(255, 0, 0));
    const std::string folder = dir.path() + "/";
    SkinPictureSet set;
    std::string missing;
    ASSERT_TRUE(
        loadPictureSet(folder, {"n.jpg", "o.png", "o.png", "n.jpg", "n.jpg"}, set, missing));
    EXPECT_EQ(colourOf(set.hover), qRgb(255, 0, 0));
    EXPECT_EQ(colourOf(set.pressed), qRgb(255, 0, 0));
    EXPECT_EQ(colourOf(set.disabled), colourOf(set.normal));

    const SkinPictureSet before = set;
    EXPECT_FALSE(
        loadPictureSet(folder, {"n.jpg", "x.jpg", "y.jpg", "n.jpg", "n.jpg"}, set, missing));
    EXPECT_EQ(missing, folder + "x.jpg");
    EXPECT_EQ(set.hover.cacheKey(), before.hover.cacheKey());
}

}  // namespace
}  // namespace keyloom::controls
