#include "sim/SimReportLog.h"

#include <algorithm>

namespace keyloom::sim {

// The entries grow as reports come, up to the capacity: a keyboard that
// exchanges a few dozen reports does not hold room for thousands.
SimReportLog::SimReportLog(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

void SimReportLog::record(Direction direction, std::span<const std::uint8_t> report) {
    std::size_t slot;
    if (count_ < capacity_) {
        slot = (first_ + count_) % capacity_;
        ++count_;
    } else {
        slot = first_;
        first_ = (first_ + 1) % capacity_;
        ++dropped_;
    }
    if (slot >= entries_.size())
        entries_.resize(slot + 1);
    LogEntry& entry = entries_[slot];
    entry.direction = direction;
    entry.length = static_cast<std::uint8_t>(std::min(report.size(), entry.bytes.size()));
    std::copy_n(report.begin(), entry.length, entry.bytes.begin());
    std::fill(entry.bytes.begin() + entry.length, entry.bytes.end(), 0);
}

void SimReportLog::clear() {
    first_ = 0;
    count_ = 0;
    dropped_ = 0;
}

const LogEntry& SimReportLog::at(std::size_t i) const {
    return entries_[(first_ + i) % capacity_];
}

std::vector<LogEntry> SimReportLog::entries() const {
    std::vector<LogEntry> out;
    out.reserve(count_);
    for (std::size_t i = 0; i < count_; ++i)
        out.push_back(at(i));
    return out;
}

}  // namespace keyloom::sim
