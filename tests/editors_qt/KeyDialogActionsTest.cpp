// Every action of the keyboard assigned from the window on the simulated
// keyboard: the key dialog disables a key, gives keys a mouse button, a
// wheel step and stop-macro, and the bank switch reaches a G key of the
// second bank; the bytes reach the key matrix and keyloomctl's show names
// each.

#include <QAbstractButton>
#include <QTimer>
#include <atomic>

#include "cli/CliHost.h"
#include "cli/CommandLine.h"
#include "editors/qt/Keyloom_DlgComposite.h"
#include "shell/DimmedFace.h"
#include "shell/GBankSwitch.h"
#include "shell/MainControls.h"
#include "shell/ShellFixture.h"
#include "support/SimKeyboardLog.h"

namespace keyloom::testing {
namespace {

namespace id = shell::control;
namespace dlg = editors::qt::composite;
using editors::KeyAssignmentState;
using editors::KeyChoice;

constexpr int kG3Button = 1002;

struct InProcessHost : cli::CliHost {
    explicit InProcessHost(KeyloomCore& core) : core_(core) {}
    KeyloomCore& core() override { return core_; }
    void routePrompts(window::Prompter*) override {}
    KeyloomCore& core_;
};

class KeyDialogActionsTest : public ShellFixture {
protected:
    // Opens the dialog for `button`, lets `edit` change its state, then OK.
    void assign(int button, const std::function<void(KeyAssignmentState&)>& edit) {
        bool ran = false;
        QTimer::singleShot(0, dialog.get(), [&] {
            editors::qt::Keyloom_DlgComposite* keys = dialog->keyAssignmentDialog();
            ASSERT_TRUE(keys && keys->isVisible());
            edit(keys->state());
            static_cast<QAbstractButton*>(keys->control(dlg::kOk))->click();
            ran = true;
        });
        dialog->runCommand(button);
        EXPECT_TRUE(ran);
    }
    void applyToKeyboard() {
        dialog->runCommand(id::kApply);
        ASSERT_TRUE(pumpUntil([&] { return !dialog->isBusy(); }));
    }
    // The key matrix bytes of profile 1 where the default matrix holds `key`.
    std::vector<std::uint8_t> onKeyboard(std::vector<std::uint8_t> key) {
        const sim::SimMemory m = memoryOf(*keyboard);
        for (std::size_t i = 0; 3 * i + 2 < m.defaultMatrix.size(); ++i)
            if (std::equal(key.begin(), key.end(), m.defaultMatrix.begin() + 3 * i))
                return {m.keyMatrices.begin() + 3 * i, m.keyMatrices.begin() + 3 * i + 3};
        ADD_FAILURE() << "no matrix position for the key";
        return {};
    }
    std::string show() {
        InProcessHost host(dialog->core());
        std::atomic<bool> done{false};
        cli::CommandRun run;
        dialog->core().queue().submit([&] {
            run = cli::runCommandLine({"show"}, host);
            done = true;
        });
        EXPECT_TRUE(pumpUntil([&] { return done.load(); }));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }
};

TEST_F(KeyDialogActionsTest, DisabledMouseWheelAndStopMacroReachTheKeyboard) {
    openWindow();
    EXPECT_FALSE(dialog->gBankSwitch()->isVisible()) << "this model has no G keys";
    EXPECT_FALSE(button(kG3Button).isEnabled());
    EXPECT_TRUE(shell::hasDimmedFace(button(kG3Button))) << "G3 looks unavailable";
    saveScreenshot("without_g_keys");
    struct Case {
        int button;
        std::uint8_t usage;  // the key's HID usage in the default matrix
        KeyChoice choice;
        std::uint32_t mouseRow;
        std::vector<std::uint8_t> wire;
        std::string shown;
    };
    const std::vector<Case> cases{
        {1058, 0x04, KeyChoice::Disabled, 0, {0, 0, 0}, "disabled"},
        {1075, 0x05, KeyChoice::Mouse, 0, {1, 1, 1}, "key:Left Mouse Button"},
        {1073, 0x06, KeyChoice::Mouse, 3, {1, 5, 1}, "key:Wheel Up"},
        {1060, 0x07, KeyChoice::StopMacro, 0, {5, 2, 0}, "stop-macro"},
    };
    for (const Case& c : cases)
        assign(c.button, [&](KeyAssignmentState& state) {
            state.chooseKeyAction(c.choice);
            state.selectMouseRow(c.mouseRow);
        });
    applyToKeyboard();
    const std::string shown = show();
    for (const Case& c : cases) {
        EXPECT_EQ(onKeyboard({2, 2, c.usage}), c.wire) << c.shown;
        EXPECT_NE(shown.find(c.shown), std::string::npos) << c.shown << " in\n" << shown;
    }
}

TEST_F(KeyDialogActionsTest, TheBankSwitchAssignsAGKeyOfTheSecondBank) {
    keyboard = backend->addKeyboard(sim::kModel5064, 32);
    createWindow();
    ASSERT_TRUE(waitConnected());
    shell::GBankSwitch* banks = dialog->gBankSwitch();
    ASSERT_TRUE(pumpUntil([&] { return banks->isVisible(); }));
    banks->button(1).click();
    EXPECT_TRUE(dialog->secondGBank());
    saveScreenshot("g_keys_bank_2");
    EXPECT_TRUE(button(id::kLockAb).isSelected()) << "the AB light shows bank 2";
    assign(kG3Button, [](KeyAssignmentState& state) {
        EXPECT_EQ(state.entryIndex(), 256u + 9 + 2);
        state.pressMediaTab();
        state.selectMediaRow(1);
    });
    EXPECT_NE(button(kG3Button).toolTip().indexOf(QStringLiteral("Bank 2")), -1);
    applyToKeyboard();
    // Extra key 12 is G3 of the second bank; the first bank's G3 is untouched.
    EXPECT_EQ(onKeyboard({6, 0xA2, 12}), (std::vector<std::uint8_t>{3, 0xCD, 0}));
    EXPECT_EQ(onKeyboard({6, 0xA2, 3}), (std::vector<std::uint8_t>{6, 0xA2, 3}));
    const std::string shown = show();
    EXPECT_NE(shown.find("G3 bank 2"), std::string::npos) << shown;

    banks->button(0).click();
    EXPECT_FALSE(button(id::kLockAb).isSelected());
    EXPECT_EQ(button(kG3Button).toolTip(), QStringLiteral("G3"));
}

}  // namespace
}  // namespace keyloom::testing
