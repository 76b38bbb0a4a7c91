#pragma once
// The codes the keyboard reports on its consumer-control collection when the
// user changes something on the keyboard itself, and what each one makes the
// application do.

#include <cstdint>
#include <string_view>

namespace keyloom {

// The collection the codes arrive on.
inline constexpr std::uint16_t kNotificationUsagePage = 0x000C;
inline constexpr std::uint16_t kNotificationUsage = 0x0001;

namespace notification {
inline constexpr std::uint16_t kLightingRefresh = 0x0401;
inline constexpr std::uint16_t kProfileRefresh = 0x0402;
inline constexpr std::uint16_t kRecognisedFirst = 0x1801;
inline constexpr std::uint16_t kRecognisedLast = 0x1804;
inline constexpr std::uint16_t kIndicatorOff = 0x1810;
inline constexpr std::uint16_t kIndicatorOn = 0x1811;
}  // namespace notification

enum class NotificationAction {
    None,             // unknown codes and 0 (a release)
    Recognised,       // 0x1801-0x1804: known, deliberately ignored
    IndicatorOn,      // tray icon 142
    IndicatorOff,     // tray icon back to the connection icon
    LightingRefresh,  // window timer 1051
    ProfileRefresh,   // window timer 1053
};

NotificationAction notificationActionOf(std::uint16_t code);

// A few words saying what the action does, for logs and `keyloomctl watch`.
std::string_view notificationActionText(NotificationAction action);

}  // namespace keyloom
