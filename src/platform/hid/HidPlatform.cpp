#include "platform/hid/HidPlatform.h"

#include <poll.h>

#include <algorithm>

#include "platform/hid/FdWait.h"
#include "platform/hid/HidrawBackend.h"

namespace keyloom::hid {

HidPlatform& HidPlatform::system() {
    static HidPlatform* platform = [] {
        static HidPlatform instance;
        auto hidraw = std::make_shared<HidrawBackend>();
        hidraw->watchHotplug();
        instance.addBackend(std::move(hidraw));
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

std::vector<std::shared_ptr<HidBackend>> HidPlatform::backends() {
    std::lock_guard lock(mutex_);
    return backends_;
}

bool HidPlatform::enumerate(std::vector<std::string>& paths) {
    const auto all = backends();
    bool any = all.empty();
    for (const auto& backend : all)
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

bool HidPlatform::announcesChanges() {
    const auto all = backends();
    return !all.empty() && std::all_of(all.begin(), all.end(), [](const auto& backend) {
        return backend->changeDescriptor() >= 0;
    });
}

ChangeWait HidPlatform::waitForChange(std::chrono::milliseconds timeout, CancelEvent& cancel) {
    // The copies keep every watched backend, and so its descriptor, alive
    // through the wait even when it is removed meanwhile.
    const auto all = backends();
    std::vector<pollfd> watched;
    std::vector<HidBackend*> announcing;
    for (const auto& backend : all) {
        if (int fd = backend->changeDescriptor(); fd >= 0) {
            watched.push_back({fd, POLLIN, 0});
            announcing.push_back(backend.get());
        }
    }
    const Deadline deadline(static_cast<std::uint32_t>(std::max<long long>(0, timeout.count())));
    switch (waitForAnyDescriptor(watched, cancel, deadline)) {
        case WaitResult::Cancelled:
            return ChangeWait::Cancelled;
        case WaitResult::Ready:
            for (std::size_t i = 0; i < watched.size(); ++i) {
                // An error (a monitor whose queue overflowed) may hide changes too.
                if (watched[i].revents != 0)
                    announcing[i]->takeChanges();
            }
            return ChangeWait::Changed;
        case WaitResult::Failed:
            // Never a busy loop: a wait that cannot be watched still lasts.
            ::poll(nullptr, 0, deadline.remainingMs());
            return ChangeWait::TimedOut;
        case WaitResult::TimedOut:
            break;
    }
    return ChangeWait::TimedOut;
}

}  // namespace keyloom::hid
