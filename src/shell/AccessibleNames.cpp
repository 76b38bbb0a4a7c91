#include "shell/AccessibleNames.h"

#include <array>

#include "platform/text/SafeFormat.h"
#include "shell/MainControls.h"

namespace keyloom::shell {

namespace {

struct NamedControl {
    int id;
    const char* key;
};

// Controls whose name is a text of their own. The title-bar buttons share
// their tooltip's text.
constexpr NamedControl kNames[] = {
    {control::kOk, "KEYLOOM_NAME_OK"},
    {control::kCancel, "KEYLOOM_NAME_CANCEL"},
    {control::kApply, "KEYLOOM_NAME_APPLY"},
    {control::kProfileName, "KEYLOOM_NAME_PROFILE_MANAGER"},
    {control::kMacro, "KEYLOOM_NAME_MACROS"},
    {control::kHelp, "MAIN_HELP_PROMPT"},
    {control::kMinimize, "MAIN_MINIMIZE_PROMPT"},
    {control::kClose, "MAIN_CLOSE_PROMPT"},
    {control::kMenu, "MAIN_MENU_PROMPT"},
    {control::kDefault, "KEYLOOM_NAME_DEFAULT"},
    {control::kSwitch, "KEYLOOM_NAME_SWITCH"},
    {control::kLockCaps, "KEYLOOM_NAME_LOCK_CAPS"},
    {control::kLockNum, "KEYLOOM_NAME_LOCK_NUM"},
    {control::kLockScroll, "KEYLOOM_NAME_LOCK_SCROLL"},
    {control::kLockAb, "KEYLOOM_NAME_LOCK_AB"},
    {control::kFlip0, "KEYLOOM_NAME_TOP_ROW"},
    {control::kFlip1, "KEYLOOM_NAME_FLIP"},
    {control::kFlip2, "KEYLOOM_NAME_FLIP"},
    {control::kVersion, "KEYLOOM_NAME_VERSION"},
    {control::kFn, "KEYLOOM_NAME_FN"},
};

constexpr const char* kLinkNames[3] = {"KEYLOOM_NAME_LINK", "KEYLOOM_NAME_LINK1",
                                       "KEYLOOM_NAME_LINK2"};
constexpr std::array<int, 4> kReportRates = {125, 250, 500, 1000};

}  // namespace

std::string accessibleName(int controlId, const NameLookup& text) {
    for (const NamedControl& named : kNames)
        if (named.id == controlId)
            return text(named.key);
    for (int i = 0; i < 4; ++i) {
        if (control::kLinkButtons[i] == controlId)
            return text(kLinkNames[linkAddressOf(i)]);
        if (control::kReportButtons[i] == controlId)
            return text::formatInt(text("KEYLOOM_NAME_REPORT_RATE"), kReportRates[i]);
    }
    for (int i = 0; i < control::kAltTopRowCount; ++i)
        if (control::kFirstAltTopRowKey + i == controlId)
            return text::formatInt(text("KEYLOOM_NAME_TOP_ROW_BUTTON"), i + 1);
    for (int p = 0; p < 3; ++p)
        if (control::kProfile1 + p == controlId)
            return text::formatInt(text("KEYLOOM_NAME_PROFILE"), p + 1);
    return {};
}

}  // namespace keyloom::shell
