#include "FakeHid.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace keyloom::testing {

namespace {

hid::CollectionDescriptor parseFirst(const Bytes& bytes) {
    std::vector<hid::CollectionDescriptor> collections;
    if (!hid::parseReportDescriptor(bytes, collections) || collections.empty())
        return {};
    return collections.front();
}

}  // namespace

class FakeHandle : public hid::HidHandle {
public:
    FakeHandle(std::shared_ptr<FakeInterface> iface, int id,
               std::shared_ptr<std::deque<Bytes>> queue)
        : iface_(std::move(iface)), id_(id), queue_(std::move(queue)) {}

    const hid::CollectionDescriptor& descriptor() const override { return iface_->descriptor; }
    hid::Attributes attributes() const override { return iface_->attributes; }

    hid::TransferResult read(std::span<std::uint8_t> buffer, std::size_t& transferred,
                             std::uint32_t timeoutMs, hid::CancelEvent& cancel) override {
        transferred = 0;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::unique_lock lock(iface_->mutex_);
        iface_->readTimeouts_.push_back(timeoutMs);
        for (;;) {
            if (cancel.consume())
                return hid::TransferResult::Cancelled;
            if (!iface_->present)
                return hid::TransferResult::Failed;
            if (!queue_->empty()) {
                Bytes report = std::move(queue_->front());
                queue_->pop_front();
                transferred = std::min(report.size(), buffer.size());
                std::copy_n(report.begin(), transferred, buffer.begin());
                iface_->events_.push_back({'r', id_, report});
                return hid::TransferResult::Done;
            }
            if (timeoutMs != hid::kInfinite) {
                if (iface_->instantTimeouts || std::chrono::steady_clock::now() >= deadline)
                    return hid::TransferResult::TimedOut;
            }
            iface_->changed_.wait_for(lock, std::chrono::milliseconds(1));
        }
    }

    hid::TransferResult write(std::span<const std::uint8_t> report, std::size_t& transferred,
                              std::uint32_t, hid::CancelEvent& cancel) override {
        transferred = 0;
        std::unique_lock lock(iface_->mutex_);
        while (iface_->blockWrites) {
            if (cancel.consume())
                return hid::TransferResult::Cancelled;
            iface_->changed_.wait_for(lock, std::chrono::milliseconds(1));
        }
        if (iface_->failWrites || !iface_->present)
            return hid::TransferResult::Failed;
        Bytes bytes(report.begin(), report.end());
        iface_->events_.push_back({'w', id_, bytes});
        if (iface_->responder_) {
            if (std::optional<Bytes> reply = iface_->responder_(bytes))
                iface_->broadcastLocked(*reply);
        }
        transferred = report.size();
        lock.unlock();
        if (int micros = iface_->writeLatencyMicros; micros > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(micros));
        return hid::TransferResult::Done;
    }

    void discardQueuedInput() override {
        std::lock_guard lock(iface_->mutex_);
        queue_->clear();
        ++iface_->discards_;
    }

    bool stillPresent() const override { return iface_->present; }

private:
    std::shared_ptr<FakeInterface> iface_;
    int id_;
    std::shared_ptr<std::deque<Bytes>> queue_;
};

FakeInterface::FakeInterface(std::string p, const Bytes& bytes, hid::Attributes ids)
    : path(std::move(p)), descriptor(parseFirst(bytes)), attributes(ids) {}

void FakeInterface::setResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

void FakeInterface::broadcastLocked(const Bytes& report) {
    for (auto& weak : queues_)
        if (auto queue = weak.lock())
            queue->push_back(report);
    changed_.notify_all();
}

void FakeInterface::pushInput(Bytes report) {
    std::lock_guard lock(mutex_);
    broadcastLocked(report);
}

std::vector<FakeInterface::Event> FakeInterface::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

std::vector<Bytes> FakeInterface::writes() const {
    std::lock_guard lock(mutex_);
    std::vector<Bytes> out;
    for (const auto& event : events_)
        if (event.kind == 'w')
            out.push_back(event.bytes);
    return out;
}

std::vector<std::uint32_t> FakeInterface::readTimeouts() const {
    std::lock_guard lock(mutex_);
    return readTimeouts_;
}

int FakeInterface::discardCount() const {
    std::lock_guard lock(mutex_);
    return discards_;
}

int FakeInterface::openCount() const {
    std::lock_guard lock(mutex_);
    return opens_;
}

std::shared_ptr<FakeInterface> FakeBackend::add(std::string path, const Bytes& descriptor,
                                                std::uint16_t vendorId, std::uint16_t productId) {
    auto iface = std::make_shared<FakeInterface>(std::move(path), descriptor,
                                                 hid::Attributes{vendorId, productId, 0x0100});
    std::lock_guard lock(mutex_);
    interfaces_.push_back(iface);
    changed_.set();
    return iface;
}

void FakeBackend::remove(const std::string& path) {
    std::lock_guard lock(mutex_);
    for (auto& iface : interfaces_)
        if (iface->path == path)
            iface->present = false;
    std::erase_if(interfaces_, [&](const auto& iface) { return iface->path == path; });
    changed_.set();
}

bool FakeBackend::enumerate(std::vector<std::string>& paths) {
    ++enumerations_;
    if (failEnumeration)
        return false;
    std::lock_guard lock(mutex_);
    for (const auto& iface : interfaces_)
        paths.push_back(iface->path);
    return true;
}

bool FakeBackend::ownsPath(std::string_view path) const {
    return path.starts_with("fake:");
}

std::unique_ptr<hid::HidHandle> FakeBackend::open(std::string_view path, const hid::OpenOptions&) {
    std::lock_guard lock(mutex_);
    for (const auto& iface : interfaces_) {
        if (iface->path != path)
            continue;
        if (iface->refuseOpen || !iface->present)
            return nullptr;
        std::lock_guard ifaceLock(iface->mutex_);
        auto queue = std::make_shared<std::deque<Bytes>>();
        iface->queues_.push_back(queue);
        return std::make_unique<FakeHandle>(iface, ++iface->opens_, queue);
    }
    return nullptr;
}

bool FakeBackend::isPresent(std::string_view path) {
    ++presenceTests_;
    std::lock_guard lock(mutex_);
    return std::any_of(interfaces_.begin(), interfaces_.end(),
                       [&](const auto& iface) { return iface->path == path && iface->present; });
}

Bytes replyWithStatus(std::uint8_t status, std::uint8_t fill, std::size_t size) {
    Bytes reply(size, fill);
    reply[0] = 4;
    if (size > 7)
        reply[7] = status;
    return reply;
}

}  // namespace keyloom::testing
