#pragma once
// Runs one piece of keyboard work at a time on a thread of its own, so that
// the window thread keeps painting and answering while an exchange with a
// slow or silent keyboard waits out its retries. When the work has ended,
// `done` runs on the thread this object lives on (the window thread).

#include <QObject>
#include <functional>
#include <thread>

namespace keyloom::shell {

class BackgroundTask : public QObject {
    Q_OBJECT

public:
    BackgroundTask() = default;
    ~BackgroundTask() override;
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // False (and nothing started) while an earlier piece of work runs.
    bool start(std::function<void()> work, std::function<void()> done = {});
    bool running() const { return running_; }
    // True on the thread that runs the work.
    bool onWorkThread() const;
    // Waits for the running work without running its `done` (shutdown).
    void wait();

private:
    void finish(unsigned generation);

    std::thread thread_;
    std::function<void()> done_;
    bool running_ = false;
    unsigned generation_ = 0;  // tells a late finish of waited-for work apart
};

}  // namespace keyloom::shell
