#pragma once
// Waits until a descriptor is ready for reading or writing, a cancel event is
// set, or a time limit runs out, with poll(). Used by the hidraw transfers and
// by the wait for hotplug announcements.

#include <poll.h>

#include <chrono>
#include <cstdint>
#include <span>

#include "platform/hid/CancelEvent.h"

namespace keyloom::hid {

// A point in time fixed at the start of a transfer, so that waits resumed
// after a dropped report or a signal still end on time.
class Deadline {
public:
    explicit Deadline(std::uint32_t timeoutMs);
    // Milliseconds left for poll(), rounded up; -1 without limit.
    int remainingMs() const;
    bool passed() const;

private:
    bool infinite_;
    std::chrono::steady_clock::time_point end_;
};

enum class WaitResult { Ready, TimedOut, Cancelled, Failed };

// Ready as soon as any watched descriptor has an event (its `revents` says
// which, errors included); the caller decides what each means. A set cancel
// event wins and is consumed; Failed when poll() itself fails.
WaitResult waitForAnyDescriptor(std::span<pollfd> watched, CancelEvent& cancel,
                                const Deadline& deadline);

// `events` is POLLIN or POLLOUT. A set cancel event wins over a ready
// descriptor and is consumed. Ready also when the descriptor reports an error
// or hang-up together with the event, so pending data is still read.
WaitResult waitForDescriptor(int fd, short events, CancelEvent& cancel, const Deadline& deadline);

}  // namespace keyloom::hid
