#pragma once
// The machine's HID interfaces as the rest of the program sees them: every
// registered backend, enumerated in registration order. Thread-safe.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/HidBackend.h"

namespace keyloom::hid {

class HidPlatform {
public:
    // The process-wide platform; it starts with the hidraw backend on the
    // real /sys and /dev.
    static HidPlatform& system();

    HidPlatform() = default;
    HidPlatform(const HidPlatform&) = delete;
    HidPlatform& operator=(const HidPlatform&) = delete;

    void addBackend(std::shared_ptr<HidBackend> backend);
    void removeBackend(const HidBackend* backend);

    bool enumerate(std::vector<std::string>& paths);
    std::unique_ptr<HidHandle> open(std::string_view path, const OpenOptions& options);
    bool isPresent(std::string_view path);

private:
    std::shared_ptr<HidBackend> backendFor(std::string_view path);

    std::mutex mutex_;
    std::vector<std::shared_ptr<HidBackend>> backends_;
};

}  // namespace keyloom::hid
