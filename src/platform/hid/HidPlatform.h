#pragma once
// The machine's HID interfaces as the rest of the program sees them: every
// registered backend, enumerated in registration order. Thread-safe.

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/CancelEvent.h"
#include "platform/hid/HidBackend.h"

namespace keyloom::hid {

enum class ChangeWait { Changed, TimedOut, Cancelled };

class HidPlatform {
public:
    // The process-wide platform; it starts with the hidraw backend on the
    // real /sys and /dev, announcing hotplug events.
    static HidPlatform& system();

    HidPlatform() = default;
    HidPlatform(const HidPlatform&) = delete;
    HidPlatform& operator=(const HidPlatform&) = delete;

    void addBackend(std::shared_ptr<HidBackend> backend);
    void removeBackend(const HidBackend* backend);

    bool enumerate(std::vector<std::string>& paths);
    std::unique_ptr<HidHandle> open(std::string_view path, const OpenOptions& options);
    bool isPresent(std::string_view path);

    // True when there is a backend and every one announces its changes, so a
    // waiter may rely on waitForChange() instead of a short timer.
    bool announcesChanges();
    // Waits until a backend announces a change (its announcements are taken),
    // `cancel` is set (and consumed) or `timeout` has passed. One waiter at a
    // time: announcements are taken by whoever wakes.
    ChangeWait waitForChange(std::chrono::milliseconds timeout, CancelEvent& cancel);

private:
    std::shared_ptr<HidBackend> backendFor(std::string_view path);
    std::vector<std::shared_ptr<HidBackend>> backends();

    std::mutex mutex_;
    std::vector<std::shared_ptr<HidBackend>> backends_;
};

}  // namespace keyloom::hid
