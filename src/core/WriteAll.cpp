// Writing the working store's key configuration to the keyboard: the macro
// area and the key matrices of the chosen profiles, as one bracketed transfer.

#include <vector>

#include "core/KeyloomCore.h"
#include "core/Prompts.h"
#include "device/ProtocolResult.h"
#include "model/StoreMacros.h"

namespace keyloom {

namespace {

constexpr PromptStyle kTopmost{window::MessageButtons::Ok, window::MessageIcon::Warning, true};

}  // namespace

bool KeyloomCore::writeAll(bool allProfiles) {
    WriteAllResult result;
    {
        auto working = working_.lock();
        result = writeAllLocked(working, allProfiles);
    }
    tellWriteResult(result);
    return result.written;
}

void KeyloomCore::tellWriteResult(const WriteAllResult& result) {
    if (result.macrosTooLong)
        showPrompt(port_, "EXTRA_MACRO_TOO_LONG", kTopmost);
    if (result.namesDropped)
        showPrompt(port_, "EXTRA_PROFILE_SPACE_TIGHT", kTopmost);
}

KeyloomCore::WriteAllResult KeyloomCore::writeAllLocked(const WorkingStore::Access& working,
                                                        bool allProfiles) {
    ConnectionValues& values = state_.connection;
    WriteAllResult result;
    if (!copyToDeviceStore(working, device_))
        return result;

    const MacroAreaPlan plan = planMacroArea(macroAreaSizes(device_), values.macroCapacity.load());
    if (plan.fit == MacroAreaFit::TooLong) {
        result.macrosTooLong = true;
        return result;
    }
    const std::vector<std::uint8_t> area = encodeMacroArea(device_, plan.withNames());
    if (area.size() != plan.size)
        return result;

    std::vector<int> profiles;
    if (allProfiles || values.writeAllProfiles.load()) {
        profiles = {0, 1, 2};
    } else {
        const int active = areas_.activeProfile();
        // Without a known profile the matrices could not follow the macro
        // area, whose macro numbers they refer to: write nothing.
        if (active < 0 || active >= kProfileCount)
            return result;
        profiles = {active};
    }

    const KeyMatrix defaults = defaultMatrix();
    std::vector<KeyMatrix> matrices;
    matrices.reserve(profiles.size());
    for (int profile : profiles)
        matrices.push_back(encodeKeyMatrix(device_, defaults, static_cast<std::size_t>(profile)));

    // A failed step ends the transfer: key matrices written after a lost
    // macro area would play the wrong macros.
    bool written = areas_.begin() == result::Success;
    bool areaWritten = false;
    if (written) {
        areaWritten = areas_.writeMacroArea(area) == result::Success;
        written = areaWritten;
        for (std::size_t i = 0; written && i < profiles.size(); ++i)
            written = areas_.writeKeyMatrix(matrices[i], profiles[i]) == result::Success;
        areas_.end();
    }

    result.written = written;
    result.namesDropped = areaWritten && !plan.withNames();
    // Kept after a failure, so that the retry writes every profile again.
    if (written)
        values.writeAllProfiles = false;
    return result;
}

}  // namespace keyloom
