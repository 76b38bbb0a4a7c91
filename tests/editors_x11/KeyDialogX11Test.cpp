// The key assignment dialog under a real X server: a private Xvfb, the
// dialog on the xcb platform holding the keyboard grab, and keys pressed
// through XTEST with xdotool, so that the native scan codes, the Num Lock
// state and the timestamps are the window system's own. Skips only when no
// X server can be started.

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

#include "editors_qt/KeyDialogFixture.h"
#include "editors_x11/XServerEnvironment.h"
#include "shell/MessageBoxes.h"
#include "support/qt/SkipWithout.h"

namespace keyloom::testing {
namespace {

namespace id = editors::qt::composite;

[[maybe_unused]] const ::testing::Environment* const kXServer =
    ::testing::AddGlobalTestEnvironment(std::make_unique<XServerEnvironment>().release());

class KeyDialogX11Test : public SkipWithout<XServerEnvironment, KeyDialogFixture> {
protected:
    void SetUp() override {
        SkipWithout::SetUp();
        if (IsSkipped())
            return;
        open();
        // The grab is the only way keys reach the dialog here: no window
        // manager gives it the focus.
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->keyboardGrabbed(); }, 2000))
            << "visible " << dialog->isVisible() << ", open " << dialog->isOpen();
        QTest::qWait(100);
    }
    static void xdotool(const QStringList& arguments) {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0)
            << arguments.join(' ').toStdString();
    }
    // Presses and releases the keysym and waits until the dialog took a key.
    KeyCode capture(const char* keysym) {
        const int before = captures_;
        xdotool({QStringLiteral("key"), QString::fromLatin1(keysym)});
        const bool took = QTest::qWaitFor(
            [&] {
                if (dialog->state().capturedKey() != last_) {
                    last_ = dialog->state().capturedKey();
                    ++captures_;
                }
                return captures_ > before;
            },
            3000);
        QTest::qWait(50);  // the release, which captures nothing more
        last_ = dialog->state().capturedKey();
        return took ? last_ : KeyCode{0};
    }
    // Xvfb starts with Num Lock off; the tests leave it as they found it.
    void setNumLock(bool on) {
        static bool numLockOn = false;
        if (numLockOn != on)
            xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
        numLockOn = on;
        QTest::qWait(50);
    }

    // Message boxes of the program's own kind, each answered by pressing
    // `keysym` once it has the focus. A box the key does not close is closed
    // after three seconds and counted in `unanswered`.
    void answerBoxesWith(const char* keysym) {
        prompter.answer = [this, keysym](const window::MessageRequest& request) {
            const std::unique_ptr<QMessageBox> box = shell::buildMessageBox(request, nullptr);
            QTimer::singleShot(0, box.get(), [this, &box, keysym] {
                box->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(box.get(), 3000));
                xdotool({QStringLiteral("key"), QString::fromLatin1(keysym)});
                if (!QTest::qWaitFor([&] { return !box->isVisible(); }, 3000)) {
                    ++unanswered;
                    box->reject();
                }
            });
            return shell::runMessageBox(*box, request);
        };
    }
    void record(bool on) {
        if (dialog->state().recorder().recording() != on)
            click(id::kRecord);
        QTest::qWait(100);
    }

    KeyCode last_ = 0;
    int captures_ = 0;
    int unanswered = 0;
};

TEST_F(KeyDialogX11Test, KeysCapturedThroughTheGrabGiveTheWindowsKeyCodes) {
    EXPECT_EQ(capture("a"), 0x01E);
    EXPECT_EQ(capture("Control_R"), 0x11D);
    EXPECT_EQ(capture("Super_L"), 0x15B);
    EXPECT_EQ(capture("Print"), 0x137);
    EXPECT_EQ(capture("a"), 0x01E);
    // Media keys are left to the system: nothing is captured.
    EXPECT_EQ(capture("XF86AudioRaiseVolume"), 0);
    EXPECT_EQ(dialog->state().capturedKey(), 0x01E);
}

