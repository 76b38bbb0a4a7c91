// The main window's commands against the simulated keyboard, checked by what
// the keyboard received: Apply, Restore default, backup and restore, the
// profile and report-rate buttons, the keyboard going silent while Apply
// waits, the Button menu, the profile menu, links and help.

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QUrl>
#include <filesystem>
#include <regex>

#include "ShellFixture.h"
#include "model/KeyViewKeys.h"
#include "platform/text/SafeFormat.h"
#include "shell/MainControls.h"
#include "support/SimKeyboardLog.h"

namespace keyloom::testing {
namespace {

namespace id = shell::control;
namespace cmd = shell::command;

constexpr int kAKey = 1058;
const KeyAssignment kLeftCtrl{AssignmentKind::Key, 0, 0x1D};
const std::vector<std::uint8_t> kLeftCtrlEntry{0x02, 0x01, 0x01};

class MainCommandsTest : public ShellFixture {
protected:
    // As the key assignment dialog does: the entry changes, Apply is enabled.
    void assignA(int profile, KeyAssignment assignment = kLeftCtrl) {
        EditTransaction working = dialog->core().edit(profile);
        working->image->block(profile)[0x1E] = assignment;
    }
    // Runs a command and waits for its keyboard work to end.
    void run(int command) {
        dialog->runCommand(command);
        ASSERT_TRUE(pumpUntil([&] { return !dialog->isBusy(); }));
    }
    std::size_t positionOfA() {
        const sim::SimMemory m = memoryOf(*keyboard);
        for (std::size_t i = 0; i * 3 + 2 < m.defaultMatrix.size(); ++i)
            if (m.defaultMatrix[3 * i] == 2 && m.defaultMatrix[3 * i + 2] == 0x04)
                return i;
        ADD_FAILURE() << "no matrix position for A";
        return 0;
    }
    std::vector<std::uint8_t> entryOnKeyboard(int profile, std::size_t position) {
        const sim::SimMemory m = memoryOf(*keyboard);
        const std::size_t at = profile * keyboard->model().keyMatrixStride + 3 * position;
        return {m.keyMatrices[at], m.keyMatrices[at + 1], m.keyMatrices[at + 2]};
    }
    bool applyEnabled() { return button(id::kApply).isEnabled(); }
    // The confirmation the window shows, empty when none shows.
    std::string note() {
        const shell::StatusNote* n = dialog->statusNote();
        return n->isVisibleTo(dialog.get()) ? n->text().toStdString() : std::string();
    }
    bool shown(const std::string& key) {
        for (const std::string& k : dialog->messageKeysShown())
            if (k == key)
                return true;
        return false;
    }
};

TEST_F(MainCommandsTest, ApplyWritesOnlyTheActiveProfileAndOnlyWhenSomethingChanged) {
    openWindow();
    clearReceived(*keyboard);
    run(id::kApply);
    EXPECT_TRUE(requestsReceived(*keyboard).empty()) << "nothing modified, nothing written";

    assignA(0);
    EXPECT_TRUE(applyEnabled());
    run(id::kApply);
    EXPECT_EQ(matrixWritesReceived(*keyboard), std::vector<int>{0});
    EXPECT_EQ(entryOnKeyboard(0, positionOfA()), kLeftCtrlEntry);
    EXPECT_NE(entryOnKeyboard(1, positionOfA()), kLeftCtrlEntry);
    EXPECT_FALSE(applyEnabled());
    EXPECT_FALSE(dialog->isModified());
    EXPECT_EQ(note(), lookupText("KEYLOOM_APPLIED"));

    // OK applies, then hides the window: the tray icon confirms instead.
    assignA(0, {AssignmentKind::Key, 0, 0x2A});
    run(id::kOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(applyEnabled());
    EXPECT_EQ(dialog->trayIcon()->lastNotice().toStdString(), lookupText("KEYLOOM_APPLIED"));
}

TEST_F(MainCommandsTest, RestoreDefaultAnsweredYesRevertsTheKeyboardAndTheKeyView) {
    openWindow();
    assignA(0);
    run(id::kApply);
    ASSERT_EQ(entryOnKeyboard(0, positionOfA()), kLeftCtrlEntry);
    dialog->redrawKeyView();
    ASSERT_TRUE(pumpUntil([&] { return button(kAKey).isSelected(); }));

    run(id::kDefault);
    EXPECT_TRUE(shown("MAIN_PROMPT_DEFAULT"));
    const sim::SimMemory m = memoryOf(*keyboard);
    const std::vector<std::uint8_t> profile0(m.keyMatrices.begin(),
                                             m.keyMatrices.begin() + m.defaultMatrix.size());
    EXPECT_EQ(profile0, m.defaultMatrix);
    ASSERT_TRUE(pumpUntil([&] { return !button(kAKey).isSelected(); }));
    for (const KeyViewKey& key : kKeyViewKeys)
        EXPECT_FALSE(button(key.controlId).isSelected()) << key.controlId;
    EXPECT_FALSE(applyEnabled());
}

TEST_F(MainCommandsTest, NoBusyIndicatorBehindTheQuestionOrAfterANo) {
    openWindow();
    const auto indicatorShows = [&] { return dialog->busyIndicator()->isVisible(); };
    bool shownDuringQuestion = false;
    dialog->setMessageResponder([&](const window::MessageRequest&) {
        // As long as a person takes to read the question.
        for (int i = 0; i < 100; ++i) {
            QTest::qWait(3);
            shownDuringQuestion = shownDuringQuestion || indicatorShows();
        }
        return window::MessageAnswer::No;
    });
    clearReceived(*keyboard);
    dialog->runCommand(id::kDefault);
    bool shownAfterwards = false;
    for (int i = 0; i < 100; ++i) {
        QTest::qWait(3);
        shownAfterwards = shownAfterwards || indicatorShows();
    }
    EXPECT_TRUE(shown("MAIN_PROMPT_DEFAULT"));
    EXPECT_FALSE(dialog->isBusy());
    EXPECT_FALSE(shownDuringQuestion);
    EXPECT_FALSE(shownAfterwards);
    EXPECT_TRUE(requestsReceived(*keyboard).empty()) << "a No writes nothing";
}

TEST_F(MainCommandsTest, BackupThenRestoreOfTheSameFileWritesAllThreeProfiles) {
    openWindow();
    const std::string file = dir.file("backup.klm");
    std::vector<shell::CKeyloomDlg::FileDialogKind> asked;
    dialog->setFileChooser([&](shell::CKeyloomDlg::FileDialogKind kind) {
        asked.push_back(kind);
        return file;
    });
    assignA(1);  // not applied: the backup holds the working store
    run(cmd::kBackup);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(applyEnabled()) << "a backup leaves Apply as it was";
    EXPECT_NE(note().find("backup.klm"), std::string::npos) << note();

    clearReceived(*keyboard);
    run(cmd::kRestore);
    // The note names the copy of what the restore replaced.
    const std::string restored = note();
    std::smatch copy;
    ASSERT_TRUE(std::regex_search(restored, copy, std::regex("before-restore-\\d{8}-\\d{6}\\.klm")))
        << restored;
    EXPECT_EQ(restored, text::formatString(lookupText("KEYLOOM_RESTORED"), copy.str()));
    EXPECT_TRUE(std::filesystem::exists(dir.file("data/" + copy.str()))) << restored;
    EXPECT_EQ(matrixWritesReceived(*keyboard), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(entryOnKeyboard(1, positionOfA()), kLeftCtrlEntry);
    EXPECT_FALSE(applyEnabled());
    using Kind = shell::CKeyloomDlg::FileDialogKind;
    EXPECT_EQ(asked, (std::vector<Kind>{Kind::Save, Kind::Open}));

    // A cancelled dialog does nothing; a backup that cannot be written says so.
    dialog->setFileChooser([](shell::CKeyloomDlg::FileDialogKind) { return std::string(); });
    clearReceived(*keyboard);
    run(cmd::kRestore);
    EXPECT_TRUE(requestsReceived(*keyboard).empty());
    dialog->setFileChooser(
        [&](shell::CKeyloomDlg::FileDialogKind) { return dir.file("no-such-folder/lost.klm"); });
    run(cmd::kBackup);
    EXPECT_TRUE(shown("KEYLOOM_BACKUP_FAILED"));
    EXPECT_EQ(note().find("lost.klm"), std::string::npos) << "a failure is not confirmed";
}

TEST_F(MainCommandsTest, ProfileButtonOfTheActiveProfileLeavesTheKeyboardAlone) {
    plugIn();
    ASSERT_TRUE(keyboard->selectProfileOnKeyboard(1));
    createWindow();
    ASSERT_TRUE(waitConnected());
    ASSERT_TRUE(pumpUntil([&] { return button(id::kProfile1 + 1).isSelected(); }));
    const sim::SimMemory before = memoryOf(*keyboard);
    clearReceived(*keyboard);

    run(id::kProfile1 + 1);
    // Reads, and the profile's user-mode key colours (command 17), which a
    // profile button sends again; no profile switch, no settings written.
    for (const Request& r : requestsReceived(*keyboard))
        EXPECT_TRUE(r.command == 1 || r.command == 2 || r.command == 3 || r.command == 5 ||
                    r.command == 17)
            << "only reads and key colours, got command " << int(r.command);
    EXPECT_EQ(memoryOf(*keyboard).profileSettings, before.profileSettings);
    EXPECT_FALSE(button(id::kProfile1).isSelected());
    EXPECT_TRUE(button(id::kProfile1 + 1).isSelected());
    EXPECT_FALSE(button(id::kProfile1 + 2).isSelected());

    // The profile label names the active profile's slot file; its right-click
    // menu has the default item, a separator and the three profiles.
    EXPECT_FALSE(button(id::kProfileName).text().isEmpty());
    QMenu& menu = dialog->profileMenu();
    emit menu.aboutToShow();
    ASSERT_EQ(menu.actions().size(), 5);
    EXPECT_TRUE(menu.actions()[1]->isSeparator());
    EXPECT_TRUE(menu.actions()[3]->isChecked());
    EXPECT_EQ(menu.actions()[3]->text(), button(id::kProfileName).text());

    // Its third profile item switches the keyboard to profile 3.
    menu.actions()[4]->trigger();
    ASSERT_TRUE(pumpUntil([&] { return !dialog->isBusy(); }));
    ASSERT_TRUE(pumpUntil([&] { return button(id::kProfile1 + 2).isSelected(); }));
    EXPECT_EQ(dialog->core().state().connection.activeProfile.load(), 2);
    EXPECT_FALSE(button(id::kProfile1 + 1).isSelected());
}

TEST_F(MainCommandsTest, ReportRateButtonFourWritesThreeAtOffsetFifteen) {
    openWindow();
    clearReceived(*keyboard);
    run(id::kReportButtons[3]);
    std::vector<Request> writes;
    for (const Request& r : requestsReceived(*keyboard))
        if (r.command == 6)
            writes.push_back(r);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].offset, dialog->core().lightingProfile() * 42 + 15);
    EXPECT_EQ(writes[0].data, std::vector<std::uint8_t>{3});
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(button(id::kReportButtons[i]).isSelected());
    EXPECT_TRUE(button(id::kReportButtons[3]).isSelected());

    // A write the keyboard refuses is not passed over in silence.
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().refuseCommand(6, 0xFE); });
    run(id::kReportButtons[1]);
    EXPECT_TRUE(shown("KEYLOOM_WRITE_REFUSED"));
}

