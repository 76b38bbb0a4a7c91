// The lighting panel on the main window against the simulated keyboard: what
// each control sends, which controls show, the lighting view and painting.

#include <QElapsedTimer>
#include <QLineEdit>
#include <filesystem>

#include "lighting/ColourIndexTable.h"
#include "lighting/LightingOps.h"
#include "lighting/qt/KeyViewLighting.h"
#include "lighting_qt/PanelFixture.h"
#include "platform/ini/Ini.h"
#include "platform/text/SafeFormat.h"

namespace keyloom::testing {
namespace {

using W = LightWrite;
constexpr std::uint8_t kSettings = command::WriteProfileSettings;

class LightingPanelTest : public PanelFixture {};

TEST_F(LightingPanelTest, EffectsInTheKeyboardsOrderAndSelectingOneWritesIt) {
    open({1, 20, 5});
    viewOn();
    QComboBox* list = panel().effectList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0).toStdString(), lookupMode("1"));
    EXPECT_EQ(list->itemText(1).toStdString(), lookupMode("20"));
    EXPECT_EQ(list->itemText(2).toStdString(), lookupMode("5"));

    selectEffect(20);
    EXPECT_EQ(writes(), (std::vector<W>{{kSettings, 0, {20}}}));
    EXPECT_TRUE(shown(1160));   // single colour
    EXPECT_TRUE(shown(1164));   // tools
    EXPECT_FALSE(shown(1179));  // no speed for per-key colours

    selectEffect(5);
    EXPECT_EQ(writes(), (std::vector<W>{{kSettings, 0, {5}}, {kSettings, 4, {1}}}));
}

TEST_F(LightingPanelTest, SlidersWriteTheirFieldAndNothingOntoTheCurrentValue) {
    open({1, 2, 3});
    viewOn();
    // Brightness 4 and speed 2 (position 1) as read.
    QTest::keyClick(panel().speedSlider(), Qt::Key_Home);
    EXPECT_EQ(writes(), (std::vector<W>{{kSettings, 2, {3}}}));
    QTest::keyClick(panel().speedSlider(), Qt::Key_Home);
    QTest::keyClick(panel().brightnessSlider(), Qt::Key_End);
    EXPECT_TRUE(writes().empty());
    QTest::keyClick(panel().brightnessSlider(), Qt::Key_Left);
    EXPECT_EQ(writes(), (std::vector<W>{{kSettings, 1, {3}}}));
}

TEST_F(LightingPanelTest, NumberBoxTakesAtMost255AndSendsNothing) {
    open({1});
    viewOn();
    QLineEdit* red = panel().rgbBox(0);
    red->clear();
    QTest::keyClicks(red, "300");
    EXPECT_EQ(red->text(), "255");
    EXPECT_TRUE(writes().empty());
}

TEST_F(LightingPanelTest, NumberBoxCommittedSetsTheColourAsPickingDoes) {
    open({1});
    viewOn();
    QLineEdit* green = panel().rgbBox(1);
    green->selectAll();
    QTest::keyClicks(green, "128");
    QTest::keyClick(green, Qt::Key_Return);
    EXPECT_EQ(writes(), (std::vector<W>{{kSettings, 4, {0}}, {kSettings, 5, {255, 128, 255}}}));
    EXPECT_FALSE(controller()->state().colourful);
    EXPECT_EQ(controller()->state().mainColour, lighting::packColour({255, 128, 255}));
    // Return again without typing sends nothing.
    QTest::keyClick(green, Qt::Key_Return);
    EXPECT_TRUE(writes().empty());

    // Leaving the box commits it too.
    QLineEdit* blue = panel().rgbBox(2);
    blue->setFocus();
    blue->selectAll();
    QTest::keyClicks(blue, "7");
    panel().rgbBox(0)->setFocus();
    EXPECT_EQ(writes(), (std::vector<W>{{kSettings, 4, {0}}, {kSettings, 5, {255, 128, 7}}}));

    // An empty box or letters are refused: the box shows the colour again.
    for (const char* typed : {"", "ab"}) {
        SCOPED_TRACE(typed);
        QLineEdit* red = panel().rgbBox(0);
        red->selectAll();
        QTest::keyClick(red, Qt::Key_Backspace);
        QTest::keyClicks(red, typed);
        QTest::keyClick(red, Qt::Key_Return);
        EXPECT_EQ(red->text(), "255");
        EXPECT_TRUE(writes().empty());
    }
}

