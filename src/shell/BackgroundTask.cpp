#include "shell/BackgroundTask.h"

#include <QMetaObject>

namespace keyloom::shell {

BackgroundTask::~BackgroundTask() {
    wait();
}

bool BackgroundTask::start(std::function<void()> work, std::function<void()> done) {
    if (running_)
        return false;
    running_ = true;
    done_ = std::move(done);
    const unsigned generation = ++generation_;
    thread_ = std::thread([this, generation, work = std::move(work)] {
        work();
        // Queued: `finish` joins this thread, which it cannot do from inside it.
        QMetaObject::invokeMethod(
            this, [this, generation] { finish(generation); }, Qt::QueuedConnection);
    });
    return true;
}

bool BackgroundTask::onWorkThread() const {
    return thread_.joinable() && thread_.get_id() == std::this_thread::get_id();
}

void BackgroundTask::finish(unsigned generation) {
    if (generation != generation_ || !thread_.joinable())
        return;  // already waited for by shutdown
    thread_.join();
    running_ = false;
    if (auto done = std::move(done_)) {
        done_ = nullptr;
        done();
    }
}

void BackgroundTask::wait() {
    if (thread_.joinable())
        thread_.join();
    running_ = false;
    done_ = nullptr;
}

}  // namespace keyloom::shell
