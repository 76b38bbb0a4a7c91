#pragma once
// A main window made of the standard library, for the command-line tool and
// the tests: one thread (the one that builds the object, or adopts it later)
// plays the window thread and pumps a queue of messages and one-shot timers.
//
//   QueuedWindow window;                     // this thread is the window thread
//   window.setMessageHandler([&](const WindowMessage& m) { ... });
//   window.setTimerHandler([&](int id) { ... });
//   window.pumpUntil([&] { return done; }, std::chrono::seconds(5));
//
// A send from another thread waits until the pumping thread has run the
// handler; on the window thread it runs the handler at once. Message boxes
// are answered from a script (per language key, else a default answer: Ok for
// OK boxes, the preselected No for Yes/No boxes) and recorded, as are tray
// icon changes and the calls of every window hook.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/WindowPort.h"

namespace keyloom::window {

class QueuedWindow : public WindowPort {
public:
    using Clock = std::chrono::steady_clock;
    using MessageHandler = std::function<void(const WindowMessage&)>;
    using TimerHandler = std::function<void(int id)>;
    using CommandHandler = std::function<void()>;

    QueuedWindow();
    ~QueuedWindow() override;
    QueuedWindow(const QueuedWindow&) = delete;
    QueuedWindow& operator=(const QueuedWindow&) = delete;

    // Handlers run on the window thread. Set them before messages flow.
    void setMessageHandler(MessageHandler handler);
    void setTimerHandler(TimerHandler handler);
    // What runApply does (the main window's Apply command).
    void setApplyHandler(CommandHandler handler);

    // Makes the calling thread the window thread.
    void adoptCurrentThread();
    bool onWindowThread() const;

    // --- Window thread ---------------------------------------------------------
    // Runs queued messages and due timers until `done` returns true (checked
    // before waiting and after each message or timer) or `timeout` has
    // passed. True when `done` was reached.
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Runs the messages queued and the timers due now; returns how many ran.
    std::size_t pumpPending();

    // --- WindowPort ------------------------------------------------------------
    void sendMessage(const WindowMessage& msg) override;
    void postMessage(const WindowMessage& msg) override;
    void startTimer(int id, std::chrono::milliseconds delay) override;
    void killTimer(int id) override;
    MessageAnswer showMessage(const MessageRequest& request) override;
    void showTrayIcon(int iconId) override;
    void hideWindow() override;
    void stopMessages() override;

    bool isKeyAssignmentDialogOpen() override;
    bool isProfileManagerOpen() override;
    bool profileManagerHasUnappliedChanges() override;
    void profileManagerSelectRow(int profile) override;
    bool isModified() const override;
    void setModified(bool modified) override;
    void redrawKeyView() override;
    void setProfileButtons(int activeProfile) override;
    void keyToggleModeOff() override;
    void profileMenuChanged() override;
    void runApply() override;
    void busyIndicatorOn() override;
    void busyIndicatorOff() override;
    void reloadLightingViewSwitch() override;
    void rebuildLightingPanel() override;
    void lightingViewOff() override;
    void resetLightingIfViewOn() override;
    void loadUserModes(int profile, bool send) override;
    void reseedUserModes() override;
    void markKeyColourMarks() override;

    // --- Script and record (any thread) ------------------------------------------
    // Every later box with this language key gets `answer`.
    void answer(const std::string& key, MessageAnswer answer);
    // Answer of Yes/No boxes without a scripted answer (initially No).
    void setDefaultYesNoAnswer(MessageAnswer answer);
    void setKeyAssignmentDialogOpen(bool open);
    void setProfileManagerOpen(bool open);
    void setProfileManagerModified(bool modified);

    std::vector<MessageRequest> messagesShown() const;
    std::vector<std::string> messageKeysShown() const;
    std::vector<int> trayIcons() const;
    std::vector<WindowMessage> handledMessages() const;
    std::vector<int> firedTimers() const;
    // Hook calls in order, e.g. "setProfileButtons 1", "loadUserModes 0 send".
    std::vector<std::string> calls() const;
    // Which profile button shows selected (-1 before the first set).
    int selectedProfileButton() const;
    bool hidden() const;
    bool timerPending(int id) const;
    void clearRecords();

private:
    struct SendWait {
        bool finished = false;
    };
    struct Queued {
        WindowMessage message;
        std::shared_ptr<SendWait> wait;  // null for a post
    };

    // Runs one queued message or due timer; false when there was none.
    bool runOne(std::unique_lock<std::mutex>& lock);
    void deliver(const WindowMessage& msg);
    void record(std::string call);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread::id windowThread_;
    bool stopped_ = false;
    std::deque<Queued> queue_;
    std::map<int, Clock::time_point> timers_;

    MessageHandler messageHandler_;
    TimerHandler timerHandler_;
    CommandHandler applyHandler_;

    std::map<std::string, MessageAnswer> answers_;
    MessageAnswer defaultYesNo_ = MessageAnswer::No;
    bool keyDialogOpen_ = false;
    bool profileManagerOpen_ = false;
    bool profileManagerModified_ = false;
    bool modified_ = false;
    bool hidden_ = false;
    int selectedProfileButton_ = -1;

    std::vector<MessageRequest> messages_;
    std::vector<int> trayIcons_;
    std::vector<WindowMessage> handled_;
    std::vector<int> fired_;
    std::vector<std::string> calls_;
};

}  // namespace keyloom::window
