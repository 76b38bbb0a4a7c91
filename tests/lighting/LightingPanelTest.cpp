// The lighting panel's controls against the simulated keyboard: the bytes
// each control sends, what it leaves out, and which controls each state
// shows.

#include <functional>

#include "LightingFixture.h"
#include "lighting/LightingOps.h"

namespace keyloom::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class LightingPanel : public LightingFixture {};

struct ControlCase {
    const char* name;
    std::function<void(LightingController&)> act;
    std::vector<Written> expected;  // on lighting profile 1: record at 42
};

TEST_F(LightingPanel, EachControlSendsItsFieldsInOneBracket) {
    const std::vector<ControlCase> cases = {
        {"brightness", [](auto& c) { c.sliderMoved(1178, 3); }, {{6, 43, {3}}}},
        {"speed leftmost", [](auto& c) { c.sliderMoved(1179, 0); }, {{6, 44, {3}}}},
        {"speed position 2", [](auto& c) { c.sliderMoved(1179, 2); }, {{6, 44, {1}}}},
        {"direction left", [](auto& c) { c.controlClicked(1149); }, {{6, 45, {255}}}},
        {"multicolour", [](auto& c) { c.controlClicked(1156); }, {{6, 46, {1}}}},
        {"colour picked",
         [](auto& c) {
             c.colourPicked(1155, {10, 20, 30});
         },
         {{6, 46, {0}}, {6, 47, {10, 20, 30}}}},
        {"preset 2", [](auto& c) { c.controlClicked(1212); }, {{6, 46, {0}}, {6, 47, {255, 0, 0}}}},
        {"preset 8",
         [](auto& c) { c.controlClicked(1218); },
         {{6, 46, {0}}, {6, 47, {174, 0, 255}}}},
        {"effect 17 green", [](auto& c) { c.controlClicked(1196); }, {{6, 59, {2}}}},
        {"effect 5 with colourful flag",
         [](auto& c) { c.selectEffectAt(c.effects().positionOf(5)); },
         {{6, 42, {5}}, {6, 46, {0}}}},
        {"effect 12 alone",
         [](auto& c) { c.selectEffectAt(c.effects().positionOf(12)); },
         {{6, 42, {12}}}},
        {"effect 20 alone",
         [](auto& c) { c.selectEffectAt(c.effects().positionOf(20)); },
         {{6, 42, {20}}}},
    };
    for (const ControlCase& test : cases) {
        SCOPED_TRACE(test.name);
        LightingController& c = makeController(1, blockWithEffects({1, 5, 12, 20}));
        test.act(c);
        EXPECT_EQ(oneBracket(received()), test.expected);
    }
}

TEST_F(LightingPanel, RestoreDefaultsEndsWithTheDefaultRecordAndResetsTheUserMode) {
    dir.write("Skins/UserDengColor_3.userd", "[PRESENTMODE]\nmode=0\n[Mode0]\n53=1,2,3,1\n");
    dir.write("UserDengColor_1.userd", "[PRESENTMODE]\nmode=0\n[Mode0]\n53=9,9,9,0\n");
    LightingController& c = makeController(1, blockWithEffects({1, 20}), 20);
    c.restoreDefaults();

    const auto requests = received();
    std::vector<int> commands;
    for (const Request& r : requests)
        commands.push_back(r.command);
    // Effect 1 selected, the user mode's colour block, the default record.
    EXPECT_EQ(commands,
              (std::vector<int>{1, 6, 6, 2, 1, 17, 17, 17, 17, 17, 17, 17, 17, 2, 1, 6, 2}));
    Bytes reset(35, 0);
    const Bytes head{1, 4, 2, 0, 255, 255, 255, 255};
    std::copy(head.begin(), head.end(), reset.begin());
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[requests.size() - 2].offset, 42);
    EXPECT_EQ(requests[requests.size() - 2].data, reset);
    EXPECT_EQ(c.keyColour(1058), (Rgb{1, 2, 3}));
    EXPECT_EQ(c.state().brightness, 4);
    EXPECT_EQ(c.state().speed, 2);
    EXPECT_TRUE(c.state().colourful);
    EXPECT_EQ(c.state().mainColour, 0xFFFFFFu);
}

TEST_F(LightingPanel, MovingASliderOntoItsValueSendsNothing) {
    LightingController& c = makeController();
    c.sliderMoved(1178, 2);
    c.sliderMoved(1179, 1);
    clearLog();
    c.sliderMoved(1178, 2);
    c.sliderMoved(1179, 1);
    EXPECT_TRUE(received().empty());
    EXPECT_EQ(lighting::speedPosition(c.state()), 1);
}

