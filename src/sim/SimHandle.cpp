#include "sim/SimHandle.h"

#include <poll.h>
#include <sys/prctl.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace keyloom::sim {

namespace {

// Milliseconds from `now` to `until`, rounded up so that a wait never ends
// before the moment it waits for.
int millisecondsUntil(SimClock::time_point now, SimClock::time_point until) {
    if (until <= now)
        return 0;
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
    return static_cast<int>(std::min<long long>(ms, 1 << 30));
}

// One report's time on the simulated wire, spent outside every lock. The
// thread's default timer slack (50 us) would add about 5 % to each
// millisecond report; the wire is meant to take its time and no more, so the
// slack is cut to the least for the sleep and put back after it.
void spendReportTime(const SimKeyboard& keyboard) {
    const std::uint32_t us = keyboard.reportTime();
    if (us == 0)
        return;
    const int slack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(us));
    if (slack > 0)
        ::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(slack), 0, 0, 0);
}

}  // namespace

SimHandle::SimHandle(std::shared_ptr<SimKeyboard> keyboard, std::string_view path,
                     SimCollection collection, const hid::OpenOptions& options)
    : keyboard_(std::move(keyboard)), collection_(collection), options_(options) {
    attached_ = queue_.valid() && keyboard_->attach(path, collection, queue_);
}

SimHandle::~SimHandle() {
    if (attached_)
        keyboard_->detach(queue_);
}

const hid::CollectionDescriptor& SimHandle::descriptor() const {
    return keyboard_->descriptor(collection_);
}

hid::Attributes SimHandle::attributes() const {
    return keyboard_->attributes();
}

hid::TransferResult SimHandle::read(std::span<std::uint8_t> buffer, std::size_t& transferred,
                                    std::uint32_t timeoutMs, hid::CancelEvent& cancel) {
    transferred = 0;
    // As on Windows, the buffer must hold a whole input report.
    const std::size_t reportLength = descriptor().caps().inputReportByteLength;
    if (!options_.read || reportLength == 0 || buffer.size() < reportLength)
        return hid::TransferResult::Failed;
    const auto start = SimClock::now();
    const bool limited = timeoutMs != hid::kInfinite;
    const auto deadline = start + std::chrono::milliseconds(limited ? timeoutMs : 0);

    for (;;) {
        auto waitUntil = SimClock::time_point::max();
        bool received = false;
        {
            std::lock_guard lock(keyboard_->mutex());
            if (!attached_ || queue_.gone())
                return hid::TransferResult::Failed;
            if (!queue_.empty()) {
                const auto& head = queue_.front();
                if (head.due == kDueNow || head.due <= SimClock::now()) {
                    std::size_t copied = std::min<std::size_t>(head.length, reportLength);
                    std::copy_n(head.bytes.begin(), copied, buffer.begin());
                    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(copied),
                              buffer.begin() + static_cast<std::ptrdiff_t>(reportLength), 0);
                    transferred = reportLength;
                    queue_.pop();
                    received = true;
                } else {
                    // A late reply: wait for its time, or for the keyboard to leave.
                    waitUntil = head.due;
                    queue_.clearSignal();
                }
            }
        }
        if (received) {
            spendReportTime(*keyboard_);
            return hid::TransferResult::Done;
        }

        const auto now = SimClock::now();
        if (limited && now >= deadline)
            return hid::TransferResult::TimedOut;
        int pollMs = -1;
        if (limited)
            pollMs = millisecondsUntil(now, deadline);
        if (waitUntil != SimClock::time_point::max()) {
            int dueMs = millisecondsUntil(now, waitUntil);
            pollMs = pollMs < 0 ? dueMs : std::min(pollMs, dueMs);
        }

        pollfd fds[2] = {{queue_.fd(), POLLIN, 0}, {cancel.fd(), POLLIN, 0}};
        int ready = ::poll(fds, 2, pollMs);
        if (ready < 0 && errno != EINTR)
            return hid::TransferResult::Failed;
        if (ready > 0 && (fds[1].revents & POLLIN) && cancel.consume())
            return hid::TransferResult::Cancelled;
    }
}

hid::TransferResult SimHandle::write(std::span<const std::uint8_t> report, std::size_t& transferred,
                                     std::uint32_t /*timeoutMs*/, hid::CancelEvent& /*cancel*/) {
    transferred = 0;
    // One whole output report of this collection (longer buffers are cut to
    // the report length), with its report id first; 0 without report ids.
    const auto& collection = descriptor();
    const std::size_t reportLength = collection.caps().outputReportByteLength;
    if (!attached_ || !options_.write || reportLength == 0 || report.size() < reportLength)
        return hid::TransferResult::Failed;
    if (collection.usesReportIds() ? !collection.ownsReportId(hid::ReportType::Output, report[0])
                                   : report[0] != 0)
        return hid::TransferResult::Failed;
    report = report.first(reportLength);
    spendReportTime(*keyboard_);
    if (collection_ == SimCollection::Vendor) {
        if (!keyboard_->handleRequest(queue_, report))
            return hid::TransferResult::Failed;
    } else if (!stillPresent()) {
        return hid::TransferResult::Failed;  // the LED report of the boot keyboard goes nowhere
    }
    transferred = reportLength;
    return hid::TransferResult::Done;
}

void SimHandle::discardQueuedInput() {
    std::lock_guard lock(keyboard_->mutex());
    if (!queue_.gone())
        queue_.clear();
}

bool SimHandle::stillPresent() const {
    std::lock_guard lock(keyboard_->mutex());
    return attached_ && !queue_.gone();
}

}  // namespace keyloom::sim
