#include "sim/SimBackend.h"

#include <algorithm>

#include "sim/SimHandle.h"

namespace keyloom::sim {

namespace {
constexpr std::string_view kPathPrefix = "/sim/";
}

SimBackend::SimBackend() : bus_(std::make_shared<SimBus>()) {}

std::shared_ptr<SimKeyboard> SimBackend::addKeyboard(const SimModel& model,
                                                     std::uint8_t macroCapacityUnits) {
    auto keyboard = std::make_shared<SimKeyboard>(model, macroCapacityUnits, bus_);
    std::lock_guard lock(mutex_);
    keyboards_.push_back(keyboard);
    return keyboard;
}

void SimBackend::removeKeyboard(const SimKeyboard& keyboard) {
    std::shared_ptr<SimKeyboard> removed;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(keyboards_.begin(), keyboards_.end(),
                               [&](const auto& k) { return k.get() == &keyboard; });
        if (it == keyboards_.end())
            return;
        removed = *it;
        keyboards_.erase(it);
    }
    removed->unplug();
}

std::vector<std::shared_ptr<SimKeyboard>> SimBackend::keyboards() const {
    std::lock_guard lock(mutex_);
    return keyboards_;
}

bool SimBackend::enumerate(std::vector<std::string>& paths) {
    for (const auto& keyboard : keyboards()) {
        keyboard->finishBootLoaderIfDue();
        keyboard->appendPaths(paths);
    }
    return true;
}

bool SimBackend::ownsPath(std::string_view path) const {
    return path.starts_with(kPathPrefix);
}

std::shared_ptr<SimKeyboard> SimBackend::keyboardFor(std::string_view path,
                                                     SimCollection& collection) const {
    if (!ownsPath(path))
        return nullptr;
    for (const auto& keyboard : keyboards())
        if (keyboard->findPath(path, collection))
            return keyboard;
    return nullptr;
}

std::unique_ptr<hid::HidHandle> SimBackend::open(std::string_view path,
                                                 const hid::OpenOptions& options) {
    SimCollection collection;
    auto keyboard = keyboardFor(path, collection);
    if (!keyboard)
        return nullptr;
    auto handle = std::make_unique<SimHandle>(std::move(keyboard), path, collection, options);
    if (!handle->attached())
        return nullptr;
    return handle;
}

bool SimBackend::isPresent(std::string_view path) {
    SimCollection collection;
    return keyboardFor(path, collection) != nullptr;
}

}  // namespace keyloom::sim
