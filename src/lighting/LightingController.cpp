#include "lighting/LightingController.h"

#include <algorithm>
#include <utility>

#include "lighting/LightingOps.h"
#include "lighting/UserModeFile.h"
#include "storage/UserSettings.h"

namespace keyloom {

namespace {

namespace id {
constexpr int kBrightnessSlider = 1178;
constexpr int kSpeedSlider = 1179;
constexpr int kDirectionLeft = 1149;
constexpr int kDirectionRight = 1150;
constexpr int kMulticolour = 1156;
constexpr int kColourPicker = 1155;
constexpr int kReactionPicker = 1152;
constexpr int kFirstPreset = 1211;
constexpr int kFirstEffect17Choice = 1194;
constexpr int kSingleColourTool = 1164;
constexpr int kBaseColourTool = 1165;
constexpr int kSingleColourPicker = 1160;
constexpr int kBaseColourPicker = 1162;
}  // namespace id

bool validProfile(int profile) {
    return profile >= 0 && profile < static_cast<int>(ProfileRecord::kProfileCount);
}

}  // namespace

LightingController::LightingController(LightingTransport& transport, KeyboardQueue& queue,
                                       LightingPaths paths,
                                       LightingWriter::FailureCallback onWriteFailed)
    : paths_(std::move(paths)), writer_(transport, queue, std::move(onWriteFailed)) {}

LightingController::LightingController(LightingTransport& transport, LightingPaths paths,
                                       LightingWriter::Mode mode,
                                       LightingWriter::FailureCallback onWriteFailed)
    : paths_(std::move(paths)), writer_(transport, mode, std::move(onWriteFailed)) {}

void LightingController::recordsRead(const ParameterBlock& block, const ProfileRecords& records,
                                     bool recordsComplete) {
    block_ = block;
    effects_.fill(block);
    records_ = records;
    if (recordsComplete)
        decode();
}

void LightingController::setLightingProfile(int profile) {
    if (!validProfile(profile))
        return;
    profile_ = profile;
    decode();
}

void LightingController::decode() {
    decodeLightingState(records_[static_cast<std::size_t>(profile_)], state_);
}

std::string LightingController::userFile(int profile) const {
    return userModeFilePath(paths_.userModeFilePrefix, profile);
}

void LightingController::send(LightingChange change) {
    // The held record follows what is sent, so a later decode of it (a
    // profile switch back) shows the user's choice.
    for (const LightingWrite& write : change.writes) {
        if (write.area != LightingWrite::Area::ProfileRecord || !validProfile(write.profile))
            continue;
        auto& bytes = records_[static_cast<std::size_t>(write.profile)].bytes;
        for (std::size_t i = 0; i < write.bytes.size() && write.start + i < bytes.size(); ++i)
            bytes[write.start + i] = write.bytes[i];
    }
    writer_.submit(std::move(change));
}

void LightingController::loadUserMode(int profile, bool sendColours) {
    if (!validProfile(profile))
        return;
    perKey_.load(profile, readUserModeFile(userFile(profile)));
    if (sendColours)
        send(colourBlockChange(perKey_.mirror(), profile));
}

void LightingController::reseedUserModes(int activeProfile) {
    const std::string templateFile =
        userModeFilePath(paths_.userModeTemplatePrefix, kUserModeTemplateNumber);
    // A file that cannot be seeded keeps its colours; its load below shows
    // what it holds.
    for (int p = 0; p < kUserModeFileProfileCount; ++p)
        static_cast<void>(seedFromTemplate(templateFile, userFile(p)));
    for (int p = 0; p < kUserModeFileProfileCount; ++p)
        if (p != activeProfile)
            loadUserMode(p, false);
    if (validProfile(activeProfile)) {
        loadUserMode(activeProfile, false);
        setLightingProfile(activeProfile);
    }
}

void LightingController::resetUserMode() {
    const std::string templateFile =
        userModeFilePath(paths_.userModeTemplatePrefix, kUserModeTemplateNumber);
    // Without the copy the file keeps its colours, and so does the keyboard.
    switch (seedFromTemplate(templateFile, userFile(profile_))) {
        case SeedResult::Copied:
            loadUserMode(profile_, true);
            return;
        case SeedResult::TemplateUnreadable:
            noteFileFailure(UserFileFailure::Kind::TemplateUnreadable, templateFile);
            return;
        case SeedResult::NotWritten:
            noteFileFailure(UserFileFailure::Kind::NotSaved, userFile(profile_));
            return;
    }
}

void LightingController::noteFileFailure(UserFileFailure::Kind kind, std::string path) {
    if (!fileFailure_)
        fileFailure_ = UserFileFailure{kind, std::move(path)};
}

void LightingController::restoreDefaults() {
    selectEffectAt(effects_.positionOf(1));
    if (supportsPerKeyColours())
        resetUserMode();
    send(lighting::resetLighting(state_, profile_));
}

bool LightingController::reportRateWritten(int step) {
    if (step < 0 || step > ProfileRecord::kMaxReportRate)
        return false;
    state_.reportRate = static_cast<std::uint8_t>(step);
    records_[static_cast<std::size_t>(profile_)].bytes[ProfileRecord::kReportRate] =
        static_cast<std::uint8_t>(step);
    return true;
}

void LightingController::reloadLightingView() {
    view_ = readLightingView(paths_.settingsFile);
}

bool LightingController::setLightingView(bool on) {
    view_ = on;
    return writeLightingView(paths_.settingsFile, on);
}

bool LightingController::showsKeyColours() const {
    return view_ && state_.effect == ParameterBlock::kPerKeyColourEffect;
}

void LightingController::selectEffectAt(int position) {
    const std::uint8_t effect = effects_.effectAt(position);
    if (effect == 0)
        return;
    previewStarted_ = false;
    send(lighting::selectEffect(state_, profile_, effect));
}

void LightingController::sliderMoved(int controlId, int position) {
    if (controlId == id::kBrightnessSlider)
        send(lighting::moveBrightness(state_, profile_, position));
    else if (controlId == id::kSpeedSlider)
        send(lighting::moveSpeed(state_, profile_, position));
}

bool LightingController::controlClicked(int controlId) {
    if (controlId == id::kDirectionLeft || controlId == id::kDirectionRight) {
        send(lighting::setDirection(state_, profile_,
                                    controlId == id::kDirectionLeft ? lighting::kDirectionLeft
                                                                    : lighting::kDirectionRight));
        return true;
    }
    if (controlId == id::kMulticolour) {
        send(lighting::toggleColourful(state_, profile_));
        return true;
    }
    const int preset = controlId - id::kFirstPreset;
    if (preset >= 0 && preset < static_cast<int>(lighting::kPresetCount)) {
        send(lighting::pickPreset(state_, profile_, static_cast<std::size_t>(preset)));
        return true;
    }
    const int choice = controlId - id::kFirstEffect17Choice;
    if (choice >= 0 && choice < static_cast<int>(lighting::kEffect17ColourCount)) {
        send(lighting::chooseEffect17Colour(state_, profile_, static_cast<std::size_t>(choice)));
        return true;
    }
    if (controlId == id::kSingleColourTool || controlId == id::kBaseColourTool) {
        const Brush before = perKey_.brush();
        perKey_.setTool(controlId == id::kBaseColourTool ? BrushTool::BaseColour
                                                         : BrushTool::SingleColour);
        saveBrush(before);
        return true;
    }
    return false;
}

bool LightingController::colourPicked(int controlId, Rgb colour) {
    switch (controlId) {
        case id::kColourPicker:
        case id::kReactionPicker:
            send(lighting::pickColour(state_, profile_, colour, controlId == id::kReactionPicker));
            return true;
        case id::kBaseColourPicker:
            chooseBaseColour(colour);
            return true;
        case id::kSingleColourPicker: {
            const Brush before = perKey_.brush();
            perKey_.setSingleColour(colour);
            saveBrush(before);
            return true;
        }
        default:
            return false;
    }
}

void LightingController::saveBrush(const Brush& before) {
    if (keyloom::saveBrush(userFile(profile_), perKey_.currentMode(), perKey_.brush()))
        return;
    perKey_.setTool(before.tool);
    perKey_.setSingleColour(before.singleColour);
    noteFileFailure(UserFileFailure::Kind::NotSaved, userFile(profile_));
}

void LightingController::chooseBaseColour(Rgb colour) {
    if (colour == perKey_.brush().baseColour)
        return;
    // The file is saved before anything is sent: colours it could not take
    // would be lost at the next start while the keyboard showed them.
    const PerKeyColours before = perKey_;
    const std::vector<KeyEntry> changed = perKey_.setBaseColour(profile_, colour);
    if (!saveBrushAndKeys(userFile(profile_), perKey_.currentMode(), perKey_.brush(), changed)) {
        perKey_ = before;
        noteFileFailure(UserFileFailure::Kind::NotSaved, userFile(profile_));
        return;
    }
    send(colourBlockChange(perKey_.mirror(), profile_));
}

bool LightingController::paintKey(int controlId) {
    if (state_.effect != ParameterBlock::kPerKeyColourEffect ||
        !effects_.contains(ParameterBlock::kPerKeyColourEffect))
        return false;
    const PerKeyColours before = perKey_;
    auto painted = perKey_.paintKey(profile_, controlId);
    if (!painted)
        return false;
    const KeyEntry entry{painted->colourIndex, painted->paint};
    if (!saveKeys(userFile(profile_), perKey_.currentMode(), {&entry, 1})) {
        perKey_ = before;
        noteFileFailure(UserFileFailure::Kind::NotSaved, userFile(profile_));
        return false;
    }
    send(std::move(painted->change));
    return true;
}

}  // namespace keyloom
