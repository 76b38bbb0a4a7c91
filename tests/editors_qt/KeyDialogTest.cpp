// The key assignment dialog against a working store: key capture and the
// keyboard grab, recording with the events' own timing, the macro memory
// line, a macro of 4000 events, the macro-only dialog, the on-screen
// keyboard, cell editing, and screenshots of every tab.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <iterator>
#include <vector>

#include "KeyDialogFixture.h"
#include "editors/qt/KeyDialogActionModel.h"

namespace keyloom::testing {
namespace {

namespace id = editors::qt::composite;
using editors::TabView;

MacroRecord macroWith(std::uint16_t number, std::u16string name, std::size_t events) {
    MacroRecord macro;
    macro.number = number;
    macro.name = std::move(name);
    for (std::size_t i = 0; i < events; ++i) {
        MacroAction action;
        action.keyCode = static_cast<KeyCode>(0x10 + (i / 2) % 26);
        action.state = i % 2 == 0 ? MacroAction::kPressed : MacroAction::kReleased;
        action.delayMs = i % 2 == 0 ? 60 : 40;
        macro.actions.push_back(action);
    }
    return macro;
}

class KeyDialogTest : public KeyDialogFixture {
protected:
    void storeMacro(MacroRecord macro, std::size_t keyIndex = 0x1E) {
        auto working = store.lock();
        KeyAssignment& a = working->image->block(0)[keyIndex];
        a.kind = AssignmentKind::Macro;
        a.value = macro.number;
        a.parameter = 1;
        working->macros.push_back(std::move(macro));
    }
    QString captureBox() {
        return static_cast<QLineEdit*>(dialog->control(id::kCaptureBox))->text();
    }
    bool applyEnabled() { return dialog->control(id::kApply)->isEnabled(); }
    QTableView* actionList() { return static_cast<QTableView*>(dialog->control(id::kActionList)); }
    std::vector<std::tuple<KeyCode, std::uint16_t, std::uint32_t>> rows() {
        std::vector<std::tuple<KeyCode, std::uint16_t, std::uint32_t>> out;
        for (const MacroAction& a : dialog->state().macros().rows())
            out.emplace_back(a.keyCode, a.state, a.delayMs);
        return out;
    }
};

TEST_F(KeyDialogTest, TheKeyTabCapturesThePressedKeyAndApplyWritesIt) {
    open();
    EXPECT_EQ(dialog->state().view(), TabView::Key);
    EXPECT_TRUE(dialog->keyboardGrabbed());
    EXPECT_FALSE(applyEnabled());

    key(QEvent::KeyPress, linux_key::kLeftCtrl);
    EXPECT_EQ(captureBox(), "Left Ctrl");
    key(QEvent::KeyPress, linux_key::kA, 0, 0, /*autoRepeat=*/true);
    EXPECT_EQ(captureBox(), "Left Ctrl") << "auto-repeat captures nothing";
    key(QEvent::KeyRelease, linux_key::kLeftCtrl);
    EXPECT_TRUE(applyEnabled());

    bool handled = false;
    dialog->setApplyHandler([&](const editors::ApplyResult& r) {
        handled = true;
        EXPECT_TRUE(r.assignedLook);
    });
    click(id::kApply);
    EXPECT_TRUE(handled);
    EXPECT_EQ(entry(0, 0x1E), (KeyAssignment{AssignmentKind::Key, 0, 0x1D}));
    EXPECT_FALSE(applyEnabled());

    // Enter and Escape are keys here: captured, and the dialog stays open.
    tap(linux_key::kEsc);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(captureBox(), "Esc");
}

TEST_F(KeyDialogTest, AKeyThatSendsAMouseButtonShowsWhichAndCanChangeIt) {
    {
        auto working = store.lock();
        working->image->block(0)[0x1E] = {AssignmentKind::Key, 0, 369};  // left button
    }
    open();
    auto* mouse = static_cast<QComboBox*>(dialog->control(id::kMouseList));
    EXPECT_TRUE(mouse->isVisible());
    EXPECT_EQ(mouse->currentIndex(), 0);
    EXPECT_FALSE(dialog->control(id::kCaptureBox)->isEnabled());
    key(QEvent::KeyPress, linux_key::kLeftCtrl);
    EXPECT_EQ(dialog->state().capturedKey(), 369) << "keys are not taken with the mouse option";
    emit mouse->activated(2);
    click(id::kApply);
    EXPECT_EQ(entry(0, 0x1E), (KeyAssignment{AssignmentKind::Key, 0, 371}));
    // Clear goes back to the keyboard option: the mouse list is out of use.
    click(id::kClear);
    EXPECT_FALSE(mouse->isEnabled());
    EXPECT_TRUE(dialog->control(id::kCaptureBox)->isEnabled());
}

TEST_F(KeyDialogTest, TheKeyViewOffersEveryChoiceAndSaysWhatTheDesktopKeeps) {
    desktopKeepsKeys = true;
    open();
    EXPECT_TRUE(static_cast<controls::CSkinButton*>(dialog->control(id::kKeyTab))->isSelected())
        << "the Key tab is lit on opening";
    QWidget* notice = dialog->control(id::kDesktopKeysNotice);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(static_cast<QLabel*>(notice)->text(),
              QString::fromStdString(lookupText("KEYLOOM_DESKTOP_KEYS")));
    saveScreenshot("key_desktop_keys");
    for (int option :
         {id::kKeyboardOption, id::kMouseOption, id::kDisabledOption, id::kStopMacroOption})
        EXPECT_TRUE(dialog->control(option)->isVisible()) << option;
    click(id::kDisabledOption);
    EXPECT_FALSE(dialog->control(id::kCaptureBox)->isEnabled());
    EXPECT_TRUE(applyEnabled());
    click(id::kApply);
    EXPECT_EQ(entry(0, 0x1E), (KeyAssignment{AssignmentKind::Disabled, 0, 0}));
    click(id::kMacroTab);
    EXPECT_FALSE(notice->isVisible());
    EXPECT_FALSE(dialog->control(id::kDisabledOption)->isVisible());
    EXPECT_TRUE(dialog->control(id::kPlayCountNote)->isVisible());
}

TEST_F(KeyDialogTest, TheGrabFollowsTheKeyTabAndEndsWhenTheDialogCloses) {
    open();
    EXPECT_TRUE(dialog->keyboardGrabbed());
    click(id::kMacroTab);
    EXPECT_FALSE(dialog->keyboardGrabbed());
    click(id::kMediaTab);
    EXPECT_FALSE(dialog->keyboardGrabbed());
    EXPECT_TRUE(dialog->control(id::kMediaList)->isVisible());
    click(id::kFunctionTab);
    EXPECT_TRUE(dialog->control(id::kFunctionList)->isVisible())
        << "without its list no function could be chosen";
    click(id::kKeyTab);
    EXPECT_TRUE(dialog->keyboardGrabbed());
    key(QEvent::KeyPress, linux_key::kLeftCtrl);
    EXPECT_EQ(dialog->state().mode(), AssignmentKind::Key);

    EXPECT_TRUE(dialog->closeIfOpen());
    EXPECT_FALSE(dialog->keyboardGrabbed());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->isOpen());
    EXPECT_EQ(entry(0, 0x1E).kind, AssignmentKind::Default) << "closed as by Cancel";
    EXPECT_FALSE(dialog->closeIfOpen());

