#pragma once
// One simulated keyboard on the simulated bus: its firmware, whether it is
// plugged in, the interface paths it has while it is, and the handles open on
// it. Every method is thread-safe; the firmware is reached under the
// keyboard's mutex through withFirmware().

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/CancelEvent.h"
#include "platform/hid/HidTypes.h"
#include "platform/hid/ReportDescriptor.h"
#include "sim/SimFirmware.h"
#include "sim/SimInputQueue.h"

namespace keyloom::sim {

// What the keyboards of one backend share: the bus's node numbers and its
// announcement that interfaces came or went, which the backend hands out as
// its change descriptor (as udev does for hidraw).
struct SimBus {
    std::atomic<unsigned> nextNode{0};
    hid::CancelEvent changed;
};

// Long enough to see the keyboard leave, short enough to wait for.
inline constexpr std::chrono::milliseconds kDefaultBootLoaderTime{5000};

class SimKeyboard {
public:
    SimKeyboard(const SimModel& model, std::uint8_t macroCapacityUnits,
                std::shared_ptr<SimBus> bus);
    SimKeyboard(const SimKeyboard&) = delete;
    SimKeyboard& operator=(const SimKeyboard&) = delete;

    const SimModel& model() const { return model_; }

    // How long each report takes on the simulated wire, in microseconds: a
    // write and a read of any of its handles last that long (0: no time, the
    // default; about 1000 on a real full-speed keyboard).
    void setReportTime(std::uint32_t microseconds) { reportTimeUs_ = microseconds; }
    std::uint32_t reportTime() const { return reportTimeUs_.load(); }

    // Runs `f(SimFirmware&)` under the keyboard's mutex: faults, memory, log.
    // `f` must not call back into this keyboard (the mutex is not recursive).
    template <class F>
    decltype(auto) withFirmware(F&& f) {
        std::lock_guard lock(mutex_);
        return f(firmware_);
    }

    // Pulls the cable: every open handle fails from now on.
    void unplug();
    // Plugs it back in with new node numbers (a new identity); nothing when
    // already plugged in.
    void plug();
    void replug();
    // Power cycle: leaves boot mode and comes back with a new identity.
    void reset();
    // How long the boot loader holds the keyboard before it starts its
    // firmware again, as it does once the updater has flashed it: the
    // keyboard comes back in normal mode with its settings.
    void setBootLoaderTime(std::chrono::milliseconds time);
    // Does that restart when the boot loader's time is over (the backend asks
    // at every scan of the bus); true when the keyboard came back.
    bool finishBootLoaderIfDue();
    // Plugged in and running its firmware (not in boot mode).
    bool present() const;
    bool inBootMode() const;

    // Sends a notification code on the consumer collection: a press report
    // with the code, then a release report with 0. False while absent.
    bool sendNotification(std::uint16_t code);
    // The user switches profile on the keyboard: active profile, then
    // notification 0x0402. False for a profile above 2 or while absent.
    bool selectProfileOnKeyboard(std::uint8_t profile);

    // Interface paths while present (empty strings while absent).
    std::string keyboardPath() const;
    std::string consumerPath() const;
    std::string configPath() const;

    // --- used by SimBackend and its handles ---------------------------------
    void appendPaths(std::vector<std::string>& paths) const;
    // Which collection `path` names right now; false when it names none.
    bool findPath(std::string_view path, SimCollection& collection) const;
    const hid::CollectionDescriptor& descriptor(SimCollection collection) const;
    hid::Attributes attributes() const;

    // Registers a queue for reports of `collection` when `path` still names
    // it; false (queue not registered) otherwise.
    bool attach(std::string_view path, SimCollection collection, SimInputQueue& queue);
    void detach(SimInputQueue& queue);
    // Runs a configuration request from a vendor handle and queues the reply
    // for every vendor handle. False when `queue` is gone.
    bool handleRequest(SimInputQueue& queue, std::span<const std::uint8_t> request);
    std::mutex& mutex() const { return mutex_; }

private:
    struct Attached {
        SimInputQueue* queue;
        SimCollection collection;
    };

    void assignPathsLocked();
    void leaveBusLocked();
    void deliverLocked(SimCollection collection, std::span<const std::uint8_t> report,
                       SimClock::time_point due);
    bool presentLocked() const { return plugged_ && !firmware_.inBootMode(); }

    const SimModel& model_;
    std::shared_ptr<SimBus> bus_;
    hid::CollectionDescriptor keyboardCollection_;
    hid::CollectionDescriptor consumerCollection_;
    hid::CollectionDescriptor vendorCollection_;

    std::atomic<std::uint32_t> reportTimeUs_{0};
    mutable std::mutex mutex_;
    SimFirmware firmware_;
    bool plugged_ = false;
    std::string paths_[3];  // keyboard, consumer, vendor
    std::vector<Attached> attached_;
    // When the last reply queued leaves the keyboard: replies go out in order.
    SimClock::time_point lastDue_ = kDueNow;
    std::chrono::milliseconds bootLoaderTime_{kDefaultBootLoaderTime};
    SimClock::time_point bootLoaderEnds_{};
};

}  // namespace keyloom::sim