TEST_F(MainCommandsTest, ASilentKeyboardDuringApplyLeavesTheWindowResponsiveAndApplyEnabled) {
    openWindow();
    assignA(0);
    keyboard->withFirmware(
        [](sim::SimFirmware& f) { f.faults().dropRequests(sim::SimFaults::kAlways); });

    dialog->runCommand(id::kApply);
    ASSERT_TRUE(dialog->isBusy());
    // The window thread keeps handling events and the indicator animates.
    ASSERT_TRUE(pumpUntil([&] { return dialog->busyIndicator()->isVisible(); }));
    const QImage first = dialog->busyIndicator()->pixmap().toImage();
    ASSERT_TRUE(pumpUntil([&] { return dialog->busyIndicator()->pixmap().toImage() != first; }));
    saveScreenshot("during_apply");
    // No other command is taken meanwhile.
    dialog->runCommand(id::kDefault);
    EXPECT_FALSE(shown("MAIN_PROMPT_DEFAULT"));

    ASSERT_TRUE(pumpUntil([&] { return !dialog->isBusy(); }));
    EXPECT_TRUE(applyEnabled());
    EXPECT_TRUE(shown("KEYLOOM_WRITE_NO_ANSWER"));
    ASSERT_TRUE(pumpUntil([&] { return !dialog->busyIndicator()->isVisible(); }));

    // Once it answers again, the same changes go out.
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().clear(); });
    run(id::kApply);
    EXPECT_FALSE(applyEnabled());
    EXPECT_EQ(entryOnKeyboard(0, positionOfA()), kLeftCtrlEntry);
}

