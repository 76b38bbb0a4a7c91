// Writing the working store's key configuration to the keyboard: the macro
// area and the key matrices of the chosen profiles, as one bracketed transfer.

#include <vector>

#include "core/KeyloomCore.h"
#include "core/Prompts.h"
#include "device/ProtocolResult.h"
#include "model/StoreMacros.h"

namespace keyloom {

namespace {

// The text telling the user the keyboard was not written, and why.
std::string_view writeFailureKey(int code, bool connected) {
    if (!connected)
        return "KEYLOOM_WRITE_NOT_CONNECTED";
    if (code == result::NoReply)
        return "KEYLOOM_WRITE_NO_ANSWER";
    if (code == result::StatusFF || code == result::StatusFE)
        return "KEYLOOM_WRITE_REFUSED";
    return "KEYLOOM_WRITE_FAILED";
}

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
        showPrompt(window_.prompts, "EXTRA_MACRO_TOO_LONG", kTopmost);
    else if (!result.written)
        tellWriteFailure(result.failedCode);
    if (result.namesDropped)
        showPrompt(window_.prompts, "EXTRA_PROFILE_SPACE_TIGHT", kTopmost);
}

void KeyloomCore::tellWriteFailure(int code) {
    showPrompt(window_.prompts, writeFailureKey(code, link_.isConnected()), kTopmost);
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
        if (active < 0 || active >= kProfileCount) {
            result.failedCode = result::NoReply;  // the keyboard never told its profile
            return result;
        }
        profiles = {active};
    }

    const KeyMatrix defaults = defaultMatrix();
    std::vector<KeyMatrix> matrices;
    matrices.reserve(profiles.size());
    for (int profile : profiles)
        matrices.push_back(encodeKeyMatrix(device_, defaults, static_cast<std::size_t>(profile)));

    // A failed step ends the transfer: key matrices written after a lost
    // macro area would play the wrong macros.
    int code = areas_.begin();
    bool areaWritten = false;
    if (code == result::Success) {
        code = areas_.writeMacroArea(area);
        areaWritten = code == result::Success;
        for (std::size_t i = 0; code == result::Success && i < profiles.size(); ++i)
            code = areas_.writeKeyMatrix(matrices[i], profiles[i]);
        areas_.end();
    }
    const bool written = code == result::Success;

    result.written = written;
    result.failedCode = code;
    result.namesDropped = areaWritten && !plan.withNames();
    // Kept after a failure, so that the retry writes every profile again.
    if (written)
        values.writeAllProfiles = false;
    return result;
}

}  // namespace keyloom
