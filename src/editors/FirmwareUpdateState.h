#pragma once
// The firmware update without its window: the chosen updater program, which
// outlives the dialog (one per run), and the update sequence with its
// failures. The window supplies the steps that touch the keyboard, the disk
// and other programs.
//
// Window thread only.

#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "device/ProtocolResult.h"

namespace keyloom::editors {

// What the update needs from outside, one function per step.
struct FirmwareUpdateSteps {
    // A regular file the user may run.
    std::function<bool(const std::string& path)> isRunnableFile;
    std::function<bool()> keyboardConnected;
    // Saves the working store to `path`; true when written.
    std::function<bool(const std::string& path)> saveBackup;
    // The boot-mode report; the protocol result (1 = sent).
    std::function<DeviceResult()> enterBootMode;
    // Starts the updater detached; true when it started.
    std::function<bool(const std::string& path)> startUpdater;
};

enum class FirmwareUpdateOutcome {
    NoUpdater,       // no runnable file chosen; nothing sent
    BackupFailed,    // the working store could not be saved; nothing sent
    BootModeFailed,  // no keyboard, or the boot-mode report was not sent
    StartFailed,     // the keyboard waits for an updater that did not start
    Started,         // the dialog closes
};

struct FirmwareUpdateResult {
    FirmwareUpdateOutcome outcome = FirmwareUpdateOutcome::NoUpdater;
    std::string backupFile;  // the before-update backup, when it was written
};

// Language keys of the dialog's messages and the texts shown when the
// language file lacks them.
struct FirmwareUpdateMessage {
    std::string_view key;
    std::string_view fallback;
};
inline constexpr FirmwareUpdateMessage kUpdaterMissingMessage{"KEYLOOM_UPDATE_NO_FILE",
                                                              "请选择正确的更新文件! "};
inline constexpr FirmwareUpdateMessage kBootModeFailedMessage{"KEYLOOM_UPDATE_NO_BOOT_MODE",
                                                              "无法进入Boot模式! "};
inline constexpr FirmwareUpdateMessage kStartFailedMessage{"KEYLOOM_UPDATE_CANNOT_RUN",
                                                           "无法执行更新文件! "};
inline constexpr FirmwareUpdateMessage kBackupWrittenMessage{"KEYLOOM_UPDATE_BACKUP_DONE",
                                                             "备份成功!"};
inline constexpr FirmwareUpdateMessage kBackupFailedMessage{"KEYLOOM_UPDATE_BACKUP_FAILED",
                                                            "备份失败,请重新备份!"};
inline constexpr FirmwareUpdateMessage kBeforeUpdateBackupFailedMessage{
    "KEYLOOM_UPDATE_NOT_SAVED",
    "Your settings could not be saved before the update, so the keyboard was left as it is."};
// Formatted with the before-update backup's path.
inline constexpr FirmwareUpdateMessage kUpdateStartedMessage{
    "KEYLOOM_UPDATE_STARTED",
    "The keyboard now waits for its updater. Your settings were saved to %s."};

// The message box for an outcome; nothing for Started, which has its own
// text with the backup's path.
const FirmwareUpdateMessage* messageFor(FirmwareUpdateOutcome outcome);

// The language text of `message`, or its fallback when the key is missing.
std::string messageText(const FirmwareUpdateMessage& message);

// The before-update backup in the data folder (no '/' at its end):
// "before-update-YYYYMMDD-HHMMSS.klm" in local time.
std::string beforeUpdateBackupPath(std::string_view dataFolder, const std::tm& localTime);
std::string beforeUpdateBackupPath(std::string_view dataFolder,
                                   std::chrono::system_clock::time_point now);

class FirmwareUpdateState {
public:
    const std::string& updaterPath() const { return updaterPath_; }
    // Open: the chosen file becomes the updater.
    void chooseUpdater(std::string path) { updaterPath_ = std::move(path); }
    // Cancel update.
    void forgetUpdater() { updaterPath_.clear(); }

    // Update: checks the updater, saves the working store to `backupPath`,
    // sends the boot-mode report and starts the updater. Every attempt to
    // start forgets the updater, so the next Update needs a new Open.
    FirmwareUpdateResult update(const FirmwareUpdateSteps& steps, const std::string& backupPath);

private:
    std::string updaterPath_;
};

}  // namespace keyloom::editors
