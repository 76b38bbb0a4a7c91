#include "platform/window/QueuedWindow.h"

#include <algorithm>
#include <utility>

namespace keyloom::window {

namespace {

constexpr std::chrono::milliseconds kRecheckInterval{2};

}  // namespace

QueuedWindow::QueuedWindow() : windowThread_(std::this_thread::get_id()) {}

QueuedWindow::~QueuedWindow() {
    stopMessages();
}

void QueuedWindow::setMessageHandler(MessageHandler handler) {
    std::lock_guard lock(mutex_);
    messageHandler_ = std::move(handler);
}

void QueuedWindow::setTimerHandler(TimerHandler handler) {
    std::lock_guard lock(mutex_);
    timerHandler_ = std::move(handler);
}

void QueuedWindow::adoptCurrentThread() {
    std::lock_guard lock(mutex_);
    windowThread_ = std::this_thread::get_id();
}

bool QueuedWindow::onWindowThread() const {
    std::lock_guard lock(mutex_);
    return windowThread_ == std::this_thread::get_id();
}

bool QueuedWindow::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        if (done())
            return true;
        std::unique_lock lock(mutex_);
        if (runOne(lock))
            continue;
        if (stopped_ || Clock::now() >= deadline)
            break;
        // `done` may depend on other threads, which do not wake this one:
        // look again after a short while even when nothing arrives.
        Clock::time_point until = std::min(deadline, Clock::now() + kRecheckInterval);
        for (const auto& [id, due] : timers_)
            until = std::min(until, due);
        wake_.wait_until(lock, until);
    }
    return done();
}

std::size_t QueuedWindow::pumpPending() {
    std::size_t ran = 0;
    std::unique_lock lock(mutex_);
    // Only what is queued or due now: work queued by the handlers themselves
    // runs too, timers started with a delay do not.
    while (runOne(lock))
        ++ran;
    return ran;
}

bool QueuedWindow::runOne(std::unique_lock<std::mutex>& lock) {
    if (stopped_)
        return false;
    if (!queue_.empty()) {
        Queued item = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        deliver(item.message);
        lock.lock();
        if (item.wait) {
            item.wait->finished = true;
            wake_.notify_all();
        }
        return true;
    }
    const Clock::time_point now = Clock::now();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second > now)
            continue;
        const int id = it->first;
        timers_.erase(it);
        TimerHandler handler = timerHandler_;
        lock.unlock();
        timerFired(id);
        if (handler)
            handler(id);
        lock.lock();
        return true;
    }
    return false;
}

void QueuedWindow::deliver(const WindowMessage& msg) {
    MessageHandler handler;
    {
        std::lock_guard lock(mutex_);
        handler = messageHandler_;
    }
    messageDelivered(msg);
    if (handler)
        handler(msg);
}

void QueuedWindow::sendMessage(const WindowMessage& msg) {
    std::unique_lock lock(mutex_);
    if (stopped_)
        return;
    if (windowThread_ == std::this_thread::get_id()) {
        lock.unlock();
        deliver(msg);
        return;
    }
    auto wait = std::make_shared<SendWait>();
    queue_.push_back({msg, wait});
    wake_.notify_all();
    wake_.wait(lock, [&] { return wait->finished || stopped_; });
}

void QueuedWindow::postMessage(const WindowMessage& msg) {
    std::lock_guard lock(mutex_);
    if (stopped_)
        return;
    queue_.push_back({msg, nullptr});
    wake_.notify_all();
}

void QueuedWindow::startTimer(int id, std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    if (stopped_)
        return;
    timers_[id] = Clock::now() + delay;
    wake_.notify_all();
}

void QueuedWindow::killTimer(int id) {
    std::lock_guard lock(mutex_);
    timers_.erase(id);
}

void QueuedWindow::stopMessages() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    queue_.clear();  // waiting senders see stopped_ and return
    timers_.clear();
    wake_.notify_all();
}

bool QueuedWindow::timerPending(int id) const {
    std::lock_guard lock(mutex_);
    return timers_.count(id) != 0;
}

}  // namespace keyloom::window