TEST_F(MainCommandsTest, ButtonMenuCarriesTheLanguageTextsAndRunsItsCommands) {
    openWindow();
    QMenu& menu = dialog->buttonMenu();
    emit menu.aboutToShow();
    QStringList texts;
    for (QAction* a : menu.actions())
        if (!a->isSeparator())
            texts << a->text();
    const auto text = [](const char* key) { return QString::fromStdString(lookupText(key)); };
    EXPECT_EQ(texts, (QStringList{text("MENU_1"), text("MENU_2"), text("KEYLOOM_MENU_FIRMWARE"),
                                  text("KEYLOOM_MENU_LANGUAGE"), text("MENU_3"), text("MENU_4")}));

    // Exit from the menu ends the program.
    bool exited = false;
    QObject::connect(dialog.get(), &shell::CKeyloomDlg::exitRequested, [&] { exited = true; });
    menu.actions().last()->trigger();
    EXPECT_TRUE(exited);
}

struct CloseAnswer {
    window::MessageAnswer answer;
    bool exits;
    bool written;
};

class CloseBoxTest : public MainCommandsTest, public ::testing::WithParamInterface<CloseAnswer> {};

TEST_P(CloseBoxTest, AsksAboutUnappliedChangesThenWritesDropsOrStays) {
    const CloseAnswer c = GetParam();
    openWindow();
    const std::vector<std::uint8_t> before = entryOnKeyboard(0, positionOfA());
    bool exited = false;
    QObject::connect(dialog.get(), &shell::CKeyloomDlg::exitRequested, [&] { exited = true; });
    std::vector<std::string> asked;
    dialog->setMessageResponder([&](const window::MessageRequest& r) {
        asked.push_back(r.key);
        return c.answer;
    });
    assignA(0);
    run(id::kClose);
    EXPECT_EQ(asked, std::vector<std::string>{"EXIT_UNAPPLIED_PROMPT"});
    EXPECT_EQ(pumpUntil([&] { return exited; }, std::chrono::milliseconds(c.exits ? 5000 : 200)),
              c.exits);
    EXPECT_EQ(entryOnKeyboard(0, positionOfA()), c.written ? kLeftCtrlEntry : before);
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseBoxTest,
                         ::testing::Values(CloseAnswer{window::MessageAnswer::Cancel, false, false},
                                           CloseAnswer{window::MessageAnswer::No, true, false},
                                           CloseAnswer{window::MessageAnswer::Yes, true, true}),
                         [](const ::testing::TestParamInfo<CloseAnswer>& answer) {
                             return std::string(answer.index == 0   ? "Cancel"
                                                : answer.index == 1 ? "No"
                                                                    : "Yes");
                         });

