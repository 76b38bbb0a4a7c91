#pragma once
// A HID backend for tests: interfaces defined in code, a handle that records
// every write and answers through a scripted responder, and switches to make
// it fail on purpose (refuse to open, fail writes, go silent, vanish).

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/hid/CancelEvent.h"
#include "platform/hid/HidBackend.h"

namespace keyloom::testing {

using Bytes = std::vector<std::uint8_t>;

// The state behind one fake interface, shared by every handle opened on it.
class FakeInterface {
public:
    FakeInterface(std::string path, const Bytes& descriptor, hid::Attributes attributes);

    const std::string path;
    hid::CollectionDescriptor descriptor;
    const hid::Attributes attributes;

    // Given a written report, the reply to queue (none: stay silent).
    using Responder = std::function<std::optional<Bytes>(const Bytes& request)>;
    void setResponder(Responder responder);
    // Queues an input report as if the device had sent it; like hidraw,
    // every open handle receives it.
    void pushInput(Bytes report);

    // Every write and every report a read delivered, in order, with the id of
    // the handle (numbered from 1 in opening order).
    struct Event {
        char kind;  // 'w' or 'r'
        int handle;
        Bytes bytes;
    };
    std::vector<Event> events() const;
    std::vector<Bytes> writes() const;
    std::vector<std::uint32_t> readTimeouts() const;
    int discardCount() const;
    int openCount() const;

    // Failure switches.
    std::atomic<bool> refuseOpen{false};
    std::atomic<bool> failWrites{false};
    std::atomic<bool> present{true};
    // Reads with a finite limit time out at once when nothing is queued, so
    // tests of silent devices do not wait for real.
    std::atomic<bool> instantTimeouts{true};
    // Writes wait (cancellably) until released.
    std::atomic<bool> blockWrites{false};
    // Each write returns this long after the report went out, which widens
    // the window in which a badly locked caller could interleave.
    std::atomic<int> writeLatencyMicros{0};

private:
    friend class FakeHandle;
    friend class FakeBackend;

    void broadcastLocked(const Bytes& report);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::weak_ptr<std::deque<Bytes>>> queues_;
    std::vector<Event> events_;
    std::vector<std::uint32_t> readTimeouts_;
    Responder responder_;
    int discards_ = 0;
    int opens_ = 0;
};

class FakeBackend : public hid::HidBackend {
public:
    std::shared_ptr<FakeInterface> add(std::string path, const Bytes& descriptor,
                                       std::uint16_t vendorId, std::uint16_t productId);
    void remove(const std::string& path);

    std::atomic<bool> failEnumeration{false};
    int enumerations() const { return enumerations_.load(); }
    int presenceTests() const { return presenceTests_.load(); }
    // When set before use, add() and remove() are announced as hotplug is.
    bool announceChanges = false;

    bool enumerate(std::vector<std::string>& paths) override;
    bool ownsPath(std::string_view path) const override;
    std::unique_ptr<hid::HidHandle> open(std::string_view path,
                                         const hid::OpenOptions& options) override;
    bool isPresent(std::string_view path) override;
    int changeDescriptor() const override { return announceChanges ? changed_.fd() : -1; }
    void takeChanges() override { changed_.consume(); }

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<FakeInterface>> interfaces_;
    std::atomic<int> enumerations_{0};
    std::atomic<int> presenceTests_{0};
    hid::CancelEvent changed_;
};

// A report of `size` bytes with the given id and status byte 7.
Bytes replyWithStatus(std::uint8_t status, std::uint8_t fill = 0, std::size_t size = 64);

}  // namespace keyloom::testing
