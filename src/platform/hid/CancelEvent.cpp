#include "platform/hid/CancelEvent.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace keyloom::hid {

CancelEvent::CancelEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CancelEvent::~CancelEvent() {
    if (fd_ >= 0)
        ::close(fd_);
}

void CancelEvent::set() {
    std::uint64_t one = 1;
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

bool CancelEvent::consume() {
    std::uint64_t count = 0;
    for (;;) {
        ssize_t n = ::read(fd_, &count, sizeof count);
        if (n == sizeof count)
            return count > 0;
        if (n < 0 && errno == EINTR)
            continue;
        return false;
    }
}

}  // namespace keyloom::hid
