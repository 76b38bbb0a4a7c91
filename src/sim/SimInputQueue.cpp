#include "sim/SimInputQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace keyloom::sim {

SimInputQueue::SimInputQueue() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SimInputQueue::~SimInputQueue() {
    if (fd_ >= 0)
        ::close(fd_);
}

void SimInputQueue::signal() {
    if (signalled_)
        return;
    std::uint64_t one = 1;
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    signalled_ = true;
}

void SimInputQueue::clearSignal() {
    if (!signalled_ || gone_)
        return;
    std::uint64_t count = 0;
    while (::read(fd_, &count, sizeof count) < 0 && errno == EINTR) {
    }
    signalled_ = false;
}

void SimInputQueue::push(std::span<const std::uint8_t> report, SimClock::time_point due) {
    if (gone_ || count_ == kCapacity)
        return;
    Entry& entry = ring_[(head_ + count_) % kCapacity];
    entry.length = static_cast<std::uint8_t>(std::min(report.size(), entry.bytes.size()));
    std::copy_n(report.begin(), entry.length, entry.bytes.begin());
    entry.due = due;
    ++count_;
    signal();
}

void SimInputQueue::pop() {
    if (count_ == 0)
        return;
    head_ = (head_ + 1) % kCapacity;
    if (--count_ == 0)
        clearSignal();
}

void SimInputQueue::clear() {
    head_ = 0;
    count_ = 0;
    clearSignal();
}

void SimInputQueue::markGone() {
    gone_ = true;
    count_ = 0;
    signal();
}

}  // namespace keyloom::sim
