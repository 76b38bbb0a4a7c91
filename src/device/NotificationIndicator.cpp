#include "device/NotificationIndicator.h"

#include <system_error>

namespace keyloom {

NotificationIndicator::NotificationIndicator(window::TrayStatus& tray,
                                             NotificationIndicatorTiming timing)
    : tray_(tray), timing_(timing) {}

NotificationIndicator::~NotificationIndicator() {
    // Every queued change is made before the worker is told to stop.
    joinAll();
}

void NotificationIndicator::start(bool on) {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return pendingLocked() < kMaxWorkers; });
    if (!worker_.joinable()) {
        try {
            worker_ = std::jthread([this](std::stop_token stop) { run(stop); });
        } catch (const std::system_error&) {
            // No thread to be had: nothing is queued (the worker would be
            // running otherwise), so making the change here keeps the order.
            lock.unlock();
            show(on);
            return;
        }
    }
    queue_.push_back(on);
    queued_.notify_one();
}

void NotificationIndicator::run(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (queued_.wait(lock, stop, [&] { return !queue_.empty(); })) {
        const bool on = queue_.front();
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        show(on);
        lock.lock();
        busy_ = false;
        done_.notify_all();
    }
}

void NotificationIndicator::show(bool on) {
    if (on)
        tray_.set(window::TrayStatus::Mode::Indicator, window::icon::kIndicator);
    else
        tray_.set(window::TrayStatus::Mode::Status, 0);
    std::this_thread::sleep_for(timing_.hold);
}

void NotificationIndicator::joinAll() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return pendingLocked() == 0; });
}

std::size_t NotificationIndicator::workerCount() const {
    std::lock_guard lock(mutex_);
    return pendingLocked();
}

}  // namespace keyloom
