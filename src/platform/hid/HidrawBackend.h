#pragma once
// HID interfaces of the machine through Linux hidraw and sysfs.

#include <string>

#include "platform/hid/HidBackend.h"

namespace keyloom::hid {

class HidrawBackend : public HidBackend {
public:
    // The roots can be pointed at a fake tree for tests.
    explicit HidrawBackend(std::string sysfsRoot = "/sys", std::string devRoot = "/dev");

    bool enumerate(std::vector<std::string>& paths) override;
    bool ownsPath(std::string_view path) const override;
    std::unique_ptr<HidHandle> open(std::string_view path, const OpenOptions& options) override;
    bool isPresent(std::string_view path) override;

private:
    std::string sysfsRoot_;
    std::string devRoot_;
};

}  // namespace keyloom::hid
