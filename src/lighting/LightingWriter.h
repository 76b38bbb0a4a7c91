#pragma once
// Sends lighting changes to the keyboard from one background thread, in the
// order they were made, so that a slow or silent keyboard never holds up the
// window. A change whose bytes are all rewritten by a newer change still
// waiting in the queue is dropped from the queue: the newer one goes last and
// the keyboard ends up with the same bytes, without the stale writes.
//
// A failed change is reported once through the failure callback (on the
// writer thread, with the failing result code); later failures stay quiet
// until a change succeeds again.
//
// In synchronous mode there is no thread: submit() sends at once on the
// caller's thread (keyloomctl, tests).

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "lighting/LightingChange.h"
#include "lighting/LightingTransport.h"

namespace keyloom {

class LightingWriter {
public:
    enum class Mode { Background, Synchronous };
    using FailureCallback = std::function<void(DeviceResult code)>;

    explicit LightingWriter(LightingTransport& transport, Mode mode = Mode::Background,
                            FailureCallback onFailure = {});
    // Sends what is still queued, so the last choice reaches the keyboard,
    // unless a change fails meanwhile (the rest is then dropped); joins.
    ~LightingWriter();
    LightingWriter(const LightingWriter&) = delete;
    LightingWriter& operator=(const LightingWriter&) = delete;

    // Queues (or, synchronously, sends) the change; an empty change is
    // ignored.
    void submit(LightingChange change);
    // Waits until every submitted change was sent; false on timeout.
    bool flush(std::chrono::milliseconds timeout = std::chrono::seconds(30));

    std::size_t queued() const;

private:
    void run();
    // True when the keyboard took the whole change.
    bool send(const LightingChange& change);

    LightingTransport& transport_;
    FailureCallback onFailure_;
    bool failureReported_ = false;  // touched only by the sending thread

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    struct Queued {
        LightingChange change;
        LightingChange::Footprint footprint;
    };
    std::deque<Queued> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: started once the members above exist
};

}  // namespace keyloom
