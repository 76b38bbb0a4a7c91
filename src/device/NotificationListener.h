#pragma once
// The notification listener thread: finds the consumer-control collection of
// an accepted keyboard, waits for its input reports without a time limit and
// turns each reported code into an action of the application: a refresh timer
// of the main window (lighting 1051, profile 1053) or a change of the tray icon
// by the indicator worker. It works on its own CHidDevice, independently of the
// discovery thread and the connected flag.
//
// The program starts it once and never stops it; the object stops and joins
// its thread (and the indicator worker) when destroyed, so tests can end it.
//
//   NotificationListener listener(platform, window, trayStatus);
//   listener.setObservers({.code = [](std::uint16_t code, std::string_view what) { ... }});
//   listener.start();

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>

#include "device/CHidDevice.h"
#include "device/NotificationCodes.h"
#include "device/NotificationIndicator.h"
#include "platform/hid/HidPlatform.h"
#include "platform/window/TrayStatus.h"
#include "platform/window/WindowDispatch.h"

namespace keyloom {

struct NotificationTiming {
    // Pause between two scans while no keyboard is being listened to.
    std::chrono::milliseconds scanInterval{1000};
    NotificationIndicatorTiming indicator;
};

enum class NotificationListenerState {
    NotStarted,
    Searching,  // scanning for the consumer collection
    Listening,  // waiting inside a read on the opened collection
    Ended,      // enumeration failed, or stopped
};

std::string_view notificationListenerStateText(NotificationListenerState state);

// Optional callbacks, run on the listener thread; they must not call back
// into the listener.
struct NotificationObservers {
    // Every report read, with its code (0 for a release) and what it triggered.
    std::function<void(std::uint16_t code, std::string_view triggered)> code;
    // Every change of state; `path` is the collection listened to while
    // Listening, else empty.
    std::function<void(NotificationListenerState state, std::string_view path)> state;
};

class NotificationListener {
public:
    NotificationListener(hid::HidPlatform& platform, window::WindowDispatch& window,
                         window::TrayStatus& tray, NotificationTiming timing = {});
    ~NotificationListener();
    NotificationListener(const NotificationListener&) = delete;
    NotificationListener& operator=(const NotificationListener&) = delete;

    // Set before start().
    void setObservers(NotificationObservers observers);

    // Starts the thread (once).
    void start();
    // Ends the thread: wakes it from its pause or, by closing the device,
    // from its read; then waits for it and for the indicator changes.
    void stop();

    NotificationListenerState state() const { return state_.load(); }
    // How many times a consumer collection has been opened and listened to.
    std::uint64_t listenCount() const { return listenCount_.load(); }
    // How many reports have been read and dispatched.
    std::uint64_t reportCount() const { return reportCount_.load(); }

private:
    void run(std::stop_token stop);
    // Opens `path` and keeps it open when it is an accepted keyboard's
    // consumer collection. Under deviceMutex_, so stop() cannot interleave.
    bool openConsumerCollection(const std::string& path);
    // Reads and dispatches reports until a read fails or stop() closes the
    // device.
    void listen();
    // The code of the report just read into the input buffer; 0 when the
    // report did not decode into the first field.
    std::uint16_t decodeCode(std::uint32_t bytes);
    // Carries out the action of one code and tells the observer.
    void dispatch(std::uint16_t code);
    void closeDevice();
    void setState(NotificationListenerState state, std::string_view path = {});
    // False when stop was requested during the pause.
    bool pause(std::stop_token& stop, std::chrono::milliseconds duration);

    window::WindowDispatch& window_;
    NotificationTiming timing_;
    NotificationObservers observers_;

    // The notification device. Its open state (buffers, field tables) is
    // touched under deviceMutex_, never during the read itself, so stop() can
    // close it from another thread while the listener waits.
    CHidDevice device_;
    std::mutex deviceMutex_;
    bool stopping_ = false;  // guarded by deviceMutex_

    NotificationIndicator indicator_;

    std::atomic<NotificationListenerState> state_{NotificationListenerState::NotStarted};
    std::atomic<std::uint64_t> listenCount_{0};
    std::atomic<std::uint64_t> reportCount_{0};

    std::mutex pauseMutex_;
    std::condition_variable_any pauseWake_;
    std::jthread thread_;
};

}  // namespace keyloom
