// The session-bus service of the window program on a simulated keyboard:
// what callers read and change, what they are refused, and keyloomctl
// forwarding its command lines to the window's own state.

#include <QMessageBox>
#include <QTimer>

#include "bus/BusFixture.h"
#include "cli/BusNames.h"
#include "model/KeyTable.h"
#include "model/ParameterBlock.h"
#include "shell/MainControls.h"
#include "support/SimKeyboardLog.h"

namespace keyloom::testing {
namespace {

constexpr int kAKey = 1058;
constexpr std::uint16_t kCodeB = 0x30;

class BusServiceTest : public BusFixture {
protected:
    void SetUp() override {
        BusFixture::SetUp();
        openWindow();
        serve();
    }
    int activeOnKeyboard() {
        ParameterBlock block;
        block.bytes = memoryOf(*keyboard).parameters;
        return block.activeProfile() + 1;
    }
    QString error(const QDBusMessage& reply) {
        return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : QString();
    }
};

TEST_F(BusServiceTest, SetActiveProfileSwitchesTheKeyboardAndAnnouncesIt) {
    EXPECT_EQ(property("Connected").toBool(), true);
    EXPECT_EQ(property("Model").toString(), "0c45:652f");
    EXPECT_EQ(property("ActiveProfile").toInt(), 1);

    EXPECT_EQ(error(call("SetActiveProfile", {2})), "");
    EXPECT_EQ(activeOnKeyboard(), 2);
    EXPECT_EQ(property("ActiveProfile").toInt(), 2);
    EXPECT_TRUE(pumpUntil([&] { return announced("ActiveProfile").toInt() == 2; }));
    EXPECT_TRUE(pumpUntil([&] { return button(shell::control::kProfile1 + 1).isSelected(); }));
    // A change the window makes on its own is announced as well, as it is
    // made: long before the slow safety-net look.
    dialog->runCommand(shell::control::kProfile1 + 2);
    EXPECT_TRUE(pumpUntil([&] { return announced("ActiveProfile").toInt() == 3; },
                          std::chrono::seconds(3)));
}

TEST_F(BusServiceTest, SettersChangeWhatThePanelShowsAndRefuseWhatItCannotTake) {
    struct Case {
        const char* method;
        QVariant value;
        const char* error;  // empty: accepted
    };
    const Case cases[] = {
        {"SetEffect", 6, ""},
        {"SetBrightness", 2, ""},
        {"SetActiveProfile", 4, "io.github.keyloom.Error.InvalidArgument"},
        {"SetActiveProfile", 0, "io.github.keyloom.Error.InvalidArgument"},
        {"SetBrightness", 5, "io.github.keyloom.Error.InvalidArgument"},
        {"SetEffect", 99, "io.github.keyloom.Error.InvalidArgument"},
        {"SetActiveProfile", QString("2"), "io.github.keyloom.Error.InvalidArgument"},
        {"Run", 3, "io.github.keyloom.Error.InvalidArgument"},
        {"Explode", 1, "org.freedesktop.DBus.Error.UnknownMethod"},
    };
    for (const Case& c : cases) {
        const QDBusMessage reply = call(c.method, {c.value});
        EXPECT_EQ(error(reply), c.error) << c.method << " " << c.value.toString().toStdString();
        if (*c.error != 0) {
            EXPECT_FALSE(reply.errorMessage().isEmpty()) << c.method;
        }
    }
    EXPECT_EQ(property("Effect").toInt(), 6);
    EXPECT_EQ(property("Brightness").toInt(), 2);
    EXPECT_EQ(dialog->core().lightingState().effect, 6);
    EXPECT_EQ(announced("Brightness").toInt(), 2);
    EXPECT_EQ(activeOnKeyboard(), 1);
}

TEST_F(BusServiceTest, NothingChangesUnderAnOpenDialogOrUnappliedChanges) {
    const auto busy = [&](const QDBusMessage& reply) {
        return error(reply) == "io.github.keyloom.Error.Busy" && !reply.errorMessage().isEmpty();
    };
    dialog->core().state().editors.setKeyAssignmentDialogOpen(true);
    EXPECT_TRUE(busy(call("SetActiveProfile", {2})));
    EXPECT_TRUE(busy(call("Run", {QStringList{"assign", "A", "key:B"}})));
    // Looking is harmless.
    const QDBusMessage shown = call("Run", {QStringList{"profile"}});
    ASSERT_EQ(error(shown), "");
    EXPECT_EQ(shown.arguments()[1].toString(), "1\n");
    dialog->core().state().editors.setKeyAssignmentDialogOpen(false);

    QMessageBox box(dialog.get());
    box.setModal(true);
    box.show();
    EXPECT_TRUE(busy(call("SetBrightness", {1})));
    box.hide();

    dialog->core().modified().markEdited();
    EXPECT_TRUE(busy(call("SetActiveProfile", {3})));
    EXPECT_TRUE(pumpUntil([&] { return announced("Modified").toBool(); }));
    EXPECT_EQ(activeOnKeyboard(), 1);
    EXPECT_EQ(dialog->core().lightingState().brightness, 4);
    EXPECT_TRUE(dialog->messageKeysShown().empty());
}

TEST_F(BusServiceTest, RunRefusesWhatTheRunningProgramCannotTake) {
    struct Case {
        QStringList args;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{"frob"}, 2, "unknown command 'frob'"},
        {{"backup", "relative.klm"}, 2, "must be absolute"},
        {{"--simulate", "0c45:652f", "show"}, 2, "--simulate"},
        {{"--data-dir", "/tmp", "show"}, 2, "--direct"},
        {{"watch"}, 2, "--for"},
    };
    for (const Case& c : cases) {
        const QDBusMessage reply = call("Run", {c.args});
        ASSERT_EQ(error(reply), "") << c.args.join(' ').toStdString();
        EXPECT_EQ(reply.arguments()[0].toInt(), c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(reply.arguments()[2].toString().contains(c.says))
            << reply.arguments()[2].toString().toStdString();
    }
}

TEST_F(BusServiceTest, AWatchReturnsWhatItSawAndHoldsNothingUpMeanwhile) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        cli::bus::kServiceName, cli::bus::kObjectPath, cli::bus::kInterface, "Run");
    message << QStringList{"watch", "--for", "2"};
    QDBusPendingCall watch = client.asyncCall(message, 30000);
    EXPECT_EQ(error(call("SetBrightness", {1})), "");
    EXPECT_FALSE(watch.isFinished());
    ASSERT_TRUE(pumpUntil([&] { return watch.isFinished(); }));
    const QDBusMessage reply = watch.reply();
    ASSERT_EQ(error(reply), "");
    EXPECT_EQ(reply.arguments()[0].toInt(), 0);
    EXPECT_TRUE(reply.arguments()[1].toString().contains("Listening on"))
        << reply.arguments()[1].toString().toStdString();
}

