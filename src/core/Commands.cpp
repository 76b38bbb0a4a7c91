// The main window's commands that change the keyboard's key configuration
// or the report rate: Apply, Restore default, restore from and back up to a
// profile file.

#include <array>

#include "core/KeyloomCore.h"
#include "core/Prompts.h"
#include "device/ProtocolResult.h"
#include "model/KeyViewKeys.h"
#include "storage/ProfileFile.h"

namespace keyloom {

bool KeyloomCore::apply() {
    window_.view.busyIndicatorOn();
    bool applied = true;
    if (modified_.isModified()) {
        // Edits made while this Apply writes stay marked as unapplied.
        const std::uint64_t revision = modified_.revision();
        bool saved = false;
        WriteAllResult result;
        {
            auto working = working_.lock();
            saved = saveToSlotFile(working);
            result = writeAllLocked(working, false);
        }
        tellWriteResult(result);
        // Either failure leaves Apply enabled, so the user can try again.
        applied = saved && result.written;
        if (applied)
            modified_.clearIfUnchanged(revision);
    }
    window_.view.busyIndicatorOff();
    return applied;
}

bool KeyloomCore::restoreDefault() {
    if (!askYesNo(window_.prompts, "MAIN_PROMPT_DEFAULT"))
        return false;
    const int active = areas_.activeProfile();
    if (active < 0 || active >= kProfileCount)
        return false;
    {
        auto working = working_.lock();
        auto block = working->image->block(static_cast<std::size_t>(active));
        for (std::size_t j = 0; j < kGButtonCount; ++j)
            block[gButtonEntry(j)] = KeyAssignment{};
        for (const KeyViewKey& key : kKeyViewKeys)
            block[foldedScanCode(key.scanCode)] = KeyAssignment{};
    }
    window_.view.redrawKeyView();
    modified_.markEdited();
    window_.lighting.resetLightingIfViewOn();
    return apply();
}

RestoreResult KeyloomCore::restoreFromFile(const std::string& path) {
    const ProfileFileCheck check = validateProfileFile(path);
    if (!check.message.empty())
        showFormattedPrompt(window_.prompts, kProfileFormatErrorKey, check.message);
    if (!check.valid()) {
        showPrompt(window_.prompts, "MAIN_PROMPT_INPORT");
        return RestoreResult::InvalidFile;
    }

    WriteAllResult result;
    bool loaded = false;
    {
        auto working = working_.lock();
        loaded = loadProfileFile(path, *working) == 1;
        if (loaded) {
            saveToSlotFile(working);
            result = writeAllLocked(working, true);
        }
    }
    if (!loaded) {
        // The file changed or vanished since the check; the store keeps
        // what it held and nothing is written.
        showPrompt(window_.prompts, "MAIN_PROMPT_INPORT");
        return RestoreResult::LoadFailed;
    }
    tellWriteResult(result);
    window_.view.redrawKeyView();
    if (result.written) {
        modified_.clear();
        return RestoreResult::Written;
    }
    // The keyboard does not hold the file's contents: Apply stays enabled
    // and its retry writes all three profiles again.
    state_.connection.writeAllProfiles = true;
    modified_.markEdited();
    return RestoreResult::NotWritten;
}

bool KeyloomCore::backupToFile(const std::string& path) {
    return saveProfileFile(working_, path) == 1;
}

int KeyloomCore::writeReportRate(int step) {
    if (step < 0 || step > ProfileRecord::kMaxReportRate)
        return result::NotWritten;
    const int profile = lightingProfile();
    {
        std::lock_guard lock(dataMutex_);
        lighting_.reportRate = static_cast<std::uint8_t>(step);
        records_[static_cast<std::size_t>(profile)].bytes[ProfileRecord::kReportRate] =
            static_cast<std::uint8_t>(step);
    }
    const std::array<std::uint8_t, 1> value{static_cast<std::uint8_t>(step)};
    const auto offset =
        static_cast<std::uint16_t>(profile * ProfileRecord::kSize + ProfileRecord::kReportRate);
    const int begun = areas_.begin();
    const int code = begun == result::Success ? areas_.writeProfileSettings(value, offset) : begun;
    areas_.end();
    return code;
}

}  // namespace keyloom
