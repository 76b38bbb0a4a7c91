#pragma once
// The indicator workers: each indicator code the keyboard sends gets a
// short-lived thread that switches the tray icon to the indicator picture
// (142) or back to the connection icon. The workers change the icon one at a
// time and in the order the codes arrived, so an "on" quickly followed by an
// "off" always ends with the connection icon.
//
// The object owns its workers and joins them when destroyed, so no worker
// outlives the tray status it uses.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/window/TrayStatus.h"

namespace keyloom {

struct NotificationIndicatorTiming {
    // How often a worker looks whether it is its turn.
    std::chrono::milliseconds turnPoll{1};
    // How long a worker keeps its turn after changing the icon.
    std::chrono::milliseconds hold{1};
};

class NotificationIndicator {
public:
    // Workers alive at once; a burst beyond this waits for the oldest to end
    // rather than starting threads without bound.
    static constexpr std::size_t kMaxWorkers = 32;

    explicit NotificationIndicator(window::TrayStatus& tray,
                                   NotificationIndicatorTiming timing = {});
    ~NotificationIndicator();
    NotificationIndicator(const NotificationIndicator&) = delete;
    NotificationIndicator& operator=(const NotificationIndicator&) = delete;

    // Starts the worker of one indicator code: `on` shows icon 142, otherwise
    // the connection icon comes back.
    void start(bool on);
    // Waits until every worker started so far has ended.
    void joinAll();
    // Workers started and not yet joined (finished ones are joined lazily).
    std::size_t workerCount() const;

private:
    struct Worker {
        std::jthread thread;  // joins when destroyed
        std::shared_ptr<std::atomic<bool>> finished;
    };

    void work(std::uint64_t turn, bool on);
    void joinFinished();

    window::TrayStatus& tray_;
    NotificationIndicatorTiming timing_;
    // The busy flag as a turn counter: a worker may change the icon while
    // `serving_` equals the turn it drew, and passes the turn on when done.
    std::atomic<std::uint64_t> nextTurn_{0};
    std::atomic<std::uint64_t> serving_{0};

    mutable std::mutex workersMutex_;
    std::list<Worker> workers_;
};

}  // namespace keyloom
