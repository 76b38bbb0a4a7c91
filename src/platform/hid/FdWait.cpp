#include "platform/hid/FdWait.h"

#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <vector>

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

WaitResult waitForAnyDescriptor(std::span<pollfd> watched, CancelEvent& cancel,
                                const Deadline& deadline) {
    // The cancel event comes first. Transfers watch one descriptor, so the
    // usual case needs no allocation per report.
    std::array<pollfd, 4> local{};
    std::vector<pollfd> large;
    if (watched.size() + 1 > local.size())
        large.resize(watched.size() + 1);
    std::span<pollfd> fds =
        large.empty() ? std::span(local.data(), watched.size() + 1) : std::span(large);
    fds[0] = {cancel.fd(), POLLIN, 0};
    std::copy(watched.begin(), watched.end(), fds.begin() + 1);
    for (;;) {
        int n = ::poll(fds.data(), fds.size(), deadline.remainingMs());
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
        bool any = false;
        for (std::size_t i = 0; i < watched.size(); ++i) {
            watched[i].revents = fds[i + 1].revents;
            any = any || watched[i].revents != 0;
        }
        if (any)
            return WaitResult::Ready;
        if (fds[0].revents & (POLLERR | POLLNVAL))
            return WaitResult::Failed;
    }
}

WaitResult waitForDescriptor(int fd, short events, CancelEvent& cancel, const Deadline& deadline) {
    for (;;) {
        pollfd watched{fd, events, 0};
        WaitResult wait = waitForAnyDescriptor(std::span(&watched, 1), cancel, deadline);
        if (wait != WaitResult::Ready)
            return wait;
        if (watched.revents & events)
            return WaitResult::Ready;
        if (watched.revents & (POLLERR | POLLHUP | POLLNVAL))
            return WaitResult::Failed;
    }
}

}  // namespace keyloom::hid