TEST_F(BusServiceTest, RunReadsAndPrintsEnglishNamesUnderAGermanWindow) {
    installLanguageFiles(std::make_shared<LanguageFiles>(paths.programFolder, nullptr, 0x0407));
    const QDBusMessage reply = call("Run", {QStringList{"assign", "Left Ctrl", "key:Right Ctrl"}});
    ASSERT_EQ(error(reply), "");
    EXPECT_EQ(reply.arguments()[0].toInt(), 0) << reply.arguments()[2].toString().toStdString();
    EXPECT_TRUE(reply.arguments()[1].toString().contains("Left Ctrl -> key:Right Ctrl"))
        << reply.arguments()[1].toString().toStdString();
    EXPECT_EQ(lookupText("IDS_KEYBOARD_LCTRL"), "Strg links");
}

TEST_F(BusServiceTest, ASecondServiceOnTheSameBusIsRefusedAndTheFirstServesOn) {
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "second");
    shell::KeyloomBusService second(*dialog, other);
    std::string why;
    EXPECT_FALSE(second.start(why));
    EXPECT_NE(why.find("another program owns"), std::string::npos) << why;
    EXPECT_EQ(error(call("SetBrightness", {3})), "");
    QDBusConnection::disconnectFromBus("second");
}

// keyloomctl without --simulate hands its command line to the window: the
// key view shows the change at once, the window's Apply keeps it, and the
// keyboard's memory holds it once the program has ended.
class BusDoneWhenTest : public BusFixture {};

TEST_F(BusDoneWhenTest, AssignThroughTheBusReachesTheWindowAndSurvivesItsApply) {
    const std::string state = dir.file("keyboard.state");
    {
        plugIn();
        keyboard->withFirmware([&](sim::SimFirmware& firmware) {
            return firmware.attachStateFile(state, sim::SimFirmware::StateFileUse::KeepChanges);
        });
        createWindow();
        ASSERT_TRUE(waitConnected());
        serve();

        const CliRun assign = keyloomctl({"assign", "A", "key:B"});
        ASSERT_EQ(assign.exitCode, 0) << assign.err;
        EXPECT_NE(button(kAKey).toolTip().toStdString().find(KeyName(kCodeB, 260)),
                  std::string::npos)
            << button(kAKey).toolTip().toStdString();

        // A change in the window, then its Apply: the forwarded one stays.
        {
            WorkingStore::Access working = dialog->core().workingStore().lock();
            working->image->block(0)[0x1F] = {AssignmentKind::Disabled, 0, 0};
        }
        dialog->core().modified().markEdited();
        dialog->runCommand(shell::control::kApply);
        ASSERT_TRUE(pumpUntil([&] { return !dialog->isBusy() && !dialog->isModified(); }));
        dialog->shutdown();
        service.reset();
        dialog.reset();
    }
    const CliRun show =
        keyloomctl({"--simulate", "0c45:652f:" + state, "--data-dir", dir.file("data"), "show"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_NE(show.out.find("key:B"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("disabled"), std::string::npos) << show.out;
}

}  // namespace
}  // namespace keyloom::testing
