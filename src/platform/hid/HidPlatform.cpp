#include "platform/hid/HidPlatform.h"

#include <algorithm>

#include "platform/hid/HidrawBackend.h"

namespace keyloom::hid {

HidPlatform& HidPlatform::system() {
    static HidPlatform* platform = [] {
        static HidPlatform instance;
        instance.addBackend(std::make_shared<HidrawBackend>());
        return &instance;
    }();
    return *platform;
}

void HidPlatform::addBackend(std::shared_ptr<HidBackend> backend) {
    std::lock_guard lock(mutex_);
    backends_.push_back(std::move(backend));
}

void HidPlatform::removeBackend(const HidBackend* backend) {
    std::lock_guard lock(mutex_);
    std::erase_if(backends_, [backend](const auto& b) { return b.get() == backend; });
}

bool HidPlatform::enumerate(std::vector<std::string>& paths) {
    std::vector<std::shared_ptr<HidBackend>> backends;
    {
        std::lock_guard lock(mutex_);
        backends = backends_;
    }
    bool any = backends.empty();
    for (const auto& backend : backends)
        any = backend->enumerate(paths) || any;
    return any;
}

std::shared_ptr<HidBackend> HidPlatform::backendFor(std::string_view path) {
    std::lock_guard lock(mutex_);
    for (const auto& backend : backends_)
        if (backend->ownsPath(path))
            return backend;
    return nullptr;
}

std::unique_ptr<HidHandle> HidPlatform::open(std::string_view path, const OpenOptions& options) {
    auto backend = backendFor(path);
    return backend ? backend->open(path, options) : nullptr;
}

bool HidPlatform::isPresent(std::string_view path) {
    auto backend = backendFor(path);
    return backend && backend->isPresent(path);
}

}  // namespace keyloom::hid
