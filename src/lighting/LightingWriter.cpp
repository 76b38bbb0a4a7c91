#include "lighting/LightingWriter.h"

#include <algorithm>
#include <utility>

namespace keyloom {

LightingWriter::LightingWriter(LightingTransport& transport, Mode mode, FailureCallback onFailure)
    : transport_(transport), onFailure_(std::move(onFailure)) {
    if (mode == Mode::Background)
        thread_ = std::thread([this] { run(); });
}

LightingWriter::~LightingWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void LightingWriter::submit(LightingChange change) {
    if (change.empty())
        return;
    if (!thread_.joinable()) {
        send(change);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        LightingChange::Footprint print = change.footprint();
        std::erase_if(queue_, [&](const Queued& queuedChange) {
            return print.covers(queuedChange.footprint);
        });
        queue_.push_back({std::move(change), std::move(print)});
    }
    wake_.notify_one();
}

bool LightingWriter::flush(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [&] { return queue_.empty() && !busy_; });
}

std::size_t LightingWriter::queued() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void LightingWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            break;  // stopping with nothing left to send
        LightingChange change = std::move(queue_.front().change);
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        const bool sent = send(change);
        lock.lock();
        busy_ = false;
        // When stopping, a keyboard that fails is not waited for again.
        if (stopping_ && !sent)
            queue_.clear();
        if (queue_.empty())
            idle_.notify_all();
    }
    idle_.notify_all();
}

bool LightingWriter::send(const LightingChange& change) {
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
    } else if (!failureReported_) {
        failureReported_ = true;
        if (onFailure_)
            onFailure_(outcome.code);
    }
    return outcome.ok;
}

}  // namespace keyloom
