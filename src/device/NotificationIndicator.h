#pragma once
// The indicator worker: each indicator code the keyboard sends queues one
// change of the tray icon, to the indicator picture (142) or back to the
// connection icon. One worker thread makes the changes one at a time, in the
// order the codes arrived, and keeps each for the hold time, so an "on"
// quickly followed by an "off" always ends with the connection icon.
//
// The object owns its worker and joins it when destroyed, after every queued
// change has been made, so the worker never outlives the tray status it uses.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <stop_token>
#include <thread>

#include "platform/window/TrayStatus.h"

namespace keyloom {

struct NotificationIndicatorTiming {
    // How long each change stays before the next one is made.
    std::chrono::milliseconds hold{1};
};

class NotificationIndicator {
public:
    // Changes pending at once; a burst beyond this waits for the worker to
    // catch up rather than queueing without bound.
    static constexpr std::size_t kMaxWorkers = 32;

    explicit NotificationIndicator(window::TrayStatus& tray,
                                   NotificationIndicatorTiming timing = {});
    ~NotificationIndicator();
    NotificationIndicator(const NotificationIndicator&) = delete;
    NotificationIndicator& operator=(const NotificationIndicator&) = delete;

    // Queues the change of one indicator code: `on` shows icon 142,
    // otherwise the connection icon comes back.
    void start(bool on);
    // Waits until every change queued so far has been made and held.
    void joinAll();
    // Changes queued or being held.
    std::size_t workerCount() const;

private:
    void run(std::stop_token stop);
    void show(bool on);
    std::size_t pendingLocked() const { return queue_.size() + (busy_ ? 1 : 0); }

    window::TrayStatus& tray_;
    NotificationIndicatorTiming timing_;

    mutable std::mutex mutex_;
    std::condition_variable_any queued_;  // the worker waits for changes
    std::condition_variable done_;        // callers wait for room or for the end
    std::deque<bool> queue_;
    bool busy_ = false;  // the worker is making or holding a change
    // Started with the first change; declared last so it is joined before
    // the members it uses go away.
    std::jthread worker_;
};

}  // namespace keyloom
