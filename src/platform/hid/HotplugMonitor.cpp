#include "platform/hid/HotplugMonitor.h"

#include <libudev.h>

namespace keyloom::hid {

void HotplugMonitor::UdevUnref::operator()(udev* context) const {
    udev_unref(context);
}

void HotplugMonitor::MonitorUnref::operator()(udev_monitor* monitor) const {
    udev_monitor_unref(monitor);
}

namespace {

// udevd's events follow its rules; without udevd (a container, an early boot
// shell) nobody sends them, and the kernel's own are the only ones.
const char* eventSource(udev* context) {
    udev_queue* queue = udev_queue_new(context);
    const bool udevdRuns = queue && udev_queue_get_udev_is_active(queue) == 1;
    udev_queue_unref(queue);
    return udevdRuns ? "udev" : "kernel";
}

}  // namespace

HotplugMonitor::HotplugMonitor() : udev_(udev_new()) {
    if (!udev_)
        return;
    std::unique_ptr<udev_monitor, MonitorUnref> monitor(
        udev_monitor_new_from_netlink(udev_.get(), eventSource(udev_.get())));
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0 || udev_monitor_get_fd(monitor.get()) < 0)
        return;
    monitor_ = std::move(monitor);
}

HotplugMonitor::~HotplugMonitor() = default;

int HotplugMonitor::fd() const {
    return monitor_ ? udev_monitor_get_fd(monitor_.get()) : -1;
}

void HotplugMonitor::drain() {
    if (!monitor_)
        return;
    // The monitor's socket does not block: receive returns null once empty.
    while (udev_device* device = udev_monitor_receive_device(monitor_.get()))
        udev_device_unref(device);
}

}  // namespace keyloom::hid
