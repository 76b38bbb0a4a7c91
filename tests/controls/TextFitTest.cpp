// A text that does not fit its width gets the largest smaller font size in
// which it fits, found without trying every size, and never one below the
// smallest legible size.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "controls/TextFit.h"

namespace keyloom::testing {
namespace {

// The size every smaller size tried in turn gives: the largest that fits.
int largestFitting(const QFont& font, const QString& text, int width) {
    QFont sized = font;
    for (int pixels = QFontInfo(font).pixelSize(); pixels > controls::kSmallestTextPixels;
         --pixels) {
        sized.setPixelSize(pixels);
        if (QFontMetrics(sized).horizontalAdvance(text) <= width)
            return pixels;
    }
    return controls::kSmallestTextPixels;
}

TEST(TextFitTest, GivesTheLargestSizeThatFits) {
    QFont font;
    font.setPixelSize(20);
    const QString texts[] = {QStringLiteral("Apply"), QStringLiteral("Tastenbelegung zurücksetzen"),
                             QStringLiteral("WWWWWWWWWWWW"),
                             QStringLiteral("iiiiiiiiiiiiiiiiiiii")};
    for (const QString& text : texts) {
        const int natural = QFontMetrics(font).horizontalAdvance(text);
        for (int width : {natural + 5, natural, natural - 1, natural * 3 / 4, natural / 2,
                          natural / 5, 0, -10}) {
            const QFont fitted = controls::fontToFit(font, text, width);
            EXPECT_EQ(QFontInfo(fitted).pixelSize(), largestFitting(font, text, width))
                << text.toStdString() << " in " << width << " px";
        }
    }
}

TEST(TextFitTest, LeavesAFontAtTheSmallestSizeAsItIs) {
    QFont font;
    font.setPixelSize(controls::kSmallestTextPixels);
    EXPECT_EQ(controls::fontToFit(font, QStringLiteral("far too long a text"), 4), font);
}

}  // namespace
}  // namespace keyloom::testing
