#include "core/KeyboardWriter.h"

#include <algorithm>
#include <vector>

#include "core/Prompts.h"
#include "device/ProtocolResult.h"
#include "model/StoreMacros.h"

namespace keyloom {

namespace {

// The text telling the user the keyboard was not written, and why.
std::string_view writeFailureKey(DeviceResult code, bool connected) {
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

bool KeyboardWriter::writeAll(bool allProfiles) {
    Result result;
    {
        auto working = parts_.working.lock();
        result = writeLocked(working, allProfiles);
    }
    tell(result);
    return result.written;
}

void KeyboardWriter::tell(const Result& result) {
    if (result.macrosTooLong)
        showPrompt(parts_.window.prompts, "EXTRA_MACRO_TOO_LONG", kTopmost);
    else if (result.mismatch)
        showPrompt(parts_.window.prompts, "KEYLOOM_WRITE_MISMATCH", kTopmost);
    else if (!result.written)
        tellFailure(result.failedCode);
    if (result.namesDropped)
        showPrompt(parts_.window.prompts, "EXTRA_PROFILE_SPACE_TIGHT", kTopmost);
}

void KeyboardWriter::tellFailure(DeviceResult code) {
    showPrompt(parts_.window.prompts, writeFailureKey(code, parts_.link.isConnected()), kTopmost);
}

DeviceResult KeyboardWriter::readBack(std::span<const std::uint8_t> area,
                                      std::span<const KeyMatrix> matrices,
                                      std::span<const int> profiles, bool& mismatch) {
    KeyboardAreas& areas = parts_.areas;
    std::vector<std::uint8_t> heldArea(area.size());
    DeviceResult code = areas.readMacroArea(heldArea);
    if (code != result::Success)
        return code;
    if (!std::equal(area.begin(), area.end(), heldArea.begin()))
        mismatch = true;
    const KeyMatrixModel model = areas.matrixModel();
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        KeyMatrix held;
        code = areas.readKeyMatrix(held, profiles[i]);
        if (code != result::Success)
            return code;
        const auto sent = matrices[i].transferBytes(model);
        const auto got = held.transferBytes(model);
        if (!std::equal(sent.begin(), sent.end(), got.begin(), got.end()))
            mismatch = true;
    }
    return result::Success;
}

KeyboardWriter::Result KeyboardWriter::writeLocked(const WorkingStore::Access& working,
                                                   bool allProfiles) {
    ConnectionValues& values = parts_.state.connection;
    DeviceStore& device = parts_.device;
    KeyboardAreas& areas = parts_.areas;
    Result result;
    if (!copyToDeviceStore(working, device))
        return result;

    const MacroAreaPlan plan = planMacroArea(macroAreaSizes(device), values.macroCapacity.load());
    if (plan.fit == MacroAreaFit::TooLong) {
        result.macrosTooLong = true;
        return result;
    }
    const std::vector<std::uint8_t> area = encodeMacroArea(device, plan.withNames());
    if (area.size() != plan.size)
        return result;

    std::vector<int> profiles;
    if (allProfiles || values.writeAllProfiles.load()) {
        profiles = {0, 1, 2};
    } else {
        const int active = areas.activeProfile();
        // Without a known profile the matrices could not follow the macro
        // area, whose macro numbers they refer to: write nothing.
        if (active < 0 || active >= kProfileCount) {
            result.failedCode = result::NoReply;  // the keyboard never told its profile
            return result;
        }
        profiles = {active};
    }

    const KeyMatrix defaults = parts_.data.defaultMatrix();
    std::vector<KeyMatrix> matrices;
    matrices.reserve(profiles.size());
    for (int profile : profiles)
        matrices.push_back(encodeKeyMatrix(device, defaults, static_cast<std::size_t>(profile)));

    // A failed step ends the transfer: key matrices written after a lost
    // macro area would play the wrong macros.
    DeviceResult code = areas.begin();
    bool areaWritten = false;
    if (code == result::Success) {
        code = areas.writeMacroArea(area);
        areaWritten = code == result::Success;
        for (std::size_t i = 0; code == result::Success && i < profiles.size(); ++i)
            code = areas.writeKeyMatrix(matrices[i], profiles[i]);
        if (code == result::Success)
            code = readBack(area, matrices, profiles, result.mismatch);
        static_cast<void>(areas.end());  // the write's own result decides
    }
    const bool written = code == result::Success && !result.mismatch;

    result.written = written;
    result.failedCode = code;
    result.namesDropped = areaWritten && !plan.withNames();
    // Kept after a failure, so that the retry writes every profile again.
    if (written)
        values.writeAllProfiles = false;
    return result;
}

}  // namespace keyloom
