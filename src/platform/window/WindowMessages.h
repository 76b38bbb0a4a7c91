#pragma once
// The window-system vocabulary shared by every thread that reaches the main
// window: message numbers with their four-character words, window timer ids
// and tray icon ids.

#include <cstdint>

namespace keyloom::window {

// Message numbers of the main window.
namespace message {
inline constexpr std::uint32_t kOpen = 0x5350;
inline constexpr std::uint32_t kKill = 0x4D4B;
inline constexpr std::uint32_t kInit = 0x4D4E;
inline constexpr std::uint32_t kLanguage = 0x5041;
inline constexpr std::uint32_t kReadProfile = 0x5452;
inline constexpr std::uint32_t kDeviceGone = 0x4753;
inline constexpr std::uint32_t kLightingSlider = 0x28D1;
}  // namespace message

// Four-character words carried as the first parameter (big-endian reading of
// the characters).
namespace word {
inline constexpr std::uint32_t kOpen = 0x4F50454E;      // "OPEN"
inline constexpr std::uint32_t kKill = 0x4C4C494B;      // "KILL"
inline constexpr std::uint32_t kInit = 0x494E4954;      // "INIT"
inline constexpr std::uint32_t kLanguage = 0x4C414E47;  // "LANG"
inline constexpr std::uint32_t kProfile = 0x50524F46;   // "PROF"
}  // namespace word

// Window timer ids.
namespace timer {
inline constexpr int kBusyIndicator = 1050;    // 50 ms frames while Apply writes
inline constexpr int kLightingRefresh = 1051;  // re-read the lighting state
inline constexpr int kStartup = 1052;          // 100 ms after initialisation
inline constexpr int kProfileRefresh = 1053;   // keyboard changed its profile
}  // namespace timer

// Tray icon ids.
namespace icon {
inline constexpr int kDisconnected = 128;  // also the start-up icon
inline constexpr int kConnected = 141;
inline constexpr int kIndicator = 142;
}  // namespace icon

struct WindowMessage {
    std::uint32_t message = 0;
    std::uint32_t word = 0;     // first parameter
    std::int64_t argument = 0;  // second parameter (the language index of LANG)

    friend bool operator==(const WindowMessage&, const WindowMessage&) = default;
};

inline constexpr WindowMessage kOpenMessage{message::kOpen, word::kOpen, 0};
inline constexpr WindowMessage kKillMessage{message::kKill, word::kKill, 0};
inline constexpr WindowMessage kInitMessage{message::kInit, word::kInit, 0};
inline constexpr WindowMessage kReadProfileMessage{message::kReadProfile, word::kProfile, 0};
inline constexpr WindowMessage kDeviceGoneMessage{message::kDeviceGone, 0, 0};
inline constexpr WindowMessage languageMessage(int languageIndex) {
    return {message::kLanguage, word::kLanguage, languageIndex};
}

}  // namespace keyloom::window
