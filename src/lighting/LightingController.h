#pragma once
// Everything the program holds for lighting, in one place: the lighting
// profile, the three lighting records and the decoded state of the lighting
// profile's record, the effect list, the per-key colours with the brush and
// the user modes, the lighting-view switch, and the writer that carries every
// change to the keyboard through the keyboard queue.
//
// Not locked itself: the core owns the one instance and guards it
// (LightingService). The failure callback runs on the queue's thread and
// must hand the failure over to the window.
//
// What the core calls when:
// - after it read the parameter block and the three records (full read,
//   lighting refresh): recordsRead();
// - when the lighting profile changes (profile buttons, a profile switch):
//   setLightingProfile(), then loadUserMode() as its sequence says;
// - at the full read, when effect 20 is supported: loadUserMode(p, true),
//   and after the records: markBaseGroup();
// - on the keyboard's profile notification with effect 20 supported:
//   reseedUserModes(active);
// - Restore default with the lighting view on: restoreDefaults().

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "lighting/EffectList.h"
#include "lighting/LightingControls.h"
#include "lighting/LightingWriter.h"
#include "lighting/PerKeyColours.h"
#include "model/ParameterBlock.h"
#include "model/ProfileRecord.h"

namespace keyloom {

struct LightingPaths {
    std::string userModeFilePrefix;      // data folder + "/UserDengColor_"
    std::string userModeTemplatePrefix;  // skin folder + "UserDengColor_"
    std::string settingsFile;            // "tzkb.ini"
};

// A user-mode file that an intent could not use. The files are the only
// store of the per-key colours, so the change was not made: nothing of it
// was sent and the held colours and brush are as before.
struct UserFileFailure {
    enum class Kind {
        NotSaved,            // `path`, the user file, could not be written
        TemplateUnreadable,  // `path`, the template, could not be read
    };
    Kind kind = Kind::NotSaved;
    std::string path;
};

class LightingController {
public:
    LightingController(LightingTransport& transport, KeyboardQueue& queue, LightingPaths paths,
                       LightingWriter::FailureCallback onWriteFailed = {});
    // With a queue of the writer's own (tests).
    LightingController(LightingTransport& transport, LightingPaths paths,
                       LightingWriter::Mode mode = LightingWriter::Mode::Background,
                       LightingWriter::FailureCallback onWriteFailed = {});

    // --- Called by the core ---------------------------------------------------
    // The parameter block and the records as read; `recordsComplete` false
    // when the record read failed part way (the state is then not decoded).
    void recordsRead(const ParameterBlock& block, const ProfileRecords& records,
                     bool recordsComplete);
    // A profile 0-2 becomes the lighting profile; its held record is decoded.
    void setLightingProfile(int profile);
    int lightingProfile() const { return profile_; }
    bool supportsPerKeyColours() const { return block_.supportsPerKeyColours(); }

    // Reads `profile`'s user-mode file into the mirror, its flags and the
    // brush; with `send`, also writes that profile's colour block.
    void loadUserMode(int profile, bool send);
    void markBaseGroup() { perKey_.markBaseGroup(); }
    // Copies the template over all three user files (each only when the
    // template could be read) and loads them without sending, the active
    // profile last so that the brush is that profile's.
    void reseedUserModes(int activeProfile);
    // The template over the lighting profile's file, then loaded and sent;
    // when the copy fails, nothing is loaded or sent (takeFileFailure).
    void resetUserMode();
    // Effect 1 selected, then the 35-byte default record; the user mode is
    // reset too when the keyboard has per-key colours.
    void restoreDefaults();
    // The report-rate step 0-3 the keyboard took for the lighting profile
    // (written by the core with the report-rate command's own exchange):
    // the held record and state follow; false for another step.
    bool reportRateWritten(int step);

    // --- Lighting-view switch ("DengCheck" of the settings file) --------------
    bool lightingView() const { return view_; }
    void reloadLightingView();
    // Stores the switch; false when the settings file could not be written
    // (the switch changes anyway).
    bool setLightingView(bool on);

    // --- The panel ------------------------------------------------------------
    const EffectList& effects() const { return effects_; }
    const LightingState& state() const { return state_; }
    const ProfileRecords& records() const { return records_; }
    // List position of the current effect, -1 when the list lacks it.
    int selectedPosition() const { return effects_.positionOf(state_.effect); }
    ShownControls shownControls() const { return keyloom::shownControls(state_.effect, view_); }
    // Whether the key view shows per-key colours (effect 20, view on).
    bool showsKeyColours() const;

    void selectEffectAt(int position);
    // Brightness 1178 or speed 1179; other ids are ignored.
    void sliderMoved(int controlId, int position);
    // Direction pictures, multicolour toggle, swatches, effect-17 choices and
    // the tool pictures; false for an id that is none of them.
    bool controlClicked(int controlId);
    // Pickers 1155 and 1152 (lighting colour), 1162 (base colour) and 1160
    // (single colour); false for another id.
    bool colourPicked(int controlId, Rgb colour);

    // Preview restart: cleared by every effect change.
    bool previewRestartPending() const { return !previewStarted_; }
    void previewRestarted() { previewStarted_ = true; }

    // --- Per-key colours ------------------------------------------------------
    // Paints the key when effect 20 is selected: saved to the user file,
    // then sent. False when nothing was painted (another effect, a key
    // without a colour position, or a file that could not be written).
    bool paintKey(int controlId);
    Rgb keyColour(int controlId) const { return perKey_.keyColour(profile_, controlId); }
    const PerKeyColours& perKey() const { return perKey_; }

    // The first user-mode file failure since the last call (then forgotten):
    // the caller tells the user.
    std::optional<UserFileFailure> takeFileFailure() { return std::exchange(fileFailure_, {}); }

    // Queue's thread: sends the changes made while a keyboard job held the
    // state (LightingService calls it once the job lets go).
    void sendHeld() { writer_.sendHeld(); }
    // Waits for the queued writes (keyloomctl, tests).
    bool flush(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
        return writer_.flush(timeout);
    }

private:
    void send(LightingChange change);
    std::string userFile(int profile) const;
    void decode();
    void chooseBaseColour(Rgb colour);
    // Saves the brush; when the file cannot take it, the brush goes back to
    // `before`.
    void saveBrush(const Brush& before);
    void noteFileFailure(UserFileFailure::Kind kind, std::string path);

    LightingPaths paths_;
    int profile_ = 0;
    ParameterBlock block_;
    ProfileRecords records_{};
    LightingState state_;
    EffectList effects_;
    PerKeyColours perKey_;
    bool view_ = false;
    bool previewStarted_ = false;
    std::optional<UserFileFailure> fileFailure_;
    LightingWriter writer_;  // last: its thread stops before the rest goes
};

}  // namespace keyloom