TEST_F(MainCommandsTest, TheMenuButtonDropsItsMenuBelowItself) {
    openWindow();
    // The test screen is narrower than the window: bring the button onto it.
    dialog->move(-700, 40);
    dialog->runCommand(id::kMenu);
    QMenu& menu = dialog->buttonMenu();
    ASSERT_TRUE(pumpUntil([&] { return menu.isVisible(); }));
    const QWidget& menuButton = button(id::kMenu);
    const QPoint under = menuButton.mapToGlobal(QPoint(0, menuButton.height()));
    EXPECT_EQ(menu.pos(), under);
    EXPECT_FALSE(menu.actions().first()->text().isEmpty()) << "filled before it was placed";

    // The window with the menu where it opened.
    QImage shot = dialog->grab().toImage();
    {
        QPainter painter(&shot);
        painter.drawImage(menu.pos() - dialog->pos(), menu.grab().toImage());
    }
    EXPECT_TRUE(
        shot.save(QString::fromStdString(builtFile("screenshots/main_window_button_menu.png"))));
    EXPECT_LT(qGray(menu.grab().toImage().pixel(menu.width() / 2, 2)), 60) << "a dark menu";
    menu.hide();
}

TEST_F(MainCommandsTest, LinksAndHelpOpenTheirAddresses) {
    openWindow();
    std::vector<QUrl> opened;
    dialog->setUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    dialog->runCommand(id::kHelp);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("Help/index.html")));
    EXPECT_TRUE(std::filesystem::exists(opened[0].toLocalFile().toStdString()));

    for (int link : id::kLinkButtons) {
        dialog->runCommand(link);
        EXPECT_EQ(opened.back().toString(), button(link).toolTip()) << link;
    }
    EXPECT_EQ(opened.size(), 5u);
    EXPECT_TRUE(dialog->messageKeysShown().empty()) << "nothing to tell when a program took them";

    // Without a browser the user learns what could not be opened, and where it is.
    std::vector<window::MessageRequest> told;
    dialog->setMessageResponder([&](const window::MessageRequest& r) {
        told.push_back(r);
        return window::MessageAnswer::Ok;
    });
    dialog->setUrlOpener([](const QUrl&) { return false; });
    dialog->runCommand(id::kHelp);
    dialog->runCommand(id::kLinkButtons[1]);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].key, "KEYLOOM_HELP_NOT_OPENED");
    EXPECT_NE(told[0].text.find(opened[0].toLocalFile().toStdString()), std::string::npos)
        << told[0].text;
    EXPECT_EQ(told[1].key, "KEYLOOM_LINK_NOT_OPENED");
    EXPECT_NE(told[1].text.find(button(id::kLinkButtons[1]).toolTip().toStdString()),
              std::string::npos)
        << told[1].text;
}

