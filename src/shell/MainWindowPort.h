#pragma once
// The core's view of the Qt main window: every role interface of CoreWindow
// on top of one CKeyloomDlg. Whatever thread calls, the work runs on the
// window thread: sends and message boxes wait for it (and are released when
// messages stop at shutdown), everything else is queued. The lighting panel
// plugs in here when it exists. Whatever it runs on the window thread is
// checked to run there (window/WindowThread.h).
//
// The port is made on the window thread, and may be made before the window
// (and before the toolkit): the core then starts at once, and what it sends
// waits in the port, in order, until the window attaches.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "core/window/CoreWindow.h"

namespace keyloom::shell {

class CKeyloomDlg;

class MainWindowPort final : public window::WindowDispatch,
                             public window::Prompter,
                             public window::MainView,
                             public window::EditorWindows,
                             public window::LightingView {
public:
    // Marks the calling thread as the window thread.
    MainWindowPort();
    MainWindowPort(const MainWindowPort&) = delete;
    MainWindowPort& operator=(const MainWindowPort&) = delete;

    // Window thread, once, as the window is built: what waited for the
    // window is queued to it, in the order it was sent.
    void attach(CKeyloomDlg& dialog);

    window::CoreWindow coreWindow() { return window::CoreWindow::of(*this); }

    // Window thread: where the lighting panel answers; unset (the default),
    // lighting changes only reach the main view.
    void setLightingView(window::LightingView* view);

    // Answers message boxes before they are shown (any thread); nothing
    // from it shows the box as usual.
    using PromptFilter =
        std::function<std::optional<window::MessageAnswer>(const window::MessageRequest&)>;
    void setPromptFilter(PromptFilter filter) {
        std::lock_guard lock(filterMutex_);
        promptFilter_ = std::move(filter);
    }

    // Window thread: called after each piece of work the core sent to the
    // window has run, so that a watcher of the core's state looks again only
    // when something happened instead of polling. Empty: none.
    void setChangeListener(std::function<void()> listener) {
        changeListener_ = std::move(listener);
    }

    bool isWindowThread() const;
    // Runs `work` on the window thread and waits for it; false when messages
    // stopped before it ran.
    bool blockingCall(std::function<void()> work);
    // Runs `work` now on the window thread, else queues it there; dropped
    // once messages have stopped.
    void runOnWindowThread(std::function<void()> work);
    bool stopped() const { return stopped_.load(); }

    // --- WindowDispatch -----------------------------------------------------
    void sendMessage(const window::WindowMessage& msg) override;
    void postMessage(const window::WindowMessage& msg) override;
    void startTimer(int id, std::chrono::milliseconds delay) override;
    void killTimer(int id) override;
    void showTrayIcon(int iconId) override;
    void hideWindow() override;
    void stopMessages() override;

    // --- Prompter -----------------------------------------------------------
    window::MessageAnswer showMessage(const window::MessageRequest& request) override;

    // --- MainView -----------------------------------------------------------
    void modifiedChanged(bool modified) override;
    void redrawKeyView() override;
    void setProfileButtons(int activeProfile) override;
    void setReportRateButtons(int step) override;
    void keyToggleModeOff() override;
    void profileMenuChanged() override;
    void busyIndicatorOn() override;
    void busyIndicatorOff() override;

    // --- EditorWindows -------------------------------------------------------
    void profileManagerSelectRow(int profile) override;

    // --- LightingView -------------------------------------------------------
    void lightingChanged() override;

private:
    void onLightingView(std::function<void(window::LightingView&)> work);
    // Queues `job` to the window thread, or keeps it until the window attaches.
    void queueToWindow(std::function<void()> job);

    const std::thread::id windowThread_;
    // Set once, by attach(), under attachMutex_; read under it, or on the
    // window thread.
    CKeyloomDlg* dialog_ = nullptr;
    std::mutex attachMutex_;
    std::vector<std::function<void()>> early_;  // under attachMutex_
    std::atomic<bool> stopped_{false};
    // Senders from other threads wait here until their call ran or messages stop.
    std::mutex callMutex_;
    std::condition_variable callDone_;
    // Tells the change listener (window thread).
    void told() {
        if (changeListener_)
            changeListener_();
    }

    window::LightingView* lighting_ = nullptr;
    std::function<void()> changeListener_;
    std::mutex filterMutex_;
    PromptFilter promptFilter_;
};

}  // namespace keyloom::shell
