#pragma once
// Hotplug announcements for hidraw nodes through libudev: a descriptor that
// becomes readable when a hidraw node was added or removed, so that the
// discovery thread can sleep until then instead of testing presence on a
// timer. Events come from udevd once its rules have run (the node's access
// rights are set by then); without a running udevd, straight from the kernel.

#include <memory>

struct udev;
struct udev_monitor;

namespace keyloom::hid {

class HotplugMonitor {
public:
    // A monitor that could not be set up is not valid(); callers then keep
    // testing presence on a timer.
    HotplugMonitor();
    ~HotplugMonitor();
    HotplugMonitor(const HotplugMonitor&) = delete;
    HotplugMonitor& operator=(const HotplugMonitor&) = delete;

    bool valid() const { return monitor_ != nullptr; }
    // Readable while announcements are waiting; -1 when not valid.
    int fd() const;
    // Takes every waiting announcement; never blocks.
    void drain();

private:
    struct UdevUnref {
        void operator()(udev* context) const;
    };
    struct MonitorUnref {
        void operator()(udev_monitor* monitor) const;
    };

    std::unique_ptr<udev, UdevUnref> udev_;
    std::unique_ptr<udev_monitor, MonitorUnref> monitor_;
};

}  // namespace keyloom::hid
