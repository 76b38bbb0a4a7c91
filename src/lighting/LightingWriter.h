#pragma once
// Sends lighting changes to the keyboard through the keyboard queue, in the
// order they were made, so that a slow or silent keyboard never holds up the
// window. A change whose bytes are all rewritten by a newer change still
// waiting in the queue is dropped from the queue: the newer one goes last and
// the keyboard ends up with the same bytes, without the stale writes.
//
// A change made by a job of the queue itself (the full read, Restore default)
// is held and sent by sendHeld(), which that job calls once it has let go of
// the lighting state: it then goes out in the job's own order.
//
// A failed change is reported once through the failure callback (on the
// queue's thread, with the failing result code); later failures stay quiet
// until a change succeeds again.

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "device/KeyboardQueue.h"
#include "lighting/LightingChange.h"
#include "lighting/LightingTransport.h"

namespace keyloom {

class LightingWriter {
public:
    // Background: a queue of the writer's own; Synchronous: sent at once on
    // the caller's thread (tests).
    enum class Mode { Background, Synchronous };
    using FailureCallback = std::function<void(DeviceResult code)>;

    LightingWriter(LightingTransport& transport, KeyboardQueue& queue,
                   FailureCallback onFailure = {});
    explicit LightingWriter(LightingTransport& transport, Mode mode = Mode::Background,
                            FailureCallback onFailure = {});
    // Sends what is still queued, so the last choice reaches the keyboard,
    // unless a change fails meanwhile (the rest is then dropped).
    ~LightingWriter();
    LightingWriter(const LightingWriter&) = delete;
    LightingWriter& operator=(const LightingWriter&) = delete;

    // Queues the change (held, on the queue's thread); an empty change is
    // ignored.
    void submit(LightingChange change);
    // Queue's thread: sends the held changes in order.
    void sendHeld();
    // Waits until every submitted change was sent; false on timeout.
    bool flush(std::chrono::milliseconds timeout = std::chrono::seconds(30));

    std::size_t queued() const { return queue_.queued(); }

private:
    // True when the keyboard took the whole change.
    bool send(const LightingChange& change);

    LightingTransport& transport_;
    FailureCallback onFailure_;
    std::unique_ptr<KeyboardQueue> ownQueue_;
    KeyboardQueue& queue_;
    // Touched only by the queue's thread.
    bool failureReported_ = false;
    bool abandoned_ = false;  // a change failed while the queue stops
    std::vector<LightingChange> held_;
};

}  // namespace keyloom
