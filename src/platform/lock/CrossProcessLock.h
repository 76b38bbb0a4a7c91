#pragma once
// A lock shared by every process of the same user that names the same key:
// flock() on a small file in the user's runtime folder. Used to keep the
// request/reply pairs of two Keyloom programs on one keyboard apart, since
// every open descriptor of a hidraw node receives every reply.
//
// When the lock file cannot be created the lock degrades to a no-op rather
// than stopping the caller: exclusion between processes is a safeguard, not a
// precondition for talking to the keyboard.

#include <string>
#include <string_view>

namespace keyloom::lock {

// $XDG_RUNTIME_DIR when set and absolute, else /tmp/keyloom-<uid> (created
// 0700 and accepted only when it is a real folder owned by this user).
// Empty when no usable folder exists.
std::string runtimeLockFolder();

// File name for a lock keyed by `key`: "keyloom-" + the key with every
// character other than a letter, digit, '-' or '.' turned into '_' + ".lock".
std::string lockFileNameFor(std::string_view key);

class CrossProcessLock {
public:
    // No lock file: lock() and unlock() do nothing.
    CrossProcessLock() = default;
    // Opens (creating with mode 0600) `path`. Check valid() to see whether it
    // worked; an invalid lock still behaves as a no-op lock.
    explicit CrossProcessLock(const std::string& path);
    // Lock file for `key` in runtimeLockFolder().
    static CrossProcessLock forKey(std::string_view key);

    ~CrossProcessLock();
    CrossProcessLock(CrossProcessLock&& other) noexcept;
    CrossProcessLock& operator=(CrossProcessLock&& other) noexcept;
    CrossProcessLock(const CrossProcessLock&) = delete;
    CrossProcessLock& operator=(const CrossProcessLock&) = delete;

    bool valid() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Blocks until this descriptor holds the exclusive lock. Not re-entrant
    // and not meant to be shared by threads without an outer mutex.
    void lock();
    bool try_lock();
    void unlock();

private:
    void reset();

    int fd_ = -1;
    std::string path_;
};

}  // namespace keyloom::lock
