#pragma once
// An open interface of a simulated keyboard. Writes to the vendor collection
// run the firmware at once on the caller's thread; reads wait with poll() on
// the handle's eventfd and the cancel event.

#include <memory>

#include "platform/hid/HidBackend.h"
#include "sim/SimInputQueue.h"
#include "sim/SimKeyboard.h"

namespace keyloom::sim {

class SimHandle : public hid::HidHandle {
public:
    // Opens `path` of `keyboard`; check attached() before use.
    SimHandle(std::shared_ptr<SimKeyboard> keyboard, std::string_view path,
              SimCollection collection, const hid::OpenOptions& options);
    ~SimHandle() override;

    bool attached() const { return attached_; }

    const hid::CollectionDescriptor& descriptor() const override;
    hid::Attributes attributes() const override;
    hid::TransferResult read(std::span<std::uint8_t> buffer, std::size_t& transferred,
                             std::uint32_t timeoutMs, hid::CancelEvent& cancel) override;
    hid::TransferResult write(std::span<const std::uint8_t> report, std::size_t& transferred,
                              std::uint32_t timeoutMs, hid::CancelEvent& cancel) override;
    void discardQueuedInput() override;
    bool stillPresent() const override;

private:
    std::shared_ptr<SimKeyboard> keyboard_;
    SimCollection collection_;
    hid::OpenOptions options_;
    SimInputQueue queue_;
    bool attached_ = false;
};

}  // namespace keyloom::sim
