#include "editors/FirmwareUpdateState.h"

#include <cstdio>
#include <mutex>

#include "storage/Language.h"

namespace keyloom::editors {

const FirmwareUpdateMessage* messageFor(FirmwareUpdateOutcome outcome) {
    switch (outcome) {
        case FirmwareUpdateOutcome::NoUpdater:
            return &kUpdaterMissingMessage;
        case FirmwareUpdateOutcome::BackupFailed:
            return &kBeforeUpdateBackupFailedMessage;
        case FirmwareUpdateOutcome::BootModeFailed:
            return &kBootModeFailedMessage;
        case FirmwareUpdateOutcome::StartFailed:
            return &kStartFailedMessage;
        case FirmwareUpdateOutcome::Started:
            break;
    }
    return nullptr;
}

std::string messageText(const FirmwareUpdateMessage& message) {
    std::string text = lookupText(message.key);
    return text == kMissingText ? std::string(message.fallback) : text;
}

std::string beforeUpdateBackupPath(std::string_view dataFolder, const std::tm& t) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    std::string path(dataFolder);
    path += "/before-update-";
    path += stamp;
    path += ".klm";
    return path;
}

std::string beforeUpdateBackupPath(std::string_view dataFolder,
                                   std::chrono::system_clock::time_point now) {
    // std::localtime shares one buffer across the process.
    static std::mutex mutex;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    {
        std::lock_guard lock(mutex);
        if (const std::tm* t = std::localtime(&seconds))
            local = *t;
    }
    return beforeUpdateBackupPath(dataFolder, local);
}

FirmwareUpdateResult FirmwareUpdateState::update(const FirmwareUpdateSteps& steps,
                                                 const std::string& backupPath) {
    FirmwareUpdateResult result;
    if (updaterPath_.empty() || !steps.isRunnableFile(updaterPath_)) {
        result.outcome = FirmwareUpdateOutcome::NoUpdater;
        return result;
    }
    // Without a keyboard no report can go out; no backup is made for it.
    if (!steps.keyboardConnected()) {
        result.outcome = FirmwareUpdateOutcome::BootModeFailed;
        return result;
    }
    // The update may leave the keyboard empty: its settings go to disk
    // first, and without that copy the keyboard is not handed over.
    if (!steps.saveBackup(backupPath)) {
        result.outcome = FirmwareUpdateOutcome::BackupFailed;
        return result;
    }
    result.backupFile = backupPath;
    if (steps.enterBootMode() != DeviceResult::Success) {
        result.outcome = FirmwareUpdateOutcome::BootModeFailed;
        return result;
    }
    const std::string updater = updaterPath_;
    updaterPath_.clear();
    result.outcome = steps.startUpdater(updater) ? FirmwareUpdateOutcome::Started
                                                 : FirmwareUpdateOutcome::StartFailed;
    return result;
}

}  // namespace keyloom::editors
