#include "core/KeyCommands.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <utility>

#include "core/Prompts.h"
#include "core/RestoreBackup.h"
#include "core/UserFileNotice.h"
#include "device/ProtocolResult.h"
#include "model/KeyViewKeys.h"
#include "platform/text/SafeFormat.h"
#include "storage/Language.h"
#include "storage/MissingMacros.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileFileReason.h"

namespace keyloom {

namespace {

constexpr PromptStyle kWarning{window::MessageButtons::Ok, window::MessageIcon::Warning, false};
constexpr std::string_view kRestoreNotSavedKey = "KEYLOOM_RESTORE_NOT_SAVED";

}  // namespace

bool KeyCommands::apply() {
    parts_.window.view.busyIndicatorOn();
    bool applied = true;
    if (parts_.modified.isModified()) {
        // Edits made while this Apply writes stay marked as unapplied.
        const std::uint64_t revision = parts_.modified.revision();
        bool saved = false;
        KeyboardWriter::Result result;
        {
            auto working = parts_.working.lock();
            saved = slot_.save(working);
            result = writer_.writeLocked(working, false);
        }
        writer_.tell(result);
        // Either failure leaves Apply enabled, so the user can try again.
        applied = saved && result.written;
        if (applied)
            parts_.modified.clearIfUnchanged(revision);
    }
    parts_.window.view.busyIndicatorOff();
    return applied;
}

bool KeyCommands::restoreDefault() {
    if (!askYesNo(parts_.window.prompts, "MAIN_PROMPT_DEFAULT"))
        return false;
    const int active = parts_.areas.activeProfile();
    if (active < 0 || active >= kProfileCount)
        return false;
    {
        auto working = parts_.working.lock();
        auto block = working->image->block(static_cast<std::size_t>(active));
        // Both banks of the G keys: a second-bank action left behind would
        // stay on the keyboard although every key is said to be back.
        for (std::size_t j = 0; j < AssignmentImage::kExtraKeyEntryCount; ++j)
            block[AssignmentImage::kFirstExtraKeyEntry + j] = KeyAssignment{};
        for (const KeyViewKey& key : kKeyViewKeys)
            block[foldedScanCode(key.scanCode)] = KeyAssignment{};
    }
    parts_.window.view.redrawKeyView();
    parts_.modified.markEdited();
    // With the lighting view on, the lighting goes back to its defaults too:
    // its writes go out here, before Apply's.
    bool reset = false;
    std::optional<UserFileFailure> fileFailure;
    {
        auto lighting = parts_.lighting.lock();
        reset = lighting->lightingView();
        if (reset) {
            lighting->restoreDefaults();
            fileFailure = lighting->takeFileFailure();
        }
    }
    if (fileFailure)
        tellUserFileFailure(parts_.window.prompts, *fileFailure);
    if (reset) {
        parts_.window.lighting.lightingChanged();
        parts_.window.view.setReportRateButtons(parts_.lighting.reportRate());
    }
    return apply();
}

void KeyCommands::tellImportFailure(const std::string& path, const std::string& reason) {
    const std::string text = lookupText("MAIN_PROMPT_INPORT") + "\n\n" +
                             text::formatString(lookupText("KEYLOOM_IMPORT_FILE"), path) + "\n" +
                             text::formatString(lookupText("KEYLOOM_IMPORT_REASON"), reason);
    showFormattedPrompt(parts_.window.prompts, "MAIN_PROMPT_INPORT", text, kWarning);
}

void KeyCommands::tellBackupFailure() {
    const std::string folder = parts_.paths.dataFolder;
    showFormattedPrompt(parts_.window.prompts, kRestoreNotSavedKey,
                        text::formatString(lookupText(kRestoreNotSavedKey), folder), kWarning);
}

RestoreResult KeyCommands::restoreFromFile(const std::string& path, std::string* backupFile) {
    // One message for every file that is not taken: it names the file and
    // why, and says that nothing was changed.
    const ProfileFileCheck check = validateProfileFile(path);
    if (!check.valid()) {
        std::error_code error;
        tellImportFailure(path, lookupText(looksLikeProfileJson(path)
                                               ? "KEYLOOM_IMPORT_JSON_FORM"
                                               : importFailureReasonKey(
                                                     check, std::filesystem::exists(path, error))));
        return RestoreResult::InvalidFile;
    }
    // Keys that play a macro the file does not hold would play another one.
    if (StoreContents file; loadProfileFile(path, file) == FileResult::Ok) {
        std::string keys;
        for (const MissingMacroKey& key : keysPlayingMissingMacros(file))
            keys += (keys.empty() ? "" : "; ") + describeMissingMacroKey(key);
        if (!keys.empty()) {
            tellImportFailure(
                path, text::formatString(lookupText("KEYLOOM_IMPORT_MISSING_MACROS"), keys));
            return RestoreResult::InvalidFile;
        }
    }

    // The file is read before anything is replaced: one that changed or
    // vanished since the check leaves the store, the disk and the keyboard
    // as they are.
    StoreContents incoming;
    if (loadProfileFile(path, incoming) != FileResult::Ok) {
        tellImportFailure(path, lookupText("KEYLOOM_IMPORT_UNREADABLE"));
        return RestoreResult::LoadFailed;
    }

    KeyboardWriter::Result result;
    std::string backup;
    {
        auto working = parts_.working.lock();
        // What the restore replaces goes to disk first; without that copy
        // nothing is replaced.
        backup =
            saveRestoreBackup(*working, parts_.paths.dataFolder, std::chrono::system_clock::now());
        if (!backup.empty()) {
            *working = std::move(incoming);
            slot_.save(working);
            result = writer_.writeLocked(working, true);
        }
    }
    if (backup.empty()) {
        tellBackupFailure();
        return RestoreResult::BackupFailed;
    }
    if (backupFile)
        *backupFile = backup;
    writer_.tell(result);
    parts_.window.view.redrawKeyView();
    if (result.written) {
        parts_.modified.clear();
        return RestoreResult::Written;
    }
    // The keyboard does not hold the file's contents: Apply stays enabled
    // and its retry writes all three profiles again.
    parts_.state.connection.writeAllProfiles = true;
    parts_.modified.markEdited();
    return RestoreResult::NotWritten;
}

bool KeyCommands::backupToFile(const std::string& path) {
    return saveProfileFile(parts_.working, path) == FileResult::Ok;
}

DeviceResult KeyCommands::writeReportRate(int step) {
    if (step < 0 || step > ProfileRecord::kMaxReportRate)
        return result::NotWritten;
    const int profile = parts_.lighting.profile();
    const std::array<std::uint8_t, 1> value{static_cast<std::uint8_t>(step)};
    const auto offset =
        static_cast<std::uint16_t>(profile * ProfileRecord::kSize + ProfileRecord::kReportRate);
    KeyboardAreas& areas = parts_.areas;
    const DeviceResult begun = areas.begin();
    const DeviceResult code =
        begun == result::Success ? areas.writeProfileSettings(value, offset) : begun;
    static_cast<void>(areas.end());
    // The buttons show what the keyboard holds: the new step, or the old
    // one when the keyboard did not take it.
    if (code == result::Success)
        parts_.lighting->reportRateWritten(step);
    parts_.window.view.setReportRateButtons(parts_.lighting.reportRate());
    return code;
}

}  // namespace keyloom
