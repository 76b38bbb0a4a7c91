#include <gtest/gtest.h>

#include <climits>

#include "controls/SliderState.h"

namespace keyloom::controls {
namespace {

TEST(SliderState, KeepsThePositionInsideTheRange) {
    SliderState slider(0, 4);
    EXPECT_TRUE(slider.setPosition(3));
    EXPECT_FALSE(slider.setPosition(3));
    EXPECT_TRUE(slider.setPosition(9));
    EXPECT_EQ(slider.position(), 4);
    slider.setRange(0, 2);
    EXPECT_EQ(slider.position(), 2);
    // A maximum below the minimum leaves a range of one position.
    slider.setRange(5, 1);
    EXPECT_EQ(slider.minimum(), 5);
    EXPECT_EQ(slider.maximum(), 5);
    EXPECT_EQ(slider.position(), 5);
}

TEST(SliderState, StepsStopAtTheEndsWithoutOverflow) {
    SliderState slider(INT_MIN, INT_MAX);
    EXPECT_TRUE(slider.setPosition(INT_MAX - 1));
    EXPECT_TRUE(slider.step(INT_MAX));
    EXPECT_EQ(slider.position(), INT_MAX);
    EXPECT_FALSE(slider.step(1));
    EXPECT_TRUE(slider.setPosition(INT_MIN));
    EXPECT_FALSE(slider.step(-1));
    EXPECT_EQ(slider.position(), INT_MIN);
}

TEST(SliderState, SpreadsAnyRangeOverTheFacePictures) {
    // Five brightness steps over 26 faces: the thumb at 0, 1/4, 1/2, 3/4, 1.
    SliderState brightness(0, 4);
    const std::size_t expected[] = {0, 6, 13, 19, 25};
    for (int p = 0; p <= 4; ++p) {
        brightness.setPosition(p);
        EXPECT_EQ(brightness.faceIndex(26), expected[p]) << "position " << p;
    }
    // One face per position maps straight through.
    SliderState speed(0, 3);
    for (int p = 0; p <= 3; ++p) {
        speed.setPosition(p);
        EXPECT_EQ(speed.faceIndex(4), static_cast<std::size_t>(p));
    }
    EXPECT_EQ(speed.faceIndex(0), 0u);
    EXPECT_EQ(SliderState(7, 7).faceIndex(26), 0u);
    // The whole int range does not overflow.
    SliderState wide(INT_MIN, INT_MAX);
    wide.setPosition(INT_MAX);
    EXPECT_EQ(wide.faceIndex(26), 25u);
}

TEST(SliderState, MapsTheMouseToTheNearestPosition) {
    // A 240 pixel slider with its track from 16 to 224 (208 pixels, 52 per step).
    const SliderState slider(0, 4);
    EXPECT_EQ(slider.positionAt(16, 240, 16), 0);
    EXPECT_EQ(slider.positionAt(41, 240, 16), 0);
    EXPECT_EQ(slider.positionAt(43, 240, 16), 1);
    EXPECT_EQ(slider.positionAt(120, 240, 16), 2);
    EXPECT_EQ(slider.positionAt(224, 240, 16), 4);
    EXPECT_EQ(slider.positionAt(-50, 240, 16), 0);
    EXPECT_EQ(slider.positionAt(9999, 240, 16), 4);
    // No track at all: the minimum.
    EXPECT_EQ(slider.positionAt(5, 20, 16), 0);
    EXPECT_EQ(SliderState(-3, 3).positionAt(120, 240, 16), 0);
}

}  // namespace
}  // namespace keyloom::controls
