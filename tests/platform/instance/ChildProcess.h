#pragma once
// Forked helper processes for the instance tests: a child runs a function and
// ends with its result as exit code; a pipe carries status bytes from the
// child back to the test. The waits have generous safety limits only so that
// a broken build cannot hang the test run; no test relies on them.

#include <sys/types.h>

#include <chrono>
#include <functional>

namespace keyloom::instance::testing {

// Child to test, one byte at a time. Create it before forking.
class StatusPipe {
public:
    StatusPipe();
    ~StatusPipe();
    StatusPipe(const StatusPipe&) = delete;
    StatusPipe& operator=(const StatusPipe&) = delete;

    void send(char status) const;
    // The next byte sent, or 0 when none came within `limit`.
    char receive(std::chrono::seconds limit = std::chrono::seconds(30)) const;

private:
    int fds_[2] = {-1, -1};
};

class ChildProcess {
public:
    // Forks; the child runs `body` and ends with _exit(body()).
    explicit ChildProcess(const std::function<int()>& body);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Waits for the child to end: its exit code, or -1 when it was killed or
    // outlived `limit` (it is killed then).
    int wait(std::chrono::seconds limit = std::chrono::seconds(30));
    // Ends the child now (SIGKILL) and reaps it.
    void kill();

private:
    pid_t pid_ = -1;
};

// Child side: sleeps until killed.
[[noreturn]] void sleepForever();

}  // namespace keyloom::instance::testing
