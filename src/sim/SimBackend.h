#pragma once
// The simulated keyboard as a source of HID interfaces, registered on a
// hid::HidPlatform beside (or instead of) the hidraw backend, so that
// everything above the platform layer runs unchanged against it.
//
// Each simulated keyboard shows three interfaces (N, M: node numbers):
//   /sim/hidrawN#vid_0c45&pid_652f&mi_00         boot keyboard, no report ids
//   /sim/hidrawM#vid_0c45&pid_652f&mi_01&col01   consumer control, report id 3:
//                                                notification codes
//   /sim/hidrawM#vid_0c45&pid_652f&mi_01&col02   configuration (0xFF1C/0x92),
//                                                report id 4, 64-byte reports
// A write to the configuration collection is answered at once (or as late
// as a fault says); as on hidraw, every open handle of that collection gets
// every reply.
//
// Usage:
//   auto backend = std::make_shared<keyloom::sim::SimBackend>();
//   auto keyboard = backend->addKeyboard(keyloom::sim::kModel5064);
//   keyloom::hid::HidPlatform platform;
//   platform.addBackend(backend);
//   // ... discovery finds keyboard->configPath() ...
//   keyboard->withFirmware([](keyloom::sim::SimFirmware& f) {
//       f.faults().dropRequests(1);                              // one lost request
//       f.faults().refuseCommand(3, 0xFE);                       // cmd 3 answered 0xFE
//       f.faults().delayReplies(500, 1);                         // next reply 500 ms late
//   });
//   keyboard->sendNotification(0x0401);  // lighting changed on the keyboard
//   keyboard->replug();                  // old handles fail; new paths
// Programs use startSimulation() (SimSetup.h) to do the first steps from a
// "--simulate MODEL[:STATEFILE]" argument.

#include <memory>
#include <mutex>
#include <vector>

#include "platform/hid/HidBackend.h"
#include "sim/SimKeyboard.h"

namespace keyloom::sim {

class SimBackend : public hid::HidBackend {
public:
    SimBackend();

    // Plugs in a new simulated keyboard with factory contents.
    std::shared_ptr<SimKeyboard> addKeyboard(const SimModel& model,
                                             std::uint8_t macroCapacityUnits = 32);
    // Unplugs the keyboard and forgets it.
    void removeKeyboard(const SimKeyboard& keyboard);
    std::vector<std::shared_ptr<SimKeyboard>> keyboards() const;

    bool enumerate(std::vector<std::string>& paths) override;
    bool ownsPath(std::string_view path) const override;
    std::unique_ptr<hid::HidHandle> open(std::string_view path,
                                         const hid::OpenOptions& options) override;
    bool isPresent(std::string_view path) override;
    // Set whenever a keyboard is plugged in, pulled or restarted.
    int changeDescriptor() const override { return bus_->changed.fd(); }
    void takeChanges() override { bus_->changed.consume(); }

private:
    std::shared_ptr<SimKeyboard> keyboardFor(std::string_view path,
                                             SimCollection& collection) const;

    std::shared_ptr<SimBus> bus_;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimKeyboard>> keyboards_;
};

}  // namespace keyloom::sim