    // Reopened and cancelled: the grab ends too.
    open();
    EXPECT_TRUE(dialog->keyboardGrabbed());
    click(id::kCancel);
    EXPECT_FALSE(dialog->keyboardGrabbed());
}

TEST_F(KeyDialogTest, RecordedDelaysComeFromTheKeyEventsTimestamps) {
    struct Case {
        bool measured;
        std::uint32_t firstDelay;
    };
    quint64 at = 1000;
    for (const Case c : {Case{false, 50}, Case{true, 130}}) {
        SCOPED_TRACE(c.measured);
        at += 10000;  // the window system's clock only runs forward
        open();
        click(id::kMacroTab);
        click(id::kMacroAdd);
        auto* setting = static_cast<QCheckBox*>(dialog->control(id::kRecordDelay));
        if (setting->isChecked() != c.measured)
            click(id::kRecordDelay);
        click(id::kRecord);
        EXPECT_TRUE(dialog->state().recorder().recording());
        EXPECT_TRUE(dialog->keyboardGrabbed()) << "recording holds the keyboard";
        // Sent at once: only the timestamps say that the key was held 130 ms.
        key(QEvent::KeyPress, linux_key::kA, at);
        key(QEvent::KeyRelease, linux_key::kA, at + 130);
        using Row = std::tuple<KeyCode, std::uint16_t, std::uint32_t>;
        EXPECT_EQ(rows(), (std::vector<Row>{{0x1E, 0, c.firstDelay}, {0x1E, 1, 0}}));
        EXPECT_EQ(actionList()->model()->rowCount(), 2);
        click(id::kRecord);
        EXPECT_FALSE(dialog->keyboardGrabbed());
        click(id::kCancel);
    }
    // The setting was stored when clicked and is read at the next opening.
    open();
    EXPECT_TRUE(static_cast<QCheckBox*>(dialog->control(id::kRecordDelay))->isChecked());
}

TEST_F(KeyDialogTest, TheMacroTabSaysBeforeApplyWhetherTheMacrosFit) {
    // Without names 16 + 2 + 4 + 4 x 56 = 246 bytes, with the 7-character name 260.
    storeMacro(macroWith(1, u"Macro 1", 56));
    struct Case {
        std::uint8_t capacityUnits;
        const char* shows;
    };
    const Case cases[] = {
        {1, "Too long"},
        {2, "the names will be left out"},
        {3, "246 bytes without the names"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shows);
        parameters.bytes[ParameterBlock::kMacroCapacityByte] = c.capacityUnits;
        open();
        ASSERT_EQ(dialog->state().view(), TabView::Macro);
        const QString memory = static_cast<QLabel*>(dialog->control(id::kMacroMemory))->text();
        EXPECT_TRUE(memory.contains(QString::number(128 * c.capacityUnits)))
            << memory.toStdString();
        EXPECT_TRUE(memory.contains(c.shows)) << memory.toStdString();
        click(id::kCancel);
    }
}

TEST_F(KeyDialogTest, AMacroOfFourThousandEventsShowsWithoutAWidgetPerRow) {
    storeMacro(macroWith(1, u"Long", 4000));
    open();
    ASSERT_EQ(actionList()->model()->rowCount(), 4000);
    actionList()->scrollToBottom();
    QApplication::processEvents();
    EXPECT_LT(actionList()->findChildren<QWidget*>().size(), 40);
    const QModelIndex last = actionList()->model()->index(3999, 2);
    EXPECT_TRUE(actionList()->viewport()->rect().intersects(actionList()->visualRect(last)));
}

TEST_F(KeyDialogTest, EditingADelayStopsRecordingAndOkTakesTheOpenEdit) {
    storeMacro(macroWith(1, u"Macro 1", 2));
    open();
    click(id::kRecord);
    ASSERT_TRUE(dialog->state().recorder().recording());
    const QModelIndex delay = actionList()->model()->index(0, 2);
    actionList()->setCurrentIndex(delay);
    actionList()->edit(delay);
    EXPECT_FALSE(dialog->state().recorder().recording());
    EXPECT_FALSE(dialog->keyboardGrabbed());
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(field, nullptr);
    field->setText("12345");
    click(id::kOk);
    EXPECT_FALSE(dialog->isVisible());
    auto working = store.lock();
    EXPECT_EQ(working->macros.at(0).actions.at(0).delayMs, 12340u);
}

TEST_F(KeyDialogTest, AKeyboardGoneDuringAQuestionClosesTheDialogAfterTheAnswer) {
    storeMacro(macroWith(1, u"Used", 4));
    open();
    ASSERT_EQ(dialog->state().view(), TabView::Macro);
    // While the box stays open the dialog waits for the answer without
    // posting itself work.
    struct PostCounter : QObject {
        int posts = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            posts += event->type() == QEvent::MetaCall;
            return false;
        }
    } counter;
    prompter.whileShown = [&] {
        EXPECT_TRUE(dialog->closeIfOpen());
        dialog->installEventFilter(&counter);
        QTest::qWait(200);
        dialog->removeEventFilter(&counter);
        EXPECT_EQ(counter.posts, 0);
    };
    click(id::kMacroDelete);
    EXPECT_EQ(prompter.keys, std::vector<std::string>{"MACRO_DELETE_CONFIRM_OF_KEYS"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000));
    EXPECT_FALSE(dialog->isOpen());
    EXPECT_FALSE(dialog->keyboardGrabbed());
    auto working = store.lock();
    EXPECT_EQ(working->macros.size(), 1u) << "closed as by Cancel";
}

