#include <gtest/gtest.h>

#include "controls/ColourChoice.h"
#include "controls/SkinButtonState.h"

namespace keyloom::controls {
namespace {

TEST(SkinButtonState, DisabledWinsOverEveryOtherState) {
    SkinButtonState state;
    state.setHovered(true);
    state.setPressed(true);
    state.setSelected(true);
    state.setToggleDisplay(true, true);
    state.setEnabled(false);
    EXPECT_EQ(state.face(), SkinFace::Disabled);
    EXPECT_EQ(state.textSlot(), TextColourSlot::Disabled);
}

TEST(SkinButtonState, ToggleDisplayShowsTheFlagAndNoMouseFeedback) {
    SkinButtonState state;
    state.setSelected(true);
    state.setToggleDisplay(true, false);
    EXPECT_EQ(state.face(), SkinFace::ToggleOff);
    state.setHovered(true);
    state.setPressed(true);
    EXPECT_EQ(state.face(), SkinFace::ToggleOff);
    EXPECT_TRUE(state.setToggleDisplay(true, true));
    EXPECT_EQ(state.face(), SkinFace::ToggleOn);
    EXPECT_EQ(state.textSlot(), TextColourSlot::Normal);
    // Leaving the display brings back the ordinary faces.
    state.setToggleDisplay(false, true);
    EXPECT_EQ(state.face(), SkinFace::Pressed);
}

TEST(SkinButtonState, PressedBeatsSelectedBeatsHover) {
    SkinButtonState state;
    EXPECT_EQ(state.face(), SkinFace::Normal);
    state.setHovered(true);
    EXPECT_EQ(state.face(), SkinFace::Hover);
    EXPECT_EQ(state.textSlot(), TextColourSlot::Hover);
    state.setSelected(true);
    EXPECT_EQ(state.face(), SkinFace::Selected);
    EXPECT_EQ(state.textSlot(), TextColourSlot::Selected);
    state.setPressed(true);
    EXPECT_EQ(state.face(), SkinFace::Pressed);
    EXPECT_EQ(state.textSlot(), TextColourSlot::Pressed);
}

TEST(SkinButtonState, SettersReportOnlyVisibleChanges) {
    SkinButtonState state;
    EXPECT_FALSE(state.setSelected(false));
    EXPECT_TRUE(state.setSelected(true));
    // Hover under a selected face changes nothing that shows.
    EXPECT_FALSE(state.setHovered(true));
    EXPECT_TRUE(state.setEnabled(false));
    EXPECT_FALSE(state.setSelected(false));
    EXPECT_FALSE(state.setToggleDisplay(true, true));
    EXPECT_TRUE(state.setOutline(0x00FF00u));
    EXPECT_FALSE(state.setOutline(0x00FF00u));
    EXPECT_TRUE(state.setOutline(std::nullopt));
    // The state kept what was set while disabled.
    EXPECT_TRUE(state.setEnabled(true));
    EXPECT_EQ(state.face(), SkinFace::ToggleOn);
}

TEST(ColourChoice, ShowsTheAutomaticColourUntilOneIsChosen) {
    ColourChoice choice;
    choice.setAutomatic(0xFF123456u);  // anything above the colour is dropped
    EXPECT_EQ(choice.colour(), 0x123456u);
    EXPECT_FALSE(choice.hasChosen());
    EXPECT_TRUE(choice.choose(0xABCDEFu));
    EXPECT_EQ(choice.colour(), 0xABCDEFu);
    EXPECT_FALSE(choice.choose(0xABCDEFu));
    choice.setAutomatic(0x000000u);
    EXPECT_EQ(choice.colour(), 0xABCDEFu);
    EXPECT_TRUE(choice.clear());
    EXPECT_EQ(choice.colour(), 0x000000u);
    // Choosing the automatic colour itself changes nothing that shows.
    EXPECT_FALSE(choice.choose(0x000000u));
    EXPECT_TRUE(choice.hasChosen());
}

}  // namespace
}  // namespace keyloom::controls
