#include "storage/ProfileSwitch.h"

#include <string>
#include <utility>

#include "device/ProtocolResult.h"
#include "storage/Language.h"

namespace keyloom {

namespace {

window::MessageAnswer ask(window::WindowPort& port, std::string_view key,
                          window::MessageButtons buttons, window::MessageIcon icon) {
    window::MessageRequest request;
    request.key = std::string(key);
    request.text = lookupText(key);
    request.buttons = buttons;
    request.icon = icon;
    return port.showMessage(request);
}

}  // namespace

ProfileSwitcher::ProfileSwitcher(window::WindowPort& port, KeyboardAreas& areas,
                                 WorkingStore& working, ReloadSlotFile reloadSlotFile)
    : port_(port), areas_(areas), working_(working), reloadSlotFile_(std::move(reloadSlotFile)) {}

bool ProfileSwitcher::switchTo(int profile) {
    if (profile >= kProfileCount)
        profile = 0;
    if (port_.isKeyAssignmentDialogOpen()) {
        ask(port_, "PROFILE_SEELCT_PROMPT2", window::MessageButtons::Ok,
            window::MessageIcon::Information);
        return false;
    }

    const bool unapplied = port_.profileManagerHasUnappliedChanges() || port_.isModified();
    if (unapplied && !promptShowing_) {
        settleUnappliedChanges();
    } else if (port_.isProfileManagerOpen() && profile >= 0) {
        port_.profileManagerSelectRow(profile);
    }

    bool switched = true;
    if (profile >= 0)
        switched = areas_.setActiveProfile(profile) == result::Success;

    // The key view follows the (possibly reloaded) store and the new profile.
    port_.redrawKeyView();
    port_.profileMenuChanged();
    return switched;
}

void ProfileSwitcher::settleUnappliedChanges() {
    promptShowing_ = true;
    const window::MessageAnswer answer =
        ask(port_, "PROFILE_SELECT_PROMPT", window::MessageButtons::YesNo,
            window::MessageIcon::Question);
    if (answer == window::MessageAnswer::Yes) {
        port_.runApply();
    } else {
        port_.setModified(false);
        if (areas_.values().activeProfile.load() != ConnectionValues::kUnknownProfile) {
            auto working = working_.lock();
            reloadSlotFile_(working);
        }
    }
    promptShowing_ = false;
}

}  // namespace keyloom
