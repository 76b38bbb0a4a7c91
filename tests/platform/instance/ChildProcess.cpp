#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace keyloom::instance::testing {

StatusPipe::StatusPipe() {
    if (::pipe2(fds_, O_CLOEXEC) != 0)
        fds_[0] = fds_[1] = -1;
}

StatusPipe::~StatusPipe() {
    for (int fd : fds_) {
        if (fd >= 0)
            ::close(fd);
    }
}

void StatusPipe::send(char status) const {
    [[maybe_unused]] ssize_t written = ::write(fds_[1], &status, 1);
}

char StatusPipe::receive(std::chrono::seconds limit) const {
    pollfd fd{fds_[0], POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&fd, 1, static_cast<int>(limit.count() * 1000));
    } while (ready < 0 && errno == EINTR);
    char status = 0;
    if (ready <= 0 || ::read(fds_[0], &status, 1) != 1)
        return 0;
    return status;
}

ChildProcess::ChildProcess(const std::function<int()>& body) {
    pid_ = ::fork();
    if (pid_ == 0)
        ::_exit(body());
}

ChildProcess::~ChildProcess() {
    kill();
}

int ChildProcess::wait(std::chrono::seconds limit) {
    if (pid_ <= 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (done < 0 && errno != EINTR) {
            pid_ = -1;
            return -1;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            kill();
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void ChildProcess::kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

void sleepForever() {
    for (;;)
        ::pause();
}

}  // namespace keyloom::instance::testing
