#include "device/NotificationListener.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "device/KeyboardModels.h"

namespace keyloom {

std::string_view notificationListenerStateText(NotificationListenerState state) {
    switch (state) {
        case NotificationListenerState::NotStarted:
            return "not started";
        case NotificationListenerState::Searching:
            return "searching";
        case NotificationListenerState::Listening:
            return "listening";
        case NotificationListenerState::Ended:
            return "ended";
    }
    return "ended";
}

NotificationListener::NotificationListener(hid::HidPlatform& platform,
                                           window::WindowDispatch& window, window::TrayStatus& tray,
                                           NotificationTiming timing)
    : window_(window), timing_(timing), device_(platform), indicator_(tray, timing.indicator) {}

NotificationListener::~NotificationListener() {
    stop();
}

void NotificationListener::setObservers(NotificationObservers observers) {
    observers_ = std::move(observers);
}

void NotificationListener::start() {
    if (thread_.joinable())
        return;
    {
        std::lock_guard lock(deviceMutex_);
        stopping_ = false;
    }
    state_.store(NotificationListenerState::Searching);
    thread_ = std::jthread([this](std::stop_token stop) {
        setState(NotificationListenerState::Searching);
        run(stop);
        setState(NotificationListenerState::Ended);
    });
}

void NotificationListener::stop() {
    if (thread_.joinable()) {
        thread_.request_stop();
        {
            // Once stopping_ is set the thread opens nothing more; closing
            // what it has open cuts its endless read short.
            std::lock_guard lock(deviceMutex_);
            stopping_ = true;
            device_.Close();
        }
        thread_.join();
    }
    indicator_.joinAll();
}

bool NotificationListener::pause(std::stop_token& stop, std::chrono::milliseconds duration) {
    std::unique_lock lock(pauseMutex_);
    pauseWake_.wait_for(lock, stop, duration, [] { return false; });
    return !stop.stop_requested();
}

void NotificationListener::run(std::stop_token stop) {
    for (;;) {
        // Without a list of interfaces there is nothing to search; the
        // thread ends and configuration goes on without notifications.
        if (!device_.EnumerateInterfaces())
            return;
        while (!stop.stop_requested()) {
            std::optional<std::string> path = device_.NextPath();
            if (!path)
                break;
            if (!pathNamesAcceptedKeyboard(*path) || !openConsumerCollection(*path))
                continue;
            listenCount_.fetch_add(1);
            setState(NotificationListenerState::Listening, *path);
            listen();
            closeDevice();
            setState(NotificationListenerState::Searching);
            // The keyboard was found: the rest of the list is stale after a
            // read failure, so start over with a fresh scan.
            break;
        }
        device_.ReleasePaths();
        if (!pause(stop, timing_.scanInterval))
            return;
    }
}

bool NotificationListener::openConsumerCollection(const std::string& path) {
    std::lock_guard lock(deviceMutex_);
    if (stopping_)
        return false;
    if (!device_.Open(path, /*wantRead=*/true, /*wantWrite=*/false, /*overlapped=*/true,
                      /*exclusive=*/false))
        return false;
    const hid::Attributes& ids = device_.attributes();
    const hid::Caps& caps = device_.capabilities();
    // A collection without input reports could never deliver a code.
    const bool matches = acceptedKeyboard(ids.vendorId, ids.productId).has_value() &&
                         caps.usagePage == kNotificationUsagePage &&
                         caps.usage == kNotificationUsage && caps.inputReportByteLength > 0;
    if (!matches)
        device_.Close();
    return matches;
}

void NotificationListener::listen() {
    for (;;) {
        std::span<std::uint8_t> buffer;
        {
            std::lock_guard lock(deviceMutex_);
            if (stopping_)
                return;
            buffer = device_.reportBuffer(hid::ReportType::Input);
        }
        // Outside the lock: stop() closes the device to end this wait. Close
        // lets the read return before it frees the buffer.
        std::uint32_t bytes = 0;
        if (!device_.Read(buffer, bytes, hid::kInfinite))
            return;
        std::uint16_t code = 0;
        {
            std::lock_guard lock(deviceMutex_);
            if (stopping_)
                return;
            code = decodeCode(bytes);
        }
        reportCount_.fetch_add(1);
        dispatch(code);
    }
}

std::uint16_t NotificationListener::decodeCode(std::uint32_t bytes) {
    std::span<std::uint8_t> buffer = device_.reportBuffer(hid::ReportType::Input);
    std::span<HidField> fields = device_.fields(hid::ReportType::Input);
    if (fields.empty())
        return 0;
    HidField& first = fields.front();
    // A report that does not carry the first field's report id leaves the
    // field as the previous report left it; without this mark the previous
    // code would be taken again.
    first.updated = false;
    const std::size_t length = std::min<std::size_t>(bytes, buffer.size());
    CHidDevice::ParseReport(buffer.first(length), hid::ReportType::Input, fields,
                            device_.descriptor());
    if (!first.updated || first.kind != HidFieldKind::Button ||
        first.lastStatus != hid::status::Success || first.usages.empty())
        return 0;
    return first.usages.front();
}

void NotificationListener::dispatch(std::uint16_t code) {
    const NotificationAction action = notificationActionOf(code);
    switch (action) {
        case NotificationAction::None:
        case NotificationAction::Recognised:
            break;
        case NotificationAction::IndicatorOn:
            indicator_.start(true);
            break;
        case NotificationAction::IndicatorOff:
            indicator_.start(false);
            break;
        case NotificationAction::LightingRefresh:
            window_.startTimer(window::timer::kLightingRefresh, std::chrono::milliseconds(0));
            break;
        case NotificationAction::ProfileRefresh:
            window_.startTimer(window::timer::kProfileRefresh, std::chrono::milliseconds(0));
            break;
    }
    if (observers_.code)
        observers_.code(code, notificationActionText(action));
}

void NotificationListener::closeDevice() {
    std::lock_guard lock(deviceMutex_);
    device_.Close();
}

void NotificationListener::setState(NotificationListenerState state, std::string_view path) {
    state_.store(state);
    if (observers_.state)
        observers_.state(state, path);
}

}  // namespace keyloom
