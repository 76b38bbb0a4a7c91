#include "device/DiscoveryMonitor.h"

#include <array>
#include <optional>
#include <string>

#include "device/KeyboardModels.h"
#include "platform/sched/ThreadPriority.h"

namespace keyloom {

DiscoveryMonitor::DiscoveryMonitor(DeviceLink& link, ConnectionHandler& handler,
                                   StartupState& startup, DiscoveryTiming timing)
    : link_(link), handler_(handler), startup_(startup), timing_(timing) {}

DiscoveryMonitor::~DiscoveryMonitor() {
    stop();
}

void DiscoveryMonitor::start() {
    if (thread_.joinable())
        return;
    running_ = true;
    thread_ = std::jthread([this](std::stop_token stop) {
        // It hands the connection's reads to the keyboard queue and waits.
        platform::preferPromptWakeups();
        run(stop);
        running_ = false;
    });
}

void DiscoveryMonitor::stop() {
    if (!thread_.joinable())
        return;
    thread_.request_stop();
    thread_.join();
}

bool DiscoveryMonitor::pause(std::stop_token& stop, std::chrono::milliseconds duration,
                             bool& announced) {
    announced = false;
    if (stop.stop_requested())
        return false;
    const hid::ChangeWait woken =
        link_.configurationDevice().platform().waitForChange(duration, wake_);
    announced = woken == hid::ChangeWait::Changed;
    return !stop.stop_requested();
}

std::chrono::milliseconds DiscoveryMonitor::nextInterval(bool afterAnnouncement) {
    if (afterAnnouncement)
        return timing_.presenceInterval;
    if (!link_.isConnected())
        return timing_.scanInterval;
    return link_.configurationDevice().platform().announcesChanges()
               ? timing_.announcedPresenceInterval
               : timing_.presenceInterval;
}

bool DiscoveryMonitor::probe() {
    CHidDevice& device = link_.configurationDevice();
    if (!device.EnumerateInterfaces())
        return false;
    while (std::optional<std::string> path = device.NextPath()) {
        if (!pathNamesAcceptedKeyboard(*path))
            continue;
        if (!link_.openConfigurationDevice(*path))
            continue;
        const bool accepted = isConfigurationInterface(device.attributes(), device.capabilities());
        if (accepted) {
            link_.setConnected(true);
            std::array<std::uint8_t, kParameterBlockSize> block{};
            // Wakes the keyboard; neither the contents nor the result are needed.
            static_cast<void>(link_.ReadParameterBlock(block));
        }
        link_.closeConfigurationDevice();
        if (accepted)
            break;
    }
    device.ReleasePaths();
    link_.setConnected(false);
    return true;
}

DiscoveryMonitor::ScanResult DiscoveryMonitor::scanOnce() {
    CHidDevice& device = link_.configurationDevice();
    if (!device.EnumerateInterfaces())
        return ScanResult::EnumerationFailed;
    ScanResult found = ScanResult::NotFound;
    while (std::optional<std::string> path = device.NextPath()) {
        if (!pathNamesAcceptedKeyboard(*path))
            continue;
        if (!link_.openConfigurationDevice(*path))
            continue;
        if (!isConfigurationInterface(device.attributes(), device.capabilities())) {
            link_.closeConfigurationDevice();
            continue;
        }
        const hid::Attributes ids = device.attributes();
        const KeyboardModel model = *acceptedKeyboard(ids.vendorId, ids.productId);
        // The model values must be right before anyone can see the keyboard
        // as connected and start a key matrix transfer.
        link_.modelValues().keyMatrixLength = model.keyMatrixLength;
        link_.modelValues().keyMatrixStride = model.keyMatrixStride;
        link_.setConnected(true);
        handler_.connectionChanged(1);
        found = ScanResult::Found;
        break;
    }
    device.ReleasePaths();
    return found;
}

bool DiscoveryMonitor::checkPresence() {
    if (!link_.isConnected())
        return false;
    // The device stays open after a loss; the next successful open in a scan
    // replaces it, and nothing is sent while connected is 0.
    if (link_.configurationDevice().IsPresent())
        return true;
    link_.setConnected(false);
    handler_.connectionChanged(0);
    return false;
}

void DiscoveryMonitor::run(std::stop_token stop) {
    std::stop_callback wakeOnStop(stop, [this] { wake_.set(); });
    bool announced = false;
    if (startup_.startHidden && !pause(stop, timing_.hiddenStartPause, announced))
        return;
    bool firstScan = true;
    if (!probe() || stop.stop_requested())
        return;
    for (;;) {
        if (link_.isConnected())
            checkPresence();
        if (!link_.isConnected()) {
            if (scanOnce() == ScanResult::EnumerationFailed)
                return;
            if (firstScan) {
                // Settles the application's start-up state either way; when
                // nothing was found, a later arrival must not pop up the window.
                // The flag is set before the report so the handler already
                // sees the settled state.
                firstScan = false;
                const bool connected = link_.isConnected();
                if (!connected)
                    startup_.startHidden = true;
                handler_.connectionChanged(connected ? 1 : 0);
            }
        }
        if (!pause(stop, nextInterval(announced), announced))
            return;
    }
}

}  // namespace keyloom
