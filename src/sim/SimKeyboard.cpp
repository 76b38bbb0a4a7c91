#include "sim/SimKeyboard.h"

#include <algorithm>
#include <cstdio>

#include "sim/SimDescriptors.h"

namespace keyloom::sim {

namespace {

constexpr std::size_t indexOf(SimCollection collection) {
    return static_cast<std::size_t>(collection);
}

std::vector<hid::CollectionDescriptor> parse(std::span<const std::uint8_t> bytes) {
    std::vector<hid::CollectionDescriptor> collections;
    if (!hid::parseReportDescriptor(bytes, collections))
        collections.clear();
    return collections;
}

}  // namespace

SimKeyboard::SimKeyboard(const SimModel& model, std::uint8_t macroCapacityUnits,
                         std::shared_ptr<SimBus> bus)
    : model_(model), bus_(std::move(bus)), firmware_(model, macroCapacityUnits) {
    auto keyboard = parse(keyboardInterfaceDescriptor());
    auto config = parse(configInterfaceDescriptor());
    if (keyboard.size() == 1)
        keyboardCollection_ = keyboard[0];
    if (config.size() == 2) {
        consumerCollection_ = config[0];
        vendorCollection_ = config[1];
    }
    std::lock_guard lock(mutex_);
    plugged_ = true;
    assignPathsLocked();
}

void SimKeyboard::assignPathsLocked() {
    char tail[64];
    std::snprintf(tail, sizeof tail, "#vid_%04x&pid_%04x&mi_", model_.vendorId, model_.productId);
    unsigned keyboardNode = bus_->nextNode.fetch_add(2);
    unsigned configNode = keyboardNode + 1;
    paths_[indexOf(SimCollection::Keyboard)] =
        "/sim/hidraw" + std::to_string(keyboardNode) + tail + "00";
    std::string config = "/sim/hidraw" + std::to_string(configNode) + tail + "01";
    paths_[indexOf(SimCollection::Consumer)] = config + "&col01";
    paths_[indexOf(SimCollection::Vendor)] = config + "&col02";
    bus_->changed.set();
}

void SimKeyboard::leaveBusLocked() {
    for (auto& entry : attached_)
        entry.queue->markGone();
    attached_.clear();
    for (auto& path : paths_)
        path.clear();
    lastDue_ = kDueNow;
    bus_->changed.set();
}

void SimKeyboard::unplug() {
    std::lock_guard lock(mutex_);
    if (!plugged_)
        return;
    plugged_ = false;
    leaveBusLocked();
}

void SimKeyboard::plug() {
    std::lock_guard lock(mutex_);
    if (plugged_)
        return;
    plugged_ = true;
    if (!firmware_.inBootMode())
        assignPathsLocked();
}

void SimKeyboard::replug() {
    unplug();
    plug();
}

void SimKeyboard::reset() {
    std::lock_guard lock(mutex_);
    leaveBusLocked();
    firmware_.leaveBootMode();
    if (plugged_)
        assignPathsLocked();
}

void SimKeyboard::setBootLoaderTime(std::chrono::milliseconds time) {
    std::lock_guard lock(mutex_);
    bootLoaderTime_ = time;
}

bool SimKeyboard::finishBootLoaderIfDue() {
    std::lock_guard lock(mutex_);
    if (!firmware_.inBootMode() || SimClock::now() < bootLoaderEnds_)
        return false;
    firmware_.leaveBootMode();
    if (plugged_)
        assignPathsLocked();
    return true;
}

bool SimKeyboard::present() const {
    std::lock_guard lock(mutex_);
    return presentLocked();
}

bool SimKeyboard::inBootMode() const {
    std::lock_guard lock(mutex_);
    return firmware_.inBootMode();
}

bool SimKeyboard::sendNotification(std::uint16_t code) {
    std::lock_guard lock(mutex_);
    if (!presentLocked())
        return false;
    std::uint8_t press[kNotificationReportSize] = {kNotificationReportId,
                                                   static_cast<std::uint8_t>(code & 0xFF),
                                                   static_cast<std::uint8_t>(code >> 8)};
    std::uint8_t release[kNotificationReportSize] = {kNotificationReportId, 0, 0};
    firmware_.log().record(Direction::Sent, press);
    deliverLocked(SimCollection::Consumer, press, kDueNow);
    firmware_.log().record(Direction::Sent, release);
    deliverLocked(SimCollection::Consumer, release, kDueNow);
    return true;
}

bool SimKeyboard::selectProfileOnKeyboard(std::uint8_t profile) {
    {
        std::lock_guard lock(mutex_);
        if (!presentLocked() || !firmware_.selectProfile(profile))
            return false;
    }
    return sendNotification(0x0402);
}

std::string SimKeyboard::keyboardPath() const {
    std::lock_guard lock(mutex_);
    return presentLocked() ? paths_[indexOf(SimCollection::Keyboard)] : std::string();
}

std::string SimKeyboard::consumerPath() const {
    std::lock_guard lock(mutex_);
    return presentLocked() ? paths_[indexOf(SimCollection::Consumer)] : std::string();
}

std::string SimKeyboard::configPath() const {
    std::lock_guard lock(mutex_);
    return presentLocked() ? paths_[indexOf(SimCollection::Vendor)] : std::string();
}

void SimKeyboard::appendPaths(std::vector<std::string>& paths) const {
    std::lock_guard lock(mutex_);
    if (!presentLocked())
        return;
    for (const auto& path : paths_)
        paths.push_back(path);
}

bool SimKeyboard::findPath(std::string_view path, SimCollection& collection) const {
    std::lock_guard lock(mutex_);
    if (!presentLocked())
        return false;
    for (std::size_t i = 0; i < std::size(paths_); ++i) {
        if (paths_[i] == path) {
            collection = static_cast<SimCollection>(i);
            return true;
        }
    }
    return false;
}

const hid::CollectionDescriptor& SimKeyboard::descriptor(SimCollection collection) const {
    switch (collection) {
        case SimCollection::Keyboard:
            return keyboardCollection_;
        case SimCollection::Consumer:
            return consumerCollection_;
        case SimCollection::Vendor:
            break;
    }
    return vendorCollection_;
}

hid::Attributes SimKeyboard::attributes() const {
    return {model_.vendorId, model_.productId, 0x0107};
}

bool SimKeyboard::attach(std::string_view path, SimCollection collection, SimInputQueue& queue) {
    std::lock_guard lock(mutex_);
    if (!presentLocked() || paths_[indexOf(collection)] != path)
        return false;
    attached_.push_back({&queue, collection});
    return true;
}

void SimKeyboard::detach(SimInputQueue& queue) {
    std::lock_guard lock(mutex_);
    std::erase_if(attached_, [&](const Attached& entry) { return entry.queue == &queue; });
}

void SimKeyboard::deliverLocked(SimCollection collection, std::span<const std::uint8_t> report,
                                SimClock::time_point due) {
    for (auto& entry : attached_)
        if (entry.collection == collection)
            entry.queue->push(report, due);
}

bool SimKeyboard::handleRequest(SimInputQueue& queue, std::span<const std::uint8_t> request) {
    std::lock_guard lock(mutex_);
    if (queue.gone())
        return false;
    FirmwareResponse response = firmware_.handleRequest(request);
    if (response.replied) {
        SimClock::time_point due = kDueNow;
        if (response.delayMs > 0 || lastDue_ != kDueNow) {
            auto now = SimClock::now();
            due = std::max(now + std::chrono::milliseconds(response.delayMs), lastDue_);
            if (due <= now)
                due = kDueNow;
            lastDue_ = due;
        }
        deliverLocked(SimCollection::Vendor, response.reply, due);
    }
    if (response.enteredBootMode) {
        leaveBusLocked();
        bootLoaderEnds_ = SimClock::now() + bootLoaderTime_;
    }
    return true;
}

}  // namespace keyloom::sim