TEST_F(LightingPanelTest, SwatchAndPickerWriteTheColourInOneBracket) {
    open({1});
    viewOn();
    click(1212);  // red swatch
    EXPECT_EQ(writes(), (std::vector<W>{{kSettings, 4, {0}}, {kSettings, 5, {255, 0, 0}}}));
    EXPECT_EQ(panel().rgbBox(1)->text(), "0");

    panel().setColourChooser([](QWidget*, const QColor&, const QString&) {
        return std::optional<QColor>(QColor(10, 20, 30));
    });
    click(1155);
    EXPECT_EQ(writes(), (std::vector<W>{{kSettings, 4, {0}}, {kSettings, 5, {10, 20, 30}}}));
    EXPECT_FALSE(controller()->state().colourful);
}

TEST_F(LightingPanelTest, ViewOffHidesTheEffectListAndOnShowsTheCurrentEffectsControls) {
    open({1, 17, 20}, 17);
    EXPECT_FALSE(shown(1146));
    viewOn();
    EXPECT_EQ(ini::readString(paths.settingsFile, "KEYCOLOR", "DengCheck", ""), "1");
    EXPECT_TRUE(shown(1146));
    EXPECT_TRUE(shown(1194));   // effect 17's colour choices
    EXPECT_FALSE(shown(1155));  // no colour picker for it

    click(1222);
    EXPECT_FALSE(panel().lightingViewOn());
    EXPECT_EQ(ini::readString(paths.settingsFile, "KEYCOLOR", "DengCheck", ""), "0");
    for (int id : {1146, 1178, 1194})
        EXPECT_FALSE(shown(id)) << id;
    EXPECT_TRUE(shown(1167));  // the switch stays

    click(1167);
    ASSERT_TRUE(pumpUntil([&] { return panel().lightingViewOn() && !dialog->isBusy(); }));
    EXPECT_TRUE(shown(1146));
    EXPECT_TRUE(shown(1197));
}

TEST_F(LightingPanelTest, ColourBrushTakesAKeyOutOfTheBaseGroup) {
    open({1, 20}, 20);
    viewOn();
    QColor answer(0, 200, 0);
    panel().setColourChooser(
        [&](QWidget*, const QColor&, const QString&) { return std::optional<QColor>(answer); });
    click(1164);  // tool 0: the colour brush
    click(1160);  // single colour green
    writes();
    QTest::mouseClick(&button(1058), Qt::LeftButton);  // A
    const auto painted = writes();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].command, command::WriteKeyColours);
    EXPECT_EQ(painted[0].data, (std::vector<std::uint8_t>{0, 200, 0}));
    EXPECT_EQ(dialog->keyAssignmentDialog(), nullptr);

    answer = QColor(0, 0, 255);
    click(1162);  // new base colour blue
    const Rgb green{0, 200, 0};
    const Rgb blue{0, 0, 255};
    EXPECT_EQ(controller()->keyColour(1058), green);
    EXPECT_EQ(controller()->keyColour(1075), blue);  // B stayed in the group
    EXPECT_EQ(button(1058).faceTint(), lighting::qt::toTint(green));
    EXPECT_EQ(button(1075).faceTint(), lighting::qt::toTint(blue));
    EXPECT_EQ(button(1000).faceTint(), lighting::qt::toTint(controller()->keyColour(1000)));
}

TEST_F(LightingPanelTest, AUserFileThatCannotBeWrittenPaintsNothingAndSaysSo) {
    open({1, 20}, 20);
    viewOn();
    const std::string userFile = dir.file("data/UserDengColor_0.userd");
    std::filesystem::remove(userFile);
    std::filesystem::create_directory(userFile);
    const Rgb before = controller()->keyColour(1058);
    const std::size_t told = dialog->messageKeysShown().size();
    QTest::mouseClick(&button(1058), Qt::LeftButton);  // A
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(controller()->keyColour(1058), before);
    EXPECT_EQ(button(1058).faceTint(), lighting::qt::toTint(before));
    const auto keys = dialog->messageKeysShown();
    ASSERT_EQ(keys.size(), told + 1);
    EXPECT_EQ(keys.back(), "KEYLOOM_LIGHT_NOT_SAVED");
}

