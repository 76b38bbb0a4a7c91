// A button given cuts of its full-window pictures paints exactly what the
// full pictures would, and asks for a picture it lacks before painting it.

#include <gtest/gtest.h>

#include <QWidget>
#include <vector>

#include "TestPictures.h"
#include "controls/CSkinButton.h"

namespace keyloom::controls {
namespace {

using keyloom::testing::patternPicture;
using keyloom::testing::showsPart;

QImage grabOf(CSkinButton& button) {
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The cut of `picture` that a button at `offset` of `size` draws, and its origin.
struct Cut {
    QPixmap pixmap;
    QPoint origin;
};
Cut cutFor(const QImage& picture, QPoint offset, QSize size) {
    const QRect inside = QRect(offset - QPoint(1, 1), size).intersected(picture.rect());
    return {QPixmap::fromImage(picture.copy(inside)), inside.topLeft()};
}

TEST(PictureCut, CutsPaintLikeTheFullPictureInsideAndAtTheEdges) {
    const QImage normal = patternPicture(200, 120, 0);
    const QImage toggleOn = patternPicture(200, 120, 6);
    QWidget window;
    // Inside, at the top-left corner (one pixel outside), and over the
    // right and bottom edges.
    const std::vector<QRect> places = {
        {40, 30, 30, 20}, {0, 0, 12, 12}, {190, 110, 20, 20}, {1, 1, 1, 1}};
    for (const QRect& place : places) {
        CSkinButton whole(&window);
        CSkinButton cut(&window);
        for (CSkinButton* b : {&whole, &cut})
            b->setGeometry(place);
        whole.setPictures(SkinPictureSet::uniform(QPixmap::fromImage(normal)), place.topLeft());
        whole.setTogglePictures({}, QPixmap::fromImage(toggleOn));
        const Cut n = cutFor(normal, place.topLeft(), place.size());
        const Cut t = cutFor(toggleOn, place.topLeft(), place.size());
        ASSERT_EQ(n.origin, t.origin);
        cut.setPictures(SkinPictureSet::uniform(n.pixmap), place.topLeft(), n.origin);
        cut.setTogglePictures({}, t.pixmap);
        EXPECT_EQ(grabOf(cut), grabOf(whole)) << place.x() << "," << place.y();

        for (CSkinButton* b : {&whole, &cut})
            b->setToggleDisplay(true, true);
        EXPECT_EQ(grabOf(cut), grabOf(whole)) << place.x() << "," << place.y();
    }
}

TEST(PictureCut, FullPicturesAgainDropTheOrigin) {
    const QImage normal = patternPicture(200, 120, 0);
    QWidget window;
    CSkinButton button(&window);
    button.setGeometry(40, 30, 30, 20);
    const Cut n = cutFor(normal, {40, 30}, {30, 20});
    button.setPictures(SkinPictureSet::uniform(n.pixmap), {40, 30}, n.origin);
    button.setPictures(SkinPictureSet::uniform(QPixmap::fromImage(normal)), {40, 30});
    EXPECT_EQ(button.pictureOrigin(), QPoint(0, 0));
    std::string why;
    EXPECT_TRUE(showsPart(grabOf(button), normal, {39, 29}, &why)) << why;
}

TEST(PictureCut, TheLoaderIsAskedOnlyForMissingFaces) {
    const QImage normal = patternPicture(200, 120, 0);
    const QImage hover = patternPicture(200, 120, 1);
    QWidget window;
    CSkinButton button(&window);
    button.setGeometry(40, 30, 30, 20);
    button.setPictures({QPixmap::fromImage(normal), {}, {}, {}, {}}, {40, 30});
    std::vector<SkinFace> asked;
    button.setPictureLoader([&](CSkinButton& b, SkinFace face) {
        asked.push_back(face);
        if (face == SkinFace::Hover) {
            SkinPictureSet set = b.pictures();
            set.hover = QPixmap::fromImage(hover);
            b.setPictures(set, b.pictureOffset());
        }
    });

    button.grab();
    EXPECT_TRUE(asked.empty());
    button.setHovered(true);
    std::string why;
    EXPECT_TRUE(showsPart(grabOf(button), hover, {39, 29}, &why)) << why;
    button.grab();
    EXPECT_EQ(asked, std::vector<SkinFace>{SkinFace::Hover});

    // A toggle face falls back to the normal picture, but is still asked for.
    button.setHovered(false);
    button.setToggleDisplay(true, false);
    EXPECT_TRUE(showsPart(grabOf(button), normal, {39, 29}, &why)) << why;
    EXPECT_EQ(asked.back(), SkinFace::ToggleOff);
}

}  // namespace
}  // namespace keyloom::controls
