#include "device/KeyboardQueue.h"

#include <utility>

#include "platform/sched/ThreadPriority.h"

namespace keyloom {

KeyboardQueue::KeyboardQueue(Mode mode) : mode_(mode) {
    if (mode_ == Mode::Background)
        thread_ = std::thread([this] {
            // Each exchange waits for the keyboard and then wants the
            // processor back at once, also while the window starts.
            platform::preferPromptWakeups();
            run();
        });
}

KeyboardQueue::~KeyboardQueue() {
    stop();
}

void KeyboardQueue::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable() && std::this_thread::get_id() != thread_.get_id())
        thread_.join();
}

bool KeyboardQueue::onQueueThread() const {
    const std::thread::id self = std::this_thread::get_id();
    if (mode_ == Mode::Synchronous) {
        std::lock_guard lock(mutex_);
        return busy_ && runner_ == self;
    }
    return self == thread_.get_id();
}

bool KeyboardQueue::stopping() const {
    std::lock_guard lock(mutex_);
    return stopping_;
}

std::size_t KeyboardQueue::queued() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void KeyboardQueue::submit(Job job, std::shared_ptr<const Coverage> coverage) {
    if (!job)
        return;
    if (mode_ == Mode::Synchronous) {
        // A nested job runs inside the outer one, which alone marks the
        // queue busy. (No lock is held while a job runs: a job may take the
        // lighting's lock, and a holder of that lock may submit.)
        bool outer = false;
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            outer = !busy_;
            if (outer) {
                busy_ = true;
                runner_ = std::this_thread::get_id();
            }
        }
        job();
        if (outer) {
            std::lock_guard lock(mutex_);
            busy_ = false;
            idle_.notify_all();
        }
        return;
    }
    if (onQueueThread()) {
        job();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        if (coverage) {
            // Only the jobs since the last barrier may go: replacing one
            // beyond it would move its bytes across unrelated work.
            auto it = queue_.end();
            while (it != queue_.begin()) {
                auto before = std::prev(it);
                if (!before->coverage)
                    break;
                if (coverage->covers(*before->coverage))
                    before = queue_.erase(before);
                it = before;
            }
        }
        queue_.push_back({std::move(job), std::move(coverage)});
    }
    wake_.notify_one();
}

bool KeyboardQueue::runAndWait(Job job) {
    if (mode_ == Mode::Synchronous || onQueueThread()) {
        if (stopping())
            return false;
        submit(std::move(job));
        return true;
    }
    auto state = std::make_shared<std::pair<std::mutex, bool>>();
    auto ran = std::make_shared<std::condition_variable>();
    submit([state, ran, job = std::move(job)] {
        job();
        std::lock_guard lock(state->first);
        state->second = true;
        ran->notify_all();
    });
    std::unique_lock lock(state->first);
    // A queue that stops still runs what it holds, so only a job refused
    // outright (submitted after the stop) is never run.
    for (;;) {
        if (ran->wait_for(lock, std::chrono::milliseconds(100), [&] { return state->second; }))
            return true;
        std::lock_guard queueLock(mutex_);
        if (stopping_ && queue_.empty() && !busy_)
            return state->second;
    }
}

bool KeyboardQueue::flush(std::chrono::milliseconds timeout) {
    if (onQueueThread())
        return true;  // the caller is the work; waiting would never end
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [&] { return queue_.empty() && !busy_; });
}

void KeyboardQueue::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            break;  // stopping with nothing left to run
        Job job = std::move(queue_.front().job);
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        job();
        lock.lock();
        busy_ = false;
        if (queue_.empty())
            idle_.notify_all();
    }
    idle_.notify_all();
}

}  // namespace keyloom