TEST_F(LightingPanelTest, KeysWithoutAColourPositionAreNotPaintedAndSaySo) {
    open({20}, 20);
    EXPECT_TRUE(panel().keyToolTip(1029).isEmpty());
    viewOn();
    EXPECT_EQ(panel().keyToolTip(1029).toStdString(), lookupText("KEYLOOM_LIGHT_NO_POSITION"));
    EXPECT_TRUE(panel().keyToolTip(1058).isEmpty());
    QTest::mouseClick(&button(1029), Qt::LeftButton);  // grave
    EXPECT_TRUE(writes().empty());

    // Right Win and Page Up share a position: painting one shows it on both.
    QTest::mouseClick(&button(1096), Qt::LeftButton);
    EXPECT_EQ(writes().size(), 1u);
    EXPECT_EQ(button(1087).faceTint(), button(1096).faceTint());
}

TEST_F(LightingPanelTest, KeyClickOutsidePerKeyColoursSaysWhyNothingIsPainted) {
    open({1, 20});
    viewOn();
    const std::string why =
        text::formatString(lookupText("KEYLOOM_LIGHT_NO_PAINT"), lookupMode("20"));
    const std::string view = lookupText("KEYLOOM_LIGHT_NOTE_VIEW");
    EXPECT_EQ(panel().keyToolTip(1058).toStdString(), why);
    EXPECT_EQ(panel().note()->text().toStdString(), view);
    QTest::mouseClick(&button(1058), Qt::LeftButton);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(panel().note()->text().toStdString(), why);

    selectEffect(20);
    EXPECT_EQ(panel().note()->text().toStdString(), view);
    EXPECT_TRUE(panel().keyToolTip(1058).isEmpty());
}

TEST_F(LightingPanelTest, KeyboardWithoutPerKeyColoursSaysItsKeysAreNeverPainted) {
    open({1});
    viewOn();
    EXPECT_EQ(panel().keyToolTip(1058).toStdString(),
              lookupText("KEYLOOM_LIGHT_NO_PAINT_KEYBOARD"));
}

TEST_F(LightingPanelTest, KeyClickOutsideTheLightingViewOpensNoPaint) {
    open({20}, 20);
    // The Fn key does nothing outside the lighting view.
    EXPECT_EQ(dialog->selectKey(kFnControlId), -1);
    viewOn();
    EXPECT_EQ(dialog->selectKey(kFnControlId), 0);
    const auto painted = writes();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].command, command::WriteKeyColours);
}

TEST_F(LightingPanelTest, SilentKeyboardLeavesTheWindowResponsive) {
    open({1, 2, 3});
    viewOn();
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().delayReplies(1200, 1); });
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(panel().brightnessSlider(), Qt::Key_Left);
        QTest::keyClick(panel().brightnessSlider(), Qt::Key_Right);
    }
    QTest::keyClick(panel().brightnessSlider(), Qt::Key_Left);
    QTest::qWait(20);
    EXPECT_LT(clock.elapsed(), 500);
    writes();
    // Once the keyboard answers again, the last choice is what it holds.
    EXPECT_EQ(memoryOf(*keyboard).profileSettings[1], 3);
}

TEST_F(LightingPanelTest, FailedWritesAreToldOnce) {
    open({1, 2, 3});
    viewOn();
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().refuseCommand(kSettings, 0xFF); });
    const std::size_t before = dialog->messageKeysShown().size();
    QTest::keyClick(panel().brightnessSlider(), Qt::Key_Left);
    writes();
    QTest::keyClick(panel().brightnessSlider(), Qt::Key_Left);
    writes();
    ASSERT_TRUE(pumpUntil([&] { return dialog->messageKeysShown().size() > before; }));
    QTest::qWait(50);
    EXPECT_EQ(dialog->messageKeysShown().size(), before + 1);
}

TEST_F(LightingPanelTest, RestoreDefaultAndProfileButtonsReachThePanel) {
    open({1, 2, 20}, 2);
    viewOn();
    dialog->runCommand(1138);  // Restore default, answered Yes
    ASSERT_TRUE(pumpUntil([&] { return !dialog->isBusy(); }));
    std::vector<std::uint8_t> reset(35, 0);
    const std::uint8_t head[] = {1, 4, 2, 0, 255, 255, 255, 255};
    std::copy(std::begin(head), std::end(head), reset.begin());
    const auto sent = writes();
    EXPECT_NE(std::find(sent.begin(), sent.end(), W{kSettings, 0, reset}), sent.end());
    EXPECT_EQ(controller()->state().effect, 1);
    EXPECT_EQ(panel().effectList()->currentIndex(), 0);

    dialog->runCommand(1136);  // Profile 2 turns the lighting view off
    ASSERT_TRUE(pumpUntil([&] { return !panel().lightingViewOn() && !dialog->isBusy(); }));
    EXPECT_FALSE(shown(1146));
}

}  // namespace
}  // namespace keyloom::testing
