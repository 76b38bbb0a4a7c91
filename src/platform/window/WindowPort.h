#pragma once
// The one boundary between the core and the main window. Threads other than
// the window thread reach the window only through this interface: they send
// messages (wait until the window thread has handled them), post messages
// (don't wait), start one-shot window timers, and ask the user through
// message boxes. The window thread also uses it to ask the window about its
// state (open dialogs, the modified flag) and to have it redraw.
//
// The Qt main window implements it; QueuedWindow (QueuedWindow.h) implements
// it with the standard library for the command-line tool and the tests.
//
// Everything marked "window thread" must only be called there; the others may
// be called from any thread. The core never calls the port while it holds a
// store lock, so the window may lock the stores in any hook. Hooks of windows
// not built yet have no-op defaults.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

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

enum class MessageButtons { Ok, YesNo };  // Yes/No always preselects No
enum class MessageIcon { None, Information, Warning, Question };
enum class MessageCaption { ApplicationTitle, Empty };
enum class MessageAnswer { Ok, Yes, No };

// A message box. `text` is already looked up and formatted; `key` is the
// language key it came from, kept for logs and tests.
struct MessageRequest {
    std::string key;
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageCaption caption = MessageCaption::ApplicationTitle;
    bool topmost = false;
    bool ownedByWindow = true;  // false: no owner (the OPEN path's prompt)
};

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // --- Any thread -------------------------------------------------------
    // Runs the window's handler of `msg` on the window thread and returns when
    // it is done; called on the window thread it runs the handler directly.
    virtual void sendMessage(const WindowMessage& msg) = 0;
    // Queues `msg` for the window thread and returns at once.
    virtual void postMessage(const WindowMessage& msg) = 0;
    // One-shot timer: fires once on the window thread after `delay`. A timer
    // already pending with the same id is replaced, so a burst gives one run.
    virtual void startTimer(int id, std::chrono::milliseconds delay) = 0;
    // Cancels a pending timer with this id (no-op when none is pending).
    virtual void killTimer(int id) = 0;
    // Shows a message box and waits for the answer (Ok for an OK box).
    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;
    // Replaces the picture of the tray icon (128, 141, 142). The remembered
    // status icon logic is TrayStatus's, not the window's.
    virtual void showTrayIcon(int iconId) = 0;
    // Hides the main window (it stays in the tray).
    virtual void hideWindow() = 0;
    // Shutdown: the window thread handles no more messages. Sends waiting
    // now and later return without running, so threads blocked in a send can
    // be joined; posts and timers are dropped.
    virtual void stopMessages() = 0;

    // --- Window thread: questions and commands -----------------------------
    virtual bool isKeyAssignmentDialogOpen() { return false; }
    virtual bool isProfileManagerOpen() { return false; }
    virtual bool profileManagerHasUnappliedChanges() { return false; }
    // Ticks row `profile` of the open profile manager and marks it as having
    // no unapplied changes.
    virtual void profileManagerSelectRow(int /*profile*/) {}
    // The modified flag, i.e. the enabled state of Apply.
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    // Redraws key faces and rebuilds key tooltips from the working store.
    virtual void redrawKeyView() {}
    // Shows button `activeProfile` (0-2) selected, the others not; other
    // values leave the buttons as they are.
    virtual void setProfileButtons(int /*activeProfile*/) {}
    // Switches key-toggle mode off and sets the switch text.
    virtual void keyToggleModeOff() {}
    // The profile menu's items or check mark changed: rebuild it and the
    // profile label from the core's menu model.
    virtual void profileMenuChanged() {}
    // The main window's Apply command, as if the button had been pressed.
    virtual void runApply() {}
    // Busy indicator around Apply's keyboard write.
    virtual void busyIndicatorOn() {}
    virtual void busyIndicatorOff() {}

    // --- Window thread: lighting and per-key colour hooks ------------------
    // Re-reads the lighting-view switch from the per-user settings file.
    virtual void reloadLightingViewSwitch() {}
    virtual void rebuildLightingPanel() {}
    // Turns the lighting view off when it is on.
    virtual void lightingViewOff() {}
    // Restore default while the lighting view is on: the lighting of the
    // lighting profile back to its defaults.
    virtual void resetLightingIfViewOn() {}
    // Fills the user-mode list of `profile` and loads its current user mode,
    // sending its key colours to the keyboard when `send` is set.
    virtual void loadUserModes(int /*profile*/, bool /*send*/) {}
    // Seeds the three profiles' user-mode files from the template and
    // reloads them without sending.
    virtual void reseedUserModes() {}
    // Marks in the key view which keys hold the paint colour.
    virtual void markKeyColourMarks() {}
};

}  // namespace keyloom::window
