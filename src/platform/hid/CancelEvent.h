#pragma once
// An auto-reset event that a waiting transfer watches with poll(): set() from
// any thread wakes one wait, which consumes the signal.

namespace keyloom::hid {

class CancelEvent {
public:
    CancelEvent();
    ~CancelEvent();
    CancelEvent(const CancelEvent&) = delete;
    CancelEvent& operator=(const CancelEvent&) = delete;

    void set();
    // Clears the signal; true when it was set.
    bool consume();
    // Readable while the event is set.
    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace keyloom::hid
