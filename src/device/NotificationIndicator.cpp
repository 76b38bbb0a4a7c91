#include "device/NotificationIndicator.h"

#include <system_error>
#include <utility>

namespace keyloom {

NotificationIndicator::NotificationIndicator(window::TrayStatus& tray,
                                             NotificationIndicatorTiming timing)
    : tray_(tray), timing_(timing) {}

NotificationIndicator::~NotificationIndicator() {
    joinAll();
}

void NotificationIndicator::start(bool on) {
    joinFinished();
    {
        // Every waiting worker gets its turn in bounded time, so waiting for
        // the oldest one keeps a flood of codes from piling up threads.
        std::unique_lock lock(workersMutex_);
        while (workers_.size() >= kMaxWorkers) {
            Worker oldest = std::move(workers_.front());
            workers_.pop_front();
            lock.unlock();
            oldest.thread.join();
            lock.lock();
        }
    }

    const std::uint64_t turn = nextTurn_.fetch_add(1);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread;
    try {
        thread = std::jthread([this, turn, on, finished] {
            work(turn, on);
            finished->store(true);
        });
    } catch (const std::system_error&) {
        // No thread to be had: do the change here, or the turns after this
        // one would wait forever.
        work(turn, on);
        return;
    }
    std::lock_guard lock(workersMutex_);
    workers_.push_back({std::move(thread), std::move(finished)});
}

void NotificationIndicator::work(std::uint64_t turn, bool on) {
    while (serving_.load() != turn)
        std::this_thread::sleep_for(timing_.turnPoll);
    if (on)
        tray_.set(window::TrayStatus::Mode::Indicator, window::icon::kIndicator);
    else
        tray_.set(window::TrayStatus::Mode::Status, 0);
    std::this_thread::sleep_for(timing_.hold);
    serving_.fetch_add(1);
}

void NotificationIndicator::joinFinished() {
    std::list<Worker> done;
    {
        std::lock_guard lock(workersMutex_);
        for (auto it = workers_.begin(); it != workers_.end();) {
            auto next = std::next(it);
            if (it->finished->load())
                done.splice(done.end(), workers_, it);
            it = next;
        }
    }
    for (Worker& worker : done)
        worker.thread.join();
}

void NotificationIndicator::joinAll() {
    std::list<Worker> all;
    {
        std::lock_guard lock(workersMutex_);
        all.swap(workers_);
    }
    for (Worker& worker : all)
        worker.thread.join();
}

std::size_t NotificationIndicator::workerCount() const {
    std::lock_guard lock(workersMutex_);
    return workers_.size();
}

}  // namespace keyloom