TEST_F(KeyDialogX11Test, KeypadSevenIsTheSameKeyWithNumLockOnAndOff) {
    for (bool numLock : {true, false}) {
        SCOPED_TRACE(numLock);
        EXPECT_EQ(capture("Escape"), 0x001);
        setNumLock(numLock);
        last_ = dialog->state().capturedKey();
        // By keycode (79, Linux 71): the keysym would bring Shift along.
        xdotool({QStringLiteral("key"), QStringLiteral("79")});
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->state().capturedKey() == 0x047; }, 3000))
            << dialog->state().capturedKey();
    }
}

TEST_F(KeyDialogX11Test, AHeldKeyIsRecordedOnceWithTheWindowSystemsTiming) {
    for (bool measured : {true, false}) {
        SCOPED_TRACE(measured);
        click(id::kMacroTab);
        click(id::kMacroAdd);
        if (static_cast<QAbstractButton*>(dialog->control(id::kRecordDelay))->isChecked() !=
            measured)
            click(id::kRecordDelay);
        click(id::kRecord);
        ASSERT_TRUE(dialog->keyboardGrabbed());
        QTest::qWait(100);
        // Held for a second by the X server's clock, long enough for the
        // server to repeat the key, with the events taken as they come (Qt
        // flags a repeat only when it sees both of its halves at once).
        xdotool({QStringLiteral("keydown"), QStringLiteral("a")});
        QTest::qWait(1000);
        xdotool({QStringLiteral("keyup"), QStringLiteral("a")});
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return dialog->state().macros().rows().size() >= 2; }, 3000));
        QTest::qWait(200);  // any repeats still on their way
        const auto rows = dialog->state().macros().rows();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].keyCode, 0x01E);
        EXPECT_EQ(rows[0].state, MacroAction::kPressed);
        EXPECT_EQ(rows[1].state, MacroAction::kReleased);
        EXPECT_EQ(rows[1].delayMs, 0u);
        if (measured) {
            EXPECT_GE(rows[0].delayMs, 990u);
            EXPECT_LT(rows[0].delayMs, 3000u);
        } else {
            EXPECT_EQ(rows[0].delayMs, 50u);
        }
        click(id::kRecord);
        EXPECT_FALSE(dialog->keyboardGrabbed());
        click(id::kCancel);
        open();
    }
}

TEST_F(KeyDialogX11Test, KeysThatAnswerAMessageBoxAreNotCapturedOrRecorded) {
    answerBoxesWith("Return");
    // The Key tab: Return closes the "no on-screen keyboard" message.
    EXPECT_EQ(capture("a"), 0x01E);
    oskInstalled = false;
    click(id::kOnScreenKeyboard);
    EXPECT_EQ(unanswered, 0);
    EXPECT_EQ(prompter.keys, std::vector<std::string>{"KEYLOOM_NO_OSK"});
    QTest::qWait(100);
    EXPECT_EQ(dialog->state().capturedKey(), 0x01E);
    EXPECT_TRUE(dialog->keyboardGrabbed()) << "capturing again";

    // Recording: Return picks No in the Clear-actions question.
    click(id::kMacroTab);
    click(id::kMacroAdd);
    record(true);
    xdotool({QStringLiteral("key"), QStringLiteral("a")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->state().macros().rows().size() == 2; }, 3000));
    click(id::kActionClear);
    EXPECT_EQ(unanswered, 0);
    QTest::qWait(100);
    const auto rows = dialog->state().macros().rows();
    ASSERT_EQ(rows.size(), 2u) << "nothing added, nothing cleared";
    EXPECT_EQ(rows[0].keyCode, 0x01E);
    EXPECT_EQ(rows[1].keyCode, 0x01E);
    EXPECT_TRUE(dialog->keyboardGrabbed()) << "recording again";
    record(false);
}

}  // namespace
}  // namespace keyloom::testing
