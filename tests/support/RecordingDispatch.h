#pragma once
// A queued window that records what reached it: tray pictures, hides, the
// messages delivered and the timers fired, and named calls a subclass adds.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/window/QueuedWindow.h"

namespace keyloom::testing {

template <class Base = window::QueuedWindow>
class RecordingDispatch : public Base {
public:
    void showTrayIcon(int iconId) override {
        std::lock_guard lock(recordMutex_);
        trayIcons_.push_back(iconId);
    }
    void hideWindow() override {
        std::lock_guard lock(recordMutex_);
        hidden_ = true;
        calls_.push_back("hideWindow");
    }

    std::vector<int> trayIcons() const { return copy(trayIcons_); }
    std::vector<window::WindowMessage> handledMessages() const { return copy(handled_); }
    std::vector<int> firedTimers() const { return copy(fired_); }
    // Hook calls in order, e.g. "setProfileButtons 1", "loadUserModes 0 send".
    std::vector<std::string> calls() const { return copy(calls_); }
    bool hidden() const {
        std::lock_guard lock(recordMutex_);
        return hidden_;
    }
    virtual void clearRecords() {
        std::lock_guard lock(recordMutex_);
        trayIcons_.clear();
        handled_.clear();
        fired_.clear();
        calls_.clear();
    }

protected:
    void messageDelivered(const window::WindowMessage& msg) override {
        std::lock_guard lock(recordMutex_);
        handled_.push_back(msg);
    }
    void timerFired(int id) override {
        std::lock_guard lock(recordMutex_);
        fired_.push_back(id);
    }
    void record(std::string call) {
        std::lock_guard lock(recordMutex_);
        calls_.push_back(std::move(call));
    }
    template <class T>
    T copy(const T& records) const {
        std::lock_guard lock(recordMutex_);
        return records;
    }

    mutable std::mutex recordMutex_;

private:
    std::vector<int> trayIcons_;
    std::vector<window::WindowMessage> handled_;
    std::vector<int> fired_;
    std::vector<std::string> calls_;
    bool hidden_ = false;
};

}  // namespace keyloom::testing
