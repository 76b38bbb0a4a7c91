#include "core/KeyCommands.h"

#include <array>
#include <filesystem>

#include "core/Prompts.h"
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
        for (std::size_t j = 0; j < kGButtonCount; ++j)
            block[gButtonEntry(j)] = KeyAssignment{};
        for (const KeyViewKey& key : kKeyViewKeys)
            block[foldedScanCode(key.scanCode)] = KeyAssignment{};
    }
    parts_.window.view.redrawKeyView();
    parts_.modified.markEdited();
    // With the lighting view on, the lighting goes back to its defaults too:
    // its writes go out here, before Apply's.
    bool reset = false;
    {
        auto lighting = parts_.lighting.lock();
        reset = lighting->lightingView();
        if (reset)
            lighting->restoreDefaults();
    }
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

RestoreResult KeyCommands::restoreFromFile(const std::string& path) {
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

    KeyboardWriter::Result result;
    bool loaded = false;
    {
        auto working = parts_.working.lock();
        loaded = loadProfileFile(path, *working) == FileResult::Ok;
        if (loaded) {
            slot_.save(working);
            result = writer_.writeLocked(working, true);
        }
    }
    if (!loaded) {
        // The file changed or vanished since the check; the store keeps
        // what it held and nothing is written.
        tellImportFailure(path, lookupText("KEYLOOM_IMPORT_UNREADABLE"));
        return RestoreResult::LoadFailed;
    }
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
