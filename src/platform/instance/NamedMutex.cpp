#include "platform/instance/NamedMutex.h"

#include "platform/instance/ProcessLookup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <string_view>
#include <utility>

namespace keyloom::instance {

namespace {

// Long enough for any pid and its newline; more means the file is not ours.
constexpr std::size_t kMaxStoredBytes = 24;

bool flockRetrying(int fd, int operation) {
    for (;;) {
        if (::flock(fd, operation) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

void storePid(int fd) {
    std::string text = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0)
        return;
    // A failed write leaves an empty file: later starts then fall back to
    // looking the instance up by program name.
    [[maybe_unused]] ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
}

}  // namespace

pid_t parseStoredPid(std::string_view text) {
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    return parsePid(text);
}

NamedMutex NamedMutex::acquire(const std::string& lockPath) {
    NamedMutex mutex;
    mutex.path_ = lockPath;
    mutex.fd_ =
        fs::UniqueFd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!mutex.fd_.valid())
        return mutex;
    if (flockRetrying(mutex.fd_.get(), LOCK_EX | LOCK_NB)) {
        mutex.state_ = State::Created;
        storePid(mutex.fd_.get());
    } else if (errno == EWOULDBLOCK) {
        mutex.state_ = State::Exists;
    } else {
        mutex.fd_.reset();
    }
    return mutex;
}

NamedMutex::~NamedMutex() {
    release();
}

NamedMutex::NamedMutex(NamedMutex&& other) noexcept
    : fd_(std::move(other.fd_)),
      state_(std::exchange(other.state_, State::Unavailable)),
      path_(std::move(other.path_)) {}

NamedMutex& NamedMutex::operator=(NamedMutex&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::move(other.fd_);
        state_ = std::exchange(other.state_, State::Unavailable);
        path_ = std::move(other.path_);
    }
    return *this;
}

pid_t NamedMutex::holderPid() const {
    if (state_ != State::Exists || !fd_.valid())
        return 0;
    char buffer[kMaxStoredBytes + 1];
    ssize_t got = ::pread(fd_.get(), buffer, sizeof buffer, 0);
    if (got <= 0 || static_cast<std::size_t>(got) > kMaxStoredBytes)
        return 0;
    return parseStoredPid(std::string_view(buffer, static_cast<std::size_t>(got)));
}

void NamedMutex::release() {
    if (state_ == State::Created && fd_.valid()) {
        [[maybe_unused]] int cleared = ::ftruncate(fd_.get(), 0);
        flockRetrying(fd_.get(), LOCK_UN);
    }
    fd_.reset();
    state_ = State::Unavailable;
}

}  // namespace keyloom::instance
