#include "device/NotificationCodes.h"

namespace keyloom {

NotificationAction notificationActionOf(std::uint16_t code) {
    using namespace notification;
    // Checked in the keyboard's documented order: the ignored range first.
    if (code >= kRecognisedFirst && code <= kRecognisedLast)
        return NotificationAction::Recognised;
    if (code == kIndicatorOn)
        return NotificationAction::IndicatorOn;
    if (code == kIndicatorOff)
        return NotificationAction::IndicatorOff;
    if (code == kLightingRefresh)
        return NotificationAction::LightingRefresh;
    if (code == kProfileRefresh)
        return NotificationAction::ProfileRefresh;
    return NotificationAction::None;
}

std::string_view notificationActionText(NotificationAction action) {
    switch (action) {
        case NotificationAction::None:
            return "nothing";
        case NotificationAction::Recognised:
            return "recognised, ignored";
        case NotificationAction::IndicatorOn:
            return "indicator on (tray icon 142)";
        case NotificationAction::IndicatorOff:
            return "indicator off (connection icon)";
        case NotificationAction::LightingRefresh:
            return "lighting refresh (timer 1051)";
        case NotificationAction::ProfileRefresh:
            return "profile refresh (timer 1053)";
    }
    return "nothing";
}

}  // namespace keyloom
