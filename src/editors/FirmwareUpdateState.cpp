#include "editors/FirmwareUpdateState.h"

#include "storage/DatedBackup.h"
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
    return datedBackupPath(dataFolder, "before-update", t);
}

std::string beforeUpdateBackupPath(std::string_view dataFolder,
                                   std::chrono::system_clock::time_point now) {
    return datedBackupPath(dataFolder, "before-update", now);
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
