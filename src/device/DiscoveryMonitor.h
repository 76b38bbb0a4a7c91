#pragma once
// The discovery thread: finds the configuration interface of an accepted
// keyboard, opens it as the link's configuration device, sets the model
// values and then watches that the keyboard stays present. Each change of
// the connected state goes to a ConnectionHandler.
//
// The program starts it once and never stops it; the object stops and joins
// its thread when destroyed, so tests can end it. probe() and scanOnce() are
// also usable on their own, e.g. by the command-line tool.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

#include "device/ConnectionHandler.h"
#include "device/DeviceLink.h"
#include "device/StartupState.h"

namespace keyloom {

struct DiscoveryTiming {
    std::chrono::milliseconds presenceInterval{100};
    std::chrono::milliseconds scanInterval{1000};
    std::chrono::milliseconds hiddenStartPause{10};
};

class DiscoveryMonitor {
public:
    enum class ScanResult { Found, NotFound, EnumerationFailed };

    DiscoveryMonitor(DeviceLink& link, ConnectionHandler& handler, StartupState& startup,
                     DiscoveryTiming timing = {});
    ~DiscoveryMonitor();
    DiscoveryMonitor(const DiscoveryMonitor&) = delete;
    DiscoveryMonitor& operator=(const DiscoveryMonitor&) = delete;

    // Starts the thread (once): start pause, probe, then the loop.
    void start();
    // Asks the thread to end and waits for it.
    void stop();
    // False before start() and once the thread has ended (stop, or an
    // enumeration failure).
    bool running() const { return running_.load(); }

    // Opens the first accepted configuration interface, reads the parameter
    // block once and closes it again; connected is 0 afterwards and nothing
    // is reported. False when enumeration failed.
    bool probe();
    // One search: on success the configuration device stays open, the model
    // values are set, connected becomes 1 and 1 is reported.
    ScanResult scanOnce();
    // While connected: when the keyboard has gone, connected becomes 0 and 0
    // is reported. Returns the connected state afterwards.
    bool checkPresence();

private:
    void run(std::stop_token stop);
    // False when stop was requested during the pause.
    bool pause(std::stop_token& stop, std::chrono::milliseconds duration);

    DeviceLink& link_;
    ConnectionHandler& handler_;
    StartupState& startup_;
    DiscoveryTiming timing_;

    std::atomic<bool> running_{false};
    std::mutex pauseMutex_;
    std::condition_variable_any pauseWake_;
    std::jthread thread_;
};

}  // namespace keyloom
