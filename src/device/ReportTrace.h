#pragma once
// Process-wide log of every report that moves on the keyboard's configuration
// interface, one line per report, for attaching to bug reports:
//   "> " + the report in lower-case hex without spaces   (host to keyboard)
//   "< " + the report in the same form                   (keyboard to host)
// Lines are appended and flushed one by one, so a crash loses nothing and two
// processes tracing into one file do not tear each other's lines.
// The trace starts closed unless the environment variable KEYLOOM_TRACE names
// a file when the trace is first used.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>

namespace keyloom {

class ReportTrace {
public:
    static ReportTrace& instance();

    ReportTrace() = default;
    ~ReportTrace();
    ReportTrace(const ReportTrace&) = delete;
    ReportTrace& operator=(const ReportTrace&) = delete;

    // Starts appending to `path` (created when missing); closes any earlier
    // file first. False when the file cannot be opened.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_.load() >= 0; }

    void sent(std::span<const std::uint8_t> report);
    void received(std::span<const std::uint8_t> report);

private:
    void writeLine(char direction, std::span<const std::uint8_t> report);

    std::mutex mutex_;
    std::atomic<int> fd_{-1};
};

}  // namespace keyloom
