#include "sim/SimFaults.h"

namespace keyloom::sim {

void SimFaults::delayReplies(std::uint32_t delayMs, int count) {
    delayMs_ = delayMs;
    delays_ = delayMs == 0 ? 0 : count;
}

void SimFaults::refuseNext(std::uint8_t status, int count) {
    nextStatus_ = status;
    nextRefusals_ = count;
}

void SimFaults::refuseCommand(std::uint8_t command, std::uint8_t status, int count) {
    commandStatus_[command] = status;
    commandRefusals_[command] = count;
}

void SimFaults::corruptStores(std::uint8_t command, int count) {
    commandCorruptions_[command] = count;
}

void SimFaults::clear() {
    *this = SimFaults();
}

bool SimFaults::take(int& count) {
    if (count == 0)
        return false;
    if (count > 0)
        --count;
    return true;
}

bool SimFaults::takeDrop() {
    return take(drops_);
}

std::optional<std::uint8_t> SimFaults::takeRefusal(std::uint8_t command) {
    if (take(nextRefusals_))
        return nextStatus_;
    if (take(commandRefusals_[command]))
        return commandStatus_[command];
    return std::nullopt;
}

std::uint32_t SimFaults::takeDelay() {
    return take(delays_) ? delayMs_ : 0;
}

void SimFaults::takeCorruption(std::uint8_t command, std::span<std::uint8_t> data) {
    if (!data.empty() && take(commandCorruptions_[command]))
        data[0] = static_cast<std::uint8_t>(~data[0]);
}

}  // namespace keyloom::sim
