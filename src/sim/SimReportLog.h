#pragma once
// A bounded record of the reports the simulated keyboard received and sent,
// oldest first. Recording never allocates: the oldest entries make room.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace keyloom::sim {

enum class Direction : std::uint8_t { Received, Sent };

struct LogEntry {
    Direction direction = Direction::Received;
    std::uint8_t length = 0;  // significant bytes of `bytes`
    std::array<std::uint8_t, 64> bytes{};

    std::span<const std::uint8_t> report() const { return {bytes.data(), length}; }
};

class SimReportLog {
public:
    explicit SimReportLog(std::size_t capacity = 4096);

    // Records a report; bytes past 64 are not kept.
    void record(Direction direction, std::span<const std::uint8_t> report);
    void clear();

    std::size_t size() const { return count_; }
    std::size_t capacity() const { return capacity_; }
    // Entries dropped to make room since the last clear().
    std::size_t dropped() const { return dropped_; }
    // Entry i, 0 being the oldest kept.
    const LogEntry& at(std::size_t i) const;
    std::vector<LogEntry> entries() const;

private:
    std::size_t capacity_;
    std::vector<LogEntry> entries_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    std::size_t dropped_ = 0;
};

}  // namespace keyloom::sim
