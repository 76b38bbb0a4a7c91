#pragma once
// The discovery thread: finds the configuration interface of an accepted
// keyboard, opens it as the link's configuration device, sets the model
// values and then watches that the keyboard stays present. Each change of
// the connected state goes to a ConnectionHandler.
//
// Between two looks it sleeps until the platform announces that interfaces
// came or went. The timer only backs that up: a slow presence test in case an
// announcement is lost, and the short one on a platform that announces
// nothing. After each announcement one more look follows on the short timer,
// for a node that is still on its way in or out.
//
// The program starts it once and never stops it; the object stops and joins
// its thread when destroyed, so tests can end it. probe() and scanOnce() are
// also usable on their own, e.g. by the command-line tool.

#include <atomic>
#include <chrono>
#include <stop_token>
#include <thread>

#include "device/ConnectionHandler.h"
#include "device/DeviceLink.h"
#include "device/StartupState.h"
#include "platform/hid/CancelEvent.h"

namespace keyloom {

struct DiscoveryTiming {
    // Presence test while connected when changes are not announced, and the
    // look that follows an announcement.
    std::chrono::milliseconds presenceInterval{100};
    // Search while no keyboard is connected.
    std::chrono::milliseconds scanInterval{1000};
    std::chrono::milliseconds hiddenStartPause{10};
    // Presence test while connected when changes are announced.
    std::chrono::milliseconds announcedPresenceInterval{2000};
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
    // How long to sleep before the next look.
    std::chrono::milliseconds nextInterval(bool afterAnnouncement);
    // Sleeps up to `duration`, less when a change is announced (then
    // `announced` is set). False when stop was requested.
    bool pause(std::stop_token& stop, std::chrono::milliseconds duration, bool& announced);

    DeviceLink& link_;
    ConnectionHandler& handler_;
    StartupState& startup_;
    DiscoveryTiming timing_;

    std::atomic<bool> running_{false};
    hid::CancelEvent wake_;  // set when stop is requested
    std::jthread thread_;
};

}  // namespace keyloom