TEST_F(MainCommandsTest, TrayIconFollowsTheConnectionAndTheIndicatorNotifications) {
    plugIn();
    createWindow(true);
    ASSERT_TRUE(waitConnected());
    shell::CTrayIcon& tray = *dialog->trayIcon();
    ASSERT_TRUE(pumpUntil([&] { return tray.iconId() == window::icon::kConnected; }));
    EXPECT_EQ(tray.tip().toStdString(), lookupText("KEYBOARD_TRAY_DESC"));

    // The keyboard's indicator notifications: 142 while on, then back.
    ASSERT_TRUE(keyboard->sendNotification(0x1811));
    ASSERT_TRUE(pumpUntil([&] { return tray.iconId() == window::icon::kIndicator; }));
    ASSERT_TRUE(keyboard->sendNotification(0x1810));
    ASSERT_TRUE(pumpUntil([&] { return tray.iconId() == window::icon::kConnected; }));

    // A double click runs "open": connected, so the window shows.
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(tray.onTrayNotification(tray.trayId(), shell::TrayMouseEvent::LeftDoubleClick), 1);
    EXPECT_TRUE(dialog->isVisible());

    keyboard->unplug();
    ASSERT_TRUE(pumpUntil([&] { return tray.iconId() == window::icon::kDisconnected; }));
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(MainCommandsTest, TwoAboutCommandsGiveOneAboutWindow) {
    openWindow();
    dialog->runCommand(cmd::kAbout);
    shell::CAboutDlg* first = dialog->aboutBox()->dialog();
    ASSERT_NE(first, nullptr);
    dialog->runCommand(cmd::kAbout);
    EXPECT_EQ(dialog->aboutBox()->dialog(), first);
    int aboutWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<shell::CAboutDlg*>(w) && w->isVisible())
            ++aboutWindows;
    EXPECT_EQ(aboutWindows, 1);
    const QImage about = first->grab().toImage();
    EXPECT_TRUE(about.save(QString::fromStdString(builtFile("screenshots/about_box_main.png"))));

    // The keyboard going away closes it.
    keyboard->unplug();
    ASSERT_TRUE(pumpUntil([&] { return dialog->aboutBox()->dialog() == nullptr; }));
}

}  // namespace
}  // namespace keyloom::testing
