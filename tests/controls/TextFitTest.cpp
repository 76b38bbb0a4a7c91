// A text that does not fit its width gets the largest smaller font size in
// which it fits, never one below the smallest legible size.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "controls/TextFit.h"

namespace keyloom::testing {
namespace {

// The size that trying every smaller size in turn gives.
int largestFitting(QFont font, const QString& text, int width) {
    for (int pixels = QFontInfo(font).pixelSize(); pixels > controls::kSmallestTextPixels;
         --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            return pixels;
    }
    return controls::kSmallestTextPixels;
}

TEST(TextFitTest, GivesTheLargestSizeThatFits) {
    QFont font;
    font.setPixelSize(20);
    for (const char* text :
         {"Apply", "Tastenbelegung zurücksetzen", "WWWWWWWWWWWW", "iiiiiiiiiii"}) {
        const QString s = QString::fromUtf8(text);
        const int natural = QFontMetrics(font).horizontalAdvance(s);
        for (int width :
             {natural + 5, natural, natural - 1, natural * 3 / 4, natural / 2, natural / 5, 0, -10})
            EXPECT_EQ(QFontInfo(controls::fontToFit(font, s, width)).pixelSize(),
                      largestFitting(font, s, width))
                << text << " in " << width << " px";
    }
    // A font already at the smallest size is left as it is.
    font.setPixelSize(controls::kSmallestTextPixels);
    EXPECT_EQ(controls::fontToFit(font, QStringLiteral("far too long a text"), 4), font);
}

}  // namespace
}  // namespace keyloom::testing