TEST_F(KeyDialogTest, G9OpensCentredWithOnlyTheMacroTab) {
    open(kG9Button, QRect(5, 5, 40, 40), QString("G9"));
    EXPECT_EQ(dialog->state().view(), TabView::Macro);
    for (int tab : {id::kKeyTab, id::kMediaTab, id::kFunctionTab, id::kClear})
        EXPECT_FALSE(dialog->control(tab)->isEnabled()) << tab;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(dialog->frameGeometry().center().x() / 10, screen.center().x() / 10);
    saveScreenshot("g9_macro_only");
}

TEST_F(KeyDialogTest, TheOnScreenKeyboardButtonSaysWhenNoneIsInstalled) {
    open();
    click(id::kOnScreenKeyboard);
    EXPECT_TRUE(prompter.keys.empty());
    oskInstalled = false;
    // The message's keys are its own: the grab is let go, nothing is captured.
    ASSERT_TRUE(dialog->keyboardGrabbed());
    const KeyCode before = dialog->state().capturedKey();
    prompter.whileShown = [this] {
        EXPECT_FALSE(dialog->keyboardGrabbed());
        tap(linux_key::kA);
    };
    click(id::kOnScreenKeyboard);
    EXPECT_EQ(prompter.keys, std::vector<std::string>{"KEYLOOM_NO_OSK"});
    EXPECT_EQ(dialog->state().capturedKey(), before);
    EXPECT_TRUE(dialog->keyboardGrabbed());
}

