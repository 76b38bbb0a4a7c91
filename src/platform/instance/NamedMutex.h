#pragma once
// The program's named system-wide lock: an flock() on a lock file. The
// process holding the lock is the running instance; the lock ends with the
// process, so a crash leaves no stale lock behind, only a free lock file.
//
// acquire() maps "open the existing mutex, else create it initially owned":
// when another process holds the lock the mutex "exists" (Exists) and the
// file stays open without the lock; otherwise this process takes the lock
// (Created) and writes its process id into the file, so that a later start
// can tell which process to address.

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/fs/UniqueFd.h"

namespace keyloom::instance {

class NamedMutex {
public:
    enum class State {
        Unavailable,  // no lock file could be opened: no lock at all
        Created,      // this process holds the lock
        Exists,       // another process holds it
    };

    NamedMutex() = default;
    static NamedMutex acquire(const std::string& lockPath);

    ~NamedMutex();
    NamedMutex(NamedMutex&& other) noexcept;
    NamedMutex& operator=(NamedMutex&& other) noexcept;
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    State state() const { return state_; }
    bool owned() const { return state_ == State::Created; }
    const std::string& path() const { return path_; }

    // The process id written by the process that holds the lock, 0 when the
    // lock is not held by another process or the file holds no valid id.
    pid_t holderPid() const;

    // Clears the stored id and drops the lock (when owned); closes the file.
    // The lock file itself stays: removing it could let two processes hold
    // locks on two different files of the same name.
    void release();

private:
    fs::UniqueFd fd_;
    State state_ = State::Unavailable;
    std::string path_;
};

// Reads a process id as stored in a lock file: decimal digits, optionally
// followed by a newline. 0 for anything else.
pid_t parseStoredPid(std::string_view text);

}  // namespace keyloom::instance
