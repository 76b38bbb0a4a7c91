#pragma once
// The one ordered queue for keyboard work. Every transfer with the keyboard
// (Apply, lighting changes, the full read, profile switches, restore,
// firmware mode) runs as a job on one thread, in the order it was asked for,
// so that no group of writes between a begin and an end ever interleaves
// with another.
//
// A job may carry a coverage: a newer job replaces the queued jobs just
// before it (back to the first one without a coverage) whose bytes it
// rewrites, so a burst of slider moves sends only the last position. A job
// without a coverage is a barrier: nothing is replaced across it.
//
// A job submitted from the queue's own thread (a job asking for more work)
// runs at once, inside the job that asked, which keeps a sequence's order.
// In synchronous mode there is no thread: every job runs at once on the
// caller's thread (keyloomctl, tests), and jobs of two threads are not kept
// apart.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace keyloom {

class KeyboardQueue {
public:
    enum class Mode { Background, Synchronous };
    using Job = std::function<void()>;

    // What a job writes, to tell whether a newer job makes it pointless.
    class Coverage {
    public:
        virtual ~Coverage() = default;
        // True when every byte `older` writes is written here too.
        virtual bool covers(const Coverage& older) const = 0;
    };

    explicit KeyboardQueue(Mode mode = Mode::Background);
    // Runs what is still queued, then joins.
    ~KeyboardQueue();
    KeyboardQueue(const KeyboardQueue&) = delete;
    KeyboardQueue& operator=(const KeyboardQueue&) = delete;

    void submit(Job job, std::shared_ptr<const Coverage> coverage = {});
    // Submits the job and waits until it ran; false when the queue stopped
    // before it could run (it is then dropped).
    bool runAndWait(Job job);
    // Waits until every job submitted so far ran; false on timeout.
    bool flush(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Stops taking jobs, runs what is queued and joins; once. Jobs
    // submitted afterwards are dropped.
    void stop();

    bool onQueueThread() const;
    bool stopping() const;
    std::size_t queued() const;

private:
    struct Entry {
        Job job;
        std::shared_ptr<const Coverage> coverage;
    };
    void run();

    const Mode mode_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Entry> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread::id runner_;  // the thread running a job in synchronous mode
    std::thread thread_;      // last: started once the members above exist
};

}  // namespace keyloom
