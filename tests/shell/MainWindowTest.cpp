// The main window against the simulated keyboard: start-up visibility, the
// full read at connection, key-toggle mode, the top-row switch, the keyboard
// filter, the device-gone path and the key tooltips.

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include "ShellFixture.h"
#include "lighting/qt/LightingPanel.h"
#include "lighting/qt/PictureToggle.h"
#include "model/KeyViewKeys.h"
#include "shell/MainControls.h"

namespace keyloom::testing {
namespace {

using controls::SkinFace;
namespace id = shell::control;

constexpr int kAKey = 1058;  // key view row 0
constexpr int kG1 = 1000;
constexpr int kSwitch = id::kSwitch;

// Pumps events for a while so that anything queued (an OPEN post, a timer)
// has had every chance to run; used only before checking that nothing
// happened.
void settle() {
    for (int i = 0; i < 50; ++i)
        QTest::qWait(2);
}

class MainWindowTest : public ShellFixture {
protected:
    // The command of the last request the keyboard received.
    std::uint8_t lastRequest() {
        std::uint8_t command = 0;
        keyboard->withFirmware([&](sim::SimFirmware& f) {
            for (const sim::LogEntry& e : f.log().entries())
                if (e.direction == sim::Direction::Received)
                    command = e.bytes[3];
        });
        return command;
    }
    // A core started before any window: its full read ends with an End, and
    // the discovery thread then waits to tell the window.
    bool waitForTheReadWithoutAWindow(KeyloomCore& core) {
        return pumpUntil([&] { return core.state().connection.activeProfile.load() >= 0; }) &&
               pumpUntil([&] { return lastRequest() == 0x02; });
    }
};

TEST_F(MainWindowTest, WithoutKeyboardTheWindowNeverOpensByItself) {
    createWindow();
    ASSERT_TRUE(pumpUntil([&] { return dialog->core().state().startup.startHidden.load(); }));
    // A keyboard plugged in later does not open the window either.
    plugIn();
    ASSERT_TRUE(waitConnected());
    settle();
    EXPECT_FALSE(dialog->isVisible());
    // The OPEN path opens it on request.
    dialog->handleMessage(window::kOpenMessage);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(MainWindowTest, HiddenStartWithKeyboardKeepsTheWindowHidden) {
    plugIn();
    createWindow(/*startHidden=*/true);
    ASSERT_TRUE(waitConnected());
    settle();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(MainWindowTest, TheTrayIsAskedForOnceTheWindowIsShownOrAtOnceWhenStartedHidden) {
    plugIn();
    createWindow();
    ASSERT_TRUE(pumpUntil([&] { return trayAsks == 1; }));
    EXPECT_TRUE(trayAskedWhileShown);
    settle();
    EXPECT_EQ(trayAsks, 1);

    dialog->shutdown();
    dialog.reset();
    trayAsks = 0;
    createWindow(/*startHidden=*/true);
    EXPECT_EQ(trayAsks, 1);
    EXPECT_FALSE(trayAskedWhileShown);
}

TEST_F(MainWindowTest, AStartThatShowsNoWindowAsksForTheTrayAfterAWhile) {
    trayIconLatest = std::chrono::milliseconds(50);
    createWindow();  // no keyboard: no window opens
    EXPECT_EQ(trayAsks, 0);
    ASSERT_TRUE(pumpUntil([&] { return trayAsks == 1; }));
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(MainWindowTest, TheLightingPanelIsBuiltAfterThePaintAndItsControlsWithTheView) {
    // The view switch is the panel's first part; its effect list, the
    // window's only combo box, comes with the view.
    const auto switchBuilt = [&] {
        return !dialog->findChildren<lighting::qt::PictureToggle*>().isEmpty();
    };
    const auto controlsBuilt = [&] { return !dialog->findChildren<QComboBox*>().isEmpty(); };
    plugIn();
    createWindow(/*startHidden=*/true);
    ASSERT_TRUE(waitConnected());
    settle();
    EXPECT_FALSE(switchBuilt());
    dialog->handleMessage(window::kOpenMessage);
    EXPECT_FALSE(switchBuilt());
    EXPECT_TRUE(pumpUntil(switchBuilt));
    settle();
    EXPECT_FALSE(controlsBuilt());
    lighting::qt::LightingPanel* panel = dialog->lightingPanel();
    ASSERT_NE(panel, nullptr);
    panel->clickLightingSwitch(true);
    EXPECT_TRUE(pumpUntil([&] { return panel->lightingViewOn(); }));
    EXPECT_TRUE(controlsBuilt());
    EXPECT_TRUE(panel->effectList()->isVisible());
    EXPECT_TRUE(panel->control(1167)->isVisible());  // the view switch
}

TEST_F(MainWindowTest, OpenWithoutKeyboardSaysSoAndStaysHidden) {
    createWindow();
    dialog->handleMessage(window::kOpenMessage);
    EXPECT_FALSE(dialog->isVisible());
    const auto shown = dialog->messageKeysShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "MAIN_NO_DEVICE_PROMPT");
}

TEST_F(MainWindowTest, FirstConnectionOpensTheWindowAfterTheFullRead) {
    openWindow();
    const int active = dialog->core().state().connection.activeProfile.load();
    ASSERT_GE(active, 0);
    ASSERT_LE(active, 2);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(button(id::kProfile1 + p).isSelected(), p == active) << p;
    EXPECT_FALSE(dialog->isModified());
    // The application's own window, frameless, with the program's title and icon.
    EXPECT_EQ(dialog->windowType(), Qt::Window);
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Keyloom");
    // The icon at the sizes window lists draw, not the full picture, which
    // the window system would be handed too.
    EXPECT_EQ(dialog->windowIcon().availableSizes(),
              (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
    // Every key carries at least its name as tooltip.
    EXPECT_EQ(button(kAKey).toolTip().toStdString(), KeyName(0x1E, 260));
    // This keyboard has no G keys: their buttons are disabled and say why.
    EXPECT_FALSE(button(kG1).isEnabled());
    EXPECT_EQ(button(kG1).toolTip().toStdString(),
              "G1\nThis keyboard has no G1 key, so the button is disabled.");
    saveScreenshot("connected");  // report rate selected, "Profile 1" in the label

    // The tooltip as it pops up, beside the window's picture of the button.
    QToolTip::showText(button(kG1).mapToGlobal(QPoint(4, 4)), button(kG1).toolTip(), &button(kG1));
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QTipLabel"))
            tip = w;
    ASSERT_NE(tip, nullptr);
    const QImage key = button(kG1).grab().toImage();
    const QImage shown = tip->grab().toImage();
    // The tip shows both of its lines: the key's name and why it is disabled.
    EXPECT_GE(shown.height(), 2 * tip->fontMetrics().height());
    QImage both(key.width() + shown.width() + 8, std::max(key.height(), shown.height()),
                QImage::Format_RGB32);
    both.fill(Qt::black);
    QPainter painter(&both);
    painter.drawImage(0, 0, key);
    painter.drawImage(key.width() + 8, 0, shown);
    painter.end();
    EXPECT_TRUE(
        both.save(QString::fromStdString(builtFile("screenshots/disabled_g_button_tooltip.png"))));
    QToolTip::hideText();
}

TEST_F(MainWindowTest, ACoreStartedBeforeTheWindowReadsTheKeyboardAndTheWindowTakesItOver) {
    plugIn();
    shell::StartedCore started = startCoreFirst();
    KeyloomCore& core = *started.core;
    // The read runs to its last End with no window: what it tells the window
    // (profile buttons, key view, the read-profile send) waits in the port.
    ASSERT_TRUE(waitForTheReadWithoutAWindow(core));
    settle();
    EXPECT_EQ(lastRequest(), 0x02);
    EXPECT_EQ(core.state().connection.state.load(), 0);  // still waiting for the window

    createWindow(false, std::move(started));
    ASSERT_TRUE(waitConnected());
    ASSERT_TRUE(pumpUntil([&] { return dialog->isVisible(); }));
    const int active = dialog->core().state().connection.activeProfile.load();
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(button(id::kProfile1 + p).isSelected(), p == active) << p;
    EXPECT_EQ(button(kAKey).toolTip().toStdString(), KeyName(0x1E, 260));
}

TEST_F(MainWindowTest, ACoreStartedBeforeTheWindowStopsWithoutOne) {
    // A start that ends before its window exists (a skin picture missing):
    // the discovery thread waiting to tell the window is released.
    plugIn();
    shell::StartedCore started = startCoreFirst();
    ASSERT_TRUE(waitForTheReadWithoutAWindow(*started.core));
    started.core->stop();
}

TEST_F(MainWindowTest, GButtonsOfAKeyboardThatHasThemStayEnabled) {
    keyboard = backend->addKeyboard(sim::kModel5064, 32);
    createWindow();
    ASSERT_TRUE(waitConnected());
    pumpUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_TRUE(button(kG1).isEnabled());
    EXPECT_EQ(button(kG1).toolTip().toStdString(), "G1");
}

TEST_F(MainWindowTest, KeyToggleModeFlipsTheAKeysFlag) {
    openWindow();
    EXPECT_EQ(button(kSwitch).text().toStdString(), lookupText("MAIN_SWITCH_FUNCTION_TEXT"));
    dialog->runCommand(kSwitch);
    EXPECT_TRUE(dialog->keyToggleMode());
    EXPECT_EQ(button(kSwitch).text().toStdString(), lookupText("MAIN_SWITCH_COLOR_TEXT"));
    EXPECT_EQ(button(kAKey).currentFace(), SkinFace::ToggleOff);

    QTest::mouseClick(&button(kAKey), Qt::LeftButton);
    EXPECT_EQ(button(kAKey).currentFace(), SkinFace::ToggleOn);
    EXPECT_TRUE(dialog->isModified());
    EXPECT_TRUE(button(id::kApply).isEnabled());
    EXPECT_EQ(dialog->selectedKey().code, 0x1E);
    EXPECT_EQ(dialog->selectedKey().controlId, kAKey);

    QTest::mouseClick(&button(kAKey), Qt::LeftButton);
    EXPECT_EQ(button(kAKey).currentFace(), SkinFace::ToggleOff);
    {
        const int profile = dialog->core().state().connection.activeProfile.load();
        WorkingStore::Access working = dialog->core().workingStore().lock();
        EXPECT_EQ(working->image->block(profile)[0].toggle, 0u);
    }

    // The switch pressed again: ordinary faces and the function text.
    dialog->runCommand(kSwitch);
    EXPECT_FALSE(dialog->keyToggleMode());
    EXPECT_EQ(button(kSwitch).text().toStdString(), lookupText("MAIN_SWITCH_FUNCTION_TEXT"));
    EXPECT_NE(button(kAKey).currentFace(), SkinFace::ToggleOff);
    EXPECT_NE(button(kAKey).currentFace(), SkinFace::ToggleOn);
}

TEST_F(MainWindowTest, G1AndTheAKeyShareToggleEntryZero) {
    keyboard = backend->addKeyboard(sim::kModel5064, 32);  // a keyboard with G keys
    createWindow();
    ASSERT_TRUE(waitConnected());
    dialog->runCommand(kSwitch);
    dialog->runCommand(kG1);
    EXPECT_EQ(button(kG1).currentFace(), SkinFace::ToggleOn);
    EXPECT_EQ(dialog->selectedKey().code, 0x100);
    // The A key shows the shared flag at the next redraw.
    EXPECT_EQ(button(kAKey).currentFace(), SkinFace::ToggleOff);
    dialog->redrawKeyView();
    EXPECT_EQ(button(kAKey).currentFace(), SkinFace::ToggleOn);
}

TEST_F(MainWindowTest, KeySelectionOutsideToggleModeRestoresTheButton) {
    openWindow();
    const QPixmap normal = button(kAKey).pictures().normal;
    // The key assignment dialog runs modally meanwhile; it is cancelled.
    QTimer::singleShot(0, dialog.get(), [this] { dialog->keyAssignmentDialog()->closeIfOpen(); });
    EXPECT_EQ(dialog->selectKey(kAKey), 0);
    EXPECT_EQ(dialog->selectedKey().code, 0x1E);
    EXPECT_EQ(dialog->selectedKey().kind, 0);
    EXPECT_EQ(button(kAKey).pictures().normal.cacheKey(), normal.cacheKey());
    EXPECT_FALSE(dialog->isModified());
    // Controls outside the key view select nothing.
    EXPECT_EQ(dialog->selectKey(id::kApply), -1);
    EXPECT_EQ(dialog->selectedKey().controlId, kAKey);
}

TEST_F(MainWindowTest, TopRowSwitchIsStoredAndApplied) {
    writeAppString(*registry, kProfilesSection, kTopRowSwitchValue, "1");
    openWindow();
    EXPECT_TRUE(dialog->topRowSwitch());
    // F1-F4 give way to the six buttons D1-D6, which have no command: they
    // show as unavailable and say why.
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(button(id::kFirstTopRowKey + i).isEnabled()) << i;
    for (int i = 0; i < id::kAltTopRowCount; ++i) {
        EXPECT_FALSE(button(id::kFirstAltTopRowKey + i).isEnabled()) << i;
        EXPECT_TRUE(button(id::kFirstAltTopRowKey + i).isVisibleTo(dialog.get())) << i;
        EXPECT_EQ(button(id::kFirstAltTopRowKey + i).toolTip().toStdString(),
                  lookupText("KEYLOOM_TOPROW_D_PROMPT"));
    }
    EXPECT_EQ(button(id::kFirstAltTopRowKey + 5).accessibleName(), QStringLiteral("D6"));
    EXPECT_EQ(button(id::kFlip1).toolTip().toStdString(), lookupText("KEYLOOM_FLIP_PROMPT"));
    saveScreenshot("top_row_1");

    dialog->runCommand(id::kFlip1);
    EXPECT_FALSE(dialog->topRowSwitch());
    EXPECT_EQ(readAppString(*registry, kProfilesSection, kTopRowSwitchValue, "?"), "0");
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(button(id::kFirstTopRowKey + i).isEnabled()) << i;
    for (int i = 0; i < id::kAltTopRowCount; ++i)
        EXPECT_FALSE(button(id::kFirstAltTopRowKey + i).isEnabled()) << i;
    saveScreenshot("top_row_0");

    dialog->runCommand(id::kFlip2);
    EXPECT_EQ(readAppString(*registry, kProfilesSection, kTopRowSwitchValue, "?"), "1");
}

TEST_F(MainWindowTest, AnyNonZeroFlipCountsAsOn) {
    writeAppString(*registry, kProfilesSection, kTopRowSwitchValue, "7");
    createWindow();
    EXPECT_TRUE(dialog->topRowSwitch());
    dialog->runCommand(id::kFlip1);
    EXPECT_EQ(readAppString(*registry, kProfilesSection, kTopRowSwitchValue, "?"), "0");
}

TEST_F(MainWindowTest, EnterAndEscapeNeitherCloseNorHide) {
    openWindow();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(dialog.get(), key);
        QTest::keyClick(&button(id::kOk), key);
        EXPECT_TRUE(dialog->isVisible()) << key;
    }
    EXPECT_EQ(dialog->result(), 0);
}

TEST_F(MainWindowTest, CancelAndCloseOnlyHide) {
    openWindow();
    dialog->runCommand(id::kCancel);
    EXPECT_FALSE(dialog->isVisible());
    dialog->handleMessage(window::kOpenMessage);
    ASSERT_TRUE(dialog->isVisible());
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    // The core keeps running: the keyboard is still connected.
    EXPECT_EQ(dialog->core().state().connection.state.load(), 1);
}

TEST_F(MainWindowTest, UnpluggingTheKeyboardHidesTheWindow) {
    openWindow();
    keyboard->unplug();
    ASSERT_TRUE(pumpUntil([&] { return !dialog->isVisible(); }));
    EXPECT_EQ(dialog->core().state().connection.state.load(), 0);
}

TEST_F(MainWindowTest, TooltipsDescribeAssignedKeys) {
    openWindow();
    const int profile = dialog->core().state().connection.activeProfile.load();
    {
        WorkingStore::Access working = dialog->core().workingStore().lock();
        working->image->block(profile)[0x1E] = {AssignmentKind::Key, 0, 0x1D};
        working->image->block(profile)[gButtonEntry(0)] = {AssignmentKind::Function, 0, 2};
    }
    dialog->redrawKeyView();
    const std::string a = KeyName(0x1E, 260);
    EXPECT_EQ(button(kAKey).toolTip().toStdString(), a + lookupText("KEY_PROMPT_SET") +
                                                         lookupText("KEY_PROMPT_SINGLE") +
                                                         KeyName(0x1D, 260) + ")");
    EXPECT_TRUE(button(kAKey).isSelected());
    EXPECT_TRUE(button(kG1).toolTip().toStdString().starts_with(
        "G1" + lookupText("KEY_PROMPT_SET") + lookupText("KEY_PROMPT_FUNCTION") +
        lookupText("FUNC_KEY_DESC3") + ")"));
    EXPECT_FALSE(button(1075).isSelected());  // B keeps its default
}

TEST_F(MainWindowTest, EveryControlHasAnAccessibleNameFromTheLanguageFile) {
    openWindow();
    for (const shell::MainControl& c : shell::mainControls()) {
        const std::string name = button(c.id).accessibleName().toStdString();
        EXPECT_FALSE(name.empty()) << c.skinKey;
        EXPECT_EQ(name.find("#Error"), std::string::npos) << c.skinKey;
        EXPECT_EQ(name.find('%'), std::string::npos) << c.skinKey;
    }
    EXPECT_EQ(button(kAKey).accessibleName().toStdString(), KeyName(0x1E, 260));
    EXPECT_EQ(button(id::kReportButtons[3]).accessibleName(),
              QStringLiteral("Report rate 1000 Hz"));
}

TEST_F(MainWindowTest, ScreenshotInKeyToggleMode) {
    openWindow();
    dialog->runCommand(kSwitch);
    // A toggled key shows another face; a key left alone keeps its own.
    const auto face = [&](int id) {
        QWidget& key = button(id);
        return dialog->grab(QRect(key.mapTo(dialog.get(), QPoint()), key.size())).toImage();
    };
    const QImage aBefore = face(kAKey);
    const QImage bBefore = face(1075);
    for (int key : {kAKey, 1059, 1060, 1001})
        dialog->runCommand(key);
    saveScreenshot("key_toggle_mode");
    EXPECT_NE(face(kAKey), aBefore);
    EXPECT_EQ(face(1075), bBefore);
}

TEST_F(MainWindowTest, KillRequestEndsTheRun) {
    openWindow();
    bool exitRequested = false;
    QObject::connect(dialog.get(), &shell::CKeyloomDlg::exitRequested,
                     [&] { exitRequested = true; });
    dialog->handleMessage(window::kKillMessage);
    EXPECT_TRUE(exitRequested);
    EXPECT_FALSE(dialog->isVisible());
    // After the shutdown the port drops whatever still arrives.
    dialog->postMessage(window::kOpenMessage);
    settle();
    EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace keyloom::testing