TEST_F(LightingPanel, EffectsAreListedInTheKeyboardsOrderAndTheSecondIsPerKey) {
    LightingController& c = makeController(0, blockWithEffects({1, 0, 20, 5}));
    ASSERT_EQ(c.effects().size(), 3u);
    EXPECT_EQ(c.effects().effectAt(0), 1);
    EXPECT_EQ(c.effects().effectAt(1), 20);
    EXPECT_EQ(c.effects().effectAt(2), 5);
    EXPECT_EQ(c.effects().positionOf(7), -1);

    c.setLightingView(true);
    c.selectEffectAt(1);
    EXPECT_EQ(oneBracket(received()), (std::vector<Written>{{6, 0, {20}}}));
    EXPECT_TRUE(isShown(c.shownControls(), LightingControl::BaseColourPicker));
    EXPECT_FALSE(isShown(c.shownControls(), LightingControl::SpeedSlider));
    EXPECT_TRUE(c.showsKeyColours());
    EXPECT_TRUE(c.previewRestartPending());
}

TEST_F(LightingPanel, ViewOffHidesEverythingAndViewOnShowsTheCurrentEffect) {
    LightingController& c = makeController(0, blockWithEffects({1, 16}), 16);
    c.setLightingView(false);
    EXPECT_TRUE(c.shownControls().none());
    EXPECT_FALSE(isShown(c.shownControls(), LightingControl::EffectList));

    c.setLightingView(true);
    const ShownControls shown = c.shownControls();
    EXPECT_TRUE(isShown(shown, LightingControl::EffectList));
    EXPECT_TRUE(isShown(shown, LightingControl::MulticolourToggle));
    EXPECT_TRUE(isShown(shown, LightingControl::ReactionColourPicker));
    EXPECT_FALSE(isShown(shown, LightingControl::ColourPicker));
    EXPECT_FALSE(isShown(shown, LightingControl::SpeedSlider));
    // The switch survives a restart through the settings file.
    c.reloadLightingView();
    EXPECT_TRUE(c.lightingView());
}

TEST(LightingControls, EffectTableRows) {
    struct Row {
        std::uint8_t effect;
        bool speed, direction, picker, toggle;
    };
    for (const Row& row :
         {Row{1, true, true, true, true}, Row{12, true, true, true, true},
          Row{9, true, false, true, true}, Row{10, true, false, false, false},
          Row{18, false, false, true, true}, Row{17, false, false, false, false}}) {
        SCOPED_TRACE(int(row.effect));
        const ShownControls shown = shownControls(row.effect, true);
        EXPECT_TRUE(isShown(shown, LightingControl::BrightnessSlider));
        EXPECT_EQ(isShown(shown, LightingControl::SpeedSlider), row.speed);
        EXPECT_EQ(isShown(shown, LightingControl::DirectionLeft), row.direction);
        EXPECT_EQ(isShown(shown, LightingControl::ColourPicker), row.picker);
        EXPECT_EQ(isShown(shown, LightingControl::MulticolourToggle), row.toggle);
    }
    EXPECT_TRUE(isShown(shownControls(17, true), LightingControl::Effect17Choices));
    // An effect the panel does not know shows nothing but the switch.
    EXPECT_TRUE(shownControls(19, true).none());
    EXPECT_EQ(directionSkinSuffix(11), "2");
    EXPECT_EQ(directionSkinSuffix(12), "3");
    EXPECT_EQ(directionSkinSuffix(5), "");
}

TEST(LightingOps, RgbBoxClampsAndRewrites) {
    struct Case {
        const char* text;
        int value;
        bool rewrite;
    };
    for (const Case& c : {Case{"300", 255, true}, Case{"255", 255, false}, Case{"12", 12, false},
                          Case{"99999999999", 255, true}, Case{"7x", 7, true}}) {
        SCOPED_TRACE(c.text);
        const lighting::RgbBoxValue v = lighting::readRgbBox(c.text);
        EXPECT_EQ(v.value, c.value);
        EXPECT_EQ(v.rewrite, c.rewrite);
    }
}

TEST(LightingOps, CommittedRgbBoxTakesOnlyDigitsUpTo255) {
    struct Case {
        const char* text;
        std::optional<std::uint8_t> value;
    };
    for (const Case& c : {Case{"0", 0}, Case{"255", 255}, Case{"0255", 255}, Case{"256", {}},
                          Case{"", {}}, Case{"12a", {}}, Case{"-1", {}}, Case{" 5", {}}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(lighting::committedRgbBox(c.text), c.value);
    }
}

TEST(LightingOps, PresetUpdatesTheStateLikeAPickedColour) {
    LightingState state;
    state.colourful = true;
    lighting::pickPreset(state, 0, 2);
    EXPECT_FALSE(state.colourful);
    EXPECT_EQ(lighting::unpackColour(state.mainColour), (Rgb{0, 126, 255}));
    // A later effect selection therefore writes the flag the keyboard holds.
    const LightingChange change = lighting::selectEffect(state, 0, 1);
    ASSERT_EQ(change.writes.size(), 2u);
    EXPECT_EQ(change.writes[1].bytes, Bytes{0});
}

TEST(LightingOps, UnlistedEffectWritesNothing) {
    LightingState state;
    EXPECT_TRUE(lighting::selectEffect(state, 0, 19).empty());
    EXPECT_TRUE(lighting::selectEffect(state, 0, 0).empty());
}

}  // namespace
}  // namespace keyloom::testing
