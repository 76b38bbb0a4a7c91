#include "core/AccessNotice.h"

#include "storage/Language.h"

namespace keyloom {

std::string accessNoticeText(const AccessDiagnosis& diagnosis) {
    std::string text = lookupText("KEYLOOM_NO_ACCESS");
    const std::vector<std::string> advice = accessAdvice(diagnosis);
    if (!advice.empty())
        text += "\n";
    for (const std::string& line : advice)
        text += "\n" + line;
    return text;
}

std::optional<std::string> accessNotice() {
    if (!anyNodeBlocked(scanKeyboardNodes()))
        return std::nullopt;
    const AccessDiagnosis diagnosis = diagnoseKeyboardAccess();
    // Fixed meanwhile (the rule was reloaded, the keyboard replugged).
    if (!anyNodeBlocked(diagnosis.scan))
        return std::nullopt;
    return accessNoticeText(diagnosis);
}

}  // namespace keyloom
