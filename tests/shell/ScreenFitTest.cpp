// The scale factor that makes the largest window fit the screen's usable
// area: the window's device size then lies inside the area and touches it
// on one side (the largest such scale), and windows that fit keep theirs.

#include <gtest/gtest.h>

#include <cmath>

#include "shell/ScreenFit.h"

namespace keyloom::testing {
namespace {

TEST(ScreenFitTest, TheLargestWindowFitsTheUsableAreaAtTheLargestScale) {
    const QSize window(1160, 700);
    struct Case {
        const char* screen;
        QSize available;  // logical pixels at the desktop's scale
        double ratio;
        bool fitsAlready;
    };
    const Case cases[] = {
        {"1600x1000 at 1", {1600, 1000}, 1.0, true},
        {"1600x1000 at 2", {800, 500}, 2.0, false},
        {"1920x1080 at 1.5", {1280, 720}, 1.5, true},
        {"1920x1080 at 1.5 with a panel", {1280, 693}, 1.5, false},
        {"1366x768 at 1.25", {1093, 590}, 1.25, false},
        {"exactly the window", {1160, 700}, 1.0, true},
    };
    for (const Case& c : cases) {
        const double fit = shell::fitFactor(window, c.available, c.ratio);
        if (c.fitsAlready) {
            EXPECT_EQ(fit, 1.0) << c.screen;
            continue;
        }
        const double across = std::round(window.width() * c.ratio * fit);
        const double down = std::round(window.height() * c.ratio * fit);
        const double roomAcross = c.available.width() * c.ratio;
        const double roomDown = c.available.height() * c.ratio;
        EXPECT_LE(across, roomAcross) << c.screen;
        EXPECT_LE(down, roomDown) << c.screen;
        EXPECT_TRUE(across >= roomAcross - 2 || down >= roomDown - 2) << c.screen;
    }
    EXPECT_EQ(shell::fitFactor(QSize(), {800, 500}, 2.0), 1.0) << "no window read";
}

}  // namespace
}  // namespace keyloom::testing