TEST_F(KeyDialogTest, ScreenshotsOfEveryTab) {
    storeMacro(macroWith(1, u"Combo", 30), 0x20);
    open();
    // The tab shown looks different from how it looks while another is shown;
    // shot i shows tab i.
    constexpr int kTabs[] = {id::kKeyTab, id::kMacroTab, id::kMediaTab, id::kFunctionTab};
    std::vector<std::vector<QImage>> faces;  // per shot, each tab's picture
    const auto shot = [&](const std::string& name) {
        saveScreenshot(name);
        faces.emplace_back();
        for (int tab : kTabs)
            faces.back().push_back(dialog->control(tab)->grab().toImage());
    };
    key(QEvent::KeyPress, linux_key::kRightCtrl);
    shot("key");
    click(id::kMacroTab);
    static_cast<QComboBox*>(dialog->control(id::kMacroList))->setFocus();
    shot("macro_30_events");
    click(id::kMediaTab);
    shot("media");
    click(id::kFunctionTab);
    shot("function");
    click(id::kCancel);
    ASSERT_EQ(faces.size(), std::size(kTabs));
    for (std::size_t tab = 0; tab < std::size(kTabs); ++tab)
        EXPECT_NE(faces[tab][tab], faces[tab == 0 ? 1 : 0][tab]) << kTabs[tab];
}

}  // namespace
}  // namespace keyloom::testing
