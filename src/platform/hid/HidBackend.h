#pragma once
// What a source of HID interfaces provides: the hidraw backend for real
// keyboards and the simulated keyboard's backend. Each enumerated interface is
// one top-level collection; its path is a device node followed by a tail such
// as "#vid_0c45&pid_652f&mi_01&col02" ("&colNN" only when the node holds more
// than one collection).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/CancelEvent.h"
#include "platform/hid/HidTypes.h"
#include "platform/hid/ReportDescriptor.h"

namespace keyloom::hid {

// One open interface. read() and write() may run at the same time on two
// threads; everything else is for the owner's thread. A transfer that returns
// anything but Done has nothing left pending on the caller's buffer.
class HidHandle {
public:
    virtual ~HidHandle() = default;

    virtual const CollectionDescriptor& descriptor() const = 0;
    virtual Attributes attributes() const = 0;

    // Reads one input report of this collection (report id in byte 0; byte 0
    // is 0 for collections without report ids). Waits up to `timeoutMs`
    // (kInfinite: without limit) or until `cancel` is set.
    virtual TransferResult read(std::span<std::uint8_t> buffer, std::size_t& transferred,
                                std::uint32_t timeoutMs, CancelEvent& cancel) = 0;
    // Writes one output report (report id in byte 0).
    virtual TransferResult write(std::span<const std::uint8_t> report, std::size_t& transferred,
                                 std::uint32_t timeoutMs, CancelEvent& cancel) = 0;

    // Drops input reports already queued for this handle, so that a late reply
    // to an abandoned request is not taken for the next one.
    virtual void discardQueuedInput() = 0;

    // True while the node still exists and belongs to the same HID device
    // that was opened (node numbers are reused after an unplug).
    virtual bool stillPresent() const = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Appends the paths of every present interface, in the backend's order.
    // False when the backend cannot enumerate at all.
    virtual bool enumerate(std::vector<std::string>& paths) = 0;
    // True when `path` names one of this backend's interfaces.
    virtual bool ownsPath(std::string_view path) const = 0;
    // Opens an interface; nullptr when it is gone or access is refused.
    virtual std::unique_ptr<HidHandle> open(std::string_view path, const OpenOptions& options) = 0;
    // Presence test by path: the interface could be opened without access
    // rights right now.
    virtual bool isPresent(std::string_view path) = 0;

    // A descriptor that becomes readable when interfaces may have come or
    // gone; -1 when this backend does not announce that (its users then test
    // presence on a timer). Watched by one thread at a time.
    virtual int changeDescriptor() const { return -1; }
    // Takes the announcements that made changeDescriptor() readable.
    virtual void takeChanges() {}
};

}  // namespace keyloom::hid
