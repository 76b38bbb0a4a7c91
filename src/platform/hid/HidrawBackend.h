#pragma once
// HID interfaces of the machine through Linux hidraw and sysfs. Each
// top-level application collection of a hidraw node is one interface; see
// InterfacePath.h for the paths and SysfsHidraw.h for what is read from sysfs.

#include <functional>
#include <string>

#include "platform/hid/HidBackend.h"

namespace keyloom::hid {

class HidNodeCache;
class HotplugMonitor;

class HidrawBackend : public HidBackend {
public:
    // The roots can be pointed at a fake tree for tests.
    explicit HidrawBackend(std::string sysfsRoot = "/sys", std::string devRoot = "/dev");
    ~HidrawBackend() override;

    // Opens a device node: (node path, open(2) flags) -> descriptor or -1.
    using NodeOpener = std::function<int(const std::string& nodePath, int flags)>;
    // Replaces ::open for device nodes, so that tests can hand out one end of
    // a socketpair in place of a hidraw node. Set it before the backend is
    // used; the backend owns (and closes) every descriptor it returns.
    void setNodeOpener(NodeOpener opener);
    // Announces the machine's hidraw hotplug events through
    // changeDescriptor(), for a backend on the real /sys and /dev. Call before
    // the backend is used; false (nothing announced) when udev gives no
    // monitor.
    bool watchHotplug();

    bool enumerate(std::vector<std::string>& paths) override;
    bool ownsPath(std::string_view path) const override;
    std::unique_ptr<HidHandle> open(std::string_view path, const OpenOptions& options) override;
    bool isPresent(std::string_view path) override;
    int changeDescriptor() const override;
    void takeChanges() override;

private:
    std::string sysfsRoot_;
    std::string devRoot_;
    NodeOpener opener_;
    std::shared_ptr<HidNodeCache> cache_;
    std::unique_ptr<HotplugMonitor> hotplug_;
};

}  // namespace keyloom::hid
