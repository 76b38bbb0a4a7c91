// The key assignment dialog opened from the main window on the simulated
// keyboard: a key captured in the dialog reaches the keyboard's key matrix
// through the main window's Apply; Macros opens the macro-only dialog; a
// profile button pressed while it is open is refused on the keyboard's
// thread without reaching a widget; a keyboard that goes away closes the
// dialog.

#include <QKeyEvent>
#include <QTimer>

#include "editors/qt/Keyloom_DlgComposite.h"
#include "model/KeyViewKeys.h"
#include "shell/MainControls.h"
#include "shell/ShellFixture.h"
#include "support/SimKeyboardLog.h"

namespace keyloom::testing {
namespace {

namespace id = shell::control;
namespace dlg = editors::qt::composite;

constexpr int kAKey = 1058;
constexpr quint32 kLeftCtrlNative = 29 + 8;

class KeyDialogMainWindowTest : public ShellFixture {
protected:
    // Runs `inside` once the modal dialog runs, then `button` is clicked.
    void whileOpen(std::function<void(editors::qt::Keyloom_DlgComposite&)> inside) {
        QTimer::singleShot(0, dialog.get(), [this, inside] {
            editors::qt::Keyloom_DlgComposite* keys = dialog->keyAssignmentDialog();
            ASSERT_NE(keys, nullptr);
            ASSERT_TRUE(keys->isVisible());
            inside(*keys);
            if (keys->isVisible())
                keys->closeIfOpen();
        });
    }
    std::size_t positionOfA() {
        const sim::SimMemory m = memoryOf(*keyboard);
        for (std::size_t i = 0; i * 3 + 2 < m.defaultMatrix.size(); ++i)
            if (m.defaultMatrix[3 * i] == 2 && m.defaultMatrix[3 * i + 2] == 0x04)
                return i;
        ADD_FAILURE() << "no matrix position for A";
        return 0;
    }
    std::vector<std::uint8_t> entryOnKeyboard(std::size_t position) {
        const sim::SimMemory m = memoryOf(*keyboard);
        return {m.keyMatrices[3 * position], m.keyMatrices[3 * position + 1],
                m.keyMatrices[3 * position + 2]};
    }
};

TEST_F(KeyDialogMainWindowTest, CtrlCapturedForAReachesTheKeyMatrixThroughApply) {
    openWindow();
    whileOpen([](editors::qt::Keyloom_DlgComposite& keys) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, kLeftCtrlNative, 0,
                        0);
        QApplication::sendEvent(&keys, &press);
        static_cast<QAbstractButton*>(keys.control(dlg::kOk))->click();
    });
    dialog->runCommand(kAKey);
    EXPECT_FALSE(dialog->keyAssignmentDialog()->isVisible());
    EXPECT_TRUE(button(id::kApply).isEnabled()) << "the dialog's Apply enables the main Apply";
    EXPECT_NE(button(kAKey).toolTip().indexOf("Left Ctrl"), -1)
        << button(kAKey).toolTip().toStdString();

    dialog->runCommand(id::kApply);
    ASSERT_TRUE(pumpUntil([&] { return !dialog->isBusy(); }));
    EXPECT_EQ(entryOnKeyboard(positionOfA()), (std::vector<std::uint8_t>{0x02, 0x01, 0x01}));
}

TEST_F(KeyDialogMainWindowTest, MacrosOpensTheMacroOnlyDialogAndItIsReportedOpen) {
    openWindow();
    bool macroOnly = false;
    bool reportedOpen = false;
    whileOpen([&](editors::qt::Keyloom_DlgComposite& keys) {
        macroOnly = keys.state().macroOnly();
        reportedOpen = dialog->core().state().editors.keyAssignmentDialogOpen();
    });
    dialog->runCommand(id::kMacro);
    EXPECT_TRUE(macroOnly);
    EXPECT_TRUE(reportedOpen);
    EXPECT_FALSE(dialog->core().state().editors.keyAssignmentDialogOpen());
}

TEST_F(KeyDialogMainWindowTest, AProfileButtonWhileItIsOpenIsRefusedAndTheKeyboardKeepsItsProfile) {
    openWindow();
    std::vector<std::string> told;
    dialog->setMessageResponder([&](const window::MessageRequest& r) {
        told.push_back(r.key);
        return window::MessageAnswer::Ok;
    });
    bool refused = false;
    whileOpen([&](editors::qt::Keyloom_DlgComposite&) {
        dialog->runCommand(id::kProfile1 + 2);
        refused = pumpUntil([&] { return !dialog->isBusy(); });
    });
    dialog->runCommand(kAKey);
    EXPECT_TRUE(refused);
    EXPECT_EQ(told, std::vector<std::string>{"PROFILE_SEELCT_PROMPT2"});
    EXPECT_EQ(memoryOf(*keyboard).parameters[10], 0);
    EXPECT_FALSE(dialog->core().state().editors.keyAssignmentDialogOpen());
}

TEST_F(KeyDialogMainWindowTest, TheKeyboardGoingAwayClosesTheDialogAndEndsTheGrab) {
    openWindow();
    bool closed = false;
    whileOpen([&](editors::qt::Keyloom_DlgComposite& keys) {
        ASSERT_TRUE(keys.keyboardGrabbed());
        dialog->handleMessage({window::message::kDeviceGone, 0, 0});
        closed = !keys.isVisible() && !keys.keyboardGrabbed() && !keys.isOpen();
    });
    dialog->runCommand(kAKey);
    EXPECT_TRUE(closed);
}

}  // namespace
}  // namespace keyloom::testing
