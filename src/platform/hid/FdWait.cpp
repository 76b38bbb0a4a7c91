#include "platform/hid/FdWait.h"

#include <poll.h>

#include <cerrno>
#include <climits>

#include "platform/hid/HidTypes.h"

namespace keyloom::hid {

Deadline::Deadline(std::uint32_t timeoutMs)
    : infinite_(timeoutMs == kInfinite),
      end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}

int Deadline::remainingMs() const {
    if (infinite_)
        return -1;
    auto left = end_ - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero())
        return 0;
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

bool Deadline::passed() const {
    return !infinite_ && remainingMs() == 0;
}

WaitResult waitForDescriptor(int fd, short events, CancelEvent& cancel, const Deadline& deadline) {
    for (;;) {
        pollfd fds[2] = {{cancel.fd(), POLLIN, 0}, {fd, events, 0}};
        int n = ::poll(fds, 2, deadline.remainingMs());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return WaitResult::Failed;
        }
        if (n == 0) {
            // poll() may wake a little early on long limits; wait out the rest.
            if (deadline.passed())
                return WaitResult::TimedOut;
            continue;
        }
        // Another waiter may have taken the signal first; then keep waiting.
        if ((fds[0].revents & POLLIN) && cancel.consume())
            return WaitResult::Cancelled;
        if (fds[1].revents & events)
            return WaitResult::Ready;
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL))
            return WaitResult::Failed;
        if (fds[0].revents & (POLLERR | POLLNVAL))
            return WaitResult::Failed;
    }
}

}  // namespace keyloom::hid
