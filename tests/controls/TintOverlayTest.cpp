// The tint blended over a key face: screen mode inside the rounded shape, the
// inverted face under a light colour (within one step of the exact result,
// never carrying into the next channel), the face untouched outside it, and a
// new colour or face taken up. Which colours count as light.

#include <gtest/gtest.h>

#include <QPixmap>

#include "controls/LegendContrast.h"
#include "controls/TintOverlay.h"

namespace keyloom::controls {
namespace {

int screen(int s, int d) {
    return s + d - s * d / 255;
}
// Light legends (d high) go dark under a light colour.
int inverted(int s, int d) {
    return s * (255 - d) / 255;
}

TEST(TintOverlay, ScreensTheColourOverTheFaceInsideTheShapeOnly) {
    const QSize size(40, 40);
    TintOverlay overlay;
    for (QRgb face : {0xFF000000u, 0xFF808080u, 0xFFFFFFFFu, 0xFF10F020u, 0x00000000u}) {
        QPixmap picture(size);
        picture.fill(QColor::fromRgba(face));
        for (QRgb colour : {0xFFFFFFu, 0xFF0000u, 0xFFFF00u, 0x3366CCu, 0x000000u}) {
            SCOPED_TRACE(QString::number(face, 16).toStdString() + " / " +
                         QString::number(colour, 16).toStdString());
            const QImage& out = overlay.picture(picture, QPoint(1, 1), QPoint(0, 0), size, colour);
            ASSERT_EQ(out.size(), size);
            const QRgb centre = out.pixel(20, 20);
            const auto blend = wantsDarkLegend(colour) ? inverted : screen;
            EXPECT_NEAR(qRed(centre), blend(qRed(colour), qRed(face)), 1);
            EXPECT_NEAR(qGreen(centre), blend(qGreen(colour), qGreen(face)), 1);
            EXPECT_NEAR(qBlue(centre), blend(qBlue(colour), qBlue(face)), 1);
            EXPECT_EQ(qAlpha(centre), 255);
            EXPECT_EQ(out.pixel(0, 0), face);  // outside the rounded shape
            // A see-through corner must be blended, not copied, onto the window.
            EXPECT_EQ(overlay.opaque(), qAlpha(face) == 255);
        }
    }
}

// A key that changes face (hovered, pressed) or size while its colour stays
// must not keep showing the face it was tinted over before.
TEST(TintOverlay, ANewFaceOrSizeUnderTheSameColourIsBlendedAnew) {
    TintOverlay overlay;
    QPixmap dark(40, 40);
    dark.fill(Qt::black);
    QPixmap light(40, 40);
    light.fill(Qt::white);
    const QRgb colour = 0x204060;
    EXPECT_EQ(overlay.picture(dark, QPoint(1, 1), QPoint(0, 0), QSize(40, 40), colour).pixel(0, 0),
              0xFF000000u);
    EXPECT_EQ(overlay.picture(light, QPoint(1, 1), QPoint(0, 0), QSize(40, 40), colour).pixel(0, 0),
              0xFFFFFFFFu);
    EXPECT_EQ(overlay.picture(light, QPoint(1, 1), QPoint(0, 0), QSize(30, 20), colour).size(),
              QSize(30, 20));
}

// Legends take whichever of dark and light contrasts more with the key.
TEST(LegendContrast, DarkLegendsOnLightColoursOnly) {
    struct Case {
        std::uint32_t colour;
        bool dark;
    };
    for (const Case& c :
         {Case{0x000000, false}, Case{0xFFFFFF, true}, Case{0xFFFF00, true}, Case{0xEAFF00, true},
          Case{0x5AFF00, true}, Case{0x808080, true}, Case{0x646464, false}, Case{0x0000FF, false},
          Case{0xAE00FF, false}, Case{0x3366CC, false}})
        EXPECT_EQ(wantsDarkLegend(c.colour), c.dark) << std::hex << c.colour;
}

}  // namespace
}  // namespace keyloom::controls
