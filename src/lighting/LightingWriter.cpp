#include "lighting/LightingWriter.h"

#include <utility>

namespace keyloom {

namespace {

// A change's footprint as the queue compares it.
class FootprintCoverage final : public KeyboardQueue::Coverage {
public:
    explicit FootprintCoverage(LightingChange::Footprint print) : print_(std::move(print)) {}
    bool covers(const Coverage& older) const override {
        const auto* other = dynamic_cast<const FootprintCoverage*>(&older);
        return other && print_.covers(other->print_);
    }

private:
    LightingChange::Footprint print_;
};

KeyboardQueue::Mode queueMode(LightingWriter::Mode mode) {
    return mode == LightingWriter::Mode::Background ? KeyboardQueue::Mode::Background
                                                    : KeyboardQueue::Mode::Synchronous;
}

}  // namespace

LightingWriter::LightingWriter(LightingTransport& transport, KeyboardQueue& queue,
                               FailureCallback onFailure)
    : transport_(transport), onFailure_(std::move(onFailure)), queue_(queue) {}

LightingWriter::LightingWriter(LightingTransport& transport, Mode mode, FailureCallback onFailure)
    : transport_(transport),
      onFailure_(std::move(onFailure)),
      ownQueue_(std::make_unique<KeyboardQueue>(queueMode(mode))),
      queue_(*ownQueue_) {}

LightingWriter::~LightingWriter() {
    // The queued jobs point at this writer: they run before it goes.
    if (ownQueue_)
        ownQueue_->stop();
    else
        static_cast<void>(queue_.flush(std::chrono::seconds(60)));
}

void LightingWriter::submit(LightingChange change) {
    if (change.empty())
        return;
    if (queue_.onQueueThread()) {
        held_.push_back(std::move(change));
        return;
    }
    auto coverage = std::make_shared<FootprintCoverage>(change.footprint());
    queue_.submit([this, change = std::move(change)] { send(change); }, std::move(coverage));
}

void LightingWriter::sendHeld() {
    std::vector<LightingChange> held;
    held.swap(held_);
    for (const LightingChange& change : held)
        send(change);
}

bool LightingWriter::flush(std::chrono::milliseconds timeout) {
    return queue_.flush(timeout);
}

bool LightingWriter::send(const LightingChange& change) {
    // When the program ends, a keyboard that failed is not waited for again.
    if (abandoned_)
        return false;
    TransferResult outcome = transport_.begin();
    if (outcome.ok) {
        for (const LightingWrite& write : change.writes) {
            outcome = write.area == LightingWrite::Area::ProfileRecord
                          ? transport_.writeProfileSettings(write.bytes, write.deviceOffset())
                          : transport_.writeKeyColours(write.bytes, write.start, write.profile);
            if (!outcome.ok)
                break;
        }
    }
    // The bracket is closed even after a failed write, so the keyboard does
    // not wait for the rest of a group that will never come.
    const TransferResult ended = transport_.end();
    if (outcome.ok)
        outcome = ended;

    if (outcome.ok) {
        failureReported_ = false;
    } else {
        if (queue_.stopping())
            abandoned_ = true;
        if (!failureReported_) {
            failureReported_ = true;
            if (onFailure_)
                onFailure_(outcome.code);
        }
    }
    return outcome.ok;
}

}  // namespace keyloom
