#pragma once
// The input reports waiting for one open handle, with an eventfd that a
// reader polls. Every member except fd() is used under the owning keyboard's
// mutex. Like hidraw, a full queue drops new reports.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace keyloom::sim {

using SimClock = std::chrono::steady_clock;
// Due time of a report that may be read at once.
inline constexpr SimClock::time_point kDueNow = SimClock::time_point::min();

enum class SimCollection : std::uint8_t { Keyboard, Consumer, Vendor };

class SimInputQueue {
public:
    static constexpr std::size_t kCapacity = 64;

    struct Entry {
        std::array<std::uint8_t, 64> bytes;
        std::uint8_t length;
        SimClock::time_point due;
    };

    SimInputQueue();
    ~SimInputQueue();
    SimInputQueue(const SimInputQueue&) = delete;
    SimInputQueue& operator=(const SimInputQueue&) = delete;

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    void push(std::span<const std::uint8_t> report, SimClock::time_point due);
    bool empty() const { return count_ == 0; }
    const Entry& front() const { return ring_[head_]; }
    void pop();
    void clear();

    // The interface this queue was opened on has left the bus.
    bool gone() const { return gone_; }
    void markGone();

    // Clears the eventfd while the head is not yet due; the reader then waits
    // for the due time itself and is woken by the next push.
    void clearSignal();

private:
    void signal();

    std::array<Entry, kCapacity> ring_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    bool signalled_ = false;
    bool gone_ = false;
    int fd_;
};

}  // namespace keyloom::sim
