// The firmware update dialog on the main window and the simulated keyboard:
// the failures of Update, what outlives closing the dialog, Backup, and an
// update end to end (backup on disk, boot-mode report, updater started,
// keyboard gone).

#include <QComboBox>
#include <filesystem>

#include "DialogTestSupport.h"
#include "storage/ProfileFile.h"
#include "support/SimKeyboardLog.h"

namespace keyloom::testing {
namespace {

namespace id = editors::qt::update_dialog;

class FirmwareUpdateDialogTest : public DialogFixture {
protected:
    editors::qt::CKeyloom_DlgUpdate& updater() { return dialog->firmwareUpdate(); }
    void openUpdater() { ASSERT_TRUE(updater().openWithoutWaiting()); }
    // A program that ends at once, as the updater in the Package folder.
    std::string updaterProgram() {
        const std::string path = dir.write("Package/flash", "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        return path;
    }
    void chooseUpdater(const std::string& path) {
        answerFileDialogs(path);
        updater().runCommand(id::kOpen);
    }
    std::vector<std::string> backupsInDataFolder() {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(paths.dataFolder))
            if (entry.path().filename().string().starts_with("before-update-"))
                found.push_back(entry.path().string());
        return found;
    }
};

TEST_F(FirmwareUpdateDialogTest, UpdateWithoutARunnableFileSaysSoAndSendsNothing) {
    openWindow();
    openUpdater();
    saveScreenshot(updater(), "firmware_update");
    clearReceived(*keyboard);
    for (const std::string& path : {std::string(), dir.write("notes.txt", "x")}) {
        if (!path.empty())
            chooseUpdater(path);
        updater().runCommand(id::kUpdate);
        EXPECT_TRUE(shown("KEYLOOM_UPDATE_NO_FILE")) << path;
        EXPECT_TRUE(updater().isVisible());
    }
    EXPECT_TRUE(requestsReceived(*keyboard).empty());
    EXPECT_TRUE(backupsInDataFolder().empty());
}

TEST_F(FirmwareUpdateDialogTest, UpdateWithoutAKeyboardCannotEnterBootMode) {
    createWindow();
    openUpdater();
    chooseUpdater(updaterProgram());
    updater().runCommand(id::kUpdate);
    EXPECT_TRUE(shown("KEYLOOM_UPDATE_NO_BOOT_MODE"));
    EXPECT_TRUE(updater().isVisible());
    EXPECT_FALSE(updater().updaterPath().empty()) << "nothing was started";
}

TEST_F(FirmwareUpdateDialogTest, TheChosenUpdaterOutlivesTheCloseBoxButNotCancelUpdate) {
    createWindow();
    const std::string program = updaterProgram();
    openUpdater();
    chooseUpdater(program);
    EXPECT_EQ(updater().pathField().currentText().toStdString(), program);
    updater().runCommand(id::kClose);
    EXPECT_FALSE(updater().isVisible());
    openUpdater();
    EXPECT_EQ(updater().updaterPath(), program);
    EXPECT_EQ(updater().pathField().currentText().toStdString(), program);

    updater().runCommand(id::kCancelUpdate);
    EXPECT_FALSE(updater().isVisible());
    openUpdater();
    EXPECT_TRUE(updater().updaterPath().empty());
}

TEST_F(FirmwareUpdateDialogTest, BackupWritesTheWorkingStoreOrNothingWhenCancelled) {
    openWindow();
    openUpdater();
    answerFileDialogs("");
    updater().runCommand(id::kBackup);
    EXPECT_EQ(messagesShown(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() + "/data") || backupsInDataFolder().empty());

    const std::string file = dir.file("backup.klm");
    answerFileDialogs(file);
    updater().runCommand(id::kBackup);
    EXPECT_TRUE(shown("KEYLOOM_UPDATE_BACKUP_DONE"));
    EXPECT_TRUE(validateProfileFile(file).valid());
    answerFileDialogs(dir.file("no-such-folder/backup.klm"));
    updater().runCommand(id::kBackup);
    EXPECT_TRUE(shown("KEYLOOM_UPDATE_BACKUP_FAILED"));
}

TEST_F(FirmwareUpdateDialogTest, UpdateSavesTheSettingsSendsTheBootReportAndTheKeyboardLeaves) {
    openWindow();
    {
        auto working = dialog->core().workingStore().lock();
        working->image->block(2)[0x1E] = KeyAssignment{AssignmentKind::Key, 0, 0x1D};
    }
    std::vector<std::uint8_t> before;
    {
        auto working = dialog->core().workingStore().lock();
        ASSERT_TRUE(buildProfileBytes(*working, before));
    }
    openUpdater();
    chooseUpdater(updaterProgram());
    updater().runCommand(id::kUpdate);
    EXPECT_FALSE(updater().isVisible());
    EXPECT_TRUE(shown("KEYLOOM_UPDATE_STARTED"));
    EXPECT_TRUE(updater().updaterPath().empty()) << "the next Update needs a new Open";

    // The backup holds the working store and loads back into it unchanged.
    const std::vector<std::string> backups = backupsInDataFolder();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_TRUE(backups[0].ends_with(".klm"));
    {
        auto working = dialog->core().workingStore().lock();
        ASSERT_EQ(loadProfileFile(backups[0], *working), FileResult::Ok);
        std::vector<std::uint8_t> after;
        ASSERT_TRUE(buildProfileBytes(*working, after));
        EXPECT_EQ(after, before);
    }

    // The keyboard leaves enumeration: no keyboard in the tray, window hidden.
    EXPECT_TRUE(keyboard->inBootMode());
    ASSERT_TRUE(pumpUntil([&] { return dialog->core().state().connection.state.load() == 0; }));
    ASSERT_TRUE(pumpUntil([&] { return !dialog->isVisible(); }));
    ASSERT_TRUE(
        pumpUntil([&] { return dialog->trayIcon()->iconId() == window::icon::kDisconnected; }));

    openUpdater();
    updater().runCommand(id::kUpdate);
    EXPECT_TRUE(shown("KEYLOOM_UPDATE_NO_FILE"));
}

}  // namespace
}  // namespace keyloom::testing
