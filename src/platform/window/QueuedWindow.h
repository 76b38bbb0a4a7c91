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
// handler; on the window thread it runs the handler at once. It has no
// picture: the tray icon and hiding are no-ops a subclass may watch.

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

#include "platform/window/WindowDispatch.h"

namespace keyloom::window {

class QueuedWindow : public WindowDispatch {
public:
    using Clock = std::chrono::steady_clock;
    using MessageHandler = std::function<void(const WindowMessage&)>;
    using TimerHandler = std::function<void(int id)>;

    QueuedWindow();
    ~QueuedWindow() override;
    QueuedWindow(const QueuedWindow&) = delete;
    QueuedWindow& operator=(const QueuedWindow&) = delete;

    // Handlers run on the window thread. Set them before messages flow.
    void setMessageHandler(MessageHandler handler);
    void setTimerHandler(TimerHandler handler);

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

    // Whether a timer with this id is pending.
    bool timerPending(int id) const;

    // --- WindowDispatch --------------------------------------------------------
    void sendMessage(const WindowMessage& msg) override;
    void postMessage(const WindowMessage& msg) override;
    void startTimer(int id, std::chrono::milliseconds delay) override;
    void killTimer(int id) override;
    void showTrayIcon(int /*iconId*/) override {}
    void hideWindow() override {}
    void stopMessages() override;

protected:
    // Called on the window thread before a message's handler or a timer's
    // handler runs.
    virtual void messageDelivered(const WindowMessage& /*msg*/) {}
    virtual void timerFired(int /*id*/) {}

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

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread::id windowThread_;
    bool stopped_ = false;
    std::deque<Queued> queue_;
    std::map<int, Clock::time_point> timers_;

    MessageHandler messageHandler_;
    TimerHandler timerHandler_;
};

}  // namespace keyloom::window
